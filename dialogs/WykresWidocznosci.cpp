#include "dialogs/WykresWidocznosci.h"

#include "dialogs/RysunekProfilu.h"

#include <QLocale>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {

QString Liczba(double v) { return QLocale(QLocale::Polish).toString(v, 'f', 0); }

const QColor KolorDostepnej(20, 60, 170);
const QColor KolorWymaganej(200, 110, 0);
const QColor KolorPasa(230, 60, 60, 70);

void Panel(QPainter& m, const QRectF& r, const std::vector<const TWierszWidocznosci*>& w, const QString& tytul,
           double pikMin, double pikMax, double yMax, double znacznik, double pikStart) {
    const QFontMetricsF fm(m.font());
    const double lewy = LewyMarginesWykresu, dolny = fm.height() * 2 + 6, gorny = fm.height() + 8,
                 prawy = PrawyMarginesWykresu;
    const QRectF p(r.left() + lewy, r.top() + gorny, std::max(10.0, r.width() - lewy - prawy),
                   std::max(10.0, r.height() - gorny - dolny));
    auto X = [&](double s) { return p.left() + (s - pikMin) / std::max(pikMax - pikMin, 1e-9) * p.width(); };
    auto Y = [&](double d) { return p.bottom() - std::clamp(d, 0.0, yMax) / yMax * p.height(); };

    m.setPen(Qt::black);
    m.drawText(QPointF(p.left(), r.top() + fm.ascent() + 2), tytul);
    m.fillRect(p, Qt::white);

    // The failing stations: each covers half the way to its neighbours.
    for (std::size_t i = 0; i < w.size(); ++i) {
        if (w[i]->Ocena) continue;
        const double a = i > 0 ? 0.5 * (w[i - 1]->Pikieta + w[i]->Pikieta) : w[i]->Pikieta;
        const double b = i + 1 < w.size() ? 0.5 * (w[i]->Pikieta + w[i + 1]->Pikieta) : w[i]->Pikieta;
        m.fillRect(QRectF(QPointF(X(a), p.top()), QPointF(std::max(X(b), X(a) + 1), p.bottom())), KolorPasa);
    }

    // Grid and axes: the chainage ticks at round chainages shown (the start chainage added), as the profile
    // above has them.
    const TOsPikietazu os = OsPikietazu(pikStart + pikMin, pikStart + pikMax, p.width());
    const auto xu = [&](double u) { return X(u - pikStart); };
    const double ky = KrokPodzialki(yMax, 5);
    m.setPen(QPen(QColor(210, 210, 210), 0));
    RysujSiatkePikietazu(m, p, os, xu);
    for (double d = 0; d <= yMax + 1e-9; d += ky) m.drawLine(QPointF(p.left(), Y(d)), QPointF(p.right(), Y(d)));
    m.setPen(Qt::black);
    m.drawRect(p);
    OpiszPikietaz(m, p, os, xu);
    for (double d = 0; d <= yMax + 1e-9; d += ky) {
        const QString t = Liczba(d);
        m.drawText(QPointF(p.left() - fm.horizontalAdvance(t) - 4, Y(d) + fm.ascent() / 2 - 1), t);
    }
    const QString osX = QStringLiteral("pikieta [km+m]");
    m.drawText(QPointF(p.right() - fm.horizontalAdvance(osX), p.bottom() + fm.height() + fm.ascent() + 4), osX);
    m.drawText(QPointF(r.left() + 2, p.top() - 4), QStringLiteral("[m]"));

    // The two lines.
    auto linia = [&](auto wartosc, const QPen& pioro) {
        QPainterPath sciezka;
        bool pierwszy = true;
        for (const TWierszWidocznosci* r : w) {
            const QPointF q(X(r->Pikieta), Y(std::isfinite(wartosc(r)) ? wartosc(r) : yMax));
            if (pierwszy)
                sciezka.moveTo(q);
            else
                sciezka.lineTo(q);
            pierwszy = false;
        }
        m.setPen(pioro);
        m.drawPath(sciezka);
    };
    m.save();
    m.setClipRect(p.adjusted(-1, -1, 1, 1));
    m.setRenderHint(QPainter::Antialiasing, true);
    linia([](const TWierszWidocznosci* r) { return r->Wymagana; }, QPen(KolorWymaganej, 1.6, Qt::DashLine));
    linia([](const TWierszWidocznosci* r) { return r->Dostepna; }, QPen(KolorDostepnej, 1.6));
    if (std::isfinite(znacznik) && znacznik >= pikMin - 1e-9 && znacznik <= pikMax + 1e-9) {
        m.setPen(QPen(QColor(0, 140, 0), 1.4));
        m.drawLine(QPointF(X(znacznik), p.top()), QPointF(X(znacznik), p.bottom()));
    }
    m.restore();

    // Legend in the top right corner of the panel.
    const QString opisy[3] = {QStringLiteral("dostępna"), QStringLiteral("wymagana"), QStringLiteral("nie spełnia")};
    double x = p.right() - 8;
    for (int i = 2; i >= 0; --i) {
        const double szer = fm.horizontalAdvance(opisy[i]) + 30;
        x -= szer;
        const double y = r.top() + fm.ascent() / 2 + 3;
        if (i == 2) {
            m.fillRect(QRectF(x, y - 5, 22, 10), KolorPasa);
        } else {
            m.setPen(i == 0 ? QPen(KolorDostepnej, 1.6) : QPen(KolorWymaganej, 1.6, Qt::DashLine));
            m.drawLine(QPointF(x, y), QPointF(x + 22, y));
        }
        m.setPen(Qt::black);
        m.drawText(QPointF(x + 26, r.top() + fm.ascent() + 2), opisy[i]);
    }
}

}  // namespace

void RysujWykresWidocznosci(QPainter& malarz, const QRectF& obszar, const std::vector<TWierszWidocznosci>& wiersze,
                            double znacznik, double pikStart) {
    malarz.save();
    malarz.fillRect(obszar, QColor(240, 240, 240));
    std::vector<const TWierszWidocznosci*> kierunki[2];
    double pikMin = INFINITY, pikMax = -INFINITY, yMax = 10.0;
    for (const TWierszWidocznosci& w : wiersze) {
        kierunki[w.Kierunek > 0 ? 0 : 1].push_back(&w);
        pikMin = std::min(pikMin, w.Pikieta);
        pikMax = std::max(pikMax, w.Pikieta);
        if (std::isfinite(w.Dostepna)) yMax = std::max(yMax, w.Dostepna);
        if (std::isfinite(w.Wymagana)) yMax = std::max(yMax, w.Wymagana);
    }
    yMax *= 1.08;
    const int ile = !kierunki[0].empty() + !kierunki[1].empty();
    if (ile == 0) {
        malarz.drawText(obszar, Qt::AlignCenter, QStringLiteral("Brak wyników sprawdzenia widoczności."));
        malarz.restore();
        return;
    }
    const QString tytuly[2] = {QStringLiteral("Kierunek + (z pikietażem)"),
                               QStringLiteral("Kierunek − (przeciw pikietażowi)")};
    double gora = obszar.top();
    const double wys = obszar.height() / ile;
    for (int k = 0; k < 2; ++k) {
        if (kierunki[k].empty()) continue;
        Panel(malarz, QRectF(obszar.left(), gora, obszar.width(), wys), kierunki[k], tytuly[k], pikMin, pikMax, yMax,
              znacznik, pikStart);
        gora += wys;
    }
    malarz.restore();
}

TWykresWidocznosci::TWykresWidocznosci(QWidget* rodzic) : QWidget(rodzic) {
    setObjectName(QStringLiteral("WykresWidocznosci"));
    setMinimumSize(400, 200);
}

void TWykresWidocznosci::UstawZnacznik(double pikieta) {
    if (pikieta == znacznik_ || (std::isnan(pikieta) && std::isnan(znacznik_))) return;
    znacznik_ = pikieta;
    update();
}

void TWykresWidocznosci::UstawWiersze(std::vector<TWierszWidocznosci> wiersze, double pikStart) {
    wiersze_ = std::move(wiersze);
    pikStart_ = pikStart;
    update();
}

void TWykresWidocznosci::paintEvent(QPaintEvent*) {
    QPainter m(this);
    RysujWykresWidocznosci(m, QRectF(rect()), wiersze_, znacznik_, pikStart_);
}
