// The main window's menu and its handlers: information, options, the test
// screens, the toggles, the screenshot, the guide, the profile window.
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
#include <QProcess>
#include <QProgressDialog>
#include <QScreen>
#include <QSignalBlocker>
#include <QSettings>
#include <QStandardPaths>
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
    m_Spadki = dodaj(Poka1, "m_Spadki", QStringLiteral("Spadki i strefy płaskie"), nullptr, &TfMaster::m_SpadkiClick);
    m_KolorujSpadki = przelacznik(Poka1, "m_KolorujSpadki", QStringLiteral("Koloruj PROJ według spadku"), nullptr,
                                  false, &TfMaster::m_KolorujSpadkiClick);
    m_Pochylenia = dodaj(Poka1, "m_Pochylenia", QStringLiteral("Pochylenie poprzeczne"), nullptr,
                         &TfMaster::m_PochyleniaClick);
    m_Objetosci = dodaj(Poka1, "m_Objetosci", QStringLiteral("Objętości robót ziemnych"), nullptr,
                        &TfMaster::m_ObjetosciClick);
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
    m_UproszczonyTeren = przelacznik(Poka1, "m_UproszczonyTeren", QStringLiteral("Uproszczony daleki teren"), nullptr,
                                     false, &TfMaster::m_UproszczonyTerenClick);
    m_UproszczonyTeren->setToolTip(
        QStringLiteral("W widoku kierowcy teren dalej niż 300 m rysowany z rzadszej siatki: szybsza jazda"));

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
    // The checks' results belonged to the meshes the test screen replaced.
    if (okno.Widocznosc) okno.Widocznosc->Porzuc();
    if (okno.Kontrole) okno.Kontrole->Porzuc();
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

bool JestPrzegladarkaPDF() {
    // The desktop opens a file through xdg-open, which asks xdg-mime for the program of its type; without
    // xdg-utils Qt finds no launcher at all.
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty()) return !QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty();
    QProcess p;
    p.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("application/pdf")});
    if (!p.waitForFinished(3000)) return true;  // no answer: the launcher may still know one
    return !p.readAllStandardOutput().trimmed().isEmpty();
}

std::string TekstBrakuPrzegladarkiPDF(const std::string& plik) {
    return "Nie można otworzyć opisu programu: nie znaleziono przeglądarki plików PDF.\n\nOpis jest w pliku:\n" + plik +
           "\n\nZainstaluj przeglądarkę PDF, np. pakiet evince (sudo apt-get install evince xdg-utils), albo otwórz "
           "ten plik dowolną przeglądarką PDF.";
}

void OtworzOpis(const QString& katalogProgramu, const std::function<bool(const QString& plik)>& otworz) {
    const QString p = katalogProgramu + QStringLiteral("Przyklady/OpisOrvan.pdf");
    if (!QFileInfo(p).isFile()) {
        PokazKomunikat("Brak pliku " + p.toStdString());
        return;
    }
    const bool otwarty = otworz ? otworz(p)
                                : JestPrzegladarkaPDF() && QDesktopServices::openUrl(QUrl::fromLocalFile(p));
    if (!otwarty) PokazKomunikat(TekstBrakuPrzegladarkiPDF(p.toStdString()));
}

void TfMaster::Krotkiopis1Click() { OtworzOpis(KatalogProgramu()); }

void TfMaster::m_ProfilPrzekrojClick() {
    CzekajNaIndeksy();
    if (!ProfilPrzekroj) {
        ProfilPrzekroj = new TfProfilPrzekroj(this);
        ProfilPrzekroj->ZmienPas = [this](bool pas) { Widocznosc->UstawPas(pas); };
        ProfilPrzekroj->PoWczytaniu(SB_pik->value());
    }
    ProfilPrzekroj->show();
    ProfilPrzekroj->raise();
    ProfilPrzekroj->activateWindow();
}

void TfMaster::m_SpadkiClick() {
    CzekajNaIndeksy();
    Kontrole->SprawdzSpadki();
}
void TfMaster::m_PochyleniaClick() {
    CzekajNaIndeksy();
    Kontrole->SprawdzPochylenia();
}
void TfMaster::m_ObjetosciClick() {
    CzekajNaIndeksy();
    Kontrole->SprawdzObjetosci();
}
void TfMaster::m_KolorujSpadkiClick() {
    Kontrole->UstawKolorowanie(!Kontrole->Kolorowanie());
    m_KolorujSpadki->setChecked(Kontrole->Kolorowanie());
}

void TfMaster::Pokapikieta1Click() { P_Pikietaz->setVisible(!P_Pikietaz->isVisible()); }
