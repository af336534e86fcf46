// Small helpers shared by every unit: the 3D point, vector arithmetic,
// short fixed-length texts, number texts in the user's locale, the one error
// type of the program and the notification hook through which the core asks
// the window system to show a message box.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

// A point or a vector: X, Y plan coordinates (or view-space X and depth), Z height.
struct TPunkt3D {
    double X = 0.0;
    double Y = 0.0;
    double Z = 0.0;

    bool operator==(const TPunkt3D&) const = default;
};

inline TPunkt3D operator+(const TPunkt3D& a, const TPunkt3D& b) { return {a.X + b.X, a.Y + b.Y, a.Z + b.Z}; }
inline TPunkt3D operator-(const TPunkt3D& a, const TPunkt3D& b) { return {a.X - b.X, a.Y - b.Y, a.Z - b.Z}; }
inline TPunkt3D operator*(const TPunkt3D& a, double k) { return {a.X * k, a.Y * k, a.Z * k}; }

// A plan point or vector: X east, Y north.
struct TPunkt2D {
    double X = 0.0;
    double Y = 0.0;

    bool operator==(const TPunkt2D&) const = default;
};

inline TPunkt2D operator+(const TPunkt2D& a, const TPunkt2D& b) { return {a.X + b.X, a.Y + b.Y}; }
inline TPunkt2D operator-(const TPunkt2D& a, const TPunkt2D& b) { return {a.X - b.X, a.Y - b.Y}; }
inline TPunkt2D operator*(const TPunkt2D& a, double k) { return {a.X * k, a.Y * k}; }
inline double IloczynSkalarny(const TPunkt2D& a, const TPunkt2D& b) { return a.X * b.X + a.Y * b.Y; }
// The z component of a x b (positive when b turns left from a).
inline double IloczynWektorowy(const TPunkt2D& a, const TPunkt2D& b) { return a.X * b.Y - a.Y * b.X; }
// Euclidean length.
double Dlugosc(const TPunkt2D& a);
// a divided by its length.
inline TPunkt2D Jednostkowy(const TPunkt2D& a) { return a * (1.0 / Dlugosc(a)); }
// a turned by +90 degrees (to the left).
inline TPunkt2D Prostopadly(const TPunkt2D& a) { return {-a.Y, a.X}; }
// a turned by kat radians counter-clockwise.
TPunkt2D Obroc(const TPunkt2D& a, double kat);

// Cross product a x b.
inline TPunkt3D Iloczyn(const TPunkt3D& a, const TPunkt3D& b) {
    return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X};
}
// Dot product.
inline double IloczynSkalarny(const TPunkt3D& a, const TPunkt3D& b) { return a.X * b.X + a.Y * b.Y + a.Z * b.Z; }
// Euclidean length.
double Dlugosc(const TPunkt3D& a);
// v clamped to [lo, hi].
inline int Ogranicz(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

// A text of at most N single-byte characters (the files' Windows-1250 bytes),
// stored inline so that a million records need no heap blocks for their names.
// A longer text keeps its first N bytes.
template <int N>
struct TKrotkiNapis {
    std::uint8_t Dlugosc = 0;
    char Znaki[N] = {};

    void Ustaw(std::string_view s) {
        Dlugosc = static_cast<std::uint8_t>(s.size() < N ? s.size() : N);
        if (Dlugosc) std::memcpy(Znaki, s.data(), Dlugosc);
    }
    std::string_view Widok() const { return {Znaki, Dlugosc}; }
    std::string Tekst() const { return std::string(Widok()); }
    bool operator==(const TKrotkiNapis& o) const { return Widok() == o.Widok(); }
};

// Windows-1250 bytes to UTF-8 (for display); bytes that do not decode become U+FFFD.
std::string Cp1250NaUtf8(std::string_view tekst);
// UTF-8 to Windows-1250 bytes; characters the code page lacks become '?'.
std::string Utf8NaCp1250(std::string_view tekst);

// The decimal separator of the current C locale, read at the time of the call
// (the Qt application sets the locale from the environment at start).
char SeparatorDziesietny();

// Number texts with the locale's decimal separator and no thousands separator.
// Patterns: "############0.00" (F2), "############0.##" (G), "############0.00##" (F4),
// "##################0.00" and "#0.00" (both as F2). A '0' is a required digit,
// a '#' an optional one. The value is rounded half away from zero on its decimal
// value (15 significant digits).
std::string FormatujLiczbe(double v, std::string_view wzorzec);
inline std::string F2(double v) { return FormatujLiczbe(v, "############0.00"); }
inline std::string G2(double v) { return FormatujLiczbe(v, "############0.##"); }
inline std::string F4(double v) { return FormatujLiczbe(v, "############0.00##"); }

// N(v): fixed notation, precision 4, one decimal: the value is rounded to four
// significant digits and at most one decimal, and written with exactly one
// decimal; when the integer part needs more than four digits the value is
// written in exponent notation with four significant digits ("1,235E+04").
std::string FormatN(double v);

// The status bar's observer text: "X = " N(OkoX + 10) " Y = " N(OkoY) " Z = " N(OkoZ).
std::string TekstPolozeniaOka(double okoX, double okoY, double okoZ);

// The one error type of the program. A data field that does not convert,
// a file that cannot be read or written, a count or an index that a file
// cannot hold: the message is the text the user sees in the error box.
class BladKonwersji : public std::runtime_error {
public:
    explicit BladKonwersji(const std::string& komunikat) : std::runtime_error(komunikat) {}
};

// Message box with one OK button. The window system installs its own handler;
// without one (tests, the command-line tool) the text goes to this hook's default,
// which writes it to standard error.
extern std::function<void(const std::string&)> PokazKomunikat;
