// The main window and the text viewer, offscreen: sizes, menus, toggles,
// keys, the screen dump, the guide, the viewer's copy and Escape.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFontMetrics>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <memory>

#include "common/Funkcje.h"
#include "dialogs/OpcjeWyswietlania.h"
#include "model/Zmienne.h"
#include "pomocnicze/Pomocnicze.h"
#include "render/qt/PlotnoQt.h"
#include "shell/PoleTekstowe.h"
#include "shell/linie3Dtroj.h"

namespace {

// Receives the URLs the window asks the desktop to open.
class OdbiorcaUrl : public QObject {
    Q_OBJECT
public:
    QList<QUrl> adresy;
public slots:
    void otworz(const QUrl& u) { adresy << u; }
};

class Okno : public ::testing::Test {
protected:
    void SetUp() override {
        ZerujStan();
        komunikaty.clear();
        staryHak = PokazKomunikat;
        PokazKomunikat = [this](const std::string& s) { komunikaty.push_back(s); };
        okno = std::make_unique<TfMaster>();
        fMaster = okno.get();
        Opis = new TOpis(okno.get());
        Opcje = new TOpcje(okno.get());
    }
    void TearDown() override {
        fMaster = nullptr;
        Opis = nullptr;
        Opcje = nullptr;
        okno.reset();
        PokazKomunikat = staryHak;
        ZerujStan();
    }
    void Pokaz() {
        okno->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(okno.get()));
        QApplication::processEvents();
    }
    QAction* Pozycja(const char* nazwa) { return okno->findChild<QAction*>(QString::fromLatin1(nazwa)); }

    std::unique_ptr<TfMaster> okno;
    std::vector<std::string> komunikaty;
    std::function<void(const std::string&)> staryHak;
};

// ---------------------------------------------------------------------------

TEST_F(Okno, ObszarRysunku958Na637IPoczatkowyStan) {
    Pokaz();
    EXPECT_EQ(okno->windowTitle(), "Orvany3D");
    EXPECT_EQ(okno->rys->size(), QSize(958, 637));
    EXPECT_GE(okno->Ekran.width(), 958);
    EXPECT_GE(okno->Ekran.height(), 637);
    EXPECT_FALSE(okno->P_Pikietaz->isVisible());
    // The first resize put the eye at its working place; the status bar still
    // shows the start-up values until the next key.
    EXPECT_DOUBLE_EQ(Rzut.OkoX, 479.0);
    EXPECT_DOUBLE_EQ(Rzut.OkoY, -700.0);
    EXPECT_DOUBLE_EQ(Rzut.OkoZ, 500.0);
    EXPECT_FLOAT_EQ(Rzut.PolEkranX, 479.0f);
    EXPECT_EQ(okno->StatusBar1Panele[0]->text(), "Dorta");
    EXPECT_EQ(okno->StatusBar1Panele[1]->text().toStdString(), TekstPolozeniaOka(479.0, -1000.0, 300.0));
    EXPECT_TRUE(okno->L_BrakPliku->text().isEmpty()) << "sky file missing beside the test";
    EXPECT_FALSE(Niebo.Pusty());
    ASSERT_EQ(ParametryProjektowe.size(), 1u);
    EXPECT_EQ(okno->OpenTrojkaty.KatalogPoczatkowy, KatalogProgramu() + "Model");
    EXPECT_EQ(okno->OpenDialog1.KatalogPoczatkowy, KatalogProgramu() + "Przyklady");
}

TEST_F(Okno, ZmianaRozmiaruWracaOkoNaMiejsce) {
    Pokaz();
    Rzut.OkoX = 5;
    Rzut.OkoY = 6;
    Rzut.OkoZ = 7;
    okno->resize(okno->width() + 100, okno->height());
    QApplication::processEvents();
    EXPECT_EQ(okno->rys->width(), 1058);
    EXPECT_DOUBLE_EQ(Rzut.OkoX, 529.0);
    EXPECT_DOUBLE_EQ(Rzut.OkoY, -700.0);
    EXPECT_DOUBLE_EQ(Rzut.OkoZ, 500.0);
    EXPECT_GE(okno->Ekran.width(), 1058);
}

TEST_F(Okno, MenuPodpisySkrotyIZnaczniki) {
    struct Oczekiwane {
        const char* nazwa;
        const char* napis;
        const char* skrot;
        int zaznaczona;  // -1: no check mark
    };
    const Oczekiwane pozycje[] = {
        {"Otwrz1", "Otwórz", "Ctrl+L", -1},
        {"Generujekrantestowy1", "Generuj ekran testowy", "Ctrl+Q", -1},
        {"Generujekrantestowylosowy1", "Generuj ekran testowy losowy", "Ctrl+W", -1},
        {"Oprogramie1", "O programie", "", -1},
        {"Koniec1", "Koniec", "", -1},
        {"InfoTeren1", "Info Teren, Proj", "", -1},
        {"InfoProj1", "Info Trasa", "", -1},
        {"m_OpcjeWyswietlania", "Opcje wyświetlania", "Ctrl+O", -1},
        {"m_RysujParametryEkran", "Rysuj parametry na ekranie", "Ctrl+I", 0},
        {"m_ZrzutEkranuDoSchowka", "Zrzut ekranu do schowka", "Ctrl+Z", -1},
        {"m_RysujPROJ", "Rysuj PROJ", "Ctrl+P", 1},
        {"m_RysujTEREN", "Rysuj TEREN", "Ctrl+T", 1},
        {"m_RysujLinie", "Rysuj linie pomocnicze", "Ctrl+Y", 1},
        {"m_RysujNiebo", "Rysuj \"Niebo\"", "Ctrl+N", 1},
        {"Krotkiopis1", "Krotki opis", "", -1},
        {"Pokapikieta1", "Pokaż pikietaż", "", -1},
        {"Pokaopcje1", "Pokaż opcje\tCtrl+O", "", -1},
        {"ZrzutEkranu1", "Zrzut Ekranu\tCtrl+Z", "", -1},
    };
    for (const auto& o : pozycje) {
        QAction* a = Pozycja(o.nazwa);
        ASSERT_NE(a, nullptr) << o.nazwa;
        EXPECT_EQ(a->text(), QString::fromUtf8(o.napis)) << o.nazwa;
        EXPECT_EQ(a->shortcut().toString(), QString::fromLatin1(o.skrot)) << o.nazwa;
        EXPECT_EQ(a->isCheckable(), o.zaznaczona >= 0) << o.nazwa;
        if (o.zaznaczona >= 0) {
            EXPECT_EQ(a->isChecked(), o.zaznaczona == 1) << o.nazwa;
        }
    }
    QStringList menu;
    for (QAction* a : okno->MainMenu1->actions()) menu << a->text();
    EXPECT_EQ(menu, (QStringList{"Pliki", "Pokaż", "Pomoc"}));
    // Separators where the menus have them.
    int separatory = 0;
    for (QAction* a : okno->Pliki1->actions()) separatory += a->isSeparator();
    EXPECT_EQ(separatory, 3);
}

TEST_F(Okno, PrzelacznikiZmieniajaFlageZnacznikIObraz) {
    Pokaz();
    struct P {
        const char* nazwa;
        bool* flaga;
    };
    const P przelaczniki[] = {{"m_RysujPROJ", &Rzut.RysujPROJ},
                              {"m_RysujTEREN", &Rzut.RysujTEREN},
                              {"m_RysujLinie", &Rzut.RysujLinie},
                              {"m_RysujNiebo", &Rzut.RysujNiebo},
                              {"m_RysujParametryEkran", &Rzut.RysujParametryEkran}};
    for (const auto& p : przelaczniki) {
        QAction* a = Pozycja(p.nazwa);
        const bool przed = *p.flaga;
        a->trigger();
        EXPECT_EQ(*p.flaga, !przed) << p.nazwa;
        EXPECT_EQ(a->isChecked(), *p.flaga) << p.nazwa;
        a->trigger();
        EXPECT_EQ(*p.flaga, przed) << p.nazwa;
        EXPECT_EQ(a->isChecked(), przed) << p.nazwa;
    }

    // The sky's middle is blue with the sky on, button face without it.
    const QPoint srodekNieba(479, 300);
    Przerysuj(*okno);
    const QColor zNiebem = okno->Ekran.pixelColor(srodekNieba);
    EXPECT_GT(zNiebem.blue(), zNiebem.red() + 30);
    Pozycja("m_RysujNiebo")->trigger();
    EXPECT_EQ(okno->Ekran.pixelColor(srodekNieba), KolorPrzycisku());
    // Lines off too: only the framed empty area.
    Pozycja("m_RysujLinie")->trigger();
    EXPECT_EQ(okno->Ekran.pixelColor(300, 603), KolorPrzycisku());
    EXPECT_EQ(okno->Ekran.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(okno->Ekran.pixelColor(957, 636), QColor(Qt::black));
    Pozycja("m_RysujLinie")->trigger();
    EXPECT_EQ(okno->Ekran.pixelColor(300, 603), QColor(0xA0, 0xA0, 0xA0));
}

TEST_F(Okno, SkrotCtrlPPrzelaczaPROJ) {
    Pokaz();
    okno->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(okno.get()));
    QTest::keyClick(okno.get(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_FALSE(Rzut.RysujPROJ);
    EXPECT_FALSE(Pozycja("m_RysujPROJ")->isChecked());
    QTest::keyClick(okno.get(), Qt::Key_I, Qt::ControlModifier);
    EXPECT_TRUE(Rzut.RysujParametryEkran);
}

// ---------------------------------------------------------------------------
// Keys

TEST_F(Okno, KlawiszePrzesuwajaOkoOPiecIPiszaPasekStanu) {
    Pokaz();
    okno->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(okno.get()));
    QTest::keyClick(okno.get(), Qt::Key_Up);
    EXPECT_DOUBLE_EQ(Rzut.OkoZ, 505.0);
    QTest::keyClick(okno.get(), Qt::Key_Down, Qt::ShiftModifier);  // the shift state does not matter
    EXPECT_DOUBLE_EQ(Rzut.OkoZ, 500.0);
    QTest::keyClick(okno.get(), Qt::Key_Right);
    EXPECT_DOUBLE_EQ(Rzut.OkoX, 484.0);
    QTest::keyClick(okno.get(), Qt::Key_Left);
    QTest::keyClick(okno.get(), Qt::Key_Left);
    EXPECT_DOUBLE_EQ(Rzut.OkoX, 474.0);
    QTest::keyClick(okno.get(), Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_DOUBLE_EQ(Rzut.OkoY, -705.0);
    QTest::keyClick(okno.get(), Qt::Key_Minus, Qt::KeypadModifier);
    QTest::keyClick(okno.get(), Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_DOUBLE_EQ(Rzut.OkoY, -695.0);
    // The main keyboard's plus and minus are other keys.
    QTest::keyClick(okno.get(), Qt::Key_Minus);
    EXPECT_DOUBLE_EQ(Rzut.OkoY, -695.0);
    EXPECT_EQ(okno->StatusBar1Panele[1]->text().toStdString(), TekstPolozeniaOka(474.0, -695.0, 500.0));
}

TEST_F(Okno, KlawiszInnyNizStrzalkaTezOdswiezaPasekStanu) {
    Pokaz();
    okno->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(okno.get()));
    OpisTekst = {"linia"};
    QTest::keyClick(okno.get(), Qt::Key_Escape);
    EXPECT_EQ(okno->StatusBar1Panele[1]->text().toStdString(), TekstPolozeniaOka(479.0, -700.0, 500.0));
    EXPECT_TRUE(OpisTekst.empty());  // redrawn
}

TEST_F(Okno, KlawiszKontrolkiZFokusemNieDochodziDoOkna) {
    Pokaz();
    auto* pole = new QLineEdit(okno->P_Pikietaz);
    okno->P_Pikietaz->show();
    okno->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(okno.get()));
    pole->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), pole);
    // A line edit leaves Up unused; Qt would hand it on to the window.
    QTest::keyClick(pole, Qt::Key_Up);
    QTest::keyClick(pole, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_DOUBLE_EQ(Rzut.OkoZ, 500.0);
    EXPECT_DOUBLE_EQ(Rzut.OkoY, -700.0);
    EXPECT_EQ(okno->StatusBar1Panele[1]->text().toStdString(), TekstPolozeniaOka(479.0, -1000.0, 300.0));
}

TEST(KodyKlawiszy, KlawiaturaNumerycznaIZwykla) {
    auto kod = [](int klawisz, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QKeyEvent e(QEvent::KeyPress, klawisz, m);
        return KodKlawiszaWindows(&e);
    };
    EXPECT_EQ(kod(Qt::Key_Left), 37);
    EXPECT_EQ(kod(Qt::Key_Up), 38);
    EXPECT_EQ(kod(Qt::Key_Right), 39);
    EXPECT_EQ(kod(Qt::Key_Down), 40);
    EXPECT_EQ(kod(Qt::Key_Plus, Qt::KeypadModifier), 107);
    EXPECT_EQ(kod(Qt::Key_Minus, Qt::KeypadModifier), 109);
    EXPECT_EQ(kod(Qt::Key_Plus), 187);
    EXPECT_EQ(kod(Qt::Key_Minus), 189);
    EXPECT_EQ(kod(Qt::Key_Escape), 27);
    EXPECT_EQ(kod(Qt::Key_A, Qt::ShiftModifier), 65);
    EXPECT_EQ(kod(Qt::Key_5, Qt::KeypadModifier), 101);
}

// ---------------------------------------------------------------------------
// Screen dump, guide, about

TEST_F(Okno, ZrzutEkranuMaRozmiarObszaruRysunku) {
    Pokaz();
    Przerysuj(*okno);
    QApplication::clipboard()->clear();
    Pozycja("m_ZrzutEkranuDoSchowka")->trigger();
    const QImage obraz = QApplication::clipboard()->image();
    ASSERT_FALSE(obraz.isNull());
    EXPECT_EQ(obraz.size(), QSize(958, 637));
    EXPECT_GT(okno->Ekran.width() * okno->Ekran.height(), 958 * 637 - 1);
    EXPECT_EQ(obraz.convertToFormat(QImage::Format_RGB32), okno->Ekran.copy(0, 0, 958, 637));
    // The confirmation is written over the picture, not into Ekran.
    EXPECT_TRUE(okno->NapisZrzutu);
    const QImage przed = okno->Ekran.copy(0, 0, 958, 637);
    QApplication::processEvents();
    EXPECT_EQ(okno->Ekran.copy(0, 0, 958, 637), przed);
    // The pop-up item runs the same dump.
    QApplication::clipboard()->clear();
    Pozycja("ZrzutEkranu1")->trigger();
    EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(958, 637));
}

TEST_F(Okno, KrotkiOpisBrakPlikuPodajeSciezke) {
    const QString kat = QString::fromStdString(KatalogTymczasowy()) + "/";
    OtworzOpis(kat);
    ASSERT_EQ(komunikaty.size(), 1u);
    EXPECT_EQ(komunikaty[0], "Brak pliku " + kat.toStdString() + "Przyklady/OpisOrvan.pdf");
}

TEST_F(Okno, KrotkiOpisOtwieraPlikWPrzegladarce) {
    const QString kat = QString::fromStdString(KatalogTymczasowy()) + "/";
    QDir().mkpath(kat + "Przyklady");
    ZapiszPlik((kat + "Przyklady/OpisOrvan.pdf").toStdString(), "%PDF-1.4\n");
    OdbiorcaUrl odbiorca;
    QDesktopServices::setUrlHandler("file", &odbiorca, "otworz");
    OtworzOpis(kat);
    QDesktopServices::unsetUrlHandler("file");
    EXPECT_TRUE(komunikaty.empty());
    ASSERT_EQ(odbiorca.adresy.size(), 1);
    EXPECT_EQ(odbiorca.adresy[0], QUrl::fromLocalFile(kat + "Przyklady/OpisOrvan.pdf"));
}

TEST_F(Okno, BrakNiebaNieZatrzymujeStartu) {
    const QString kat = QString::fromStdString(KatalogTymczasowy()) + "/";
    EXPECT_EQ(WczytajNiebo(kat), "Brak pliku " + kat + "Przyklady/Sky02.bmp");
    EXPECT_TRUE(Niebo.Pusty());
    // Not a picture at all: the same.
    QDir().mkpath(kat + "Przyklady");
    ZapiszPlik((kat + "Przyklady/Sky02.bmp").toStdString(), "BM to nie jest obraz");
    EXPECT_EQ(WczytajNiebo(kat), "Brak pliku " + kat + "Przyklady/Sky02.bmp");
    EXPECT_TRUE(Niebo.Pusty());
    // The far wall is drawn without the sky, the frame box still is.
    Pokaz();
    Przerysuj(*okno);
    EXPECT_EQ(okno->Ekran.pixelColor(479, 300), KolorPrzycisku());
    EXPECT_EQ(okno->Ekran.pixelColor(300, 603), QColor(0xA0, 0xA0, 0xA0));
    // A real picture loads.
    QImage maly(4, 2, QImage::Format_RGB32);
    maly.fill(QColor(0, 0, 255));
    ASSERT_TRUE(maly.save(kat + "Przyklady/Sky02.bmp", "BMP"));
    EXPECT_EQ(WczytajNiebo(kat), "");
    EXPECT_EQ(Niebo.Szerokosc, 4);
    EXPECT_EQ(Niebo.Wysokosc, 2);
}

TEST_F(Okno, OProgramiePokazujeKomunikat) {
    Pozycja("Oprogramie1")->trigger();
    ASSERT_EQ(komunikaty.size(), 1u);
    EXPECT_NE(komunikaty[0].find("Orvany3D"), std::string::npos);
}

TEST_F(Okno, KoniecZamykaOkno) {
    Pokaz();
    Pozycja("Koniec1")->trigger();
    EXPECT_FALSE(okno->isVisible());
}

TEST_F(Okno, MenuPodreczneChowaIPokazujePanelPikietazu) {
    Pokaz();
    Pozycja("Pokapikieta1")->trigger();
    EXPECT_TRUE(okno->P_Pikietaz->isVisible());
    EXPECT_EQ(okno->P_Pikietaz->geometry(), QRect(8, 8, 561, 65));
    Pozycja("Pokapikieta1")->trigger();
    EXPECT_FALSE(okno->P_Pikietaz->isVisible());
}

// ---------------------------------------------------------------------------
// The text viewer

class Przegladarka : public Okno {};

TEST_F(Przegladarka, PokazujeLinieIKopiujeIZamyka) {
    OpisTekst = {"Pierwsza linia", "  druga  "};
    Opis->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Opis));
    EXPECT_EQ(Opis->windowTitle(), "Opis");
    EXPECT_EQ(Opis->Tekst->toPlainText(), "Pierwsza linia\n  druga  ");
    ASSERT_TRUE(Opis->CB_Zamknij->isChecked());
    QApplication::clipboard()->clear();
    QTest::mouseClick(Opis->Button1, Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(), "Pierwsza linia\n  druga  ");
    EXPECT_FALSE(Opis->isVisible());
}

TEST_F(Przegladarka, BezZamykaniaZostajeOtwartaZZaznaczonymTekstem) {
    OpisTekst = {"a", "bb", "ccc"};
    Opis->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Opis));
    Opis->CB_Zamknij->setChecked(false);
    QTest::mouseClick(Opis->Button1, Qt::LeftButton);
    EXPECT_TRUE(Opis->isVisible());
    EXPECT_EQ(Opis->Tekst->textCursor().selectedText(), QString("a\u2029bb\u2029ccc"));
    EXPECT_EQ(QApplication::clipboard()->text(), "a\nbb\nccc");
    QTest::mouseClick(Opis->B_Powrot, Qt::LeftButton);
    EXPECT_FALSE(Opis->isVisible());
}

TEST_F(Przegladarka, EscapeWTekscieZamyka) {
    Opis->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Opis));
    Opis->Tekst->setFocus();
    QTest::keyClick(Opis->Tekst, Qt::Key_X);
    EXPECT_TRUE(Opis->isVisible());
    EXPECT_EQ(Opis->Tekst->toPlainText(), "x");  // other keys edit
    QTest::keyClick(Opis->Tekst, Qt::Key_Escape);
    EXPECT_FALSE(Opis->isVisible());
}

TEST_F(Przegladarka, CzcionkaStalejSzerokosci10Pikseli) {
    const QFontMetrics fm(Opis->Tekst->font());
    EXPECT_EQ(fm.horizontalAdvance("iiiiii"), fm.horizontalAdvance("WWWWWW"));
    EXPECT_EQ(Opis->Tekst->font().pixelSize(), 10);
    EXPECT_EQ(Opis->Tekst->toPlainText(), "");
}

TEST_F(Przegladarka, PrzerysowanieOprozniaLinie) {
    OpisTekst = {"komunikat trasy"};
    Przerysuj(*okno);
    EXPECT_TRUE(OpisTekst.empty());
}

}  // namespace

#include "test_okno.moc"
