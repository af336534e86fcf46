// The chart of the sight check: available against required stopping sight
// distance along the chainage, one panel for each direction of travel. The
// drawing is a free function on a QPainter, so that any window (the long
// profile's among them) can place it in a rectangle of its own; the widget
// below shows it on its own (the profile window holds one).
#pragma once

#include <QPainter>
#include <QWidget>
#include <cmath>
#include <vector>

#include "analiza/Widocznosc.h"

// Draws the chart of the rows into the rectangle: the + direction above, the
// - direction below (a direction without rows gets no panel). Each panel:
// the available distance as a solid line, the required one dashed, the
// failing stations on a red band, chainage ("0+500", the route's start
// chainage `pikStart` added) and metres on the axes; the plots keep the
// margins of the profile's drawing, so that a chart as wide as the drawing
// puts each chainage under the profile's. A finite `znacznik` inside the
// charted chainages draws a vertical line there in every panel (the chainage
// the window stands at).
void RysujWykresWidocznosci(QPainter& malarz, const QRectF& obszar, const std::vector<TWierszWidocznosci>& wiersze,
                            double znacznik = NAN, double pikStart = 0.0);

class TWykresWidocznosci : public QWidget {
    Q_OBJECT
public:
    explicit TWykresWidocznosci(QWidget* rodzic = nullptr);
    void UstawWiersze(std::vector<TWierszWidocznosci> wiersze, double pikStart = 0.0);
    const std::vector<TWierszWidocznosci>& Wiersze() const { return wiersze_; }
    // The chainage marker (NaN: none).
    void UstawZnacznik(double pikieta);
    double Znacznik() const { return znacznik_; }
    QSize sizeHint() const override { return {900, 360}; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    std::vector<TWierszWidocznosci> wiersze_;
    double znacznik_ = NAN;
    double pikStart_ = 0.0;
};
