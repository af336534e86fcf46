// The chainage panel, the slider, the driver's view and the open flows, the file dialogs answered by paths.
#include <QComboBox>
#include <QDialog>
#include <QProgressDialog>
#include <QTimer>

#include "dialogs/ProfilPrzekroj.h"
#include "dialogs/WyborLandXML.h"
#include "scena/WidokKierowcy.h"
#include "test_jazda_wspolne.h"

using namespace jazda;

namespace {

class Panel : public OknoJazdy {
protected:
    void SetUp() override {
        OknoJazdy::SetUp();
        Pokaz();
    }
    void OtworzMTP(const QString& sciezka) {
        wybory.push_back(sciezka);
        okno->Button8->click();
    }
    std::tuple<int, int, int> Suwak() {
        return {okno->SB_pik->minimum(), okno->SB_pik->maximum(), okno->SB_pik->value()};
    }
};

TEST_F(Panel, ZakresyNapisIPolozenieNaPikiecie) {
    UstawLocale przecinek(',');
    const QString p = Plik("droga.tro", PlikTrasy(850));
    Otworz(p);
    ASSERT_TRUE(bledy.isEmpty()) << bledy.join("\n").toStdString();
    EXPECT_EQ(std::tuple(okno->windowTitle(), okno->L_Pik->text(), okno->P_Pikietaz->isVisible()),
              std::tuple(p, QString("Pik. od 0,00  do 850,00"), true));
    EXPECT_EQ(Suwak(), std::tuple(0, 850, 0));
    okno->SB_pik->setValue(120);
    EXPECT_EQ(okno->L_Pik->text(), "Pik = 120,00       (0,00 - 850,00)");
    EXPECT_LT(std::hypot(Rzut.TrasaX - 170, Rzut.TrasaY - 50), 1e-6);
    // The MTP flow: the range one wider each side, the panel left alone.
    okno->P_Pikietaz->hide();
    OtworzMTP(Plik("droga.mtp", PlikTrasy(300.5, true)));
    EXPECT_EQ(okno->L_Pik->text(), "Pik. od 0,00  do 300,50");
    EXPECT_EQ(Suwak(), std::tuple(-1, 301, 0));  // the slider at the new route's start
    EXPECT_FALSE(okno->P_Pikietaz->isVisible());
    // Panel for a route longer than one metre only.
    for (double dl : {1.5, 1.0}) {
        Otworz(Plik("krotka.tro", PlikTrasy(dl)));
        EXPECT_EQ(std::tuple(Trasa.PikMax, okno->SB_pik->maximum(), okno->P_Pikietaz->isVisible()),
                  std::tuple(float(dl), 1, dl > 1));
    }
}

TEST_F(Panel, BezSiatkiSuwakZapamietujePunktINicWiecej) {
    Otworz(Plik("trasa.tro", PlikTrasy(400, false, false)));
    ASSERT_TRUE(okno->P_Pikietaz->isVisible());
    OpisTekst = {"linia"};
    const auto przed = pliki_testowe::Stan();
    const QString napis = okno->L_Pik->text();
    okno->SB_pik->setValue(120);
    double x = 0, y = 0;
    PunktNaPikiecie(120, x, y);
    EXPECT_DOUBLE_EQ(Rzut.TrasaX, x);
    EXPECT_EQ(okno->L_Pik->text(), napis);
    EXPECT_EQ(OpisTekst.size(), 1u) << "not redrawn";
    EXPECT_TRUE(pliki_testowe::Stan() == przed);
}

TEST_F(Panel, BlednyPlikIInneRozszerzenieZostawiajaScene) {
    const QString dobry = Plik("dobry.tro", PlikTrasy(850));
    Otworz(dobry);
    okno->SB_pik->setValue(120);
    const auto przed = pliki_testowe::Stan();
    std::string zly = PlikTrasy(300);
    zly.replace(zly.find("#TroTEREN#\r\n2"), 13, "#TroTEREN#\r\nx2");
    Otworz(Plik("zly.tro", zly));
    ASSERT_EQ(bledy.size(), 1);
    EXPECT_TRUE(bledy[0].contains("'x2'") && bledy[0].contains("zly.tro")) << bledy[0].toStdString();
    Otworz(katalog + "brak.tro");
    OtworzMTP(katalog + "brak.mtp");
    EXPECT_EQ(Suwak(), std::tuple(0, 850, 120));
    // Another extension in the TRO flow loads nothing but shows the panel again.
    okno->P_Pikietaz->hide();
    Otworz(Plik("droga.mtp", PlikTrasy(5, true)));
    EXPECT_EQ(std::tuple(bledy.size(), okno->P_Pikietaz->isVisible(), okno->windowTitle()), std::tuple(3, true, dobry));
    EXPECT_TRUE(pliki_testowe::Stan() == przed);
}

TEST_F(Panel, KomunikatyTrasyIPrzerwanieWczytywania) {
    const QString p = Plik("luk.tro", PlikTrasy(500, false, true, true, true));
    Otworz(p);
    ASSERT_FALSE(KomunikatyTrasy.empty());
    EXPECT_TRUE(Opis->isVisible());
    EXPECT_TRUE(Opis->Tekst->toPlainText().contains(QString::fromStdString(KomunikatyTrasy[0])));
    // The progress window of a large file, cancelled: no error, nothing changes.
    okno->ProgPostepu = 0;
    const auto przed = pliki_testowe::Stan();
    bool bylo = false;
    QTimer::singleShot(0, okno.get(), [&] {
        if (auto* d = okno->findChild<QProgressDialog*>("PostepWczytywania")) bylo = true, d->cancel();
    });
    Otworz(Plik("inny.tro", PlikTrasy(300)));
    EXPECT_TRUE(bylo);
    EXPECT_TRUE(bledy.isEmpty());
    EXPECT_TRUE(pliki_testowe::Stan() == przed);
    EXPECT_EQ(okno->windowTitle(), p);
}

}  // namespace

TEST_F(Panel, WidokKierowcyIJazdaZPredkoscia) {
    UstawLocale przecinek(',');
    Otworz(Plik("droga.tro", PlikTrasy(850)));
    okno->SB_pik->setValue(120);
    EXPECT_FALSE(Rzut.WidokKierowcy);
    // The menu item and the panel's box are one switch; the horizon goes down.
    okno->m_WidokKierowcy->trigger();
    EXPECT_TRUE(WidokKierowcy.Wlaczony && okno->CB_WidokKierowcy->isChecked() && Rzut.WidokKierowcy);
    EXPECT_DOUBLE_EQ(Rzut.OkoZ, okno->rys->height() * (1 - UdzialHoryzontu));
    EXPECT_EQ(okno->L_Kierowca->text(), QStringLiteral("i = –   prosta"));

    // Space drives at 60 km/h by the drive's clock (here the test's: frames while it stands move nothing) and
    // stops again; the slider follows: 0.36 s is 6 m, then 0.03 s more half a metre.
    double czas = 1000.0;
    okno->ZegarJazdy = [&czas] { return czas; };
    QTest::keyClick(okno.get(), Qt::Key_Space);
    EXPECT_TRUE(okno->Jazda());
    czas += 0.36;
    okno->KrokJazdyOkna();
    EXPECT_NEAR(okno->PikietaBiezaca, 126.0, 1e-9);
    czas += 0.03;
    okno->KrokJazdyOkna();
    EXPECT_NEAR(okno->PikietaBiezaca, 126.5, 1e-9);
    QTest::keyClick(okno.get(), Qt::Key_Space);
    EXPECT_FALSE(okno->Jazda());
    EXPECT_EQ(okno->SB_pik->value(), std::lround(okno->PikietaBiezaca));

    // Backwards at speed to the start, where the drive stops by itself (126.5 m at 300 km/h take 1.518 s).
    okno->CB_Wstecz->setChecked(true);
    okno->SE_Predkosc->setValue(300);
    okno->B_Jazda->click();
    czas += 1.5;
    okno->KrokJazdyOkna();
    EXPECT_TRUE(okno->Jazda());
    EXPECT_NEAR(okno->PikietaBiezaca, 1.5, 1e-9);
    czas += 0.1;
    okno->KrokJazdyOkna();
    EXPECT_FALSE(okno->Jazda());
    EXPECT_EQ(okno->PikietaBiezaca, 0.0);
    EXPECT_EQ(okno->B_Jazda->text(), QStringLiteral("▶ Jedź"));

    // Off: the chainage view and the window's eye again.
    okno->CB_WidokKierowcy->setChecked(false);
    EXPECT_FALSE(WidokKierowcy.Wlaczony || okno->m_WidokKierowcy->isChecked() || Rzut.WidokKierowcy);
    EXPECT_DOUBLE_EQ(Rzut.OkoZ, 500.0);
    WidokKierowcy = TWidokKierowcy{};
}

// The "Profil i przekrój" window follows the drive (Space) as it follows the slider; the status bar gives the
// driver's eye in the file's coordinates; another file clears the panel's texts of the route before and puts the
// slider at its route's start.
TEST_F(Panel, ProfilZaJazdaPasekStanuINowyPlik) {
    UstawLocale przecinek(',');
    Otworz(Plik("droga.tro", PlikTrasy(850)));
    okno->SB_pik->setValue(120);
    okno->m_ProfilPrzekroj->trigger();
    ASSERT_TRUE(okno->ProfilPrzekroj && okno->ProfilPrzekroj->isVisible());
    EXPECT_EQ(okno->ProfilPrzekroj->Pikieta(), 120.0);
    EXPECT_EQ(Pasek().substr(0, 4), "X = ");  // the chainage view: the observer
    okno->m_WidokKierowcy->trigger();
    // At 0+120 the eye stands 1.75 m right of the line y = 4600050 (travel along +X), 1 m over the ground plane
    // through (5500000, 4600000, 100), (5500950, 4600100, 102), (5500000, 4600100, 101):
    // z = 100 + dx / 950 + dy / 100 = 100 + 170 / 950 + 0.4825.
    EXPECT_EQ(Pasek(), "Oko kierowcy: X = 5500170,00 Y = 4600048,25 Z = 101,66");
    double czas = 0.0;
    okno->ZegarJazdy = [&czas] { return czas; };
    QTest::keyClick(okno.get(), Qt::Key_Space);
    ASSERT_TRUE(okno->Jazda());
    czas += 0.18;  // 3 m at 60 km/h
    okno->KrokJazdyOkna();
    EXPECT_NEAR(okno->PikietaBiezaca, 123.0, 1e-9);
    QTest::keyClick(okno.get(), Qt::Key_Space);
    const double s = okno->PikietaBiezaca;
    EXPECT_EQ(okno->ProfilPrzekroj->Pikieta(), s);
    EXPECT_TRUE(Pasek().starts_with("Oko kierowcy: X = 55001") &&
                Pasek() != "Oko kierowcy: X = 5500170,00 Y = 4600048,25 Z = 101,66")
        << Pasek();
    EXPECT_FALSE(okno->L_Kierowca->text().isEmpty());

    Otworz(Plik("druga.tro", PlikTrasy(600)));
    ASSERT_TRUE(bledy.isEmpty()) << bledy.join("\n").toStdString();
    EXPECT_EQ(std::tuple(okno->SB_pik->value(), okno->PikietaBiezaca, okno->ProfilPrzekroj->Pikieta()),
              std::tuple(0, 0.0, 0.0));
    EXPECT_TRUE(okno->L_Kierowca->text().isEmpty() && okno->L_Kilometraz->text().isEmpty());
    EXPECT_EQ(okno->L_Pik->text(), "Pik. od 0,00  do 600,00");
    okno->SB_pik->setValue(10);
    // z = 100 + 60 / 700 + 0.4825 + 1 on the shorter file's ground.
    EXPECT_EQ(Pasek(), "Oko kierowcy: X = 5500060,00 Y = 4600048,25 Z = 101,57");
    WidokKierowcy = TWidokKierowcy{};
}

TEST_F(Panel, LandXMLWyborPowierzchniIZapis) {
    UstawLocale przecinek(',');
    const QString p = Plik("projekt.xml",
                           PlikLandXML("<Alignment name=\"pierwsza\" staStart=\"0\"><CoordGeom><Line>"
                                       "<Start>0 0</Start><End>10 0</End></Line></CoordGeom></Alignment>"));
    std::vector<TSpisLandXML> pytania;
    std::optional<TWyborLandXML> odpowiedz;  // none: the user cancels
    okno->WyborLandXML = [&](const TSpisLandXML& s) {
        pytania.push_back(s);
        return odpowiedz;
    };
    Otworz(p);
    ASSERT_EQ(pytania.size(), 1u);
    EXPECT_EQ(pytania[0].Powierzchnie, (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(pytania[0].Trasy, (std::vector<std::string>{"pierwsza", "druga"}));
    EXPECT_EQ(TEREN.IleTrojkatow(), 0);  // cancelled: nothing read
    odpowiedz = TWyborLandXML{"B", "A", "druga"};
    Otworz(p);
    ASSERT_TRUE(bledy.isEmpty()) << bledy.join("\n").toStdString();
    EXPECT_EQ(std::pair(TEREN.IleTrojkatow(), PROJ.IleTrojkatow()), std::pair(1, 2));
    EXPECT_EQ(okno->L_Pik->text(), "Pik. od 2000,00  do 2300,00");
    okno->SB_pik->setValue(120);
    EXPECT_EQ(okno->L_Pik->text(), "Pik = 2120,00       (2000,00 - 2300,00)");
    // Pliki > Zapisz jako LandXML writes the scene (what it writes: the LandXML writer's round trip).
    const QString cel = katalog + "zapis.xml";
    wybory.push_back(cel);
    okno->findChild<QAction*>(QStringLiteral("ZapiszLandXML1"))->trigger();
    ASSERT_TRUE(bledy.isEmpty()) << bledy.join("\n").toStdString();
    EXPECT_EQ(SpisPlikuLandXML(cel.toStdString()).Powierzchnie, (std::vector<std::string>{"TEREN", "PROJ"}));
    // A refused file: the error box, the scene as it was.
    Otworz(Plik("zly.xml", "<LandXML><Surfaces><Surface name=\"S\"/></Surfaces></LandXML>"));
    ASSERT_EQ(bledy.size(), 1);
    EXPECT_TRUE(bledy[0].startsWith("Powierzchnia „S” nie ma definicji trójkątów")) << bledy[0].toStdString();
    EXPECT_EQ(std::pair(TEREN.IleTrojkatow(), PROJ.IleTrojkatow()), std::pair(1, 2));
}

// The dialog itself: its lists and what each choice gives.
TEST(WyborLandXMLOkno, ListyIWybor) {
    const TSpisLandXML spis{{"A", "B"}, {"os"}};
    struct {
        int teren, proj, trasa;
        TWyborLandXML w;
    } przypadki[] = {
        {0, 0, 0, {"A", "", "os", false, false}},
        {2, 2, 1, {"", "B", "", true, true}},
    };
    for (const auto& p : przypadki) {
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            auto* t = d->findChild<QComboBox*>("Teren");
            EXPECT_EQ(t->itemText(2), "(bez zmian)");
            for (auto [nazwa, ile, nr] :
                 {std::tuple{"Teren", 3, p.teren}, {"Proj", 3, p.proj}, {"Trasa", 2, p.trasa}}) {
                auto* c = d->findChild<QComboBox*>(nazwa);
                EXPECT_EQ(c->count(), ile) << nazwa;
                c->setCurrentIndex(nr);
            }
            d->accept();
        });
        const std::optional<TWyborLandXML> w = WybierzZLandXML(nullptr, spis);
        ASSERT_TRUE(w);
        EXPECT_EQ(std::tuple(w->Teren, w->Proj, w->Trasa, w->BezTerenu, w->BezTrasy),
                  std::tuple(p.w.Teren, p.w.Proj, p.w.Trasa, p.w.BezTerenu, p.w.BezTrasy));
    }  // Surfaces named TEREN and PROJ (as this program writes them) are chosen for their sets at first.
    QTimer::singleShot(0, [] { qobject_cast<QDialog*>(QApplication::activeModalWidget())->accept(); });
    const std::optional<TWyborLandXML> w = WybierzZLandXML(nullptr, {{"X", "PROJ", "TEREN"}, {"os"}});
    ASSERT_TRUE(w);
    EXPECT_EQ(std::tuple(w->Teren, w->Proj, w->Trasa), std::tuple("TEREN", "PROJ", "os"));
}

TEST_F(Panel, UproszczonyDalekiTerenZMenu) {
    // The menu item switches the coarse far ground of the driver's view on and off: the view is placed again at
    // once, from fewer ground records, and off gives the full mesh's records again.
    Otworz(QStringLiteral(ORVANY_ZRODLA "/Przyklady/Droga.tro"));
    ASSERT_TRUE(bledy.isEmpty()) << bledy.join("\n").toStdString();
    okno->SB_pik->setValue(500);
    okno->m_WidokKierowcy->trigger();
    ASSERT_TRUE(Rzut.WidokKierowcy);
    EXPECT_FALSE(okno->m_UproszczonyTeren->isChecked());
    const std::size_t pelny = TrojkatyTEREN.size();
    okno->m_UproszczonyTeren->trigger();
    EXPECT_TRUE(WidokKierowcy.UproszczonyTeren);
    EXPECT_LT(TrojkatyTEREN.size() * 2, pelny);
    okno->m_UproszczonyTeren->trigger();
    EXPECT_FALSE(WidokKierowcy.UproszczonyTeren);
    EXPECT_EQ(TrojkatyTEREN.size(), pelny);
    WidokKierowcy = TWidokKierowcy{};
}
