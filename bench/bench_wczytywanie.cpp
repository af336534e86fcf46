// Loading a large .tro file: reading, the load sequence, peak memory; and the
// same grid as a LandXML surface.
//
// The file is made here, at run time, in the temporary directory: a terrain
// grid of 708 x 708 points (501,264 points, 999,698 triangles, ~100 MB) with
// national-grid coordinates and CR LF line ends, as the converter writes them.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "model/ZapisywanieOdczytywanie.h"
#include "model/Zmienne.h"
#include "scena/Scena.h"
#include "wymiana/LandXML.h"

namespace {

constexpr int kN = 708;

std::string UtworzPlik() {
    std::string t;
    t.reserve(110u << 20);
    for (int i = 0; i < 8; ++i) t += std::string(67, '*') + "\r\n";
    t += "\r\n#WspTEREN#\r\n" + std::to_string(kN * kN) + "\r\n";
    char b[200];
    for (int j = 0; j < kN; ++j)
        for (int i = 0; i < kN; ++i) {
            const double z = 180.0 + 20.0 * std::sin(i * 0.013) * std::cos(j * 0.017) + (i * 7 + j * 3) % 10 * 0.01;
            const int n = std::snprintf(b, sizeof b, "%.3f\r\n%.3f\r\n%.3f\r\nF\r\n%d\r\nP%d\r\n", 5500000.0 + i * 4.25,
                                        4600000.0 + j * 4.25, z, j * kN + i, j * kN + i);
            t.append(b, static_cast<std::size_t>(n));
        }
    t += "\r\n#TroTEREN#\r\n" + std::to_string(2 * (kN - 1) * (kN - 1)) + "\r\n";
    for (int j = 0; j + 1 < kN; ++j)
        for (int i = 0; i + 1 < kN; ++i) {
            const int a = j * kN + i, c = a + kN;
            const double xs = 5500000.0 + i * 4.25 + 2.833, ys = 4600000.0 + j * 4.25 + 1.417;
            int n = std::snprintf(b, sizeof b,
                                  "0\r\n0\r\n%d\r\n%d\r\n%d\r\n%d\r\n%.3f\r\n%.3f\r\n0H\r\nF\r\nclGreen\r\n", 2 * a, a,
                                  a + 1, c + 1, xs, ys);
            t.append(b, static_cast<std::size_t>(n));
            n = std::snprintf(b, sizeof b, "0\r\n0\r\n%d\r\n%d\r\n%d\r\n%d\r\n%.3f\r\n%.3f\r\n0,5E\r\nF\r\n32768\r\n",
                              2 * a + 1, a, c + 1, c, xs - 1.4, ys + 1.4);
            t.append(b, static_cast<std::size_t>(n));
        }
    t += "\r\n";
    return t;
}

const std::string& Plik() {
    static const std::string nazwa = [] {
        const std::string n = (std::filesystem::temp_directory_path() / "orvany_bench_wczytywanie.tro").string();
        const std::string t = UtworzPlik();
        std::ofstream(n, std::ios::binary) << t;
        std::atexit([] { std::filesystem::remove(Plik()); });
        return n;
    }();
    return nazwa;
}

std::size_t RozmiarPliku() { return std::filesystem::file_size(Plik()); }

// The same grid as one LandXML TIN surface ("northing easting elevation",
// ids from 1), as surface exports write it.
std::string UtworzLandXML() {
    std::string t;
    t.reserve(60u << 20);
    t += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.2\" "
         "version=\"1.2\">\n<Units><Metric linearUnit=\"meter\"/></Units>\n<Surfaces>\n<Surface name=\"EG\">\n"
         "<Definition surfType=\"TIN\">\n<Pnts>\n";
    char b[200];
    for (int j = 0; j < kN; ++j)
        for (int i = 0; i < kN; ++i) {
            const double z = 180.0 + 20.0 * std::sin(i * 0.013) * std::cos(j * 0.017) + (i * 7 + j * 3) % 10 * 0.01;
            const int n = std::snprintf(b, sizeof b, "<P id=\"%d\">%.3f %.3f %.3f</P>\n", j * kN + i + 1,
                                        4600000.0 + j * 4.25, 5500000.0 + i * 4.25, z);
            t.append(b, static_cast<std::size_t>(n));
        }
    t += "</Pnts>\n<Faces>\n";
    for (int j = 0; j + 1 < kN; ++j)
        for (int i = 0; i + 1 < kN; ++i) {
            const int a = j * kN + i + 1, c = a + kN;
            const int n = std::snprintf(b, sizeof b, "<F>%d %d %d</F>\n<F>%d %d %d</F>\n", a, a + 1, c + 1, a, c + 1,
                                        c);
            t.append(b, static_cast<std::size_t>(n));
        }
    t += "</Faces>\n</Definition>\n</Surface>\n</Surfaces>\n</LandXML>\n";
    return t;
}

const std::string& PlikLandXML() {
    static const std::string nazwa = [] {
        const std::string n = (std::filesystem::temp_directory_path() / "orvany_bench_wczytywanie.xml").string();
        std::ofstream(n, std::ios::binary) << UtworzLandXML();
        std::atexit([] { std::filesystem::remove(PlikLandXML()); });
        return n;
    }();
    return nazwa;
}

void Wyczysc() {
    TEREN = TSiatka{};
    PROJ = TSiatka{};
    Trasa = DaneUstawieniaTrasy{};
    TrojkatyTEREN = {};
    TrojkatyPROJ = {};
}

// Bytes held by the model after the load: meshes and render arrays.
double RozmiarModelu() {
    return static_cast<double>(
        TEREN.Punkty.capacity() * sizeof(TPunktSiatki) + TEREN.Trojkaty.capacity() * sizeof(TTrojkat) +
        PROJ.Punkty.capacity() * sizeof(TPunktSiatki) + PROJ.Trojkaty.capacity() * sizeof(TTrojkat) +
        (TEREN.Wierzcholki.capacity() + PROJ.Wierzcholki.capacity()) * sizeof(TPunkt3D) +
        TrojkatyTEREN.capacity() * sizeof(TTrojkatRys) + TrojkatyPROJ.capacity() * sizeof(TTrojkatRys));
}

// Resident set size and its peak, in bytes (Linux).
long PolePamieci(const char* pole) {
    std::ifstream f("/proc/self/status");
    std::string linia;
    while (std::getline(f, linia))
        if (linia.rfind(pole, 0) == 0) return std::atol(linia.c_str() + std::strlen(pole)) * 1024L;
    return 0;
}

void ZerujSzczytPamieci() { std::ofstream("/proc/self/clear_refs") << "5"; }

// Processor time of the whole process (every thread), in milliseconds: the
// reader and the load sequence use two threads on a large file, and the
// benchmark's own CPU column counts this thread only.
double CzasProcesu() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) * 1e-6;
}

// Parsing only: the file in memory, one pass.
void BM_CzytajTRO(benchmark::State& stan) {
    Wyczysc();
    Plik();
    const std::string dane = CzytajCalyPlik(Plik());
    double procesor = 0.0;
    for (auto _ : stan) {
        const double t0 = CzasProcesu();
        TDaneWczytane d = CzytajTRO(dane, "bench.tro");
        procesor += CzasProcesu() - t0;
        benchmark::DoNotOptimize(d);
    }
    stan.counters["ms_procesora"] = procesor / static_cast<double>(stan.iterations());
    stan.SetBytesProcessed(static_cast<std::int64_t>(stan.iterations()) * static_cast<std::int64_t>(dane.size()));
    stan.counters["MB"] = static_cast<double>(dane.size()) / 1e6;
}

// The load sequence alone on the read data.
void BM_ZakonczWczytywanie(benchmark::State& stan) {
    Wyczysc();
    const std::string dane = CzytajCalyPlik(Plik());
    TDaneWczytane wzor = CzytajTRO(dane, "bench.tro");
    double procesor = 0.0;
    for (auto _ : stan) {
        stan.PauseTiming();
        TEREN.Punkty = *wzor.PunktyTEREN;
        TEREN.Trojkaty = *wzor.TrojkatyTEREN;
        TEREN.Wierzcholki = *wzor.WierzcholkiTEREN;
        const double t0 = CzasProcesu();
        stan.ResumeTiming();
        ZakonczWczytywanie();
        procesor += CzasProcesu() - t0;
    }
    stan.counters["ms_procesora"] = procesor / static_cast<double>(stan.iterations());
    stan.counters["trojkaty"] = IleTrojkatowTEREN();
}

// The whole load from the file, with the peak memory above the state before it.
// The peak is taken on the first load of the process only: later ones reuse
// heap memory that the allocator kept from the one before, which would hide it.
void BM_OtworzTRO(benchmark::State& stan) {
    double szczyt = 0, model = 0, procesor = 0;
    bool pierwszy = true;
    Plik();
    for (auto _ : stan) {
        stan.PauseTiming();
        Wyczysc();
        const long przed = PolePamieci("VmRSS:");
        ZerujSzczytPamieci();
        const double t0 = CzasProcesu();
        stan.ResumeTiming();
        OtworzTRO(Plik());
        stan.PauseTiming();
        procesor += CzasProcesu() - t0;
        if (pierwszy) szczyt = static_cast<double>(PolePamieci("VmHWM:") - przed);
        pierwszy = false;
        if (std::getenv("ORVANY_BENCH_PAMIEC"))
            std::fprintf(stderr, "RSS przed %ld MB, szczyt %ld MB, po %ld MB\n", przed >> 20,
                         PolePamieci("VmHWM:") >> 20, PolePamieci("VmRSS:") >> 20);
        model = RozmiarModelu();
        stan.ResumeTiming();
    }
    stan.SetBytesProcessed(static_cast<std::int64_t>(stan.iterations()) * static_cast<std::int64_t>(RozmiarPliku()));
    stan.counters["szczyt_MB"] = szczyt / 1e6;
    stan.counters["model_MB"] = model / 1e6;
    stan.counters["szczyt_do_modelu"] = szczyt / model;
    stan.counters["ms_procesora"] = procesor / static_cast<double>(stan.iterations());
}

// The whole LandXML load (file read, parse, sections, load sequence) with its peak memory.
void BM_OtworzLandXML(benchmark::State& stan) {
    double szczyt = 0, model = 0;
    bool pierwszy = true;
    PlikLandXML();
    for (auto _ : stan) {
        stan.PauseTiming();
        Wyczysc();
        const long przed = PolePamieci("VmRSS:");
        ZerujSzczytPamieci();
        stan.ResumeTiming();
        OtworzLandXML(PlikLandXML());
        stan.PauseTiming();
        if (pierwszy) szczyt = static_cast<double>(PolePamieci("VmHWM:") - przed);
        pierwszy = false;
        model = RozmiarModelu();
        stan.ResumeTiming();
    }
    const double plik = static_cast<double>(std::filesystem::file_size(PlikLandXML()));
    stan.SetBytesProcessed(static_cast<std::int64_t>(stan.iterations()) * static_cast<std::int64_t>(plik));
    stan.counters["plik_MB"] = plik / 1e6;
    stan.counters["szczyt_MB"] = szczyt / 1e6;
    stan.counters["model_MB"] = model / 1e6;
    stan.counters["szczyt_do_pliku"] = szczyt / plik;
}

// The LandXML parse alone: the text in memory into new sections.
void BM_CzytajLandXML(benchmark::State& stan) {
    Wyczysc();
    const std::string dane = CzytajCalyPlik(PlikLandXML());
    for (auto _ : stan) {
        TDaneWczytane d = CzytajLandXML(dane, "bench.xml");
        benchmark::DoNotOptimize(d);
    }
    stan.SetBytesProcessed(static_cast<std::int64_t>(stan.iterations()) * static_cast<std::int64_t>(dane.size()));
}

// The whole loads first: their peaks must be measured before any other load
// (the LandXML one first of all: it runs first in its own process with
// --benchmark_filter=LandXML).
BENCHMARK(BM_OtworzLandXML)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_OtworzTRO)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_CzytajTRO)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_ZakonczWczytywanie)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_CzytajLandXML)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
