#include "dialogs/ProfilPrzekroj.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QSignalBlocker>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>

#include "dialogs/WykresWidocznosci.h"
#include "model/Zmienne.h"

TRysunekProfilu::TRysunekProfilu(const TDaneRysunkuProfilu& dane, QWidget* rodzic) : QWidget(rodzic), dane_(dane) {
    setMinimumSize(480, 320);
}

void TRysunekProfilu::paintEvent(QPaintEvent*) {
    QPainter malarz(this);
    RysujProfilIPrzekroj(malarz, rect(), dane_);
}

TfProfilPrzekroj::TfProfilPrzekroj(QWidget* rodzic) : QDialog(rodzic) {
    setObjectName(QStringLiteral("fProfilPrzekroj"));
    setWindowTitle(QStringLiteral("Profil i przekrój"));
    setModal(false);

    L_Przewyzszenie = new QLabel(QStringLiteral("Przewyższenie profilu podłużnego:"), this);
    E_Przewyzszenie = new QDoubleSpinBox(this);
    E_Przewyzszenie->setObjectName(QStringLiteral("E_Przewyzszenie"));
    E_Przewyzszenie->setRange(PrzewyzszenieNajmniejsze, PrzewyzszenieNajwieksze);
    E_Przewyzszenie->setDecimals(1);
    E_Przewyzszenie->setSingleStep(1.0);
    E_Przewyzszenie->setSuffix(QStringLiteral(" ×"));
    E_Przewyzszenie->setValue(PrzewyzszenieDomyslne);
    L_Przewyzszenie->setBuddy(E_Przewyzszenie);
    dane_.Przewyzszenie = PrzewyzszenieDomyslne;

    Rysunek = new TRysunekProfilu(dane_, this);
    Rysunek->setObjectName(QStringLiteral("Rysunek"));

    Wyniki = new QWidget(this);
    Wyniki->setObjectName(QStringLiteral("WynikiWidocznosci"));
    Wykres = new TWykresWidocznosci(Wyniki);
    CB_Pas = new QCheckBox(QStringLiteral("Zaznaczaj odcinki niespełniające czerwonym pasem na drodze"), Wyniki);
    CB_Pas->setObjectName(QStringLiteral("CB_Pas"));
    auto* ukladWynikow = new QVBoxLayout(Wyniki);
    ukladWynikow->setContentsMargins(0, 0, 0, 0);
    ukladWynikow->addWidget(Wykres, 1);
    ukladWynikow->addWidget(CB_Pas);
    Wyniki->hide();

    Podzial = new QSplitter(Qt::Vertical, this);
    Podzial->setObjectName(QStringLiteral("Podzial"));
    Podzial->setChildrenCollapsible(false);
    Podzial->addWidget(Rysunek);
    Podzial->addWidget(Wyniki);
    WykresyKontroli = new TWykresyKontroli(this);
    WykresyKontroli->hide();
    Podzial->addWidget(WykresyKontroli);
    Podzial->setStretchFactor(0, 3);
    Podzial->setStretchFactor(1, 2);
    Podzial->setStretchFactor(2, 2);

    auto* gora = new QHBoxLayout;
    gora->addWidget(L_Przewyzszenie);
    gora->addWidget(E_Przewyzszenie);
    gora->addStretch(1);
    auto* uklad = new QVBoxLayout(this);
    uklad->addLayout(gora);
    uklad->addWidget(Podzial, 1);
    resize(RozmiarRysunkuProfilu.width() + 20, RozmiarRysunkuProfilu.height() + 60);
    ZmiescNaEkranie();

    connect(E_Przewyzszenie, &QDoubleSpinBox::valueChanged, this, [this](double v) {
        dane_.Przewyzszenie = v;
        Rysunek->update();
    });
    connect(CB_Pas, &QCheckBox::toggled, this, [this](bool p) {
        if (ZmienPas) ZmienPas(p);
    });
}

void TfProfilPrzekroj::UstawWynikiWidocznosci(std::vector<TWierszWidocznosci> wiersze, bool pas) {
    const bool sa = !wiersze.empty();
    Wykres->UstawWiersze(std::move(wiersze), Trasa.PikStart);
    Wykres->UstawZnacznik(pikieta_);
    {
        const QSignalBlocker blokada(CB_Pas);
        CB_Pas->setChecked(pas);
    }
    if (sa == !Wyniki->isHidden()) return;
    if (!sa) {
        Wyniki->hide();
        return;
    }
    Pokaz(Wyniki, Wykres->sizeHint().height() + CB_Pas->sizeHint().height());
}

void TfProfilPrzekroj::UstawWykresyKontroli(TDaneWykresowKontroli dane) {
    const bool sa = !dane.Puste();
    WykresyKontroli->UstawDane(std::move(dane));
    WykresyKontroli->UstawZnacznik(pikieta_);
    if (!sa) {
        WykresyKontroli->hide();
        return;
    }
    const int potrzebna = WykresyKontroli->sizeHint().height();
    const int jest = WykresyKontroli->isHidden() ? 0 : WykresyKontroli->height();
    if (jest < potrzebna) Pokaz(WykresyKontroli, potrzebna - jest);
}

void TfProfilPrzekroj::Pokaz(QWidget* w, int dodatek) {
    // Room for the chart: the window grows by the chart's height as far as
    // the screen allows; the drawing keeps at least its smallest size.
    // The drawing keeps its height; the shown widget gets the room the window grew by.
    QList<int> rozmiary = Podzial->sizes();
    w->show();
    resize(width(), std::max(height() + dodatek, minimumSizeHint().height()));
    ZmiescNaEkranie();
    rozmiary[Podzial->indexOf(w)] += dodatek;
    rozmiary[0] = std::max(rozmiary[0], Rysunek->minimumHeight());
    Podzial->setSizes(rozmiary);
}

void TfProfilPrzekroj::ZmiescNaEkranie() {
    const QScreen* ekran = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!ekran) return;
    // The frame (title bar and borders) comes on top of the size; the whole window stays on the screen.
    const QRect dostepne = ekran->availableGeometry();
    const int ramkaX = std::max(frameGeometry().width() - width(), 0),
              ramkaY = std::max(frameGeometry().height() - height(), 0);
    resize(std::min(width(), dostepne.width() - ramkaX), std::min(height(), dostepne.height() - ramkaY));
    const QRect r = frameGeometry();
    move(std::clamp(r.left(), dostepne.left(), std::max(dostepne.left(), dostepne.right() + 1 - r.width())) +
             (x() - r.left()),
         std::clamp(r.top(), dostepne.top(), std::max(dostepne.top(), dostepne.bottom() + 1 - r.height())) +
             (y() - r.top()));
}

void TfProfilPrzekroj::PoWczytaniu(double pikieta) {
    profilAktualny_ = false;
    dane_.Profil.clear();
    UstawPikiete(pikieta);
}

void TfProfilPrzekroj::UstawPikiete(double pikieta) {
    pikieta_ = pikieta;
    widokAktualny_ = false;
    Wykres->UstawZnacznik(pikieta);
    WykresyKontroli->UstawZnacznik(pikieta);
    if (isVisible()) Przelicz();
}

void TfProfilPrzekroj::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    Przelicz();
}

void TfProfilPrzekroj::Przelicz() {
    if (widokAktualny_ && profilAktualny_) return;
    std::vector<TPunktProfilu> profil;
    if (profilAktualny_) profil = std::move(dane_.Profil);
    dane_ = ObliczDaneRysunkuProfilu(pikieta_, E_Przewyzszenie->value(), std::move(profil));
    profilAktualny_ = widokAktualny_ = true;
    Rysunek->update();
}
