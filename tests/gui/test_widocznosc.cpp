// The sight check in the window: a stopped run changes nothing; a finished one gives chart, strip and report.
#include <QScreen>
#include <QCheckBox>

#include "dialogs/ProfilPrzekroj.h"
#include "dialogs/Widocznosc.h"
#include "dialogs/WykresWidocznosci.h"
#include "test_jazda_wspolne.h"

using namespace jazda;

namespace {

struct OknoWidocznosci : OknoJazdy {
    int IleCzerwonych() const { return int(std::ranges::count(TrojkatyPROJ, KolorWyroznienia, &TTrojkatRys::Kolor)); }
};

}  // namespace

TEST_F(OknoWidocznosci, PrzerwanieNicNieZmieniaAWynikSiePokazuje) {
    Pokaz();
    Otworz(QString::fromUtf8(ORVANY_BIN "/Przyklady/Droga.tro"));
    ASSERT_TRUE(Trasa.Obliczona) << bledy.join("\n").toStdString();
    okno->SB_pik->setValue(600);
    if (Opis) Opis->hide();
    TWidocznoscOkna& w = *okno->Widocznosc;
    // 100 km/h: some stretches of the sample road fall short.
    w.PytajOUstawienia = [](TUstawieniaWidocznosci& u, bool& pas) { return u.Predkosc = 100, pas = true; };

    // "Przerwij" at the first look at the progress window.
    const std::vector<TTrojkatRys> przed = TrojkatyPROJ;
    OpisTekst = {"bez zmian"};
    bool przerwano = false;
    PrzerwijPostep(*okno, QStringLiteral("PostepWidocznosci"), przerwano, [](QProgressDialog& p) {
        EXPECT_EQ(p.labelText(), QStringLiteral("Sprawdzanie widoczności na zatrzymanie…"));
    });
    okno->m_Widocznosc->trigger();
    EXPECT_TRUE(przerwano && w.Wiersze.empty() && WyroznionePROJ.empty() && bledy.isEmpty());
    EXPECT_TRUE(TrojkatyPROJ == przed);
    EXPECT_EQ(OpisTekst, std::vector<std::string>{"bez zmian"});
    EXPECT_TRUE(okno->ProfilPrzekroj == nullptr || !okno->ProfilPrzekroj->Wykres->isVisible());
    EXPECT_EQ(w.Ustawienia.Predkosc, 100);  // the settings stay for the next run

    // The whole run (the window answers meanwhile: the timer above fired in it).
    okno->m_Widocznosc->trigger();
    const std::size_t pikiety = static_cast<std::size_t>(std::ceil(Trasa.PikMax / 10.0)) + 1;
    ASSERT_EQ(w.Wiersze.size(), 2 * pikiety);
    TfProfilPrzekroj* profil = okno->ProfilPrzekroj;
    ASSERT_TRUE(profil && profil->isVisible() && profil->Wykres->isVisible());
    EXPECT_EQ(profil->Wykres->Wiersze().size(), w.Wiersze.size());
    // Grown for the chart, the window still lies within the screen.
    const QRect ekran = profil->screen()->availableGeometry();
    EXPECT_TRUE(ekran.contains(profil->frameGeometry()))
        << profil->frameGeometry().y() << "+" << profil->frameGeometry().height() << " poza " << ekran.y() << "+"
        << ekran.height();
    const auto odcinki = OdcinkiNiespelniajace(w.Wiersze);
    ASSERT_FALSE(odcinki.empty());
    // The report in the viewer: a line per stretch and the summary (its lines: the core sight tests).
    EXPECT_EQ(OpisTekst.size(), odcinki.size() + 4);
    // The strip on the road seen from the middle of the first stretch, and off with the switch under the chart.
    okno->SB_pik->setValue(static_cast<int>(0.5 * (odcinki[0].Od + odcinki[0].Do)));
    EXPECT_GT(IleCzerwonych(), 0);
    profil->CB_Pas->setChecked(false);
    EXPECT_TRUE(WyroznionePROJ.empty() && IleCzerwonych() == 0);
    profil->CB_Pas->setChecked(true);
    EXPECT_GT(IleCzerwonych(), 0);

    // A load drops the results.
    Otworz(QString::fromUtf8(ORVANY_BIN "/Przyklady/Droga.tro"));
    EXPECT_TRUE(w.Wiersze.empty() && WyroznionePROJ.empty() && !profil->Wykres->isVisible() &&
                profil->Wykres->Wiersze().empty());
    okno->SB_pik->setValue(601);
    EXPECT_EQ(IleCzerwonych(), 0);
}
