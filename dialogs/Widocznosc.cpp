#include "dialogs/Widocznosc.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <atomic>
#include <memory>

#include "dialogs/PracaWTle.h"
#include "analiza/Wysokosci.h"

namespace {

QDoubleSpinBox* Pole(QWidget* rodzic, const char* nazwa, double od, double do_, int miejsca, double wartosc,
                     const QString& jednostka) {
    auto* p = new QDoubleSpinBox(rodzic);
    p->setObjectName(QString::fromLatin1(nazwa));
    p->setRange(od, do_);
    p->setDecimals(miejsca);
    p->setValue(wartosc);
    p->setSuffix(QStringLiteral(" ") + jednostka);
    return p;
}

}  // namespace

TDialogWidocznosci::TDialogWidocznosci(const TUstawieniaWidocznosci& u, bool pas, QWidget* rodzic) : QDialog(rodzic) {
    setObjectName(QStringLiteral("DialogWidocznosci"));
    setWindowTitle(QStringLiteral("Widoczność na zatrzymanie"));
    auto* uklad = new QVBoxLayout(this);
    auto* f = new QFormLayout;
    E_Krok = Pole(this, "E_Krok", 0.1, 1000, 2, u.Krok, QStringLiteral("m"));
    E_Oko = Pole(this, "E_Oko", 0, 100, 2, u.WysokoscOka, QStringLiteral("m"));
    E_Cel = Pole(this, "E_Cel", 0, 100, 2, u.WysokoscCelu, QStringLiteral("m"));
    E_Przesuniecie = Pole(this, "E_Przesuniecie", -100, 100, 2, u.Przesuniecie, QStringLiteral("m"));
    E_Predkosc = Pole(this, "E_Predkosc", 0, 300, 1, u.Predkosc, QStringLiteral("km/h"));
    E_Predkosc->setSpecialValueText(QStringLiteral("z parametrów projektowych"));
    E_Zasieg = Pole(this, "E_Zasieg", 1, 5000, 1, u.Zasieg, QStringLiteral("m"));
    E_CzasReakcji = Pole(this, "E_CzasReakcji", 0, 10, 2, u.CzasReakcji, QStringLiteral("s"));
    E_Opoznienie = Pole(this, "E_Opoznienie", 0.1, 20, 2, u.Opoznienie, QStringLiteral("m/s²"));
    CB_Kierunek = new QComboBox(this);
    CB_Kierunek->setObjectName(QStringLiteral("CB_Kierunek"));
    CB_Kierunek->addItems({QStringLiteral("oba"), QStringLiteral("naprzód (+)"), QStringLiteral("wstecz (−)")});
    CB_Kierunek->setCurrentIndex(u.Naprzod && u.Wstecz ? 0 : (u.Naprzod ? 1 : 2));
    f->addRow(QStringLiteral("Odstęp pikiet:"), E_Krok);
    f->addRow(QStringLiteral("Wysokość oka:"), E_Oko);
    f->addRow(QStringLiteral("Wysokość celu (przedmiotu na drodze):"), E_Cel);
    f->addRow(QStringLiteral("Odsunięcie w prawo od kierunku jazdy:"), E_Przesuniecie);
    f->addRow(QStringLiteral("Prędkość:"), E_Predkosc);
    f->addRow(QStringLiteral("Zasięg:"), E_Zasieg);
    f->addRow(QStringLiteral("Czas reakcji:"), E_CzasReakcji);
    f->addRow(QStringLiteral("Opóźnienie hamowania:"), E_Opoznienie);
    f->addRow(QStringLiteral("Kierunki jazdy:"), CB_Kierunek);
    uklad->addLayout(f);
    CB_Pas = new QCheckBox(QStringLiteral("Zaznaczaj odcinki niespełniające czerwonym pasem na drodze"), this);
    CB_Pas->setObjectName(QStringLiteral("CB_Pas"));
    CB_Pas->setChecked(pas);
    uklad->addWidget(CB_Pas);
    auto* przyciski = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    przyciski->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Sprawdź"));
    przyciski->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Anuluj"));
    connect(przyciski, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(przyciski, &QDialogButtonBox::rejected, this, &QDialog::reject);
    uklad->addWidget(przyciski);
}

TUstawieniaWidocznosci TDialogWidocznosci::Ustawienia() const {
    TUstawieniaWidocznosci u;
    u.Krok = E_Krok->value();
    u.WysokoscOka = E_Oko->value();
    u.WysokoscCelu = E_Cel->value();
    u.Przesuniecie = E_Przesuniecie->value();
    u.Predkosc = E_Predkosc->value();
    u.Zasieg = E_Zasieg->value();
    u.CzasReakcji = E_CzasReakcji->value();
    u.Opoznienie = E_Opoznienie->value();
    u.Naprzod = CB_Kierunek->currentIndex() != 2;
    u.Wstecz = CB_Kierunek->currentIndex() != 1;
    return u;
}

bool TDialogWidocznosci::Pas() const { return CB_Pas->isChecked(); }

// ---------------------------------------------------------------------------

TWidocznoscOkna::TWidocznoscOkna(QWidget* okno) : QObject(okno), okno_(okno) {}

TWidocznoscOkna::~TWidocznoscOkna() = default;

void TWidocznoscOkna::Sprawdz() {
    TUstawieniaWidocznosci u = Ustawienia;
    bool pas = ZaznaczajPas;
    if (PytajOUstawienia) {
        if (!PytajOUstawienia(u, pas)) return;
    } else {
        TDialogWidocznosci d(u, pas, okno_);
        if (d.exec() != QDialog::Accepted) return;
        u = d.Ustawienia();
        pas = d.Pas();
    }
    // The settings are kept even when the run is stopped: the next run starts from them.
    Ustawienia = u;
    ZaznaczajPas = pas;
    if (!Trasa.Obliczona) {
        if (PokazBlad) PokazBlad(QStringLiteral("Trasa nie jest obliczona: widoczność sprawdza się wzdłuż trasy."));
        return;
    }
    std::optional<std::vector<TWierszWidocznosci>> w = Uruchom(u);
    if (!w) return;
    PokazWyniki(std::move(*w));
}

std::optional<std::vector<TWierszWidocznosci>> TWidocznoscOkna::Uruchom(const TUstawieniaWidocznosci& u) {
    // The worker keeps the indices it starts with, whatever a load puts in
    // their place meanwhile; taking them builds them when they wait.
    TIndeksyWysokosci ix;
    try {
        ix = IndeksyWysokosci(ProjektOkna);
    } catch (const std::exception& e) {
        if (PokazBlad) PokazBlad(QString::fromUtf8(e.what()));
        return std::nullopt;
    }
    return WTle<std::vector<TWierszWidocznosci>>(
        okno_,
        {QStringLiteral("PostepWidocznosci"), QStringLiteral("WatekWidocznosci"),
         QStringLiteral("Sprawdzanie widoczności na zatrzymanie…")},
        [u, ix](const TPostepAnalizy& postep, const std::atomic<bool>* przerwij) {
            return ObliczWidocznosc({Trasa, ParametryProjektowe}, u, *ix.PROJ, *ix.TEREN, postep, przerwij);
        },
        PokazBlad);
}

void TWidocznoscOkna::PokazWyniki(std::vector<TWierszWidocznosci> wiersze) {
    Wiersze = std::move(wiersze);
    UstawPas(ZaznaczajPas);
    if (PokazWykres) PokazWykres(Wiersze, ZaznaczajPas);
    if (PokazRaport) PokazRaport(RaportWidocznosci(Wiersze, Ustawienia, Trasa.PikStart));
}

void TWidocznoscOkna::UstawPas(bool pas) {
    ZaznaczajPas = pas;
    std::vector<std::int32_t> trojkaty;
    if (pas && !Wiersze.empty())
        trojkaty = TrojkatyOdcinkow(Trasa, OdcinkiNiespelniajace(Wiersze), Ustawienia.Krok, Ustawienia.Przesuniecie,
                                    *IndeksyWysokosci(ProjektOkna).PROJ);
    if (trojkaty == WyroznionePROJ) return;
    WyroznionePROJ = std::move(trojkaty);
    if (OdswiezWidok) OdswiezWidok();
}

void TWidocznoscOkna::Porzuc() {
    Wiersze.clear();
    WyroznionePROJ.clear();
    if (PokazWykres) PokazWykres({}, ZaznaczajPas);
}
