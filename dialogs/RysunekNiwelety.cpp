#include "dialogs/RysunekNiwelety.h"

#include <QFontMetrics>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "common/Funkcje.h"
#include "analiza/Profil.h"
#include "route/Niweleta.h"

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

const QColor KolorNiwelety(20, 20, 160);
const QColor KolorStycznych(120, 120, 200);
const QColor KolorRamki(120, 120, 120);

// "0+800,00", the chainage as the band and the labels write it.
QString Kilometraz(double s) { return Q(TekstKilometrazu(s, SeparatorDziesietny()).substr(3)); }

QString Procent(double g) { return (g >= 0 ? QStringLiteral("+") : QString()) + Q(F2(g * 100)) + QStringLiteral(" %"); }

QString OpisLuku(const TPVI& p) {
    const double R = PromienLukuPionowego(p);
    return QStringLiteral("R = %1  L = %2").arg(Q(std::to_string(std::llround(R))), Q(F2(DlugoscLukuPionowego(p))));
}

// Text rotated a quarter turn anticlockwise, its baseline's start at (x, y), reading upwards.
void TekstPionowy(QPainter& m, double x, double y, const QString& t) {
    m.save();
    m.translate(x, y);
    m.rotate(-90);
    m.drawText(QPointF(0, 0), t);
    m.restore();
}

}  // namespace

std::vector<std::pair<double, double>> PunktyNiwelety(const TNiweleta& n, int ile) {
    std::vector<std::pair<double, double>> w;
    if (n.Pusta()) return w;
    const double od = n.Punkty.front().Pik, do_ = n.Punkty.back().Pik;
    std::vector<double> s;
    for (const TPVI& p : n.Punkty) {
        s.push_back(p.Pik);
        if (p.Luk == TLukPionowy::Brak) continue;
        // A curve: its ends and a point every 1/40 of it.
        for (int i = 0; i <= 40; ++i) s.push_back(p.Pocz + (p.Kon - p.Pocz) * i / 40.0);
    }
    for (int i = 0; i <= ile; ++i) s.push_back(od + (do_ - od) * i / ile);
    std::sort(s.begin(), s.end());
    s.erase(std::unique(s.begin(), s.end()), s.end());
    for (double v : s)
        if (const std::optional<double> z = WysokoscNiwelety(n, v)) w.emplace_back(v, *z);
    return w;
}

void RysujNiwelete(QPainter& m, const TOdwzorowanieProfilu& w, const TNiweleta& n) {
    if (n.Pusta()) return;
    const QFontMetrics fm = m.fontMetrics();
    m.save();
    m.setClipRect(w.Pole);
    m.setRenderHint(QPainter::Antialiasing, true);
    // The grades through the breakpoints, thin and dashed where curves round them off.
    QPolygonF styczne;
    for (const TPVI& p : n.Punkty) styczne << QPointF(w.X(p.Pik), w.Y(p.Z));
    m.setPen(QPen(KolorStycznych, 1.0, Qt::DashLine));
    m.drawPolyline(styczne);
    QPolygonF linia;
    for (const auto& [s, z] : PunktyNiwelety(n)) linia << QPointF(w.X(s), w.Y(z));
    m.setPen(QPen(KolorNiwelety, 2.0));
    m.drawPolyline(linia);
    m.setBrush(Qt::white);
    for (const QPointF& p : styczne) m.drawEllipse(p, 3.0, 3.0);
    m.setBrush(Qt::NoBrush);
    m.setPen(KolorNiwelety);
    for (const TEtykietaNiwelety& e : EtykietyNiwelety(fm, w, n)) {
        if (e.Pionowa)
            TekstPionowy(m, e.Pole.left() + fm.ascent(), e.Pole.bottom(), e.Tekst);
        else
            m.drawText(e.Pole, Qt::AlignCenter, e.Tekst);
    }
    m.restore();
}

std::vector<TEtykietaNiwelety> EtykietyNiwelety(const QFontMetrics& fm, const TOdwzorowanieProfilu& w,
                                                const TNiweleta& n) {
    std::vector<TEtykietaNiwelety> e;
    const double h = fm.height();
    auto wolne = [&e](const QRectF& r) {
        return std::none_of(e.begin(), e.end(), [&r](const TEtykietaNiwelety& x) { return x.Pole.intersects(r); });
    };
    // Whether the design line passes through the box r (looked at every 2 px across it).
    const double x0 = w.X(n.Punkty.front().Pik), naMetr = (w.X(n.Punkty.front().Pik + 1) - x0);
    auto naLinii = [&](const QRectF& r) {
        if (naMetr == 0) return false;
        for (double x = r.left(); x <= r.right() + 1e-9; x += 2) {
            const std::optional<double> z = WysokoscNiwelety(n, n.Punkty.front().Pik + (x - x0) / naMetr);
            if (z && w.Y(*z) >= r.top() - 1 && w.Y(*z) <= r.bottom() + 1) return true;
        }
        return false;
    };
    // The first free box of width `szer` among the corners `miejsca`, inside the plot; with `omijajLinie` the
    // first one off the design line too, when there is one.
    auto poloz = [&](const QString& t, const std::vector<QPointF>& miejsca, bool omijajLinie) {
        const double szer = fm.horizontalAdvance(t);
        std::optional<QRectF> pierwsze;
        for (const QPointF& p : miejsca) {
            const QRectF r(p.x(), p.y(), szer, h);
            if (!w.Pole.contains(r) || !wolne(r)) continue;
            if (!omijajLinie || !naLinii(r)) return e.push_back({t, r, false});
            if (!pierwsze) pierwsze = r;
        }
        if (pierwsze) e.push_back({t, *pierwsze, false});
    };
    // Each breakpoint: chainage and height, upwards from above it where there is room, else below it; the text's
    // baseline a little right of the breakpoint.
    for (const TPVI& p : n.Punkty) {
        const double x = w.X(p.Pik), y = w.Y(p.Z);
        const QString t = Kilometraz(p.Pik) + QStringLiteral("  ") + Q(F2(p.Z));
        const double dl = fm.horizontalAdvance(t), lewo = x + fm.ascent() / 2.0 - 1 - fm.ascent();
        const double dol = y - 8 - dl >= w.Pole.top() ? y - 8 : y + 8 + dl;
        e.push_back({t, QRectF(lewo, dol - dl, fm.ascent() + fm.descent(), dl), true});
    }
    // Each vertical curve's radius and length under its breakpoint, right of the upright label.
    for (const TPVI& p : n.Punkty) {
        if (p.Luk == TLukPionowy::Brak) continue;
        const double x = w.X(p.Pik), y = w.Y(p.Z);
        const QString t = OpisLuku(p);
        const double szer = fm.horizontalAdvance(t);
        std::vector<QPointF> miejsca;
        for (int k = 0; k < 4; ++k) miejsca.push_back({x + h, y + 4 + k * h});
        for (int k = 0; k < 4; ++k) miejsca.push_back({x - h - szer, y + 4 + k * h});
        for (int k = 0; k < 3; ++k) miejsca.push_back({x + h, y - 4 - (k + 1) * h});
        for (int k = 0; k < 3; ++k) miejsca.push_back({x - h - szer, y - 4 - (k + 1) * h});
        poloz(t, miejsca, true);
    }
    // Each grade over the middle of its segment, else over or under another point of it.
    for (std::size_t i = 0; i + 1 < n.Punkty.size(); ++i) {
        const TPVI &p = n.Punkty[i], &q = n.Punkty[i + 1];
        const QString t = Procent((q.Z - p.Z) / (q.Pik - p.Pik));
        const double szer = fm.horizontalAdvance(t);
        std::vector<QPointF> miejsca;
        for (double u : {0.5, 0.35, 0.65, 0.2, 0.8}) {
            const double x = w.X(p.Pik) + u * (w.X(q.Pik) - w.X(p.Pik)), y = w.Y(p.Z) + u * (w.Y(q.Z) - w.Y(p.Z));
            miejsca.push_back({x - szer / 2, y - h - 4});
            miejsca.push_back({x - szer / 2, y + 4});
        }
        poloz(t, miejsca, false);
    }
    return e;
}

double WysokoscPaskaNiwelety(const QFontMetrics& fm) { return 5 * (fm.height() + 6); }

void RysujPasekNiwelety(QPainter& m, const QRectF& pasek, const TOdwzorowanieProfilu& w, const TNiweleta& n,
                        double pikOd, double pikDo, const std::function<std::optional<double>(double)>& teren) {
    const QFontMetrics fm = m.fontMetrics();
    const double h = fm.height() + 6;
    const QString nazwy[] = {QStringLiteral("Pikiety"), QStringLiteral("Niweleta"), QStringLiteral("Teren"),
                             QStringLiteral("Pochylenia"), QStringLiteral("Łuki pion.")};
    m.save();
    m.setPen(QPen(KolorRamki, 1.0));
    for (int r = 0; r <= 5; ++r)
        m.drawLine(QPointF(pasek.left(), pasek.top() + r * h), QPointF(pasek.right(), pasek.top() + r * h));
    m.setPen(Qt::black);
    for (int r = 0; r < 5; ++r)
        m.drawText(QRectF(pasek.left() + 4, pasek.top() + r * h, w.Pole.left() - pasek.left() - 8, h),
                   Qt::AlignLeft | Qt::AlignVCenter, nazwy[r]);
    auto wiersz = [&](int r) { return QRectF(w.Pole.left(), pasek.top() + r * h, w.Pole.width(), h); };
    m.setClipRect(QRectF(w.Pole.left(), pasek.top(), w.Pole.width(), 5 * h));

    // Every 50 m, or 100, 200, 500, 1000 m when the texts would crowd.
    const double naMetr = std::fabs(w.X(pikOd + 1) - w.X(pikOd));
    const double potrzeba = fm.horizontalAdvance(QStringLiteral("00+000  ")) + 4;
    double krok = 50;
    for (double k : {50.0, 100.0, 200.0, 500.0, 1000.0, 2000.0, 5000.0}) {
        krok = k;
        if (k * naMetr >= potrzeba) break;
    }
    for (double s = std::ceil(pikOd / krok - 1e-9) * krok; s <= pikDo + 1e-9; s += krok) {
        const double x = w.X(s);
        // A cell centred on its chainage, kept inside the plot's width at both ends.
        const auto komorka = [&](int r, const QString& t) {
            const double szer = std::min(krok * naMetr, static_cast<double>(fm.horizontalAdvance(t)) + 4);
            const double lewy = std::clamp(x - szer / 2, w.Pole.left(), w.Pole.right() - szer);
            m.drawText(QRectF(lewy, pasek.top() + r * h, szer, h), Qt::AlignCenter, t);
        };
        m.setPen(QPen(KolorRamki, 1.0));
        m.drawLine(QPointF(x, pasek.top()), QPointF(x, pasek.top() + 3 * h));
        m.setPen(Qt::black);
        const long long metry = std::llround(s);
        komorka(0, Q(std::to_string(metry / 1000) + "+" + (metry % 1000 < 100 ? (metry % 1000 < 10 ? "00" : "0") : "") +
                     std::to_string(metry % 1000)));
        if (const std::optional<double> z = WysokoscNiwelety(n, s)) komorka(1, Q(F2(*z)));
        if (const std::optional<double> z = teren(s)) komorka(2, Q(F2(*z)));
    }
    // The grades: a slanting stroke over each segment with its grade and length.
    for (std::size_t i = 0; i + 1 < n.Punkty.size(); ++i) {
        const TPVI& p = n.Punkty[i];
        const TPVI& q = n.Punkty[i + 1];
        const double g = (q.Z - p.Z) / (q.Pik - p.Pik);
        const QRectF r = wiersz(3);
        const double x0 = w.X(p.Pik), x1 = w.X(q.Pik);
        m.setPen(QPen(KolorRamki, 1.0));
        m.drawLine(QPointF(x0, r.top()), QPointF(x0, r.bottom()));
        m.drawLine(QPointF(x0, g >= 0 ? r.bottom() - 2 : r.top() + 2),
                   QPointF(x1, g >= 0 ? r.top() + 2 : r.bottom() - 2));
        m.setPen(Qt::black);
        const QString t = Procent(g) + QStringLiteral("  L = ") + Q(F2(q.Pik - p.Pik));
        const QRectF pole(std::min(x0, x1), r.top(), std::fabs(x1 - x0), r.height());
        if (fm.horizontalAdvance(t) < pole.width()) {
            m.fillRect(QRectF(pole.center().x() - fm.horizontalAdvance(t) / 2.0 - 2, r.top() + 2,
                              fm.horizontalAdvance(t) + 4, r.height() - 4),
                       Qt::white);
            m.drawText(pole, Qt::AlignCenter, t);
        }
    }
    // The vertical curves: a bracket over the curve's length with its radius and length.
    for (const TPVI& p : n.Punkty) {
        if (p.Luk == TLukPionowy::Brak) continue;
        const QRectF r = wiersz(4);
        const double x0 = w.X(p.Pocz), x1 = w.X(p.Kon);
        m.setPen(QPen(KolorNiwelety, 1.0));
        const double y = r.top() + 3;
        m.drawLine(QPointF(x0, r.bottom() - 3), QPointF(x0, y));
        m.drawLine(QPointF(x0, y), QPointF(x1, y));
        m.drawLine(QPointF(x1, y), QPointF(x1, r.bottom() - 3));
        m.setPen(Qt::black);
        // The radius and length inside the bracket; a short bracket gets the radius alone (the plot's label
        // has the length), and one too short for that too the radius over a white ground, centred on it.
        const QString pelny = OpisLuku(p);
        const QString krotki = QStringLiteral("R = %1").arg(std::llround(PromienLukuPionowego(p)));
        const double dostepne = std::fabs(x1 - x0) - 4;
        const QString t = fm.horizontalAdvance(pelny) <= dostepne ? pelny : krotki;
        const double szer = fm.horizontalAdvance(t) + 4;
        const QRectF pole((x0 + x1) / 2 - szer / 2, r.top() + 4, szer, r.height() - 5);
        if (szer - 4 > dostepne) m.fillRect(pole, Qt::white);
        m.drawText(pole, Qt::AlignCenter, t);
    }
    m.restore();
}
