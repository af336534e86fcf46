// The data files: the .tro and .mtp readers and the .mtp to .tro converter
// (model/CzytanieTRO.cpp, model/PrzepisanieMTP.cpp); the field conversions
// are model/Pola.h, the line reader model/CzytnikWierszy.h, a file's bytes
// model/PlikWPamieci.h.
//
// Files are single-byte text (Windows-1250), one field per line. A line ends
// at LF; a CR right before the LF belongs to the line end. A file whose first
// line holds a CR that is not followed by LF (CR-only line ends) is refused,
// and so are an empty file and a file holding a zero byte (no text file).
//
// Number fields: an integer field is an optional sign and decimal digits
// (32-bit range); a floating-point field is an optional sign, digits with at
// most one decimal separator ('.' or ','), and an optional exponent. Blanks
// (spaces, tabs) before and after a number are tolerated; "inf", "nan" and
// values beyond the double range are not numbers. A mesh coordinate (points,
// the plan point of a TEREN triangle, the vertices of a PROJ triangle) beyond
// +-1e12 is refused: the load's shift and the renderer's scaling of it would
// overflow. Markers, flags and texts are taken exactly as they stand.
//
// Loads are all-or-nothing: a file is parsed completely into new sections,
// and only then are the sections it brings put in place and the load sequence
// run (the open flows of scena/Scena.h). A file that fails anywhere changes
// nothing; the error (BladKonwersji) carries the message and, on a second
// line, the file name and the line number.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "model/Pola.h"
#include "model/Zmienne.h"

// ---------------------------------------------------------------------------
// Readers.

// Called now and then during a long read with the fraction done (0 to 1).
using TPostep = std::function<void(double ulamek)>;

// The sections that one file brought, before they are put in place.
struct TDaneWczytane {
    std::optional<std::vector<TPunktSiatki>> PunktyTEREN, PunktyPROJ;
    std::optional<std::vector<TLinia>> LinieTEREN, LiniePROJ;
    std::optional<std::vector<TTrojkat>> TrojkatyTEREN, TrojkatyPROJ;
    // With the triangles of a set: their vertices (TSiatka::Wierzcholki).
    std::optional<std::vector<TPunkt3D>> WierzcholkiTEREN, WierzcholkiPROJ;
    std::optional<std::vector<TZalom>> Zalomy;
    // With Zalomy: what the route container records about the route's origin
    // (see DaneUstawieniaTrasy); the program's own files leave the defaults.
    double PikStart = 0.0;
    bool GeometriaZPliku = false;
    std::string Pochodzenie;
    // With GeometriaZPliku: the route is this element chain (Zalomy is then empty).
    TLancuch Lancuch;
    // With Zalomy: the route's vertical profile (none: no breakpoints) and the
    // route report's lines about every alignment of its file.
    TNiweleta Niweleta;
    std::vector<std::string> OpisOsi;
    // With Zalomy: every alignment of the file and which are the route and its profile (see DaneUstawieniaTrasy).
    std::vector<TOsPliku> Osie;
    int NrOsi = -1;
    int NrNiwelety = -1;
    std::string ZrodloOsi;
    // The coordinate system (EPSG code, 0 unknown) of every section the file
    // brought, and for a terrain made from elevation grids how it was made.
    int EPSG = 0;
    std::vector<std::string> OpisTEREN;
};

// How the readers share their work. A section of at least ProgDwochWatkow
// records is split at a record boundary near its middle and its halves are
// read by two threads at once (when Watki is 2 or more): the result and every
// message, with its line, are those of reading it straight through.
// `PunktyTEREN` are the TEREN points of the project the load is built on:
// the vertices of TEREN triangles in a file that brings no TEREN points
// before them (none: such triangles have no points to take).
// `OddajPrzeczytane(od, do_)`, when set, is told of the bytes of a section's
// records that are read and will not be looked at again (the whole-file
// readers give their memory back with it, TPlikWPamieci::Oddaj).
struct TOpcjeCzytania {
    int Watki = std::thread::hardware_concurrency() >= 2 ? 2 : 1;
    std::int32_t ProgDwochWatkow = 100000;
    const std::vector<TPunktSiatki>* PunktyTEREN = nullptr;
    std::function<void(const char* od, const char* do_)> OddajPrzeczytane;
};

// Parse a whole .tro / .mtp text without touching the model. TEREN triangles
// take their vertices from the TEREN points read earlier in the same text, or
// else from opcje.PunktyTEREN. Raises BladKonwersji.
TDaneWczytane CzytajTRO(std::string_view dane, std::string_view nazwaDoKomunikatow, const TPostep& postep = {},
                        const TOpcjeCzytania& opcje = {});
TDaneWczytane CzytajMTP(std::string_view dane, std::string_view nazwaDoKomunikatow, const TPostep& postep = {},
                        const TOpcjeCzytania& opcje = {});
// The same for a whole file, read in one piece. Raises BladKonwersji.
TDaneWczytane CzytajPlikTRO(const std::string& nazwaPliku, const TPostep& postep = {},
                            const TOpcjeCzytania& opcje = {});
TDaneWczytane CzytajPlikMTP(const std::string& nazwaPliku, const TPostep& postep = {},
                            const TOpcjeCzytania& opcje = {});
// Puts the sections in the project, each replacing its array; the load
// sequence (ProjektPoWczytaniu in scena/Scena.h) is the caller's next step.
void PrzyjmijWczytane(TDaneWczytane&& dane, TProjekt& projekt);
// Only the route the file brought (nothing without one): its vertices and
// what the route record keeps of its file; `dane.Zalomy` is emptied.
void PrzyjmijTrase(TDaneWczytane&& dane, DaneUstawieniaTrasy& trasa);

// ---------------------------------------------------------------------------
// Converter .mtp -> .tro.

// The eight banner lines of a .tro file (Windows-1250, 67 bytes each).
const std::vector<std::string>& BanerTRO();

// Converts the bytes of a .mtp file into the bytes of a .tro file (CR LF line ends).
// Raises BladKonwersji (nothing is produced then).
std::string PrzepiszPlikZBufora(std::string_view zrodlo, std::string_view nazwaDoKomunikatow);
// Converts a file into a file, written by ZapiszBezpiecznie: a link is written
// through, a target that is not a regular file is refused, and on failure the
// old target is untouched and no temporary file is left.
void PrzepiszPlik(const std::string& zrodlo, const std::string& cel);

// The whole content of a file (raises BladKonwersji when it cannot be read).
std::string CzytajCalyPlik(const std::string& nazwaPliku);
