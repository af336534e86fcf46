// The project: what the designer's files bring (the two mesh sets, the route
// and the design parameter table) as one value, with the heights indices of
// its own meshes. The window holds one (ProjektOkna in model/Zmienne.h); a load
// builds the next one aside and swaps it in whole, and the analyses, the
// exchange formats and the command-line tool take the project (or the parts
// they need) as parameters.
//
// The view (the view record, the render arrays, the light, the viewer's
// lines) is the window's state, not the project's.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "model/Typy.h"

// One set's heights index (analiza/Wysokosci.h builds and queries it).
struct TIndeksWysokosci;

// The indices of the two sets for one state of the meshes. An index is never
// changed after its build: whoever holds these pointers reads it without a
// lock, and it lives as long as somebody holds it, whatever loads come
// meanwhile. Neither pointer is null (a set with no triangles has an empty index).
struct TIndeksyWysokosci {
    std::shared_ptr<const TIndeksWysokosci> PROJ, TEREN;

    TIndeksyWysokosci();
    TIndeksyWysokosci(TIndeksWysokosci proj, TIndeksWysokosci teren);
};

// Where a project keeps the indices of its meshes: built on the first
// question (IndeksyWysokosci in analiza/Wysokosci.h, under the lock), then
// kept until a load marks them to be built again. A failed build leaves them
// empty and is not tried again until then. `Budowa`, when set, builds them
// instead of the project's meshes (scenes and tests that bring their own).
//
// A copy of a project starts with its indices to be built from its own
// meshes (they may change apart from the original's); a move takes the
// indices along with the meshes.
struct TPamiecIndeksow {
    mutable std::mutex Zamek;
    TIndeksyWysokosci Indeksy;
    bool DoZbudowania = true;
    std::function<TIndeksyWysokosci()> Budowa;

    TPamiecIndeksow() = default;
    TPamiecIndeksow(const TPamiecIndeksow&) {}
    TPamiecIndeksow(TPamiecIndeksow&& o) noexcept;
    TPamiecIndeksow& operator=(const TPamiecIndeksow& o);
    TPamiecIndeksow& operator=(TPamiecIndeksow&& o) noexcept;
};

struct TProjekt {
    TSiatka TEREN;
    TSiatka PROJ;
    DaneUstawieniaTrasy Trasa;
    std::vector<TParametryProjektowe> ParametryProjektowe = ParametryPoczatkowe();
    mutable TPamiecIndeksow Indeksy;

    // The design parameter table of a fresh project: one row from chainage 0 (50 km/h).
    static std::vector<TParametryProjektowe> ParametryPoczatkowe();

    // The data compared; the indices follow from the meshes.
    bool operator==(const TProjekt& o) const {
        return TEREN == o.TEREN && PROJ == o.PROJ && Trasa == o.Trasa && ParametryProjektowe == o.ParametryProjektowe;
    }
};

// The design surface the road is read from: PROJ, or without a PROJ triangle
// the ribbon of the route's design line (route/Wstega.h) when it has one.
inline const TSiatka& PowierzchniaProjektowa(const TProjekt& p) {
    return p.PROJ.Trojkaty.empty() && !p.Trasa.Wstega.Trojkaty.empty() ? p.Trasa.Wstega : p.PROJ;
}
