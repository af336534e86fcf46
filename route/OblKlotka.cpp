#include "route/OblKlotka.h"

#include <cmath>
#include <numbers>

double Odleglosc2D(double x1, double y1, double x2, double y2) {
    return std::sqrt((x2 - x1) * (x2 - x1) + (y2 - y1) * (y2 - y1));
}

double KierunekOdcinka(double x1, double y1, double x2, double y2) {
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    if (std::fabs(dx) < 0.0001 && dy > 0) return std::numbers::pi / 2;
    if (std::fabs(dx) < 0.0001 && dy < 0) return 3 * std::numbers::pi / 2;
    double kat = std::atan(dy / dx);
    if (dx < 0) kat += std::numbers::pi;
    if (dx > 0 && dy < 0) kat += 2 * std::numbers::pi;
    return kat;
}
