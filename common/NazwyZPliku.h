// Names and other texts taken from a data file (surface, alignment and profile
// names, point ids, attribute values) as messages show them: on one line,
// readable, never able to drive the terminal that shows the message.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The most characters of a file's text a message shows; a longer text is cut and ends with "…".
constexpr std::size_t NajdluzszaNazwaZPliku = 60;

// The text as a message shows it:
//  - line breaks, tabs and the other control characters (C0, DEL, C1, the
//    Unicode line and paragraph separators and the bidirectional overrides)
//    written as escapes: "\n", "\r", "\t", "\x1B", "\u{202E}"; a backslash as "\\";
//  - every byte that is not part of a valid UTF-8 character replaced by "�" (U+FFFD);
//  - cut after `najwiecej` characters, with "…" added.
// So the text never breaks a message's line and carries no terminal escape sequence.
std::string NapisZPliku(std::string_view tekst, std::size_t najwiecej = NajdluzszaNazwaZPliku);

// The same in the Polish quotation marks the messages use: „nazwa”.
std::string CytatZPliku(std::string_view tekst, std::size_t najwiecej = NajdluzszaNazwaZPliku);
