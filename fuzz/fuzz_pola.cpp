// The field conversions on any text. The first byte picks the conversion
// (and the bounds of CzytajCalkowita), the rest is the field.
#include <cmath>
#include <cstring>
#include <limits>

#include "Wspolne.h"
#include "model/ZapisywanieOdczytywanie.h"

namespace {

bool JestKodem(char k) { return k == ' ' || (k != '\0' && std::strchr("HNGDBCSKOPE", k)); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar) {
    if (rozmiar == 0) return 0;
    const unsigned wybor = dane[0];
    const std::string_view s = fuzz::Bajty(dane + 1, rozmiar - 1);
    switch (wybor % 6) {
        case 0: {
            const PktOpisRRealSpr r = CzytajRekordSrednik(s);
            SPRAWDZ(std::isfinite(r.X) && std::isfinite(r.Y) && std::isfinite(r.Z));
            SPRAWDZ(r.Uwagi.size() <= 100);
            SPRAWDZ(r.Poprawny == r.Komunikat.empty());
            SPRAWDZ(r.Poprawny || r.Komunikat == "Nieprawidłowy zapis");
            double x = -1, y = -1, z = -1;
            CzytajTrzyLiczby(s, x, y, z);
            SPRAWDZ(x == r.X && y == r.Y && z == r.Z);
            break;
        }
        case 1: {
            try {
                const TRodzaj r = CzytajRodzaj(s);
                SPRAWDZ(JestKodem(r.Kod));
                SPRAWDZ(std::isfinite(r.Wartosc));
                SPRAWDZ(r.Kod != ' ' || r.Wartosc == 0.0f);
            } catch (const BladKonwersji& e) {
                SPRAWDZ(std::string_view(e.what()).find("is not a valid floating point value") !=
                        std::string_view::npos);
            }
            break;
        }
        case 2: {
            try {
                (void)CzytajKolor(s);
            } catch (const BladKonwersji& e) {
                SPRAWDZ(std::string_view(e.what()).find("is not a valid integer value") != std::string_view::npos);
            }
            break;
        }
        case 3: {
            const double v = CzytajLiczbe(s, 7.25);
            SPRAWDZ(std::isfinite(v));
            double w = 0;
            SPRAWDZ(SprobujRzeczywista(s, w) ? w == v : v == 7.25);
            break;
        }
        case 4: {
            // Bounds from the selector byte, possibly crossed (lowest above highest).
            const std::int32_t lo = static_cast<std::int32_t>(wybor / 6) - 20;
            const std::int32_t hi = lo + static_cast<std::int32_t>(wybor % 7) * 100 - 200;
            const std::int32_t v = CzytajCalkowita(s, 5, lo, hi);
            if (lo <= hi) SPRAWDZ(v >= lo && v <= hi);
            std::int32_t c = 0;
            if (SprobujCalkowita(s, c) && lo <= hi && c >= lo && c <= hi) SPRAWDZ(v == c);
            const std::int32_t pelny = CzytajCalkowita(s, 5, std::numeric_limits<std::int32_t>::min(),
                                                       std::numeric_limits<std::int32_t>::max());
            SPRAWDZ(SprobujCalkowita(s, c) ? pelny == c : pelny == 5);
            break;
        }
        default: {
            const std::string u = UjednolicSeparator(s);
            SPRAWDZ(u.size() == s.size());
            SPRAWDZ(CzytajLogiczna(s) == (s == "T" || (s.size() == 4 && (s[0] | 32) == 't' && (s[1] | 32) == 'r' &&
                                                       (s[2] | 32) == 'u' && (s[3] | 32) == 'e')));
            break;
        }
    }
    return 0;
}
