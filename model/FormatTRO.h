// The description of the data files: the triangle file .tro and the exchange
// file .mtp it is converted from. Both are single-byte text (Windows-1250),
// one field per line: a banner, then sections, each a marker line, a count
// line and that many records of a fixed number of lines (the triangle
// sections of a .mtp file end at an empty line instead). The readers and the
// converter take every size and marker from here.
#pragma once

#include <string_view>

namespace format_tro {

// ---- The banner ----

// Lines before the first section; the reader skips them, the converter writes
// its own banner of as many lines, each BanerSzerokosc bytes long.
constexpr int BanerWierszy = 8;
constexpr int BanerSzerokosc = 67;
// The converter's banner (UTF-8 here, written in Windows-1250).
constexpr std::string_view Baner[BanerWierszy] = {
    "*******************************************************************",
    "*  Orvany3D - plik trójkątów TEREN i PROJ oraz trasy              *",
    "*  Plik utworzony programem Orvany3D z pliku wymiany .mtp         *",
    "*  https://orvany3d.example.org ; kontakt@orvany3d.example.org    *",
    "*******************************************************************",
    "*  UWAGA!                                                         *",
    "*               Nie należy zmieniać wpisów w pliku!               *",
    "*******************************************************************",
};

// ---- Lines per record ----

// A mesh point (TEREN and PROJ, both files).
constexpr int WierszePunktu = 6;
// A TEREN triangle of a .tro file; its vertex numbers are its lines
// NumerWierzcholkaTEREN .. NumerWierzcholkaTEREN + 2 (from 0).
constexpr int WierszeTrojkataTEREN = 11;
constexpr int NumerWierzcholkaTEREN = 3;
// A PROJ triangle (three numbers to a line).
constexpr int WierszeTrojkataPROJ = 8;
// A route vertex.
constexpr int WierszeZalomu = 9;
// A line of the .mtp file's TEREN and PROJ line sections.
constexpr int WierszeLiniiTEREN = 15;
constexpr int WierszeLiniiPROJ = 9;

// ---- Section markers ----

struct TZnaczniki {
    std::string_view WspTEREN, LinieTEREN, TroTEREN, WspPROJ, LiniePROJ, TroPROJ, Trasa;
};

constexpr std::string_view ZnacznikTrasy = "______________________________TRASA_2020";

// A .tro file has no line sections.
constexpr TZnaczniki ZnacznikiTRO{"#WspTEREN#", {}, "#TroTEREN#", "#WspPROJ#", {}, "#TroPROJ#", ZnacznikTrasy};
constexpr TZnaczniki ZnacznikiMTP{
    "#Wspolrzedne200TEREN#", "#Linie200TEREN#",      "#Trojkaty200TEREN#", "#Wspolrzedne200PROJ#",
    "#Linie200PROJ#P3D",     "#Trojkaty200PROJ#P3D", ZnacznikTrasy};

}  // namespace format_tro
