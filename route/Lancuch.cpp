#include "route/Lancuch.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <numbers>

#include "common/Funkcje.h"
#include "route/OblKlotka.h"

namespace {

constexpr double pi = std::numbers::pi;

// Nodes and weights of the 8-point Gauss–Legendre rule on [-1, 1] (symmetric halves).
constexpr double kWezly[4] = {0.1834346424956498, 0.5255324099163290, 0.7966664774136267, 0.9602898564975363};
constexpr double kWagi[4] = {0.3626837833783620, 0.3137066458778873, 0.2223810344533745, 0.1012285362903763};

double Kierunek(const TElementOsi& e, double u) {
    if (e.Rodzaj == TRodzajOsi::Prosta) return e.Kierunek;
    if (e.Rodzaj == TRodzajOsi::Luk) return e.Kierunek + e.K1 * u;
    const double dk = e.Dlugosc > 0 ? (e.K2 - e.K1) / e.Dlugosc : 0.0;
    return e.Kierunek + e.K1 * u + 0.5 * dk * u * u;
}

// The clothoid's point at u: the integral of its direction, in panels short
// enough that the direction turns by at most 0.25 rad in each, where the
// 8-point rule is exact far below a micrometre.
TPunkt2D PunktKlotoidyZKrzywizny(const TElementOsi& e, double u) {
    if (!(u > 0)) return e.Poczatek;
    const double obrot = std::fabs(e.K1) * u + 0.5 * std::fabs(e.K2 - e.K1) / std::max(e.Dlugosc, 1e-300) * u * u;
    const int panele = static_cast<int>(std::clamp(std::ceil(obrot / 0.25), 1.0, 20000.0));
    const double h = u / panele;
    double x = 0, y = 0;
    for (int p = 0; p < panele; ++p) {
        const double srodek = (p + 0.5) * h;
        for (int i = 0; i < 4; ++i) {
            for (double znak : {-1.0, 1.0}) {
                const double t = Kierunek(e, srodek + znak * kWezly[i] * 0.5 * h);
                x += kWagi[i] * std::cos(t);
                y += kWagi[i] * std::sin(t);
            }
        }
    }
    return {e.Poczatek.X + x * 0.5 * h, e.Poczatek.Y + y * 0.5 * h};
}

double Normuj(double kat) {
    double k = std::fmod(kat, 2 * pi);
    if (k < 0) k += 2 * pi;
    if (k >= 2 * pi) k = 0.0;
    return k;
}

std::string Liczba(double v, int miejsca) {
    char b[64];
    std::snprintf(b, sizeof b, "%.*f", miejsca, v);
    return b;
}

}  // namespace

const char* NazwaRodzaju(TRodzajOsi r) {
    switch (r) {
        case TRodzajOsi::Prosta: return "Line";
        case TRodzajOsi::Luk: return "Curve";
        case TRodzajOsi::Klotoida: return "Spiral";
    }
    return "?";
}

std::string OpisElementu(const TElementOsi& e) {
    std::string s = "element nr " + std::to_string(e.Nr) + " (" + NazwaRodzaju(e.Rodzaj);
    if (e.Wiersz > 0) s += ", wiersz " + std::to_string(e.Wiersz);
    return s + ")";
}

void UzupelnijElement(TElementOsi& e) {
    e.Szereg = false;
    if (e.Rodzaj == TRodzajOsi::Prosta) {
        e.K1 = e.K2 = 0.0;
        e.Koniec = {e.Poczatek.X + e.Dlugosc * std::cos(e.Kierunek), e.Poczatek.Y + e.Dlugosc * std::sin(e.Kierunek)};
    } else if (e.Rodzaj == TRodzajOsi::Luk) {
        e.K2 = e.K1;
        e.WPrawo = e.K1 < 0;
        e.R = 1.0 / std::fabs(e.K1);
        // The centre lies at R on the inner side; the radial angle (from +Y,
        // clockwise on a right turn) grows by the arc's angle.
        const double strona = e.WPrawo ? -1.0 : 1.0;
        e.Srodek = {e.Poczatek.X - strona * e.R * std::sin(e.Kierunek),
                    e.Poczatek.Y + strona * e.R * std::cos(e.Kierunek)};
        e.Psi0 = e.WPrawo ? -e.Kierunek : e.Kierunek + pi;
        e.Psi1 = e.Psi0 + e.Dlugosc / e.R;
    }
}

double KrzywiznaElementu(const TElementOsi& e, double u) {
    if (e.Rodzaj != TRodzajOsi::Klotoida || !(e.Dlugosc > 0)) return e.K1;
    return e.K1 + (e.K2 - e.K1) * std::clamp(u / e.Dlugosc, 0.0, 1.0);
}

double KierunekElementu(const TElementOsi& e, double u) { return Normuj(Kierunek(e, std::clamp(u, 0.0, e.Dlugosc))); }

TPunkt2D PunktElementu(const TElementOsi& e, double u) {
    switch (e.Rodzaj) {
        case TRodzajOsi::Prosta: {
            const double t = e.Dlugosc > 0 ? u / e.Dlugosc : 0.0;
            return {e.Poczatek.X + (e.Koniec.X - e.Poczatek.X) * t, e.Poczatek.Y + (e.Koniec.Y - e.Poczatek.Y) * t};
        }
        case TRodzajOsi::Luk: {
            // A zero-length arc (transitions that use up the whole deflection) is its start point.
            const double t = e.Dlugosc > 0 ? u / e.Dlugosc : 0.0;
            return PunktKatowy(e.Srodek, e.R, e.Psi0 + (e.Psi1 - e.Psi0) * t, e.WPrawo);
        }
        case TRodzajOsi::Klotoida:
            if (e.Szereg)
                return PunktKlotoidy(e.SzeregPunkt, e.SzeregKierunek, e.SzeregA, e.SzeregOdKonca ? e.SzeregL - u : u,
                                     e.SzeregWPrawo);
            return PunktKlotoidyZKrzywizny(e, u);
    }
    return e.Poczatek;
}

int ElementNaPikiecie(const TLancuch& l, double s) {
    const auto& el = l.Elementy;
    if (el.empty()) return -1;
    s = std::clamp(s, 0.0, l.Dlugosc());
    // Starts grow along the chain (a chain of the program's own route may step
    // back by a rounding where two curves touch): the candidates lie between
    // the last element starting a metre after s and the first ending a metre before it.
    const auto za = std::upper_bound(el.begin(), el.end(), s + 1.0,
                                     [](double v, const TElementOsi& e) { return v < e.Pik; });
    int wybrany = -1;
    int priorytet = -1;
    for (auto it = za; it != el.begin();) {
        --it;
        if (it->PikKonca() < s - 1.0 && it->Pik < s - 1.0) break;
        if (!(it->Pik <= s && s <= it->PikKonca())) continue;
        // At a junction a line wins over an arc and an arc over a clothoid,
        // and of two of one kind the later one (the build's order of lookup).
        const int p = it->Rodzaj == TRodzajOsi::Prosta ? 2 : it->Rodzaj == TRodzajOsi::Luk ? 1 : 0;
        if (p > priorytet) {
            priorytet = p;
            wybrany = static_cast<int>(it - el.begin());
        }
    }
    if (wybrany < 0) {
        // Past a gap of rounding: the nearest element.
        double najblizej = std::numeric_limits<double>::infinity();
        for (std::size_t i = 0; i < el.size(); ++i) {
            const double d = std::max(el[i].Pik - s, s - el[i].PikKonca());
            if (d < najblizej) {
                najblizej = d;
                wybrany = static_cast<int>(i);
            }
        }
    }
    return wybrany;
}

TPunkt2D PunktLancucha(const TLancuch& l, double s) {
    const int i = ElementNaPikiecie(l, s);
    if (i < 0) return {};
    const TElementOsi& e = l.Elementy[i];
    // Not clamped to the element: at its end chainage the build's lookup runs a hair past it too.
    return PunktElementu(e, std::clamp(s, 0.0, l.Dlugosc()) - e.Pik);
}

double KierunekLancucha(const TLancuch& l, double s) {
    const int i = ElementNaPikiecie(l, s);
    if (i < 0) return 0.0;
    const TElementOsi& e = l.Elementy[i];
    return KierunekElementu(e, std::clamp(s, 0.0, l.Dlugosc()) - e.Pik);
}

std::vector<TStacja> TabelaStacji(const TLancuch& l, const std::vector<double>& pikiety) {
    std::vector<TStacja> w;
    w.reserve(pikiety.size());
    for (double s : pikiety) {
        const TPunkt2D p = PunktLancucha(l, s);
        w.push_back({l.PikStart + s, p.X, p.Y, KierunekLancucha(l, s)});
    }
    return w;
}

std::vector<double> PikietyZaokraglone(double pikStart, double dlugosc, double krok) {
    std::vector<double> w;
    if (!(krok > 0) || !std::isfinite(krok) || !std::isfinite(pikStart) || !std::isfinite(dlugosc) || dlugosc < 0)
        return w;
    w.push_back(0.0);
    // Multiples of krok of the displayed chainage, computed (not summed) so
    // that they do not drift; a multiple within a micrometre of the start or the end is that end.
    const double koniec = pikStart + dlugosc;
    for (double m = std::floor(pikStart / krok) + 1;; m += 1) {
        const double wyswietlana = m * krok;
        if (!(wyswietlana < koniec - 1e-6)) break;
        if (wyswietlana <= pikStart + 1e-6) continue;
        w.push_back(wyswietlana - pikStart);
    }
    if (dlugosc > 1e-6) w.push_back(dlugosc);
    return w;
}

std::vector<double> PikietyWzdluz(const TLancuch& l, double krok, double najwiecejOdcinkow) {
    std::vector<double> w;
    double dlugosc = 0.0;
    for (const TElementOsi& e : l.Elementy) dlugosc += e.Dlugosc;
    if (!(krok > 0.0) || !std::isfinite(dlugosc) || !(najwiecejOdcinkow >= 1.0)) return w;
    krok = std::max(krok, dlugosc / najwiecejOdcinkow);
    for (const TElementOsi& e : l.Elementy) {
        const double n = std::max(1.0, std::ceil(e.Dlugosc / krok));
        for (double k = 0; k <= n; k += 1) w.push_back(e.Pik + (e.PikK - e.Pik) * (k / n));
    }
    std::sort(w.begin(), w.end());
    w.erase(std::unique(w.begin(), w.end(), [](double a, double b) { return b - a < 1e-6; }), w.end());
    return w;
}

TRzutNaLancuch NajblizszaPikieta(const TLancuch& l, TPunkt2D p) {
    TRzutNaLancuch najlepszy;
    double najblizej = std::numeric_limits<double>::infinity();
    auto odl2 = [&](const TElementOsi& e, double u) {
        const TPunkt2D q = PunktElementu(e, u);
        return (q.X - p.X) * (q.X - p.X) + (q.Y - p.Y) * (q.Y - p.Y);
    };
    for (const TElementOsi& e : l.Elementy) {
        if (!(e.Dlugosc > 0)) continue;
        double u = 0;
        if (e.Rodzaj == TRodzajOsi::Prosta) {
            const double c = std::cos(e.Kierunek), s = std::sin(e.Kierunek);
            u = std::clamp((p.X - e.Poczatek.X) * c + (p.Y - e.Poczatek.Y) * s, 0.0, e.Dlugosc);
        } else {
            // Sample the element, then narrow the best sample's neighbourhood
            // by golden sections (the distance has one minimum between samples
            // a fraction of a radian of turning apart).
            const double obrot = std::fabs(Kierunek(e, e.Dlugosc) - e.Kierunek) +
                                 std::max(std::fabs(e.K1), std::fabs(e.K2)) * e.Dlugosc;
            const int n = static_cast<int>(std::clamp(std::ceil(obrot / 0.05), 16.0, 4000.0));
            int naj = 0;
            double najD = odl2(e, 0);
            for (int i = 1; i <= n; ++i) {
                const double d = odl2(e, e.Dlugosc * i / n);
                if (d < najD) najD = d, naj = i;
            }
            double a = e.Dlugosc * std::max(naj - 1, 0) / n, b = e.Dlugosc * std::min(naj + 1, n) / n;
            const double g = (std::sqrt(5.0) - 1) / 2;
            double x1 = b - g * (b - a), x2 = a + g * (b - a);
            double f1 = odl2(e, x1), f2 = odl2(e, x2);
            for (int k = 0; k < 60 && b - a > 1e-6; ++k) {
                if (f1 < f2) {
                    b = x2, x2 = x1, f2 = f1, x1 = b - g * (b - a), f1 = odl2(e, x1);
                } else {
                    a = x1, x1 = x2, f1 = f2, x2 = a + g * (b - a), f2 = odl2(e, x2);
                }
            }
            u = 0.5 * (a + b);
            // The squared distance is flat at its minimum (and noisy on national-grid coordinates): finish
            // with Newton's steps on the foot's condition (q(u) - p) . t(u) = 0, whose error is linear.
            for (int k = 0; k < 4; ++k) {
                const TPunkt2D q = PunktElementu(e, u);
                const double t = Kierunek(e, u), c = std::cos(t), sn = std::sin(t);
                const double g = (q.X - p.X) * c + (q.Y - p.Y) * sn;
                const double dg = 1 + KrzywiznaElementu(e, u) * (-(q.X - p.X) * sn + (q.Y - p.Y) * c);
                if (!(dg > 0.1)) break;
                u = std::clamp(u - g / dg, 0.0, e.Dlugosc);
            }
        }
        const double d = odl2(e, u);
        if (d < najblizej) {
            najblizej = d;
            const TPunkt2D q = PunktElementu(e, u);
            const double t = Kierunek(e, u);
            // Right of the direction of travel is positive.
            najlepszy = {e.Pik + u, (p.X - q.X) * std::sin(t) - (p.Y - q.Y) * std::cos(t)};
        }
    }
    return najlepszy;
}

TLancuch ZlozLancuch(std::string nazwa, double pikStart, std::vector<TElementOsi> elementy, int* wierszBledu) {
    TLancuch l;
    l.Nazwa = std::move(nazwa);
    l.PikStart = pikStart;
    if (elementy.empty()) throw BladKonwersji("geometria nie ma elementów.");
    double pik = 0.0;
    for (std::size_t i = 0; i < elementy.size(); ++i) {
        TElementOsi& e = elementy[i];
        if (wierszBledu) *wierszBledu = e.Wiersz;  // every refusal below names this element
        if (!(e.Dlugosc > 0) || !std::isfinite(e.Dlugosc))
            throw BladKonwersji(OpisElementu(e) + " nie ma dodatniej długości.");
        if (!std::isfinite(e.K1) || !std::isfinite(e.K2) || !std::isfinite(e.Kierunek) ||
            !std::isfinite(e.Poczatek.X) || !std::isfinite(e.Poczatek.Y))
            throw BladKonwersji(OpisElementu(e) + " ma niepoprawną liczbę w swojej geometrii.");
        if (e.Rodzaj == TRodzajOsi::Luk && e.K1 == 0.0)
            throw BladKonwersji(OpisElementu(e) + " jest łukiem bez promienia.");
        UzupelnijElement(e);
        e.Pik = pik;
        e.PikK = pik + e.Dlugosc;
        if (i > 0) {
            const TElementOsi& p = elementy[i - 1];
            const TPunkt2D k = PunktElementu(p, p.Dlugosc);
            const double odstep = std::hypot(e.Poczatek.X - k.X, e.Poczatek.Y - k.Y);
            const double kat = std::remainder(e.Kierunek - Kierunek(p, p.Dlugosc), 2 * pi);
            const bool dwieProste = p.Rodzaj == TRodzajOsi::Prosta && e.Rodzaj == TRodzajOsi::Prosta;
            if (odstep > MaxOdstepLancucha)
                throw BladKonwersji(OpisElementu(e) + " nie zaczyna się w końcu poprzedniego elementu (" +
                                    OpisElementu(p) + "): odstęp " + Liczba(odstep * 1000, 1) +
                                    " mm, dopuszczalny 1 mm.");
            if (std::fabs(kat) > MaxZalamanieLancucha && !dwieProste)
                throw BladKonwersji(OpisElementu(e) + " zaczyna się pod kątem " + Liczba(std::fabs(kat) * 180 / pi, 3) +
                                    "° do kierunku na końcu poprzedniego elementu (" + OpisElementu(p) +
                                    "); dopuszczalne jest 0.05°.");
            // Below these the junction is exact to the file's digits and is not listed.
            if (odstep >= 1e-4 || std::fabs(kat) >= 1e-5)
                l.Zalamania.push_back({pik, kat, odstep, e.Nr, std::fabs(kat) > MaxZalamanieLancucha});
        }
        pik += e.Dlugosc;
    }
    l.Elementy = std::move(elementy);
    return l;
}

TLancuch LancuchZTrasy(const DaneUstawieniaTrasy& trasa) {
    TLancuch l;
    l.PikStart = trasa.PikStart;
    const auto& el = trasa.ElementyTrasy;
    const int n = static_cast<int>(std::min(trasa.Zalomy.size(), el.size()));
    if (!trasa.Obliczona || n < 2) return l;

    auto prosta = [&](TPunkt2D a, TPunkt2D b, double pik0, double pik1) {
        TElementOsi e;
        e.Rodzaj = TRodzajOsi::Prosta;
        e.Poczatek = a;
        e.Koniec = b;
        e.Kierunek = KatWektora(b.X - a.X, b.Y - a.Y);
        e.Pik = pik0;
        e.PikK = pik1;
        e.Dlugosc = pik1 - pik0;
        l.Elementy.push_back(e);
    };
    auto luk = [&](const TElementTrasy& v, double pik0, double pik1) {
        TElementOsi e;
        e.Rodzaj = TRodzajOsi::Luk;
        e.Srodek = v.Srodek;
        e.R = v.R;
        e.Psi0 = v.KatPL;
        e.Psi1 = v.KatKL;
        e.WPrawo = v.LukWPrawo;
        e.K1 = e.K2 = (v.LukWPrawo ? -1.0 : 1.0) / v.R;
        e.Poczatek = PunktKatowy(v.Srodek, v.R, v.KatPL, v.LukWPrawo);
        e.Kierunek = Normuj(v.LukWPrawo ? -v.KatPL : v.KatPL - pi);
        e.Pik = pik0;
        e.PikK = pik1;
        e.Dlugosc = pik1 - pik0;
        l.Elementy.push_back(e);
    };
    for (int i = 1; i < n; ++i) {
        const TElementTrasy& a = el[i - 1];
        const TElementTrasy& v = el[i];
        prosta(a.PunktKKP2, v.PunktPKP1, a.PikKKP2, v.PikPKP1);
        if (!v.JestLuk) continue;
        const double k = (v.LukWPrawo ? -1.0 : 1.0) / v.R;
        if (v.JestKlotoida) {
            TElementOsi w;
            w.Rodzaj = TRodzajOsi::Klotoida;
            w.Poczatek = v.PunktPKP1;
            w.Kierunek = v.KierunekStycznej1;
            w.K1 = 0.0;
            w.K2 = k;
            w.Pik = v.PikPKP1;
            w.PikK = v.PikKKP1;
            w.Dlugosc = v.PikKKP1 - v.PikPKP1;
            w.Szereg = true;
            w.SzeregA = v.Klotoida1.A;
            w.SzeregL = v.Klotoida1.L;
            w.SzeregPunkt = v.PunktPKP1;
            w.SzeregKierunek = v.KierunekStycznej1;
            w.SzeregWPrawo = v.Klotoida1WPrawo;
            l.Elementy.push_back(w);
            luk(v, v.PikKKP1, v.PikPKP2);
            TElementOsi z = w;
            z.K1 = k;
            z.K2 = 0.0;
            z.Pik = v.PikPKP2;
            z.PikK = v.PikKKP2;
            z.Dlugosc = v.PikKKP2 - v.PikPKP2;
            // The build runs the leaving transition backwards from its end with
            // its own parameter, so its start and direction are the arc's end.
            z.Poczatek = PunktKatowy(v.Srodek, v.R, v.KatKL, v.LukWPrawo);
            z.Kierunek = Normuj(v.LukWPrawo ? -v.KatKL : v.KatKL - pi);
            z.SzeregOdKonca = true;
            z.SzeregA = v.Klotoida2.A;
            z.SzeregL = v.Klotoida2.L;
            z.SzeregPunkt = v.PunktKKP2;
            z.SzeregKierunek = v.KierunekStycznej2Odwr;
            z.SzeregWPrawo = v.Klotoida2WPrawo;
            l.Elementy.push_back(z);
        } else {
            luk(v, v.PikPL, v.PikKL);
        }
    }
    for (std::size_t i = 0; i < l.Elementy.size(); ++i) l.Elementy[i].Nr = static_cast<int>(i) + 1;
    return l;
}

std::vector<std::string> OpisLancucha(const TLancuch& l) {
    int ile[3] = {0, 0, 0};
    for (const TElementOsi& e : l.Elementy) ++ile[static_cast<int>(e.Rodzaj)];
    std::vector<std::string> w;
    w.push_back("Trasa „" + l.Nazwa + "”: pikieta początkowa " + Liczba(l.PikStart, 3) + ", długość " +
                Liczba(l.Dlugosc(), 3) + " m, elementy: " + std::to_string(ile[0]) + " prostych, " +
                std::to_string(ile[1]) + " łuków, " + std::to_string(ile[2]) +
                " klotoid; przyjęte załamania: " + std::to_string(l.Zalamania.size()) + ".");
    for (const TZalamanie& z : l.Zalamania) {
        std::string s = "  pikieta " + Liczba(l.PikStart + z.Pik, 3) + ", element nr " + std::to_string(z.Nr) + ": " +
                        (z.Wierzcholek ? "wierzchołek bez łuku, " : "") + "załamanie " +
                        Liczba(std::fabs(z.Kat) * 180 / pi, 4) + "°, odstęp " + Liczba(z.Odstep * 1000, 2) + " mm";
        w.push_back(s);
    }
    return w;
}
