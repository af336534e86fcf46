// Driving along the road: the chainage panel, the slider, the general view
// and the two open flows, offscreen, with the file dialogs answered by paths.
#include <QFileInfo>
#include <QProgressDialog>
#include <QTimer>
#include <cmath>

#include "render/RysujPerspektywa.h"
#include "route/OblTrasa.h"
#include "test_jazda_wspolne.h"

using namespace jazda;

namespace {

QString TekstPikiety(const char* pik, const char* od, const char* do_) {
    return QString("Pik = %1       (%2 - %3)").arg(pik, od, do_);
}

class Panel : public OknoJazdy {};

// ---------------------------------------------------------------------------
// The TRO flow

TEST_F(Panel, OtwarcieTROUstawiaTytulZakresINapis) {
    UstawLocale przecinek(',');
    Pokaz();
    const QString p = Plik("droga850.tro", PlikTrasy(850));
    OtworzPrzezMenu(p);
    ASSERT_TRUE(bledy.isEmpty()) << bledy.join("\n").toStdString();
    ASSERT_EQ(dialogi.size(), 1u);
    EXPECT_EQ(dialogi[0].filtr, okno->OpenDialog1.Filtr);
    EXPECT_FALSE(dialogi[0].zapis);
    EXPECT_EQ(okno->windowTitle(), p);
    EXPECT_FLOAT_EQ(Trasa.PikMax, 850.0f);
    EXPECT_EQ(okno->L_Pik->text(), "Pik. od 0,00  do 850,00");
    EXPECT_EQ(okno->SB_pik->minimum(), 0);
    EXPECT_EQ(okno->SB_pik->maximum(), 850);
    EXPECT_EQ(okno->SB_pik->value(), 0);
    EXPECT_TRUE(okno->P_Pikietaz->isVisible());
    EXPECT_GT(IleTrojkatowTEREN(), 0);
    // The next dialog starts where the file was.
    EXPECT_EQ(okno->OpenDialog1.KatalogPoczatkowy, QFileInfo(p).absolutePath());
    // The position stayed in range: the general view of the load is kept.
    EXPECT_DOUBLE_EQ(Rzut.TrasaX, 0.0);

    // A move to 120: the route point, its direction and the chainage text.
    okno->SB_pik->setValue(120);
    EXPECT_EQ(okno->L_Pik->text(), TekstPikiety("120,00", "0,00", "850,00"));
    EXPECT_NEAR(Rzut.TrasaX, 170.0, 1e-6);
    EXPECT_NEAR(Rzut.TrasaY, 50.0, 1e-6);
    EXPECT_NEAR(Rzut.katT, 0.0, 1e-9);
    EXPECT_DOUBLE_EQ(Rzut.alfa, Rzut.katT);
    EXPECT_DOUBLE_EQ(Rzut.PrzesunX, 0.0);
    EXPECT_DOUBLE_EQ(Rzut.ObrotX, 0.0);
    // The view is the one placed at that chainage, cut and shaded.
    const auto teren = TrojkatyTEREN;
    ASSERT_TRUE(UstawNaPikiecieRdzen());
    ASSERT_EQ(teren.size(), TrojkatyTEREN.size());
    for (size_t i = 0; i < teren.size(); ++i) {
        EXPECT_DOUBLE_EQ(teren[i].P1.X, TrojkatyTEREN[i].P1.X);
        EXPECT_DOUBLE_EQ(teren[i].P2.Y, TrojkatyTEREN[i].P2.Y);
        EXPECT_EQ(teren[i].KolorCieniowany, TrojkatyTEREN[i].KolorCieniowany);
    }
    // Nothing lies in front of the near cut or beyond the far cut.
    for (const auto& t : TrojkatyTEREN)
        for (const TPunkt3D* v : {&t.P1, &t.P2, &t.P3}) {
            EXPECT_GE(v->Y, Rzut.OdlTnijYmin - 1e-6);
            EXPECT_LE(v->Y, Rzut.OdlTnijYmax + 1e-6);
        }

    // The general view: rebuilt and zoomed by 4, slider and label untouched.
    okno->B_ObliczTrasa->click();
    EXPECT_EQ(okno->SB_pik->value(), 120);
    EXPECT_EQ(okno->L_Pik->text(), TekstPikiety("120,00", "0,00", "850,00"));
    ASSERT_EQ(TrojkatyTEREN.size(), 2u);
    double xmax = 0;
    for (const auto& t : TrojkatyTEREN) xmax = std::max({xmax, t.P1.X, t.P2.X, t.P3.X});
    EXPECT_NEAR(xmax, 4.0 * 950.0, 1e-6);
}

TEST_F(Panel, PanelWidocznyTylkoDlaTrasyDluzszejNizJeden) {
    Pokaz();
    OtworzPrzezMenu(Plik("p15.tro", PlikTrasy(1.5)));
    EXPECT_FLOAT_EQ(Trasa.PikMax, 1.5f);
    EXPECT_TRUE(okno->P_Pikietaz->isVisible());
    EXPECT_EQ(okno->SB_pik->maximum(), 1);
    OtworzPrzezMenu(Plik("p10.tro", PlikTrasy(1.0)));
    EXPECT_FLOAT_EQ(Trasa.PikMax, 1.0f);
    EXPECT_FALSE(okno->P_Pikietaz->isVisible());
    // A file without a route keeps the route loaded before (length 1: hidden).
    OtworzPrzezMenu(Plik("bez.tro", PlikTrasy(10, false, true, false)));
    EXPECT_FLOAT_EQ(Trasa.PikMax, 1.0f);
    EXPECT_FALSE(okno->P_Pikietaz->isVisible());
    EXPECT_TRUE(bledy.isEmpty());
}

TEST_F(Panel, KrotszaTrasaPoDluzszejPrzesuwaSuwakIUstawiaWidok) {
    UstawLocale przecinek(',');
    Pokaz();
    OtworzPrzezMenu(Plik("dluga.tro", PlikTrasy(850)));
    okno->SB_pik->setValue(120);
    // A route of 300: 120 lies in it, the slider stays, no view is placed.
    OtworzPrzezMenu(Plik("srednia.tro", PlikTrasy(300)));
    EXPECT_EQ(okno->SB_pik->value(), 120);
    EXPECT_EQ(okno->SB_pik->maximum(), 300);
    EXPECT_EQ(okno->L_Pik->text(), "Pik. od 0,00  do 300,00");
    // The general view of the load stands: zoomed by 4 from the meshes.
    double xmax = 0;
    for (const auto& t : TrojkatyTEREN) xmax = std::max({xmax, t.P1.X, t.P2.X, t.P3.X});
    EXPECT_NEAR(xmax, 4.0 * 400.0, 1e-6);

    okno->SB_pik->setValue(280);
    // A route of 200 with the slider at 280: it moves to 200 and places the view there.
    OtworzPrzezMenu(Plik("krotka.tro", PlikTrasy(200)));
    EXPECT_EQ(okno->SB_pik->value(), 200);
    EXPECT_EQ(okno->SB_pik->maximum(), 200);
    EXPECT_EQ(okno->L_Pik->text(), TekstPikiety("200,00", "0,00", "200,00"));
    EXPECT_NEAR(Rzut.TrasaX, 250.0, 0.01);
    EXPECT_NEAR(Rzut.TrasaY, 50.0, 1e-6);
    EXPECT_EQ(okno->windowTitle(), katalog + "krotka.tro");
    // The arrays hold the chainage view of the new file, not the general view.
    const auto teren = TrojkatyTEREN;
    ASSERT_TRUE(UstawNaPikiecieRdzen());
    ASSERT_EQ(teren.size(), TrojkatyTEREN.size());
    for (size_t i = 0; i < teren.size(); ++i) EXPECT_DOUBLE_EQ(teren[i].P3.X, TrojkatyTEREN[i].P3.X);
}

TEST_F(Panel, InneRozszerzenieNiczegoNieWczytujeAleLiczyPanel) {
    Pokaz();
    const QString p = Plik("droga.tro", PlikTrasy(850));
    OtworzPrzezMenu(p);
    okno->Pokapikieta1->trigger();  // hidden by hand
    ASSERT_FALSE(okno->P_Pikietaz->isVisible());
    const std::string przed = pliki_testowe::Zrzut();
    OpisTekst = {"linia"};
    // Another extension, even of a file that does not exist: nothing is read.
    OtworzPrzezMenu(katalog + "nie_ma.txt");
    EXPECT_TRUE(bledy.isEmpty());
    EXPECT_TRUE(okno->P_Pikietaz->isVisible());
    EXPECT_EQ(okno->windowTitle(), p);
    EXPECT_TRUE(OpisTekst.empty());  // redrawn
    OpisTekst = {};
    EXPECT_EQ(pliki_testowe::Zrzut(), przed);
    // A .mtp file in the TRO flow is not read either.
    OtworzPrzezMenu(Plik("droga.mtp", PlikTrasy(5, true)));
    EXPECT_FLOAT_EQ(Trasa.PikMax, 850.0f);
    EXPECT_EQ(okno->SB_pik->maximum(), 850);
    // Cancelled: nothing changes, nothing is redrawn.
    OpisTekst = {"linia"};
    okno->Otwrz1->trigger();
    EXPECT_EQ(OpisTekst.size(), 1u);
}

TEST_F(Panel, BezSiatkiSuwakZapamietujePunktINicWiecej) {
    UstawLocale przecinek(',');
    Pokaz();
    OtworzPrzezMenu(Plik("trasa.tro", PlikTrasy(400, false, false, true)));
    ASSERT_TRUE(bledy.isEmpty()) << bledy.join("\n").toStdString();
    ASSERT_TRUE(okno->P_Pikietaz->isVisible());
    Czworokaty.push_back(TCzworokatRys{});
    Czworokaty.back().P2.X = 7;
    OpisTekst = {"linia"};
    const std::string przed = pliki_testowe::Zrzut();
    const QString napis = okno->L_Pik->text();
    okno->SB_pik->setValue(120);
    double x = 0, y = 0;
    PunktNaPikiecie(120, x, y);
    EXPECT_DOUBLE_EQ(Rzut.TrasaX, x);
    EXPECT_DOUBLE_EQ(Rzut.TrasaY, y);
    EXPECT_DOUBLE_EQ(Rzut.katT, KatNaPikiecie(120));
    EXPECT_EQ(okno->L_Pik->text(), napis);
    EXPECT_EQ(OpisTekst.size(), 1u);  // not redrawn
    EXPECT_EQ(pliki_testowe::Zrzut(), przed);
    // The general view has nothing to rebuild either.
    okno->B_ObliczTrasa->click();
    EXPECT_EQ(pliki_testowe::Zrzut(), przed);
}

TEST_F(Panel, SuwakBezPlikuNicNieRusza) {
    // Nothing loaded, a test scene on screen, the panel shown from the pop-up menu.
    Pokaz();
    okno->Generujekrantestowy1->trigger();
    okno->Pokapikieta1->trigger();
    ASSERT_TRUE(okno->P_Pikietaz->isVisible());
    const std::string przed = pliki_testowe::Zrzut();
    okno->SB_pik->setValue(10);
    okno->B_ObliczTrasa->click();
    EXPECT_EQ(pliki_testowe::Zrzut(), przed);
    EXPECT_EQ(okno->L_Pik->text(), "..");
    EXPECT_TRUE(std::isfinite(Rzut.katT));
}

TEST_F(Panel, BlednyPlikZostawiaSceneITytul) {
    Pokaz();
    const QString dobry = Plik("dobry.tro", PlikTrasy(850));
    OtworzPrzezMenu(dobry);
    okno->SB_pik->setValue(120);
    const std::string przed = pliki_testowe::Zrzut();
    const QString napis = okno->L_Pik->text();

    // A count that is no number, deep in the file.
    std::string zly = PlikTrasy(300);
    zly.replace(zly.find("#TroTEREN#\r\n2"), 13, "#TroTEREN#\r\nx2");
    const QString pz = Plik("zly.tro", zly);
    OtworzPrzezMenu(pz);
    ASSERT_EQ(bledy.size(), 1);
    EXPECT_TRUE(bledy[0].contains("'x2'")) << bledy[0].toStdString();
    EXPECT_TRUE(bledy[0].contains(pz)) << "the message names the file";
    // A file that is not there.
    OtworzPrzezMenu(katalog + "brak.tro");
    EXPECT_EQ(bledy.size(), 2);
    // The MTP flow the same.
    OtworzMTPPrzyciskiem(katalog + "brak.mtp");
    EXPECT_EQ(bledy.size(), 3);

    EXPECT_EQ(pliki_testowe::Zrzut(), przed);
    EXPECT_EQ(okno->windowTitle(), dobry);
    EXPECT_EQ(okno->L_Pik->text(), napis);
    EXPECT_EQ(okno->SB_pik->value(), 120);
    EXPECT_EQ(okno->SB_pik->maximum(), 850);
    EXPECT_TRUE(okno->P_Pikietaz->isVisible());
}

TEST_F(Panel, PlikPrzykladowyDrogaPokazujePanel) {
    Pokaz();
    const QString p = QStringLiteral(ORVANY_BIN) + "/Przyklady/Droga.tro";
    ASSERT_TRUE(QFileInfo(p).isFile()) << p.toStdString();
    Przerysuj(*okno);
    const QImage pusty = okno->Ekran.copy(0, 0, 958, 637);
    OtworzPrzezMenu(p);
    ASSERT_TRUE(bledy.isEmpty()) << bledy.join("\n").toStdString();
    EXPECT_TRUE(okno->P_Pikietaz->isVisible());
    EXPECT_EQ(okno->windowTitle(), p);
    EXPECT_GT(Trasa.PikMax, 1.0f);
    EXPECT_EQ(okno->SB_pik->maximum(), static_cast<int>(std::trunc(Trasa.PikMax)));
    EXPECT_GT(IleTrojkatowTEREN() + IleTrojkatowPROJ(), 0);
    EXPECT_NE(okno->Ekran.copy(0, 0, 958, 637), pusty);
    // Halfway along the road the view is placed and something is in front of the eye.
    okno->SB_pik->setValue(okno->SB_pik->maximum() / 2);
    EXPECT_TRUE(okno->L_Pik->text().startsWith("Pik = "));
    EXPECT_GT(IleTrojkatowTEREN() + IleTrojkatowPROJ(), 0);
}

// ---------------------------------------------------------------------------
// The MTP flow and the conversion

TEST_F(Panel, OtwarcieMTPZakresOdMinusJedenIPanelBezZmian) {
    UstawLocale przecinek(',');
    Pokaz();
    const QString p = Plik("droga.mtp", PlikTrasy(850, true));
    OtworzMTPPrzyciskiem(p);
    ASSERT_TRUE(bledy.isEmpty()) << bledy.join("\n").toStdString();
    ASSERT_EQ(dialogi.size(), 1u);
    EXPECT_EQ(dialogi[0].filtr, okno->OpenTrojkaty.Filtr);
    EXPECT_EQ(okno->windowTitle(), p);
    EXPECT_EQ(okno->L_Pik->text(), "Pik. od 0,00  do 850,00");
    EXPECT_EQ(okno->SB_pik->minimum(), -1);
    EXPECT_EQ(okno->SB_pik->maximum(), 851);
    EXPECT_FALSE(okno->P_Pikietaz->isVisible());  // this flow leaves the panel alone
    EXPECT_EQ(okno->OpenTrojkatyPlik, p);
    // Another extension: nothing is read, the name is still remembered.
    OtworzMTPPrzyciskiem(Plik("x.T3D", "cokolwiek"));
    EXPECT_EQ(okno->windowTitle(), p);
    EXPECT_EQ(okno->OpenTrojkatyPlik, katalog + "x.T3D");
    EXPECT_TRUE(bledy.isEmpty());
}

TEST_F(Panel, PrzepisaniePlikuZOstatniegoMTP) {
    // No .mtp chosen yet: a message, no save dialog.
    okno->Button7->click();
    ASSERT_EQ(bledy.size(), 1);
    EXPECT_TRUE(bledy[0].contains("Nie wybrano pliku .mtp"));
    EXPECT_TRUE(dialogi.empty());

    const QString zrodlo = Plik("z.mtp", PlikTrasy(120, true));
    OtworzMTPPrzyciskiem(zrodlo);
    const std::string przed = pliki_testowe::Zrzut();
    wybory.push_back(katalog + "wynik.tro");
    okno->Button7->click();
    EXPECT_EQ(bledy.size(), 1);
    ASSERT_EQ(dialogi.size(), 2u);
    EXPECT_TRUE(dialogi[1].zapis);
    EXPECT_EQ(dialogi[1].filtr, okno->D_save.Filtr);
    EXPECT_EQ(pliki_testowe::Zrzut(), przed);  // the scene is not touched
    // The result opens in the TRO flow with the same route.
    OtworzPrzezMenu(katalog + "wynik.tro");
    EXPECT_TRUE(bledy.size() == 1) << bledy.join("\n").toStdString();
    EXPECT_FLOAT_EQ(Trasa.PikMax, 120.0f);
    EXPECT_EQ(okno->SB_pik->maximum(), 120);

    // A target that cannot be written: an error box, nothing else.
    wybory.push_back(katalog + "nie/ma/katalogu/w.tro");
    okno->Button7->click();
    EXPECT_EQ(bledy.size(), 2);
    // Cancelled: nothing.
    okno->Button7->click();
    EXPECT_EQ(bledy.size(), 2);
}

// ---------------------------------------------------------------------------
// Route messages, progress window, depth-sort buttons

TEST_F(Panel, KomunikatyTrasyWPrzegladarcePoNarysowaniu) {
    Pokaz();
    OtworzPrzezMenu(Plik("luk.tro", PlikTrasy(500, false, true, true, true)));
    ASSERT_FALSE(KomunikatyTrasy.empty());
    EXPECT_TRUE(Opis->isVisible());
    EXPECT_TRUE(Opis->Tekst->toPlainText().contains(QString::fromStdString(KomunikatyTrasy[0])));
    Opis->close();
    // A clean route shows nothing.
    OtworzPrzezMenu(Plik("prosta.tro", PlikTrasy(500)));
    EXPECT_TRUE(KomunikatyTrasy.empty());
    EXPECT_FALSE(Opis->isVisible());
}

TEST_F(Panel, OknoPostepuDlaDuzegoPlikuIPrzerwanie) {
    Pokaz();
    const QString p = Plik("duzy.tro", PlikTrasy(850));
    okno->ProgPostepu = 0;  // every file is large
    QString etykieta;
    bool widoczne = false;
    QTimer::singleShot(0, okno.get(), [&] {
        if (auto* d = okno->findChild<QProgressDialog*>("PostepWczytywania")) {
            etykieta = d->labelText();
            widoczne = d->isVisible();
        }
    });
    OtworzPrzezMenu(p);
    EXPECT_TRUE(widoczne);
    EXPECT_TRUE(etykieta.contains(p)) << etykieta.toStdString();
    EXPECT_EQ(okno->findChild<QProgressDialog*>("PostepWczytywania"), nullptr);
    EXPECT_FLOAT_EQ(Trasa.PikMax, 850.0f);

    // Stopped by the user: no error, nothing changes.
    const std::string przed = pliki_testowe::Zrzut();
    QTimer::singleShot(0, okno.get(), [&] {
        if (auto* d = okno->findChild<QProgressDialog*>("PostepWczytywania")) d->cancel();
    });
    OtworzPrzezMenu(Plik("inny.tro", PlikTrasy(300)));
    EXPECT_TRUE(bledy.isEmpty());
    EXPECT_EQ(pliki_testowe::Zrzut(), przed);
    EXPECT_EQ(okno->windowTitle(), p);

    // Small files are read without the window.
    okno->ProgPostepu = 1 << 20;
    bool bylo = false;
    QTimer::singleShot(0, okno.get(), [&] { bylo = okno->findChild<QProgressDialog*>() != nullptr; });
    OtworzPrzezMenu(Plik("maly.tro", PlikTrasy(300)));
    EXPECT_FALSE(bylo);
    EXPECT_FLOAT_EQ(Trasa.PikMax, 300.0f);
}

TEST_F(Panel, PrzyciskiKorektySortujaIRysuja) {
    OtworzPrzezMenu(Plik("droga.tro", PlikTrasy(850)));
    okno->SB_pik->setValue(100);
    // Turn the order round; the button puts it back far to near.
    std::reverse(TrojkatyTEREN.begin(), TrojkatyTEREN.end());
    OpisTekst = {"linia"};
    okno->B_Korekta_ymin->click();
    EXPECT_TRUE(OpisTekst.empty());
    for (size_t i = 1; i < TrojkatyTEREN.size(); ++i)
        EXPECT_GE(TrojkatyTEREN[i - 1].KluczYmin, TrojkatyTEREN[i].KluczYmin);
    OpisTekst = {"linia"};
    okno->B_Korekta_lOko->click();
    EXPECT_TRUE(OpisTekst.empty());
    for (size_t i = 1; i < TrojkatyTEREN.size(); ++i)
        EXPECT_GE(TrojkatyTEREN[i - 1].KluczOko, TrojkatyTEREN[i].KluczOko);
}

}  // namespace
