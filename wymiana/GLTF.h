// The scene as binary glTF 2.0 (GLB) for other 3D programs and web viewers.
#pragma once

#include <ostream>

struct TProjekt;

// Writes the project's TEREN and PROJ as one mesh each (flat triangles with their normals
// and the colours of their surface kinds). glTF's Y axis is up: a point
// (X east, Y north, Z up) becomes (X, Z, -Y). Positions are 32-bit floats
// relative to the load's origin, which each node carries as its translation
// (full precision in the JSON), so national grid coordinates keep their
// precision. Raises BladKonwersji when there is no triangle to write.
void ZapiszGLB(std::ostream& wyjscie, const TProjekt& projekt);
