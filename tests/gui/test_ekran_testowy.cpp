// The picture of the fixed test screen, drawn by the redraw through the
// program's canvas, against its reference tests/dane/ekran_testowy.png.
//
// The reference is made on purpose only: run this test with
// ORVANY_ZAPISZ_WZORZEC=1 to write it anew, look at it, and commit it.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPalette>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "generators/GenerowanieBryl.h"
#include "pomocnicze/Pomocnicze.h"
#include "render/RysujPerspektywa.h"
#include "render/qt/PlotnoQt.h"
#include "scena/Scena.h"

namespace {

constexpr int W = 958, H = 637;
const std::string kWzorzec = std::string(ORVANY_ZRODLA) + "/tests/dane/ekran_testowy.png";

// The picture of the window right after "Generuj ekran testowy" in a fresh
// program: start values, the window's eye, seed 0, the sample sky.
QImage EkranTestowyObraz() {
    ZerujStan(W, H);  // the seed at 0 as well
    UstawOkoOkna(W, H);
    EkranTestowy();
    QImage obraz(W, H, QImage::Format_RGB32);
    obraz.fill(Qt::white);
    PlotnoQt plotno(obraz);
    Przerysuj(plotno, W, H);
    return obraz;
}

}  // namespace

TEST(EkranTestowy, ObrazJakWzorzec) {
    // Nothing of the machine may show: the decimal point and the button-face colour are fixed.
    UstawLocale locale('.');
    const QPalette paleta = QGuiApplication::palette();
    QPalette stala = paleta;
    stala.setColor(QPalette::Button, QColor(240, 240, 240));
    QGuiApplication::setPalette(stala);
    ASSERT_EQ(WczytajNiebo(QStringLiteral(ORVANY_ZRODLA "/")), QString());  // the sample sky

    const QImage obraz = EkranTestowyObraz();
    const QImage powtorka = EkranTestowyObraz();
    Niebo = TObraz{};
    QGuiApplication::setPalette(paleta);
    // The same state gives the same picture.
    EXPECT_TRUE(obraz == powtorka);

    if (std::getenv("ORVANY_ZAPISZ_WZORZEC")) {
        ASSERT_TRUE(obraz.save(QString::fromStdString(kWzorzec), "PNG"));
        GTEST_SKIP() << "zapisano wzorzec " << kWzorzec;
    }
    const QImage wzorzec = QImage(QString::fromStdString(kWzorzec)).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(wzorzec.size(), QSize(W, H)) << "brak wzorca " << kWzorzec;
    long rozne = 0;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) rozne += obraz.pixel(x, y) != wzorzec.pixel(x, y);
    if (rozne != 0) {
        // Kept after the test for a look: the temporary directories go at exit.
        const std::string wynik = (std::filesystem::temp_directory_path() / "orvany_ekran_testowy.png").string();
        obraz.save(QString::fromStdString(wynik), "PNG");
        ADD_FAILURE() << rozne << " pikseli innych niz we wzorcu; obraz: " << wynik;
    }
}
