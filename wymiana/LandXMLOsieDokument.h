// The alignments of a LandXML document already parsed (for the reader of
// the whole file, which reads surfaces and the route from the same document).
#pragma once

#include <pugixml.hpp>

#include <string>
#include <string_view>
#include <vector>

#include "wymiana/LandXMLOsie.h"

// Every Alignment under the root's Alignments, as CzytajOsieLandXML reads
// them (an unreadable one kept with its reason; never raises for one).
// `oryginal` is the file's text before parsing, for the elements' line numbers.
std::vector<TOsLandXML> CzytajOsieDokumentu(pugi::xml_node korzen, double jednostka, std::string_view oryginal);
// The names of an alignment's profiles (ProfAlign) in file order: its name,
// else its Profile's, else "Niweleta N".
std::vector<std::string> NazwyNiwelet(pugi::xml_node alignment);
