// Small data files for the reader and writer tests, and a byte-exact picture
// of the whole model to tell whether a failed load changed anything.
#pragma once

#include <cstdio>
#include <string>
#include <type_traits>
#include <vector>

#include "model/Zmienne.h"

namespace pliki_testowe {

// A file as a list of lines.
struct TPlik {
    std::vector<std::string> linie;
    void operator()(std::string s) { linie.push_back(std::move(s)); }
    std::string Tekst(const char* koniec = "\n") const {
        std::string t;
        for (const auto& l : linie) {
            t += l;
            t += koniec;
        }
        return t;
    }
};

inline TPlik Naglowek() {
    TPlik f;
    for (int i = 1; i <= 8; ++i) f("naglowek " + std::to_string(i));
    return f;
}

inline std::string L(double v) {
    char b[64];
    std::snprintf(b, sizeof b, "%.17g", v);
    return b;
}

inline void DodajPunkt(TPlik& f, double x, double y, double z, const char* znacznik, int numer,
                       const std::string& nazwa) {
    f(L(x));
    f(L(y));
    f(L(z));
    f(znacznik);
    f(std::to_string(numer));
    f(nazwa);
}

inline void DodajTrojkatTEREN(TPlik& f, int a, int b, int c, const char* rodzaj, const char* kolor) {
    f("0");
    f("0");
    f("0");
    f(std::to_string(a));
    f(std::to_string(b));
    f(std::to_string(c));
    f("0");
    f("0");
    f(rodzaj);
    f("F");
    f(kolor);
}

inline void DodajZalom(TPlik& f, const std::string& nazwa, const std::string& xy, const std::string& ar = "0;0;0") {
    f(nazwa);
    f(xy);
    f(ar);
    f("0;0;0");
    f("0;0;0");
    f("0;0;0");
    f("F");
    f("F");
    f("F");
}

// A small complete file; mtp selects the markers and the line sections of a .mtp file.
inline TPlik PlikDanych(bool mtp) {
    TPlik f;
    for (int i = 1; i <= 8; ++i) f(mtp ? "MTP naglowek " + std::to_string(i) : "*** baner " + std::to_string(i));
    f(mtp ? "#Wspolrzedne200TEREN#" : "#WspTEREN#");
    f("4");
    DodajPunkt(f, 5000000, 4600000, 120, "F", 10, "P0");
    for (const char* s : {"5000100,5", "4600000.25", "121", "T", "11", "P1"}) f(s);
    DodajPunkt(f, 5000000, 4600100, 122, "F", 12, "P2");
    DodajPunkt(f, 5000100, 4600100, 124, "true", 13, "P3");
    f("");
    if (mtp) {
        f("#Linie200TEREN#");
        f("1");
        for (const char* s : {"5000000", "4600000", "120", "0", "5000100", "4600100", "124", "3", "1,5", "T", "F",
                              "F", "F", "F", "T"})
            f(s);
        f("");
    }
    f(mtp ? "#Trojkaty200TEREN#" : "#TroTEREN#");
    f("2");
    for (const char* s : {"7", "0", "-9", "0", "1", "2", "33,25", "10", "0,5H", "T", "clGreen"}) f(s);
    for (const char* s : {"0", "0", "0", "1", "3", "2", "5000066", "4600066", "0N", "F", "255"}) f(s);
    f("");
    f(mtp ? "#Wspolrzedne200PROJ#" : "#WspPROJ#");
    f("3");
    DodajPunkt(f, 5000010, 4600010, 121, "F", 0, "A");
    DodajPunkt(f, 5000020, 4600010, 121.5, "F", 1, "B");
    DodajPunkt(f, 5000010, 4600020, 122, "F", 2, "C");
    f("");
    if (mtp) {
        f("#Linie200PROJ#P3D");
        f("1");
        for (const char* s : {"5000010;4600010;121", "5000020;4600010;122,5", "1;2", "3,5", "F", "F", "F", "F", "T"})
            f(s);
        f("");
    }
    f(mtp ? "#Trojkaty200PROJ#P3D" : "#TroPROJ#");
    f("1");
    for (const char* s : {"1,9;-2,7;3", "0;1;2", "5000010;4600010;121", "5000020;4600010;121,5",
                          "5000010;4600020;122", "0;0", "0N", "clGray"})
        f(s);
    f("");
    f("______________________________TRASA_2020");
    f("3");
    DodajZalom(f, "W0", "5000005;4600005");
    for (const char* s : {"W1", "5000050;4600080", "30;35;60,5", "1;2;3", "4;5;6", "x;1;2", "F", "TRUE", "f"}) f(s);
    DodajZalom(f, "W2", "5000095;4600005");
    return f;
}

inline TPlik PlikTRO() { return PlikDanych(false); }
inline TPlik PlikMTP() { return PlikDanych(true); }

// A .tro file of a regular grid of nx x ny TEREN points.
inline std::string PlikSiatki(int nx, int ny) {
    std::string t;
    for (int i = 0; i < 8; ++i) t += "*\r\n";
    t += "#WspTEREN#\r\n" + std::to_string(nx * ny) + "\r\n";
    char b[160];
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) {
            std::snprintf(b, sizeof b, "%.3f\r\n%.3f\r\n%.3f\r\nF\r\n%d\r\nP%d\r\n", 5500000.0 + i * 2.5,
                          4600000.0 + j * 2.5, 100.0 + ((i * 7 + j * 3) % 50) * 0.1, j * nx + i, j * nx + i);
            t += b;
        }
    t += "\r\n#TroTEREN#\r\n" + std::to_string(2 * (nx - 1) * (ny - 1)) + "\r\n";
    for (int j = 0; j + 1 < ny; ++j)
        for (int i = 0; i + 1 < nx; ++i) {
            const int a = j * nx + i, c = a + nx;
            std::snprintf(b, sizeof b, "0\r\n0\r\n0\r\n%d\r\n%d\r\n%d\r\n0,5\r\n0,5\r\n0H\r\nF\r\nclGreen\r\n", a, a + 1,
                          c + 1);
            t += b;
            std::snprintf(b, sizeof b, "0\r\n0\r\n0\r\n%d\r\n%d\r\n%d\r\n0,5\r\n0,5\r\n0H\r\nF\r\nclGreen\r\n", a, c + 1,
                          c);
            t += b;
        }
    return t;
}

// ---- byte-exact picture of the model ----

struct TZrzut {
    std::string b;
    template <class T>
    void operator()(const T& v) {
        static_assert(std::is_arithmetic_v<T>);
        b.append(reinterpret_cast<const char*>(&v), sizeof v);
    }
    template <int N>
    void operator()(const TKrotkiNapis<N>& n) {
        (*this)(n.Dlugosc);
        b.append(n.Widok());
    }
    void operator()(const TPunkt3D& p) { (*this)(p.X), (*this)(p.Y), (*this)(p.Z); }
    void operator()(const TPunkt2D& p) { (*this)(p.X), (*this)(p.Y); }
    void operator()(const TKlotoida& k) {
        for (double v : {k.R, k.A, k.L, k.Tau, k.Xk, k.Yk, k.dR, k.Xs, k.Ys}) (*this)(v);
    }
};

inline void ZrzutSiatki(TZrzut& z, const TSiatka& s, bool linie) {
    z(s.IlePunktow());
    for (const auto& p : s.Punkty) z(p.X), z(p.Y), z(p.Z), z(p.Znacznik), z(p.Numer), z(p.Nazwa);
    if (linie) {
        z(s.IleLinii());
        for (const auto& l : s.Linie) {
            z(l.Nr1), z(l.Nr2), z(l.X1), z(l.Y1), z(l.X2), z(l.Y2), z(l.Z1), z(l.Z2), z(l.Wartosc);
            for (bool f : l.Znaczniki) z(f);
        }
    }
    z(s.IleTrojkatow());
    for (const auto& t : s.Trojkaty) {
        z(t.Atr1), z(t.Atr2), z(t.Atr3), z(t.Nr1), z(t.Nr2), z(t.Nr3);
        z(t.X1), z(t.Y1), z(t.X2), z(t.Y2), z(t.X3), z(t.Y3), z(t.Z1), z(t.Z2), z(t.Z3), z(t.Xs), z(t.Ys);
        z(t.Rodzaj.Wartosc), z(t.Rodzaj.Kod), z(t.Znacznik), z(t.Kolor);
    }
    const TZakres& r = s.Zakres;
    z(r.Xmax), z(r.Ymax), z(r.Xmin), z(r.Ymin), z(r.Zmax), z(r.Zmin);
}

inline void ZrzutRysowania(TZrzut& z, const std::vector<TTrojkatRys>& v) {
    z(static_cast<std::int64_t>(v.size()));
    for (const auto& r : v) z(r.P1), z(r.P2), z(r.P3), z(r.KluczYmin), z(r.KluczOko), z(r.KolorObrysu), z(r.Kolor),
        z(r.KolorCieniowany);
}

inline std::string Zrzut(bool linie = true) {
    TZrzut z;
    ZrzutSiatki(z, TEREN, linie);
    ZrzutSiatki(z, PROJ, linie);
    const DaneUstawieniaTrasy& t = Trasa;
    z(t.Obliczona), z(t.Xmax), z(t.Ymax), z(t.Xmin), z(t.Ymin), z(t.PikMin), z(t.PikMax), z(t.Dx), z(t.Dy);
    z(t.IleZalomow());
    for (const auto& w : t.Zalomy) {
        z(w.Nazwa), z(w.X), z(w.Y), z(w.A1), z(w.A2), z(w.R), z(w.Param1), z(w.Param2), z(w.Param3);
        for (const auto& p : w.Pary) z(p.Wartosc1), z(p.Wartosc2);
        z(w.Flaga1), z(w.Flaga2), z(w.Flaga3);
    }
    z(static_cast<std::int64_t>(t.ElementyTrasy.size()));
    for (const auto& e : t.ElementyTrasy) {
        z(e.X), z(e.Y), z(e.PikW), z(e.JestLuk), z(e.PikPL), z(e.PikKL), z(e.PunktPL), z(e.PunktKL), z(e.Srodek);
        z(e.T), z(e.DlugoscLuku), z(e.R), z(e.KatPL), z(e.KatKL), z(e.LukWPrawo), z(e.JestKlotoida);
        z(e.Klotoida1), z(e.PunktPKP1), z(e.PikPKP1), z(e.PikKKP1), z(e.Klotoida1WPrawo), z(e.KierunekStycznej1),
            z(e.T1);
        z(e.Klotoida2), z(e.PunktKKP2), z(e.PikPKP2), z(e.PikKKP2), z(e.Klotoida2WPrawo),
            z(e.KierunekStycznej2Odwr), z(e.T2);
    }
    ZrzutRysowania(z, TrojkatyTEREN);
    ZrzutRysowania(z, TrojkatyPROJ);
    z(static_cast<std::int64_t>(Czworokaty.size()));
    for (const auto& c : Czworokaty) z(c.P1), z(c.P2), z(c.P3), z(c.P4), z(c.Kolor), z(c.KolorCieniowany);
    z(static_cast<std::int64_t>(OpisTekst.size()));
    for (const auto& l : OpisTekst) z.b += l + '\n';
    return z.b;
}

inline std::string ZrzutBezLinii() { return Zrzut(false); }

}  // namespace pliki_testowe
