#include "dialogs/ProfilPrzekroj.h"

#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

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

    auto* gora = new QHBoxLayout;
    gora->addWidget(L_Przewyzszenie);
    gora->addWidget(E_Przewyzszenie);
    gora->addStretch(1);
    auto* uklad = new QVBoxLayout(this);
    uklad->addLayout(gora);
    uklad->addWidget(Rysunek, 1);
    resize(RozmiarRysunkuProfilu.width() + 20, RozmiarRysunkuProfilu.height() + 60);

    connect(E_Przewyzszenie, &QDoubleSpinBox::valueChanged, this, [this](double v) {
        dane_.Przewyzszenie = v;
        Rysunek->update();
    });
}

void TfProfilPrzekroj::PoWczytaniu(double pikieta) {
    profilAktualny_ = false;
    dane_.Profil.clear();
    UstawPikiete(pikieta);
}

void TfProfilPrzekroj::UstawPikiete(double pikieta) {
    pikieta_ = pikieta;
    widokAktualny_ = false;
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
