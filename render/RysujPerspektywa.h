// The perspective renderer: projection, shading, drawing of the records, the
// frame box with the sky and the parameters text, the cutting and depth
// sorts, and the view operations that move, scale and turn the render arrays.
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "common/Sortowanie.h"
#include "model/Zmienne.h"
#include "render/Kadr.h"
#include "render/Plotno.h"

// ---- Projection and shading ----

// Largest magnitude a projected coordinate is given to the canvas: far beyond
// any picture, yet small enough that the canvas's arithmetic cannot overflow.
constexpr double kGranicaEkranu = 2.0e9;

// A projected coordinate as the canvas takes it: truncated towards zero, held
// within kGranicaEkranu, 0 for NaN.
inline int NaCalkowitaEkranu(double v) {
    if (std::isnan(v)) return 0;
    if (v > kGranicaEkranu) v = kGranicaEkranu;
    if (v < -kGranicaEkranu) v = -kGranicaEkranu;
    return static_cast<int>(v);
}

// Column and row of a view-space point (x, depth y, height z) in a paint area
// of height H (inline: a frame projects every vertex it draws).
inline int EkranX(double x, double y) {
    const double gl = y - Rzut.OkoY;
    if (std::fabs(gl * Rzut.OkoY) <= 0.0001) return 0;
    return NaCalkowitaEkranu(Rzut.OkoX - Rzut.OkoY * (x - Rzut.OkoX) / std::fabs(gl));
}

inline int EkranY(double y, double z, int H) {
    const double gl = std::fabs(y - Rzut.OkoY);
    // At the eye's depth the point has no image; it is drawn on the eye's row.
    if (gl == 0.0) return NaCalkowitaEkranu(H - Rzut.OkoZ);
    return NaCalkowitaEkranu(H - (Rzut.OkoZ - Rzut.OkoY * (z - Rzut.OkoZ) / gl));
}

// Fill and outline colours of every record of Czworokaty, TrojkatyTEREN, TrojkatyPROJ, TrojkatySlupkow.
void PrzeliczRzut();
// The same for one record.
void CieniujTrojkat(TTrojkatRys& r);
void CieniujCzworokat(TCzworokatRys& r);

// ---- Frame box, sky and parameters ----

void Linia3D(TPlotno& plotno, double xa, double ya, double za, double xb, double yb, double zb, int H);
void RysujSciane(TPlotno& plotno, const TPunkt3D& a, const TPunkt3D& b, const TPunkt3D& c, const TPunkt3D& d, int H);
void RysujTlo(TPlotno& plotno, double x0, double y0, double z0, double dx, double dy, double dz, int H);
void PiszParametry(TPlotno& plotno, int x, int y);

// One record of a frame projected onto the picture, with its colours.
struct TWielokatEkranu {
    TPunktEkranu P[4];
    TKolor Pioro;
    TKolor Pedzel;
    int Ile;
};

// What a frame on a pixel canvas keeps for the next one. A large frame is
// drawn in two threads, each on its own band of rows; the split between the
// bands moves after every frame towards equal drawing times, and the array of
// projected records allocates nothing once it has grown to the scene. The
// window, the command-line tool and the benchmarks keep one each; a frame
// drawn without one starts afresh.
struct TPodzialKlatki {
    // Share of the paint area's rows that the upper band gets.
    double UdzialGornegoPasa = 0.5;
    // 0: two threads for a frame of at least 20000 records on a machine with
    // two cores or more, one otherwise; 1: always one; 2: always two (a
    // picture less than 64 rows high is drawn in one), whatever the machine.
    int Watki = 0;
    std::vector<TWielokatEkranu> Wielokaty;
    // The driver's view: its triangles in one drawing order across the sets.
    std::vector<const TTrojkatRys*> KolejnoscKierowcy;
};

// The whole frame of the main window's picture, W x H pixels, drawn on the canvas
// in its fixed order; empties the viewer's lines. The window copies the result to the screen.
// The picture is the same whichever way the frame is split.
void Przerysuj(TPlotno& plotno, int W, int H, TPodzialKlatki& podzial);
void Przerysuj(TPlotno& plotno, int W, int H);
// Could the frame write a station label of `znaki` characters whose anchor the
// view took to p (view space) into a W x H picture: in front of the eye, near
// enough to be read and reaching into the picture (W or H 0: a picture of
// unknown size, anywhere)? Says so for a little more than the drawing takes,
// so that a label it turns down is never written.
bool NapisMozeBycPokazany(const TPunkt3D& p, std::size_t znaki, int W, int H);
// The row of the horizon in the driver's view (where a level line of sight meets the picture).
int WierszHoryzontu(int H);
// The horizon's row at column x of the driver's picture: WierszHoryzontu's
// line, sloping by the view's roll (unrounded).
double WierszHoryzontuWKolumnie(double x, int H);

// ---- Cutting and depth order ----

// Working memory of the cuts and the depth sorts: each builds its result here
// and swaps it with the array, and the sorts keep their key pairs here, so that
// a slider move or a frame of the drive allocates nothing large once the
// memory has grown to the scene.
//
// The boxes of the mesh's blocks: runs of RozmiarBloku consecutive mesh
// triangles, each with the box of its vertices (in the meshes' coordinates).
// A view that keeps only a band of depths skips a block whose box lies wholly
// outside the band, instead of placing its triangles one by one to find that
// the cut drops every one of them: a slider move or a frame of the drive
// then reads only the mesh near the eye. The boxes are made on the first view
// after a load (WyczyscBlokiSiatek, which the load calls, forgets them) and
// whenever the set's array is another one; RozmiarBloku 0 turns the skipping off.
struct TPudelkoBloku {
    double X0 = 0, Y0 = 0, Z0 = 0, X1 = 0, Y1 = 0, Z1 = 0;
    bool Skonczone = false;  // every coordinate of the block is a finite number
};
struct TBlokiSiatki {
    std::vector<TPudelkoBloku> Pudelka;
    const TTrojkat* Dane = nullptr;  // the array they were made for, its length and the block size
    std::size_t IleTrojkatow = 0, Rozmiar = 0;
};
struct TBuforyWidoku {
    std::vector<TTrojkatRys> Trojkaty;
    std::vector<TCzworokatRys> Czworokaty;
    TBuforKluczy Klucze;
    TBlokiSiatki BlokiTEREN, BlokiPROJ;
    // The coarse far ground's blocks and its placed records (TTerenDalekiOka).
    TBlokiSiatki BlokiDalekie;
    std::vector<TTrojkatRys> TerenDaleki;
    std::size_t RozmiarBloku = 256;
    // A view places the mesh in two threads when the blocks it keeps hold at
    // least this many triangles (the result is the same either way).
    std::size_t ProgDwochWatkow = 50000;
    // The driver's placing: the lower run's records (the upper run's go to
    // Trojkaty) and the sort codes of each run's keys.
    std::vector<TTrojkatRys> Dolna;
    std::vector<std::uint32_t> KodyCzesci[2];
    // A view's verdict on each block (1: passed over) and the blocks it places.
    std::vector<char> PominieteBloki;
    std::vector<std::uint32_t> BlokiDoUmieszczenia;
};
extern TBuforyWidoku BuforyWidoku;
// Gives the working memory back (part of the state of a fresh program).
void ZwolnijBuforyWidoku();
// Forgets the boxes of the meshes' blocks (the meshes were replaced or moved).
void WyczyscBlokiSiatek();

enum class TZbior { TEREN, PROJ };
std::vector<TTrojkatRys>& TrojkatyZbioru(TZbior zbior);

TPunkt3D PunktNaGlebokosci(const TPunkt3D& a, const TPunkt3D& b, double c);
TTrojkatRys ObrocWierzcholki(const TTrojkatRys& r, int k);
double PolePoziome(const TTrojkatRys& r);
void TnijYmin(TZbior zbior, double c);
void TnijYmax(TZbior zbior, double c);
void KorektaYmin();
void KorektaLOko();
// The same order for the station posts.
void KorektaLOkoSlupkow();
// The driver's depth sort of a set placed in two runs: `cel` becomes the
// records of `dolna` followed by those of `gorna`, in the order Sortuj by
// descending KluczOko gives that array (`kodyDolnej`, `kodyGornej`: the sort
// codes of their keys, sortowanie::KodMalejaco), the records gathered into it
// in two threads. `cel` keeps its memory from frame to frame.
void SortujCzesciWOku(std::vector<TTrojkatRys>& cel, const std::vector<TTrojkatRys>& dolna,
                      const std::vector<TTrojkatRys>& gorna, const std::vector<std::uint32_t>& kodyDolnej,
                      const std::vector<std::uint32_t>& kodyGornej);
void SortujCzworokaty();

// The cuts done when the view is placed at a chainage: near and far depth of
// Rzut when TnijTroj is set, otherwise only the fixed near cut at -1000.
void TnijWidok();

// ---- View operations ----

double KatKierunku(double dx, double dy);
TPunkt3D ObrocXY(const TPunkt3D& p, double cx, double cy, double k);
TPunkt3D ObrocXZ(const TPunkt3D& p, double cx, double cz, double k);
TPunkt3D ObrocYZ(const TPunkt3D& p, double cy, double cz, double k);
void Przesun(double dx, double dy, double dz);
void Skaluj(double cx, double cy, double cz, double k);
void Obroc(double cx, double cy, double cz, double kXY, double kXZ, double kYZ);

// ---- Placing the view ----

// Brings the route point (TrasaX, TrasaY) of the current render arrays to the
// foot of the screen centre, zooms by skala, turns the route direction katT
// into the picture, cuts, shades and sets the shift and turn totals back to 0.
void UmiescNaTrasie();
// The driver's view: rebuilds the render arrays of both sets from the meshes
// and brings the scene point `oko` (meshes' coordinates) to the observer
// (OkoX, OkoY, OkoZ), zoomed by skala, with the bearing `kierunek` turned into
// the picture and the view tilted up by the grade `pochylenie` (dz/ds; 0 keeps
// it level) and rolled about its line of sight so that a surface rising
// `przechylenie` per metre to the right looks level (0: no roll, the picture
// exactly as without it); the test solids, posts and labels go along. Cuts the sets, posts
// and labels at `bliska` and `daleka` metres in front of the eye (crossing
// triangles always cut), sorts each set farthest from the eye first (a ground
// triangle by its farthest vertex, so that the road on it comes after it),
// shades, sets the totals to 0 and marks the picture as the driver's.
// A ground triangle for which `przytnijTeren` (given its number in the mesh)
// says true is drawn as the pieces it gave instead (none: left out); the scene passes the cut that leaves out
// the ground a cutting removes. Called from two threads at once on a large set.
// Given the picture's size (`kadr`), the triangles that lie wholly beside or
// above or below the picture are left out too, with the blocks of the mesh
// that lie so (render/Kadr.h): they would light no pixel of it.
using TPrzytnijTeren = std::function<bool(std::size_t, std::vector<TTrojkatRogi>&)>;
// Where UmiescWOku, given the same eye, bearing, grade and roll, takes the
// scene point p (the same arithmetic, the same result).
TPunkt3D PunktWOku(const TPunkt3D& p, const TPunkt3D& oko, double kierunek, double pochylenie,
                   double przechylenie = 0.0);
// With a coarse far ground (`daleki.Siatka`), TEREN is drawn only to the
// depth `daleki.Od` in front of the eye, and the coarse ground (no cutting
// applied: it was made under the design surface) from `daleki.Zakladka`
// before that depth to `daleka`; the two overlap there, so that no gap opens
// where their heights differ a little. Both go into the TEREN array, in one
// depth order.
struct TTerenDalekiOka {
    const TSiatka* Siatka = nullptr;
    double Od = 0, Zakladka = 0;
};
void UmiescWOku(const TPunkt3D& oko, double kierunek, double pochylenie, double bliska, double daleka,
                const TPrzytnijTeren& przytnijTeren = {}, const TKadr& kadr = {}, double przechylenie = 0.0,
                const TTerenDalekiOka& daleki = {});
// What rebuilding the render arrays from the meshes (PrzygotujTrojkaty) and
// then UmiescNaTrasie give, in one pass over the mesh triangles (in two
// threads on a large scene): each triangle's record is made, moved, zoomed,
// turned, cut and shaded, and only what the cuts keep is stored. The test
// solids are placed and shaded as UmiescNaTrasie places them.
void UmiescNaTrasieZSiatek();
// What rebuilding the render arrays from the meshes and then Skaluj(0, 0, 0,
// k) and PrzeliczRzut give, in one pass over the mesh triangles.
void SkalujICieniujZSiatek(double k);
// The view at the chainage last looked up: rebuilds the render arrays from the
// meshes and places them. Returns false, changing nothing, when neither set has
// a mesh triangle. The window writes the chainage label and redraws.
bool UmiescWPunkcieTrasy();
// The general view: the render arrays rebuilt from the meshes, zoomed by 4 and
// shaded. Returns false, changing nothing, when neither set has a mesh triangle.
bool WidokOgolny();
// The design surface the chainage and driver's views draw: PROJ, or without
// a PROJ triangle the ribbon of the route's design line (PowierzchniaProjektowa).
const TSiatka& ProjRysowany();
