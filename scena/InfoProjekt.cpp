#include "scena/InfoProjekt.h"

#include <algorithm>

#include "common/Funkcje.h"
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

TZakres ZakresRysowanych(const std::vector<TTrojkatRys>& trojkaty) {
    TZakres z;
    if (trojkaty.empty()) {
        z.Xmax = z.Ymax = z.Xmin = z.Ymin = z.Zmax = z.Zmin = -1.0;
        return z;
    }
    bool pierwszy = true;
    for (const TTrojkatRys& t : trojkaty) {
        const double xmax = Najwiekszy(t.P1.X, t.P2.X, t.P3.X);
        const double ymax = Najwiekszy(t.P1.Y, t.P2.Y, t.P3.Y);
        const double zmax = Najwiekszy(t.P1.Z, t.P2.Z, t.P3.Z);
        const double xmin = Najmniejszy(t.P1.X, t.P2.X, t.P3.X);
        const double ymin = Najmniejszy(t.P1.Y, t.P2.Y, t.P3.Y);
        const double zmin = Najmniejszy(t.P1.Z, t.P2.Z, t.P3.Z);
        if (pierwszy) {
            z.Xmax = xmax;
            z.Ymax = ymax;
            z.Zmax = zmax;
            z.Xmin = xmin;
            z.Ymin = ymin;
            z.Zmin = zmin;
            pierwszy = false;
            continue;
        }
        if (xmax > z.Xmax) z.Xmax = xmax;
        if (ymax > z.Ymax) z.Ymax = ymax;
        if (zmax > z.Zmax) z.Zmax = zmax;
        if (xmin < z.Xmin) z.Xmin = xmin;
        if (ymin < z.Ymin) z.Ymin = ymin;
        if (zmin < z.Zmin) z.Zmin = zmin;
    }
    return z;
}

void InfoTerenProj() {
    OpisTekst.clear();
    const std::int32_t ileTEREN = TEREN.IleTrojkatow();

    Dopisz(D);
    Dopisz("Info TEREN (trójkąty).");
    Dopisz(D);
    DopiszPusta();
    Dopisz("Ilosc trojkatów TEREN = " + std::to_string(ileTEREN));
    Dopisz("Ilosc rysowane = " + std::to_string(IleTrojkatowTEREN()));
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
        PiszZakres("Zakres TEREN(ekran) ", ZakresRysowanych(TrojkatyTEREN));
    }

    DopiszPusta();
    Dopisz(D);
    Dopisz("Info PROJ (trójkąty).");
    Dopisz(D);
    DopiszPusta();
    Dopisz("Ilosc trojkatów PROJ = " + std::to_string(PROJ.IleTrojkatow()));
    Dopisz("Ilosc rysowane = " + std::to_string(IleTrojkatowPROJ()));
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
    PiszZakres("Zakres PROJ(ekran) ", ZakresRysowanych(TrojkatyPROJ));

    DopiszPusta();
    Dopisz("Przesunięcie");
    Dopisz("movx  = " + F4(Rzut.PrzesunX) + " ;  movy = " + F4(Rzut.PrzesunY) + " ;  movz = " + F4(Rzut.PrzesunZ));
    DopiszPusta();
    DopiszPusta();
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
            Dopisz("Geometria pliku: klotoidy bez ograniczeń parametrów projektowych.");
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
        Dopisz("Ilosc punktów trasa = " + std::to_string(Trasa.IleZalomow()));
        DopiszPusta();
        Dopisz("Lp.               X              Y              R        A1        A2");
        DopiszPusta();
        for (int i = 0; i < Trasa.IleZalomow(); ++i) Dopisz(WierszZalomu(i, Trasa.Zalomy[i]));
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
