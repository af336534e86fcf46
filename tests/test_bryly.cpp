// Test solids, the sample road, the seeded random draws and the test screens.

#include "generators/GenerowanieBryl.h"
#include "pomocnicze/Pomocnicze.h"

namespace {

constexpr double kPi = Pi;

double Plan(const TPunkt3D& p, double cx, double cy) { return std::hypot(p.X - cx, p.Y - cy); }
double Odl(const TPunkt3D& a, const TPunkt3D& b) { return Dlugosc(a - b); }

// The turn (degrees) of the base corners of a solid of the given colour about
// (cx, 100): corners lie at przes + turn modulo okres, measured from +X.
double Obrot(TKolor kolor, double cx, double przes, double okres) {
    double kat = 1e9;
    for (const auto& r : TrojkatyPROJ)
        for (const auto& p : {r.P1, r.P2, r.P3})
            if (r.Kolor == kolor && p.Z == 0.0 && p.X > cx - 100 && Plan(p, cx, 100) > 1) {
                double k = std::fmod(std::atan2(p.Y - 100, p.X - cx) * 180 / kPi - przes + 720, okres);
                kat = std::min(kat, k > okres - 0.01 ? k - okres : k);
            }
    return kat;
}

struct Bryly : ::testing::Test {
    void SetUp() override { ZerujStan(); }  // the seed at 0 as well
};

}  // namespace

TEST_F(Bryly, Liczby) {
    // Triangles whose normal components sum to 0.02 or less (collinear, tiny) are not added.
    DodajTrojkat({0, 0, 0}, {1, 1, 1}, {2, 2, 2}, 1, 2);
    DodajTrojkat({0, 0, 0}, {0.1, 0.1, 0}, {0.2, 0, 0}, 1, 2);
    DodajTrojkat({1, 0, 0}, {0, 0, 0}, {0, 0.3, 0}, 1, 2);  // sum 0.3
    EXPECT_EQ(IleTrojkatowPROJ(), 1);
    // A four-sided prism as triangles or as quadrilaterals, the closed solids, and a sphere in a mode it does not
    // know (only 'T' draws); the other solids' counts would restate their loops.
    const std::pair<std::function<void()>, std::pair<int, int>> bryly[] = {
        {[] { Walec('Z', 1, 10, 20, 30, 5, 8, 'T', 7); }, {4 * 2 + 4 + 4, 0}},
        {[] { Walec('Z', 1, 10, 20, 30, 5, 8, 'C', 7); }, {0, 4 + 2 * 4}},
        {[] { Kula(40, 'C', 10, 20, 30, 100, 9), Kula(40, 't', 10, 20, 30, 100, 9); }, {0, 0}},
        {[] { Szescian(5, 10, 20, 30, 8, 0.3); }, {12, 0}},
        {[] { Czworoscian(5, 750, 100, 0, 70, 0.4); }, {4, 0}}};
    for (const auto& [bryla, ile] : bryly) {
        TrojkatyPROJ.clear(), Czworokaty.clear();
        bryla();
        EXPECT_EQ(std::pair(IleTrojkatowPROJ(), IleCzworokatow()), ile) << &bryla - &bryly[0].first;
    }
    // The regular tetrahedron's edges are 70 * sqrt(3) long.
    for (const auto& r : TrojkatyPROJ)
        for (double b : {Odl(r.P1, r.P2), Odl(r.P2, r.P3), Odl(r.P3, r.P1)}) EXPECT_NEAR(b, 70 * std::sqrt(3.0), 1e-3);
    TrojkatyPROJ.clear();
    Kula(40, 'T', 10, 20, 30, 100, 9);
    for (const auto& r : TrojkatyPROJ) EXPECT_NEAR(Odl(r.P1, {10, 20, 30}), 100.0, 1e-9);
}

TEST_F(Bryly, CiagLosowyIEkranyTestowe) {
    // From seed 0: s1 = 1, s2 = 134775814, s3 = 3698175007; draws below 45 are (45 * s) >> 32.
    const struct {
        int los;
        std::uint32_t s;
    } kolejne[] = {{0, 1u}, {1, 134775814u}, {38, 3698175007u}, {9, 870078620u}};
    for (const auto& k : kolejne) {
        EXPECT_EQ(Losuj(45), k.los);
        EXPECT_EQ(ZiarnoLosowania, k.s);
    }
    ZiarnoLosowania = 0;
    TEREN.Punkty.resize(5), PROJ.Trojkaty.resize(2), Trasa.Zalomy.resize(4), Czworokaty.resize(3);
    // The fixed screen turns the tetrahedron and the cube by the next two draws below 45.
    for (const auto& [czw, sz] : {std::pair{0, 1}, std::pair{38, 9}}) {
        EkranTestowy();
        EXPECT_EQ(PROJ.IleTrojkatow() + IleCzworokatow(), 0);
        EXPECT_EQ(TEREN.IlePunktow() + Trasa.IleZalomow(), 5 + 4);
        EXPECT_NEAR(Obrot(0xF0A0A0, 750, 90, 120), czw, 1e-3);
        EXPECT_NEAR(Obrot(0xA0A0F0, 900, 45, 90), sz, 1e-3);
    }
    for (int i = 1; i < IleTrojkatowPROJ(); ++i) ASSERT_GE(TrojkatyPROJ[i - 1].KluczYmin, TrojkatyPROJ[i].KluczYmin);
}
