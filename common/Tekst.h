// Text helpers shared by the file readers (.tro, .mtp, LandXML): blanks,
// letter case, and the error that names the file and the line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// A blank inside a field line: a space or a tab.
inline bool Odstep(char c) { return c == ' ' || c == '\t'; }

// s without its leading and trailing blanks.
std::string_view Przytnij(std::string_view s);

// a == b when ASCII letters are compared without their case; other bytes compare as they are.
bool RowneBezWielkosci(std::string_view a, std::string_view b);

// The readers' error (BladKonwersji): the message and, on a second line, the file's name and the line.
[[noreturn]] void BladWPliku(const std::string& komunikat, std::string_view nazwaPliku, std::int64_t wiersz);
