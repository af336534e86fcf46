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
    TWczytane w = Wczytaj(arg.Pozycyjne, bledy, OpcjeWczytania(arg));
    const bool ok = w.Ok;
    // The report is the window's after the load; the route report already
    // ends with the messages of the last route build.
    for (const std::string& l : RaportPoWczytaniu(std::move(w.Projekt), std::move(w.KomunikatyTrasy)))
        wyjscie << l << '\n';
    wyjscie.flush();
    return KodKoncowy(ok);
}

int Pikiety(const std::vector<std::string>& a, std::ostream& wyjscie, std::ostream& bledy) {
    const TPolecenieNaTrasie p = PolecenieNaTrasie(a, {}, bledy);
    if (p.Kod) return *p.Kod;
    const DaneUstawieniaTrasy& trasa = p.Wczytane.Projekt.Trasa;
    // The route's points only: no heights asked for.
    const TIndeksWysokosci bezPowierzchni;
    wyjscie << TabelaPikiet(trasa, p.Krok, "pikieta;X;Y;kierunek\n", bezPowierzchni, bezPowierzchni,
                            [&](const TPunktProfilu& q) { return Stala(KatNaPikiecie(trasa, q.Pikieta), 6); });
    wyjscie.flush();
    return KodKoncowy(p.Wczytane.Ok);
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
    const TWczytane w = Wczytaj(arg.Pozycyjne, bledy, OpcjeWczytania(arg));
    const bool ok = w.Ok;
    if (const std::optional<int> kod = KodBezTrasy(w, bledy)) return *kod;
    const DaneUstawieniaTrasy& trasa = w.Projekt.Trasa;
    std::string tekst = "odleglosc;X;Y;Z_proj;Z_teren\n";
    const TIndeksyWysokosci ix = IndeksyWysokosci(w.Projekt);
    for (const TPunktProfilu& p : ObliczPrzekroj(trasa, PikietaNaTrasie(trasa, pikieta, "--pikieta", bledy), szerokosc,
                                                 krok, *ix.PROJ, *ix.TEREN))
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
    const TWczytane wczytane = Wczytaj(arg.Pozycyjne, bledy, OpcjeWczytania(arg));
    const bool ok = wczytane.Ok;
    if (const std::optional<int> kod = KodBezTrasy(wczytane, bledy)) return *kod;
    const TProjekt& projekt = wczytane.Projekt;
    SprawdzIleWierszy(projekt.Trasa, u.Krok);
    const TIndeksyWysokosci ix = IndeksyWysokosci(projekt);
    const auto wiersze = ObliczWidocznosc({projekt.Trasa, projekt.ParametryProjektowe}, u, *ix.PROJ, *ix.TEREN);
    std::string tekst = "pikieta;kierunek;dostepna;wymagana;ocena;granica;X;Y;Z;powierzchnia\n";
    for (const TWierszWidocznosci& w : *wiersze) {
        tekst += Stala(projekt.Trasa.PikStart + w.Pikieta, 4) + (w.Kierunek > 0 ? ";+;" : ";-;") +
                 Stala(w.Dostepna, 2) + ';' + (std::isfinite(w.Wymagana) ? Stala(w.Wymagana, 2) : std::string("inf")) +
                 ';' + (w.Ocena ? "tak" : "nie") + ';' + TekstGranicy(w.Granica) + ';';
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
    double pikieta = 0.0, przewyzszenie = PrzewyzszenieDomyslne;
    TRozmiar r;
    r.W = RozmiarRysunkuProfilu.width();
    r.H = RozmiarRysunkuProfilu.height();
    TPolecenieNaTrasie p = PolecenieNaTrasie(
        a, {{"--obraz", {true}}, {"--pikieta", {true}}, {"--przewyzszenie", {true}}, {"--rozmiar", {true}}}, bledy,
        [&](const TArgumenty& arg) {
            const std::string* obraz = arg.Wartosc("--obraz");
            if (obraz && !KonczySiePng(*obraz)) throw BladUzycia("opcja --obraz: plik obrazu musi mieć końcówkę .png");
            if (!obraz && (arg.Wartosc("--pikieta") || arg.Wartosc("--przewyzszenie") || arg.Wartosc("--rozmiar")))
                throw BladUzycia("opcje --pikieta, --przewyzszenie i --rozmiar działają tylko z --obraz");
            pikieta = Liczba(arg, "--pikieta", 0.0);
            przewyzszenie = Liczba(arg, "--przewyzszenie", PrzewyzszenieDomyslne);
            if (!std::isfinite(pikieta)) throw BladUzycia("pikieta musi być liczbą skończoną");
            if (!(przewyzszenie >= PrzewyzszenieNajmniejsze && przewyzszenie <= PrzewyzszenieNajwieksze))
                throw BladUzycia("przewyższenie musi leżeć między " + G2(PrzewyzszenieNajmniejsze) + " a " +
                                 G2(PrzewyzszenieNajwieksze));
            if (arg.Wartosc("--rozmiar")) r = Rozmiar(arg);
        });
    if (p.Kod) return *p.Kod;
    const bool ok = p.Wczytane.Ok;
    if (const std::string* obraz = p.Arg.Wartosc("--obraz")) {
        // The drawing is the window's: the project becomes the window's first.
        const TProjekt& projekt = PokazWczytane(p.Wczytane);
        // The slider stands on whole metres: the chainage is rounded as its position would be.
        const TDaneRysunkuProfilu dane = ObliczDaneRysunkuProfilu(
            std::round(PikietaNaTrasie(projekt.Trasa, pikieta, "--pikieta", bledy)), przewyzszenie);
        if (!ZapiszPng(ObrazProfilu(dane, QSize(r.W, r.H)), *obraz, bledy)) return KodBladPliku;
        return KodKoncowy(ok);
    }
    const TIndeksyWysokosci ix = IndeksyWysokosci(p.Wczytane.Projekt);
    wyjscie << TabelaPikiet(p.Wczytane.Projekt.Trasa, p.Krok, "pikieta;X;Y;Z_proj;Z_teren;roznica\n", *ix.PROJ,
                            *ix.TEREN, [](const TPunktProfilu& q) {
                                return PoleWysokosci(q.ZProj) + ';' + PoleWysokosci(q.ZTeren) + ';' +
                                       PoleWysokosci(q.Roznica());
                            });
    wyjscie.flush();
    return KodKoncowy(ok);
}

int Niweleta(const std::vector<std::string>& a, std::ostream& wyjscie, std::ostream& bledy) {
    const TPolecenieNaTrasie p = PolecenieNaTrasie(a, {}, bledy);
    if (p.Kod) return *p.Kod;
    const DaneUstawieniaTrasy& trasa = p.Wczytane.Projekt.Trasa;
    if (trasa.Niweleta.Pusta()) {
        bledy << "orvany3d-cli: trasa nie ma niwelety (Profile/ProfAlign w pliku LandXML); niweleta pochodzi tylko "
                 "z trasy pliku LandXML.\n";
        return KodBladPliku;
    }
    // The stations of the station table; the design line where it is (the fields empty elsewhere).
    std::string tekst = "pikieta;Z;pochylenie\n";
    for (const double s : PikietyTabeli(trasa, p.Krok)) {
        const double pik = trasa.PikStart + s;
        const std::optional<double> z = WysokoscNiwelety(trasa.Niweleta, pik);
        const std::optional<double> g = PochylenieNiwelety(trasa.Niweleta, pik);
        tekst += Stala(pik, 4) + ';' + PoleWysokosci(z) + ';' + (g ? Stala(*g * 100, 3) : std::string()) + '\n';
    }
    wyjscie << tekst;
    wyjscie.flush();
    return KodKoncowy(p.Wczytane.Ok);
}

}  // namespace cli
