// The command-line tool's pictures against the main window's Ekran: the
// general view after a load and the view at a chainage.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <memory>

#include "dialogs/OpcjeWyswietlania.h"
#include "pomocnicze/Pomocnicze.h"
#include "render/qt/PlotnoQt.h"
#include "shell/PoleTekstowe.h"
#include "shell/linie3Dtroj.h"

namespace {

const QString Cli = QStringLiteral(ORVANY_BIN "/orvany3d-cli");
const std::string Droga = ORVANY_BIN "/Przyklady/Droga.tro";

// The picture of `orvany3d-cli obraz Droga.tro <png> <opcje>`.
QImage ObrazNarzedzia(const QStringList& opcje) {
    const QString png = QString::fromStdString(KatalogTymczasowy()) + QStringLiteral("/obraz.png");
    QProcess p;
    p.start(Cli, QStringList{QStringLiteral("obraz"), QString::fromStdString(Droga), png} + opcje);
    EXPECT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return QImage(png).convertToFormat(QImage::Format_RGB32);
}

}  // namespace

TEST(ObrazCli, ObrazToEkranOknaPoPrzesunieciuSuwaka) {
    if (!QFileInfo(Cli).isExecutable()) GTEST_SKIP() << "brak " << Cli.toStdString();
    ZerujStan();
    auto okno = std::make_unique<TfMaster>();
    fMaster = okno.get();
    Opis = new TOpis(okno.get());
    Opcje = new TOpcje(okno.get());
    WczytajNiebo(QStringLiteral(ORVANY_BIN "/"));  // the sky the tool takes from beside itself
    okno->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(okno.get()));
    // The window's own open flow; the slider stays at 0, so the view stays general.
    okno->WyborPliku = [](const TDialogPliku&, bool) { return QString::fromStdString(Droga); };
    okno->OtworzTRO();
    auto ekran = [&] {
        QApplication::processEvents();
        return okno->Ekran.copy(0, 0, 958, 637).convertToFormat(QImage::Format_RGB32);
    };
    EXPECT_TRUE(ObrazNarzedzia({}) == ekran());
    // A fraction is rounded as the slider's whole positions are; a decimal comma is accepted.
    for (auto [s, opcja] : {std::pair{120, "--pikieta=120"}, {2900, "--pikieta=2900"}, {121, "--pikieta=120,6"}}) {
        okno->SB_pik->setValue(s);
        EXPECT_TRUE(ObrazNarzedzia({QString::fromLatin1(opcja)}) == ekran()) << opcja;
    }
    fMaster = nullptr;
    Opis = nullptr;
    Opcje = nullptr;
}
