// The command-line tool's pictures against the main window's Ekran: the
// general view after a load, the view at a chainage and the parameters text
// must be the same pixels as the window shows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTest>
#include <memory>

#include "dialogs/OpcjeWyswietlania.h"
#include "model/ZapisywanieOdczytywanie.h"
#include "model/Zmienne.h"
#include "pomocnicze/Pomocnicze.h"
#include "route/OblTrasa.h"
#include "shell/PoleTekstowe.h"
#include "shell/linie3Dtroj.h"

namespace {

const QString Cli = QStringLiteral(ORVANY_BIN "/orvany3d-cli");
const std::string Droga = ORVANY_BIN "/Przyklady/Droga.tro";

class ObrazCli : public ::testing::Test {
protected:
    void SetUp() override {
        if (!QFileInfo(Cli).isExecutable() || !QFileInfo(QString::fromStdString(Droga)).isFile())
            GTEST_SKIP() << "brak " << Cli.toStdString() << " albo przykładu Droga.tro";
        ZerujStan();
        okno = std::make_unique<TfMaster>();
        fMaster = okno.get();
        Opis = new TOpis(okno.get());
        Opcje = new TOpcje(okno.get());
        // The window's start-up took the sky from beside the test; the tool
        // takes it from beside itself: both are build/bin/Przyklady/Sky02.bmp.
        WczytajNiebo(QStringLiteral(ORVANY_BIN "/"));
        okno->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(okno.get()));
        QApplication::processEvents();
        ASSERT_EQ(okno->rys->size(), QSize(958, 637));
    }
    void TearDown() override {
        fMaster = nullptr;
        Opis = nullptr;
        Opcje = nullptr;
        okno.reset();
        ZerujStan();
    }

    // The window's own open flow for a .tro file (the file dialog answers with
    // the path); the slider stays at 0, inside the new range, so the view stays general.
    void Otworz(const std::string& plik) {
        okno->WyborPliku = [plik](const TDialogPliku&, bool) { return QString::fromStdString(plik); };
        okno->OtworzTRO();
        QApplication::processEvents();
    }

    // The slider moved to s (from a neighbouring position when it stands there
    // already, since only a move runs the change handler).
    void Suwak(int s) {
        if (okno->SB_pik->value() == s) okno->SB_pik->setValue(s == okno->SB_pik->maximum() ? s - 1 : s + 1);
        okno->SB_pik->setValue(s);
        QApplication::processEvents();
    }

    QImage Okno() const { return okno->Ekran.copy(0, 0, 958, 637).convertToFormat(QImage::Format_RGB32); }

    // Runs the tool; the picture it wrote (a null image when it wrote none).
    QImage ObrazNarzedzia(QStringList argumenty, int oczekiwanyKod = 0) {
        const QString png = QString::fromStdString(KatalogTymczasowy()) + QStringLiteral("/obraz.png");
        argumenty.prepend(QString::fromStdString(Droga));
        argumenty.prepend(QStringLiteral("obraz"));
        argumenty.insert(2, png);
        QProcess p;
        p.start(Cli, argumenty);
        EXPECT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), oczekiwanyKod) << p.readAllStandardError().toStdString();
        return QImage(png).convertToFormat(QImage::Format_RGB32);
    }

    static int RoznePiksele(const QImage& a, const QImage& b) {
        if (a.size() != b.size()) return -1;
        int n = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                if ((a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF)) ++n;
        return n;
    }

    std::unique_ptr<TfMaster> okno;
};

TEST_F(ObrazCli, WidokOgolnyPoWczytaniuToObrazOkna) {
    Otworz(Droga);
    const QImage narzedzie = ObrazNarzedzia({});
    ASSERT_FALSE(narzedzie.isNull());
    EXPECT_EQ(RoznePiksele(narzedzie, Okno()), 0);
}

TEST_F(ObrazCli, WidokZPikietyToObrazOknaPoPrzesunieciuSuwaka) {
    Otworz(Droga);
    for (int s : {0, 120, 1490, 2900}) {
        Suwak(s);
        const QImage narzedzie = ObrazNarzedzia({QStringLiteral("--pikieta"), QString::number(s)});
        ASSERT_FALSE(narzedzie.isNull()) << s;
        EXPECT_EQ(RoznePiksele(narzedzie, Okno()), 0) << "pikieta " << s;
    }
    // A fraction is rounded as the slider's whole positions are; a decimal comma is accepted.
    Suwak(121);
    EXPECT_EQ(RoznePiksele(ObrazNarzedzia({QStringLiteral("--pikieta=120,6")}), Okno()), 0);
}

TEST_F(ObrazCli, ParametryNaObrazieJakPoWlaczeniuWMenu) {
    Otworz(Droga);
    Suwak(500);
    okno->m_RysujParametryEkranClick();
    const QImage z = ObrazNarzedzia({QStringLiteral("--pikieta"), QStringLiteral("500"), QStringLiteral("--parametry")});
    EXPECT_EQ(RoznePiksele(z, Okno()), 0);
    // Without the option the picture differs exactly by the text block.
    const QImage bez = ObrazNarzedzia({QStringLiteral("--pikieta"), QStringLiteral("500")});
    EXPECT_GT(RoznePiksele(bez, z), 1000);
}

}  // namespace
