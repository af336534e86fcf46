#include "pomocnicze/Pomocnicze.h"

#include <gdal.h>
#include <ogr_srs_api.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

#include "render/Rasteryzer.h"
#include "render/RysujPerspektywa.h"
#include "scena/Scena.h"

void ZerujStan(int W, int H) { UstawStanPoczatkowy(W, H); }

UstawLocale::UstawLocale(char separator) : poprzednie_(std::setlocale(LC_NUMERIC, nullptr)) {
    if (separator == '.') {
        std::setlocale(LC_NUMERIC, "C");
        return;
    }
    for (const char* k : {"pl_PL.UTF-8", "pl_PL.utf8", "pl_PL", "de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"})
        if (std::setlocale(LC_NUMERIC, k)) return;
    throw std::runtime_error("brak locale z przecinkiem dziesiętnym (zainstaluj pakiet locales z pl_PL.UTF-8)");
}

UstawLocale::~UstawLocale() { std::setlocale(LC_NUMERIC, poprzednie_.c_str()); }

std::string KatalogTymczasowy() {
    std::string wzor = (std::filesystem::temp_directory_path() / "orvany_testXXXXXX").string();
    if (!mkdtemp(wzor.data())) throw std::runtime_error("mkdtemp");
    static std::vector<std::string> doUsuniecia;
    if (doUsuniecia.empty())
        std::atexit([] {
            std::error_code ec;
            for (auto& k : doUsuniecia) std::filesystem::remove_all(k, ec);
        });
    doUsuniecia.push_back(wzor);
    return wzor;
}

void ZapiszPlik(const std::string& sciezka, const std::string& tresc) {
    std::ofstream(sciezka, std::ios::binary) << tresc;
}

std::string CzytajPlik(const std::string& sciezka) {
    std::stringstream ss;
    ss << std::ifstream(sciezka, std::ios::binary).rdbuf();
    return ss.str();
}

std::vector<std::string> Podziel(const std::string& s, char separator) {
    std::vector<std::string> w(1);
    for (char c : s)
        if (c == separator)
            w.emplace_back();
        else
            w.back().push_back(c);
    return w;
}

TTrojkatRogi Trojkat(const TPunkt3D& a, const TPunkt3D& b, const TPunkt3D& c) {
    TTrojkatRogi t;
    t.X1 = a.X, t.Y1 = a.Y, t.Z1 = a.Z, t.X2 = b.X, t.Y2 = b.Y, t.Z2 = b.Z, t.X3 = c.X, t.Y3 = c.Y, t.Z3 = c.Z;
    return t;
}

std::vector<TTrojkatRogi> Siatka(double x0, double x1, double y0, double y1, double krok,
                                 const std::function<double(double, double)>& z, double krokY) {
    if (krokY == 0) krokY = krok;
    std::vector<TTrojkatRogi> w;
    const long nx = std::lround((x1 - x0) / krok), ny = std::lround((y1 - y0) / krokY);
    auto p = [&](double x, double y) { return TPunkt3D{x, y, z(x, y)}; };
    for (long i = 0; i < nx; ++i)
        for (long j = 0; j < ny; ++j) {
            const double xa = x0 + i * krok, ya = y0 + j * krokY, xb = xa + krok, yb = ya + krokY;
            w.push_back(Trojkat(p(xa, ya), p(xb, ya), p(xb, yb)));
            w.push_back(Trojkat(p(xa, ya), p(xb, yb), p(xa, yb)));
        }
    return w;
}

TSiatka SiatkaZ(const std::vector<TTrojkatRogi>& trojkaty) {
    TSiatka s;
    UstawTrojkaty(s, trojkaty);
    return s;
}

void UstawTrojkaty(TSiatka& siatka, const std::vector<TTrojkatRogi>& trojkaty) {
    siatka.Trojkaty.clear();
    for (const TTrojkatRogi& t : trojkaty) DodajTrojkat(siatka, t);
}

void ZapiszGeoTIFF(const std::string& sciezka, int kolumny, int wiersze, const std::array<double, 6>& gt,
                   std::vector<double> z, int epsg, double brak) {
    GDALAllRegister();
    GDALDatasetH ds = GDALCreate(GDALGetDriverByName("GTiff"), sciezka.c_str(), kolumny, wiersze, 1, GDT_Float64,
                                 nullptr);
    if (!ds) throw std::runtime_error("GDAL nie utworzył " + sciezka);
    std::array<double, 6> g = gt;
    GDALSetGeoTransform(ds, g.data());
    if (epsg) {
        OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
        OSRImportFromEPSG(srs, epsg);
        GDALSetSpatialRef(ds, srs);
        OSRDestroySpatialReference(srs);
    }
    GDALRasterBandH b = GDALGetRasterBand(ds, 1);
    if (!std::isnan(brak)) GDALSetRasterNoDataValue(b, brak);
    const CPLErr e = GDALRasterIO(b, GF_Write, 0, 0, kolumny, wiersze, z.data(), kolumny, wiersze, GDT_Float64, 0, 0);
    GDALClose(ds);
    if (e != CE_None) throw std::runtime_error("GDAL nie zapisał " + sciezka);
}

TSiatkaNMT SiatkaNMTZ(int W, int H, const std::function<double(int, int)>& z) {
    TSiatkaNMT s;
    s.Kolumny = W, s.Wiersze = H, s.X0 = 5000, s.Y0 = 7000, s.DX = s.DY = 1;
    s.Z.resize(std::size_t(W) * H);
    for (int j = 0; j < H; ++j)
        for (int i = 0; i < W; ++i) s.Z[s.Indeks(i, j)] = z(i, j);
    return s;
}

std::vector<std::uint32_t> KlatkaJednymPasem(int W, int H) {
    std::vector<std::uint32_t> piksele(static_cast<std::size_t>(W) * H, 0);
    TPlotnoRastrowe plotno(TBuforPikseli{piksele.data(), W, H, W, 0});
    TPodzialKlatki podzial;
    podzial.Watki = 1;
    Przerysuj(plotno, W, H, podzial);
    return piksele;
}
