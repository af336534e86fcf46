// Reading a grid's heights through GDAL, shared by the grid reader: the
// reader's error, GDAL's messages caught on the reading thread, the rows read
// in strips, and an ASCII grid read by two threads at once.
#pragma once

#include <gdal.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "model/ZapisywanieOdczytywanie.h"

constexpr double kNajwiekszaWartosc = 1e12;  // coordinates and heights, as the other readers allow

[[noreturn]] void BladSiatki(const std::string& komunikat, const std::string& nazwa, long wiersz = 0);

// GDAL's messages of one read, collected by a handler on this thread only
// (GDAL keeps its handlers per thread).
class TObslugaBledowGDAL {
public:
    TObslugaBledowGDAL();
    ~TObslugaBledowGDAL();
    TObslugaBledowGDAL(const TObslugaBledowGDAL&) = delete;
    TObslugaBledowGDAL& operator=(const TObslugaBledowGDAL&) = delete;
    const std::string& Ostatni() const { return ostatni_; }
    void Zapisz(const char* tekst) { ostatni_ = tekst; }

private:
    std::string ostatni_;
};

// The file's line GDAL's message names ("At line 12"), 0 when none.
long WierszZKomunikatu(const std::string& t);

struct TZamknij {
    void operator()(void* z) const { GDALClose(static_cast<GDALDatasetH>(z)); }
};

// Rows [od, do_) of the band into z (row j at j * kolumn), in strips. A row
// GDAL cannot read raises BladSiatki naming it, counted from `pierwszy` + 1
// (the band may hold only a part of the file's rows). `postep` gets the
// share of rows up to `calosc` done. False when `stop` was set.
bool CzytajWiersze(GDALRasterBandH pasmo, double* z, std::int64_t kolumn, std::int64_t od, std::int64_t do_,
                   std::int64_t pierwszy, const TObslugaBledowGDAL& bledy, const std::string& nazwa,
                   const TPostep& postep, std::int64_t calosc, const std::atomic<bool>& stop);

// The heights of an ARC/INFO ASCII grid of `kolumn` x `wierszy` nodes whose
// band GDAL has open: GDAL parses every value, in two threads at once, each
// half of the rows. The second thread finds a row boundary near the middle of
// the file by counting the values from the data's start, and has GDAL read
// the rest of the file behind a copy of the header. A file whose data holds
// anything but numbers and white space is read by one thread, as is one too
// short to cut. False when `stop` was set.
bool CzytajASCNaDwochWatkach(const std::string& nazwa, GDALRasterBandH pasmo, double* z, std::int64_t kolumn,
                             std::int64_t wierszy, const TObslugaBledowGDAL& bledy, const TPostep& postep,
                             const std::atomic<bool>& stop);
