// Every alignment of a LandXML file as an element chain with its profiles: a hand-made file in the shape Civil 3D
// writes (national-grid coordinates, a start chainage, one-sided, egg-shaped and reversing transitions, spirals
// without rot or PI, producers' rounding at junctions, an angle point, a spiral of another type, a broken chain, a
// profile with every kind of vertical curve beside a ground profile and a broken one), and the refusals.

#include "pomocnicze/Pomocnicze.h"
#include "analiza/Wysokosci.h"
#include "route/Lancuch.h"
#include "route/Niweleta.h"
#include "wymiana/LandXML.h"
#include "scena/LinieOsi.h"
#include "scena/WidokKierowcy.h"
#include "test_pliki_dane.h"
#include "wymiana/LandXMLOsie.h"

namespace {

const std::string kPlik = std::string(ORVANY_ZRODLA) + "/tests/dane/osie_civil3d.xml";

double Odl(TPunkt2D a, TPunkt2D b) { return std::hypot(a.X - b.X, a.Y - b.Y); }

const TOsLandXML& Os(const std::vector<TOsLandXML>& o, const std::string& nazwa) { return WybierzOs(o, nazwa); }

}  // namespace

TEST(OsieLandXML, PlikCivil3D) {
    const auto osie = CzytajOsiePlikuLandXML(kPlik);
    ASSERT_EQ(osie.size(), 4u);
    // The main alignment: every element end meets the next element's start as the file gives it (the file's
    // points come from an independent integration of the curvature) within 0.1 mm, directions within 1e-6.
    const TOsLandXML& a = Os(osie, "Oś główna");
    const TLancuch& l = a.Lancuch;
    ASSERT_EQ(l.Elementy.size(), 12u);
    EXPECT_EQ(l.PikStart, 641.2153);
    EXPECT_NEAR(l.Dlugosc(), 834.05, 1e-5);
    EXPECT_TRUE(l.Zalamania.empty());
    const std::string rodzaje = "LSCSCSSCSCSL";
    for (std::size_t i = 0; i < l.Elementy.size(); ++i) {
        const TElementOsi& e = l.Elementy[i];
        SCOPED_TRACE(OpisElementu(e));
        EXPECT_EQ(NazwaRodzaju(e.Rodzaj)[0], rodzaje[i]);
        if (i + 1 == l.Elementy.size()) break;
        const TElementOsi& n = l.Elementy[i + 1];
        EXPECT_LE(Odl(PunktLancucha(l, e.PikKonca()), n.Poczatek), 1e-4);
        EXPECT_NEAR(std::remainder(KierunekElementu(e, e.Dlugosc) - n.Kierunek, 2 * Pi), 0, 1e-6);
        EXPECT_NEAR(KrzywiznaElementu(e, e.Dlugosc), KrzywiznaElementu(n, 0), 1e-10);  // radii from six decimals
    }
    // Curvatures as designed: the egg (1/400 to 1/150), the reversal through a straight end (two spirals), the
    // spiral without rot (its side from its PI) and the last without rot and PI (from the direction coming in).
    EXPECT_NEAR(l.Elementy[3].K1, 1.0 / 400, 1e-12);
    EXPECT_NEAR(l.Elementy[3].K2, 1.0 / 150, 1e-12);
    EXPECT_NEAR(l.Elementy[6].K2, -1.0 / 250, 1e-12);
    EXPECT_NEAR(l.Elementy[8].K2, -1.0 / 900, 1e-12);
    EXPECT_NEAR(l.Elementy[10].K1, -1.0 / 900, 1e-12);
    EXPECT_EQ(l.Elementy[1].Wiersz, 12);
    EXPECT_EQ(l.Elementy[0].Poczatek, (TPunkt2D{7500123.456, 5500987.654}));

    // Its profile: the ground profile ignored, the broken variant left out with its reason.
    ASSERT_EQ(a.Niwelety.size(), 1u);
    const TNiweleta& n = a.Niwelety[0];
    EXPECT_EQ(n.Nazwa, "Niweleta projektowa");
    ASSERT_EQ(a.Uwagi.size(), 1u);
    EXPECT_EQ(a.Uwagi[0],
              "Niweleta „Wariant B”: punkt załamania niwelety nr 3 (pikieta 850.000, wiersz 38) nie leży za poprzednim "
              "(pikieta 900.000): punkty muszą iść w kolejności pikiet.");
    EXPECT_EQ(WybierzNiwelete(a, ""), &n);
    EXPECT_EQ(Blad([&] { WybierzNiwelete(a, "Wariant C"); }),
              "Trasa „Oś główna” nie ma niwelety „Wariant C” (--profil). Niwelety trasy: „Niweleta projektowa”.");
    // The parabola over 0+800: its middle ordinate (g2 - g1) L / 8 under the breakpoint.
    const double g1 = 3.5 / (800 - 641.2153), g2 = -4.5 / 200;
    EXPECT_NEAR(WysokoscNiwelety(n, 800).value(), 213.5 + (g2 - g1) * 120 / 8, 1e-9);
    EXPECT_NEAR(WysokoscNiwelety(n, 641.2153).value(), 210, 1e-9);
    EXPECT_NEAR(PochylenieNiwelety(n, 700).value(), g1, 1e-12);
    EXPECT_FALSE(WysokoscNiwelety(n, 641.2));
    EXPECT_FALSE(WysokoscNiwelety(n, 1475.27));
    EXPECT_EQ(n.Punkty[2].Luk, TLukPionowy::Kolowy);
    EXPECT_EQ(n.Punkty[3].Luk, TLukPionowy::ParabolaNiesymetryczna);
    EXPECT_EQ(n.Punkty[3].DlugoscWej, 40);

    // Rounding accepted and listed; an angle point between two lines accepted and listed; the 4.5e-7 rad and
    // 0.036 mm of noise between two lines not even listed.
    const TLancuch& z = Os(osie, "Zjazd 1").Lancuch;
    ASSERT_EQ(z.Elementy.size(), 9u);
    ASSERT_EQ(z.Zalamania.size(), 2u);
    EXPECT_EQ(z.Zalamania[0].Nr, 3);
    EXPECT_NEAR(z.Zalamania[0].Kat * 180 / Pi, 0.021, 1e-5);
    EXPECT_NEAR(z.Zalamania[0].Odstep, 0.0004, 1e-6);
    EXPECT_EQ(z.Zalamania[1].Nr, 9);
    EXPECT_TRUE(z.Zalamania[1].Wierzcholek);
    EXPECT_NEAR(z.Zalamania[1].Kat * 180 / Pi, -6.36, 1e-5);
    EXPECT_TRUE(Os(osie, "Zjazd 1").Niwelety.empty());

    // The skipped ones, with their reasons naming the element and its line.
    EXPECT_EQ(osie[2].Pominieta,
              "element nr 2 (Spiral, wiersz 58) jest krzywą przejściową rodzaju „cubic”; program liczy tylko klotoidy "
              "(clothoid) i nie przybliża innych krzywych.");
    EXPECT_EQ(osie[3].Pominieta,
              "element nr 2 (Curve, wiersz 65) nie zaczyna się w końcu poprzedniego elementu (element nr 1 (Line, "
              "wiersz 64)): odstęp 5.0 mm, dopuszczalny 1 mm.");
    EXPECT_EQ(Blad([&] { Os(osie, "Łącznica B"); }), "Trasy „Łącznica B” nie można wczytać: " + osie[2].Pominieta);
    EXPECT_EQ(Blad([&] { Os(osie, "Oś 7"); }),
              "Plik nie zawiera trasy „Oś 7” (--trasa). Trasy w pliku: „Oś główna”, „Zjazd 1”, „Łącznica B”, „Zła "
              "ciągłość”.");

    // The report.
    const auto opis = OpisOsi(osie);
    ASSERT_GE(opis.size(), 8u);
    EXPECT_EQ(opis[0],
              "Trasa „Oś główna”: pikieta początkowa 641.215, długość 834.050 m, elementy: 2 prostych, 4 łuków, 6 "
              "klotoid; przyjęte załamania: 0.");
    EXPECT_EQ(opis[1],
              "  niweleta „Niweleta projektowa”: 5 punktów załamania, łuków pionowych 3, od pikiety 641.215 do "
              "1475.265.");
    EXPECT_EQ(opis[2], "  niweleta pominięta: " + a.Uwagi[0]);
    EXPECT_EQ(opis[4], "  pikieta 130.000, element nr 3: załamanie 0.0210°, odstęp 0.40 mm");
    EXPECT_EQ(opis[6], "Trasa „Łącznica B” pominięta: " + osie[2].Pominieta);
}

TEST(OsieLandXML, JednostkiIOdmowy) {
    // US survey feet: chainages, coordinates, lengths and heights in metres.
    const std::string stopy = R"(<LandXML><Units><Imperial linearUnit="USSurveyFoot"/></Units><Alignments>
<Alignment name="A" staStart="1000"><CoordGeom>
<Line><Start>0 0</Start><End>0 3937</End></Line></CoordGeom>
<Profile><ProfAlign name="P"><PVI>1000 100</PVI><ParaCurve length="1000">3000 200</ParaCurve><PVI>4937 100</PVI>
</ProfAlign></Profile></Alignment></Alignments></LandXML>)";
    const auto o = CzytajOsieLandXML(stopy, "stopy.xml");
    ASSERT_EQ(o.size(), 1u);
    const double ft = 1200.0 / 3937;
    EXPECT_NEAR(o[0].Lancuch.PikStart, 1000 * ft, 1e-9);
    EXPECT_NEAR(o[0].Lancuch.Dlugosc(), 1200, 1e-9);
    const TNiweleta& n = o[0].Niwelety.at(0);
    EXPECT_NEAR(WysokoscNiwelety(n, 1000 * ft).value(), 100 * ft, 1e-9);
    EXPECT_NEAR(DlugoscLukuPionowego(n.Punkty[1]), 1000 * ft, 1e-9);
    // A file none of whose alignments reads is refused, every reason listed; no alignments is not an error here.
    const std::string zle = R"(<LandXML><Alignments>
<Alignment name="A"><CoordGeom><Line><Start>0 0</Start><End>0 0</End></Line></CoordGeom></Alignment>
<Alignment name="B"/></Alignments></LandXML>)";
    EXPECT_EQ(
        Blad([&] { CzytajOsieLandXML(zle, "zle.xml"); }),
        "Żadnej trasy pliku nie można wczytać:\nTrasa „A”: geometria nie ma elementów.\nTrasa „B”: brak geometrii "
        "(CoordGeom).\nPlik: zle.xml, wiersz: 1");
    EXPECT_TRUE(CzytajOsieLandXML("<LandXML/>", "pusty.xml").empty());
    // Twelve such alignments: ten reasons, the rest counted, so the message stays a short box.
    std::string wiele = "<LandXML><Alignments>";
    for (int i = 0; i < 12; ++i) wiele += "<Alignment name=\"O" + std::to_string(i) + "\"/>";
    wiele += "</Alignments></LandXML>";
    const std::string m = Blad([&] { CzytajOsieLandXML(wiele, "wiele.xml"); });
    EXPECT_EQ(std::count(m.begin(), m.end(), '\n'), 12) << m;
    EXPECT_NE(m.find("\nTrasa „O9”: brak geometrii (CoordGeom).\n… i 2 dalszych tras.\nPlik: wiele.xml, wiersz: 1"),
              std::string::npos)
        << m;
}

// The file opens as the program's route: the first alignment that reads is the route as its chain stands (its
// egg-shaped, one-sided and reversing transitions included), never rebuilt through vertices; another is chosen by
// name; a skipped one named is refused with its element and line, and the model stays as it was.
TEST(OsieLandXML, PlikOtwieraSieJakoTrasa) {
    const auto osie = CzytajOsiePlikuLandXML(kPlik);
    for (const char* nazwa : {"", "Zjazd 1"}) {
        SCOPED_TRACE(nazwa);
        ZerujStan();
        TWyborLandXML w;
        w.Trasa = nazwa;
        OtworzLandXML(kPlik, w);
        ASSERT_TRUE(Trasa.Obliczona);
        const TLancuch& l = Os(osie, *nazwa ? nazwa : "Oś główna").Lancuch;
        EXPECT_EQ(Trasa.Lancuch.Nazwa, l.Nazwa);
        EXPECT_EQ(Trasa.PikStart, l.PikStart);
        EXPECT_EQ(Trasa.Lancuch.Zalamania, l.Zalamania);
        EXPECT_NEAR(Trasa.PikMax, l.Dlugosc(), 1e-4);
        // The route's lookup (in the scene's shifted coordinates) against the file's chain, near every element's
        // start and end and at its middle (the direction's 6 cm chord clear of the junctions' rounding).
        for (const TElementOsi& e : l.Elementy) {
            for (double s : {e.Pik + 0.05, e.Pik + e.Dlugosc / 2, e.PikKonca() - 0.05}) {
                double x = NAN, y = NAN;
                PunktNaPikiecie(s, x, y);
                const TPunkt2D q = PunktLancucha(l, s);
                EXPECT_NEAR(x + Trasa.Dx, q.X, 1e-6) << s;
                EXPECT_NEAR(y + Trasa.Dy, q.Y, 1e-6) << s;
                EXPECT_NEAR(std::remainder(KatNaPikiecie(s) - KierunekLancucha(l, s), 2 * Pi), 0, 1e-5) << s;
            }
        }
    }
    const DaneUstawieniaTrasy przed = Trasa;
    TWyborLandXML w;
    w.Trasa = "Łącznica B";
    const std::string b = Blad([&] { OtworzLandXML(kPlik, w); });
    EXPECT_TRUE(b.starts_with("Trasa „Łącznica B”: " + osie[2].Pominieta + "\nPlik: ")) << b;
    EXPECT_EQ(Trasa, przed);

    // Every alignment is kept with the route: choosing another makes the same route as opening the file with it
    // named, and choosing back the first one the route of the plain open; a skipped one changes nothing.
    ZerujStan();
    OtworzLandXML(kPlik);
    const DaneUstawieniaTrasy pierwsza = Trasa;
    ASSERT_EQ(Trasa.Osie, osie);
    EXPECT_EQ(Trasa.NrOsi, 0);
    WybierzOs(1);
    EXPECT_EQ(Trasa, przed);
    EXPECT_EQ(Blad([] { WybierzOs(2); }), "Trasy „Łącznica B” nie można wczytać: " + osie[2].Pominieta);
    EXPECT_EQ(Blad([] { WybierzOs(9); }), "Plik nie zawiera trasy nr 10.");
    EXPECT_EQ(Trasa, przed);
    WybierzOs(0);
    EXPECT_EQ(Trasa, pierwsza);
}

// The other alignments drawn on a tilted plane that covers only part of them: every stretch's centre lies on
// its alignment, 0.1 m over the plane, inside the plane's cover; the route itself and the skipped ones draw
// nothing. Without surfaces every alignment lies at height 0 inside the general view's box and fills it to
// its margin on one side.
TEST(OsieLandXML, LinieInnychOsi) {
    DaneUstawieniaTrasy t;
    t.Osie = CzytajOsiePlikuLandXML(kPlik);
    t.NrOsi = 0;
    const TLancuch& druga = t.Osie[1].Lancuch;
    ASSERT_FALSE(druga.Elementy.empty());
    const TPunkt2D p0 = PunktLancucha(druga, 0), p1 = PunktLancucha(druga, druga.Dlugosc());
    t.Dx = std::min(p0.X, p1.X) - 50, t.Dy = std::min(p0.Y, p1.Y) - 50;
    // The plane's cells of 25 m end about halfway across the alignment.
    const double granica = -100 + 25 * std::round(((p0.X + p1.X) / 2 - t.Dx + 100) / 25);
    const auto z = [](double x, double y) { return 3.0 + 0.01 * x - 0.02 * y; };
    const TIndeksyWysokosci ix(ZbudujIndeksWysokosci(Siatka(-100, granica, -1000, 1000, 25, z)),
                               ZbudujIndeksWysokosci(TSiatka{}));
    std::vector<TTrojkatRys> r;
    LinieInnychOsi(r, t, ix, 0.5);
    ASSERT_GT(r.size(), 20u);
    ASSERT_EQ(r.size() % 2, 0u);
    int naPlaszczyznie = 0;
    for (std::size_t i = 0; i < r.size(); i += 2) {
        const TPunkt3D a{(r[i].P1.X + r[i].P2.X) / 2, (r[i].P1.Y + r[i].P2.Y) / 2, r[i].P1.Z};
        EXPECT_NEAR(std::hypot(r[i].P1.X - r[i].P2.X, r[i].P1.Y - r[i].P2.Y), 0.5, 1e-9);
        EXPECT_LE(a.X, granica + 1e-9);
        EXPECT_NEAR(a.Z, z(a.X, a.Y) + 0.1, 1e-6);
        EXPECT_NEAR(NajblizszaPikieta(druga, {a.X + t.Dx, a.Y + t.Dy}).Odleglosc, 0.0, 1e-6);
        EXPECT_EQ(r[i].Kolor, KolorInnejOsi);
        ++naPlaszczyznie;
    }
    EXPECT_GT(naPlaszczyznie, 10);

    // No surface: the route and the other readable one, fitted into 800 x 500 with a tenth to spare.
    t.Lancuch = t.Osie[0].Lancuch;
    t.Dx = t.Dy = 0;
    r.clear();
    LinieOsiBezSiatek(r, t, 800);
    ASSERT_FALSE(r.empty());
    double xMax = 0, yMax = 0;
    bool obaKolory[2] = {false, false};
    for (const TTrojkatRys& q : r)
        for (const TPunkt3D& p : {q.P1, q.P2, q.P3}) {
            EXPECT_EQ(p.Z, 0.0);
            EXPECT_TRUE(p.X > 70 && p.X < 730 && p.Y > 40 && p.Y < 460) << p.X << " " << p.Y;
            xMax = std::max(xMax, p.X), yMax = std::max(yMax, p.Y);
            obaKolory[q.Kolor == KolorInnejOsi] = true;
        }
    EXPECT_TRUE(std::fabs(xMax - 720) < 2 || std::fabs(yMax - 450) < 2) << xMax << " " << yMax;
    EXPECT_TRUE(obaKolory[0] && obaKolory[1]);
}

// Several alignments over a ground plane: their lines are built with the load, so placing the chainage view asks
// the heights index nothing (it may be in a build) and draws those lines; a route choice builds them for its route.
TEST(OsieLandXML, LinieInnychOsiBudowaneRazNaWczytanie) {
    using namespace pliki_testowe;
    ZerujStan();
    OtworzLandXML(kPlik);
    double x0 = HUGE_VAL, y0 = HUGE_VAL, x1 = -HUGE_VAL, y1 = -HUGE_VAL;
    for (const TOsPliku& o : Trasa.Osie)
        for (const TPunkt2D& p : PunktyOsi(o.Lancuch, 0, 0, 10))
            x0 = std::min(x0, p.X), y0 = std::min(y0, p.Y), x1 = std::max(x1, p.X), y1 = std::max(y1, p.Y);
    TPlik f = Naglowek();
    f({"#WspTEREN#", "4"});
    for (int i = 0; i < 4; ++i)
        DodajPunkt(f, i % 2 ? x1 + 100 : x0 - 100, i / 2 ? y1 + 100 : y0 - 100, 200, "F", i, "");
    f({"", "#TroTEREN#", "2"});
    DodajTrojkatTEREN(f, 0, 1, 3, "0H", "clGreen");
    DodajTrojkatTEREN(f, 0, 3, 2, "0H", "clGreen");
    for (int os : {-1, 1}) {
        if (os < 0)
            OtworzTROZBufora(f.Tekst() + "\n", "plaszczyzna.tro");
        else
            WybierzOs(os);
        ASSERT_TRUE(ProjektOkna.LinieInnychOsi && !ProjektOkna.LinieInnychOsi->empty());
        std::vector<TTrojkatRys> oczekiwane;
        LinieInnychOsi(oczekiwane, Trasa, IndeksyWysokosci(ProjektOkna), 0.5);
        int budowy = 0;
        OznaczIndeksyDoZbudowania(ProjektOkna, [&] { return ++budowy, TIndeksyWysokosci{}; });
        for (double u : {0.1, 0.5, 0.9}) UstawWidokNaPikiecie(Trasa.PikMax * u);
        WyczyscSlupki();
        DodajLinieOsiNaTrasie();
        EXPECT_TRUE(TrojkatySlupkow == oczekiwane);
        EXPECT_EQ(budowy, 0);
        OznaczIndeksyDoZbudowania(ProjektOkna);
    }
    // Without PROJ the road is the design line's ribbon: another width, other heights, the lines built again.
    UstawSzerokoscDrogi(ProjektOkna, 12);
    EXPECT_FALSE(ProjektOkna.LinieInnychOsi);
}

// The written route read back: the main alignment (every kind of element and of vertical curve) saved as LandXML
// and read again gives the same plan line and the same design line, within 1 mm at every 5 m.
TEST(OsieLandXML, ZapisanaNiweletaWracaTaSama) {
    const auto osie = CzytajOsiePlikuLandXML(kPlik);
    const TOsLandXML& a = Os(osie, "Oś główna");
    ASSERT_FALSE(a.Niwelety.empty());
    ZerujStan();
    OtworzLandXML(kPlik);
    std::ostringstream xml;
    ZapiszLandXML(xml, ProjektOkna);
    const auto wczytane = CzytajOsieLandXML(xml.str(), "zapis.xml");
    ASSERT_EQ(wczytane.size(), 1u);
    const TOsLandXML& b = wczytane[0];
    ASSERT_EQ(b.Niwelety.size(), 1u);
    const TNiweleta &n = a.Niwelety[0], &m = b.Niwelety[0];
    EXPECT_EQ(m.Punkty.size(), n.Punkty.size());
    EXPECT_NEAR(b.Lancuch.PikStart, a.Lancuch.PikStart, 1e-6);
    EXPECT_NEAR(b.Lancuch.Dlugosc(), a.Lancuch.Dlugosc(), 1e-3);
    int porownane = 0;
    for (double s = n.Punkty.front().Pik; s <= n.Punkty.back().Pik; s += 5.0, ++porownane) {
        const std::optional<double> z = WysokoscNiwelety(n, s), w = WysokoscNiwelety(m, s);
        ASSERT_TRUE(z && w) << s;
        EXPECT_NEAR(*w, *z, 1e-3) << s;
        const double u = s - a.Lancuch.PikStart;
        if (u >= 0 && u <= a.Lancuch.Dlugosc())
            EXPECT_LT(Odl(PunktLancucha(b.Lancuch, u), PunktLancucha(a.Lancuch, u)), 1e-3) << s;
    }
    EXPECT_GT(porownane, 100);
}
