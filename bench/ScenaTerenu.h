// The synthetic terrain of the scene benchmarks, made in memory (never
// stored): a grid of cells over a corridor of 4 km x 500 m, two TEREN
// triangles a cell, gentle hills over a valley, three surface kinds in
// patches; and a route of four vertices along it, with arcs of 900 and
// 1200 m and transition curves (A = 300 and 350), built by ObliczTrase.
//
// The number of triangles is taken from ORVANY_BENCH_TROJKATY (1,000,000
// when not set): the corridor stays the same and the cells get smaller. At
// 1,000,000 the grid is 2,000 x 250 cells of 2 m.
#pragma once

#include <cmath>
#include <cstdlib>
#include <string>

#include "model/Zmienne.h"
#include "route/OblTrasa.h"

namespace scena_terenu {

inline long long IleTrojkatow() {
    const char* t = std::getenv("ORVANY_BENCH_TROJKATY");
    const long long n = t ? std::atoll(t) : 0;
    return n >= 16 ? n : 1000000;
}

inline double Wysokosc(double x, double y) {
    const double dolina = 0.00012 * (y - 250.0) * (y - 250.0);
    return 20.0 + 6.0 * std::sin(x / 170.0) * std::cos(y / 90.0) + 2.5 * std::sin(x / 37.0 + y / 53.0) + dolina;
}

inline TZalom Zalom(double x, double y, float r, float a) {
    TZalom z;
    z.X = x;
    z.Y = y;
    z.R = r;
    z.A1 = a;
    z.A2 = a;
    return z;
}

// Fills TEREN (triangles only), empties PROJ and builds the route.
inline void Zbuduj(long long ile) {
    const int nx = static_cast<int>(std::lround(std::sqrt(ile / 2.0 * 8.0)));
    const int ny = static_cast<int>(std::lround(ile / 2.0 / nx));
    const double kx = 4000.0 / nx, ky = 500.0 / ny;
    TEREN = TSiatka{};
    PROJ = TSiatka{};
    TEREN.Trojkaty.reserve(static_cast<std::size_t>(nx) * ny * 2);
    const char rodzaje[3] = {'H', 'N', 'E'};
    for (int i = 0; i < nx; ++i)
        for (int j = 0; j < ny; ++j) {
            const double x0 = i * kx, y0 = j * ky, x1 = x0 + kx, y1 = y0 + ky;
            TTrojkatRogi a;
            a.X1 = x0, a.Y1 = y0, a.Z1 = Wysokosc(x0, y0);
            a.X2 = x1, a.Y2 = y0, a.Z2 = Wysokosc(x1, y0);
            a.X3 = x1, a.Y3 = y1, a.Z3 = Wysokosc(x1, y1);
            a.Rodzaj.Kod = rodzaje[(static_cast<int>(x0 / 80.0) + static_cast<int>(y0 / 50.0)) % 3];
            TTrojkatRogi b = a;
            b.X2 = x1, b.Y2 = y1, b.Z2 = a.Z3;
            b.X3 = x0, b.Y3 = y1, b.Z3 = Wysokosc(x0, y1);
            DodajTrojkat(TEREN, a);
            DodajTrojkat(TEREN, b);
        }
    Trasa = DaneUstawieniaTrasy{};
    Trasa.Zalomy = {Zalom(20, 250, 0, 0), Zalom(1300, 330, 900, 300), Zalom(2700, 170, 1200, 350),
                    Zalom(3980, 240, 0, 0)};
    ObliczTrase();
}

}  // namespace scena_terenu
