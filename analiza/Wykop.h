// The ground a cutting removes: the terrain that lies within the design
// surface's plan footprint and above the design surface. The old ground over
// a cutting is dug away, so neither the driver's view draws it nor the sight
// check lets it hide anything. One rule for both: the terrain triangles are
// cut exactly along the design triangles' edges and along the lines where the
// terrain meets the design surface, and only the pieces outside the footprint
// or not above the design surface are kept.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "analiza/Wysokosci.h"

// The parts of the ground triangle t (mesh coordinates, those of `proj`) that
// are not removed ground. False, appending nothing, when nothing of t is
// removed (t stays whole); true when t was cut: the kept pieces (none when
// all of it is removed) are appended to `kawalki`, in t's plane, with t's
// kind and t's turning sense. Pieces thinner than a micrometre are dropped.
// Nothing is kept or shared between calls: several threads may call it at once.
bool PrzytnijTeren(const TTrojkatRogi& t, const TIndeksWysokosci& proj, std::vector<TTrojkatRogi>& kawalki);

// The ground that can hide something: the terrain index's triangles cut by
// PrzytnijTeren, as an index of its own with the terrain's shift.
TIndeksWysokosci TerenPozaWykopem(const TIndeksWysokosci& teren, const TIndeksWysokosci& proj);

// The triangles of the index (their three corners, mesh coordinates) whose
// plan box touches the cells met by the segment a-b in plan, each once, sorted.
std::vector<std::uint32_t> TrojkatyWzdluz(const TIndeksWysokosci& ix, const TPunkt3D& a, const TPunkt3D& b);

// The corners of an index triangle (the inverse of its barycentric weights).
TTrojkatRogi TrojkatIndeksu(const TTrojkatWysokosci& r);

// A whole ground mesh as the views draw it: the triangles PrzytnijTeren cut and
// the pieces kept of each. Made once for a mesh and a design surface, read by
// every frame (and by both threads of a frame) without change.
struct TTerenWykopu {
    std::vector<std::uint8_t> Ciety;    // per mesh triangle: 1 when it was cut
    std::vector<std::uint32_t> Numery;  // the cut triangles' numbers, ascending
    std::vector<std::size_t> Od;        // the pieces of Numery[k] are Kawalki[Od[k]] up to Kawalki[Od[k + 1]]
    std::vector<TTrojkatRogi> Kawalki;

    // The pieces of mesh triangle nr, [od, do_); false when it stays whole.
    bool KawalkiTrojkata(std::size_t nr, const TTrojkatRogi*& od, const TTrojkatRogi*& do_) const;
};

// Cuts every triangle of the ground mesh (mesh coordinates, those of `proj`); in two threads on a large mesh.
TTerenWykopu PrzytnijSiatke(const TSiatka& teren, const TIndeksWysokosci& proj);

// TerenPozaWykopem for only the terrain triangles along the segment a-b (mesh
// coordinates; TrojkatyWzdluz): enough to ask whether that one segment passes
// below the kept ground, without cutting the whole terrain. `pociete`, when
// given, is PrzytnijSiatke of the mesh the index was built from: its pieces
// are taken instead of cutting again.
TIndeksWysokosci TerenPozaWykopemWzdluz(const TIndeksWysokosci& teren, const TIndeksWysokosci& proj, const TPunkt3D& a,
                                        const TPunkt3D& b, const TTerenWykopu* pociete = nullptr);
