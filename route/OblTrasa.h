// The route: range, definition and overlap checks, the build with its
// chainages, and the lookup of a point and a direction by chainage.
#pragma once

#include "model/Zmienne.h"

// Builds Trasa.ElementyTrasy from Trasa.Zalomy; its messages go to the viewer
// lines and to KomunikatyTrasy.
void ObliczTrase();
// Plan point of the route at chainage s (left as passed when no part covers s).
void PunktNaPikiecie(double s, double& x, double& y);
// Direction of the route at chainage s, in [0, 2*pi).
double KatNaPikiecie(double s);
