// The plain record types of the program: mesh points and triangles, the
// route's vertices and computed elements, the view record, the render records
// and a picture. Values only: no process-wide variable is declared here, so
// a unit that needs the types alone (the canvas, the rasterizer, the
// clothoids) does not depend on the program's state (model/Zmienne.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/Funkcje.h"
#include "model/TypyOsi.h"

// ---------------------------------------------------------------------------
// Colours: 32-bit values 0x00BBGGRR, red in the low byte.
using TKolor = std::uint32_t;

// The system's button-face colour (the background of the picture), a system
// colour index as the files' colour names use it; the canvas resolves it.
constexpr TKolor clBtnFace = 0xFF00000Fu;

// ---------------------------------------------------------------------------
// Scene model: the two mesh sets.

struct TPunktSiatki {
    double X = 0.0;
    double Y = 0.0;
    double Z = 0.0;
    bool Znacznik = false;
    std::int32_t Numer = 0;
    TKrotkiNapis<20> Nazwa;  // Windows-1250 bytes

    bool operator==(const TPunktSiatki&) const = default;
};

struct TRodzaj {
    float Wartosc = 0.0f;
    char Kod = ' ';

    bool operator==(const TRodzaj&) const = default;
};

// The kind letter of a road's pavement: a design surface without kinds of its
// own (another tool's LandXML file) takes it, so it stands apart from the terrain.
inline constexpr char kRodzajNawierzchni = 'N';

// A mesh triangle: its corners are the vertices W1, W2, W3 of its mesh's
// Wierzcholki (a point of the terrain shared by six triangles is stored
// once); Nr1..Nr3 are the vertex numbers its file gave.
struct TTrojkat {
    std::int32_t Atr1 = 0, Atr2 = 0, Atr3 = 0;
    std::int32_t Nr1 = 0, Nr2 = 0, Nr3 = 0;
    std::int32_t W1 = 0, W2 = 0, W3 = 0;
    TRodzaj Rodzaj;
    bool Znacznik = false;
    std::int32_t Kolor = 0;

    bool operator==(const TTrojkat&) const = default;
};

// A triangle holding its own corners and kind: a mesh triangle's corners
// gathered (Rogi) for the geometry of one triangle, or a piece a computation
// makes (the ground left of a cutting, a heights index's triangle).
struct TTrojkatRogi {
    double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0, X3 = 0, Y3 = 0;
    double Z1 = 0, Z2 = 0, Z3 = 0;
    TRodzaj Rodzaj;

    TPunkt3D P1() const { return {X1, Y1, Z1}; }
    TPunkt3D P2() const { return {X2, Y2, Z2}; }
    TPunkt3D P3() const { return {X3, Y3, Z3}; }

    bool operator==(const TTrojkatRogi&) const = default;
};

struct TLinia {
    std::int32_t Nr1 = 0, Nr2 = 0;
    double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    double Z1 = 0, Z2 = 0;
    float Wartosc = 0.0f;
    bool Znaczniki[6] = {};

    bool operator==(const TLinia&) const = default;
};

struct TZakres {
    double Xmax = 0, Ymax = 0, Xmin = 0, Ymin = 0, Zmax = 0, Zmin = 0;

    bool operator==(const TZakres&) const = default;
};

struct TSiatka {
    std::vector<TPunktSiatki> Punkty;
    std::vector<TLinia> Linie;
    std::vector<TTrojkat> Trojkaty;
    // The triangles' corners, in the frame of the triangles (the load moves
    // them near the origin; the points keep the file's coordinates). A
    // terrain's vertices are its points' coordinates as its triangles were
    // read; a design surface's triangle i has vertices 3i, 3i+1 and 3i+2.
    std::vector<TPunkt3D> Wierzcholki;
    TZakres Zakres;
    // The coordinate system of the file's coordinates (EPSG code; 0 unknown)
    // and, for a terrain made from elevation grids, how it was made (report lines).
    int EPSG = 0;
    std::vector<std::string> Opis;

    std::int32_t IlePunktow() const { return static_cast<std::int32_t>(Punkty.size()); }
    std::int32_t IleLinii() const { return static_cast<std::int32_t>(Linie.size()); }
    std::int32_t IleTrojkatow() const { return static_cast<std::int32_t>(Trojkaty.size()); }

    bool operator==(const TSiatka&) const = default;
};

// The corners of a mesh triangle. Every reader of a triangle's corners goes
// through these: the triangle record names its corners, the mesh holds them.

// Corner k (0, 1 or 2) of the mesh's triangle t, in the mesh's frame.
inline const TPunkt3D& Rog(const TSiatka& s, const TTrojkat& t, int k) {
    return s.Wierzcholki[static_cast<std::size_t>(k == 0 ? t.W1 : k == 1 ? t.W2 : t.W3)];
}

// The mesh's triangle t as a triangle of its own: its corners and kind.
inline TTrojkatRogi Rogi(const TSiatka& s, const TTrojkat& t) {
    const TPunkt3D& a = s.Wierzcholki[static_cast<std::size_t>(t.W1)];
    const TPunkt3D& b = s.Wierzcholki[static_cast<std::size_t>(t.W2)];
    const TPunkt3D& c = s.Wierzcholki[static_cast<std::size_t>(t.W3)];
    return {a.X, a.Y, b.X, b.Y, c.X, c.Y, a.Z, b.Z, c.Z, t.Rodzaj};
}
inline TTrojkatRogi Rogi(const TSiatka& s, std::size_t i) { return Rogi(s, s.Trojkaty[i]); }

// Moves corner k of the mesh's triangle i to p (a corner the triangle shares
// moves for every triangle that has it).
inline void UstawRog(TSiatka& s, std::size_t i, int k, const TPunkt3D& p) {
    const TTrojkat& t = s.Trojkaty[i];
    s.Wierzcholki[static_cast<std::size_t>(k == 0 ? t.W1 : k == 1 ? t.W2 : t.W3)] = p;
}

// Appends the triangle t (its numbers, kind, colour and mark) with the
// corners a, b, c of its own, appended to the vertices.
inline void DodajTrojkat(TSiatka& s, TTrojkat t, const TPunkt3D& a, const TPunkt3D& b, const TPunkt3D& c) {
    const auto w = static_cast<std::int32_t>(s.Wierzcholki.size());
    t.W1 = w, t.W2 = w + 1, t.W3 = w + 2;
    s.Wierzcholki.insert(s.Wierzcholki.end(), {a, b, c});
    s.Trojkaty.push_back(t);
}
// Appends the triangle q with its corners and kind (the other fields zero).
inline void DodajTrojkat(TSiatka& s, const TTrojkatRogi& q) {
    TTrojkat t;
    t.Rodzaj = q.Rodzaj;
    DodajTrojkat(s, t, q.P1(), q.P2(), q.P3());
}

// ---------------------------------------------------------------------------
// Route alignment.

struct TPara {
    float Wartosc1 = 0.0f;
    float Wartosc2 = 0.0f;

    bool operator==(const TPara&) const = default;
};

// One bend point as read from a file.
struct TZalom {
    TKrotkiNapis<15> Nazwa;  // Windows-1250 bytes
    double X = 0.0;
    double Y = 0.0;
    float A1 = 0.0f;
    float A2 = 0.0f;
    float R = 0.0f;
    float Param1 = 0.0f, Param2 = 0.0f, Param3 = 0.0f;
    TPara Pary[3];
    bool Flaga1 = false, Flaga2 = false, Flaga3 = false;

    bool operator==(const TZalom&) const = default;
};

// Elements of one clothoid.
struct TKlotoida {
    double R = 0, A = 0, L = 0, Tau = 0, Xk = 0, Yk = 0, dR = 0, Xs = 0, Ys = 0;

    bool operator==(const TKlotoida&) const = default;
};

// The computed geometry and chainages of one vertex.
struct TElementTrasy {
    double X = 0, Y = 0;
    double PikW = 0;
    bool JestLuk = false;
    double PikPL = 0, PikKL = 0;
    TPunkt2D PunktPL, PunktKL, Srodek;
    double T = 0;
    double DlugoscLuku = 0;
    double R = 0;
    double KatPL = 0, KatKL = 0;
    bool LukWPrawo = false;
    bool JestKlotoida = false;
    TKlotoida Klotoida1;
    TPunkt2D PunktPKP1;
    double PikPKP1 = 0, PikKKP1 = 0;
    bool Klotoida1WPrawo = false;
    double KierunekStycznej1 = 0;
    double T1 = 0;
    TKlotoida Klotoida2;
    TPunkt2D PunktKKP2;
    double PikPKP2 = 0, PikKKP2 = 0;
    bool Klotoida2WPrawo = false;
    double KierunekStycznej2Odwr = 0;
    double T2 = 0;

    bool operator==(const TElementTrasy&) const = default;
};

// The route container.
struct DaneUstawieniaTrasy {
    bool Obliczona = false;
    double Xmax = 0, Ymax = 0, Xmin = 0, Ymin = 0;
    float PikMin = 0.0f;
    float PikMax = 0.0f;
    double Dx = 0.0, Dy = 0.0;
    std::vector<TZalom> Zalomy;
    std::vector<TElementTrasy> ElementyTrasy;
    // A route read from an exchange file (LandXML): the chainage of its start
    // as the file gives it (chainage texts show PikStart + s), whether its
    // geometry is the file's element chain (Lancuch; it then has no vertices),
    // and where it came from (for the route report; empty for the program's own files).
    double PikStart = 0.0;
    bool GeometriaZPliku = false;
    std::string Pochodzenie;
    // The route as a chain of elements, which every reader of the route reads:
    // a route from vertices is built through them and expressed as a chain
    // (LancuchZTrasy); a route read as a chain (GeometriaZPliku) is this chain,
    // never rebuilt. Empty while the route is not built.
    TLancuch Lancuch;
    // The route's vertical profile (the design line) as its file gives it;
    // without one it has no breakpoints.
    TNiweleta Niweleta;
    // The route report's lines about every alignment of the route's file
    // (name, start, length, elements by kind, accepted junctions, profiles).
    std::vector<std::string> OpisOsi;
    // The coordinate system of the file's coordinates (EPSG code; 0 unknown).
    int EPSG = 0;
    // Every alignment of the route's file, in the file's coordinates and
    // order (none for the program's own files), which of them is the route
    // and which of its profiles its design line (-1: none), and the file as
    // the route's origin names it ("LandXML „plik.xml”"). Another of them
    // becomes the route through the load flow, without reading the file again.
    std::vector<TOsPliku> Osie;
    int NrOsi = -1;
    int NrNiwelety = -1;
    std::string ZrodloOsi;
    // The road from the alignment alone (route/Wstega.h): its width, and the
    // ribbon of the built route with a design line (local frame; empty
    // without one), the design surface of a project that has none.
    double SzerokoscWstegi = 7.0;
    TSiatka Wstega;

    std::int32_t IleZalomow() const { return static_cast<std::int32_t>(Zalomy.size()); }

    bool operator==(const DaneUstawieniaTrasy&) const = default;
};

// One row of the design parameter table.
struct TParametryProjektowe {
    float OdPikiety = 0, PredkoscV = 0, iMax = 0, kMax = 0, Bkr = 0, dI = 0, Rezerwa1 = 0, Rezerwa2 = 0;

    bool operator==(const TParametryProjektowe&) const = default;
};

// ---------------------------------------------------------------------------
// The view record and the render records.

struct TRzut {
    float skala = 12.0f;
    float PolEkranX = 0.0f;
    double TrasaX = 0.0, TrasaY = 0.0;
    double OkoX = 0.0, OkoY = -1000.0, OkoZ = 300.0;
    double PrzesunX = 0.0, PrzesunY = 0.0, PrzesunZ = 0.0;
    double ObrotX = 0.0, ObrotY = 0.0, ObrotZ = 0.0;
    float OdlTnijYmin = -800.0f;
    float OdlTnijYmax = 2000.0f;
    double katT = 0.0;
    double alfa = 0.0;
    bool TnijTroj = true;
    bool RysujParametryEkran = false;
    bool RysujPROJ = true;
    bool RysujTEREN = true;
    bool RysujNiebo = true;
    bool RysujLinie = true;
    // The driver's view: the scene was brought to the eye of a driver on the
    // road (the picture is then drawn in depth order across the sets, with the
    // sky above the horizon), and the eye's pitch (the tangent of the angle the
    // view was tilted up by) for the horizon's row, and its roll (the angle in
    // radians the view was turned by about its line of sight, positive
    // clockwise as the driver sees it) for the horizon's slope.
    bool WidokKierowcy = false;
    double PochylenieOka = 0.0;
    double PrzechylenieOka = 0.0;
};

struct TTrojkatRys {
    TPunkt3D P1, P2, P3;
    float KluczYmin = 0.0f;
    float KluczOko = 0.0f;
    TKolor KolorObrysu = 0;
    TKolor Kolor = 0;
    TKolor KolorCieniowany = 0;

    bool operator==(const TTrojkatRys&) const = default;
};

struct TCzworokatRys {
    TPunkt3D P1, P2, P3, P4;
    float KluczYmin = 0.0f;
    TKolor KolorObrysu = 0;
    TKolor Kolor = 0;
    TKolor KolorCieniowany = 0;

    bool operator==(const TCzworokatRys&) const = default;
};

// A station label in the picture: its anchor point (moved by the view
// operations with the scene), its text, and whether the eye sees the anchor
// over the surfaces (worked out when the posts are placed).
struct TNapisRys {
    TPunkt3D P;
    std::string Tekst;
    bool Widoczny = true;
};

// A picture held as 32-bit pixels 0xFFRRGGBB (the layout of an RGB32 image), rows top-down.
struct TObraz {
    int Szerokosc = 0;
    int Wysokosc = 0;
    std::vector<std::uint32_t> Piksele;
    bool Pusty() const { return Szerokosc <= 0 || Wysokosc <= 0; }
};
