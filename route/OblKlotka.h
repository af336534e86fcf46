// Plan geometry of one route vertex: straights, circular arcs and clothoid
// transitions, and the small plane-geometry helpers they use.
#pragma once

#include "model/Typy.h"

double Odleglosc2D(double x1, double y1, double x2, double y2);
// Bearing of the segment from point 1 to point 2, counter-clockwise from +X, in [0, 2*pi).
double KierunekOdcinka(double x1, double y1, double x2, double y2);

// The line y = a*x + b through two points. Points whose X differ by 0.01 or
// less give a line parallel to the Y axis, which this form cannot hold: the
// result is then a = 1e9, b = 0.
void ProstaPrzezPunkty(double x1, double y1, double x2, double y2, double& a, double& b);

// Point at radial angle psi on the circle (C, R). psi is measured from the +Y
// direction, clockwise when prawo (a right turn), counter-clockwise otherwise,
// so that it grows in the direction of travel.
TPunkt2D PunktKatowy(TPunkt2D C, double R, double psi, bool prawo);

// Elements of the clothoid of parameter A that ends on a circle of radius R
// (three and two series terms for the end point).
TKlotoida ObliczKlotoide(double R, double A);
// Point at arc length l along the clothoid of parameter A starting at S with
// bearing theta and turning right (prawo) or left; four and three series terms.
TPunkt2D PunktKlotoidy(TPunkt2D S, double theta, double A, double l, bool prawo);

// Admissible range [Amin, Amax] of the clothoid parameter for an arc of radius
// R and deflection delta, in single precision, from one design parameter row.
void GraniceA(float R, float delta, const TParametryProjektowe& p, float& Amin, float& Amax);

// Geometry of the vertex V between P and N with an arc of radius R and, when
// both A1 and A2 exceed 0.01 and fit the limits, two clothoid transitions.
// Every field except the chainages is set. Requires R > 0.01, P != V != N and
// a non-zero deflection smaller than pi. The clothoid parameters are held to
// the limits of the design parameter row `granice` (GraniceA); without one
// (nullptr) they are a file's design and are taken as they stand.
TElementTrasy ObliczLuk(TPunkt2D P, TPunkt2D V, TPunkt2D N, double R, double A1, double A2,
                        const TParametryProjektowe* granice);

// Exact bearing of the direction (dx, dy), counter-clockwise from +X, in
// [0, 2*pi); 0 for a zero or undefined direction.
double KatWektora(double dx, double dy);
