// The rasterizer against exact integer references: which lattice points a
// fill takes, where outlines and lines fall, clipping, degenerate polygons,
// rectangles, the stretched picture and the canvas over a buffer.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "render/Rasteryzer.h"

namespace {

using i128 = __int128;
using Wielokat = std::vector<TPunktEkranu>;
constexpr std::uint32_t TLO = 0xFF000000u, PEDZEL = 0xFF00FF00u, PIORO = 0xFFFF0000u;

// A picture with a margin of sentinel pixels around it, drawn through a view
// with the stride of the whole allocation: a write outside the view shows.
struct TObrazek {
    int W, H, M;
    std::vector<std::uint32_t> px;
    TObrazek(int w, int h, int m = 3) : W(w), H(h), M(m), px(static_cast<std::size_t>(w + 2 * m) * (h + 2 * m), 0xDEADu) {
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) (*this)(x, y) = TLO;
    }
    std::uint32_t& operator()(int x, int y) { return px[static_cast<std::size_t>(y + M) * (W + 2 * M) + x + M]; }
    TBuforPikseli Bufor() { return {&(*this)(0, 0), W, H, W + 2 * M}; }
    bool MarginesNietkniety() {
        for (int y = -M; y < H + M; ++y)
            for (int x = -M; x < W + M; ++x)
                if ((x < 0 || y < 0 || x >= W || y >= H) && (*this)(x, y) != 0xDEADu) return false;
        return true;
    }
};

// Reference fill rule: even-odd, a point on a left or top edge inside.
bool WRegule(const Wielokat& w, i128 px, i128 py) {
    bool wewnatrz = false;
    for (std::size_t i = 0; i < w.size(); ++i) {
        i128 x0 = w[i].X, y0 = w[i].Y, x1 = w[(i + 1) % w.size()].X, y1 = w[(i + 1) % w.size()].Y;
        if (y0 == y1) continue;
        if (y0 > y1) std::swap(x0, x1), std::swap(y0, y1);
        if (py >= y0 && py < y1 && (x0 - px) * (y1 - y0) + (py - y0) * (x1 - x0) > 0) wewnatrz = !wewnatrz;
    }
    return wewnatrz;
}

bool NaKrawedzi(const Wielokat& w, i128 px, i128 py) {
    for (std::size_t i = 0; i < w.size(); ++i) {
        const i128 x0 = w[i].X, y0 = w[i].Y, x1 = w[(i + 1) % w.size()].X, y1 = w[(i + 1) % w.size()].Y;
        if ((x1 - x0) * (py - y0) == (y1 - y0) * (px - x0) && std::min(x0, x1) <= px && px <= std::max(x0, x1) &&
            std::min(y0, y1) <= py && py <= std::max(y0, y1))
            return true;
    }
    return false;
}

// Within half a pixel of some edge, measured along that edge's minor axis
// (the edge's first point counts, so does a single point).
bool PrzyKrawedzi(const Wielokat& w, i128 px, i128 py) {
    auto abs = [](i128 v) { return v < 0 ? -v : v; };
    for (std::size_t i = 0; i < w.size(); ++i) {
        i128 x0 = w[i].X, y0 = w[i].Y, x1 = w[(i + 1) % w.size()].X, y1 = w[(i + 1) % w.size()].Y, ax = px, ay = py;
        if (abs(x1 - x0) < abs(y1 - y0)) std::swap(x0, y0), std::swap(x1, y1), std::swap(ax, ay);
        const i128 dx = x1 - x0, dy = y1 - y0;
        if (dx == 0) {
            if (ax == x0 && ay == y0) return true;
            continue;
        }
        if (ax < std::min(x0, x1) || ax > std::max(x0, x1)) continue;
        if (2 * abs((ay - y0) * dx - (ax - x0) * dy) <= abs(dx)) return true;
    }
    return false;
}

// Reference line: at step m of the major axis the minor coordinate is the
// nearest lattice point, halves rounded up; the last pixel excluded. Only the
// steps whose major coordinate is in the picture are visited.
std::vector<std::pair<long long, long long>> PikseleLinii(long long x0, long long y0, long long x1, long long y1, int W, int H) {
    std::vector<std::pair<long long, long long>> r;
    const long long dx = x1 - x0, dy = y1 - y0, adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    const bool poz = adx >= ady;
    const long long D = poz ? adx : ady, dn = poz ? dy : dx, m0 = poz ? x0 : y0, n0 = poz ? y0 : x0;
    const long long kier = (poz ? dx : dy) < 0 ? -1 : 1, lim = poz ? W : H;
    for (long long c = 0; c < lim; ++c) {
        const long long m = (c - m0) * kier;  // step that lands on major coordinate c
        if (m < 0 || m >= D) continue;
        const i128 l = i128(2) * m * dn + D, q = (l >= 0 ? l : l - (2 * D - 1)) / (2 * D);
        const long long n = n0 + static_cast<long long>(q);
        const long long x = poz ? c : n, y = poz ? n : c;
        if (x >= 0 && y >= 0 && x < W && y < H) r.push_back({x, y});
    }
    return r;
}

struct TLosowe {
    std::uint32_t s;
    int Ponizej(int k) { s = s * 134775813u + 1u; return static_cast<int>((static_cast<std::uint64_t>(k) * s) >> 32); }
};

}  // namespace

TEST(Rasteryzer, SiatkaWypelniaKazdyPikselDokladnieRaz) {
    const int W = 61, H = 47;
    TLosowe los{7};
    // A jittered grid reaching past every edge, cut into triangles and into quadrilaterals;
    // and a fan around an inner point out to a ring at two billion pixels.
    std::vector<std::vector<Wielokat>> siatki(3);
    const int N = 8, K = 10;
    std::vector<TPunktEkranu> p((N + 1) * (N + 1));
    for (int j = 0; j <= N; ++j)
        for (int i = 0; i <= N; ++i)
            p[j * (N + 1) + i] = {i * K - 12 + ((i % N) ? los.Ponizej(7) - 3 : 0), j * K - 12 + ((j % N) ? los.Ponizej(7) - 3 : 0)};
    for (int j = 0; j < N; ++j)
        for (int i = 0; i < N; ++i) {
            const auto a = p[j * (N + 1) + i], b = p[j * (N + 1) + i + 1], c = p[(j + 1) * (N + 1) + i + 1], d = p[(j + 1) * (N + 1) + i];
            siatki[0].push_back({a, b, c});
            siatki[0].push_back({a, c, d});
            siatki[1].push_back({a, b, c, d});
        }
    const int G = 2000000000;
    const Wielokat pierscien = {{-G, -G}, {0, -G}, {G, -G}, {G, 0}, {G, G}, {0, G}, {-G, G}, {-G, 0}};
    for (std::size_t i = 0; i < pierscien.size(); ++i) siatki[2].push_back({{23, 17}, pierscien[i], pierscien[(i + 1) % 8]});
    for (const auto& siatka : siatki) {
        std::vector<int> ile(W * H, 0);
        for (const Wielokat& w : siatka) {
            TObrazek o(W, H);
            WypelnijWielokat(o.Bufor(), w.data(), static_cast<int>(w.size()), PEDZEL);
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x) ile[y * W + x] += o(x, y) == PEDZEL;
            ASSERT_TRUE(o.MarginesNietkniety());
        }
        for (int i = 0; i < W * H; ++i) ASSERT_EQ(ile[i], 1) << "piksel " << i % W << "," << i / W;
    }
}

TEST(Rasteryzer, WypelnienieIObrysWedlugRegulyBezPrzerw) {
    TLosowe los{11};
    std::vector<Wielokat> przypadki = {
        {{2, 2}, {20, 10}, {2, 18}, {8, 10}},     // dart (non-convex)
        {{2, 2}, {20, 18}, {20, 2}, {2, 18}},     // bow tie
        {{0, 0}, {19, 0}, {19, 19}, {0, 19}},     // square on the picture's border
        {{5, 3}, {6, 20}, {7, 3}},                // thin spike
    };
    for (int n = 0; n < 400; ++n) {
        Wielokat w(3 + n % 2);
        for (auto& q : w) q = {los.Ponizej(24) - 2, los.Ponizej(24) - 2};
        przypadki.push_back(w);
    }
    for (const Wielokat& w : przypadki) {
        const int ile = static_cast<int>(w.size());
        TObrazek f(22, 22), o(22, 22), r(22, 22), odwr(22, 22);
        WypelnijWielokat(f.Bufor(), w.data(), ile, PEDZEL);
        ObrysujWielokat(o.Bufor(), w.data(), ile, PIORO);
        RysujWielokat(r.Bufor(), w.data(), ile, PEDZEL, PIORO);
        const Wielokat wr(w.rbegin(), w.rend());
        RysujWielokat(odwr.Bufor(), wr.data(), ile, PEDZEL, PIORO);
        for (int y = 0; y < 22; ++y)
            for (int x = 0; x < 22; ++x) {
                SCOPED_TRACE(::testing::Message() << "wielokat " << (&w - przypadki.data()) << " piksel " << x << "," << y);
                ASSERT_EQ(f(x, y) == PEDZEL, WRegule(w, x, y));
                if (o(x, y) == PIORO) { ASSERT_TRUE(PrzyKrawedzi(w, x, y)); }
                if (NaKrawedzi(w, x, y)) { ASSERT_EQ(o(x, y), PIORO); }
                if (WRegule(w, x, y) || NaKrawedzi(w, x, y)) { ASSERT_NE(r(x, y), TLO); }
                ASSERT_EQ(r(x, y), o(x, y) == PIORO ? PIORO : f(x, y));
                ASSERT_EQ(odwr(x, y), r(x, y));
            }
        ASSERT_TRUE(r.MarginesNietkniety());
    }
}

TEST(Rasteryzer, LinieWedlugWzoruIBezOstatniegoPiksela) {
    TLosowe los{3};
    const int W = 40, H = 30, G = 2000000000;
    for (int n = 0; n < 600; ++n) {
        long long x0 = los.Ponizej(60) - 10, y0 = los.Ponizej(50) - 10, x1 = los.Ponizej(60) - 10, y1 = los.Ponizej(50) - 10;
        if (n % 5 == 4) x0 = (n % 2 ? G : -G), y1 = (n % 3 ? -G : G);  // far ends
        TObrazek o(W, H);
        RysujLinie(o.Bufor(), int(x0), int(y0), int(x1), int(y1), PIORO);
        TObrazek ref(W, H);
        for (auto [x, y] : PikseleLinii(x0, y0, x1, y1, W, H)) ref(int(x), int(y)) = PIORO;
        ASSERT_EQ(o.px, ref.px) << x0 << "," << y0 << " -> " << x1 << "," << y1;
    }
    // Every direction from one point inside the picture, halves included (e.g. 6 across, 1 down).
    for (int dy = -12; dy <= 12; ++dy)
        for (int dx = -12; dx <= 12; ++dx) {
            TObrazek o(W, H), ref(W, H);
            RysujLinie(o.Bufor(), 15, 14, 15 + dx, 14 + dy, PIORO);
            for (auto [x, y] : PikseleLinii(15, 14, 15 + dx, 14 + dy, W, H)) ref(int(x), int(y)) = PIORO;
            ASSERT_EQ(o.px, ref.px) << dx << "," << dy;
        }
    // Long lines (their slopes are kept in fixed point): every pixel where the formula puts it.
    TObrazek dlugie(1100, 1100, 0);
    for (int D : {1000, 1023, 1024, 1099})
        for (int dn = -D; dn <= D; dn += 13) {
            for (int obrot = 0; obrot < 2; ++obrot) {
                const int x1 = obrot ? 549 + dn / 2 : 0, y1 = obrot ? 0 : 549 + dn / 2;
                const int x2 = obrot ? 549 - (dn - dn / 2) : D, y2 = obrot ? D : 549 - (dn - dn / 2);
                RysujLinie(dlugie.Bufor(), x1, y1, x2, y2, PIORO);
                const auto ref = PikseleLinii(x1, y1, x2, y2, 1100, 1100);
                ASSERT_EQ(ref.size(), static_cast<std::size_t>(D));
                for (auto [x, y] : ref) {
                    ASSERT_EQ(dlugie(int(x), int(y)), PIORO) << D << " " << dn << " " << obrot;
                    dlugie(int(x), int(y)) = TLO;
                }
            }
        }
    ASSERT_EQ(dlugie.px, TObrazek(1100, 1100, 0).px);  // nothing else was drawn

    TObrazek o(8, 8);
    RysujLinie(o.Bufor(), 1, 1, 1, 1, PIORO);  // no length, nothing drawn
    RysujLinie(o.Bufor(), 0, 2, 4, 2, PIORO);
    EXPECT_EQ(o(3, 2), PIORO);
    EXPECT_EQ(o(4, 2), TLO);
    EXPECT_EQ(o(1, 1), TLO);
}

TEST(Rasteryzer, ObcinanieNaCzterechKrawedziachJakWiekszyObraz) {
    // The same drawing in a larger picture shifted by D must show through the small one.
    const int W = 30, H = 20, D = 25;
    TLosowe los{5};
    TObraz niebo{3, 2, {1, 2, 3, 4, 5, 6}};
    TObrazek maly(W, H), duzy(W + 2 * D, H + 2 * D, 0);
    for (int n = 0; n < 300; ++n) {
        Wielokat w(3 + n % 3);
        for (auto& q : w) q = {los.Ponizej(W + 40) - 20, los.Ponizej(H + 40) - 20};
        Wielokat p = w;
        for (auto& q : p) q.X += D, q.Y += D;
        const std::uint32_t k = 0xFF000000u | static_cast<std::uint32_t>(n * 7919);
        RysujWielokat(maly.Bufor(), w.data(), int(w.size()), k, k ^ 0xFFFFFFu);
        RysujWielokat(duzy.Bufor(), p.data(), int(p.size()), k, k ^ 0xFFFFFFu);
        if (n % 10 == 0) {
            RysujProstokat(maly.Bufor(), w[0].X, w[0].Y, w[1].X, w[1].Y, k, ~k);
            RysujProstokat(duzy.Bufor(), p[0].X, p[0].Y, p[1].X, p[1].Y, k, ~k);
            KopiujRozciagniety(maly.Bufor(), w[1].X, w[1].Y, w[2].X, w[2].Y, niebo);
            KopiujRozciagniety(duzy.Bufor(), p[1].X, p[1].Y, p[2].X, p[2].Y, niebo);
        }
    }
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) ASSERT_EQ(maly(x, y), duzy(x + D, y + D)) << x << "," << y;
    EXPECT_TRUE(maly.MarginesNietkniety());
}

TEST(Rasteryzer, WspolrzedneDalekoPozaObrazem) {
    const int G = 2000000000;
    const std::vector<Wielokat> przypadki = {
        {{-G, -G}, {G, -G + 1}, {0, G}},            // covers the whole picture
        {{-G, 5}, {G, 9}, {13, G}},                 // edges crossing the picture
        {{-G, -G}, {G, G}, {G, G - 3}, {-G, 12}},   // thin sliver across it
        {{G, G}, {G - 5, G}, {G, G - 7}},           // far away: nothing
        {{-G, 0}, {-G + 10, 0}, {-G + 5, 30}},
    };
    for (const Wielokat& w : przypadki) {
        TObrazek r(32, 24), f(32, 24);
        RysujWielokat(r.Bufor(), w.data(), int(w.size()), PEDZEL, PIORO);
        WypelnijWielokat(f.Bufor(), w.data(), int(w.size()), PEDZEL);
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 32; ++x) {
                ASSERT_EQ(f(x, y) == PEDZEL, WRegule(w, x, y)) << x << "," << y;
                if (r(x, y) == PIORO) { ASSERT_TRUE(PrzyKrawedzi(w, x, y)); }
                if (NaKrawedzi(w, x, y) || WRegule(w, x, y)) { ASSERT_NE(r(x, y), TLO); }
            }
        EXPECT_TRUE(r.MarginesNietkniety());
    }
}

TEST(Rasteryzer, ZdegenerowaneWielokatyRysujaObrys) {
    TObrazek o(10, 10);
    const Wielokat punkt = {{4, 5}, {4, 5}, {4, 5}};
    RysujWielokat(o.Bufor(), punkt.data(), 3, PEDZEL, PIORO);
    int zapalone = 0;
    for (auto v : o.px) zapalone += v == PIORO;
    EXPECT_EQ(zapalone, 1);
    EXPECT_EQ(o(4, 5), PIORO);

    // A segment given as two points, as there-and-back, or through a collinear middle vertex:
    // the line's pixels and its end, never the brush.
    for (const Wielokat& w : std::vector<Wielokat>{{{1, 1}, {9, 5}}, {{1, 1}, {9, 5}, {1, 1}}, {{1, 1}, {5, 3}, {9, 5}}, {{9, 5}, {1, 1}, {5, 3}, {5, 3}}}) {
        TObrazek a(10, 10), b(10, 10);
        RysujWielokat(a.Bufor(), w.data(), int(w.size()), PEDZEL, PIORO);
        RysujLinie(b.Bufor(), 1, 1, 9, 5, PIORO);
        b(9, 5) = PIORO;
        EXPECT_EQ(a.px, b.px);
    }
    TObrazek c(10, 10);
    RysujWielokat(c.Bufor(), nullptr, 3, PEDZEL, PIORO);
    RysujWielokat(c.Bufor(), punkt.data(), 0, PEDZEL, PIORO);
    const Wielokat poza = {{-4, 5}, {-4, 5}, {-4, 5}};
    RysujWielokat(c.Bufor(), poza.data(), 3, PEDZEL, PIORO);
    RysujWielokat(TBuforPikseli{}, punkt.data(), 3, PEDZEL, PIORO);
    EXPECT_EQ(c.px, TObrazek(10, 10).px);
}

TEST(Rasteryzer, CzworokatZPowtorzonymWierzcholkiemJakTrojkat) {
    TLosowe los{9};
    for (int n = 0; n < 300; ++n) {
        TPunktEkranu a{los.Ponizej(30) - 3, los.Ponizej(30) - 3}, b{los.Ponizej(30) - 3, los.Ponizej(30) - 3},
            c{los.Ponizej(30) - 3, los.Ponizej(30) - 3};
        const Wielokat t = {a, b, c};
        TObrazek ref(24, 24);
        RysujWielokat(ref.Bufor(), t.data(), 3, PEDZEL, PIORO);
        for (const Wielokat& q : std::vector<Wielokat>{{a, a, b, c}, {a, b, b, c}, {a, b, c, c}, {b, c, a, a}}) {
            TObrazek o(24, 24);
            RysujWielokat(o.Bufor(), q.data(), 4, PEDZEL, PIORO);
            ASSERT_EQ(o.px, ref.px) << n;
        }
    }
}

TEST(Rasteryzer, ProstokatBezPrawejIDolnejKrawedzi) {
    TObrazek o(10, 10), odwr(10, 10);
    RysujProstokat(o.Bufor(), 2, 3, 6, 8, PEDZEL, PIORO);
    RysujProstokat(odwr.Bufor(), 6, 8, 2, 3, PEDZEL, PIORO);
    EXPECT_EQ(o.px, odwr.px);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool w = x >= 2 && x < 6 && y >= 3 && y < 8;
            const bool brzeg = x == 2 || x == 5 || y == 3 || y == 7;
            EXPECT_EQ(o(x, y), !w ? TLO : brzeg ? PIORO : PEDZEL) << x << "," << y;
        }
    TObrazek c(10, 10);
    RysujProstokat(c.Bufor(), 4, 4, 4, 9, PEDZEL, PIORO);  // no width: nothing
    EXPECT_EQ(c.px, TObrazek(10, 10).px);
    RysujProstokat(c.Bufor(), -2000000000, -5, 2000000000, 2000000000, PEDZEL, PIORO);
    for (auto v : TObrazek(c).px) EXPECT_TRUE(v == PEDZEL || v == 0xDEADu);  // its frame lies off the picture
}

TEST(Rasteryzer, ObrazRozciagnietyNajblizszySasiad) {
    const TObraz obraz{3, 2, {1, 2, 3, 4, 5, 6}};
    TObrazek o(6, 4);
    KopiujRozciagniety(o.Bufor(), 0, 0, 6, 4, obraz);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_EQ(o(x, y), 0xFF000000u | (1 + x / 2 + 3 * (y / 2)));
    TObrazek l(6, 4);
    KopiujRozciagniety(l.Bufor(), 6, 0, 0, 4, obraz);  // right to left: mirrored
    EXPECT_EQ(l(0, 0), 0xFF000003u);
    EXPECT_EQ(l(5, 3), 0xFF000004u);
    TObrazek m(2, 1);
    KopiujRozciagniety(m.Bufor(), 0, 0, 2, 1, obraz);  // the source pixel under each centre
    EXPECT_EQ(m(0, 0), 0xFF000004u);
    EXPECT_EQ(m(1, 0), 0xFF000006u);
    TObrazek d(6, 4);
    KopiujRozciagniety(d.Bufor(), -2000000000, -2000000000, 2000000000, 2000000000, obraz);
    EXPECT_EQ(d(0, 0), 0xFF000005u);  // the middle of the picture lands on the image
    KopiujRozciagniety(d.Bufor(), 0, 0, 6, 4, TObraz{});
    EXPECT_TRUE(d.MarginesNietkniety());
}

TEST(PlotnoRastrowe, KoloryKolejnoscITekst) {
    EXPECT_EQ(PikselKoloru(0x00332211u), 0xFF112233u);
    TObrazek o(10, 10);
    TPlotnoRastrowe p(o.Bufor());
    p.UstawPedzel(clBtnFace);
    p.UstawPioro(0x000000FFu);
    p.Prostokat(0, 0, 10, 10);
    EXPECT_EQ(o(5, 5), 0xFFF0F0F0u);
    EXPECT_EQ(o(0, 0), 0xFFFF0000u);
    p.UstawKolorPrzycisku(0x00C8D0D4u);  // applies to the brush already chosen
    p.Prostokat(0, 0, 10, 10);
    EXPECT_EQ(o(5, 5), 0xFFD4D0C8u);
    // Painter's order: the later polygon covers the earlier one.
    const TPunktEkranu a[3] = {{1, 1}, {9, 1}, {1, 9}}, b[3] = {{1, 1}, {9, 1}, {9, 9}};
    p.UstawPedzel(0x0000FF00u);
    p.Wielokat(a, 3);
    p.UstawPedzel(0x00FF0000u);
    p.Wielokat(b, 3);
    EXPECT_EQ(o(6, 3), 0xFF0000FFu);
    EXPECT_EQ(o(2, 6), 0xFF00FF00u);
    p.Tekst(1, 1, "bez funkcji");  // nothing to call: nothing happens
    std::string zapis;
    p.UstawPisanieTekstu([&](int x, int y, const std::string& t, std::uint32_t tlo) {
        zapis = std::to_string(x) + "," + std::to_string(y) + "," + t + "," + std::to_string(tlo == 0xFF0000FFu);
    });
    p.Tekst(200, 300, "Oko Xo = ");
    EXPECT_EQ(zapis, "200,300,Oko Xo = ,1");
    EXPECT_TRUE(o.MarginesNietkniety());
}
