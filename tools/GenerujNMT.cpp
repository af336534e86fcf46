// A sheet of the national terrain model for measuring (never committed):
//   generuj_nmt KATALOG [N]
// writes KATALOG/nmt.asc: N x N nodes (default 2300) of 1 m in PL-1992 of rolling country with a winding valley
// and hummocky fields,
// heights in centimetres, as the national service publishes them; KATALOG/nmt.png: the same heights as a 16-bit
// grey PNG (value = (height - lowest) * 100, the north row first) for the hmm mesher; KATALOG/trasa.xml: a LandXML
// route of about 3 km across the sheet (two straights), for the corridor.
//   generuj_nmt --z-pliku Przyklady/Droga.tro siatka.asc [KROK]
// writes the terrain of a project file sampled on a grid of KROK m (default 2) with hummocks of a few decimetres and
// a pond without data, in the file's coordinates: a grid under the sample road.
#include <gdal.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "analiza/Wysokosci.h"
#include "common/ZapisBezpieczny.h"
#include "scena/Scena.h"

namespace {

// Deterministic roughness: a hash of the node, -1 to 1.
double Szum(std::uint32_t i, std::uint32_t j) {
    std::uint32_t h = i * 73856093u ^ j * 19349663u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return (h & 0xFFFF) / 32767.5 - 1.0;
}

}  // namespace

namespace {

int SiatkaZPliku(const std::string& plik, const std::string& cel, double krok) {
    UstawStanPoczatkowy(800, 600);
    WczytajPlik(plik);
    const TIndeksyWysokosci indeksy = IndeksyWysokosci(ProjektOkna);
    const TZakres z = TEREN.Zakres;
    const int W = static_cast<int>((z.Xmax - z.Xmin) / krok) + 1, H = static_cast<int>((z.Ymax - z.Ymin) / krok) + 1;
    const double sx = z.Xmin + 0.3 * (z.Xmax - z.Xmin), sy = z.Ymin + 0.7 * (z.Ymax - z.Ymin);
    std::string t = "ncols " + std::to_string(W) + "\nnrows " + std::to_string(H) + "\nxllcenter " +
                    std::to_string(z.Xmin) + "\nyllcenter " + std::to_string(z.Ymin) + "\ncellsize " +
                    std::to_string(krok) + "\nNODATA_value -9999\n";
    char b[32];
    for (int j = H - 1; j >= 0; --j) {
        for (int i = 0; i < W; ++i) {
            const double x = z.Xmin + i * krok, y = z.Ymin + j * krok;
            const std::optional<double> h = WysokoscWPliku(*indeksy.TEREN, x, y);
            double v = -9999;
            if (h && std::hypot(x - sx, y - sy) > 60.0)
                v = std::round((*h + 0.3 * std::sin(x / 9.0) * std::cos(y / 13.0)) * 100.0) / 100.0;
            auto [e, ec] = std::to_chars(b, b + sizeof b, v, std::chars_format::fixed, 2);
            t.append(b, e);
            t += i + 1 < W ? ' ' : '\n';
        }
    }
    ZapiszBezpiecznie(cel, t);
    std::printf("%s: %d x %d węzłów co %.2f m\n", cel.c_str(), W, H, krok);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::string(argv[1]) == "--z-pliku")
        return SiatkaZPliku(argv[2], argv[3], argc > 4 ? std::atof(argv[4]) : 2.0);
    if (argc < 2) {
        std::fprintf(stderr, "użycie: generuj_nmt KATALOG [N]\n");
        return 2;
    }
    const std::string k = argv[1];
    const int N = argc > 2 ? std::atoi(argv[2]) : 2300;
    const double x0 = 637000.0, y0 = 486000.0;  // PL-1992, the south-west node
    std::vector<double> z(static_cast<std::size_t>(N) * N);
    double zmin = 1e300, zmax = -1e300;
    for (int j = 0; j < N; ++j)
        for (int i = 0; i < N; ++i) {
            const double x = i, y = j;
            // Rolling country: long swells and shorter hills.
            double h = 160.0 + 9.0 * std::sin(x / 310.0) * std::cos(y / 420.0) + 4.0 * std::sin(x / 97.0 + y / 141.0) +
                       2.0 * std::cos(x / 53.0 - y / 67.0);
            // A valley winding from south to north, 12 m deep and about 150 m wide, with a flat floor.
            const double os = N * 0.45 + 180.0 * std::sin(y / 380.0);
            const double d = (x - os) / 75.0;
            h -= 12.0 * std::exp(-d * d * d * d);
            // Hummocks, banks and furrows of a few decimetres over some metres, and the model's own noise.
            h += 0.22 * std::sin(x / 7.3 + 0.6 * std::sin(y / 23.0)) * std::cos(y / 9.1) +
                 0.12 * std::sin((x + 2.0 * y) / 4.1);
            h += 0.05 * Szum(static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(j));
            h = std::round(h * 100.0) / 100.0;
            z[static_cast<std::size_t>(j) * N + i] = h;
            zmin = std::min(zmin, h);
            zmax = std::max(zmax, h);
        }

    std::string t = "ncols " + std::to_string(N) + "\nnrows " + std::to_string(N) +
                    "\nxllcenter 637000.0\nyllcenter 486000.0\ncellsize 1.0\nnodata_value -9999\n";
    t.reserve(t.size() + static_cast<std::size_t>(N) * N * 8);
    char b[32];
    for (int j = N - 1; j >= 0; --j) {
        for (int i = 0; i < N; ++i) {
            auto [e, ec] = std::to_chars(b, b + sizeof b, z[static_cast<std::size_t>(j) * N + i],
                                         std::chars_format::fixed, 2);
            t.append(b, e);
            t += i + 1 < N ? ' ' : '\n';
        }
    }
    ZapiszBezpiecznie(k + "/nmt.asc", t);

    // The PNG through GDAL: a 16-bit band in memory copied by the PNG driver.
    GDALAllRegister();
    GDALDatasetH mem = GDALCreate(GDALGetDriverByName("MEM"), "", N, N, 1, GDT_UInt16, nullptr);
    std::vector<std::uint16_t> v(static_cast<std::size_t>(N) * N);
    for (int r = 0; r < N; ++r)
        for (int i = 0; i < N; ++i)
            v[static_cast<std::size_t>(r) * N + i] = static_cast<std::uint16_t>(
                std::lround((z[static_cast<std::size_t>(N - 1 - r) * N + i] - zmin) * 100));
    if (GDALRasterIO(GDALGetRasterBand(mem, 1), GF_Write, 0, 0, N, N, v.data(), N, N, GDT_UInt16, 0, 0) != CE_None)
        return 1;
    GDALDatasetH png = GDALCreateCopy(GDALGetDriverByName("PNG"), (k + "/nmt.png").c_str(), mem, FALSE, nullptr,
                                      nullptr, nullptr);
    if (!png) return 1;
    GDALClose(png);
    GDALClose(mem);

    // The route: from near the south-west corner to the east and up to the north-east, about 3 km, in PL-1992.
    const double ax = x0 + 0.04 * N, ay = y0 + 0.06 * N, bx = x0 + 0.55 * N, by = y0 + 0.45 * N, cx = x0 + 0.95 * N,
                 cy = y0 + 0.95 * N;
    auto p = [](double e, double n) {
        char s[64];
        std::snprintf(s, sizeof s, "%.3f %.3f", n, e);
        return std::string(s);
    };
    const std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.2\" version=\"1.2\">\n"
        "<Units><Metric linearUnit=\"meter\"/></Units>\n"
        "<CoordinateSystem epsgCode=\"2180\"/>\n"
        "<Alignments><Alignment name=\"Trasa NMT\" staStart=\"0\"><CoordGeom>\n"
        "<Line><Start>" +
        p(ax, ay) + "</Start><End>" + p(bx, by) +
        "</End></Line>\n"
        "<Line><Start>" +
        p(bx, by) + "</Start><End>" + p(cx, cy) +
        "</End></Line>\n"
        "</CoordGeom></Alignment></Alignments>\n</LandXML>\n";
    ZapiszBezpiecznie(k + "/trasa.xml", xml);
    std::printf("%s/nmt.asc, nmt.png (wysokości %.2f do %.2f m, -z %.2f), trasa.xml\n", k.c_str(), zmin, zmax, 655.35);
    return 0;
}
