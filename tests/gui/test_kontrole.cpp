// The design checks in the window: a stopped run changes nothing; finished runs give the reports and the
// cross-fall and mass-haul diagrams under the profile, on its chainage axis; a load's Porzuc removes them.
#include <QDir>
#include <QApplication>
#include <QWidget>

#include "dialogs/Kontrole.h"
#include "dialogs/ProfilPrzekroj.h"
#include "pomocnicze/Pomocnicze.h"
#include "test_jazda_wspolne.h"

namespace {

struct OknoKontroli : ::testing::Test {
    void SetUp() override {
        ZerujStan();
        OtworzTRO(ORVANY_BIN "/Przyklady/Droga.tro");
        ASSERT_TRUE(Trasa.Obliczona && !PROJ.Trojkaty.empty());
    }
    void TearDown() override { ZerujStan(); }
};

}  // namespace

TEST_F(OknoKontroli, PrzerwanieNicNieZmieniaAWynikiIdaDoProfiluIOpisu) {
    QWidget okno;
    okno.resize(400, 300);
    okno.show();
    TKontroleOkna k(&okno);
    k.PytajOUstawienia = [](TRodzajKontroli, TUstawieniaKontroli& u) { return u.Krok = 20, true; };
    std::vector<std::string> raport;
    QStringList bledy;
    TfProfilPrzekroj profil;
    profil.PoWczytaniu(600);
    profil.show();
    k.PokazRaport = [&](std::vector<std::string> l) { raport = std::move(l); };
    k.PokazWykresy = [&](const TDaneWykresowKontroli& d) { profil.UstawWykresyKontroli(d); };
    k.PokazBlad = [&](const QString& t) { bledy << t; };

    bool przerwano = false;
    jazda::PrzerwijPostep(okno, QStringLiteral("PostepKontroli"), przerwano);
    k.SprawdzObjetosci();
    EXPECT_TRUE(przerwano && !k.Objetosci && raport.empty() && bledy.isEmpty());
    EXPECT_TRUE(profil.WykresyKontroli->isHidden());
    EXPECT_EQ(k.Ustawienia.Krok, 20);  // the settings stay for the next run

    // Volumes: the report's totals and the mass diagram, whose last ordinate is the balance.
    const int wysokoscPrzed = profil.height();
    k.SprawdzObjetosci();
    ASSERT_TRUE(k.Objetosci);
    ASSERT_FALSE(raport.empty());
    EXPECT_EQ(raport[0], "Roboty ziemne: objętości między powierzchnią projektowaną (PROJ) a terenem (TEREN)");
    EXPECT_TRUE(profil.WykresyKontroli->isVisible());
    EXPECT_GT(profil.height(), wysokoscPrzed);
    const TDaneWykresowKontroli& d = profil.WykresyKontroli->Dane();
    ASSERT_FALSE(d.Masa.empty());
    EXPECT_NEAR(d.Masa.back(), k.Objetosci->Wykop - k.Objetosci->Nasyp, 1e-6 * (1 + k.Objetosci->Wykop));
    EXPECT_NEAR(d.PikietyMas.back(), Trasa.PikMax, 1e-3);
    EXPECT_EQ(k.Objetosci->Przedzialy.size(), static_cast<std::size_t>(std::ceil(Trasa.PikMax / 20)));

    // Cross-fall: a row at every 20 m and the end, both diagrams now.
    k.SprawdzPochylenia();
    EXPECT_EQ(profil.WykresyKontroli->Dane().Pochylenia.size(),
              static_cast<std::size_t>(std::ceil(Trasa.PikMax / 20)) + 1);
    EXPECT_FALSE(profil.WykresyKontroli->Dane().Masa.empty());

    // Drainage: its report.
    k.SprawdzSpadki();
    ASSERT_TRUE(k.Spadki);
    ASSERT_FALSE(raport.empty());
    EXPECT_EQ(raport[0], "Odwodnienie: spadek wypadkowy powierzchni projektowanej (PROJ)");
    EXPECT_TRUE(bledy.isEmpty()) << bledy.join("\n").toStdString();

    if (const QByteArray katalog = qgetenv("SCREENSHOT_DIR"); !katalog.isEmpty()) {
        profil.resize(1100, 1100);
        QApplication::processEvents();
        profil.grab().save(QDir(QString::fromLocal8Bit(katalog)).filePath(QStringLiteral("kontrole_profil.png")));
    }

    // The colouring by slope class (a threshold of 2.5 % makes the 2 % crown of the sample road flat): the
    // design triangles drawn in the class colours, the legend shown; off gives the kinds' colours back.
    int odswiezenia = 0;
    bool legenda = false;
    k.OdswiezWidok = [&] { ++odswiezenia; };
    k.PokazLegende = [&](bool widoczna, double) { legenda = widoczna; };
    k.Ustawienia.Prog = 2.5;
    k.UstawKolorowanie(true);
    EXPECT_TRUE(legenda && odswiezenia == 1 && KoloryPROJ.size() == PROJ.Trojkaty.size());
    PrzygotujTrojkaty(PROJ, true);
    const auto ile = [](TKolor k) { return std::ranges::count(TrojkatyPROJ, k, &TTrojkatRys::Kolor); };
    EXPECT_GT(ile(KolorPlaskiego), 0);
    // A load empties the colours; the colouring, still on, makes them for the new surface.
    KoloryPROJ.clear();
    k.Porzuc();
    EXPECT_TRUE(!k.Spadki && !k.Objetosci && profil.WykresyKontroli->isHidden());
    EXPECT_EQ(KoloryPROJ.size(), PROJ.Trojkaty.size());
    k.UstawKolorowanie(false);
    PrzygotujTrojkaty(PROJ, true);
    EXPECT_TRUE(!legenda && KoloryPROJ.empty() && ile(KolorPlaskiego) == 0);

    // No design surface: said, nothing run.
    PROJ = TSiatka{};
    k.SprawdzSpadki();
    ASSERT_EQ(bledy.size(), 1);
    EXPECT_EQ(bledy[0], "Brak powierzchni projektowanej (PROJ): nie ma czego sprawdzać.");
    EXPECT_FALSE(k.Spadki);
}

namespace {

struct OknoGlowneKontroli : jazda::OknoJazdy {
    // Saves the window's picture into SCREENSHOT_DIR when it is set.
    void Zrzut(QWidget& w, const QString& nazwa) {
        if (const QByteArray k = qgetenv("SCREENSHOT_DIR"); !k.isEmpty())
            w.grab().save(QDir(QString::fromLocal8Bit(k)).filePath(nazwa));
    }
};

}  // namespace

TEST_F(OknoGlowneKontroli, KolorowanieWKazdymWidokuIWykresyZMenu) {
    Pokaz();
    Otworz(QString::fromUtf8(ORVANY_BIN "/Przyklady/Droga.tro"));
    ASSERT_TRUE(Trasa.Obliczona) << bledy.join("\n").toStdString();
    if (Opis) Opis->hide();
    // The sample road's crown falls 2 %: a threshold of 2.5 % makes its carriageway "flat".
    okno->Kontrole->Ustawienia.Prog = 2.5;
    const auto ile = [](TKolor k) { return std::ranges::count(TrojkatyPROJ, k, &TTrojkatRys::Kolor); };
    EXPECT_EQ(ile(KolorPlaskiego), 0);
    okno->m_KolorujSpadki->trigger();
    EXPECT_TRUE(okno->m_KolorujSpadki->isChecked() && okno->LegendaSpadkow->isVisible());
    // The chainage view, the general view and the driver's view draw the classes' colours.
    okno->SB_pik->setValue(600);
    EXPECT_GT(ile(KolorPlaskiego), 0);
    okno->B_ObliczTrasa->click();
    EXPECT_GT(ile(KolorPlaskiego), 0);
    Zrzut(*okno, QStringLiteral("kontrole_ogolny.png"));
    okno->SB_pik->setValue(601);
    EXPECT_GT(ile(KolorPlaskiego), 0);
    Zrzut(*okno, QStringLiteral("kontrole_pikieta.png"));
    okno->UstawWidokKierowcy(true);
    okno->SB_pik->setValue(602);
    EXPECT_GT(ile(KolorPlaskiego), 0);
    Zrzut(*okno, QStringLiteral("kontrole_kierowca.png"));
    okno->UstawWidokKierowcy(false);
    // A load keeps the switch on and colours the new surface.
    Otworz(QString::fromUtf8(ORVANY_BIN "/Przyklady/Droga.tro"));
    okno->SB_pik->setValue(600);
    EXPECT_TRUE(KoloryPROJ.size() == PROJ.Trojkaty.size() && ile(KolorPlaskiego) > 0);
    okno->m_KolorujSpadki->trigger();
    EXPECT_TRUE(!okno->m_KolorujSpadki->isChecked() && !okno->LegendaSpadkow->isVisible() && KoloryPROJ.empty());
    EXPECT_EQ(ile(KolorPlaskiego), 0);

    // The volumes from the menu: the profile window opens with the mass diagram.
    okno->Kontrole->PytajOUstawienia = [](TRodzajKontroli, TUstawieniaKontroli&) { return true; };
    okno->m_Objetosci->trigger();
    ASSERT_TRUE(okno->ProfilPrzekroj && okno->ProfilPrzekroj->isVisible());
    EXPECT_TRUE(okno->ProfilPrzekroj->WykresyKontroli->isVisible());
    EXPECT_FALSE(okno->ProfilPrzekroj->WykresyKontroli->Dane().Masa.empty());
    EXPECT_TRUE(bledy.isEmpty()) << bledy.join("\n").toStdString();
}
