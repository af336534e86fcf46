// Coordinate systems through PROJ: plan coordinates moved from one EPSG
// system to another (easting, northing order whatever the system's own axis
// order; heights unchanged) and a system's name for the reports.
#pragma once

#include <string>
#include <vector>

#include "common/Funkcje.h"
#include "model/Typy.h"

// Moves every point from EPSG `z` to EPSG `na` (X easting, Y northing; Z
// stays). Raises BladKonwersji when PROJ does not know a system or a point
// cannot be transformed. Nothing happens when the codes are equal.
void PrzeliczUklad(std::vector<TPunkt3D>& punkty, int z, int na);
void PrzeliczUklad(std::vector<TPunkt2D>& punkty, int z, int na);

// "EPSG:2180 (ETRF2000-PL / CS92)"; "nieznany" for 0; the code alone when PROJ does not know it.
std::string NazwaUkladu(int epsg);
