#include "dialogs/StronaKierowcy.h"

#include <QGridLayout>
#include <QLabel>
#include <QScrollArea>
#include <QShowEvent>
#include <QVBoxLayout>

#include "model/Zmienne.h"
#include "scena/WidokKierowcy.h"

namespace {
QDoubleSpinBox* Pole(double od, double do_, double krok, int miejsca, const QString& jednostka) {
    auto* p = new QDoubleSpinBox;
    p->setRange(od, do_);
    p->setSingleStep(krok);
    p->setDecimals(miejsca);
    p->setSuffix(jednostka);
    p->setKeyboardTracking(false);
    return p;
}
}  // namespace

TStronaKierowcy::TStronaKierowcy(std::function<void()> poZmianie, QWidget* rodzic)
    : QWidget(rodzic), poZmianie_(std::move(poZmianie)) {
    setObjectName(QStringLiteral("TS_Kierowca"));
    // The dialog has a fixed size: the controls stand in two columns, in a
    // scroll area in case a larger font needs more room.
    auto* zewnetrzny = new QVBoxLayout(this);
    zewnetrzny->setContentsMargins(0, 0, 0, 0);
    auto* przewijanie = new QScrollArea;
    przewijanie->setFrameShape(QFrame::NoFrame);
    przewijanie->setWidgetResizable(true);
    zewnetrzny->addWidget(przewijanie);
    auto* wnetrze = new QWidget;
    przewijanie->setWidget(wnetrze);
    auto* uklad = new QGridLayout(wnetrze);
    uklad->setContentsMargins(6, 6, 6, 6);
    uklad->setHorizontalSpacing(6);
    uklad->setVerticalSpacing(3);
    SE_WysokoscOka = Pole(0.1, 100.0, 0.1, 2, QStringLiteral(" m"));
    SE_WysokoscOka->setObjectName(QStringLiteral("SE_WysokoscOka"));
    SE_Przesuniecie = Pole(-100.0, 100.0, 0.25, 2, QStringLiteral(" m"));
    SE_Przesuniecie->setObjectName(QStringLiteral("SE_Przesuniecie"));
    SE_Przesuniecie->setToolTip(QStringLiteral("Dodatnie: w prawo od osi w kierunku jazdy"));
    CB_Pochylenie = new QCheckBox(QStringLiteral("Pochylenie ze spadkiem"));
    CB_Pochylenie->setToolTip(QStringLiteral("Widok pochyla się razem ze spadkiem drogi"));
    CB_Pochylenie->setObjectName(QStringLiteral("CB_Pochylenie"));
    CB_Przechylenie = new QCheckBox(QStringLiteral("Przechylenie z pochyleniem poprzecznym"));
    CB_Przechylenie->setToolTip(
        QStringLiteral("Widok przechyla się z pochyleniem poprzecznym pasa, jak samochód na łuku z przechyłką"));
    CB_Przechylenie->setObjectName(QStringLiteral("CB_Przechylenie"));
    CB_Kierunek = new QComboBox;
    CB_Kierunek->setObjectName(QStringLiteral("CB_Kierunek"));
    CB_Kierunek->addItems({QStringLiteral("zgodnie z pikietażem"), QStringLiteral("pod prąd pikietażu")});
    SE_Zasieg = Pole(50.0, 20000.0, 50.0, 0, QStringLiteral(" m"));
    SE_Zasieg->setObjectName(QStringLiteral("SE_Zasieg"));
    CB_SlupkiKierowcy = new QCheckBox(QStringLiteral("kierowcy"));
    CB_SlupkiKierowcy->setObjectName(QStringLiteral("CB_SlupkiKierowcy"));
    CB_SlupkiTrasy = new QCheckBox(QStringLiteral("z trasy"));
    CB_SlupkiTrasy->setObjectName(QStringLiteral("CB_SlupkiTrasy"));
    SE_OdstepSlupkow = Pole(10.0, 10000.0, 10.0, 0, QStringLiteral(" m"));
    SE_OdstepSlupkow->setObjectName(QStringLiteral("SE_OdstepSlupkow"));
    SE_OdsuniecieSlupkow = Pole(-100.0, 100.0, 0.5, 1, QStringLiteral(" m"));
    SE_OdsuniecieSlupkow->setObjectName(QStringLiteral("SE_OdsuniecieSlupkow"));
    SE_OdsuniecieSlupkow->setToolTip(QStringLiteral("Dodatnie: w prawo od osi w kierunku pikietażu"));

    SE_SzerokoscDrogi = Pole(1.0, 50.0, 0.5, 1, QStringLiteral(" m"));
    SE_SzerokoscDrogi->setObjectName(QStringLiteral("SE_SzerokoscDrogi"));
    SE_SzerokoscDrogi->setToolTip(
        QStringLiteral("Szerokość jezdni rysowanej na wysokości niwelety, gdy nie ma powierzchni projektu (PROJ)"));

    auto napis = [](const char* t) { return new QLabel(QString::fromUtf8(t)); };
    uklad->addWidget(napis("Oko nad jezdnią:"), 0, 0);
    uklad->addWidget(SE_WysokoscOka, 0, 1);
    uklad->addWidget(napis("Odsunięcie oka:"), 0, 2);
    uklad->addWidget(SE_Przesuniecie, 0, 3);
    uklad->addWidget(CB_Pochylenie, 1, 0, 1, 2);
    uklad->addWidget(napis("Zasięg widoku:"), 1, 2);
    uklad->addWidget(SE_Zasieg, 1, 3);
    uklad->addWidget(napis("Kierunek jazdy:"), 2, 0);
    uklad->addWidget(CB_Kierunek, 2, 1, 1, 3);
    uklad->addWidget(napis("Słupki w widoku:"), 3, 0);
    uklad->addWidget(CB_SlupkiKierowcy, 3, 1);
    uklad->addWidget(CB_SlupkiTrasy, 3, 2);
    uklad->addWidget(napis("Odstęp słupków:"), 4, 0);
    uklad->addWidget(SE_OdstepSlupkow, 4, 1);
    uklad->addWidget(napis("od osi:"), 4, 2);
    uklad->addWidget(SE_OdsuniecieSlupkow, 4, 3);
    uklad->addWidget(CB_Przechylenie, 5, 0, 1, 4);
    uklad->addWidget(napis("Droga z niwelety:"), 6, 0);
    uklad->addWidget(SE_SzerokoscDrogi, 6, 1);
    uklad->setRowStretch(7, 1);
    Odswiez();

    auto zmiana = [this](auto zapisz) {
        return [this, zapisz](auto v) {
            if (odswiezanie_) return;
            zapisz(WidokKierowcy, v);
            if (poZmianie_) poZmianie_();
        };
    };
    connect(SE_WysokoscOka, &QDoubleSpinBox::valueChanged, this,
            zmiana([](TWidokKierowcy& w, double v) { w.Oko.Wysokosc = v; }));
    connect(SE_Przesuniecie, &QDoubleSpinBox::valueChanged, this,
            zmiana([](TWidokKierowcy& w, double v) { w.Oko.Przesuniecie = v; }));
    connect(CB_Pochylenie, &QCheckBox::toggled, this,
            zmiana([](TWidokKierowcy& w, bool v) { w.PochylenieZaDroga = v; }));
    connect(CB_Przechylenie, &QCheckBox::toggled, this,
            zmiana([](TWidokKierowcy& w, bool v) { w.PrzechylenieZDroga = v; }));
    connect(CB_Kierunek, &QComboBox::currentIndexChanged, this,
            zmiana([](TWidokKierowcy& w, int i) { w.Oko.WPrzod = i == 0; }));
    connect(SE_Zasieg, &QDoubleSpinBox::valueChanged, this, zmiana([](TWidokKierowcy& w, double v) { w.Zasieg = v; }));
    connect(CB_SlupkiKierowcy, &QCheckBox::toggled, this,
            zmiana([](TWidokKierowcy& w, bool v) { w.SlupkiKierowcy = v; }));
    connect(CB_SlupkiTrasy, &QCheckBox::toggled, this, zmiana([](TWidokKierowcy& w, bool v) { w.SlupkiTrasy = v; }));
    connect(SE_OdstepSlupkow, &QDoubleSpinBox::valueChanged, this,
            zmiana([](TWidokKierowcy& w, double v) { w.OdstepSlupkow = v; }));
    connect(SE_OdsuniecieSlupkow, &QDoubleSpinBox::valueChanged, this,
            zmiana([](TWidokKierowcy& w, double v) { w.OdsuniecieSlupkow = v; }));
    connect(SE_SzerokoscDrogi, &QDoubleSpinBox::valueChanged, this, [this](double v) {
        if (odswiezanie_) return;
        UstawSzerokoscDrogi(ProjektOkna, v);
        if (poZmianie_) poZmianie_();
    });
}

void TStronaKierowcy::Odswiez() {
    odswiezanie_ = true;
    const TWidokKierowcy& w = WidokKierowcy;
    SE_WysokoscOka->setValue(w.Oko.Wysokosc);
    SE_Przesuniecie->setValue(w.Oko.Przesuniecie);
    CB_Pochylenie->setChecked(w.PochylenieZaDroga);
    CB_Przechylenie->setChecked(w.PrzechylenieZDroga);
    CB_Kierunek->setCurrentIndex(w.Oko.WPrzod ? 0 : 1);
    SE_Zasieg->setValue(w.Zasieg);
    CB_SlupkiKierowcy->setChecked(w.SlupkiKierowcy);
    CB_SlupkiTrasy->setChecked(w.SlupkiTrasy);
    SE_OdstepSlupkow->setValue(w.OdstepSlupkow);
    SE_OdsuniecieSlupkow->setValue(w.OdsuniecieSlupkow);
    SE_SzerokoscDrogi->setValue(Trasa.SzerokoscWstegi);
    odswiezanie_ = false;
}

void TStronaKierowcy::showEvent(QShowEvent* e) {
    Odswiez();
    QWidget::showEvent(e);
}
