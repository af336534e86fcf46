// Small data files for the reader and writer tests, and a copy of the whole model.
#pragma once

#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "model/Zmienne.h"

namespace pliki_testowe {

// A file as a list of lines.
struct TPlik {
    std::vector<std::string> linie;
    void operator()(std::string s) { linie.push_back(std::move(s)); }
    void operator()(std::initializer_list<std::string> l) { linie.insert(linie.end(), l); }
    std::string Tekst(const char* koniec = "\n") const {
        std::string t;
        for (const auto& l : linie) t += l + koniec;
        return t;
    }
};

inline TPlik Naglowek() {
    TPlik f;
    for (int i = 1; i <= 8; ++i) f("naglowek " + std::to_string(i));
    return f;
}

// A number written exactly.
inline std::string L(double v) {
    char b[32];
    std::snprintf(b, sizeof b, "%.17g", v);
    return b;
}

inline void DodajPunkt(TPlik& f, double x, double y, double z, const char* znacznik, int numer,
                       const std::string& nazwa) {
    f({L(x), L(y), L(z), znacznik, std::to_string(numer), nazwa});
}

inline void DodajTrojkatTEREN(TPlik& f, int a, int b, int c, const char* rodzaj, const char* kolor) {
    f({"0", "0", "0", std::to_string(a), std::to_string(b), std::to_string(c), "0", "0", rodzaj, "F", kolor});
}

inline void DodajZalom(TPlik& f, const std::string& nazwa, const std::string& xy, const std::string& ar = "0;0;0") {
    f({nazwa, xy, ar, "0;0;0", "0;0;0", "0;0;0", "F", "F", "F"});
}

// A small complete file; mtp selects the markers and the line sections of a .mtp file.
inline TPlik PlikDanych(bool mtp) {
    TPlik f;
    for (int i = 1; i <= 8; ++i) f((mtp ? "MTP naglowek " : "*** baner ") + std::to_string(i));
    f({mtp ? "#Wspolrzedne200TEREN#" : "#WspTEREN#", "4"});
    DodajPunkt(f, 5000000, 4600000, 120, "F", 10, "P0");
    f({"5000100,5", "4600000.25", "121", "T", "11", "P1"});
    DodajPunkt(f, 5000000, 4600100, 122, "F", 12, "P2");
    DodajPunkt(f, 5000100, 4600100, 124, "true", 13, "P3");
    f("");
    if (mtp)
        f({"#Linie200TEREN#", "1", "5000000", "4600000", "120", "0", "5000100", "4600100", "124", "3", "1,5", "T", "F",
           "F", "F", "F", "T", ""});
    f({mtp ? "#Trojkaty200TEREN#" : "#TroTEREN#", "2", "7", "0", "-9", "0", "1", "2", "33,25", "10", "0,5H", "T"});
    f({"clGreen", "0", "0", "0", "1", "3", "2", "5000066", "4600066", "0N", "F", "255", ""});
    f({mtp ? "#Wspolrzedne200PROJ#" : "#WspPROJ#", "3"});
    DodajPunkt(f, 5000010, 4600010, 121, "F", 0, "A");
    DodajPunkt(f, 5000020, 4600010, 121.5, "F", 1, "B");
    DodajPunkt(f, 5000010, 4600020, 122, "F", 2, "C");
    f("");
    if (mtp)
        f({"#Linie200PROJ#P3D", "1", "5000010;4600010;121", "5000020;4600010;122,5", "1;2", "3,5", "F", "F", "F", "F",
           "T", ""});
    f({mtp ? "#Trojkaty200PROJ#P3D" : "#TroPROJ#", "1", "1,9;-2,7;3", "0;1;2", "5000010;4600010;121",
       "5000020;4600010;121,5", "5000010;4600020;122", "0;0", "0N", "clGray", ""});
    f({"______________________________TRASA_2020", "3"});
    DodajZalom(f, "W0", "5000005;4600005");
    f({"W1", "5000050;4600080", "30;35;60,5", "1;2;3", "4;5;6", "x;1;2", "F", "TRUE", "f"});
    DodajZalom(f, "W2", "5000095;4600005");
    return f;
}

inline TPlik PlikTRO() { return PlikDanych(false); }
inline TPlik PlikMTP() { return PlikDanych(true); }

// ---- the whole model, to tell whether a failed load changed anything ----

// The window's project with what the window shows of it: the render arrays,
// the viewer's lines and the route's messages.
struct TStan {
    TProjekt projekt;
    std::vector<TTrojkatRys> trojTEREN, trojPROJ;
    std::vector<TCzworokatRys> czworokaty;
    std::vector<std::string> opis, komunikaty;
    bool operator==(const TStan&) const = default;
};

// `linie` false leaves out the mesh lines (only a .mtp file has them).
inline TStan Stan(bool linie = true) {
    TStan s{ProjektOkna, TrojkatyTEREN, TrojkatyPROJ, Czworokaty, OpisTekst, KomunikatyTrasy};
    if (!linie) s.projekt.TEREN.Linie.clear(), s.projekt.PROJ.Linie.clear();
    return s;
}

}  // namespace pliki_testowe
