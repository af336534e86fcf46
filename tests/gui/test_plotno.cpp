// The program's QImage canvas: the frame drawn in two threads as in one.

#include <QImage>
#include <random>

#include "pomocnicze/Pomocnicze.h"
#include "render/qt/PlotnoQt.h"

namespace {

QImage Obraz(int w, int h) {
    QImage o(w, h, QImage::Format_RGB32);
    o.fill(QColor(1, 2, 3));
    return o;
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
        EXPECT_TRUE(klatka == 0 || a != pierwsza) << "the triangles are in the picture";
    }
    ZerujStan();
}

}  // namespace
