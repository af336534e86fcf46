// The LandXML files' shared pieces: element lookup without namespace
// prefixes, words and numbers of element texts, the file's units, the parse
// with its messages, and the names of surfaces and alignments. The reader of
// surfaces (LandXMLPowierzchnie.cpp), of the alignment (LandXMLTrasa.cpp) and
// the document reader (LandXML.cpp) use them.
#pragma once

#include <pugixml.hpp>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "wymiana/LandXML.h"

namespace landxml {

// An element's name without its namespace prefix.
std::string_view Lokalna(const char* nazwa);
// The first child element of that local name; an empty node when there is none.
pugi::xml_node Dziecko(pugi::xml_node n, std::string_view nazwa);
// f for every child element of that local name, in file order.
template <typename F>
void Dzieci(pugi::xml_node n, std::string_view nazwa, F f) {
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && Lokalna(c.name()) == nazwa) f(c);
}
// The count of child elements of that local name.
std::size_t Policz(pugi::xml_node n, std::string_view nazwa);

// The next whitespace-separated word of s (empty at the end); s moves past it.
std::string_view Slowo(std::string_view& s);
// A finite decimal number as XML writes it ('.' whatever the locale).
bool Liczba(std::string_view s, double& v);
// A text of the file for a message, on one line and safe for a terminal (NapisZPliku).
std::string Krotki(std::string_view s);
// Metres as millimetres with one decimal and a decimal comma.
std::string Milimetry(double m);
// "„a”, „b”" or "brak".
std::string Lista(const std::vector<std::string>& nazwy);

// Where messages point: the file's name and its original text (for line numbers).
struct TZrodlo {
    std::string_view nazwa;
    std::function<std::string_view()> tekst;

    [[noreturn]] void Blad(const std::string& komunikat, std::ptrdiff_t przesuniecie) const;
    [[noreturn]] void Blad(const std::string& komunikat, pugi::xml_node n) const {
        Blad(komunikat, n ? n.offset_debug() : 0);
    }
};

// The parsed document over a buffer that the parser changes in place.
struct TDokument {
    std::string bufor;
    pugi::xml_document dok;
    pugi::xml_node korzen;
    double jednostka = 1.0;  // metres per unit of the file
};

// Parses d.bufor: a LandXML root, no declared entities, its units read.
void Parsuj(TDokument& d, const TZrodlo& z);

// The file's coordinate system: the EPSG code of CoordinateSystem's
// epsgCode ("EPSG:" allowed before it); 0 when the file names none.
int KodEPSG(pugi::xml_node korzen, const TZrodlo& z);

std::string NazwaPowierzchni(pugi::xml_node s, int nr);
std::string NazwaTrasy(pugi::xml_node a, int nr);
std::vector<pugi::xml_node> Powierzchnie(pugi::xml_node korzen);
std::vector<pugi::xml_node> Trasy(pugi::xml_node korzen);

// The faces' kinds as this program writes them: a Feature of the Surface
// with this code holds a Property of this label whose value lists the kinds
// of the faces in file order as runs "COUNT*VALUECODE" separated by spaces,
// the value the shortest decimal text of the float, the code the kind letter
// or '-' for none ("120*0H 4*1.5G 7*0-").
inline constexpr std::string_view kCechaRodzajow = "OrvanyRodzaje";
std::string NapisRodzajow(const std::vector<TTrojkat>& trojkaty);
// The kinds of such a text, which must hold exactly `ile` faces with known
// kind letters; nothing (and false) otherwise.
bool RodzajeZNapisu(std::string_view tekst, std::size_t ile, std::vector<TRodzaj>& rodzaje);

// One surface's points and triangles in metres (X east, Y north); progress
// goes from `od` to `doUlamka`. The faces take their kinds from the surface's
// kinds Feature when it matches them, otherwise `rodzaj`.
struct TPowierzchnia {
    std::vector<TPunktSiatki> Punkty;
    std::vector<TTrojkat> Trojkaty;
};
TPowierzchnia CzytajPowierzchnie(pugi::xml_node s, const std::string& nazwa, double jedn, const TZrodlo& z,
                                 const std::function<void(double)>& postep, double od, double doUlamka,
                                 TRodzaj rodzaj = {});

// A number for a written file: fixed with `miejsca` decimals, a negative zero written as zero.
std::string Liczba(double v, int miejsca = 6);

}  // namespace landxml
