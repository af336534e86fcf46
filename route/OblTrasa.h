// The route: range, definition and overlap checks, the build with its
// chainages, and the lookup of a point and a direction by chainage.
#pragma once

#include "model/Zmienne.h"

// Plan range (Xmax, Ymax, Xmin, Ymin) of the route vertices; nothing without vertices.
void ObliczZakresTrasy();
// Definition check on the element array just copied from the vertices: at
// least two vertices, no arc on the first or last vertex (dropped with a
// notice), no arc between three points of one line. May set element radii to 0.
bool SprawdzTrase();
// Overlap check after the chainages: every curve ends at least 0.001 before
// the next one starts.
bool SprawdzNakladanie();
// The design parameter row that applies at chainage s: row 0, then every
// later row whose OdPikiety s has reached (the current set when the table is
// empty). Changes nothing, so any thread may ask.
TParametryProjektowe ParametryNaPikiecie(double s);
// Makes the design parameter row that applies at chainage s the current set.
void WybierzParametry(double s);
// Geometry pass and chainage pass of the build.
void ObliczElementy();
void ObliczPikiety();

// Builds Trasa.ElementyTrasy from Trasa.Zalomy; its messages go to the viewer
// lines and to KomunikatyTrasy.
void ObliczTrase();
// Plan point of the route at chainage s (left as passed when no part covers s).
void PunktNaPikiecie(double s, double& x, double& y);
// Direction of the route at chainage s, in [0, 2*pi).
double KatNaPikiecie(double s);
// The same lookups on a given route record (the two above ask the program's route).
void PunktNaPikiecie(const DaneUstawieniaTrasy& trasa, double s, double& x, double& y);
double KatNaPikiecie(const DaneUstawieniaTrasy& trasa, double s);
