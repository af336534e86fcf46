#include "Wspolne.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "pomocnicze/Pomocnicze.h"
#include "render/Rasteryzer.h"
#include "render/RysujPerspektywa.h"
#include "route/OblTrasa.h"
#include "scena/Scena.h"
#include "test_pliki_dane.h"

namespace fuzz {

namespace {

struct TScena {
    TProjekt projekt;
    std::vector<TTrojkatRys> trojTEREN, trojPROJ;
    std::vector<TCzworokatRys> czworokaty;
    std::vector<std::string> opis, komunikaty;
    TRzut rzut;
};

const TScena& Wzorzec() {
    static const TScena s = [] {
        ZerujStan(160, 120);
        OtworzMTPZBufora(pliki_testowe::PlikMTP().Tekst(), "wzorzec.mtp");
        TCzworokatRys c;
        c.P1 = {10, 100, 0};
        c.P2 = {60, 100, 0};
        c.P3 = {60, 100, 40};
        c.P4 = {10, 100, 40};
        Czworokaty.assign(1, c);
        PrzeliczRzut();
        return TScena{ProjektOkna, TrojkatyTEREN, TrojkatyPROJ, Czworokaty, OpisTekst, KomunikatyTrasy, Rzut};
    }();
    return s;
}

}  // namespace

void ScenaPoczatkowa() {
    const TScena& s = Wzorzec();
    ProjektOkna = s.projekt;
    TrojkatyTEREN = s.trojTEREN;
    TrojkatyPROJ = s.trojPROJ;
    Czworokaty = s.czworokaty;
    OpisTekst = s.opis;
    KomunikatyTrasy = s.komunikaty;
    Rzut = s.rzut;
}

pliki_testowe::TStan ZrzutStanu() { return pliki_testowe::Stan(); }

void SprawdzKomunikat(const char* komunikat, std::string_view nazwaPliku) {
    // A few short readable lines (a file refused for several reasons lists one a line), the last of them
    // "Plik: ..., wiersz: ...": the offending text is cut and escaped, so no name from the file breaks a line.
    const std::string_view k(komunikat);
    const std::size_t ostatni = k.rfind('\n');
    SPRAWDZ(ostatni != std::string_view::npos && ostatni > 0);
    SPRAWDZ(k.substr(ostatni + 1).rfind("Plik: " + std::string(nazwaPliku) + ", wiersz: ", 0) == 0);
    std::size_t wierszy = 0;
    for (std::size_t od = 0; od < ostatni;) {
        const std::size_t nl = k.find('\n', od);
        const std::string_view w = k.substr(od, nl - od);
        SPRAWDZ(!w.empty());
        // Counted in characters, not bytes: a replaced invalid byte is one character of three bytes (U+FFFD).
        std::size_t znakow = 0;
        for (char c : w) znakow += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        SPRAWDZ(znakow < 400);
        for (char c : w) SPRAWDZ(static_cast<unsigned char>(c) >= 0x20);
        ++wierszy;
        od = nl + 1;
    }
    SPRAWDZ(wierszy <= 12);
}

void SprawdzPikiety() {
    if (!Trasa.Obliczona) return;
    const double od = Trasa.PikMin, dl = Trasa.PikMax - Trasa.PikMin;
    SPRAWDZ(std::isfinite(dl) && dl >= 0);
    for (int k = -1; k <= 9; ++k) {
        const double s = od + dl * k / 8.0;
        double x = std::nan(""), y = std::nan("");
        PunktNaPikiecie(s, x, y);
        SPRAWDZ(std::isfinite(x) && std::isfinite(y));
        const double kat = KatNaPikiecie(s);
        SPRAWDZ(kat >= 0 && kat < 2 * std::numbers::pi);
    }
}

void RysujKlatki() {
    constexpr int W = 160, H = 120;
    std::vector<std::uint32_t> piksele(W * H);
    TPlotnoRastrowe plotno(TBuforPikseli{piksele.data(), W, H, W});
    Przerysuj(plotno, W, H);
    WidokOgolny();
    Przerysuj(plotno, W, H);
    if (!Trasa.Obliczona) return;
    for (double u : {0.0, 0.5, 1.0}) {
        if (PrzejdzNaPikiete(Trasa.PikMin + (Trasa.PikMax - Trasa.PikMin) * u)) Przerysuj(plotno, W, H);
    }
}

}  // namespace fuzz
