// The options dialog, offscreen: edit boxes with their fallbacks, zoom,
// outlines, eye buttons, cutting depths, the modal showing and the reports.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <functional>
#include <memory>
#include <numbers>

#include "common/Funkcje.h"
#include "dialogs/InfoProjekt.h"
#include "dialogs/OpcjeWyswietlania.h"
#include "generators/GenerowanieBryl.h"
#include "model/Zmienne.h"
#include "pomocnicze/Pomocnicze.h"
#include "render/RysujPerspektywa.h"
#include "shell/PoleTekstowe.h"
#include "shell/linie3Dtroj.h"

namespace {

TTrojkatRys Rekord(TPunkt3D a, TPunkt3D b, TPunkt3D c) {
    TTrojkatRys t;
    t.P1 = a, t.P2 = b, t.P3 = c;
    return t;
}

TTrojkat MeshTroj(double y) {  // one unit wide, at plan depth y
    TTrojkat t;
    t.X1 = 0, t.Y1 = y, t.Z1 = 0;
    t.X2 = 1, t.Y2 = y, t.Z2 = 0;
    t.X3 = 0, t.Y3 = y + 1, t.Z3 = 0;
    return t;
}

class LicznikMalowania : public QObject {
public:
    int ile = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        ile += e->type() == QEvent::Paint;
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
        d = Opcje = new TOpcje(okno.get());
        cx = okno->rys->width() * 0.5;
    }
    void TearDown() override {
        fMaster = nullptr;
        Opis = nullptr;
        Opcje = nullptr;
        okno.reset();
        ZerujStan();
    }
    static void Klik(QPushButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    // `wewnatrz` runs inside the modal loop of `akcja` and closes the window itself.
    static void PodczasModalnego(const std::function<void()>& akcja, const std::function<void()>& wewnatrz) {
        bool byl = false;
        QTimer::singleShot(0, [&] { byl = true, wewnatrz(); });
        akcja();
        EXPECT_TRUE(byl) << "no modal window";
    }
    std::unique_ptr<TfMaster> okno;
    TOpcje* d = nullptr;
    double cx = 0;
};

TEST_F(Opcje_, PolaEdycyjneIIchWartosciZastepcze) {
    UstawLocale l(',');
    TrojkatyPROJ = {Rekord({cx + 100, 50, 20}, {cx, 0, 0}, {cx - 30, 10, 5})};
    const struct {
        const char* krok;
        QPushButton* b;
        double dx, dy;
    } kroki[] = {{"abc", d->B_dxPlus, 10, 0}, {"2,5", d->B_dyPlus, 0, 2.5}, {"2.5", d->B_dyMinus, 0, -2.5}};
    for (const auto& k : kroki) {
        const TPunkt3D p = TrojkatyPROJ[0].P1;
        d->E_krok->setText(k.krok);
        Klik(k.b);
        EXPECT_DOUBLE_EQ(TrojkatyPROJ[0].P1.X, p.X + k.dx) << k.krok;
        EXPECT_DOUBLE_EQ(TrojkatyPROJ[0].P1.Y, p.Y + k.dy) << k.krok;
    }
    TrojkatyPROJ = {Rekord({cx + 100, 50, 20}, {cx, 0, 0}, {cx - 30, 10, 5})};
    Klik(d->B_Powieksz);
    EXPECT_NEAR(TrojkatyPROJ[0].P1.X, cx + 110, 1e-9);
    Klik(d->B_Pomniejsz);
    EXPECT_NEAR(TrojkatyPROJ[0].P1.X, cx + 100, 1e-9);
    EXPECT_NEAR(TrojkatyPROJ[0].P3.Y, 10, 1e-12);
    d->E_wsp->setText("0");  // never collapses the scene
    Klik(d->B_Pomniejsz);
    EXPECT_NEAR(TrojkatyPROJ[0].P1.X, cx + 100 / 1.1, 1e-9);

    d->E_alfa->setText("");
    Klik(d->B_ObrotXp);
    EXPECT_NEAR(Rzut.ObrotX, std::numbers::pi / 180, 1e-12);

    for (auto [tekst, wynik] : {std::pair{"15", 10}, {"0", 1}, {"a", 5}, {"7", 7}}) {
        d->CB_NatObrys->setEditText(tekst);
        Klik(d->B_Swiatlo);
        EXPECT_EQ(NatObrys, wynik) << tekst;
    }
}

TEST_F(Opcje_, PrzyciskiOkaPiszaPasekStanu) {
    UstawLocale l('.');
    for (QPushButton* b : {d->B_OkoXPlus, d->B_OkoXMinus, d->B_OkoYPlus, d->B_OkoYMinus, d->B_OkoZPlus, d->B_OkoZMinus}) {
        okno->StatusBar1Panele[1]->setText("stary");
        Klik(b);
        EXPECT_EQ(okno->StatusBar1Panele[1]->text().toStdString(),
                  "X = " + FormatN(Rzut.OkoX + 10) + " Y = " + FormatN(Rzut.OkoY) + " Z = " + FormatN(Rzut.OkoZ));
    }
    Rzut.OkoX = 100, Rzut.OkoY = -700, Rzut.OkoZ = 500;
    Klik(d->B_OkoXPlus);
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
    TEREN.Trojkaty = {MeshTroj(-100), MeshTroj(-75), MeshTroj(20), MeshTroj(300)};
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
                         Klik(d->B_OkoZPlus);
                         QTest::qWait(50);
                         malowania = licznik.ile - przed;
                         Klik(d->B_Powrpt);
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
