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

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
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
//
// The window builds them in a second thread (ZbudujIndeksyWTle in
// analiza/Wysokosci.h) while it already shows the picture: `WTle` is true
// while that build runs (questions wait for it on `Koniec`), `Przerwij` asks
// it to stop, and `BladWTle` keeps its failure for ZakonczBudoweIndeksow. The
// build reads the project's meshes in place, so whatever changes them stops
// it first: a copy or move into or out of this store, and its destruction
// (PorzucBudoweIndeksow; TProjekt declares its store first for that).
struct TPamiecIndeksow {
    mutable std::mutex Zamek;
    TIndeksyWysokosci Indeksy;
    bool DoZbudowania = true;
    std::function<TIndeksyWysokosci()> Budowa;
    bool WTle = false;
    std::condition_variable Koniec;
    std::exception_ptr BladWTle;
    std::shared_ptr<std::atomic<bool>> Przerwij;
    std::thread Watek;

    TPamiecIndeksow() = default;
    TPamiecIndeksow(const TPamiecIndeksow&) {}
    TPamiecIndeksow(TPamiecIndeksow&& o) noexcept;
    TPamiecIndeksow& operator=(const TPamiecIndeksow& o);
    TPamiecIndeksow& operator=(TPamiecIndeksow&& o) noexcept;
    ~TPamiecIndeksow();
};

// Stops a build of the indices running in a second thread and waits for its
// end (at once when none runs); the indices stay marked to be built. Only the
// thread that started the build calls it.
void PorzucBudoweIndeksow(TPamiecIndeksow& m) noexcept;

struct TProjekt {
    // First of the members, so that a copy or move into or out of the project
    // stops a build in a second thread before any mesh is touched.
    mutable TPamiecIndeksow Indeksy;
    TSiatka TEREN;
    TSiatka PROJ;
    DaneUstawieniaTrasy Trasa;
    std::vector<TParametryProjektowe> ParametryProjektowe = ParametryPoczatkowe();
    // The lines of the route file's other alignments on the surfaces (scena/LinieOsi.h), in the local frame, in
    // metres: built once after a load, a route choice or a new width of the design line's ribbon, which empty
    // them, so that placing a view only draws them. They follow from the data above.
    std::shared_ptr<const std::vector<std::vector<TPunkt3D>>> LinieInnychOsi;

    TProjekt() = default;
    TProjekt(const TProjekt&) = default;
    TProjekt(TProjekt&&) = default;
    TProjekt& operator=(const TProjekt&) = default;
    TProjekt& operator=(TProjekt&&) = default;
    // The build in a second thread ends before the meshes go.
    ~TProjekt() { PorzucBudoweIndeksow(Indeksy); }

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
