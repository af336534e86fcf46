// Files opened one after another: every set keeps its file coordinates, so the order in which a terrain, a
// design surface and an alignment come from separate files changes no station, height, profile row, report
// line or picture; a later set replaces only the earlier set of its own kind.
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "analiza/Profil.h"
#include "analiza/Wysokosci.h"
#include "pomocnicze/Pomocnicze.h"
#include "render/Rasteryzer.h"
#include "render/RysujPerspektywa.h"
#include "scena/InfoProjekt.h"
#include "wymiana/LandXML.h"

namespace {

// A national grid's easting and northing: far from the origin, as real surveys are.
constexpr double E0 = 5500000, N0 = 6000000;
constexpr int W = 320, H = 240;

std::string Liczba(double v) {
    char b[64];
    std::snprintf(b, sizeof b, "%.3f", v);
    return b;
}

// A surface over E0..E0+400 by N0-100..N0+100 in 50 m cells, height z(e, n) in metres from E0, N0.
std::string Powierzchnia(const std::string& nazwa, double (*z)(double, double)) {
    std::string p, f;
    int id = 0;
    for (int j = 0; j <= 4; ++j)
        for (int i = 0; i <= 8; ++i) {
            const double e = 50.0 * i, n = -100 + 50.0 * j;
            p += "<P id=\"" + std::to_string(++id) + "\">" + Liczba(N0 + n) + " " + Liczba(E0 + e) + " " +
                 Liczba(z(e, n)) + "</P>";
        }
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 8; ++i) {
            const int a = j * 9 + i + 1, b = a + 1, c = a + 10, d = a + 9;
            f += "<F>" + std::to_string(a) + " " + std::to_string(b) + " " + std::to_string(c) + "</F><F>" +
                 std::to_string(a) + " " + std::to_string(c) + " " + std::to_string(d) + "</F>";
        }
    return "<?xml version=\"1.0\"?><LandXML><Units><Metric linearUnit=\"meter\"/></Units><Surfaces><Surface name=\"" +
           nazwa + "\"><Definition surfType=\"TIN\"><Pnts>" + p + "</Pnts><Faces>" + f +
           "</Faces></Definition></Surface></Surfaces></LandXML>";
}

// The alignment: a straight along the northing N0 from E0 + 20 to E0 + 380, chainage from 0.
std::string Os() {
    return "<?xml version=\"1.0\"?><LandXML><Units><Metric linearUnit=\"meter\"/></Units><Alignments>"
           "<Alignment name=\"Os\" staStart=\"0\"><CoordGeom><Line><Start>" +
           Liczba(N0) + " " + Liczba(E0 + 20) + "</Start><End>" + Liczba(N0) + " " + Liczba(E0 + 380) +
           "</End></Line></CoordGeom></Alignment></Alignments></LandXML>";
}

double Teren(double e, double n) { return 100 + 0.02 * e + 0.01 * n; }
double Projekt(double e, double n) { return 103 + 0.01 * e - 0.001 * n * n / 50; }

enum TPlik { Terenu, Projektu, Osi };

void Otworz(TPlik p) {
    if (p == Terenu) {
        OtworzLandXMLZBufora(Powierzchnia("Istniejacy", Teren), "teren.xml");
    } else if (p == Projektu) {
        TWyborLandXML w;
        w.BezTerenu = true;
        w.Proj = "Projekt";
        OtworzLandXMLZBufora(Powierzchnia("Projekt", Projekt), "projekt.xml", w);
    } else {
        OtworzLandXMLZBufora(Os(), "os.xml");
    }
}

// What the user sees of the scene: the route's stations in file coordinates, the long profile's rows, the
// reports and the picture at a chainage.
struct TWidok {
    std::vector<std::string> Stacje, Profil, Raport;
    std::vector<std::uint32_t> Obraz;
};

TWidok Zobacz() {
    TWidok w;
    EXPECT_TRUE(Trasa.Obliczona);
    for (double s : {0.0, 90.0, 180.0, 359.0}) {
        double x = 0, y = 0;
        PunktNaPikiecie(s, x, y);
        w.Stacje.push_back(Liczba(x + Trasa.Dx) + " " + Liczba(y + Trasa.Dy));
    }
    const TIndeksyWysokosci ix = IndeksyWysokosci(ProjektOkna);
    for (const TPunktProfilu& p : ObliczProfil(Trasa, PikietyCoKrok(Trasa.PikMax, 30), *ix.PROJ, *ix.TEREN))
        w.Profil.push_back(Liczba(p.Pikieta) + " " + (p.ZProj ? Liczba(*p.ZProj) : "-") + " " +
                           (p.ZTeren ? Liczba(*p.ZTeren) : "-"));
    OpisTekst.clear();
    InfoTerenProj();
    InfoTrasy();
    w.Raport = OpisTekst;
    PrzejdzNaPikiete(120);
    w.Obraz.resize(W * H);
    TPlotnoRastrowe p(TBuforPikseli{w.Obraz.data(), W, H, W});
    Przerysuj(p, W, H);
    return w;
}

}  // namespace

TEST(KolejnoscPlikow, ZadnaKolejnoscTrzechPlikowNieZmieniaStacjiWysokosciRaportuAniObrazu) {
    std::array<TPlik, 3> kolejnosc{Terenu, Projektu, Osi};
    ZerujStan(W, H);
    for (TPlik p : kolejnosc) Otworz(p);
    const TWidok wzor = Zobacz();
    // The stations lie on the file's straight; the heights are the two planes' (worked by hand at 0+090: e = 110).
    EXPECT_EQ(wzor.Stacje[1], Liczba(E0 + 110) + " " + Liczba(N0));
    ASSERT_GE(wzor.Profil.size(), 4u);
    EXPECT_EQ(wzor.Profil[3], "90.000 " + Liczba(Projekt(110, 0)) + " " + Liczba(Teren(110, 0)));
    int roznych = 0;
    do {
        ZerujStan(W, H);
        for (TPlik p : kolejnosc) Otworz(p);
        const TWidok w = Zobacz();
        const std::string nazwa = std::to_string(kolejnosc[0]) + std::to_string(kolejnosc[1]) +
                                  std::to_string(kolejnosc[2]);
        EXPECT_EQ(w.Stacje, wzor.Stacje) << nazwa;
        EXPECT_EQ(w.Profil, wzor.Profil) << nazwa;
        EXPECT_EQ(w.Raport, wzor.Raport) << nazwa;
        EXPECT_TRUE(w.Obraz == wzor.Obraz) << nazwa;
        ++roznych;
    } while (std::next_permutation(kolejnosc.begin(), kolejnosc.end()));
    EXPECT_EQ(roznych, 6);
    // The report's screen ranges stay within the picture's scale (no set shifted twice).
    for (const std::string& l : wzor.Raport)
        if (l.find("(ekran)") != std::string::npos) EXPECT_EQ(l.find("E+"), std::string::npos) << l;
}

TEST(KolejnoscPlikow, PozniejszyZbiorZastepujeTylkoZbiorTegoSamegoRodzaju) {
    // A second terrain replaces the first; the design surface and the route stay where their files put them.
    ZerujStan(W, H);
    Otworz(Projektu);
    Otworz(Osi);
    Otworz(Terenu);
    OtworzLandXMLZBufora(Powierzchnia("Drugi", [](double e, double) { return 50 + 0.0 * e; }), "drugi.xml");
    const TIndeksyWysokosci ix = IndeksyWysokosci(ProjektOkna);
    const std::vector<TPunktProfilu> p = ObliczProfil(Trasa, {90.0}, *ix.PROJ, *ix.TEREN);
    ASSERT_EQ(p.size(), 1u);
    EXPECT_NEAR(p[0].ZTeren.value_or(-1), 50.0, 1e-9);
    EXPECT_NEAR(p[0].ZProj.value_or(-1), Projekt(110, 0), 1e-9);
    double x = 0, y = 0;
    PunktNaPikiecie(90, x, y);
    EXPECT_NEAR(x + Trasa.Dx, E0 + 110, 1e-6);
    EXPECT_NEAR(y + Trasa.Dy, N0, 1e-6);
}
