// The choice of what a LandXML file brings: which surface is the terrain
// (TEREN), which the design surface (PROJ), which alignment is the route and
// which of its profiles the design line.
#pragma once

#include <optional>

#include "wymiana/LandXML.h"

class QWidget;

// Shows a small modal dialog listing the file's names; empty when the user
// cancelled. The surfaces the file gives by default (WyborDomyslny: those
// named TEREN and PROJ, else the first surface as TEREN and none as PROJ) and
// the first alignment are offered at first; "(bez zmian)" keeps the terrain or
// the route in memory, "(brak)" takes no design surface. The profile
// ("Niweleta") is chosen among the chosen alignment's, the first at first.
std::optional<TWyborLandXML> WybierzZLandXML(QWidget* rodzic, const TSpisLandXML& spis);
