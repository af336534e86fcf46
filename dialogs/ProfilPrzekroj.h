// The "Profil i przekrój" window: the long profile of the whole route and
// the cross-section at the chainage of the main window's slider, kept in
// step with it. It draws with the drawing of dialogs/RysunekProfilu.h, the
// same the command-line tool writes into a picture. Below the drawing, once a
// sight check has finished, the chart of its results with the switch of the
// red strip on the road (hidden while there are no results), and the
// diagrams of the design checks (cross-fall, mass haul) on the long
// profile's chainage axis (hidden while there are none).
#pragma once

#include <QDialog>
#include <QWidget>
#include <functional>
#include <vector>

#include "analiza/Widocznosc.h"
#include "dialogs/RysunekProfilu.h"
#include "dialogs/WykresyKontroli.h"

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QSplitter;
class TWykresWidocznosci;

// The paint area: the whole drawing over its rectangle.
class TRysunekProfilu : public QWidget {
public:
    TRysunekProfilu(const TDaneRysunkuProfilu& dane, QWidget* rodzic);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    const TDaneRysunkuProfilu& dane_;
};

class TfProfilPrzekroj : public QDialog {
    Q_OBJECT
public:
    explicit TfProfilPrzekroj(QWidget* rodzic = nullptr);

    // A load (or a test scene) changed the surfaces or the route: the long
    // profile is computed again, and the views are placed at chainage s.
    void PoWczytaniu(double pikieta);
    // The slider moved: the marker and the cross-section go to chainage s.
    // While the window is hidden only the chainage is kept; the views are
    // computed when it is shown.
    void UstawPikiete(double pikieta);
    double Pikieta() const { return pikieta_; }
    // What the window shows (up to date while it is visible).
    const TDaneRysunkuProfilu& DaneRysunku() const { return dane_; }

    // The results of the sight check: the chart (with the marker at the
    // chainage) and the strip switch show below the drawing; no rows hide
    // them. The first showing makes the window taller to make room, as far as the screen allows.
    void UstawWynikiWidocznosci(std::vector<TWierszWidocznosci> wiersze, bool pas);
    // The diagrams of the design checks; no data hides them. The first showing makes the window taller.
    void UstawWykresyKontroli(TDaneWykresowKontroli dane);
    // The user flipped the strip switch.
    std::function<void(bool pas)> ZmienPas;

    QLabel* L_Przewyzszenie = nullptr;
    QDoubleSpinBox* E_Przewyzszenie = nullptr;
    TRysunekProfilu* Rysunek = nullptr;
    QSplitter* Podzial = nullptr;  // the drawing above, the results below
    QWidget* Wyniki = nullptr;     // the chart and the switch
    TWykresWidocznosci* Wykres = nullptr;
    QCheckBox* CB_Pas = nullptr;
    TWykresyKontroli* WykresyKontroli = nullptr;

protected:
    void showEvent(QShowEvent* e) override;
    // Makes the window no larger than its screen's free area and moves it wholly onto it.
    void ZmiescNaEkranie();

private:
    void Przelicz();
    // Shows the widget below the drawing, the window growing by `dodatek` as far as the screen allows.
    void Pokaz(QWidget* w, int dodatek);

    TDaneRysunkuProfilu dane_;
    double pikieta_ = 0.0;
    bool profilAktualny_ = false;  // dane_.Profil belongs to the scene in memory
    bool widokAktualny_ = false;   // the rest of dane_ belongs to pikieta_
};
