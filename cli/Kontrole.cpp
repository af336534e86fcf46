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
#include "model/Zmienne.h"

namespace cli {

namespace {

// The step of the bands (--krok) and the half-width W (--szerokosc) of a command.
void SprawdzKrokISzerokosc(double krok, double szerokosc) {
    if (!(krok > 0.0) || !std::isfinite(krok)) throw BladUzycia("krok musi być liczbą dodatnią");
    if (!(szerokosc > 0.0) || !std::isfinite(szerokosc)) throw BladUzycia("szerokość musi być liczbą dodatnią");
}

// After the loads: the route's messages and, without the route or the design surface, the message
// and the exit code (a missing design surface is a file that lacks what the check needs: 1).
std::optional<int> KodBezTrasyIProjektu(bool ok, double krok, std::ostream& bledy) {
    if (PROJ.Trojkaty.empty()) {
        PiszKomunikatyTrasy(bledy);
        bledy << "Brak powierzchni projektowanej (PROJ): nie ma czego sprawdzać.\n";
        return KodBladPliku;
    }
    if (const std::optional<int> kod = KodBezTrasy(ok, bledy)) return kod;
    if (Trasa.PikMax / krok > NajwiecejWierszy) throw BladUzycia("krok jest za mały dla tej trasy");
    return std::nullopt;
}

// A band's chainages as the user sees them.
std::string Pasmo(double od, double do_) {
    return Stala(Trasa.PikStart + od, 3) + ';' + Stala(Trasa.PikStart + do_, 3) + ';';
}

std::string PoleLiczby(const std::optional<double>& v) { return v ? Stala(*v, 3) : std::string(); }

}  // namespace

int Spadki(const std::vector<std::string>& a, std::ostream& wyjscie, std::ostream& bledy) {
    const TArgumenty arg = Rozbierz(a, 1,
                                    ZOpcjamiLandXML({{"--krok", {true}}, {"--prog", {true}}, {"--szerokosc", {true}}}));
    SprawdzPliki(arg.Pozycyjne);
    const double krok = Liczba(arg, "--krok", 10.0);
    const double prog = Liczba(arg, "--prog", ProgSpadku);
    const double szerokosc = Liczba(arg, "--szerokosc", SzerokoscSpadkow);
    SprawdzKrokISzerokosc(krok, szerokosc);
    if (!(prog >= 0.0) || !std::isfinite(prog)) throw BladUzycia("próg musi być liczbą nieujemną");
    StanOkna(SzerokoscDomyslna, WysokoscDomyslna, false, bledy);
    const bool ok = Wczytaj(arg.Pozycyjne, bledy, OpcjeWczytania(arg));
    if (const std::optional<int> kod = KodBezTrasyIProjektu(ok, krok, bledy)) return *kod;

    const auto w = ObliczSpadki(PROJ.Trojkaty, PodzielTrase(Trasa, krok, szerokosc), prog);
    std::string tekst = "pikieta_od;pikieta_do;pole;pole_plaskie;spadek_min\n";
    for (const TPrzedzialSpadkow& b : w->Przedzialy)
        tekst += Pasmo(b.Od, b.Do) + Stala(b.Pole, 3) + ';' + Stala(b.PolePlaskie, 3) + ';' + PoleLiczby(b.SpadekMin) +
                 '\n';
    wyjscie << tekst;
    wyjscie.flush();
    return KodKoncowy(ok);
}

int Pochylenia(const std::vector<std::string>& a, std::ostream& wyjscie, std::ostream& bledy) {
    const TArgumenty arg = Rozbierz(a, 1, ZOpcjamiLandXML({{"--krok", {true}}, {"--szerokosc", {true}}}));
    SprawdzPliki(arg.Pozycyjne);
    const double krok = Liczba(arg, "--krok", 10.0);
    const double szerokosc = Liczba(arg, "--szerokosc", SzerokoscPochylenia);
    SprawdzKrokISzerokosc(krok, szerokosc);
    StanOkna(SzerokoscDomyslna, WysokoscDomyslna, false, bledy);
    const bool ok = Wczytaj(arg.Pozycyjne, bledy, OpcjeWczytania(arg));
    if (const std::optional<int> kod = KodBezTrasyIProjektu(ok, krok, bledy)) return *kod;

    const TIndeksyWysokosci ix = IndeksyWysokosci(ProjektOkna);
    const auto w = ObliczPochylenia(Trasa, PikietyZaokraglone(Trasa.PikStart, Trasa.PikMax, krok), szerokosc, *ix.PROJ);
    std::string tekst = "pikieta;q_lewe;q_prawe;zmiana_lewe;zmiana_prawe\n";
    for (const TWierszPochylen& r : *w)
        tekst += Stala(Trasa.PikStart + r.Pikieta, 3) + ';' + PoleLiczby(r.QLewe) + ';' + PoleLiczby(r.QPrawe) + ';' +
                 PoleLiczby(r.ZmianaLewe) + ';' + PoleLiczby(r.ZmianaPrawe) + '\n';
    wyjscie << tekst;
    wyjscie.flush();
    return KodKoncowy(ok);
}

int Objetosci(const std::vector<std::string>& a, std::ostream& wyjscie, std::ostream& bledy) {
    const TArgumenty arg = Rozbierz(
        a, 1, ZOpcjamiLandXML({{"--krok", {true}}, {"--wspolczynnik", {true}}, {"--szerokosc", {true}}}));
    SprawdzPliki(arg.Pozycyjne);
    const double krok = Liczba(arg, "--krok", 10.0);
    const double k = Liczba(arg, "--wspolczynnik", 1.0);
    const double szerokosc = Liczba(arg, "--szerokosc", SzerokoscObjetosci);
    SprawdzKrokISzerokosc(krok, szerokosc);
    if (!(k > 0.0) || !std::isfinite(k)) throw BladUzycia("współczynnik musi być liczbą dodatnią");
    StanOkna(SzerokoscDomyslna, WysokoscDomyslna, false, bledy);
    const bool ok = Wczytaj(arg.Pozycyjne, bledy, OpcjeWczytania(arg));
    if (const std::optional<int> kod = KodBezTrasyIProjektu(ok, krok, bledy)) return *kod;
    if (TEREN.Trojkaty.empty()) {
        bledy << "Brak terenu (TEREN): nie ma czego porównać z powierzchnią projektowaną.\n";
        return KodBladPliku;
    }

    const TIndeksyWysokosci ix = IndeksyWysokosci(ProjektOkna);
    const auto w = ObliczObjetosci(PROJ.Trojkaty, *ix.TEREN, PodzielTrase(Trasa, krok, szerokosc), k);
    std::string tekst = "pikieta_od;pikieta_do;wykop;nasyp;masa\n";
    for (const TPrzedzialObjetosci& b : w->Przedzialy)
        tekst += Pasmo(b.Od, b.Do) + Stala(b.Wykop, 3) + ';' + Stala(b.Nasyp, 3) + ';' + Stala(b.Masa, 3) + '\n';
    wyjscie << tekst;
    wyjscie.flush();
    if (w->BezTerenu > 0.0005)
        bledy << "Pominięto " << Stala(w->BezTerenu, 3) << " m² powierzchni projektowanej bez terenu pod nią.\n";
    return KodKoncowy(ok);
}

}  // namespace cli
