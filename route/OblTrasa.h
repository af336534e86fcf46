// The route: range, definition and overlap checks, the build with its
// chainages, and the lookup of a point and a direction by chainage.
#pragma once

#include <string>
#include <vector>

#include "model/Zmienne.h"

// The route build is a pure function: the vertices and the design parameter
// table in, the elements, the end chainage and the messages out. The
// functions that fill a route record take it as a parameter; only
// ObliczTrase() and ObliczZakresTrasy() without arguments work on the
// program's route (for the window's and the command line's glue).

// The design parameter set the program uses when a file brings no table.
constexpr TParametryProjektowe ParametryDomyslne{0.0f, 50.0f, 0.009f, 0.5f, 3.0f, 0.05f, 2.5f, 0.5f};
// The design parameter row that applies at chainage s: row 0, then every
// later row whose OdPikiety s has reached (ParametryDomyslne for an empty table).
TParametryProjektowe ParametryNaPikiecie(const std::vector<TParametryProjektowe>& tabela, double s);

// Plan range of the vertices (Jest false without vertices).
struct TZakresTrasy {
    bool Jest = false;
    double Xmax = 0, Ymax = 0, Xmin = 0, Ymin = 0;
};
TZakresTrasy ZakresTrasy(const std::vector<TZalom>& zalomy);

// What a build gives.
struct TTrasaZbudowana {
    // One element a vertex (also after a failed build: as far as it got).
    std::vector<TElementTrasy> Elementy;
    // Why an arc was dropped or the route cannot be built, in the order found.
    std::vector<std::string> Komunikaty;
    bool Obliczona = false;
    float PikMax = 0.0f;  // the end chainage
};
// Builds the route through the vertices: the checks (at least two vertices,
// no arc on the first or last one or between three points of one line, no
// arc on a vertex that coincides with a neighbour, finite numbers), every
// vertex's arc and clothoids with the clothoid limits of the parameter row in
// force about there, the chainages from pikMin, and the overlap check.
// `geometriaZPliku`: the clothoids are a file's design and are taken as they
// stand, and curves may touch.
TTrasaZbudowana ZbudujTrase(const std::vector<TZalom>& zalomy, const std::vector<TParametryProjektowe>& parametry,
                            bool geometriaZPliku = false, float pikMin = 0.0f);

// Builds the record's route from its vertices and puts the elements, the end
// chainage, the range and Obliczona in the record; returns the messages.
std::vector<std::string> ObliczTrase(DaneUstawieniaTrasy& trasa, const std::vector<TParametryProjektowe>& parametry);
// The record's plan range (Xmax, Ymax, Xmin, Ymin) from its vertices; unchanged without vertices.
void ObliczZakresTrasy(DaneUstawieniaTrasy& trasa);

// The program's route (Trasa, with ParametryProjektowe): its build, whose
// messages become KomunikatyTrasy, and its range.
void ObliczTrase();
void ObliczZakresTrasy();

// Plan point of the route at chainage s (left as passed when no part covers s).
void PunktNaPikiecie(double s, double& x, double& y);
// Direction of the route at chainage s, in [0, 2*pi).
double KatNaPikiecie(double s);
// The same lookups on a given route record (the two above ask the program's route).
void PunktNaPikiecie(const DaneUstawieniaTrasy& trasa, double s, double& x, double& y);
double KatNaPikiecie(const DaneUstawieniaTrasy& trasa, double s);
