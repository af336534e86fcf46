// The records of an alignment as a chain of elements and of its vertical
// profile (the computations are route/Lancuch.h and route/Niweleta.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/Funkcje.h"

enum class TRodzajOsi : std::uint8_t { Prosta, Luk, Klotoida };

struct TElementOsi {
    TRodzajOsi Rodzaj = TRodzajOsi::Prosta;
    TPunkt2D Poczatek;      // start point
    double Kierunek = 0;    // start direction, counter-clockwise from +X, radians
    double Dlugosc = 0;     // length along the element
    double K1 = 0, K2 = 0;  // curvature at the start and the end, 1/m, positive turning left
    double Pik = 0;         // chainage of the start from the chain's start
    double PikK = 0;        // and of the end (Pik + Dlugosc, or the build's own end chainage)

    // Evaluation data, set by UzupelnijElement (or copied from the route build).
    TPunkt2D Koniec;             // a line's end point
    TPunkt2D Srodek;             // an arc's centre
    double R = 0;                // an arc's radius
    double Psi0 = 0, Psi1 = 0;   // an arc's radial angles at its ends (see PunktKatowy)
    bool WPrawo = false;         // an arc turning right (clockwise)
    bool Szereg = false;         // a clothoid of the program's own route: evaluated by the build's series
    bool SzeregOdKonca = false;  //   run backwards from its end (a leaving transition)
    bool SzeregWPrawo = false;   //   turning right
    double SzeregA = 0;          //   its parameter
    double SzeregL = 0;          //   and its length (a leaving one is run back from it)
    TPunkt2D SzeregPunkt;        //   the point it is run from
    double SzeregKierunek = 0;   //   and the direction there (backwards for a leaving one)

    // Where it came from, for messages: position in the file's geometry (from 1) and line (0: none).
    int Nr = 0;
    int Wiersz = 0;

    double PikKonca() const { return PikK; }

    bool operator==(const TElementOsi&) const = default;
};

// A junction accepted in spite of a gap or a bend: rounding noise of the
// producer, or an angle point between two lines.
struct TZalamanie {
    double Pik = 0;            // chainage from the chain's start
    double Kat = 0;            // bend, radians (signed: positive to the left)
    double Odstep = 0;         // gap, metres
    int Nr = 0;                // the file's element that starts there
    bool Wierzcholek = false;  // an angle point between two lines (more than 0.05°)

    bool operator==(const TZalamanie&) const = default;
};

struct TLancuch {
    std::string Nazwa;
    double PikStart = 0;  // displayed chainage of the start
    std::vector<TElementOsi> Elementy;
    std::vector<TZalamanie> Zalamania;

    double Dlugosc() const { return Elementy.empty() ? 0.0 : Elementy.back().PikKonca(); }

    bool operator==(const TLancuch&) const = default;
};

// ---------------------------------------------------------------------------
// The vertical profile.

enum class TLukPionowy : std::uint8_t { Brak, Parabola, ParabolaNiesymetryczna, Kolowy };

struct TPVI {
    double Pik = 0;  // displayed chainage
    double Z = 0;
    TLukPionowy Luk = TLukPionowy::Brak;
    double Dlugosc = 0;                     // a symmetric parabola's length
    double DlugoscWej = 0, DlugoscWyj = 0;  // an unsymmetric parabola's lengths before and after the breakpoint
    double R = 0;                           // a circle's radius
    int Wiersz = 0;                         // line in the file (0: none), for messages

    // Set by ZbudujNiweleta.
    double G1 = 0, G2 = 0;     // grades before and after (dz/ds)
    double Pocz = 0, Kon = 0;  // the curve's chainages (both Pik without a curve)
    double Sc = 0, Zc = 0;     // a circle's centre
    double Gm = 0;             // an unsymmetric parabola's grade over the breakpoint

    bool operator==(const TPVI&) const = default;
};

struct TNiweleta {
    std::string Nazwa;
    std::vector<TPVI> Punkty;

    bool Pusta() const { return Punkty.size() < 2; }

    bool operator==(const TNiweleta&) const = default;
};

// ---------------------------------------------------------------------------
// An alignment of an exchange file as it was read: its chain (no elements
// when it could not be read), its vertical profiles in file order, the
// profiles left out with their reasons, and why the alignment itself could
// not be read ("" when it was) with the file's line of what the reason names.

struct TOsPliku {
    TLancuch Lancuch;
    std::vector<TNiweleta> Niwelety;
    std::vector<std::string> Uwagi;
    std::string Pominieta;
    int WierszPominiecia = 0;

    bool operator==(const TOsPliku&) const = default;
};
