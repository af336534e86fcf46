// The program's canvas against the QPainter canvas, drawing in bands of rows,
// and the redraw of a large frame in two threads against one thread.
#include <gtest/gtest.h>

#include <QImage>

#include <cstdint>
#include <random>
#include <vector>

#include "generators/GenerowanieBryl.h"
#include "pomocnicze/Pomocnicze.h"
#include "render/Rasteryzer.h"
#include "render/RysujPerspektywa.h"
#include "render/qt/PlotnoQt.h"

namespace {

const QRgb kTlo = qRgb(1, 2, 3);

QImage Obraz(int w, int h) {
    QImage o(w, h, QImage::Format_RGB32);
    o.fill(kTlo);
    return o;
}

struct TPorownanie {
    long malowane = 0;  // pixels painted by either canvas
    long rozne = 0;     // painted by one of them only
};

TPorownanie Porownaj(const QImage& a, const QImage& b) {
    TPorownanie p;
    for (int y = 0; y < a.height(); ++y) {
        const auto* wa = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* wb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            const bool pa = (wa[x] & 0xFFFFFF) != (kTlo & 0xFFFFFF), pb = (wb[x] & 0xFFFFFF) != (kTlo & 0xFFFFFF);
            p.malowane += pa || pb;
            p.rozne += pa != pb;
        }
    }
    return p;
}

// Passes every call on to another canvas. Przerysuj sees no pixel canvas
// behind it and draws the records one by one in this thread.
class Przekaznik : public TPlotno {
public:
    explicit Przekaznik(TPlotno& cel) : cel_(cel) {}
    void UstawPioro(TKolor k) override { cel_.UstawPioro(k); }
    void UstawPedzel(TKolor k) override { cel_.UstawPedzel(k); }
    void Prostokat(int x1, int y1, int x2, int y2) override { cel_.Prostokat(x1, y1, x2, y2); }
    void Wielokat(const TPunktEkranu* p, int n) override { cel_.Wielokat(p, n); }
    void Linia(int x1, int y1, int x2, int y2) override { cel_.Linia(x1, y1, x2, y2); }
    void Tekst(int x, int y, const std::string& t) override { cel_.Tekst(x, y, t); }
    void RozciagnijObraz(int l, int g, int p, int d, const TObraz& o) override { cel_.RozciagnijObraz(l, g, p, d, o); }

private:
    TPlotno& cel_;
};

TObraz Szachownica() {
    TObraz o{7, 5, {}};
    for (int i = 0; i < 35; ++i) o.Piksele.push_back(i % 2 ? 0xFF2050A0u : 0xFFE0C040u);
    return o;
}

}  // namespace

// Each polygon alone on an empty picture, filled and outlined in one colour:
// the two canvases paint the same area except along its edges, where the
// rasterizer samples pixel corners and QPainter pixel centres.
TEST(PlotnoQtIQPainter, ZgodnePokrycieWielokatowILinii) {
    std::mt19937 los(7);
    auto u = [&los](int a, int b) { return std::uniform_int_distribution<int>(a, b)(los); };
    long malowane = 0, rozne = 0;
    for (int i = 0; i < 300; ++i) {
        const int ile = i % 3 == 0 ? 4 : 3;
        const int bok = i < 150 ? u(4, 30) : u(40, 160);
        const int cx = u(-20, 140), cy = u(-20, 100);
        std::vector<TPunktEkranu> w(ile);
        for (auto& p : w) p = {cx + u(-bok, bok), cy + u(-bok, bok)};
        if (i % 10 == 0) w[3 % ile] = w[2];  // a repeated vertex, as the solids have

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
        const TPorownanie p = Porownaj(a, b);
        // Differences only along the edges: at most about one pixel per pixel of perimeter.
        long obwod = 0;
        for (int k = 0; k < ile; ++k) {
            const auto& s = w[k];
            const auto& t = w[(k + 1) % ile];
            obwod += std::max(std::abs(s.X - t.X), std::abs(s.Y - t.Y));
        }
        EXPECT_LE(p.rozne, obwod + 4) << "wielokat " << i;
        malowane += p.malowane;
        rozne += p.rozne;
    }
    EXPECT_GT(malowane, 100000);
    EXPECT_LT(static_cast<double>(rozne) / static_cast<double>(malowane), 0.06) << rozne << " / " << malowane;
}

// The test screen drawn by the whole redraw through either canvas.
TEST(PlotnoQtIQPainter, ZgodnyEkranTestowy) {
    ZerujStan();
    UstawZiarnoLosowe(0);
    EkranTestowy();
    Niebo = Szachownica();
    QImage a = Obraz(958, 637), b = Obraz(958, 637);
    {
        PlotnoQt pa(a);
        Przerysuj(pa, 958, 637);
        PlotnoQPainter pb(b);
        Przerysuj(pb, 958, 637);
    }
    long rozne = 0;
    for (int y = 0; y < 637; ++y)
        for (int x = 0; x < 958; ++x) rozne += a.pixel(x, y) != b.pixel(x, y);
    // The same picture; the colours differ only along the edges of the records and lines.
    EXPECT_LT(rozne, 958 * 637 / 30) << rozne;
    Niebo = TObraz{};
}

TEST(PlotnoQt, ObrazInnegoFormatuITekstMiedzyWielokatami) {
    // An 8-bit image becomes RGB32; polygons drawn after a text land in the same image.
    QImage o(60, 40, QImage::Format_Grayscale8);
    o.fill(0);
    {
        PlotnoQt p(o);
        p.UstawPioro(0x0000FF);
        p.UstawPedzel(0x0000FF);
        const TPunktEkranu w[3] = {{0, 0}, {20, 0}, {0, 20}};
        p.Wielokat(w, 3);
        QImage kopia = o;  // shares the pixels until one of them changes
        p.UstawPedzel(0x00FFFF);
        p.Tekst(2, 25, "Ab");
        const TPunktEkranu v[3] = {{40, 0}, {59, 0}, {59, 20}};
        p.UstawPedzel(0x00FF00);
        p.Wielokat(v, 3);
        EXPECT_EQ(kopia.pixelColor(55, 5), QColor(0, 0, 0));
    }
    EXPECT_EQ(o.format(), QImage::Format_RGB32);
    EXPECT_EQ(o.pixelColor(3, 3), QColor(255, 0, 0));
    EXPECT_EQ(o.pixelColor(55, 5), QColor(0, 255, 0));
    EXPECT_EQ(o.pixelColor(3, 26), QColor(255, 255, 0));

    QImage pusty;
    PlotnoQt p(pusty);
    p.Prostokat(0, 0, 10, 10);
    p.Tekst(0, 0, "x");
    EXPECT_TRUE(pusty.isNull());
}

// Every primitive drawn on two bands of rows gives the picture it gives on
// the whole buffer, wherever the bands meet.
TEST(PlotnoPasy, PasyDajaTenSamObrazCoCalosc) {
    constexpr int W = 97, H = 71;
    std::mt19937 los(11);
    auto u = [&los](int a, int b) { return std::uniform_int_distribution<int>(a, b)(los); };
    const TObraz niebo = Szachownica();
    struct TKrok {
        int rodzaj;
        std::vector<TPunktEkranu> p;
        TKolor pioro, pedzel;
    };
    std::vector<TKrok> kroki;
    for (int i = 0; i < 400; ++i) {
        TKrok k{u(0, 9), {}, static_cast<TKolor>(u(0, 0xFFFFFF)), static_cast<TKolor>(u(0, 0xFFFFFF))};
        const int ile = k.rodzaj <= 5 ? u(3, 6) : 2;
        const bool daleko = i % 17 == 0;
        for (int j = 0; j < ile; ++j)
            k.p.push_back(daleko ? TPunktEkranu{u(-2000000000, 2000000000), u(-2000000000, 2000000000)}
                                 : TPunktEkranu{u(-30, W + 30), u(-30, H + 30)});
        if (k.rodzaj == 1) k.p[2] = k.p[1];
        if (k.rodzaj == 2) k.p.assign(k.p.size(), k.p[0]);        // one point
        if (k.rodzaj == 3) k.p[2] = {k.p[0].X, k.p[1].Y};           // a right angle, edges on the rows
        if (k.rodzaj == 4) k.p[1] = {k.p[0].X + 3, k.p[0].Y + 60};  // steep
        kroki.push_back(k);
    }
    auto rysuj = [&](TPlotnoRastrowe& p) {
        for (const TKrok& k : kroki) {
            p.UstawPioro(k.pioro);
            p.UstawPedzel(k.pedzel);
            if (k.rodzaj <= 5) p.Wielokat(k.p.data(), static_cast<int>(k.p.size()));
            else if (k.rodzaj <= 7) p.Linia(k.p[0].X, k.p[0].Y, k.p[1].X, k.p[1].Y);
            else if (k.rodzaj == 8) p.Prostokat(k.p[0].X, k.p[0].Y, k.p[1].X, k.p[1].Y);
            else p.RozciagnijObraz(k.p[0].X, k.p[0].Y, k.p[1].X, k.p[1].Y, niebo);
        }
    };
    std::vector<std::uint32_t> calosc(W * H, 0xFF000000u);
    TPlotnoRastrowe pc(TBuforPikseli{calosc.data(), W, H, W});
    rysuj(pc);
    for (int podzial : {1, 2, 35, 36, H - 1}) {
        std::vector<std::uint32_t> pasy(W * H, 0xFF000000u);
        TPlotnoRastrowe gora(TBuforPikseli{pasy.data(), W, podzial, W, 0});
        TPlotnoRastrowe dol(TBuforPikseli{pasy.data(), W, H, W, podzial});
        rysuj(gora);
        rysuj(dol);
        EXPECT_EQ(pasy, calosc) << "podzial " << podzial;
    }
    // A band alone writes nothing outside its rows.
    std::vector<std::uint32_t> pas(W * H, 0xFF000000u);
    TPlotnoRastrowe srodek(TBuforPikseli{pas.data(), W, 40, W, 30});
    rysuj(srodek);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            if (y < 30 || y >= 40) ASSERT_EQ(pas[y * W + x], 0xFF000000u) << x << "," << y;
            else ASSERT_EQ(pas[y * W + x], calosc[y * W + x]) << x << "," << y;
}

// A frame large enough for two threads is the frame of one thread, frame
// after frame (the split between the bands moves), down to the picture's last
// row, and the pen and brush end as the last record left them.
TEST(PlotnoPasy, DuzaKlatkaWDwochWatkachJakWJednym) {
    ZerujStan();
    Rzut.OkoX = 479;
    Rzut.OkoY = -700;
    Rzut.OkoZ = 500;
    Niebo = Szachownica();
    std::mt19937 los(3);
    auto u = [&los](double a, double b) { return std::uniform_real_distribution<double>(a, b)(los); };
    auto troj = [&](double rozmiar) {
        TTrojkatRys r;
        const double x = u(-100, 1060), y = u(-300, 3000), z = u(-100, 740);
        r.P1 = {x, y, z};
        r.P2 = {x + u(-rozmiar, rozmiar), y + u(-30, 30), z + u(-rozmiar, rozmiar)};
        r.P3 = {x + u(-rozmiar, rozmiar), y + u(-30, 30), z + u(-rozmiar, rozmiar)};
        r.Kolor = static_cast<TKolor>(los() & 0xFFFFFF);
        return r;
    };
    for (int i = 0; i < 24000; ++i) TrojkatyTEREN.push_back(troj(i % 100 == 0 ? 300 : 12));
    for (int i = 0; i < 3000; ++i) TrojkatyPROJ.push_back(troj(20));
    TrojkatyPROJ.push_back(troj(1e7));  // far beyond the picture
    for (int i = 0; i < 50; ++i) {
        const TTrojkatRys t = troj(40);
        Czworokaty.push_back({t.P1, t.P2, t.P3, t.P3, 0, 0, t.Kolor, 0});
    }
    PrzeliczRzut();

    for (int klatka = 0; klatka < 4; ++klatka) {
        Rzut.RysujTEREN = klatka != 2;
        Rzut.RysujPROJ = klatka != 3;
        // The picture is taller than the paint area, as the window's is.
        QImage a = Obraz(958, 700), b = Obraz(958, 700);
        PlotnoQt pa(a), pb(b);
        Przerysuj(pa, 958, 637);
        Przekaznik jeden(pb);
        Przerysuj(jeden, 958, 637);
        ASSERT_TRUE(a == b) << "klatka " << klatka;
        EXPECT_EQ(pa.PikselPiora(), pb.PikselPiora());
        EXPECT_EQ(pa.PikselPedzla(), pb.PikselPedzla());
    }
    Niebo = TObraz{};
}
