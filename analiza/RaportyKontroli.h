// The reports of the design checks for the text viewer: drainage (the totals,
// the least slope and the flat zones) and earthworks (the totals, the balance
// and the balance points). Chainages as the user sees them (the route's start
// chainage added), numbers with a decimal comma.
#pragma once

#include <string>
#include <vector>

#include "analiza/Objetosci.h"
#include "analiza/Spadki.h"

std::vector<std::string> RaportSpadkow(const TWynikSpadkow& w, double pikStart, double prog, double szerokosc);
std::vector<std::string> RaportObjetosci(const TWynikObjetosci& w, double pikStart, double szerokosc);
