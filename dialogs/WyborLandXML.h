// The choice of what a LandXML file brings: which surface is the terrain
// (TEREN), which the design surface (PROJ) and which alignment is the route.
#pragma once

#include <optional>

#include "wymiana/LandXML.h"

class QWidget;

// Shows a small modal dialog listing the file's names; empty when the user
// cancelled. The first surface is offered as TEREN, no surface as PROJ and
// the first alignment as the route; "(bez zmian)" keeps the terrain or the
// route in memory.
std::optional<TWyborLandXML> WybierzZLandXML(QWidget* rodzic, const TSpisLandXML& spis);
