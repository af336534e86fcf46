// The .mtp reader on any bytes: it loads or fails cleanly, never changes the
// scene on failure, and whatever it loads can be drawn.
#include "Wspolne.h"
#include "scena/Scena.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar) {
    fuzz::ScenaPoczatkowa();
    const auto przed = fuzz::ZrzutStanu();
    try {
        OtworzMTPZBufora(fuzz::Bajty(dane, rozmiar), "f.mtp");
    } catch (const BladKonwersji& e) {
        fuzz::SprawdzKomunikat(e.what(), "f.mtp");
        SPRAWDZ(fuzz::ZrzutStanu() == przed);
        return 0;
    }
    fuzz::SprawdzPikiety();
    fuzz::RysujKlatki();
    return 0;
}
