// orvany3d-cli spadki, pochylenia and objetosci on a LandXML file worked by hand: a straight route of
// 100 m along +X starting at chainage 1000, a terrain plane and a crowned design surface whose bands, cross-falls
// and volumes have closed forms; the exit codes and the stderr note of the area with no terrain. The commands
// run in this process one after another (each loads its files into a project of its own).
#include <charconv>
#include <sstream>

#include "cli/Polecenia.h"
#include "pomocnicze/Pomocnicze.h"

namespace {

struct TWynik {
    int Kod;
    std::string Wyjscie, Bledy;
};

TWynik Uruchom(const std::vector<std::string>& argumenty) {
    std::ostringstream wyjscie, bledy;
    const int kod = WykonajPolecenie(argumenty, wyjscie, bledy);
    return {kod, wyjscie.str(), bledy.str()};
}

// A surface of LandXML: points "northing easting elevation" (y x z) and faces.
std::string Powierzchnia(const std::string& nazwa, const std::vector<TPunkt3D>& p,
                         const std::vector<std::array<int, 3>>& f) {
    std::string t = "<Surface name=\"" + nazwa + "\"><Definition surfType=\"TIN\"><Pnts>\n";
    for (std::size_t i = 0; i < p.size(); ++i)
        t += "<P id=\"" + std::to_string(i + 1) + "\">" + std::to_string(p[i].Y) + " " + std::to_string(p[i].X) + " " +
             std::to_string(p[i].Z) + "</P>\n";
    t += "</Pnts><Faces>\n";
    for (const auto& a : f)
        t += "<F>" + std::to_string(a[0]) + " " + std::to_string(a[1]) + " " + std::to_string(a[2]) + "</F>\n";
    return t + "</Faces></Definition></Surface>\n";
}

// TEREN: z = 10 over x -10..110, y -10..40 (the design's strip y < -10 has none under it).
// PROJ: z = 11 + 0.01 x - 0.02 |y| over x 0..100, y -15..15: a crown falling 2 % each way on a grade of 1 %.
// The route: x from 0 to 100 along y = 0, staStart 1000.
std::string Projekt(bool zProjektem) {
    auto z = [](double x, double y) { return 11 + 0.01 * x - 0.02 * std::fabs(y); };
    std::string t = "<?xml version=\"1.0\"?>\n<LandXML><Units><Metric linearUnit=\"meter\"/></Units><Surfaces>\n";
    t += Powierzchnia("Teren", {{-10, -10, 10}, {110, -10, 10}, {110, 40, 10}, {-10, 40, 10}}, {{1, 2, 3}, {1, 3, 4}});
    if (zProjektem)
        t += Powierzchnia("Projekt",
                          {{0, -15, z(0, -15)},
                           {100, -15, z(100, -15)},
                           {100, 0, z(100, 0)},
                           {0, 0, z(0, 0)},
                           {100, 15, z(100, 15)},
                           {0, 15, z(0, 15)}},
                          {{1, 2, 3}, {1, 3, 4}, {4, 3, 5}, {4, 5, 6}});
    t += "</Surfaces><Alignments><Alignment name=\"Oś\" staStart=\"1000\" length=\"100\"><CoordGeom>"
         "<Line><Start>0 0</Start><End>0 100</End></Line></CoordGeom></Alignment></Alignments></LandXML>\n";
    return t;
}

struct NarzedzieKontroli : ::testing::Test {
    void SetUp() override {
        ZapiszPlik(plik, Projekt(true));
        ZapiszPlik(bezProjektu, Projekt(false));
    }
    const std::string kat = KatalogTymczasowy(), plik = kat + "/droga.xml", bezProjektu = kat + "/teren.xml";
};

}  // namespace

TEST_F(NarzedzieKontroli, SpadkiPochyleniaObjetosciJakLiczoneRecznie) {
    // Bands at the multiples of 30 of the displayed chainage (1020, 1050, 1080) between the route's start 1000 and
    // its end 1100; W = 10: 20 m across. The resultant
    // slope is sqrt(1^2 + 2^2) % everywhere.
    const TWynik s = Uruchom({"spadki", plik, "--proj", "Projekt", "--krok", "30", "--szerokosc", "10"});
    EXPECT_EQ(std::tuple(s.Kod, s.Bledy), std::tuple(0, ""));
    EXPECT_EQ(s.Wyjscie,
              "pikieta_od;pikieta_do;pole;pole_plaskie;spadek_min\n"
              "1000.000;1020.000;400.000;0.000;2.236\n1020.000;1050.000;600.000;0.000;2.236\n"
              "1050.000;1080.000;600.000;0.000;2.236\n1080.000;1100.000;400.000;0.000;2.236\n");
    // A threshold above it: all flat.
    const TWynik p = Uruchom({"spadki", plik, "--proj", "Projekt", "--krok", "50", "--prog", "2.5"});
    EXPECT_EQ(p.Wyjscie,
              "pikieta_od;pikieta_do;pole;pole_plaskie;spadek_min\n"
              "1000.000;1050.000;1500.000;1500.000;2.236\n1050.000;1100.000;1500.000;1500.000;2.236\n");

    // q = -2 % both sides at the stations of pikiety (the ends 0.001 inside), no change along the road; an edge
    // beyond the surface gives empty fields.
    const TWynik q = Uruchom({"pochylenia", plik, "--proj", "Projekt", "--krok", "50"});
    EXPECT_EQ(std::tuple(q.Kod, q.Bledy), std::tuple(0, ""));
    EXPECT_EQ(q.Wyjscie,
              "pikieta;q_lewe;q_prawe;zmiana_lewe;zmiana_prawe\n1000.000;-2.000;-2.000;0.000;0.000\n"
              "1050.000;-2.000;-2.000;0.000;0.000\n1100.000;-2.000;-2.000;0.000;0.000\n");
    EXPECT_EQ(Uruchom({"pochylenia", plik, "--proj", "Projekt", "--krok", "50", "--szerokosc", "20"}).Wyjscie,
              "pikieta;q_lewe;q_prawe;zmiana_lewe;zmiana_prawe\n1000.000;;;;\n1050.000;;;;\n1100.000;;;;\n");

    // Fill 1 + 0.01 x - 0.02 |y| over y -10..15 (below -10 no terrain: 5 x 100 m^2 left out):
    // per metre of x 25 (1 + 0.01 x) - 0.02 (112.5 + 50) = 21.75 + 0.25 x.
    const TWynik o = Uruchom({"objetosci", plik, "--proj", "Projekt", "--krok", "30", "--wspolczynnik", "1.2"});
    EXPECT_EQ(o.Kod, 0);
    auto nasyp = [](double a, double b) { return 21.75 * (b - a) + 0.125 * (b * b - a * a); };
    std::string oczekiwane = "pikieta_od;pikieta_do;wykop;nasyp;masa\n";
    double masa = 0;
    for (auto [a, b] : {std::pair{0, 20}, {20, 50}, {50, 80}, {80, 100}}) {
        masa -= nasyp(a, b);
        char w[200];
        std::snprintf(w, sizeof w, "%d.000;%d.000;0.000;%.3f;%.3f\n", 1000 + a, 1000 + b, nasyp(a, b), masa);
        oczekiwane += w;
    }
    EXPECT_EQ(o.Wyjscie, oczekiwane);
    EXPECT_EQ(o.Bledy, "Pominięto 500.000 m² powierzchni projektowanej bez terenu pod nią.\n");
}

TEST_F(NarzedzieKontroli, KodyWyjscia) {
    // Bad options: 2, nothing written.
    for (const auto& a : std::vector<std::vector<std::string>>{{"spadki", plik, "--krok", "0"},
                                                               {"spadki", plik, "--prog", "x"},
                                                               {"spadki", plik, "--szerokosc", "-1"},
                                                               {"pochylenia", plik, "--nic"},
                                                               {"objetosci", plik, "--wspolczynnik", "0"},
                                                               {"objetosci", kat + "/a.txt"}}) {
        const TWynik w = Uruchom(a);
        EXPECT_EQ(w.Kod, 2) << a[0] << " " << a.back() << ": " << w.Bledy;
        EXPECT_TRUE(w.Wyjscie.empty());
    }
    // No design surface: the message and 1, for each command.
    for (const char* polecenie : {"spadki", "pochylenia", "objetosci"}) {
        const TWynik w = Uruchom({polecenie, bezProjektu});
        EXPECT_EQ(w.Kod, 1) << polecenie;
        EXPECT_NE(w.Bledy.find("Brak powierzchni projektowanej (PROJ): nie ma czego sprawdzać."), std::string::npos)
            << w.Bledy;
        EXPECT_TRUE(w.Wyjscie.empty());
    }
    // No route: 3.
    const TWynik t = Uruchom({"spadki", plik, "--proj", "Projekt", "--bez-trasy"});
    EXPECT_EQ(t.Kod, 3) << t.Bledy;
}
