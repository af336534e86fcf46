// The main window: the picture, the menus, the status bar, the keys.
#pragma once

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QWidget>
#include <chrono>
#include <functional>
#include <optional>

#include "analiza/Wysokosci.h"
#include "dialogs/OpcjeWyswietlania.h"
#include "render/RysujPerspektywa.h"
#include "nmt/NMT.h"
#include "wymiana/LandXML.h"

class QDragEnterEvent;
class QDropEvent;
class QKeyEvent;
class QTimer;
class TfMaster;
class TfProfilPrzekroj;
class TWidocznoscOkna;
class TKontroleOkna;
class TLegendaSpadkow;

// Opens the user's guide "Przyklady/OpisOrvan.pdf" under the directory with the
// desktop's PDF viewer (or with `otworz`, when given: false when it could not),
// or says which file is missing, or, without a viewer, names the file and the
// package that opens it (TekstBrakuPrzegladarkiPDF).
void OtworzOpis(const QString& katalogProgramu, const std::function<bool(const QString& plik)>& otworz = {});
// Whether the desktop has a program for PDF files (xdg-mime names one).
bool JestPrzegladarkaPDF();
std::string TekstBrakuPrzegladarkiPDF(const std::string& plik);

// The paint area: shows the top-left part of the main window's Ekran.
class TRys : public QWidget {
    Q_OBJECT
public:
    explicit TRys(TfMaster& okno, QWidget* rodzic);
    QSize sizeHint() const override { return {958, 637}; }

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    // A click on the picture takes the keyboard from the panel's controls back
    // to the window, so that the keys move the observer again.
    void mousePressEvent(QMouseEvent* e) override;

private:
    TfMaster& okno_;
};

// A file dialog's settings: the flows that open and save files use them.
struct TDialogPliku {
    QString DomyslneRozszerzenie;
    QString Filtr;
    QString KatalogPoczatkowy;
};

class TfMaster : public QMainWindow, public TOknoObrazu {
    Q_OBJECT
public:
    explicit TfMaster(QWidget* rodzic = nullptr);
    ~TfMaster() override;

    // The off-screen picture, at least as large as the screen; each frame is drawn
    // into its top-left part of the paint area's size.
    QImage Ekran;

    TRys* rys = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* StatusBar1Panele[2] = {nullptr, nullptr};
    // Says which picture file could not be loaded (empty otherwise).
    QLabel* L_BrakPliku = nullptr;

    // The chainage panel: the slider's position is the chainage in metres.
    QWidget* P_Pikietaz = nullptr;
    QLabel* L_Pik = nullptr;
    QScrollBar* SB_pik = nullptr;
    QLabel* StaticText1 = nullptr;
    QPushButton* B_ObliczTrasa = nullptr;
    // Beside them: the driver's view, the drive at a speed and the texts for
    // the chainage (km, design height, grade, element).
    QCheckBox* CB_WidokKierowcy = nullptr;
    QPushButton* B_Jazda = nullptr;
    QSpinBox* SE_Predkosc = nullptr;
    QCheckBox* CB_Wstecz = nullptr;
    QLabel* L_Kierowca = nullptr;
    // The alignments of the route's file (shown when it has more than one):
    // the one chosen becomes the route.
    QLabel* L_Trasa = nullptr;
    QComboBox* CB_Trasa = nullptr;
    // The drive: a timer for the frames, a clock for the distance (seconds on
    // a steady clock; the tests put their own) and its reading at the last frame.
    QTimer* TimerJazdy = nullptr;
    std::function<double()> ZegarJazdy = [] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
    };
    double CzasJazdy = 0.0;
    // One frame of the drive: the chainage after the time since the last one.
    void KrokJazdyOkna();
    // The chainage of the picture: the slider's position, or where the drive has got to.
    double PikietaBiezaca = 0.0;
    // Under the slider: the chainage as "km 0+120,00" and the design height
    // at the axis, and the button of the profile window.
    QLabel* L_Kilometraz = nullptr;
    QPushButton* B_Profil = nullptr;
    // The "Profil i przekrój" window, made when first asked for.
    TfProfilPrzekroj* ProfilPrzekroj = nullptr;

    // Buttons kept hidden: the .mtp open flow, the .mtp to .tro conversion and
    // the two depth sorts.
    QPushButton* Button7 = nullptr;
    QPushButton* Button8 = nullptr;
    QPushButton* B_Korekta_lOko = nullptr;
    QPushButton* B_Korekta_ymin = nullptr;

    TDialogPliku OpenTrojkaty;
    TDialogPliku D_save;
    TDialogPliku OpenDialog1;
    TDialogPliku D_saveLandXML;
    // The name last chosen in OpenTrojkaty: the source of the conversion.
    QString OpenTrojkatyPlik;

    // Runs a file dialog and gives the chosen name, or an empty text when the
    // user cancelled. Empty: the real QFileDialog. Tests put a given path here.
    std::function<QString(const TDialogPliku& dialog, bool zapis)> WyborPliku;
    // Shows an error text; empty: an error box (QMessageBox::critical).
    std::function<void(const QString& tekst)> PokazBlad;
    // The choice of surfaces and alignment of a LandXML file holding more than
    // one of either; empty: the dialog of WybierzZLandXML. Tests put a fixed choice here.
    std::function<std::optional<TWyborLandXML>(const TSpisLandXML& spis)> WyborLandXML;
    // The options of elevation grids before they are read (tolerance,
    // corridor, XYZ order, systems); false: the user cancelled. Empty: the
    // dialog TDialogNMT. Tests answer here.
    std::function<bool(TOpcjeNMT& opcje)> PytajONMT;
    // The grids' options, kept for the session.
    TOpcjeNMT OpcjeNMT;
    // Files larger than this many bytes are read under a progress window.
    qint64 ProgPostepu = 4 << 20;
    // The heights index of a load is built in a second thread while the picture
    // is already shown. Empty: the index of the project's meshes
    // (ZbudujIndeksyWTle); tests put a slow build here.
    TBudowaIndeksow BudowaIndeksow;
    // Looks every 100 ms whether that build has ended, then shows its error or
    // the heights it waited for; beside it in the status bar, "trwa budowa
    // indeksu wysokości" while it runs.
    QTimer* ZegarIndeksow = nullptr;
    QLabel* L_Indeks = nullptr;
    // Starts the build of the loaded project's index in the second thread.
    void ZacznijBudoweIndeksow();
    // What needs the index calls this first: while the build runs, it waits
    // for its end with the busy cursor.
    void CzekajNaIndeksy();
    // The build's end: its error in a box, the heights in the texts.
    void PoBudowieIndeksow();
    // The texts under the slider: chainage, design height, grade and element.
    void PiszKilometraz(bool brakWysokosciDrogi = false);

    QMenuBar* MainMenu1 = nullptr;
    QMenu* Pliki1 = nullptr;
    QMenu* Poka1 = nullptr;
    QMenu* Pomoc1 = nullptr;
    QAction* Otwrz1 = nullptr;
    // "Ostatnio otwierane": the files last opened, newest first, kept between
    // runs in QSettings; one menu item per file (unused items hidden).
    static constexpr int IleOstatnich = 8;
    QMenu* M_Ostatnie = nullptr;
    QAction* Ostatnie1[IleOstatnich] = {};
    QAction* WyczyscOstatnie1 = nullptr;
    QAction* Generujekrantestowy1 = nullptr;
    QAction* Generujekrantestowylosowy1 = nullptr;
    QAction* Oprogramie1 = nullptr;
    QAction* Koniec1 = nullptr;
    QAction* InfoTeren1 = nullptr;
    QAction* InfoProj1 = nullptr;
    QAction* m_ProfilPrzekroj = nullptr;
    QAction* m_Widocznosc = nullptr;
    QAction* m_Spadki = nullptr;
    QAction* m_KolorujSpadki = nullptr;
    QAction* m_Pochylenia = nullptr;
    QAction* m_Objetosci = nullptr;
    QAction* m_OpcjeWyswietlania = nullptr;
    QAction* m_RysujParametryEkran = nullptr;
    QAction* m_ZrzutEkranuDoSchowka = nullptr;
    QAction* m_RysujPROJ = nullptr;
    QAction* m_RysujTEREN = nullptr;
    QAction* m_RysujLinie = nullptr;
    QAction* m_RysujNiebo = nullptr;
    QAction* m_WidokKierowcy = nullptr;
    QAction* m_UproszczonyTeren = nullptr;
    QAction* Krotkiopis1 = nullptr;

    // The sight check: its settings for the session and its results until the next load.
    TWidocznoscOkna* Widocznosc = nullptr;
    // The design checks (drainage, cross-fall, earthworks) and the legend of the slope colouring.
    TKontroleOkna* Kontrole = nullptr;
    TLegendaSpadkow* LegendaSpadkow = nullptr;

    QMenu* M_Generowanie = nullptr;
    QAction* Pokapikieta1 = nullptr;
    QAction* Pokaopcje1 = nullptr;
    QAction* ZrzutEkranu1 = nullptr;

    // The split of a frame between two threads, kept from frame to frame.
    TPodzialKlatki PodzialKlatki;

    // Set by Przerysuj: the next paint shows Ekran as it is.
    bool KlatkaGotowa = false;
    // The screen dump's confirmation, written over the picture until the next paint.
    bool NapisZrzutu = false;

    // Handlers of the window (also called by the paint area and the tests).
    void FormResize();
    void FormPaint(QPainter& malarz);
    void FormKeyDown(int kod);
    // Rewrites panel 1 of the status bar with the observer's position.
    void PiszPolozenieOka() override;
    // Places the view at the chainage last looked up (rebuild, place, cut, shade, redraw).
    void PolozWidokPonownie() override;
    // The options dialog's view of the window.
    int SzerokoscRysunku() const override { return rys->width(); }
    void PrzerysujObraz() override;

    // The open flow of "Otwórz" for a file already chosen: a .tro file is read
    // (an error box when it cannot be), the caption, the range text, the slider
    // and the panel follow, the picture is redrawn and the file goes to the top
    // of the recent list. Another extension loads nothing and only updates the
    // panel and the picture. True when a file was loaded.
    bool OtworzPlik(const QString& nazwa);
    // Opens files one after another through OtworzPlik (the command line, a
    // drop): a name that is not a .tro file is skipped with an error box.
    void OtworzPliki(const QStringList& nazwy);
    // Elevation grids as the terrain: the options asked for, the reading and
    // thinning in a worker thread under a progress window, then the TIN put in
    // place and the window following as after OtworzPlik. Several grids are
    // sheets of one terrain. True when loaded.
    bool OtworzNMT(const QStringList& nazwy);
    // The recent list as kept in QSettings, newest first.
    QStringList OstatniePliki() const;
    // A recent list's item: opens the file, or, when it has gone, says so and
    // takes it off the list.
    void OtworzOstatni(const QString& nazwa);
    // Rebuilds the recent list's menu items from QSettings.
    void OdswiezOstatnie();
    // Switches the driver's view on or off (menu item and panel box follow),
    // placing the view again at the current chainage.
    void UstawWidokKierowcy(bool wlaczony);
    // Starts or stops the drive; whether it runs.
    void PrzelaczJazde();
    bool Jazda() const;

public slots:
    void SB_pikChange();
    void B_ObliczTrasaClick();
    void OtworzTRO();
    void OtworzMTP();
    void Button7Click();
    void ZapiszLandXMLClick();
    void B_Korekta_lOkoClick();
    void B_Korekta_yminClick();
    void Generujekrantestowy1Click();
    void Generujekrantestowylosowy1Click();
    void Oprogramie1Click();
    void Koniec1Click();
    void InfoTeren1Click();
    void InfoProj1Click();
    void m_ProfilPrzekrojClick();
    void m_WidocznoscClick();
    void m_SpadkiClick();
    void m_KolorujSpadkiClick();
    void m_PochyleniaClick();
    void m_ObjetosciClick();
    void m_OpcjeWyswietlaniaClick();
    void m_RysujParametryEkranClick();
    void m_ZrzutEkranuDoSchowkaClick();
    void m_RysujPROJClick();
    void m_RysujTERENClick();
    void m_RysujLinieClick();
    void m_RysujNieboClick();
    void Krotkiopis1Click();
    void Pokapikieta1Click();
    void m_WidokKierowcyClick();
    void m_UproszczonyTerenClick();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    // Local files dragged onto the window are opened, in their order, after the drop.
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    void FormCreate();
    void FormDestroy();
    void UtworzMenu();
    void UtworzPanelPikietazu();
    // The view at PikietaBiezaca, its texts and the redraw (no busy cursor: the
    // drive runs it every frame). The chainage view looks the route point up
    // again only when asked (the drive); otherwise it stays where SB_pikChange put it.
    void PolozWidok(bool szukajPunktu);
    // The panel's driver controls from WidokKierowcy.
    void OdswiezKontrolkiKierowcy();
    // The observer's height of the chainage view, kept while the driver's view has its own.
    double OkoZTrasy = 500.0;
    // The file dialog (or its replacement); a confirmed choice becomes the
    // dialog's starting directory for the next time.
    QString WybierzPlik(TDialogPliku& dialog, bool zapis);
    // Reads a file through the one open flow (WczytajPlik of scena/Scena.h)
    // under a busy cursor, and under a progress window when the file is large;
    // `wyborLandXML` names what a LandXML file gives. False when the load
    // failed (the error was shown) or was stopped by the user; the scene is
    // then unchanged.
    bool WczytajPlik(const QString& nazwa, const TWyborLandXML& wyborLandXML = {});
    // The choice of surfaces and alignment of a LandXML file, asked before its
    // load when the file holds more than one of either. Nothing when the user
    // cancelled or the file could not be read (the error was shown).
    std::optional<TWyborLandXML> WybierzZPlikuLandXML(const QString& nazwa);
    // The end of an open flow: caption, range text and the slider's new range.
    void PoWczytaniu(const QString& nazwa, int odPikiety, int doPikiety);
    // The panel's list of alignments filled from the route in memory.
    void OdswiezListeTras();
    // Makes alignment nr of the route's file the route (the slider at its start); false when it could not be
    // read (the error was shown, nothing changed).
    bool WybierzTraseOkna(int nr);
    // Shows the route build's messages of the file just loaded in the viewer.
    void PokazKomunikatyTrasy();
    void ZapiszOstatnie(const QStringList& lista);
    void Blad(const QString& tekst);
    // Makes Ekran at least as large as the screen and the paint area.
    void DopasujEkran();
};

extern TfMaster* fMaster;

// The one redraw of the main window: the whole frame into Ekran, then shown.
void Przerysuj(TfMaster& okno);
