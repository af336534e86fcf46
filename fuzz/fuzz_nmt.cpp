// The elevation-grid reader on any bytes of an ARC/INFO ASCII grid, read by
// one thread and by two (the file cut near its middle row): both give the
// same heights, or the same message naming the file.
#include <unistd.h>

#include <cmath>
#include <cstring>

#include "Wspolne.h"
#include "nmt/SiatkaNMT.h"

namespace {

// The header's ncols x nrows, roughly: inputs asking for more than a million
// nodes only spend the run's time on zeroing memory.
bool ZaDuza(std::string_view t) {
    long long iloczyn = 1;
    for (const char* k : {"ncols", "nrows"}) {
        std::size_t p = 0;
        for (std::size_t q = 0; q + std::strlen(k) <= t.size() && q < 4096; ++q)
            if (strncasecmp(t.data() + q, k, std::strlen(k)) == 0) {
                p = q + std::strlen(k);
                break;
            }
        if (p == 0) return false;
        long long n = 0;
        while (p < t.size() && (t[p] == ' ' || t[p] == '\t')) ++p;
        while (p < t.size() && t[p] >= '0' && t[p] <= '9' && n < 100'000'000) n = n * 10 + (t[p++] - '0');
        iloczyn *= std::max(n, 1LL);
    }
    return iloczyn > 1'000'000;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar) {
    const std::string_view t = fuzz::Bajty(dane, rozmiar);
    if (ZaDuza(t)) return 0;
    char katalog[] = "/tmp/fuzz_nmt_XXXXXX";
    if (!mkdtemp(katalog)) return 0;
    const std::string plik = std::string(katalog) + "/f.asc";
    if (std::FILE* f = std::fopen(plik.c_str(), "wb")) {
        std::fwrite(t.data(), 1, t.size(), f);
        std::fclose(f);
    }
    std::string komunikat[2];
    TSiatkaNMT siatka[2];
    for (int n = 0; n < 2; ++n) {
        try {
            siatka[n] = CzytajSiatkeNMT(plik, {false, n == 0 ? std::int64_t{1} << 40 : 1});
        } catch (const BladKonwersji& e) {
            komunikat[n] = e.what();
            SPRAWDZ(komunikat[n].find("f.asc") != std::string::npos);
        }
    }
    std::remove(plik.c_str());
    rmdir(katalog);
    SPRAWDZ(komunikat[0] == komunikat[1]);
    SPRAWDZ(siatka[0].Kolumny == siatka[1].Kolumny && siatka[0].Wiersze == siatka[1].Wiersze);
    SPRAWDZ(siatka[0].Z.size() == siatka[1].Z.size());
    for (std::size_t i = 0; i < siatka[0].Z.size(); ++i) {
        const double a = siatka[0].Z[i], b = siatka[1].Z[i];
        SPRAWDZ(a == b || (std::isnan(a) && std::isnan(b)));
    }
    return 0;
}
