// The design line (the vertical profile of the route) in the long profile:
// the line itself with its breakpoints labelled (chainage and height), each
// grade between them in per cent, each vertical curve with its radius and
// length; and the band that Polish road profiles carry under the drawing:
// chainages, design and ground heights every 50 m (100 m when crowded), the
// grades, and the curve data.
#pragma once

#include <QPainter>
#include <QRectF>
#include <functional>
#include <optional>
#include <vector>

#include "model/TypyOsi.h"

// Where the long profile lies in the picture: displayed chainage to x,
// height to y, and the plot's rectangle.
struct TOdwzorowanieProfilu {
    std::function<double(double)> X, Y;
    QRectF Pole;
};

// The design line's points for drawing: its breakpoints' range sampled so
// that every curve is smooth (at most about `ile` points, every curve's ends among them).
std::vector<std::pair<double, double>> PunktyNiwelety(const TNiweleta& n, int ile = 800);

// A label of the design line: its text and its box in the picture, upright (a
// breakpoint's chainage and height, read upwards) or level.
struct TEtykietaNiwelety {
    QString Tekst;
    QRectF Pole;
    bool Pionowa = false;
};
// The labels, placed so that no two boxes meet: each breakpoint's above it
// (below it where the plot has no room), then each vertical curve's radius and
// length under its breakpoint, each grade over the middle of its segment; where
// that place is taken, the next free one of a few nearby (further down or up,
// to the left, along the segment). A level label with no free place inside the
// plot is left out: the band under the drawing carries the same data.
std::vector<TEtykietaNiwelety> EtykietyNiwelety(const QFontMetrics& fm, const TOdwzorowanieProfilu& w,
                                                const TNiweleta& n);

// The line and its labels, clipped to the plot.
void RysujNiwelete(QPainter& m, const TOdwzorowanieProfilu& w, const TNiweleta& n);

// The band's height for the font in use.
double WysokoscPaskaNiwelety(const QFontMetrics& fm);
// The band in `pasek` (as wide as the picture; the columns follow w.X):
// rows "Pikiety", "Niweleta", "Teren", "Pochylenia", "Łuki pion." (vertical curves). `teren`
// gives the ground height at a displayed chainage (none where there is none).
void RysujPasekNiwelety(QPainter& m, const QRectF& pasek, const TOdwzorowanieProfilu& w, const TNiweleta& n,
                        double pikOd, double pikDo, const std::function<std::optional<double>(double)>& teren);
