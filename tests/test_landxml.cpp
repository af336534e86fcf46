// LandXML against a walk along the alignment's curvature, surfaces, refusals; the GLB writer (the round trip through the
// LandXML writer is the readers' contract's).
#include <cstring>
#include <numeric>
#include <sstream>

#include "pomocnicze/Pomocnicze.h"
#include "render/Rasteryzer.h"
#include "scena/WidokKierowcy.h"
#include "test_pliki_dane.h"
#include "wymiana/GLTF.h"
#include "wymiana/LandXML.h"
#include "wymiana/LandXMLWspolne.h"

using namespace pliki_testowe;

namespace {

enum Rodzaj { Prosta, Wejscie, Luk, Wyjscie, Posrednia };
// R: radius of the arc the curve reaches (a Posrednia clothoid between two arcs: from R to R2); strona: +1
// left, -1 right.
struct TOdcinek {
    Rodzaj r;
    double L, R = 0;
    int strona = 0;
    double R2 = 0;
};
struct TStan {
    double x, y, kat;
};

// The heading at s: the curvature integrated exactly (it is linear in s).
double Kat(const TOdcinek& o, double kat0, double s) {
    switch (o.r) {
        case Wejscie: return kat0 + o.strona * s * s / (2 * o.R * o.L);
        case Luk: return kat0 + o.strona * s / o.R;
        case Wyjscie: return kat0 + o.strona * (s - s * s / (2 * o.L)) / o.R;
        case Posrednia: return kat0 + o.strona * (s / o.R + (1 / o.R2 - 1 / o.R) * s * s / (2 * o.L));
        default: return kat0;
    }
}
// Position at s by Simpson's rule on cos/sin of the heading.
TStan Idz(const TOdcinek& o, TStan a, double s) {
    const int n = 2 * std::max(1, static_cast<int>(s * 20));
    const double h = s / n;
    double sx = 0, sy = 0;
    for (int i = 0; i <= n; ++i) {
        const double w = (i == 0 || i == n) ? 1 : (i % 2 ? 4 : 2);
        const double k = Kat(o, a.kat, i * h);
        sx += w * std::cos(k);
        sy += w * std::sin(k);
    }
    return {a.x + sx * h / 3, a.y + sy * h / 3, Kat(o, a.kat, s)};
}

struct TOs {
    TStan start;
    std::vector<TOdcinek> odc;
    // The plan point at chainage s from the start.
    TStan Punkt(double s) const {
        TStan a = start;
        for (const TOdcinek& o : odc) {
            if (s <= o.L) return Idz(o, a, s);
            a = Idz(o, a, o.L);
            s -= o.L;
        }
        return a;
    }
    double Dlugosc() const {
        return std::accumulate(odc.begin(), odc.end(), 0.0, [](double d, auto& o) { return d + o.L; });
    }
};

std::string F(double v) {
    char b[64];
    return std::snprintf(b, sizeof b, "%.6f", v), b;
}
// "northing easting" in the file's unit.
std::string NE(double x, double y, double k) { return F(y / k) + " " + F(x / k); }

// The alignment as LandXML CoordGeom, in a unit of k metres. Spirals with
// pi get their PI point; "dir" attributes carry nonsense (they must be ignored).
std::string CoordGeom(const TOs& os, double k, bool zPI = true) {
    std::string w = "<CoordGeom>\n";
    TStan a = os.start;
    for (const TOdcinek& o : os.odc) {
        const TStan b = Idz(o, a, o.L);
        const std::string se = "<Start>" + NE(a.x, a.y, k) + "</Start>";
        const std::string en = "<End>" + NE(b.x, b.y, k) + "</End>";
        const char* rot = o.strona > 0 ? "ccw" : "cw";
        if (o.r == Prosta) {
            w += "<Line dir=\"123.4\" length=\"" + F(o.L / k) + "\">" + se + en + "</Line>\n";
        } else if (o.r == Luk) {
            const double cx = a.x - o.strona * std::sin(a.kat) * o.R, cy = a.y + o.strona * std::cos(a.kat) * o.R;
            w += "<Curve rot=\"" + std::string(rot) + "\" crvType=\"arc\" radius=\"" + F(o.R / k) +
                 "\" dirStart=\"9\">" + se + "<Center>" + NE(cx, cy, k) + "</Center>" + en + "</Curve>\n";
        } else {
            std::string pi;
            if (zPI) {
                // PI: where the end tangents meet.
                const double m = std::sin(b.kat - a.kat);
                const double t = ((b.x - a.x) * std::sin(b.kat) - (b.y - a.y) * std::cos(b.kat)) / m;
                pi = "<PI>" + NE(a.x + t * std::cos(a.kat), a.y + t * std::sin(a.kat), k) + "</PI>";
            }
            const std::string r = F(o.R / k);
            const std::string r1 = o.r == Wejscie ? "INF" : r, r2 = o.r == Posrednia ? F(o.R2 / k)
                                                                    : o.r == Wejscie ? r
                                                                                     : "INF";
            w += "<Spiral length=\"" + F(o.L / k) + "\" radiusStart=\"" + r1 + "\" radiusEnd=\"" + r2 + "\" rot=\"" +
                 rot + "\" spiType=\"clothoid\" dirStart=\"1\">" + se + pi + en + "</Spiral>\n";
        }
        a = b;
    }
    return w + "</CoordGeom>\n";
}

std::string Plik(const std::string& tresc,
                 const std::string& jednostki = "<Units><Metric linearUnit=\"meter\"/></Units>") {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.2\" "
           "version=\"1.2\">\n" +
           jednostki + "\n" + tresc + "</LandXML>\n";
}

std::string Trasa1(const TOs& os, double k = 1.0, const std::string& nazwa = "Oś", double staStart = 1000.0,
                   bool zPI = true) {
    return "<Alignments><Alignment name=\"" + nazwa + "\" staStart=\"" + F(staStart / k) + "\" length=\"1\">\n" +
           CoordGeom(os, k, zPI) + "</Alignment></Alignments>\n";
}

// Straight, clothoid, arc, clothoid, straight; then a bend without clothoids, on grid coordinates.
const std::vector<TOdcinek> kOdcinki = {{Prosta, 100}, {Wejscie, 60, 300, 1}, {Luk, 80, 300, 1}, {Wyjscie, 60, 300, 1},
                                        {Prosta, 120}, {Luk, 70, 200, -1},    {Prosta, 100}};
const TOs kOs{{5500000.0, 4600000.0, 0.5}, kOdcinki};

// The route's points every 5 m against the oracle, in file coordinates.
double NajwiekszaOdchylka(const TOs& os) {
    double m = 0;
    for (double s = 1, x = 0, y = 0; s < os.Dlugosc() - 1; s += 5) {
        PunktNaPikiecie(s, x, y);
        m = std::max(m, std::hypot(x + Trasa.Dx - os.Punkt(s).x, y + Trasa.Dy - os.Punkt(s).y));
    }
    return m;
}

// The message of loading the file w.xml (what a failed load leaves is the readers' contract's business).
std::string BladWczytania(const std::string& plik) {
    return Blad([&] { OtworzLandXMLZBufora(plik, "w.xml"); });
}

// Two surfaces in feet: ids out of order and with gaps (or texts), an invisible face, a namespace
// prefix, a byte-order mark and CR LF.
std::string Powierzchnie(bool tekstoweId) {
    auto id = [&](int n) { return tekstoweId ? "pt-" + std::to_string(n) : std::to_string(n); };
    auto P = [&](int n, const char* xyz) { return "<lx:P id=\"" + id(n) + "\">" + xyz + "</lx:P>\r\n"; };
    std::string s =
        "\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<lx:LandXML xmlns:lx=\"http://www.landxml.org/schema/LandXML-1.2\">\r\n"
        "<lx:Units><lx:Imperial linearUnit=\"foot\"/></lx:Units>\r\n<lx:Surfaces>\r\n"
        "<lx:Surface name=\"Istniejący\"><lx:Definition surfType=\"TIN\"><lx:Pnts>\r\n";
    s += P(70, "200 100 10") + P(3, "200 110 12") + P(500, "210 100 11") + P(9, "210 110 13") +
         "</lx:Pnts><lx:Faces>\r\n<lx:F>" + id(70) + " " + id(3) + " " + id(500) + "</lx:F>\r\n<lx:F i=\"1\">" + id(3) +
         " " + id(9) + " " + id(500) + "</lx:F>\r\n</lx:Faces></lx:Definition></lx:Surface>\r\n";
    s += "<lx:Surface name=\"Projekt\"><lx:Definition surfType=\"TIN\"><lx:Pnts><lx:P id=\"1\">0 0 1</lx:P>"
         "<lx:P id=\"2\">0 10 1</lx:P><lx:P id=\"3\">10 0 1</lx:P></lx:Pnts><lx:Faces><lx:F>1 2 3</lx:F></lx:Faces>"
         "</lx:Definition></lx:Surface>\r\n</lx:Surfaces>\r\n</lx:LandXML>\r\n";
    return s;
}

}  // namespace

TEST(LandXMLTrasa, PikietyWJednostkachPlikuIKlotoidyBezOgraniczen) {
    // A 6 m clothoid on R 300 (A = 42.4) is below the design limit a .tro build would raise it to.
    const TOs krotka{{0, 0, 0},
                     {{Prosta, 50}, {Wejscie, 6, 300, 1}, {Luk, 50, 300, 1}, {Wyjscie, 6, 300, 1}, {Prosta, 50}}};
    // A reverse curve on a straight of zero length; a compound curve; no arc between clothoids; an arc first.
    const std::vector<TOdcinek> s = {{Prosta, 80}, {Wejscie, 50, 250, 1},  {Luk, 40, 250, 1},  {Wyjscie, 50, 250, 1},
                                     {Prosta, 0},  {Wejscie, 50, 250, -1}, {Luk, 40, 250, -1}, {Wyjscie, 50, 250, -1},
                                     {Prosta, 80}};
    const TOs odwrotna{{0, 0, 1.0}, s};
    const TOs zlozona{{0, 0, 0}, {{Prosta, 50}, {Luk, 40, 300, 1}, {Luk, 40, 200, 1}, {Prosta, 50}}};
    const TOs bezLuku{{0, 0, 0.3}, {{Prosta, 50}, {Wejscie, 60, 300, -1}, {Wyjscie, 60, 300, -1}, {Prosta, 50}}};
    const TOs odLuku{{0, 0, 0.3}, {{Luk, 60, 300, 1}, {Prosta, 50}}};
    // An egg-shaped transition (a clothoid from R 400 to R 200 between the arcs), transitions on one side
    // only, and a spiral from a finite radius to a straight after an arc.
    const TOs jajowa{{0, 0, 0.1},
                     {{Prosta, 50},
                      {Wejscie, 40, 400, 1},
                      {Luk, 50, 400, 1},
                      {Posrednia, 30, 400, 1, 200},
                      {Luk, 40, 200, 1},
                      {Wyjscie, 40, 200, 1},
                      {Prosta, 50}}};
    const TOs jednostronna{{10, 20, -0.4},
                           {{Prosta, 50},
                            {Wejscie, 40, 300, -1},
                            {Luk, 60, 300, -1},
                            {Prosta, 50},
                            {Luk, 60, 250, 1},
                            {Wyjscie, 35, 250, 1},
                            {Prosta, 40}}};
    const std::string metry = "<Units><Metric linearUnit=\"meter\"/></Units>";
    // The route, its units, the metres of one unit, PI points of the spirals given.
    const std::tuple<const TOs*, std::string, double, bool> przypadki[] = {
        {&kOs, metry, 1.0, true},
        {&kOs, "<Units><Imperial linearUnit=\"USSurveyFoot\"/></Units>", 1200.0 / 3937.0, false},
        {&krotka, metry, 1.0, true},
        {&odwrotna, metry, 1.0, true},
        {&zlozona, metry, 1.0, true},
        {&bezLuku, metry, 1.0, true},
        {&odLuku, metry, 1.0, true},
        {&jajowa, metry, 1.0, true},
        {&jajowa, metry, 1.0, false},
        {&jednostronna, metry, 1.0, true}};
    for (const auto& [os, jednostki, k, zPI] : przypadki) {
        SCOPED_TRACE(jednostki + " " + std::to_string(os->Dlugosc()));
        ZerujStan();
        OtworzLandXMLZBufora(Plik(Trasa1(*os, k, "Oś", 1000.0, zPI), jednostki), "os.xml");
        ASSERT_TRUE(Trasa.Obliczona) << (KomunikatyTrasy.empty() ? "" : KomunikatyTrasy[0]);
        EXPECT_NEAR(Trasa.PikStart, 1000.0, 1e-6);
        EXPECT_NEAR(Trasa.PikMax, os->Dlugosc(), 0.001);
        EXPECT_LT(NajwiekszaOdchylka(*os), 0.001);
        // The route is the file's chain, element for element (lines of no length left out), not vertices.
        EXPECT_TRUE(Trasa.Zalomy.empty() && Trasa.GeometriaZPliku);
        const auto& el = Trasa.Lancuch.Elementy;
        ASSERT_EQ(el.size(), static_cast<std::size_t>(
                                 std::count_if(os->odc.begin(), os->odc.end(), [](auto& o) { return o.L > 0; })));
        for (std::size_t i = 0, j = 0; i < os->odc.size(); ++i) {
            const TOdcinek& o = os->odc[i];
            if (o.L == 0) continue;
            const TElementOsi& e = el[j++];
            EXPECT_NEAR(e.Dlugosc, o.L, 1e-4) << i;
            const double kr = o.r == Prosta || o.r == Wejscie ? 0 : o.strona / o.R;
            const double kk = o.r == Prosta || o.r == Wyjscie ? 0 : o.strona / (o.r == Posrednia ? o.R2 : o.R);
            EXPECT_NEAR(e.K1, kr, 1e-9) << i;
            EXPECT_NEAR(e.K2, kk, 1e-9) << i;
        }
    }
}

TEST(LandXMLTrasa, OdrzuconeLancuchyINiezgodnaGeometria) {
    std::string klotoidaMiedzyLukami = Trasa1(
        TOs{{0, 0, 0}, {{Prosta, 50}, {Luk, 40, 300, 1}, {Luk, 40, 200, 1}, {Prosta, 50}}});
    // Between the two arcs a clothoid from R 300 to R 200 whose points are nowhere near them.
    klotoidaMiedzyLukami.replace(klotoidaMiedzyLukami.find("<Curve", klotoidaMiedzyLukami.find("</Curve>")), 0,
                                 "<Spiral length=\"10\" radiusStart=\"300\" radiusEnd=\"200\" rot=\"ccw\"><Start>0 "
                                 "0</Start><End>0 0</End></Spiral>");
    // The straight after the bend turned by a little: it leaves the arc's end at an angle.
    std::string krzywa = Trasa1(kOs);
    const std::size_t ostatniaProsta = krzywa.rfind("<Line");
    const std::size_t koniec = krzywa.find("<End>", ostatniaProsta) + 5;
    krzywa.replace(koniec, krzywa.find(' ', koniec) - koniec, F(kOs.Punkt(kOs.Dlugosc()).y + 0.5));
    const std::pair<std::string, std::string> przypadki[] = {
        {klotoidaMiedzyLukami, "element nr 3 (Spiral, wiersz 8): koniec obliczony z jego początku"},
        {krzywa, "element nr 7 (Line, wiersz 12) zaczyna się pod kątem 0.233°"},
    };
    for (const auto& [plik, komunikat] : przypadki) {
        const std::string b = BladWczytania(Plik(plik));
        EXPECT_TRUE(b.starts_with("Trasa „Oś”: " + komunikat)) << b;
        // The file's line is the element's.
        const std::string wiersz = komunikat.substr(komunikat.find("wiersz ") + 7);
        EXPECT_NE(b.find("\nPlik: w.xml, wiersz: " + wiersz.substr(0, wiersz.find(')'))), std::string::npos) << b;
    }
}

TEST(LandXMLTrasa, WyborTrasyPoNazwie) {
    const TOs druga{{100, 100, 2.0}, {{Prosta, 30}, {Luk, 20, 50, -1}, {Prosta, 30}}};
    const std::string plik = Plik(
        "<Alignments><Alignment name=\"A\" staStart=\"0\"><CoordGeom><Line><Start>0 0</Start>"
        "<End>0 10</End></Line></CoordGeom></Alignment></Alignments>" +
        Trasa1(druga, 1.0, "B", 0.0));
    ZerujStan();
    EXPECT_EQ(SpisLandXML(plik, "t.xml").Trasy, (std::vector<std::string>{"A", "B"}));
    OtworzLandXMLZBufora(plik, "t.xml", {"", "", "B"});
    EXPECT_NEAR(Trasa.PikMax, druga.Dlugosc(), 0.001);
    EXPECT_TRUE(Blad([&] {
                    OtworzLandXMLZBufora(plik, "t.xml", {"", "", "C"});
                }).starts_with("Plik nie zawiera trasy „C” (--trasa). Trasy w pliku: „A”, „B”."));
    // Without the route: the surface of another file replaces TEREN, the route stays.
    OtworzLandXMLZBufora(Powierzchnie(false), "p.xml", {"", "", "", false, true});
    EXPECT_TRUE(TEREN.IleTrojkatow() == 1 && std::fabs(Trasa.PikMax - druga.Dlugosc()) < 0.001);
    // Without the terrain: only the route is taken, TEREN stays.
    OtworzLandXMLZBufora(plik, "t.xml", {"", "", "A", true, false});
    EXPECT_TRUE(TEREN.IleTrojkatow() == 1 && std::fabs(Trasa.PikMax - 10.0) < 1e-6);
    EXPECT_TRUE(Blad([&] {
                    OtworzLandXMLZBufora(plik, "t.xml", {"", "", "", true, true});
                }).starts_with("Z pliku LandXML nie wybrano niczego do wczytania"));
}

TEST(LandXMLPowierzchnie, IdNieposortowaneNiewidoczneScianyIStopy) {
    for (bool tekstowe : {false, true}) {
        SCOPED_TRACE(tekstowe);
        ZerujStan();
        const std::string plik = Powierzchnie(tekstowe);
        EXPECT_EQ(SpisLandXML(plik, "p.xml").Powierzchnie, (std::vector<std::string>{"Istniejący", "Projekt"}));
        OtworzLandXMLZBufora(plik, "p.xml", {"", "Projekt", ""});
        // The invisible face is skipped.
        ASSERT_TRUE(TEREN.IleTrojkatow() == 1 && TEREN.IlePunktow() == 4 && PROJ.IleTrojkatow() == 1);
        // X is the easting, Y the northing, in metres; triangles shifted to the lowest TEREN corner.
        const TTrojkatRogi t = Rogi(TEREN, 0);
        std::array<std::array<double, 3>, 3> w = {{{t.X1, t.Y1, t.Z1}, {t.X2, t.Y2, t.Z2}, {t.X3, t.Y3, t.Z3}}};
        std::ranges::sort(w);
        const double ocz[3][3] = {{0, 0, 0}, {0, 10, 1}, {10, 0, 2}};  // feet
        for (int i = 0; i < 9; ++i) EXPECT_NEAR(w[i / 3][i % 3], ocz[i / 3][i % 3] * 0.3048, 1e-9) << i;
        EXPECT_EQ(TEREN.Punkty[0].Nazwa.Tekst(), tekstowe ? "pt-70" : "70");
    }
}

TEST(LandXMLPowierzchnie, NazwaZPlikuWJednymWierszuKomunikatu) {
    // The fuzzer's finding: a surface name holding line breaks, a stray byte and (here added) a terminal escape.
    // The message stays two lines (what went wrong, then "Plik: ..., wiersz: ..."), the name quoted on the first,
    // escaped, the byte replaced, nothing a terminal would obey.
    std::string tekst = CzytajPlik(std::string(ORVANY_ZRODLA) +
                                   "/fuzz/corpus/fuzz_landxml/nazwa-z-podzialami-wierszy.xml");
    tekst.insert(tekst.find("<Surface name=\"S") + 16, "\x1B[2J\xFF");
    const std::string b = BladWczytania(tekst);
    ASSERT_EQ(std::count(b.begin(), b.end(), '\n'), 1) << b;
    EXPECT_NE(b.find("\nPlik: w.xml, wiersz: "), std::string::npos) << b;
    const std::string pierwszy = b.substr(0, b.find('\n'));
    EXPECT_NE(pierwszy.find("„S\\x1B[2J\xEF\xBF\xBD<End>4600000 5000020\xEF\xBF\xBD</End></Line>\\n</CoordGeom>\\n"),
              std::string::npos)
        << b;
    EXPECT_EQ(pierwszy.find('\xFF'), std::string::npos) << b;
    EXPECT_EQ(b.find('\x1B'), std::string::npos);
}

// The default choice: the surfaces named exactly TEREN and PROJ; otherwise the first surface is the terrain and
// there is no design surface; what the user names or refuses stands.
TEST(LandXMLPowierzchnie, WyborDomyslny) {
    using V = std::vector<std::string>;
    const std::tuple<V, TWyborLandXML, std::string, std::string> przypadki[] = {
        {{"A", "PROJ", "TEREN"}, {}, "TEREN", "PROJ"},
        {{"Istniejący", "Projekt"}, {}, "Istniejący", ""},
        {{"PROJ", "Grunt"}, {}, "Grunt", "PROJ"},
        {{"PROJ"}, {}, "", "PROJ"},
        {{"TEREN", "PROJ"}, {"PROJ", "", "", false, false, "", false}, "PROJ", ""},
        {{"TEREN", "PROJ"}, {"", "", "", false, false, "", true}, "TEREN", ""},
        {{"TEREN", "PROJ"}, {"", "", "", true, false, "", false}, "", "PROJ"},
        {{"TEREN", "PROJ"}, {"", "TEREN", "", false, false, "", false}, "PROJ", "TEREN"},
        {{}, {}, "", ""},
    };
    for (const auto& [nazwy, wybor, teren, proj] : przypadki) {
        const TWyborLandXML w = WyborDomyslny(wybor, nazwy);
        EXPECT_EQ(std::pair(w.Teren, w.Proj), std::pair(teren, proj)) << ::testing::PrintToString(nazwy);
    }
}

// Another tool's design surface has no kinds: its faces take the pavement's, a colour apart from the terrain's.
// A kinds Feature that does not fit the faces (changed by another tool) is passed over.
TEST(LandXMLPowierzchnie, RodzajeScian) {
    ZerujStan();
    OtworzLandXMLZBufora(Powierzchnie(false), "p.xml", {"", "Projekt", ""});
    ASSERT_TRUE(TEREN.IleTrojkatow() == 1 && PROJ.IleTrojkatow() == 1);
    EXPECT_EQ(std::pair(TEREN.Trojkaty[0].Rodzaj.Kod, PROJ.Trojkaty[0].Rodzaj.Kod), std::pair(' ', 'N'));
    EXPECT_NE(KolorTrojkata(PROJ, true, 0, {}), KolorTrojkata(TEREN, false, 0, {}));

    const std::tuple<std::string, std::size_t, std::vector<TRodzaj>> napisy[] = {
        {"2*1.5G 1*-0.25H 3*0-", 6, {{1.5f, 'G'}, {1.5f, 'G'}, {-0.25f, 'H'}, {}, {}, {}}},
        {"  1*0N\n", 1, {{0, 'N'}}},
        {"2*0H", 3, {}},                     // too few
        {"2*0H 2*0E", 3, {}},                // too many
        {"3*0X", 3, {}},                     // no such kind
        {"0*0H 3*0H", 3, {}},                // an empty run
        {"3*H", 3, {}},                      // no value
        {"3*1,5H", 3, {}},                   // a decimal comma
        {"3*nanH", 3, {}},                   // no number
        {"99999999999999999999*0H", 3, {}},  // beyond any count
        {"3 0H", 3, {}},
        {"", 0, {}},
    };
    for (const auto& [napis, ile, oczekiwane] : napisy) {
        std::vector<TRodzaj> r;
        EXPECT_EQ(landxml::RodzajeZNapisu(napis, ile, r), !oczekiwane.empty() || ile == 0) << napis;
        EXPECT_TRUE(r == oczekiwane) << napis;
    }
    // The writer's text reads back (the shortest float text keeps every bit).
    std::vector<TTrojkat> t(5);
    t[0].Rodzaj = {0.1f, 'O'}, t[1].Rodzaj = {0.1f, 'O'}, t[2].Rodzaj = {1e-7f, 'E'}, t[4].Rodzaj = {-3.f, 'K'};
    std::vector<TRodzaj> r;
    ASSERT_TRUE(landxml::RodzajeZNapisu(landxml::NapisRodzajow(t), 5, r));
    EXPECT_TRUE(r == (std::vector<TRodzaj>{{0.1f, 'O'}, {0.1f, 'O'}, {1e-7f, 'E'}, {}, {-3.f, 'K'}}));

    // The face list changed behind the Feature's back: the faces keep the default kinds.
    std::string plik = Powierzchnie(false);
    plik.insert(plik.find("</lx:Surface>\r\n</lx:Surfaces>"),
                "<lx:Feature code=\"OrvanyRodzaje\"><lx:Property label=\"OrvanyRodzaje\" value=\"2*0H\"/>"
                "</lx:Feature>");
    OtworzLandXMLZBufora(plik, "p.xml", {"", "Projekt", ""});
    EXPECT_EQ(PROJ.Trojkaty[0].Rodzaj.Kod, 'N');
    plik.replace(plik.find("value=\"2*0H\""), 12, "value=\"1*0.5H\"");
    OtworzLandXMLZBufora(plik, "p.xml", {"", "Projekt", ""});
    EXPECT_TRUE(PROJ.Trojkaty[0].Rodzaj == (TRodzaj{0.5f, 'H'}));
}

TEST(GLB, NaglowekBlokiIAkcesory) {
    ZerujStan();
    OtworzLandXMLZBufora(Powierzchnie(false), "p.xml", {"", "Projekt", ""});
    std::ostringstream o;
    ZapiszGLB(o, ProjektOkna);
    const std::string b = o.str();
    auto u32 = [&](std::size_t at) {
        std::uint32_t v = 0;
        std::memcpy(&v, b.data() + at, 4);  // little-endian on the machines that run the tests
        return v;
    };
    ASSERT_GE(b.size(), 28u);
    const std::uint32_t dlJson = u32(12);
    EXPECT_TRUE(b.substr(0, 4) == "glTF" && u32(4) == 2u && u32(8) == b.size() && dlJson % 4 == 0);
    EXPECT_EQ(b.substr(16, 4), "JSON");
    const std::string json = b.substr(20, dlJson);
    const std::size_t bin = 20 + dlJson;
    // Two meshes of one triangle each: 3 vertices x (position, normal, colour) x 12 bytes.
    EXPECT_EQ(u32(bin), 2u * 3 * 3 * 12);
    EXPECT_EQ(b.substr(bin + 4, 4), std::string("BIN\0", 4));
    EXPECT_EQ(bin + 8 + u32(bin), b.size());
    int ile3 = 0, ile = 0;  // six accessors of three elements
    for (std::size_t p = 0; (p = json.find("\"count\":", p + 1)) != std::string::npos; ++ile)
        ile3 += json[p + 8] == '3' && !std::isdigit(json[p + 9]);
    EXPECT_EQ(std::pair(ile, ile3), std::pair(6, 6));
    // The first vertex plus its node's translation is a point of the file: (east, height, -north) in metres.
    const std::size_t t = json.find("\"translation\":[");
    ASSERT_NE(t, std::string::npos);
    double tr[3];
    std::sscanf(json.c_str() + t + 15, "%lf,%lf,%lf", &tr[0], &tr[1], &tr[2]);
    float p[3];
    std::memcpy(p, b.data() + bin + 8, 12);
    bool jest = false;
    for (auto [x, z, y] : {std::array{100, 10, 200}, {110, 12, 200}, {100, 11, 210}})  // feet
        jest |= std::hypot(p[0] + tr[0] - x * 0.3048, p[1] + tr[1] - z * 0.3048, p[2] + tr[2] + y * 0.3048) < 1e-4;
    EXPECT_TRUE(jest) << p[0] + tr[0] << " " << p[1] + tr[1] << " " << p[2] + tr[2];
}
