#include "route/OblTrasa.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <string>

#include "route/OblKlotka.h"

namespace {

// Every route message goes to the viewer and to the copy the GUI keeps.
void Komunikat(const std::string& tekst) {
    KomunikatyTrasy.push_back(tekst);
    DopiszDoOpisu(tekst);
}

// Number of vertices that have an element record (the two arrays have the
// same length after a build; a caller that changed the vertices since must
// not make the route operations read past the elements).
int IleElementow() { return static_cast<int>(std::min<std::size_t>(Trasa.Zalomy.size(), Trasa.ElementyTrasy.size())); }

// A double stored in a 32-bit float; values beyond its range become infinite
// instead of undefined.
float DoFloat(double v) {
    if (v > FLT_MAX) return INFINITY;
    if (v < -FLT_MAX) return -INFINITY;
    return static_cast<float>(v);
}

bool Skonczony(TPunkt2D p) { return std::isfinite(p.X) && std::isfinite(p.Y); }

// Chainages of element i from those of element i-1.
void PikietyElementu(int i) {
    const TElementTrasy& pop = Trasa.ElementyTrasy[i - 1];
    TElementTrasy& e = Trasa.ElementyTrasy[i];
    // Straight distance between the vertices; the previous curve releases the
    // leg at its exit tangent length before its vertex.
    const double d = Odleglosc2D(pop.X, pop.Y, e.X, e.Y);
    const double koniec = pop.JestKlotoida ? pop.PikKKP2 - pop.T2 : pop.PikKL - pop.T;
    e.PikW = koniec + d;
    if (e.JestLuk && e.JestKlotoida) {
        e.PikPKP1 = e.PikW - e.T1;
        e.PikKKP1 = e.PikPKP1 + e.Klotoida1.L;
        e.PikPL = e.PikKKP1;
        e.PikKL = e.PikPL + e.DlugoscLuku;
        e.PikPKP2 = e.PikKL;
        e.PikKKP2 = e.PikKL + e.Klotoida2.L;
    } else if (e.JestLuk) {
        e.PikPL = e.PikW - e.T;
        e.PikPKP1 = e.PikKKP1 = e.PikPL;
        e.PikKL = e.PikPL + e.DlugoscLuku;
        e.PikPKP2 = e.PikKKP2 = e.PikKL;
    } else {
        e.PikPKP1 = e.PikKKP1 = e.PikPL = e.PikKL = e.PikPKP2 = e.PikKKP2 = e.PikW;
    }
}

void PunktyWWierzcholku(TElementTrasy& e) { e.PunktPL = e.PunktKL = e.PunktPKP1 = e.PunktKKP2 = TPunkt2D{e.X, e.Y}; }

// Values no computation can work with: a non-finite coordinate, radius or
// clothoid parameter anywhere.
bool SprawdzLiczby() {
    const int n = IleElementow();
    bool ok = true;
    for (int i = 0; i < n; ++i) {
        const TElementTrasy& e = Trasa.ElementyTrasy[i];
        if (!std::isfinite(e.X) || !std::isfinite(e.Y) || !std::isfinite(e.R) || !std::isfinite(e.Klotoida1.A) ||
            !std::isfinite(e.Klotoida2.A)) {
            ok = false;
            Komunikat("Niepoprawna liczba w definicji załomu (X, Y, R, A1 lub A2)! Załom " + std::to_string(i) + ".");
        }
    }
    return ok;
}

// An arc on a vertex that coincides with a neighbour: its leg has no direction.
bool SprawdzDlugosciRamion() {
    const int n = IleElementow();
    bool ok = true;
    for (int i = 1; i + 1 < n; ++i) {
        const TElementTrasy& p = Trasa.ElementyTrasy[i - 1];
        const TElementTrasy& e = Trasa.ElementyTrasy[i];
        const TElementTrasy& s = Trasa.ElementyTrasy[i + 1];
        if (DoFloat(e.R) > 0.01 && (Odleglosc2D(p.X, p.Y, e.X, e.Y) == 0.0 || Odleglosc2D(e.X, e.Y, s.X, s.Y) == 0.0)) {
            ok = false;
            Komunikat("Nie można wpisywać łuku w załomie pokrywającym się z sąsiednim załomem! Załom " +
                      std::to_string(i) + ".");
        }
    }
    return ok;
}

// Whether the geometry and chainages came out as numbers (coordinates near the
// limits of double, or three vertices almost doubling back, can overflow).
bool SprawdzWyniki() {
    const int n = IleElementow();
    for (int i = 0; i < n; ++i) {
        const TElementTrasy& e = Trasa.ElementyTrasy[i];
        bool ok = std::isfinite(e.PikPKP1) && std::isfinite(e.PikKKP1) && std::isfinite(e.PikPL) &&
                  std::isfinite(e.PikKL) && std::isfinite(e.PikPKP2) && std::isfinite(e.PikKKP2) &&
                  Skonczony(e.PunktPKP1) && Skonczony(e.PunktKKP2) && (i == 0 || std::isfinite(e.PikW));
        if (e.JestLuk) {
            ok = ok && Skonczony(e.PunktPL) && Skonczony(e.PunktKL) && Skonczony(e.Srodek) && std::isfinite(e.KatPL) &&
                 std::isfinite(e.KatKL) && std::isfinite(e.T);
        }
        if (e.JestKlotoida) {
            ok = ok && std::isfinite(e.T1) && std::isfinite(e.T2) && std::isfinite(e.KierunekStycznej1) &&
                 std::isfinite(e.KierunekStycznej2Odwr);
        }
        if (i == n - 1) ok = ok && std::isfinite(Trasa.PikMax);
        if (!ok) {
            Komunikat("Nie można obliczyć geometrii trasy! Załom " + std::to_string(i) + ".");
            return false;
        }
    }
    return true;
}

}  // namespace

void ObliczZakresTrasy() {
    const auto& z = Trasa.Zalomy;
    if (z.empty()) return;
    Trasa.Xmax = Trasa.Xmin = z[0].X;
    Trasa.Ymax = Trasa.Ymin = z[0].Y;
    for (std::size_t i = 1; i < z.size(); ++i) {
        if (z[i].X > Trasa.Xmax) Trasa.Xmax = z[i].X;
        if (z[i].Y > Trasa.Ymax) Trasa.Ymax = z[i].Y;
        if (z[i].X < Trasa.Xmin) Trasa.Xmin = z[i].X;
        if (z[i].Y < Trasa.Ymin) Trasa.Ymin = z[i].Y;
    }
}

bool SprawdzTrase() {
    auto& el = Trasa.ElementyTrasy;
    const int n = IleElementow();
    if (Trasa.IleZalomow() < 2 || n < 2) {
        Komunikat("Definicja trasy musi składać się z min 2 punktów!");
        return false;
    }
    bool ok = true;
    if (std::fabs(el[0].R) > 0.011) {
        Komunikat("Nie można wpisywać łuku na początku trasy! Zmieniam R=0!");
        el[0].R = 0.0;
    }
    if (std::fabs(el[n - 1].R) > 0.011) {
        Komunikat("Nie można wpisywać łuku na końcu trasy! Zmieniam R=0! Załom " + std::to_string(n - 1) + ".");
        el[n - 1].R = 0.0;
    }
    for (int i = 1; n > 2 && i <= n - 2; ++i) {
        if (!(el[i].R > 0)) continue;
        const TElementTrasy& p = el[i - 1];
        const TElementTrasy& v = el[i];
        const TElementTrasy& s = el[i + 1];
        bool jednaProsta = false;
        if (std::fabs(p.X - v.X) < 0.011 && std::fabs(v.X - s.X) < 0.011) {
            jednaProsta = true;  // one line parallel to the Y axis
        } else {
            double a1 = 0, b1 = 0, a2 = 0, b2 = 0;
            ProstaPrzezPunkty(v.X, v.Y, p.X, p.Y, a1, b1);
            ProstaPrzezPunkty(s.X, s.Y, v.X, v.Y, a2, b2);
            jednaProsta = std::fabs(a1 - a2) < 0.001;
        }
        if (jednaProsta) {
            ok = false;
            Komunikat(
                "Nie można wpisywać łuku pomiędzy 3 punkty znajdujęce się na jednej prostej! Zmieniam R=0! Załom " +
                std::to_string(i) + ".");
            el[i].R = 0.0;
        }
    }
    return ok;
}

bool SprawdzNakladanie() {
    const auto& el = Trasa.ElementyTrasy;
    const int n = IleElementow();
    bool ok = true;
    // Curves of a file's design may touch (a reverse curve without a straight
    // between them); its coordinates are rounded, so an overlap below 1 mm counts as touching.
    const double odstep = Trasa.GeometriaZPliku ? -0.001 : 0.001;
    for (int i = 1; i < n; ++i) {
        if (el[i - 1].PikKKP2 + odstep > el[i].PikPKP1) {
            ok = false;
            Komunikat(" Załom " + Cp1250NaUtf8(Trasa.Zalomy[i - 1].Nazwa.Widok()) + " poz. " + std::to_string(i) +
                      " oraz  załom " + Cp1250NaUtf8(Trasa.Zalomy[i].Nazwa.Widok()) + " poz. " + std::to_string(i + 1) +
                      " Zachodzą na siebie");
        }
    }
    return ok;
}

TParametryProjektowe ParametryNaPikiecie(double s) {
    if (ParametryProjektowe.empty()) return ParametryBiezace;
    std::size_t wybrany = 0;
    for (std::size_t i = 1; i < ParametryProjektowe.size(); ++i) {
        if (s >= ParametryProjektowe[i].OdPikiety) wybrany = i;
    }
    return ParametryProjektowe[wybrany];
}

void WybierzParametry(double s) {
    if (ParametryProjektowe.empty()) return;
    ParametryBiezace = ParametryNaPikiecie(s);
}

void ObliczElementy() {
    auto& el = Trasa.ElementyTrasy;
    const int n = IleElementow();
    if (n < 1) return;

    TElementTrasy& pierwszy = el[0];
    pierwszy.JestLuk = false;
    pierwszy.JestKlotoida = false;
    pierwszy.T = 0.0;
    pierwszy.T2 = 0.0;
    PunktyWWierzcholku(pierwszy);
    pierwszy.PikPL = pierwszy.PikKL = pierwszy.PikPKP2 = pierwszy.PikKKP2 = Trasa.PikMin;

    for (int i = 1; i + 1 < n; ++i) {
        TElementTrasy& e = el[i];
        e.JestLuk = false;
        e.JestKlotoida = false;
        e.T = 0.0;
        const float R = DoFloat(e.R);
        const float A1 = DoFloat(e.Klotoida1.A);
        const float A2 = DoFloat(e.Klotoida2.A);
        if (R > 0.01) {
            const TElementTrasy& pop = el[i - 1];
            const double d = Odleglosc2D(pop.PunktKKP2.X, pop.PunktKKP2.Y, e.X, e.Y);
            WybierzParametry(pop.PikKKP2 + d);  // about where this curve lies
            const TPunkt2D P{el[i - 1].X, el[i - 1].Y};
            const TPunkt2D V{e.X, e.Y};
            const TPunkt2D N{el[i + 1].X, el[i + 1].Y};
            e = ObliczLuk(P, V, N, R, A1, A2, Trasa.GeometriaZPliku);
            if (!e.JestKlotoida) {
                e.PunktPKP1 = e.PunktPL;
                e.PunktKKP2 = e.PunktKL;
            }
        } else {
            PunktyWWierzcholku(e);
        }
        PikietyElementu(i);
    }

    if (n >= 2) {
        TElementTrasy& ostatni = el[n - 1];
        ostatni.JestLuk = false;
        ostatni.JestKlotoida = false;
        ostatni.T = 0.0;
        PunktyWWierzcholku(ostatni);
    }
}

void ObliczPikiety() {
    auto& el = Trasa.ElementyTrasy;
    const int n = IleElementow();
    if (n < 1) return;
    TElementTrasy& pierwszy = el[0];
    pierwszy.PikPKP1 = pierwszy.PikKKP1 = pierwszy.PikPL = pierwszy.PikKL = pierwszy.PikPKP2 = pierwszy.PikKKP2 =
        Trasa.PikMin;
    pierwszy.T2 = 0.0;
    for (int i = 1; i < n; ++i) PikietyElementu(i);
    Trasa.PikMax = DoFloat(el[n - 1].PikKKP2);
}

void ObliczTrase() {
    OpisTekst.clear();
    KomunikatyTrasy.clear();
    const int n = Trasa.IleZalomow();
    if (n <= 0) {
        Trasa.Obliczona = false;
        return;
    }
    Trasa.ElementyTrasy.resize(n);
    for (int i = 0; i < n; ++i) {
        const TZalom& z = Trasa.Zalomy[i];
        TElementTrasy& e = Trasa.ElementyTrasy[i];
        e.X = z.X;
        e.Y = z.Y;
        e.R = z.R;
        e.Klotoida1.A = z.A1;
        e.Klotoida2.A = z.A2;
    }
    WybierzParametry(0);
    ObliczZakresTrasy();
    if (!SprawdzLiczby() || !SprawdzTrase() || !SprawdzDlugosciRamion()) {
        Trasa.Obliczona = false;
        return;
    }
    ObliczElementy();
    ObliczPikiety();
    if (!SprawdzWyniki()) {
        Trasa.Obliczona = false;
        return;
    }
    Trasa.Obliczona = SprawdzNakladanie();
}

void PunktNaPikiecie(double s, double& x, double& y) { PunktNaPikiecie(Trasa, s, x, y); }

void PunktNaPikiecie(const DaneUstawieniaTrasy& trasa, double s, double& x, double& y) {
    const auto& el = trasa.ElementyTrasy;
    const int n = static_cast<int>(std::min(trasa.Zalomy.size(), trasa.ElementyTrasy.size()));
    if (s <= trasa.PikMin) s = trasa.PikMin + 0.001;
    if (s >= trasa.PikMax) s = trasa.PikMax - 0.001;
    // PikMax is the end chainage held in a float: on a route longer than about
    // 16 km it may lie past the true end by more than 0.001, and the end of
    // the route would then be covered by no element.
    if (n >= 2 && s > el[n - 1].PikKKP2 - 0.001 && el[n - 1].PikKKP2 > trasa.PikMin + 0.001)
        s = el[n - 1].PikKKP2 - 0.001;

    auto naLuku = [&](const TElementTrasy& e, double pocz, double kon) {
        // A zero-length arc (clothoids that use up the whole deflection) is its start point.
        const double t = kon > pocz ? (s - pocz) / (kon - pocz) : 0.0;
        const double psi = e.KatPL + (e.KatKL - e.KatPL) * t;
        const TPunkt2D p = PunktKatowy(e.Srodek, e.R, psi, e.LukWPrawo);
        x = p.X;
        y = p.Y;
    };

    // Curves.
    for (int i = 0; i < n; ++i) {
        const TElementTrasy& e = el[i];
        if (e.JestKlotoida) {
            if (e.PikPKP1 < s && s < e.PikKKP1) {
                const TPunkt2D p = PunktKlotoidy(e.PunktPKP1, e.KierunekStycznej1, e.Klotoida1.A, s - e.PikPKP1,
                                                 e.Klotoida1WPrawo);
                x = p.X;
                y = p.Y;
            } else if (e.PikKKP1 <= s && s <= e.PikPKP2) {
                naLuku(e, e.PikKKP1, e.PikPKP2);
            } else if (e.PikPKP2 < s && s < e.PikKKP2) {
                // The leaving clothoid is run backwards from its end.
                const TPunkt2D p = PunktKlotoidy(e.PunktKKP2, e.KierunekStycznej2Odwr, e.Klotoida2.A,
                                                 e.Klotoida2.L - (s - e.PikPKP2), e.Klotoida2WPrawo);
                x = p.X;
                y = p.Y;
            }
        } else if (e.JestLuk) {
            if (e.PikPL < s && s < e.PikKL) naLuku(e, e.PikPL, e.PikKL);
        }
    }
    // Straights, ends included: they give the joints with the curves.
    for (int i = 1; i < n; ++i) {
        const TElementTrasy& a = el[i - 1];
        const TElementTrasy& b = el[i];
        if (a.PikKKP2 <= s && s <= b.PikPKP1) {
            const double dl = b.PikPKP1 - a.PikKKP2;
            const double t = dl > 0 ? (s - a.PikKKP2) / dl : 0.0;
            x = a.PunktKKP2.X + (b.PunktPKP1.X - a.PunktKKP2.X) * t;
            y = a.PunktKKP2.Y + (b.PunktPKP1.Y - a.PunktKKP2.Y) * t;
        }
    }
}

double KatNaPikiecie(double s) { return KatNaPikiecie(Trasa, s); }

double KatNaPikiecie(const DaneUstawieniaTrasy& trasa, double s) {
    // The chainages the lookup answers for: 0.001 inside the ends (and inside the last element's end, which a
    // float PikMax may overshoot).
    const auto& el = trasa.ElementyTrasy;
    const double lo = trasa.PikMin + 0.001;
    double hi = trasa.PikMax - 0.001;
    if (!el.empty() && el.back().PikKKP2 - 0.001 < hi && el.back().PikKKP2 > trasa.PikMin + 0.001)
        hi = el.back().PikKKP2 - 0.001;
    s = std::clamp(s, lo, std::max(lo, hi));
    auto kat = [&trasa](double a, double b) {
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        PunktNaPikiecie(trasa, a, x1, y1);
        PunktNaPikiecie(trasa, b, x2, y2);
        return KatWektora(x2 - x1, y2 - y1);
    };
    // A chord's bearing is the tangent's at the chord's middle, exactly on straights and arcs (nearly so on
    // clothoids): the chord from s - h to s + h. Where s lies closer than h to an end, two chords on the inner side,
    // extrapolated to s: the bearing grows linearly along an arc, so the step between them carries on to s.
    constexpr double h = 0.03, Pi2 = 6.283185307179586;
    auto wPrzedziale = [](double k) { return k < 0.0 ? k + Pi2 : (k >= Pi2 ? k - Pi2 : k); };
    auto roznica = [](double a, double b) {  // a - b in (-pi, pi]
        double d = std::fmod(a - b, Pi2);
        if (d > Pi2 / 2) d -= Pi2;
        if (d <= -Pi2 / 2) d += Pi2;
        return d;
    };
    if (hi - lo < 2 * h) return kat(lo, std::max(lo, hi));
    if (s - h >= lo && s + h <= hi) return kat(s - h, s + h);
    if (s + h > hi) {
        const double k1 = kat(s - 2 * h, s - h), k2 = kat(s - h, s);
        return wPrzedziale(k2 + 0.5 * roznica(k2, k1));
    }
    const double k1 = kat(s, s + h), k2 = kat(s + h, s + 2 * h);
    return wPrzedziale(k1 - 0.5 * roznica(k2, k1));
}
