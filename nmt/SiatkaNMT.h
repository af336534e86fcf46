// Elevation grids of the national terrain model (NMT): the grid record, its
// reading through GDAL (ARC/INFO ASCII grid .asc, ASCII XYZ grid .xyz,
// GeoTIFF .tif/.tiff), several sheets joined into one grid and the corridor
// around a route. No Qt, no process-wide variable: everything is a value.
//
// A node (i, j) of a grid lies at X = X0 + i*DX (easting), Y = Y0 + j*DY
// (northing), with DX, DY > 0: rows run from south to north whatever order
// the file stores them in, so the plan is never mirrored. A node without
// data (the file's nodata value, or outside every sheet) holds NaN: a hole.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "model/ZapisywanieOdczytywanie.h"

struct TSiatkaNMT {
    std::int32_t Kolumny = 0;
    std::int32_t Wiersze = 0;
    double X0 = 0.0, Y0 = 0.0;
    double DX = 1.0, DY = 1.0;
    std::vector<double> Z;  // Kolumny * Wiersze, row j at j * Kolumny; NaN: no data
    // The grid's coordinate system as the file states it (EPSG code), 0 when it says none.
    int EPSG = 0;

    std::size_t Indeks(std::int32_t i, std::int32_t j) const {
        return static_cast<std::size_t>(j) * static_cast<std::size_t>(Kolumny) + static_cast<std::size_t>(i);
    }
    std::int64_t IleWezlow() const { return static_cast<std::int64_t>(Kolumny) * Wiersze; }
};

// The most nodes a grid (or the sheets joined) may have: 100 million nodes
// take 800 MB of heights. A header asking for more is refused before anything
// is allocated.
constexpr std::int64_t kNajwiecejWezlowNMT = 100'000'000;

// The grid kinds by the name's extension, any letter case: .asc, .xyz, .tif, .tiff.
enum class TFormatNMT { Inny, ASC, XYZ, TIF };
TFormatNMT FormatNMT(const std::string& nazwa);

struct TOpcjeCzytaniaNMT {
    // XYZ: the columns are "x y z" in the Polish geodetic order (x is the
    // northing) instead of the GIS order (easting, northing).
    bool ZamienXY = false;
    // An ASCII grid of at least this many nodes is read by two threads.
    std::int64_t ProgDwochWatkow = 1'000'000;
};

// Reads one grid file through GDAL. Raises BladKonwersji with a Polish
// message naming the file (and the line where GDAL names one): an unreadable
// or truncated file, a height that is no finite number, a size beyond
// kNajwiecejWezlowNMT, fewer than 2 x 2 nodes, a rotated grid. Returns an
// empty grid (Kolumny == 0) when `przerwij` was set.
TSiatkaNMT CzytajSiatkeNMT(const std::string& nazwa, const TOpcjeCzytaniaNMT& opcje = {}, const TPostep& postep = {},
                           const std::atomic<bool>* przerwij = nullptr);

// Several sheets as one grid: the union of their extents with the first
// sheet's spacing; nodes no sheet covers are holes; where sheets overlap the
// first sheet with data there counts. The sheets must have the same spacing
// and lie on one lattice (within 1 % of a cell), and one coordinate system
// (EPSG 0 matches anything); otherwise BladKonwersji names the sheet.
TSiatkaNMT PolaczArkusze(std::vector<TSiatkaNMT>&& arkusze, const std::vector<std::string>& nazwy);

// Keeps the nodes whose plan distance from the polyline `os` (grid
// coordinates) is at most `pas`; the others become holes, and the grid is
// cut to the box of what is left. An empty polyline keeps nothing.
void OgraniczDoPasa(TSiatkaNMT& siatka, const std::vector<TPunkt2D>& os, double pas);
