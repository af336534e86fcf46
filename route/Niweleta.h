// The vertical profile of an alignment (the design line): its breakpoints
// (PVI: chainage and height) with straight grades between them, and at an
// inner breakpoint a vertical curve tangent to both grades:
// - a symmetric parabola of a given length, centred on the breakpoint's chainage;
// - an unsymmetric parabola: two parabolas of lengths lengthIn and lengthOut
//   meeting over the breakpoint with a common tangent;
// - a circle of a given radius, placed tangent to both grades (the grades are
//   the lines through the breakpoints; the circle lies in the plane of
//   chainage and height, its tangent points at R tan(|a2 - a1| / 2) along the
//   grades from the breakpoint, a the grades' angles).
// Chainages are the displayed ones (the file's stations). There is no design
// line before the first breakpoint and after the last.
// Nothing here reads or changes any process-wide state.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class TLukPionowy : std::uint8_t { Brak, Parabola, ParabolaNiesymetryczna, Kolowy };

struct TPVI {
    double Pik = 0;  // displayed chainage
    double Z = 0;
    TLukPionowy Luk = TLukPionowy::Brak;
    double Dlugosc = 0;                     // a symmetric parabola's length
    double DlugoscWej = 0, DlugoscWyj = 0;  // an unsymmetric parabola's lengths before and after the breakpoint
    double R = 0;                           // a circle's radius
    int Wiersz = 0;                         // line in the file (0: none), for messages

    // Set by ZbudujNiweleta.
    double G1 = 0, G2 = 0;     // grades before and after (dz/ds)
    double Pocz = 0, Kon = 0;  // the curve's chainages (both Pik without a curve)
    double Sc = 0, Zc = 0;     // a circle's centre
    double Gm = 0;             // an unsymmetric parabola's grade over the breakpoint
};

struct TNiweleta {
    std::string Nazwa;
    std::vector<TPVI> Punkty;

    bool Pusta() const { return Punkty.size() < 2; }
};

// Checks the breakpoints and places the curves. Raises BladKonwersji (a
// Polish message naming the breakpoint and its line) when fewer than two
// breakpoints are given, a value is not finite, the chainages do not grow, a
// curve stands on the first or last breakpoint, a curve has no positive
// length or radius, or a curve reaches past a neighbouring breakpoint or
// overlaps the next curve by more than 1 mm (producers' rounding reaches 0.8 mm).
TNiweleta ZbudujNiwelete(std::string nazwa, std::vector<TPVI> punkty);

// Height and grade (dz/ds; at a breakpoint without a curve the grade after
// it, at the last one the grade before it) of the design line at displayed
// chainage s; none before the first breakpoint and after the last.
std::optional<double> WysokoscNiwelety(const TNiweleta& n, double s);
std::optional<double> PochylenieNiwelety(const TNiweleta& n, double s);

// A vertical curve's radius: the circle's, or L / |G2 - G1| for a parabola
// (over its whole length); 0 without a curve or without a change of grade.
double PromienLukuPionowego(const TPVI& p);
// A curve's length along the chainage (Kon - Pocz).
inline double DlugoscLukuPionowego(const TPVI& p) { return p.Kon - p.Pocz; }
