// The stopping sight distance along the road: for every station and each
// direction of travel, how far a driver sees a low object lying on the road
// ahead, against the distance needed to stop in front of it.
//
// Definitions (the command line, the window and the tests rely on them):
//  - stations s = 0, K, 2K, ... below the route's end, then the end itself;
//  - direction +1 drives with the chainage, -1 against it;
//  - the eye stands the offset O to the right of the direction of travel,
//    square to the route at s, H_oka above the design surface there (the
//    terrain where the design surface has no height): PunktNadDroga of analiza/OkoKierowcy;
//  - the target T(d) stands the same offset to the right of the same
//    direction of travel, square to the route at s + d (direction +1) or
//    s - d (-1), H_celu above the surface there;
//  - T(d) is visible when the segment eye-T(d) nowhere passes below PROJ, nor
//    below the ground a cutting leaves, strictly between its ends (Zasloniety).
//    In a cut the old terrain over the road is dug away (analiza/Wykop), so it
//    hides nothing (else every sight line in a cut would end at once);
//  - the available distance is the least d at which the target is hidden:
//    d walks outwards in steps of at most 1 m, the first hidden step is
//    narrowed by halving to 0.05 m and its upper end is the answer; when
//    every target up to the range or the route's end is visible, that limit
//    is the answer and the row says which;
//  - the required distance Lz = v t + v^2 / (2 (a + g i)), v = V / 3.6, i the
//    design surface's grade in the direction of travel averaged over Lz
//    (two passes from i = 0), g = 9.81;
//  - the row passes when available >= required, or when it is limited by
//    the route's end (the remaining road is then shorter than any distance
//    it could fail by).
//
// Distances are chainage differences along the route line. Everything here
// works in the local frame of the meshes and the route; the rows give the
// blocking point in the file's coordinates (the indices' shift added back).
// Nothing here changes any state, so the stations may be computed by several
// threads at once.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "analiza/Wysokosci.h"

constexpr double PrzyspieszenieZiemskie = 9.81;
// The finest step of the halving that narrows the first hidden step.
constexpr double DokladnoscWidocznosci = 0.05;
// The longest step of the outward walk.
constexpr double NajdluzszyKrokWidocznosci = 1.0;

// The road a check runs along: the built route and the design parameter
// table (the design speed of each station). Both are only read; they must
// outlive the check (the window's project does: no load runs meanwhile).
struct TDrogaWidocznosci {
    const DaneUstawieniaTrasy& Trasa;
    const std::vector<TParametryProjektowe>& Parametry;
};

// The settings of a check; the defaults are the program's own (see the user's guide).
struct TUstawieniaWidocznosci {
    double Krok = 10.0;          // K: station spacing, m
    double WysokoscOka = 1.0;    // H_oka, m above the surface
    double WysokoscCelu = 0.5;   // H_celu, m above the surface
    double Przesuniecie = 1.75;  // O: offset to the right of the direction of travel, m
    double Predkosc = 0.0;       // V, km/h; 0: the design speed of the parameter row at the station
    double Zasieg = 300.0;       // D: the farthest distance looked at, m
    double CzasReakcji = 2.5;    // t, s
    double Opoznienie = 3.4;     // a, m/s^2
    bool Naprzod = true;         // direction +1
    bool Wstecz = true;          // direction -1
};

// Why the available distance ends where it does.
enum class TGranicaWidocznosci : std::uint8_t {
    Przeszkoda,       // a target was hidden
    Zasieg,           // everything visible up to the range
    Koniec,           // everything visible up to the route's end
    BrakPowierzchni,  // the eye or a target has no surface under it: the check stops there
};

enum class TPowierzchniaWidocznosci : std::uint8_t { TEREN, PROJ };

// One row of the check: one station, one direction.
struct TWierszWidocznosci {
    double Pikieta = 0;     // the station
    int Kierunek = 1;       // +1 or -1
    double Dostepna = 0;    // available distance, m
    double Wymagana = 0;    // required distance Lz, m (infinite when a + g i <= 0)
    double Pochylenie = 0;  // the grade i used for Lz (rising in the direction of travel positive)
    double Predkosc = 0;    // V used, km/h
    bool Ocena = false;     // passes
    TGranicaWidocznosci Granica = TGranicaWidocznosci::Przeszkoda;
    // Where the segment to the first hidden target first passes below a
    // surface (file coordinates), and which surface; none unless Granica is Przeszkoda.
    std::optional<TPunkt3D> Przeszkoda;
    TPowierzchniaWidocznosci Powierzchnia = TPowierzchniaWidocznosci::TEREN;
};

// Lz for a speed V (km/h), reaction time t (s), deceleration a (m/s^2) and a
// grade i (m/m). Infinite when a + g i <= 0: on so steep a fall the vehicle
// cannot stop with that deceleration at all.
double DrogaZatrzymania(double predkosc, double czasReakcji, double opoznienie, double pochylenie);

// The grade of the design surface (else the terrain) along the driver's
// line (the offset to the right of the direction of travel) from s over the
// length `dlugosc` in the direction of travel, kept inside the route (at
// least 1 m long); 0 where a height is missing.
double PochylenieNaDlugosci(const DaneUstawieniaTrasy& trasa, double s, int kierunek, double dlugosc,
                            double przesuniecie, const TIndeksWysokosci& proj, const TIndeksWysokosci& teren);

// The rule "visible" of the check, the station posts' labels and any other
// line of sight: the segment e-t (mesh coordinates) is hidden when it passes
// below the design surface, or below the ground a cutting leaves (`terenPoza`:
// TerenPozaWykopem of analiza/Wykop), by more than TolerancjaWysokosci
// anywhere strictly between its ends. Exact against the triangles.
bool Zasloniety(const TPunkt3D& e, const TPunkt3D& t, const TIndeksWysokosci& proj, const TIndeksWysokosci& terenPoza);
// The same for one line of sight from the whole terrain's index: only the
// terrain triangles along the segment are taken (for a few lines, where
// cutting the whole terrain would cost more than the questions), their pieces
// from `pociete` (PrzytnijSiatke of the mesh the index was built from) when given.
struct TTerenWykopu;
bool ZaslonietyOdcinek(const TPunkt3D& e, const TPunkt3D& t, const TIndeksWysokosci& proj,
                       const TIndeksWysokosci& teren, const TTerenWykopu* pociete = nullptr);

// The row of one station and direction; `terenPoza` is TerenPozaWykopem of the terrain.
TWierszWidocznosci SprawdzWidocznoscNaPikiecie(const TDrogaWidocznosci& droga, double s, int kierunek,
                                               const TUstawieniaWidocznosci& u, const TIndeksWysokosci& proj,
                                               const TIndeksWysokosci& terenPoza);

// Progress of a run: stations-directions done and their total. Called on the
// calling thread only.
using TPostepWidocznosci = std::function<void(std::int64_t zrobione, std::int64_t wszystkie)>;

// The whole check over the stations of the built route: the rows in station
// order, the +1 row before the -1 row of each station. The stations are split
// among `watki` threads (0: as many as the machine has cores); the result does
// not depend on the split. None when `przerwij` was set before the end
// (nothing else changes). Raises BladKonwersji for settings that make no sense
// (the message says which) and when neither surface has a triangle (there is
// nothing to drive on); none when the route is not built.
std::optional<std::vector<TWierszWidocznosci>> ObliczWidocznosc(
    const TDrogaWidocznosci& droga, const TUstawieniaWidocznosci& u, const TIndeksWysokosci& proj,
    const TIndeksWysokosci& teren, const TPostepWidocznosci& postep = {}, const std::atomic<bool>* przerwij = nullptr,
    int watki = 0);

// Checks the settings; the Polish message of the first wrong one, or an empty text.
std::string BladUstawienWidocznosci(const TUstawieniaWidocznosci& u);

// A stretch of consecutive failing stations of one direction.
struct TOdcinekWidocznosci {
    int Kierunek = 1;
    double Od = 0, Do = 0;              // first and last failing station
    double Dostepna = 0, Wymagana = 0;  // of the worst row (the greatest shortfall)
    TPowierzchniaWidocznosci Powierzchnia = TPowierzchniaWidocznosci::TEREN;
    bool ZPrzeszkoda = false;             // the worst row was hidden by a surface
    double Predkosc = 0, Pochylenie = 0;  // V and i of the worst row
};

// The failing stretches, the + direction first, each in chainage order.
std::vector<TOdcinekWidocznosci> OdcinkiNiespelniajace(const std::vector<TWierszWidocznosci>& wiersze);

// The report for the text viewer: the settings and the speeds used, one line
// per failing stretch with the chainages shown (pikStart, the route's start
// chainage, added): "km 0+420 – km 0+510, kierunek +: dostępna 85,3 m <
// wymagana 104,9 m (V = 70 km/h, i = -2,1 %), cel zasłania TEREN", and a
// summary. The target ("cel") is what the driver must see; what hides it is
// named by the verb "zasłania".
std::vector<std::string> RaportWidocznosci(const std::vector<TWierszWidocznosci>& wiersze,
                                           const TUstawieniaWidocznosci& u, double pikStart);

// The PROJ mesh triangles on the failing stretches: those under the lane of
// the direction (from the axis to twice the offset to the right of the
// direction of travel), half a station spacing beyond each stretch's ends.
// Sorted, each once.
std::vector<std::int32_t> TrojkatyOdcinkow(const DaneUstawieniaTrasy& trasa,
                                           const std::vector<TOdcinekWidocznosci>& odcinki, double krok,
                                           double przesuniecie, const TIndeksWysokosci& proj);

// Texts of the enumerations as the command line writes them.
const char* TekstGranicy(TGranicaWidocznosci g);           // "", "zasieg", "koniec", "brak"
const char* TekstPowierzchni(TPowierzchniaWidocznosci p);  // "TEREN", "PROJ"
