// The road from an alignment alone: with a design line and no design surface
// the road is a ribbon along the route, level across, at the design line's
// height, which the driver's eye, the sight check, the removed ground and the
// picture take as the design surface.
#pragma once

#include "model/Typy.h"

// The ribbon of the built route (its chain in the scene's local frame) of
// width `szerokosc` centred on the route line: a station every 2 m and at
// every element's ends, two triangles between consecutive stations, each
// edge point at the design line's height at its station less `zmin` (the
// scene's height origin), the faces of the road surface's kind. Stretches
// where the design line has no height (before its first breakpoint, after
// its last) are left out. Empty without a design line, without a built
// route or without a positive finite width.
TSiatka WstegaDrogi(const DaneUstawieniaTrasy& trasa, double szerokosc, double zmin);
