// A grid thinned to a triangulated irregular network (TIN) within a vertical
// tolerance, by greedy insertion (Garland and Heckbert, "Fast polygonal
// approximation of terrains and height fields", 1995): start from the two
// triangles of the grid's box; every triangle knows its grid node farthest
// (vertically) from its plane; the node farthest of all is inserted into a
// Delaunay triangulation (Lawson's flips), and only the triangles that changed
// are scanned again; until every node with data lies within the tolerance.
//
// Holes (nodes without data) and the data's edge: a triangle with a vertex
// without data is left out of the result; one that holds a node with data
// (other than on an edge between two vertices with data) is split at the node
// with data nearest to such a vertex, so the data's edge is traced. A
// triangle whose vertices have data but which holds a node without data that
// has no data among its eight neighbours (it reaches more than a cell into a
// hole) is split at that node. So the result covers every node with data,
// and reaches at most about one cell beyond the data.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

#include "nmt/SiatkaNMT.h"

struct TTinNMT {
    // Vertices: X easting, Y northing (the grid's coordinates), Z height.
    std::vector<TPunkt3D> Punkty;
    // Triangles as indices into Punkty, counter-clockwise in plan.
    std::vector<std::array<std::int32_t, 3>> Trojkaty;
    // The grid's coordinate system (EPSG code), 0 when unknown.
    int EPSG = 0;
    // Nodes of the grid with data, and of the whole grid.
    std::int64_t WezlyZDanymi = 0;
    std::int64_t Wezly = 0;
};

// How the thinning uses the machine: the scans of the triangles that one
// insertion changed are shared with a second thread when together they cover
// `Prog` nodes or more (below that the hand-over costs more than it saves).
// The TIN is the same whichever is chosen.
struct TWatkiPrzerzedzania {
    int Ile = 2;
    std::int64_t Prog = 4096;
};

// The grid thinned to a TIN within `tolerancja` metres (vertically). None
// when `przerwij` was set. Progress goes from 0 to 1.
std::optional<TTinNMT> PrzerzedzSiatke(const TSiatkaNMT& siatka, double tolerancja, const TPostep& postep = {},
                                       const std::atomic<bool>* przerwij = nullptr,
                                       const TWatkiPrzerzedzania& watki = {});
