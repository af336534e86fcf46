#include "scena/InfoProjekt.h"

#include <algorithm>
#include <cstdio>

#include "common/Funkcje.h"
#include "common/Rownolegle.h"
#include "nmt/Uklady.h"

namespace {

// The separator line of the reports: 46 minus signs.
const std::string D(46, '-');

// Numbers of the vertex table: at least one integer digit, two decimals.
std::string Liczba(double v) { return FormatujLiczbe(v, "##################0.00"); }

void Dopisz(std::string linia) { DopiszDoOpisu(std::move(linia)); }
void DopiszPusta() { DopiszDoOpisu(std::string()); }

std::string LiniaPrzesuniecia() { return "dx  = (" + F4(Trasa.Dx) + " ;  dy = " + F4(Trasa.Dy) + ")"; }

// Largest and smallest of three values with the same strict comparisons as
// the range itself (the first value holds a tie).
double Najwiekszy(double a, double b, double c) {
    double m = a;
    if (b > m) m = b;
    if (c > m) m = c;
    return m;
}
double Najmniejszy(double a, double b, double c) {
    double m = a;
    if (b < m) m = b;
    if (c < m) m = c;
    return m;
}

}  // namespace

void PiszZakres(const std::string& tytul, const TZakres& z) {
    Dopisz(tytul);
    DopiszPusta();
    Dopisz("X  (min,max) = (" + F2(z.Xmin) + " ; " + F2(z.Xmax) + ")");
    Dopisz("Y  (min,max) = (" + F2(z.Ymin) + " ; " + F2(z.Ymax) + ")");
    Dopisz("Z  (min,max) = (" + F2(z.Zmin) + " ; " + F2(z.Zmax) + ")");
}

namespace {

// A range being gathered: the first record's box, then each further one
// widened with the strict comparisons (the earlier value holds a tie).
struct TZbieranyZakres {
    TZakres z;
    bool pusty = true;

    void Dodaj(const TZakres& b) {
        if (pusty) {
            z = b;
            pusty = false;
            return;
        }
        if (b.Xmax > z.Xmax) z.Xmax = b.Xmax;
        if (b.Ymax > z.Ymax) z.Ymax = b.Ymax;
        if (b.Zmax > z.Zmax) z.Zmax = b.Zmax;
        if (b.Xmin < z.Xmin) z.Xmin = b.Xmin;
        if (b.Ymin < z.Ymin) z.Ymin = b.Ymin;
        if (b.Zmin < z.Zmin) z.Zmin = b.Zmin;
    }
    void Dodaj(const TTrojkatRys& t) {
        Dodaj(TZakres{Najwiekszy(t.P1.X, t.P2.X, t.P3.X), Najwiekszy(t.P1.Y, t.P2.Y, t.P3.Y),
                      Najmniejszy(t.P1.X, t.P2.X, t.P3.X), Najmniejszy(t.P1.Y, t.P2.Y, t.P3.Y),
                      Najwiekszy(t.P1.Z, t.P2.Z, t.P3.Z), Najmniejszy(t.P1.Z, t.P2.Z, t.P3.Z)});
    }
    TZakres Wynik() const {
        if (!pusty) return z;
        TZakres brak;
        brak.Xmax = brak.Ymax = brak.Xmin = brak.Ymin = brak.Zmax = brak.Zmin = -1.0;
        return brak;
    }
};

// The range of the records a load makes of the mesh, in two halves at once.
TZakres ZakresPoWczytaniu(const TSiatka& siatka, double k) {
    TZbieranyZakres polowy[2];
    NaDwochWatkach(siatka.Trojkaty.size(), [&](std::size_t od, std::size_t do_) {
        TZbieranyZakres& z = polowy[od == 0 ? 0 : 1];
        for (std::size_t i = od; i < do_; ++i) {
            // The record PrzygotujPosortowane makes: the same product of the same values.
            TTrojkatRys r = TrojkatDoRysowania(siatka, i, 0);
            r.P1 = r.P1 * k;
            r.P2 = r.P2 * k;
            r.P3 = r.P3 * k;
            z.Dodaj(r);
        }
    });
    if (!polowy[1].pusty) polowy[0].Dodaj(polowy[1].z);
    return polowy[0].Wynik();
}

}  // namespace

TZakres ZakresRysowanych(const std::vector<TTrojkatRys>& trojkaty) {
    TZbieranyZakres z;
    for (const TTrojkatRys& t : trojkaty) z.Dodaj(t);
    return z.Wynik();
}

TRysowane RysowaneWidoku() {
    return {IleTrojkatowTEREN(), IleTrojkatowPROJ(), ZakresRysowanych(TrojkatyTEREN), ZakresRysowanych(TrojkatyPROJ)};
}

TRysowane RysowanePoWczytaniu(const TProjekt& projekt, double k) {
    return {projekt.TEREN.IleTrojkatow(), projekt.PROJ.IleTrojkatow(), ZakresPoWczytaniu(projekt.TEREN, k),
            ZakresPoWczytaniu(projekt.PROJ, k)};
}

void InfoTerenProj() { InfoTerenProj(RysowaneWidoku()); }

void InfoTerenProj(const TRysowane& rysowane) {
    OpisTekst.clear();
    const std::int32_t ileTEREN = TEREN.IleTrojkatow();

    Dopisz(D);
    Dopisz("Info TEREN (trójkąty).");
    Dopisz(D);
    DopiszPusta();
    Dopisz("Ilosc trojkatów TEREN = " + std::to_string(ileTEREN));
    Dopisz("Ilosc rysowane = " + std::to_string(rysowane.IleTEREN));
    DopiszPusta();
    // A terrain from elevation grids says how it was made; a known system is named.
    for (const std::string& l : TEREN.Opis) Dopisz(l);
    if (TEREN.Opis.empty() && TEREN.EPSG != 0) Dopisz("Układ współrzędnych TEREN: " + NazwaUkladu(TEREN.EPSG) + ".");
    if (!TEREN.Opis.empty() || TEREN.EPSG != 0) DopiszPusta();
    if (ileTEREN > 0) {
        PiszZakres("Zakres TEREN", TEREN.Zakres);
        DopiszPusta();
        Dopisz(LiniaPrzesuniecia());
        DopiszPusta();
        PiszZakres("Zakres TEREN(ekran) ", rysowane.TEREN);
    }

    DopiszPusta();
    Dopisz(D);
    Dopisz("Info PROJ (trójkąty).");
    Dopisz(D);
    DopiszPusta();
    Dopisz("Ilosc trojkatów PROJ = " + std::to_string(PROJ.IleTrojkatow()));
    Dopisz("Ilosc rysowane = " + std::to_string(rysowane.IlePROJ));
    DopiszPusta();
    if (PROJ.EPSG != 0) {
        Dopisz("Układ współrzędnych PROJ: " + NazwaUkladu(PROJ.EPSG) + ".");
        DopiszPusta();
    }
    // The PROJ range and the shift are written only with a terrain: the shift
    // to local coordinates is taken from the terrain's range.
    if (ileTEREN > 0) {
        PiszZakres("Zakres PROJ", PROJ.Zakres);
        DopiszPusta();
        Dopisz(LiniaPrzesuniecia());
    }
    DopiszPusta();
    PiszZakres("Zakres PROJ(ekran) ", rysowane.PROJ);

    DopiszPusta();
    Dopisz("Przesunięcie");
    Dopisz("movx  = " + F4(Rzut.PrzesunX) + " ;  movy = " + F4(Rzut.PrzesunY) + " ;  movz = " + F4(Rzut.PrzesunZ));
    DopiszPusta();
    DopiszPusta();
}

std::string WierszElementu(std::size_t i, const TElementOsi& e, double pikStart) {
    auto promien = [](double k) {
        char b[32];
        if (k == 0.0) return std::string("INF");
        std::snprintf(b, sizeof b, "%.3f", 1.0 / k);  // negative: turning right
        return std::string(b);
    };
    // Padded to 9 characters (not bytes: "łuk" has a two-byte letter).
    const char* nazwy[3] = {"prosta   ", "łuk      ", "klotoida "};
    char b[256];
    // Surveying axis names as in the vertex table: the report's X is the second plan coordinate.
    std::snprintf(b, sizeof b, "%-5s%s%12.3f %14.3f %14.3f %10.3f %10s %10s", (std::to_string(i + 1) + ".").c_str(),
                  nazwy[static_cast<int>(e.Rodzaj)], pikStart + e.Pik, e.Poczatek.Y, e.Poczatek.X, e.Dlugosc,
                  promien(e.K1).c_str(), promien(e.K2).c_str());
    return b;
}

std::string WierszZalomu(int i, const TZalom& z) {
    // Right ends of the fields (columns counted from 1).
    static constexpr int kolumny[6] = {5, 19, 34, 49, 59, 69};
    const std::string pola[6] = {
        std::to_string(static_cast<long long>(i) + 1) + ".",
        Liczba(z.Y),
        Liczba(z.X),
        Liczba(static_cast<double>(z.R)),
        Liczba(static_cast<double>(z.A1)),
        Liczba(static_cast<double>(z.A2)),
    };
    std::string wiersz;
    for (int k = 0; k < 6; ++k) {
        const std::string& s = pola[k];
        // 0-based start of the field: right-aligned in its column, but never
        // on or right after the previous field's text, so that a long number
        // neither splits nor merges with its neighbour.
        long long poczatek = static_cast<long long>(kolumny[k]) - static_cast<long long>(s.size());
        if (poczatek < 0) poczatek = 0;
        if (k > 0) poczatek = std::max<long long>(poczatek, static_cast<long long>(wiersz.size()) + 1);
        wiersz.append(static_cast<std::size_t>(poczatek) - wiersz.size(), ' ');
        wiersz += s;
    }
    return wiersz;
}

void InfoTrasy() {
    OpisTekst.clear();
    Dopisz(D);
    Dopisz("Info TRASA");
    Dopisz(D);
    if (Trasa.Obliczona) {
        DopiszPusta();
        Dopisz("ZAKRES TRASA");
        DopiszPusta();
        // Surveying axis names: the report's X is the second plan coordinate.
        Dopisz("X     (min,max)  = (" + F4(Trasa.Ymin) + " ; " + F4(Trasa.Ymax) + ")");
        Dopisz("Y     (min,max)  = (" + F4(Trasa.Xmin) + " ; " + F4(Trasa.Xmax) + ")");
        Dopisz("Pik.  (min,max)  = (" + F2(Trasa.PikStart + Trasa.PikMin) + " ; " + F2(Trasa.PikStart + Trasa.PikMax) +
               ")");
        if (!Trasa.Pochodzenie.empty()) {
            // A route of an exchange file: its geometry is the file's design.
            DopiszPusta();
            Dopisz("Trasa z pliku: " + Trasa.Pochodzenie);
            if (Trasa.GeometriaZPliku)
                Dopisz(
                    "Geometria pliku: łańcuch elementów pliku (proste, łuki, klotoidy), bez przeliczania przez "
                    "wierzchołki.");
            if (!Trasa.OpisOsi.empty()) {
                DopiszPusta();
                Dopisz("Trasy pliku:");
                for (const std::string& l : Trasa.OpisOsi) Dopisz(l);
            }
        }
        if (Trasa.EPSG != 0 || TEREN.EPSG != 0) {
            DopiszPusta();
            Dopisz("Układ współrzędnych trasy: " + NazwaUkladu(Trasa.EPSG) + "; terenu: " + NazwaUkladu(TEREN.EPSG) +
                   ".");
            if (Trasa.EPSG != 0 && TEREN.EPSG != 0 && Trasa.EPSG != TEREN.EPSG)
                Dopisz("UWAGA: trasa i teren są w różnych układach współrzędnych (program ich nie przelicza).");
        }
        DopiszPusta();
        Dopisz(LiniaPrzesuniecia());
        DopiszPusta();
        if (Trasa.GeometriaZPliku) {
            // A chain of the file: its elements, where the vertex routes list their vertices.
            const auto& el = Trasa.Lancuch.Elementy;
            Dopisz("Ilość elementów trasy = " + std::to_string(el.size()));
            DopiszPusta();
            Dopisz("Lp.  Element      Pikieta              X              Y    Długość    R pocz.    R końc.");
            DopiszPusta();
            for (std::size_t i = 0; i < el.size(); ++i) Dopisz(WierszElementu(i, el[i], Trasa.PikStart));
        } else {
            Dopisz("Ilosc punktów trasa = " + std::to_string(Trasa.IleZalomow()));
            DopiszPusta();
            Dopisz("Lp.               X              Y              R        A1        A2");
            DopiszPusta();
            for (int i = 0; i < Trasa.IleZalomow(); ++i) Dopisz(WierszZalomu(i, Trasa.Zalomy[i]));
        }
    } else {
        DopiszPusta();
        Dopisz("BRAK PUNKTÓW TRASY (lub definicja nieprawidłowa)!");
    }
    // The messages of the last build tell why a route is missing or what was
    // corrected in it; the redraw has emptied the viewer since, so they come
    // from their own copy.
    if (!KomunikatyTrasy.empty()) {
        DopiszPusta();
        Dopisz("Komunikaty obliczenia trasy:");
        for (const std::string& k : KomunikatyTrasy) Dopisz(k);
    }
}

std::vector<std::string> RaportPoWczytaniu(TProjekt&& projekt, std::vector<std::string> komunikaty) {
    const TRysowane rysowane = RysowanePoWczytaniu(projekt, kPowiekszenieWczytania);
    ProjektOkna = std::move(projekt);
    KomunikatyTrasy = std::move(komunikaty);
    TrojkatyTEREN.clear();
    TrojkatyPROJ.clear();
    InfoTerenProj(rysowane);
    std::vector<std::string> w = std::move(OpisTekst);
    InfoTrasy();
    w.insert(w.end(), OpisTekst.begin(), OpisTekst.end());
    OpisTekst.clear();
    return w;
}
