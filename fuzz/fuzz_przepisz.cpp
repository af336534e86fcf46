// The .mtp to .tro converter on any bytes: it produces a .tro text or fails
// cleanly; its output is bounded by its input and starts with the banner, and
// the .tro reader takes it like any other file.
#include <string>

#include "Wspolne.h"
#include "model/ZapisywanieOdczytywanie.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar) {
    const std::string_view zrodlo = fuzz::Bajty(dane, rozmiar);
    std::string tro;
    try {
        tro = PrzepiszPlikZBufora(zrodlo, "f.mtp");
    } catch (const BladKonwersji& e) {
        fuzz::SprawdzKomunikat(e.what(), "f.mtp");
        return 0;
    }
    // Every source line is written at most once, with CR LF, plus the banner,
    // one empty line per section and the lines read past the end of the text.
    SPRAWDZ(tro.size() <= 3 * rozmiar + 1024);
    std::string baner;
    for (const std::string& l : BanerTRO()) baner += l + "\r\n";
    SPRAWDZ(tro.rfind(baner + "\r\n", 0) == 0);
    try {
        (void)CzytajTRO(tro, "f.tro");
    } catch (const BladKonwersji& e) {
        fuzz::SprawdzKomunikat(e.what(), "f.tro");
    }
    return 0;
}
