// The options dialog, offscreen: the edit boxes with their fallbacks, the
// zoom, the outline settings, the cutting depths, the light and the eye, the
// labels refreshed on showing, the modal showing from the main window with the
// picture repainted behind it, and the two reports in the text viewer.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <ostream>

#include "common/Funkcje.h"
#include "dialogs/InfoProjekt.h"
#include "dialogs/OpcjeWyswietlania.h"
#include "generators/GenerowanieBryl.h"
#include "model/Zmienne.h"
#include "pomocnicze/Pomocnicze.h"
#include "render/RysujPerspektywa.h"
#include "shell/PoleTekstowe.h"
#include "shell/linie3Dtroj.h"

// Readable failures for Qt texts.
void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

constexpr double kStopien = std::numbers::pi / 180.0;

TTrojkatRys Rekord(TPunkt3D a, TPunkt3D b, TPunkt3D c) {
    TTrojkatRys t;
    t.P1 = a;
    t.P2 = b;
    t.P3 = c;
    t.Kolor = 0x808080;
    return t;
}

// A small mesh triangle at plan depth y (one unit wide).
TTrojkat MeshTroj(double x, double y, double z) {
    TTrojkat t;
    t.X1 = x, t.Y1 = y, t.Z1 = z;
    t.X2 = x + 1, t.Y2 = y, t.Z2 = z;
    t.X3 = x, t.Y3 = y + 1, t.Z3 = z;
    return t;
}

// Counts the paint events of a widget.
class LicznikMalowania : public QObject {
public:
    int ile = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++ile;
        return false;
    }
};

class Opcje_ : public ::testing::Test {
protected:
    void SetUp() override {
        ZerujStan();
        okno = std::make_unique<TfMaster>();
        fMaster = okno.get();
        Opis = new TOpis(okno.get());
        Opcje = new TOpcje(okno.get());
        d = Opcje;
        W = okno->rys->width();
    }
    void TearDown() override {
        fMaster = nullptr;
        Opis = nullptr;
        Opcje = nullptr;
        okno.reset();
        ZerujStan();
    }
    void Klik(QPushButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    void Wpisz(QLineEdit* e, const QString& tekst) { e->setText(tekst); }
    // Runs the handler while the modal window it opens is up: `wewnatrz` runs
    // inside the modal loop and must close the window itself.
    void PodczasModalnego(const std::function<void()>& akcja, const std::function<void()>& wewnatrz) {
        bool byl = false;
        QTimer::singleShot(0, [&] {
            byl = true;
            wewnatrz();
        });
        akcja();
        EXPECT_TRUE(byl) << "okno modalne nie zostało pokazane";
    }

    std::unique_ptr<TfMaster> okno;
    TOpcje* d = nullptr;
    int W = 0;
};

// ---------------------------------------------------------------------------
// Moving, zooming and turning

TEST_F(Opcje_, KrokPrzesunieciaZPolaZZastepczaDziesiatka) {
    TrojkatyPROJ = {Rekord({0, 0, 0}, {1, 0, 0}, {0, 1, 0})};
    UstawLocale l(',');

    Wpisz(d->E_krok, "abc");
    Klik(d->B_dxPlus);
    EXPECT_DOUBLE_EQ(TrojkatyPROJ[0].P1.X, 10.0);
    EXPECT_DOUBLE_EQ(Rzut.PrzesunX, 10.0);

    Wpisz(d->E_krok, "2,5");
    Klik(d->B_dyPlus);
    Wpisz(d->E_krok, "2.5");
    Klik(d->B_dzMinus);
    EXPECT_DOUBLE_EQ(TrojkatyPROJ[0].P1.Y, 2.5);
    EXPECT_DOUBLE_EQ(TrojkatyPROJ[0].P1.Z, -2.5);

    Klik(d->B_dxMinus);
    Klik(d->B_dyMinus);
    Klik(d->B_dzPlus);
    EXPECT_DOUBLE_EQ(TrojkatyPROJ[0].P1.X, 7.5);
    EXPECT_DOUBLE_EQ(TrojkatyPROJ[0].P1.Y, 0.0);
    EXPECT_DOUBLE_EQ(TrojkatyPROJ[0].P1.Z, 0.0);
    // Moving never recomputes the shading.
    EXPECT_EQ(TrojkatyPROJ[0].KolorCieniowany, 0u);
}

TEST_F(Opcje_, ObrotOKatZPolaPustePoleToJedenStopien) {
    const double cx = W * 0.5;
    TrojkatyTEREN = {Rekord({cx + 100, 0, 0}, {cx, 100, 0}, {cx, 0, 100})};

    Wpisz(d->E_alfa, "");
    Klik(d->B_ObrotXp);
    EXPECT_NEAR(Rzut.ObrotX, kStopien, 1e-12);
    EXPECT_NEAR(TrojkatyTEREN[0].P1.X, cx + 100 * std::cos(kStopien), 1e-9);
    EXPECT_NEAR(TrojkatyTEREN[0].P1.Y, 100 * std::sin(kStopien), 1e-9);
    Klik(d->B_ObrotXl);
    EXPECT_NEAR(TrojkatyTEREN[0].P1.X, cx + 100, 1e-9);

    // Y buttons turn in the XZ plane, Z buttons in the YZ plane.
    Wpisz(d->E_alfa, "90");
    Klik(d->B_ObrotYp);
    EXPECT_NEAR(TrojkatyTEREN[0].P1.Z, 100, 1e-9);
    Klik(d->B_ObrotZl);
    EXPECT_NEAR(TrojkatyTEREN[0].P2.Z, -100, 1e-9);
    EXPECT_NEAR(Rzut.ObrotZ, -90 * kStopien, 1e-12);
}

TEST_F(Opcje_, PowiekszeniePomniejszenieWspolczynnikiemZPola) {
    const double cx = W * 0.5;
    TrojkatyPROJ = {Rekord({cx + 100, 50, 20}, {cx, 0, 0}, {cx - 30, 10, 5})};
    const TTrojkatRys przed = TrojkatyPROJ[0];

    EXPECT_EQ(d->E_wsp->text(), "1,1");
    Klik(d->B_Powieksz);
    EXPECT_NEAR(TrojkatyPROJ[0].P1.X, cx + 110, 1e-9);
    EXPECT_NEAR(TrojkatyPROJ[0].P1.Y, 55, 1e-9);
    Klik(d->B_Pomniejsz);
    EXPECT_NEAR(TrojkatyPROJ[0].P1.X, przed.P1.X, 1e-9);
    EXPECT_NEAR(TrojkatyPROJ[0].P3.Y, przed.P3.Y, 1e-12);

    // The factor follows the box; "-" divides by it.
    Wpisz(d->E_wsp, "2");
    Klik(d->B_Powieksz);
    EXPECT_NEAR(TrojkatyPROJ[0].P1.X, cx + 200, 1e-9);
    Klik(d->B_Pomniejsz);
    Klik(d->B_Pomniejsz);
    EXPECT_NEAR(TrojkatyPROJ[0].P1.X, cx + 50, 1e-9);

    // No number, zero or a negative factor: 1.1, the scene never collapses or flips.
    for (const char* zle : {"x", "0", "-2", ""}) {
        TrojkatyPROJ[0] = przed;
        Wpisz(d->E_wsp, zle);
        EXPECT_DOUBLE_EQ(d->WspolczynnikSkali(), 1.1) << zle;
        Klik(d->B_Pomniejsz);
        EXPECT_NEAR(TrojkatyPROJ[0].P1.X, cx + 100 / 1.1, 1e-9) << zle;
    }
}

// ---------------------------------------------------------------------------
// Light, shading strength and outlines

TEST_F(Opcje_, GruboscObrysuPoObliczZakresJedenDoDziesieciu) {
    struct {
        const char* tekst;
        int wynik;
    } przypadki[] = {{"15", 10}, {"0", 1}, {"a", 5}, {"7", 7}, {"", 5}};
    for (const auto& p : przypadki) {
        NatObrys = -3;
        d->CB_NatObrys->setEditText(QString::fromLatin1(p.tekst));
        EXPECT_EQ(NatObrys, -3) << "samo pole nic nie zmienia";
        Klik(d->B_Swiatlo);
        EXPECT_EQ(NatObrys, p.wynik) << p.tekst;
    }
    d->CB_rSwObrys->setChecked(false);
    EXPECT_TRUE(RysObrys);
    Klik(d->B_Swiatlo);
    EXPECT_FALSE(RysObrys);
}

TEST_F(Opcje_, SuwakiSwiatlaINatezeniaPrzeliczajaCieniowanie) {
    UstawLocale l(',');
    TrojkatyPROJ = {Rekord({0, 0, 0}, {100, 0, 0}, {0, 0, 100})};  // faces the viewer
    PrzeliczRzut();
    const TKolor poczatkowy = TrojkatyPROJ[0].KolorCieniowany;

    d->sb_sx->setValue(-40);
    EXPECT_DOUBLE_EQ(Swiatlo.X, -0.4);
    EXPECT_EQ(d->L_sx->text(), "x=-0,40");
    d->sb_sy->setValue(-100);
    EXPECT_DOUBLE_EQ(Swiatlo.Y, -1.0);
    EXPECT_EQ(d->l_sy->text(), "y=-1,00");
    d->sb_sz->setValue(5);
    EXPECT_EQ(d->l_sz->text(), "z=0,05");
    EXPECT_NE(TrojkatyPROJ[0].KolorCieniowany, poczatkowy) << "światło zmienia cieniowanie od razu";

    d->SB_swNat->setValue(60);
    EXPECT_EQ(nat, 60);
    EXPECT_EQ(d->L_snat->text(), "nat=60,00");
    // The range ends hold.
    d->SB_swNat->setValue(0);
    EXPECT_EQ(nat, 1);
}

// ---------------------------------------------------------------------------
// The eye

TEST_F(Opcje_, PrzyciskiOkaPiszaEtykietyIPasekStanu) {
    UstawLocale l('.');
    Rzut.OkoX = 100;
    Rzut.OkoY = -700;
    Rzut.OkoZ = 500;
    Klik(d->B_OkoXPlus);
    EXPECT_EQ(d->l_xo->text(), "x=105.00");
    EXPECT_EQ(okno->StatusBar1Panele[1]->text(), "X = 115.0 Y = -700.0 Z = 500.0");

    struct {
        QPushButton* b;
        double dx, dy, dz;
    } przyciski[] = {{d->B_OkoXMinus, -5, 0, 0}, {d->B_OkoYPlus, 0, 5, 0}, {d->B_OkoYMinus, 0, -5, 0},
                     {d->B_OkoZPlus, 0, 0, 5},   {d->B_OkoZMinus, 0, 0, -5}, {d->B_OkoXPlus, 5, 0, 0}};
    for (const auto& p : przyciski) {
        const double x = Rzut.OkoX, y = Rzut.OkoY, z = Rzut.OkoZ;
        okno->StatusBar1Panele[1]->setText("stary");
        Klik(p.b);
        EXPECT_DOUBLE_EQ(Rzut.OkoX, x + p.dx);
        EXPECT_DOUBLE_EQ(Rzut.OkoY, y + p.dy);
        EXPECT_DOUBLE_EQ(Rzut.OkoZ, z + p.dz);
        EXPECT_EQ(okno->StatusBar1Panele[1]->text().toStdString(),
                  "X = " + FormatN(Rzut.OkoX + 10) + " Y = " + FormatN(Rzut.OkoY) + " Z = " + FormatN(Rzut.OkoZ));
        EXPECT_EQ(d->l_yo->text().toStdString(), F2(Rzut.OkoY));
        EXPECT_EQ(d->l_zo->text().toStdString(), F2(Rzut.OkoZ));
    }
}

// ---------------------------------------------------------------------------
// Cutting

TEST_F(Opcje_, EtykietyGlebokosciPokazujaWartoscBezwzgledna) {
    UstawLocale l(',');
    d->SB_OdlTNIJ_Ymin->setValue(-1000);
    EXPECT_EQ(Rzut.OdlTnijYmin, -1000.0f);
    EXPECT_EQ(d->L_TnijYMin->text(), "Y min = 1000,00");
    d->SB_OdlTNIJ_YMax->setValue(1250);
    EXPECT_EQ(Rzut.OdlTnijYmax, 1250.0f);
    EXPECT_EQ(d->L_TnijYMax->text(), "Y max = 1250,00");
}

TEST_F(Opcje_, SuwakGlebokosciBezSiatekNieZmieniaObrazu) {
    UstawLocale l(',');
    KuleTestowe(W);  // drawn records, but no mesh triangle
    PrzeliczRzut();
    const auto czworokaty = Czworokaty.size();
    const auto proj = TrojkatyPROJ.size();
    const double x = TrojkatyPROJ[0].P1.X;
    okno->KlatkaGotowa = false;
    d->SB_OdlTNIJ_Ymin->setValue(-300);
    d->SB_OdlTNIJ_YMax->setValue(100);
    EXPECT_EQ(Rzut.OdlTnijYmin, -300.0f);
    EXPECT_EQ(Rzut.OdlTnijYmax, 100.0f);
    EXPECT_EQ(d->L_TnijYMax->text(), "Y max = 100,00");
    EXPECT_EQ(Czworokaty.size(), czworokaty);
    EXPECT_EQ(TrojkatyPROJ.size(), proj);
    EXPECT_EQ(TrojkatyPROJ[0].P1.X, x);
    EXPECT_FALSE(okno->KlatkaGotowa) << "bez siatek nie ma nowej klatki";
}

TEST_F(Opcje_, CiecieWylaczoneUkrywaSuwakiINastepnePolozenieTnieTylkoNaMinus1000) {
    // Mesh triangles at plan depths -100, -75, 20 and 300: at 12 pixels a
    // metre they lie at -1200, -900, 240 and 3600 in the placed view.
    TEREN.Trojkaty = {MeshTroj(0, -100, 0), MeshTroj(0, -75, 0), MeshTroj(0, 20, 0), MeshTroj(0, 300, 0)};
    Rzut.TrasaX = 0;
    Rzut.TrasaY = 0;
    Rzut.katT = std::numbers::pi / 2;

    okno->UstawNaPikiecie();
    EXPECT_EQ(IleTrojkatowTEREN(), 1) << "cięcie na -800 i 2000";
    EXPECT_FALSE(d->P_Oswietlenie->isHidden());

    d->CB_TnijTroj->click();
    EXPECT_FALSE(Rzut.TnijTroj);
    EXPECT_TRUE(d->P_Oswietlenie->isHidden());
    EXPECT_EQ(IleTrojkatowTEREN(), 1) << "the switch alone does not cut or rebuild";

    okno->UstawNaPikiecie();
    ASSERT_EQ(IleTrojkatowTEREN(), 3);
    double ymin = 1e9, ymax = -1e9;
    for (const auto& t : TrojkatyTEREN) {
        ymin = std::min(ymin, t.P1.Y);
        ymax = std::max(ymax, t.P1.Y);
    }
    EXPECT_NEAR(ymin, -900, 1e-6);
    EXPECT_NEAR(ymax, 3600, 1e-6);

    d->CB_TnijTroj->click();
    EXPECT_TRUE(Rzut.TnijTroj);
    EXPECT_FALSE(d->P_Oswietlenie->isHidden());
}

// ---------------------------------------------------------------------------
// Showing the dialog

TEST_F(Opcje_, PokazanieOdswiezaEtykietyIZostawiaKontrolki) {
    UstawLocale l(',');
    EXPECT_EQ(d->size(), QSize(448, 223));
    EXPECT_EQ(d->minimumSize(), d->maximumSize());
    EXPECT_EQ(d->windowTitle(), "Opcje");
    EXPECT_EQ(d->PageControl1->currentWidget(), d->TS_Przesuwanie);
    EXPECT_EQ(d->L_TnijYMin->text(), "..");
    for (QPushButton* b : {d->B_Kule, d->B_Walce, d->B_Droga, d->B_Troj}) EXPECT_TRUE(b->isHidden());

    Swiatlo = {0.707, 0.707, 0.0};
    Rzut.OkoX = 479;
    Rzut.OkoY = -700;
    Rzut.OkoZ = 500;
    Rzut.OdlTnijYmin = -800;
    Rzut.OdlTnijYmax = 2000;
    okno->StatusBar1Panele[1]->setText("bez zmian");
    d->show();
    EXPECT_EQ(d->L_sx->text(), "x=0,71");
    EXPECT_EQ(d->l_sy->text(), "y=0,71");
    EXPECT_EQ(d->l_sz->text(), "z=0,00");
    EXPECT_EQ(d->l_xo->text(), "x=479,00");
    EXPECT_EQ(d->l_yo->text(), "-700,00");
    EXPECT_EQ(d->l_zo->text(), "500,00");
    EXPECT_EQ(d->L_TnijYMin->text(), "Y min = 800,00");
    EXPECT_EQ(d->L_TnijYMax->text(), "Y max = 2000,00");
    EXPECT_EQ(d->L_snat->text(), "nat= ");
    EXPECT_EQ(okno->StatusBar1Panele[1]->text(), "bez zmian");
    // Showing sets no slider from the values: they keep their own positions.
    EXPECT_EQ(d->sb_sx->value(), 70);
    EXPECT_EQ(d->SB_OdlTNIJ_Ymin->value(), -800);

    // Escape does not close the dialog.
    QTest::keyClick(d, Qt::Key_Escape);
    EXPECT_TRUE(d->isVisible());
    Klik(d->B_Powrpt);
    EXPECT_FALSE(d->isVisible());
}

TEST_F(Opcje_, ModalnieZMenuObrazOdswiezanyZaOknemStanZachowany) {
    okno->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(okno.get()));
    LicznikMalowania licznik;
    okno->rys->installEventFilter(&licznik);
    const double okoZ = Rzut.OkoZ;

    int malowania = 0;
    bool modalny = false;
    PodczasModalnego([&] { okno->m_OpcjeWyswietlania->trigger(); },
                     [&] {
                         modalny = d->isVisible() && QApplication::activeModalWidget() == d;
                         d->PageControl1->setCurrentWidget(d->TS_Oswietlenie);
                         d->E_krok->setText("3");
                         const int przed = licznik.ile;
                         QTest::mouseClick(d->B_OkoZPlus, Qt::LeftButton);
                         QTest::qWait(50);
                         malowania = licznik.ile - przed;
                         QTest::mouseClick(d->B_Powrpt, Qt::LeftButton);
                     });
    EXPECT_TRUE(modalny);
    EXPECT_GE(malowania, 1) << "the picture behind the dialog repaints";
    EXPECT_DOUBLE_EQ(Rzut.OkoZ, okoZ + 5);
    EXPECT_FALSE(d->isVisible());
    EXPECT_TRUE(okno->KlatkaGotowa) << "a redraw after the dialog closed";

    // The pop-up item opens the same dialog, with the state it was left in.
    QString krok;
    QWidget* strona = nullptr;
    PodczasModalnego([&] { okno->Pokaopcje1->trigger(); },
                     [&] {
                         krok = d->E_krok->text();
                         strona = d->PageControl1->currentWidget();
                         d->close();
                     });
    EXPECT_EQ(krok, "3");
    EXPECT_EQ(strona, d->TS_Oswietlenie);
}

TEST_F(Opcje_, PrzyciskiTestowychScen) {
    d->B_Kule->click();
    EXPECT_GT(IleTrojkatowPROJ(), 0);
    EXPECT_NE(TrojkatyPROJ[0].KolorCieniowany, 0u) << "shaded";
    TEREN.Trojkaty = {MeshTroj(0, 0, 0)};
    d->B_Troj->click();
    EXPECT_EQ(TEREN.IleTrojkatow(), 0);
    ASSERT_EQ(IleTrojkatowPROJ(), 1);
    EXPECT_EQ(IleCzworokatow(), 0);
    EXPECT_EQ(d->windowTitle(), "Orvan3D 2.0.0beta3");
}

// ---------------------------------------------------------------------------
// Reports in the viewer

TEST_F(Opcje_, PozycjeMenuRaportowWypelniajaPodglad) {
    UstawLocale l(',');
    Trasa.Obliczona = false;
    InfoTerenProj();
    const auto raportSiatek = OpisTekst;
    InfoTrasy();
    const auto raportTrasy = OpisTekst;
    OpisTekst.clear();

    auto tekstPodgladu = [&](QAction* pozycja) {
        QString tekst;
        bool widoczny = false;
        PodczasModalnego([&] { pozycja->trigger(); },
                         [&] {
                             widoczny = Opis->isVisible();
                             tekst = Opis->Tekst->toPlainText();
                             Opis->B_PowrotClick();
                         });
        EXPECT_TRUE(widoczny);
        EXPECT_FALSE(Opis->isVisible());
        return tekst.split('\n');
    };
    auto linie = [](const std::vector<std::string>& v) {
        QStringList l;
        for (const auto& s : v) l << QString::fromStdString(s);
        return l;
    };
    EXPECT_EQ(tekstPodgladu(okno->InfoTeren1), linie(raportSiatek));
    // A viewer left open with the route messages of a load shows the report too.
    OpisTekst = {"komunikat trasy"};
    Opis->show();
    const QStringList trasa = tekstPodgladu(okno->InfoProj1);
    EXPECT_EQ(trasa, linie(raportTrasy));
    EXPECT_TRUE(trasa.contains("BRAK PUNKTÓW TRASY (lub definicja nieprawidłowa)!"));
}

}  // namespace
