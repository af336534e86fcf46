// Field conversions of the data files: integers, floating-point numbers with
// '.' or ',', flags, surface kinds, colour names and ';' records, and the
// messages of a field that does not convert. The .tro and .mtp readers, the
// LandXML reader and the edit boxes share them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/Typy.h"

// Largest magnitude of a mesh coordinate: far beyond any survey, yet small
// enough that the shift of a load, the renderer's scaling and the view
// operations cannot overflow to infinity. Every reader holds coordinates to it.
constexpr double kNajwiekszaWspolrzedna = 1e12;

// Result of CzytajRekordSrednik.
struct PktOpisRRealSpr {
    double X = 0.0;
    double Y = 0.0;
    double Z = 0.0;
    std::string Uwagi;  // at most 100 bytes
    bool Poprawny = true;
    std::string Komunikat;  // empty or "Nieprawidłowy zapis"
};

// Every '.' and ',' replaced by the current locale's decimal separator.
std::string UjednolicSeparator(std::string_view tekst);
// True for "T" and for "TRUE" in any letter case; false otherwise.
bool CzytajLogiczna(std::string_view tekst);
// Surface kind: the first of H N G D B C S K O P E found decides; the number in
// front of it is the value. Raises BladKonwersji when that number does not convert.
TRodzaj CzytajRodzaj(std::string_view tekst);
// Up to three ';'-separated numbers and a remark; never raises.
PktOpisRRealSpr CzytajRekordSrednik(std::string_view tekst);
// X, Y, Z of CzytajRekordSrednik.
void CzytajTrzyLiczby(std::string_view tekst, double& x, double& y, double& z);
// One of the 52 colour names (any letter case) or an integer; raises BladKonwersji.
std::int32_t CzytajKolor(std::string_view tekst);
// Number of an edit box: the fallback when the text does not convert.
double CzytajLiczbe(std::string_view tekst, double domyslna);
// Integer of an edit box: the fallback when the text does not convert, then clamped.
std::int32_t CzytajCalkowita(std::string_view tekst, std::int32_t domyslna, std::int32_t najmniejsza,
                             std::int32_t najwieksza);

// The plain field conversions; they raise BladKonwersji with
// "'%s' is not a valid integer value" / "'%s' is not a valid floating point value".
std::int32_t NaCalkowita(std::string_view tekst);
double NaRzeczywista(std::string_view tekst);
// The same without an exception: false when the text is no number.
bool SprobujCalkowita(std::string_view tekst, std::int32_t& wynik);
bool SprobujRzeczywista(std::string_view tekst, double& wynik);

// The usual number field at a, [-]digits[sep digits] with at most 15 digits
// (sep '.' or ','): the digits as an integer are exact in a double, and so is
// the power of ten, so one division gives the correctly rounded value. Returns
// the end of the number, or nullptr (v untouched) when the text at a does not
// start with such a number; what follows it is the caller's to check.
inline const char* LiczbaProsta(const char* a, const char* e, double& v) {
    constexpr double kPotegi[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    auto cyfra = [](char c) { return c >= '0' && c <= '9'; };
    const bool ujemna = a < e && *a == '-';
    if (ujemna) ++a;
    std::uint64_t m = 0;
    int cyfry = 0, dziesietne = 0;
    for (; a < e && cyfra(*a); ++a, ++cyfry) m = m * 10 + static_cast<unsigned>(*a - '0');
    if (a < e && (*a == '.' || *a == ',')) {
        for (++a; a < e && cyfra(*a); ++a, ++cyfry, ++dziesietne) m = m * 10 + static_cast<unsigned>(*a - '0');
    }
    if (cyfry == 0 || cyfry > 15) return nullptr;
    const double w = static_cast<double>(m) / kPotegi[dziesietne];
    v = ujemna ? -w : w;
    return a;
}

// ---------------------------------------------------------------------------
// The pieces the readers build their fields of.

// The messages of a field that does not convert (the text decoded, escaped and kept short).
std::string KomunikatCalkowitej(std::string_view s);
std::string KomunikatRzeczywistej(std::string_view s);
// A 32-bit float field: values beyond its range are held at its largest value.
float NaFloat(double v);
// A number of a ';' record stored in an integer field: truncated toward zero,
// held inside the 32-bit range.
std::int32_t ObetnijDoCalkowitej(double v);
// A surface kind; false when the number in front of the kind letter does not convert (zla is that text).
bool SprobujRodzaj(std::string_view s, TRodzaj& r, std::string_view& zla);
// A colour name or an integer; false when it is neither.
bool SprobujKolor(std::string_view s, std::int32_t& wynik);
// The vertices of triangles whose numbers Nr1..Nr3 name points: the points'
// coordinates, point n being vertex n (see WierzcholkiZNumerow).
std::vector<TPunkt3D> WierzcholkiZPunktow(const std::vector<TPunktSiatki>& punkty);
// A triangle's vertices are the points its numbers name (numbers already checked).
inline void WierzcholkiZNumerow(TTrojkat& t) {
    t.W1 = t.Nr1;
    t.W2 = t.Nr2;
    t.W3 = t.Nr3;
}
