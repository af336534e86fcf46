// The readers' contract, one table over every reader: .tro, .mtp, LandXML and the elevation grids (.asc, .xyz, and
// .tif made here through GDAL), each through the one open flow. For every row:
// - the same small surface and route give an equal project on the parts the format carries (no point names);
// - a failed load leaves the project, the route's messages and the picture as they were;
// - the error names the file and, where the format has lines the reader sees, the line.
// The hostile corpus runs through the same check.
#include <sys/stat.h>

#include <cerrno>
#include <clocale>
#include <cstring>
#include <filesystem>
#include <set>
#include <sstream>

#include "common/BledySystemu.h"
#include "pomocnicze/Pomocnicze.h"
#include "render/Rasteryzer.h"
#include "test_pliki_dane.h"

using namespace pliki_testowe;
namespace fs = std::filesystem;

namespace {

// ---- The check every load goes through ----

// What a load must give: the line its message names ("-" when it loads, "0" when the message names no line),
// the message's first line ("-", or "trasa: " and the route's first message when it loads and the route is not
// built).
struct TOczekiwanie {
    std::string plik, wiersz, komunikat;
};

constexpr int W = 320, H = 240;

// The picture the main window would show now.
std::vector<std::uint32_t> Obraz() {
    std::vector<std::uint32_t> px(W * H);
    TPlotnoRastrowe p(TBuforPikseli{px.data(), W, H, W});
    Przerysuj(p, W, H);
    return px;
}

// A scene loaded before the file: meshes, lines, a built route, a quad, the view at a chainage.
void ScenaPrzed() {
    ZerujStan(W, H);
    OtworzMTPZBufora(PlikMTP().Tekst(), "przed.mtp");
    TPlik trasa = Naglowek();
    trasa({"______________________________TRASA_2020", "3"});
    DodajZalom(trasa, "A", "5000000;4600000");
    DodajZalom(trasa, "B", "5000050;4600040", "0;0;30");
    DodajZalom(trasa, "C", "5000100;4600000");
    OtworzTROZBufora(trasa.Tekst(), "trasa.tro");
    if (!Trasa.Obliczona) ADD_FAILURE() << "trasa sceny nie jest obliczona";
    PrzejdzNaPikiete(60);
    Czworokaty.assign(1, TCzworokatRys{{10, 200, 0}, {90, 200, 0}, {90, 200, 60}, {10, 200, 60}});
    PrzeliczRzut();
}

// Loads the file over the scene, in the window and into a project of its own, and checks the outcome.
void Sprawdz(const std::string& sciezka, const TOczekiwanie& o) {
    SCOPED_TRACE(o.plik);
    ScenaPrzed();
    const std::vector<std::uint32_t> obrazPrzed = Obraz();  // also empties the viewer lines
    const TStan przed = Stan();
    TProjekt projekt = ProjektOkna;
    std::vector<std::string> komunikaty = {"przed"};
    const std::string blad = Blad([&] { WczytajPlik(sciezka); });
    const std::string bladProjektu = Blad([&] { WczytajGrupe(projekt, komunikaty, {sciezka}); });
    EXPECT_EQ(bladProjektu, blad);
    if (o.wiersz != "-") {
        EXPECT_EQ(blad, o.komunikat + "\nPlik: " + sciezka + (o.wiersz == "0" ? "" : ", wiersz: " + o.wiersz));
        EXPECT_TRUE(Stan() == przed) << "model się zmienił";
        EXPECT_TRUE(Obraz() == obrazPrzed) << "obraz się zmienił";
        EXPECT_TRUE(projekt == przed.projekt && komunikaty == std::vector<std::string>{"przed"});
        return;
    }
    ASSERT_EQ(blad, "");
    EXPECT_TRUE(projekt == ProjektOkna && komunikaty == KomunikatyTrasy);
    EXPECT_EQ(KomunikatyTrasy.empty() ? "-" : "trasa: " + KomunikatyTrasy[0], o.komunikat);
    EXPECT_TRUE(o.komunikat == "-" || !Trasa.Obliczona);
    // Whatever loaded can be drawn, in the general view and along the route.
    (void)Obraz();
    for (double u : {0.0, 0.5, 1.0}) {
        if (!Trasa.Obliczona) break;
        PrzejdzNaPikiete(Trasa.PikMax * u);
        EXPECT_TRUE(std::isfinite(Rzut.TrasaX) && std::isfinite(Rzut.TrasaY));
        (void)Obraz();
    }
}

// ---- One surface and route in every format ----

// In file coordinates (X easting, Y northing). TEREN: 3 x 3 nodes 10 m apart on a plane; PROJ: one triangle;
// the route: a straight east, an arc of R 30 turning left by 90 degrees, a straight north.
constexpr double X0 = 5000000, Y0 = 4600000, R = 30;
double Plaszczyzna(double x, double y) { return 100 + 0.1 * (x - X0) + 0.2 * (y - Y0); }
const TPunkt3D kProj[3] = {{X0 + 5, Y0 + 5, 101}, {X0 + 15, Y0 + 5, 102.5}, {X0 + 5, Y0 + 15, 103}};
// TEREN's cells, two triangles each: node numbers of a 3 x 3 grid numbered row by row from the south.
std::vector<std::array<int, 3>> TrojkatyTEREN() {
    std::vector<std::array<int, 3>> t;
    for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 2; ++i) {
            const int a = 3 * j + i;
            t.push_back({a, a + 1, a + 4});
            t.push_back({a, a + 4, a + 3});
        }
    return t;
}

// .tro, or with the other markers and empty line sections .mtp.
std::string TekstTRO(bool mtp, int zlyNumer = -1) {
    TPlik f = Naglowek();
    f({mtp ? "#Wspolrzedne200TEREN#" : "#WspTEREN#", "9"});
    for (int n = 0; n < 9; ++n)
        DodajPunkt(f, X0 + 10 * (n % 3), Y0 + 10 * (n / 3), Plaszczyzna(X0 + 10 * (n % 3), Y0 + 10 * (n / 3)), "F", n,
                   "T" + std::to_string(n));
    f("");
    if (mtp) f({"#Linie200TEREN#", "0", ""});
    f({mtp ? "#Trojkaty200TEREN#" : "#TroTEREN#", "8"});
    // A kind of every sort, with values: the LandXML writer keeps them in a Feature of its own.
    const char* rodzaje[] = {"0H", "1,5N", "2G", "0D", "0,5B", "3C", "0S", "1K"};
    for (int i = 0; const auto& [a, b, c] : TrojkatyTEREN()) DodajTrojkatTEREN(f, a, b, c, rodzaje[i++], "clGreen");
    if (zlyNumer >= 0) f.linie[zlyNumer] = "9";
    f("");
    f({mtp ? "#Wspolrzedne200PROJ#" : "#WspPROJ#", "3"});
    for (int n = 0; n < 3; ++n) DodajPunkt(f, kProj[n].X, kProj[n].Y, kProj[n].Z, "F", n, "P" + std::to_string(n));
    f("");
    if (mtp) f({"#Linie200PROJ#P3D", "0", ""});
    f({mtp ? "#Trojkaty200PROJ#P3D" : "#TroPROJ#", "1", "0;0;0", "0;1;2"});
    for (const TPunkt3D& p : kProj) f(L(p.X) + ";" + L(p.Y) + ";" + L(p.Z));
    f({"0;0", "0N", "clGray", ""});
    f({"______________________________TRASA_2020", "3"});
    DodajZalom(f, "A", L(X0) + ";" + L(Y0));
    DodajZalom(f, "B", L(X0 + 100) + ";" + L(Y0), "0;0;" + L(R));
    DodajZalom(f, "C", L(X0 + 100) + ";" + L(Y0 + 100));
    return f.Tekst();
}
// The line of the first TEREN triangle's first vertex number (1-based), where the bad files put 9.
constexpr int kWierszNumeru = 8 + 2 + 9 * 6 + 1 + 2 + 4;
constexpr int kWierszNumeruMTP = kWierszNumeru + 3;

// "northing easting" as LandXML writes a point.
std::string NE(double x, double y) { return L(y) + " " + L(x); }

// LandXML as another tool writes it: the two surfaces by their names, the alignment as elements; no kinds, no
// colours. `zlaSciana`: TEREN's first face names a point the surface lacks (line 8 + 9 points).
std::string TekstLandXML(bool zlaSciana = false) {
    std::string s =
        "<?xml version=\"1.0\"?>\n<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.2\">\n"
        "<Units><Metric linearUnit=\"meter\"/></Units>\n<Surfaces>\n<Surface name=\"TEREN\">\n"
        "<Definition surfType=\"TIN\">\n<Pnts>\n";
    for (int n = 0; n < 9; ++n) {
        const double x = X0 + 10 * (n % 3), y = Y0 + 10 * (n / 3);
        s += "<P id=\"" + std::to_string(n + 1) + "\">" + NE(x, y) + " " + L(Plaszczyzna(x, y)) + "</P>\n";
    }
    s += "</Pnts>\n<Faces>\n";
    for (const auto& [a, b, c] : TrojkatyTEREN())
        s += "<F>" + std::to_string(a + 1) + " " + std::to_string(b + 1) + " " +
             std::to_string(zlaSciana ? 77 : c + 1) + "</F>\n",
            zlaSciana = false;
    s += "</Faces>\n</Definition>\n</Surface>\n<Surface name=\"PROJ\">\n<Definition surfType=\"TIN\">\n<Pnts>\n";
    for (int n = 0; n < 3; ++n)
        s += "<P id=\"" + std::to_string(n + 1) + "\">" + NE(kProj[n].X, kProj[n].Y) + " " + L(kProj[n].Z) + "</P>\n";
    s += "</Pnts>\n<Faces><F>1 2 3</F></Faces>\n</Definition>\n</Surface>\n</Surfaces>\n";
    // The tangent points lie R before and after B (a right angle).
    s += "<Alignments>\n<Alignment name=\"Oś\" staStart=\"0\">\n<CoordGeom>\n<Line><Start>" + NE(X0, Y0) +
         "</Start><End>" + NE(X0 + 100 - R, Y0) + "</End></Line>\n<Curve rot=\"ccw\" radius=\"" + L(R) + "\"><Start>" +
         NE(X0 + 100 - R, Y0) + "</Start><Center>" + NE(X0 + 100 - R, Y0 + R) + "</Center><End>" +
         NE(X0 + 100, Y0 + R) + "</End></Curve>\n<Line><Start>" + NE(X0 + 100, Y0 + R) + "</Start><End>" +
         NE(X0 + 100, Y0 + 100) + "</End></Line>\n</CoordGeom>\n</Alignment>\n</Alignments>\n</LandXML>\n";
    return s;
}
constexpr int kWierszSciany = 8 + 9 + 2;

// The grids: TEREN's nodes, rows from the north as the files hold them; `zly` puts 1e300 at row 2, column 3.
double Wezel(int wiersz, int kolumna, bool zly) {
    return zly && wiersz == 1 && kolumna == 2 ? 1e300 : Plaszczyzna(X0 + 10 * kolumna, Y0 + 10 * (2 - wiersz));
}
std::string TekstASC(bool zly) {
    std::string s = "ncols 3\nnrows 3\nxllcenter " + L(X0) + "\nyllcenter " + L(Y0) + "\ncellsize 10\n";
    for (int w = 0; w < 3; ++w)
        for (int k = 0; k < 3; ++k) s += L(Wezel(w, k, zly)) + (k == 2 ? "\n" : " ");
    return s;
}
std::string TekstXYZ(bool zly) {
    std::string s;
    for (int w = 0; w < 3; ++w)
        for (int k = 0; k < 3; ++k) s += L(X0 + 10 * k) + " " + L(Y0 + 10 * (2 - w)) + " " + L(Wezel(w, k, zly)) + "\n";
    return s;
}
void ZapiszTIF(const std::string& sciezka, bool zly) {
    std::vector<double> z;
    for (int w = 0; w < 3; ++w)
        for (int k = 0; k < 3; ++k) z.push_back(Wezel(w, k, zly));
    ZapiszGeoTIFF(sciezka, 3, 3, {X0 - 5, 10, 0, Y0 + 25, 0, -10}, z);  // the nodes at the pixels' centres
}
const std::string kZlyWezel =
    "Wysokość w wierszu 2, kolumnie 3 siatki nie jest liczbą skończoną z dopuszczalnego zakresu (od -1e12 do 1e12).";

// ---- What a project holds, in file coordinates to the millimetre ----

enum : unsigned { Punkty = 1, Trojkaty = 2, Rodzaje = 4, Kolory = 8, Wysokosci = 16, Zakres = 32, Os = 64 };
using TMm = std::array<long long, 3>;
long long Mm(double v) { return std::llround(v * 1000); }

struct TCzesci {
    std::vector<TMm> punktyTEREN, punktyPROJ;
    // Corners counter-clockwise from the lowest, the kind and the colour; sorted.
    std::vector<std::tuple<std::array<TMm, 3>, char, float, std::int32_t>> trojkatyTEREN, trojkatyPROJ;
    std::vector<long long> wysokosci, zakres;
    std::vector<std::array<long long, 2>> os;  // every 5 m and the end, with the start and the length
    bool operator==(const TCzesci&) const = default;
};

TCzesci Czesci(const TProjekt& p, unsigned co) {
    TCzesci c;
    const double dx = p.Trasa.Dx, dy = p.Trasa.Dy, dz = p.TEREN.Zakres.Zmin;
    auto punkty = [&](const TSiatka& s, std::vector<TMm>& w) {
        for (const TPunktSiatki& q : s.Punkty) w.push_back({Mm(q.X), Mm(q.Y), Mm(q.Z)});
        std::ranges::sort(w);
    };
    auto trojkaty = [&](const TSiatka& s, auto& w) {
        for (const TTrojkat& tr : s.Trojkaty) {
            const TTrojkatRogi t = Rogi(s, tr);
            std::array<TMm, 3> r = {TMm{Mm(t.X1 + dx), Mm(t.Y1 + dy), Mm(t.Z1 + dz)},
                                    {Mm(t.X2 + dx), Mm(t.Y2 + dy), Mm(t.Z2 + dz)},
                                    {Mm(t.X3 + dx), Mm(t.Y3 + dy), Mm(t.Z3 + dz)}};
            std::ranges::rotate(r, std::ranges::min_element(r));
            w.push_back(
                {r, co & Rodzaje ? t.Rodzaj.Kod : 0, co & Rodzaje ? t.Rodzaj.Wartosc : 0, co & Kolory ? tr.Kolor : 0});
        }
        std::ranges::sort(w);
    };
    if (co & Punkty) punkty(p.TEREN, c.punktyTEREN), punkty(p.PROJ, c.punktyPROJ);
    if (co & Trojkaty) trojkaty(p.TEREN, c.trojkatyTEREN), trojkaty(p.PROJ, c.trojkatyPROJ);
    if (co & Wysokosci)  // TEREN's height on a lattice over it, by the plane of the triangle holding each point
        for (double y = 1; y < 20; y += 3)
            for (double x = 1; x < 20; x += 3) {
                long long z = -1;
                for (const TTrojkat& tr : p.TEREN.Trojkaty) {
                    const TTrojkatRogi t = Rogi(p.TEREN, tr);
                    const double px = X0 + x - dx, py = Y0 + y - dy;
                    const double d = (t.X2 - t.X1) * (t.Y3 - t.Y1) - (t.X3 - t.X1) * (t.Y2 - t.Y1);
                    const double b = ((px - t.X1) * (t.Y3 - t.Y1) - (t.X3 - t.X1) * (py - t.Y1)) / d;
                    const double g = ((t.X2 - t.X1) * (py - t.Y1) - (px - t.X1) * (t.Y2 - t.Y1)) / d;
                    if (b >= 0 && g >= 0 && b + g <= 1) z = Mm(t.Z1 + b * (t.Z2 - t.Z1) + g * (t.Z3 - t.Z1) + dz);
                }
                c.wysokosci.push_back(z);
            }
    if (co & Zakres) {
        const TZakres& z = p.TEREN.Zakres;
        c.zakres = {Mm(z.Xmin), Mm(z.Xmax), Mm(z.Ymin), Mm(z.Ymax), Mm(z.Zmin), Mm(z.Zmax)};
    }
    if (co & Os) {
        const DaneUstawieniaTrasy& t = p.Trasa;
        c.os.push_back({Mm(t.PikStart), Mm(t.PikMax)});
        for (double s = 0;; s = std::min(s + 5, double(t.PikMax))) {
            double x = 0, y = 0;
            PunktNaPikiecie(t, s, x, y);
            c.os.push_back({Mm(x + dx), Mm(y + dy)});
            if (s == t.PikMax) break;
        }
    }
    return c;
}

// A row: the format, how its good and its bad file are made, what it carries, what the bad file's message says.
struct TWiersz {
    std::string nazwa, koncowka;
    std::function<void(const std::string& sciezka, bool zly)> zapisz;
    unsigned co;
    std::string bladWiersz, blad;
    std::string uwagi;  // what the format cannot carry
};

// The reference project: the .tro file through the window's open flow.
TProjekt Wczytany(const std::string& sciezka) {
    ZerujStan(W, H);
    WczytajPlik(sciezka);
    return ProjektOkna;
}

const std::string kNumer = "Numer wierzchołka trójkąta TEREN 9 jest spoza zakresu punktów TEREN (0..8).";

// The rows; the .tro file they are compared with is written to `tro`.
std::vector<TWiersz> Tabela(const std::string& tro) {
    ZapiszPlik(tro, TekstTRO(false));
    return {
        {"tro", "tro", [](auto& p, bool z) { ZapiszPlik(p, TekstTRO(false, z ? kWierszNumeru - 1 : -1)); }, ~0u,
         std::to_string(kWierszNumeru), kNumer, "wzór"},
        {"mtp", "mtp", [](auto& p, bool z) { ZapiszPlik(p, TekstTRO(true, z ? kWierszNumeruMTP - 1 : -1)); }, ~0u,
         std::to_string(kWierszNumeruMTP), kNumer, "wszystko"},
        {"mtp przepisany na tro", "tro",
         [](auto& p, bool z) {
             ZapiszPlik(p, PrzepiszPlikZBufora(TekstTRO(true, z ? kWierszNumeruMTP - 1 : -1), "a.mtp"));
         },
         // The banner and an empty line in place of the 8 header lines; the empty line sections dropped.
         ~0u, std::to_string(kWierszNumeru - 8 + int(BanerTRO().size()) + 1), kNumer,
         "wszystko (bez sekcji linii, których nie ma)"},
        {"LandXML innego programu", "xml", [](auto& p, bool z) { ZapiszPlik(p, TekstLandXML(z)); },
         Punkty | Trojkaty | Wysokosci | Zakres | Os, std::to_string(kWierszSciany),
         "Ściana powierzchni „TEREN” wskazuje punkt o id „77”, którego powierzchnia nie ma.",
         "bez rodzajów i kolorów trójkątów"},
        {"LandXML zapisany przez program", "xml",
         [tro](auto& p, bool z) {
             std::ostringstream o;
             ZapiszLandXML(o, Wczytany(tro));
             std::string t = o.str();
             ZapiszPlik(p, t);
         },
         Punkty | Trojkaty | Rodzaje | Wysokosci | Zakres | Os, "", "", "bez kolorów trójkątów"},
        {"siatka ASC", "asc", [](auto& p, bool z) { ZapiszPlik(p, TekstASC(z)); }, Wysokosci | Zakres, "0", kZlyWezel,
         "sama powierzchnia terenu, przerzedzona (trójkąty wg przerzedzenia); wiersz i kolumna siatki zamiast "
         "wiersza pliku (czyta GDAL)"},
        {"siatka XYZ", "xyz", [](auto& p, bool z) { ZapiszPlik(p, TekstXYZ(z)); }, Wysokosci | Zakres, "0", kZlyWezel,
         "jak ASC"},
        {"siatka GeoTIFF", "tif", [](auto& p, bool z) { ZapiszTIF(p, z); }, Wysokosci | Zakres, "0", kZlyWezel,
         "jak ASC; plik binarny"},
    };
}

}  // namespace

TEST(KontraktCzytnikow, TeSameDaneWKazdymFormacieDajaTenSamProjekt) {
    const std::string k = KatalogTymczasowy();
    const std::vector<TWiersz> tabela = Tabela(k + "/wzor.tro");
    const TProjekt wzor = Wczytany(k + "/wzor.tro");
    for (const TWiersz& w : tabela) {
        SCOPED_TRACE(w.nazwa + ": " + w.uwagi);
        const std::string p = k + "/dobry." + w.koncowka;
        w.zapisz(p, false);
        const TProjekt wczytany = Wczytany(p);
        EXPECT_TRUE(Czesci(wczytany, w.co) == Czesci(wzor, w.co));
        EXPECT_TRUE(KomunikatyTrasy.empty()) << KomunikatyTrasy[0];
        if (w.co == ~0u) {  // the format carries the whole project
            TProjekt bezLinii = wczytany;
            bezLinii.TEREN.Linie.clear(), bezLinii.PROJ.Linie.clear();
            EXPECT_TRUE(bezLinii == wzor);
        }
    }
}

TEST(KontraktCzytnikow, ZlyPlikNieZmieniaNiczegoIWskazujePlikIWiersz) {
    const std::string k = KatalogTymczasowy();
    for (const TWiersz& w : Tabela(k + "/wzor.tro")) {
        if (w.blad.empty()) continue;
        const std::string p = k + "/zly." + w.koncowka;
        w.zapisz(p, true);
        Sprawdz(p, {w.nazwa, w.bladWiersz, w.blad});
    }
}

// Every file of the hostile corpus, with the outcome written beside it in oczekiwane.txt, and through the
// converter: a .tro file, or a message naming the file and the old target untouched.
TEST(KontraktCzytnikow, KorpusWrogichPlikow) {
    const std::string korpus = std::string(ORVANY_ZRODLA) + "/tests/hostile";
    std::vector<TOczekiwanie> oczekiwania;
    for (const std::string& l : Podziel(CzytajPlik(korpus + "/oczekiwane.txt"), '\n')) {  // '#' starts a comment
        const auto p = Podziel(l, '\t');
        if (!l.starts_with('#') && p.size() == 3) oczekiwania.push_back({p[0], p[1], p[2]});
    }
    ASSERT_GE(oczekiwania.size(), 50u);
    const std::string k = KatalogTymczasowy(), cel = k + "/cel.tro";
    std::set<std::string> opisane;
    for (const auto& o : oczekiwania) {
        opisane.insert(o.plik);
        const std::string sc = korpus + "/" + o.plik;
        Sprawdz(sc, o);
        ZapiszPlik(cel, "stary plik");
        const std::string b = Blad([&] { PrzepiszPlik(sc, cel); });
        EXPECT_TRUE(b.empty() ? CzytajPlik(cel).starts_with(BanerTRO()[0] + "\r\n")
                              : CzytajPlik(cel) == "stary plik" && b.find("\nPlik: " + sc) != std::string::npos)
            << b;
        EXPECT_EQ(std::distance(fs::directory_iterator(k), fs::directory_iterator()), 1);  // no temporary left
    }
    for (const auto& w : fs::directory_iterator(korpus)) {
        const std::string n = w.path().filename().string();
        EXPECT_TRUE(n == "oczekiwane.txt" || opisane.count(n)) << "brak oczekiwania dla " << n;
    }
}

TEST(WrogiePliki, WierszPiecdziesiatMegabajtowITrasaStuTysiecyZalomow) {
    const std::string k = KatalogTymczasowy();
    // The whole file one line: a header line, nothing is read (a long field's message: the conversion tests).
    ZapiszPlik(k + "/linia.tro", std::string(50u << 20, 'x'));
    Sprawdz(k + "/linia.tro", {"linia.tro", "-", "-"});
    // A zigzag of 100,000 vertices with an arc on every inner one, built and looked up past its very end.
    const int n = 100000;
    TPlik f = Naglowek();
    f({"______________________________TRASA_2020", std::to_string(n)});
    for (int i = 0; i < n; ++i)
        DodajZalom(f, "Z" + std::to_string(i), std::to_string(i * 100) + ";" + (i % 2 ? "50" : "0"),
                   i == 0 || i == n - 1 ? "0;0;0" : "0;0;20");
    ZapiszPlik(k + "/dluga.tro", f.Tekst("\r\n"));
    Sprawdz(k + "/dluga.tro", {"dluga.tro", "-", "-"});
    ASSERT_EQ(Trasa.IleZalomow(), n);
    const TElementTrasy& ostatni = Trasa.ElementyTrasy.back();
    double x = std::nan(""), y = std::nan("");
    PunktNaPikiecie(Trasa.PikMax + 1, x, y);
    // PikMax is a float: the slider's end lies within its rounding of the true end.
    EXPECT_LE(std::hypot(x - ostatni.X, y - ostatni.Y), std::fabs(Trasa.PikMax - ostatni.PikKKP2) + 0.002);
}

TEST(WrogiePliki, GranicaWspolrzednychUrzadzenieIPotok) {
    // Coordinates up to 1e12 load, beyond it (the last value only) the file is refused.
    for (const char* v : {"1e12", "-1000000000000", "999999999999,99", "-1,0000001e12"}) {
        TPlik f = Naglowek();
        f({"#WspTEREN#", "1", "0", "0", v, "F", "0", "A"});
        ZerujStan();
        EXPECT_EQ(Blad([&] { OtworzTROZBufora(f.Tekst(), "g.tro"); }).empty(), v[2] != ',') << v;
    }
    ScenaPrzed();
    const TStan przed = Stan();
    const std::string k = KatalogTymczasowy();
    // A device never ends: refused before a byte is read. A pipe nobody writes to is empty, not a wait.
    EXPECT_EQ(Blad([] { OtworzTRO("/dev/zero"); }),
              "Nie można otworzyć pliku /dev/zero: to urządzenie, a nie plik z danymi.");
    ASSERT_EQ(::mkfifo((k + "/potok.tro").c_str(), 0600), 0);
    EXPECT_TRUE(Blad([&] { OtworzTRO(k + "/potok.tro"); }).starts_with("Plik jest pusty."));
    EXPECT_TRUE(Stan() == przed);
}

// Under the C locale the system words its errors in English; every reader says the common causes in
// Polish, with the file's name, and an uncommon one with its number beside the system's text.
TEST(WrogiePliki, PrzyczynyBledowSystemuPoPolsku) {
    const std::string poprzedni = std::setlocale(LC_MESSAGES, nullptr);
    std::setlocale(LC_MESSAGES, "C");
    for (int e : {ENOENT, EACCES, EPERM, EISDIR, ENOTDIR, ELOOP, ENOSPC, EROFS, EMFILE, ENFILE, EDQUOT, EIO}) {
        const std::string t = OpisBleduSystemu(e);
        EXPECT_TRUE(t.find(std::strerror(e)) == std::string::npos && !t.starts_with("błąd systemu")) << e << ": " << t;
    }
    EXPECT_EQ(OpisBleduSystemu(EPROTO),
              "błąd systemu nr " + std::to_string(EPROTO) + " (" + std::strerror(EPROTO) + ")");
    ScenaPrzed();
    const TStan przed = Stan();
    const std::string k = KatalogTymczasowy(), brak = k + "/nie_ma/";
    const std::string nieMa = ": nie ma takiego pliku ani katalogu";
    const std::pair<std::string, std::string> przypadki[] = {
        {Blad([&] { OtworzTRO(brak + "a.tro"); }), "Nie można otworzyć pliku " + brak + "a.tro" + nieMa},
        {Blad([&] { OtworzTRO(k); }), "Nie można otworzyć pliku " + k + ": to jest katalog, a nie plik"},
        {Blad([&] { OtworzLandXML(brak + "a.xml"); }), "Nie można otworzyć pliku " + brak + "a.xml" + nieMa},
        {Blad([&] { OtworzNMT({brak + "a.asc"}); }),
         "Nie można otworzyć pliku siatki" + nieMa + ".\nPlik: " + brak + "a.asc"},
    };
    for (const auto& [komunikat, oczekiwany] : przypadki) EXPECT_EQ(komunikat, oczekiwany);
    EXPECT_TRUE(Stan() == przed);
    std::setlocale(LC_MESSAGES, poprzedni.c_str());
}
