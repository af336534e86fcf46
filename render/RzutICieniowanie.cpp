// Projection and shading: where a point of the view falls on the canvas, the
// horizon's row, and the colour of each face from its slope.
#include "render/RysujPerspektywa.h"

#include <cmath>

#include "common/Rownolegle.h"

namespace {

TKolor Cieniuj(TKolor kolor, int d) {
    const int r = Ogranicz(static_cast<int>(kolor & 0xFF) + d, 0, 255);
    const int g = Ogranicz(static_cast<int>((kolor >> 8) & 0xFF) + d, 0, 255);
    const int b = Ogranicz(static_cast<int>((kolor >> 16) & 0xFF) + d, 0, 255);
    return static_cast<TKolor>(r | (g << 8) | (b << 16));
}

TKolor Przyciemnij(TKolor kolor, int o) {
    const int r = Ogranicz(static_cast<int>(kolor & 0xFF) - o, 0, 255);
    const int g = Ogranicz(static_cast<int>((kolor >> 8) & 0xFF) - o, 0, 255);
    const int b = Ogranicz(static_cast<int>((kolor >> 16) & 0xFF) - o, 0, 255);
    return static_cast<TKolor>(r | (g << 8) | (b << 16));
}

// Shading offset d of a face with the edge vectors a = P1 - P2, b = P3 - P2.
// A face whose first three vertices are collinear (no normal) keeps its base colour.
template <bool Czworokat>
int Przesuniecie(const TPunkt3D& p1, const TPunkt3D& p2, const TPunkt3D& p3) {
    const TPunkt3D n = Iloczyn(p1 - p2, p3 - p2);
    const double dl = std::sqrt(IloczynSkalarny(n, n));
    if (!(dl > 0.0) || !std::isfinite(dl)) return 0;
    const double c = IloczynSkalarny(n, Swiatlo) / dl;
    const double t = Czworokat ? -c * c : -c;
    const double d = nat * t;
    if (std::isnan(d)) return 0;
    // An overflowing product saturates every channel, like any large offset.
    if (d > 1e6) return 1000000;
    if (d < -1e6) return -1000000;
    return static_cast<int>(d);
}

template <bool Czworokat, typename R>
void Cieniuj(R& r) {
    const int d = Przesuniecie<Czworokat>(r.P1, r.P2, r.P3);
    r.KolorCieniowany = Cieniuj(r.Kolor, d);
    r.KolorObrysu = RysObrys ? Przyciemnij(r.KolorCieniowany, NatObrys) : r.KolorCieniowany;
}

}  // namespace

void CieniujTrojkat(TTrojkatRys& r) { Cieniuj<false>(r); }
void CieniujCzworokat(TCzworokatRys& r) { Cieniuj<true>(r); }

void PrzeliczRzut() {
    for (auto& r : Czworokaty) Cieniuj<true>(r);
    for (std::vector<TTrojkatRys>* tab : {&TrojkatyTEREN, &TrojkatyPROJ})
        NaDwochWatkach(tab->size(), [tab](std::size_t od, std::size_t do_) {
            for (std::size_t i = od; i < do_; ++i) Cieniuj<false>((*tab)[i]);
        });
    for (auto& r : TrojkatySlupkow) Cieniuj<false>(r);
}

int WierszHoryzontu(int H) { return NaCalkowitaEkranu(H - Rzut.OkoZ - Rzut.OkoY * Rzut.PochylenieOka); }

double WierszHoryzontuWKolumnie(double x, int H) {
    // A level direction straight ahead lands at (x0, y0); the level directions beside it lie on the line through
    // it whose slope is the cross-fall the view was rolled by (the roll is -atan of it).
    const double q = Rzut.PrzechylenieOka, p = Rzut.PochylenieOka, n = std::sqrt(1.0 + q * q);
    const double x0 = Rzut.OkoX + Rzut.OkoY * p * q / n, y0 = H - Rzut.OkoZ - Rzut.OkoY * p / n;
    return y0 + q * (x - x0);
}
