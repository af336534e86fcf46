// The two test screens from the menu "Pliki": caption, panel, arrays, picture,
// and what they leave of a file loaded before.
#include "generators/GenerowanieBryl.h"
#include "render/RysujPerspektywa.h"
#include "test_jazda_wspolne.h"

using namespace jazda;

namespace {

class Ekrany : public OknoJazdy {
protected:
    QImage Obraz() const { return okno->Ekran.copy(0, 0, okno->rys->width(), okno->rys->height()); }
};

TEST_F(Ekrany, MenuZeSkrotamiBudujeScenyTestowe) {
    Pokaz();
    okno->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(okno.get()));
    Przerysuj(*okno);
    const QImage pusty = Obraz();
    struct P {
        Qt::Key klawisz;
        void (*budowa)();
    };
    for (const P& p : {P{Qt::Key_Q, &EkranTestowy}, P{Qt::Key_W, &EkranTestowyLosowy}}) {
        okno->P_Pikietaz->show();
        okno->setWindowTitle("inny");
        OpisTekst = {"linia"};
        const std::uint32_t ziarno = ZiarnoLosowe();
        QTest::keyClick(okno.get(), p.klawisz, Qt::ControlModifier);
        EXPECT_EQ(okno->windowTitle(), "Orvan3D 2.0.0beta3");
        EXPECT_FALSE(okno->P_Pikietaz->isVisible());
        EXPECT_EQ(TEREN.IleTrojkatow(), 0);
        EXPECT_EQ(PROJ.IleTrojkatow(), 0);
        EXPECT_EQ(IleTrojkatowTEREN(), 0);
        EXPECT_GT(IleTrojkatowPROJ(), 0);
        EXPECT_TRUE(OpisTekst.empty()) << "redrawn";
        EXPECT_NE(Obraz(), pusty);
        // The same scene as the generator gives from the same seed, shaded.
        const auto proj = TrojkatyPROJ;
        UstawZiarnoLosowe(ziarno);
        p.budowa();
        ASSERT_EQ(proj.size(), TrojkatyPROJ.size());
        for (size_t i = 0; i < proj.size(); ++i) {
            EXPECT_DOUBLE_EQ(proj[i].P1.X, TrojkatyPROJ[i].P1.X);
            EXPECT_EQ(proj[i].KolorCieniowany, TrojkatyPROJ[i].KolorCieniowany);
        }
    }
}

TEST_F(Ekrany, EkranPoWczytaniuPlikuNieZostawiaTrojkatowPliku) {
    Pokaz();
    OtworzPrzezMenu(Plik("d.tro", PlikTrasy(850)));
    okno->SB_pik->setValue(200);
    ASSERT_GT(IleTrojkatowTEREN(), 0);
    const int punkty = TEREN.IlePunktow();
    const float pikMax = Trasa.PikMax;

    okno->Generujekrantestowylosowy1->trigger();
    EXPECT_EQ(IleTrojkatowTEREN(), 0);
    EXPECT_EQ(TEREN.IleTrojkatow(), 0);
    EXPECT_EQ(PROJ.IleTrojkatow(), 0);
    EXPECT_FALSE(okno->P_Pikietaz->isVisible());
    // No file colour in the project array: everything there is a test solid.
    for (const auto& t : TrojkatyPROJ) EXPECT_NE(t.Kolor, TKolor(0x008000)) << "a TEREN triangle of the file";
    // Points and route stay; with no mesh triangle the slider changes no view.
    EXPECT_EQ(TEREN.IlePunktow(), punkty);
    EXPECT_FLOAT_EQ(Trasa.PikMax, pikMax);
    const auto proj = TrojkatyPROJ;
    okno->SB_pik->setValue(500);
    EXPECT_EQ(proj.size(), TrojkatyPROJ.size());
    EXPECT_EQ(okno->windowTitle(), "Orvan3D 2.0.0beta3");
    // The pop-up item still shows the panel over the test scene.
    okno->Pokapikieta1->trigger();
    EXPECT_TRUE(okno->P_Pikietaz->isVisible());
}

}  // namespace
