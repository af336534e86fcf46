// The two text reports about the loaded data: the mesh report (triangle
// counts and coordinate ranges of TEREN and PROJ) and the route report (the
// route's range and a table of its vertices). Each report empties the viewer
// lines OpisTekst and writes its own; the window that runs a report shows the
// viewer afterwards. The reports only read data.
#pragma once

#include <string>
#include <vector>

#include "model/Zmienne.h"

// Mesh report ("Info Teren, Proj").
void InfoTerenProj();

// Route report ("Info Trasa"), followed by the messages of the last route
// build when there are any.
void InfoTrasy();

// Appends five lines describing one range: the title, an empty line and the
// X, Y and Z (min, max) pairs.
void PiszZakres(const std::string& tytul, const TZakres& z);

// The range of all vertex coordinates of a render array (view space); all six
// fields are -1 for an empty array.
TZakres ZakresRysowanych(const std::vector<TTrojkatRys>& trojkaty);

// One row of the route report's vertex table for the vertex at index i
// (0-based): number, Y, X, R, A1, A2 right-aligned in columns 5, 19, 34, 49,
// 59 and 69; a number too long for its column reaches left up to one blank
// after the field before it and then pushes the rest of the row right.
std::string WierszZalomu(int i, const TZalom& z);
// One row of the element table of a route read as a chain: number, kind, start chainage (displayed), start
// point (X the second plan coordinate, as in the vertex table), length and radii at both ends (INF straight,
// negative turning right).
std::string WierszElementu(std::size_t i, const TElementOsi& e, double pikStart);
