// The long profile and the cross-sections of the road: the heights of the
// design surface (PROJ) and of the ground (TEREN) along the route line and
// square to it, the grade of the design surface, and the chainage text.
//
// The route lookup (PunktNaPikiecie, KatNaPikiecie) gives the route point in
// the local frame of the meshes; the rows hold the file's coordinates (the
// index's shift added back), as the user knows them. Nothing here changes any state.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analiza/Wysokosci.h"

// One point of the profile or of a cross-section, in the file's coordinates.
struct TPunktProfilu {
    double Pikieta = 0;    // the chainage asked for (the route lookup keeps 0.001 from the route's ends)
    double Odleglosc = 0;  // offset square to the route, positive to the right of the direction of travel
    double X = 0, Y = 0;   // plan point
    std::optional<double> ZProj, ZTeren;  // heights of the two surfaces; none where a surface has no triangle

    // Design height minus ground height (positive: fill, negative: cut); none without both.
    std::optional<double> Roznica() const {
        if (!ZProj || !ZTeren) return std::nullopt;
        return *ZProj - *ZTeren;
    }
};

// The chainages 0, krok, 2 krok, ... below pikMax, then pikMax itself (the
// multiples are computed, not summed, so they do not drift). Empty when krok
// is not positive or pikMax is not finite.
std::vector<double> PikietyCoKrok(double pikMax, double krok);

// The point of the route at chainage s with both heights.
TPunktProfilu PunktProfilu(const DaneUstawieniaTrasy& trasa, double s, const TIndeksWysokosci& proj,
                           const TIndeksWysokosci& teren);
// The long profile at the given chainages.
std::vector<TPunktProfilu> ObliczProfil(const DaneUstawieniaTrasy& trasa, const std::vector<double>& pikiety,
                                        const TIndeksWysokosci& proj, const TIndeksWysokosci& teren);

// The offsets of a cross-section: multiples of krok from -szerokosc to
// +szerokosc (0, the axis, always among them), and +-szerokosc themselves when
// the steps do not land on them. Empty when krok or szerokosc is not positive.
std::vector<double> OdleglosciPrzekroju(double szerokosc, double krok);
// The cross-section at chainage s: the points square to the route's
// direction at s (KatNaPikiecie), left to right as seen in the direction of travel.
std::vector<TPunktProfilu> ObliczPrzekroj(const DaneUstawieniaTrasy& trasa, double s, double szerokosc, double krok,
                                          const TIndeksWysokosci& proj, const TIndeksWysokosci& teren);

// Half the chord of the grade's central difference, in metres along the route.
constexpr double PolowaCieciwyPochylenia = 1.0;
// The grade of the design surface along the route at chainage s, in per cent
// (rising in the direction of travel positive): the height difference over
// the chord from s - 1 m to s + 1 m, the chord kept inside the route at its
// ends. None when the design surface lacks a height at either end of the chord.
std::optional<double> PochylenieProjektu(const DaneUstawieniaTrasy& trasa, double s, const TIndeksWysokosci& proj);

// The chainage as a road designer writes it: "km 1+234,56" (kilometres, '+',
// metres with three integer digits and two decimals; the decimal separator given).
std::string TekstKilometrazu(double s, char separator = ',');
