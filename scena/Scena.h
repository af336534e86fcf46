// The flows of the scene, each in one place: the sequence that ends every
// load, the open flows, the eye of a fresh main window, the view placed at a
// chainage and the state of a fresh program. The window, the command-line
// tool, the benchmarks, the fuzz targets and the tests all call these.
#pragma once

#include <atomic>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/ZapisywanieOdczytywanie.h"
#include "nmt/NMT.h"
#include "wymiana/LandXML.h"

// ---- Loading ----

// Which sets a load brought in the file's own coordinates; the others stay
// from before, already moved to the origin of an earlier load.
struct TNoweZbiory {
    bool Teren = true, Proj = true, Trasa = true;
};

// The project a load makes of `stary` and the sections a file brought: the
// sections in place of the old ones, every mesh triangle counter-clockwise,
// the ranges, every set in the local frame whose origin is the lowest corner
// of TEREN's range (a set brought moves from the file's coordinates, a set
// from before from the old origin to the new one), the route built (its
// messages go to `komunikaty`) and the heights indices marked. The route is
// built first on a copy, so a failure leaves `stary` as it was; then its
// meshes are moved (not copied) into the result.
TProjekt ProjektPoWczytaniu(TProjekt& stary, TDaneWczytane&& dane, const TNoweZbiory& nowe,
                            std::vector<std::string>& komunikaty);

// The sequence that ends every load of the window, on the window's project as
// it stands (every set taken as new): ProjektPoWczytaniu, then the render
// arrays, sort and shading.
void ZakonczWczytywanie();

// Load a .tro / .mtp file (read in one piece) or the same bytes from memory:
// the whole text parsed, the sections it brings put in place, the load
// sequence run. All or nothing: on BladKonwersji nothing has changed.
void OtworzTRO(const std::string& nazwaPliku, const TPostep& postep = {});
void OtworzTROZBufora(std::string_view dane, std::string_view nazwaDoKomunikatow, const TPostep& postep = {});
void OtworzMTP(const std::string& nazwaPliku, const TPostep& postep = {});
void OtworzMTPZBufora(std::string_view dane, std::string_view nazwaDoKomunikatow, const TPostep& postep = {});

// Load a LandXML 1.2 file or the same bytes from memory: the surfaces and the
// alignment `wybor` names parsed, put in place, the load sequence run. All or
// nothing, as above.
void OtworzLandXML(const std::string& nazwaPliku, const TWyborLandXML& wybor = {}, const TPostep& postep = {});
void OtworzLandXMLZBufora(std::string_view dane, std::string_view nazwaDoKomunikatow, const TWyborLandXML& wybor = {},
                          const TPostep& postep = {});

// Another alignment of the route's file as the route (Trasa.Osie[nrOsi],
// its profile nrNiwelety as the design line: 0 the first, none when it has
// none; -1 none), through the load flow with the
// meshes kept: the route built aside and swapped in, the render arrays made
// again. The heights indices stay (the meshes did not change). Raises
// BladKonwersji (nothing changed) for an alignment that does not read.
TProjekt ProjektZOsia(TProjekt& stary, int nrOsi, int nrNiwelety, std::vector<std::string>& komunikaty);
void WybierzOs(int nrOsi, int nrNiwelety = 0);

// Elevation grids as the terrain (nmt/): read, joined, cut to the corridor
// and thinned into a TIN (WczytajNMT, no process-wide variable: it may run
// in a worker thread), then put in place as TEREN (PrzyjmijNMT: points and
// triangles, no lines) with the load sequence. The systems and the corridor
// come from the scene through OpcjeNMTSceny.

// The options with the scene's part filled in: when a corridor is asked for
// and `o.Os` is empty, the built route's line in file coordinates (a point
// every 2 m and at every vertex); when `o.Uklad` is 0, the system of the
// loaded route or, failing that, of the loaded surfaces.
TOpcjeNMT OpcjeNMTSceny(TOpcjeNMT o);
// The same with the scene's part from a given project.
TOpcjeNMT OpcjeNMTProjektu(const TProjekt& projekt, TOpcjeNMT o);
// The TIN put in place as TEREN, then the load sequence.
void PrzyjmijNMT(TTerenNMT&& teren);
// Both in one (the calling thread). False when `przerwij` was set (nothing changed).
bool OtworzNMT(const std::vector<std::string>& pliki, const TOpcjeNMT& opcje = {}, const TPostep& postep = {},
               const std::atomic<bool>* przerwij = nullptr);

enum class TRodzajPliku { Inny, TRO, MTP, XML, NMT };

// The reader a file name asks for: its last three characters, in any letter
// case, "TRO", "MTP" or "XML" (LandXML); an elevation grid (NMT) by the
// extension .asc, .xyz, .tif or .tiff; anything else is Inny.
TRodzajPliku RodzajPliku(std::string_view nazwa);

// The one open flow: the file read by the reader RodzajPliku chooses, then the
// load sequence. A name of another kind raises BladKonwersji and changes nothing.
// `wyborLandXML` names the surfaces and the alignment a LandXML file gives,
// `opcjeNMT` how a grid becomes the terrain; other files ignore them.
void WczytajPlik(const std::string& nazwa, const TPostep& postep = {}, const TWyborLandXML& wyborLandXML = {},
                 const TOpcjeNMT& opcjeNMT = {});

// The names split into loads, in their order: consecutive grid files form one
// load (sheets thinned as one terrain), every other file a load of its own.
std::vector<std::vector<std::string>> GrupyPlikow(const std::vector<std::string>& nazwy);
// One load of GrupyPlikow: grids through OtworzNMT, another file through WczytajPlik.
void WczytajGrupe(const std::vector<std::string>& grupa, const TPostep& postep = {},
                  const TWyborLandXML& wyborLandXML = {}, const TOpcjeNMT& opcjeNMT = {});
// The same load into a given project instead of the window's (the
// command-line tool's tables build their own): all or nothing, the route
// build's messages to `komunikaty`, the window untouched. False when a grid's
// reading was cancelled (nothing changed).
bool WczytajGrupe(TProjekt& projekt, std::vector<std::string>& komunikaty, const std::vector<std::string>& grupa,
                  const TPostep& postep = {}, const TWyborLandXML& wyborLandXML = {}, const TOpcjeNMT& opcjeNMT = {});
// A project made aside becomes the window's whole: its route's messages, the
// render arrays, sort and shading, as at the end of a load. Returns the
// window's project (for the glue that goes on to draw it).
const TProjekt& PokazProjekt(TProjekt&& projekt, std::vector<std::string> komunikaty);

// ---- The view ----

// The eye of the main window after its first resize, for a paint area of
// W x H pixels: in the middle of the width, 700 units before the scene and
// 500 above it; the picture's centre column in the middle as well.
void UstawOkoOkna(int W, int H);

// The view at chainage s, as a move of the chainage slider places it: the
// route point and direction at s (Rzut.TrasaX, TrasaY, katT, alfa), then the
// render arrays rebuilt from the meshes and placed there (UmiescWPunkcieTrasy).
// False when neither set has a mesh triangle: the arrays are then unchanged.
bool PrzejdzNaPikiete(double s);

// ---- The state of a fresh program ----

// Every process-wide variable at its start value for a paint area of W x H
// (InicjujZmienne), the meshes, the route, the viewer lines and the route
// messages emptied, the test screens' random seed at 0 and the working memory
// of the cuts and sorts released. The sky picture stays as it is.
void UstawStanPoczatkowy(int W, int H);
// The state of a fresh main window with a paint area of W x H after its first
// resize: UstawStanPoczatkowy, then the window's eye (UstawOkoOkna). The
// command-line tool and the benchmarks start from it.
void UstawStanOkna(int W, int H);
