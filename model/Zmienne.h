// The process-wide state of the program: the two mesh sets, the route, the
// design parameter table, the view record, the render arrays, the light and
// the lines of the text viewer. Everything is created at start, replaced in
// place by loads, generators and view operations, and released at exit.
//
// Every array's count is its length: the Ile... helpers below read it, so a
// count can never drift from its array.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/Funkcje.h"

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
};

struct TRodzaj {
    float Wartosc = 0.0f;
    char Kod = ' ';
};

struct TTrojkat {
    std::int32_t Atr1 = 0, Atr2 = 0, Atr3 = 0;
    std::int32_t Nr1 = 0, Nr2 = 0, Nr3 = 0;
    double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0, X3 = 0, Y3 = 0;
    double Z1 = 0, Z2 = 0, Z3 = 0;
    double Xs = 0, Ys = 0;
    TRodzaj Rodzaj;
    bool Znacznik = false;
    std::int32_t Kolor = 0;
};

struct TLinia {
    std::int32_t Nr1 = 0, Nr2 = 0;
    double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    double Z1 = 0, Z2 = 0;
    float Wartosc = 0.0f;
    bool Znaczniki[6] = {};
};

struct TZakres {
    double Xmax = 0, Ymax = 0, Xmin = 0, Ymin = 0, Zmax = 0, Zmin = 0;
};

struct TSiatka {
    std::vector<TPunktSiatki> Punkty;
    std::vector<TLinia> Linie;
    std::vector<TTrojkat> Trojkaty;
    TZakres Zakres;

    std::int32_t IlePunktow() const { return static_cast<std::int32_t>(Punkty.size()); }
    std::int32_t IleLinii() const { return static_cast<std::int32_t>(Linie.size()); }
    std::int32_t IleTrojkatow() const { return static_cast<std::int32_t>(Trojkaty.size()); }
};

extern TSiatka TEREN;
extern TSiatka PROJ;

// ---------------------------------------------------------------------------
// Route alignment.

struct TPunkt2D {
    double X = 0.0;
    double Y = 0.0;
};

struct TPara {
    float Wartosc1 = 0.0f;
    float Wartosc2 = 0.0f;
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
};

// Elements of one clothoid.
struct TKlotoida {
    double R = 0, A = 0, L = 0, Tau = 0, Xk = 0, Yk = 0, dR = 0, Xs = 0, Ys = 0;
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

    std::int32_t IleZalomow() const { return static_cast<std::int32_t>(Zalomy.size()); }
};

extern DaneUstawieniaTrasy Trasa;

// One row of the design parameter table.
struct TParametryProjektowe {
    float OdPikiety = 0, PredkoscV = 0, iMax = 0, kMax = 0, Bkr = 0, dI = 0, Rezerwa1 = 0, Rezerwa2 = 0;
};

extern std::vector<TParametryProjektowe> ParametryProjektowe;

// ---------------------------------------------------------------------------
// View state and render arrays.

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
};

extern TRzut Rzut;

struct TTrojkatRys {
    TPunkt3D P1, P2, P3;
    float KluczYmin = 0.0f;
    float KluczOko = 0.0f;
    TKolor KolorObrysu = 0;
    TKolor Kolor = 0;
    TKolor KolorCieniowany = 0;
};

struct TCzworokatRys {
    TPunkt3D P1, P2, P3, P4;
    float KluczYmin = 0.0f;
    TKolor KolorObrysu = 0;
    TKolor Kolor = 0;
    TKolor KolorCieniowany = 0;
};

extern std::vector<TCzworokatRys> Czworokaty;
extern std::vector<TTrojkatRys> TrojkatyPROJ;
extern std::vector<TTrojkatRys> TrojkatyTEREN;

inline std::int32_t IleCzworokatow() { return static_cast<std::int32_t>(Czworokaty.size()); }
inline std::int32_t IleTrojkatowPROJ() { return static_cast<std::int32_t>(TrojkatyPROJ.size()); }
inline std::int32_t IleTrojkatowTEREN() { return static_cast<std::int32_t>(TrojkatyTEREN.size()); }

// Light vector (not normalised: its length scales the shading), shading strength, outlines.
extern TPunkt3D Swiatlo;
extern std::int32_t nat;
extern bool RysObrys;
extern std::int32_t NatObrys;

// A picture held as 32-bit pixels 0xFFRRGGBB (the layout of an RGB32 image), rows top-down.
struct TObraz {
    int Szerokosc = 0;
    int Wysokosc = 0;
    std::vector<std::uint32_t> Piksele;
    bool Pusty() const { return Szerokosc <= 0 || Wysokosc <= 0; }
};

// The sky picture stretched over the far wall of the frame box; empty when
// the file could not be loaded (the far wall is then drawn without it).
extern TObraz Niebo;

// ---------------------------------------------------------------------------
// The lines of the text viewer (UTF-8). Reports fill it, route checks append
// their messages, the redraw empties it; the viewer window shows it.
extern std::vector<std::string> OpisTekst;

inline void DopiszDoOpisu(std::string linia) { OpisTekst.push_back(std::move(linia)); }

// A copy of the messages of the last route build (the redraw empties the
// viewer, so the open flows and the reports show them from here).
extern std::vector<std::string> KomunikatyTrasy;

// Start-up values of the shared variables, for a paint area of W x H pixels.
void InicjujZmienne(int W, int H);

// ---------------------------------------------------------------------------
// The scene model's operations and the sequence that ends every load.

// Recomputes the set's Zakres from its Punkty (kept when it has no point).
void ObliczZakres(TSiatka& siatka);
// Every mesh triangle of both sets runs counter-clockwise in plan afterwards.
void OrientujTrojkaty();
// Moves every mesh triangle of both sets (Punkty stay).
void PrzesunSiatki(double dx, double dy, double dz);
// Moves every route vertex and records the shift in Trasa.Dx, Trasa.Dy.
void PrzesunTrase(double dx, double dy);
// The render record of a mesh triangle drawn in the colour `kolor` (its
// surface kind's, KolorRodzaju), not yet shaded.
TTrojkatRys TrojkatDoRysowania(const TTrojkat& t, TKolor kolor);
// Rebuilds the set's render array (TrojkatyTEREN or TrojkatyPROJ) from its mesh triangles.
void PrzygotujTrojkaty(const TSiatka& siatka);
// Multiplies every vertex coordinate of a render array.
void SkalujTrojkaty(std::vector<TTrojkatRys>& trojkaty, double k);
// Stable sort by descending P2.Y (farthest first).
void SortujTrojkaty(std::vector<TTrojkatRys>& trojkaty);
// PrzygotujTrojkaty, SkalujTrojkaty by k and SortujTrojkaty of the set's
// render array in one: the sort order is found from the mesh and every record
// is made straight in its place (in two threads on a large set), so no second
// array of records is needed.
void PrzygotujPosortowane(const TSiatka& siatka, double k);
// Drawing colour of a surface kind letter in a set.
TKolor KolorRodzaju(const TSiatka& siatka, char kod);
// Orientation, ranges, shift to local coordinates, render arrays, sort, shading, route build.
void ZakonczWczytywanie();
