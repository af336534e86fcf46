#include "nmt/CzytanieGDAL.h"

#include <cpl_vsi.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <exception>
#include <memory>
#include <optional>
#include <regex>
#include <thread>

void BladSiatki(const std::string& komunikat, const std::string& nazwa, long wiersz) {
    throw BladKonwersji(komunikat + "\nPlik: " + nazwa + (wiersz > 0 ? ", wiersz: " + std::to_string(wiersz) : ""));
}

namespace {

void CPL_STDCALL ZbierzBlad(CPLErr klasa, CPLErrorNum, const char* tekst) {
    auto* b = static_cast<TObslugaBledowGDAL*>(CPLGetErrorHandlerUserData());
    if (b && klasa >= CE_Failure && tekst) b->Zapisz(tekst);
}

}  // namespace

TObslugaBledowGDAL::TObslugaBledowGDAL() { CPLPushErrorHandlerEx(ZbierzBlad, this); }
TObslugaBledowGDAL::~TObslugaBledowGDAL() { CPLPopErrorHandler(); }

long WierszZKomunikatu(const std::string& t) {
    const std::regex wzor("[Aa]t line ([0-9]+)");
    std::smatch m;
    if (std::regex_search(t, m, wzor)) return std::strtol(m[1].str().c_str(), nullptr, 10);
    return 0;
}

bool CzytajWiersze(GDALRasterBandH pasmo, double* z, std::int64_t kolumn, std::int64_t od, std::int64_t do_,
                   std::int64_t pierwszy, const TObslugaBledowGDAL& bledy, const std::string& nazwa,
                   const TPostep& postep, std::int64_t calosc, const std::atomic<bool>& stop) {
    constexpr std::int64_t kPas = 256;
    for (std::int64_t j0 = od; j0 < do_; j0 += kPas) {
        if (stop.load(std::memory_order_relaxed)) return false;
        const int ile = static_cast<int>(std::min(kPas, do_ - j0));
        if (GDALRasterIO(pasmo, GF_Read, 0, static_cast<int>(j0), static_cast<int>(kolumn), ile, z + j0 * kolumn,
                         static_cast<int>(kolumn), ile, GDT_Float64, 0, 0) != CE_None) {
            // GDAL names the grid's row it could not read ("Y offset 2", from 0).
            const std::regex wzorWiersza("Y offset ([0-9]+)");
            std::smatch m;
            const std::string g = bledy.Ostatni();
            if (std::regex_search(g, m, wzorWiersza))
                BladSiatki("Plik siatki jest niepełny lub uszkodzony: nie można odczytać wiersza " +
                               std::to_string(pierwszy + std::strtoll(m[1].str().c_str(), nullptr, 10) + 1) +
                               " siatki.",
                           nazwa);
            BladSiatki("Nie można odczytać wysokości siatki (plik jest niepełny lub uszkodzony)." +
                           (g.empty() ? std::string() : " (GDAL: " + g + ")"),
                       nazwa, pierwszy == 0 ? WierszZKomunikatu(g) : 0);
        }
        if (postep && calosc > 0) postep(std::min(1.0, static_cast<double>(j0 + ile) / static_cast<double>(calosc)));
    }
    return true;
}

namespace {

struct TZamknijPlik {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// Where an ASCII grid's file can be cut: the byte at which row `Wiersz`'s
// values begin (the start of a line), and the file's header with the rows
// from there on as its row count, for GDAL to read the rest as a grid.
struct TPodzialASC {
    std::int64_t Bajt = 0;
    std::int64_t Wiersz = 0;
    std::string Naglowek;
};

// The header's lines are those whose first word is a keyword of the format;
// the data begin at the first other line. The values are counted up to the
// first line end at or past the middle row where a whole number of rows has
// gone by. None when the data hold a character that is neither part of a
// number nor white space (GDAL may read such a file its own way), when the
// header is not as expected, or when no such line end comes before the last row.
std::optional<TPodzialASC> ZnajdzPodzialASC(std::FILE* f, std::int64_t kolumn, std::int64_t wierszy,
                                            const std::atomic<bool>& stop) {
    auto slowoKluczowe = [](std::string s) {
        for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        for (const char* k : {"ncols", "nrows", "xllcorner", "xllcenter", "yllcorner", "yllcenter", "cellsize", "dx",
                              "dy", "nodata_value"})
            if (s == k) return true;
        return false;
    };
    // 0 white space, 1 a number's character, 2 anything else.
    unsigned char rodzaj[256];
    std::fill(std::begin(rodzaj), std::end(rodzaj), 2);
    for (unsigned char c : std::string(" \t\r\n")) rodzaj[c] = 0;
    for (unsigned char c : std::string("0123456789.+-eE")) rodzaj[c] = 1;

    TPodzialASC p;
    std::string wiersz;  // the line being read while in the header
    bool wNaglowku = true, slowoZnane = false, wLiczbie = false, saWiersze = false;
    std::int64_t wartosci = 0;
    const std::int64_t polowa = wierszy / 2;
    // A character of the data: false when it is neither white space nor part of a number.
    auto policz = [&](unsigned char c) {
        const unsigned char r = rodzaj[c];
        wartosci += r == 1 && !wLiczbie;
        wLiczbie = r == 1;
        return r != 2;
    };
    std::vector<char> blok(1 << 20);
    for (std::int64_t bajt = 0;;) {
        if (stop.load(std::memory_order_relaxed)) return std::nullopt;
        const std::size_t n = std::fread(blok.data(), 1, blok.size(), f);
        if (n == 0) return std::nullopt;
        for (std::size_t i = 0; i < n; ++i, ++bajt) {
            const unsigned char c = static_cast<unsigned char>(blok[i]);
            if (wNaglowku) {
                if (c != '\n') wiersz += static_cast<char>(c);
                if (wiersz.size() > 4096) return std::nullopt;
                if (!slowoZnane) {
                    // Until the line's first word has ended.
                    const std::size_t a = wiersz.find_first_not_of(" \t\r");
                    if (a == std::string::npos || (rodzaj[c] != 0 && c != '\n')) {
                        if (c == '\n') wiersz.clear();
                        continue;
                    }
                    const std::size_t b = wiersz.find_first_of(" \t\r", a);
                    std::string slowo = wiersz.substr(a, b == std::string::npos ? b : b - a);
                    for (char& q : slowo) q = static_cast<char>(std::tolower(static_cast<unsigned char>(q)));
                    if (slowoKluczowe(slowo)) {
                        slowoZnane = true;
                        if (slowo == "nrows") {
                            saWiersze = true;
                            wiersz = "nrows @";
                        }
                    } else {
                        // The data begin with this line.
                        if (!saWiersze) return std::nullopt;
                        wNaglowku = false;
                        for (char q : wiersz)
                            if (!policz(static_cast<unsigned char>(q))) return std::nullopt;
                        if (c == '\n') policz(c);
                        wiersz.clear();
                    }
                }
                if (wNaglowku) {
                    if (c == '\n') {
                        if (wiersz.rfind("nrows @", 0) == 0) wiersz = "nrows @";
                        p.Naglowek += wiersz + '\n';
                        wiersz.clear();
                        slowoZnane = false;
                    }
                    continue;
                }
            } else if (!policz(c)) {
                return std::nullopt;
            }
            if (c != '\n' || wartosci % kolumn != 0 || wartosci / kolumn < polowa) continue;
            p.Wiersz = wartosci / kolumn;
            if (p.Wiersz >= wierszy) return std::nullopt;
            p.Bajt = bajt + 1;
            p.Naglowek.replace(p.Naglowek.find("nrows @"), 7, "nrows " + std::to_string(wierszy - p.Wiersz));
            return p;
        }
    }
}

}  // namespace

bool CzytajASCNaDwochWatkach(const std::string& nazwa, GDALRasterBandH pasmo, double* z, std::int64_t kolumn,
                             std::int64_t wierszy, const TObslugaBledowGDAL& bledy, const TPostep& postep,
                             const std::atomic<bool>& stop) {
    if (std::thread::hardware_concurrency() < 2 || wierszy < 8)
        return CzytajWiersze(pasmo, z, kolumn, 0, wierszy, 0, bledy, nazwa, postep, wierszy, stop);
    // The first row the second thread reads (-1: not known yet; wierszy: none).
    std::atomic<std::int64_t> granica{-1};
    // Set by this thread when it failed or was cancelled: the second one stops too.
    std::atomic<bool> koniec{false};
    std::exception_ptr bladDrugiego;
    auto drugi = [&] {
        try {
            std::optional<TPodzialASC> p;
            std::unique_ptr<std::FILE, TZamknijPlik> f(std::fopen(nazwa.c_str(), "rb"));
            if (f) p = ZnajdzPodzialASC(f.get(), kolumn, wierszy, koniec);
            granica.store(p ? p->Wiersz : wierszy);
            granica.notify_one();
            if (!p) return;
            // The header, then the file from the cut on, as one grid in memory.
            std::string dane = std::move(p->Naglowek);
            const std::size_t naglowek = dane.size();
            if (std::fseek(f.get(), 0, SEEK_END) != 0) BladSiatki("Nie można odczytać pliku siatki.", nazwa);
            const long dlugosc = std::ftell(f.get());
            if (dlugosc < p->Bajt || std::fseek(f.get(), static_cast<long>(p->Bajt), SEEK_SET) != 0)
                BladSiatki("Plik siatki zmienił się w trakcie czytania.", nazwa);
            dane.resize(naglowek + static_cast<std::size_t>(dlugosc - p->Bajt));
            dane.resize(naglowek + std::fread(dane.data() + naglowek, 1, dane.size() - naglowek, f.get()));
            f.reset();
            TObslugaBledowGDAL bledyDrugiego;
            const std::string plik = "/vsimem/orvany_" + std::to_string(reinterpret_cast<std::uintptr_t>(&dane)) +
                                     ".asc";
            VSIFCloseL(VSIFileFromMemBuffer(plik.c_str(), reinterpret_cast<GByte*>(dane.data()),
                                            static_cast<vsi_l_offset>(dane.size()), FALSE));
            struct TUsun {
                const std::string& p;
                ~TUsun() { VSIUnlink(p.c_str()); }
            } usun{plik};
            const char* const sterowniki[] = {"AAIGrid", nullptr};
            const char* const opcje[] = {"DATATYPE=Float64", nullptr};
            std::unique_ptr<void, TZamknij> ds(
                GDALOpenEx(plik.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY, sterowniki, opcje, nullptr));
            if (!ds || GDALGetRasterXSize(ds.get()) != kolumn || GDALGetRasterYSize(ds.get()) != wierszy - p->Wiersz ||
                GDALGetRasterCount(ds.get()) < 1)
                BladSiatki("Plik siatki jest niepełny lub uszkodzony: nie można odczytać wiersza " +
                               std::to_string(p->Wiersz + 1) + " siatki.",
                           nazwa);
            CzytajWiersze(GDALGetRasterBand(ds.get(), 1), z + p->Wiersz * kolumn, kolumn, 0, wierszy - p->Wiersz,
                          p->Wiersz, bledyDrugiego, nazwa, {}, 0, koniec);
        } catch (...) {
            bladDrugiego = std::current_exception();
            if (granica.load() < 0) {
                granica.store(wierszy);
                granica.notify_one();
            }
        }
    };
    std::thread watek;
    try {
        watek = std::thread(drugi);
    } catch (const std::system_error&) {
        return CzytajWiersze(pasmo, z, kolumn, 0, wierszy, 0, bledy, nazwa, postep, wierszy, stop);
    }
    // This thread: the first quarter at once, then up to the cut once it is
    // known. Its error comes first, as the first bad row of one thread would.
    bool wczytane = false;
    std::exception_ptr bladPierwszego;
    try {
        const std::int64_t cwierc = wierszy / 4;
        wczytane = CzytajWiersze(pasmo, z, kolumn, 0, cwierc, 0, bledy, nazwa, postep, wierszy / 2, stop);
        std::int64_t g = granica.load();
        while (g < 0) {
            granica.wait(g);
            g = granica.load();
        }
        wczytane = wczytane && CzytajWiersze(pasmo, z, kolumn, cwierc, g, 0, bledy, nazwa, postep, g, stop);
    } catch (...) {
        bladPierwszego = std::current_exception();
    }
    if (!wczytane) koniec.store(true);
    watek.join();
    if (bladPierwszego) std::rethrow_exception(bladPierwszego);
    if (!wczytane) return false;
    if (bladDrugiego) std::rethrow_exception(bladDrugiego);
    return !stop.load();
}
