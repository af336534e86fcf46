// Every alignment of a LandXML file read as an element chain, with its
// vertical profiles.
//
// Alignments/Alignment/CoordGeom becomes a chain directly (see
// route/Lancuch.h): Line, Curve crvType="arc" and Spiral spiType="clothoid"
// from any radius to any radius (INF or 0 for a straight end). Each element's
// start direction comes from its own points: a line's from its ends, an arc's
// square to its radius, a clothoid's from its PI (the meeting point of its end
// tangents) or else from its chord; the side of a turn from rot, from the PI,
// or from the direction the chain comes in with. An element whose computed end
// lies more than 1 mm from its End is refused. Other spiral types are refused,
// never approximated.
//
// Alignment/Profile/ProfAlign becomes a design line (route/Niweleta.h): PVI,
// ParaCurve (length), UnsymParaCurve (lengthIn, lengthOut) and CircCurve
// (radius; its length is not used: producers differ whether it is horizontal
// or along the arc), each "station elevation". ProfSurf (the ground sampled
// along the alignment) is not a design line and is ignored.
//
// An alignment that cannot be read is kept with the reason and no elements;
// a profile that cannot be read is left out with its reason in Uwagi. The
// file is refused (BladKonwersji) only when it has alignments and none reads.
// Lengths and heights are converted to metres from the file's Units.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/ZapisywanieOdczytywanie.h"
#include "route/Lancuch.h"
#include "route/Niweleta.h"

// An alignment as read (model/TypyOsi.h): no elements when it could not be
// read, its profiles (ProfAlign) in file order, the profiles left out with
// their reasons, why the alignment was skipped and the line it names.
using TOsLandXML = TOsPliku;

// The alignments of a LandXML text, in file order (empty when it has none).
// Raises BladKonwersji for a text that is not LandXML and when none of its
// alignments reads (every reason listed).
std::vector<TOsLandXML> CzytajOsieLandXML(std::string_view dane, std::string_view nazwaDoKomunikatow);
// The message of a file none of whose alignments reads: a heading, then one
// line an alignment with its reason (the first ten; the rest counted).
std::string OpisNieczytelnychTras(const std::vector<TOsLandXML>& osie);
// The same for a whole file.
std::vector<TOsLandXML> CzytajOsiePlikuLandXML(const std::string& nazwaPliku);

// The alignment named `trasa` (the first read one when empty) and its profile
// named `profil` (the first when empty). Raises BladKonwersji naming what
// the file holds when a name is not there or the alignment was skipped.
const TOsLandXML& WybierzOs(const std::vector<TOsLandXML>& osie, const std::string& trasa);
const TNiweleta* WybierzNiwelete(const TOsLandXML& os, const std::string& profil);

// The route report's lines about the file's alignments: each with its
// name, start chainage, length, elements by kind and accepted junctions,
// its profiles, and the skipped ones with their reasons.
std::vector<std::string> OpisOsi(const std::vector<TOsLandXML>& osie);

// The route a load brings from the alignments of a file: alignment nrOsi as
// the route (its chain as it stands), its profile nrNiwelety (-1: none) as
// the design line, the report's lines about every alignment, and the
// alignments themselves kept in `w` for a later choice. `zrodlo` names the
// file for the route's origin ("LandXML „plik.xml”"). Raises BladKonwersji
// when nrOsi is not an alignment that reads or nrNiwelety not one of its profiles.
void UstawOsJakoTrase(TDaneWczytane& w, std::vector<TOsLandXML> osie, int nrOsi, int nrNiwelety, std::string zrodlo);
