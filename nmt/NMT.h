// The terrain from elevation grids in one call: the files read (several
// sheets joined into one grid), cut to the corridor around a route, thinned
// to a TIN within the tolerance and moved into the project's coordinate
// system. The result is a value; only the load flow (scena/) makes it TEREN.
#pragma once

#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "nmt/Przerzedzanie.h"
#include "nmt/SiatkaNMT.h"

struct TOpcjeNMT {
    // Vertical tolerance of the TIN, m.
    double Tolerancja = 0.10;
    // > 0: only the grid within Pas metres (plan distance) of the line Os is kept.
    double Pas = 0.0;
    // The route's line, in the project's coordinates (X easting, Y northing).
    std::vector<TPunkt2D> Os;
    // XYZ files in the Polish geodetic order (x northing first).
    bool ZamienXY = false;
    // The grids' system when the files do not state one, and the project's (EPSG; 0 unknown).
    int UkladPliku = 0;
    int Uklad = 0;
    // The system of the route and surfaces that stay loaded (0 unknown): only
    // grids are transformed, so a project's system that differs is refused.
    int UkladDanych = 0;
};

struct TTerenNMT {
    TTinNMT Tin;
    // The grids' system (file, or UkladPliku) and the system of Tin's coordinates.
    int UkladSiatki = 0;
    int UkladWyniku = 0;
    // For the reports: what was read and how (Polish, one line each).
    std::vector<std::string> Opis;
};

// Raises BladKonwersji (a file, an option, the corridor missing the grid);
// none when `przerwij` was set. Progress from 0 to 1: reading up to 0.3.
std::optional<TTerenNMT> WczytajNMT(const std::vector<std::string>& pliki, const TOpcjeNMT& opcje,
                                    const TPostep& postep = {}, const std::atomic<bool>* przerwij = nullptr);
