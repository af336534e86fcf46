// The process-wide state of the program: the window's project (the two mesh
// sets, the route, the design parameter table), the view record, the render
// arrays, the light and the lines of the text viewer. Everything is created at
// start, replaced by loads, generators and view operations, and released at exit.
//
// Every array's count is its length: the Ile... helpers below read it, so a
// count can never drift from its array.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/Projekt.h"
#include "model/Typy.h"

// ---------------------------------------------------------------------------
// The window's project. The window's glue (shell/, dialogs/, the scene's
// flows in scena/) and the drawing reach for it; analiza/, wymiana/ and cli/
// take a project or its parts as parameters (tools/sprawdz_zaleznosci.sh
// checks it), the command-line tool handing its own project to the window
// only for what the window draws. The names of its parts are references into
// it, for the code that draws it.

extern TProjekt ProjektOkna;
extern TSiatka& TEREN;
extern TSiatka& PROJ;
extern DaneUstawieniaTrasy& Trasa;
extern std::vector<TParametryProjektowe>& ParametryProjektowe;

// ---------------------------------------------------------------------------
// View state and render arrays.

extern TRzut Rzut;

extern std::vector<TCzworokatRys> Czworokaty;
extern std::vector<TTrojkatRys> TrojkatyPROJ;
extern std::vector<TTrojkatRys> TrojkatyTEREN;

// The station posts beside the road: their faces (drawn with the scene) and their labels.
extern std::vector<TTrojkatRys> TrojkatySlupkow;
extern std::vector<TNapisRys> NapisySlupkow;
// Empties both and marks the picture as no driver's view any more (a load, a
// test scene, the general view).
void WyczyscSlupki();
// The PROJ mesh triangles drawn in KolorWyroznienia whenever the render
// arrays are rebuilt from the meshes (the road's stretches that fail the
// sight check), as indices into PROJ.Trojkaty; emptied by every load.
extern std::vector<std::int32_t> WyroznionePROJ;
constexpr TKolor KolorWyroznienia = 0x002020E0u;  // red
// Per PROJ mesh triangle, the colour it is drawn in instead of its surface kind's (the slope classes
// of the drainage check), KolorWlasny where it keeps its own; empty: every triangle keeps its own.
// The sight check's highlight goes over it. Emptied by every load.
extern std::vector<TKolor> KoloryPROJ;
constexpr TKolor KolorWlasny = 0xFFFFFFFFu;

inline std::int32_t IleCzworokatow() { return static_cast<std::int32_t>(Czworokaty.size()); }
inline std::int32_t IleTrojkatowPROJ() { return static_cast<std::int32_t>(TrojkatyPROJ.size()); }
inline std::int32_t IleTrojkatowTEREN() { return static_cast<std::int32_t>(TrojkatyTEREN.size()); }

// Light vector (not normalised: its length scales the shading), shading strength, outlines.
extern TPunkt3D Swiatlo;
extern std::int32_t nat;
extern bool RysObrys;
extern std::int32_t NatObrys;

// The sky picture stretched over the far wall of the frame box; empty when
// the file could not be loaded (the far wall is then drawn without it).
extern TObraz Niebo;

// ---------------------------------------------------------------------------
// The lines of the text viewer (UTF-8). Reports fill it, route checks append
// their messages, the redraw empties it; the viewer window shows it.
extern std::vector<std::string> OpisTekst;

inline void DopiszDoOpisu(std::string linia) { OpisTekst.push_back(std::move(linia)); }

// A copy of the messages of the last route build (the redraw empties the
// viewer, so the open flows and the reports show them from here).
extern std::vector<std::string> KomunikatyTrasy;

// The state of the run-time's pseudo-random generator that the test screens
// draw from (Losuj in generators/): 0 at start, never taken from the clock.
extern std::uint32_t ZiarnoLosowania;

// Start-up values of the shared variables, for a paint area of W x H pixels.
void InicjujZmienne(int W, int H);

// ---------------------------------------------------------------------------
// The scene model's operations (the sequence that ends every load, which runs
// them with the render and route steps, is ZakonczWczytywanie in scena/Scena.h).

// Recomputes the set's Zakres from its Punkty (kept when it has no point).
void ObliczZakres(TSiatka& siatka);
// The range of the points (`bezPunktow` when there is none).
TZakres ZakresPunktow(const std::vector<TPunktSiatki>& punkty, const TZakres& bezPunktow);
// Every mesh triangle of the set (of both sets of the window's project) runs counter-clockwise in plan afterwards.
void OrientujTrojkaty(TSiatka& siatka);
void OrientujTrojkaty();
// Moves every mesh triangle of the set (of both sets of the window's project; Punkty stay).
void PrzesunSiatke(TSiatka& siatka, double dx, double dy, double dz);
void PrzesunSiatki(double dx, double dy, double dz);
// Moves every route vertex and the route chain's points and records the shift in the route's Dx, Dy (of the
// window's route, Trasa).
void PrzesunTrase(DaneUstawieniaTrasy& trasa, double dx, double dy);
void PrzesunTrase(double dx, double dy);
// The render record of the mesh's triangle i drawn in the colour `kolor` (its
// surface kind's, KolorRodzaju), not yet shaded.
TTrojkatRys TrojkatDoRysowania(const TSiatka& siatka, std::size_t i, TKolor kolor);
// In the functions below `projektowa` says the set is the design surface
// (PROJ): its kinds have their own colours, the highlight and the slope
// classes (WyroznionePROJ, KoloryPROJ) apply to it, and its render array is TrojkatyPROJ.
//
// Which of the set's mesh triangles are drawn in KolorWyroznienia: one flag a
// triangle for the design surface when WyroznionePROJ lists any, otherwise none.
std::vector<bool> WyroznioneTrojkaty(const TSiatka& siatka, bool projektowa);
// The drawing colour of the set's mesh triangle i, with those flags: the
// highlight's, else its KoloryPROJ entry, else its surface kind's (KolorRodzaju).
TKolor KolorTrojkata(const TSiatka& siatka, bool projektowa, std::size_t i, const std::vector<bool>& wyroznione);
// Rebuilds the set's render array (TrojkatyTEREN or TrojkatyPROJ) from its mesh triangles.
void PrzygotujTrojkaty(const TSiatka& siatka, bool projektowa);
// Multiplies every vertex coordinate of a render array.
void SkalujTrojkaty(std::vector<TTrojkatRys>& trojkaty, double k);
// Stable sort by descending P2.Y (farthest first); a NaN key sorts last.
void SortujTrojkaty(std::vector<TTrojkatRys>& trojkaty);
// PrzygotujTrojkaty, SkalujTrojkaty by k and SortujTrojkaty of the set's
// render array in one: the sort order is found from the mesh and every record
// is made straight in its place (in two threads on a large set), so no second
// array of records is needed.
void PrzygotujPosortowane(const TSiatka& siatka, bool projektowa, double k);
// Drawing colour of a surface kind letter in the ground or the design surface.
TKolor KolorRodzaju(char kod, bool projektowa);
