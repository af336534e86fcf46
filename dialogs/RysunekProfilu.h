// The drawing of the "Profil i przekrój" window: the long profile of the
// whole route and the cross-section at the current chainage, drawn with
// QPainter. The window paints it on screen and the command-line tool into a
// picture file, from the same data and the same code.
#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "analiza/Profil.h"
#include "model/TypyOsi.h"

// The vertical exaggeration of the long profile: its start value and bounds.
constexpr double PrzewyzszenieDomyslne = 10.0;
constexpr double PrzewyzszenieNajmniejsze = 1.0;
constexpr double PrzewyzszenieNajwieksze = 100.0;
// How far the cross-section reaches each side of the axis, and its step, in metres.
constexpr double SzerokoscPrzekrojuRysunku = 30.0;
constexpr double KrokPrzekrojuRysunku = 0.25;
// The margins of the plots left and right of their frames, so that a chart
// placed below the drawing (the sight chart) lines its chainages up with the profile's.
constexpr int LewyMarginesWykresu = 74, PrawyMarginesWykresu = 16;
// A chainage tick's text: "0+100" (whole metres), "0+012,5" finer.
QString TekstPodzialkiPikiety(double v, double krok);
// A round step (1, 2 or 5 times a power of ten) giving about `ile` ticks over the range.
double KrokPodzialki(double zakres, double ile);
// The ticks k * krok inside [od, do_] (at most 200).
std::vector<double> Podzialka(double od, double do_, double krok);

// The chainage axis the long profile and the charts under it share: round
// ticks of the displayed chainages [od, do_], about one per 90 pixels of a
// plot `szerokosc` pixels wide (3 to 10), so that the charts' chainages stand
// under the profile's.
struct TOsPikietazu {
    double Krok = 1.0;
    std::vector<double> Pikiety;
};
TOsPikietazu OsPikietazu(double od, double do_, double szerokosc);
// Its grid lines over the plot `pole` in the painter's pen, and its texts
// ("0+500") under it in black; x(u) is the column of displayed chainage u.
void RysujSiatkePikietazu(QPainter& m, const QRectF& pole, const TOsPikietazu& os,
                          const std::function<double(double)>& x);
void OpiszPikietaz(QPainter& m, const QRectF& pole, const TOsPikietazu& os, const std::function<double(double)>& x);
// The largest vertical exaggeration at which heights spanning `zakresWysokosci`
// fit a plot `wysokosc` pixels high over `dlugosc` metres drawn `szerokosc` pixels wide.
double NajwiekszePrzewyzszenie(double zakresWysokosci, double dlugosc, double szerokosc, double wysokosc);

// The size of the picture the command-line tool writes by default.
constexpr QSize RozmiarRysunkuProfilu{1000, 640};

// Everything the drawing shows.
struct TDaneRysunkuProfilu {
    bool JestTrasa = false;               // a built route (without it the drawing says so)
    double PikMin = 0, PikMax = 0;        // the route's chainage range
    double PikStart = 0;                  // its start chainage as its file gives it (the texts add it)
    std::vector<TPunktProfilu> Profil;    // along the whole route
    double Pikieta = 0;                   // the current chainage (the marker)
    TPunktProfilu NaOsi;                  // the route point there with both heights
    std::vector<TPunktProfilu> Przekroj;  // the cross-section there
    std::optional<double> Pochylenie;     // grade of the design surface there, %
    double Przewyzszenie = PrzewyzszenieDomyslne;
    // The route's design line (no breakpoints: none); with one, the long
    // profile draws it with its labels and the band under it, and the
    // chainage's line gives its height as "Niweleta".
    TNiweleta Niweleta;
};

// The long profile of the loaded route at a step fitted to its length (from
// 0.5 m up, at most about 2,000 points), from the heights indices of the last load (IndeksyWysokosci).
std::vector<TPunktProfilu> ProfilCalejTrasy();
// The data at chainage s of the loaded route, with the long profile given
// (computed once per load) or computed here when it is empty.
TDaneRysunkuProfilu ObliczDaneRysunkuProfilu(double pikieta, double przewyzszenie,
                                             std::vector<TPunktProfilu> profil = {});

// The line under the pictures: "km 0+120,00   Niweleta: 123,45 m   Teren:
// 121,30 m   Nasyp: 2,15 m   Pochylenie: 1,25 %" (what is missing is left out;
// the locale's decimal separator).
QString OpisPikiety(const TDaneRysunkuProfilu& d);

// Draws both views into the rectangle: the long profile above, the cross-section below.
void RysujProfilIPrzekroj(QPainter& malarz, const QRect& obszar, const TDaneRysunkuProfilu& d);
// The same into a new picture of the given size (white background).
QImage ObrazProfilu(const TDaneRysunkuProfilu& d, QSize rozmiar);
