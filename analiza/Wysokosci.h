// Heights of a mesh set's surface: an index built once per load over the
// set's triangles, the height Z(x, y) at a plan point, and the first point at
// which a straight 3D segment passes below the surface.
//
// Coordinates. A load leaves the mesh triangles (and the route) in a local
// frame: it moves them by (-Xmin, -Ymin, -Zmin) of TEREN's range, so that
// the lowest corner of the ground lies at the origin. The index keeps that
// shift: a file coordinate is the local one plus (Dx, Dy, Dz). Wysokosc and
// PierwszyPunktPodPowierzchnia work in local coordinates (those of the meshes,
// of PunktNaPikiecie and of the view); WysokoscWPliku takes and gives the
// file's coordinates.
//
// The index holds its own copy of what it needs of every triangle, so it
// never points into the mesh arrays; the two sets' indices are built once for
// every load, when first asked for, and shared immutably (TIndeksyWysokosci).
// Queries allocate nothing and change nothing, so several threads may ask at once.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <new>
#include <optional>
#include <vector>

#include "model/Zmienne.h"

// How far outside a triangle (in its barycentric weights, 1 = the triangle's
// height over an edge) a plan point still counts as inside: a point on an
// edge or a vertex shared by two triangles belongs to both, whatever the
// rounding of its weights.
constexpr double TolerancjaTrojkata = 1e-9;
// How far (in height units) a segment must lie below the surface to count as below it:
// a sight line that only touches the surface (an object standing on it) is not blocked.
constexpr double TolerancjaWysokosci = 1e-6;

// Memory of the index's large arrays: blocks of 2 MB and more are aligned to
// 2 MB and offered to the kernel for huge pages, so that a query at a random
// place does not also miss the address translation caches.
void* PrzydzielDuzeStrony(std::size_t bajty);
void ZwolnijDuzeStrony(void* p, std::size_t bajty) noexcept;

template <class T>
struct TAlokatorDuzychStron {
    using value_type = T;
    TAlokatorDuzychStron() = default;
    template <class U>
    TAlokatorDuzychStron(const TAlokatorDuzychStron<U>&) noexcept {}
    T* allocate(std::size_t n) {
        if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
        return static_cast<T*>(PrzydzielDuzeStrony(n * sizeof(T)));
    }
    void deallocate(T* p, std::size_t n) noexcept { ZwolnijDuzeStrony(p, n * sizeof(T)); }
    template <class U>
    bool operator==(const TAlokatorDuzychStron<U>&) const noexcept {
        return true;
    }
};

// One triangle of the index, relative to its first vertex (X1, Y1, Z1):
// with u = x - X1, v = y - Y1 the barycentric weights of vertices 2 and 3 are
// w2 = A2 u + B2 v, w3 = A3 u + B3 v, w1 = 1 - w2 - w3, and the plane's height
// is Z1 + Zu u + Zv v. Keeping the numbers relative to a vertex keeps them
// exact for small triangles far from the origin.
struct TTrojkatWysokosci {
    double X1 = 0, Y1 = 0, Z1 = 0;
    double A2 = 0, B2 = 0, A3 = 0, B3 = 0;
    double Zu = 0, Zv = 0;
};

// One cell of the grid: the triangles whose plan box touches it. Up to
// IleWKomorce of them stand in the cell itself, so that a query reads the
// cell and then the triangles; a longer list lies in TIndeksWysokosci::Nadmiar
// from Trojkaty[0] on (a compressed row layout for the few crowded cells).
constexpr std::uint32_t IleWKomorce = 7;
struct alignas(32) TKomorkaWysokosci {
    std::uint32_t Ile = 0;
    std::uint32_t Trojkaty[IleWKomorce] = {};
};

// A uniform grid over the plan range of the set's triangles; cell (i, j) is
// column i from Xmin, row j from Ymin. Cells are numbered in tiles of 8 x 8
// (NumerKomorki) and the triangles kept in the order of the cells of their
// centres, so that neighbours in plan lie close together in memory.
// GoraKomorki[k] is no lower than every triangle of cell k anywhere: a segment
// above it over the cell need not look at the cell's triangles.
struct TIndeksWysokosci {
    std::vector<TTrojkatWysokosci, TAlokatorDuzychStron<TTrojkatWysokosci>>
        Trojkaty;                               // triangles with a plan area, in cell order
    std::vector<std::int32_t> NumeryTrojkatow;  // for each: its index in the set's Trojkaty
    std::vector<TKomorkaWysokosci, TAlokatorDuzychStron<TKomorkaWysokosci>>
        Komorki;                         // 64 * IleKafliX * IleKafliY (empty when no triangle)
    std::vector<std::uint32_t> Nadmiar;  // the lists of the cells with more than IleWKomorce
    std::vector<float> GoraKomorki;      // one per cell
    std::int32_t IleKolumn = 0, IleWierszy = 0;
    std::int32_t IleKafliX = 0, IleKafliY = 0;
    double Xmin = 0, Ymin = 0;                  // the grid's corner (local coordinates)
    double Komorka = 1, OdwrotnoscKomorki = 1;  // cell side and its inverse
    double Dx = 0, Dy = 0, Dz = 0;              // file coordinate = local + (Dx, Dy, Dz)

    bool Pusty() const { return Trojkaty.empty(); }
    std::int32_t IleTrojkatow() const { return static_cast<std::int32_t>(Trojkaty.size()); }
    std::size_t NumerKomorki(std::int32_t i, std::int32_t j) const {
        return (static_cast<std::size_t>(j >> 3) * static_cast<std::size_t>(IleKafliX) +
                static_cast<std::size_t>(i >> 3)) *
                   64 +
               static_cast<std::size_t>((j & 7) * 8 + (i & 7));
    }
    // The triangles (indices into Trojkaty) of cell k; their count goes to `ile`.
    const std::uint32_t* TrojkatyKomorki(std::size_t k, std::uint32_t& ile) const {
        const TKomorkaWysokosci& c = Komorki[k];
        ile = c.Ile;
        return ile <= IleWKomorce ? c.Trojkaty : Nadmiar.data() + c.Trojkaty[0];
    }
};

// Raised by a build whose stop was asked for (`przerwij` set).
struct TBudowaPrzerwana {};

// Builds the index over the triangles (local coordinates); (dx, dy, dz) is
// the shift recorded for WysokoscWPliku. Triangles with no plan area or with
// a non-finite coordinate are left out; no triangle gives an empty index.
// When `przerwij` becomes true the build stops soon and raises TBudowaPrzerwana.
TIndeksWysokosci ZbudujIndeksWysokosci(const TSiatka& siatka, double dx = 0, double dy = 0, double dz = 0,
                                       const std::atomic<bool>* przerwij = nullptr);
// The same over triangles of their own (pieces of a computation).
TIndeksWysokosci ZbudujIndeksWysokosci(const std::vector<TTrojkatRogi>& trojkaty, double dx = 0, double dy = 0,
                                       double dz = 0, const std::atomic<bool>* przerwij = nullptr);

// Z(x, y): the height of the plane of the triangle whose plan contains the
// point (local coordinates); where several do, the highest; none outside every triangle.
std::optional<double> Wysokosc(const TIndeksWysokosci& indeks, double x, double y);
// The road surface's height at a local plan point: the design surface's, else the ground's.
// The one rule of the road's height: the driver's eye, the posts and the sight check use it.
std::optional<double> WysokoscDrogi(double x, double y, const TIndeksWysokosci& proj, const TIndeksWysokosci& teren);
// The same in the file's coordinates: plan point and height both.
std::optional<double> WysokoscWPliku(const TIndeksWysokosci& indeks, double xPliku, double yPliku);

// Where a segment first goes below the surface.
struct TPunktPodPowierzchnia {
    double t = 0;                // parameter along the segment, 0 at its start, 1 at its end
    TPunkt3D Punkt;              // the segment's point there (local coordinates)
    std::int32_t NumerTrojkata;  // the triangle it goes under (index in the set's Trojkaty)
};

// Does the straight segment a-b (local coordinates) pass below the surface
// (by more than TolerancjaWysokosci) anywhere strictly between its ends?
// The answer is exact against the triangles: the first such point, where the
// segment meets the surface on its way down (t = 0 when it starts below),
// or nothing. Ends on or below the surface alone do not count.
std::optional<TPunktPodPowierzchnia> PierwszyPunktPodPowierzchnia(const TIndeksWysokosci& indeks, const TPunkt3D& a,
                                                                  const TPunkt3D& b);

// Both sets' indices over these meshes with the shift (dx, dy, dz): the
// larger set's in this thread, the other's in a second one at once. A failed
// build (out of memory) raises BladKonwersji when both have ended; a stopped
// one (`przerwij`) TBudowaPrzerwana.
TIndeksyWysokosci IndeksyZSiatek(const TSiatka& proj, const TSiatka& teren, double dx, double dy, double dz,
                                 const std::atomic<bool>* przerwij = nullptr);

// The indices for the meshes of project `p`. A load only marks them
// (OznaczIndeksyDoZbudowania); the first question builds both (IndeksyZSiatek
// with the load's shift: the route's Dx, Dy and the lowest height of TEREN's
// range), so a load that never asks for a height (a report, a picture, a
// conversion) neither waits for them nor holds their memory. Several threads
// may ask at once: one builds, the others wait for it. A build that fails
// raises BladKonwersji to the one who asked; the indices stay empty and the
// build is not tried again until the next load. A long analysis takes the
// indices once, when it starts, and keeps them: a load meanwhile swaps in new
// ones and does not touch those.
TIndeksyWysokosci IndeksyWysokosci(const TProjekt& p);
// Empties both indices and marks them to be built from the project's meshes
// when first asked for (the meshes have just changed).
void OznaczIndeksyDoZbudowania(TProjekt& p);
// The same with another build (the tests give one that fails).
void OznaczIndeksyDoZbudowania(TProjekt& p, std::function<TIndeksyWysokosci()> budowa);
// Builds the marked indices now (the window does it while its load's
// progress is shown, so that the first position's heights do not wait).
// Raises BladKonwersji as IndeksyWysokosci does.
void ZbudujIndeksyWysokosci(const TProjekt& p);
// Puts these indices in place of both (scenes that build their own).
void UstawIndeksyWysokosci(TProjekt& p, TIndeksWysokosci proj, TIndeksWysokosci teren);

// The build in a second thread, for the window: it shows the picture of a
// load at once while the indices are built beside it.
//
// ZbudujIndeksyWTle starts building the project's marked indices in a second
// thread and returns at once (nothing when they are built already). The build
// reads the project's meshes in place: a copy or move into or out of the
// project, a load into it or its end stop the build first (TPamiecIndeksow),
// so it never reads meshes that change or are gone, and the indices it makes
// are never those of other meshes. Meanwhile IndeksyWysokosci and the other
// questions wait for it; BudowaIndeksowTrwa says whether they would.
// ZakonczBudoweIndeksow waits for its end and raises its failure
// (BladKonwersji) once; the indices are then empty until the next load, as
// after a failed build on a question. PorzucBudoweIndeksow (model/Projekt.h)
// stops it. Only the thread that started it ends or stops it.
//
// `budowa`, when given, builds instead of IndeksyZSiatek (the tests give a
// slow one); it should raise TBudowaPrzerwana soon after its flag is set.
using TBudowaIndeksow = std::function<TIndeksyWysokosci(const TProjekt& p, const std::atomic<bool>& przerwij)>;
void ZbudujIndeksyWTle(const TProjekt& p, TBudowaIndeksow budowa = nullptr);
bool BudowaIndeksowTrwa(const TProjekt& p);
void ZakonczBudoweIndeksow(const TProjekt& p);

// Empties both indices (the project's meshes were emptied).
void WyczyscIndeksyWysokosci(TProjekt& p);
