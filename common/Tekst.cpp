#include "common/Tekst.h"
#include "common/NazwyZPliku.h"

#include "common/Funkcje.h"

std::string_view Przytnij(std::string_view s) {
    while (!s.empty() && Odstep(s.front())) s.remove_prefix(1);
    while (!s.empty() && Odstep(s.back())) s.remove_suffix(1);
    return s;
}

bool RowneBezWielkosci(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

void BladWPliku(const std::string& komunikat, std::string_view nazwaPliku, std::int64_t wiersz) {
    // The file's name as the user gave it, but on one line, whatever bytes it holds.
    throw BladKonwersji(komunikat + "\nPlik: " + NapisZPliku(nazwaPliku, 1000) + ", wiersz: " + std::to_string(wiersz));
}
