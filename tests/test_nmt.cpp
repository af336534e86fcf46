// Elevation grids: reading (ASC, XYZ in both orders, GeoTIFF made here through GDAL), the thinning to a TIN checked
// by brute force at every node, holes, sheets joined, the corridor, and coordinate transforms against closed forms.
#include <cstdio>
#include <set>
#include <sstream>

#include "nmt/NMT.h"
#include "nmt/Uklady.h"
#include "scena/InfoProjekt.h"
#include "wymiana/LandXML.h"
#include "pomocnicze/Pomocnicze.h"

namespace {

constexpr double kBrak = -9999;

// An ARC/INFO ASCII grid of W x H nodes, node (i, j) at (x0 + i*d, y0 + j*d), j = 0 the southern row.
std::string Asc(int W, int H, double x0, double y0, double d, const std::function<double(int, int)>& z) {
    std::string t = "ncols " + std::to_string(W) + "\nnrows " + std::to_string(H) + "\nxllcenter " +
                    std::to_string(x0) + "\nyllcenter " + std::to_string(y0) + "\ncellsize " + std::to_string(d) +
                    "\nNODATA_value -9999\n";
    char b[64];
    for (int j = H - 1; j >= 0; --j) {
        for (int i = 0; i < W; ++i) {
            std::snprintf(b, sizeof b, "%.2f ", z(i, j));
            t += b;
        }
        t += '\n';
    }
    return t;
}

std::string ZapiszAsc(const std::string& nazwa, int W, int H, double x0, double y0, double d,
                      const std::function<double(int, int)>& z) {
    const std::string p = KatalogTymczasowy() + "/" + nazwa;
    ZapiszPlik(p, Asc(W, H, x0, y0, d, z));
    return p;
}

// The TIN's height at every grid node it covers (NaN elsewhere), by testing every node against every triangle's box.
std::vector<double> WysokosciTIN(const TTinNMT& t, const TSiatkaNMT& s) {
    std::vector<double> w(s.Z.size(), std::nan(""));
    for (const auto& tr : t.Trojkaty) {
        const TPunkt3D &a = t.Punkty[tr[0]], &b = t.Punkty[tr[1]], &c = t.Punkty[tr[2]];
        const double det = (b.X - a.X) * (c.Y - a.Y) - (c.X - a.X) * (b.Y - a.Y);
        EXPECT_GT(det, 0) << "trójkąt nie jest przeciwny do ruchu wskazówek zegara";
        const int i0 = int(std::floor((std::min({a.X, b.X, c.X}) - s.X0) / s.DX)),
                  i1 = int(std::ceil((std::max({a.X, b.X, c.X}) - s.X0) / s.DX));
        const int j0 = int(std::floor((std::min({a.Y, b.Y, c.Y}) - s.Y0) / s.DY)),
                  j1 = int(std::ceil((std::max({a.Y, b.Y, c.Y}) - s.Y0) / s.DY));
        for (int j = std::max(0, j0); j <= std::min(s.Wiersze - 1, j1); ++j)
            for (int i = std::max(0, i0); i <= std::min(s.Kolumny - 1, i1); ++i) {
                const double x = s.X0 + i * s.DX, y = s.Y0 + j * s.DY;
                const double l1 = ((b.X - x) * (c.Y - y) - (c.X - x) * (b.Y - y)) / det;
                const double l2 = ((c.X - x) * (a.Y - y) - (a.X - x) * (c.Y - y)) / det;
                const double l3 = 1 - l1 - l2;
                if (l1 < -1e-9 || l2 < -1e-9 || l3 < -1e-9) continue;
                w[s.Indeks(i, j)] = l1 * a.Z + l2 * b.Z + l3 * c.Z;
            }
    }
    return w;
}

// Every node with data covered and within the tolerance; no covered node without data more than a cell into a hole.
void SprawdzTIN(const TTinNMT& t, const TSiatkaNMT& s, double tol) {
    const std::vector<double> h = WysokosciTIN(t, s);
    int niepokryte = 0, zaDaleko = 0, wDziurze = 0;
    double najwiekszy = 0;
    for (int j = 0; j < s.Wiersze; ++j)
        for (int i = 0; i < s.Kolumny; ++i) {
            const double z = s.Z[s.Indeks(i, j)], v = h[s.Indeks(i, j)];
            if (!std::isnan(z)) {
                if (std::isnan(v))
                    ++niepokryte;
                else if (std::fabs(v - z) > tol + 1e-9)
                    ++zaDaleko;
                if (!std::isnan(v)) najwiekszy = std::max(najwiekszy, std::fabs(v - z));
            } else if (!std::isnan(v)) {
                bool sasiad = false;
                for (int q = std::max(0, j - 1); q <= std::min(s.Wiersze - 1, j + 1); ++q)
                    for (int p = std::max(0, i - 1); p <= std::min(s.Kolumny - 1, i + 1); ++p)
                        sasiad |= !std::isnan(s.Z[s.Indeks(p, q)]);
                wDziurze += !sasiad;
            }
        }
    EXPECT_EQ(niepokryte, 0);
    EXPECT_EQ(zaDaleko, 0) << "największy błąd " << najwiekszy;
    EXPECT_EQ(wDziurze, 0);
}

}  // namespace

TEST(NMT, PlaszczyznaToDwaTrojkaty) {
    const std::string p = ZapiszAsc("plaska.asc", 50, 40, 600000, 400000, 1,
                                    [](int i, int j) { return 100 + 0.05 * i - 0.02 * j; });
    const auto w = WczytajNMT({p}, {});
    ASSERT_TRUE(w);
    EXPECT_EQ(w->Tin.Trojkaty.size(), 2u);
    EXPECT_EQ(w->Tin.Punkty.size(), 4u);
    EXPECT_EQ(w->Tin.WezlyZDanymi, 2000);
}

TEST(NMT, ParaboloidaWTolerancjiWKazdymWezle) {
    const TSiatkaNMT s = SiatkaNMTZ(161, 121,
                                    [](int i, int j) { return 0.004 * ((i - 70) * (i - 70) + (j - 50) * (j - 50)); });
    for (double tol : {0.0, 0.05, 0.5}) {
        SCOPED_TRACE(tol);
        const auto t = PrzerzedzSiatke(s, tol);
        ASSERT_TRUE(t);
        SprawdzTIN(*t, s, tol);
        if (tol == 0.0) {
            EXPECT_GT(t->Trojkaty.size(), 20000u);
        } else if (tol == 0.5) {
            EXPECT_LT(t->Trojkaty.size(), 800u);  // far fewer than the 38,400 of the grid
        }
    }
}

TEST(NMT, DziuryIObszarL) {
    // An L of data (the north-east quarter empty), a round hole and a single missing node; rough ground.
    const TSiatkaNMT s = SiatkaNMTZ(90, 70, [](int i, int j) {
        if (i >= 50 && j >= 40) return std::nan("");
        if ((i - 25) * (i - 25) + (j - 25) * (j - 25) < 64) return std::nan("");
        if (i == 70 && j == 10) return std::nan("");
        return 50 + 3 * std::sin(i * 0.3) * std::cos(j * 0.2);
    });
    const auto t = PrzerzedzSiatke(s, 0.1);
    ASSERT_TRUE(t);
    SprawdzTIN(*t, s, 0.1);
    // No data outside the L's box (beyond the hole's edge by more than a cell) is covered: checked above; and the
    // whole grid fully without data gives no triangle.
    const auto pusta = PrzerzedzSiatke(SiatkaNMTZ(5, 5, [](int, int) { return std::nan(""); }), 0.1);
    ASSERT_TRUE(pusta);
    EXPECT_TRUE(pusta->Trojkaty.empty());
    // Data in a ring around the grid's edge only, corners without data.
    const TSiatkaNMT r = SiatkaNMTZ(40, 30, [](int i, int j) {
        const bool rog = (i < 3 || i > 36) && (j < 3 || j > 26);
        return rog ? std::nan("") : 10.0 + 0.01 * i * j;
    });
    const auto tr = PrzerzedzSiatke(r, 0.05);
    ASSERT_TRUE(tr);
    SprawdzTIN(*tr, r, 0.05);
}

TEST(NMT, DziuryRoznychKsztaltow) {
    // Holes the scan steps over as runs of a row: scattered missing nodes, a diagonal band of data (a corridor),
    // level stripes (edges along the rows), square holes in a lattice, two columns of data; rough ground, so that
    // the error splits and the splits of the data's edge mix.
    const std::vector<std::pair<const char*, std::function<bool(int, int)>>> maski = {
        {"rozproszone", [](int i, int j) { return (i * 7919 + j * 104729) % 11 == 3; }},
        {"pas ukośny", [](int i, int j) { return std::abs(2 * i - 3 * j - 10) > 17; }},
        {"pasy poziome", [](int, int j) { return j % 9 >= 6; }},
        {"kratka", [](int i, int j) { return i % 13 >= 4 && i % 13 <= 9 && j % 11 >= 2 && j % 11 <= 8; }},
        {"dwie kolumny", [](int i, int) { return i != 37 && i != 38; }},
    };
    for (const auto& [nazwa, brak] : maski) {
        SCOPED_TRACE(nazwa);
        const TSiatkaNMT s = SiatkaNMTZ(83, 61, [&](int i, int j) {
            return brak(i, j) ? std::nan("") : 20 + 2 * std::sin(i * 0.37) * std::cos(j * 0.23) + 0.01 * ((i * j) % 7);
        });
        for (double tol : {0.0, 0.08}) {
            const auto t = PrzerzedzSiatke(s, tol);
            ASSERT_TRUE(t);
            SprawdzTIN(*t, s, tol);
        }
    }
}

TEST(NMT, DwaArkuszeBezSzczeliny) {
    auto z = [](int i, int j) { return 200 + 4 * std::sin(i * 0.11) + 3 * std::cos(j * 0.07) + 0.001 * i * j; };
    // The whole grid, and the same as a western and an eastern sheet sharing the column 60.
    const std::string cala = ZapiszAsc("cala.asc", 120, 80, 1000, 2000, 1, z);
    const std::string zach = ZapiszAsc("zachod.asc", 61, 80, 1000, 2000, 1, z);
    const std::string wsch = ZapiszAsc("wschod.asc", 60, 80, 1060, 2000, 1, [&](int i, int j) { return z(i + 60, j); });
    const auto a = WczytajNMT({cala}, {}), b = WczytajNMT({zach, wsch}, {}), c = WczytajNMT({wsch, zach}, {});
    ASSERT_TRUE(a && b && c);
    // One terrain thinned as one: the same TIN as the whole grid's, so no edge ends at the sheets' border.
    auto trojkaty = [](const TTinNMT& t) {
        std::set<std::array<std::tuple<double, double>, 3>> w;
        for (const auto& tr : t.Trojkaty) {
            std::array<std::tuple<double, double>, 3> v;
            for (int k = 0; k < 3; ++k) v[k] = {t.Punkty[tr[k]].X, t.Punkty[tr[k]].Y};
            std::sort(v.begin(), v.end());
            w.insert(v);
        }
        return w;
    };
    EXPECT_EQ(trojkaty(b->Tin), trojkaty(a->Tin));
    EXPECT_EQ(trojkaty(c->Tin), trojkaty(a->Tin));
    // Every inner edge has two triangles: an edge used once lies on the grid's outline.
    std::map<std::pair<std::tuple<double, double>, std::tuple<double, double>>, int> krawedzie;
    for (const auto& tr : b->Tin.Trojkaty)
        for (int k = 0; k < 3; ++k) {
            auto p = std::tuple(b->Tin.Punkty[tr[k]].X, b->Tin.Punkty[tr[k]].Y);
            auto q = std::tuple(b->Tin.Punkty[tr[(k + 1) % 3]].X, b->Tin.Punkty[tr[(k + 1) % 3]].Y);
            ++krawedzie[std::minmax(p, q)];
        }
    for (const auto& [k, n] : krawedzie) {
        const auto [x1, y1] = k.first;
        const auto [x2, y2] = k.second;
        const bool obwod = (x1 == x2 && (x1 == 1000 || x1 == 1119)) || (y1 == y2 && (y1 == 2000 || y1 == 2079));
        EXPECT_EQ(n, obwod ? 1 : 2) << x1 << " " << y1 << " " << x2 << " " << y2;
    }
    // A sheet off the lattice or of another spacing is refused.
    const std::string krzywy = ZapiszAsc("krzywy.asc", 10, 10, 1000.5, 2100, 1, z);
    EXPECT_EQ(Blad([&] {
                  WczytajNMT({cala, krzywy}, {});
              }),
              "Węzły arkusza nie leżą na siatce pierwszego arkusza (przesunięcie o ułamek oczka).\nPlik: " + krzywy);
    const std::string rzadki = ZapiszAsc("rzadki.asc", 10, 10, 1000, 2100, 2, z);
    EXPECT_TRUE(Blad([&] { WczytajNMT({cala, rzadki}, {}); }).starts_with("Arkusz ma inny rozstaw węzłów (2 × 2 m)"));
}

TEST(NMT, DwaPorzadkiXYZ) {
    // The geodetic order: x (northing) first, lines with one northing after another; 4 columns (easting
    // 600000..600003) by 3 rows (northing 400000..400002), height = 10*i + j. (The GIS order: the readers' contract.)
    std::string geo;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 3; ++j)
            geo += std::to_string(400000 + j) + " " + std::to_string(600000 + i) + " " + std::to_string(10 * i + j) +
                   "\n";
    const std::string pp = KatalogTymczasowy() + "/geo.xyz";
    ZapiszPlik(pp, geo);
    const TSiatkaNMT s = CzytajSiatkeNMT(pp, {true});
    ASSERT_EQ(std::tuple(s.Kolumny, s.Wiersze, s.X0, s.Y0, s.DX, s.DY), std::tuple(4, 3, 600000.0, 400000.0, 1.0, 1.0));
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 4; ++i) EXPECT_EQ(s.Z[s.Indeks(i, j)], 10 * i + j) << i << " " << j;
    // Read in the GIS order it lies transposed: northings as eastings.
    const TSiatkaNMT t = CzytajSiatkeNMT(pp, {false});
    EXPECT_EQ(std::tuple(t.Kolumny, t.Wiersze, t.X0, t.Y0), std::tuple(3, 4, 400000.0, 600000.0));
}

TEST(NMT, ASCNaDwochWatkach) {
    // Read by two threads (the file cut near its middle row) and by one: the same heights, whatever the lines hold.
    const int W = 37, H = 29;
    auto z = [](int i, int j) { return (i == 5 && j == 3) ? kBrak : 100 + 0.37 * i - 0.11 * j + 0.01 * ((i * j) % 7); };
    const std::string naglowek =
        "NCOLS 37\r\nnrows    29\r\nxllcenter 500000\r\nyllcenter 300000\r\ncellsize 1\r\n"
        "NODATA_value -9999\r\n";
    auto plik = [&](const std::string& nazwa, int naWiersz, const char* koniec, const char* format,
                    const std::string* naglowekPliku = nullptr) {
        std::string t = naglowekPliku ? *naglowekPliku : naglowek;
        char b[64];
        int w = 0;
        for (int j = H - 1; j >= 0; --j)
            for (int i = 0; i < W; ++i) {
                std::snprintf(b, sizeof b, format, z(i, j));
                t += b;
                t += ++w % naWiersz == 0 ? koniec : " ";
            }
        const std::string p = KatalogTymczasowy() + "/" + nazwa;
        ZapiszPlik(p, t);
        return p;
    };
    const std::string naglowekZCR =
        "NCOLS 37\nnrows 29\nxllcenter 500000\ncellsize 1\nNODATA_value -9999\nyllcenter 300000\r7 7 7\n";
    const std::vector<std::string> pliki = {
        plik("wiersze.asc", W, "\r\n", "%.2f"),   // a row a line, Windows line ends
        plik("zawiniete.asc", 10, "\n", "%.2f"),  // rows wrapped, ten values a line
        plik("jedna.asc", W * H, "\n", "%.6e"),   // all in one line: nowhere to cut
        plik("nan.asc", 7, "\n", "%.2f"),         // below: a value GDAL reads its own way
        // A CR inside a header line followed by a number: GDAL's data begin there, three values early.
        plik("cr_w_naglowku.asc", W, "\n", "%.2f", &naglowekZCR),
    };
    {
        std::string t = CzytajPlik(pliki[3]);
        t.replace(t.rfind("100."), 3, "nan");
        ZapiszPlik(pliki[3], t);
    }
    // The grid, or the message of its error.
    auto czytaj = [](const std::string& p, std::int64_t prog) -> std::pair<TSiatkaNMT, std::string> {
        try {
            return {CzytajSiatkeNMT(p, {false, prog}), ""};
        } catch (const BladKonwersji& e) {
            return {{}, e.what()};
        }
    };
    for (const std::string& p : pliki) {
        SCOPED_TRACE(p);
        const auto [jeden, b1] = czytaj(p, 1'000'000);
        const auto [dwa, b2] = czytaj(p, 1);
        EXPECT_EQ(b1, b2);
        if (p == pliki[3]) {
            EXPECT_NE(b1.find("wierszu 29, kolumnie 3"), std::string::npos) << b1;
        }
        if (!b1.empty()) continue;
        ASSERT_EQ(std::tuple(dwa.Kolumny, dwa.Wiersze, dwa.X0, dwa.Y0), std::tuple(W, H, 500000.0, 300000.0));
        ASSERT_EQ(jeden.Z.size(), dwa.Z.size());
        for (std::size_t n = 0; n < jeden.Z.size(); ++n)
            ASSERT_TRUE(jeden.Z[n] == dwa.Z[n] || (std::isnan(jeden.Z[n]) && std::isnan(dwa.Z[n]))) << n;
        if (p == pliki[0]) {
            EXPECT_TRUE(std::isnan(dwa.Z[dwa.Indeks(5, 3)]));
            EXPECT_NEAR(dwa.Z[dwa.Indeks(36, 0)], 100 + 0.37 * 36, 1e-9);
        }
    }
    // Cut short in the lower half (the second thread's part) or in the upper: the same message as one thread gives.
    for (double czesc : {0.8, 0.3}) {
        std::string t = CzytajPlik(pliki[1]);
        t.resize(std::size_t(t.size() * czesc));
        const std::string p = KatalogTymczasowy() + "/ucieta.asc";
        ZapiszPlik(p, t);
        const std::string b1 = czytaj(p, 1'000'000).second, b2 = czytaj(p, 1).second;
        EXPECT_NE(b1.find("nie można odczytać wiersza"), std::string::npos) << b1;
        EXPECT_EQ(b1, b2);
    }
}

TEST(NMT, GeoTIFFZGDAL) {
    // 5 x 4 pixels of 2 m, the north-west corner at (500000, 300008), EPSG:2180, nodata -9999 at one pixel (where
    // the nodes lie: the readers' contract).
    const std::string p = KatalogTymczasowy() + "/maly.tif";
    std::vector<double> v(20, 100);
    v[7] = kBrak;
    ZapiszGeoTIFF(p, 5, 4, {500000, 2, 0, 300008, 0, -2}, v, 2180, kBrak);
    const TSiatkaNMT s = CzytajSiatkeNMT(p);
    EXPECT_EQ(std::tuple(s.Kolumny, s.Wiersze, s.X0, s.Y0, s.DX, s.DY, s.EPSG),
              std::tuple(5, 4, 500001.0, 300001.0, 2.0, 2.0, 2180));
    EXPECT_TRUE(std::isnan(s.Z[s.Indeks(2, 2)]));  // file row 1, column 2
    // Through the whole flow: the system is the file's.
    const auto w = WczytajNMT({p}, {});
    ASSERT_TRUE(w);
    EXPECT_EQ(w->UkladSiatki, 2180);
    EXPECT_EQ(w->Opis[1], "Układ współrzędnych siatki: EPSG:2180 (ETRF2000-PL / CS92).");
}

TEST(NMT, PasWokolTrasy) {
    TSiatkaNMT s = SiatkaNMTZ(200, 150, [](int i, int j) { return 0.1 * i + 0.2 * j; });
    const TSiatkaNMT pelna = s;
    const std::vector<TPunkt2D> os = {{5020, 7010}, {5100, 7080}, {5180, 7030}};
    const double pas = 12.5;
    OgraniczDoPasa(s, os, pas);
    // Brute force: distance of every node of the full grid to the polyline.
    auto odl = [&](double x, double y) {
        double d = 1e30;
        for (std::size_t n = 0; n + 1 < os.size(); ++n) {
            const double ux = os[n + 1].X - os[n].X, uy = os[n + 1].Y - os[n].Y;
            const double t = std::clamp(((x - os[n].X) * ux + (y - os[n].Y) * uy) / (ux * ux + uy * uy), 0.0, 1.0);
            d = std::min(d, std::hypot(x - os[n].X - t * ux, y - os[n].Y - t * uy));
        }
        return d;
    };
    int zle = 0, zachowane = 0;
    for (int j = 0; j < pelna.Wiersze; ++j)
        for (int i = 0; i < pelna.Kolumny; ++i) {
            const double x = pelna.X0 + i, y = pelna.Y0 + j;
            const int ii = int(std::lround(x - s.X0)), jj = int(std::lround(y - s.Y0));
            const bool w = ii >= 0 && jj >= 0 && ii < s.Kolumny && jj < s.Wiersze && !std::isnan(s.Z[s.Indeks(ii, jj)]);
            if (w) {
                ++zachowane;
                if (s.Z[s.Indeks(ii, jj)] != pelna.Z[pelna.Indeks(i, j)]) ++zle;
            }
            if (w != (odl(x, y) <= pas)) ++zle;
        }
    EXPECT_EQ(zle, 0);
    EXPECT_GT(zachowane, 3000);
    // Cut to the box of what is left.
    EXPECT_EQ(std::tuple(s.X0, s.Y0), std::tuple(5020 - 12.0, 7000.0));
    // The corridor missing the grid, and no route, are refused.
    TOpcjeNMT o;
    o.Pas = 10;
    const std::string p = ZapiszAsc("pas.asc", 20, 20, 0, 0, 1, [](int, int) { return 1.0; });
    EXPECT_EQ(Blad([&] { WczytajNMT({p}, o); }), "Pas wokół trasy wymaga trasy: wczytaj ją przed siatką.");
    o.Os = {{500, 500}, {600, 600}};
    EXPECT_EQ(Blad([&] { WczytajNMT({p}, o); }), "Siatka nie ma danych w pasie 10 m wokół trasy.\nPlik: " + p);
}

namespace {
// The meridian arc of GRS80 from the equator to latitude phi (radians), by Simpson's rule over the meridian's
// radius of curvature a(1-e^2)/(1-e^2 sin^2)^(3/2): an oracle independent of PROJ's series.
double LukPoludnika(double phi) {
    const double a = 6378137.0, f = 1 / 298.257222101, e2 = f * (2 - f);
    auto rho = [&](double t) { return a * (1 - e2) / std::pow(1 - e2 * std::sin(t) * std::sin(t), 1.5); };
    const int n = 20000;
    double s = rho(0) + rho(phi);
    for (int k = 1; k < n; ++k) s += rho(phi * k / n) * (k % 2 ? 4 : 2);
    return s * phi / n / 3;
}
}  // namespace

TEST(NMT, UkladyWspolrzednychPROJ) {
    // On a zone's central meridian the transverse Mercator gives E = false easting, N = k0 * arc + false northing.
    // PL-1992 (EPSG:2180): 19° E, k0 = 0.9993, FE = 500000, FN = -5300000. PL-2000 zone 7 (EPSG:2178): 21° E,
    // k0 = 0.999923, FE = 7500000, FN = 0.
    for (double fi : {50.0, 52.25, 54.5}) {
        SCOPED_TRACE(fi);
        const double luk = LukPoludnika(fi * Pi / 180);
        std::vector<TPunkt3D> p = {{19.0, fi, 123.4}};  // EPSG:4326 normalised: longitude, latitude
        PrzeliczUklad(p, 4326, 2180);
        EXPECT_NEAR(p[0].X, 500000.0, 1e-4);
        EXPECT_NEAR(p[0].Y, 0.9993 * luk - 5300000.0, 1e-3);
        EXPECT_EQ(p[0].Z, 123.4);  // heights unchanged
        std::vector<TPunkt2D> q = {{21.0, fi}};
        PrzeliczUklad(q, 4326, 2178);
        EXPECT_NEAR(q[0].X, 7500000.0, 1e-4);
        EXPECT_NEAR(q[0].Y, 0.999923 * luk, 1e-3);
        // Back to degrees, and PL-1992 to PL-2000 and back.
        PrzeliczUklad(q, 2178, 4326);
        EXPECT_NEAR(q[0].X, 21.0, 1e-9);
        EXPECT_NEAR(q[0].Y, fi, 1e-9);
    }
    std::vector<TPunkt3D> r = {{637000.25, 486000.5, 7}}, r0 = r;
    PrzeliczUklad(r, 2180, 2178);
    EXPECT_GT(std::hypot(r[0].X - r0[0].X, r[0].Y - r0[0].Y), 1000);
    PrzeliczUklad(r, 2178, 2180);
    EXPECT_NEAR(r[0].X, r0[0].X, 1e-6);
    EXPECT_NEAR(r[0].Y, r0[0].Y, 1e-6);
    EXPECT_EQ(Blad([&] { PrzeliczUklad(r, 2180, 999999); }), "Nieznany układ współrzędnych EPSG:999999.");
    EXPECT_EQ(NazwaUkladu(2180), "EPSG:2180 (ETRF2000-PL / CS92)");
    EXPECT_EQ(NazwaUkladu(0), "nieznany");
}

TEST(NMT, UkladPlikuIProjektu) {
    // A grid in PL-1992 given by option, the project in PL-2000 zone 7: the vertices move, heights stay.
    const std::string p = ZapiszAsc("uklad.asc", 30, 30, 637000, 486000, 1,
                                    [](int i, int j) { return 100 + 0.1 * i * j; });
    TOpcjeNMT o;
    o.UkladPliku = 2180;
    const auto a = WczytajNMT({p}, o);
    o.Uklad = 2178;
    const auto b = WczytajNMT({p}, o);
    ASSERT_TRUE(a && b);
    ASSERT_EQ(a->Tin.Punkty.size(), b->Tin.Punkty.size());
    std::vector<TPunkt3D> oczekiwane = a->Tin.Punkty;
    PrzeliczUklad(oczekiwane, 2180, 2178);
    for (std::size_t n = 0; n < oczekiwane.size(); ++n) {
        EXPECT_NEAR(b->Tin.Punkty[n].X, oczekiwane[n].X, 1e-6);
        EXPECT_EQ(b->Tin.Punkty[n].Z, a->Tin.Punkty[n].Z);
    }
    EXPECT_EQ(std::tuple(b->UkladSiatki, b->UkladWyniku), std::tuple(2180, 2178));
    EXPECT_NE(b->Opis[1].find("przeliczono do EPSG:2178"), std::string::npos) << b->Opis[1];
}

TEST(NMT, PrzerwanieIPostep) {
    const TSiatkaNMT s = SiatkaNMTZ(300, 300, [](int i, int j) { return std::sin(i * 0.1) * std::cos(j * 0.13) * 5; });
    std::atomic<bool> stop{true};
    EXPECT_FALSE(PrzerzedzSiatke(s, 0.01, {}, &stop));
    std::vector<double> u;
    ASSERT_TRUE(PrzerzedzSiatke(s, 0.01, [&](double x) { u.push_back(x); }));
    ASSERT_FALSE(u.empty());
    EXPECT_TRUE(std::is_sorted(u.begin(), u.end()));
    EXPECT_EQ(u.back(), 1.0);
}

namespace {
// A LandXML route of one straight from (x0, y0) to (x1, y1) (X easting), with CoordinateSystem `uklad` when given.
std::string TrasaLandXML(double x0, double y0, double x1, double y1, const std::string& uklad) {
    char l[200];
    std::snprintf(l, sizeof l, "<Line><Start>%.3f %.3f</Start><End>%.3f %.3f</End></Line>", y0, x0, y1, x1);
    return "<?xml version=\"1.0\"?>\n<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.2\">\n" +
           (uklad.empty() ? std::string() : "<CoordinateSystem epsgCode=\"" + uklad + "\"/>\n") +
           "<Alignments><Alignment name=\"Oś\" staStart=\"0\"><CoordGeom>" + l +
           "</CoordGeom></Alignment></Alignments>\n</LandXML>\n";
}
}  // namespace

TEST(NMT, UkladPlikuLandXML) {
    // A route in PL-2000 zone 7 (its file says so), a grid in PL-1992 (by option): the grid's TIN is moved into the
    // route's system, and the reports name both systems.
    ZerujStan();
    std::vector<TPunkt2D> os = {{637010, 486050}, {637090, 486050}};
    PrzeliczUklad(os, 2180, 2178);
    const std::string trasa = KatalogTymczasowy() + "/trasa2178.xml";
    ZapiszPlik(trasa, TrasaLandXML(os[0].X, os[0].Y, os[1].X, os[1].Y, " EPSG:2178 "));
    WczytajPlik(trasa);
    ASSERT_TRUE(Trasa.Obliczona);
    EXPECT_EQ(Trasa.EPSG, 2178);
    const std::string siatka = ZapiszAsc("uklad1992.asc", 101, 101, 637000, 486000, 1,
                                         [](int i, int j) { return 100 + 0.01 * i * j; });
    TOpcjeNMT o;
    o.UkladPliku = 2180;
    o.Pas = 20.5;
    ASSERT_TRUE(OtworzNMT({siatka}, o));
    EXPECT_EQ(TEREN.EPSG, 2178);
    // The corridor in PL-1992 around the route brought back there: the TIN reaches the last rows of nodes within 20.5 m of it.
    std::vector<TPunkt3D> p;
    for (const TPunktSiatki& q : TEREN.Punkty) p.push_back({q.X, q.Y, q.Z});
    PrzeliczUklad(p, 2178, 2180);
    double ymin = 1e9, ymax = -1e9;
    for (const TPunkt3D& q : p) ymin = std::min(ymin, q.Y), ymax = std::max(ymax, q.Y);
    EXPECT_NEAR(ymin, 486030, 1e-3);
    EXPECT_NEAR(ymax, 486070, 1e-3);
    InfoTrasy();
    const auto& t = OpisTekst;
    EXPECT_NE(std::find(t.begin(), t.end(),
                        "Układ współrzędnych trasy: EPSG:2178 (ETRF2000-PL / CS2000/21); terenu: EPSG:2178 "
                        "(ETRF2000-PL / CS2000/21)."),
              t.end());
    // A project's system other than the route's is refused, and the terrain stays.
    const std::size_t punkty = TEREN.Punkty.size();
    o.Uklad = 2180;
    EXPECT_EQ(Blad([&] { OtworzNMT({siatka}, o); }),
              "Układ projektu EPSG:2180 (ETRF2000-PL / CS92) różni się od układu wczytanych danych EPSG:2178 "
              "(ETRF2000-PL / CS2000/21): program przelicza tylko siatki, nie trasę ani powierzchnie z plików.");
    EXPECT_EQ(TEREN.Punkty.size(), punkty);
    // A terrain in another system than the route's (the grid first, the route after it): the report warns.
    ZerujStan();
    TOpcjeNMT b;
    b.UkladPliku = 2180;
    WczytajPlik(siatka, {}, {}, b);
    WczytajPlik(trasa);
    EXPECT_EQ(std::tuple(TEREN.EPSG, Trasa.EPSG), std::tuple(2180, 2178));
    InfoTrasy();
    EXPECT_NE(std::find(t.begin(), t.end(),
                        "UWAGA: trasa i teren są w różnych układach współrzędnych (program ich nie przelicza)."),
              t.end());
}

TEST(NMT, KodUkladuLandXML) {
    // No CoordinateSystem, or an empty code: no system; a code that is no number is refused with the line.
    for (const auto& [uklad, epsg] : {std::pair<std::string, int>{"", 0}, {"2176", 2176}, {"epsg:2177", 2177}}) {
        ZerujStan();
        const std::string p = KatalogTymczasowy() + "/kod.xml";
        ZapiszPlik(p, TrasaLandXML(7500000, 5500000, 7500100, 5500000, uklad));
        WczytajPlik(p);
        EXPECT_EQ(Trasa.EPSG, epsg) << uklad;
        // Saved and read back, the file keeps its system (and names none when it had none).
        std::ostringstream zapis;
        ZapiszLandXML(zapis, ProjektOkna);
        ZerujStan();
        OtworzLandXMLZBufora(zapis.str(), "kod_zapisany.xml");
        EXPECT_EQ(Trasa.EPSG, epsg) << uklad;
    }
    const std::string p = KatalogTymczasowy() + "/zly_kod.xml";
    ZapiszPlik(p, TrasaLandXML(7500000, 5500000, 7500100, 5500000, "PUWG 2000"));
    EXPECT_EQ(Blad([&] { WczytajPlik(p); }),
              "Nieprawidłowy kod układu współrzędnych epsgCode „PUWG 2000” w CoordinateSystem (oczekiwano kodu "
              "EPSG, np. 2180).\nPlik: " +
                  p + ", wiersz: 3");
}
