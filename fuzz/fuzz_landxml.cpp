// The LandXML reader on any bytes: it loads or fails cleanly, never changes
// the scene on failure (the route's trial build included), and whatever it
// loads can be drawn and written back as LandXML and glTF.
#include <sstream>

#include "Wspolne.h"
#include "scena/Scena.h"
#include "wymiana/GLTF.h"
#include "wymiana/LandXML.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar) {
    fuzz::ScenaPoczatkowa();
    const auto przed = fuzz::ZrzutStanu();
    try {
        OtworzLandXMLZBufora(fuzz::Bajty(dane, rozmiar), "f.xml", {"", "", ""});
    } catch (const BladKonwersji& e) {
        fuzz::SprawdzKomunikat(e.what(), "f.xml");
        SPRAWDZ(fuzz::ZrzutStanu() == przed);
        return 0;
    }
    fuzz::SprawdzPikiety();
    fuzz::RysujKlatki();
    std::ostringstream xml, glb;
    ZapiszLandXML(xml, ProjektOkna);
    ZapiszGLB(glb, ProjektOkna);
    return 0;
}
