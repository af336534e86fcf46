// The keys of the main window: the observer's steps, the status bar, the
// slider that takes the arrows while it holds the focus, and the resize.
#include <QLineEdit>

#include "common/Funkcje.h"
#include "render/RysujPerspektywa.h"
#include "test_jazda_wspolne.h"

using namespace jazda;

namespace {

class Klawisze : public OknoJazdy {
protected:
    void Aktywuj() {
        Pokaz();
        okno->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(okno.get()));
    }
    // A key as the user presses it: to whatever holds the focus.
    void Nacisnij(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QWidget* cel = QApplication::focusWidget();
        ASSERT_NE(cel, nullptr);
        QTest::keyClick(cel, k, m);
    }
    std::string PasekStanu() const { return okno->StatusBar1Panele[1]->text().toStdString(); }
};

TEST_F(Klawisze, KazdyWierszTabeliPrzesuwaOkoOPiec) {
    struct W {
        int vk;
        double dx, dy, dz;
    };
    const W tabela[] = {{38, 0, 0, 5}, {40, 0, 0, -5}, {39, 5, 0, 0}, {37, -5, 0, 0}, {109, 0, 5, 0}, {107, 0, -5, 0}};
    for (const W& w : tabela) {
        Rzut.OkoX = 100;
        Rzut.OkoY = -700;
        Rzut.OkoZ = 500;
        OpisTekst = {"linia"};
        okno->FormKeyDown(w.vk);
        EXPECT_DOUBLE_EQ(Rzut.OkoX, 100 + w.dx) << w.vk;
        EXPECT_DOUBLE_EQ(Rzut.OkoY, -700 + w.dy) << w.vk;
        EXPECT_DOUBLE_EQ(Rzut.OkoZ, 500 + w.dz) << w.vk;
        EXPECT_EQ(PasekStanu(), TekstPolozeniaOka(Rzut.OkoX, Rzut.OkoY, Rzut.OkoZ)) << w.vk;
        EXPECT_TRUE(OpisTekst.empty()) << "redrawn after " << w.vk;
    }
}

TEST_F(Klawisze, KlawiszSpozaTabeliPiszePasekIRysuje) {
    Aktywuj();
    Rzut.OkoX = 12.5;
    okno->StatusBar1Panele[1]->setText("stare");
    OpisTekst = {"linia"};
    Nacisnij(Qt::Key_A);
    EXPECT_DOUBLE_EQ(Rzut.OkoX, 12.5);
    EXPECT_DOUBLE_EQ(Rzut.OkoY, -700.0);
    EXPECT_DOUBLE_EQ(Rzut.OkoZ, 500.0);
    EXPECT_EQ(PasekStanu(), TekstPolozeniaOka(12.5, -700.0, 500.0));
    EXPECT_TRUE(OpisTekst.empty());
    // Shift alone too.
    okno->StatusBar1Panele[1]->setText("stare");
    Nacisnij(Qt::Key_Shift);
    EXPECT_EQ(PasekStanu(), TekstPolozeniaOka(12.5, -700.0, 500.0));
}

TEST_F(Klawisze, KlawiszeNieRuszajaSceny) {
    // A placed view with the light changed since its last shading: a key moves
    // only the eye and never shades again.
    OtworzPrzezMenu(Plik("d.tro", PlikTrasy(850)));
    okno->SB_pik->setValue(100);
    Swiatlo = {0.1, -0.9, 0.4};
    const std::string przed = pliki_testowe::Zrzut(false);
    const double przesun = Rzut.PrzesunX;
    const double okoZ = Rzut.OkoZ;
    for (int vk : {37, 38, 39, 40, 107, 109, 65}) okno->FormKeyDown(vk);
    OpisTekst.clear();
    EXPECT_EQ(pliki_testowe::Zrzut(false), przed);
    EXPECT_DOUBLE_EQ(Rzut.PrzesunX, przesun);
    // No bound: a long press keeps going.
    for (int i = 0; i < 400; ++i) okno->FormKeyDown(40);
    EXPECT_DOUBLE_EQ(Rzut.OkoZ, okoZ - 2000.0);
}

TEST_F(Klawisze, StrzalkiIdaDoSuwakaGdyMaFokus) {
    UstawLocale przecinek(',');
    Aktywuj();
    OtworzPrzezMenu(Plik("d.tro", PlikTrasy(850)));
    ASSERT_TRUE(okno->P_Pikietaz->isVisible());
    // The window has the keys: the arrows move the eye.
    Nacisnij(Qt::Key_Right);
    EXPECT_DOUBLE_EQ(Rzut.OkoX, 484.0);
    EXPECT_EQ(okno->SB_pik->value(), 0);

    // A click on the slider's right arrow: one metre on, and the slider has the keys.
    const QSize r = okno->SB_pik->size();
    QTest::mouseClick(okno->SB_pik, Qt::LeftButton, {}, QPoint(r.width() - 4, r.height() / 2));
    ASSERT_EQ(QApplication::focusWidget(), okno->SB_pik);
    EXPECT_EQ(okno->SB_pik->value(), 1);
    const std::string pasek = PasekStanu();
    Nacisnij(Qt::Key_Right);
    Nacisnij(Qt::Key_Right);
    EXPECT_EQ(okno->SB_pik->value(), 3);
    Nacisnij(Qt::Key_Left);
    EXPECT_EQ(okno->SB_pik->value(), 2);
    // As on a Windows scroll bar: Down and Page Down forward, Up and Page Up back.
    Nacisnij(Qt::Key_Down);
    EXPECT_EQ(okno->SB_pik->value(), 3);
    Nacisnij(Qt::Key_Up);
    EXPECT_EQ(okno->SB_pik->value(), 2);
    Nacisnij(Qt::Key_PageDown);
    Nacisnij(Qt::Key_PageDown);
    Nacisnij(Qt::Key_PageUp);
    EXPECT_EQ(okno->SB_pik->value(), 2 + okno->SB_pik->pageStep());
    Nacisnij(Qt::Key_End);
    EXPECT_EQ(okno->SB_pik->value(), 850);
    Nacisnij(Qt::Key_Home);
    EXPECT_EQ(okno->SB_pik->value(), 0);
    Nacisnij(Qt::Key_PageDown);
    Nacisnij(Qt::Key_Plus, Qt::KeypadModifier);
    // The eye stayed, the status bar was not written, the view is at the chainage.
    EXPECT_DOUBLE_EQ(Rzut.OkoX, 484.0);
    EXPECT_DOUBLE_EQ(Rzut.OkoY, -700.0);
    EXPECT_EQ(PasekStanu(), pasek);
    EXPECT_TRUE(okno->L_Pik->text().startsWith("Pik = ")) << okno->L_Pik->text().toStdString();
    EXPECT_NEAR(Rzut.TrasaX, 50.0 + okno->SB_pik->value(), 1e-6);

    // A click on the picture gives the keys back to the window.
    QTest::mouseClick(okno->rys, Qt::LeftButton, {}, QPoint(700, 400));
    EXPECT_EQ(QApplication::focusWidget(), okno.get());
    const int pik = okno->SB_pik->value();
    Nacisnij(Qt::Key_Up);
    EXPECT_DOUBLE_EQ(Rzut.OkoZ, 505.0);
    EXPECT_EQ(okno->SB_pik->value(), pik);
}

TEST_F(Klawisze, PrzyciskZFokusemNiePrzepuszczaStrzalek) {
    Aktywuj();
    OtworzPrzezMenu(Plik("d.tro", PlikTrasy(850)));
    okno->B_ObliczTrasa->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), okno->B_ObliczTrasa);
    Nacisnij(Qt::Key_Minus, Qt::KeypadModifier);
    Nacisnij(Qt::Key_Up);
    EXPECT_DOUBLE_EQ(Rzut.OkoZ, 500.0);
    EXPECT_DOUBLE_EQ(Rzut.OkoY, -700.0);
}

TEST_F(Klawisze, ZmianaRozmiaruWracaOkoAleNieScene) {
    Aktywuj();
    OtworzPrzezMenu(Plik("d.tro", PlikTrasy(850)));
    okno->SB_pik->setValue(300);
    for (int vk : {37, 37, 38, 107}) okno->FormKeyDown(vk);
    const std::string przed = pliki_testowe::Zrzut(false);
    okno->resize(okno->width() - 200, okno->height() + 40);
    QApplication::processEvents();
    const int w = okno->rys->width();
    EXPECT_EQ(w, 758);
    EXPECT_DOUBLE_EQ(Rzut.OkoX, w * 0.5);
    EXPECT_DOUBLE_EQ(Rzut.OkoY, -700.0);
    EXPECT_DOUBLE_EQ(Rzut.OkoZ, 500.0);
    EXPECT_FLOAT_EQ(Rzut.PolEkranX, w * 0.5f);
    OpisTekst.clear();
    EXPECT_EQ(pliki_testowe::Zrzut(false), przed);
    // The next placing uses the new screen centre.
    okno->SB_pik->setValue(301);
    double xmin = 1e9, xmax = -1e9;
    for (const auto& t : TrojkatyTEREN)
        for (const TPunkt3D* v : {&t.P1, &t.P2, &t.P3}) xmin = std::min(xmin, v->X), xmax = std::max(xmax, v->X);
    EXPECT_NEAR((xmin + xmax) / 2, w * 0.5, 1.0);  // the road's middle line at the centre
}

}  // namespace
