// The options dialog, offscreen: edit boxes with their fallbacks, zoom,
// outlines, eye buttons, cutting depths, the modal showing and the reports.
#include <QTimer>
#include <functional>
#include <numbers>

#include "scena/InfoProjekt.h"
#include "generators/GenerowanieBryl.h"
#include "render/RysujPerspektywa.h"
#include "test_jazda_wspolne.h"

namespace {

class LicznikMalowania : public QObject {
public:
    int ile = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        ile += e->type() == QEvent::Paint;
        return false;
    }
};

class Opcje_ : public jazda::OknoJazdy {
protected:
    void SetUp() override {
        OknoJazdy::SetUp();
        d = Opcje = new TOpcje(okno.get());
        cx = okno->rys->width() * 0.5;
    }
    // `wewnatrz` runs inside the modal loop of `akcja` and closes the window itself.
    static void PodczasModalnego(const std::function<void()>& akcja, const std::function<void()>& wewnatrz) {
        bool byl = false;
        QTimer::singleShot(0, [&] { byl = true, wewnatrz(); });
        akcja();
        EXPECT_TRUE(byl) << "no modal window";
    }
    TOpcje* d = nullptr;
    double cx = 0;
};

TEST_F(Opcje_, PolaEdycyjneIIchWartosciZastepcze) {
    UstawLocale l(',');
    TrojkatyPROJ = {TTrojkatRys{{cx + 100, 50, 20}, {cx, 0, 0}, {cx - 30, 10, 5}}};
    for (auto [tekst, krok] : {std::pair{"abc", 10.0}, {"2,5", 2.5}, {"2.5", 2.5}}) {
        const double x = TrojkatyPROJ[0].P1.X;
        d->E_krok->setText(tekst);
        QTest::mouseClick(d->B_dxPlus, Qt::LeftButton);
        EXPECT_DOUBLE_EQ(TrojkatyPROJ[0].P1.X, x + krok) << tekst;
    }
    TrojkatyPROJ = {TTrojkatRys{{cx + 100, 50, 20}, {cx, 0, 0}, {cx - 30, 10, 5}}};
    QTest::mouseClick(d->B_Powieksz, Qt::LeftButton);
    EXPECT_NEAR(TrojkatyPROJ[0].P1.X, cx + 110, 1e-9);
    QTest::mouseClick(d->B_Pomniejsz, Qt::LeftButton);
    EXPECT_NEAR(TrojkatyPROJ[0].P1.X, cx + 100, 1e-9);
    EXPECT_NEAR(TrojkatyPROJ[0].P3.Y, 10, 1e-12);
    d->E_wsp->setText("0");  // never collapses the scene
    QTest::mouseClick(d->B_Pomniejsz, Qt::LeftButton);
    EXPECT_NEAR(TrojkatyPROJ[0].P1.X, cx + 100 / 1.1, 1e-9);

    d->E_alfa->setText("");
    QTest::mouseClick(d->B_ObrotXp, Qt::LeftButton);
    EXPECT_NEAR(Rzut.ObrotX, std::numbers::pi / 180, 1e-12);

    for (auto [tekst, wynik] : {std::pair{"15", 10}, {"0", 1}, {"a", 5}, {"7", 7}}) {
        d->CB_NatObrys->setEditText(tekst);
        QTest::mouseClick(d->B_Swiatlo, Qt::LeftButton);
        EXPECT_EQ(NatObrys, wynik) << tekst;
    }
}

TEST_F(Opcje_, PrzyciskiOkaPiszaPasekStanu) {
    UstawLocale l('.');
    for (QPushButton* b : {d->B_OkoXPlus, d->B_OkoXMinus, d->B_OkoYPlus, d->B_OkoYMinus, d->B_OkoZPlus, d->B_OkoZMinus}) {
        okno->StatusBar1Panele[1]->setText("stary");
        QTest::mouseClick(b, Qt::LeftButton);
        EXPECT_EQ(okno->StatusBar1Panele[1]->text().toStdString(),
                  "X = " + FormatN(Rzut.OkoX + 10) + " Y = " + FormatN(Rzut.OkoY) + " Z = " + FormatN(Rzut.OkoZ));
    }
    Rzut.OkoX = 100, Rzut.OkoY = -700, Rzut.OkoZ = 500;
    QTest::mouseClick(d->B_OkoXPlus, Qt::LeftButton);
    EXPECT_EQ(okno->StatusBar1Panele[1]->text(), "X = 115.0 Y = -700.0 Z = 500.0");
}

TEST_F(Opcje_, GlebokosciCiecia) {
    UstawLocale l(',');
    // No mesh: depth and label change, the picture not.
    KuleTestowe(okno->rys->width());
    PrzeliczRzut();
    const auto proj = TrojkatyPROJ;
    okno->KlatkaGotowa = false;
    d->SB_OdlTNIJ_Ymin->setValue(-1000);
    d->SB_OdlTNIJ_YMax->setValue(1250);
    EXPECT_EQ(Rzut.OdlTnijYmin, -1000.0f);
    EXPECT_EQ(d->L_TnijYMin->text(), "Y min = 1000,00");
    EXPECT_EQ(d->L_TnijYMax->text(), "Y max = 1250,00");
    ASSERT_EQ(TrojkatyPROJ.size(), proj.size());
    EXPECT_EQ(TrojkatyPROJ[0].P1.X, proj[0].P1.X);
    EXPECT_FALSE(okno->KlatkaGotowa);

    // Plan depths -100, -75, 20, 300 lie at -1200, -900, 240, 3600 once placed.
    auto troj = [](double y) { return TTrojkat{.Y1 = y, .X2 = 1, .Y2 = y, .Y3 = y + 1}; };
    TEREN.Trojkaty = {troj(-100), troj(-75), troj(20), troj(300)};
    Rzut.OdlTnijYmin = -800, Rzut.OdlTnijYmax = 2000;
    Rzut.TrasaX = Rzut.TrasaY = 0;
    Rzut.katT = std::numbers::pi / 2;
    okno->UstawNaPikiecie();
    EXPECT_EQ(IleTrojkatowTEREN(), 1);
    d->CB_TnijTroj->click();
    EXPECT_TRUE(d->P_Oswietlenie->isHidden());
    okno->UstawNaPikiecie();
    EXPECT_EQ(IleTrojkatowTEREN(), 3) << "cut at -1000 only";
}

TEST_F(Opcje_, ModalnieZObrazemOdswiezanymZaOknem) {
    okno->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(okno.get()));
    LicznikMalowania licznik;
    okno->rys->installEventFilter(&licznik);
    int malowania = 0;
    PodczasModalnego([&] { okno->m_OpcjeWyswietlania->trigger(); },
                     [&] {
                         EXPECT_EQ(QApplication::activeModalWidget(), d);
                         const int przed = licznik.ile;
                         QTest::mouseClick(d->B_OkoZPlus, Qt::LeftButton);
                         QTest::qWait(50);
                         malowania = licznik.ile - przed;
                         QTest::mouseClick(d->B_Powrpt, Qt::LeftButton);
                     });
    EXPECT_GE(malowania, 1);
}

TEST_F(Opcje_, RaportyWPodgladzie) {
    Trasa.Obliczona = false;
    for (auto [pozycja, raport] : {std::pair{okno->InfoTeren1, &InfoTerenProj}, {okno->InfoProj1, &InfoTrasy}}) {
        raport();
        QString oczekiwany;
        for (const auto& s : OpisTekst) oczekiwany += QString::fromStdString(s) + "\n";
        oczekiwany.chop(1);
        OpisTekst = {"komunikat trasy"};
        QString tekst;
        PodczasModalnego([&] { pozycja->trigger(); },
                         [&] {
                             EXPECT_TRUE(Opis->isVisible());
                             tekst = Opis->Tekst->toPlainText();
                             Opis->B_PowrotClick();
                         });
        EXPECT_EQ(tekst, oczekiwany);
    }
}

}  // namespace
