// The main window, the text viewer, the keys and the test screens, offscreen.
#include <QClipboard>
#include <QDir>
#include <QLineEdit>

#include "render/RysujPerspektywa.h"
#include "render/qt/PlotnoQt.h"
#include "test_jazda_wspolne.h"

using namespace jazda;

namespace {

class Okno : public OknoJazdy {
protected:
    QAction* Pozycja(const char* n) { return okno->findChild<QAction*>(QString::fromLatin1(n)); }
    void Oko(double x, double y, double z) { Rzut.OkoX = x, Rzut.OkoY = y, Rzut.OkoZ = z; }
    void OczekujOko(double x, double y, double z) {
        EXPECT_DOUBLE_EQ(Rzut.OkoX, x);
        EXPECT_DOUBLE_EQ(Rzut.OkoY, y);
        EXPECT_DOUBLE_EQ(Rzut.OkoZ, z);
    }
};

TEST_F(Okno, StartMenuIPrzelaczniki) {
    Pokaz();
    EXPECT_EQ(okno->rys->size(), QSize(958, 637));
    EXPECT_FALSE(okno->P_Pikietaz->isVisible());
    OczekujOko(479, -700, 500);  // the first resize put the eye in place
    EXPECT_EQ(okno->StatusBar1Panele[0]->text(), "Dorta");
    EXPECT_EQ(Pasek(), TekstPolozeniaOka(479.0, -1000.0, 300.0));
    const struct {
        const char *nazwa, *napis, *skrot;
        int znacznik = -1;  // -1: none
        bool* flaga = nullptr;
    } pozycje[] = {
        {"Otwrz1", "Otwórz", "Ctrl+L"}, {"InfoTeren1", "Info Teren, Proj", ""}, {"InfoProj1", "Info Trasa", ""},
        {"Generujekrantestowy1", "Generuj ekran testowy", "Ctrl+Q"},
        {"Generujekrantestowylosowy1", "Generuj ekran testowy losowy", "Ctrl+W"},
        {"m_OpcjeWyswietlania", "Opcje wyświetlania", "Ctrl+O"}, {"Pokapikieta1", "Pokaż pikietaż", ""},
        {"m_ZrzutEkranuDoSchowka", "Zrzut ekranu do schowka", "Ctrl+Z"},
        {"Pokaopcje1", "Pokaż opcje\tCtrl+O", ""}, {"ZrzutEkranu1", "Zrzut Ekranu\tCtrl+Z", ""},
        {"m_RysujParametryEkran", "Rysuj parametry na ekranie", "Ctrl+I", 0, &Rzut.RysujParametryEkran},
        {"m_RysujPROJ", "Rysuj PROJ", "Ctrl+P", 1, &Rzut.RysujPROJ},
        {"m_RysujTEREN", "Rysuj TEREN", "Ctrl+T", 1, &Rzut.RysujTEREN},
        {"m_RysujLinie", "Rysuj linie pomocnicze", "Ctrl+Y", 1, &Rzut.RysujLinie},
        {"m_RysujNiebo", "Rysuj \"Niebo\"", "Ctrl+N", 1, &Rzut.RysujNiebo},
    };
    for (const auto& o : pozycje) {
        SCOPED_TRACE(o.nazwa);
        QAction* a = Pozycja(o.nazwa);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->text(), QString::fromUtf8(o.napis));
        EXPECT_EQ(a->shortcut().toString(), QString::fromLatin1(o.skrot));
        EXPECT_EQ(a->isCheckable(), o.znacznik >= 0);
        if (o.znacznik < 0) continue;
        EXPECT_EQ(a->isChecked(), o.znacznik == 1);
        for (int i = 1; i <= 2; ++i) {
            a->trigger();
            EXPECT_EQ(*o.flaga, (o.znacznik == 1) == (i == 2));
            EXPECT_EQ(a->isChecked(), *o.flaga);
        }
    }
}

TEST_F(Okno, PrzegladarkaKopiujeIZamyka) {
    for (bool zamknij : {true, false}) {
        OpisTekst = {"a", "  bb  "};
        Opis->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Opis));
        Opis->CB_Zamknij->setChecked(zamknij);
        QApplication::clipboard()->clear();
        QTest::mouseClick(Opis->Button1, Qt::LeftButton);
        EXPECT_EQ(QApplication::clipboard()->text(), "a\n  bb  ");
        EXPECT_EQ(Opis->isVisible(), !zamknij);
    }
    Opis->Tekst->setFocus();
    QTest::keyClick(Opis->Tekst, Qt::Key_Escape);
    EXPECT_FALSE(Opis->isVisible());
}

TEST_F(Okno, ZrzutEkranuIBrakNieba) {
    Pokaz();
    Przerysuj(*okno);
    QApplication::clipboard()->clear();
    Pozycja("m_ZrzutEkranuDoSchowka")->trigger();
    EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(958, 637));
    // No sky picture (or a broken one): the message names it, the window still draws.
    QDir().mkpath(katalog + "Przyklady");
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(WczytajNiebo(katalog), "Brak pliku " + katalog + "Przyklady/Sky02.bmp");
        EXPECT_TRUE(Niebo.Pusty());
        ZapiszPlik((katalog + "Przyklady/Sky02.bmp").toStdString(), "BM nie obraz");
    }
    Przerysuj(*okno);
    EXPECT_EQ(okno->Ekran.pixelColor(479, 300), KolorPrzycisku());
}

TEST_F(Okno, KlawiszeTabeliIPasekStanu) {
    const struct {
        int vk;
        double dx, dy, dz;
    } tabela[] = {{38, 0, 0, 5}, {40, 0, 0, -5}, {39, 5, 0, 0}, {37, -5, 0, 0}, {109, 0, 5, 0}, {107, 0, -5, 0}, {65, 0, 0, 0}};
    for (const auto& w : tabela) {
        SCOPED_TRACE(w.vk);
        Oko(100, -700, 500);
        okno->StatusBar1Panele[1]->setText("stary");
        OpisTekst = {"linia"};
        okno->FormKeyDown(w.vk);
        OczekujOko(100 + w.dx, -700 + w.dy, 500 + w.dz);
        EXPECT_EQ(Pasek(), TekstPolozeniaOka(Rzut.OkoX, Rzut.OkoY, Rzut.OkoZ));
        EXPECT_TRUE(OpisTekst.empty()) << "redrawn";
    }
}

TEST_F(Okno, KlawiszeTylkoGdyZadnaKontrolkaNieMaFokusu) {
    Pokaz(true);
    QTest::keyClick(okno.get(), Qt::Key_Plus, Qt::KeypadModifier);
    QTest::keyClick(okno.get(), Qt::Key_Minus);  // the main keyboard's minus is another key
    OczekujOko(479, -705, 500);
    auto* pole = new QLineEdit(okno->P_Pikietaz);
    okno->P_Pikietaz->show();
    for (QWidget* w : {static_cast<QWidget*>(pole), static_cast<QWidget*>(okno->B_ObliczTrasa)}) {
        w->setFocus();
        QApplication::processEvents();
        ASSERT_EQ(QApplication::focusWidget(), w);
        QTest::keyClick(w, Qt::Key_Plus, Qt::KeypadModifier);
        QTest::keyClick(w, Qt::Key_Up);  // a button may pass the focus on with an arrow
        OczekujOko(479, -705, 500);
    }
}

TEST_F(Okno, StrzalkiDoSuwakaZFokusemIZmianaRozmiaru) {
    Pokaz(true);
    Otworz(Plik("d.tro", PlikTrasy(850)));
    const QSize r = okno->SB_pik->size();
    QTest::mouseClick(okno->SB_pik, Qt::LeftButton, {}, QPoint(r.width() - 4, r.height() / 2));
    ASSERT_EQ(QApplication::focusWidget(), okno->SB_pik);
    const std::string pasek = Pasek();
    for (Qt::Key k : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Left, Qt::Key_Down}) QTest::keyClick(okno->SB_pik, k);
    EXPECT_EQ(okno->SB_pik->value(), 3);
    OczekujOko(479, -700, 500);
    EXPECT_EQ(Pasek(), pasek);
    EXPECT_NEAR(Rzut.TrasaX, 53.0, 1e-6);
    // A click on the picture gives the keys back to the window.
    QTest::mouseClick(okno->rys, Qt::LeftButton, {}, QPoint(700, 400));
    QTest::keyClick(okno.get(), Qt::Key_Up);
    EXPECT_DOUBLE_EQ(Rzut.OkoZ, 505.0);
    EXPECT_EQ(okno->SB_pik->value(), 3);
    // A resize puts the eye back, not the scene.
    Oko(5, 6, 7);
    const std::string przed = pliki_testowe::Zrzut(false);
    okno->resize(okno->width() - 200, okno->height());
    QApplication::processEvents();
    ASSERT_EQ(okno->rys->width(), 758);
    OczekujOko(379, -700, 500);
    EXPECT_EQ(pliki_testowe::Zrzut(false), przed);
}

TEST_F(Okno, EkranyTestowe) {
    Pokaz(true);
    Otworz(Plik("d.tro", PlikTrasy(850)));
    okno->SB_pik->setValue(200);
    ASSERT_GT(IleTrojkatowTEREN(), 0);
    for (Qt::Key k : {Qt::Key_Q, Qt::Key_W}) {
        okno->P_Pikietaz->show();
        QTest::keyClick(okno.get(), k, Qt::ControlModifier);
        EXPECT_EQ(okno->windowTitle(), "Orvan3D 2.0.0beta3");
        EXPECT_FALSE(okno->P_Pikietaz->isVisible());
        EXPECT_EQ(TEREN.IleTrojkatow() + PROJ.IleTrojkatow() + IleTrojkatowTEREN(), 0);
        EXPECT_GT(IleTrojkatowPROJ(), 0);
        for (const auto& t : TrojkatyPROJ) EXPECT_NE(t.Kolor, TKolor(0x008000)) << "a triangle of the file";
    }
}

}  // namespace
