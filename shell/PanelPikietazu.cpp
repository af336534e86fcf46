// The chainage panel: the slider, the driver's view controls and the drive.
#include "shell/linie3Dtroj.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLayout>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QProgressDialog>
#include <QScreen>
#include <QSignalBlocker>
#include <QSettings>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <exception>
#include <memory>
#include <optional>

#include "common/KlawiszeWindows.h"
#include "common/ZapisBezpieczny.h"
#include "analiza/Profil.h"
#include "dialogs/ProfilPrzekroj.h"
#include "dialogs/OpcjeWyswietlania.h"
#include "dialogs/Widocznosc.h"
#include "dialogs/WyborLandXML.h"
#include "generators/GenerowanieBryl.h"
#include "model/ZapisywanieOdczytywanie.h"
#include "model/Zmienne.h"
#include "render/RysujPerspektywa.h"
#include "render/qt/PlotnoQt.h"
#include "scena/InfoProjekt.h"
#include "scena/LinieOsi.h"
#include "scena/Scena.h"
#include "shell/Klawisze.h"
#include "scena/WidokKierowcy.h"
#include "shell/PoleTekstowe.h"
#include "shell/Pomocnicze.h"

using namespace okno;

// ---------------------------------------------------------------------------

namespace {
// The chainage slider with the keys of a Windows scroll bar: Left, Up and
// Page Up go back, Right, Down and Page Down forward, Home and End to the
// ends. Other keys are left unused (and do not reach the window).
class TSuwakPikiety : public QScrollBar {
public:
    using QScrollBar::QScrollBar;

protected:
    void keyPressEvent(QKeyEvent* e) override {
        switch (e->key()) {
            case Qt::Key_Left:
            case Qt::Key_Up: triggerAction(SliderSingleStepSub); break;
            case Qt::Key_Right:
            case Qt::Key_Down: triggerAction(SliderSingleStepAdd); break;
            case Qt::Key_PageUp: triggerAction(SliderPageStepSub); break;
            case Qt::Key_PageDown: triggerAction(SliderPageStepAdd); break;
            case Qt::Key_Home: triggerAction(SliderToMinimum); break;
            case Qt::Key_End: triggerAction(SliderToMaximum); break;
            default: QScrollBar::keyPressEvent(e); return;
        }
        e->accept();
    }
};
}  // namespace

void TfMaster::UtworzPanelPikietazu() {
    // The chainage panel lies over the top-left corner of the picture.
    P_Pikietaz = new QWidget(rys);
    P_Pikietaz->setObjectName(QStringLiteral("P_Pikietaz"));
    P_Pikietaz->setGeometry(8, 8, 561, 92);
    P_Pikietaz->setAutoFillBackground(true);

    StaticText1 = new QLabel(QStringLiteral("Trasa"), P_Pikietaz);
    StaticText1->setObjectName(QStringLiteral("StaticText1"));
    StaticText1->setGeometry(8, 8, 44, 21);
    L_Pik = new QLabel(QStringLiteral(".."), P_Pikietaz);
    L_Pik->setObjectName(QStringLiteral("L_Pik"));
    L_Pik->setGeometry(56, 8, 380, 21);
    B_ObliczTrasa = new QPushButton(QStringLiteral("Widok ogólny"), P_Pikietaz);
    B_ObliczTrasa->setObjectName(QStringLiteral("B_ObliczTrasa"));
    B_ObliczTrasa->setGeometry(440, 5, 113, 27);
    B_ObliczTrasa->setAutoDefault(false);

    // Whole metres: one step per arrow, ten per page; it takes the keyboard
    // when clicked, and then the arrow keys drive along the road.
    SB_pik = new TSuwakPikiety(Qt::Horizontal, P_Pikietaz);
    SB_pik->setObjectName(QStringLiteral("SB_pik"));
    SB_pik->setGeometry(8, 38, 545, 19);
    SB_pik->setRange(0, 1000);
    SB_pik->setValue(0);
    SB_pik->setSingleStep(1);
    SB_pik->setPageStep(10);
    SB_pik->setFocusPolicy(Qt::StrongFocus);
    connect(SB_pik, &QScrollBar::valueChanged, this, &TfMaster::SB_pikChange);
    connect(B_ObliczTrasa, &QPushButton::clicked, this, &TfMaster::B_ObliczTrasaClick);
    // A third row under the slider: the chainage and design height texts, the profile window.
    L_Kilometraz = new QLabel(P_Pikietaz);
    L_Kilometraz->setObjectName(QStringLiteral("L_Kilometraz"));
    L_Kilometraz->setGeometry(8, 63, 314, 21);
    B_Profil = new QPushButton(QStringLiteral("Profil i przekrój"), P_Pikietaz);
    B_Profil->setObjectName(QStringLiteral("B_Profil"));
    B_Profil->setGeometry(326, 60, 113, 27);
    B_Profil->setAutoDefault(false);
    B_Profil->setFocusPolicy(Qt::NoFocus);
    connect(B_Profil, &QPushButton::clicked, this, &TfMaster::m_ProfilPrzekrojClick);
    // A fourth row: the driver's view and the drive; a fifth: the grade and the route element.
    P_Pikietaz->resize(561, 148);
    CB_WidokKierowcy = new QCheckBox(QStringLiteral("Widok kierowcy"), P_Pikietaz);
    CB_WidokKierowcy->setObjectName(QStringLiteral("CB_WidokKierowcy"));
    CB_WidokKierowcy->setGeometry(8, 94, 130, 23);
    B_Jazda = new QPushButton(QStringLiteral("▶ Jedź"), P_Pikietaz);
    B_Jazda->setObjectName(QStringLiteral("B_Jazda"));
    B_Jazda->setGeometry(140, 92, 90, 27);
    B_Jazda->setAutoDefault(false);
    B_Jazda->setToolTip(QStringLiteral("Jazda z zadaną prędkością (Spacja: start i stop)"));
    SE_Predkosc = new QSpinBox(P_Pikietaz);
    SE_Predkosc->setObjectName(QStringLiteral("SE_Predkosc"));
    SE_Predkosc->setGeometry(238, 94, 110, 23);
    SE_Predkosc->setRange(1, 300);
    SE_Predkosc->setSuffix(QStringLiteral(" km/h"));
    SE_Predkosc->setValue(static_cast<int>(WidokKierowcy.PredkoscKmh));
    CB_Wstecz = new QCheckBox(QStringLiteral("Wstecz"), P_Pikietaz);
    CB_Wstecz->setObjectName(QStringLiteral("CB_Wstecz"));
    CB_Wstecz->setGeometry(358, 94, 90, 23);
    CB_Wstecz->setToolTip(QStringLiteral("Jazda pod prąd pikietażu"));
    L_Kierowca = new QLabel(P_Pikietaz);
    L_Kierowca->setObjectName(QStringLiteral("L_Kierowca"));
    L_Kierowca->setGeometry(8, 122, 545, 21);
    // A sixth row, shown for a file of several alignments: the choice of the route.
    L_Trasa = new QLabel(QStringLiteral("Trasa:"), P_Pikietaz);
    L_Trasa->setObjectName(QStringLiteral("L_Trasa"));
    L_Trasa->setGeometry(8, 150, 44, 21);
    CB_Trasa = new QComboBox(P_Pikietaz);
    CB_Trasa->setObjectName(QStringLiteral("CB_Trasa"));
    CB_Trasa->setGeometry(56, 148, 497, 25);
    CB_Trasa->setFocusPolicy(Qt::NoFocus);
    L_Trasa->hide();
    CB_Trasa->hide();
    connect(CB_Trasa, &QComboBox::activated, this, [this](int nr) { WybierzTraseOkna(nr); });
    TimerJazdy = new QTimer(this);
    TimerJazdy->setInterval(10);
    connect(TimerJazdy, &QTimer::timeout, this, &TfMaster::KrokJazdyOkna);
    connect(CB_WidokKierowcy, &QCheckBox::toggled, this, &TfMaster::UstawWidokKierowcy);
    connect(B_Jazda, &QPushButton::clicked, this, &TfMaster::PrzelaczJazde);
    connect(SE_Predkosc, &QSpinBox::valueChanged, this, [](int v) { WidokKierowcy.PredkoscKmh = v; });
    connect(CB_Wstecz, &QCheckBox::toggled, this, [this](bool wstecz) {
        WidokKierowcy.Oko.WPrzod = !wstecz;
        if (Jazda() || Rzut.WidokKierowcy) PolozWidokPonownie();
    });
    P_Pikietaz->hide();

    auto ukryty = [this](const char* nazwa, const QString& napis, int x, void (TfMaster::*slot)()) {
        auto* b = new QPushButton(napis, rys);
        b->setObjectName(QString::fromLatin1(nazwa));
        b->setGeometry(x, 80, 100, 25);
        b->setAutoDefault(false);
        b->hide();
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    Button7 = ukryty("Button7", QStringLiteral("Przepisz Plik"), 8, &TfMaster::Button7Click);
    Button8 = ukryty("Button8", QStringLiteral("Open tro"), 112, &TfMaster::OtworzMTP);
    B_Korekta_lOko = ukryty("B_Korekta_lOko", QStringLiteral("Korekta  l Oko"), 216, &TfMaster::B_Korekta_lOkoClick);
    B_Korekta_ymin = ukryty("B_Korekta_ymin", QStringLiteral("Korekta "), 320, &TfMaster::B_Korekta_yminClick);
}

void TfMaster::OdswiezListeTras() {
    const QSignalBlocker b(CB_Trasa);
    CB_Trasa->clear();
    for (const TOsPliku& o : Trasa.Osie) {
        QString n = Q(o.Lancuch.Nazwa);
        if (!o.Pominieta.empty()) n += QStringLiteral(" (nieczytelna)");
        CB_Trasa->addItem(n);
    }
    CB_Trasa->setCurrentIndex(Trasa.NrOsi);
    const bool wiele = Trasa.Osie.size() > 1;
    L_Trasa->setVisible(wiele);
    CB_Trasa->setVisible(wiele);
    P_Pikietaz->resize(561, wiele ? 178 : 148);
}

bool TfMaster::WybierzTraseOkna(int nr) {
    if (nr == Trasa.NrOsi) return true;
    if (Jazda()) PrzelaczJazde();
    std::optional<QString> blad;
    {
        TZajety zajety;
        try {
            ::WybierzOs(nr);
            // The meshes' index stays; one whose build the change stopped is built again beside the picture.
            ZacznijBudoweIndeksow();
        } catch (const std::exception& e) {
            blad = Q(e.what());
        }
    }
    if (blad) {
        OdswiezListeTras();
        Blad(*blad);
        return false;
    }
    {
        TZajety zajety;
        PoWczytaniu(windowTitle(), Obetnij(Trasa.PikMin), Obetnij(Trasa.PikMax));
        PolozWidokPonownie();
    }
    PokazKomunikatyTrasy();
    return true;
}

void TfMaster::SB_pikChange() {
    TZajety zajety;
    const double c = SB_pik->value();
    PikietaBiezaca = c;
    PolozWidok(true);
}

void TfMaster::PolozWidokPonownie() {
    TZajety zajety;
    PolozWidok(false);
}

void TfMaster::PolozWidok(bool szukajPunktu) {
    OdswiezKontrolkiKierowcy();
    // The driver's eye, the posts and the profile window need the heights index:
    // while its build runs they wait for it; the chainage view alone does not.
    if (WidokKierowcy.Wlaczony || WidokKierowcy.SlupkiTrasy || (ProfilPrzekroj && ProfilPrzekroj->isVisible()))
        CzekajNaIndeksy();
    // The profile window follows the picture's chainage: the slider, the drive and Space alike.
    if (ProfilPrzekroj) ProfilPrzekroj->UstawPikiete(PikietaBiezaca);
    // Placed for the paint area's size: the driver's view leaves out what lies beside it.
    const TUstawienie u = UstawWidokNaPikiecie(PikietaBiezaca, szukajPunktu, TKadr{rys->width(), rys->height()});
    if (u == TUstawienie::BrakSiatek) return;
    // A route of a LandXML file keeps its start chainage: the texts show it added.
    L_Pik->setText(QStringLiteral("Pik = ") + Q(F2(Trasa.PikStart + PikietaBiezaca)) + QStringLiteral("  ") +
                   QStringLiteral("     (") + Q(F2(Trasa.PikStart + Trasa.PikMin)) + QStringLiteral(" - ") +
                   Q(F2(Trasa.PikStart + Trasa.PikMax)) + QStringLiteral(")"));
    PiszKilometraz(u == TUstawienie::BrakWysokosci);
    PiszPolozenieOka();
    Przerysuj(*this);
}

void TfMaster::PiszKilometraz(bool brakWysokosciDrogi) {
    // The chainage as designers write it, and the design surface's height at the axis when there is one;
    // while the heights index is being built the heights and the grade wait for it (the status bar says so).
    const bool budowa = ZegarIndeksow && ZegarIndeksow->isActive();
    QString km = Q(TekstKilometrazu(Trasa.PikStart + PikietaBiezaca, SeparatorDziesietny()));
    if (!budowa) {
        const TIndeksyWysokosci ix = IndeksyWysokosci(ProjektOkna);
        const TPunktProfilu os = PunktProfilu(Trasa, PikietaBiezaca, *ix.PROJ, *ix.TEREN);
        if (os.ZProj) km += QStringLiteral("     Niweleta: ") + Q(F2(*os.ZProj)) + QStringLiteral(" m");
    }
    L_Kilometraz->setText(km);
    // The grade in the direction of travel and the route element.
    QString tekst;
    if (Trasa.Obliczona)
        tekst = Q(budowa ? TekstElementu(PikietaBiezaca, WidokKierowcy.Oko.WPrzod)
                         : TekstSpadkuIElementu(PikietaBiezaca, WidokKierowcy.Oko.WPrzod));
    if (brakWysokosciDrogi) tekst = QStringLiteral("Brak wysokości drogi tutaj: widok z trasy.   ") + tekst;
    L_Kierowca->setText(tekst);
}

void TfMaster::OdswiezKontrolkiKierowcy() {
    const QSignalBlocker b1(CB_WidokKierowcy), b2(CB_Wstecz), b3(m_WidokKierowcy), b4(SE_Predkosc),
        b5(m_UproszczonyTeren);
    CB_WidokKierowcy->setChecked(WidokKierowcy.Wlaczony);
    m_WidokKierowcy->setChecked(WidokKierowcy.Wlaczony);
    m_UproszczonyTeren->setChecked(WidokKierowcy.UproszczonyTeren);
    CB_Wstecz->setChecked(!WidokKierowcy.Oko.WPrzod);
    SE_Predkosc->setValue(static_cast<int>(std::lround(WidokKierowcy.PredkoscKmh)));
}

void TfMaster::m_WidokKierowcyClick() { UstawWidokKierowcy(m_WidokKierowcy->isChecked()); }

// The coarse far ground of the driver's view: the setting kept with the mode's others, the view placed again.
void TfMaster::m_UproszczonyTerenClick() {
    WidokKierowcy.UproszczonyTeren = m_UproszczonyTeren->isChecked();
    if (Trasa.Obliczona) PolozWidokPonownie();
}

void TfMaster::UstawWidokKierowcy(bool wlaczony) {
    if (wlaczony != WidokKierowcy.Wlaczony) {
        WidokKierowcy.Wlaczony = wlaczony;
        // The driver's picture has its horizon lower than the chainage view's eye would put it.
        if (wlaczony) {
            OkoZTrasy = Rzut.OkoZ;
            UstawOkoKierowcy(rys->height());
        } else {
            Rzut.OkoZ = OkoZTrasy;
        }
        PiszPolozenieOka();
    }
    OdswiezKontrolkiKierowcy();
    if (Trasa.Obliczona) PolozWidokPonownie();
}

bool TfMaster::Jazda() const { return TimerJazdy->isActive(); }

void TfMaster::PrzelaczJazde() {
    if (Jazda()) {
        TimerJazdy->stop();
        B_Jazda->setText(QStringLiteral("▶ Jedź"));
        return;
    }
    if (!Trasa.Obliczona) return;
    // At the end of the road the drive starts again from its beginning.
    const bool wPrzod = WidokKierowcy.Oko.WPrzod;
    if (wPrzod && !(PikietaBiezaca < Trasa.PikMax)) PikietaBiezaca = Trasa.PikMin;
    if (!wPrzod && !(PikietaBiezaca > Trasa.PikMin)) PikietaBiezaca = Trasa.PikMax;
    B_Jazda->setText(QStringLiteral("❚❚ Stop"));
    CzasJazdy = ZegarJazdy();
    TimerJazdy->start();
}

void TfMaster::KrokJazdyOkna() {
    const double teraz = ZegarJazdy();
    const double sekundy = teraz - CzasJazdy;
    CzasJazdy = teraz;
    const TKrokJazdy k = KrokJazdy(PikietaBiezaca, WidokKierowcy.PredkoscKmh, sekundy, WidokKierowcy.Oko.WPrzod,
                                   Trasa.PikMin, Trasa.PikMax);
    PikietaBiezaca = k.Pikieta;
    {
        // The slider follows the car without placing the view a second time.
        const QSignalBlocker b(SB_pik);
        SB_pik->setValue(static_cast<int>(std::lround(PikietaBiezaca)));
    }
    PolozWidok(true);
    if (k.Koniec) PrzelaczJazde();
}

void TfMaster::B_ObliczTrasaClick() {
    if (Jazda()) PrzelaczJazde();
    TZajety zajety;
    if (!WidokOgolnyZLiniami()) return;
    PiszPolozenieOka();
    Przerysuj(*this);
}
