#include "shell/linie3Dtroj.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLayout>
#include <QPainter>
#include <QScreen>
#include <QUrl>

#include "dialogs/InfoProjekt.h"
#include "dialogs/OpcjeWyswietlania.h"
#include "model/Zmienne.h"
#include "render/RysujPerspektywa.h"
#include "render/qt/PlotnoQt.h"
#include "shell/PoleTekstowe.h"

TfMaster* fMaster = nullptr;

// ---------------------------------------------------------------------------

int KodKlawiszaWindows(const QKeyEvent* e) {
    const int k = e->key();
    const bool klawiatura = e->modifiers() & Qt::KeypadModifier;
    if (klawiatura) {
        if (k >= Qt::Key_0 && k <= Qt::Key_9) return 96 + (k - Qt::Key_0);
        switch (k) {
            case Qt::Key_Asterisk: return 106;
            case Qt::Key_Plus: return 107;
            case Qt::Key_Minus: return 109;
            case Qt::Key_Period:
            case Qt::Key_Comma: return 110;
            case Qt::Key_Slash: return 111;
            default: break;
        }
    }
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return 65 + (k - Qt::Key_A);
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return 48 + (k - Qt::Key_0);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return 112 + (k - Qt::Key_F1);
    switch (k) {
        case Qt::Key_Backspace: return 8;
        case Qt::Key_Tab:
        case Qt::Key_Backtab: return 9;
        case Qt::Key_Return:
        case Qt::Key_Enter: return 13;
        case Qt::Key_Shift: return 16;
        case Qt::Key_Control: return 17;
        case Qt::Key_Alt: return 18;
        case Qt::Key_Pause: return 19;
        case Qt::Key_CapsLock: return 20;
        case Qt::Key_Escape: return 27;
        case Qt::Key_Space: return 32;
        case Qt::Key_PageUp: return 33;
        case Qt::Key_PageDown: return 34;
        case Qt::Key_End: return 35;
        case Qt::Key_Home: return 36;
        case Qt::Key_Left: return 37;
        case Qt::Key_Up: return 38;
        case Qt::Key_Right: return 39;
        case Qt::Key_Down: return 40;
        case Qt::Key_Insert: return 45;
        case Qt::Key_Delete: return 46;
        case Qt::Key_NumLock: return 144;
        case Qt::Key_ScrollLock: return 145;
        case Qt::Key_Semicolon: return 186;
        case Qt::Key_Plus:
        case Qt::Key_Equal: return 187;
        case Qt::Key_Comma: return 188;
        case Qt::Key_Minus: return 189;
        case Qt::Key_Period: return 190;
        case Qt::Key_Slash: return 191;
        default: return 0;
    }
}

QString KatalogProgramu() {
    QString k = QCoreApplication::applicationDirPath();
    if (!k.endsWith(QLatin1Char('/'))) k += QLatin1Char('/');
    return k;
}

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

// ---------------------------------------------------------------------------

TfMaster::TfMaster(QWidget* rodzic) : QMainWindow(rodzic) {
    setWindowTitle(QStringLiteral("Orvany3D"));
    setFocusPolicy(Qt::StrongFocus);

    rys = new TRys(*this, this);
    setCentralWidget(rys);
    rys->setContextMenuPolicy(Qt::CustomContextMenu);

    // The chainage panel lies over the top-left corner of the picture.
    P_Pikietaz = new QWidget(rys);
    P_Pikietaz->setObjectName(QStringLiteral("P_Pikietaz"));
    P_Pikietaz->setGeometry(8, 8, 561, 65);
    P_Pikietaz->setAutoFillBackground(true);
    P_Pikietaz->hide();

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
    Poka1->addSeparator();
    m_OpcjeWyswietlania = dodaj(Poka1, "m_OpcjeWyswietlania", QStringLiteral("Opcje wyświetlania"), "Ctrl+O",
                                &TfMaster::m_OpcjeWyswietlaniaClick);
    m_RysujParametryEkran = przelacznik(Poka1, "m_RysujParametryEkran", QStringLiteral("Rysuj parametry na ekranie"),
                                        "Ctrl+I", false, &TfMaster::m_RysujParametryEkranClick);
    m_ZrzutEkranuDoSchowka = dodaj(Poka1, "m_ZrzutEkranuDoSchowka", QStringLiteral("Zrzut ekranu do schowka"),
                                   "Ctrl+Z", &TfMaster::m_ZrzutEkranuDoSchowkaClick);
    Poka1->addSeparator();
    m_RysujPROJ = przelacznik(Poka1, "m_RysujPROJ", QStringLiteral("Rysuj PROJ"), "Ctrl+P", true,
                              &TfMaster::m_RysujPROJClick);
    m_RysujTEREN = przelacznik(Poka1, "m_RysujTEREN", QStringLiteral("Rysuj TEREN"), "Ctrl+T", true,
                               &TfMaster::m_RysujTERENClick);
    m_RysujLinie = przelacznik(Poka1, "m_RysujLinie", QStringLiteral("Rysuj linie pomocnicze"), "Ctrl+Y", true,
                               &TfMaster::m_RysujLinieClick);
    m_RysujNiebo = przelacznik(Poka1, "m_RysujNiebo", QStringLiteral("Rysuj \"Niebo\""), "Ctrl+N", true,
                               &TfMaster::m_RysujNieboClick);

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
    OpenDialog1 = {QStringLiteral("mtp"), QStringLiteral("Pliki Trójkatów (*.tro);;Wszystkie pliki (*)"),
                   KatalogProgramu() + QStringLiteral("Przyklady")};
}

void TfMaster::FormDestroy() {
    Ekran = QImage();
    Niebo = TObraz{};
}

void TfMaster::FormResize() {
    Rzut.OkoX = rys->width() * 0.5;
    Rzut.OkoY = -700.0;
    Rzut.OkoZ = 500.0;
    Rzut.PolEkranX = static_cast<float>(rys->width() * 0.5);
    DopasujEkran();
    KlatkaGotowa = false;
}

void TfMaster::FormPaint(QPainter& malarz) {
    // Every paint request redraws, unless Przerysuj has just drawn this frame.
    if (!KlatkaGotowa) {
        PlotnoQt plotno(Ekran);
        Przerysuj(plotno, rys->width(), rys->height());
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

void TfMaster::FormKeyDown(int vk) {
    constexpr double krok = 5.0;
    switch (vk) {
        case 38: Rzut.OkoZ += krok; break;
        case 40: Rzut.OkoZ -= krok; break;
        case 39: Rzut.OkoX += krok; break;
        case 37: Rzut.OkoX -= krok; break;
        case 109: Rzut.OkoY += krok; break;
        case 107: Rzut.OkoY -= krok; break;
        default: break;
    }
    PiszPolozenieOka();
    Przerysuj(*this);
}

// ---- Menu handlers ----

void TfMaster::UstawNaPikiecie() {
    if (!UstawNaPikiecieRdzen()) return;
    Przerysuj(*this);
}

void TfMaster::OtworzTRO() {}
void TfMaster::Generujekrantestowy1Click() {}
void TfMaster::Generujekrantestowylosowy1Click() {}
void TfMaster::InfoTeren1Click() {
    InfoTerenProj();
    Opis->exec();  // the viewer takes its lines from OpisTekst when it is shown
}

void TfMaster::InfoProj1Click() {
    InfoTrasy();
    Opis->exec();
}

void TfMaster::m_OpcjeWyswietlaniaClick() {
    Opcje->exec();
    Przerysuj(*this);
}

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

QString WczytajNiebo(const QString& katalogProgramu) {
    const QString sciezka = katalogProgramu + QStringLiteral("Przyklady/Sky02.bmp");
    const QImage niebo(sciezka);
    Niebo = ObrazZQt(niebo);
    return niebo.isNull() ? QStringLiteral("Brak pliku ") + sciezka : QString();
}

void OtworzOpis(const QString& katalogProgramu) {
    const QString p = katalogProgramu + QStringLiteral("Przyklady/OpisOrvan.pdf");
    if (QFileInfo(p).isFile())
        QDesktopServices::openUrl(QUrl::fromLocalFile(p));
    else
        PokazKomunikat("Brak pliku " + p.toStdString());
}

void TfMaster::Krotkiopis1Click() { OtworzOpis(KatalogProgramu()); }

void TfMaster::Pokapikieta1Click() { P_Pikietaz->setVisible(!P_Pikietaz->isVisible()); }

// ---------------------------------------------------------------------------

void Przerysuj(TfMaster& okno) {
    {
        PlotnoQt plotno(okno.Ekran);
        Przerysuj(plotno, okno.rys->width(), okno.rys->height());
    }
    okno.NapisZrzutu = false;
    okno.KlatkaGotowa = true;
    okno.rys->update();
}
