// LandXML 1.2: surfaces (TIN) and one horizontal alignment read into the
// scene model, and the scene written back as LandXML.
//
// Reading takes Surfaces/Surface/Definition (Pnts/P with an id and
// "northing easting elevation", Faces/F with three point ids; a face with
// i="1" is invisible and skipped) and every Alignments/Alignment as an element
// chain (wymiana/LandXMLOsie.h): the chosen one (the first that reads by
// default) becomes the route as it stands, never rebuilt through vertices,
// and its vertical profile the route's design line. X is the easting and Y
// the northing. Lengths are converted to metres from the file's Units (Metric
// meter, Imperial foot = 0.3048 m, USSurveyFoot = 1200/3937 m). Element names
// match with or without a namespace prefix.
//
// Loads are all-or-nothing; an error (BladKonwersji) carries the message and,
// on a second line, the file name and the line number.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "model/Projekt.h"
#include "model/ZapisywanieOdczytywanie.h"

// Which surfaces and which alignment of a file are loaded. An empty Teren
// takes the surface named exactly TEREN, else the first surface that is not
// the design surface; an empty Proj takes the surface named exactly PROJ, and
// no design surface when there is none (so a file this program wrote opens as
// it was saved, and another tool's file gives its first surface as the
// terrain). An empty Trasa takes the first alignment that reads. A name the file does
// not hold is an error. BezTerenu / BezProj / BezTrasy: no terrain / no
// design surface / no route is taken from the file (what is in memory stays).
struct TWyborLandXML {
    std::string Teren;
    std::string Proj;
    std::string Trasa;
    bool BezTerenu = false;
    bool BezTrasy = false;
    // The route's vertical profile (Profile/ProfAlign) by name; empty takes the first.
    std::string Profil{};
    bool BezProj = false;
};

// The names of the surfaces and alignments of a file, in file order (UTF-8).
struct TSpisLandXML {
    std::vector<std::string> Powierzchnie;
    std::vector<std::string> Trasy;
    std::vector<std::vector<std::string>> Niwelety;  // each alignment's profiles
};

// The choice with its empty Teren and Proj replaced by the surfaces the
// defaults above take from a file with these surfaces (left empty when they
// take none).
TWyborLandXML WyborDomyslny(TWyborLandXML wybor, const std::vector<std::string>& powierzchnie);

// The names in a LandXML text (for the choice of surfaces). Raises BladKonwersji.
TSpisLandXML SpisLandXML(std::string_view dane, std::string_view nazwaDoKomunikatow);
// The same for a file.
TSpisLandXML SpisPlikuLandXML(const std::string& nazwaPliku);

// Parses a whole LandXML text without touching the model. Raises BladKonwersji.
TDaneWczytane CzytajLandXML(std::string_view dane, std::string_view nazwaDoKomunikatow, const TWyborLandXML& wybor = {},
                            const TPostep& postep = {});
// The same for a whole file, read in one piece. Raises BladKonwersji.
TDaneWczytane CzytajPlikLandXML(const std::string& nazwaPliku, const TWyborLandXML& wybor = {},
                                const TPostep& postep = {});

// Writes the project as LandXML 1.2 in metres: TEREN and PROJ as two
// Surface elements (each vertex once, faces by id, file coordinates) and the
// built route as one Alignment (Line, Curve, Spiral with their points,
// lengths, radii and rot; staStart), with CoordinateSystem epsgCode when the
// written sets agree on a known system. Raises BladKonwersji when there is
// nothing to write.
void ZapiszLandXML(std::ostream& wyjscie, const TProjekt& projekt);
