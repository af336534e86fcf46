// The long profile with a design line: its line, labels and band drawn, and the chainage's line giving the design
// line's height, fill or cut and grade.
#include <QImage>
#include <QPainter>

#include "dialogs/RysunekNiwelety.h"
#include "dialogs/RysunekProfilu.h"
#include "pomocnicze/Pomocnicze.h"
#include "route/Niweleta.h"

namespace {

TPVI P(double pik, double z, TLukPionowy luk = TLukPionowy::Brak, double a = 0) {
    TPVI p;
    p.Pik = pik, p.Z = z, p.Luk = luk;
    if (luk == TLukPionowy::Parabola) p.Dlugosc = a;
    if (luk == TLukPionowy::Kolowy) p.R = a;
    return p;
}

// A route of 600 m starting at 1+000 over ground at 101 m, with a crest parabola of 100 m over 1+200 and a
// sag circle of R 3000 over 1+400.
TDaneRysunkuProfilu Dane(double pikieta) {
    TDaneRysunkuProfilu d;
    d.JestTrasa = true;
    d.PikMin = 0, d.PikMax = 600, d.PikStart = 1000;
    for (int s = 0; s <= 600; s += 5) {
        TPunktProfilu p;
        p.Pikieta = s;
        p.ZTeren = 101 + 0.5 * std::sin(s / 60.0);
        d.Profil.push_back(p);
    }
    d.Pikieta = pikieta;
    d.NaOsi.Pikieta = pikieta;
    d.NaOsi.ZTeren = 101;
    d.Niweleta = ZbudujNiwelete("N", {P(1000, 100), P(1200, 104, TLukPionowy::Parabola, 100),
                                      P(1400, 100, TLukPionowy::Kolowy, 3000), P(1600, 102)});
    return d;
}

int Piksele(const QImage& obraz, QRgb kolor) {
    int n = 0;
    for (int y = 0; y < obraz.height(); ++y)
        for (int x = 0; x < obraz.width(); ++x) n += obraz.pixel(x, y) == kolor;
    return n;
}

}  // namespace

TEST(RysunekNiwelety, LiniaPasekIOpis) {
    UstawLocale przecinek(',');
    const TDaneRysunkuProfilu d = Dane(200);
    EXPECT_EQ(OpisPikiety(d),
              "km 1+200,00   Niweleta: 103,50 m   Teren: 101,00 m   Nasyp: 2,50 m   Pochylenie: 0,00 %");
    // Past the last breakpoint there is no design line: no height, no fill, no grade.
    TDaneRysunkuProfilu poza = Dane(600);
    poza.PikMax = 700;
    poza.Pikieta = 650;
    EXPECT_EQ(OpisPikiety(poza), "km 1+650,00   Niweleta: brak   Teren: 101,00 m");

    const QImage obraz = ObrazProfilu(d, RozmiarRysunkuProfilu);
    obraz.save(QString::fromStdString(KatalogTymczasowy() + "/niweleta.png"));
    if (const char* k = std::getenv("ORVANY_OBRAZY")) obraz.save(QString(k) + "/niweleta.png");
    // The design line in its colour, and without a design line none of it.
    EXPECT_GT(Piksele(obraz, qRgb(20, 20, 160)), 600);
    TDaneRysunkuProfilu bez = d;
    bez.Niweleta = {};
    EXPECT_EQ(Piksele(ObrazProfilu(bez, RozmiarRysunkuProfilu), qRgb(20, 20, 160)), 0);
    // The design line's points: every curve's ends among them and its heights on the line.
    const auto punkty = PunktyNiwelety(d.Niweleta, 100);
    for (double s : {1150.0, 1250.0, d.Niweleta.Punkty[2].Pocz, d.Niweleta.Punkty[2].Kon})
        EXPECT_TRUE(std::any_of(punkty.begin(), punkty.end(), [&](auto p) { return p.first == s; })) << s;
    for (const auto& [s, z] : punkty) EXPECT_EQ(z, WysokoscNiwelety(d.Niweleta, s).value());
    EXPECT_EQ(punkty.front().first, 1000);
    EXPECT_EQ(punkty.back().first, 1600);
}

// The labels' boxes never meet: on the profile of tests/dane/osie_civil3d.xml as a picture 1000 px wide shows it
// (a crest's radius and length used to lie over the next grade) every label has its place; on breakpoints every
// 15 m, too close for all, the labels left keep apart and inside the plot.
TEST(RysunekNiwelety, EtykietySieNieNakladaja) {
    QImage obraz(1000, 300, QImage::Format_RGB32);
    QPainter m(&obraz);
    const QFontMetrics fm = m.fontMetrics();
    const double s0 = 641.2153, s1 = 1475.27;
    const TOdwzorowanieProfilu w{[&](double s) { return 74 + (s - s0) * 910 / (s1 - s0); },
                                 [](double z) { return 131 - (z - 210) * 11; }, QRectF(74, 28, 910, 180)};
    using enum TLukPionowy;
    const TNiweleta civil = ZbudujNiwelete(
        "N", {P(s0, 210), P(800, 213.5, Parabola, 120), P(1000, 209, Parabola, 112.48), P(1200, 212, Parabola, 100),
              P(s1, 210)});
    std::vector<TPVI> gesto;
    for (int i = 0; i <= 40; ++i) gesto.push_back(P(s0 + 15 * i, 210 + (i % 2) * 0.6, i % 40 ? Parabola : Brak, 8));
    for (const TNiweleta& n : {civil, ZbudujNiwelete("G", gesto)}) {
        const std::vector<TEtykietaNiwelety> e = EtykietyNiwelety(fm, w, n);
        if (&n != &civil) EXPECT_LT(e.size(), 41u + 39 + 40);
        for (std::size_t i = 0; i < e.size(); ++i) {
            EXPECT_TRUE(e[i].Pionowa || w.Pole.contains(e[i].Pole)) << e[i].Tekst.toStdString();
            for (std::size_t j = 0; j < i; ++j)
                EXPECT_FALSE(e[i].Pole.intersects(e[j].Pole))
                    << e[i].Tekst.toStdString() << " / " << e[j].Tekst.toStdString();
        }
    }
    const std::vector<TEtykietaNiwelety> e = EtykietyNiwelety(fm, w, civil);
    EXPECT_EQ(e.size(), 5u + 3 + 4);
    // A curve's radius and length lie off the design line (a crest's, under its breakpoint, used to lie across it).
    for (const TEtykietaNiwelety& x : e) {
        if (!x.Tekst.startsWith("R = ")) continue;
        for (double px = x.Pole.left(); px <= x.Pole.right(); px += 1) {
            const double y = w.Y(WysokoscNiwelety(civil, s0 + (px - 74) * (s1 - s0) / 910).value());
            EXPECT_FALSE(y >= x.Pole.top() && y <= x.Pole.bottom()) << x.Tekst.toStdString() << " x " << px;
        }
    }
}
