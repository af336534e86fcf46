// The passes a large scene runs in two threads give, byte for byte, what the plain passes give.

#include <numeric>

#include "common/Rownolegle.h"
#include "common/Sortowanie.h"
#include "pomocnicze/Pomocnicze.h"
#include "render/Rasteryzer.h"

namespace {

// The bytes of values, so that equal means the same to the bit (NaN too).
template <class... T>
void Dopisz(std::string& b, const T&... v) {
    (b.append(reinterpret_cast<const char*>(&v), sizeof v), ...);
}

void Dopisz(std::string& b, const TPunkt3D& p) { Dopisz(b, p.X, p.Y, p.Z); }

std::string Bajty(const std::vector<TTrojkatRys>& t) {
    std::string b;
    for (const TTrojkatRys& r : t) {
        Dopisz(b, r.P1), Dopisz(b, r.P2), Dopisz(b, r.P3);
        Dopisz(b, r.KluczYmin, r.KluczOko, r.KolorObrysu, r.Kolor, r.KolorCieniowany);
    }
    return b + "|" + std::to_string(t.size());
}

std::string Widoki() {
    std::string b = Bajty(TrojkatyTEREN) + Bajty(TrojkatyPROJ);
    for (const TCzworokatRys& r : Czworokaty) {
        Dopisz(b, r.P1), Dopisz(b, r.P2), Dopisz(b, r.P3), Dopisz(b, r.P4);
        Dopisz(b, r.KluczYmin, r.KolorObrysu, r.Kolor, r.KolorCieniowany);
    }
    Dopisz(b, Rzut.PrzesunX, Rzut.PrzesunY, Rzut.PrzesunZ, Rzut.ObrotX, Rzut.ObrotY, Rzut.ObrotZ);
    return b;
}

// A TEREN grid of nx x ny cells of 1.5 m (two triangles a cell, every other
// one clockwise), a PROJ strip across it and two test solids.
void Scena(int nx, int ny) {
    ZerujStan();
    auto p = [](double x, double y) { return TPunkt3D{x, y, 3.0 * std::sin(x / 17.0) + 0.02 * y}; };
    for (int i = 0; i < nx; ++i)
        for (int j = 0; j < ny; ++j) {
            const double x0 = 1.5 * i, y0 = 1.5 * j, x1 = x0 + 1.5, y1 = y0 + 1.5;
            TTrojkatRogi a = Trojkat(p(x0, y0), p(x1, y0), p(x1, y1)), b = Trojkat(p(x0, y0), p(x0, y1), p(x1, y1));
            a.Rodzaj.Kod = b.Rodzaj.Kod = "HNEG"[(i / 7 + j / 5) % 4];
            DodajTrojkat(TEREN, a);
            DodajTrojkat(TEREN, b);
        }
    for (int k = 0; k < 300; ++k) {
        const double z = 5.0 + 0.01 * k;
        TTrojkatRogi t = Trojkat({1.5 * k, 40, z}, {1.5 * k + 1.5, 40, z}, {1.5 * k, 47, z});
        t.Rodzaj.Kod = k % 2 ? 'N' : 'O';
        DodajTrojkat(PROJ, t);
    }
    WyroznionePROJ = {0, 5, 299, 1000};  // highlighted, one beyond the set
    Czworokaty = {TCzworokatRys{{10, 20, 0}, {30, 20, 0}, {30, 20, 9}, {10, 20, 9}},
                  TCzworokatRys{{50, 60, 1}, {70, 65, 1}, {70, 65, 8}, {50, 60, 8}}};
}

}  // namespace

TEST(DuzeSceny, PosortowaneJakPrzebudowaSkalowanieISortowanie) {
    // 120,000 mesh triangles whose second vertices' depths repeat often; one is NaN, some -0 beside +0.
    ZerujStan();
    const std::size_t n = 120000;
    ASSERT_GE(n, 2 * kRekordyNaDwaWatki);
    std::uint32_t s = 77;
    for (std::size_t i = 0; i < n; ++i) {
        s = s * 134775813u + 1u;
        const std::uint32_t k = s >> 22;
        TTrojkatRogi t;
        t.X1 = static_cast<double>(i), t.X2 = t.X1 + 1, t.X3 = t.X1, t.Y1 = 0.5 * (k % 7), t.Y3 = -3, t.Z2 = 0.25 * k;
        t.Y2 = i == 777 ? std::nan("") : (k == 6 ? -0.0 : (k == 7 ? 0.0 : (static_cast<int>(k % 301) - 150) * 0.25));
        t.Rodzaj.Kod = "HNEGO"[k % 5];
        DodajTrojkat(TEREN, t);
    }
    PrzygotujTrojkaty(TEREN, false);
    SkalujTrojkaty(TrojkatyTEREN, 4.0);
    SortujTrojkaty(TrojkatyTEREN);
    const std::string oczekiwane = Bajty(TrojkatyTEREN);
    TrojkatyTEREN.assign(5, TTrojkatRys{});
    PrzygotujPosortowane(TEREN, false, 4.0);
    EXPECT_TRUE(Bajty(TrojkatyTEREN) == oczekiwane);
    EXPECT_TRUE(std::isnan(TrojkatyTEREN.back().P2.Y));  // the NaN record last
}

// The radix sort of key pairs gives what a stable comparison sort of the codes gives: 32- and 64-bit codes,
// digits that all pairs share (passed over), a single value, and the order of equal codes kept.
TEST(DuzeSceny, RadixParJakSortowanieStabilne) {
    auto sprawdz = [](auto kod, std::size_t n) {
        using K = decltype(kod(0u));
        std::vector<sortowanie::TPara<K>> a(n + 3), b(n);  // the pairs beyond n are not sorted
        for (std::uint32_t i = 0; i < a.size(); ++i) a[i] = {kod(i), i};
        std::vector<sortowanie::TPara<K>> oczekiwane(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(n));
        std::stable_sort(oczekiwane.begin(), oczekiwane.end(), [](auto& x, auto& y) { return x.Kod < y.Kod; });
        std::vector<std::uint32_t> licznik;
        SortujPary(a, b, n, licznik);
        for (std::size_t i = 0; i < n; ++i)
            ASSERT_TRUE(a[i].Kod == oczekiwane[i].Kod && a[i].Indeks == oczekiwane[i].Indeks) << i;
    };
    auto mieszaj = [](std::uint32_t i) { return (i * 2654435761u) ^ (i >> 3); };
    sprawdz([&](std::uint32_t i) { return mieszaj(i); }, 70000);
    sprawdz([&](std::uint32_t i) { return mieszaj(i) % 97; }, 70000);  // many ties, only the lowest digit varies
    sprawdz([&](std::uint32_t i) { return std::uint64_t{mieszaj(i)} << 33 | (i % 5); }, 70000);
    sprawdz([&](std::uint32_t i) { return (std::uint64_t{1} << 63) | std::uint64_t{mieszaj(i) % 3} << 44; }, 5000);
    sprawdz([](std::uint32_t) { return std::uint64_t{12345}; }, 1000);
}

// The load's depth order against an independent one: the mesh records in a stable sort by descending zoomed
// depth of the second vertex, NaN last, -0 and +0 equal.
TEST(DuzeSceny, PosortowaneJakSortowaniePorownaniami) {
    ZerujStan();
    const std::size_t n = 60000;
    for (std::size_t i = 0; i < n; ++i) {
        TTrojkatRogi t;
        t.X1 = static_cast<double>(i);
        t.Y2 = i % 1000 == 7 ? std::nan("") : (i % 3 ? 1e-3 * static_cast<double>((i * 7919) % 5003) - 2.5 : -0.0);
        if (i % 11 == 0) t.Y2 = 0.0;
        if (i % 13 == 0) t.Y2 = 1e300 * (i % 2 ? 1.0 : -1.0);
        DodajTrojkat(TEREN, t);
    }
    std::vector<std::size_t> kolejnosc(n);
    std::iota(kolejnosc.begin(), kolejnosc.end(), std::size_t{0});
    auto glebia = [](double y) { return std::isnan(y) ? -std::numeric_limits<double>::infinity() : y * 4.0; };
    std::stable_sort(kolejnosc.begin(), kolejnosc.end(), [&](std::size_t a, std::size_t b) {
        const double ya = Rog(TEREN, TEREN.Trojkaty[a], 1).Y, yb = Rog(TEREN, TEREN.Trojkaty[b], 1).Y;
        if (std::isnan(yb)) return !std::isnan(ya);
        return !std::isnan(ya) && glebia(ya) > glebia(yb);
    });
    PrzygotujPosortowane(TEREN, false, 4.0);
    ASSERT_EQ(TrojkatyTEREN.size(), n);
    for (std::size_t j = 0; j < n; ++j) ASSERT_EQ(TrojkatyTEREN[j].P1.X, 4.0 * static_cast<double>(kolejnosc[j])) << j;
}

TEST(DuzeSceny, WidokiZSiatekJakPrzebudowaIOperacje) {
    Scena(180, 160);  // 57,600 TEREN triangles
    ASSERT_GE(TEREN.Trojkaty.size(), kRekordyNaDwaWatki);
    const std::vector<TCzworokatRys> bryly = Czworokaty;
    // Inside the grid, at its edge looking out, across the PROJ strip, and without the cuts.
    for (auto [x, y, kat, tnij] : {std::tuple{100.0, 120.0, 0.3, true},
                                   {0.0, 0.0, 3.5, true},
                                   {200.0, 43.0, 1.6, true},
                                   {130.0, 60.0, 5.0, false}}) {
        SCOPED_TRACE(kat);
        Rzut.TrasaX = x, Rzut.TrasaY = y, Rzut.katT = kat, Rzut.TnijTroj = tnij;
        Rzut.PrzesunX = 4, Rzut.ObrotZ = 0.5;
        Czworokaty = bryly;
        PrzygotujTrojkaty(TEREN, false);
        PrzygotujTrojkaty(PROJ, true);
        UmiescNaTrasie();
        const std::string oczekiwane = Widoki();
        ASSERT_GT(TrojkatyTEREN.size(), 1000u);
        Rzut.PrzesunX = 4, Rzut.ObrotZ = 0.5;
        Czworokaty = bryly;
        TrojkatyTEREN.assign(3, TTrojkatRys{});  // whatever the arrays held before
        ASSERT_TRUE(UmiescWPunkcieTrasy());
        EXPECT_TRUE(Widoki() == oczekiwane);
    }
    Czworokaty = bryly;
    PrzygotujTrojkaty(TEREN, false);
    PrzygotujTrojkaty(PROJ, true);
    Skaluj(0, 0, 0, 4);
    PrzeliczRzut();
    const std::string oczekiwane = Widoki();
    Czworokaty = bryly;
    TrojkatyTEREN.clear();
    ASSERT_TRUE(WidokOgolny());
    EXPECT_TRUE(Widoki() == oczekiwane);
}

TEST(DuzeSceny, BlokiSiatkiBezWplywuNaWidoki) {
    // The driver's view and the chainage view with the mesh's blocks passed
    // over (blocks of 256 and of 7 triangles) and with every triangle placed.
    Scena(180, 160);
    UstawRog(TEREN, 1000, 1,
             {Rog(TEREN, TEREN.Trojkaty[1000], 1).X, Rog(TEREN, TEREN.Trojkaty[1000], 1).Y,
              std::nan("")});  // its block is never passed over
    const std::vector<TCzworokatRys> bryly = Czworokaty;
    auto dolek = [](std::size_t i, std::vector<TTrojkatRogi>&) {
        return Rog(TEREN, TEREN.Trojkaty[i], 0).Z < -2.5;
    };  // left out, no pieces
    struct TOko {
        TPunkt3D oko;
        double kierunek, pochylenie, bliska, daleka;
    };
    // In the grid looking along it, with a tilt; at its corner looking out; above it seeing all of it.
    for (const TOko& o : {TOko{{100, 120, 5}, 0.3, 0.04, 0.5, 60}, TOko{{0, 0, 2}, 3.9, 0, 1, 500},
                          TOko{{130, 100, 300}, 5.0, -0.5, 0.1, 2000}}) {
        std::vector<std::string> wyniki;
        for (std::size_t rozmiar : {std::size_t{0}, std::size_t{256}, std::size_t{7}}) {
            BuforyWidoku.RozmiarBloku = rozmiar;
            Czworokaty = bryly;
            UmiescWOku(o.oko, o.kierunek, o.pochylenie, o.bliska, o.daleka, dolek);
            wyniki.push_back(Widoki());
            Czworokaty = bryly;
            Rzut.TrasaX = o.oko.X, Rzut.TrasaY = o.oko.Y, Rzut.katT = o.kierunek, Rzut.TnijTroj = o.bliska < 1;
            ASSERT_TRUE(UmiescWPunkcieTrasy());
            wyniki.push_back(Widoki());
        }
        EXPECT_GT(TrojkatyTEREN.size(), 100u);
        EXPECT_TRUE(wyniki[2] == wyniki[0] && wyniki[4] == wyniki[0]) << o.kierunek;
        EXPECT_TRUE(wyniki[3] == wyniki[1] && wyniki[5] == wyniki[1]) << o.kierunek;
    }
    BuforyWidoku.RozmiarBloku = 256;
}

TEST(DuzeSceny, KadrKierowcyBezZmianyObrazu) {
    // A drive through the grid, the eye moving a little each frame, turning
    // and tilting, low on the ground, then high above it looking level (the
    // near ground below the picture), then tilted down (the far ground above
    // it). Each frame is placed with the triangles beside the picture left
    // out (blocks of 256 and of 7 triangles) and with every triangle kept:
    // the pictures are the same to the byte, and far fewer records are drawn.
    Scena(180, 160);
    const std::vector<TCzworokatRys> bryly = Czworokaty;  // placed in place: each placing starts from them
    constexpr int W = 320, H = 200;
    Rzut.OkoX = W / 2.0, Rzut.OkoY = -220.0, Rzut.OkoZ = 0.55 * H;
    std::size_t wszystkich = 0, wKadrze = 0;
    for (int f = 0; f < 45; ++f) {
        const double t = f;
        const TPunkt3D oko{20 + 4.0 * t, 30 + 2.0 * t + 10 * std::sin(t / 7), f < 15 ? 2.0 : (f < 30 ? 40.0 : 25.0)};
        const double kierunek = 0.6 + 0.4 * std::sin(t / 9), pochylenie = f < 30 ? 0.03 * std::sin(t / 4) : -0.45;
        std::vector<std::vector<std::uint32_t>> obrazy;
        for (std::size_t rozmiar : {std::size_t{0}, std::size_t{256}, std::size_t{7}}) {
            BuforyWidoku.RozmiarBloku = rozmiar;
            Czworokaty = bryly;
            UmiescWOku(oko, kierunek, pochylenie, 0.3, 400, {}, rozmiar == 0 ? TKadr{} : TKadr{W, H});
            (rozmiar == 0 ? wszystkich : wKadrze) += rozmiar == 7 ? 0 : TrojkatyTEREN.size() + TrojkatyPROJ.size();
            obrazy.push_back(KlatkaJednymPasem(W, H));
        }
        ASSERT_TRUE(obrazy[1] == obrazy[0] && obrazy[2] == obrazy[0]) << "klatka " << f;
    }
    EXPECT_LT(wKadrze, wszystkich / 2);
    BuforyWidoku.RozmiarBloku = 256;
}

TEST(DuzeSceny, UmieszczanieWDwochWatkachJakWJednym) {
    // A drive along the grid in the driver's view and in the chainage view, each frame placed in one thread and in
    // two (the blocks left split into two runs of about as many triangles each), with blocks of 256 and of 7
    // triangles and without blocks: the render arrays are the same to the byte.
    Scena(180, 160);
    const std::vector<TCzworokatRys> bryly = Czworokaty;
    constexpr int W = 320, H = 200;
    Rzut.OkoX = W / 2.0, Rzut.OkoY = -220.0, Rzut.OkoZ = 0.55 * H;
    for (int f = 0; f < 12; ++f) {
        const TPunkt3D oko{10 + 14.0 * f, 20 + 8.0 * f, 3.0};
        const double kierunek = 0.5 + 0.1 * f;
        for (std::size_t rozmiar : {std::size_t{0}, std::size_t{256}, std::size_t{7}}) {
            BuforyWidoku.RozmiarBloku = rozmiar;
            std::vector<std::string> wyniki;
            for (std::size_t prog : {SIZE_MAX, std::size_t{1}}) {
                BuforyWidoku.ProgDwochWatkow = prog;
                Czworokaty = bryly;
                UmiescWOku(oko, kierunek, 0.02, 0.3, 120, {}, TKadr{W, H});
                wyniki.push_back(Widoki());
                Czworokaty = bryly;
                Rzut.TrasaX = oko.X, Rzut.TrasaY = oko.Y, Rzut.katT = kierunek, Rzut.TnijTroj = true;
                ASSERT_TRUE(UmiescWPunkcieTrasy());
                wyniki.push_back(Widoki());
            }
            EXPECT_GT(wyniki[0].size(), 1000u);
            EXPECT_TRUE(wyniki[2] == wyniki[0] && wyniki[3] == wyniki[1]) << "klatka " << f << ", bloki " << rozmiar;
        }
    }
    BuforyWidoku = TBuforyWidoku{};
}

TEST(DuzeSceny, SortowanieCzesciJakSortowanieCalosci) {
    // The driver's depth sort of a set placed in two runs (in two threads on a large set) against the program's one
    // sort of the two runs joined: the same records in the same order, with keys of many ties, NaN, infinities and
    // (small whole numbers) a first digit all pairs share; the runs split anywhere, one of them empty.
    std::uint32_t los = 777;
    auto nastepna = [&los] {
        los = los * 1664525u + 1013904223u;
        return los;
    };
    for (int rodzaj = 0; rodzaj < 2; ++rodzaj)
        for (std::size_t n : {std::size_t{10}, std::size_t{150000}})
            for (double udzial : {0.0, 0.3, 1.0}) {
                SCOPED_TRACE(std::to_string(rodzaj) + " " + std::to_string(n) + " " + std::to_string(udzial));
                std::vector<TTrojkatRys> wszystkie(n);
                for (std::size_t i = 0; i < n; ++i) {
                    const std::uint32_t r = nastepna();
                    TTrojkatRys& t = wszystkie[i];
                    t.P1.X = static_cast<double>(i);  // tells the records apart
                    t.KluczOko = rodzaj == 0 ? static_cast<float>(r % 3000) * 0.37f : static_cast<float>(r % 500);
                    if (r % 997 == 0) t.KluczOko = std::nanf("");
                    if (r % 1009 == 0) t.KluczOko = -HUGE_VALF;
                }
                const std::size_t n0 = static_cast<std::size_t>(udzial * static_cast<double>(n));
                const std::vector<TTrojkatRys> dolna(wszystkie.begin(), wszystkie.begin() + n0),
                    gorna(wszystkie.begin() + n0, wszystkie.end());
                std::vector<std::uint32_t> kody[2];
                for (const TTrojkatRys& t : dolna) kody[0].push_back(sortowanie::KodMalejaco(t.KluczOko));
                for (const TTrojkatRys& t : gorna) kody[1].push_back(sortowanie::KodMalejaco(t.KluczOko));
                std::vector<TTrojkatRys> cel(5);  // what a frame before left
                SortujCzesciWOku(cel, dolna, gorna, kody[0], kody[1]);
                SortujMalejaco(wszystkie, [](const TTrojkatRys& r) { return r.KluczOko; });
                ASSERT_EQ(cel.size(), n);
                EXPECT_TRUE(Bajty(cel) == Bajty(wszystkie));
            }
}
