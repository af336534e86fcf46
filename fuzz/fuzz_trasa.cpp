// The route a file brings: the build either succeeds or says why not, and a
// built route gives a finite point and a direction at every chainage; the
// view placed on it can be cut, shaded and drawn.
#include <cmath>

#include "Wspolne.h"
#include "model/ZapisywanieOdczytywanie.h"
#include "route/OblTrasa.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar) {
    TDaneWczytane w;
    try {
        w = CzytajTRO(fuzz::Bajty(dane, rozmiar), "f.tro");
    } catch (const BladKonwersji&) {
        return 0;
    }
    if (!w.Zalomy) return 0;
    fuzz::ScenaPoczatkowa();
    Trasa.Zalomy = std::move(*w.Zalomy);
    ObliczTrase();
    // A route that is not built always says why (more than one vertex).
    if (!Trasa.Obliczona && Trasa.IleZalomow() > 1) SPRAWDZ(!KomunikatyTrasy.empty());
    if (Trasa.Obliczona) {
        SPRAWDZ(Trasa.ElementyTrasy.size() == Trasa.Zalomy.size());
        for (const TElementTrasy& e : Trasa.ElementyTrasy) {
            SPRAWDZ(e.PikPKP1 <= e.PikKKP1 && e.PikKKP1 <= e.PikKL && e.PikKL <= e.PikKKP2);
        }
    }
    fuzz::SprawdzPikiety();
    fuzz::RysujKlatki();
    return 0;
}
