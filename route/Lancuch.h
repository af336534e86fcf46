// The alignment as a chain of elements: lines, circular arcs and clothoids
// whose curvature runs linearly from K1 at their start to K2 at their end
// (each 0 or finite: entry and exit transitions, a transition on one side of
// an arc only, and a clothoid between two arcs of the same or opposite sense).
//
// Every element carries its start point, start direction and length, and its
// chainage from the chain's start; the chainage the user sees is PikStart + s.
// A point and a direction at a chainage, the station table and the nearest
// chainage of a point are read from the chain. A clothoid is evaluated from
// its curvature (its direction exactly, its point by Gauss–Legendre quadrature
// of the direction, well below a micrometre); a clothoid of the program's own
// route from vertices is evaluated by the series its build uses, so the chain
// of such a route gives the very points of the build (LancuchZTrasy).
//
// A chain read from a file is assembled by ZlozLancuch, which checks every
// junction: a gap up to 1 mm or a bend up to 0.05° is producers' rounding and
// is accepted and listed; a larger bend between two lines is an angle point
// (as a vertex without an arc in the program's own routes), accepted and
// listed; anything else is refused with a message naming the file's element.
// Nothing here reads or changes any process-wide state.
#pragma once

#include <string>
#include <vector>

#include "model/Typy.h"

// What a junction may be and still count as continuous.
constexpr double MaxOdstepLancucha = 0.001;                                     // metres
constexpr double MaxZalamanieLancucha = 0.05 * 3.14159265358979323846 / 180.0;  // radians (0.05°)

// The file's name of an element kind, as messages quote it: "Line", "Curve", "Spiral".
const char* NazwaRodzaju(TRodzajOsi r);
// "element nr 5 (Curve, wiersz 123)": the element as the user finds it in the file.
std::string OpisElementu(const TElementOsi& e);

// Sets the evaluation data of an element from its start, direction, length
// and curvatures (a line's end, an arc's centre and angles).
void UzupelnijElement(TElementOsi& e);

// The element that holds chainage s (clamped to the chain): at a junction a
// line before an arc and an arc before a clothoid, as the route build does. -1 for an empty chain.
int ElementNaPikiecie(const TLancuch& l, double s);
// Point and direction (counter-clockwise from +X, in [0, 2 pi)) at length u along one element.
TPunkt2D PunktElementu(const TElementOsi& e, double u);
double KierunekElementu(const TElementOsi& e, double u);
// Curvature at length u along one element.
double KrzywiznaElementu(const TElementOsi& e, double u);

// Point and direction at chainage s from the chain's start (clamped to the chain).
TPunkt2D PunktLancucha(const TLancuch& l, double s);
double KierunekLancucha(const TLancuch& l, double s);

// One row of the station table.
struct TStacja {
    double Pik = 0;  // displayed chainage
    double X = 0, Y = 0;
    double Kierunek = 0;  // radians, counter-clockwise from +X, in [0, 2 pi)
};
// The stations at the given chainages from the chain's start.
std::vector<TStacja> TabelaStacji(const TLancuch& l, const std::vector<double>& pikiety);

// The chainages from the chain's start of the rows "with a step": the start,
// every multiple of krok of the displayed chainage (pikStart + s) inside the
// route, and the end. For a start chainage of 0 these are 0, krok, 2 krok, ...
// and the end. Empty when krok is not positive or a value is not finite.
std::vector<double> PikietyZaokraglone(double pikStart, double dlugosc, double krok);

// The chainages from the chain's start at which a drawing or a mesh follows
// the chain: every element's ends and every `krok` metres within an element
// (evenly), ascending and without repeats. The step is widened where needed so
// that the chain has about `najwiecejOdcinkow` stretches at most: a route of
// thousands of kilometres (a file's coordinates far from its start) would
// otherwise take millions of points.
std::vector<double> PikietyWzdluz(const TLancuch& l, double krok, double najwiecejOdcinkow);

// The point of the chain nearest to p: its chainage from the start and the
// signed distance (positive to the right of the direction of travel).
struct TRzutNaLancuch {
    double Pik = 0;
    double Odleglosc = 0;
};
TRzutNaLancuch NajblizszaPikieta(const TLancuch& l, TPunkt2D p);

// Assembles a chain read from a file: elements in the file's order, each with
// its start, direction, length, curvatures, number and line; chainages are
// set from the lengths. Checks every junction (see the head of this file) and
// raises BladKonwersji naming the element; the accepted ones go to Zalamania.
// Refuses a chain without elements and an element without positive finite length.
// On a refusal *wierszBledu (when given) is the named element's line.
TLancuch ZlozLancuch(std::string nazwa, double pikStart, std::vector<TElementOsi> elementy, int* wierszBledu = nullptr);

// The program's own route from vertices (built: Obliczona), expressed as a
// chain: the straights between the curves (zero-length ones where curves
// touch), the transitions and the arcs, each evaluated as the build does.
TLancuch LancuchZTrasy(const DaneUstawieniaTrasy& trasa);

// The route report's lines about a chain: name, start chainage, length,
// number of elements by kind, and the accepted junctions with chainage and angle.
std::vector<std::string> OpisLancucha(const TLancuch& l);
