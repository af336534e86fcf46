#include "analiza/Wykop.h"

#include <algorithm>
#include <cmath>

#include "common/Rownolegle.h"

namespace {

// A plan point relative to the ground triangle's first corner.
struct TP2 {
    double X = 0, Y = 0;
};

using TWielokat = std::vector<TP2>;  // convex, counter-clockwise

// The most pieces one ground triangle is cut into; a triangle that would give
// more (thousands of design triangles over it) is left whole.
constexpr std::size_t NajwiecejKawalkow = 20000;
// Pieces narrower than this (m) are rounding slivers along shared edges.
constexpr double NajwezszyKawalek = 1e-6;

// Twice the signed area (counter-clockwise positive), from the first corner so that a tiny polygon gets a tiny area.
double Pole2(const TWielokat& w) {
    double s = 0.0;
    for (std::size_t i = 1; i + 1 < w.size(); ++i) {
        const double ax = w[i].X - w[0].X, ay = w[i].Y - w[0].Y, bx = w[i + 1].X - w[0].X, by = w[i + 1].Y - w[0].Y;
        s += ax * by - ay * bx;
    }
    return s;
}

// Keeps a polygon only when it is wider than a sliver: twice its area over its longest side.
bool Znaczacy(const TWielokat& w) {
    if (w.size() < 3) return false;
    double najdluzszy2 = 0.0;  // the longest side, squared
    for (std::size_t i = 0, n = w.size(); i < n; ++i) {
        const double dx = w[(i + 1) % n].X - w[i].X, dy = w[(i + 1) % n].Y - w[i].Y;
        najdluzszy2 = std::max(najdluzszy2, dx * dx + dy * dy);
    }
    const double p = Pole2(w);
    return najdluzszy2 > 0.0 && p > 0.0 && p * p > NajwezszyKawalek * NajwezszyKawalek * najdluzszy2;
}

// The part of the convex polygon where a x + b y + c >= 0 (Sutherland-Hodgman, one line).
TWielokat Przytnij(const TWielokat& w, double a, double b, double c) {
    TWielokat r;
    const std::size_t n = w.size();
    if (n == 0) return r;
    r.reserve(n + 1);
    for (std::size_t i = 0; i < n; ++i) {
        const TP2& p = w[i];
        const TP2& q = w[(i + 1) % n];
        const double fp = a * p.X + b * p.Y + c, fq = a * q.X + b * q.Y + c;
        if (fp >= 0.0) r.push_back(p);
        if ((fp > 0.0 && fq < 0.0) || (fp < 0.0 && fq > 0.0)) {
            const double t = fp / (fp - fq);
            r.push_back({p.X + t * (q.X - p.X), p.Y + t * (q.Y - p.Y)});
        }
    }
    // Corners that repeat their neighbour (a corner on the line) are dropped.
    TWielokat w2;
    w2.reserve(r.size());
    for (const TP2& p : r)
        if (w2.empty() || p.X != w2.back().X || p.Y != w2.back().Y) w2.push_back(p);
    while (w2.size() > 1 && w2.front().X == w2.back().X && w2.front().Y == w2.back().Y) w2.pop_back();
    return w2;
}

// The half-plane left of the directed edge p-q: a x + b y + c >= 0.
void Lewa(const TP2& p, const TP2& q, double& a, double& b, double& c) {
    a = -(q.Y - p.Y);
    b = q.X - p.X;
    c = -(a * p.X + b * p.Y);
}

// Adds to `wynik` the pieces of the convex polygon w outside the convex polygon r
// (both counter-clockwise) and gives true; false, adding nothing, when w lies
// wholly on the outer side of one of r's edges (then nothing of w is within r).
bool Odejmij(const TWielokat& w, const TWielokat& r, std::vector<TWielokat>& wynik) {
    const std::size_t n = r.size();
    for (std::size_t i = 0; i < n; ++i) {
        double a, b, c;
        Lewa(r[i], r[(i + 1) % n], a, b, c);
        if (std::all_of(w.begin(), w.end(), [&](const TP2& p) { return a * p.X + b * p.Y + c <= 0.0; })) return false;
    }
    TWielokat reszta = w;
    for (std::size_t i = 0; i < n; ++i) {
        double a, b, c;
        Lewa(r[i], r[(i + 1) % n], a, b, c);
        TWielokat poza = Przytnij(reszta, -a, -b, -c);
        if (Znaczacy(poza)) wynik.push_back(std::move(poza));
        reszta = Przytnij(reszta, a, b, c);
        if (!Znaczacy(reszta)) break;
    }
    return true;  // what is left lies within r: removed
}

// The bounding box of a polygon.
struct TPudelko {
    double X0 = HUGE_VAL, Y0 = HUGE_VAL, X1 = -HUGE_VAL, Y1 = -HUGE_VAL;
    explicit TPudelko(const TWielokat& w) {
        for (const TP2& p : w)
            X0 = std::min(X0, p.X), X1 = std::max(X1, p.X), Y0 = std::min(Y0, p.Y), Y1 = std::max(Y1, p.Y);
    }
    bool Rozlaczne(const TPudelko& o) const { return X1 < o.X0 || o.X1 < X0 || Y1 < o.Y0 || o.Y1 < Y0; }
};

// The cells of the index met by the plan box [x0, x1] x [y0, y1], as column and row ranges; false outside the grid.
bool Komorki(const TIndeksWysokosci& ix, double x0, double y0, double x1, double y1, std::int32_t& i0, std::int32_t& j0,
             std::int32_t& i1, std::int32_t& j1) {
    if (ix.Pusty() || !(x0 <= x1) || !(y0 <= y1)) return false;
    const double fi0 = std::floor((x0 - ix.Xmin) * ix.OdwrotnoscKomorki),
                 fi1 = std::floor((x1 - ix.Xmin) * ix.OdwrotnoscKomorki),
                 fj0 = std::floor((y0 - ix.Ymin) * ix.OdwrotnoscKomorki),
                 fj1 = std::floor((y1 - ix.Ymin) * ix.OdwrotnoscKomorki);
    if (!(fi1 >= 0 && fj1 >= 0 && fi0 < ix.IleKolumn && fj0 < ix.IleWierszy)) return false;
    i0 = static_cast<std::int32_t>(std::max(fi0, 0.0));
    j0 = static_cast<std::int32_t>(std::max(fj0, 0.0));
    i1 = static_cast<std::int32_t>(std::min(fi1, static_cast<double>(ix.IleKolumn - 1)));
    j1 = static_cast<std::int32_t>(std::min(fj1, static_cast<double>(ix.IleWierszy - 1)));
    return true;
}

void DodajKomorke(const TIndeksWysokosci& ix, std::int32_t i, std::int32_t j, std::vector<std::uint32_t>& w) {
    std::uint32_t ile = 0;
    const std::uint32_t* t = ix.TrojkatyKomorki(ix.NumerKomorki(i, j), ile);
    w.insert(w.end(), t, t + ile);
}

void Uporzadkuj(std::vector<std::uint32_t>& w) {
    std::sort(w.begin(), w.end());
    w.erase(std::unique(w.begin(), w.end()), w.end());
}

}  // namespace

TTrojkatRogi TrojkatIndeksu(const TTrojkatWysokosci& r) {
    const double det = r.A2 * r.B3 - r.B2 * r.A3;
    const double u2 = r.B3 / det, v2 = -r.A3 / det, u3 = -r.B2 / det, v3 = r.A2 / det;
    TTrojkatRogi t;
    t.X1 = r.X1, t.Y1 = r.Y1, t.Z1 = r.Z1;
    t.X2 = r.X1 + u2, t.Y2 = r.Y1 + v2, t.Z2 = r.Z1 + r.Zu * u2 + r.Zv * v2;
    t.X3 = r.X1 + u3, t.Y3 = r.Y1 + v3, t.Z3 = r.Z1 + r.Zu * u3 + r.Zv * v3;
    return t;
}

bool PrzytnijTeren(const TTrojkatRogi& t, const TIndeksWysokosci& proj, std::vector<TTrojkatRogi>& kawalki) {
    std::int32_t i0, j0, i1, j1;
    const double x0 = std::min({t.X1, t.X2, t.X3}), x1 = std::max({t.X1, t.X2, t.X3});
    const double y0 = std::min({t.Y1, t.Y2, t.Y3}), y1 = std::max({t.Y1, t.Y2, t.Y3});
    if (!Komorki(proj, x0, y0, x1, y1, i0, j0, i1, j1)) return false;
    std::vector<std::uint32_t> nad;
    for (std::int32_t j = j0; j <= j1; ++j)
        for (std::int32_t i = i0; i <= i1; ++i) DodajKomorke(proj, i, j, nad);
    if (nad.empty()) return false;
    Uporzadkuj(nad);

    // The ground's plane over the plan, relative to its first corner: z = Z1 + gu u + gv v.
    const double u2 = t.X2 - t.X1, v2 = t.Y2 - t.Y1, u3 = t.X3 - t.X1, v3 = t.Y3 - t.Y1;
    const double det = u2 * v3 - u3 * v2;
    if (!std::isfinite(det) || det == 0.0) return false;  // a wall or a line: no plan area to cut
    const double dz2 = t.Z2 - t.Z1, dz3 = t.Z3 - t.Z1;
    const double gu = (dz2 * v3 - dz3 * v2) / det, gv = (u2 * dz3 - u3 * dz2) / det;
    const bool przeciwnie = det > 0.0;  // the corners' turning sense
    TWielokat trojkat = przeciwnie ? TWielokat{{0, 0}, {u2, v2}, {u3, v3}} : TWielokat{{0, 0}, {u3, v3}, {u2, v2}};

    std::vector<TWielokat> kawalkiW{trojkat}, nowe;
    bool ciety = false;
    const TPudelko ramka(trojkat);
    for (std::uint32_t k : nad) {
        const TTrojkatWysokosci& r = proj.Trojkaty[k];
        const TTrojkatRogi p = TrojkatIndeksu(r);
        TWielokat obszar{{p.X1 - t.X1, p.Y1 - t.Y1}, {p.X2 - t.X1, p.Y2 - t.Y1}, {p.X3 - t.X1, p.Y3 - t.Y1}};
        if (Pole2(obszar) < 0.0) std::swap(obszar[1], obszar[2]);
        if (TPudelko(obszar).Rozlaczne(ramka)) continue;
        // Removed where the ground lies above this design triangle's plane by more than the heights' tolerance:
        // d(u, v) = ground - design - tolerance > 0, a half-plane of the plan.
        const double pu = r.Zu, pv = r.Zv;
        const double pz = r.Z1 - pu * (r.X1 - t.X1) - pv * (r.Y1 - t.Y1);  // the design plane at u = v = 0
        obszar = Przytnij(obszar, gu - pu, gv - pv, t.Z1 - pz - TolerancjaWysokosci);
        if (!Znaczacy(obszar)) continue;
        const TPudelko ro(obszar);
        nowe.clear();
        for (const TWielokat& w : kawalkiW) {
            if (TPudelko(w).Rozlaczne(ro) || !Odejmij(w, obszar, nowe))
                nowe.push_back(w);
            else
                ciety = true;
        }
        std::swap(kawalkiW, nowe);
        if (kawalkiW.size() > NajwiecejKawalkow) return false;
        if (kawalkiW.empty()) break;
    }
    if (!ciety) return false;

    // The kept pieces as fans of triangles in the ground's plane, turning as t does.
    for (const TWielokat& w : kawalkiW) {
        for (std::size_t i = 1; i + 1 < w.size(); ++i) {
            TTrojkatRogi q = t;
            const TP2& a = w[0];
            const TP2& b = przeciwnie ? w[i] : w[i + 1];
            const TP2& c = przeciwnie ? w[i + 1] : w[i];
            // A fan triangle over three corners in a line (a corner on an edge) covers nothing.
            if (!Znaczacy(TWielokat{w[0], w[i], w[i + 1]})) continue;
            q.X1 = t.X1 + a.X, q.Y1 = t.Y1 + a.Y, q.Z1 = t.Z1 + gu * a.X + gv * a.Y;
            q.X2 = t.X1 + b.X, q.Y2 = t.Y1 + b.Y, q.Z2 = t.Z1 + gu * b.X + gv * b.Y;
            q.X3 = t.X1 + c.X, q.Y3 = t.Y1 + c.Y, q.Z3 = t.Z1 + gu * c.X + gv * c.Y;
            kawalki.push_back(q);
        }
    }
    return true;
}

std::vector<std::uint32_t> TrojkatyWzdluz(const TIndeksWysokosci& ix, const TPunkt3D& a, const TPunkt3D& b) {
    std::vector<std::uint32_t> w;
    if (ix.Pusty()) return w;
    // Points every half cell along the plan segment, each with the cells around
    // it: every cell the segment passes through is among them.
    const double dl = std::hypot(b.X - a.X, b.Y - a.Y);
    if (!std::isfinite(dl)) return w;
    const double n = std::ceil(dl / (0.5 * ix.Komorka));
    if (n > 1e7) return w;
    std::int32_t pi = -2, pj = -2;
    for (double k = 0; k <= n; ++k) {
        const double s = n > 0 ? k / n : 0.0;
        const double x = a.X + s * (b.X - a.X), y = a.Y + s * (b.Y - a.Y);
        std::int32_t i0, j0, i1, j1;
        if (!Komorki(ix, x - ix.Komorka, y - ix.Komorka, x + ix.Komorka, y + ix.Komorka, i0, j0, i1, j1)) continue;
        if (i0 == pi && j0 == pj) continue;
        pi = i0, pj = j0;
        for (std::int32_t j = j0; j <= j1; ++j)
            for (std::int32_t i = i0; i <= i1; ++i) DodajKomorke(ix, i, j, w);
    }
    Uporzadkuj(w);
    return w;
}

namespace {

// The kept ground of the terrain index's triangles `ktore` (all when none): the pieces `pociete` holds for the
// mesh triangle an index triangle stands for, or the triangle cut here.
TIndeksWysokosci Przytnij(const TIndeksWysokosci& teren, const TIndeksWysokosci& proj,
                          const std::vector<std::uint32_t>* ktore, const TTerenWykopu* pociete) {
    std::vector<TTrojkatRogi> kawalki;
    const std::size_t ile = ktore ? ktore->size() : teren.Trojkaty.size();
    kawalki.reserve(ile);
    for (std::size_t n = 0; n < ile; ++n) {
        const std::size_t k = ktore ? (*ktore)[n] : n;
        const TTrojkatRogi t = TrojkatIndeksu(teren.Trojkaty[k]);
        if (pociete) {
            const TTrojkatRogi *od, *do_;
            if (pociete->KawalkiTrojkata(static_cast<std::size_t>(teren.NumeryTrojkatow[k]), od, do_))
                kawalki.insert(kawalki.end(), od, do_);
            else
                kawalki.push_back(t);
        } else if (!PrzytnijTeren(t, proj, kawalki)) {
            kawalki.push_back(t);
        }
    }
    return ZbudujIndeksWysokosci(kawalki, teren.Dx, teren.Dy, teren.Dz);
}

}  // namespace

TIndeksWysokosci TerenPozaWykopem(const TIndeksWysokosci& teren, const TIndeksWysokosci& proj) {
    return Przytnij(teren, proj, nullptr, nullptr);
}

TIndeksWysokosci TerenPozaWykopemWzdluz(const TIndeksWysokosci& teren, const TIndeksWysokosci& proj, const TPunkt3D& a,
                                        const TPunkt3D& b, const TTerenWykopu* pociete) {
    const std::vector<std::uint32_t> ktore = TrojkatyWzdluz(teren, a, b);
    return Przytnij(teren, proj, &ktore, pociete);
}

bool TTerenWykopu::KawalkiTrojkata(std::size_t nr, const TTrojkatRogi*& od, const TTrojkatRogi*& do_) const {
    if (nr >= Ciety.size() || !Ciety[nr]) return false;
    const auto k = static_cast<std::size_t>(std::lower_bound(Numery.begin(), Numery.end(), nr) - Numery.begin());
    od = Kawalki.data() + Od[k];
    do_ = Kawalki.data() + Od[k + 1];
    return true;
}

TTerenWykopu PrzytnijSiatke(const TSiatka& teren, const TIndeksWysokosci& proj) {
    TTerenWykopu w;
    w.Ciety.assign(teren.Trojkaty.size(), 0);
    if (proj.Pusty()) {
        w.Od.push_back(0);
        return w;
    }
    // Each half gathers its own cut triangles and pieces; the lower half's come first.
    struct TPolowa {
        std::vector<std::uint32_t> Numery;
        std::vector<std::size_t> Od;
        std::vector<TTrojkatRogi> Kawalki;
    } polowy[2];
    NaDwochWatkach(
        teren.Trojkaty.size(),
        [&](std::size_t od, std::size_t do_) {
            TPolowa& h = polowy[od == 0 ? 0 : 1];
            for (std::size_t i = od; i < do_; ++i) {
                const std::size_t przed = h.Kawalki.size();
                if (!PrzytnijTeren(Rogi(teren, i), proj, h.Kawalki)) continue;
                w.Ciety[i] = 1;
                h.Numery.push_back(static_cast<std::uint32_t>(i));
                h.Od.push_back(przed);
            }
        },
        20000);
    const std::size_t dolnych = polowy[0].Kawalki.size();
    w.Numery = std::move(polowy[0].Numery);
    w.Numery.insert(w.Numery.end(), polowy[1].Numery.begin(), polowy[1].Numery.end());
    w.Od = std::move(polowy[0].Od);
    for (std::size_t o : polowy[1].Od) w.Od.push_back(dolnych + o);
    w.Od.push_back(dolnych + polowy[1].Kawalki.size());
    w.Kawalki = std::move(polowy[0].Kawalki);
    w.Kawalki.insert(w.Kawalki.end(), polowy[1].Kawalki.begin(), polowy[1].Kawalki.end());
    return w;
}
