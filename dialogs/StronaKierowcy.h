// The options dialog's page "Kierowca": the driver's eye (height above
// the road, offset from the route line), the tilt with the grade, the roll
// with the lane's cross-fall, the direction of travel, the far distance of the view, the station posts and the width of the road drawn
// from the design line alone (written to the window's route, whose ribbon is made again).
// Every control writes WidokKierowcy at once and calls the given function
// (which places the view again at the current chainage).
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QWidget>
#include <functional>

class TStronaKierowcy : public QWidget {
    Q_OBJECT
public:
    TStronaKierowcy(std::function<void()> poZmianie, QWidget* rodzic = nullptr);

    QDoubleSpinBox* SE_WysokoscOka = nullptr;
    QDoubleSpinBox* SE_Przesuniecie = nullptr;
    QCheckBox* CB_Pochylenie = nullptr;
    QCheckBox* CB_Przechylenie = nullptr;
    QComboBox* CB_Kierunek = nullptr;
    QDoubleSpinBox* SE_Zasieg = nullptr;
    QCheckBox* CB_SlupkiKierowcy = nullptr;
    QCheckBox* CB_SlupkiTrasy = nullptr;
    QDoubleSpinBox* SE_OdstepSlupkow = nullptr;
    QDoubleSpinBox* SE_OdsuniecieSlupkow = nullptr;
    // The width of the road drawn from the design line where there is no design surface.
    QDoubleSpinBox* SE_SzerokoscDrogi = nullptr;

    // The controls from WidokKierowcy (the panel may have changed the direction).
    void Odswiez();

protected:
    void showEvent(QShowEvent* e) override;

private:
    std::function<void()> poZmianie_;
    bool odswiezanie_ = false;
};
