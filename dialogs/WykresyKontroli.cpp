#include "dialogs/WykresyKontroli.h"

#include <QLocale>
#include <QPainterPath>
#include <algorithm>
#include <functional>
#include <optional>

#include "analiza/Profil.h"
#include "dialogs/RysunekProfilu.h"

namespace {

constexpr double Lewy = 74, Prawy = 16;
const QColor KolorLewej(20, 60, 170);
const QColor KolorPrawej(200, 90, 0);
const QColor KolorMasy(120, 40, 140);
const QColor KolorZera(0, 150, 0);

QString Tekst(double v, int miejsca) { return QLocale(QLocale::Polish).toString(v, 'f', miejsca); }

// A plot over the displayed chainages [U0, U1] and values [V0, V1].
struct TPlot {
    QRectF Pole;
    double U0 = 0, U1 = 1, V0 = 0, V1 = 1;
    double X(double u) const { return Pole.left() + (u - U0) / (U1 - U0) * Pole.width(); }
    double Y(double v) const { return Pole.bottom() - (v - V0) / (V1 - V0) * Pole.height(); }
};

// The frame, grid, labels and title; false when the rectangle is too small.
bool Ramka(QPainter& m, const QRectF& obszar, const TDaneWykresowKontroli& d, double v0, double v1,
           const QString& tytul, const QString& jednostka, int miejsca, TPlot& p) {
    const QFontMetricsF fm(m.font());
    p.Pole = QRectF(obszar.left() + Lewy, obszar.top() + fm.height() + 10, obszar.width() - Lewy - Prawy,
                    obszar.height() - 2 * fm.height() - 18);
    if (p.Pole.width() < 20 || p.Pole.height() < 20) return false;
    p.U0 = d.PikStart + d.PikMin;
    p.U1 = d.PikStart + (d.PikMax > d.PikMin ? d.PikMax : d.PikMin + 1.0);
    if (!(v1 > v0)) v0 -= 1, v1 += 1;
    const double zapas = 0.08 * (v1 - v0);
    p.V0 = v0 - zapas, p.V1 = v1 + zapas;
    m.setPen(Qt::black);
    m.drawText(QPointF(obszar.left() + 8, obszar.top() + fm.ascent() + 3), tytul + QStringLiteral(" ") + jednostka);
    m.fillRect(p.Pole, Qt::white);
    const TOsPikietazu os = OsPikietazu(p.U0, p.U1, p.Pole.width());
    const auto xu = [&p](double u) { return p.X(u); };
    const double kv = KrokPodzialki(p.V1 - p.V0, 5);
    m.setPen(QPen(QColor(215, 215, 215), 0));
    RysujSiatkePikietazu(m, p.Pole, os, xu);
    for (double v = std::ceil(p.V0 / kv) * kv; v <= p.V1 + 1e-9; v += kv)
        m.drawLine(QPointF(p.Pole.left(), p.Y(v)), QPointF(p.Pole.right(), p.Y(v)));
    if (p.V0 < 0 && p.V1 > 0) {
        m.setPen(QPen(Qt::black, 0));
        m.drawLine(QPointF(p.Pole.left(), p.Y(0)), QPointF(p.Pole.right(), p.Y(0)));
    }
    m.setPen(Qt::black);
    m.drawRect(p.Pole);
    OpiszPikietaz(m, p.Pole, os, xu);
    for (double v = std::ceil(p.V0 / kv) * kv; v <= p.V1 + 1e-9; v += kv) {
        const QString t = Tekst(std::fabs(v) < 1e-12 ? 0.0 : v, kv < 1 ? miejsca : 0);
        m.drawText(QPointF(p.Pole.left() - fm.horizontalAdvance(t) - 6, p.Y(v) + fm.ascent() / 2 - 1), t);
    }
    const QString osX = QStringLiteral("pikieta [m]");
    m.drawText(QPointF(p.Pole.right() - fm.horizontalAdvance(osX), obszar.bottom() - 3), osX);
    return true;
}

void Znacznik(QPainter& m, const TPlot& p, const TDaneWykresowKontroli& d, double znacznik) {
    if (!std::isfinite(znacznik)) return;
    const double u = d.PikStart + znacznik;
    if (u < p.U0 - 1e-9 || u > p.U1 + 1e-9) return;
    m.setPen(QPen(KolorZera, 1.4, Qt::DashLine));
    m.drawLine(QPointF(p.X(u), p.Pole.top()), QPointF(p.X(u), p.Pole.bottom()));
}

// The line of (chainage, value) pairs, broken where a value is missing.
void Linia(QPainter& m, const TPlot& p, std::size_t ile, const std::function<double(std::size_t)>& u,
           const std::function<std::optional<double>(std::size_t)>& v, const QPen& pioro) {
    QPainterPath sciezka;
    bool ciagla = false;
    for (std::size_t i = 0; i < ile; ++i) {
        const std::optional<double> w = v(i);
        if (!w) {
            ciagla = false;
            continue;
        }
        const QPointF q(p.X(u(i)), p.Y(*w));
        if (ciagla)
            sciezka.lineTo(q);
        else
            sciezka.moveTo(q);
        ciagla = true;
    }
    m.setPen(pioro);
    m.setBrush(Qt::NoBrush);
    m.drawPath(sciezka);
}

void Legenda(QPainter& m, const QRectF& obszar, const std::vector<std::pair<QColor, QString>>& pozycje) {
    const QFontMetricsF fm(m.font());
    double x = obszar.right() - Prawy;
    for (auto it = pozycje.rbegin(); it != pozycje.rend(); ++it) {
        x -= fm.horizontalAdvance(it->second) + 34;
        const double y = obszar.top() + fm.ascent() / 2 + 4;
        m.setPen(QPen(it->first, 2.0));
        m.drawLine(QPointF(x, y), QPointF(x + 24, y));
        m.setPen(Qt::black);
        m.drawText(QPointF(x + 28, obszar.top() + fm.ascent() + 3), it->second);
    }
}

}  // namespace

void UstawMasy(TDaneWykresowKontroli& d, const TWynikObjetosci& w) {
    d.PikietyMas.clear();
    d.Masa.clear();
    d.PunktyZrownowazenia = w.PunktyZrownowazenia;
    if (w.PikietyPaskow.empty()) return;
    double masa = 0.0;
    d.PikietyMas.push_back(w.PikietyPaskow.front());
    d.Masa.push_back(0.0);
    for (std::size_t i = 0; i < w.WykopPaska.size() && i + 1 < w.PikietyPaskow.size(); ++i) {
        masa += w.Wspolczynnik * w.WykopPaska[i] - w.NasypPaska[i];
        d.PikietyMas.push_back(w.PikietyPaskow[i + 1]);
        d.Masa.push_back(masa);
    }
}

void RysujWykresPochylen(QPainter& m, const QRectF& obszar, const TDaneWykresowKontroli& d, double znacznik) {
    m.save();
    m.fillRect(obszar, QColor(240, 240, 240));
    double v0 = -3, v1 = 3;
    for (const TWierszPochylen& r : d.Pochylenia)
        for (const std::optional<double>& q : {r.QLewe, r.QPrawe})
            if (q) v0 = std::min(v0, *q), v1 = std::max(v1, *q);
    TPlot p;
    if (Ramka(m, obszar, d, v0, v1, QStringLiteral("Pochylenie poprzeczne"), QStringLiteral("[%]"), 1, p)) {
        m.save();
        m.setClipRect(p.Pole.adjusted(-1, -1, 1, 1));
        m.setRenderHint(QPainter::Antialiasing, true);
        auto u = [&](std::size_t i) { return d.PikStart + d.Pochylenia[i].Pikieta; };
        Linia(
            m, p, d.Pochylenia.size(), u, [&](std::size_t i) { return d.Pochylenia[i].QLewe; }, QPen(KolorLewej, 1.6));
        Linia(
            m, p, d.Pochylenia.size(), u, [&](std::size_t i) { return d.Pochylenia[i].QPrawe; },
            QPen(KolorPrawej, 1.6, Qt::DashLine));
        Znacznik(m, p, d, znacznik);
        m.restore();
        Legenda(m, obszar,
                {{KolorLewej, QStringLiteral("strona lewa")}, {KolorPrawej, QStringLiteral("strona prawa")}});
    }
    m.restore();
}

void RysujWykresMas(QPainter& m, const QRectF& obszar, const TDaneWykresowKontroli& d, double znacznik) {
    m.save();
    m.fillRect(obszar, QColor(240, 240, 240));
    double v0 = 0, v1 = 0;
    for (double v : d.Masa) v0 = std::min(v0, v), v1 = std::max(v1, v);
    TPlot p;
    if (Ramka(m, obszar, d, v0, v1, QStringLiteral("Wykres mas"),
              QStringLiteral("[m³] (k·wykop − nasyp od początku trasy)"), 0, p)) {
        m.save();
        m.setClipRect(p.Pole.adjusted(-1, -1, 1, 1));
        m.setRenderHint(QPainter::Antialiasing, true);
        Linia(
            m, p, d.Masa.size(), [&](std::size_t i) { return d.PikStart + d.PikietyMas[i]; },
            [&](std::size_t i) { return std::optional<double>(d.Masa[i]); }, QPen(KolorMasy, 1.8));
        m.setPen(QPen(KolorZera, 1.2));
        m.setBrush(KolorZera);
        for (double s : d.PunktyZrownowazenia) m.drawEllipse(QPointF(p.X(d.PikStart + s), p.Y(0)), 3.5, 3.5);
        Znacznik(m, p, d, znacznik);
        m.restore();
        Legenda(m, obszar, {{KolorMasy, QStringLiteral("rzędna mas")}, {KolorZera, QStringLiteral("zrównoważenie")}});
    }
    m.restore();
}

TWykresyKontroli::TWykresyKontroli(QWidget* rodzic) : QWidget(rodzic) {
    setObjectName(QStringLiteral("WykresyKontroli"));
    setMinimumSize(400, 160);
}

QSize TWykresyKontroli::sizeHint() const {
    return {900, 200 * ((dane_.Pochylenia.empty() ? 0 : 1) + (dane_.Masa.empty() ? 0 : 1))};
}

void TWykresyKontroli::UstawDane(TDaneWykresowKontroli dane) {
    dane_ = std::move(dane);
    updateGeometry();
    update();
}

void TWykresyKontroli::UstawZnacznik(double pikieta) {
    if (pikieta == znacznik_ || (std::isnan(pikieta) && std::isnan(znacznik_))) return;
    znacznik_ = pikieta;
    update();
}

void TWykresyKontroli::paintEvent(QPaintEvent*) {
    QPainter m(this);
    const int ile = (dane_.Pochylenia.empty() ? 0 : 1) + (dane_.Masa.empty() ? 0 : 1);
    if (ile == 0) return;
    const double wys = static_cast<double>(height()) / ile;
    double gora = 0;
    if (!dane_.Pochylenia.empty()) {
        RysujWykresPochylen(m, QRectF(0, gora, width(), wys), dane_, znacznik_);
        gora += wys;
    }
    if (!dane_.Masa.empty()) RysujWykresMas(m, QRectF(0, gora, width(), wys), dane_, znacznik_);
}
