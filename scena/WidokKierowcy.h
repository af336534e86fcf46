// The driver's view: its settings, the placing of the scene at a chainage
// (the driver's eye or the route point of the chainage view), the station
// posts beside the road, the panel's texts for a chainage and the step of a
// drive at a speed. No Qt: the window, the command-line tool, the benchmarks
// and the tests call the same flows.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "analiza/OkoKierowcy.h"
#include "model/Projekt.h"
#include "render/Kadr.h"
#include "scena/TerenDaleki.h"

struct TTerenWykopu;
struct TTrojkatWysokosci;

// The ground of the driver's view: TEREN cut against the design surface
// (analiza/Wykop), made at the first driver's frame after a load for the mesh
// and the design surface's index it was made from, and read by every frame
// after it until the next load forgets it (ZapomnijTerenWykopu).
struct TTerenWidoku {
    const TTrojkat* Teren = nullptr;
    std::size_t IleTerenu = 0;
    const TTrojkatWysokosci* Proj = nullptr;
    std::size_t IleProj = 0;
    std::shared_ptr<const TTerenWykopu> Wynik;
};

// The coarse far ground of the driver's view (scena/TerenDaleki), made at the
// first frame that asks for it after a load, for the mesh and the heights
// indices it was made from, and forgotten with the cut ground.
struct TTerenDalekiWidoku {
    const TTrojkat* Teren = nullptr;
    std::size_t IleTerenu = 0;
    const TIndeksWysokosci *IndeksTerenu = nullptr, *IndeksProj = nullptr;
    std::shared_ptr<const TTerenDaleki> Wynik;
};

// The settings of the mode (process-wide, set by the window's controls, the
// options dialog and the command line) and the ground it draws.
struct TWidokKierowcy {
    bool Wlaczony = false;            // the chainage view puts the eye where a driver sits
    TUstawieniaOka Oko;               // eye height, lateral offset, direction of travel
    bool PochylenieZaDroga = true;    // the view tilts with the grade (off: always level)
    bool PrzechylenieZDroga = false;  // the view rolls with the lane's cross-fall, as a car in a superelevated bend
    double Bliska = 0.3;              // near cutting depth, m in front of the eye
    double Zasieg = 1000.0;           // far cutting depth, m in front of the eye
    bool SlupkiKierowcy = true;       // station posts in the driver's view
    bool SlupkiTrasy = false;         // station posts in the chainage view
    double OdstepSlupkow = 100.0;     // m between the posts
    double OdsuniecieSlupkow = 6.0;   // m from the route line, to the right of the chainage direction
    double PredkoscKmh = 60.0;        // speed of the drive
    bool UproszczonyTeren = false;    // the ground far from the eye drawn from a coarse grid (faster)
    TTerenWidoku Teren;               // the cut ground, made by the first driver's frame
    TTerenDalekiWidoku Daleki;        // the coarse far ground, made by the first frame that draws it
};
extern TWidokKierowcy WidokKierowcy;

// Forgets the driver's view's ground (TEREN cut where a cutting removes it,
// and the coarse far ground), which the first driver's frame after it makes
// again: the load sequence and a fresh program call it, as the meshes change.
void ZapomnijTerenWykopu();

// The width of the road drawn from the route's design line where there is
// no design surface (route/Wstega.h): the project's ribbon made again at that
// width (and its heights indices marked, when the ribbon is the design surface).
void UstawSzerokoscDrogi(TProjekt& p, double szerokosc);

// ---- Station posts ----

// The chainages of the posts: the multiples of odstep within [pikMin, pikMax]
// (computed, not summed). Empty when odstep is not positive or the range not finite.
std::vector<double> PikietySlupkow(double pikMin, double pikMax, double odstep);
// A post's label, the chainage rounded to the metre: "0+100", "2+350"; at a
// whole kilometre "km 1+000".
std::string TekstSlupka(double s);
// Fills TrojkatySlupkow and NapisySlupkow with the posts of the route
// (meshes' coordinates), every OdstepSlupkow of the chainage shown (PikStart added), OdsuniecieSlupkow to the right
// of the chainage direction, standing on the road surface. With an eye, a
// label whose post top the eye cannot see over the surfaces is hidden, and
// posts farther than Zasieg from the eye are left out; a label for which
// `mozeBycPokazany` (given the label in the scene's coordinates) says false is
// hidden without looking.
void ZbudujSlupki(const TPunkt3D* oko = nullptr, const std::function<bool(const TNapisRys&)>& mozeBycPokazany = {});
// The posts of the driver's view from the eye `p` (PolozenieOka) with the
// settings of WidokKierowcy, for a picture of the size `kadr`: the sight over
// the surfaces is looked at only for a label the frame could write (in front
// of the eye, near enough, in the picture; render's NapisMozeBycPokazany), and
// every label the frame writes is seen or hidden as ZbudujSlupki(&p.Oko) says.
void ZbudujSlupkiKierowcy(const TPolozenieOka& p, const TKadr& kadr);

// ---- Placing at a chainage ----

// Where a level line of sight meets the driver's picture: this share of the
// picture's height from its top.
constexpr double UdzialHoryzontu = 0.45;
// The observer's height for the driver's view in a paint area H pixels high
// (the horizon at UdzialHoryzontu); the window and the tool set it when the
// mode is on, the chainage view keeps the window's own eye.
void UstawOkoKierowcy(int H);

enum class TUstawienie {
    BrakSiatek,     // neither set has a mesh triangle: nothing changed
    Trasa,          // the chainage view (route point at the foot of the screen centre)
    Kierowca,       // the driver's view
    BrakWysokosci,  // the driver's view was asked for, but the road has no height there: the chainage view instead
};

// Places the view at chainage s: the driver's view when WidokKierowcy.Wlaczony,
// else the chainage view (the route point and direction at s looked up into
// Rzut, the posts when SlupkiTrasy). Rebuilds the render arrays from the
// meshes. With szukajPunktu false the chainage view is placed at the route
// point and direction last looked up (TrasaX, TrasaY, katT), as the window
// does again after a change of the cutting depths. `kadr` is the size of the
// picture to be drawn: the driver's view then leaves out what lies beside it
// (UmiescWOku); a picture of another size must be placed again.
TUstawienie UstawWidokNaPikiecie(double s, bool szukajPunktu = true, const TKadr& kadr = {});

// ---- Panel texts ----

// The route element at s: "prosta", "łuk R = 450 m, w prawo",
// "klotoida A = 160, w lewo" (the turn as seen in the direction of travel).
std::string TekstElementu(double s, bool wPrzod = true);
// The grade in the direction of travel and the element at s: "i = 2,35 %   prosta"
// ("i = –" where the design surface has no height).
std::string TekstSpadkuIElementu(double s, bool wPrzod = true);
// The panel's line for s (the chainage shown with the route's PikStart added):
// "km 1+234,56   H = 123,45 m   i = 2,35 %   prosta"
// (the design height in the file's heights, the grade in the direction of
// travel; "H = –" or "i = –" where the design surface has no height).
std::string TekstPanelu(double s, bool wPrzod = true);

// The status bar's text of the driver's eye at s in the file's coordinates
// (the load's origin added): "Oko kierowcy: X = 5500260,12 Y = 4600527,31
// Z = 181,75"; empty where the road has no height there.
std::string TekstOkaKierowcy(double s);

// ---- Driving at a speed ----

struct TKrokJazdy {
    double Pikieta = 0;
    bool Koniec = false;  // the route's end (or start, driving back) was reached: the drive stops
};
// The chainage after `sekundy` of driving at predkoscKmh from s, forwards or
// back, stopping at pikMin / pikMax. The distance follows the time, not the
// number of frames drawn.
TKrokJazdy KrokJazdy(double s, double predkoscKmh, double sekundy, bool wPrzod, double pikMin, double pikMax);
