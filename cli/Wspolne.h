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

#include "cli/Polecenia.h"
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
double PikietaTrasy(double pokazana);
// The same for a chainage the user gave in `opcja`; one outside the route is
// taken at the route's nearer end, with a warning on `bledy`.
double PikietaNaTrasie(double pokazana, const char* opcja, std::ostream& bledy);

// The state of a fresh main window with a paint area of W x H after its first
// resize: start values, the sky picture, the eye at its working place.
void StanOkna(int W, int H, bool zNiebem, std::ostream& bledy);
// Opens the files one after another as the window's open flows do. A file
// that fails leaves the model as it was; its message goes to `bledy`.
// Returns false when any file failed.
// Consecutive grids are one load (the sheets of one terrain).
bool Wczytaj(const std::vector<std::string>& pliki, std::ostream& bledy, const TOpcjeWczytania& opcje = {});
void PiszKomunikatyTrasy(std::ostream& bledy);
// After the files of a command that needs the built route: the route build's
// messages on stderr and, when the route is not built, that message and the
// exit code (nothing is written then).
std::optional<int> KodBezTrasy(bool ok, std::ostream& bledy);
// The view at chainage c as the window places it for a picture of the size
// `kadr` (the driver's view leaves out what lies beside it); a chainage without a road
// height in the driver's view is said once per run.
void UstawNaPikiecieSuwaka(double c, std::ostream& bledy, bool& powiedziane, const TKadr& kadr);
// The driver's view options shared by obraz and przejazd.
std::map<std::string, TOpcja> ZOpcjamiKierowcy(std::map<std::string, TOpcja> opcje);
// The driver's view settings from the command line (after StanOkna).
void UstawKierowce(const TArgumenty& arg);

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
