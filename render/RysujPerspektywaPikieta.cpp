// The two ways the render arrays are rebuilt from the meshes for a view: the
// view at a chainage and the general view of the whole scene.

#include "render/RysujPerspektywa.h"

namespace {

bool SaTrojkatySiatek() { return TEREN.IleTrojkatow() >= 1 || PROJ.IleTrojkatow() >= 1; }

void OdbudujZSiatek() {
    PrzygotujTrojkaty(TEREN);
    PrzygotujTrojkaty(PROJ);
}

}  // namespace

bool UstawNaPikiecieRdzen() {
    if (!SaTrojkatySiatek()) return false;
    OdbudujZSiatek();
    UmiescNaTrasie();
    return true;
}

bool WidokOgolny() {
    if (!SaTrojkatySiatek()) return false;
    OdbudujZSiatek();
    WyczyscSlupki();
    Skaluj(0.0, 0.0, 0.0, 4.0);
    PrzeliczRzut();
    return true;
}
