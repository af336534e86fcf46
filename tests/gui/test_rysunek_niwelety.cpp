// The long profile with a design line: its line, labels and band drawn, and the chainage's line giving the design
// line's height, fill or cut and grade.
#include <QImage>

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
