// The chainage panel, the slider and the two open flows, with the file
// dialogs answered by paths.
#include <QProgressDialog>
#include <QTimer>

#include "render/RysujPerspektywa.h"
#include "route/OblTrasa.h"
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
    std::tuple<int, int, int> Suwak() { return {okno->SB_pik->minimum(), okno->SB_pik->maximum(), okno->SB_pik->value()}; }
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
    EXPECT_EQ(Suwak(), std::tuple(-1, 301, 120));  // the position stays
    EXPECT_FALSE(okno->P_Pikietaz->isVisible());
    // Panel for a route longer than one metre only.
    for (double dl : {1.5, 1.0}) {
        Otworz(Plik("krotka.tro", PlikTrasy(dl)));
        EXPECT_EQ(std::tuple(Trasa.PikMax, okno->SB_pik->maximum(), okno->P_Pikietaz->isVisible()),
                  std::tuple(float(dl), 1, dl > 1));
    }
    // A shorter route after a longer one moves the slider and places the view.
    Otworz(Plik("dluga.tro", PlikTrasy(850)));
    okno->SB_pik->setValue(280);
    Otworz(Plik("krotka.tro", PlikTrasy(200)));
    EXPECT_EQ(Suwak(), std::tuple(0, 200, 200));
    EXPECT_NEAR(Rzut.TrasaX, 250.0, 0.01);
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
