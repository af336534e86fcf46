// The two text reports about the loaded data: the mesh report (triangle
// counts and coordinate ranges of TEREN and PROJ) and the route report (the
// route's range and a table of its vertices). Each report empties the viewer
// lines OpisTekst and writes its own; the window that runs a report shows the
// viewer afterwards. The reports only read data.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/Zmienne.h"

// What the mesh report says of the view: how many records of each set are
// drawn and the range of their vertices.
struct TRysowane {
    std::int32_t IleTEREN = 0, IlePROJ = 0;
    TZakres TEREN, PROJ;
};
// Of the window's render arrays (TrojkatyTEREN, TrojkatyPROJ).
TRysowane RysowaneWidoku();
// Of the arrays a load would make of the project's meshes with the zoom k
// (PokazProjekt), found from the meshes without making them: equal to
// RysowaneWidoku() right after the load.
TRysowane RysowanePoWczytaniu(const TProjekt& projekt, double k);

// The zoom of the render arrays a load makes (the general view's first picture).
constexpr double kPowiekszenieWczytania = 4.0;

// Mesh report ("Info Teren, Proj") of the window's view.
void InfoTerenProj();
// The same with the view's part given.
void InfoTerenProj(const TRysowane& rysowane);

// Route report ("Info Trasa"), followed by the messages of the last route
// build when there are any.
void InfoTrasy();

// Both reports right after a load of the project, as lines: the project and
// its route's messages become the window's, but its render arrays are not
// made (they are emptied): the mesh report needs of them only their count and
// range, found from the meshes (RysowanePoWczytaniu). A command that only
// reports so pays neither the arrays (a gigabyte at ten million triangles)
// nor their depth sort. The rest of the window's state is left as it was.
std::vector<std::string> RaportPoWczytaniu(TProjekt&& projekt, std::vector<std::string> komunikaty);

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
