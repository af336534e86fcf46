// The alignments of the route's file drawn as lines in the picture: the
// others beside the route, on the surfaces, and every one of them at height 0
// when there is no surface at all (an alignment-only file is never an empty
// picture). A line is a narrow level strip (two triangles a stretch), so it is
// placed, cut and drawn with the station posts. Colours are 0x00BBGGRR.
#pragma once

#include <vector>

#include "model/Projekt.h"

constexpr TKolor KolorInnejOsi = 0x0000A0FFu;  // orange: an alignment that is not the route
constexpr TKolor KolorOsiTrasy = 0x00A02000u;  // dark blue: the route drawn without surfaces

// The chain's points every `krok` metres and at every element's ends, moved by (-dx, -dy)
// (PikietyWzdluz: a line over 40 km gets longer steps).
std::vector<TPunkt2D> PunktyOsi(const TLancuch& l, double dx, double dy, double krok);

// Appends the strip of width `szerokosc` along the polyline (one stretch between consecutive points).
void DodajPasLinii(std::vector<TTrojkatRys>& cel, const std::vector<TPunkt3D>& punkty, double szerokosc, TKolor kolor);

// The lines of the alignments of the route's file other than the route (in
// the scene's local frame, metres), each point at the road surface's height
// (the design surface's, else the ground's) 0.1 m over it; a line is broken
// where a point is off the surfaces, and the stretches to that point are left out.
std::vector<std::vector<TPunkt3D>> LamaneInnychOsi(const DaneUstawieniaTrasy& trasa, const TIndeksyWysokosci& ix);
// The same appended as strips of width `szerokosc`.
void LinieInnychOsi(std::vector<TTrojkatRys>& cel, const DaneUstawieniaTrasy& trasa, const TIndeksyWysokosci& ix,
                    double szerokosc);

// Appends every alignment (the route in KolorOsiTrasy, the others in
// KolorInnejOsi) at height 0, scaled and moved to fit the general view's box
// of W units across and 500 deep with a tenth to spare, strips 3 units wide.
void LinieOsiBezSiatek(std::vector<TTrojkatRys>& cel, const DaneUstawieniaTrasy& trasa, double W);

// The window's glue: the lines added to the posts' records of the general view
// just made from the meshes at k units a metre (or fitted when there is no
// mesh triangle), and of the chainage view before it is placed. The lines on
// the surfaces are the window project's LinieInnychOsi, built on the first of
// these after a load (the heights index is asked for then only).
void DodajLinieOsiOgolne(double k);
void DodajLinieOsiNaTrasie();
// The general view (WidokOgolny) with the lines; false when it has nothing to draw.
bool WidokOgolnyZLiniami();
