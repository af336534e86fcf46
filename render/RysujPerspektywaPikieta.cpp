// The two ways the render arrays are rebuilt from the meshes for a view: the
// view at a chainage and the general view of the whole scene.

#include "render/RysujPerspektywa.h"

namespace {

bool SaTrojkatySiatek() { return TEREN.IleTrojkatow() >= 1 || PROJ.IleTrojkatow() >= 1; }

}  // namespace

bool UstawNaPikiecieRdzen() {
    if (!SaTrojkatySiatek()) return false;
    UmiescNaTrasieZSiatek();
    return true;
}

bool WidokOgolny() {
    if (!SaTrojkatySiatek()) return false;
    WyczyscSlupki();
    SkalujICieniujZSiatek(4.0);
    return true;
}
