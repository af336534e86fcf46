// Where the driver's eye stands at a chainage: square to the route at the
// given offset, at the given height above the road surface, looking along the
// direction of travel. Also any point placed the same way (a target object for
// sight distance, a station post beside the road).
//
// Coordinates are local (those of the meshes, of the route and of the view
// after a load's shift). The heights come from the design surface's index
// and, where it has none, from the ground's (WysokoscDrogi). Nothing here
// changes any state.
#pragma once

#include <optional>

#include "common/Funkcje.h"
#include "model/Typy.h"

struct TIndeksWysokosci;
struct TIndeksyWysokosci;

// The driver's settings.
struct TUstawieniaOka {
    double Wysokosc = 1.0;       // eye height above the road surface, m
    double Przesuniecie = 1.75;  // offset square to the route, m, positive to the right of the direction of travel
    bool WPrzod = true;          // along the chainage (false: driving back, against it)
};

// An eye (or any point) placed at a chainage.
struct TPolozenieOka {
    bool Jest = false;    // false: the route is not built, s is not a number, or no surface has a height there
    TPunkt3D Oko;         // the point (local coordinates)
    double Kierunek = 0;  // bearing of travel, rad, [0, 2 pi) (the route's direction at s, reversed when driving back)
    double Pochylenie = 0;  // grade in the direction of travel, dz/ds (0.05 = climbing 5 %)
    // Cross-fall under the point: the rise per metre to the right of travel
    // across the lane it stands on (0.025: the right side 2.5 % higher).
    double Przechylenie = 0;
};

// The eye at chainage s: the offset u.Przesuniecie square to the route at s,
// to the RIGHT of the direction of travel, u.Wysokosc above the design surface
// there (the ground where the design surface has no height).
TPolozenieOka PolozenieOka(const DaneUstawieniaTrasy& trasa, double s, const TUstawieniaOka& u,
                           const TIndeksyWysokosci& ix);

// A point at chainage s with the same convention: przesuniecie to the right of
// the direction of travel (wPrzod: along the chainage), wysokosc above the surface.
TPolozenieOka PunktNadPowierzchnia(const DaneUstawieniaTrasy& trasa, double s, double przesuniecie, double wysokosc,
                                   bool wPrzod, const TIndeksyWysokosci& ix);

// The one placing of a point beside the road, shared by the driver's eye, the
// station posts and the sight check's eye and targets: at chainage s (not
// clamped: the route lookup keeps it inside the route), przesuniecie square to
// the route to the right of the direction of travel, wysokosc above the height
// of `proj` there, else of `teren`; none where neither has one. The sight check
// passes its own terrain (the ground outside the design surface's footprint).
std::optional<TPunkt3D> PunktNadDroga(const DaneUstawieniaTrasy& trasa, double s, double przesuniecie, double wysokosc,
                                      bool wPrzod, const TIndeksWysokosci& proj, const TIndeksWysokosci& teren);

// Half the chord over which the grade is measured, m along the route.
constexpr double PolowaCieciwyOka = 1.0;
// Half the chord over which the cross-fall is measured, m square to the route
// about the point: well inside a lane for an eye near its middle.
constexpr double PolowaCieciwyPrzechylenia = 0.5;
