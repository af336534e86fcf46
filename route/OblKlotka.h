// Plan geometry of one route vertex: straights, circular arcs and clothoid
// transitions, and the small plane-geometry helpers they use.
#pragma once

#include "model/Zmienne.h"

double Odleglosc2D(double x1, double y1, double x2, double y2);
// Bearing of the segment from point 1 to point 2, counter-clockwise from +X, in [0, 2*pi).
double KierunekOdcinka(double x1, double y1, double x2, double y2);
