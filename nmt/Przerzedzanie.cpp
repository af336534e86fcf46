#include "nmt/Przerzedzanie.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

using std::int32_t;
using std::int64_t;

// Twice the signed area of abc in grid units (exact): > 0 counter-clockwise.
inline int64_t Orient(int64_t ax, int64_t ay, int64_t bx, int64_t by, int64_t cx, int64_t cy) {
    return (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
}

// > 0 when d lies strictly inside the circle through a, b, c (counter-clockwise); exact.
inline bool WOkregu(int64_t ax, int64_t ay, int64_t bx, int64_t by, int64_t cx, int64_t cy, int64_t dx, int64_t dy) {
    const __int128 adx = ax - dx, ady = ay - dy, bdx = bx - dx, bdy = by - dy, cdx = cx - dx, cdy = cy - dy;
    const __int128 a2 = adx * adx + ady * ady, b2 = bdx * bdx + bdy * bdy, c2 = cdx * cdx + cdy * cdy;
    const __int128 det = a2 * (bdx * cdy - bdy * cdx) - b2 * (adx * cdy - ady * cdx) + c2 * (adx * bdy - ady * bdx);
    return det > 0;
}

inline int64_t PodlogaDziel(int64_t a, int64_t b) {  // floor(a / b), b > 0
    const int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

constexpr double kWymuszony = std::numeric_limits<double>::max();  // the error of a split the data's edge asks for

struct TWpis {
    double Blad;
    int32_t Trojkat;
    std::uint32_t Wersja;
    bool operator<(const TWpis& o) const { return Blad < o.Blad; }
};

class TPrzerzedzanie {
public:
    // A nanometre over the tolerance: the rounding of a plane at its own vertices never asks for them again.
    TPrzerzedzanie(const TSiatkaNMT& s, double tol)
        : s_(s), W_(s.Kolumny), H_(s.Wiersze), Z_(s.Z.data()), tol_(tol + 1e-9) {
        // Nodes without data that have no data among their eight neighbours.
        gleboki_.assign(s.Z.size(), 0);
        for (int32_t j = 0; j < H_; ++j)
            for (int32_t i = 0; i < W_; ++i) {
                if (!std::isnan(Z_[s.Indeks(i, j)])) continue;
                bool dane = false;
                for (int32_t q = std::max(0, j - 1); q <= std::min(H_ - 1, j + 1) && !dane; ++q)
                    for (int32_t p = std::max(0, i - 1); p <= std::min(W_ - 1, i + 1); ++p)
                        if (!std::isnan(Z_[s.Indeks(p, q)])) dane = true;
                gleboki_[s.Indeks(i, j)] = dane ? 0 : 1;
            }
    }

    bool Licz(const TPostep& postep, const std::atomic<bool>* przerwij) {
        const int32_t a = DodajPunkt(0, 0), b = DodajPunkt(W_ - 1, 0), c = DodajPunkt(W_ - 1, H_ - 1),
                      d = DodajPunkt(0, H_ - 1);
        const int32_t t0 = NowyTrojkat(a, b, c), t1 = NowyTrojkat(a, c, d);
        N_[t0] = {-1, t1, -1};  // opposite a: bc (hull); opposite b: ca -> t1; opposite c: ab (hull)
        N_[t1] = {-1, -1, t0};  // opposite a: cd (hull); opposite c: da (hull); opposite d: ac -> t0
        Skanuj(t0);
        Skanuj(t1);
        double bladPoczatkowy = -1.0, ulamek = 0.0;
        std::int64_t krok = 0;
        while (!kopiec_.empty()) {
            std::pop_heap(kopiec_.begin(), kopiec_.end());
            const TWpis w = kopiec_.back();
            kopiec_.pop_back();
            if (w.Wersja != wersja_[w.Trojkat] || kand_[w.Trojkat] < 0) continue;
            if ((++krok & 1023) == 0) {
                if (przerwij && przerwij->load(std::memory_order_relaxed)) return false;
                if (postep && w.Blad != kWymuszony) {
                    if (bladPoczatkowy < 0) bladPoczatkowy = w.Blad;
                    if (bladPoczatkowy > tol_ * 1.0001) {
                        const double u = std::log(bladPoczatkowy / w.Blad) / std::log(bladPoczatkowy / tol_);
                        ulamek = std::max(ulamek, std::clamp(u, 0.0, 1.0));
                        postep(ulamek);
                    }
                }
            }
            Wstaw(w.Trojkat, kand_[w.Trojkat]);
        }
        if (postep) postep(1.0);
        return true;
    }

    TTinNMT Wynik() const {
        TTinNMT w;
        std::vector<int32_t> nowy(px_.size(), -1);
        for (std::size_t t = 0; t < V_.size(); ++t) {
            const auto& v = V_[t];
            if (!Dane(v[0]) || !Dane(v[1]) || !Dane(v[2])) continue;
            std::array<int32_t, 3> tr;
            for (int k = 0; k < 3; ++k) {
                int32_t& n = nowy[static_cast<std::size_t>(v[k])];
                if (n < 0) {
                    n = static_cast<int32_t>(w.Punkty.size());
                    w.Punkty.push_back({s_.X0 + s_.DX * px_[static_cast<std::size_t>(v[k])],
                                        s_.Y0 + s_.DY * py_[static_cast<std::size_t>(v[k])], ZPunktu(v[k])});
                }
                tr[k] = n;
            }
            w.Trojkaty.push_back(tr);
        }
        w.EPSG = s_.EPSG;
        w.Wezly = static_cast<int64_t>(s_.Z.size());
        for (double z : s_.Z) w.WezlyZDanymi += !std::isnan(z);
        return w;
    }

private:
    const TSiatkaNMT& s_;
    const int32_t W_, H_;
    const double* Z_;
    const double tol_;
    std::vector<std::uint8_t> gleboki_;
    std::vector<int32_t> px_, py_;
    std::vector<std::array<int32_t, 3>> V_, N_;
    std::vector<int64_t> kand_;
    std::vector<std::uint32_t> wersja_;
    std::vector<TWpis> kopiec_;
    std::vector<int32_t> zmienione_, stos_;

    int64_t Wezel(int32_t p) const {
        return static_cast<int64_t>(py_[static_cast<std::size_t>(p)]) * W_ + px_[static_cast<std::size_t>(p)];
    }
    double ZPunktu(int32_t p) const { return Z_[Wezel(p)]; }
    bool Dane(int32_t p) const { return !std::isnan(ZPunktu(p)); }

    int32_t DodajPunkt(int32_t x, int32_t y) {
        px_.push_back(x);
        py_.push_back(y);
        return static_cast<int32_t>(px_.size() - 1);
    }
    int32_t NowyTrojkat(int32_t a, int32_t b, int32_t c) {
        V_.push_back({a, b, c});
        N_.push_back({-1, -1, -1});
        kand_.push_back(-1);
        wersja_.push_back(0);
        return static_cast<int32_t>(V_.size() - 1);
    }
    void Zmieniony(int32_t t) { zmienione_.push_back(t); }
    // In u, the neighbour `stary` becomes `nowy`.
    void Podmien(int32_t u, int32_t stary, int32_t nowy) {
        if (u < 0) return;
        for (int32_t& n : N_[static_cast<std::size_t>(u)])
            if (n == stary) n = nowy;
    }

    void Wstaw(int32_t t, int64_t wezel) {
        const int32_t x = static_cast<int32_t>(wezel % W_), y = static_cast<int32_t>(wezel / W_);
        const int32_t p = DodajPunkt(x, y);
        zmienione_.clear();
        const auto v = V_[static_cast<std::size_t>(t)];
        int naKrawedzi = -1;
        for (int k = 0; k < 3; ++k) {
            const int32_t b = v[(k + 1) % 3], c = v[(k + 2) % 3];
            if (Orient(px_[b], py_[b], px_[c], py_[c], x, y) == 0) naKrawedzi = k;
        }
        if (naKrawedzi < 0)
            WstawWTrojkat(t, p);
        else
            WstawNaKrawedz(t, naKrawedzi, p);
        while (!stos_.empty()) {
            const int32_t q = stos_.back();
            stos_.pop_back();
            Popraw(q);
        }
        // Each changed triangle scanned once (its version moves on, so older heap entries lapse).
        std::sort(zmienione_.begin(), zmienione_.end());
        zmienione_.erase(std::unique(zmienione_.begin(), zmienione_.end()), zmienione_.end());
        for (int32_t q : zmienione_) Skanuj(q);
    }

    void WstawWTrojkat(int32_t t, int32_t p) {
        const auto [a, b, c] = V_[static_cast<std::size_t>(t)];
        const auto [n0, n1, n2] = N_[static_cast<std::size_t>(t)];
        const int32_t t1 = NowyTrojkat(b, c, p), t2 = NowyTrojkat(c, a, p);
        V_[t] = {a, b, p};
        N_[t] = {t1, t2, n2};
        N_[t1] = {t2, t, n0};
        N_[t2] = {t, t1, n1};
        Podmien(n0, t, t1);
        Podmien(n1, t, t2);
        for (int32_t q : {t, t1, t2}) {
            Zmieniony(q);
            stos_.push_back(q);
        }
    }

    // p on the edge opposite vertex k of t.
    void WstawNaKrawedz(int32_t t, int k, int32_t p) {
        const auto vt = V_[static_cast<std::size_t>(t)];
        const auto nt = N_[static_cast<std::size_t>(t)];
        const int32_t a = vt[k], b = vt[(k + 1) % 3], c = vt[(k + 2) % 3];
        const int32_t u = nt[k], tAB = nt[(k + 2) % 3], tCA = nt[(k + 1) % 3];
        const int32_t T2 = NowyTrojkat(a, p, c);
        int32_t U2 = -1;
        if (u >= 0) {
            const auto vu = V_[static_cast<std::size_t>(u)];
            const auto nu = N_[static_cast<std::size_t>(u)];
            int m = 0;
            while (nu[m] != t) ++m;
            const int32_t d = vu[m];
            // u = (d, c, b): its neighbour across bd is opposite c, across dc opposite b.
            int32_t uBD = -1, uDC = -1;
            for (int q = 0; q < 3; ++q) {
                if (vu[q] == c) uBD = nu[q];
                if (vu[q] == b) uDC = nu[q];
            }
            U2 = NowyTrojkat(d, p, b);
            V_[u] = {d, c, p};
            N_[u] = {T2, U2, uDC};
            N_[U2] = {t, uBD, u};
            Podmien(uBD, u, U2);
            Zmieniony(u);
            Zmieniony(U2);
            stos_.push_back(u);
            stos_.push_back(U2);
        }
        V_[t] = {a, b, p};
        N_[t] = {U2, T2, tAB};
        N_[T2] = {u, tCA, t};
        Podmien(tCA, t, T2);
        Zmieniony(t);
        Zmieniony(T2);
        stos_.push_back(t);
        stos_.push_back(T2);
    }

    // Lawson's flip of the edge of t opposite its newest vertex p (the last one inserted).
    void Popraw(int32_t t) {
        const int32_t p = static_cast<int32_t>(px_.size() - 1);
        auto& vt = V_[static_cast<std::size_t>(t)];
        int k = 0;
        while (k < 3 && vt[k] != p) ++k;
        if (k == 3) return;
        const int32_t u = N_[t][k];
        if (u < 0) return;
        const int32_t b = vt[(k + 1) % 3], c = vt[(k + 2) % 3];
        const auto vu = V_[static_cast<std::size_t>(u)];
        const auto nu = N_[static_cast<std::size_t>(u)];
        int m = 0;
        while (nu[m] != t) ++m;
        const int32_t d = vu[m];
        if (!WOkregu(px_[p], py_[p], px_[b], py_[b], px_[c], py_[c], px_[d], py_[d])) return;
        const int32_t tCP = N_[t][(k + 1) % 3], tPB = N_[t][(k + 2) % 3];
        int32_t uBD = -1, uDC = -1;
        for (int q = 0; q < 3; ++q) {
            if (vu[q] == c) uBD = nu[q];
            if (vu[q] == b) uDC = nu[q];
        }
        V_[t] = {p, b, d};
        N_[t] = {uBD, u, tPB};
        V_[u] = {p, d, c};
        N_[u] = {uDC, tCP, t};
        Podmien(uBD, u, t);
        Podmien(tCP, t, u);
        Zmieniony(t);
        Zmieniony(u);
        stos_.push_back(t);
        stos_.push_back(u);
    }

    void Zglos(int32_t t, int64_t wezel, double blad) {
        kand_[t] = wezel;
        ++wersja_[t];
        if (wezel < 0) return;
        kopiec_.push_back({blad, t, wersja_[t]});
        std::push_heap(kopiec_.begin(), kopiec_.end());
    }

    // The node of t to insert next and its error, or none when t is done.
    void Skanuj(int32_t t) {
        const auto v = V_[static_cast<std::size_t>(t)];
        int64_t X[3], Y[3];
        double Zw[3];
        bool dane[3];
        for (int k = 0; k < 3; ++k) {
            X[k] = px_[v[k]];
            Y[k] = py_[v[k]];
            Zw[k] = ZPunktu(v[k]);
            dane[k] = !std::isnan(Zw[k]);
        }
        const int64_t ymin = std::min({Y[0], Y[1], Y[2]}), ymax = std::max({Y[0], Y[1], Y[2]});
        // Edge k runs from vertex k+1 to k+2; inside: A*x + B(y) >= 0.
        int64_t A[3], By[3], Bc[3];
        for (int k = 0; k < 3; ++k) {
            const int64_t Px = X[(k + 1) % 3], Py = Y[(k + 1) % 3], Qx = X[(k + 2) % 3], Qy = Y[(k + 2) % 3];
            // (Qx-Px)*(y-Py) - (Qy-Py)*(x-Px) >= 0
            A[k] = -(Qy - Py);
            By[k] = Qx - Px;
            Bc[k] = -(Qx - Px) * Py + (Qy - Py) * Px;
        }
        auto zakres = [&](int64_t y, int64_t& lo, int64_t& hi) {
            lo = 0;
            hi = W_ - 1;
            for (int k = 0; k < 3; ++k) {
                const int64_t B = By[k] * y + Bc[k];
                if (A[k] > 0)
                    lo = std::max(lo, -PodlogaDziel(B, A[k]));  // x >= ceil(-B/A)
                else if (A[k] < 0)
                    hi = std::min(hi, PodlogaDziel(B, -A[k]));  // x <= floor(B/(-A))
                else if (B < 0)
                    hi = -1;
            }
        };
        int64_t najlepszy = -1;
        if (dane[0] && dane[1] && dane[2]) {
            // The plane through the vertices: z = Zw0 + gx (x - X0) + gy (y - Y0).
            const double x1 = static_cast<double>(X[1] - X[0]), y1 = static_cast<double>(Y[1] - Y[0]);
            const double x2 = static_cast<double>(X[2] - X[0]), y2 = static_cast<double>(Y[2] - Y[0]);
            const double z1 = Zw[1] - Zw[0], z2 = Zw[2] - Zw[0];
            const double det = x1 * y2 - x2 * y1;
            const double gx = (z1 * y2 - z2 * y1) / det, gy = (x1 * z2 - x2 * z1) / det;
            double blad = tol_;
            int64_t gleboki = -1, glebokiOdl = -1;
            for (int64_t y = ymin; y <= ymax; ++y) {
                int64_t lo, hi;
                zakres(y, lo, hi);
                if (lo > hi) continue;
                const double* wiersz = Z_ + y * W_;
                const double baza = Zw[0] + gy * static_cast<double>(y - Y[0]) - gx * static_cast<double>(X[0]);
                for (int64_t x = lo; x <= hi; ++x) {
                    const double z = wiersz[x];
                    if (z == z) {
                        const double e = std::fabs(z - (baza + gx * static_cast<double>(x)));
                        if (e > blad) {
                            blad = e;
                            najlepszy = y * W_ + x;
                        }
                    } else if (gleboki_[static_cast<std::size_t>(y * W_ + x)]) {
                        int64_t odl = std::numeric_limits<int64_t>::max();
                        for (int k = 0; k < 3; ++k)
                            odl = std::min(odl, (x - X[k]) * (x - X[k]) + (y - Y[k]) * (y - Y[k]));
                        if (odl > glebokiOdl) {
                            glebokiOdl = odl;
                            gleboki = y * W_ + x;
                        }
                    }
                }
            }
            if (gleboki >= 0) return Zglos(t, gleboki, kWymuszony);
            return Zglos(t, najlepszy, blad);
        }
        // A vertex without data: the node with data nearest to such a vertex
        // (nodes on an edge between two vertices with data only by their error).
        double blad = tol_;
        int64_t wymuszony = -1, wymOdl = std::numeric_limits<int64_t>::max();
        for (int64_t y = ymin; y <= ymax; ++y) {
            int64_t lo, hi;
            zakres(y, lo, hi);
            const double* wiersz = Z_ + y * W_;
            for (int64_t x = lo; x <= hi; ++x) {
                const double z = wiersz[x];
                if (z != z) continue;
                bool wierzcholek = false;
                for (int k = 0; k < 3; ++k) wierzcholek |= (x == X[k] && y == Y[k]);
                if (wierzcholek) continue;
                int krawedz = -1;
                for (int k = 0; k < 3; ++k)
                    if (dane[(k + 1) % 3] && dane[(k + 2) % 3] && A[k] * x + By[k] * y + Bc[k] == 0) krawedz = k;
                if (krawedz >= 0) {
                    const int P = (krawedz + 1) % 3, Q = (krawedz + 2) % 3;
                    const double ux = static_cast<double>(X[Q] - X[P]), uy = static_cast<double>(Y[Q] - Y[P]);
                    const double u = (static_cast<double>(x - X[P]) * ux + static_cast<double>(y - Y[P]) * uy) /
                                     (ux * ux + uy * uy);
                    const double e = std::fabs(z - (Zw[P] + u * (Zw[Q] - Zw[P])));
                    if (e > blad) {
                        blad = e;
                        najlepszy = y * W_ + x;
                    }
                    continue;
                }
                for (int k = 0; k < 3; ++k) {
                    if (dane[k]) continue;
                    const int64_t odl = (x - X[k]) * (x - X[k]) + (y - Y[k]) * (y - Y[k]);
                    if (odl < wymOdl) {
                        wymOdl = odl;
                        wymuszony = y * W_ + x;
                    }
                }
            }
        }
        if (wymuszony >= 0) return Zglos(t, wymuszony, kWymuszony);
        Zglos(t, najlepszy, blad);
    }
};

}  // namespace

std::optional<TTinNMT> PrzerzedzSiatke(const TSiatkaNMT& siatka, double tolerancja, const TPostep& postep,
                                       const std::atomic<bool>* przerwij) {
    if (siatka.Kolumny < 2 || siatka.Wiersze < 2) return TTinNMT{};
    if (!(tolerancja >= 0.0) || !std::isfinite(tolerancja))
        throw BladKonwersji("Tolerancja wysokości musi być liczbą nieujemną (podano " + G2(tolerancja) + ").");
    TPrzerzedzanie p(siatka, tolerancja);
    if (!p.Licz(postep, przerwij)) return std::nullopt;
    return p.Wynik();
}
