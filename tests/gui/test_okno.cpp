// The main window, the text viewer, the keys and the test screens.
#include <QClipboard>
#include <QDir>
#include <QLineEdit>

#include "render/qt/PlotnoQt.h"
#include "test_jazda_wspolne.h"

using namespace jazda;

namespace {

class Okno : public OknoJazdy {
protected:
    QAction* Pozycja(const char* n) { return okno->findChild<QAction*>(QString::fromLatin1(n)); }
    void Oko(double x, double y, double z) { Rzut.OkoX = x, Rzut.OkoY = y, Rzut.OkoZ = z; }
    void OczekujOko(double x, double y, double z) {
        EXPECT_EQ(std::tuple(Rzut.OkoX, Rzut.OkoY, Rzut.OkoZ), std::tuple(x, y, z));
    }
};

TEST_F(Okno, Start) {
    Pokaz();
    OczekujOko(479, -700, 500);  // the first resize put the eye in place; the status bar keeps the start values
    EXPECT_EQ(std::tuple(okno->rys->size(), okno->P_Pikietaz->isVisible(), okno->StatusBar1Panele[0]->text(), Pasek()),
              std::tuple(QSize(958, 637), false, QString("Dorta"), std::string("X = 489.0 Y = -1000.0 Z = 300.0")));
}

TEST_F(Okno, PrzegladarkaKopiujeIZamyka) {
    OpisTekst = {"a", "  bb  "};
    Opis->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Opis));
    Opis->CB_Zamknij->setChecked(false);
    QApplication::clipboard()->clear();
    QTest::mouseClick(Opis->Button1, Qt::LeftButton);
    EXPECT_TRUE(QApplication::clipboard()->text() == "a\n  bb  " && Opis->isVisible());
    QTest::keyClick(Opis->Tekst, Qt::Key_Escape);
    EXPECT_FALSE(Opis->isVisible());
}

TEST_F(Okno, ZrzutEkranuIBrakNiebaIOpisu) {
    Pokaz();
    Przerysuj(*okno);
    QApplication::clipboard()->clear();
    Pozycja("m_ZrzutEkranuDoSchowka")->trigger();
    EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(958, 637));
    // No sky picture (or a broken one): the message names it, the window still draws.
    QDir().mkpath(katalog + "Przyklady");
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(WczytajNiebo(katalog) == "Brak pliku " + katalog + "Przyklady/Sky02.bmp" && Niebo.Pusty());
        ZapiszPlik((katalog + "Przyklady/Sky02.bmp").toStdString(), "BM nie obraz");
    }
    Przerysuj(*okno);
    EXPECT_EQ(okno->Ekran.pixelColor(479, 300), KolorPrzycisku());
    // No user's guide: the message names the file.
    std::string komunikat;
    const auto stary = PokazKomunikat;
    PokazKomunikat = [&](const std::string& t) { komunikat = t; };
    OtworzOpis(katalog);
    EXPECT_EQ(komunikat, "Brak pliku " + (katalog + "Przyklady/OpisOrvan.pdf").toStdString());
    // The guide without a PDF viewer: a Polish message naming the file and the package, not silence.
    const std::string pdf = (katalog + "Przyklady/OpisOrvan.pdf").toStdString();
    ZapiszPlik(pdf, "%PDF-1.4");
    komunikat.clear();
    OtworzOpis(katalog, [](const QString&) { return false; });
    EXPECT_EQ(komunikat, TekstBrakuPrzegladarkiPDF(pdf));
    EXPECT_TRUE(komunikat.starts_with("Nie można otworzyć opisu programu") &&
                komunikat.find("\n" + pdf + "\n") != std::string::npos && komunikat.find("evince") != std::string::npos)
        << komunikat;
    komunikat.clear();
    OtworzOpis(katalog, [](const QString&) { return true; });
    EXPECT_EQ(komunikat, "");
    PokazKomunikat = stary;
}

TEST_F(Okno, KlawiszeTabeliIPasekStanu) {
    // Up, down, right, left, numpad -, numpad +, another key; the status bar shows the eye's X plus 10.
    const std::pair<int, const char*> tabela[] = {
        {38, "X = 110.0 Y = -700.0 Z = 505.0"},  {40, "X = 110.0 Y = -700.0 Z = 495.0"},
        {39, "X = 115.0 Y = -700.0 Z = 500.0"},  {37, "X = 105.0 Y = -700.0 Z = 500.0"},
        {109, "X = 110.0 Y = -695.0 Z = 500.0"}, {107, "X = 110.0 Y = -705.0 Z = 500.0"},
        {65, "X = 110.0 Y = -700.0 Z = 500.0"}};
    for (auto [vk, pasek] : tabela) {
        Oko(100, -700, 500);
        okno->StatusBar1Panele[1]->setText("stary");
        OpisTekst = {"linia"};
        okno->FormKeyDown(vk);
        EXPECT_EQ(Pasek(), pasek);  // written from the eye itself
        EXPECT_TRUE(OpisTekst.empty()) << "redrawn";
    }
}

TEST_F(Okno, KlawiszeTylkoGdyZadnaKontrolkaNieMaFokusuIZmianaRozmiaru) {
    Pokaz(true);
    QTest::keyClick(okno.get(), Qt::Key_Plus, Qt::KeypadModifier);
    QTest::keyClick(okno.get(), Qt::Key_Minus);  // the main keyboard's minus is another key
    auto* pole = new QLineEdit(okno->P_Pikietaz);
    okno->P_Pikietaz->show();
    for (QWidget* w : {static_cast<QWidget*>(pole), static_cast<QWidget*>(okno->B_ObliczTrasa)}) {
        w->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([w] { return QApplication::focusWidget() == w; }));
        QTest::keyClick(w, Qt::Key_Plus, Qt::KeypadModifier);
        QTest::keyClick(w, Qt::Key_Up);  // a button may pass the focus on with an arrow
    }
    OczekujOko(479, -705, 500);
    // The arrows move the slider that holds the focus (the end-to-end drive checks the pictures);
    // a click on the picture gives the keys back to the window.
    Otworz(Plik("d.tro", PlikTrasy(850)));
    okno->SB_pik->setFocus();
    QTest::keyClick(okno->SB_pik, Qt::Key_Right);
    QTest::mouseClick(okno->rys, Qt::LeftButton, {}, QPoint(700, 400));
    QTest::keyClick(okno.get(), Qt::Key_Up);
    EXPECT_EQ(std::tuple(okno->SB_pik->value(), Rzut.OkoZ), std::tuple(1, 505.0));
    // A resize puts the eye back, not the scene.
    Oko(5, 6, 7);
    const auto przed = pliki_testowe::Stan(false);
    okno->resize(okno->width() - 200, okno->height());
    QApplication::processEvents();
    ASSERT_EQ(okno->rys->width(), 758);
    OczekujOko(379, -700, 500);
    EXPECT_TRUE(pliki_testowe::Stan(false) == przed);
}

TEST_F(Okno, EkranyTestowe) {
    Pokaz(true);
    Otworz(Plik("d.tro", PlikTrasy(850)));
    // The keys bring the screens (what they hold: the test solids' tests); the road and its panel go.
    for (Qt::Key k : {Qt::Key_Q, Qt::Key_W}) {
        okno->P_Pikietaz->show();
        QTest::keyClick(okno.get(), k, Qt::ControlModifier);
        EXPECT_EQ(std::tuple(okno->windowTitle(), okno->P_Pikietaz->isVisible(), TEREN.IleTrojkatow()),
                  std::tuple("Orvan3D 2.0.0beta3", false, 0));
    }
}

}  // namespace
