// The QImage canvases, the program's and the QPainter one: the pixel rules of
// rectangles, lines, polygons, text and stretched pictures, and far-away
// coordinates, which both keep.
#include <gtest/gtest.h>

#include <QImage>

#include "model/Zmienne.h"
#include "render/qt/PlotnoQt.h"

namespace {

const QColor kTlo(1, 2, 3);

QImage Obraz(int w = 40, int h = 30) {
    QImage o(w, h, QImage::Format_RGB32);
    o.fill(kTlo);
    return o;
}

// Pixels of the image that differ from the background.
int Zmienione(const QImage& o) {
    int n = 0;
    for (int y = 0; y < o.height(); ++y)
        for (int x = 0; x < o.width(); ++x) n += o.pixelColor(x, y) != kTlo;
    return n;
}

template <typename T>
class Plotna : public ::testing::Test {};
using RodzajePlotna = ::testing::Types<PlotnoQt, PlotnoQPainter>;
TYPED_TEST_SUITE(Plotna, RodzajePlotna);

TEST(PlotnoQt, KoloryBBGGRR) {
    EXPECT_EQ(KolorQt(0x000000FF), QColor(255, 0, 0));
    EXPECT_EQ(KolorQt(0x00FF0000), QColor(0, 0, 255));
    EXPECT_EQ(KolorQt(0x00A0B0C0), QColor(0xC0, 0xB0, 0xA0));
    EXPECT_EQ(KolorQt(clBtnFace), KolorPrzycisku());
}

TYPED_TEST(Plotna, ProstokatBezPrawejIDolnejKrawedzi) {
    QImage o = Obraz();
    {
        TypeParam p(o);
        p.UstawPioro(0x000000);
        p.UstawPedzel(0x0000FF);
        p.Prostokat(2, 3, 12, 8);
    }
    // Frame on x = 2 and 11, y = 3 and 7; red inside; nothing at x = 12 or y = 8.
    EXPECT_EQ(o.pixelColor(2, 3), QColor(Qt::black));
    EXPECT_EQ(o.pixelColor(11, 7), QColor(Qt::black));
    EXPECT_EQ(o.pixelColor(11, 5), QColor(Qt::black));
    EXPECT_EQ(o.pixelColor(6, 7), QColor(Qt::black));
    EXPECT_EQ(o.pixelColor(3, 4), QColor(255, 0, 0));
    EXPECT_EQ(o.pixelColor(10, 6), QColor(255, 0, 0));
    EXPECT_EQ(o.pixelColor(12, 5), kTlo);
    EXPECT_EQ(o.pixelColor(6, 8), kTlo);
    EXPECT_EQ(Zmienione(o), 10 * 5);
}

TYPED_TEST(Plotna, LiniaBezOstatniegoPiksela) {
    QImage o = Obraz();
    {
        TypeParam p(o);
        p.UstawPioro(0x00FFFFFF);
        p.Linia(2, 5, 12, 5);
        p.Linia(20, 2, 20, 12);
    }
    EXPECT_EQ(o.pixelColor(2, 5), QColor(Qt::white));
    EXPECT_EQ(o.pixelColor(11, 5), QColor(Qt::white));
    EXPECT_EQ(o.pixelColor(12, 5), kTlo);
    EXPECT_EQ(o.pixelColor(20, 11), QColor(Qt::white));
    EXPECT_EQ(o.pixelColor(20, 12), kTlo);
    EXPECT_EQ(Zmienione(o), 20);
}

TYPED_TEST(Plotna, WielokatWypelnionyIObrysowany) {
    QImage o = Obraz();
    {
        TypeParam p(o);
        p.UstawPioro(0x000000);
        p.UstawPedzel(0x00FF00);
        const TPunktEkranu w[4] = {{5, 5}, {25, 5}, {25, 20}, {5, 20}};
        p.Wielokat(w, 4);
    }
    EXPECT_EQ(o.pixelColor(15, 12), QColor(0, 255, 0));
    EXPECT_EQ(o.pixelColor(5, 5), QColor(Qt::black));
    EXPECT_EQ(o.pixelColor(25, 20), QColor(Qt::black));
    EXPECT_EQ(o.pixelColor(15, 20), QColor(Qt::black));
    EXPECT_EQ(o.pixelColor(26, 12), kTlo);
    EXPECT_EQ(o.pixelColor(4, 12), kTlo);
}

TYPED_TEST(Plotna, OdlegleWspolrzedneNieZaklocajaRysunku) {
    // A huge triangle whose inside covers the whole image, and lines from far away.
    QImage o = Obraz();
    {
        TypeParam p(o);
        p.UstawPioro(0x000000);
        p.UstawPedzel(0x0000FF);
        const TPunktEkranu w[3] = {{-2000000000, -2000000000}, {2000000000, -5}, {-5, 2000000000}};
        p.Wielokat(w, 3);
        p.UstawPioro(0x00FFFFFF);
        p.Linia(-2000000000, 10, 2000000000, 10);
        p.Linia(2000000000, 2000000000, 2000000001 - 1, -2000000000);  // entirely outside
        const TPunktEkranu daleko[3] = {{1000000000, 1000000000}, {1000000100, 1000000000}, {1000000000, 1000000100}};
        p.Wielokat(daleko, 3);
    }
    EXPECT_EQ(o.pixelColor(0, 0), QColor(255, 0, 0));
    EXPECT_EQ(o.pixelColor(39, 29), QColor(255, 0, 0));
    for (int x = 0; x < 40; ++x) EXPECT_EQ(o.pixelColor(x, 10), QColor(Qt::white)) << x;
}

TYPED_TEST(Plotna, TekstCzarnyNaTleZPedzla) {
    QImage o = Obraz(300, 40);
    {
        TypeParam p(o);
        p.UstawPedzel(0x00FFFF);
        p.Tekst(10, 10, "Oko Xo = 479 Y = -700");
    }
    int zolte = 0, czarne = 0, nad = 0;
    for (int y = 0; y < o.height(); ++y)
        for (int x = 0; x < o.width(); ++x) {
            const QColor c = o.pixelColor(x, y);
            zolte += c == QColor(255, 255, 0);
            czarne += c == QColor(Qt::black);
            if (y < 10 && c != kTlo) ++nad;
        }
    EXPECT_GT(zolte, 500);
    EXPECT_GT(czarne, 50);
    EXPECT_EQ(nad, 0);  // the top-left corner is at (10, 10)
    // The background fits the 12-pixel line pitch.
    int wysokosc = 0;
    for (int y = 0; y < o.height(); ++y) wysokosc += o.pixelColor(11, y) != kTlo;
    EXPECT_GE(wysokosc, 10);
    EXPECT_LE(wysokosc, 12);
}

TYPED_TEST(Plotna, ObrazRozciagnietyWProstokat) {
    // A 2 x 1 picture: red left half, blue right half.
    const TObraz niebo{2, 1, {0xFFFF0000u, 0xFF0000FFu}};
    QImage o = Obraz();
    {
        TypeParam p(o);
        p.RozciagnijObraz(10, 5, 30, 15, niebo);
        p.RozciagnijObraz(-1000000000, 20, 1000000000, 25, niebo);  // huge target: only the visible part
    }
    EXPECT_EQ(o.pixelColor(10, 5), QColor(255, 0, 0));
    EXPECT_EQ(o.pixelColor(19, 14), QColor(255, 0, 0));
    EXPECT_EQ(o.pixelColor(20, 5), QColor(0, 0, 255));
    EXPECT_EQ(o.pixelColor(29, 14), QColor(0, 0, 255));
    EXPECT_EQ(o.pixelColor(30, 10), kTlo);
    EXPECT_EQ(o.pixelColor(20, 15), kTlo);
    EXPECT_EQ(o.pixelColor(9, 10), kTlo);
    // The middle of the huge target is where its halves meet: x = 0.
    EXPECT_EQ(o.pixelColor(0, 22), QColor(0, 0, 255));
}

}  // namespace
