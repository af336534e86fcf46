// The "Profil i przekrój" window kept in step with the slider, and its picture against the tool's.
#include <QDoubleSpinBox>
#include <QProcess>

#include "dialogs/ProfilPrzekroj.h"
#include "test_jazda_wspolne.h"

using namespace jazda;

namespace {

// The route runs along +X from (50, 50) (local) over TEREN 0..950 x 0..100 in two
// triangles; above the diagonal z = 100 + x / 950 + y / 100. PROJ: none.
struct Profil : OknoJazdy {
    void SetUp() override {
        OknoJazdy::SetUp();
        Pokaz();
        Otworz(Plik("droga.tro", PlikTrasy(850)));
        ASSERT_TRUE(bledy.isEmpty()) << bledy.join("\n").toStdString();
    }
    TfProfilPrzekroj* OknoProfilu() { return okno->findChild<TfProfilPrzekroj*>(); }
};

}  // namespace

TEST_F(Profil, OknoIdzieZaSuwakiem) {
    UstawLocale przecinek(',');
    okno->SB_pik->setValue(40);
    EXPECT_EQ(OknoProfilu(), nullptr);
    EXPECT_EQ(okno->L_Kilometraz->text(), "km 0+040,00");  // no design surface: no height
    // From the "Pokaż" menu; then the button of the panel brings the same window.
    okno->m_ProfilPrzekroj->trigger();
    TfProfilPrzekroj* p = OknoProfilu();
    ASSERT_NE(p, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(p));
    EXPECT_EQ(p->windowTitle(), "Profil i przekrój");
    EXPECT_EQ(p->Pikieta(), 40);
    okno->B_Profil->click();
    EXPECT_EQ(okno->findChildren<TfProfilPrzekroj*>().size(), 1);

    // The drawing's data at the slider's chainage (the heights themselves: the tool's profile and section tests).
    for (int s : {121, 850, 0}) {
        okno->SB_pik->setValue(s);
        const TDaneRysunkuProfilu& d = p->DaneRysunku();
        ASSERT_TRUE(d.Pikieta == s && d.NaOsi.ZTeren && !d.NaOsi.ZProj && !d.Przekroj.empty()) << s;
        EXPECT_NEAR(*d.NaOsi.ZTeren, 100 + (50 + s) / 950.0 + 0.5, 0.01) << s;
        EXPECT_NEAR(d.Przekroj.front().Odleglosc, -SzerokoscPrzekrojuRysunku, 1e-12);
    }
    EXPECT_NEAR(p->DaneRysunku().Profil.back().Pikieta, 850, 1e-3);
    // A route that starts at 1+000 (as a LandXML file may give it): the texts add its start.
    Trasa.PikStart = 1000;
    EXPECT_TRUE(OpisPikiety(ObliczDaneRysunkuProfilu(40, 10)).startsWith("km 1+040,00   Niweleta: brak"));
    Trasa.PikStart = 0;
    p->E_Przewyzszenie->setValue(25);

    // Hidden, it keeps the chainage and catches up when shown again, with its exaggeration.
    p->hide();
    okno->SB_pik->setValue(300);
    okno->m_ProfilPrzekroj->trigger();
    EXPECT_TRUE(p->DaneRysunku().Pikieta == 300 && p->DaneRysunku().Przewyzszenie == 25);

    // A new, shorter file: the slider and the window at its route's start, the long profile of the new route; a
    // test scene: nothing left to show.
    Otworz(Plik("krotka.tro", PlikTrasy(200)));
    EXPECT_TRUE(okno->SB_pik->value() == 0 && p->DaneRysunku().Pikieta == 0);
    EXPECT_NEAR(p->DaneRysunku().Profil.back().Pikieta, 200, 1e-3);
    okno->Generujekrantestowy1->trigger();
    EXPECT_TRUE(IndeksyWysokosci(ProjektOkna).TEREN->Pusty());
    EXPECT_FALSE(p->DaneRysunku().NaOsi.ZTeren);
}

TEST_F(Profil, ObrazNarzedziaToRysunekOkna) {
    const QString cli = QStringLiteral(ORVANY_BIN "/orvany3d-cli");
    if (!QFileInfo(cli).isExecutable()) GTEST_SKIP() << "brak " << cli.toStdString();
    okno->SB_pik->setValue(120);
    okno->m_ProfilPrzekroj->trigger();
    TfProfilPrzekroj* p = OknoProfilu();
    ASSERT_NE(p, nullptr);
    p->Rysunek->setFixedSize(RozmiarRysunkuProfilu);
    QApplication::processEvents();
    const QImage okna = p->Rysunek->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QString png = katalog + "profil.png";
    QProcess narzedzie;
    narzedzie.start(cli, {"profil", katalog + "droga.tro", "--obraz", png, "--pikieta", "120"});
    ASSERT_TRUE(narzedzie.waitForFinished(60000));
    ASSERT_EQ(narzedzie.exitCode(), 0) << narzedzie.readAllStandardError().toStdString();
    EXPECT_TRUE(QImage(png).convertToFormat(QImage::Format_RGB32) == okna);
}

TEST(RysunekProfilu, PrzewyzszenieMieszczaceSieIPodzialkiPikiet) {
    // Heights spanning 10 m over 1000 m drawn 900 px wide fit 270 px at 27x (a twentieth of the height free at
    // each edge); no height range or length: the largest exaggeration the window allows.
    EXPECT_DOUBLE_EQ(NajwiekszePrzewyzszenie(10, 1000, 900, 270), 27);
    EXPECT_EQ(NajwiekszePrzewyzszenie(0, 1000, 900, 270), PrzewyzszenieNajwieksze);
    // The sight chart writes its chainages as the profile does.
    EXPECT_EQ(TekstPodzialkiPikiety(2500, 500), "2+500");
    EXPECT_EQ(TekstPodzialkiPikiety(641.2153 + 58.7847, 50), "0+700");
}
