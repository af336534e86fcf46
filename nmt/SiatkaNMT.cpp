#include "nmt/SiatkaNMT.h"

#include <gdal.h>
#include <ogr_srs_api.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <regex>

#include <sys/mman.h>

#include "common/BledySystemu.h"
#include "nmt/CzytanieGDAL.h"

namespace {

// The heights of a grid's nodes, every one set to `wartosc`. The thinning
// reads a few nodes of a row at a time all over the grid, each row in another
// page of memory: the array is asked for in huge pages (the kernel gives them on
// request), so that those reads miss the address cache far less often. On a
// sheet of 2,300 × 2,300 nodes that is about a tenth of the thinning's time.
std::vector<double> TablicaWysokosci(std::size_t n, double wartosc) {
    std::vector<double> z;
    z.reserve(n);
    constexpr std::uintptr_t kDuzaStrona = std::uintptr_t{2} << 20;
    const auto od = (reinterpret_cast<std::uintptr_t>(z.data()) + kDuzaStrona - 1) & ~(kDuzaStrona - 1);
    const auto doKonca = reinterpret_cast<std::uintptr_t>(z.data() + n) & ~(kDuzaStrona - 1);
    // Only advice: where the kernel refuses, the array is in ordinary pages.
    if (doKonca > od) madvise(reinterpret_cast<void*>(od), doKonca - od, MADV_HUGEPAGE);
    z.assign(n, wartosc);
    return z;
}

int KodEPSG(GDALDatasetH ds) {
    OGRSpatialReferenceH srs = GDALGetSpatialRef(ds);
    if (!srs) return 0;
    OGRSpatialReferenceH kopia = OSRClone(srs);
    int kod = 0;
    const char* nazwa = OSRGetAuthorityName(kopia, nullptr);
    if (!nazwa || std::string(nazwa) != "EPSG") OSRAutoIdentifyEPSG(kopia);
    nazwa = OSRGetAuthorityName(kopia, nullptr);
    const char* k = OSRGetAuthorityCode(kopia, nullptr);
    if (nazwa && k && std::string(nazwa) == "EPSG") kod = std::atoi(k);
    OSRDestroySpatialReference(kopia);
    return kod;
}

}  // namespace

TFormatNMT FormatNMT(const std::string& nazwa) {
    const auto kropka = nazwa.find_last_of('.'), ukosnik = nazwa.find_last_of('/');
    if (kropka == std::string::npos || (ukosnik != std::string::npos && ukosnik > kropka)) return TFormatNMT::Inny;
    std::string e = nazwa.substr(kropka + 1);
    for (char& c : e) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (e == "asc") return TFormatNMT::ASC;
    if (e == "xyz") return TFormatNMT::XYZ;
    if (e == "tif" || e == "tiff") return TFormatNMT::TIF;
    return TFormatNMT::Inny;
}

TSiatkaNMT CzytajSiatkeNMT(const std::string& nazwa, const TOpcjeCzytaniaNMT& opcje, const TPostep& postep,
                           const std::atomic<bool>* przerwij) {
    const TFormatNMT format = FormatNMT(nazwa);
    const char* sterownik = format == TFormatNMT::ASC   ? "AAIGrid"
                            : format == TFormatNMT::XYZ ? "XYZ"
                            : format == TFormatNMT::TIF ? "GTiff"
                                                        : nullptr;
    if (!sterownik) BladSiatki("Nieznany rodzaj siatki: oczekiwano pliku .asc, .xyz, .tif albo .tiff.", nazwa);
    GDALAllRegister();
    TObslugaBledowGDAL bledy;
    const char* const sterowniki[] = {sterownik, nullptr};
    // An ASCII grid of whole numbers would be read as integers, where a "nan" becomes 0: always as doubles.
    const char* const opcjeOtwarcia[] = {"DATATYPE=Float64", nullptr};
    std::unique_ptr<void, TZamknij> ds(GDALOpenEx(nazwa.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY, sterowniki,
                                                  format == TFormatNMT::ASC ? opcjeOtwarcia : nullptr, nullptr));
    auto bladGDAL = [&](const std::string& co) {
        const std::string g = bledy.Ostatni();
        BladSiatki(co + (g.empty() ? "" : " (GDAL: " + g + ")"), nazwa, WierszZKomunikatu(g));
    };
    if (!ds) {
        std::FILE* f = std::fopen(nazwa.c_str(), "rb");
        if (!f) BladSiatki("Nie można otworzyć pliku siatki: " + OpisBleduSystemu(errno) + ".", nazwa);
        std::fclose(f);
        bladGDAL("Plik nie jest siatką wysokości w formacie " +
                 std::string(format == TFormatNMT::ASC   ? "ARC/INFO ASCII (.asc)"
                             : format == TFormatNMT::XYZ ? "XYZ (.xyz)"
                                                         : "GeoTIFF") +
                 " albo jest uszkodzony.");
    }
    GDALDatasetH d = ds.get();
    const std::int64_t k = GDALGetRasterXSize(d), w = GDALGetRasterYSize(d);
    if (GDALGetRasterCount(d) < 1) BladSiatki("Plik siatki nie zawiera żadnego pasma wysokości.", nazwa);
    if (k * w > kNajwiecejWezlowNMT)
        BladSiatki("Siatka " + std::to_string(k) + " × " + std::to_string(w) + " węzłów jest za duża (najwyżej " +
                       std::to_string(kNajwiecejWezlowNMT / 1'000'000) + " mln węzłów).",
                   nazwa);
    if (k < 2 || w < 2)
        BladSiatki("Siatka " + std::to_string(k) + " × " + std::to_string(w) +
                       " węzłów nie ma ani jednego oczka: potrzeba co najmniej 2 × 2 węzłów.",
                   nazwa);
    double gt[6];
    if (GDALGetGeoTransform(d, gt) != CE_None)
        BladSiatki("Plik siatki nie podaje położenia ani rozstawu węzłów.", nazwa);
    if (gt[2] != 0.0 || gt[4] != 0.0) BladSiatki("Siatka obrócona względem osi układu nie jest obsługiwana.", nazwa);
    for (double v : gt)
        if (!(std::fabs(v) <= kNajwiekszaWartosc))
            BladSiatki("Położenie lub rozstaw węzłów siatki jest poza dopuszczalnym zakresem (od -1e12 do 1e12).",
                       nazwa);
    if (gt[1] == 0.0 || gt[5] == 0.0) BladSiatki("Rozstaw węzłów siatki jest zerowy.", nazwa);

    GDALRasterBandH pasmo = GDALGetRasterBand(d, 1);
    int maBrak = 0;
    const double brak = GDALGetRasterNoDataValue(pasmo, &maBrak);

    // The file's rows (GDAL's columns i, rows j), a large ASCII grid on two threads.
    std::vector<double> z = TablicaWysokosci(static_cast<std::size_t>(k * w), 0.0);
    std::atomic<bool> stop{false};
    const std::atomic<bool>& zatrzymaj = przerwij ? *przerwij : stop;
    const bool wczytana = format == TFormatNMT::ASC && k * w >= opcje.ProgDwochWatkow
                              ? CzytajASCNaDwochWatkach(nazwa, pasmo, z.data(), k, w, bledy, postep, zatrzymaj)
                              : CzytajWiersze(pasmo, z.data(), k, 0, w, 0, bledy, nazwa, postep, w, zatrzymaj);
    if (!wczytana) return {};
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const bool brakNaN = maBrak && std::isnan(brak);
    for (std::size_t n = 0; n < z.size(); ++n) {
        double& v = z[n];
        if (maBrak && (v == brak || (brakNaN && std::isnan(v)))) {
            v = nan;
            continue;
        }
        if (!(std::fabs(v) <= kNajwiekszaWartosc)) {
            const std::int64_t kol = static_cast<std::int64_t>(n) % k, wie = static_cast<std::int64_t>(n) / k;
            BladSiatki("Wysokość w wierszu " + std::to_string(wie + 1) + ", kolumnie " + std::to_string(kol + 1) +
                           " siatki nie jest liczbą skończoną z dopuszczalnego zakresu (od -1e12 do 1e12).",
                       nazwa);
        }
    }

    // GDAL's pixel is an area: the node is its centre.
    TSiatkaNMT s;
    s.EPSG = KodEPSG(d);
    double x0 = gt[0] + 0.5 * gt[1], dx = gt[1];
    double y0 = gt[3] + 0.5 * gt[5], dy = gt[5];
    std::int64_t kol = k, wie = w;
    if (opcje.ZamienXY && format == TFormatNMT::XYZ) {
        // GDAL took the file's first column for the easting: it was the northing.
        std::vector<double> t = TablicaWysokosci(z.size(), 0.0);
        for (std::int64_t j = 0; j < w; ++j)
            for (std::int64_t i = 0; i < k; ++i)
                t[static_cast<std::size_t>(i * w + j)] = z[static_cast<std::size_t>(j * k + i)];
        z.swap(t);
        std::swap(x0, y0);
        std::swap(dx, dy);
        std::swap(kol, wie);
    }
    // Columns from west to east, rows from south to north.
    if (dx < 0) {
        for (std::int64_t j = 0; j < wie; ++j) std::reverse(z.begin() + j * kol, z.begin() + (j + 1) * kol);
        x0 += dx * static_cast<double>(kol - 1);
        dx = -dx;
    }
    if (dy < 0) {
        for (std::int64_t j = 0; j < wie / 2; ++j)
            std::swap_ranges(z.begin() + j * kol, z.begin() + (j + 1) * kol, z.begin() + (wie - 1 - j) * kol);
        y0 += dy * static_cast<double>(wie - 1);
        dy = -dy;
    }
    s.Kolumny = static_cast<std::int32_t>(kol);
    s.Wiersze = static_cast<std::int32_t>(wie);
    s.X0 = x0;
    s.Y0 = y0;
    s.DX = dx;
    s.DY = dy;
    s.Z = std::move(z);
    return s;
}

TSiatkaNMT PolaczArkusze(std::vector<TSiatkaNMT>&& arkusze, const std::vector<std::string>& nazwy) {
    if (arkusze.size() == 1) return std::move(arkusze[0]);
    if (arkusze.empty()) return {};
    const TSiatkaNMT& a0 = arkusze[0];
    const double dx = a0.DX, dy = a0.DY;
    int epsg = 0;
    double xmin = a0.X0, ymin = a0.Y0, xmax = xmin, ymax = ymin;
    for (std::size_t n = 0; n < arkusze.size(); ++n) {
        const TSiatkaNMT& a = arkusze[n];
        if (std::fabs(a.DX - dx) > 1e-6 * dx || std::fabs(a.DY - dy) > 1e-6 * dy)
            BladSiatki("Arkusz ma inny rozstaw węzłów (" + G2(a.DX) + " × " + G2(a.DY) + " m) niż pierwszy arkusz (" +
                           G2(dx) + " × " + G2(dy) + " m); arkusze łączy się tylko przy jednym rozstawie.",
                       nazwy[n]);
        const double fx = (a.X0 - a0.X0) / dx, fy = (a.Y0 - a0.Y0) / dy;
        if (std::fabs(fx - std::round(fx)) > 0.01 || std::fabs(fy - std::round(fy)) > 0.01)
            BladSiatki("Węzły arkusza nie leżą na siatce pierwszego arkusza (przesunięcie o ułamek oczka).", nazwy[n]);
        if (a.EPSG != 0) {
            if (epsg != 0 && a.EPSG != epsg)
                BladSiatki("Arkusz jest w układzie EPSG:" + std::to_string(a.EPSG) +
                               ", a poprzednie w EPSG:" + std::to_string(epsg) + ".",
                           nazwy[n]);
            epsg = a.EPSG;
        }
        xmin = std::min(xmin, a.X0);
        ymin = std::min(ymin, a.Y0);
        xmax = std::max(xmax, a.X0 + dx * (a.Kolumny - 1));
        ymax = std::max(ymax, a.Y0 + dy * (a.Wiersze - 1));
    }
    const std::int64_t kol = std::llround((xmax - xmin) / dx) + 1, wie = std::llround((ymax - ymin) / dy) + 1;
    if (kol * wie > kNajwiecejWezlowNMT)
        BladSiatki("Połączone arkusze dają siatkę " + std::to_string(kol) + " × " + std::to_string(wie) +
                       " węzłów, za dużą (najwyżej " + std::to_string(kNajwiecejWezlowNMT / 1'000'000) +
                       " mln węzłów).",
                   nazwy.back());
    TSiatkaNMT s;
    s.Kolumny = static_cast<std::int32_t>(kol);
    s.Wiersze = static_cast<std::int32_t>(wie);
    s.X0 = xmin;
    s.Y0 = ymin;
    s.DX = dx;
    s.DY = dy;
    s.EPSG = epsg;
    s.Z = TablicaWysokosci(static_cast<std::size_t>(kol * wie), std::numeric_limits<double>::quiet_NaN());
    for (TSiatkaNMT& a : arkusze) {
        const std::int64_t oi = std::llround((a.X0 - xmin) / dx), oj = std::llround((a.Y0 - ymin) / dy);
        for (std::int32_t j = 0; j < a.Wiersze; ++j) {
            const double* zr = a.Z.data() + a.Indeks(0, j);
            double* cel = s.Z.data() + s.Indeks(static_cast<std::int32_t>(oi), static_cast<std::int32_t>(oj + j));
            for (std::int32_t i = 0; i < a.Kolumny; ++i)
                if (std::isnan(cel[i])) cel[i] = zr[i];
        }
        a.Z = {};
    }
    return s;
}

namespace {

// The x interval of the row y where the plan distance to segment AB is at most r (empty: lo > hi).
void PrzedzialOdcinka(double ax, double ay, double bx, double by, double r, double y, double& lo, double& hi) {
    lo = std::numeric_limits<double>::infinity();
    hi = -lo;
    auto kolo = [&](double px, double py) {
        const double d = y - py;
        if (std::fabs(d) > r) return;
        const double h = std::sqrt(r * r - d * d);
        lo = std::min(lo, px - h);
        hi = std::max(hi, px + h);
    };
    kolo(ax, ay);
    kolo(bx, by);
    const double ux = bx - ax, uy = by - ay, L = std::hypot(ux, uy);
    if (L == 0.0) return;
    const double tx = ux / L, ty = uy / L;
    // The band: 0 <= t.(p-A) <= L and |n.(p-A)| <= r, n = (-ty, tx); each is linear in x on the row.
    double a = -std::numeric_limits<double>::infinity(), b = -a;
    auto ogranicz = [&](double wsp, double wyraz, double od, double dO) {  // od <= wsp*x + wyraz <= dO
        if (wsp == 0.0) {
            if (wyraz < od || wyraz > dO) a = 1, b = 0;
            return;
        }
        double x1 = (od - wyraz) / wsp, x2 = (dO - wyraz) / wsp;
        if (x1 > x2) std::swap(x1, x2);
        a = std::max(a, x1);
        b = std::min(b, x2);
    };
    const double ry = y - ay;
    ogranicz(tx, -tx * ax + ty * ry, 0.0, L);
    ogranicz(-ty, ty * ax + tx * ry, -r, r);
    if (a <= b) {
        lo = std::min(lo, a);
        hi = std::max(hi, b);
    }
}

}  // namespace

void OgraniczDoPasa(TSiatkaNMT& s, const std::vector<TPunkt2D>& os, double pas) {
    const std::int32_t W = s.Kolumny, H = s.Wiersze;
    // Per row, the node intervals of every segment; merged and kept.
    std::vector<std::vector<std::pair<std::int32_t, std::int32_t>>> wiersze(static_cast<std::size_t>(H));
    for (std::size_t n = 0; n + 1 < os.size() || (os.size() == 1 && n == 0); ++n) {
        const TPunkt2D a = os[n], b = os.size() == 1 ? os[0] : os[n + 1];
        const double y0 = std::min(a.Y, b.Y) - pas, y1 = std::max(a.Y, b.Y) + pas;
        const std::int64_t j0 = std::max<std::int64_t>(0, static_cast<std::int64_t>(std::ceil((y0 - s.Y0) / s.DY)));
        const std::int64_t j1 = std::min<std::int64_t>(H - 1,
                                                       static_cast<std::int64_t>(std::floor((y1 - s.Y0) / s.DY)));
        for (std::int64_t j = j0; j <= j1; ++j) {
            double lo, hi;
            PrzedzialOdcinka(a.X, a.Y, b.X, b.Y, pas, s.Y0 + s.DY * static_cast<double>(j), lo, hi);
            if (!(lo <= hi)) continue;
            const double i0 = std::max(0.0, std::ceil((lo - s.X0) / s.DX)),
                         i1 = std::min(static_cast<double>(W - 1), std::floor((hi - s.X0) / s.DX));
            if (i0 <= i1)
                wiersze[static_cast<std::size_t>(j)].push_back(
                    {static_cast<std::int32_t>(i0), static_cast<std::int32_t>(i1)});
        }
    }
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::int32_t imin = W, imax = -1, jmin = H, jmax = -1;
    for (std::int32_t j = 0; j < H; ++j) {
        auto& p = wiersze[static_cast<std::size_t>(j)];
        std::sort(p.begin(), p.end());
        double* z = s.Z.data() + s.Indeks(0, j);
        std::int32_t i = 0;
        for (const auto& [a, b] : p) {
            for (; i < a; ++i) z[i] = nan;
            i = std::max(i, b + 1);
        }
        for (; i < W; ++i) z[i] = nan;
        for (std::int32_t q = 0; q < W; ++q)
            if (!std::isnan(z[q])) {
                imin = std::min(imin, q);
                jmin = std::min(jmin, j);
                jmax = std::max(jmax, j);
                break;
            }
        for (std::int32_t q = W - 1; q >= 0; --q)
            if (!std::isnan(z[q])) {
                imax = std::max(imax, q);
                break;
            }
        p = {};
    }
    if (imax < 0) {
        s.Z.clear();
        s.Kolumny = s.Wiersze = 0;
        return;
    }
    // Cut to the box of what is left (in place, row by row upwards).
    const std::int32_t kol = imax - imin + 1, wie = jmax - jmin + 1;
    for (std::int32_t j = 0; j < wie; ++j)
        std::copy_n(s.Z.begin() + static_cast<std::ptrdiff_t>(s.Indeks(imin, jmin + j)), kol,
                    s.Z.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(j) * kol));
    s.Z.resize(static_cast<std::size_t>(kol) * wie);
    s.X0 += s.DX * imin;
    s.Y0 += s.DY * jmin;
    s.Kolumny = kol;
    s.Wiersze = wie;
}
