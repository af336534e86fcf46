#include "dialogs/RysunekProfilu.h"

#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "common/Funkcje.h"
#include "dialogs/RysunekNiwelety.h"
#include "model/Zmienne.h"
#include "route/Niweleta.h"
#include "route/OblTrasa.h"

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

const QColor KolorTerenu(96, 128, 48);
const QColor KolorWypelnieniaTerenu(214, 226, 190);
const QColor KolorProjektu(200, 30, 30);
const QColor KolorZnacznika(30, 80, 200);
const QColor KolorSiatki(222, 222, 222);
const QColor KolorRamki(120, 120, 120);

QString Metry(double v) { return Q(F2(v)) + QStringLiteral(" m"); }

// A plot: a rectangle of the picture and the values at its edges.
struct TWykres {
    QRectF Pole;
    double U0 = 0, U1 = 1;     // horizontal values at the left and right edge
    double V0 = 0, V1 = 1;     // vertical values at the bottom and top edge
    double PrzesuniecieU = 0;  // added to a point's chainage (the route's start chainage)
    double X(double u) const { return Pole.left() + (u - U0) / (U1 - U0) * Pole.width(); }
    double Y(double v) const { return Pole.bottom() - (v - V0) / (V1 - V0) * Pole.height(); }
};

// The range of both surfaces' heights in the points (none when there is no height at all).
bool ZakresWysokosci(const std::vector<TPunktProfilu>& punkty, double& zmin, double& zmax) {
    bool jest = false;
    for (const TPunktProfilu& p : punkty)
        for (const std::optional<double>& z : {p.ZProj, p.ZTeren})
            if (z) {
                zmin = jest ? std::min(zmin, *z) : *z;
                zmax = jest ? std::max(zmax, *z) : *z;
                jest = true;
            }
    return jest;
}

// The polylines of one surface, broken where it has no height.
std::vector<QPolygonF> Linie(const TWykres& w, const std::vector<TPunktProfilu>& punkty, bool proj, bool poPikiecie) {
    std::vector<QPolygonF> linie(1);
    for (const TPunktProfilu& p : punkty) {
        const std::optional<double>& z = proj ? p.ZProj : p.ZTeren;
        if (!z) {
            if (!linie.back().isEmpty()) linie.emplace_back();
            continue;
        }
        linie.back() << QPointF(w.X(poPikiecie ? p.Pikieta + w.PrzesuniecieU : p.Odleglosc), w.Y(*z));
    }
    return linie;
}

void RysujPowierzchnie(QPainter& m, const TWykres& w, const std::vector<TPunktProfilu>& punkty, bool poPikiecie) {
    // The ground filled down to the bottom of the plot, its line over it, then the design line.
    for (const QPolygonF& l : Linie(w, punkty, false, poPikiecie)) {
        if (l.size() < 2) continue;
        QPolygonF pole = l;
        pole << QPointF(l.back().x(), w.Pole.bottom()) << QPointF(l.front().x(), w.Pole.bottom());
        m.setPen(Qt::NoPen);
        m.setBrush(KolorWypelnieniaTerenu);
        m.drawPolygon(pole);
        m.setPen(QPen(KolorTerenu, 1.5));
        m.setBrush(Qt::NoBrush);
        m.drawPolyline(l);
    }
    m.setPen(QPen(KolorProjektu, 2.0));
    for (const QPolygonF& l : Linie(w, punkty, true, poPikiecie))
        if (l.size() >= 2) m.drawPolyline(l);
}

// Grid, ticks and their labels; the height labels on the left.
void RysujOsie(QPainter& m, const TWykres& w, double krokU, double krokV, bool pikiety) {
    const QFontMetrics fm = m.fontMetrics();
    m.setPen(QPen(KolorSiatki, 1.0));
    const std::vector<double> pu = Podzialka(w.U0, w.U1, krokU), pv = Podzialka(w.V0, w.V1, krokV);
    for (double u : pu) m.drawLine(QPointF(w.X(u), w.Pole.top()), QPointF(w.X(u), w.Pole.bottom()));
    for (double v : pv) m.drawLine(QPointF(w.Pole.left(), w.Y(v)), QPointF(w.Pole.right(), w.Y(v)));
    m.setPen(QPen(KolorRamki, 1.0));
    m.setBrush(Qt::NoBrush);
    m.drawRect(w.Pole);
    m.setPen(Qt::black);
    for (double u : pu) {
        // The cross-section's distances in metres (the unit with the last one); chainages say "km+m" themselves.
        QString t = pikiety ? TekstPodzialkiPikiety(u, krokU) : Q(G2(u));
        if (!pikiety && u == pu.back()) t += QStringLiteral(" m");
        const double x = w.X(u);
        m.drawLine(QPointF(x, w.Pole.bottom()), QPointF(x, w.Pole.bottom() + 4));
        m.drawText(QRectF(x - 60, w.Pole.bottom() + 5, 120, fm.height()), Qt::AlignHCenter | Qt::AlignTop, t);
    }
    for (double v : pv) {
        const double y = w.Y(v);
        m.drawLine(QPointF(w.Pole.left() - 4, y), QPointF(w.Pole.left(), y));
        m.drawText(QRectF(w.Pole.left() - 72, y - fm.height() / 2.0, 66, fm.height()),
                   Qt::AlignRight | Qt::AlignVCenter, Q(G2(v)) + QStringLiteral(" m"));
    }
}

// The legend from x, in full words when it fits before `prawa`, else the sets' names alone; the design
// line's entry when the route has one.
void RysujLegende(QPainter& m, double x, double y, double prawa, bool niweleta) {
    const QFontMetrics fm = m.fontMetrics();
    const QString pelne[2] = {QStringLiteral("PROJ (powierzchnia projektowana)"),
                              QStringLiteral("TEREN (teren istniejący)")};
    const QString krotkie[2] = {QStringLiteral("PROJ"), QStringLiteral("TEREN")};
    auto szerokosc = [&](const QString* t) {
        return 2 * (30 + 16) + fm.horizontalAdvance(t[0]) + fm.horizontalAdvance(t[1]);
    };
    const QString* t = x + szerokosc(pelne) <= prawa ? pelne : krotkie;
    auto pozycja = [&](const QColor& k, const QString& tekst) {
        m.setPen(QPen(k, 2.0));
        m.drawLine(QPointF(x, y + fm.height() / 2.0), QPointF(x + 24, y + fm.height() / 2.0));
        m.setPen(Qt::black);
        m.drawText(QPointF(x + 30, y + fm.ascent()), tekst);
        x += 30 + fm.horizontalAdvance(tekst) + 16;
    };
    pozycja(KolorProjektu, t[0]);
    pozycja(KolorTerenu, t[1]);
    if (niweleta) pozycja(QColor(20, 20, 160), QStringLiteral("niweleta"));
}

void RysujProfil(QPainter& m, const QRectF& obszar, const TDaneRysunkuProfilu& d) {
    const QFontMetrics fm = m.fontMetrics();
    const bool niweleta = !d.Niweleta.Pusta();
    // With a design line, the band under the chainage ticks.
    const double pasek = niweleta ? WysokoscPaskaNiwelety(fm) + 4 : 0.0;
    TWykres w;
    w.Pole = QRectF(obszar.left() + LewyMarginesWykresu, obszar.top() + fm.height() + 14,
                    obszar.width() - LewyMarginesWykresu - PrawyMarginesWykresu,
                    obszar.height() - fm.height() - 14 - fm.height() - 12 - pasek);
    // Chainages as the file gives them: a LandXML route keeps its start chainage.
    w.PrzesuniecieU = d.PikStart;
    w.U0 = d.PikStart + d.PikMin;
    w.U1 = d.PikStart + (d.PikMax > d.PikMin ? d.PikMax : d.PikMin + 1.0);
    // The vertical scale is the horizontal one times the exaggeration; the
    // heights are centred on the middle of their range. An exaggeration at
    // which they would not fit the plot is lowered to the largest that fits, and the title says so.
    double zmin = 0, zmax = 1;
    bool sa = ZakresWysokosci(d.Profil, zmin, zmax);
    for (const TPVI& p : d.Niweleta.Punkty) {
        zmin = sa ? std::min(zmin, p.Z) : p.Z;
        zmax = sa ? std::max(zmax, p.Z) : p.Z;
        sa = true;
    }
    if (!sa) zmin = 0, zmax = 1;
    const double najwieksze = NajwiekszePrzewyzszenie(zmax - zmin, w.U1 - w.U0, w.Pole.width(), w.Pole.height());
    const double przewyzszenie = std::max(std::min(d.Przewyzszenie, najwieksze), 1e-3);
    QString tytul = QStringLiteral("Profil podłużny (przewyższenie %1×)").arg(Q(G2(przewyzszenie)));
    if (przewyzszenie < d.Przewyzszenie)
        tytul = QStringLiteral("Profil podłużny (przewyższenie %1× zamiast %2×: tyle się mieści)")
                    .arg(Q(G2(przewyzszenie)), Q(G2(d.Przewyzszenie)));
    m.setPen(Qt::black);
    m.drawText(QPointF(obszar.left() + 8, obszar.top() + fm.ascent() + 4), tytul);
    RysujLegende(m, obszar.left() + 8 + fm.horizontalAdvance(tytul) + 24, obszar.top() + 4, obszar.right() - 8,
                 niweleta);
    if (w.Pole.width() < 20 || w.Pole.height() < 20) return;
    const double naMetr = w.Pole.width() / (w.U1 - w.U0) * przewyzszenie;
    const double srodek = 0.5 * (zmin + zmax), pol = 0.5 * w.Pole.height() / naMetr;
    w.V0 = srodek - pol;
    w.V1 = srodek + pol;
    RysujOsie(m, w, OsPikietazu(w.U0, w.U1, w.Pole.width()).Krok, KrokPodzialki(w.V1 - w.V0, 6), true);
    m.save();
    m.setClipRect(w.Pole);
    m.setRenderHint(QPainter::Antialiasing, true);
    RysujPowierzchnie(m, w, d.Profil, true);
    const TOdwzorowanieProfilu odw{[&w](double u) { return w.X(u); }, [&w](double v) { return w.Y(v); }, w.Pole};
    if (niweleta) RysujNiwelete(m, odw, d.Niweleta);
    // The marker at the current chainage.
    const double x = w.X(std::clamp(d.PikStart + d.Pikieta, w.U0, w.U1));
    m.setPen(QPen(KolorZnacznika, 1.5, Qt::DashLine));
    m.drawLine(QPointF(x, w.Pole.top()), QPointF(x, w.Pole.bottom()));
    m.setPen(QPen(KolorZnacznika, 1.5));
    m.setBrush(KolorZnacznika);
    for (const std::optional<double>& z :
         {d.NaOsi.ZProj, d.NaOsi.ZTeren, WysokoscNiwelety(d.Niweleta, d.PikStart + d.Pikieta)})
        if (z) m.drawEllipse(QPointF(x, w.Y(*z)), 3.0, 3.0);
    m.restore();
    if (niweleta) {
        // The ground at a chainage: between the long profile's points.
        const auto teren = [&d](double u) -> std::optional<double> {
            const double s = u - d.PikStart;
            const auto& p = d.Profil;
            const auto it = std::lower_bound(p.begin(), p.end(), s,
                                             [](const TPunktProfilu& a, double v) { return a.Pikieta < v; });
            if (it == p.end() || !it->ZTeren) return std::nullopt;
            if (it == p.begin() || it->Pikieta == s) return it->ZTeren;
            const TPunktProfilu& a = *(it - 1);
            if (!a.ZTeren) return std::nullopt;
            return *a.ZTeren + (*it->ZTeren - *a.ZTeren) * (s - a.Pikieta) / (it->Pikieta - a.Pikieta);
        };
        RysujPasekNiwelety(m, QRectF(obszar.left(), w.Pole.bottom() + fm.height() + 10, obszar.width(), pasek - 4), odw,
                           d.Niweleta, w.U0, w.U1, teren);
    }
    // Its chainage over the plot, kept inside the picture.
    const QString t = Q(TekstKilometrazu(d.PikStart + d.Pikieta, SeparatorDziesietny()));
    const double szer = fm.horizontalAdvance(t) + 8;
    const double lewy = std::clamp(x - szer / 2, w.Pole.left(), w.Pole.right() - szer);
    m.fillRect(QRectF(lewy, w.Pole.top() + 2, szer, fm.height() + 2), Qt::white);
    m.setPen(KolorZnacznika);
    m.drawText(QRectF(lewy, w.Pole.top() + 2, szer, fm.height() + 2), Qt::AlignCenter, t);
}

void RysujPrzekroj(QPainter& m, const QRectF& obszar, const TDaneRysunkuProfilu& d) {
    const QFontMetrics fm = m.fontMetrics();
    TWykres w;
    w.Pole = QRectF(obszar.left() + LewyMarginesWykresu, obszar.top() + fm.height() + 14,
                    obszar.width() - LewyMarginesWykresu - PrawyMarginesWykresu,
                    obszar.height() - fm.height() - 14 - fm.height() - 12);
    if (w.Pole.width() < 20 || w.Pole.height() < 20) return;
    double szer = SzerokoscPrzekrojuRysunku;
    if (!d.Przekroj.empty())
        szer = std::max(std::fabs(d.Przekroj.front().Odleglosc), std::fabs(d.Przekroj.back().Odleglosc));
    w.U0 = -szer;
    w.U1 = szer;
    // In true scale when the heights fit, otherwise squeezed vertically to fit.
    double zmin = 0, zmax = 1;
    if (!ZakresWysokosci(d.Przekroj, zmin, zmax)) zmin = 0, zmax = 1;
    const double poziomo = w.Pole.width() / (w.U1 - w.U0);
    const double naMetr = std::min(poziomo, w.Pole.height() / std::max(1e-9, (zmax - zmin) * 1.15));
    const double srodek = 0.5 * (zmin + zmax), pol = 0.5 * w.Pole.height() / naMetr;
    w.V0 = srodek - pol;
    w.V1 = srodek + pol;
    const double skala = naMetr / poziomo;
    m.setPen(Qt::black);
    QString tytul = QStringLiteral("Przekrój poprzeczny %1 (widok w kierunku jazdy, ")
                        .arg(Q(TekstKilometrazu(d.PikStart + d.Pikieta, SeparatorDziesietny())));
    tytul += skala > 0.999 ? QStringLiteral("bez przewyższenia)")
                           : QStringLiteral("skala pionowa %1 poziomej)").arg(Q(G2(skala)));
    m.drawText(QPointF(obszar.left() + 8, obszar.top() + fm.ascent() + 4), tytul);
    RysujOsie(m, w, KrokPodzialki(w.U1 - w.U0, std::clamp(w.Pole.width() / 75.0, 3.0, 12.0)),
              KrokPodzialki(w.V1 - w.V0, 5), false);
    m.save();
    m.setClipRect(w.Pole);
    m.setRenderHint(QPainter::Antialiasing, true);
    RysujPowierzchnie(m, w, d.Przekroj, false);
    // The route's axis.
    m.setPen(QPen(KolorZnacznika, 1.5, Qt::DashDotLine));
    m.drawLine(QPointF(w.X(0), w.Pole.top()), QPointF(w.X(0), w.Pole.bottom()));
    m.restore();
    m.setPen(KolorZnacznika);
    m.drawText(QRectF(w.X(0) - 30, w.Pole.top() + 2, 60, fm.height()), Qt::AlignCenter, QStringLiteral("oś"));
    m.setPen(Qt::black);
    m.drawText(QRectF(w.Pole.left() + 6, w.Pole.top() + 2, 120, fm.height()), Qt::AlignLeft, QStringLiteral("lewa"));
    m.drawText(QRectF(w.Pole.right() - 126, w.Pole.top() + 2, 120, fm.height()), Qt::AlignRight,
               QStringLiteral("prawa"));
}

}  // namespace

QString TekstPodzialkiPikiety(double v, double krok) {
    if (krok >= 1.0) {
        const long long m = std::llround(v);
        const long long a = m < 0 ? -m : m;
        char b[48];
        std::snprintf(b, sizeof b, "%s%lld+%03lld", m < 0 ? "-" : "", a / 1000, a % 1000);
        return QString::fromLatin1(b);
    }
    return Q(TekstKilometrazu(v, SeparatorDziesietny()).substr(3));
}

double KrokPodzialki(double zakres, double ile) {
    if (!(zakres > 0.0) || !std::isfinite(zakres)) return 1.0;
    const double surowy = zakres / ile;
    const double potega = std::pow(10.0, std::floor(std::log10(surowy)));
    const double m = surowy / potega;
    return (m <= 1.0 ? 1.0 : m <= 2.0 ? 2.0 : m <= 5.0 ? 5.0 : 10.0) * potega;
}

std::vector<double> Podzialka(double od, double do_, double krok) {
    std::vector<double> w;
    if (!(krok > 0.0)) return w;
    for (long long k = static_cast<long long>(std::ceil(od / krok - 1e-9)); w.size() < 200; ++k) {
        const double v = static_cast<double>(k) * krok;
        if (v > do_ + 1e-9 * std::max(1.0, std::fabs(do_))) break;
        w.push_back(v);
    }
    return w;
}

TOsPikietazu OsPikietazu(double od, double do_, double szerokosc) {
    TOsPikietazu os;
    os.Krok = KrokPodzialki(do_ - od, std::clamp(szerokosc / 90.0, 3.0, 10.0));
    os.Pikiety = Podzialka(od, do_, os.Krok);
    return os;
}

void RysujSiatkePikietazu(QPainter& m, const QRectF& pole, const TOsPikietazu& os,
                          const std::function<double(double)>& x) {
    for (double u : os.Pikiety) m.drawLine(QPointF(x(u), pole.top()), QPointF(x(u), pole.bottom()));
}

void OpiszPikietaz(QPainter& m, const QRectF& pole, const TOsPikietazu& os, const std::function<double(double)>& x) {
    const QFontMetricsF fm(m.font());
    m.setPen(Qt::black);
    for (double u : os.Pikiety) {
        const QString t = TekstPodzialkiPikiety(u, os.Krok);
        m.drawText(QPointF(x(u) - fm.horizontalAdvance(t) / 2, pole.bottom() + fm.ascent() + 3), t);
    }
}

double NajwiekszePrzewyzszenie(double zakresWysokosci, double dlugosc, double szerokosc, double wysokosc) {
    if (!(zakresWysokosci > 0.0) || !(dlugosc > 0.0) || !(szerokosc > 0.0)) return PrzewyzszenieNajwieksze;
    // Heights at a twentieth of the plot's height from its top and bottom.
    return wysokosc * 0.9 / zakresWysokosci * dlugosc / szerokosc;
}

std::vector<TPunktProfilu> ProfilCalejTrasy() {
    if (!Trasa.Obliczona) return {};
    const double dlugosc = static_cast<double>(Trasa.PikMax) - static_cast<double>(Trasa.PikMin);
    const double krok = std::max(0.5, dlugosc / 2000.0);
    std::vector<double> pikiety;
    for (double s : PikietyCoKrok(dlugosc, krok)) pikiety.push_back(Trasa.PikMin + s);
    const TIndeksyWysokosci ix = IndeksyWysokosci(ProjektOkna);
    return ObliczProfil(Trasa, pikiety, *ix.PROJ, *ix.TEREN);
}

TDaneRysunkuProfilu ObliczDaneRysunkuProfilu(double pikieta, double przewyzszenie, std::vector<TPunktProfilu> profil) {
    TDaneRysunkuProfilu d;
    d.Przewyzszenie = std::clamp(przewyzszenie, PrzewyzszenieNajmniejsze, PrzewyzszenieNajwieksze);
    d.Pikieta = pikieta;
    d.JestTrasa = Trasa.Obliczona;
    if (!d.JestTrasa) return d;
    d.PikMin = Trasa.PikMin;
    d.PikMax = Trasa.PikMax;
    d.PikStart = Trasa.PikStart;
    d.Profil = profil.empty() ? ProfilCalejTrasy() : std::move(profil);
    const TIndeksyWysokosci ix = IndeksyWysokosci(ProjektOkna);
    d.NaOsi = PunktProfilu(Trasa, pikieta, *ix.PROJ, *ix.TEREN);
    d.Przekroj = ObliczPrzekroj(Trasa, pikieta, SzerokoscPrzekrojuRysunku, KrokPrzekrojuRysunku, *ix.PROJ, *ix.TEREN);
    d.Pochylenie = PochylenieProjektu(Trasa, pikieta, *ix.PROJ);
    d.Niweleta = Trasa.Niweleta;
    return d;
}

QString OpisPikiety(const TDaneRysunkuProfilu& d) {
    if (!d.JestTrasa) return QStringLiteral("Trasa nie jest obliczona.");
    const QString odstep = QStringLiteral("   ");
    QString t = Q(TekstKilometrazu(d.PikStart + d.Pikieta, SeparatorDziesietny()));
    // With a design line its height is the road's; otherwise the design surface's.
    const std::optional<double> zDrogi = d.Niweleta.Pusta() ? d.NaOsi.ZProj
                                                            : WysokoscNiwelety(d.Niweleta, d.PikStart + d.Pikieta);
    t += odstep + QStringLiteral("Niweleta: ") + (zDrogi ? Metry(*zDrogi) : QStringLiteral("brak"));
    t += odstep + QStringLiteral("Teren: ") + (d.NaOsi.ZTeren ? Metry(*d.NaOsi.ZTeren) : QStringLiteral("brak"));
    if (const std::optional<double> r = zDrogi && d.NaOsi.ZTeren ? std::optional<double>(*zDrogi - *d.NaOsi.ZTeren)
                                                                 : std::nullopt) {
        if (std::fabs(*r) < 0.005)
            t += odstep + QStringLiteral("Niweleta w poziomie terenu");
        else
            t += odstep + (*r > 0 ? QStringLiteral("Nasyp: ") : QStringLiteral("Wykop: ")) + Metry(std::fabs(*r));
    }
    std::optional<double> pochylenie = d.Pochylenie;
    if (!d.Niweleta.Pusta()) {
        pochylenie = PochylenieNiwelety(d.Niweleta, d.PikStart + d.Pikieta);
        if (pochylenie) *pochylenie *= 100;
    }
    if (pochylenie) t += odstep + QStringLiteral("Pochylenie: ") + Q(F2(*pochylenie)) + QStringLiteral(" %");
    return t;
}

void RysujProfilIPrzekroj(QPainter& m, const QRect& obszar, const TDaneRysunkuProfilu& d) {
    m.save();
    m.fillRect(obszar, Qt::white);
    QFont f = m.font();
    f.setPixelSize(12);
    m.setFont(f);
    const QFontMetrics fm = m.fontMetrics();
    if (!d.JestTrasa) {
        m.setPen(Qt::black);
        m.drawText(obszar, Qt::AlignCenter,
                   QStringLiteral("Brak obliczonej trasy: profil i przekrój pokazuje się "
                                  "po wczytaniu pliku z trasą."));
        m.restore();
        return;
    }
    // The chainage's line at the bottom (broken in two where the picture is too narrow for it), the profile above
    // the cross-section.
    QString opis = OpisPikiety(d);
    const int wolne = obszar.width() - 16;
    if (fm.horizontalAdvance(opis) > wolne) {
        // Break at the gap before the fill or cut (or the last gap that fits).
        const QString odstep = QStringLiteral("   ");
        int gdzie = -1;
        for (int i = opis.indexOf(odstep); i >= 0; i = opis.indexOf(odstep, i + 1))
            if (fm.horizontalAdvance(opis.left(i)) <= wolne) gdzie = i;
        if (gdzie > 0) opis = opis.left(gdzie) + QLatin1Char('\n') + opis.mid(gdzie + odstep.size());
    }
    const int wierszy = opis.count(QLatin1Char('\n')) + 1;
    const int dol = fm.height() * wierszy + 10;
    const QRectF reszta(obszar.left(), obszar.top(), obszar.width(), obszar.height() - dol);
    const double podzial = reszta.height() * 0.55;
    RysujProfil(m, QRectF(reszta.left(), reszta.top(), reszta.width(), podzial), d);
    m.setPen(QPen(KolorRamki, 1.0));
    m.drawLine(QPointF(reszta.left(), reszta.top() + podzial), QPointF(reszta.right(), reszta.top() + podzial));
    RysujPrzekroj(m, QRectF(reszta.left(), reszta.top() + podzial, reszta.width(), reszta.height() - podzial), d);
    m.setPen(Qt::black);
    m.drawText(QRectF(obszar.left() + 8, obszar.bottom() - dol + 4, obszar.width() - 16, fm.height() * wierszy),
               Qt::AlignLeft | Qt::AlignVCenter, opis);
    m.restore();
}

QImage ObrazProfilu(const TDaneRysunkuProfilu& d, QSize rozmiar) {
    QImage obraz(rozmiar, QImage::Format_RGB32);
    obraz.fill(Qt::white);
    QPainter m(&obraz);
    RysujProfilIPrzekroj(m, QRect(QPoint(0, 0), rozmiar), d);
    return obraz;
}
