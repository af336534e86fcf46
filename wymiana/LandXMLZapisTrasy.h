// The route written as LandXML 1.2: its element chain as one Alignment and
// its design line as the Alignment's Profile.
#pragma once

#include <ostream>

#include "model/Typy.h"

// Writes <Alignments> with the route's chain (Line, Curve crvType="arc" and
// Spiral spiType="clothoid" from any radius to any radius, each with its
// Start, End, PI where the end tangents meet, length, radii and rot) in file
// coordinates (the chain's points plus the route's shift Dx, Dy), staStart
// the start chainage, and, when the route has a design line, a Profile with
// one ProfAlign (PVI, ParaCurve, UnsymParaCurve, CircCurve as read).
// Nothing is written for a route that is not built.
void ZapiszTraseLandXML(std::ostream& o, const DaneUstawieniaTrasy& trasa);
