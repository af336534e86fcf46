// The grid thinning with its scans shared by two threads gives the very TIN of one thread: heights in whole
// centimetres (so that many nodes lie equally far from a plane and the lower node must win wherever it was
// scanned), holes, and a hand-over threshold low enough that every batch, and every large triangle row by row,
// is shared.
#include <cmath>

#include "nmt/Przerzedzanie.h"
#include "pomocnicze/Pomocnicze.h"

namespace {

double Pagorki(int i, int j) {
    return std::round(100 * (150 + 6 * std::sin(i * 0.05) * std::cos(j * 0.04) + 0.3 * std::sin(i * 0.9 + j))) / 100;
}

double ZDziurami(int i, int j) {
    if ((i - 60) * (i - 60) + (j - 50) * (j - 50) < 300 || (i > 150 && j < 20)) return std::nan("");
    return Pagorki(i, j);
}

}  // namespace

TEST(NMTWatki, TenSamTINNaJednymIDwochWatkach) {
    for (auto z : {Pagorki, ZDziurami}) {
        const TSiatkaNMT s = SiatkaNMTZ(157, 131, z);
        for (double tol : {0.02, 0.1}) {
            SCOPED_TRACE(tol);
            const auto jeden = PrzerzedzSiatke(s, tol, {}, nullptr, {1, 0});
            ASSERT_TRUE(jeden);
            ASSERT_GT(jeden->Trojkaty.size(), 100u);
            for (std::int64_t prog : {1, 200}) {
                SCOPED_TRACE(prog);
                const auto dwa = PrzerzedzSiatke(s, tol, {}, nullptr, {2, prog});
                ASSERT_TRUE(dwa);
                EXPECT_TRUE(dwa->Trojkaty == jeden->Trojkaty);
                ASSERT_EQ(dwa->Punkty.size(), jeden->Punkty.size());
                for (std::size_t n = 0; n < dwa->Punkty.size(); ++n)
                    ASSERT_TRUE(dwa->Punkty[n].X == jeden->Punkty[n].X && dwa->Punkty[n].Y == jeden->Punkty[n].Y &&
                                dwa->Punkty[n].Z == jeden->Punkty[n].Z)
                        << n;
            }
        }
    }
}
