#include "route/OblTrasa.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <string>

#include "route/OblKlotka.h"

namespace {

// One build in progress: the vertices and parameters it reads, the elements
// and messages it makes. Nothing outside it is read or changed.
struct TBudowa {
    const std::vector<TZalom>& Zalomy;
    const std::vector<TParametryProjektowe>& Parametry;
    bool ZPliku = false;
    std::vector<TElementTrasy> El;
    std::vector<std::string> Komunikaty;
    float PikMin = 0.0f, PikMax = 0.0f;

    void Komunikat(std::string tekst) { Komunikaty.push_back(std::move(tekst)); }
    int IleElementow() const { return static_cast<int>(std::min(Zalomy.size(), El.size())); }
};

// A double stored in a 32-bit float; values beyond its range become infinite
// instead of undefined.
float DoFloat(double v) {
    if (v > FLT_MAX) return INFINITY;
    if (v < -FLT_MAX) return -INFINITY;
    return static_cast<float>(v);
}

bool Skonczony(TPunkt2D p) { return std::isfinite(p.X) && std::isfinite(p.Y); }

// Chainages of element i from those of element i-1.
void PikietyElementu(std::vector<TElementTrasy>& el, int i) {
    const TElementTrasy& pop = el[i - 1];
    TElementTrasy& e = el[i];
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
bool SprawdzLiczby(TBudowa& b) {
    const int n = b.IleElementow();
    bool ok = true;
    for (int i = 0; i < n; ++i) {
        const TElementTrasy& e = b.El[i];
        if (!std::isfinite(e.X) || !std::isfinite(e.Y) || !std::isfinite(e.R) || !std::isfinite(e.Klotoida1.A) ||
            !std::isfinite(e.Klotoida2.A)) {
            ok = false;
            b.Komunikat("Niepoprawna liczba w definicji załomu (X, Y, R, A1 lub A2)! Załom " + std::to_string(i) + ".");
        }
    }
    return ok;
}

// An arc on a vertex that coincides with a neighbour: its leg has no direction.
bool SprawdzDlugosciRamion(TBudowa& b) {
    const int n = b.IleElementow();
    bool ok = true;
    for (int i = 1; i + 1 < n; ++i) {
        const TElementTrasy& p = b.El[i - 1];
        const TElementTrasy& e = b.El[i];
        const TElementTrasy& s = b.El[i + 1];
        if (DoFloat(e.R) > 0.01 && (Odleglosc2D(p.X, p.Y, e.X, e.Y) == 0.0 || Odleglosc2D(e.X, e.Y, s.X, s.Y) == 0.0)) {
            ok = false;
            b.Komunikat("Nie można wpisywać łuku w załomie pokrywającym się z sąsiednim załomem! Załom " +
                        std::to_string(i) + ".");
        }
    }
    return ok;
}

// Whether the geometry and chainages came out as numbers (coordinates near the
// limits of double, or three vertices almost doubling back, can overflow).
bool SprawdzWyniki(TBudowa& b) {
    const int n = b.IleElementow();
    for (int i = 0; i < n; ++i) {
        const TElementTrasy& e = b.El[i];
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
        if (i == n - 1) ok = ok && std::isfinite(b.PikMax);
        if (!ok) {
            b.Komunikat("Nie można obliczyć geometrii trasy! Załom " + std::to_string(i) + ".");
            return false;
        }
    }
    return true;
}

// Definition check on the element array just copied from the vertices: at
// least two vertices, no arc on the first or last vertex (dropped with a
// notice), no arc between three points of one line. May set element radii to 0.
bool SprawdzDefinicje(TBudowa& b) {
    auto& el = b.El;
    const int n = b.IleElementow();
    if (b.Zalomy.size() < 2 || n < 2) {
        b.Komunikat("Definicja trasy musi składać się z min 2 punktów!");
        return false;
    }
    bool ok = true;
    if (std::fabs(el[0].R) > 0.011) {
        b.Komunikat("Nie można wpisywać łuku na początku trasy! Zmieniam R=0!");
        el[0].R = 0.0;
    }
    if (std::fabs(el[n - 1].R) > 0.011) {
        b.Komunikat("Nie można wpisywać łuku na końcu trasy! Zmieniam R=0! Załom " + std::to_string(n - 1) + ".");
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
            b.Komunikat(
                "Nie można wpisywać łuku pomiędzy 3 punkty znajdujęce się na jednej prostej! Zmieniam R=0! Załom " +
                std::to_string(i) + ".");
            el[i].R = 0.0;
        }
    }
    return ok;
}

// Overlap check after the chainages: every curve ends at least 0.001 before
// the next one starts.
bool SprawdzNakladanie(TBudowa& b) {
    const auto& el = b.El;
    const int n = b.IleElementow();
    bool ok = true;
    // Curves of a file's design may touch (a reverse curve without a straight
    // between them); its coordinates are rounded, so an overlap below 1 mm counts as touching.
    const double odstep = b.ZPliku ? -0.001 : 0.001;
    for (int i = 1; i < n; ++i) {
        if (el[i - 1].PikKKP2 + odstep > el[i].PikPKP1) {
            ok = false;
            b.Komunikat(" Załom " + Cp1250NaUtf8(b.Zalomy[i - 1].Nazwa.Widok()) + " poz. " + std::to_string(i) +
                        " oraz  załom " + Cp1250NaUtf8(b.Zalomy[i].Nazwa.Widok()) + " poz. " + std::to_string(i + 1) +
                        " Zachodzą na siebie");
        }
    }
    return ok;
}

// Geometry pass: every vertex's curve, each with the design parameter row
// that applies about where it lies, and the chainages along the way.
void ObliczElementy(TBudowa& b) {
    auto& el = b.El;
    const int n = b.IleElementow();
    if (n < 1) return;

    TElementTrasy& pierwszy = el[0];
    pierwszy.JestLuk = false;
    pierwszy.JestKlotoida = false;
    pierwszy.T = 0.0;
    pierwszy.T2 = 0.0;
    PunktyWWierzcholku(pierwszy);
    pierwszy.PikPL = pierwszy.PikKL = pierwszy.PikPKP2 = pierwszy.PikKKP2 = b.PikMin;

    // The row in force: the first, then each later one whose chainage a curve
    // has reached. A row chosen stays in force when the table is empty.
    TParametryProjektowe wybrane = ParametryNaPikiecie(b.Parametry, 0);
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
            if (!b.Parametry.empty()) wybrane = ParametryNaPikiecie(b.Parametry, pop.PikKKP2 + d);  // about here
            const TPunkt2D P{el[i - 1].X, el[i - 1].Y};
            const TPunkt2D V{e.X, e.Y};
            const TPunkt2D N{el[i + 1].X, el[i + 1].Y};
            e = ObliczLuk(P, V, N, R, A1, A2, b.ZPliku ? nullptr : &wybrane);
            if (!e.JestKlotoida) {
                e.PunktPKP1 = e.PunktPL;
                e.PunktKKP2 = e.PunktKL;
            }
        } else {
            PunktyWWierzcholku(e);
        }
        PikietyElementu(el, i);
    }

    if (n >= 2) {
        TElementTrasy& ostatni = el[n - 1];
        ostatni.JestLuk = false;
        ostatni.JestKlotoida = false;
        ostatni.T = 0.0;
        PunktyWWierzcholku(ostatni);
    }
}

// Chainage pass over the whole route.
void ObliczPikiety(TBudowa& b) {
    auto& el = b.El;
    const int n = b.IleElementow();
    if (n < 1) return;
    TElementTrasy& pierwszy = el[0];
    pierwszy.PikPKP1 = pierwszy.PikKKP1 = pierwszy.PikPL = pierwszy.PikKL = pierwszy.PikPKP2 = pierwszy.PikKKP2 =
        b.PikMin;
    pierwszy.T2 = 0.0;
    for (int i = 1; i < n; ++i) PikietyElementu(el, i);
    b.PikMax = DoFloat(el[n - 1].PikKKP2);
}

}  // namespace

TZakresTrasy ZakresTrasy(const std::vector<TZalom>& z) {
    TZakresTrasy w;
    if (z.empty()) return w;
    w.Xmax = w.Xmin = z[0].X;
    w.Ymax = w.Ymin = z[0].Y;
    for (std::size_t i = 1; i < z.size(); ++i) {
        if (z[i].X > w.Xmax) w.Xmax = z[i].X;
        if (z[i].Y > w.Ymax) w.Ymax = z[i].Y;
        if (z[i].X < w.Xmin) w.Xmin = z[i].X;
        if (z[i].Y < w.Ymin) w.Ymin = z[i].Y;
    }
    w.Jest = true;
    return w;
}

void ObliczZakresTrasy(DaneUstawieniaTrasy& trasa) {
    const TZakresTrasy z = ZakresTrasy(trasa.Zalomy);
    if (!z.Jest) return;
    trasa.Xmax = z.Xmax, trasa.Ymax = z.Ymax, trasa.Xmin = z.Xmin, trasa.Ymin = z.Ymin;
}

void ObliczZakresTrasy() { ObliczZakresTrasy(Trasa); }

TParametryProjektowe ParametryNaPikiecie(const std::vector<TParametryProjektowe>& tabela, double s) {
    if (tabela.empty()) return ParametryDomyslne;
    std::size_t wybrany = 0;
    for (std::size_t i = 1; i < tabela.size(); ++i) {
        if (s >= tabela[i].OdPikiety) wybrany = i;
    }
    return tabela[wybrany];
}

TTrasaZbudowana ZbudujTrase(const std::vector<TZalom>& zalomy, const std::vector<TParametryProjektowe>& parametry,
                            bool geometriaZPliku, float pikMin) {
    TBudowa b{zalomy, parametry, geometriaZPliku, {}, {}, pikMin, 0.0f};
    TTrasaZbudowana w;
    const int n = static_cast<int>(zalomy.size());
    if (n > 0) {
        b.El.resize(n);
        for (int i = 0; i < n; ++i) {
            const TZalom& z = zalomy[i];
            TElementTrasy& e = b.El[i];
            e.X = z.X;
            e.Y = z.Y;
            e.R = z.R;
            e.Klotoida1.A = z.A1;
            e.Klotoida2.A = z.A2;
        }
        if (SprawdzLiczby(b) && SprawdzDefinicje(b) && SprawdzDlugosciRamion(b)) {
            ObliczElementy(b);
            ObliczPikiety(b);
            if (SprawdzWyniki(b)) w.Obliczona = SprawdzNakladanie(b);
        }
    }
    w.Elementy = std::move(b.El);
    w.Komunikaty = std::move(b.Komunikaty);
    w.PikMax = b.PikMax;
    return w;
}

std::vector<std::string> ObliczTrase(DaneUstawieniaTrasy& trasa, const std::vector<TParametryProjektowe>& parametry) {
    TTrasaZbudowana z = ZbudujTrase(trasa.Zalomy, parametry, trasa.GeometriaZPliku, trasa.PikMin);
    ObliczZakresTrasy(trasa);
    if (!trasa.Zalomy.empty()) {
        // A failed build keeps what it got to (the report and the tests read it); the route is not usable.
        trasa.ElementyTrasy = std::move(z.Elementy);
        trasa.PikMax = z.PikMax;
    }
    trasa.Obliczona = z.Obliczona;
    return std::move(z.Komunikaty);
}

void ObliczTrase() { KomunikatyTrasy = ObliczTrase(Trasa, ParametryProjektowe); }

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
