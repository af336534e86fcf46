// The coarse far terrain of the driver's view (an option, off by default): a
// regular grid of the ground's heights, drawn beyond a distance from the eye
// instead of the full TEREN mesh, so that a frame places far fewer records.
// Made once per load from the heights indices and shared immutably.
#pragma once

#include <memory>

#include "model/Typy.h"

struct TIndeksWysokosci;

// Beyond this depth in front of the eye (m) the ground is drawn from the
// coarse grid. From a driver's eye 1 m above the road, a grid step of 5 m at
// 300 m spans under a tenth of a pixel in depth (and some 12 pixels across);
// the near 300 m, where the road and what a designer looks at lie, stay
// exact, while the ground beyond holds most of a large terrain's records.
constexpr double OdlegloscTerenuDalekiego = 300.0;
// The smallest grid step (m) and the largest number of grid nodes: the step
// is twice the mesh's mean edge, at least this, and grown until the grid over
// the ground's plan range has no more nodes than that (a million nodes and
// their triangles take some 130 MB: 5 m over a 5 km square, 10 m over 10 km).
constexpr double NajmniejszyKrokTerenuDalekiego = 5.0;
constexpr double NajwiecejWezlowTerenuDalekiego = 1e6;
// The design surface's heights lowered by this (m) where the grid lies under
// it: the ground a cutting removes goes below the road, which is drawn over it.
constexpr double ObnizeniePodProjektem = 1.0;

struct TTerenDaleki {
    // The grid's triangles, in the mesh's frame, two a cell, in tiles of
    // 16 x 8 cells (a mesh block of the placing holds about one tile).
    TSiatka Siatka;
    double Krok = 0;  // the grid's step (m)
};

// The grid step for a terrain: twice the mean plan edge of its triangles, at
// least NajmniejszyKrokTerenuDalekiego, grown for the node limit.
double KrokTerenuDalekiego(const TSiatka& teren);

// The far terrain of `teren`: a node at every multiple of the step over the
// ground's plan range, with the ground's height (`ixTeren`), where the design
// surface (`ixProj`) lies lower, its height less ObnizeniePodProjektem. A node
// with no ground height makes no triangle; each triangle takes the kind (and
// so the colour) of the ground under its centre (over a hole of the ground,
// under its first corner that has ground).
std::shared_ptr<const TTerenDaleki> ZbudujTerenDaleki(const TSiatka& teren, const TIndeksWysokosci& ixTeren,
                                                      const TIndeksWysokosci& ixProj);
