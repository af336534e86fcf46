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
#include "dialogs/Kontrole.h"
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
#include "shell/Pomocnicze.h"

using namespace okno;

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
    L_Indeks = new QLabel(StatusBar1);
    L_Indeks->setObjectName(QStringLiteral("L_Indeks"));
    StatusBar1->addPermanentWidget(L_Indeks);
    ZegarIndeksow = new QTimer(this);
    ZegarIndeksow->setInterval(100);
    connect(ZegarIndeksow, &QTimer::timeout, this, &TfMaster::PoBudowieIndeksow);

    UtworzMenu();

    // The paint area is 958 x 637 pixels at start; the menu bar and the
    // status bar are laid around it, and the window is centred on the screen.
    rys->setFixedSize(958, 637);
    FormCreate();

    Widocznosc = new TWidocznoscOkna(this);
    Widocznosc->OdswiezWidok = [this] { PolozWidokPonownie(); };
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
    Kontrole = new TKontroleOkna(this);
    Kontrole->OdswiezWidok = [this] { PolozWidokPonownie(); };
    Kontrole->PokazBlad = [this](const QString& t) { Blad(t); };
    Kontrole->PokazRaport = Widocznosc->PokazRaport;
    // The diagrams live in the profile window like the sight chart.
    Kontrole->PokazWykresy = [this](const TDaneWykresowKontroli& d) {
        if (d.Puste()) {
            if (ProfilPrzekroj) ProfilPrzekroj->UstawWykresyKontroli(d);
            return;
        }
        m_ProfilPrzekrojClick();
        ProfilPrzekroj->UstawWykresyKontroli(d);
    };
    LegendaSpadkow = new TLegendaSpadkow(rys);
    LegendaSpadkow->hide();
    Kontrole->PokazLegende = [this](bool widoczna, double prog) {
        LegendaSpadkow->UstawProg(prog);
        LegendaSpadkow->setVisible(widoczna);
    };
    if (QLayout* l = layout()) l->activate();
    adjustSize();
    rys->setMinimumSize(1, 1);
    rys->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (QScreen* s = QGuiApplication::primaryScreen()) move(s->availableGeometry().center() - rect().center());
    setFocus();
}

TfMaster::~TfMaster() { FormDestroy(); }

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

    UstawStanPoczatkowy(rys->width(), rys->height());
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
    // A build of the index still running stops: nobody will wait for it.
    PorzucBudoweIndeksow(ProjektOkna.Indeksy);
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
    // The driver's view shows where the driver's eye stands; the chainage view the observer's position.
    std::string tekst;
    if (Rzut.WidokKierowcy) {
        CzekajNaIndeksy();  // the eye stands on the heights
        tekst = TekstOkaKierowcy(PikietaBiezaca);
    }
    if (tekst.empty()) tekst = TekstPolozeniaOka(Rzut.OkoX, Rzut.OkoY, Rzut.OkoZ);
    StatusBar1Panele[1]->setText(QString::fromStdString(tekst));
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
