// The rasterizer: see Rasteryzer.h for the sampling rule shared by the fill
// and the lines.
#include "render/Rasteryzer.h"

#include <algorithm>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

using i64 = std::int64_t;
using i128 = __int128;

// Division rounded towards minus infinity (b > 0).
inline i128 FloorDiv(i128 a, i128 b) {
    i128 q = a / b;
    if ((a % b != 0) && (a < 0)) --q;
    return q;
}
// The same in 64 bits, without a branch on the sign (b > 0, |a| < 2^63).
inline i64 FloorDiv64(i64 a, i64 b) {
    const std::uint64_t u = static_cast<std::uint64_t>(a < 0 ? -a : a);
    const std::uint64_t q = u / static_cast<std::uint64_t>(b);
    const bool reszta = q * static_cast<std::uint64_t>(b) != u;
    const i64 dodatnie = static_cast<i64>(q);
    const i64 ujemne = -dodatnie - static_cast<i64>(reszta);
    return a < 0 ? ujemne : dodatnie;
}

inline std::uint32_t* Wiersz(const TBuforPikseli& b, i64 y) {
    return b.Piksele + static_cast<std::ptrdiff_t>(y) * b.Krok;
}

// Columns [x1, x2) of row y, already clipped.
inline void Odcinek(std::uint32_t* wiersz, i64 x1, i64 x2, std::uint32_t piksel) {
    std::uint32_t* p = wiersz + x1;
    const i64 n = x2 - x1;
    if (n <= 8) {
        // Short spans (most of a frame of small triangles): a few overlapping
        // stores instead of a loop whose length the processor cannot guess.
        if (n >= 4) {
#if defined(__SSE2__)
            const __m128i v = _mm_set1_epi32(static_cast<int>(piksel));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p + n - 4), v);
#else
            for (i64 i = 0; i < n; ++i) p[i] = piksel;
#endif
        } else if (n > 0) {
            p[0] = piksel;
            p[n >> 1] = piksel;
            p[n - 1] = piksel;
        }
    } else {
        std::fill(p, p + n, piksel);
    }
}

// Clipped span [x1, x2) of row y.
inline void OdcinekObciety(const TBuforPikseli& b, i64 y, i64 x1, i64 x2, std::uint32_t piksel) {
    if (y < b.Gora || y >= b.Wysokosc) return;
    x1 = std::max<i64>(x1, 0);
    x2 = std::min<i64>(x2, b.Szerokosc);
    if (x1 < x2) Odcinek(Wiersz(b, y), x1, x2, piksel);
}

// One non-horizontal polygon edge walked row by row. At row y (ya <= y < yb)
// C is the first column at or right of the exact crossing, ceil(x(y)), and
// E = (C - x(y)) * dy, 0 <= E < dy, keeps the remainder exact.
struct TKrawedz {
    i64 ya, yb;
    i64 C, E;
    i64 Q, R, Dy;  // dx = Q * dy + R, 0 <= R < dy

    void Krok() {
        E -= R;
        const i64 maska = E >> 63;  // -1 when the remainder went negative
        C += Q - maska;
        E += Dy & maska;
    }
};

// Prepares an edge from (x0, y0) to (x1, y1) for rows from `start` on.
// Returns false for a horizontal edge (it crosses no row).
inline bool PrzygotujKrawedz(TKrawedz& k, i64 x0, i64 y0, i64 x1, i64 y1, i64 start) {
    if (y0 == y1) return false;
    if (y0 > y1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    const i64 dx = x1 - x0, dy = y1 - y0;
    k.ya = y0;
    k.yb = y1;
    k.Dy = dy;
    k.Q = FloorDiv64(dx, dy);
    k.R = dx - k.Q * dy;
    if (start <= y0) {
        k.C = x0;
        k.E = 0;
    } else {
        // The first visible row lies below the edge's top: start there exactly.
        const i128 n = static_cast<i128>(start - y0) * dx;
        const i128 c = -FloorDiv(-n, dy);  // ceil(n / dy)
        k.C = x0 + static_cast<i64>(c);
        k.E = static_cast<i64>(c * dy - n);
        k.ya = start;
    }
    return true;
}

// Even-odd fill of rows [ys, ye) from the prepared edges.
void WypelnijKrawedzie(const TBuforPikseli& b, TKrawedz* kr, int ile, i64 ys, i64 ye, std::uint32_t piksel, i64* xs) {
    const i64 W = b.Szerokosc;
    std::uint32_t* wiersz = Wiersz(b, ys);
    for (i64 y = ys; y < ye; ++y, wiersz += b.Krok) {
        int n = 0;
        for (int i = 0; i < ile; ++i) {
            TKrawedz& k = kr[i];
            if (y >= k.ya && y < k.yb) {
                xs[n++] = k.C;
                k.Krok();
            }
        }
        if (n == 2) {
            i64 a = std::min(xs[0], xs[1]), c = std::max(xs[0], xs[1]);
            a = std::max<i64>(a, 0);
            c = std::min(c, W);
            if (a < c) Odcinek(wiersz, a, c, piksel);
        } else if (n > 2) {
            std::sort(xs, xs + n);
            for (int i = 0; i + 1 < n; i += 2) {
                const i64 a = std::max<i64>(xs[i], 0), c = std::min(xs[i + 1], W);
                if (a < c) Odcinek(wiersz, a, c, piksel);
            }
        }
    }
}

// Bounding box of the vertices.
struct TRamka {
    i64 x0, y0, x1, y1;  // inclusive
};

inline TRamka Ramka(const TPunktEkranu* p, int ile) {
    TRamka r{p[0].X, p[0].Y, p[0].X, p[0].Y};
    for (int i = 1; i < ile; ++i) {
        r.x0 = std::min<i64>(r.x0, p[i].X);
        r.x1 = std::max<i64>(r.x1, p[i].X);
        r.y0 = std::min<i64>(r.y0, p[i].Y);
        r.y1 = std::max<i64>(r.y1, p[i].Y);
    }
    return r;
}

inline bool PozaObrazem(const TBuforPikseli& b, const TRamka& r) {
    return r.x1 < 0 || r.y1 < b.Gora || r.x0 >= b.Szerokosc || r.y0 >= b.Wysokosc;
}

inline bool WObrazie(const TBuforPikseli& b, const TRamka& r) {
    return r.x0 >= 0 && r.y0 >= b.Gora && r.x1 < b.Szerokosc && r.y1 < b.Wysokosc;
}

// Rows [y0, y1) between a left and a right edge.
inline void Pas(const TBuforPikseli& b, TKrawedz& lewa, TKrawedz& prawa, i64 y0, i64 y1, std::uint32_t piksel) {
    const i64 W = b.Szerokosc;
    std::uint32_t* wiersz = Wiersz(b, y0);
    for (i64 y = y0; y < y1; ++y, wiersz += b.Krok) {
        const i64 a = std::max<i64>(lewa.C, 0), c = std::min(prawa.C, W);
        if (a < c) Odcinek(wiersz, a, c, piksel);
        lewa.Krok();
        prawa.Krok();
    }
}

// A triangle: the long edge from the top vertex to the bottom one faces the
// two short edges, so each row is one span with no sorting.
void WypelnijTrojkat(const TBuforPikseli& b, const TPunktEkranu* p, const TRamka& r, std::uint32_t piksel) {
    const i64 ys = std::max<i64>(r.y0, b.Gora);
    const i64 ye = std::min<i64>(r.y1, b.Wysokosc);
    if (ys >= ye) return;
    const TPunktEkranu* A = &p[0];
    const TPunktEkranu* B = &p[1];
    const TPunktEkranu* C = &p[2];
    if (B->Y < A->Y) std::swap(A, B);
    if (C->Y < B->Y) std::swap(B, C);
    if (B->Y < A->Y) std::swap(A, B);
    const i64 bx = static_cast<i64>(B->X) - A->X, by = static_cast<i64>(B->Y) - A->Y;
    const i64 cx = static_cast<i64>(C->X) - A->X, cy = static_cast<i64>(C->Y) - A->Y;
    int znak;
    if (r.x1 - r.x0 < (i64{1} << 31) && r.y1 - r.y0 < (i64{1} << 31)) {
        const i64 krzyz = bx * cy - by * cx;
        znak = (krzyz > 0) - (krzyz < 0);
    } else {
        // Products of differences up to 2^32 need more than 64 bits.
        const i128 krzyz = static_cast<i128>(bx) * cy - static_cast<i128>(by) * cx;
        znak = (krzyz > 0) - (krzyz < 0);
    }
    if (znak == 0) return;  // no area: both crossings of every row coincide
    TKrawedz dluga{}, krotka{};
    PrzygotujKrawedz(dluga, A->X, A->Y, C->X, C->Y, ys);
    const bool dlugaZLewej = znak > 0;
    const i64 yb = std::clamp<i64>(B->Y, ys, ye);
    // Separate calls for either side keep both edges in registers.
    if (ys < yb) {
        PrzygotujKrawedz(krotka, A->X, A->Y, B->X, B->Y, ys);
        if (dlugaZLewej)
            Pas(b, dluga, krotka, ys, yb, piksel);
        else
            Pas(b, krotka, dluga, ys, yb, piksel);
    }
    if (yb < ye) {
        PrzygotujKrawedz(krotka, B->X, B->Y, C->X, C->Y, yb);
        if (dlugaZLewej)
            Pas(b, dluga, krotka, yb, ye, piksel);
        else
            Pas(b, krotka, dluga, yb, ye, piksel);
    }
}

void WypelnijBezRamki(const TBuforPikseli& b, const TPunktEkranu* p, int ile, const TRamka& r, std::uint32_t piksel) {
    if (ile == 3) {
        WypelnijTrojkat(b, p, r, piksel);
        return;
    }
    const i64 ys = std::max<i64>(r.y0, b.Gora);
    const i64 ye = std::min<i64>(r.y1, b.Wysokosc);  // the bottom row is never filled
    if (ys >= ye) return;
    constexpr int MaxNaStosie = 16;
    TKrawedz stos[MaxNaStosie];
    i64 xsStos[MaxNaStosie];
    std::vector<TKrawedz> duze;
    std::vector<i64> xsDuze;
    TKrawedz* kr = stos;
    i64* xs = xsStos;
    if (ile > MaxNaStosie) {
        duze.resize(ile);
        xsDuze.resize(ile);
        kr = duze.data();
        xs = xsDuze.data();
    }
    int n = 0;
    for (int i = 0; i < ile; ++i) {
        const TPunktEkranu& a = p[i];
        const TPunktEkranu& c = p[i + 1 == ile ? 0 : i + 1];
        if (PrzygotujKrawedz(kr[n], a.X, a.Y, c.X, c.Y, ys)) ++n;
    }
    if (n >= 2) WypelnijKrawedzie(b, kr, n, ys, ye, piksel, xs);
}

// Line from (x0, y0) to (x1, y1) without its last pixel. Walks the major axis;
// the minor coordinate at step i is n0 + floor((2 i dn + D) / (2 D)), D the
// major extent, i.e. the nearest lattice point, halves rounded up.
void LiniaBezRamki(const TBuforPikseli& b, i64 x0, i64 y0, i64 x1, i64 y1, std::uint32_t piksel) {
    const i64 dx = x1 - x0, dy = y1 - y0;
    const i64 adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    if (adx == 0 && ady == 0) return;
    const bool poziomaGlowna = adx >= ady;
    // Major and minor axes.
    const i64 m0 = poziomaGlowna ? x0 : y0;
    const i64 n0 = poziomaGlowna ? y0 : x0;
    const i64 D = poziomaGlowna ? adx : ady;
    const i64 dn = poziomaGlowna ? dy : dx;
    const int sm = (poziomaGlowna ? dx : dy) < 0 ? -1 : 1;
    const int sn = dn < 0 ? -1 : (dn > 0 ? 1 : 0);
    const i64 twoD = 2 * D, twoDn = 2 * dn;

    // Steps whose major coordinate is visible, then the minor one checked.
    const i64 poczM = poziomaGlowna ? 0 : b.Gora;
    const i64 poczN = poziomaGlowna ? b.Gora : 0;
    const i64 limM = poziomaGlowna ? b.Szerokosc : b.Wysokosc;
    const i64 limN = poziomaGlowna ? b.Wysokosc : b.Szerokosc;
    i64 ia, ib;
    if (sm > 0) {
        ia = poczM - m0;
        ib = limM - m0;
    } else {
        ia = m0 - limM + 1;
        ib = m0 - poczM + 1;
    }
    ia = std::max<i64>(ia, 0);
    ib = std::min(ib, D);
    if (ia >= ib) return;
    const i128 licznik = static_cast<i128>(2) * ia * dn + D;
    const i128 q = FloorDiv(licznik, twoD);
    i64 rem = static_cast<i64>(licznik - q * twoD);
    i64 n = n0 + static_cast<i64>(q);
    i64 m = m0 + static_cast<i64>(sm) * ia;
    for (i64 i = ia; i < ib; ++i) {
        if (n >= poczN && n < limN) {
            const i64 x = poziomaGlowna ? m : n, y = poziomaGlowna ? n : m;
            Wiersz(b, y)[x] = piksel;
        } else if ((sn > 0 && n >= limN) || (sn < 0 && n < poczN) || sn == 0) {
            break;  // left the picture for good
        }
        m += sm;
        rem += twoDn;
        if (sn > 0 && rem >= twoD) {
            rem -= twoD;
            ++n;
        } else if (sn < 0 && rem < 0) {
            rem += twoD;
            --n;
        }
    }
}

// 2^48 / D rounded up, for the slopes of short lines without a division.
struct TOdwrotnosci {
    std::uint64_t R[1024]{};
    constexpr TOdwrotnosci() {
        for (std::uint64_t d = 1; d < 1024; ++d) R[d] = ((std::uint64_t{1} << 48) + d - 1) / d;
    }
};
constexpr TOdwrotnosci Odwrotnosci{};

// dn * 2^32 / D, at least that and less than 2 units of 2^-32 above it
// (D > 0, |dn| <= D): the fixed-point lines below stay exact with it.
inline i64 Nachylenie(i64 dn, i64 D) {
    if (D < 1024) {
        const std::uint64_t u = static_cast<std::uint64_t>(dn < 0 ? -dn : dn) * Odwrotnosci.R[D] >> 16;
        return dn < 0 ? 1 - static_cast<i64>(u) : static_cast<i64>(u) + 1;
    }
    return -FloorDiv64(-dn * (i64{1} << 32), D);
}

// The same line when both ends lie in the picture. The minor coordinate is
// kept in 32.32 fixed point: it starts exact (n0 + 1/2) and grows by the
// slope rounded up (by less than 2 / 2^32), so after i < D steps it is high
// by less than 2D / 2^32. For D up to 32768 that is below 1 / (2D), the least
// distance from a non-integer value of the exact formula up to the next
// integer, so the floor is exact (an integer value, a half rounded up, stays
// itself). No step waits on a comparison made by the previous one.
inline void LiniaWObrazie(const TBuforPikseli& b, int x0, int y0, int x1, int y1, std::uint32_t piksel) {
    const i64 dx = x1 - x0, dy = y1 - y0;
    const i64 adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    const std::ptrdiff_t krok = b.Krok;
    std::uint32_t* const wiersz0 = b.Piksele;
    if (adx >= ady) {
        const i64 D = adx;
        const i64 nachylenie = Nachylenie(dy, D);
        i64 y = (static_cast<i64>(y0) << 32) + (i64{1} << 31);
        const std::ptrdiff_t sx = dx < 0 ? -1 : 1;
        std::ptrdiff_t x = x0;
        for (i64 i = 0; i < D; ++i) {
            wiersz0[(y >> 32) * krok + x] = piksel;
            y += nachylenie;
            x += sx;
        }
    } else {
        const i64 D = ady;
        const i64 nachylenie = Nachylenie(dx, D);
        i64 x = (static_cast<i64>(x0) << 32) + (i64{1} << 31);
        const std::ptrdiff_t sy = dy < 0 ? -krok : krok;
        std::uint32_t* w = wiersz0 + static_cast<std::ptrdiff_t>(y0) * krok;
        for (i64 i = 0; i < D; ++i) {
            w[x >> 32] = piksel;
            x += nachylenie;
            w += sy;
        }
    }
}

inline bool MalyObraz(const TBuforPikseli& b) { return b.Szerokosc <= 32768 && b.Wysokosc <= 32768; }

inline void LiniaRamka(const TBuforPikseli& b, i64 x0, i64 y0, i64 x1, i64 y1, std::uint32_t piksel) {
    if (x0 == x1 && y0 == y1) return;  // no length: nothing, as line-to onto the pen's own position
    const TRamka r{std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
    if (PozaObrazem(b, r)) return;
    if (WObrazie(b, r) && MalyObraz(b))
        LiniaWObrazie(b, static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1), static_cast<int>(y1),
                      piksel);
    else
        LiniaBezRamki(b, x0, y0, x1, y1, piksel);
}

void ObrysBezRamki(const TBuforPikseli& b, const TPunktEkranu* p, int ile, bool wObrazie, std::uint32_t piksel) {
    bool jakakolwiek = false;
    wObrazie = wObrazie && MalyObraz(b);
    for (int i = 0; i < ile; ++i) {
        const TPunktEkranu& a = p[i];
        const TPunktEkranu& c = p[i + 1 == ile ? 0 : i + 1];
        if (a.X == c.X && a.Y == c.Y) continue;
        jakakolwiek = true;
        if (wObrazie) {
            LiniaWObrazie(b, a.X, a.Y, c.X, c.Y, piksel);
        } else {
            LiniaRamka(b, a.X, a.Y, c.X, c.Y, piksel);
        }
    }
    // All vertices in one point: that pixel.
    if (!jakakolwiek && p[0].X >= 0 && p[0].Y >= b.Gora && p[0].X < b.Szerokosc && p[0].Y < b.Wysokosc)
        Wiersz(b, p[0].Y)[p[0].X] = piksel;
}

inline bool Pusty(const TBuforPikseli& b) {
    return b.Piksele == nullptr || b.Szerokosc <= 0 || b.Wysokosc <= 0 || b.Gora < 0 || b.Gora >= b.Wysokosc;
}

}  // namespace

void WypelnijWielokat(const TBuforPikseli& bufor, const TPunktEkranu* punkty, int ile, std::uint32_t piksel) {
    if (Pusty(bufor) || punkty == nullptr || ile < 3) return;
    const TRamka r = Ramka(punkty, ile);
    if (PozaObrazem(bufor, r)) return;
    WypelnijBezRamki(bufor, punkty, ile, r, piksel);
}

void ObrysujWielokat(const TBuforPikseli& bufor, const TPunktEkranu* punkty, int ile, std::uint32_t piksel) {
    if (Pusty(bufor) || punkty == nullptr || ile < 1) return;
    const TRamka r = Ramka(punkty, ile);
    if (PozaObrazem(bufor, r)) return;
    ObrysBezRamki(bufor, punkty, ile, WObrazie(bufor, r), piksel);
}

void RysujWielokat(const TBuforPikseli& bufor, const TPunktEkranu* punkty, int ile, std::uint32_t wypelnienie,
                   std::uint32_t obrys) {
    if (Pusty(bufor) || punkty == nullptr || ile < 1) return;
    const TRamka r = Ramka(punkty, ile);
    if (PozaObrazem(bufor, r)) return;
    if (ile >= 3) WypelnijBezRamki(bufor, punkty, ile, r, wypelnienie);
    ObrysBezRamki(bufor, punkty, ile, WObrazie(bufor, r), obrys);
}

void RysujLinie(const TBuforPikseli& bufor, int x1, int y1, int x2, int y2, std::uint32_t piksel) {
    if (Pusty(bufor)) return;
    LiniaRamka(bufor, x1, y1, x2, y2, piksel);
}

void RysujProstokat(const TBuforPikseli& bufor, int x1, int y1, int x2, int y2, std::uint32_t wypelnienie,
                    std::uint32_t obrys) {
    if (Pusty(bufor)) return;
    i64 l = std::min(x1, x2), p = std::max(x1, x2);
    i64 g = std::min(y1, y2), d = std::max(y1, y2);
    if (l == p || g == d) return;
    // Inside: brush.
    const i64 ys = std::max<i64>(g + 1, bufor.Gora), ye = std::min<i64>(d - 1, bufor.Wysokosc);
    for (i64 y = ys; y < ye; ++y) OdcinekObciety(bufor, y, l + 1, p - 1, wypelnienie);
    // Frame: the outermost rows and columns, with the pen.
    OdcinekObciety(bufor, g, l, p, obrys);
    OdcinekObciety(bufor, d - 1, l, p, obrys);
    const i64 fs = std::max<i64>(g + 1, bufor.Gora), fe = std::min<i64>(d - 1, bufor.Wysokosc);
    for (i64 y = fs; y < fe; ++y) {
        OdcinekObciety(bufor, y, l, l + 1, obrys);
        OdcinekObciety(bufor, y, p - 1, p, obrys);
    }
}

void KopiujRozciagniety(const TBuforPikseli& bufor, int lewa, int gora, int prawa, int dol, const TObraz& obraz) {
    if (Pusty(bufor) || obraz.Pusty()) return;
    if (obraz.Piksele.size() < static_cast<std::size_t>(obraz.Szerokosc) * static_cast<std::size_t>(obraz.Wysokosc))
        return;
    const bool lustroX = prawa < lewa, lustroY = dol < gora;
    const i64 l = std::min(lewa, prawa), p = std::max(lewa, prawa);
    const i64 g = std::min(gora, dol), d = std::max(gora, dol);
    if (l == p || g == d) return;
    const i64 xs = std::max<i64>(l, 0), xe = std::min<i64>(p, bufor.Szerokosc);
    const i64 ys = std::max<i64>(g, bufor.Gora), ye = std::min<i64>(d, bufor.Wysokosc);
    if (xs >= xe || ys >= ye) return;
    // Source index of a destination pixel: the one under its centre.
    auto zrodlo = [](i64 t, i64 dlugosc, i64 rozmiar, bool lustro) {
        const i64 s = static_cast<i64>((static_cast<i128>(2 * t + 1) * rozmiar) / (2 * static_cast<i128>(dlugosc)));
        return lustro ? rozmiar - 1 - s : s;
    };
    std::vector<int> kolumny(static_cast<std::size_t>(xe - xs));
    for (i64 x = xs; x < xe; ++x)
        kolumny[static_cast<std::size_t>(x - xs)] = static_cast<int>(zrodlo(x - l, p - l, obraz.Szerokosc, lustroX));
    for (i64 y = ys; y < ye; ++y) {
        const i64 sy = zrodlo(y - g, d - g, obraz.Wysokosc, lustroY);
        const std::uint32_t* src = obraz.Piksele.data() + static_cast<std::size_t>(sy) * obraz.Szerokosc;
        std::uint32_t* dst = Wiersz(bufor, y) + xs;
        for (std::size_t i = 0; i < kolumny.size(); ++i) dst[i] = src[kolumny[i]] | 0xFF000000u;
    }
}

// ---- The canvas ----

void TPlotnoRastrowe::Prostokat(int x1, int y1, int x2, int y2) {
    RysujProstokat(Bufor, x1, y1, x2, y2, Pedzel, Pioro);
}

void TPlotnoRastrowe::Wielokat(const TPunktEkranu* punkty, int ile) {
    RysujWielokat(Bufor, punkty, ile, Pedzel, Pioro);
}

void TPlotnoRastrowe::Linia(int x1, int y1, int x2, int y2) { RysujLinie(Bufor, x1, y1, x2, y2, Pioro); }

void TPlotnoRastrowe::Tekst(int x, int y, const std::string& tekst) {
    if (PisanieTekstu) PisanieTekstu(x, y, tekst, Pedzel);
}

void TPlotnoRastrowe::RozciagnijObraz(int lewa, int gora, int prawa, int dol, const TObraz& obraz) {
    KopiujRozciagniety(Bufor, lewa, gora, prawa, dol, obraz);
}
