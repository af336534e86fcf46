// The display options dialog: cutting depths, moving, zooming and turning the
// scene, the light vector and shading strength, the outlines and the eye.
// Every control acts at once on the main window's picture behind the dialog.
// The dialog is made once and kept, so its controls hold their state from one
// showing to the next.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>

#include "dialogs/StronaKierowcy.h"

// The window whose picture the dialog changes; the main window implements it.
class TOknoObrazu {
public:
    // Width of the paint area: zooms and turns are made about the middle of its bottom edge.
    virtual int SzerokoscRysunku() const = 0;
    // Draws the picture anew and shows it.
    virtual void PrzerysujObraz() = 0;
    // Places the view again at the chainage last looked up (rebuild, place, cut, shade, redraw).
    virtual void PolozWidokPonownie() = 0;
    // Writes the observer's position into the status bar.
    virtual void PiszPolozenieOka() = 0;

protected:
    ~TOknoObrazu() = default;
};

class TOpcje : public QDialog {
    Q_OBJECT
public:
    // A parent that implements TOknoObrazu is the window the dialog acts on;
    // without one the controls change the view state only.
    explicit TOpcje(QWidget* rodzic = nullptr);

    QTabWidget* PageControl1 = nullptr;
    QWidget* TS_Rysuj = nullptr;
    QWidget* TS_Przesuwanie = nullptr;
    QWidget* TS_Oswietlenie = nullptr;
    TStronaKierowcy* TS_Kierowca = nullptr;

    // Page "Rysuj".
    QCheckBox* CB_TnijTroj = nullptr;
    QFrame* P_Oswietlenie = nullptr;
    QLabel* L_TnijYMin = nullptr;
    QScrollBar* SB_OdlTNIJ_Ymin = nullptr;
    QLabel* L_TnijYMax = nullptr;
    QScrollBar* SB_OdlTNIJ_YMax = nullptr;

    // Page "Przesuwanie".
    QLabel* StaticText1 = nullptr;
    QLineEdit* E_krok = nullptr;
    QPushButton* B_dxPlus = nullptr;
    QPushButton* B_dxMinus = nullptr;
    QPushButton* B_dyPlus = nullptr;
    QPushButton* B_dyMinus = nullptr;
    QPushButton* B_dzPlus = nullptr;
    QPushButton* B_dzMinus = nullptr;
    QLineEdit* E_wsp = nullptr;
    QPushButton* B_Powieksz = nullptr;
    QPushButton* B_Pomniejsz = nullptr;
    QLineEdit* E_alfa = nullptr;
    QPushButton* B_ObrotXp = nullptr;
    QPushButton* B_ObrotXl = nullptr;
    QPushButton* B_ObrotYp = nullptr;
    QPushButton* B_ObrotYl = nullptr;
    QPushButton* B_ObrotZp = nullptr;
    QPushButton* B_ObrotZl = nullptr;

    // Page "Oświetlenie + wsp. "oko"".
    QLabel* StaticText5 = nullptr;
    QScrollBar* sb_sx = nullptr;
    QScrollBar* sb_sy = nullptr;
    QScrollBar* sb_sz = nullptr;
    QLabel* L_sx = nullptr;
    QLabel* l_sy = nullptr;
    QLabel* l_sz = nullptr;
    QScrollBar* SB_swNat = nullptr;
    QLabel* L_snat = nullptr;
    QCheckBox* CB_rSwObrys = nullptr;
    QComboBox* CB_NatObrys = nullptr;
    QPushButton* B_Swiatlo = nullptr;
    QLabel* StaticText4 = nullptr;
    QLabel* StaticText3 = nullptr;
    QPushButton* B_OkoYPlus = nullptr;
    QPushButton* B_OkoYMinus = nullptr;
    QLabel* l_yo = nullptr;
    QLabel* StaticText2 = nullptr;
    QPushButton* B_OkoZPlus = nullptr;
    QPushButton* B_OkoZMinus = nullptr;
    QLabel* l_zo = nullptr;
    QLabel* l_xo = nullptr;
    QPushButton* B_OkoXPlus = nullptr;
    QPushButton* B_OkoXMinus = nullptr;

    // Below the pages.
    QPushButton* B_Powrpt = nullptr;
    QPushButton* B_Walce = nullptr;
    QPushButton* B_Kule = nullptr;
    QPushButton* B_Droga = nullptr;
    QPushButton* B_Troj = nullptr;

    // The zoom factor of the "+" button ("-" divides by it): the number in
    // E_wsp, 1.1 when the text is no number or not above zero.
    double WspolczynnikSkali() const;

public slots:
    void CB_TnijTrojClick();
    void SB_OdlTNIJ_YminChange();
    void SB_OdlTNIJ_YMaxChange();

    void B_dxPlusClick();
    void B_dxMinusClick();
    void B_dyPlusClick();
    void B_dyMinusClick();
    void B_dzPlusClick();
    void B_dzMinusClick();
    void B_PowiekszClick();
    void B_PomniejszClick();
    void B_ObrotXpClick();
    void B_ObrotXlClick();
    void B_ObrotYpClick();
    void B_ObrotYlClick();
    void B_ObrotZpClick();
    void B_ObrotZlClick();

    void sb_sxChange();
    void sb_syChange();
    void sb_szChange();
    void SB_swNatChange();
    void B_SwiatloClick();
    void B_OkoXPlusClick();
    void B_OkoXMinusClick();
    void B_OkoYPlusClick();
    void B_OkoYMinusClick();
    void B_OkoZPlusClick();
    void B_OkoZMinusClick();

    void B_PowrptClick();
    void B_KuleClick();
    void B_WalceClick();
    void B_DrogaClick();
    void B_TrojClick();

protected:
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    // Refreshes the labels from the current settings each time the dialog is shown.
    void FormShow();
    // The eye labels, and the status bar of the main window when asked.
    void PiszOko(bool pasekStanu);
    void PrzesunScene(double dx, double dy, double dz);
    void ObrocScene(int os, double znak);
    void ZmienOko(double& wspolrzedna, double o);
    void PoZmianieSwiatla();

    double SrodekX() const;
    void Odswiez();

    TOknoObrazu* okno_ = nullptr;
    bool wysrodkowany_ = false;
};

extern TOpcje* Opcje;
