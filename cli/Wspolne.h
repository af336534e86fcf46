// The command-line tool's shared pieces: the command line's options, the
// window's fresh state and the loads, and the writers of its outputs. The
// commands live by kind: tables (Tabele.cpp), the design checks (Kontrole.cpp), pictures and films
// (Obrazy.cpp), the help text (Pomoc.cpp) and the dispatch with the
// conversions (Polecenia.cpp).
#pragma once

#include <QImage>
#include <QString>

#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "analiza/Profil.h"
#include "cli/Polecenia.h"
#include "model/Projekt.h"
#include "nmt/NMT.h"
#include "render/Kadr.h"
#include "wymiana/LandXML.h"

namespace cli {

// The main window's paint area at start.
constexpr int SzerokoscDomyslna = 958;
constexpr int WysokoscDomyslna = 637;
// Bounds that keep a mistyped argument from running for hours or asking for gigabytes.
constexpr int NajwiekszyBok = 8192;
constexpr double NajwiecejWierszy = 1e7;
constexpr double NajwiecejKlatek = 1e5;

// A wrong command line: the text says what is wrong.
class BladUzycia : public std::runtime_error {
public:
    explicit BladUzycia(const std::string& s) : std::runtime_error(s) {}
};

struct TOpcja {
    bool ZWartoscia;
};

struct TArgumenty {
    std::vector<std::string> Pozycyjne;
    std::map<std::string, std::string> Wartosci;
    std::set<std::string> Flagi;

    const std::string* Wartosc(const std::string& nazwa) const {
        auto it = Wartosci.find(nazwa);
        return it == Wartosci.end() ? nullptr : &it->second;
    }
};

struct TRozmiar {
    int W = SzerokoscDomyslna;
    int H = WysokoscDomyslna;
};

// Options may stand anywhere after the command, as "--opcja wartość" or
// "--opcja=wartość"; after "--" every argument is a name.
TArgumenty Rozbierz(const std::vector<std::string>& a, std::size_t od, const std::map<std::string, TOpcja>& znane);
// The number of an option, or the fallback when it is not given.
double Liczba(const TArgumenty& a, const std::string& nazwa, double domyslna);
// The picture's size of --rozmiar.
TRozmiar Rozmiar(const TArgumenty& a);
// The name of a data file (.tro, .mtp, LandXML).
bool PlikDanych(const std::string& nazwa);
// Every name a data file (.tro, .mtp, LandXML); raises BladUzycia otherwise.
void SprawdzPliki(const std::vector<std::string>& pliki);
// The choice of surfaces and alignment of LandXML files, taken by every command that loads files.
extern const std::map<std::string, TOpcja> kOpcjeLandXML;
std::map<std::string, TOpcja> ZOpcjamiLandXML(std::map<std::string, TOpcja> znane);
TWyborLandXML WyborLandXML(const TArgumenty& a);
// What the files of a command are read with: the LandXML choice and how elevation grids become the terrain
// (--tolerancja, --pas, --zamien-xy, --uklad-pliku, --uklad).
struct TOpcjeWczytania {
    TWyborLandXML LandXML;
    TOpcjeNMT NMT;
};
TOpcjeWczytania OpcjeWczytania(const TArgumenty& a);
// A chainage as the user sees it (the route's start chainage included) to one of the route.
double PikietaTrasy(const DaneUstawieniaTrasy& trasa, double pokazana);
// The same for a chainage the user gave in `opcja`; one outside the route is
// taken at the route's nearer end, with a warning on `bledy`.
double PikietaNaTrasie(const DaneUstawieniaTrasy& trasa, double pokazana, const char* opcja, std::ostream& bledy);

// The state of a fresh main window with a paint area of W x H after its first
// resize: start values, the sky picture, the eye at its working place.
void StanOkna(int W, int H, bool zNiebem, std::ostream& bledy);
// What the files of a command made: a project of its own (the window's is
// not touched until PokazWczytane), the messages of its route build, and
// whether every file was read.
struct TWczytane {
    TProjekt Projekt;
    std::vector<std::string> KomunikatyTrasy;
    bool Ok = true;
};
// Opens the files one after another as the window's open flows do, into a
// fresh project. A file that fails leaves the project as it was; its message
// goes to `bledy`. Consecutive grids are one load (the sheets of one terrain).
TWczytane Wczytaj(const std::vector<std::string>& pliki, std::ostream& bledy, const TOpcjeWczytania& opcje = {});
// The loaded project becomes the window's (the commands that draw it or
// report the window's view); returns the window's project.
const TProjekt& PokazWczytane(TWczytane& wczytane);
void PiszKomunikatyTrasy(const TWczytane& wczytane, std::ostream& bledy);
// After the files of a command that needs the built route: the route build's
// messages on stderr and, when the route is not built, that message and the
// exit code (nothing is written then).
std::optional<int> KodBezTrasy(const TWczytane& wczytane, std::ostream& bledy);
// The prologue shared by the commands that walk the built route in steps of
// --krok (pikiety, profil, niweleta and the design checks): the options (the
// command's `opcje`, --krok and the LandXML choice), the data files' names,
// --krok (a positive number, `krokDomyslny` when not given), the command's own
// checks of its options (`sprawdz`, before any file is read), a fresh state
// and the files read. Then, with `zProjektem`, a missing design surface ends
// the command with exit 1; without the built route it ends with the route's
// message and exit 3 (1 when a file failed). `Kod` set: the command ends there
// with that code, nothing written.
struct TPolecenieNaTrasie {
    TArgumenty Arg;
    double Krok = 10.0;
    TWczytane Wczytane;
    std::optional<int> Kod;
};
TPolecenieNaTrasie PolecenieNaTrasie(const std::vector<std::string>& a, std::map<std::string, TOpcja> opcje,
                                     std::ostream& bledy, const std::function<void(const TArgumenty&)>& sprawdz = {},
                                     bool zProjektem = false);
// A table's number of rows for the route in steps of krok is bounded: raises BladUzycia beyond it.
void SprawdzIleWierszy(const DaneUstawieniaTrasy& trasa, double krok);
// The stations of a table: the route's round chainages every krok (PikietyZaokraglone), within that bound.
std::vector<double> PikietyTabeli(const DaneUstawieniaTrasy& trasa, double krok);
// The station table of pikiety and profil: the header, then a row for every
// station (PikietyTabeli): the chainage shown, the route point's X and Y in
// the file's coordinates (4 decimals) and `dalej` of the point (its heights
// on `proj` and `teren`), each field after a ';'.
std::string TabelaPikiet(const DaneUstawieniaTrasy& trasa, double krok, std::string naglowek,
                         const TIndeksWysokosci& proj, const TIndeksWysokosci& teren,
                         const std::function<std::string(const TPunktProfilu&)>& dalej);
// The view at chainage c as the window places it for a picture of the size
// `kadr` (the driver's view leaves out what lies beside it); a chainage without a road
// height in the driver's view is said once per run.
void UstawNaPikiecieSuwaka(const DaneUstawieniaTrasy& trasa, double c, std::ostream& bledy, bool& powiedziane,
                           const TKadr& kadr);
// The driver's view options shared by obraz and przejazd.
std::map<std::string, TOpcja> ZOpcjamiKierowcy(std::map<std::string, TOpcja> opcje);
// The driver's view settings from the command line (after StanOkna).
void UstawKierowce(const TArgumenty& arg);
// The width of the road drawn from the design line (--szerokosc-drogi, 7.0 m by default); checked by UstawKierowce.
double SzerokoscDrogi(const TArgumenty& arg);

// Fixed notation with '.' whatever the locale; no "-0.0000".
std::string Stala(double v, int miejsca);
// A height to 3 decimals, or an empty field where the surface has none.
std::string PoleWysokosci(const std::optional<double>& z);
int KodKoncowy(bool plikiWczytane);
// The name ends with this (lower-case) ending in any letter case.
bool KonczySie(const std::string& nazwa, std::string_view koncowka);
bool KonczySiePng(const std::string& nazwa);
// Writes a file through `pisz` with the program's one safe writer; a failure
// is said on `bledy` and leaves the old target as it was.
bool ZapiszPlikWyjsciowy(const std::string& sciezka, const std::function<void(std::ostream&)>& pisz,
                         std::ostream& bledy);
// Encodes the picture in memory and writes it through the program's one safe writer.
bool ZapiszPng(const QImage& obraz, const std::string& sciezka, std::ostream& bledy);

// The commands; `a` is the whole command line, its command first.
int Raport(const std::vector<std::string>& a, std::ostream& wyjscie, std::ostream& bledy);
int Pikiety(const std::vector<std::string>& a, std::ostream& wyjscie, std::ostream& bledy);
int Przekroj(const std::vector<std::string>& a, std::ostream& wyjscie, std::ostream& bledy);
int Widocznosc(const std::vector<std::string>& a, std::ostream& wyjscie, std::ostream& bledy);
// The design checks (cli/Kontrole.cpp).
int Spadki(const std::vector<std::string>& a, std::ostream& wyjscie, std::ostream& bledy);
int Pochylenia(const std::vector<std::string>& a, std::ostream& wyjscie, std::ostream& bledy);
int Objetosci(const std::vector<std::string>& a, std::ostream& wyjscie, std::ostream& bledy);
int Profil(const std::vector<std::string>& a, std::ostream& wyjscie, std::ostream& bledy);
int Niweleta(const std::vector<std::string>& a, std::ostream& wyjscie, std::ostream& bledy);
int Obraz(const std::vector<std::string>& a, std::ostream& wyjscie, std::ostream& bledy);
int Przejazd(const std::vector<std::string>& a, std::ostream& wyjscie, std::ostream& bledy);

}  // namespace cli
