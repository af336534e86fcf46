// Placing the view: the render arrays rebuilt from the meshes with every
// vertex placed for the view at a chainage, the driver's view or the general
// view of the whole scene; blocks of the meshes outside the depth band are
// skipped.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>

#include "common/Rownolegle.h"
#include "render/KrokiWidoku.h"

using namespace widok;

// ---- Placing the view ----

void UmiescNaTrasie() {
    // Move, zoom and turn, each vertex through the three steps in one pass;
    // the totals the separate operations would add up are set back to 0 below.
    const double srodek = Rzut.PolEkranX;
    const TPrzesuniecie przesuniecie{srodek - Rzut.TrasaX, -Rzut.TrasaY, 0.0};
    const TSkalowanie skalowanie{srodek, 0.0, 0.0, Rzut.skala};
    const TObrot obrot(srodek, 0.0, 0.0, kPi / 2 - Rzut.katT, 0.0, 0.0);
    KazdyWierzcholek([&](TPunkt3D& p) {
        przesuniecie(p);
        skalowanie(p);
        obrot(p);
    });
    TnijWidok();
    PrzeliczRzut();
    Rzut.PrzesunX = Rzut.PrzesunY = Rzut.PrzesunZ = 0.0;
    Rzut.ObrotX = Rzut.ObrotY = Rzut.ObrotZ = 0.0;
    Rzut.WidokKierowcy = false;
    Rzut.PochylenieOka = 0.0;
    Rzut.PrzechylenieOka = 0.0;
}

namespace {

// The driver's placing as one step of each vertex: move the eye to the
// origin, zoom by k, turn the direction of travel to +Y, tilt the grade up to
// level, move the origin to the observer. The turns are exact (no angle is
// too small to apply), so the picture changes smoothly with the chainage.
struct TKrokOka {
    double k, ex, ey, ez, c1, s1, c3, s3, ox, oy, oz;
    // The roll about the line of sight (none: the level view, untouched).
    bool przechyl = false;
    double c4 = 1, s4 = 0;
    void operator()(TPunkt3D& p) const {
        const double x = (p.X - ex) * k, y = (p.Y - ey) * k, z = (p.Z - ez) * k;
        const double x1 = x * c1 - y * s1, y1 = x * s1 + y * c1;
        const double z2 = y1 * s3 + z * c3;
        p.Y = oy + (y1 * c3 - z * s3);
        if (przechyl) {
            p.X = ox + (x1 * c4 - z2 * s4);
            p.Z = oz + (x1 * s4 + z2 * c4);
        } else {
            p.X = ox + x1;
            p.Z = oz + z2;
        }
    }
};

// Where the boxes of a mesh's blocks are kept: TEREN's, the design surface's.
TBlokiSiatki& PamiecBlokow(const TSiatka& siatka) {
    return &siatka != &TEREN ? BuforyWidoku.BlokiPROJ : BuforyWidoku.BlokiTEREN;
}

// The boxes of the set's blocks kept in `b`, made when missing (see
// TBlokiSiatki); none when the skipping is off.
const std::vector<TPudelkoBloku>* BlokiSiatki(const TSiatka& siatka, TBlokiSiatki& b) {
    const std::size_t rozmiar = BuforyWidoku.RozmiarBloku;
    if (rozmiar == 0) return nullptr;
    const std::vector<TTrojkat>& t = siatka.Trojkaty;
    if (b.Dane == t.data() && b.IleTrojkatow == t.size() && b.Rozmiar == rozmiar) return &b.Pudelka;
    b.Pudelka.assign((t.size() + rozmiar - 1) / rozmiar, TPudelkoBloku{});
    NaDwochWatkach(
        b.Pudelka.size(),
        [&](std::size_t od, std::size_t do_) {
            for (std::size_t k = od; k < do_; ++k) {
                TPudelkoBloku& p = b.Pudelka[k];
                double x0 = HUGE_VAL, y0 = HUGE_VAL, z0 = HUGE_VAL, x1 = -HUGE_VAL, y1 = -HUGE_VAL, z1 = -HUGE_VAL;
                bool skonczone = true;
                for (std::size_t i = k * rozmiar; i < std::min(t.size(), (k + 1) * rozmiar); ++i) {
                    const TTrojkatRogi r = Rogi(siatka, t[i]);
                    for (const double* v : {&r.X1, &r.X2, &r.X3}) x0 = std::min(x0, *v), x1 = std::max(x1, *v);
                    for (const double* v : {&r.Y1, &r.Y2, &r.Y3}) y0 = std::min(y0, *v), y1 = std::max(y1, *v);
                    for (const double* v : {&r.Z1, &r.Z2, &r.Z3}) z0 = std::min(z0, *v), z1 = std::max(z1, *v);
                    skonczone = skonczone &&
                                std::isfinite(r.X1 + r.X2 + r.X3 + r.Y1 + r.Y2 + r.Y3 + r.Z1 + r.Z2 + r.Z3);
                }
                p = {x0, y0, z0, x1, y1, z1, skonczone && std::isfinite(x0 + y0 + z0 + x1 + y1 + z1)};
            }
        },
        64);
    b.Dane = t.data();
    b.IleTrojkatow = t.size();
    b.Rozmiar = rozmiar;
    return &b.Pudelka;
}

// Does the affine step `krok` (a view's placing of a vertex) take every point
// of the box to a depth (Y) at or before cMin, or (with `dalej`) every point
// to a depth at or beyond cMax and beyond cMin? The cuts would then drop each
// of the block's triangles whole. The depths of an affine step over a box are
// extreme at its corners; the margin covers the rounding of the step, so a
// block that only nearly meets the band is placed triangle by triangle.
// The size of the numbers the affine step `krok` works with over the box: its
// value at the origin, its gain along each axis times the box's largest
// coordinate. The margins of PozaPasem and PozaKadrem scale with it.
template <typename Krok>
double SkalaKroku(const TPudelkoBloku& p, const Krok& krok) {
    TPunkt3D o{0, 0, 0}, ex{1, 0, 0}, ey{0, 1, 0}, ez{0, 0, 1};
    krok(o), krok(ex), krok(ey), krok(ez);
    auto dl = [&o](const TPunkt3D& a) { return std::fabs(a.X - o.X) + std::fabs(a.Y - o.Y) + std::fabs(a.Z - o.Z); };
    const double najwieksza = std::max(
        {std::fabs(p.X0), std::fabs(p.X1), std::fabs(p.Y0), std::fabs(p.Y1), std::fabs(p.Z0), std::fabs(p.Z1)});
    return 1.0 + (dl(ex) + dl(ey) + dl(ez)) * najwieksza + std::fabs(o.X) + std::fabs(o.Y) + std::fabs(o.Z);
}

template <typename Krok>
bool PozaPasem(const TPudelkoBloku& p, const Krok& krok, double cMin, double cMax, bool dalej) {
    if (!p.Skonczone) return false;
    double lo = HUGE_VAL, hi = -HUGE_VAL;
    for (int k = 0; k < 8; ++k) {
        TPunkt3D q{k & 1 ? p.X1 : p.X0, k & 2 ? p.Y1 : p.Y0, k & 4 ? p.Z1 : p.Z0};
        krok(q);
        lo = std::min(lo, q.Y);
        hi = std::max(hi, q.Y);
    }
    const double skala = SkalaKroku(p, krok) + std::fabs(lo) + std::fabs(hi) + std::fabs(cMin) + std::fabs(cMax);
    const double m = 1e-9 * skala;
    if (!std::isfinite(m)) return false;
    if (hi <= cMin - m) return true;
    return dalej && lo >= cMax + m && lo >= cMin + m;
}

// Does the affine step `krok` take every point of the box beyond one of the
// picture's planes? Then no triangle of the block lights a pixel of the
// picture. The margin covers the rounding of the step, as PozaPasem's does.
template <typename Krok>
bool PozaKadrem(const TPudelkoBloku& p, const Krok& krok, const TPlaszczyznyKadru& kadr) {
    if (!p.Skonczone || !kadr.Jest) return false;
    TPunkt3D q[8];
    double najwiekszaPo = 0.0;
    for (int k = 0; k < 8; ++k) {
        q[k] = {k & 1 ? p.X1 : p.X0, k & 2 ? p.Y1 : p.Y0, k & 4 ? p.Z1 : p.Z0};
        krok(q[k]);
        najwiekszaPo = std::max({najwiekszaPo, std::fabs(q[k].X), std::fabs(q[k].Y), std::fabs(q[k].Z)});
    }
    const double skala = SkalaKroku(p, krok) + najwiekszaPo;
    const double m = 1e-9 * skala;
    if (!std::isfinite(m)) return false;
    return kadr.Poza(q, 8, m);
}

// Runs `rekord(i, dalej)` on every mesh triangle i of the set and gathers
// what it hands to `dalej`, in mesh order, into `dolna` followed by `gorna`.
// The blocks for which `pominBlok(box)` says so are passed over (their
// triangles would give nothing). The blocks left are split into two runs of
// about as many triangles each, which go at once in two threads when they
// are many: the lower run's records into `dolna`, the upper run's into
// `gorna` (empty when there is one run). A view keeps the mesh near the eye,
// which may lie wholly within one half of the mesh's order: split by what is
// left, the work keeps both cores busy. With `kody`, each run also writes
// the sort code of each record's driver's key (KluczOko) into kody[0] or
// kody[1], for the depth sort.
template <typename Rekord, typename PominBlok>
void ZSiatki(const TSiatka& siatka, TBlokiSiatki& pamiecBlokow, std::vector<TTrojkatRys>& dolna,
             std::vector<TTrojkatRys>& gorna, std::vector<std::uint32_t>* kody, Rekord rekord, PominBlok pominBlok) {
    const std::size_t n = siatka.Trojkaty.size();
    const std::vector<TPudelkoBloku>* bloki = BlokiSiatki(siatka, pamiecBlokow);
    const std::size_t rozmiar = bloki ? BuforyWidoku.RozmiarBloku : std::max<std::size_t>(n, 1);
    const std::size_t ileBlokow = (n + rozmiar - 1) / rozmiar;
    // Each block's verdict, the boxes looked at in two threads on a large mesh.
    std::vector<char>& pominiety = BuforyWidoku.PominieteBloki;
    pominiety.assign(ileBlokow, 0);
    if (bloki)
        NaDwochWatkach(
            ileBlokow,
            [&](std::size_t od, std::size_t do_) {
                for (std::size_t k = od; k < do_; ++k) pominiety[k] = pominBlok((*bloki)[k]) ? 1 : 0;
            },
            4096);
    std::vector<std::uint32_t>& zostale = BuforyWidoku.BlokiDoUmieszczenia;
    zostale.clear();
    std::size_t ile = 0;
    for (std::size_t k = 0; k < ileBlokow; ++k)
        if (!pominiety[k]) {
            zostale.push_back(static_cast<std::uint32_t>(k));
            ile += std::min(n, (k + 1) * rozmiar) - k * rozmiar;
        }
    // The upper run starts at the first block past half of the triangles left.
    std::size_t podzial = zostale.size();
    if (ile >= BuforyWidoku.ProgDwochWatkow) {
        std::size_t dotad = 0;
        for (podzial = 0; podzial < zostale.size() && 2 * dotad < ile; ++podzial) {
            const std::size_t k = zostale[podzial];
            dotad += std::min(n, (k + 1) * rozmiar) - k * rozmiar;
        }
    }
    auto przebieg = [&](std::size_t od, std::size_t do_, std::size_t czesc) {
        std::vector<TTrojkatRys>& wynik = czesc == 0 ? dolna : gorna;
        auto zbieraj = [&](auto dalej) {
            for (std::size_t j = od; j < do_; ++j) {
                const std::size_t k = zostale[j];
                for (std::size_t i = k * rozmiar, koniec = std::min(n, (k + 1) * rozmiar); i < koniec; ++i)
                    rekord(i, dalej);
            }
        };
        if (kody) {
            std::vector<std::uint32_t>& k = kody[czesc];
            k.clear();
            zbieraj([&wynik, &k](const TTrojkatRys& r) {
                wynik.push_back(r);
                k.push_back(sortowanie::KodMalejaco(r.KluczOko));
            });
        } else {
            zbieraj([&wynik](const TTrojkatRys& r) { wynik.push_back(r); });
        }
    };
    dolna.clear();
    gorna.clear();
    if (kody) kody[1].clear();
    if (podzial >= zostale.size()) {
        przebieg(0, zostale.size(), 0);
        return;
    }
    NaDwochWatkach(
        2,
        [&](std::size_t od, std::size_t do_) {
            for (std::size_t czesc = od; czesc < do_; ++czesc)
                przebieg(czesc == 0 ? 0 : podzial, czesc == 0 ? podzial : zostale.size(), czesc);
        },
        2);
}

// Rebuilds a set's render array from its mesh with every vertex placed, and
// cuts it: a triangle wholly at or before the near depth, or wholly at or
// beyond the far one, is not kept at all (the cut would drop it whole), the
// rest goes through the cut; then sorts it farthest from the eye first. The
// result is that of the rebuild, the placing, the cut and the sort one after
// the other, without making and moving the records the cut throws away; a
// large set in two threads (ZSiatki and SortujCzesciWOku keep the order).
// `teren`: the set is ground (TEREN or the coarse far ground), coloured and
// keyed as ground; its blocks' boxes are kept in `pamiecBlokow`.
void PrzygotujWOku(const TSiatka& siatka, bool teren, TBlokiSiatki& pamiecBlokow, std::vector<TTrojkatRys>& cel,
                   const TKrokOka& krok, double cMin, double cMax, const TPrzytnijTeren& przytnij,
                   const TPlaszczyznyKadru& kadr) {
    // The PROJ triangles marked by the sight check keep their colour here too.
    std::vector<char> wyroznione;
    if (!teren && !WyroznionePROJ.empty()) {
        wyroznione.assign(siatka.Trojkaty.size(), 0);
        for (std::int32_t i : WyroznionePROJ)
            if (i >= 0 && static_cast<std::size_t>(i) < wyroznione.size()) wyroznione[static_cast<std::size_t>(i)] = 1;
    }
    TBuforyWidoku& b = BuforyWidoku;
    ZSiatki(
        siatka, pamiecBlokow, b.Dolna, b.Trojkaty, b.KodyCzesci,
        [&](std::size_t nr, auto& dalej) {
            const TTrojkatRogi t = Rogi(siatka, nr);
            // The slope classes' colours of the design surface too.
            const bool klasa = !teren && nr < KoloryPROJ.size() && KoloryPROJ[nr] != KolorWlasny;
            const TKolor kolor = (!wyroznione.empty() && wyroznione[nr]) ? KolorWyroznienia
                                 : klasa                                 ? KoloryPROJ[nr]
                                                                         : KolorRodzaju(t.Rodzaj.Kod, !teren);
            // A triangle (or a piece of it) placed; false when it does not reach into the depth band.
            auto umiesc = [&](const TTrojkatRogi& q, TTrojkatRys& r) {
                r.P1 = {q.X1, q.Y1, q.Z1};
                r.P2 = {q.X2, q.Y2, q.Z2};
                r.P3 = {q.X3, q.Y3, q.Z3};
                krok(r.P1);
                krok(r.P2);
                krok(r.P3);
                return (r.P1.Y > cMin || r.P2.Y > cMin || r.P3.Y > cMin) &&
                       (r.P1.Y < cMax || r.P2.Y < cMax || r.P3.Y < cMax);
            };
            // A placed record in the band, coloured and cut.
            auto tnij = [&](TTrojkatRys& r) {
                r.Kolor = kolor;
                r.KolorObrysu = r.KolorCieniowany = 0x808080u;
                // TnijObie's cuts of the record: the near one, then the far one of
                // each piece; a piece beside the picture is not kept. What is kept
                // gets its depth key and its shade here, while it is at hand (in
                // two threads), as the sort and the shading pass would give it.
                auto wKadrze = [&](const TTrojkatRys& w) {
                    if (kadr.Poza(w.P1, w.P2, w.P3)) return;
                    TTrojkatRys c = w;
                    c.KluczOko = teren ? KluczOkoTerenu(c) : KluczOkoTrojkata(c);
                    CieniujTrojkat(c);
                    dalej(c);
                };
                TnijRekord<true>(r, cMin, true,
                                 [&](const TTrojkatRys& w) { TnijRekord<false>(w, cMax, true, wKadrze); });
            };
            TTrojkatRys r;
            if (!umiesc(t, r)) return;
            if (przytnij) {
                std::vector<TTrojkatRogi> kawalki;
                if (przytnij(nr, kawalki)) {
                    for (const TTrojkatRogi& q : kawalki) {
                        TTrojkatRys k;
                        if (umiesc(q, k)) tnij(k);
                    }
                    return;
                }
            }
            tnij(r);
        },
        [&](const TPudelkoBloku& p) { return PozaPasem(p, krok, cMin, cMax, true) || PozaKadrem(p, krok, kadr); });
    SortujCzesciWOku(cel, b.Dolna, b.Trojkaty, b.KodyCzesci[0], b.KodyCzesci[1]);
}

}  // namespace

namespace {

// The driver's placing of a vertex for an eye at `oko` looking along the
// bearing `kierunek`, tilted by the grade `pochylenie` and rolled for the
// cross-fall `przechylenie`, with the zoom and observer of Rzut.
TKrokOka KrokOka(const TPunkt3D& oko, double kierunek, double pochylenie, double przechylenie) {
    const double a = kPi / 2 - kierunek, b = -std::atan(pochylenie), k = Rzut.skala;
    // Rolled by -atan(przechylenie), a surface rising przechylenie to the right looks level.
    const double r = -std::atan(przechylenie);
    return {k,           oko.X,     oko.Y,     oko.Z,     std::cos(a),         std::sin(a), std::cos(b),
            std::sin(b), Rzut.OkoX, Rzut.OkoY, Rzut.OkoZ, przechylenie != 0.0, std::cos(r), std::sin(r)};
}

}  // namespace

TPunkt3D PunktWOku(const TPunkt3D& p, const TPunkt3D& oko, double kierunek, double pochylenie, double przechylenie) {
    TPunkt3D q = p;
    KrokOka(oko, kierunek, pochylenie, przechylenie)(q);
    return q;
}

void UmiescWOku(const TPunkt3D& oko, double kierunek, double pochylenie, double bliska, double daleka,
                const TPrzytnijTeren& przytnijTeren, const TKadr& kadr, double przechylenie,
                const TTerenDalekiOka& daleki) {
    const double k = Rzut.skala;
    const TKrokOka krok = KrokOka(oko, kierunek, pochylenie, przechylenie);
    // Everything at or behind the near depth goes, whatever TnijTroj says:
    // the projection mirrors what lies behind the eye.
    const double cMin = Rzut.OkoY + bliska * k, cMax = Rzut.OkoY + daleka * k;
    // (The planes only where every kept point lies well in front of the eye:
    // the projection puts a point within 0.0001 of the eye's depth on column 0.)
    const TPlaszczyznyKadru plaszczyzny = (cMin - Rzut.OkoY) * -Rzut.OkoY >= 1.0
                                              ? PlaszczyznyKadru(kadr, Rzut.OkoX, Rzut.OkoY, Rzut.OkoZ)
                                              : TPlaszczyznyKadru{};
    TBuforyWidoku& b = BuforyWidoku;
    if (daleki.Siatka && daleki.Od < daleka) {
        // The full mesh to the far ground's depth, the far ground from a little before it on, each sorted, then
        // the two merged in one depth order (equal keys: the far ground first, as it lies beyond).
        const double cDaleki = Rzut.OkoY + daleki.Od * k;
        const double cOd = Rzut.OkoY + std::max(bliska, daleki.Od - daleki.Zakladka) * k;
        PrzygotujWOku(TEREN, true, b.BlokiTEREN, TrojkatyTEREN, krok, cMin, cDaleki, przytnijTeren, plaszczyzny);
        PrzygotujWOku(*daleki.Siatka, true, b.BlokiDalekie, b.TerenDaleki, krok, cOd, cMax, {}, plaszczyzny);
        std::vector<TTrojkatRys>& razem = b.Trojkaty;
        razem.resize(TrojkatyTEREN.size() + b.TerenDaleki.size());
        std::merge(b.TerenDaleki.begin(), b.TerenDaleki.end(), TrojkatyTEREN.begin(), TrojkatyTEREN.end(),
                   razem.begin(), [](const TTrojkatRys& x, const TTrojkatRys& y) {
                       return sortowanie::KodMalejaco(x.KluczOko) < sortowanie::KodMalejaco(y.KluczOko);
                   });
        TrojkatyTEREN.swap(razem);
    } else {
        PrzygotujWOku(TEREN, true, b.BlokiTEREN, TrojkatyTEREN, krok, cMin, cMax, przytnijTeren, plaszczyzny);
    }
    const TSiatka& proj = ProjRysowany();
    PrzygotujWOku(proj, false, PamiecBlokow(proj), TrojkatyPROJ, krok, cMin, cMax, {}, plaszczyzny);
    for (auto& r : Czworokaty) {
        krok(r.P1);
        krok(r.P2);
        krok(r.P3);
        krok(r.P4);
    }
    for (auto& r : TrojkatySlupkow) {
        krok(r.P1);
        krok(r.P2);
        krok(r.P3);
    }
    for (auto& n : NapisySlupkow) krok(n.P);
    TnijObie(TrojkatySlupkow, cMin, cMax, true);
    TnijNapisy(cMin, cMax);
    // The sets' keys and shades were made with their records, and the sets sorted.
    KorektaLOkoSlupkow();
    for (auto& r : Czworokaty) CieniujCzworokat(r);
    for (auto& r : TrojkatySlupkow) CieniujTrojkat(r);
    Rzut.PrzesunX = Rzut.PrzesunY = Rzut.PrzesunZ = 0.0;
    Rzut.ObrotX = Rzut.ObrotY = Rzut.ObrotZ = 0.0;
    Rzut.WidokKierowcy = true;
    Rzut.PochylenieOka = pochylenie;
    Rzut.PrzechylenieOka = przechylenie;
}

void UmiescNaTrasieZSiatek() {
    const double srodek = Rzut.PolEkranX;
    const TPrzesuniecie przesuniecie{srodek - Rzut.TrasaX, -Rzut.TrasaY, 0.0};
    const TSkalowanie skalowanie{srodek, 0.0, 0.0, Rzut.skala};
    const TObrot obrot(srodek, 0.0, 0.0, kPi / 2 - Rzut.katT, 0.0, 0.0);
    auto umiesc = [&](TPunkt3D& p) {
        przesuniecie(p);
        skalowanie(p);
        obrot(p);
    };
    const bool tnij = Rzut.TnijTroj;
    const double cMin = Rzut.OdlTnijYmin, cMax = Rzut.OdlTnijYmax;
    for (const TSiatka* siatka : {static_cast<const TSiatka*>(&TEREN), &ProjRysowany()}) {
        const bool proj = siatka != &TEREN;
        const std::vector<bool> wyroznione = WyroznioneTrojkaty(*siatka, proj);
        std::vector<TTrojkatRys>& cel = proj ? TrojkatyPROJ : TrojkatyTEREN;
        std::vector<TTrojkatRys>& gorna = BuforyWidoku.Trojkaty;
        ZSiatki(
            *siatka, PamiecBlokow(*siatka), cel, gorna, nullptr,
            [&](std::size_t i, auto& dalej) {
                TTrojkatRys r = TrojkatDoRysowania(*siatka, i, KolorTrojkata(*siatka, proj, i, wyroznione));
                umiesc(r.P1);
                umiesc(r.P2);
                umiesc(r.P3);
                auto cieniuj = [&dalej](const TTrojkatRys& kawalek) {
                    TTrojkatRys c = kawalek;
                    CieniujTrojkat(c);
                    dalej(c);
                };
                // TnijWidok's cuts of the record.
                if (tnij)
                    TnijRekord<true>(r, cMin, true,
                                     [&](const TTrojkatRys& q) { TnijRekord<false>(q, cMax, true, cieniuj); });
                else
                    TnijRekord<true>(r, -1000.0, false, cieniuj);
            },
            [&](const TPudelkoBloku& p) { return PozaPasem(p, umiesc, tnij ? cMin : -1000.0, cMax, tnij); });
        cel.insert(cel.end(), gorna.begin(), gorna.end());
    }
    for (auto& r : Czworokaty) {
        umiesc(r.P1);
        umiesc(r.P2);
        umiesc(r.P3);
        umiesc(r.P4);
        CieniujCzworokat(r);
    }
    // The station posts and their labels, few, placed and cut as UmiescNaTrasie does.
    for (auto& r : TrojkatySlupkow) {
        umiesc(r.P1);
        umiesc(r.P2);
        umiesc(r.P3);
    }
    for (auto& n : NapisySlupkow) umiesc(n.P);
    if (tnij) {
        TnijObie(TrojkatySlupkow, cMin, cMax);
        TnijNapisy(cMin, cMax);
    } else {
        Tnij<true>(TrojkatySlupkow, -1000.0);
        TnijNapisy(-1000.0, HUGE_VAL);
    }
    for (auto& r : TrojkatySlupkow) CieniujTrojkat(r);
    Rzut.PrzesunX = Rzut.PrzesunY = Rzut.PrzesunZ = 0.0;
    Rzut.ObrotX = Rzut.ObrotY = Rzut.ObrotZ = 0.0;
    Rzut.WidokKierowcy = false;
    Rzut.PochylenieOka = 0.0;
    Rzut.PrzechylenieOka = 0.0;
}

void SkalujICieniujZSiatek(double k) {
    const TSkalowanie skalowanie{0.0, 0.0, 0.0, k};
    for (TSiatka* siatka : {&TEREN, &PROJ}) {
        std::vector<TTrojkatRys>& cel = siatka == &PROJ ? TrojkatyPROJ : TrojkatyTEREN;
        const std::vector<bool> wyroznione = WyroznioneTrojkaty(*siatka, siatka == &PROJ);
        PowiekszNaDwochWatkach(cel, siatka->Trojkaty.size());
        NaDwochWatkach(cel.size(), [&](std::size_t od, std::size_t do_) {
            for (std::size_t i = od; i < do_; ++i) {
                TTrojkatRys r = TrojkatDoRysowania(*siatka, i, KolorTrojkata(*siatka, siatka == &PROJ, i, wyroznione));
                skalowanie(r.P1);
                skalowanie(r.P2);
                skalowanie(r.P3);
                CieniujTrojkat(r);
                cel[i] = r;
            }
        });
    }
    for (auto& r : Czworokaty) {
        skalowanie(r.P1);
        skalowanie(r.P2);
        skalowanie(r.P3);
        skalowanie(r.P4);
        CieniujCzworokat(r);
    }
}

namespace {

bool SaTrojkatySiatek() { return TEREN.IleTrojkatow() >= 1 || PROJ.IleTrojkatow() >= 1; }

}  // namespace

const TSiatka& ProjRysowany() { return PowierzchniaProjektowa(ProjektOkna); }

bool UmiescWPunkcieTrasy() {
    if (!SaTrojkatySiatek() && ProjRysowany().Trojkaty.empty()) return false;
    UmiescNaTrasieZSiatek();
    return true;
}

bool WidokOgolny() {
    if (!SaTrojkatySiatek()) return false;
    WyczyscSlupki();
    SkalujICieniujZSiatek(4.0);
    return true;
}
