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
#include "dialogs/WczytanieNMT.h"
#include "dialogs/Widocznosc.h"
#include "dialogs/WyborLandXML.h"
#include "generators/GenerowanieBryl.h"
#include "model/ZapisywanieOdczytywanie.h"
#include "model/Zmienne.h"
#include "render/RysujPerspektywa.h"
#include "render/qt/PlotnoQt.h"
#include "scena/InfoProjekt.h"
#include "scena/Scena.h"
#include "shell/Klawisze.h"
#include "scena/WidokKierowcy.h"
#include "shell/PoleTekstowe.h"

TfMaster* fMaster = nullptr;

// ---------------------------------------------------------------------------

TRys::TRys(TfMaster& okno, QWidget* rodzic) : QWidget(rodzic), okno_(okno) {
    setObjectName(QStringLiteral("rys"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void TRys::paintEvent(QPaintEvent*) {
    QPainter malarz(this);
    okno_.FormPaint(malarz);
}

void TRys::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    okno_.FormResize();
}

void TRys::mousePressEvent(QMouseEvent* e) {
    okno_.setFocus(Qt::MouseFocusReason);
    QWidget::mousePressEvent(e);
}

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

TfMaster::TfMaster(QWidget* rodzic) : QMainWindow(rodzic) {
    setWindowTitle(QStringLiteral("Orvany3D"));
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(true);

    rys = new TRys(*this, this);
    setCentralWidget(rys);
    rys->setContextMenuPolicy(Qt::CustomContextMenu);

    UtworzPanelPikietazu();

    StatusBar1 = new QStatusBar(this);
    setStatusBar(StatusBar1);
    StatusBar1->setSizeGripEnabled(false);
    for (int i = 0; i < 2; ++i) {
        StatusBar1Panele[i] = new QLabel(StatusBar1);
        StatusBar1Panele[i]->setFrameShape(QFrame::StyledPanel);
    }
    StatusBar1Panele[0]->setFixedWidth(50);
    StatusBar1Panele[1]->setMinimumWidth(150);
    StatusBar1->addWidget(StatusBar1Panele[0]);
    StatusBar1->addWidget(StatusBar1Panele[1]);
    L_BrakPliku = new QLabel(StatusBar1);
    StatusBar1->addWidget(L_BrakPliku, 1);

    UtworzMenu();

    // The paint area is 958 x 637 pixels at start; the menu bar and the
    // status bar are laid around it, and the window is centred on the screen.
    rys->setFixedSize(958, 637);
    FormCreate();

    Widocznosc = new TWidocznoscOkna(this);
    Widocznosc->OdswiezWidok = [this] { UstawNaPikiecie(); };
    Widocznosc->PokazBlad = [this](const QString& t) { Blad(t); };
    // The chart lives in the profile window: made and shown for results,
    // only emptied when there are none.
    Widocznosc->PokazWykres = [this](const std::vector<TWierszWidocznosci>& wiersze, bool pas) {
        if (wiersze.empty()) {
            if (ProfilPrzekroj) ProfilPrzekroj->UstawWynikiWidocznosci({}, pas);
            return;
        }
        m_ProfilPrzekrojClick();
        ProfilPrzekroj->UstawWynikiWidocznosci(wiersze, pas);
    };
    Widocznosc->PokazRaport = [](std::vector<std::string> linie) {
        OpisTekst = std::move(linie);
        if (!Opis) return;
        Opis->show();
        Opis->WczytajTekst();
        Opis->raise();
        Opis->activateWindow();
    };
    if (QLayout* l = layout()) l->activate();
    adjustSize();
    rys->setMinimumSize(1, 1);
    rys->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (QScreen* s = QGuiApplication::primaryScreen()) move(s->availableGeometry().center() - rect().center());
    setFocus();
}

TfMaster::~TfMaster() { FormDestroy(); }

void TfMaster::UtworzMenu() {
    MainMenu1 = menuBar();
    auto dodaj = [this](QMenu* menu, const char* nazwa, const QString& napis, const char* skrot, auto slot) {
        QAction* a = menu->addAction(napis);
        a->setObjectName(QString::fromLatin1(nazwa));
        if (skrot) a->setShortcut(QKeySequence(QString::fromLatin1(skrot)));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    auto przelacznik = [&](QMenu* menu, const char* nazwa, const QString& napis, const char* skrot, bool stan,
                           auto slot) {
        QAction* a = dodaj(menu, nazwa, napis, skrot, slot);
        a->setCheckable(true);
        a->setChecked(stan);
        return a;
    };

    Pliki1 = MainMenu1->addMenu(QStringLiteral("Pliki"));
    Pliki1->setObjectName(QStringLiteral("Pliki1"));
    Otwrz1 = dodaj(Pliki1, "Otwrz1", QStringLiteral("Otwórz"), "Ctrl+L", &TfMaster::OtworzTRO);
    M_Ostatnie = Pliki1->addMenu(QStringLiteral("Ostatnio otwierane"));
    M_Ostatnie->setObjectName(QStringLiteral("M_Ostatnie"));
    for (int i = 0; i < IleOstatnich; ++i) {
        QAction* a = M_Ostatnie->addAction(QString());
        a->setObjectName(QStringLiteral("Ostatni%1").arg(i + 1));
        connect(a, &QAction::triggered, this, [this, a] { OtworzOstatni(a->data().toString()); });
        Ostatnie1[i] = a;
    }
    M_Ostatnie->addSeparator();
    WyczyscOstatnie1 = M_Ostatnie->addAction(QStringLiteral("Wyczyść listę"), this, [this] { ZapiszOstatnie({}); });
    WyczyscOstatnie1->setObjectName(QStringLiteral("WyczyscOstatnie1"));
    // Another running copy of the program may have changed the list.
    connect(Pliki1, &QMenu::aboutToShow, this, &TfMaster::OdswiezOstatnie);
    OdswiezOstatnie();
    dodaj(Pliki1, "ZapiszLandXML1", QStringLiteral("Zapisz jako LandXML…"), nullptr, &TfMaster::ZapiszLandXMLClick);
    Pliki1->addSeparator();
    Generujekrantestowy1 = dodaj(Pliki1, "Generujekrantestowy1", QStringLiteral("Generuj ekran testowy"), "Ctrl+Q",
                                 &TfMaster::Generujekrantestowy1Click);
    Generujekrantestowylosowy1 = dodaj(Pliki1, "Generujekrantestowylosowy1",
                                       QStringLiteral("Generuj ekran testowy losowy"), "Ctrl+W",
                                       &TfMaster::Generujekrantestowylosowy1Click);
    Pliki1->addSeparator();
    Oprogramie1 = dodaj(Pliki1, "Oprogramie1", QStringLiteral("O programie"), nullptr, &TfMaster::Oprogramie1Click);
    Pliki1->addSeparator();
    Koniec1 = dodaj(Pliki1, "Koniec1", QStringLiteral("Koniec"), nullptr, &TfMaster::Koniec1Click);

    // The flags' start values come from InicjujZmienne, run before the menus exist
    // only in FormCreate; the marks are set from the same values there.
    Poka1 = MainMenu1->addMenu(QStringLiteral("Pokaż"));
    Poka1->setObjectName(QStringLiteral("Poka1"));
    InfoTeren1 = dodaj(Poka1, "InfoTeren1", QStringLiteral("Info Teren, Proj"), nullptr, &TfMaster::InfoTeren1Click);
    InfoProj1 = dodaj(Poka1, "InfoProj1", QStringLiteral("Info Trasa"), nullptr, &TfMaster::InfoProj1Click);
    m_ProfilPrzekroj = dodaj(Poka1, "m_ProfilPrzekroj", QStringLiteral("Profil i przekrój"), nullptr,
                             &TfMaster::m_ProfilPrzekrojClick);
    m_Widocznosc = dodaj(Poka1, "m_Widocznosc", QStringLiteral("Widoczność na zatrzymanie"), nullptr,
                         &TfMaster::m_WidocznoscClick);
    Poka1->addSeparator();
    m_OpcjeWyswietlania = dodaj(Poka1, "m_OpcjeWyswietlania", QStringLiteral("Opcje wyświetlania"), "Ctrl+O",
                                &TfMaster::m_OpcjeWyswietlaniaClick);
    m_RysujParametryEkran = przelacznik(Poka1, "m_RysujParametryEkran", QStringLiteral("Rysuj parametry na ekranie"),
                                        "Ctrl+I", false, &TfMaster::m_RysujParametryEkranClick);
    m_ZrzutEkranuDoSchowka = dodaj(Poka1, "m_ZrzutEkranuDoSchowka", QStringLiteral("Zrzut ekranu do schowka"), "Ctrl+Z",
                                   &TfMaster::m_ZrzutEkranuDoSchowkaClick);
    Poka1->addSeparator();
    m_RysujPROJ = przelacznik(Poka1, "m_RysujPROJ", QStringLiteral("Rysuj PROJ"), "Ctrl+P", true,
                              &TfMaster::m_RysujPROJClick);
    m_RysujTEREN = przelacznik(Poka1, "m_RysujTEREN", QStringLiteral("Rysuj TEREN"), "Ctrl+T", true,
                               &TfMaster::m_RysujTERENClick);
    m_RysujLinie = przelacznik(Poka1, "m_RysujLinie", QStringLiteral("Rysuj linie pomocnicze"), "Ctrl+Y", true,
                               &TfMaster::m_RysujLinieClick);
    m_RysujNiebo = przelacznik(Poka1, "m_RysujNiebo", QStringLiteral("Rysuj \"Niebo\""), "Ctrl+N", true,
                               &TfMaster::m_RysujNieboClick);
    Poka1->addSeparator();
    m_WidokKierowcy = przelacznik(Poka1, "m_WidokKierowcy", QStringLiteral("Widok kierowcy"), "Ctrl+K", false,
                                  &TfMaster::m_WidokKierowcyClick);

    Pomoc1 = MainMenu1->addMenu(QStringLiteral("Pomoc"));
    Pomoc1->setObjectName(QStringLiteral("Pomoc1"));
    Krotkiopis1 = dodaj(Pomoc1, "Krotkiopis1", QStringLiteral("Krotki opis"), nullptr, &TfMaster::Krotkiopis1Click);

    // The picture's pop-up menu. Its shortcuts are those of the main menu's
    // items with the same handlers; they are only shown here, so that one key
    // never belongs to two actions.
    M_Generowanie = new QMenu(this);
    M_Generowanie->setObjectName(QStringLiteral("M_Generowanie"));
    Pokapikieta1 = dodaj(M_Generowanie, "Pokapikieta1", QStringLiteral("Pokaż pikietaż"), nullptr,
                         &TfMaster::Pokapikieta1Click);
    Pokaopcje1 = dodaj(M_Generowanie, "Pokaopcje1", QStringLiteral("Pokaż opcje\tCtrl+O"), nullptr,
                       &TfMaster::m_OpcjeWyswietlaniaClick);
    ZrzutEkranu1 = dodaj(M_Generowanie, "ZrzutEkranu1", QStringLiteral("Zrzut Ekranu\tCtrl+Z"), nullptr,
                         &TfMaster::m_ZrzutEkranuDoSchowkaClick);
    connect(rys, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { M_Generowanie->popup(rys->mapToGlobal(p)); });
}

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
    TimerJazdy = new QTimer(this);
    TimerJazdy->setInterval(10);
    connect(TimerJazdy, &QTimer::timeout, this, &TfMaster::KrokJazdyOkna);
    connect(CB_WidokKierowcy, &QCheckBox::toggled, this, &TfMaster::UstawWidokKierowcy);
    connect(B_Jazda, &QPushButton::clicked, this, &TfMaster::PrzelaczJazde);
    connect(SE_Predkosc, &QSpinBox::valueChanged, this, [](int v) { WidokKierowcy.PredkoscKmh = v; });
    connect(CB_Wstecz, &QCheckBox::toggled, this, [this](bool wstecz) {
        WidokKierowcy.Oko.WPrzod = !wstecz;
        if (Jazda() || Rzut.WidokKierowcy) UstawNaPikiecie();
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

void TfMaster::DopasujEkran() {
    QSize rozmiar = rys->size();
    if (QScreen* s = QGuiApplication::primaryScreen()) rozmiar = rozmiar.expandedTo(s->size());
    if (Ekran.isNull() || Ekran.width() < rozmiar.width() || Ekran.height() < rozmiar.height()) {
        rozmiar = rozmiar.expandedTo(Ekran.size());
        Ekran = QImage(rozmiar, QImage::Format_RGB32);
        Ekran.fill(KolorPrzycisku());
    }
}

void TfMaster::FormCreate() {
    DopasujEkran();

    // The sky picture; without it the program still starts and the far wall stays empty.
    L_BrakPliku->setText(WczytajNiebo(KatalogProgramu()));

    InicjujZmienne(rys->width(), rys->height());
    m_RysujParametryEkran->setChecked(Rzut.RysujParametryEkran);
    m_RysujPROJ->setChecked(Rzut.RysujPROJ);
    m_RysujTEREN->setChecked(Rzut.RysujTEREN);
    m_RysujLinie->setChecked(Rzut.RysujLinie);
    m_RysujNiebo->setChecked(Rzut.RysujNiebo);

    StatusBar1Panele[0]->setText(QStringLiteral("Dorta"));
    PiszPolozenieOka();

    OpenTrojkaty = {QStringLiteral("mtp"), QStringLiteral("Pliki mtp (*.mtp);;Pliki T3D (*.T3D);;Wszystkie pliki (*)"),
                    KatalogProgramu() + QStringLiteral("Model")};
    D_save = {QStringLiteral("tro"), QStringLiteral("troj (*.tro);;wszystkie (*)"),
              KatalogProgramu() + QStringLiteral("Przyklady")};
    OpenDialog1 = {QStringLiteral("mtp"),
                   QStringLiteral("Pliki Trójkatów (*.tro);;Pliki LandXML (*.xml);;"
                                  "Numeryczny model terenu (*.asc *.xyz *.tif *.tiff);;Wszystkie pliki (*)"),
                   KatalogProgramu() + QStringLiteral("Przyklady")};
    D_saveLandXML = {QStringLiteral("xml"), QStringLiteral("Pliki LandXML (*.xml);;Wszystkie pliki (*)"),
                     KatalogProgramu() + QStringLiteral("Przyklady")};
}

void TfMaster::FormDestroy() {
    Ekran = QImage();
    Niebo = TObraz{};
}

void TfMaster::FormResize() {
    UstawOkoOkna(rys->width(), rys->height());
    OkoZTrasy = Rzut.OkoZ;
    if (WidokKierowcy.Wlaczony) UstawOkoKierowcy(rys->height());
    DopasujEkran();
    KlatkaGotowa = false;
    // The driver's picture is placed for the observer: it follows the new size at once.
    if (Rzut.WidokKierowcy) PolozWidok(false);
}

void TfMaster::FormPaint(QPainter& malarz) {
    // Every paint request redraws, unless Przerysuj has just drawn this frame.
    if (!KlatkaGotowa) {
        PlotnoQt plotno(Ekran);
        Przerysuj(plotno, rys->width(), rys->height(), PodzialKlatki);
    }
    KlatkaGotowa = false;
    malarz.drawImage(QPoint(0, 0), Ekran, QRect(QPoint(0, 0), rys->size()));
    if (NapisZrzutu) {
        malarz.setPen(rys->palette().color(QPalette::WindowText));
        malarz.setBackground(rys->palette().color(QPalette::Window));
        malarz.setBackgroundMode(Qt::OpaqueMode);
        malarz.setFont(rys->font());
        const QFontMetrics fm(rys->font());
        malarz.drawText(10, rys->height() - 20 + fm.ascent(), QStringLiteral("Skopiowano ekran do schowka"));
        NapisZrzutu = false;
    }
}

void TfMaster::PiszPolozenieOka() {
    StatusBar1Panele[1]->setText(QString::fromStdString(TekstPolozeniaOka(Rzut.OkoX, Rzut.OkoY, Rzut.OkoZ)));
}

void TfMaster::keyPressEvent(QKeyEvent* e) {
    // Keys reach the handler only while no control of the window holds the
    // focus; a key that a focused control left unused is not passed on.
    QWidget* fokus = QApplication::focusWidget();
    if (fokus && fokus != this) {
        e->ignore();
        return;
    }
    FormKeyDown(KodKlawiszaWindows(e));
    e->ignore();  // the key is neither consumed nor changed
}

void TfMaster::FormKeyDown(int kod) {
    constexpr double krok = 5.0;
    // Space starts and stops the drive.
    if (kod == vk::Spacja) {
        if (P_Pikietaz->isVisible()) PrzelaczJazde();
        return;
    }
    switch (kod) {
        case vk::Gora: Rzut.OkoZ += krok; break;
        case vk::Dol: Rzut.OkoZ -= krok; break;
        case vk::Prawo: Rzut.OkoX += krok; break;
        case vk::Lewo: Rzut.OkoX -= krok; break;
        case vk::NumerycznaMinus: Rzut.OkoY += krok; break;
        case vk::NumerycznaPlus: Rzut.OkoY -= krok; break;
        default: break;
    }
    PiszPolozenieOka();
    Przerysuj(*this);
}

// ---- Menu handlers ----

namespace {
// Shows the viewer modally with the lines just written. It takes them from
// OpisTekst when it is shown, so one left open without its modal loop (the
// route messages after a load) is closed first.
void PokazOpisModalnie() {
    if (Opis->isVisible()) Opis->hide();
    Opis->exec();
}
}  // namespace

void TfMaster::InfoTeren1Click() {
    InfoTerenProj();
    PokazOpisModalnie();
}

void TfMaster::InfoProj1Click() {
    InfoTrasy();
    PokazOpisModalnie();
}

void TfMaster::m_OpcjeWyswietlaniaClick() {
    Opcje->exec();
    Przerysuj(*this);
}

// ---------------------------------------------------------------------------
// Driving along the road, the general view, opening files, the test screens.

namespace {

// A busy cursor while a handler works: loading, placing and drawing block the
// window until they end. Nested handlers stack their cursors.
class TZajety {
public:
    TZajety() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TZajety() { QApplication::restoreOverrideCursor(); }
    TZajety(const TZajety&) = delete;
    TZajety& operator=(const TZajety&) = delete;
};

// Thrown by the progress window's callback when the user stops a load; the
// reader gives up before anything is put in place.
struct TPrzerwano {};

QString Q(const std::string& s) { return QString::fromStdString(s); }

// Whole metres of a chainage for the slider (the fraction dropped towards zero),
// held inside the range a slider can take.
int Obetnij(double v) {
    if (!(v == v)) return 0;
    const double w = std::trunc(v);
    constexpr double granica = 1.0e9;
    return static_cast<int>(std::clamp(w, -granica, granica));
}

// A file name as the core takes it: in the local 8-bit encoding.
std::string Lokalna(const QString& nazwa) { return QFile::encodeName(nazwa).toStdString(); }

}  // namespace

void TfMaster::Blad(const QString& tekst) {
    if (PokazBlad)
        PokazBlad(tekst);
    else
        QMessageBox::critical(this, QStringLiteral("Błąd"), tekst);
}

QString TfMaster::WybierzPlik(TDialogPliku& dialog, bool zapis) {
    QString nazwa;
    if (WyborPliku) {
        nazwa = WyborPliku(dialog, zapis);
    } else {
        QFileDialog d(this, zapis ? QStringLiteral("Zapisz jako") : QStringLiteral("Otwórz"), dialog.KatalogPoczatkowy,
                      dialog.Filtr);
        d.setAcceptMode(zapis ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        d.setFileMode(zapis ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        d.setDefaultSuffix(dialog.DomyslneRozszerzenie);
        if (d.exec() == QDialog::Accepted && !d.selectedFiles().isEmpty()) nazwa = d.selectedFiles().constFirst();
    }
    if (!nazwa.isEmpty()) dialog.KatalogPoczatkowy = QFileInfo(nazwa).absolutePath();
    return nazwa;
}

bool TfMaster::WczytajPlik(const QString& nazwa, const TWyborLandXML& wyborLandXML) {
    std::optional<QString> blad;
    {
        TZajety zajety;
        std::unique_ptr<QProgressDialog> postep;
        const QFileInfo info(nazwa);
        if (info.isFile() && info.size() > ProgPostepu) {
            // A large file: the window says what it reads and how far it got.
            postep = std::make_unique<QProgressDialog>(this);
            postep->setObjectName(QStringLiteral("PostepWczytywania"));
            postep->setWindowTitle(QStringLiteral("Orvany3D"));
            postep->setLabelText(QStringLiteral("Wczytywanie pliku %1").arg(QDir::toNativeSeparators(nazwa)));
            postep->setCancelButtonText(QStringLiteral("Przerwij"));
            postep->setRange(0, 1000);
            postep->setAutoReset(false);
            postep->setAutoClose(false);
            postep->setMinimumDuration(0);
            postep->setWindowModality(Qt::WindowModal);
            postep->setValue(0);
            postep->show();
            QCoreApplication::processEvents();
        }
        QProgressDialog* okienko = postep.get();
        const std::function<void(double)> zglos = [okienko, &nazwa](double ulamek) {
            if (!okienko) return;
            if (okienko->wasCanceled()) throw TPrzerwano{};
            okienko->setValue(static_cast<int>(std::clamp(ulamek, 0.0, 1.0) * 1000.0));
            if (ulamek >= 1.0) {
                // The file is read; the scene is being built from it.
                okienko->setLabelText(QStringLiteral("Przygotowanie obrazu: %1").arg(QDir::toNativeSeparators(nazwa)));
                okienko->setCancelButton(nullptr);
                QCoreApplication::processEvents();
            }
            if (okienko->wasCanceled()) throw TPrzerwano{};
        };
        try {
            ::WczytajPlik(Lokalna(nazwa), zglos, wyborLandXML);
            // The heights of the position the window shows next, while the progress is still shown.
            ZbudujIndeksyWysokosci();
        } catch (const TPrzerwano&) {
            return false;
        } catch (const std::exception& e) {
            blad = Q(e.what());
        }
    }
    // The error box comes after the busy cursor and the progress window are gone.
    if (blad) {
        Blad(*blad);
        return false;
    }
    return true;
}

void TfMaster::PoWczytaniu(const QString& nazwa, int odPikiety, int doPikiety) {
    if (Jazda()) PrzelaczJazde();
    // The sight check's results belong to the scene just replaced.
    if (Widocznosc) Widocznosc->Porzuc();
    setWindowTitle(nazwa);
    L_Pik->setText(QStringLiteral("Pik. od ") + Q(F2(Trasa.PikStart + Trasa.PikMin)) + QStringLiteral("  do ") +
                   Q(F2(Trasa.PikStart + Trasa.PikMax)));
    // A position outside the new range moves to its nearer end, and that move
    // places the view there (SB_pikChange) and writes the chainage text.
    SB_pik->setRange(odPikiety, std::max(odPikiety, doPikiety));
    L_Kilometraz->clear();
    if (ProfilPrzekroj) ProfilPrzekroj->PoWczytaniu(SB_pik->value());
}

void TfMaster::m_WidocznoscClick() { Widocznosc->Sprawdz(); }

void TfMaster::PokazKomunikatyTrasy() {
    if (KomunikatyTrasy.empty() || !Opis) return;
    OpisTekst = KomunikatyTrasy;
    Opis->show();
    Opis->raise();
    Opis->activateWindow();
}

void TfMaster::SB_pikChange() {
    TZajety zajety;
    const double c = SB_pik->value();
    PikietaBiezaca = c;
    PolozWidok(true);
    if (ProfilPrzekroj) ProfilPrzekroj->UstawPikiete(c);
}

void TfMaster::UstawNaPikiecie() {
    TZajety zajety;
    PolozWidok(false);
}

void TfMaster::PolozWidok(bool szukajPunktu) {
    OdswiezKontrolkiKierowcy();
    const TUstawienie u = UstawWidokNaPikiecie(PikietaBiezaca, szukajPunktu);
    if (u == TUstawienie::BrakSiatek) return;
    // A route of a LandXML file keeps its start chainage: the texts show it added.
    L_Pik->setText(QStringLiteral("Pik = ") + Q(F2(Trasa.PikStart + PikietaBiezaca)) + QStringLiteral("  ") +
                   QStringLiteral("     (") + Q(F2(Trasa.PikStart + Trasa.PikMin)) + QStringLiteral(" - ") +
                   Q(F2(Trasa.PikStart + Trasa.PikMax)) + QStringLiteral(")"));
    // The chainage as designers write it, and the design surface's height at the axis when there is one.
    const TPunktProfilu os = PunktProfilu(PikietaBiezaca, IndeksPROJ(), IndeksTEREN());
    QString km = Q(TekstKilometrazu(Trasa.PikStart + PikietaBiezaca, SeparatorDziesietny()));
    if (os.ZProj) km += QStringLiteral("     Niweleta: ") + Q(F2(*os.ZProj)) + QStringLiteral(" m");
    L_Kilometraz->setText(km);
    // The grade in the direction of travel and the route element.
    QString tekst;
    if (Trasa.Obliczona) tekst = Q(TekstSpadkuIElementu(PikietaBiezaca, WidokKierowcy.Oko.WPrzod));
    if (u == TUstawienie::BrakWysokosci)
        tekst = QStringLiteral("Brak wysokości drogi tutaj: widok z trasy.   ") + tekst;
    L_Kierowca->setText(tekst);
    Przerysuj(*this);
}

void TfMaster::OdswiezKontrolkiKierowcy() {
    const QSignalBlocker b1(CB_WidokKierowcy), b2(CB_Wstecz), b3(m_WidokKierowcy), b4(SE_Predkosc);
    CB_WidokKierowcy->setChecked(WidokKierowcy.Wlaczony);
    m_WidokKierowcy->setChecked(WidokKierowcy.Wlaczony);
    CB_Wstecz->setChecked(!WidokKierowcy.Oko.WPrzod);
    SE_Predkosc->setValue(static_cast<int>(std::lround(WidokKierowcy.PredkoscKmh)));
}

void TfMaster::m_WidokKierowcyClick() { UstawWidokKierowcy(m_WidokKierowcy->isChecked()); }

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
    if (Trasa.Obliczona) UstawNaPikiecie();
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
    ZegarJazdy.start();
    TimerJazdy->start();
}

void TfMaster::KrokJazdyOkna() {
    const double sekundy = ZegarJazdy.nsecsElapsed() * 1e-9;
    ZegarJazdy.start();
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
    if (!WidokOgolny()) return;
    Przerysuj(*this);
}

void TfMaster::OtworzTRO() {
    const QString nazwa = WybierzPlik(OpenDialog1, false);
    if (nazwa.isEmpty()) return;
    OtworzPlik(nazwa);
}

std::optional<TWyborLandXML> TfMaster::WybierzZPlikuLandXML(const QString& nazwa) {
    // With more than one surface or alignment in the file the user chooses.
    try {
        TSpisLandXML spis;
        {
            TZajety zajety;
            spis = SpisPlikuLandXML(Lokalna(nazwa));
        }
        if (spis.Powierzchnie.size() <= 1 && spis.Trasy.size() <= 1) return TWyborLandXML{};
        return WyborLandXML ? WyborLandXML(spis) : WybierzZLandXML(this, spis);
    } catch (const std::exception& e) {
        Blad(Q(e.what()));
        return std::nullopt;
    }
}

bool TfMaster::OtworzNMT(const QStringList& nazwy) {
    TOpcjeNMT opcje = OpcjeNMT;
    opcje.Os.clear();
    if (PytajONMT) {
        if (!PytajONMT(opcje)) return false;
    } else {
        TDialogNMT d(opcje, Trasa.Obliczona, this);
        if (d.exec() != QDialog::Accepted) return false;
        opcje = d.Opcje();
    }
    OpcjeNMT = opcje;
    std::vector<std::string> pliki;
    for (const QString& n : nazwy) pliki.push_back(Lokalna(n));
    std::optional<TTerenNMT> teren = WczytajNMTWTle(this, pliki, OpcjeNMTSceny(opcje),
                                                    [this](const QString& t) { Blad(t); });
    if (!teren) return false;
    {
        TZajety zajety;
        PrzyjmijNMT(std::move(*teren));
        ZbudujIndeksyWysokosci();
        PoWczytaniu(nazwy.constLast(), Obetnij(Trasa.PikMin), Obetnij(Trasa.PikMax));
        P_Pikietaz->setVisible(static_cast<double>(Trasa.PikMax) - static_cast<double>(Trasa.PikMin) > 1.0);
        Przerysuj(*this);
    }
    QStringList lista = OstatniePliki();
    for (const QString& n : nazwy) {
        lista.removeAll(n);
        lista.prepend(n);
    }
    ZapiszOstatnie(lista);
    PokazKomunikatyTrasy();
    return true;
}

bool TfMaster::OtworzPlik(const QString& nazwa) {
    const TRodzajPliku rodzaj = RodzajPliku(Lokalna(nazwa));
    if (rodzaj == TRodzajPliku::NMT) return OtworzNMT({nazwa});
    const bool tro = rodzaj == TRodzajPliku::TRO || rodzaj == TRodzajPliku::XML;
    // A LandXML file: the surfaces and the alignment are chosen before the load.
    std::optional<TWyborLandXML> wybor = TWyborLandXML{};
    if (rodzaj == TRodzajPliku::XML) wybor = WybierzZPlikuLandXML(nazwa);
    if (!wybor) return false;
    // A failed load has shown its error and changed nothing: the flow ends.
    if (tro && !WczytajPlik(nazwa, *wybor)) return false;
    {
        TZajety zajety;
        if (tro) PoWczytaniu(nazwa, Obetnij(Trasa.PikMin), Obetnij(Trasa.PikMax));
        // Another extension loads nothing; the panel follows the route in memory.
        P_Pikietaz->setVisible(static_cast<double>(Trasa.PikMax) - static_cast<double>(Trasa.PikMin) > 1.0);
        Przerysuj(*this);
    }
    if (!tro) return false;
    QStringList lista = OstatniePliki();
    lista.removeAll(nazwa);
    lista.prepend(nazwa);
    ZapiszOstatnie(lista);
    PokazKomunikatyTrasy();
    return true;
}

void TfMaster::OtworzPliki(const QStringList& nazwy) {
    for (qsizetype i = 0; i < nazwy.size(); ++i) {
        const QString& nazwa = nazwy[i];
        const TRodzajPliku rodzaj = RodzajPliku(Lokalna(nazwa));
        if (rodzaj == TRodzajPliku::NMT) {
            // Consecutive grids are the sheets of one terrain.
            QStringList arkusze{nazwa};
            while (i + 1 < nazwy.size() && RodzajPliku(Lokalna(nazwy[i + 1])) == TRodzajPliku::NMT)
                arkusze << nazwy[++i];
            OtworzNMT(arkusze);
        } else if (rodzaj == TRodzajPliku::TRO || rodzaj == TRodzajPliku::XML)
            OtworzPlik(nazwa);
        else
            Blad(QStringLiteral("Nie otwarto pliku %1: program otwiera pliki trójkątów .tro, pliki LandXML (.xml) "
                                "i siatki NMT (.asc, .xyz, .tif, .tiff).")
                     .arg(QDir::toNativeSeparators(nazwa)));
    }
}

namespace {
constexpr const char* KluczOstatnich = "OstatnioOtwierane";

// The local files among the URLs of a drag, in their order.
QStringList PlikiPrzeciagniete(const QMimeData* dane) {
    QStringList pliki;
    if (dane && dane->hasUrls())
        for (const QUrl& u : dane->urls())
            if (u.isLocalFile()) pliki << u.toLocalFile();
    return pliki;
}
}  // namespace

QStringList TfMaster::OstatniePliki() const {
    QStringList lista = QSettings().value(KluczOstatnich).toStringList();
    lista.removeAll(QString());
    return lista.mid(0, IleOstatnich);
}

void TfMaster::ZapiszOstatnie(const QStringList& lista) {
    QSettings().setValue(KluczOstatnich, lista.mid(0, IleOstatnich));
    OdswiezOstatnie();
}

void TfMaster::OdswiezOstatnie() {
    const QStringList lista = OstatniePliki();
    for (int i = 0; i < IleOstatnich; ++i) {
        QAction* a = Ostatnie1[i];
        a->setVisible(i < lista.size());
        if (i >= lista.size()) continue;
        QString napis = QDir::toNativeSeparators(lista[i]);
        napis.replace(QLatin1Char('&'), QLatin1String("&&"));
        a->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(napis));
        a->setData(lista[i]);
    }
    M_Ostatnie->menuAction()->setEnabled(!lista.isEmpty());
}

void TfMaster::OtworzOstatni(const QString& nazwa) {
    if (!QFileInfo::exists(nazwa)) {
        QStringList lista = OstatniePliki();
        lista.removeAll(nazwa);
        ZapiszOstatnie(lista);
        Blad(QStringLiteral("Plik %1 już nie istnieje (został usunięty lub przeniesiony).\n"
                            "Usunięto go z listy ostatnio otwieranych plików.")
                 .arg(QDir::toNativeSeparators(nazwa)));
        return;
    }
    OtworzPlik(nazwa);
}

void TfMaster::dragEnterEvent(QDragEnterEvent* e) {
    if (!PlikiPrzeciagniete(e->mimeData()).isEmpty()) e->acceptProposedAction();
}

void TfMaster::dropEvent(QDropEvent* e) {
    const QStringList pliki = PlikiPrzeciagniete(e->mimeData());
    if (pliki.isEmpty()) return;
    e->acceptProposedAction();
    // The program the files came from waits for the drop to end: they are
    // opened afterwards, from the event loop.
    QTimer::singleShot(0, this, [this, pliki] { OtworzPliki(pliki); });
}

void TfMaster::OtworzMTP() {
    const QString nazwa = WybierzPlik(OpenTrojkaty, false);
    if (nazwa.isEmpty()) return;
    OpenTrojkatyPlik = nazwa;
    const bool mtp = RodzajPliku(Lokalna(nazwa)) == TRodzajPliku::MTP;
    if (mtp && !WczytajPlik(nazwa)) return;
    {
        TZajety zajety;
        if (mtp) PoWczytaniu(nazwa, Obetnij(Trasa.PikMin - 1.0), Obetnij(Trasa.PikMax + 1.0));
        Przerysuj(*this);
    }
    if (mtp) PokazKomunikatyTrasy();
}

void TfMaster::Button7Click() {
    // Nothing to convert yet: say so before asking where to save.
    if (OpenTrojkatyPlik.isEmpty()) {
        Blad(QStringLiteral("Nie wybrano pliku .mtp do przepisania: najpierw otwórz plik .mtp."));
        return;
    }
    const QString cel = WybierzPlik(D_save, true);
    if (cel.isEmpty()) return;
    std::optional<QString> blad;
    try {
        TZajety zajety;
        PrzepiszPlik(Lokalna(OpenTrojkatyPlik), Lokalna(cel));
    } catch (const std::exception& e) {
        blad = Q(e.what());
    }
    if (blad) Blad(*blad);
}

void TfMaster::ZapiszLandXMLClick() {
    const QString cel = WybierzPlik(D_saveLandXML, true);
    if (cel.isEmpty()) return;
    std::optional<QString> blad;
    try {
        TZajety zajety;
        // The one safe writer: through links, never over a non-regular file,
        // the old file whole when anything fails.
        ZapiszBezpiecznie(Lokalna(cel), &ZapiszLandXML);
    } catch (const std::exception& e) {
        blad = Q(e.what());
    }
    if (blad) Blad(*blad);
}

void TfMaster::B_Korekta_lOkoClick() {
    TZajety zajety;
    KorektaLOko();
    Przerysuj(*this);
}

void TfMaster::B_Korekta_yminClick() {
    TZajety zajety;
    KorektaYmin();
    Przerysuj(*this);
}

namespace {
void EkranTestowyOkna(TfMaster& okno, void (*budowa)()) {
    TZajety zajety;
    // A test screen is seen from the window's own eye: the drive stops, the driver's view goes off.
    if (okno.Jazda()) okno.PrzelaczJazde();
    if (WidokKierowcy.Wlaczony) okno.UstawWidokKierowcy(false);
    budowa();
    // The sight check's results belonged to the meshes the test screen replaced.
    if (okno.Widocznosc) okno.Widocznosc->Porzuc();
    okno.setWindowTitle(QStringLiteral("Orvan3D 2.0.0beta3"));
    okno.P_Pikietaz->hide();
    okno.L_Kilometraz->clear();
    if (okno.ProfilPrzekroj) okno.ProfilPrzekroj->PoWczytaniu(okno.SB_pik->value());
    Przerysuj(okno);
}
}  // namespace

void TfMaster::Generujekrantestowy1Click() { EkranTestowyOkna(*this, &EkranTestowy); }
void TfMaster::Generujekrantestowylosowy1Click() { EkranTestowyOkna(*this, &EkranTestowyLosowy); }

void TfMaster::Oprogramie1Click() {
    PokazKomunikat(
        "Orvany3D\n\n"
        "Perspektywiczny, cieniowany obraz terenu istniejącego (TEREN), powierzchni projektowanej (PROJ) "
        "i trasy drogi (TRASA) z jazdą wzdłuż trasy po pikietażu.\n\n"
        "Wersja 1.0");
}

void TfMaster::Koniec1Click() { close(); }

namespace {
void Przelacz(TfMaster& okno, bool& flaga, QAction* pozycja) {
    flaga = !flaga;
    pozycja->setChecked(flaga);
    Przerysuj(okno);
}
}  // namespace

void TfMaster::m_RysujParametryEkranClick() { Przelacz(*this, Rzut.RysujParametryEkran, m_RysujParametryEkran); }
void TfMaster::m_RysujPROJClick() { Przelacz(*this, Rzut.RysujPROJ, m_RysujPROJ); }
void TfMaster::m_RysujTERENClick() { Przelacz(*this, Rzut.RysujTEREN, m_RysujTEREN); }
void TfMaster::m_RysujLinieClick() { Przelacz(*this, Rzut.RysujLinie, m_RysujLinie); }
void TfMaster::m_RysujNieboClick() { Przelacz(*this, Rzut.RysujNiebo, m_RysujNiebo); }

void TfMaster::m_ZrzutEkranuDoSchowkaClick() {
    // Exactly the last frame: the paint area's part of Ekran.
    QGuiApplication::clipboard()->setImage(Ekran.copy(QRect(QPoint(0, 0), rys->size())));
    // The confirmation goes over the picture, not into Ekran: the next redraw removes it.
    NapisZrzutu = true;
    KlatkaGotowa = true;
    rys->update();
}

void OtworzOpis(const QString& katalogProgramu) {
    const QString p = katalogProgramu + QStringLiteral("Przyklady/OpisOrvan.pdf");
    if (QFileInfo(p).isFile())
        QDesktopServices::openUrl(QUrl::fromLocalFile(p));
    else
        PokazKomunikat("Brak pliku " + p.toStdString());
}

void TfMaster::Krotkiopis1Click() { OtworzOpis(KatalogProgramu()); }

void TfMaster::m_ProfilPrzekrojClick() {
    if (!ProfilPrzekroj) {
        ProfilPrzekroj = new TfProfilPrzekroj(this);
        ProfilPrzekroj->ZmienPas = [this](bool pas) { Widocznosc->UstawPas(pas); };
        ProfilPrzekroj->PoWczytaniu(SB_pik->value());
    }
    ProfilPrzekroj->show();
    ProfilPrzekroj->raise();
    ProfilPrzekroj->activateWindow();
}

void TfMaster::Pokapikieta1Click() { P_Pikietaz->setVisible(!P_Pikietaz->isVisible()); }

// ---------------------------------------------------------------------------

void TfMaster::PrzerysujObraz() { Przerysuj(*this); }

void Przerysuj(TfMaster& okno) {
    {
        PlotnoQt plotno(okno.Ekran);
        Przerysuj(plotno, okno.rys->width(), okno.rys->height(), okno.PodzialKlatki);
    }
    okno.NapisZrzutu = false;
    okno.KlatkaGotowa = true;
    okno.rys->update();
}
