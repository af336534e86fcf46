// The picture's frame as seen from the eye: the four planes through the
// observer (Rzut.OkoX, OkoY, OkoZ) whose points the projection (EkranX,
// EkranY) takes to the picture's left, right, top and bottom edges, each
// moved a few pixels outwards. A point in front of the eye that lies beyond
// one of them lands beyond that edge, and a triangle whose vertices all lie
// beyond the same one lights no pixel of the picture: the driver's view
// leaves such triangles, and whole blocks of the mesh, out of its arrays
// instead of sorting them and handing them to the canvas, which would clip
// them away. The picture is the same.
#pragma once

#include <algorithm>
#include <cmath>

#include "common/Funkcje.h"

// The picture a view is placed for: W x H pixels. 0 x 0 when not known: then
// nothing is left out for lying beside the picture.
struct TKadr {
    int W = 0;
    int H = 0;
};

// The four planes, each as a x + b y + c z + d > 0 for the points beyond it.
struct TPlaszczyznyKadru {
    struct TPlaszczyzna {
        double A = 0, B = 0, C = 0, D = 0;
        double Wartosc(const TPunkt3D& p) const { return A * p.X + B * p.Y + C * p.Z + D; }
        // A bound of the rounding of Wartosc at p, far above the real one.
        double Zapas(const TPunkt3D& p) const {
            return 1e-12 * (std::fabs(A * p.X) + std::fabs(B * p.Y) + std::fabs(C * p.Z) + std::fabs(D));
        }
    };
    bool Jest = false;
    TPlaszczyzna P[4];

    // Do all n points lie beyond one plane, each by more than `zapas` (in the
    // meshes' placed units) and more than the rounding of the test?
    bool Poza(const TPunkt3D* p, int n, double zapas = 0.0) const {
        if (!Jest) return false;
        for (const TPlaszczyzna& pl : P) {
            const double dl = std::fabs(pl.A) + std::fabs(pl.B) + std::fabs(pl.C);
            bool wszystkie = true;
            for (int i = 0; i < n && wszystkie; ++i) wszystkie = pl.Wartosc(p[i]) > pl.Zapas(p[i]) + dl * zapas;
            if (wszystkie) return true;
        }
        return false;
    }
    bool Poza(const TPunkt3D& a, const TPunkt3D& b, const TPunkt3D& c) const {
        const TPunkt3D p[3] = {a, b, c};
        return Poza(p, 3);
    }
};

// Pixels by which each plane lies beyond its edge. The projection truncates
// towards zero, so a point up to a pixel beyond the left or top edge still
// lands on the edge's column or row; two pixels more cover the rounding of
// the cuts' pieces (which lie on the triangle's edges up to the last bit).
constexpr double kMarginesKadru = 4.0;

// The planes of the picture `kadr` for an eye at (ox, oy, oz) whose picture
// plane lies d = -oy in front of it (EkranX: X = ox + d (x - ox) / (y - oy)).
// None (Jest false) without a picture size, or when the eye is not well in
// front of the picture plane (d < 1), or a number is not finite.
inline TPlaszczyznyKadru PlaszczyznyKadru(const TKadr& kadr, double ox, double oy, double oz) {
    TPlaszczyznyKadru k;
    const double d = -oy, m = kMarginesKadru, w = kadr.W, h = kadr.H;
    if (kadr.W <= 0 || kadr.H <= 0 || !(d >= 1.0) || !std::isfinite(ox + oy + oz + d)) return k;
    // With g = y - oy > 0 (the point in front of the eye):
    //  left:   X < -m      <=>  -d (x - ox) - (m + ox) g > 0
    //  right:  X > W + m   <=>   d (x - ox) - (W + m - ox) g > 0
    //  top:    Y < -m      <=>   d (z - oz) - (H + m - oz) g > 0   (Y = H - oz - d (z - oz) / g)
    //  bottom: Y > H + m   <=>  -d (z - oz) - (m + oz) g > 0
    auto plaszczyzna = [&](double ax, double az, double ag) {
        // ax (x - ox) + az (z - oz) + ag (y - oy)
        return TPlaszczyznyKadru::TPlaszczyzna{ax, ag, az, -ax * ox - az * oz - ag * oy};
    };
    k.P[0] = plaszczyzna(-d, 0.0, -(m + ox));
    k.P[1] = plaszczyzna(d, 0.0, -(w + m - ox));
    k.P[2] = plaszczyzna(0.0, d, -(h + m - oz));
    k.P[3] = plaszczyzna(0.0, -d, -(m + oz));
    k.Jest = true;
    for (const auto& p : k.P) k.Jest = k.Jest && std::isfinite(p.A + p.B + p.C + p.D);
    return k;
}
