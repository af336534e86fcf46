#include "analiza/RaportyKontroli.h"

#include <cmath>
#include <cstdio>

#include "analiza/Profil.h"

namespace {

std::string Liczba(double v, int miejsca) {
    char b[64];
    std::snprintf(b, sizeof b, "%.*f", miejsca, v);
    std::string s = b;
    if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
    for (char& c : s)
        if (c == '.') c = ',';
    return s;
}

}  // namespace

std::vector<std::string> RaportSpadkow(const TWynikSpadkow& w, double pikStart, double prog, double szerokosc) {
    std::vector<std::string> l;
    l.push_back("Odwodnienie: spadek wypadkowy powierzchni projektowanej (PROJ)");
    l.push_back("Próg " + Liczba(prog, 2) + " %, pas do " + Liczba(szerokosc, 1) + " m po obu stronach osi trasy");
    double pole = 0, plaskie = 0;
    const TPrzedzialSpadkow* najmniejszy = nullptr;
    for (const TPrzedzialSpadkow& b : w.Przedzialy) {
        pole += b.Pole;
        plaskie += b.PolePlaskie;
        if (b.SpadekMin && (!najmniejszy || *b.SpadekMin < *najmniejszy->SpadekMin)) najmniejszy = &b;
    }
    if (!najmniejszy) {
        l.push_back("W pasie nie ma powierzchni projektowanej.");
        return l;
    }
    l.push_back("Powierzchnia w pasie: " + Liczba(pole, 1) + " m², w tym płaska (spadek < " + Liczba(prog, 2) +
                " %): " + Liczba(plaskie, 1) + " m² (" + Liczba(pole > 0 ? 100.0 * plaskie / pole : 0.0, 2) + " %)");
    l.push_back("Najmniejszy spadek: " + Liczba(*najmniejszy->SpadekMin, 3) + " % w przedziale " +
                TekstKilometrazu(pikStart + najmniejszy->Od) + " – " + TekstKilometrazu(pikStart + najmniejszy->Do));
    if (w.Strefy.empty()) {
        l.push_back("Brak stref płaskich.");
        return l;
    }
    l.push_back("Strefy płaskie (" + std::to_string(w.Strefy.size()) + "):");
    for (const TStrefaPlaska& s : w.Strefy)
        l.push_back(TekstKilometrazu(pikStart + s.Od) + " – " + TekstKilometrazu(pikStart + s.Do) + ", strona " +
                    (s.Strona < 0 ? "lewa" : "prawa") + ": " + Liczba(s.Pole, 2) + " m²");
    return l;
}

std::vector<std::string> RaportObjetosci(const TWynikObjetosci& w, double pikStart, double szerokosc) {
    std::vector<std::string> l;
    l.push_back("Roboty ziemne: objętości między powierzchnią projektowaną (PROJ) a terenem (TEREN)");
    l.push_back("Pas do " + Liczba(szerokosc, 1) +
                " m po obu stronach osi trasy, współczynnik spulchnienia k = " + Liczba(w.Wspolczynnik, 3));
    l.push_back("Wykop: " + Liczba(w.Wykop, 1) + " m³, nasyp: " + Liczba(w.Nasyp, 1) + " m³");
    const double bilans = w.Wspolczynnik * w.Wykop - w.Nasyp;
    l.push_back("Bilans k·wykop − nasyp: " + Liczba(bilans, 1) + " m³ (" +
                (bilans >= 0 ? "nadmiar mas" : "niedobór mas") + ")");
    if (w.PunktyZrownowazenia.empty()) {
        l.push_back("Brak punktów zrównoważenia mas (rzędna mas nie zmienia znaku).");
    } else {
        std::string t = "Punkty zrównoważenia mas:";
        for (std::size_t i = 0; i < w.PunktyZrownowazenia.size(); ++i)
            t += (i ? ", " : " ") + TekstKilometrazu(pikStart + w.PunktyZrownowazenia[i]);
        l.push_back(t);
    }
    if (w.BezTerenu > 0.0005)
        l.push_back("Pominięto " + Liczba(w.BezTerenu, 1) + " m² powierzchni projektowanej bez terenu pod nią.");
    if (w.PozaPasami > 0.0005)
        l.push_back("Poza przedziałami (za końcami trasy albo dalej niż " + Liczba(szerokosc, 1) +
                    " m od osi): " + Liczba(w.PozaPasami, 1) + " m² powierzchni projektowanej.");
    return l;
}
