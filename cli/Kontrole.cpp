// The design checks beyond sight: drainage (spadki), cross-fall (pochylenia)
// and cut and fill (objetosci), each a table by chainage on the core's checks.
#include <cmath>
#include <string>

#include "analiza/Objetosci.h"
#include "analiza/Pochylenia.h"
#include "analiza/Profil.h"
#include "route/Lancuch.h"
#include "analiza/Spadki.h"
#include "cli/Wspolne.h"
#include "analiza/Wysokosci.h"

namespace cli {

namespace {

// The half-width W (--szerokosc) of a command.
void SprawdzSzerokosc(double szerokosc) {
    if (!(szerokosc > 0.0) || !std::isfinite(szerokosc)) throw BladUzycia("szerokość musi być liczbą dodatnią");
}

// A band's chainages as the user sees them.
std::string Pasmo(const DaneUstawieniaTrasy& trasa, double od, double do_) {
    return Stala(trasa.PikStart + od, 3) + ';' + Stala(trasa.PikStart + do_, 3) + ';';
}

std::string PoleLiczby(const std::optional<double>& v) { return v ? Stala(*v, 3) : std::string(); }

}  // namespace

int Spadki(const std::vector<std::string>& a, std::ostream& wyjscie, std::ostream& bledy) {
    double prog = ProgSpadku, szerokosc = SzerokoscSpadkow;
    const TPolecenieNaTrasie p = PolecenieNaTrasie(
        a, {{"--prog", {true}}, {"--szerokosc", {true}}}, bledy,
        [&](const TArgumenty& arg) {
            prog = Liczba(arg, "--prog", ProgSpadku);
            szerokosc = Liczba(arg, "--szerokosc", SzerokoscSpadkow);
            SprawdzSzerokosc(szerokosc);
            if (!(prog >= 0.0) || !std::isfinite(prog)) throw BladUzycia("próg musi być liczbą nieujemną");
        },
        true);
    if (p.Kod) return *p.Kod;
    const TProjekt& projekt = p.Wczytane.Projekt;
    SprawdzIleWierszy(projekt.Trasa, p.Krok);

    const auto w = ObliczSpadki(projekt.PROJ, PodzielTrase(projekt.Trasa, p.Krok, szerokosc), prog);
    std::string tekst = "pikieta_od;pikieta_do;pole;pole_plaskie;spadek_min\n";
    for (const TPrzedzialSpadkow& b : w->Przedzialy)
        tekst += Pasmo(projekt.Trasa, b.Od, b.Do) + Stala(b.Pole, 3) + ';' + Stala(b.PolePlaskie, 3) + ';' +
                 PoleLiczby(b.SpadekMin) + '\n';
    wyjscie << tekst;
    wyjscie.flush();
    return KodKoncowy(p.Wczytane.Ok);
}

int Pochylenia(const std::vector<std::string>& a, std::ostream& wyjscie, std::ostream& bledy) {
    double szerokosc = SzerokoscPochylenia;
    const TPolecenieNaTrasie p = PolecenieNaTrasie(
        a, {{"--szerokosc", {true}}}, bledy,
        [&](const TArgumenty& arg) {
            szerokosc = Liczba(arg, "--szerokosc", SzerokoscPochylenia);
            SprawdzSzerokosc(szerokosc);
        },
        true);
    if (p.Kod) return *p.Kod;
    const TProjekt& projekt = p.Wczytane.Projekt;

    const TIndeksyWysokosci ix = IndeksyWysokosci(projekt);
    const auto w = ObliczPochylenia(projekt.Trasa, PikietyTabeli(projekt.Trasa, p.Krok), szerokosc, *ix.PROJ);
    std::string tekst = "pikieta;q_lewe;q_prawe;zmiana_lewe;zmiana_prawe\n";
    for (const TWierszPochylen& r : *w)
        tekst += Stala(projekt.Trasa.PikStart + r.Pikieta, 3) + ';' + PoleLiczby(r.QLewe) + ';' + PoleLiczby(r.QPrawe) +
                 ';' + PoleLiczby(r.ZmianaLewe) + ';' + PoleLiczby(r.ZmianaPrawe) + '\n';
    wyjscie << tekst;
    wyjscie.flush();
    return KodKoncowy(p.Wczytane.Ok);
}

int Objetosci(const std::vector<std::string>& a, std::ostream& wyjscie, std::ostream& bledy) {
    double k = 1.0, szerokosc = SzerokoscObjetosci;
    const TPolecenieNaTrasie p = PolecenieNaTrasie(
        a, {{"--wspolczynnik", {true}}, {"--szerokosc", {true}}}, bledy,
        [&](const TArgumenty& arg) {
            k = Liczba(arg, "--wspolczynnik", 1.0);
            szerokosc = Liczba(arg, "--szerokosc", SzerokoscObjetosci);
            SprawdzSzerokosc(szerokosc);
            if (!(k > 0.0) || !std::isfinite(k)) throw BladUzycia("współczynnik musi być liczbą dodatnią");
        },
        true);
    if (p.Kod) return *p.Kod;
    const TProjekt& projekt = p.Wczytane.Projekt;
    SprawdzIleWierszy(projekt.Trasa, p.Krok);
    if (projekt.TEREN.Trojkaty.empty()) {
        bledy << "Brak terenu (TEREN): nie ma czego porównać z powierzchnią projektowaną.\n";
        return KodBladPliku;
    }

    const TIndeksyWysokosci ix = IndeksyWysokosci(projekt);
    const auto w = ObliczObjetosci(projekt.PROJ, *ix.TEREN, PodzielTrase(projekt.Trasa, p.Krok, szerokosc), k);
    std::string tekst = "pikieta_od;pikieta_do;wykop;nasyp;masa\n";
    for (const TPrzedzialObjetosci& b : w->Przedzialy)
        tekst += Pasmo(projekt.Trasa, b.Od, b.Do) + Stala(b.Wykop, 3) + ';' + Stala(b.Nasyp, 3) + ';' +
                 Stala(b.Masa, 3) + '\n';
    wyjscie << tekst;
    wyjscie.flush();
    if (w->BezTerenu > 0.0005)
        bledy << "Pominięto " << Stala(w->BezTerenu, 3) << " m² powierzchni projektowanej bez terenu pod nią.\n";
    return KodKoncowy(p.Wczytane.Ok);
}

}  // namespace cli
