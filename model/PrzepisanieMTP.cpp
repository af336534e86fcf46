#include "model/ZapisywanieOdczytywanie.h"

#include "common/ZapisBezpieczny.h"
#include "model/CzytnikWierszy.h"
#include "model/FormatTRO.h"
#include "model/PlikWPamieci.h"

namespace {

constexpr std::string_view kZnacznikTrasy = format_tro::ZnacznikTrasy;
constexpr const format_tro::TZnaczniki& kZnacznikiTRO = format_tro::ZnacznikiTRO;
constexpr const format_tro::TZnaczniki& kZnacznikiMTP = format_tro::ZnacznikiMTP;

}  // namespace

// ---------------------------------------------------------------------------
// Converter.

const std::vector<std::string>& BanerTRO() {
    static const std::vector<std::string> baner = [] {
        std::vector<std::string> w;
        for (std::string_view l : format_tro::Baner) w.push_back(Utf8NaCp1250(l));
        return w;
    }();
    return baner;
}

std::string PrzepiszPlikZBufora(std::string_view zrodlo, std::string_view nazwa) {
    TCzytnik cz(zrodlo, nazwa, TPostep{});
    std::string w;
    w.reserve(zrodlo.size() + zrodlo.size() / 16 + 1024);
    auto pisz = [&w](std::string_view s) {
        w.append(s);
        w.append("\r\n");
    };
    for (const std::string& l : BanerTRO()) pisz(l);
    pisz("");
    auto staleRekordy = [&](std::string_view nowy, std::string_view stary, int k) {
        pisz(nowy);
        std::string_view linia;
        const std::int32_t n = cz.LiczbaElementow(k, stary, &linia);
        pisz(linia);
        for (std::int64_t i = 0, ile = static_cast<std::int64_t>(n) * k; i < ile; ++i) pisz(cz.Wiersz());
        cz.ZakonczSekcje();
        pisz("");
    };
    auto trojkaty = [&](std::string_view nowy) {
        pisz(nowy);
        for (;;) {
            const std::string_view linia = cz.Wiersz();
            pisz(linia);
            if (linia.empty()) break;
        }
        pisz("");
    };
    while (!cz.Koniec()) {
        const std::string_view s = cz.Wiersz();
        if (s == kZnacznikiMTP.WspTEREN)
            staleRekordy(kZnacznikiTRO.WspTEREN, s, format_tro::WierszePunktu);
        else if (s == kZnacznikiMTP.TroTEREN)
            trojkaty(kZnacznikiTRO.TroTEREN);
        else if (s == kZnacznikiMTP.WspPROJ)
            staleRekordy(kZnacznikiTRO.WspPROJ, s, format_tro::WierszePunktu);
        else if (s == kZnacznikiMTP.TroPROJ)
            trojkaty(kZnacznikiTRO.TroPROJ);
        else if (s == kZnacznikTrasy)
            staleRekordy(kZnacznikTrasy, s, format_tro::WierszeZalomu);
    }
    return w;
}

void PrzepiszPlik(const std::string& zrodlo, const std::string& cel) {
    if (zrodlo.empty()) throw BladKonwersji("Nie wybrano pliku .mtp do przepisania (Pliki, Otwórz plik .mtp).");
    if (cel.empty()) throw BladKonwersji("Nie podano nazwy pliku docelowego.");
    std::string wynik;
    {
        TPlikWPamieci plik(zrodlo);
        wynik = PrzepiszPlikZBufora(plik.Dane(), zrodlo);
    }
    ZapiszBezpiecznie(cel, wynik);
}
