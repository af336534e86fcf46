// The driver's view on scenes whose answers follow from their geometry; the panel's texts, the drive's step.
#include <cstdio>
#include <cstdlib>
#include <map>
#include <tuple>

#include "pomocnicze/Pomocnicze.h"
#include "render/Rasteryzer.h"
#include "scena/WidokKierowcy.h"

namespace {

// A straight along +x from (0, 0) to (400, 0) over a design surface z(x, y) and no ground.
void ProstaScena(const std::function<double(double, double)>& z) {
    ZerujStan();
    BudujTrase({{0, 0, 0, 0, 0}, {400, 0, 0, 0, 0}});
    UstawTrojkaty(PROJ, Siatka(-20, 420, -20, 20, 10, z));
    UstawIndeksyWysokosci(ProjektOkna, ZbudujIndeksWysokosci(PROJ), {});
    WidokKierowcy = TWidokKierowcy{};
    WidokKierowcy.Wlaczony = true;
}

// Is there a vertex of the PROJ render array at p (view space)?
bool JestWierzcholek(const TPunkt3D& p) {
    for (const TTrojkatRys& r : TrojkatyPROJ)
        for (const TPunkt3D& q : {r.P1, r.P2, r.P3})
            if (std::fabs(q.X - p.X) < 1e-6 && std::fabs(q.Y - p.Y) < 1e-6 && std::fabs(q.Z - p.Z) < 1e-6) return true;
    return false;
}

}  // namespace

TEST(WidokKierowcy, DrogaPrzedOkiemINicZaNim) {
    // The road's grade along x, chainage, offset, direction, tilt, a vertex on the route line ahead of the eye
    // (where the eye stands, on either side and in either direction, is the eye placing tests' business).
    const struct {
        double g, s, o;
        bool wPrzod, pochylenie;
        double x;
    } przypadki[] = {
        {0.05, 100, 0, true, true, 200}, {0.05, 100, 0, true, false, 200}, {0.05, 300, 10, false, true, 200}};
    for (const auto& p : przypadki) {
        SCOPED_TRACE(&p - przypadki);
        ProstaScena([&](double x, double) { return p.g * x; });
        WidokKierowcy.Oko = {1.0, p.o, p.wPrzod};
        WidokKierowcy.PochylenieZaDroga = p.pochylenie;
        ASSERT_EQ(UstawWidokNaPikiecie(p.s), TUstawienie::Kierowca);
        const double k = Rzut.skala;
        // The eye stands O to the right of travel, 1 m over the road at s. The
        // route point at x is d ahead (|x - s|), O to the left, and rises
        // g' d - 1 against the eye (g' the grade in the direction of travel).
        const double gj = p.wPrzod ? p.g : -p.g, d = std::fabs(p.x - p.s), h = gj * d - 1.0;
        double y = d, z = h;
        if (p.pochylenie) {
            // Tilted by the grade: the road ahead on a constant grade lies
            // 1 / sqrt(1 + g^2) below the line of sight, however far.
            const double n = std::sqrt(1 + gj * gj);
            y = (d + gj * h) / n;
            z = (h - gj * d) / n;
            EXPECT_NEAR(z, -1.0 / n, 1e-12);
        }
        EXPECT_TRUE(JestWierzcholek({Rzut.OkoX - p.o * k, Rzut.OkoY + y * k, Rzut.OkoZ + z * k}));
        // Nothing at or behind the near depth; the road under the eye was cut there.
        const double blisko = Rzut.OkoY + WidokKierowcy.Bliska * k;
        bool ciete = false;
        for (const TTrojkatRys& r : TrojkatyPROJ)
            for (const TPunkt3D& q : {r.P1, r.P2, r.P3}) {
                ASSERT_GE(q.Y, blisko - 1e-9);
                ciete |= std::fabs(q.Y - blisko) < 1e-9;
            }
        EXPECT_TRUE(ciete);
        EXPECT_TRUE(Rzut.WidokKierowcy);
        // The farthest first: the depth keys never grow along the array.
        for (std::size_t i = 1; i < TrojkatyPROJ.size(); ++i)
            ASSERT_GE(TrojkatyPROJ[i - 1].KluczOko, TrojkatyPROJ[i].KluczOko);
    }
    // Off the design surface the driver's view gives way to the chainage view.
    WidokKierowcy.Oko.Przesuniecie = 30;
    EXPECT_EQ(UstawWidokNaPikiecie(100), TUstawienie::BrakWysokosci);
    EXPECT_FALSE(Rzut.WidokKierowcy);
    // The ground 10 m above the road over the road's strip (|y| < 20) is the
    // ground a cutting removes: left out; beside it the ground stays.
    ProstaScena([](double, double) { return 0.0; });
    UstawTrojkaty(TEREN, Siatka(-20, 420, -60, 60, 10, [](double, double) { return 10.0; }));
    ASSERT_EQ(UstawWidokNaPikiecie(100), TUstawienie::Kierowca);
    ASSERT_FALSE(TrojkatyTEREN.empty());
    // Travelling along +x the eye's right (-y) is +X in the picture: y = eye's y - (X - OkoX) / skala.
    for (const TTrojkatRys& r : TrojkatyTEREN)
        for (const TPunkt3D& q : {r.P1, r.P2, r.P3})
            ASSERT_GE(std::fabs(-1.75 - (q.X - Rzut.OkoX) / Rzut.skala), 20 - 1e-6);
    WyczyscIndeksyWysokosci(ProjektOkna);
}

TEST(WidokKierowcy, PrzechylenieZPochyleniemPoprzecznym) {
    // A plane falling across the road: to the right of travel along +x (towards -y) it rises q.
    constexpr double q = 0.06;
    constexpr int W = 640, H = 400;
    ProstaScena([](double, double y) { return 100 - q * y; });
    UstawOkoOkna(W, H);
    // The cross-fall under the eye, to the right of travel: q, and -q driving back.
    for (bool wPrzod : {true, false}) {
        const TPolozenieOka p = PolozenieOka(Trasa, 200, {1.0, 1.75, wPrzod}, IndeksyWysokosci(ProjektOkna));
        ASSERT_TRUE(p.Jest);
        EXPECT_NEAR(p.Przechylenie, wPrzod ? q : -q, 1e-9);
    }
    UstawOkoKierowcy(H);
    const std::uint32_t KolorNieba = 0xFFFF00FFu;
    Niebo = {1, 1, {KolorNieba}};
    // The lowest sky row of a column.
    auto niebo = [&](const std::vector<std::uint32_t>& pik, int x) {
        int y = 0;
        while (y < H && pik[static_cast<std::size_t>(y) * W + x] == KolorNieba) ++y;
        return y;
    };
    for (bool przechyl : {false, true}) {
        SCOPED_TRACE(przechyl);
        WidokKierowcy.PrzechylenieZDroga = przechyl;
        ASSERT_EQ(UstawWidokNaPikiecie(200), TUstawienie::Kierowca);
        EXPECT_NEAR(Rzut.PrzechylenieOka, przechyl ? q : 0.0, 1e-12);
        // Rolled with the lane, the car sees the plane level: every point of it the eye's height square to the
        // plane, 1 / sqrt(1 + q^2), below the line of sight. Level, the plane falls away to the left.
        double zMin = HUGE_VAL, zMax = -HUGE_VAL;
        for (const TTrojkatRys& r : TrojkatyPROJ)
            for (const TPunkt3D& p : {r.P1, r.P2, r.P3}) zMin = std::min(zMin, p.Z), zMax = std::max(zMax, p.Z);
        const double poziom = Rzut.OkoZ - Rzut.skala / std::sqrt(1 + q * q);
        if (przechyl)
            EXPECT_TRUE(std::fabs(zMin - poziom) < 1e-6 && std::fabs(zMax - poziom) < 1e-6) << zMin << " " << zMax;
        else
            EXPECT_GT(zMax - zMin, 20 * q * Rzut.skala);
        // The horizon in the picture slopes by q (rows down to the right), a quarter of the width each side.
        std::vector<std::uint32_t> pik(static_cast<std::size_t>(W) * H, 0xFF000000u);
        TPlotnoRastrowe plotno({pik.data(), W, H, W, 0});
        Przerysuj(plotno, W, H);
        const int lewa = niebo(pik, W / 4), prawa = niebo(pik, 3 * W / 4);
        EXPECT_NEAR(prawa - lewa, przechyl ? q * W / 2 : 0.0, 1.5) << lewa << " " << prawa;
        EXPECT_NEAR(0.5 * (lewa + prawa), WierszHoryzontu(H), 2.0);
    }
    WidokKierowcy = TWidokKierowcy{};
}

TEST(WidokKierowcy, SlupkiZaGrzbietemUkryte) {
    // A crest 6 m high at x = 150 between the eye at s = 50 and the posts at 200 and 300.
    ProstaScena([](double x, double) { return std::max(0.0, 6 - std::fabs(x - 150) / 5); });
    WidokKierowcy.Oko = {1.0, 1.75, true};
    ASSERT_EQ(UstawWidokNaPikiecie(50), TUstawienie::Kierowca);
    // The post at 0 stands behind the eye and is cut away with its label.
    std::vector<std::pair<std::string, bool>> napisy;
    for (const TNapisRys& n : NapisySlupkow) napisy.push_back({n.Tekst, n.Widoczny});
    EXPECT_EQ(napisy, (std::vector<std::pair<std::string, bool>>{
                          {"0+100", true}, {"0+200", false}, {"0+300", false}, {"0+400", false}}));
    // Two plates of two triangles for each post ahead of the eye.
    EXPECT_EQ(TrojkatySlupkow.size(), 4u * 4u);
    // In the chainage view the posts are off by default; on, they come without the visibility test.
    WidokKierowcy.Wlaczony = false;
    EXPECT_EQ(UstawWidokNaPikiecie(50), TUstawienie::Trasa);
    EXPECT_TRUE(TrojkatySlupkow.empty() && NapisySlupkow.empty());
    WidokKierowcy.SlupkiTrasy = true;
    UstawWidokNaPikiecie(50);
    // Within the chainage view's depths (-800 and 2000 at 12 per metre, the route point at 0): 0, 100 and 200.
    EXPECT_EQ(NapisySlupkow.size(), 3u);
    // The general view takes them away.
    WidokOgolny();
    EXPECT_TRUE(TrojkatySlupkow.empty() && NapisySlupkow.empty());

    EXPECT_EQ(PikietySlupkow(0, 1234.5, 500), (std::vector<double>{0, 500, 1000}));
    EXPECT_EQ(PikietySlupkow(50, 300, 100), (std::vector<double>{100, 200, 300}));
    EXPECT_TRUE(PikietySlupkow(0, 100, 0).empty());
    const std::pair<double, const char*> teksty[] = {{2350.4, "2+350"}, {0, "km 0+000"}, {999.6, "km 1+000"}};
    for (const auto& [s, t] : teksty) EXPECT_EQ(TekstSlupka(s), t);
    WyczyscIndeksyWysokosci(ProjektOkna);
}

TEST(WidokKierowcy, TekstyPanelu) {
    // A straight rising 2 % along x: its texts in both directions.
    ProstaScena([](double x, double) { return 100 + 0.02 * x; });
    EXPECT_EQ(TekstPanelu(250), "km 0+250,00   H = 105,00 m   i = 2,00 %   prosta");
    EXPECT_EQ(TekstPanelu(250, false), "km 0+250,00   H = 105,00 m   i = -2,00 %   prosta");
    WyczyscIndeksyWysokosci(ProjektOkna);
    EXPECT_EQ(TekstPanelu(250), "km 0+250,00   H = –   i = –   prosta");

    // A left-hand curve: clothoid A = 160, arc R = 450, clothoid A = 160.
    ZerujStan();
    BudujTrase({{0, 0, 0, 0, 0}, {1000, 0, 450, 160, 160}, {1000, 1000, 0, 0, 0}});
    const TElementTrasy& e = ::Trasa.ElementyTrasy[1];
    ASSERT_TRUE(e.JestKlotoida);
    const std::tuple<double, const char*, const char*> przypadki[] = {
        {e.PikPKP1 - 10, "prosta", "prosta"},
        {0.5 * (e.PikPKP1 + e.PikKKP1), "klotoida A = 160, w lewo", "klotoida A = 160, w prawo"},
        {0.5 * (e.PikKKP1 + e.PikPKP2), "łuk R = 450 m, w lewo", "łuk R = 450 m, w prawo"},
        {0.5 * (e.PikPKP2 + e.PikKKP2), "klotoida A = 160, w lewo", "klotoida A = 160, w prawo"},
        {e.PikKKP2 + 10, "prosta", "prosta"},
    };
    for (const auto& [s, wPrzod, wstecz] : przypadki) {
        EXPECT_EQ(TekstElementu(s), wPrzod) << s;
        EXPECT_EQ(TekstElementu(s, false), wstecz) << s;
    }
}

TEST(WidokKierowcy, JazdaWedlugCzasuNieKlatek) {
    // 60 km/h: fifteen frames of 40 ms and a slow one of half a second: 1.1 s, 18.33 m.
    double s = 100;
    for (int i = 0; i < 16; ++i) s = KrokJazdy(s, 60, i == 10 ? 0.5 : 0.04, true, 0, 1000).Pikieta;
    EXPECT_NEAR(s, 100 + 60 / 3.6 * 1.1, 1e-9);
    const std::tuple<double, double, double, bool, double, bool> przypadki[] = {
        {990, 72, 1, true, 1000, true},   // 20 m past the end: stops at it
        {5, 72, 1, false, 0, true},       // driving back past the start
        {500, 60, -1, true, 500, false},  // a clock gone back: no way
    };
    for (const auto& [s0, v, t, wPrzod, cel, koniec] : przypadki) {
        const TKrokJazdy k = KrokJazdy(s0, v, t, wPrzod, 0, 1000);
        EXPECT_NEAR(k.Pikieta, cel, 1e-9) << s0;
        EXPECT_EQ(k.Koniec, koniec) << s0;
    }
}

namespace {

// The sky over the road: in the central third of the picture's columns, the share of sky pixels in the top quarter
// of the picture (well above the horizon at 45 %), and the pixels of something hanging in the sky: a terrain seen
// from above covers each column from the foot of the picture up without a gap, so whatever lies above sky in a
// column hangs over the road (the ground of a cutting drawn as a ceiling). The rows just above the horizon are left
// out: the far cutting depth leaves gaps in the ground there.
struct TNiebo {
    double Udzial = 1;
    int Wiszace = 0;
};
TNiebo NieboNadDroga(const std::vector<std::uint32_t>& piksele, int W, int H, std::uint32_t niebo) {
    TNiebo n;
    const int gora = H / 4, horyzont = std::min(WierszHoryzontu(H), H);
    std::int64_t ile = 0, nieba = 0;
    for (int x = W / 3; x < 2 * W / 3; ++x) {
        bool widacNiebo = false;
        for (int y = horyzont - 1; y >= 0; --y) {
            const bool jest = piksele[static_cast<std::size_t>(y) * W + x] == niebo;
            if (y < gora) ++ile, nieba += jest;
            if (jest)
                widacNiebo = true;
            else if (widacNiebo && y < horyzont - H / 20)
                ++n.Wiszace;
        }
    }
    n.Udzial = ile ? static_cast<double>(nieba) / static_cast<double>(ile) : 1.0;
    return n;
}

// Writes the frame as a PPM picture (for looking at it: ORVANY_KLATKI=folder).
void ZapiszPPM(const std::string& sciezka, const std::vector<std::uint32_t>& piksele, int W, int H) {
    std::string s = "P6\n" + std::to_string(W) + " " + std::to_string(H) + "\n255\n";
    for (std::uint32_t p : piksele) s += {static_cast<char>(p >> 16), static_cast<char>(p >> 8), static_cast<char>(p)};
    ZapiszPlik(sciezka, s);
}

// The sample road loaded into a W x H window with the driver's view on (posts every `odstepSlupkow` metres); false
// when its route was not computed.
bool DrogaPrzykladowaWWidokuKierowcy(int W, int H, double odstepSlupkow) {
    ZerujStan(W, H);
    UstawOkoOkna(W, H);
    WczytajPlik(std::string(ORVANY_ZRODLA) + "/Przyklady/Droga.tro");
    WidokKierowcy = TWidokKierowcy{};
    WidokKierowcy.Wlaczony = true;
    WidokKierowcy.OdstepSlupkow = odstepSlupkow;
    UstawOkoKierowcy(H);
    return Trasa.Obliczona;
}

}  // namespace

TEST(WidokKierowcy, PrzejazdDrogiPrzykladowejNieboNadDroga) {
    // The sample road in the driver's view every 20 m in both directions: above the horizon over the road the sky
    // stays open (the old ground over a shallow cutting hung there as a green ceiling at 0+640, 0+680, 1+560, …).
    constexpr int W = 640, H = 400;
    ASSERT_TRUE(DrogaPrzykladowaWWidokuKierowcy(W, H, TWidokKierowcy{}.OdstepSlupkow));
    constexpr std::uint32_t KolorNieba = 0xFFFF00FFu;  // nowhere else in the picture
    Niebo = {1, 1, {KolorNieba}};
    const char* klatki = std::getenv("ORVANY_KLATKI");
    std::vector<std::uint32_t> piksele(static_cast<std::size_t>(W) * H);
    int ile = 0;
    double najmniej = 1.0;
    for (bool wPrzod : {true, false}) {
        WidokKierowcy.Oko.WPrzod = wPrzod;
        for (double s = 0; s <= Trasa.PikMax; s += 20) {
            if (UstawWidokNaPikiecie(s) != TUstawienie::Kierowca) continue;
            std::fill(piksele.begin(), piksele.end(), 0xFF000000u);
            TPlotnoRastrowe plotno({piksele.data(), W, H, W, 0});
            Przerysuj(plotno, W, H);
            const TNiebo n = NieboNadDroga(piksele, W, H, KolorNieba);
            const double u = n.Udzial;
            najmniej = std::min(najmniej, u);
            EXPECT_TRUE(u > 0.95 && n.Wiszace == 0)
                << "pikieta " << s << (wPrzod ? " +" : " -") << ": nieba " << u << ", wiszących pikseli " << n.Wiszace;
            if (klatki) {
                char nazwa[64];
                std::snprintf(nazwa, sizeof nazwa, "/%c%05.0f_%03.0f_%d.ppm", wPrzod ? 'p' : 'w', s, 100 * u,
                              n.Wiszace);
                ZapiszPPM(klatki + std::string(nazwa), piksele, W, H);
            }
            ++ile;
        }
    }
    EXPECT_GT(ile, 2 * static_cast<int>(Trasa.PikMax / 20) - 4);
    std::printf("najmniejszy udział nieba: %.3f w %d klatkach\n", najmniej, ile);
}

namespace {

// A canvas that keeps only the texts written on it, with their places.
class TPlotnoNapisow : public TPlotno {
public:
    std::vector<std::tuple<int, int, std::string>> Napisy;
    void UstawPioro(TKolor) override {}
    void UstawPedzel(TKolor) override {}
    void Prostokat(int, int, int, int) override {}
    void Wielokat(const TPunktEkranu*, int) override {}
    void Linia(int, int, int, int) override {}
    void Tekst(int x, int y, const std::string& tekst) override { Napisy.emplace_back(x, y, tekst); }
    void RozciagnijObraz(int, int, int, int, const TObraz&) override {}
};

}  // namespace

TEST(WidokKierowcy, NapisySlupkowJakPrzySprawdzeniuKazdego) {
    // The sample road with a post every 20 m, in both directions (driving back rolled with the cross-fall), in a
    // 640 x 400 picture: the labels a frame writes are those it writes when the sight line of every post within
    // range is checked, though most posts (behind the eye, beside the picture, too far to read) are not looked at.
#if defined(__SANITIZE_THREAD__)
    // About which labels are written, not threads (the placing's two threads are DuzeSceny's): a minute under
    // the thread checker.
    GTEST_SKIP() << "pod ThreadSanitizer: wątki umieszczania sprawdza DuzeSceny";
#endif
    constexpr int W = 640, H = 400;
    ASSERT_TRUE(DrogaPrzykladowaWWidokuKierowcy(W, H, 20.0));
    int napisane = 0, pominiete = 0, ukryteWKadrze = 0;
    for (bool wPrzod : {true, false}) {
        WidokKierowcy.Oko.WPrzod = wPrzod;
        WidokKierowcy.PrzechylenieZDroga = !wPrzod;
        for (double s = 0; s <= Trasa.PikMax; s += 50) {
            SCOPED_TRACE(std::to_string(s) + (wPrzod ? " +" : " -"));
            if (UstawWidokNaPikiecie(s, true, TKadr{W, H}) != TUstawienie::Kierowca) continue;
            TPlotnoNapisow a;
            Przerysuj(a, W, H);
            // The same placed labels, each seen or hidden as the check of every post says.
            std::vector<TNapisRys> napisy = NapisySlupkow;
            const TPolozenieOka p = PolozenieOka(Trasa, s, WidokKierowcy.Oko, IndeksyWysokosci(ProjektOkna));
            ZbudujSlupki(&p.Oko);
            std::map<std::string, bool> kazdy;
            for (const TNapisRys& n : NapisySlupkow) kazdy[n.Tekst] = n.Widoczny;
            for (TNapisRys& n : napisy) {
                ASSERT_TRUE(kazdy.count(n.Tekst)) << n.Tekst;
                pominiete += !n.Widoczny && kazdy[n.Tekst];
                const bool wKadrze = NapisMozeBycPokazany(n.P, n.Tekst.size(), W, H);
                ukryteWKadrze += wKadrze && !kazdy[n.Tekst];
                n.Widoczny = kazdy[n.Tekst];
            }
            NapisySlupkow = napisy;
            TPlotnoNapisow b;
            Przerysuj(b, W, H);
            EXPECT_EQ(a.Napisy, b.Napisy);
            napisane += static_cast<int>(a.Napisy.size());
        }
    }
    // Labels were written, labels in the picture were hidden by the surfaces, and posts were passed over.
    EXPECT_GT(napisane, 50);
    EXPECT_GT(ukryteWKadrze, 5);
    EXPECT_GT(pominiete, 100);
    std::printf("napisów: %d, ukrytych w kadrze: %d, pominiętych: %d\n", napisane, ukryteWKadrze, pominiete);
}

TEST(WidokKierowcy, KolejnoscRysowaniaJakSortowanieStabilne) {
    // The driver's frame draws TEREN, PROJ and the posts, each already farthest first, in one order: that of the
    // three arrays joined and sorted by descending key, equal keys keeping the arrays' order. Keys with many ties,
    // long runs of the ground between the others, and infinities; one array or another empty.
    ZerujStan();
    Rzut.WidokKierowcy = true;
    std::uint32_t los = 12345;
    auto klucz = [&los] {
        los = los * 1664525u + 1013904223u;
        const std::uint32_t r = los >> 24;
        return r < 4 ? (r < 2 ? HUGE_VALF : -HUGE_VALF) : static_cast<float>(r % 40);
    };
    for (int przypadek = 0; przypadek < 6; ++przypadek) {
        SCOPED_TRACE(przypadek);
        std::vector<TTrojkatRys>* tablice[3] = {&TrojkatyTEREN, &TrojkatyPROJ, &TrojkatySlupkow};
        const std::size_t ile[3] = {przypadek == 1 ? 0u : 3000u, przypadek == 2 ? 0u : 200u + 50u * przypadek,
                                    przypadek == 3 ? 0u : 40u};
        std::vector<std::pair<float, const TTrojkatRys*>> wzor;
        for (int k = 0; k < 3; ++k) {
            tablice[k]->assign(ile[k], TTrojkatRys{});
            for (TTrojkatRys& r : *tablice[k]) r.KluczOko = klucz();
            std::sort(tablice[k]->begin(), tablice[k]->end(),
                      [](const TTrojkatRys& a, const TTrojkatRys& b) { return a.KluczOko > b.KluczOko; });
        }
        for (int k = 0; k < 3; ++k)
            for (const TTrojkatRys& r : *tablice[k]) wzor.push_back({r.KluczOko, &r});
        std::stable_sort(wzor.begin(), wzor.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
        TPodzialKlatki podzial;
        TPlotnoNapisow plotno;
        Przerysuj(plotno, 200, 100, podzial);
        ASSERT_EQ(podzial.KolejnoscKierowcy.size(), wzor.size());
        for (std::size_t i = 0; i < wzor.size(); ++i) ASSERT_EQ(podzial.KolejnoscKierowcy[i], wzor[i].second) << i;
    }
    TrojkatyTEREN.clear(), TrojkatyPROJ.clear(), TrojkatySlupkow.clear();
}
