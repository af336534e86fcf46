// What the tests share: headers, a fresh state, locales, temporary files, failure messages, grids and routes.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <numbers>
#include <string>
#include <tuple>
#include <vector>

#include "analiza/Wysokosci.h"
#include "model/ZapisywanieOdczytywanie.h"
#include "model/Zmienne.h"
#include "render/RysujPerspektywa.h"
#include "route/OblTrasa.h"
#include "scena/Scena.h"
#include "nmt/SiatkaNMT.h"

constexpr double Pi = std::numbers::pi;

// The state of a fresh program for a W x H paint area (UstawStanPoczatkowy).
void ZerujStan(int W = 958, int H = 637);

// Sets LC_NUMERIC for the lifetime of the object ("C" gives '.', a Polish locale ',').
class UstawLocale {
public:
    explicit UstawLocale(char separator);
    ~UstawLocale();
    UstawLocale(const UstawLocale&) = delete;
    UstawLocale& operator=(const UstawLocale&) = delete;

private:
    std::string poprzednie_;
};

// A fresh temporary directory (removed at exit of the process).
std::string KatalogTymczasowy();
void ZapiszPlik(const std::string& sciezka, const std::string& tresc);
std::string CzytajPlik(const std::string& sciezka);

// The pieces of s between the separators (an empty piece where two meet or one ends s).
std::vector<std::string> Podziel(const std::string& s, char separator = '|');

// The message of what f throws; "" when it throws nothing.
template <class F>
std::string Blad(F&& f) try {
    return f(), "";
} catch (const std::exception& e) {
    return e.what();
}

// A one-band GeoTIFF of doubles through GDAL: `z` row by row from the north, the geotransform `gt`
// (pixels are areas), the system `epsg` when not 0 and the nodata value `brak` when not NaN.
void ZapiszGeoTIFF(const std::string& sciezka, int kolumny, int wiersze, const std::array<double, 6>& gt,
                   std::vector<double> z, int epsg = 0, double brak = std::nan(""));

TTrojkatRogi Trojkat(const TPunkt3D& a, const TPunkt3D& b, const TPunkt3D& c);
// Cells of krok by krokY (krok when 0) over [x0, x1] x [y0, y1], two triangles each, heights z(x, y).
std::vector<TTrojkatRogi> Siatka(double x0, double x1, double y0, double y1, double krok,
                                 const std::function<double(double, double)>& z, double krokY = 0);
// An elevation grid of W x H nodes 1 m apart, node (i, j) of height z(i, j) (NaN: no data).
TSiatkaNMT SiatkaNMTZ(int W, int H, const std::function<double(int, int)>& z);
// A mesh of the triangles, in their order, each with corners of its own.
TSiatka SiatkaZ(const std::vector<TTrojkatRogi>& trojkaty);
// The mesh's triangles replaced by these (its points and the rest kept).
void UstawTrojkaty(TSiatka& siatka, const std::vector<TTrojkatRogi>& trojkaty);
// The window's frame drawn by the program's rasterizer into a W x H buffer of its own, in one band.
std::vector<std::uint32_t> KlatkaJednymPasem(int W, int H);
// The route through the vertices {X, Y, R, A1, A2}, built (inline: the fuzz targets link this file's
// companion without GoogleTest).
inline void BudujTrase(const std::vector<std::array<double, 5>>& w) {
    Trasa.Zalomy.assign(w.size(), TZalom{});
    for (std::size_t i = 0; i < w.size(); ++i) {
        TZalom& z = Trasa.Zalomy[i];
        z.X = w[i][0], z.Y = w[i][1], z.R = float(w[i][2]), z.A1 = float(w[i][3]), z.A2 = float(w[i][4]);
    }
    ObliczTrase();
    EXPECT_TRUE(Trasa.Obliczona);
}
