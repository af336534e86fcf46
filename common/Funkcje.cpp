#include "common/Funkcje.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <iconv.h>
#include <iostream>

double Dlugosc(const TPunkt3D& a) { return std::sqrt(IloczynSkalarny(a, a)); }

double Dlugosc(const TPunkt2D& a) { return std::hypot(a.X, a.Y); }

TPunkt2D Obroc(const TPunkt2D& a, double kat) {
    const double c = std::cos(kat), s = std::sin(kat);
    return {a.X * c - a.Y * s, a.X * s + a.Y * c};
}

namespace {

std::string Konwertuj(std::string_view tekst, const char* do_, const char* z, const char* zastepczy) {
    std::string wynik;
    iconv_t cd = iconv_open(do_, z);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(tekst);
    wynik.reserve(tekst.size() * 2);
    char* we = const_cast<char*>(tekst.data());
    size_t zostalo = tekst.size();
    char bufor[256];
    while (zostalo > 0) {
        char* wy = bufor;
        size_t miejsce = sizeof bufor;
        size_t r = iconv(cd, &we, &zostalo, &wy, &miejsce);
        wynik.append(bufor, static_cast<size_t>(wy - bufor));
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            // A byte or character that does not convert: put the replacement and skip it.
            wynik += zastepczy;
            if (errno == EINVAL) break;
            // Skip one whole UTF-8 character or one byte.
            size_t krok = 1;
            if (std::string_view(z) == "UTF-8") {
                auto c = static_cast<unsigned char>(*we);
                krok = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
                if (krok > zostalo) krok = zostalo;
            }
            we += krok;
            zostalo -= krok;
        }
    }
    iconv_close(cd);
    return wynik;
}

// The digits of |v| rounded to 15 significant digits: "ddddddddddddddd" and the
// position of the decimal point counted from the first digit.
struct Cyfry {
    std::string d;
    int kropka = 0;
};

Cyfry CyfryDziesietne(double a) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", a);
    Cyfry c;
    c.d.reserve(15);
    const char* p = buf;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') c.d += *p;
    int wyk = std::atoi(p + 1);
    c.kropka = wyk + 1;
    return c;
}

// Keeps k digits of c (k may be 0 or negative), rounding half away from zero.
void Zaokraglij(Cyfry& c, int k) {
    if (k >= static_cast<int>(c.d.size())) return;
    if (k < 0) {
        c.d = "0";
        c.kropka = 1;
        return;
    }
    bool wGore = c.d[static_cast<size_t>(k)] >= '5';
    c.d.resize(static_cast<size_t>(k));
    if (wGore) {
        int i = k - 1;
        while (i >= 0 && c.d[static_cast<size_t>(i)] == '9') c.d[static_cast<size_t>(i--)] = '0';
        if (i >= 0) {
            ++c.d[static_cast<size_t>(i)];
        } else {
            c.d.insert(c.d.begin(), '1');
            ++c.kropka;
        }
    }
    if (c.d.empty()) {
        c.d = "0";
        c.kropka = 1;
    }
}

bool SameZera(const std::string& d) { return d.find_first_not_of('0') == std::string::npos; }

// Digit j (counted from the decimal point: 0 = first integer digit when kropka = 1).
char Cyfra(const Cyfry& c, int pozycja) {
    return (pozycja >= 0 && pozycja < static_cast<int>(c.d.size())) ? c.d[static_cast<size_t>(pozycja)] : '0';
}

std::string ZlozStale(const Cyfry& c, bool ujemna, int minCalk, int minUlamek, int maxUlamek) {
    std::string s;
    if (ujemna && !SameZera(c.d)) s += '-';
    int calkowite = c.kropka > 0 ? c.kropka : 0;
    if (calkowite < minCalk) s.append(static_cast<size_t>(minCalk - calkowite), '0');
    for (int i = 0; i < calkowite; ++i) s += Cyfra(c, i);
    std::string ulamek;
    for (int i = 0; i < maxUlamek; ++i) ulamek += Cyfra(c, c.kropka + i);
    while (static_cast<int>(ulamek.size()) > minUlamek && ulamek.back() == '0') ulamek.pop_back();
    if (!ulamek.empty()) {
        s += SeparatorDziesietny();
        s += ulamek;
    }
    return s;
}

}  // namespace

std::string Cp1250NaUtf8(std::string_view tekst) {
    for (unsigned char ch : tekst)
        if (ch >= 0x80) return Konwertuj(tekst, "UTF-8", "CP1250", "\xEF\xBF\xBD");
    return std::string(tekst);
}

std::string Utf8NaCp1250(std::string_view tekst) {
    for (unsigned char ch : tekst)
        if (ch >= 0x80) return Konwertuj(tekst, "CP1250", "UTF-8", "?");
    return std::string(tekst);
}

char SeparatorDziesietny() {
    const std::lconv* lc = std::localeconv();
    if (lc && lc->decimal_point && lc->decimal_point[0]) return lc->decimal_point[0];
    return '.';
}

std::string FormatujLiczbe(double v, std::string_view wzorzec) {
    if (std::isnan(v)) return "NAN";
    if (std::isinf(v)) return v < 0 ? "-INF" : "INF";
    size_t kropka = wzorzec.find('.');
    std::string_view calk = wzorzec.substr(0, kropka);
    std::string_view ulam = kropka == std::string_view::npos ? std::string_view{} : wzorzec.substr(kropka + 1);
    int minCalk = 0;
    for (char ch : calk)
        if (ch == '0') ++minCalk;
    int minUlamek = 0;
    while (minUlamek < static_cast<int>(ulam.size()) && ulam[static_cast<size_t>(minUlamek)] == '0') ++minUlamek;
    int maxUlamek = static_cast<int>(ulam.size());

    bool ujemna = std::signbit(v);
    Cyfry c;
    if (v == 0.0) {
        c.d = "0";
        c.kropka = 1;
    } else {
        c = CyfryDziesietne(std::fabs(v));
        Zaokraglij(c, c.kropka + maxUlamek);
    }
    return ZlozStale(c, ujemna, minCalk, minUlamek, maxUlamek);
}

std::string FormatN(double v) {
    if (std::isnan(v)) return "NAN";
    if (std::isinf(v)) return v < 0 ? "-INF" : "INF";
    const int precyzja = 4;
    const int miejsca = 1;
    bool ujemna = std::signbit(v);
    Cyfry c;
    if (v == 0.0) {
        c.d = "0";
        c.kropka = 1;
    } else {
        c = CyfryDziesietne(std::fabs(v));
        int k = std::min(precyzja, c.kropka + miejsca);
        Zaokraglij(c, k);
    }
    if (c.kropka > precyzja) {
        // Exponent notation with four significant digits: d,dddE+XX.
        Cyfry m = CyfryDziesietne(std::fabs(v));
        Zaokraglij(m, precyzja);
        int wyk = m.kropka - 1;
        std::string s;
        if (ujemna) s += '-';
        s += Cyfra(m, 0);
        s += SeparatorDziesietny();
        for (int i = 1; i < precyzja; ++i) s += Cyfra(m, i);
        char buf[16];
        std::snprintf(buf, sizeof buf, "E%c%02d", wyk < 0 ? '-' : '+', wyk < 0 ? -wyk : wyk);
        return s + buf;
    }
    return ZlozStale(c, ujemna, 1, miejsca, miejsca);
}

std::string TekstPolozeniaOka(double okoX, double okoY, double okoZ) {
    return "X = " + FormatN(okoX + 10) + " Y = " + FormatN(okoY) + " Z = " + FormatN(okoZ);
}

std::function<void(const std::string&)> PokazKomunikat = [](const std::string& tekst) { std::cerr << tekst << '\n'; };
