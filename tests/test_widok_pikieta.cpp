// The view at a chainage and the general view, rebuilt from the meshes.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "pomocnicze/Pomocnicze.h"
#include "render/RysujPerspektywa.h"

namespace {

TTrojkat MeshTroj(double x, double y, double z) {
    TTrojkat t;
    t.X1 = x, t.Y1 = y, t.Z1 = z;
    t.X2 = x + 1, t.Y2 = y, t.Z2 = z;
    t.X3 = x, t.Y3 = y + 1, t.Z3 = z;
    return t;
}

}  // namespace

TEST(WidokPikieta, BezTrojkatowSiatekNicSieNieZmienia) {
    ZerujStan();
    TrojkatyPROJ.resize(2);
    Czworokaty.resize(1);
    Rzut.PrzesunX = 3;
    EXPECT_FALSE(UstawNaPikiecieRdzen());
    EXPECT_FALSE(WidokOgolny());
    EXPECT_EQ(IleTrojkatowPROJ(), 2);
    EXPECT_EQ(Rzut.PrzesunX, 3.0);
}

TEST(WidokPikieta, UstawienieNaPikieciePrzebudowujeIUmieszcza) {
    ZerujStan();
    TEREN.Trojkaty = {MeshTroj(10, 20, 1), MeshTroj(10, 500, 0)};  // the second lies beyond the far cut
    PROJ.Trojkaty = {MeshTroj(10, 25, 2)};
    Rzut.TrasaX = 10;
    Rzut.TrasaY = 20;
    Rzut.katT = std::numbers::pi / 2;
    Przesun(5, 5, 5);  // discarded by the rebuild
    ASSERT_TRUE(UstawNaPikiecieRdzen());
    ASSERT_EQ(IleTrojkatowTEREN(), 1);
    ASSERT_EQ(IleTrojkatowPROJ(), 1);
    EXPECT_NEAR(TrojkatyTEREN[0].P1.X, Rzut.PolEkranX, 1e-9);
    EXPECT_NEAR(TrojkatyTEREN[0].P1.Y, 0.0, 1e-9);
    EXPECT_NEAR(TrojkatyTEREN[0].P1.Z, 12.0, 1e-9);
    EXPECT_NEAR(TrojkatyPROJ[0].P1.Y, 5 * 12.0, 1e-9);
    EXPECT_EQ(Rzut.PrzesunX, 0.0);

    // The general view: the meshes at 4 pixels a unit, nothing cut, totals kept.
    Rzut.ObrotX = 0.5;
    ASSERT_TRUE(WidokOgolny());
    ASSERT_EQ(IleTrojkatowTEREN(), 2);
    EXPECT_EQ(TrojkatyTEREN[1].P1.Y, 2000.0);
    EXPECT_EQ(TrojkatyPROJ[0].P3.Z, 8.0);
    EXPECT_EQ(Rzut.ObrotX, 0.5);
}
