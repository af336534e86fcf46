// "Pokaż" → the design checks in the window: drainage ("Spadki i strefy
// płaskie"), cross-fall ("Pochylenie poprzeczne") and earthworks ("Objętości
// robót ziemnych"). Each asks for its settings, runs in a worker thread under
// a progress window with "Przerwij", and shows its results: the reports in
// the text viewer, the cross-fall and mass-haul diagrams in the "Profil i
// przekrój" window. The settings are kept for the session, the results until
// the next load.
#pragma once

#include <QDialog>
#include <QDoubleSpinBox>
#include <QObject>
#include <QPainter>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "analiza/Objetosci.h"
#include "analiza/Pochylenia.h"
#include "analiza/Spadki.h"
#include "dialogs/WykresyKontroli.h"

enum class TRodzajKontroli { Spadki, Pochylenia, Objetosci };

// The colours of the slope classes on the design surface (0x00BBGGRR): below the threshold, up to
// twice it; the rest keeps the colour of its surface kind.
constexpr TKolor KolorPlaskiego = 0x003030E8u;     // red
constexpr TKolor KolorMalegoSpadku = 0x00208CFFu;  // orange

// The legend of the colouring: two swatches with their texts for the threshold (in %), drawn with its
// top right corner at `naroznik`.
void RysujLegendeSpadkow(QPainter& malarz, QPointF naroznik, double prog);

// The legend as a widget over the top right corner of its parent (the picture), following its size.
class TLegendaSpadkow : public QWidget {
    Q_OBJECT
public:
    explicit TLegendaSpadkow(QWidget* rodzic);
    void UstawProg(double prog);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void Umiesc();

private:
    double prog_ = ProgSpadku;
};

struct TUstawieniaKontroli {
    double Krok = 10.0;                                // band step or station spacing, m
    double Prog = ProgSpadku;                          // drainage threshold, %
    double SzerokoscSpadkow = ::SzerokoscSpadkow;      // W of the drainage check, m
    double SzerokoscPochylen = ::SzerokoscPochylenia;  // W of the cross-fall, m
    double SzerokoscObjetosci = ::SzerokoscObjetosci;  // W of the volumes, m
    double Wspolczynnik = 1.0;                         // bulking factor k
};

// The settings of one check (only its own fields).
class TDialogKontroli : public QDialog {
    Q_OBJECT
public:
    TDialogKontroli(TRodzajKontroli rodzaj, const TUstawieniaKontroli& u, QWidget* rodzic = nullptr);
    TUstawieniaKontroli Ustawienia() const;

    QDoubleSpinBox *E_Krok = nullptr, *E_Prog = nullptr, *E_Szerokosc = nullptr, *E_Wspolczynnik = nullptr;

private:
    TRodzajKontroli rodzaj_;
    TUstawieniaKontroli u_;
};

class TKontroleOkna : public QObject {
    Q_OBJECT
public:
    explicit TKontroleOkna(QWidget* okno);

    TUstawieniaKontroli Ustawienia;
    // The last finished results (none: not run since the load).
    std::shared_ptr<const TWynikSpadkow> Spadki;
    std::shared_ptr<const TWynikObjetosci> Objetosci;
    TDaneWykresowKontroli Wykresy;

    // Asks for the settings; empty: TDialogKontroli. Tests answer here.
    std::function<bool(TRodzajKontroli rodzaj, TUstawieniaKontroli& u)> PytajOUstawienia;
    std::function<void(std::vector<std::string> linie)> PokazRaport;
    // Shows the diagrams (the profile window); no data: they go.
    std::function<void(const TDaneWykresowKontroli& d)> PokazWykresy;
    std::function<void(const QString& tekst)> PokazBlad;

    // The whole flows: settings, the run, the results. Nothing changes when the user cancels the
    // dialog or stops the run.
    void SprawdzSpadki();
    void SprawdzPochylenia();
    void SprawdzObjetosci();
    // Drops the results (a load); the colouring stays switched as it was and follows the new surface.
    void Porzuc();

    // The design surface coloured by slope class (with the drainage threshold of Ustawienia) or not;
    // the view is redrawn. On, it follows every load (Porzuc) and every drainage run.
    void UstawKolorowanie(bool wlaczone);
    bool Kolorowanie() const { return kolorowanie_; }
    // Redraws the picture from the meshes (the window's view at the chainage).
    std::function<void()> OdswiezWidok;
    // Shows or hides the legend of the colouring (the window places it over the picture).
    std::function<void(bool widoczna, double prog)> PokazLegende;

private:
    bool Przygotuj(TRodzajKontroli rodzaj, TUstawieniaKontroli& u);
    void Koloruj();
    QWidget* okno_;
    bool kolorowanie_ = false;
};
