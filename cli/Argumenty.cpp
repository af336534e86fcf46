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
#include "common/Funkcje.h"
#include "common/ZapisBezpieczny.h"
#include "dialogs/RysunekProfilu.h"
#include "model/ZapisywanieOdczytywanie.h"
#include "model/Zmienne.h"
#include "render/RysujPerspektywa.h"
#include "render/qt/PlotnoQt.h"
#include "route/Lancuch.h"
#include "route/OblTrasa.h"
#include "scena/InfoProjekt.h"
#include "scena/Scena.h"
#include "scena/WidokKierowcy.h"
#include "wymiana/GLTF.h"
#include "wymiana/LandXML.h"

namespace cli {

// Options may stand anywhere after the command, as "--opcja wartość" or
// "--opcja=wartość"; after "--" every argument is a name.
TArgumenty Rozbierz(const std::vector<std::string>& a, std::size_t od, const std::map<std::string, TOpcja>& znane) {
    TArgumenty w;
    bool tylkoNazwy = false;
    for (std::size_t i = od; i < a.size(); ++i) {
        const std::string& s = a[i];
        if (tylkoNazwy || s.size() < 2 || s.compare(0, 2, "--") != 0) {
            w.Pozycyjne.push_back(s);
            continue;
        }
        if (s == "--") {
            tylkoNazwy = true;
            continue;
        }
        const std::size_t rowna = s.find('=');
        const std::string nazwa = s.substr(0, rowna);
        auto it = znane.find(nazwa);
        if (it == znane.end()) throw BladUzycia("nieznana opcja „" + nazwa + "”");
        if (!it->second.ZWartoscia) {
            if (rowna != std::string::npos) throw BladUzycia("opcja " + nazwa + " nie przyjmuje wartości");
            w.Flagi.insert(nazwa);
        } else if (rowna != std::string::npos) {
            w.Wartosci[nazwa] = s.substr(rowna + 1);
        } else {
            if (i + 1 >= a.size()) throw BladUzycia("brak wartości opcji " + nazwa);
            w.Wartosci[nazwa] = a[++i];
        }
    }
    return w;
}

double Liczba(const TArgumenty& a, const std::string& nazwa, double domyslna) {
    const std::string* t = a.Wartosc(nazwa);
    if (!t) return domyslna;
    double v = 0.0;
    if (!SprobujRzeczywista(*t, v)) throw BladUzycia("opcja " + nazwa + ": „" + *t + "” nie jest liczbą");
    return v;
}

TRozmiar Rozmiar(const TArgumenty& a) {
    TRozmiar r;
    const std::string* t = a.Wartosc("--rozmiar");
    if (!t) return r;
    const std::size_t x = t->find_first_of("xX");
    std::int32_t w = 0, h = 0;
    if (x == std::string::npos || !SprobujCalkowita(std::string_view(*t).substr(0, x), w) ||
        !SprobujCalkowita(std::string_view(*t).substr(x + 1), h) || w < 1 || h < 1 || w > NajwiekszyBok ||
        h > NajwiekszyBok)
        throw BladUzycia("opcja --rozmiar: „" + *t + "” nie jest rozmiarem SZERxWYS (od 1x1 do " +
                         std::to_string(NajwiekszyBok) + "x" + std::to_string(NajwiekszyBok) + ")");
    r.W = w;
    r.H = h;
    return r;
}

bool PlikDanych(const std::string& nazwa) { return RodzajPliku(nazwa) != TRodzajPliku::Inny; }

void SprawdzPliki(const std::vector<std::string>& pliki) {
    if (pliki.empty()) throw BladUzycia("nie podano plików danych");
    for (const std::string& p : pliki)
        if (!PlikDanych(p))
            throw BladUzycia("„" + p +
                             "” nie jest plikiem .tro, .mtp, LandXML (.xml) ani siatką NMT (.asc, .xyz, .tif)");
}

// The choice of surfaces and alignment of LandXML files and how elevation grids become the terrain, taken by every
// command that loads files.
const std::map<std::string, TOpcja> kOpcjeLandXML = {
    {"--teren", {true}},       {"--proj", {true}},       {"--trasa", {true}},       {"--profil", {true}},
    {"--bez-terenu", {false}}, {"--bez-proj", {false}},  {"--bez-trasy", {false}},  {"--tolerancja", {true}},
    {"--pas", {true}},         {"--zamien-xy", {false}}, {"--uklad-pliku", {true}}, {"--uklad", {true}}};

std::map<std::string, TOpcja> ZOpcjamiLandXML(std::map<std::string, TOpcja> znane) {
    znane.insert(kOpcjeLandXML.begin(), kOpcjeLandXML.end());
    return znane;
}

TWyborLandXML WyborLandXML(const TArgumenty& a) {
    TWyborLandXML w;
    if (const std::string* t = a.Wartosc("--teren")) w.Teren = *t;
    if (const std::string* t = a.Wartosc("--proj")) w.Proj = *t;
    if (const std::string* t = a.Wartosc("--trasa")) w.Trasa = *t;
    if (const std::string* t = a.Wartosc("--profil")) w.Profil = *t;
    w.BezTerenu = a.Flagi.count("--bez-terenu") > 0;
    w.BezProj = a.Flagi.count("--bez-proj") > 0;
    w.BezTrasy = a.Flagi.count("--bez-trasy") > 0;
    if (w.BezTerenu && !w.Teren.empty()) throw BladUzycia("opcje --teren i --bez-terenu wykluczają się");
    if (w.BezProj && !w.Proj.empty()) throw BladUzycia("opcje --proj i --bez-proj wykluczają się");
    if (w.BezTrasy && !w.Trasa.empty()) throw BladUzycia("opcje --trasa i --bez-trasy wykluczają się");
    return w;
}

namespace {
// An EPSG code of an option (a positive whole number, "EPSG:" allowed before it); 0 when not given.
int KodEPSG(const TArgumenty& a, const std::string& nazwa) {
    const std::string* t = a.Wartosc(nazwa);
    if (!t) return 0;
    std::string_view v = *t;
    if (v.size() > 5 && (v.substr(0, 5) == "EPSG:" || v.substr(0, 5) == "epsg:")) v.remove_prefix(5);
    std::int32_t k = 0;
    if (!SprobujCalkowita(v, k) || k <= 0)
        throw BladUzycia("opcja " + nazwa + ": „" + *t + "” nie jest kodem EPSG (np. 2180 albo EPSG:2180)");
    return k;
}
}  // namespace

TOpcjeWczytania OpcjeWczytania(const TArgumenty& a) {
    TOpcjeWczytania o;
    o.NMT.Tolerancja = Liczba(a, "--tolerancja", o.NMT.Tolerancja);
    if (!(o.NMT.Tolerancja >= 0.0) || !std::isfinite(o.NMT.Tolerancja))
        throw BladUzycia("opcja --tolerancja: tolerancja musi być liczbą nieujemną");
    o.NMT.Pas = Liczba(a, "--pas", 0.0);
    if (!(o.NMT.Pas > 0.0) || !std::isfinite(o.NMT.Pas)) {
        if (a.Wartosc("--pas")) throw BladUzycia("opcja --pas: szerokość pasa musi być liczbą dodatnią");
        o.NMT.Pas = 0.0;
    }
    o.NMT.ZamienXY = a.Flagi.count("--zamien-xy") > 0;
    o.NMT.UkladPliku = KodEPSG(a, "--uklad-pliku");
    o.NMT.Uklad = KodEPSG(a, "--uklad");
    o.LandXML = WyborLandXML(a);
    return o;
}

// A chainage as the user sees it (the route's start chainage included) to one of the route.
double PikietaTrasy(const DaneUstawieniaTrasy& trasa, double pokazana) { return pokazana - trasa.PikStart; }

double PikietaNaTrasie(const DaneUstawieniaTrasy& trasa, double pokazana, const char* opcja, std::ostream& bledy) {
    const double s = PikietaTrasy(trasa, pokazana), pocz = trasa.PikMin, kon = trasa.PikMax;
    if (s >= pocz && s <= kon) return s;
    const double w = std::clamp(s, pocz, kon);
    bledy << "Uwaga: pikieta " << F2(pokazana) << " (" << opcja << ") leży poza trasą (od " << F2(trasa.PikStart + pocz)
          << " do " << F2(trasa.PikStart + kon) << "); użyto " << (s < pocz ? "początku" : "końca") << " trasy, "
          << F2(trasa.PikStart + w) << ".\n";
    return w;
}
// ---------------------------------------------------------------------------
// The state of the window and the loads.

// The state of a fresh main window with a paint area of W x H after its first
// resize: a fresh project, start values, the sky picture, the eye at its working place.
void StanOkna(int W, int H, bool zNiebem, std::ostream& bledy) {
    UstawStanOkna(W, H);
    WidokKierowcy = TWidokKierowcy{};
    Niebo = TObraz{};
    if (!zNiebem) return;
    // The window takes the sky from beside the program; without it the far wall stays empty.
    const QString brak = WczytajNiebo(KatalogProgramu());
    if (!brak.isEmpty()) bledy << brak.toStdString() << '\n';
}

// Opens the files one after another as the window's open flows do, into a
// fresh project. A file that fails leaves the project as it was; its message
// goes to `bledy`.
TWczytane Wczytaj(const std::vector<std::string>& pliki, std::ostream& bledy, const TOpcjeWczytania& opcje) {
    TWczytane w;
    for (const std::vector<std::string>& p : GrupyPlikow(pliki)) {
        try {
            WczytajGrupe(w.Projekt, w.KomunikatyTrasy, p, {}, opcje.LandXML, opcje.NMT);
        } catch (const std::exception& e) {
            bledy << e.what() << '\n';
            w.Ok = false;
        }
    }
    return w;
}

const TProjekt& PokazWczytane(TWczytane& wczytane) {
    return PokazProjekt(std::move(wczytane.Projekt), wczytane.KomunikatyTrasy);
}

void PiszKomunikatyTrasy(const TWczytane& wczytane, std::ostream& bledy) {
    for (const std::string& k : wczytane.KomunikatyTrasy) bledy << k << '\n';
}

// After the files of a command that needs the built route: the route build's
// messages on stderr and, when the route is not built, that message and the
// exit code (nothing is written then).
std::optional<int> KodBezTrasy(const TWczytane& wczytane, std::ostream& bledy) {
    PiszKomunikatyTrasy(wczytane, bledy);
    if (wczytane.Projekt.Trasa.Obliczona) return std::nullopt;
    bledy << "Trasa nie jest obliczona.\n";
    return wczytane.Ok ? KodBrakTrasy : KodBladPliku;
}

TPolecenieNaTrasie PolecenieNaTrasie(const std::vector<std::string>& a, std::map<std::string, TOpcja> opcje,
                                     std::ostream& bledy, const std::function<void(const TArgumenty&)>& sprawdz,
                                     bool zProjektem) {
    opcje.insert({"--krok", {true}});
    TPolecenieNaTrasie p;
    p.Arg = Rozbierz(a, 1, ZOpcjamiLandXML(std::move(opcje)));
    SprawdzPliki(p.Arg.Pozycyjne);
    p.Krok = Liczba(p.Arg, "--krok", 10.0);
    if (!(p.Krok > 0.0) || !std::isfinite(p.Krok)) throw BladUzycia("krok musi być liczbą dodatnią");
    if (sprawdz) sprawdz(p.Arg);
    StanOkna(SzerokoscDomyslna, WysokoscDomyslna, false, bledy);
    p.Wczytane = Wczytaj(p.Arg.Pozycyjne, bledy, OpcjeWczytania(p.Arg));
    // A missing design surface is a file that lacks what the check needs: 1.
    if (zProjektem && p.Wczytane.Projekt.PROJ.Trojkaty.empty()) {
        PiszKomunikatyTrasy(p.Wczytane, bledy);
        bledy << "Brak powierzchni projektowanej (PROJ): nie ma czego sprawdzać.\n";
        p.Kod = KodBladPliku;
        return p;
    }
    p.Kod = KodBezTrasy(p.Wczytane, bledy);
    return p;
}

void SprawdzIleWierszy(const DaneUstawieniaTrasy& trasa, double krok) {
    if (trasa.PikMax / krok > NajwiecejWierszy) throw BladUzycia("krok jest za mały dla tej trasy");
}

std::vector<double> PikietyTabeli(const DaneUstawieniaTrasy& trasa, double krok) {
    SprawdzIleWierszy(trasa, krok);
    return PikietyZaokraglone(trasa.PikStart, trasa.PikMax, krok);
}

std::string TabelaPikiet(const DaneUstawieniaTrasy& trasa, double krok, std::string naglowek,
                         const TIndeksWysokosci& proj, const TIndeksWysokosci& teren,
                         const std::function<std::string(const TPunktProfilu&)>& dalej) {
    std::string tekst = std::move(naglowek);
    for (const double s : PikietyTabeli(trasa, krok)) {
        const TPunktProfilu p = PunktProfilu(trasa, s, proj, teren);
        tekst += Stala(trasa.PikStart + p.Pikieta, 4) + ';' + Stala(p.X, 4) + ';' + Stala(p.Y, 4) + ';' + dalej(p) +
                 '\n';
    }
    return tekst;
}

// The view at chainage c as the window places it (nothing changes without
// mesh triangles). In the driver's view a chainage where the road has no height gets the
// chainage view instead; the tool says so once per run.
void UstawNaPikiecieSuwaka(const DaneUstawieniaTrasy& trasa, double c, std::ostream& bledy, bool& powiedziane,
                           const TKadr& kadr) {
    if (UstawWidokNaPikiecie(c, true, kadr) == TUstawienie::BrakWysokosci && !powiedziane) {
        bledy << "Na pikiecie " << F2(trasa.PikStart + c)
              << " droga nie ma wysokości: zamiast widoku kierowcy widok z trasy.\n";
        powiedziane = true;
    }
}

// The driver's view options shared by obraz and przejazd.
const std::map<std::string, TOpcja> OpcjeKierowcy = {{"--kierowca", {false}},       {"--oko", {true}},
                                                     {"--przesuniecie", {true}},    {"--wstecz", {false}},
                                                     {"--przechylenie", {false}},   {"--slupki", {false}},
                                                     {"--szerokosc-drogi", {true}}, {"--uproszczony-teren", {false}}};

std::map<std::string, TOpcja> ZOpcjamiKierowcy(std::map<std::string, TOpcja> opcje) {
    opcje.insert(OpcjeKierowcy.begin(), OpcjeKierowcy.end());
    return opcje;
}

// The driver's view settings from the command line (after StanOkna).
void UstawKierowce(const TArgumenty& arg) {
    TWidokKierowcy& w = WidokKierowcy;
    w.Wlaczony = arg.Flagi.count("--kierowca") > 0;
    const bool opcjeOka = arg.Wartosc("--oko") || arg.Wartosc("--przesuniecie") || arg.Flagi.count("--wstecz") ||
                          arg.Flagi.count("--przechylenie") || arg.Flagi.count("--uproszczony-teren");
    if (opcjeOka && !w.Wlaczony)
        throw BladUzycia(
            "opcje --oko, --przesuniecie, --wstecz, --przechylenie i --uproszczony-teren działają tylko z --kierowca");
    w.PrzechylenieZDroga = arg.Flagi.count("--przechylenie") > 0;
    w.UproszczonyTeren = arg.Flagi.count("--uproszczony-teren") > 0;
    w.Oko.Wysokosc = Liczba(arg, "--oko", w.Oko.Wysokosc);
    if (!(w.Oko.Wysokosc > 0.0 && w.Oko.Wysokosc <= 100.0))
        throw BladUzycia("opcja --oko: wysokość oka musi leżeć między 0 a 100 m");
    w.Oko.Przesuniecie = Liczba(arg, "--przesuniecie", w.Oko.Przesuniecie);
    if (!(std::fabs(w.Oko.Przesuniecie) <= 100.0))
        throw BladUzycia("opcja --przesuniecie: przesunięcie musi leżeć między -100 a 100 m");
    w.Oko.WPrzod = arg.Flagi.count("--wstecz") == 0;
    if (w.Wlaczony) UstawOkoKierowcy(Rozmiar(arg).H);
    if (arg.Flagi.count("--slupki")) w.SlupkiKierowcy = w.SlupkiTrasy = true;
    SzerokoscDrogi(arg);
}

double SzerokoscDrogi(const TArgumenty& arg) {
    const double w = Liczba(arg, "--szerokosc-drogi", 7.0);
    if (!(w >= 1.0 && w <= 50.0))
        throw BladUzycia("opcja --szerokosc-drogi: szerokość drogi musi leżeć między 1 a 50 m");
    return w;
}

// Fixed notation with '.' whatever the locale; no "-0.0000".
std::string Stala(double v, int miejsca) {
    char bufor[64];
    auto [koniec, ec] = std::to_chars(bufor, bufor + sizeof bufor, v, std::chars_format::fixed, miejsca);
    if (ec != std::errc()) return "nan";
    std::string s(bufor, koniec);
    if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
    return s;
}

int KodKoncowy(bool plikiWczytane) { return plikiWczytane ? KodSukces : KodBladPliku; }

// Writes a file through `pisz` with the program's one safe writer; a failure
// (nothing to write, a target that is not a regular file, a full disk) is said
// on `bledy` and leaves the old target as it was.
bool ZapiszPlikWyjsciowy(const std::string& sciezka, const std::function<void(std::ostream&)>& pisz,
                         std::ostream& bledy) {
    try {
        ZapiszBezpiecznie(sciezka, pisz);
    } catch (const BladKonwersji& e) {
        bledy << e.what() << '\n';
        return false;
    }
    return true;
}

bool KonczySie(const std::string& nazwa, std::string_view koncowka) {
    if (nazwa.size() < koncowka.size()) return false;
    std::string e = nazwa.substr(nazwa.size() - koncowka.size());
    for (char& c : e) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return e == koncowka;
}

bool KonczySiePng(const std::string& nazwa) {
    if (nazwa.size() < 4) return false;
    std::string e = nazwa.substr(nazwa.size() - 4);
    for (char& c : e) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return e == ".png";
}

// A height to 3 decimals, or an empty field where the surface has none.
std::string PoleWysokosci(const std::optional<double>& z) { return z ? Stala(*z, 3) : std::string(); }

}  // namespace cli
