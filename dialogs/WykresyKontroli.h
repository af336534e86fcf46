// The diagrams of the design checks under the long profile of the "Profil i
// przekrój" window, on its chainage axis (the same margins and range): the
// cross-fall of both sides against the chainage, and the mass-haul diagram
// (the mass ordinate k * cut - fill summed from the route's start) with its
// balance points. Free painter functions, so that a picture file can carry
// them too; the widget shows those that have data, one above the other.
#pragma once

#include <QPainter>
#include <QWidget>
#include <cmath>
#include <vector>

#include "analiza/Objetosci.h"
#include "analiza/Pochylenia.h"

struct TDaneWykresowKontroli {
    double PikStart = 0, PikMin = 0, PikMax = 0;  // the route's chainage range and its start chainage
    std::vector<TWierszPochylen> Pochylenia;      // empty: no cross-fall diagram
    std::vector<double> PikietyMas, Masa;         // the mass ordinate at chainages; empty: no mass diagram
    std::vector<double> PunktyZrownowazenia;

    bool Puste() const { return Pochylenia.empty() && Masa.empty(); }
};

// The mass ordinate at the strips' boundaries of a volumes result.
void UstawMasy(TDaneWykresowKontroli& d, const TWynikObjetosci& w);

// Both draw into the rectangle with the long profile's margins (74 px left, 16 right), a marker at
// the chainage `znacznik` (the route's own; NaN: none).
void RysujWykresPochylen(QPainter& malarz, const QRectF& obszar, const TDaneWykresowKontroli& d, double znacznik = NAN);
void RysujWykresMas(QPainter& malarz, const QRectF& obszar, const TDaneWykresowKontroli& d, double znacznik = NAN);

class TWykresyKontroli : public QWidget {
    Q_OBJECT
public:
    explicit TWykresyKontroli(QWidget* rodzic = nullptr);
    void UstawDane(TDaneWykresowKontroli dane);
    const TDaneWykresowKontroli& Dane() const { return dane_; }
    void UstawZnacznik(double pikieta);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    TDaneWykresowKontroli dane_;
    double znacznik_ = NAN;
};
