// "Pokaż" → "Widoczność na zatrzymanie" in the window: the settings dialog,
// the run in a worker thread under a progress window with "Przerwij", and the
// results: the chart window, the red strip on the road, the report in the
// text viewer. The settings are kept for the session; the results until the
// next load.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QObject>
#include <functional>
#include <vector>

#include "analiza/Widocznosc.h"

class TOknoWykresuWidocznosci;

// The settings of a run; "Pas" switches the red strip on the road.
class TDialogWidocznosci : public QDialog {
    Q_OBJECT
public:
    TDialogWidocznosci(const TUstawieniaWidocznosci& u, bool pas, QWidget* rodzic = nullptr);
    TUstawieniaWidocznosci Ustawienia() const;
    bool Pas() const;

    QDoubleSpinBox *E_Krok = nullptr, *E_Oko = nullptr, *E_Cel = nullptr, *E_Przesuniecie = nullptr,
                   *E_Predkosc = nullptr, *E_Zasieg = nullptr, *E_CzasReakcji = nullptr, *E_Opoznienie = nullptr;
    QComboBox* CB_Kierunek = nullptr;
    QCheckBox* CB_Pas = nullptr;
};

class TWidocznoscOkna : public QObject {
    Q_OBJECT
public:
    explicit TWidocznoscOkna(QWidget* okno);
    ~TWidocznoscOkna() override;

    // Kept for the session.
    TUstawieniaWidocznosci Ustawienia;
    bool ZaznaczajPas = true;
    // The rows of the last finished run (empty: none).
    std::vector<TWierszWidocznosci> Wiersze;
    TOknoWykresuWidocznosci* OknoWykresu = nullptr;

    // Asks for the settings; empty: TDialogWidocznosci. Tests answer here.
    std::function<bool(TUstawieniaWidocznosci& u, bool& pas)> PytajOUstawienia;
    // Rebuilds and redraws the picture (the window's view at the chainage).
    std::function<void()> OdswiezWidok;
    // Shows a text in the viewer (the window's text viewer).
    std::function<void(std::vector<std::string> linie)> PokazRaport;
    // Shows an error text.
    std::function<void(const QString& tekst)> PokazBlad;

    // The whole flow: settings, the run, the results. Nothing changes when
    // the user cancels the dialog or stops the run.
    void Sprawdz();
    // Runs the check with the settings in a worker thread under a progress
    // window; the rows, or none when stopped or failed (the error shown).
    std::optional<std::vector<TWierszWidocznosci>> Uruchom(const TUstawieniaWidocznosci& u);
    // Takes the rows as the results: chart, strip, report.
    void PokazWyniki(std::vector<TWierszWidocznosci> wiersze);
    // Drops the results: the chart window closes, the strip goes (a load calls it).
    void Porzuc();
    // The red strip on or off.
    void UstawPas(bool pas);

private:
    QWidget* okno_;
};
