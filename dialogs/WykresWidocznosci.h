// The chart of the sight check: available against required stopping sight
// distance along the chainage, one panel for each direction of travel. The
// drawing is a free function on a QPainter, so that any window (the long
// profile's among them) can place it in a rectangle of its own; the widget
// and the small window below only show it on their own.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QPainter>
#include <QWidget>
#include <vector>

#include "analiza/Widocznosc.h"

// Draws the chart of the rows into the rectangle: the + direction above, the
// - direction below (a direction without rows gets no panel). Each panel:
// the available distance as a solid line, the required one dashed, the
// failing stations on a red band, chainage and metres on the axes.
void RysujWykresWidocznosci(QPainter& malarz, const QRectF& obszar, const std::vector<TWierszWidocznosci>& wiersze);

class TWykresWidocznosci : public QWidget {
    Q_OBJECT
public:
    explicit TWykresWidocznosci(QWidget* rodzic = nullptr);
    void UstawWiersze(std::vector<TWierszWidocznosci> wiersze);
    const std::vector<TWierszWidocznosci>& Wiersze() const { return wiersze_; }
    QSize sizeHint() const override { return {900, 520}; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    std::vector<TWierszWidocznosci> wiersze_;
};

// "Widoczność na zatrzymanie – wykres": the chart and the switch of the red
// strip on the road.
class TOknoWykresuWidocznosci : public QDialog {
    Q_OBJECT
public:
    explicit TOknoWykresuWidocznosci(QWidget* rodzic = nullptr);
    TWykresWidocznosci* Wykres = nullptr;
    QCheckBox* CB_Pas = nullptr;
};
