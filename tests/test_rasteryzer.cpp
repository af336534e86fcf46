// The rasterizer against exact integer references: fills, outlines, lines, clipping, degenerate polygons.

#include "pomocnicze/Pomocnicze.h"
#include "render/Rasteryzer.h"

namespace {

using i128 = __int128;
using Wielokat = std::vector<TPunktEkranu>;
constexpr std::uint32_t TLO = 0xFF000000u, PEDZEL = 0xFF00FF00u, PIORO = 0xFFFF0000u;
constexpr int G = 2000000000;

// A picture inside a margin of sentinel pixels, drawn through a view with the
// stride of the whole allocation: a write outside the view shows.
struct TObrazek {
    int W, H, M;
    std::vector<std::uint32_t> px;
    TObrazek(int w, int h, int m = 3) : W(w), H(h), M(m), px(std::size_t(w + 2 * m) * (h + 2 * m), 0xDEADu) {
        for (int i = 0; i < W * H; ++i) (*this)(i % W, i / W) = TLO;
    }
    std::uint32_t& operator()(int x, int y) { return px[std::size_t(y + M) * (W + 2 * M) + x + M]; }
    TBuforPikseli Bufor() { return {&(*this)(0, 0), W, H, W + 2 * M}; }
    bool MarginesNietkniety() const { return std::count(px.begin(), px.end(), 0xDEADu) == long(px.size()) - W * H; }
};

// Even-odd, a point on a left or top edge inside.
bool WRegule(const Wielokat& w, i128 px, i128 py) {
    bool wewnatrz = false;
    for (std::size_t i = 0; i < w.size(); ++i) {
        i128 x0 = w[i].X, y0 = w[i].Y, x1 = w[(i + 1) % w.size()].X, y1 = w[(i + 1) % w.size()].Y;
        if (y0 > y1) std::swap(x0, x1), std::swap(y0, y1);
        if (py >= y0 && py < y1 && (x0 - px) * (y1 - y0) + (py - y0) * (x1 - x0) > 0) wewnatrz = !wewnatrz;
    }
    return wewnatrz;
}

// On some edge exactly (naKrawedzi) or within half a pixel of it along the edge's minor axis.
bool PrzyKrawedzi(const Wielokat& w, i128 px, i128 py, bool naKrawedzi = false) {
    auto abs = [](i128 v) { return v < 0 ? -v : v; };
    for (std::size_t i = 0; i < w.size(); ++i) {
        i128 x0 = w[i].X, y0 = w[i].Y, x1 = w[(i + 1) % w.size()].X, y1 = w[(i + 1) % w.size()].Y, ax = px, ay = py;
        if (abs(x1 - x0) < abs(y1 - y0)) std::swap(x0, y0), std::swap(x1, y1), std::swap(ax, ay);
        if (ax < std::min(x0, x1) || ax > std::max(x0, x1)) continue;
        const i128 blad = abs((ay - y0) * (x1 - x0) - (ax - x0) * (y1 - y0));
        if (x1 == x0 ? ay == y0 : naKrawedzi ? blad == 0 : 2 * blad <= abs(x1 - x0)) return true;
    }
    return false;
}

struct TLosowe {
    std::uint32_t s;
    int Ponizej(int k) {
        s = s * 134775813u + 1u;
        return int((std::uint64_t(k) * s) >> 32);
    }
};

}  // namespace

TEST(Rasteryzer, WypelnienieIObrysWedlugRegulyBezPrzerw) {
    TLosowe los{11};
    std::vector<Wielokat> przypadki = {{{2, 2}, {20, 10}, {2, 18}, {8, 10}},
                                       {{2, 2}, {20, 18}, {20, 2}, {2, 18}},
                                       {{0, 0}, {19, 0}, {19, 19}, {0, 19}},
                                       {{5, 3}, {6, 20}, {7, 3}},
                                       {{-G, -G}, {G, -G + 1}, {0, G}},
                                       {{-G, 5}, {G, 9}, {13, G}},  // far outside
                                       {{-G, -G}, {G, G}, {G, G - 3}, {-G, 12}},
                                       {{G, G}, {G - 5, G}, {G, G - 7}},
                                       {{-G, 0}, {-G + 10, 0}, {-G + 5, 30}},
                                       {{4, 5}, {4, 5}, {4, 5}},
                                       {{-4, 5}, {-4, 5}, {-4, 5}},
                                       {{1, 1}, {19, 5}},
                                       {{1, 1}, {19, 5}, {1, 1}},  // degenerate
                                       {{19, 5}, {1, 1}, {10, 3}, {10, 3}},
                                       {{3, 3}, {3, 3}, {9, 12}, {3, 3}}};
    // A fan of triangles out to two billion pixels: as the rule splits the plane, exact agreement with it
    // on every piece means each pixel is filled exactly once, shared edges included.
    const Wielokat pierscien = {{-G, -G}, {0, -G}, {G, -G}, {G, 0}, {G, G}, {0, G}, {-G, G}, {-G, 0}};
    for (std::size_t i = 0; i < 8; ++i) przypadki.push_back({{11, 9}, pierscien[i], pierscien[(i + 1) % 8]});
    for (int n = 0; n < 200; ++n) {
        Wielokat w(3 + n % 2);
        for (auto& q : w) q = {los.Ponizej(24) - 2, los.Ponizej(24) - 2};
        przypadki.push_back(w);
    }
    for (const Wielokat& w : przypadki) {
        const int ile = int(w.size());
        TObrazek f(22, 22), o(22, 22), r(22, 22);
        WypelnijWielokat(f.Bufor(), w.data(), ile, PEDZEL);
        ObrysujWielokat(o.Bufor(), w.data(), ile, PIORO);
        RysujWielokat(r.Bufor(), w.data(), ile, PEDZEL, PIORO);
        for (int y = 0; y < 22; ++y)
            for (int x = 0; x < 22; ++x)
                ASSERT_TRUE((f(x, y) == PEDZEL) == WRegule(w, x, y) && (o(x, y) != PIORO || PrzyKrawedzi(w, x, y)) &&
                            (o(x, y) == PIORO || !PrzyKrawedzi(w, x, y, true)) &&
                            r(x, y) == (o(x, y) == PIORO ? PIORO : f(x, y)))
                    << "wielokat " << (&w - przypadki.data()) << " piksel " << x << "," << y;
        ASSERT_TRUE(r.MarginesNietkniety() && f.MarginesNietkniety());
    }
}

TEST(Rasteryzer, LinieIObcinanieNaCzterechKrawedziach) {
    // A line lights one pixel per step of its major axis, within half a pixel, the last one excluded.
    // Long lines check that the slope does not drift.
    TLosowe los{3};
    for (int n = 0; n < 400; ++n) {
        const int D = n < 4 ? 1023 + n * 25 : 20, x0 = los.Ponizej(D), y0 = los.Ponizej(D), x1 = los.Ponizej(D),
                  y1 = los.Ponizej(D);
        TObrazek a(D, D, 0);
        RysujLinie(a.Bufor(), x0, y0, x1, y1, PIORO);
        const bool poz = std::abs(x1 - x0) >= std::abs(y1 - y0);
        const int m0 = poz ? x0 : y0, m1 = poz ? x1 : y1;
        std::vector<int> naKrok(D, 0);
        for (int i = 0; i < D * D; ++i)
            if (a.px[i] == PIORO) {
                ASSERT_TRUE(PrzyKrawedzi({{x0, y0}, {x1, y1}}, i % D, i / D));
                ++naKrok[poz ? i % D : i / D];
            }
        for (int m = std::min(m0, m1); m <= std::max(m0, m1); ++m) ASSERT_EQ(naKrok[m], m != m1) << n << " " << m;
    }
    // The same drawing in a larger picture shifted by P must show through the small one.
    const int W = 30, H = 20, P = 25;
    TObrazek maly(W, H), duzy(W + 2 * P, H + 2 * P, 0);
    const TObraz niebo{3, 2, {1, 2, 3, 4, 5, 6}};
    for (int n = 0; n < 300; ++n) {
        Wielokat w(3 + n % 3);
        for (auto& q : w) q = {los.Ponizej(W + 40) - 20, los.Ponizej(H + 40) - 20};
        if (n % 7 == 0) w[0] = {n % 2 ? G : -G, n % 3 ? -G + P : G - P};
        Wielokat s = w;
        for (auto& q : s) q.X += P, q.Y += P;
        const std::uint32_t k = 0xFF000000u | std::uint32_t(n * 7919);
        for (auto [o, v] : {std::pair{&maly, &w}, std::pair{&duzy, &s}}) {
            const auto& u = *v;
            RysujWielokat(o->Bufor(), u.data(), int(u.size()), k, k ^ 0xFFFFFFu);
            RysujLinie(o->Bufor(), u[0].X, u[0].Y, u[2].X, u[2].Y, ~k);
            if (n % 10 == 0) RysujProstokat(o->Bufor(), u[1].X, u[1].Y, u[2].X, u[2].Y, k, ~k);
            if (n % 10 == 5) KopiujRozciagniety(o->Bufor(), u[1].X, u[1].Y, u[2].X, u[2].Y, niebo);
        }
    }
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) ASSERT_EQ(maly(x, y), duzy(x + P, y + P)) << x << "," << y;
    EXPECT_TRUE(maly.MarginesNietkniety());
}

TEST(Rasteryzer, ProstokatObrazIPustePodania) {
    TObrazek o(10, 10), pusty(10, 10);
    const TPunktEkranu punkt[3] = {{4, 5}, {4, 5}, {4, 5}};
    RysujWielokat(pusty.Bufor(), nullptr, 3, PEDZEL, PIORO);  // none of these draws anything
    RysujWielokat(pusty.Bufor(), punkt, 0, PEDZEL, PIORO);
    RysujWielokat(TBuforPikseli{}, punkt, 3, PEDZEL, PIORO);
    RysujProstokat(pusty.Bufor(), 4, 4, 4, 9, PEDZEL, PIORO);
    EXPECT_EQ(pusty.px, TObrazek(10, 10).px);
    RysujProstokat(o.Bufor(), 6, 8, 2, 3, PEDZEL, PIORO);  // corners in either order, right and bottom excluded
    for (int i = 0; i < 100; ++i) {
        const int x = i % 10, y = i / 10;
        const bool w = x >= 2 && x < 6 && y >= 3 && y < 8, brzeg = x == 2 || x == 5 || y == 3 || y == 7;
        EXPECT_EQ(o(x, y), !w ? TLO : brzeg ? PIORO : PEDZEL) << x << "," << y;
    }
}
