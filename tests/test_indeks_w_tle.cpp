// The heights index built in a second thread: questions meanwhile wait for it
// and get the index of the meshes they ask about; a load, a copy or the end
// of the project during the build stop it safely (run under ThreadSanitizer
// too); a stopped build is built again on the next question; a failed one
// reaches whoever ends it, once.
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "analiza/Wysokosci.h"
#include "pomocnicze/Pomocnicze.h"

namespace {

// A project whose TEREN is the plane z = a x + b y + c over [0, bok]^2 in
// cells of `krok` (already in the local frame: no shift).
TProjekt ProjektPlaszczyzny(double a, double b, double c, double bok = 100, double krok = 1) {
    TProjekt p;
    UstawTrojkaty(p.TEREN, Siatka(0, bok, 0, bok, krok, [=](double x, double y) { return a * x + b * y + c; }));
    OznaczIndeksyDoZbudowania(p);
    return p;
}

// A build that holds on until `pusc` is set (or its stop is asked for), then builds the project's indices.
struct TWolnaBudowa {
    std::shared_ptr<std::atomic<bool>> Pusc = std::make_shared<std::atomic<bool>>(false);
    std::shared_ptr<std::atomic<bool>> Zaczeta = std::make_shared<std::atomic<bool>>(false);
    std::shared_ptr<std::atomic<bool>> Przerwana = std::make_shared<std::atomic<bool>>(false);

    TBudowaIndeksow Budowa() const {
        return [pusc = Pusc, zaczeta = Zaczeta, przerwana = Przerwana](const TProjekt& p,
                                                                       const std::atomic<bool>& przerwij) {
            zaczeta->store(true);
            while (!pusc->load()) {
                if (przerwij.load()) {
                    przerwana->store(true);
                    throw TBudowaPrzerwana{};
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            return IndeksyZSiatek(p.PROJ, p.TEREN, 0, 0, 0, &przerwij);
        };
    }
};

void CzekajNa(const std::atomic<bool>& f) {
    while (!f.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

}  // namespace

TEST(IndeksWTle, PytanieCzekaNaBudoweIDostajeIndeksSiatki) {
    const TProjekt p = ProjektPlaszczyzny(2, 3, 5);
    TWolnaBudowa wolna;
    ZbudujIndeksyWTle(p, wolna.Budowa());
    CzekajNa(*wolna.Zaczeta);
    EXPECT_TRUE(BudowaIndeksowTrwa(p));

    // A question from another thread waits for the build instead of building a second index.
    std::atomic<bool> odpowiedz{false};
    std::optional<double> z;
    std::thread pytajacy([&] {
        z = Wysokosc(*IndeksyWysokosci(p).TEREN, 10.25, 20.5);
        odpowiedz = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_FALSE(odpowiedz.load());
    wolna.Pusc->store(true);
    pytajacy.join();
    ASSERT_TRUE(z.has_value());
    EXPECT_NEAR(*z, 2 * 10.25 + 3 * 20.5 + 5, 1e-9);
    EXPECT_NO_THROW(ZakonczBudoweIndeksow(p));
    EXPECT_FALSE(BudowaIndeksowTrwa(p));
    // Built once: the same index is handed out again, and a second start builds nothing.
    const auto raz = IndeksyWysokosci(p).TEREN;
    ZbudujIndeksyWTle(p, wolna.Budowa());
    EXPECT_FALSE(BudowaIndeksowTrwa(p));
    EXPECT_EQ(IndeksyWysokosci(p).TEREN, raz);
}

TEST(IndeksWTle, ZwyklaBudowaWTleDajeToSamoCoPytanie) {
    // The plain build (no injected one), in the second thread, against the closed-form plane and the
    // index built on a question of a copy of the same meshes.
    TProjekt p = ProjektPlaszczyzny(-0.5, 0.25, 100, 300, 1);
    UstawTrojkaty(p.PROJ, Siatka(100, 120, 0, 300, 2, [](double x, double) { return 150 + 0.01 * x; }));
    const TProjekt kopia = p;
    ZbudujIndeksyWTle(p);
    ZakonczBudoweIndeksow(p);
    const TIndeksyWysokosci w = IndeksyWysokosci(p), k = IndeksyWysokosci(kopia);
    for (double x = 0.37; x < 300; x += 17.3)
        for (double y = 0.11; y < 300; y += 23.9) {
            ASSERT_TRUE(Wysokosc(*w.TEREN, x, y).has_value());
            EXPECT_NEAR(*Wysokosc(*w.TEREN, x, y), -0.5 * x + 0.25 * y + 100, 1e-9);
            EXPECT_EQ(Wysokosc(*w.TEREN, x, y), Wysokosc(*k.TEREN, x, y));
            EXPECT_EQ(Wysokosc(*w.PROJ, x, y), Wysokosc(*k.PROJ, x, y));
        }
    EXPECT_NEAR(Wysokosc(*w.PROJ, 110, 50).value_or(0), 151.1, 1e-9);
}

TEST(IndeksWTle, WczytanieWCzasieBudowyJaPrzerywaIIndeksJestNowychSiatek) {
    // The window's load: the new project made from the old one (its meshes moved) and swapped in, while the
    // plain build of a large mesh runs. The build stops first, so it never reads moved or freed meshes
    // (ThreadSanitizer and AddressSanitizer would see it), and the heights are the new meshes'.
    TProjekt okno = ProjektPlaszczyzny(1, 0, 0, 600, 1);  // 720,000 triangles
    ZbudujIndeksyWTle(okno);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    {
        TProjekt nowy = std::move(okno);  // the meshes move out of the window's project
        UstawTrojkaty(nowy.TEREN, Siatka(0, 50, 0, 50, 1, [](double, double y) { return 7 + y; }));
        OznaczIndeksyDoZbudowania(nowy);
        okno = std::move(nowy);
    }
    EXPECT_FALSE(BudowaIndeksowTrwa(okno));
    EXPECT_NEAR(Wysokosc(*IndeksyWysokosci(okno).TEREN, 3, 4).value_or(0), 11.0, 1e-9);
    EXPECT_FALSE(Wysokosc(*IndeksyWysokosci(okno).TEREN, 300, 300).has_value());

    // A build started on the new meshes and a second load over it: the same.
    ZbudujIndeksyWTle(okno);
    okno = ProjektPlaszczyzny(0, 0, 42, 20, 1);
    EXPECT_NEAR(Wysokosc(*IndeksyWysokosci(okno).TEREN, 3, 4).value_or(0), 42.0, 1e-9);
}

TEST(IndeksWTle, PrzerwanaBudowaBudujeSieNaPytanieAKoniecProjektuJaZatrzymuje) {
    TProjekt p = ProjektPlaszczyzny(0, 1, 0, 40, 1);
    TWolnaBudowa wolna;
    ZbudujIndeksyWTle(p, wolna.Budowa());
    CzekajNa(*wolna.Zaczeta);
    PorzucBudoweIndeksow(p.Indeksy);
    EXPECT_TRUE(wolna.Przerwana->load());
    EXPECT_FALSE(BudowaIndeksowTrwa(p));
    EXPECT_NO_THROW(ZakonczBudoweIndeksow(p));  // a stopped build is no failure
    // Still marked: the next question builds them from the meshes.
    EXPECT_NEAR(Wysokosc(*IndeksyWysokosci(p).TEREN, 5, 6).value_or(0), 6.0, 1e-9);

    // A project that ends while its build runs: the build stops before the meshes go.
    auto u = std::make_unique<TProjekt>(ProjektPlaszczyzny(0, 1, 0, 40, 1));
    TWolnaBudowa druga;
    ZbudujIndeksyWTle(*u, druga.Budowa());
    CzekajNa(*druga.Zaczeta);
    u.reset();
    EXPECT_TRUE(druga.Przerwana->load());

    // A copy taken during the build reads the meshes beside it and builds its own index.
    TProjekt q = ProjektPlaszczyzny(0, 2, 0, 40, 1);
    TWolnaBudowa trzecia;
    ZbudujIndeksyWTle(q, trzecia.Budowa());
    CzekajNa(*trzecia.Zaczeta);
    const TProjekt kopia = q;
    EXPECT_TRUE(BudowaIndeksowTrwa(q));
    EXPECT_FALSE(BudowaIndeksowTrwa(kopia));
    trzecia.Pusc->store(true);
    ZakonczBudoweIndeksow(q);
    EXPECT_NEAR(Wysokosc(*IndeksyWysokosci(kopia).TEREN, 1, 3).value_or(0), 6.0, 1e-9);
    EXPECT_NE(IndeksyWysokosci(kopia).TEREN, IndeksyWysokosci(q).TEREN);
}

TEST(IndeksWTle, BladBudowyDochodziDoKonczacegoRaz) {
    const TProjekt p = ProjektPlaszczyzny(0, 0, 1, 10, 1);
    ZbudujIndeksyWTle(p, [](const TProjekt&, const std::atomic<bool>&) -> TIndeksyWysokosci {
        throw BladKonwersji("Za mało pamięci na indeks wysokości powierzchni.");
    });
    EXPECT_EQ(Blad([&] { ZakonczBudoweIndeksow(p); }), "Za mało pamięci na indeks wysokości powierzchni.");
    EXPECT_EQ(Blad([&] { ZakonczBudoweIndeksow(p); }), "");
    // As after a failed build on a question: empty indices, not built again until the next load.
    EXPECT_FALSE(Wysokosc(*IndeksyWysokosci(p).TEREN, 5, 5).has_value());

    // Another exception of the build reaches the caller as the program's error with its text.
    const TProjekt q = ProjektPlaszczyzny(0, 0, 1, 10, 1);
    ZbudujIndeksyWTle(
        q, [](const TProjekt&, const std::atomic<bool>&) -> TIndeksyWysokosci { throw std::runtime_error("dysk"); });
    try {
        ZakonczBudoweIndeksow(q);
        ADD_FAILURE() << "no error";
    } catch (const BladKonwersji& e) {
        EXPECT_EQ(std::string(e.what()), "Nie udało się zbudować indeksu wysokości: dysk");
    }
}
