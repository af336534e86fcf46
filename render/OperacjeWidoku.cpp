// The view operations: moving, zooming and turning the scene in place, each
// one pass over the render arrays.

#include <cmath>

#include "render/KrokiWidoku.h"

using namespace widok;

// ---- View operations ----

double KatKierunku(double dx, double dy) {
    constexpr double e = 0.0001;
    if (std::fabs(dx) < e && std::fabs(dy) < e) return 0.0;
    if (std::fabs(dy) < e && dx < 0) return kPi;
    if (std::fabs(dx) < e && dy > 0) return kPi / 2;
    if (std::fabs(dx) < e && dy < 0) return 3 * kPi / 2;
    const double a = std::atan(dy / dx);
    if (dx < 0) return a + kPi;
    if (dx > 0 && dy < 0) return a + 2 * kPi;
    return a;
}

// The turn of one point through its polar coordinates about the centre.
TPunkt3D ObrocXY(const TPunkt3D& p, double cx, double cy, double k) {
    const double dx = p.X - cx, dy = p.Y - cy;
    const double r = std::sqrt(dx * dx + dy * dy);
    if (r <= 1e-9) return {cx, cy, p.Z};
    const double fi = KatKierunku(dx, dy) + k;
    return {cx + r * std::cos(fi), cy + r * std::sin(fi), p.Z};
}

TPunkt3D ObrocXZ(const TPunkt3D& p, double cx, double cz, double k) {
    const double dx = p.X - cx, dz = p.Z - cz;
    const double r = std::sqrt(dx * dx + dz * dz);
    if (r <= 1e-9) return {cx, p.Y, cz};
    const double fi = KatKierunku(dx, dz) + k;
    return {cx + r * std::cos(fi), p.Y, cz + r * std::sin(fi)};
}

TPunkt3D ObrocYZ(const TPunkt3D& p, double cy, double cz, double k) {
    const double dy = p.Y - cy, dz = p.Z - cz;
    const double r = std::sqrt(dy * dy + dz * dz);
    if (r <= 1e-9) return {p.X, cy, cz};
    const double fi = KatKierunku(dy, dz) + k;
    return {p.X, cy + r * std::cos(fi), cz + r * std::sin(fi)};
}

void Przesun(double dx, double dy, double dz) {
    Rzut.PrzesunX += dx;
    Rzut.PrzesunY += dy;
    Rzut.PrzesunZ += dz;
    KazdyWierzcholek(TPrzesuniecie{dx, dy, dz});
}

void Skaluj(double cx, double cy, double cz, double k) { KazdyWierzcholek(TSkalowanie{cx, cy, cz, k}); }

void Obroc(double cx, double cy, double cz, double kXY, double kXZ, double kYZ) {
    const TObrot obrot(cx, cy, cz, kXY, kXZ, kYZ);
    if (!obrot.Cokolwiek()) return;
    KazdyWierzcholek(obrot);
    if (obrot.xy) Rzut.ObrotX += kXY;
    if (obrot.xz) Rzut.ObrotY += kXZ;
    if (obrot.yz) Rzut.ObrotZ += kYZ;
}
