// The options dialog: edit boxes with fallbacks, eye buttons, cutting depths, modal showing, reports in the viewer.
#include <QTimer>

#include "generators/GenerowanieBryl.h"
#include "scena/InfoProjekt.h"
#include "test_jazda_wspolne.h"

namespace {

class Opcje_ : public jazda::OknoJazdy {
protected:
    void SetUp() override {
        OknoJazdy::SetUp();
        d = Opcje = new TOpcje(okno.get());
    }
    // `wewnatrz` runs inside the modal loop of `akcja` and closes the window itself.
    static void PodczasModalnego(const std::function<void()>& akcja, const std::function<void()>& wewnatrz) {
        bool byl = false;
        QTimer::singleShot(0, [&] { byl = true, wewnatrz(); });
        akcja();
        EXPECT_TRUE(byl) << "no modal window";
    }
    TOpcje* d = nullptr;
};

TEST_F(Opcje_, PolaEdycyjneIIchWartosciZastepcze) {
    UstawLocale l(',');
    const double cx = okno->rys->width() * 0.5;
    TrojkatyPROJ = {TTrojkatRys{{cx + 100, 50, 20}, {cx, 0, 0}, {cx - 30, 10, 5}}};
    // Shift step: either separator, 10 when the text is no number.
    for (auto [tekst, x] : {std::pair{"abc", 110.0}, {"2,5", 112.5}, {"2.5", 115.0}}) {
        d->E_krok->setText(tekst);
        QTest::mouseClick(d->B_dxPlus, Qt::LeftButton);
        EXPECT_DOUBLE_EQ(TrojkatyPROJ[0].P1.X, cx + x) << tekst;
    }
    for (auto [tekst, wynik] : {std::pair{"15", 10}, {"0", 1}, {"a", 5}, {"7", 7}}) {  // outline strength 1 .. 10
        d->CB_NatObrys->setEditText(tekst);
        QTest::mouseClick(d->B_Swiatlo, Qt::LeftButton);
        EXPECT_EQ(NatObrys, wynik) << tekst;
    }
}

TEST_F(Opcje_, PrzyciskiOkaPiszaPasekStanu) {
    // Steps of 5, written to the status bar (the eye's X plus 10).
    Rzut.OkoX = 100, Rzut.OkoY = -700, Rzut.OkoZ = 500;
    for (QPushButton* b : {d->B_OkoXPlus, d->B_OkoXPlus, d->B_OkoYMinus, d->B_OkoZPlus, d->B_OkoZPlus, d->B_OkoZPlus})
        QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_EQ(Pasek(), "X = 120.0 Y = -705.0 Z = 515.0");
    for (QPushButton* b : {d->B_OkoXMinus, d->B_OkoYPlus, d->B_OkoYPlus, d->B_OkoZMinus})
        QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_EQ(Pasek(), "X = 115.0 Y = -695.0 Z = 510.0");
}

TEST_F(Opcje_, GlebokosciCiecia) {
    d->SB_OdlTNIJ_Ymin->setValue(-1000);
    // Plan depths -100, -75, 20, 300 lie at -1200, -900, 240, 3600 once placed (scale 12).
    auto troj = [](double y) { return Trojkat({0, y, 0}, {1, y, 0}, {0, y + 1, 0}); };
    UstawTrojkaty(TEREN, {troj(-100), troj(-75), troj(20), troj(300)});
    Rzut.OdlTnijYmin = -800, Rzut.OdlTnijYmax = 2000, Rzut.TrasaX = Rzut.TrasaY = 0, Rzut.katT = std::numbers::pi / 2;
    okno->PolozWidokPonownie();
    EXPECT_EQ(IleTrojkatowTEREN(), 1);
    d->CB_TnijTroj->click();  // no cutting: the near cut at -1000 only, whole triangles
    EXPECT_TRUE(d->P_Oswietlenie->isHidden());
    okno->PolozWidokPonownie();
    EXPECT_EQ(IleTrojkatowTEREN(), 3);
}

TEST_F(Opcje_, ModalnieZObrazemOdswiezanymZaOknemIRaporty) {
    struct : QObject {
        int ile = 0;
        bool eventFilter(QObject*, QEvent* e) override { return ile += e->type() == QEvent::Paint, false; }
    } malowania;
    okno->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(okno.get()));
    okno->rys->installEventFilter(&malowania);
    PodczasModalnego([&] { okno->m_OpcjeWyswietlania->trigger(); },
                     [&] {
                         EXPECT_EQ(QApplication::activeModalWidget(), d);
                         const int przed = malowania.ile;
                         QTest::mouseClick(d->B_OkoZPlus, Qt::LeftButton);
                         EXPECT_TRUE(QTest::qWaitFor([&] { return malowania.ile > przed; }, 5000));
                         QTest::mouseClick(d->B_Powrpt, Qt::LeftButton);
                     });
    // The menu items show their report, not the lines the viewer held before.
    TEREN.Trojkaty.resize(3);
    Trasa.Obliczona = false;
    KomunikatyTrasy = {"komunikat z budowy"};
    const std::pair<QAction*, QString> raporty[] = {
        {okno->InfoTeren1, "Ilosc trojkatów TEREN = 3"},
        {okno->InfoProj1,
         "BRAK PUNKTÓW TRASY (lub definicja nieprawidłowa)!\n\nKomunikaty obliczenia trasy:\n"
         "komunikat z budowy"}};
    for (auto [pozycja, fragment] : raporty) {
        OpisTekst = {"stara linia"};
        QString tekst;
        PodczasModalnego([&] { pozycja->trigger(); },
                         [&] { tekst = Opis->isVisible() ? Opis->Tekst->toPlainText() : "", Opis->B_PowrotClick(); });
        EXPECT_TRUE(tekst.contains(fragment) && !tekst.contains("stara linia")) << tekst.toStdString();
    }
}

}  // namespace
