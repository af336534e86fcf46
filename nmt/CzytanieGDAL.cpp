#include "nmt/CzytanieGDAL.h"

#include <cpl_vsi.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <exception>
#include <memory>
#include <optional>
#include <regex>
#include <string_view>
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

// Of a byte: 0 white space, 1 a character of a number, 2 anything else.
constexpr unsigned char RodzajZnaku(unsigned char c) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') return 0;
    if ((c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-' || c == 'e' || c == 'E') return 1;
    return 2;
}

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

// The header as GDAL's grid reader finds it, so that the cut file's header
// is read as the whole file's: GDAL looks at the file's first 1024 bytes,
// takes the data to begin at the first byte from the third on that follows a
// line end (CR or LF) by one or two bytes and is neither a letter nor a line
// end, and reads the header's values as words (the word after the first
// "nrows" is the row count). The length of the header; none when GDAL would
// find no data there, or would take a header word's value from the data.
std::optional<std::size_t> NaglowekASC(std::string_view poczatek) {
    auto koniecWiersza = [](char c) { return c == '\n' || c == '\r'; };
    auto litera = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    const std::size_t okno = std::min<std::size_t>(poczatek.size(), 1024);
    for (std::size_t i = 2; i < okno; ++i) {
        const char c = poczatek[i];
        if (c == '\0') return std::nullopt;
        if ((koniecWiersza(poczatek[i - 1]) || koniecWiersza(poczatek[i - 2])) && !litera(c) && !koniecWiersza(c)) {
            // The header's last word is a value: a keyword there would take the first value of the data.
            const std::size_t k = poczatek.find_last_not_of(" \t\r\n", i - 1);
            if (k == std::string_view::npos) return std::nullopt;
            const std::size_t slowo = poczatek.find_last_of(" \t\r\n", k);
            if (litera(poczatek[slowo == std::string_view::npos ? 0 : slowo + 1])) return std::nullopt;
            return i;
        }
    }
    return std::nullopt;
}

// The header with its row count replaced by `wierszy`: the word after the
// first "nrows" (any case), written in its place with spaces before it so that
// every other byte keeps its place. Empty when there is no such word or the
// count does not fit in it.
std::string NaglowekZWierszami(std::string naglowek, std::int64_t wierszy) {
    const char* separatory = " \t\r\n";
    for (std::size_t a = naglowek.find_first_not_of(separatory); a != std::string::npos;) {
        const std::size_t b = std::min(naglowek.find_first_of(separatory, a), naglowek.size());
        std::string slowo = naglowek.substr(a, b - a);
        for (char& c : slowo) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        a = naglowek.find_first_not_of(separatory, b);
        if (slowo != "nrows") continue;
        if (a == std::string::npos) return {};
        const std::size_t e = std::min(naglowek.find_first_of(separatory, a), naglowek.size());
        const std::string liczba = std::to_string(wierszy);
        if (liczba.size() > e - a) return {};
        naglowek.replace(a, e - a, std::string(e - a - liczba.size(), ' ') + liczba);
        return naglowek;
    }
    return {};
}

// The values are counted from where GDAL finds the data up to the first line
// end at or past the middle row where a whole number of rows has gone by.
// None when the data hold a character that is neither part of a number nor
// white space (GDAL may read such a file its own way), when the header is not
// as GDAL reads it (NaglowekASC), or when no such line end comes before the
// last row.
std::optional<TPodzialASC> ZnajdzPodzialASC(std::FILE* f, std::int64_t kolumn, std::int64_t wierszy,
                                            const std::atomic<bool>& stop) {
    std::vector<char> blok(1 << 20);
    std::size_t n = std::fread(blok.data(), 1, blok.size(), f);
    const std::optional<std::size_t> dlNaglowka = NaglowekASC(std::string_view(blok.data(), n));
    if (!dlNaglowka) return std::nullopt;
    TPodzialASC p;
    p.Naglowek.assign(blok.data(), *dlNaglowka);
    bool wLiczbie = false;
    std::int64_t wartosci = 0;
    const std::int64_t polowa = wierszy / 2;
    std::size_t i = *dlNaglowka;
    for (std::int64_t bajt = static_cast<std::int64_t>(i);;) {
        for (; i < n; ++i, ++bajt) {
            const unsigned char c = static_cast<unsigned char>(blok[i]);
            const unsigned char r = RodzajZnaku(c);
            if (r == 2) return std::nullopt;
            wartosci += r == 1 && !wLiczbie;
            wLiczbie = r == 1;
            if (c != '\n' || wartosci % kolumn != 0 || wartosci / kolumn < polowa) continue;
            p.Wiersz = wartosci / kolumn;
            if (p.Wiersz >= wierszy) return std::nullopt;
            p.Bajt = bajt + 1;
            p.Naglowek = NaglowekZWierszami(std::move(p.Naglowek), wierszy - p.Wiersz);
            if (p.Naglowek.empty()) return std::nullopt;
            return p;
        }
        if (stop.load(std::memory_order_relaxed)) return std::nullopt;
        n = std::fread(blok.data(), 1, blok.size(), f);
        if (n == 0) return std::nullopt;
        i = 0;
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
            // The header, then the file from the cut on, as one grid in memory. The
            // cut holds only when everything after it is numbers and white space and
            // the first value starts as a number: GDAL then reads there what it would
            // read going on from the row before.
            std::optional<TPodzialASC> p;
            std::string dane;
            std::unique_ptr<std::FILE, TZamknijPlik> f(std::fopen(nazwa.c_str(), "rb"));
            if (f) p = ZnajdzPodzialASC(f.get(), kolumn, wierszy, koniec);
            if (p) {
                dane = std::move(p->Naglowek);
                const std::size_t naglowek = dane.size();
                long dlugosc = -1;
                if (std::fseek(f.get(), 0, SEEK_END) == 0) dlugosc = std::ftell(f.get());
                if (dlugosc >= p->Bajt && std::fseek(f.get(), static_cast<long>(p->Bajt), SEEK_SET) == 0) {
                    dane.resize(naglowek + static_cast<std::size_t>(dlugosc - p->Bajt));
                    dane.resize(naglowek + std::fread(dane.data() + naglowek, 1, dane.size() - naglowek, f.get()));
                } else {
                    dane.resize(naglowek);
                }
                const std::size_t pierwszy = dane.find_first_not_of(" \t\r\n", naglowek);
                bool liczby = pierwszy != std::string::npos &&
                              std::string_view("0123456789+-.").find(dane[pierwszy]) != std::string_view::npos;
                for (std::size_t i = naglowek; liczby && i < dane.size(); ++i)
                    liczby = RodzajZnaku(static_cast<unsigned char>(dane[i])) != 2;
                if (!liczby) p.reset();
            }
            f.reset();
            granica.store(p ? p->Wiersz : wierszy);
            granica.notify_one();
            if (!p) return;
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
