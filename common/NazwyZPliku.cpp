#include "common/NazwyZPliku.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace {

// The length of the valid UTF-8 character at the start of s and its code point; 0 when the bytes are not one.
std::size_t ZnakUtf8(std::string_view s, std::uint32_t& kod) {
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char c = b(0);
    if (c < 0x80) {
        kod = c;
        return 1;
    }
    std::size_t n;
    std::uint32_t najmniejszy;
    if (c >= 0xC2 && c <= 0xDF)
        n = 2, kod = c & 0x1Fu, najmniejszy = 0x80;
    else if (c >= 0xE0 && c <= 0xEF)
        n = 3, kod = c & 0x0Fu, najmniejszy = 0x800;
    else if (c >= 0xF0 && c <= 0xF4)
        n = 4, kod = c & 0x07u, najmniejszy = 0x10000;
    else
        return 0;
    if (s.size() < n) return 0;
    for (std::size_t i = 1; i < n; ++i) {
        if ((b(i) & 0xC0u) != 0x80u) return 0;
        kod = (kod << 6) | (b(i) & 0x3Fu);
    }
    // Overlong forms, surrogates and code points beyond Unicode are not characters.
    if (kod < najmniejszy || (kod >= 0xD800 && kod <= 0xDFFF) || kod > 0x10FFFF) return 0;
    return n;
}

// Characters that would break a line, move the cursor, start a terminal's
// control sequence or turn the text's direction.
bool Sterujacy(std::uint32_t k) {
    return k < 0x20 || (k >= 0x7F && k <= 0x9F) || k == 0x2028 || k == 0x2029 || (k >= 0x200E && k <= 0x200F) ||
           (k >= 0x202A && k <= 0x202E) || (k >= 0x2066 && k <= 0x2069) || k == 0x061C;
}

std::string Ucieczka(std::uint32_t k) {
    switch (k) {
        case '\n': return "\\n";
        case '\r': return "\\r";
        case '\t': return "\\t";
        default: break;
    }
    char b[16];
    if (k < 0x100)
        std::snprintf(b, sizeof b, "\\x%02X", static_cast<unsigned>(k));
    else
        std::snprintf(b, sizeof b, "\\u{%X}", static_cast<unsigned>(k));
    return b;
}

}  // namespace

std::string NapisZPliku(std::string_view tekst, std::size_t najwiecej) {
    std::string w;
    w.reserve(std::min<std::size_t>(tekst.size(), 4 * najwiecej) + 8);
    // Characters as written: an escape counts with its every character, so a
    // name of control characters is cut as short as a name of letters.
    std::size_t znaki = 0;
    auto dopisz = [&](std::string_view t, std::size_t ile) {
        if (znaki + ile > najwiecej) return false;
        w += t;
        znaki += ile;
        return true;
    };
    while (!tekst.empty()) {
        std::uint32_t kod = 0;
        const std::size_t n = ZnakUtf8(tekst, kod);
        bool zmiescilo;
        if (n == 0)
            zmiescilo = dopisz("\xEF\xBF\xBD", 1);  // U+FFFD for the byte that starts no character
        else if (kod == '\\')
            zmiescilo = dopisz("\\\\", 2);
        else if (Sterujacy(kod)) {
            const std::string u = Ucieczka(kod);
            zmiescilo = dopisz(u, u.size());
        } else
            zmiescilo = dopisz(tekst.substr(0, n), 1);
        if (!zmiescilo) {
            w += "…";
            break;
        }
        tekst.remove_prefix(n == 0 ? 1 : n);
    }
    return w;
}

std::string CytatZPliku(std::string_view tekst, std::size_t najwiecej) {
    return "„" + NapisZPliku(tekst, najwiecej) + "”";
}
