// The commands of orvany3d-cli: the reports, the station table, the main
// window's picture, the frames of a drive-through and the .mtp to .tro
// conversion, on the same core and the same drawing as the window.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// Exit codes of the tool.
constexpr int KodSukces = 0;      // everything done
constexpr int KodBladPliku = 1;   // a file could not be loaded or written
constexpr int KodBladUzycia = 2;  // wrong command line
constexpr int KodBrakTrasy = 3;   // the route is not built (station table, chainage views)

// The help text of --help.
std::string TekstPomocy();

// Runs the command line (without the program name). Results go to `wyjscie`,
// messages and errors to `bledy`; the result is the exit code.
// Needs a QGuiApplication for the pictures.
int WykonajPolecenie(const std::vector<std::string>& argumenty, std::ostream& wyjscie, std::ostream& bledy);
