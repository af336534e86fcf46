// Placing the view at the route goes over the render arrays in fewer passes
// than the operations it is made of: the result must be theirs, bit for bit.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <numbers>
#include <random>
#include <vector>

#include "pomocnicze/Pomocnicze.h"
#include "render/RysujPerspektywa.h"

namespace {

std::uint64_t Bity(double v) { return std::bit_cast<std::uint64_t>(v); }

void ExpectTakieSame(const TPunkt3D& a, const TPunkt3D& b, std::size_t i) {
    EXPECT_EQ(Bity(a.X), Bity(b.X)) << i;
    EXPECT_EQ(Bity(a.Y), Bity(b.Y)) << i;
    EXPECT_EQ(Bity(a.Z), Bity(b.Z)) << i;
}

void ExpectTakieSame(const std::vector<TTrojkatRys>& a, const std::vector<TTrojkatRys>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        ExpectTakieSame(a[i].P1, b[i].P1, i);
        ExpectTakieSame(a[i].P2, b[i].P2, i);
        ExpectTakieSame(a[i].P3, b[i].P3, i);
        EXPECT_EQ(a[i].Kolor, b[i].Kolor) << i;
        EXPECT_EQ(a[i].KolorCieniowany, b[i].KolorCieniowany) << i;
        EXPECT_EQ(a[i].KolorObrysu, b[i].KolorObrysu) << i;
    }
}

// Triangles in metres around the route point, many of them crossing the near
// or the far depth once placed (or both: long ones), some with a vertex at -0.
std::vector<TTrojkatRys> Trojkaty(std::mt19937& los, int ile, double rozmiar) {
    std::uniform_real_distribution<double> u(-1, 1);
    std::vector<TTrojkatRys> w;
    for (int i = 0; i < ile; ++i) {
        TTrojkatRys r;
        const double x = 100 + 250 * u(los), y = 50 + 250 * u(los), z = 10 * u(los);
        r.P1 = {x, y, z};
        r.P2 = {x + rozmiar * u(los), y + rozmiar * u(los), z + u(los)};
        r.P3 = {x + rozmiar * u(los), y + rozmiar * u(los), i % 7 == 0 ? -0.0 : z + u(los)};
        r.Kolor = static_cast<TKolor>(los() & 0xFFFFFF);
        w.push_back(r);
    }
    return w;
}

}  // namespace

TEST(PrzebiegiWidoku, UmieszczenieNaTrasieJakKolejneOperacje) {
    for (const bool tnij : {true, false}) {
        ZerujStan();
        std::mt19937 los(tnij ? 5 : 6);
        const std::vector<TTrojkatRys> teren = Trojkaty(los, 3000, 30), proj = Trojkaty(los, 1000, 400);
        std::vector<TCzworokatRys> czw(20);
        for (auto& q : czw) {
            const TTrojkatRys t = Trojkaty(los, 1, 20)[0];
            q = {t.P1, t.P2, t.P3, t.P1, 0, 0, t.Kolor, 0};
        }
        Rzut.TnijTroj = tnij;
        Rzut.TrasaX = 90.5;
        Rzut.TrasaY = 40.25;
        Rzut.katT = 1.1;
        Rzut.OdlTnijYmin = -300;

        // The operations one after another, each over the whole arrays.
        TrojkatyTEREN = teren;
        TrojkatyPROJ = proj;
        Czworokaty = czw;
        const double srodek = Rzut.PolEkranX;
        Przesun(srodek - Rzut.TrasaX, -Rzut.TrasaY, 0.0);
        Skaluj(srodek, 0.0, 0.0, Rzut.skala);
        Obroc(srodek, 0.0, 0.0, std::numbers::pi / 2 - Rzut.katT, 0.0, 0.0);
        if (tnij) {
            TnijYmin(TZbior::PROJ, Rzut.OdlTnijYmin);
            TnijYmin(TZbior::TEREN, Rzut.OdlTnijYmin);
            TnijYmax(TZbior::PROJ, Rzut.OdlTnijYmax);
            TnijYmax(TZbior::TEREN, Rzut.OdlTnijYmax);
        } else {
            TnijYmin(TZbior::PROJ, -1000.0);
            TnijYmin(TZbior::TEREN, -1000.0);
        }
        PrzeliczRzut();
        const std::vector<TTrojkatRys> terenWzor = TrojkatyTEREN, projWzor = TrojkatyPROJ;
        const std::vector<TCzworokatRys> czwWzor = Czworokaty;
        // Both cuts took something and cut something.
        EXPECT_LT(terenWzor.size(), teren.size());
        EXPECT_GT(terenWzor.size(), teren.size() / 10);

        TrojkatyTEREN = teren;
        TrojkatyPROJ = proj;
        Czworokaty = czw;
        Rzut.PrzesunX = 7;
        Rzut.ObrotZ = 0.5;
        UmiescNaTrasie();
        ExpectTakieSame(TrojkatyTEREN, terenWzor);
        ExpectTakieSame(TrojkatyPROJ, projWzor);
        ASSERT_EQ(Czworokaty.size(), czwWzor.size());
        for (std::size_t i = 0; i < czw.size(); ++i) {
            ExpectTakieSame(Czworokaty[i].P1, czwWzor[i].P1, i);
            ExpectTakieSame(Czworokaty[i].P4, czwWzor[i].P4, i);
        }
        EXPECT_EQ(Rzut.PrzesunX, 0.0);
        EXPECT_EQ(Rzut.ObrotX, 0.0);
        EXPECT_EQ(Rzut.ObrotZ, 0.0);
    }
}
