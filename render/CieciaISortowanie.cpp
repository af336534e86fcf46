// Cutting of the triangle arrays at a near and a far depth, and the depth
// sorts that put the render arrays into far-to-near order. Every operation is
// one pass over the arrays; the result is built in a buffer that is kept from
// call to call and then swapped with the array, so no record is allocated on
// its own.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>

#include "common/Rownolegle.h"
#include "render/KrokiWidoku.h"

TBuforyWidoku BuforyWidoku;

void ZwolnijBuforyWidoku() { BuforyWidoku = TBuforyWidoku{}; }

void WyczyscBlokiSiatek() {
    BuforyWidoku.BlokiTEREN = BuforyWidoku.BlokiPROJ = BuforyWidoku.BlokiDalekie = TBlokiSiatki{};
}

namespace widok {

std::vector<TTrojkatRys>& Bufor(const std::vector<TTrojkatRys>&) { return BuforyWidoku.Trojkaty; }
std::vector<TCzworokatRys>& Bufor(const std::vector<TCzworokatRys>&) { return BuforyWidoku.Czworokaty; }

float KluczYminTrojkata(const TTrojkatRys& r) {
    const double m = std::min({r.P1.Y, r.P2.Y, r.P3.Y});
    return static_cast<float>(m + 0.3 * ((r.P1.Y - m) + (r.P2.Y - m) + (r.P3.Y - m)) -
                              0.1 * (r.P1.Z + r.P2.Z + r.P3.Z));
}

float KluczOkoTrojkata(const TTrojkatRys& r) {
    const double gx = (r.P1.X + r.P2.X + r.P3.X) / 3.0;
    const double gy = (r.P1.Y + r.P2.Y + r.P3.Y) / 3.0;
    const double gz = (r.P1.Z + r.P2.Z + r.P3.Z) / 3.0;
    const double dx = gx - Rzut.OkoX, dy = gy - Rzut.OkoY, dz = gz - Rzut.OkoZ;
    return static_cast<float>(std::sqrt(dx * dx + dy * dy + dz * dz));
}

float KluczYminCzworokata(const TCzworokatRys& r) {
    const double m = std::min({r.P1.Y, r.P2.Y, r.P3.Y, r.P4.Y});
    return static_cast<float>(m + 0.3 * ((r.P1.Y - m) + (r.P2.Y - m) + (r.P3.Y - m) + (r.P4.Y - m)));
}

void KorektaYminZbioru(std::vector<TTrojkatRys>& tab) {
    for (auto& r : tab) r.KluczYmin = KluczYminTrojkata(r);
    Sortuj(tab, [](const TTrojkatRys& r) { return r.KluczYmin; });
}

void KorektaLOkoZbioru(std::vector<TTrojkatRys>& tab) {
    for (auto& r : tab) r.KluczOko = KluczOkoTrojkata(r);
    Sortuj(tab, [](const TTrojkatRys& r) { return r.KluczOko; });
}

void TnijObie(std::vector<TTrojkatRys>& tab, double cMin, double cMax, bool tnij) {
    auto& wynik = BuforyWidoku.Trojkaty;
    wynik.clear();
    wynik.reserve(tab.size() + tab.size() / 8);
    auto doWyniku = [&wynik](const TTrojkatRys& r) { wynik.push_back(r); };
    for (const TTrojkatRys& zr : tab)
        TnijRekord<true>(zr, cMin, tnij, [&](const TTrojkatRys& r) { TnijRekord<false>(r, cMax, tnij, doWyniku); });
    OddajWynik(tab, wynik);
}

// The station labels whose anchor lies between the two depths.
void TnijNapisy(double cMin, double cMax) {
    std::erase_if(NapisySlupkow, [=](const TNapisRys& n) { return !(n.P.Y > cMin && n.P.Y < cMax); });
}

// The driver's depth key of a ground triangle: the distance of its farthest
// vertex. Ground triangles are large and run under the road; keyed by their
// far end they are drawn before the road that lies on them, while a hill in
// front of the road still comes after the road behind it.
float KluczOkoTerenu(const TTrojkatRys& r) {
    auto d = [](const TPunkt3D& p) {
        const double dx = p.X - Rzut.OkoX, dy = p.Y - Rzut.OkoY, dz = p.Z - Rzut.OkoZ;
        return dx * dx + dy * dy + dz * dz;
    };
    return static_cast<float>(std::sqrt(std::max({d(r.P1), d(r.P2), d(r.P3)})));
}

}  // namespace widok

using namespace widok;

std::vector<TTrojkatRys>& TrojkatyZbioru(TZbior zbior) { return zbior == TZbior::TEREN ? TrojkatyTEREN : TrojkatyPROJ; }

TPunkt3D PunktNaGlebokosci(const TPunkt3D& a, const TPunkt3D& b, double c) {
    const double d = b.Y - a.Y;
    if (!(std::fabs(d) > 0.001)) return a;
    TPunkt3D p = a + (b - a) * ((c - a.Y) / d);
    p.Y = c;
    return p;
}

TTrojkatRys ObrocWierzcholki(const TTrojkatRys& r, int k) {
    TTrojkatRys w = r;
    if (k == 1) {
        w.P1 = r.P3;
        w.P2 = r.P1;
        w.P3 = r.P2;
    } else if (k == 2) {
        w.P1 = r.P2;
        w.P2 = r.P3;
        w.P3 = r.P1;
    }
    return w;
}

double PolePoziome(const TTrojkatRys& r) {
    return 0.5 * std::fabs((r.P2.X - r.P1.X) * (r.P3.Y - r.P1.Y) - (r.P3.X - r.P1.X) * (r.P2.Y - r.P1.Y));
}

void TnijYmin(TZbior zbior, double c) { Tnij<true>(TrojkatyZbioru(zbior), c); }

void TnijYmax(TZbior zbior, double c) { Tnij<false>(TrojkatyZbioru(zbior), c); }

void TnijWidok() {
    if (Rzut.TnijTroj) {
        // Near cut of PROJ and TEREN, then far cut of both: each set is cut
        // on its own, so both cuts of one set go in one pass.
        TnijObie(TrojkatyPROJ, Rzut.OdlTnijYmin, Rzut.OdlTnijYmax);
        TnijObie(TrojkatyTEREN, Rzut.OdlTnijYmin, Rzut.OdlTnijYmax);
        TnijObie(TrojkatySlupkow, Rzut.OdlTnijYmin, Rzut.OdlTnijYmax);
        TnijNapisy(Rzut.OdlTnijYmin, Rzut.OdlTnijYmax);
    } else {
        TnijYmin(TZbior::PROJ, -1000.0);
        TnijYmin(TZbior::TEREN, -1000.0);
        Tnij<true>(TrojkatySlupkow, -1000.0);
        TnijNapisy(-1000.0, HUGE_VAL);
    }
}

void KorektaYmin() {
    KorektaYminZbioru(TrojkatyPROJ);
    KorektaYminZbioru(TrojkatyTEREN);
}
void KorektaLOko() {
    KorektaLOkoZbioru(TrojkatyPROJ);
    KorektaLOkoZbioru(TrojkatyTEREN);
}

void KorektaLOkoSlupkow() { KorektaLOkoZbioru(TrojkatySlupkow); }

namespace {

// What SortujPary gives for the pairs a[0, n) (ascending codes, equal codes
// keeping their order), in two threads: each pass scatters the array's two
// halves at once, the lower half's pairs of each digit value placed before
// the upper half's, so the order is the one thread's. Each scatter counts the
// next pass's digits of its pairs by the half of the array they land in.
void SortujParyWDwochWatkach(std::vector<sortowanie::TPara<std::uint32_t>>& a,
                             std::vector<sortowanie::TPara<std::uint32_t>>& b, std::size_t n,
                             std::vector<std::uint32_t>& liczniki) {
    constexpr unsigned kBity = 11, kPrzebiegi = 3;
    constexpr std::uint32_t kMaska = (1u << kBity) - 1;
    constexpr std::size_t kCyfry = std::size_t{1} << kBity;
    const std::size_t polowa = n / 2;
    // l(w, h): the digits counted by thread w of the pairs in half h.
    liczniki.assign(4 * kCyfry, 0u);
    auto l = [&liczniki](std::size_t w, std::size_t h) { return liczniki.data() + (2 * w + h) * kCyfry; };
    auto odDo = [&](std::size_t w) { return std::pair{w == 0 ? 0 : polowa, w == 0 ? polowa : n}; };
    auto wDwochWatkach = [](auto f) {
        NaDwochWatkach(
            2,
            [&f](std::size_t od, std::size_t do_) {
                for (std::size_t w = od; w < do_; ++w) f(w);
            },
            2);
    };
    // The digits at `sh` of each half, counted where the pairs stand.
    auto policz = [&](unsigned sh) {
        wDwochWatkach([&](std::size_t w) {
            std::fill(l(w, 0), l(w, 0) + 2 * kCyfry, 0u);
            std::uint32_t* c = l(w, w);
            const auto [od, do_] = odDo(w);
            for (std::size_t i = od; i < do_; ++i) ++c[(a[i].Kod >> sh) & kMaska];
        });
    };
    policz(0);
    std::vector<std::uint32_t> miejsca(2 * kCyfry);
    for (unsigned p = 0; p < kPrzebiegi; ++p) {
        const unsigned sh = p * kBity;
        const bool dalej = p + 1 < kPrzebiegi;
        // The first place of each digit value for each half's pairs.
        std::uint32_t suma = 0;
        for (std::size_t d = 0; d < kCyfry; ++d) {
            const std::uint32_t c0 = l(0, 0)[d] + l(1, 0)[d], c1 = l(0, 1)[d] + l(1, 1)[d];
            miejsca[d] = suma;
            miejsca[kCyfry + d] = suma + c0;
            suma += c0 + c1;
        }
        // One digit value for all pairs: this pass would change nothing.
        const std::uint32_t d0 = (a[0].Kod >> sh) & kMaska;
        if (miejsca[kCyfry + d0] - miejsca[d0] + l(0, 1)[d0] + l(1, 1)[d0] == n) {
            if (dalej) policz(sh + kBity);
            continue;
        }
        wDwochWatkach([&](std::size_t w) {
            std::uint32_t* m = miejsca.data() + w * kCyfry;
            // l(w, 0) and then l(w, 1): the half a pair lands in picks the row, without a branch.
            std::uint32_t* c = l(w, 0);
            std::fill(c, c + 2 * kCyfry, 0u);
            const auto [od, do_] = odDo(w);
            for (std::size_t i = od; i < do_; ++i) {
                const sortowanie::TPara<std::uint32_t> q = a[i];
                const std::uint32_t gdzie = m[(q.Kod >> sh) & kMaska]++;
                b[gdzie] = q;
                if (dalej) ++c[(gdzie >= polowa ? kCyfry : 0) + ((q.Kod >> (sh + kBity)) & kMaska)];
            }
        });
        a.swap(b);
    }
}

}  // namespace

void SortujCzesciWOku(std::vector<TTrojkatRys>& cel, const std::vector<TTrojkatRys>& dolna,
                      const std::vector<TTrojkatRys>& gorna, const std::vector<std::uint32_t>& kodyDolnej,
                      const std::vector<std::uint32_t>& kodyGornej) {
    const std::size_t n0 = dolna.size(), n = n0 + gorna.size();
    // The (code, index) pairs over the two runs joined, as SortujMalejaco makes them.
    TBuforKluczy& klucze = BuforyWidoku.Klucze;
    auto& a = klucze.A4;
    auto& b = klucze.B4;
    if (a.size() < n) a.resize(n);
    if (b.size() < n) b.resize(n);
    bool uporzadkowana = true;
    std::uint32_t poprzedni = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint32_t kod = i < n0 ? kodyDolnej[i] : kodyGornej[i - n0];
        uporzadkowana &= kod >= poprzedni;
        poprzedni = kod;
        a[i] = {kod, static_cast<std::uint32_t>(i)};
    }
    if (!uporzadkowana) {
        if (n >= kRekordyNaDwaWatki)
            SortujParyWDwochWatkach(a, b, n, klucze.Liczniki);
        else
            SortujPary(a, b, n, klucze.Liczniki);
    }
    // Every record of cel is written below: only records beyond its old length are made first.
    if (cel.capacity() < n) {
        cel.clear();
        cel.reserve(n + n / 2);
    }
    cel.resize(n);
    NaDwochWatkach(n, [&](std::size_t od, std::size_t do_) {
        // The reads jump about the runs: ask for the records a few steps ahead.
        constexpr std::size_t kNaprzod = 16;
        auto rekord = [&](std::uint32_t j) -> const TTrojkatRys& { return j < n0 ? dolna[j] : gorna[j - n0]; };
        for (std::size_t i = od; i < do_; ++i) {
#if defined(__GNUC__)
            if (i + kNaprzod < do_) __builtin_prefetch(&rekord(a[i + kNaprzod].Indeks));
#endif
            cel[i] = rekord(a[i].Indeks);
        }
    });
}

void SortujCzworokaty() {
    for (auto& r : Czworokaty) r.KluczYmin = KluczYminCzworokata(r);
    Sortuj(Czworokaty, [](const TCzworokatRys& r) { return r.KluczYmin; });
}
