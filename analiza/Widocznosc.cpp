#include "analiza/Widocznosc.h"

#include "common/Rownolegle.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <set>
#include <thread>

#include "analiza/OkoKierowcy.h"
#include "analiza/Profil.h"
#include "route/Lancuch.h"
#include "analiza/Wykop.h"
#include "route/OblTrasa.h"

namespace {

constexpr double Pi = 3.14159265358979323846;
// Bounds that keep a mistyped setting from running for hours.
constexpr double NajwiecejPikiet = 1e7;
constexpr double NajwiekszyZasieg = 100000.0;

// The first point of the segment e-t under either surface (the design
// surface, or the ground a cutting leaves), and which surface.
struct TZasloniecie {
    TPunktPodPowierzchnia Punkt;
    TPowierzchniaWidocznosci Powierzchnia;
};

std::optional<TZasloniecie> Zasloniecie(const TPunkt3D& e, const TPunkt3D& t, const TIndeksWysokosci& proj,
                                        const TIndeksWysokosci& teren) {
    const auto a = PierwszyPunktPodPowierzchnia(proj, e, t);
    const auto b = PierwszyPunktPodPowierzchnia(teren, e, t);
    if (!a && !b) return std::nullopt;
    // The earlier point along the sight line; the design surface where both meet it at once
    // (the ground kept within the footprint lies below the design surface: a line under it is under both).
    if (a && (!b || a->t <= b->t)) return TZasloniecie{*a, TPowierzchniaWidocznosci::PROJ};
    return TZasloniecie{*b, TPowierzchniaWidocznosci::TEREN};
}

// The remaining road from s in a direction of travel.
double PozostalaDroga(const DaneUstawieniaTrasy& trasa, double s, int kierunek) {
    const double r = kierunek > 0 ? static_cast<double>(trasa.PikMax) - s : s - static_cast<double>(trasa.PikMin);
    return std::max(0.0, r);
}

// The text of a distance with one decimal and a comma.
std::string Metry1(double v) {
    if (!std::isfinite(v)) return "∞";
    char b[64];
    std::snprintf(b, sizeof b, "%.1f", v);
    std::string s = b;
    for (char& c : s)
        if (c == '.') c = ',';
    return s;
}

// A setting's value with up to two decimals and a comma, no trailing zeros.
std::string Wartosc(double v) {
    char b[64];
    std::snprintf(b, sizeof b, "%.2f", v);
    std::string s = b;
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    for (char& c : s)
        if (c == '.') c = ',';
    return s;
}

// "km 0+420" for whole metres, "km 0+422,50" otherwise.
std::string Kilometraz(double s) {
    std::string t = TekstKilometrazu(s);
    if (t.size() > 3 && t.compare(t.size() - 3, 3, ",00") == 0) t.erase(t.size() - 3);
    return t;
}

const char* ZnakKierunku(int k) { return k > 0 ? "+" : "−"; }

}  // namespace

bool Zasloniety(const TPunkt3D& e, const TPunkt3D& t, const TIndeksWysokosci& proj, const TIndeksWysokosci& terenPoza) {
    return PierwszyPunktPodPowierzchnia(proj, e, t).has_value() ||
           PierwszyPunktPodPowierzchnia(terenPoza, e, t).has_value();
}

bool ZaslonietyOdcinek(const TPunkt3D& e, const TPunkt3D& t, const TIndeksWysokosci& proj,
                       const TIndeksWysokosci& teren, const TTerenWykopu* pociete) {
    if (PierwszyPunktPodPowierzchnia(proj, e, t)) return true;
    return PierwszyPunktPodPowierzchnia(TerenPozaWykopemWzdluz(teren, proj, e, t, pociete), e, t).has_value();
}

double DrogaZatrzymania(double predkosc, double czasReakcji, double opoznienie, double pochylenie) {
    const double v = predkosc / 3.6;
    const double hamowanie = opoznienie + PrzyspieszenieZiemskie * pochylenie;
    if (!(hamowanie > 0.0)) return std::numeric_limits<double>::infinity();
    return v * czasReakcji + v * v / (2.0 * hamowanie);
}

double PochylenieNaDlugosci(const DaneUstawieniaTrasy& trasa, double s, int kierunek, double dlugosc,
                            double przesuniecie, const TIndeksWysokosci& proj, const TIndeksWysokosci& teren) {
    const double pocz = trasa.PikMin, kon = trasa.PikMax;
    const double k = kierunek > 0 ? 1.0 : -1.0;
    double s2 = std::clamp(s + k * std::max(dlugosc, 0.0), pocz, kon);
    double s1 = std::clamp(s, pocz, kon);
    // Near the route's end the chord is kept at least a metre long, reaching back.
    if (std::fabs(s2 - s1) < NajdluzszyKrokWidocznosci) s1 = std::clamp(s2 - k * NajdluzszyKrokWidocznosci, pocz, kon);
    const double dl = std::fabs(s2 - s1);
    if (!(dl > 1e-6)) return 0.0;
    const auto a = PunktNadDroga(trasa, s1, przesuniecie, 0.0, kierunek > 0, proj, teren);
    const auto b = PunktNadDroga(trasa, s2, przesuniecie, 0.0, kierunek > 0, proj, teren);
    if (!a || !b) return 0.0;
    return (b->Z - a->Z) / dl;
}

TWierszWidocznosci SprawdzWidocznoscNaPikiecie(const TDrogaWidocznosci& droga, double s, int kierunek,
                                               const TUstawieniaWidocznosci& u, const TIndeksWysokosci& proj,
                                               const TIndeksWysokosci& teren) {
    const DaneUstawieniaTrasy& trasa = droga.Trasa;
    TWierszWidocznosci w;
    w.Pikieta = s;
    w.Kierunek = kierunek > 0 ? 1 : -1;
    const int k = w.Kierunek;

    // The required distance: from a level road, then twice over the grade along it.
    w.Predkosc = u.Predkosc > 0.0 ? u.Predkosc : static_cast<double>(ParametryNaPikiecie(droga.Parametry, s).PredkoscV);
    if (!std::isfinite(w.Predkosc) || w.Predkosc < 0.0) w.Predkosc = 0.0;
    w.Wymagana = DrogaZatrzymania(w.Predkosc, u.CzasReakcji, u.Opoznienie, 0.0);
    for (int przebieg = 0; przebieg < 2 && std::isfinite(w.Wymagana); ++przebieg) {
        w.Pochylenie = PochylenieNaDlugosci(trasa, s, k, w.Wymagana, u.Przesuniecie, proj, teren);
        w.Wymagana = DrogaZatrzymania(w.Predkosc, u.CzasReakcji, u.Opoznienie, w.Pochylenie);
    }

    // The available distance.
    const double pozostala = PozostalaDroga(trasa, s, k);
    const double granica = std::min(u.Zasieg, pozostala);
    const TGranicaWidocznosci rodzajGranicy = u.Zasieg <= pozostala ? TGranicaWidocznosci::Zasieg
                                                                    : TGranicaWidocznosci::Koniec;
    const std::optional<TPunkt3D> oko = PunktNadDroga(trasa, s, u.Przesuniecie, u.WysokoscOka, k > 0, proj, teren);
    auto cel = [&](double d) {
        return PunktNadDroga(trasa, s + k * d, u.Przesuniecie, u.WysokoscCelu, k > 0, proj, teren);
    };

    if (!oko) {
        w.Dostepna = 0.0;
        w.Granica = TGranicaWidocznosci::BrakPowierzchni;
    } else if (!(granica > 0.0)) {
        w.Dostepna = 0.0;
        w.Granica = rodzajGranicy;
    } else {
        double widoczna = 0.0;  // the farthest d known visible
        std::optional<double> ukryta;
        w.Granica = rodzajGranicy;
        w.Dostepna = granica;
        for (long long i = 1;; ++i) {
            const double d = std::min(static_cast<double>(i) * NajdluzszyKrokWidocznosci, granica);
            const std::optional<TPunkt3D> t = cel(d);
            if (!t) {
                w.Granica = TGranicaWidocznosci::BrakPowierzchni;
                w.Dostepna = widoczna;
                break;
            }
            if (Zasloniety(*oko, *t, proj, teren)) {
                ukryta = d;
                break;
            }
            widoczna = d;
            if (d >= granica) break;
        }
        if (ukryta) {
            double lo = widoczna, hi = *ukryta;
            while (hi - lo > DokladnoscWidocznosci) {
                const double m = 0.5 * (lo + hi);
                const std::optional<TPunkt3D> t = cel(m);
                // A target without a surface cannot be called hidden.
                if (t && Zasloniety(*oko, *t, proj, teren))
                    hi = m;
                else
                    lo = m;
            }
            w.Dostepna = hi;
            w.Granica = TGranicaWidocznosci::Przeszkoda;
            const std::optional<TZasloniecie> z = Zasloniecie(*oko, *cel(hi), proj, teren);
            const TIndeksWysokosci& ix = z->Powierzchnia == TPowierzchniaWidocznosci::PROJ ? proj : teren;
            const TPunkt3D& p = z->Punkt.Punkt;
            w.Przeszkoda = TPunkt3D{p.X + ix.Dx, p.Y + ix.Dy, p.Z + ix.Dz};
            w.Powierzchnia = z->Powierzchnia;
        }
    }
    w.Ocena = w.Dostepna >= w.Wymagana || w.Granica == TGranicaWidocznosci::Koniec;
    return w;
}

std::string BladUstawienWidocznosci(const TUstawieniaWidocznosci& u) {
    auto skonczona = [](double v) { return std::isfinite(v); };
    if (!skonczona(u.Krok) || !(u.Krok > 0.0)) return "krok pikiet musi być liczbą dodatnią";
    if (!skonczona(u.WysokoscOka) || u.WysokoscOka < 0.0 || u.WysokoscOka > 1000.0)
        return "wysokość oka musi być liczbą od 0 do 1000 m";
    if (!skonczona(u.WysokoscCelu) || u.WysokoscCelu < 0.0 || u.WysokoscCelu > 1000.0)
        return "wysokość celu musi być liczbą od 0 do 1000 m";
    if (!skonczona(u.Przesuniecie) || std::fabs(u.Przesuniecie) > 1000.0)
        return "przesunięcie musi być liczbą od -1000 do 1000 m";
    if (!skonczona(u.Predkosc) || u.Predkosc < 0.0 || u.Predkosc > 1000.0)
        return "prędkość musi być liczbą od 0 do 1000 km/h (0: z parametrów projektowych)";
    if (!skonczona(u.Zasieg) || !(u.Zasieg > 0.0) || u.Zasieg > NajwiekszyZasieg)
        return "zasięg musi być liczbą dodatnią nie większą niż 100000 m";
    if (!skonczona(u.CzasReakcji) || u.CzasReakcji < 0.0 || u.CzasReakcji > 100.0)
        return "czas reakcji musi być liczbą od 0 do 100 s";
    if (!skonczona(u.Opoznienie) || !(u.Opoznienie > 0.0) || u.Opoznienie > 100.0)
        return "opóźnienie musi być liczbą dodatnią nie większą niż 100 m/s²";
    if (!u.Naprzod && !u.Wstecz) return "nie wybrano kierunku";
    return {};
}

std::optional<std::vector<TWierszWidocznosci>> ObliczWidocznosc(
    const TDrogaWidocznosci& droga, const TUstawieniaWidocznosci& u, const TIndeksWysokosci& proj,
    const TIndeksWysokosci& teren, const TPostepWidocznosci& postep, const std::atomic<bool>* przerwij, int watki) {
    const std::string blad = BladUstawienWidocznosci(u);
    if (!blad.empty()) throw BladKonwersji(blad);
    std::vector<TWierszWidocznosci> wiersze;
    const DaneUstawieniaTrasy& trasa = droga.Trasa;
    if (!trasa.Obliczona) return wiersze;
    if (proj.Pusty() && teren.Pusty())
        throw BladKonwersji(
            "Nie wczytano żadnej powierzchni (ani projektu PROJ, ani terenu TEREN): widoczność sprawdza się nad "
            "powierzchnią drogi.");
    if (static_cast<double>(trasa.PikMax) / u.Krok > NajwiecejPikiet)
        throw BladKonwersji("krok pikiet jest za mały dla tej trasy");
    const std::vector<double> pikiety = PikietyZaokraglone(trasa.PikStart, trasa.PikMax, u.Krok);
    const TIndeksWysokosci terenPoza = TerenPozaWykopem(teren, proj);
    std::vector<int> kierunki;
    if (u.Naprzod) kierunki.push_back(1);
    if (u.Wstecz) kierunki.push_back(-1);
    const std::int64_t ile = static_cast<std::int64_t>(pikiety.size() * kierunki.size());
    wiersze.resize(static_cast<std::size_t>(ile));

    // Each thread takes the next row not yet taken; every row is a function of
    // its station alone, so the split does not change the result.
    std::atomic<std::int64_t> nastepny{0}, zrobione{0};
    auto przerwane = [&] { return przerwij && przerwij->load(std::memory_order_relaxed); };
    auto pracuj = [&](int k, const std::atomic<bool>& bladInnego) {
        for (;;) {
            if (przerwane() || bladInnego.load(std::memory_order_relaxed)) return;
            const std::int64_t j = nastepny.fetch_add(1);
            if (j >= ile) return;
            const std::size_t n = static_cast<std::size_t>(j);
            wiersze[n] = SprawdzWidocznoscNaPikiecie(droga, pikiety[n / kierunki.size()], kierunki[n % kierunki.size()],
                                                     u, proj, terenPoza);
            const std::int64_t z = zrobione.fetch_add(1) + 1;
            if (k == 0 && postep) postep(z, ile);
        }
    };
    int n = watki > 0 ? watki : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    n = static_cast<int>(std::min<std::int64_t>(n, std::max<std::int64_t>(ile, 1)));
    // A failure in any thread (a row that cannot be computed, no memory, the
    // progress callback's own) stops the others and reaches the caller.
    WKilkuWatkach(n, pracuj);
    if (przerwane() && zrobione.load() < ile) return std::nullopt;
    if (postep) postep(ile, ile);
    return wiersze;
}

std::vector<TOdcinekWidocznosci> OdcinkiNiespelniajace(const std::vector<TWierszWidocznosci>& wiersze) {
    std::vector<TOdcinekWidocznosci> w;
    for (int k : {1, -1}) {
        bool otwarty = false;
        double niedobor = 0.0;
        for (const TWierszWidocznosci& r : wiersze) {
            if (r.Kierunek != k) continue;
            if (r.Ocena) {
                otwarty = false;
                continue;
            }
            const double brak = r.Wymagana - r.Dostepna;
            if (!otwarty) {
                w.push_back({k, r.Pikieta, r.Pikieta, r.Dostepna, r.Wymagana, r.Powierzchnia,
                             r.Granica == TGranicaWidocznosci::Przeszkoda, r.Predkosc, r.Pochylenie});
                otwarty = true;
                niedobor = brak;
                continue;
            }
            TOdcinekWidocznosci& o = w.back();
            o.Do = r.Pikieta;
            if (brak > niedobor) {
                niedobor = brak;
                o.Dostepna = r.Dostepna;
                o.Wymagana = r.Wymagana;
                o.Powierzchnia = r.Powierzchnia;
                o.ZPrzeszkoda = r.Granica == TGranicaWidocznosci::Przeszkoda;
                o.Predkosc = r.Predkosc;
                o.Pochylenie = r.Pochylenie;
            }
        }
    }
    return w;
}

std::vector<std::string> RaportWidocznosci(const std::vector<TWierszWidocznosci>& wiersze,
                                           const TUstawieniaWidocznosci& u, double pikStart) {
    std::vector<std::string> l;
    l.push_back("Widoczność na zatrzymanie");
    l.push_back("Oko kierowcy " + Wartosc(u.WysokoscOka) + " m nad drogą, cel (przedmiot leżący na drodze) " +
                Wartosc(u.WysokoscCelu) + " m, przesunięcie " + Wartosc(u.Przesuniecie) +
                " m w prawo od kierunku jazdy, zasięg " + Wartosc(u.Zasieg) + " m, krok " + Wartosc(u.Krok) + " m");
    // The speeds the rows used: the one given, or those of the design parameters at the stations.
    std::string predkosc;
    if (u.Predkosc > 0.0) {
        predkosc = Wartosc(u.Predkosc) + " km/h";
    } else {
        double vMin = HUGE_VAL, vMax = -HUGE_VAL;
        for (const TWierszWidocznosci& r : wiersze)
            vMin = std::min(vMin, r.Predkosc), vMax = std::max(vMax, r.Predkosc);
        predkosc = vMin > vMax ? std::string("z parametrów projektowych")
                   : vMin == vMax
                       ? Wartosc(vMin) + " km/h (z parametrów projektowych)"
                       : Wartosc(vMin) + "–" + Wartosc(vMax) + " km/h (z parametrów projektowych, według pikiet)";
    }
    l.push_back("Prędkość " + predkosc + ", czas reakcji " + Wartosc(u.CzasReakcji) + " s, opóźnienie " +
                Wartosc(u.Opoznienie) + " m/s², przyspieszenie ziemskie " + Wartosc(PrzyspieszenieZiemskie) +
                " m/s²; droga zatrzymania Lz = v·t + v²/(2·(a + g·i)), i: pochylenie drogi na długości Lz");
    const std::vector<TOdcinekWidocznosci> odcinki = OdcinkiNiespelniajace(wiersze);
    for (const TOdcinekWidocznosci& o : odcinki) {
        std::string t = Kilometraz(pikStart + o.Od) + " – " + Kilometraz(pikStart + o.Do) + ", kierunek " +
                        ZnakKierunku(o.Kierunek) + ": dostępna " + Metry1(o.Dostepna) + " m < wymagana ";
        t += std::isfinite(o.Wymagana) ? Metry1(o.Wymagana) + " m"
                                       : std::string("nieograniczona (spadek zbyt duży dla opóźnienia)");
        t += " (V = " + Wartosc(o.Predkosc) + " km/h, i = " + Wartosc(100.0 * o.Pochylenie) + " %)";
        t += o.ZPrzeszkoda ? std::string(", cel zasłania ") + TekstPowierzchni(o.Powierzchnia)
                           : std::string(", dalej brak powierzchni");
        l.push_back(t);
    }
    std::int64_t ile[2] = {0, 0}, zle[2] = {0, 0};
    for (const TWierszWidocznosci& r : wiersze) {
        const int i = r.Kierunek > 0 ? 0 : 1;
        ++ile[i];
        if (!r.Ocena) ++zle[i];
    }
    l.push_back("Podsumowanie: kierunek + " + std::to_string(zle[0]) + " z " + std::to_string(ile[0]) +
                " pikiet nie spełnia warunku, kierunek − " + std::to_string(zle[1]) + " z " + std::to_string(ile[1]) +
                "; odcinków niespełniających: " + std::to_string(odcinki.size()) + ".");
    if (odcinki.empty())
        l.push_back("Na wszystkich pikietach dostępna odległość widoczności wystarcza do zatrzymania.");
    return l;
}

std::vector<std::int32_t> TrojkatyOdcinkow(const DaneUstawieniaTrasy& trasa,
                                           const std::vector<TOdcinekWidocznosci>& odcinki, double krok,
                                           double przesuniecie, const TIndeksWysokosci& proj) {
    std::set<std::int32_t> zbior;
    const TIndeksWysokosci brak;
    const double krokPikiet = std::isfinite(krok) && krok > 0.0 ? krok : 0.0;
    // Sample offsets a quarter metre inside the lane's edges, so that the
    // triangles of the other lane that only touch the axis stay unmarked.
    const double znak = przesuniecie < 0.0 ? -1.0 : 1.0;
    const double pas = std::max(2.0 * std::fabs(przesuniecie), 0.5), brzeg = 0.25;
    constexpr double Probka = 0.5;
    const int ilePoprzek = static_cast<int>(std::ceil((pas - 2 * brzeg) / Probka));
    for (const TOdcinekWidocznosci& o : odcinki) {
        const double od = std::max<double>(o.Od - 0.5 * krokPikiet, trasa.PikMin);
        const double dop = std::min<double>(o.Do + 0.5 * krokPikiet, trasa.PikMax);
        const long long ileWzdluz = static_cast<long long>(std::ceil((dop - od) / Probka));
        if (ileWzdluz > 10000000) continue;
        for (long long i = 0; i <= ileWzdluz; ++i) {
            const double s = std::min(od + static_cast<double>(i) * Probka, dop);
            for (int j = 0; j <= ilePoprzek; ++j) {
                const double p = znak * (brzeg + (pas - 2 * brzeg) * static_cast<double>(j) / std::max(ilePoprzek, 1));
                const std::optional<TPunkt3D> q = PunktNadDroga(trasa, s, p, 0.0, o.Kierunek > 0, proj, brak);
                if (!q) continue;
                // The triangle under the point: where a short plumb line through it goes below the surface.
                const auto t = PierwszyPunktPodPowierzchnia(proj, *q + TPunkt3D{0, 0, 1}, *q - TPunkt3D{0, 0, 1});
                if (t) zbior.insert(t->NumerTrojkata);
            }
        }
    }
    return {zbior.begin(), zbior.end()};
}

const char* TekstGranicy(TGranicaWidocznosci g) {
    switch (g) {
        case TGranicaWidocznosci::Zasieg: return "zasieg";
        case TGranicaWidocznosci::Koniec: return "koniec";
        case TGranicaWidocznosci::BrakPowierzchni: return "brak";
        case TGranicaWidocznosci::Przeszkoda: break;
    }
    return "";
}

const char* TekstPowierzchni(TPowierzchniaWidocznosci p) {
    return p == TPowierzchniaWidocznosci::PROJ ? "PROJ" : "TEREN";
}
