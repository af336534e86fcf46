#include "cli/Wspolne.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QImage>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QImageWriter>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <exception>
#include <functional>
#include <map>
#include <set>
#include <stdexcept>

#include "analiza/Profil.h"
#include "analiza/Widocznosc.h"
#include "route/Lancuch.h"
#include "route/Niweleta.h"
#include "common/Funkcje.h"
#include "common/ZapisBezpieczny.h"
#include "dialogs/RysunekProfilu.h"
#include "model/ZapisywanieOdczytywanie.h"
#include "model/Zmienne.h"
#include "render/RysujPerspektywa.h"
#include "render/qt/PlotnoQt.h"
#include "route/OblTrasa.h"
#include "scena/InfoProjekt.h"
#include "scena/Scena.h"
#include "scena/WidokKierowcy.h"
#include "wymiana/GLTF.h"
#include "wymiana/LandXML.h"

namespace cli {

int Raport(const std::vector<std::string>& a, std::ostream& wyjscie, std::ostream& bledy) {
    const TArgumenty arg = Rozbierz(a, 1, kOpcjeLandXML);
    SprawdzPliki(arg.Pozycyjne);
    StanOkna(SzerokoscDomyslna, WysokoscDomyslna, false, bledy);
    const bool ok = Wczytaj(arg.Pozycyjne, bledy, OpcjeWczytania(arg));
    // The route report already ends with the messages of the last route build.
    InfoTerenProj();
    for (const std::string& l : OpisTekst) wyjscie << l << '\n';
    InfoTrasy();
    for (const std::string& l : OpisTekst) wyjscie << l << '\n';
    OpisTekst.clear();
    wyjscie.flush();
    return KodKoncowy(ok);
}

int Pikiety(const std::vector<std::string>& a, std::ostream& wyjscie, std::ostream& bledy) {
    const TArgumenty arg = Rozbierz(a, 1, ZOpcjamiLandXML({{"--krok", {true}}}));
    SprawdzPliki(arg.Pozycyjne);
    const double krok = Liczba(arg, "--krok", 10.0);
    if (!(krok > 0.0)) throw BladUzycia("krok musi być liczbą dodatnią");
    StanOkna(SzerokoscDomyslna, WysokoscDomyslna, false, bledy);
    const bool ok = Wczytaj(arg.Pozycyjne, bledy, OpcjeWczytania(arg));
    if (const std::optional<int> kod = KodBezTrasy(ok, bledy)) return *kod;
    const double pikMax = Trasa.PikMax;
    if (pikMax / krok > NajwiecejWierszy) throw BladUzycia("krok jest za mały dla tej trasy");

    std::string tekst = "pikieta;X;Y;kierunek\n";
    for (const double s : PikietyZaokraglone(Trasa.PikStart, pikMax, krok)) {
        double x = 0.0, y = 0.0;
        PunktNaPikiecie(s, x, y);
        const double kat = KatNaPikiecie(s);
        tekst += Stala(Trasa.PikStart + s, 4) + ';' + Stala(x + Trasa.Dx, 4) + ';' + Stala(y + Trasa.Dy, 4) + ';' +
                 Stala(kat, 6) + '\n';
    }
    wyjscie << tekst;
    wyjscie.flush();
    return KodKoncowy(ok);
}

int Przekroj(const std::vector<std::string>& a, std::ostream& wyjscie, std::ostream& bledy) {
    const TArgumenty arg = Rozbierz(
        a, 1, ZOpcjamiLandXML({{"--pikieta", {true}}, {"--szerokosc", {true}}, {"--krok", {true}}}));
    SprawdzPliki(arg.Pozycyjne);
    if (!arg.Wartosc("--pikieta")) throw BladUzycia("przekroj potrzebuje opcji --pikieta S");
    const double pikieta = Liczba(arg, "--pikieta", 0.0);
    const double szerokosc = Liczba(arg, "--szerokosc", 30.0);
    const double krok = Liczba(arg, "--krok", 0.5);
    if (!std::isfinite(pikieta)) throw BladUzycia("pikieta musi być liczbą skończoną");
    if (!(krok > 0.0) || !std::isfinite(krok)) throw BladUzycia("krok musi być liczbą dodatnią");
    if (!(szerokosc > 0.0) || !std::isfinite(szerokosc)) throw BladUzycia("szerokość musi być liczbą dodatnią");
    if (2.0 * szerokosc / krok > NajwiecejWierszy) throw BladUzycia("krok jest za mały dla tej szerokości");
    StanOkna(SzerokoscDomyslna, WysokoscDomyslna, false, bledy);
    const bool ok = Wczytaj(arg.Pozycyjne, bledy, OpcjeWczytania(arg));
    if (const std::optional<int> kod = KodBezTrasy(ok, bledy)) return *kod;
    std::string tekst = "odleglosc;X;Y;Z_proj;Z_teren\n";
    const TIndeksyWysokosci ix = IndeksyWysokosci(ProjektOkna);
    for (const TPunktProfilu& p :
         ObliczPrzekroj(Trasa, PikietaNaTrasie(pikieta, "--pikieta", bledy), szerokosc, krok, *ix.PROJ, *ix.TEREN))
        tekst += Stala(p.Odleglosc, 4) + ';' + Stala(p.X, 4) + ';' + Stala(p.Y, 4) + ';' + PoleWysokosci(p.ZProj) +
                 ';' + PoleWysokosci(p.ZTeren) + '\n';
    wyjscie << tekst;
    wyjscie.flush();
    return KodKoncowy(ok);
}

int Widocznosc(const std::vector<std::string>& a, std::ostream& wyjscie, std::ostream& bledy) {
    const TArgumenty arg = Rozbierz(a, 1,
                                    ZOpcjamiLandXML({{"--krok", {true}},
                                                     {"--oko", {true}},
                                                     {"--cel", {true}},
                                                     {"--przesuniecie", {true}},
                                                     {"--predkosc", {true}},
                                                     {"--zasieg", {true}},
                                                     {"--czas-reakcji", {true}},
                                                     {"--opoznienie", {true}},
                                                     {"--kierunek", {true}}}));
    SprawdzPliki(arg.Pozycyjne);
    TUstawieniaWidocznosci u;
    u.Krok = Liczba(arg, "--krok", u.Krok);
    u.WysokoscOka = Liczba(arg, "--oko", u.WysokoscOka);
    u.WysokoscCelu = Liczba(arg, "--cel", u.WysokoscCelu);
    u.Przesuniecie = Liczba(arg, "--przesuniecie", u.Przesuniecie);
    u.Zasieg = Liczba(arg, "--zasieg", u.Zasieg);
    u.CzasReakcji = Liczba(arg, "--czas-reakcji", u.CzasReakcji);
    u.Opoznienie = Liczba(arg, "--opoznienie", u.Opoznienie);
    if (arg.Wartosc("--predkosc")) {
        u.Predkosc = Liczba(arg, "--predkosc", 0.0);
        if (!(u.Predkosc > 0.0)) throw BladUzycia("prędkość musi być liczbą dodatnią");
    }
    if (const std::string* k = arg.Wartosc("--kierunek")) {
        if (*k == "naprzod")
            u.Wstecz = false;
        else if (*k == "wstecz")
            u.Naprzod = false;
        else if (*k != "oba")
            throw BladUzycia("opcja --kierunek: „" + *k + "” (oczekiwano oba, naprzod albo wstecz)");
    }
    const std::string blad = BladUstawienWidocznosci(u);
    if (!blad.empty()) throw BladUzycia(blad);

    StanOkna(SzerokoscDomyslna, WysokoscDomyslna, false, bledy);
    const bool ok = Wczytaj(arg.Pozycyjne, bledy, OpcjeWczytania(arg));
    if (const std::optional<int> kod = KodBezTrasy(ok, bledy)) return *kod;
    if (Trasa.PikMax / u.Krok > NajwiecejWierszy) throw BladUzycia("krok jest za mały dla tej trasy");
    const TIndeksyWysokosci ix = IndeksyWysokosci(ProjektOkna);
    const auto wiersze = ObliczWidocznosc({Trasa, ParametryProjektowe}, u, *ix.PROJ, *ix.TEREN);
    std::string tekst = "pikieta;kierunek;dostepna;wymagana;ocena;granica;X;Y;Z;powierzchnia\n";
    for (const TWierszWidocznosci& w : *wiersze) {
        tekst += Stala(Trasa.PikStart + w.Pikieta, 4) + (w.Kierunek > 0 ? ";+;" : ";-;") + Stala(w.Dostepna, 2) + ';' +
                 (std::isfinite(w.Wymagana) ? Stala(w.Wymagana, 2) : std::string("inf")) + ';' +
                 (w.Ocena ? "tak" : "nie") + ';' + TekstGranicy(w.Granica) + ';';
        if (w.Przeszkoda)
            tekst += Stala(w.Przeszkoda->X, 3) + ';' + Stala(w.Przeszkoda->Y, 3) + ';' + Stala(w.Przeszkoda->Z, 3) +
                     ';' + TekstPowierzchni(w.Powierzchnia);
        else
            tekst += ";;;";
        tekst += '\n';
    }
    wyjscie << tekst;
    wyjscie.flush();
    return KodKoncowy(ok);
}

int Profil(const std::vector<std::string>& a, std::ostream& wyjscie, std::ostream& bledy) {
    const TArgumenty arg = Rozbierz(a, 1,
                                    ZOpcjamiLandXML({{"--krok", {true}},
                                                     {"--obraz", {true}},
                                                     {"--pikieta", {true}},
                                                     {"--przewyzszenie", {true}},
                                                     {"--rozmiar", {true}}}));
    SprawdzPliki(arg.Pozycyjne);
    const double krok = Liczba(arg, "--krok", 10.0);
    if (!(krok > 0.0) || !std::isfinite(krok)) throw BladUzycia("krok musi być liczbą dodatnią");
    const std::string* obraz = arg.Wartosc("--obraz");
    if (obraz && !KonczySiePng(*obraz)) throw BladUzycia("opcja --obraz: plik obrazu musi mieć końcówkę .png");
    if (!obraz && (arg.Wartosc("--pikieta") || arg.Wartosc("--przewyzszenie") || arg.Wartosc("--rozmiar")))
        throw BladUzycia("opcje --pikieta, --przewyzszenie i --rozmiar działają tylko z --obraz");
    const double pikieta = Liczba(arg, "--pikieta", 0.0);
    const double przewyzszenie = Liczba(arg, "--przewyzszenie", PrzewyzszenieDomyslne);
    if (!std::isfinite(pikieta)) throw BladUzycia("pikieta musi być liczbą skończoną");
    if (!(przewyzszenie >= PrzewyzszenieNajmniejsze && przewyzszenie <= PrzewyzszenieNajwieksze))
        throw BladUzycia("przewyższenie musi leżeć między " + G2(PrzewyzszenieNajmniejsze) + " a " +
                         G2(PrzewyzszenieNajwieksze));
    TRozmiar r;
    r.W = RozmiarRysunkuProfilu.width();
    r.H = RozmiarRysunkuProfilu.height();
    if (arg.Wartosc("--rozmiar")) r = Rozmiar(arg);
    StanOkna(SzerokoscDomyslna, WysokoscDomyslna, false, bledy);
    const bool ok = Wczytaj(arg.Pozycyjne, bledy, OpcjeWczytania(arg));
    if (const std::optional<int> kod = KodBezTrasy(ok, bledy)) return *kod;
    if (obraz) {
        // The slider stands on whole metres: the chainage is rounded as its position would be.
        const TDaneRysunkuProfilu dane = ObliczDaneRysunkuProfilu(
            std::round(PikietaNaTrasie(pikieta, "--pikieta", bledy)), przewyzszenie);
        if (!ZapiszPng(ObrazProfilu(dane, QSize(r.W, r.H)), *obraz, bledy)) return KodBladPliku;
        return KodKoncowy(ok);
    }
    if (Trasa.PikMax / krok > NajwiecejWierszy) throw BladUzycia("krok jest za mały dla tej trasy");
    std::string tekst = "pikieta;X;Y;Z_proj;Z_teren;roznica\n";
    const TIndeksyWysokosci ix = IndeksyWysokosci(ProjektOkna);
    for (const TPunktProfilu& p :
         ObliczProfil(Trasa, PikietyZaokraglone(Trasa.PikStart, Trasa.PikMax, krok), *ix.PROJ, *ix.TEREN))
        tekst += Stala(Trasa.PikStart + p.Pikieta, 4) + ';' + Stala(p.X, 4) + ';' + Stala(p.Y, 4) + ';' +
                 PoleWysokosci(p.ZProj) + ';' + PoleWysokosci(p.ZTeren) + ';' + PoleWysokosci(p.Roznica()) + '\n';
    wyjscie << tekst;
    wyjscie.flush();
    return KodKoncowy(ok);
}

int Niweleta(const std::vector<std::string>& a, std::ostream& wyjscie, std::ostream& bledy) {
    const TArgumenty arg = Rozbierz(a, 1, ZOpcjamiLandXML({{"--krok", {true}}}));
    SprawdzPliki(arg.Pozycyjne);
    const double krok = Liczba(arg, "--krok", 10.0);
    if (!(krok > 0.0)) throw BladUzycia("krok musi być liczbą dodatnią");
    StanOkna(SzerokoscDomyslna, WysokoscDomyslna, false, bledy);
    const bool ok = Wczytaj(arg.Pozycyjne, bledy, OpcjeWczytania(arg));
    if (const std::optional<int> kod = KodBezTrasy(ok, bledy)) return *kod;
    if (Trasa.Niweleta.Pusta()) {
        bledy << "orvany3d-cli: trasa nie ma niwelety (Profile/ProfAlign w pliku LandXML); niweleta pochodzi tylko "
                 "z trasy pliku LandXML.\n";
        return KodBladPliku;
    }
    if (Trasa.PikMax / krok > NajwiecejWierszy) throw BladUzycia("krok jest za mały dla tej trasy");
    // The stations of the station table; the design line where it is (the fields empty elsewhere).
    std::string tekst = "pikieta;Z;pochylenie\n";
    for (const double s : PikietyZaokraglone(Trasa.PikStart, Trasa.PikMax, krok)) {
        const double pik = Trasa.PikStart + s;
        const std::optional<double> z = WysokoscNiwelety(Trasa.Niweleta, pik);
        const std::optional<double> g = PochylenieNiwelety(Trasa.Niweleta, pik);
        tekst += Stala(pik, 4) + ';' + PoleWysokosci(z) + ';' + (g ? Stala(*g * 100, 3) : std::string()) + '\n';
    }
    wyjscie << tekst;
    wyjscie.flush();
    return KodKoncowy(ok);
}

}  // namespace cli
