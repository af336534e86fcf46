// The program's QImage canvas: Windows pixel rules, coverage against the
// QPainter canvas, the frame drawn in two threads, and the one-pass placing.
#include <gtest/gtest.h>

#include <QImage>
#include <cstring>
#include <numbers>
#include <random>
#include <vector>

#include "pomocnicze/Pomocnicze.h"
#include "render/RysujPerspektywa.h"
#include "render/qt/PlotnoQt.h"

namespace {

const QColor kTlo(1, 2, 3);

QImage Obraz(int w, int h) {
    QImage o(w, h, QImage::Format_RGB32);
    o.fill(kTlo);
    return o;
}

int Malowane(const QImage& o) {
    int n = 0;
    for (int y = 0; y < o.height(); ++y)
        for (int x = 0; x < o.width(); ++x) n += o.pixelColor(x, y) != kTlo;
    return n;
}

TEST(PlotnoQt, ProstokatILiniaBezPrawejIDolnejKrawedzi) {
    QImage o = Obraz(40, 30);
    {
        PlotnoQt p(o);
        p.UstawPioro(0x000000);
        p.UstawPedzel(0x0000FF);
        p.Prostokat(2, 3, 12, 8);  // frame x 2..11, y 3..7
        p.UstawPioro(0xFFFFFF);
        p.Linia(2, 20, 12, 20);
        p.Linia(30, 2, 30, 12);
    }
    EXPECT_EQ(o.pixelColor(11, 7), QColor(Qt::black));
    EXPECT_EQ(o.pixelColor(10, 6), QColor(255, 0, 0));
    EXPECT_EQ(o.pixelColor(11, 20), QColor(Qt::white));
    EXPECT_EQ(o.pixelColor(30, 11), QColor(Qt::white));
    EXPECT_EQ(Malowane(o), 10 * 5 + 10 + 10);  // nothing at x = 12, y = 8, the lines' ends
}

// Outside the edges, where the rasterizer samples pixel corners and QPainter
// pixel centres, both canvases paint the same polygons and lines.
TEST(PlotnoQt, PokrycieJakQPainter) {
    std::mt19937 los(7);
    auto u = [&los](int a, int b) { return std::uniform_int_distribution<int>(a, b)(los); };
    long malowane = 0, rozne = 0;
    for (int i = 0; i < 100; ++i) {
        const int ile = i % 3 ? 3 : 4, bok = i % 2 ? u(4, 30) : u(40, 160), cx = u(-20, 140), cy = u(-20, 100);
        std::vector<TPunktEkranu> w(ile);
        for (auto& p : w) p = {cx + u(-bok, bok), cy + u(-bok, bok)};
        QImage a = Obraz(128, 96), b = Obraz(128, 96);
        {
            PlotnoQt pa(a);
            PlotnoQPainter pb(b);
            for (TPlotno* p : {static_cast<TPlotno*>(&pa), static_cast<TPlotno*>(&pb)}) {
                p->UstawPioro(0x3060C0);
                p->UstawPedzel(0x3060C0);
                if (i % 5 == 4) p->Linia(w[0].X, w[0].Y, w[1].X, w[1].Y);
                else p->Wielokat(w.data(), ile);
            }
        }
        long r = 0, obwod = 0;
        for (int y = 0; y < 96; ++y)
            for (int x = 0; x < 128; ++x) r += (a.pixelColor(x, y) != kTlo) != (b.pixelColor(x, y) != kTlo);
        for (int k = 0; k < ile; ++k)
            obwod += std::max(std::abs(w[k].X - w[(k + 1) % ile].X), std::abs(w[k].Y - w[(k + 1) % ile].Y));
        EXPECT_LE(r, obwod + 4) << i;
        malowane += Malowane(a);
        rozne += r;
    }
    EXPECT_LT(double(rozne) / double(malowane), 0.06) << rozne << " / " << malowane;
}

// Passes every call on: Przerysuj sees no pixel canvas and draws in one thread.
class Przekaznik : public TPlotno {
public:
    explicit Przekaznik(TPlotno& c) : c_(c) {}
    void UstawPioro(TKolor k) override { c_.UstawPioro(k); }
    void UstawPedzel(TKolor k) override { c_.UstawPedzel(k); }
    void Prostokat(int a, int b, int c, int d) override { c_.Prostokat(a, b, c, d); }
    void Wielokat(const TPunktEkranu* p, int n) override { c_.Wielokat(p, n); }
    void Linia(int a, int b, int c, int d) override { c_.Linia(a, b, c, d); }
    void Tekst(int x, int y, const std::string& t) override { c_.Tekst(x, y, t); }
    void RozciagnijObraz(int a, int b, int c, int d, const TObraz& o) override { c_.RozciagnijObraz(a, b, c, d, o); }

private:
    TPlotno& c_;
};

std::vector<TTrojkatRys> Trojkaty(std::mt19937& los, int ile, double x0, double y0, double zakres, double rozmiar) {
    std::uniform_real_distribution<double> u(-1, 1);
    std::vector<TTrojkatRys> w(ile);
    for (int i = 0; i < ile; ++i) {
        const double x = x0 + zakres * u(los), y = y0 + zakres * u(los), z = 10 * u(los);
        w[i].P1 = {x, y, z};
        w[i].P2 = {x + rozmiar * u(los), y + rozmiar * u(los), z + rozmiar * u(los)};
        w[i].P3 = {x + rozmiar * u(los), y + rozmiar * u(los), i % 7 ? z + u(los) : -0.0};
        w[i].Kolor = static_cast<TKolor>(los() & 0xFFFFFF);
    }
    return w;
}

TEST(PlotnoQt, DuzaKlatkaWDwochWatkachJakWJednym) {
    ZerujStan();
    std::mt19937 los(3);
    TrojkatyTEREN = Trojkaty(los, 24000, 479, 1300, 800, 15);
    TrojkatyPROJ = Trojkaty(los, 3000, 479, 1300, 800, 40);
    Niebo = TObraz{2, 1, {0xFFFF0000u, 0xFF0000FFu}};
    PrzeliczRzut();
    QImage pierwsza;
    TPodzialKlatki dwa;
    dwa.Watki = 2;
    for (int klatka = 0; klatka < 3; ++klatka) {
        Rzut.RysujTEREN = klatka != 1;
        Rzut.RysujPROJ = klatka != 2;
        QImage a = Obraz(958, 700), b = Obraz(958, 700);  // taller than the paint area, as the window's
        PlotnoQt pa(a), pb(b);
        Przerysuj(pa, 958, 637, dwa);  // two threads, even on a machine with one core
        EXPECT_FALSE(dwa.Wielokaty.empty()) << "drawn in two bands";
        Przekaznik jeden(pb);
        Przerysuj(jeden, 958, 637);
        ASSERT_TRUE(a == b) << "klatka " << klatka;
        if (klatka == 0) pierwsza = a;
        else EXPECT_NE(a, pierwsza) << "the triangles are in the picture";
    }
    ZerujStan();
}

void OczekujBitowo(const std::vector<TTrojkatRys>& a, const std::vector<TTrojkatRys>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        for (auto w : {&TTrojkatRys::P1, &TTrojkatRys::P2, &TTrojkatRys::P3})
            EXPECT_EQ(std::memcmp(&(a[i].*w), &(b[i].*w), sizeof(TPunkt3D)), 0) << i;
        EXPECT_EQ(a[i].KolorCieniowany, b[i].KolorCieniowany) << i;
    }
}

TEST(PrzebiegiWidoku, UmieszczenieNaTrasieJakKolejneOperacje) {
    for (const bool tnij : {true, false}) {
        ZerujStan();
        std::mt19937 los(5);
        const auto teren = Trojkaty(los, 2000, 100, 50, 250, 30), proj = Trojkaty(los, 500, 100, 50, 250, 400);
        Rzut.TnijTroj = tnij;
        Rzut.TrasaX = 90.5, Rzut.TrasaY = 40.25, Rzut.katT = 1.1, Rzut.OdlTnijYmin = -300;
        TrojkatyTEREN = teren, TrojkatyPROJ = proj;
        Przesun(Rzut.PolEkranX - Rzut.TrasaX, -Rzut.TrasaY, 0.0);
        Skaluj(Rzut.PolEkranX, 0.0, 0.0, Rzut.skala);
        Obroc(Rzut.PolEkranX, 0.0, 0.0, std::numbers::pi / 2 - Rzut.katT, 0.0, 0.0);
        for (TZbior z : {TZbior::PROJ, TZbior::TEREN}) {
            TnijYmin(z, tnij ? Rzut.OdlTnijYmin : -1000.0);
            if (tnij) TnijYmax(z, Rzut.OdlTnijYmax);
        }
        PrzeliczRzut();
        const auto terenWzor = TrojkatyTEREN, projWzor = TrojkatyPROJ;
        EXPECT_LT(terenWzor.size(), teren.size());
        TrojkatyTEREN = teren, TrojkatyPROJ = proj;
        UmiescNaTrasie();
        OczekujBitowo(TrojkatyTEREN, terenWzor);
        OczekujBitowo(TrojkatyPROJ, projWzor);
    }
}

}  // namespace
