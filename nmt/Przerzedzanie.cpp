#include "nmt/Przerzedzanie.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

#include "common/Rownolegle.h"

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

// A few values in ascending order (an insertion sort: at most eight of them).
template <typename T>
void UporzadkujKilka(T* a, int n) {
    for (int i = 1; i < n; ++i)
        for (int j = i; j > 0 && a[j] < a[j - 1]; --j) std::swap(a[j], a[j - 1]);
}

inline int64_t PodlogaDziel(int64_t a, int64_t b) {  // floor(a / b), b > 0
    const int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

// The error of a split the data's edge asks for, and of a triangle whose scan waits for those splits.
constexpr double kWymuszony = std::numeric_limits<double>::infinity();
constexpr double kDoSkanowania = std::numeric_limits<double>::max();

// A heap entry: a triangle's node to insert and its error. Of equal errors the
// lower node, then the lower triangle comes first, so the order of insertions
// depends on the entries alone, not on how the heap holds them. Node and
// triangle share one key (node + 1 above, triangle below), so an entry is 16
// bytes and the order one comparison of each. An entry counts while its node
// and error are still its triangle's (TPrzerzedzanie::kand_, bladKand_).
struct TWpis {
    double Blad;
    std::uint64_t Klucz;

    TWpis(double blad, int64_t wezel, int32_t trojkat)
        : Blad(blad), Klucz(static_cast<std::uint64_t>(wezel + 1) << 32 | static_cast<std::uint32_t>(trojkat)) {}
    int64_t Wezel() const { return static_cast<int64_t>(Klucz >> 32) - 1; }
    int32_t Trojkat() const { return static_cast<int32_t>(Klucz & 0xFFFFFFFFu); }
    bool operator<(const TWpis& o) const { return Blad < o.Blad || (Blad == o.Blad && Klucz > o.Klucz); }
};

// The nodes of one kind (with data, or deep in a hole) as runs along each
// row, so that a scan steps over a hole in one move instead of node by node.
struct TBieg {
    int32_t Od, Do;  // columns, inclusive
};

class TBiegi {
public:
    // jest(i, j): the node belongs; wiersz(j) is called once before row j's nodes.
    template <typename FWiersz, typename FJest>
    void Zbuduj(int32_t W, int32_t H, FWiersz wiersz, FJest jest) {
        poczatek_.assign(static_cast<std::size_t>(H) + 1, 0);
        biegi_.clear();
        for (int32_t j = 0; j < H; ++j) {
            wiersz(j);
            for (int32_t i = 0; i < W;) {
                if (!jest(i)) {
                    ++i;
                    continue;
                }
                const int32_t od = i;
                while (i < W && jest(i)) ++i;
                biegi_.push_back({od, i - 1});
            }
            poczatek_[static_cast<std::size_t>(j) + 1] = static_cast<int32_t>(biegi_.size());
        }
    }
    // The first run of row y that reaches column x or beyond.
    const TBieg* Od(int64_t y, int64_t x) const {
        return std::lower_bound(Poczatek(y), Koniec(y), x, [](const TBieg& b, int64_t v) { return b.Do < v; });
    }
    const TBieg* Poczatek(int64_t y) const { return biegi_.data() + poczatek_[static_cast<std::size_t>(y)]; }
    const TBieg* Koniec(int64_t y) const { return biegi_.data() + poczatek_[static_cast<std::size_t>(y) + 1]; }
    // The nearest member of row y at or after x (INT64_MAX: none), at or before x (-1: none).
    int64_t Nastepny(int64_t y, int64_t x) const {
        const TBieg* b = Od(y, x);
        return b == Koniec(y) ? std::numeric_limits<int64_t>::max() : std::max<int64_t>(b->Od, x);
    }
    int64_t Poprzedni(int64_t y, int64_t x) const {
        const TBieg* b = std::upper_bound(Poczatek(y), Koniec(y), x,
                                          [](int64_t v, const TBieg& q) { return v < q.Od; });
        return b == Poczatek(y) ? -1 : std::min<int64_t>((b - 1)->Do, x);
    }

private:
    std::vector<int32_t> poczatek_;
    std::vector<TBieg> biegi_;
};

class TPrzerzedzanie {
public:
    // A nanometre over the tolerance: the rounding of a plane at its own vertices never asks for them again.
    TPrzerzedzanie(const TSiatkaNMT& s, double tol, const TWatkiPrzerzedzania& watki)
        : s_(s), W_(s.Kolumny), H_(s.Wiersze), Z_(s.Z.data()), tol_(tol + 1e-9),
          prog_(std::max<int64_t>(watki.Prog, 1)), ileWatkow_(watki.Ile) {
        // The nodes with data, and the nodes without data that have no data among their eight neighbours.
        const double* wiersz = nullptr;
        dane_.Zbuduj(
            W_, H_, [&](int32_t j) { wiersz = Z_ + s.Indeks(0, j); },
            [&](int32_t i) {
                const bool d = !std::isnan(wiersz[i]);
                dziury_ = dziury_ || !d;
                return d;
            });
        // Per column, whether one of the three rows around j has data there.
        std::vector<std::uint8_t> kolumna(static_cast<std::size_t>(W_));
        glebokie_.Zbuduj(
            W_, H_,
            [&](int32_t j) {
                for (int32_t i = 0; i < W_; ++i) {
                    bool d = false;
                    for (int32_t q = std::max(0, j - 1); q <= std::min(H_ - 1, j + 1); ++q)
                        d = d || !std::isnan(Z_[s.Indeks(i, q)]);
                    kolumna[static_cast<std::size_t>(i)] = d;
                }
            },
            [&](int32_t i) {
                for (int32_t p = std::max(0, i - 1); p <= std::min(W_ - 1, i + 1); ++p)
                    if (kolumna[static_cast<std::size_t>(p)]) return false;
                return true;
            });
    }

    bool Licz(const TPostep& postep, const std::atomic<bool>* przerwij) {
        const int32_t a = DodajPunkt(0, 0), b = DodajPunkt(W_ - 1, 0), c = DodajPunkt(W_ - 1, H_ - 1),
                      d = DodajPunkt(0, H_ - 1);
        if (watki_ == nullptr && ileWatkow_ > 1 && static_cast<int64_t>(W_) * H_ >= prog_)
            watki_ = std::make_unique<TDrugiWatek>([this] { SkanujStrone(1); });
        const int32_t t0 = NowyTrojkat(a, b, c), t1 = NowyTrojkat(a, c, d);
        N_[t0] = {-1, t1, -1};  // opposite a: bc (hull); opposite b: ca -> t1; opposite c: ab (hull)
        N_[t1] = {-1, -1, t0};  // opposite a: cd (hull); opposite c: da (hull); opposite d: ac -> t0
        Skanuj(t0);
        Skanuj(t1);
        WykonajSkany();
        double bladPoczatkowy = -1.0, ulamek = 0.0;
        std::int64_t krok = 0;
        while (!kopiec_.empty()) {
            std::pop_heap(kopiec_.begin(), kopiec_.end());
            const TWpis w = kopiec_.back();
            kopiec_.pop_back();
            const int32_t t = w.Trojkat();
            if (kand_[static_cast<std::size_t>(t)] != w.Wezel() || bladKand_[static_cast<std::size_t>(t)] != w.Blad)
                continue;
            if (w.Blad == kDoSkanowania) {
                SkanujPlaszczyzne(t, Trojkat(t));
                WykonajSkany();
                continue;
            }
            if ((++krok & 1023) == 0) {
                if (przerwij && przerwij->load(std::memory_order_relaxed)) return false;
                if (postep && w.Blad < kDoSkanowania) {
                    if (bladPoczatkowy < 0) bladPoczatkowy = w.Blad;
                    if (bladPoczatkowy > tol_ * 1.0001) {
                        const double u = std::log(bladPoczatkowy / w.Blad) / std::log(bladPoczatkowy / tol_);
                        ulamek = std::max(ulamek, std::clamp(u, 0.0, 1.0));
                        postep(ulamek);
                    }
                }
            }
            Wstaw(t, w.Wezel());
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
    // Batches of plane scans reaching prog_ nodes are shared with a second thread.
    const int64_t prog_;
    const int ileWatkow_;
    TBiegi dane_, glebokie_;
    std::vector<int32_t> px_, py_;
    std::vector<std::uint8_t> pd_;  // the point has data (kept beside it: the grid's heights are far apart)
    bool dziury_ = false;           // some node has no data
    std::vector<std::array<int32_t, 3>> V_, N_;
    std::vector<int64_t> kand_;
    std::vector<double> bladKand_;
    std::vector<TWpis> kopiec_;
    std::vector<int32_t> zmienione_, stos_;

    int64_t Wezel(int32_t p) const {
        return static_cast<int64_t>(py_[static_cast<std::size_t>(p)]) * W_ + px_[static_cast<std::size_t>(p)];
    }
    double ZPunktu(int32_t p) const { return Z_[Wezel(p)]; }
    bool Dane(int32_t p) const { return pd_[static_cast<std::size_t>(p)] != 0; }

    int32_t DodajPunkt(int32_t x, int32_t y) {
        px_.push_back(x);
        py_.push_back(y);
        pd_.push_back(!std::isnan(Z_[static_cast<int64_t>(y) * W_ + x]));
        return static_cast<int32_t>(px_.size() - 1);
    }
    int32_t NowyTrojkat(int32_t a, int32_t b, int32_t c) {
        V_.push_back({a, b, c});
        N_.push_back({-1, -1, -1});
        kand_.push_back(-1);
        bladKand_.push_back(0.0);
        return static_cast<int32_t>(V_.size() - 1);
    }
    void Zmieniony(int32_t t) { zmienione_.push_back(t); }
    // In u, the neighbour `stary` becomes `nowy`.
    void Podmien(int32_t u, int32_t stary, int32_t nowy) {
        if (u < 0) return;
        for (int32_t& n : N_[static_cast<std::size_t>(u)])
            if (n == stary) n = nowy;
    }
    bool ZDanymi(int32_t t) const {
        const auto& v = V_[static_cast<std::size_t>(t)];
        return Dane(v[0]) && Dane(v[1]) && Dane(v[2]);
    }
    // The edge of t opposite its vertex k joins two vertices with data and
    // the triangle across it has data at every vertex: the nodes on it are
    // covered there.
    bool KrytaKrawedz(int32_t t, int k) const {
        const auto& v = V_[static_cast<std::size_t>(t)];
        const int32_t u = N_[static_cast<std::size_t>(t)][static_cast<std::size_t>(k)];
        return Dane(v[(k + 1) % 3]) && Dane(v[(k + 2) % 3]) && u >= 0 && ZDanymi(u);
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
        // A triangle with a vertex without data asks for what its neighbours leave
        // uncovered (KrytaKrawedz): the neighbours of the changed ones are scanned again too.
        const std::size_t ileZmienionych = dziury_ ? zmienione_.size() : 0;
        for (std::size_t n = 0; n < ileZmienionych; ++n)
            for (int32_t u : N_[static_cast<std::size_t>(zmienione_[n])])
                if (u >= 0 && !ZDanymi(u)) zmienione_.push_back(u);
        // Each changed triangle scanned once (its version moves on, so older heap entries lapse).
        std::sort(zmienione_.begin(), zmienione_.end());
        zmienione_.erase(std::unique(zmienione_.begin(), zmienione_.end()), zmienione_.end());
        for (int32_t q : zmienione_) Skanuj(q);
        WykonajSkany();
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

    // p on the edge opposite vertex k of t: t and the triangle across that
    // edge are each split in two the same way (Rozetnij).
    void WstawNaKrawedz(int32_t t, int k, int32_t p) {
        const int32_t u = N_[static_cast<std::size_t>(t)][static_cast<std::size_t>(k)];
        const int32_t T2 = Rozetnij(t, k, p);
        N_[T2][0] = u;
        if (u >= 0) {
            int m = 0;
            while (N_[u][m] != t) ++m;
            const int32_t U2 = Rozetnij(u, m, p);
            // Across the two halves of the edge: t with U2, u with T2.
            N_[t][0] = U2;
            N_[U2][0] = t;
            N_[u][0] = T2;
            for (int32_t q : {u, U2}) stos_.push_back(q);
        }
        for (int32_t q : {t, T2}) stos_.push_back(q);
    }

    // t = (a, b, c) with p on bc (the edge opposite vertex k) becomes (a, b, p)
    // and the new triangle (a, p, c), which it returns. Their neighbours
    // across bp and pc (index 0) are left for the caller.
    int32_t Rozetnij(int32_t t, int k, int32_t p) {
        const auto vt = V_[static_cast<std::size_t>(t)];
        const auto nt = N_[static_cast<std::size_t>(t)];
        const int32_t a = vt[k], b = vt[(k + 1) % 3], c = vt[(k + 2) % 3];
        const int32_t tAB = nt[(k + 2) % 3], tCA = nt[(k + 1) % 3];
        const int32_t nowy = NowyTrojkat(a, p, c);
        V_[t] = {a, b, p};
        N_[t] = {-1, nowy, tAB};
        N_[nowy] = {-1, tCA, t};
        Podmien(tCA, t, nowy);
        Zmieniony(t);
        Zmieniony(nowy);
        return nowy;
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
        kand_[static_cast<std::size_t>(t)] = wezel;
        bladKand_[static_cast<std::size_t>(t)] = blad;
        if (wezel < 0 && blad != kDoSkanowania) return;
        kopiec_.emplace_back(blad, wezel, t);
        std::push_heap(kopiec_.begin(), kopiec_.end());
    }

    // A triangle on the grid: its vertices, and its edges as half-planes.
    struct TTrojkatSiatki {
        int64_t X[3], Y[3];
        double Zw[3];
        bool Dane[3];
        // Edge k runs from vertex k+1 to k+2; inside: A*x + By*y + Bc >= 0.
        int64_t A[3], By[3], Bc[3];
        double OdwrotneA[3];  // 1 / A (0 for A = 0)
        int64_t Ymin, Ymax;

        // The columns lo..hi of row y inside the triangle, clipped to 0..W-1 (empty: lo > hi).
        // The bound of each edge is first estimated with the reciprocal of A and then
        // made exact by the integer test of the edge's half-plane: an integer division
        // for every edge of every row scanned cost more than the scan of a small triangle.
        void Zakres(int64_t y, int64_t W, int64_t& lo, int64_t& hi) const {
            lo = 0;
            hi = W - 1;
            for (int k = 0; k < 3; ++k) {
                const int64_t B = By[k] * y + Bc[k];
                const int64_t a = A[k];
                if (a == 0) {
                    if (B < 0) hi = -1;
                    continue;
                }
                // The estimate is within one of -B/A: the values stay far below 2^52.
                int64_t x = static_cast<int64_t>(-static_cast<double>(B) * OdwrotneA[k]);
                if (a > 0) {  // the least x with a*x + B >= 0
                    while (a * x + B < 0) ++x;
                    while (a * (x - 1) + B >= 0) --x;
                    lo = std::max(lo, x);
                } else {  // the greatest x with a*x + B >= 0
                    while (a * x + B < 0) --x;
                    while (a * (x + 1) + B >= 0) ++x;
                    hi = std::min(hi, x);
                }
            }
        }
        bool Wierzcholek(int64_t x, int64_t y) const {
            return (x == X[0] && y == Y[0]) || (x == X[1] && y == Y[1]) || (x == X[2] && y == Y[2]);
        }
        // Squared plan distance from (x, y) to the nearest vertex; only the vertices without data when `bezDanych`.
        int64_t OdlegloscDoWierzcholka(int64_t x, int64_t y, bool bezDanych) const {
            int64_t odl = std::numeric_limits<int64_t>::max();
            for (int k = 0; k < 3; ++k)
                if (!(bezDanych && Dane[k])) odl = std::min(odl, (x - X[k]) * (x - X[k]) + (y - Y[k]) * (y - Y[k]));
            return odl;
        }
    };

    TTrojkatSiatki Trojkat(int32_t t) const {
        const auto v = V_[static_cast<std::size_t>(t)];
        TTrojkatSiatki T;
        for (int k = 0; k < 3; ++k) {
            T.X[k] = px_[static_cast<std::size_t>(v[k])];
            T.Y[k] = py_[static_cast<std::size_t>(v[k])];
            T.Zw[k] = ZPunktu(v[k]);
            T.Dane[k] = !std::isnan(T.Zw[k]);
        }
        for (int k = 0; k < 3; ++k) {
            const int64_t Px = T.X[(k + 1) % 3], Py = T.Y[(k + 1) % 3], Qx = T.X[(k + 2) % 3], Qy = T.Y[(k + 2) % 3];
            // (Qx-Px)*(y-Py) - (Qy-Py)*(x-Px) >= 0
            T.A[k] = -(Qy - Py);
            T.By[k] = Qx - Px;
            T.Bc[k] = -(Qx - Px) * Py + (Qy - Py) * Px;
            T.OdwrotneA[k] = T.A[k] != 0 ? 1.0 / static_cast<double>(T.A[k]) : 0.0;
        }
        T.Ymin = std::min({T.Y[0], T.Y[1], T.Y[2]});
        T.Ymax = std::max({T.Y[0], T.Y[1], T.Y[2]});
        return T;
    }

    // The node of t to insert next and its error, or none when t is done.
    void Skanuj(int32_t t) {
        const TTrojkatSiatki T = Trojkat(t);
        if (T.Dane[0] && T.Dane[1] && T.Dane[2])
            SkanujZDanymi(t, T);
        else
            SkanujBrzeg(t, T);
    }

    // Every vertex has data: when the triangle reaches more than a cell into a
    // hole, the deep node farthest from the vertices splits it; otherwise the
    // node with data farthest from the plane through the vertices. While
    // splits of the data's edge wait, that scan waits too: the triangle would
    // most likely be split before its turn came.
    void SkanujZDanymi(int32_t t, const TTrojkatSiatki& T) {
        int64_t gleboki = -1, glebokiOdl = -1;
        for (int64_t y = T.Ymin; y <= T.Ymax; ++y) {
            const TBieg *b = glebokie_.Poczatek(y), *k = glebokie_.Koniec(y);
            if (b == k) continue;
            int64_t lo, hi;
            T.Zakres(y, W_, lo, hi);
            if (lo > hi) continue;
            for (b = glebokie_.Od(y, lo); b != k && b->Od <= hi; ++b)
                NajdalszyWBiegu(T, y, std::max<int64_t>(b->Od, lo), std::min<int64_t>(b->Do, hi), gleboki, glebokiOdl);
        }
        if (gleboki >= 0) return Zglos(t, gleboki, kWymuszony);
        if (!kopiec_.empty() && kopiec_.front().Blad == kWymuszony) return Zglos(t, -1, kDoSkanowania);
        SkanujPlaszczyzne(t, T);
    }

    // A plane scan of a batch: the triangle's rows from yOd in steps of krok
    // (a large triangle is shared by both threads row by row), the plane
    // through its vertices, z = Zw0 + gx (x - X0) + gy (y - Y0), and the node
    // farthest from it (-1: none beyond the tolerance). Strona 1 is the second
    // thread's.
    struct TSkan {
        int32_t t;
        int32_t Strona;
        int64_t yOd, krok, Praca;
        double gx, gy;
        int64_t Wezel;
        double Blad;
        TTrojkatSiatki T;
    };

    // The scan waits in the batch; WykonajSkany reports the batch's results.
    // Waiting changes nothing: a plane scan's error is never a forced split,
    // the only result that the other scans of the batch look for on the heap.
    void SkanujPlaszczyzne(int32_t t, const TTrojkatSiatki& T) {
        const double x1 = static_cast<double>(T.X[1] - T.X[0]), y1 = static_cast<double>(T.Y[1] - T.Y[0]);
        const double x2 = static_cast<double>(T.X[2] - T.X[0]), y2 = static_cast<double>(T.Y[2] - T.Y[0]);
        const double z1 = T.Zw[1] - T.Zw[0], z2 = T.Zw[2] - T.Zw[0];
        const double det = x1 * y2 - x2 * y1;
        const double gx = (z1 * y2 - z2 * y1) / det, gy = (x1 * z2 - x2 * z1) / det;
        // The nodes inside, about: half the box, and a set-up for every row.
        const int64_t szer = std::max({T.X[0], T.X[1], T.X[2]}) - std::min({T.X[0], T.X[1], T.X[2]}) + 1;
        const int64_t wiersze = T.Ymax - T.Ymin + 1;
        skany_.push_back({t, 0, T.Ymin, 1, wiersze * (szer / 2 + 8), gx, gy, -1, tol_, T});
    }

    void SkanujWiersze(TSkan& s) const {
        const TTrojkatSiatki& T = s.T;
        const double gx = s.gx, gy = s.gy;
        double blad = tol_;
        int64_t najlepszy = -1;
        for (int64_t y = s.yOd; y <= T.Ymax; y += s.krok) {
            int64_t lo, hi;
            T.Zakres(y, W_, lo, hi);
            if (lo > hi) continue;
            const double* wiersz = Z_ + y * W_;
            const double baza = T.Zw[0] + gy * static_cast<double>(y - T.Y[0]) - gx * static_cast<double>(T.X[0]);
            for (const TBieg *b = dane_.Od(y, lo), *k = dane_.Koniec(y); b != k && b->Od <= hi; ++b)
                for (int64_t x = std::max<int64_t>(b->Od, lo), e = std::min<int64_t>(b->Do, hi); x <= e; ++x) {
                    const double d = std::fabs(wiersz[x] - (baza + gx * static_cast<double>(x)));
                    if (d > blad) {
                        blad = d;
                        najlepszy = y * W_ + x;
                    }
                }
        }
        s.Wezel = najlepszy;
        s.Blad = blad;
    }

    void SkanujStrone(int32_t strona) {
        for (TSkan& s : skany_)
            if (s.Strona == strona) SkanujWiersze(s);
    }

    // The batch's scans, on two threads when they reach prog_ nodes together:
    // a triangle of half that much is split row by row (even rows here, odd
    // rows there), the rest go whole to the thread with less to do. Of equal
    // errors the lower node is taken, as one scan in row order takes it, so
    // the result never depends on how the batch was shared.
    void WykonajSkany() {
        if (skany_.empty()) return;
        int64_t razem = 0;
        for (const TSkan& s : skany_) razem += s.Praca;
        if (razem >= prog_ && przerwa_ > 0) --przerwa_;
        if (watki_ && watki_->Jest() && razem >= prog_ && przerwa_ == 0) {
            const std::size_t ile = skany_.size();
            skany_.reserve(2 * ile);  // the halves are added below while `s` refers into the array
            int64_t praca[2] = {0, 0};
            for (std::size_t n = 0; n < ile; ++n) {
                TSkan& s = skany_[n];
                if (2 * s.Praca >= prog_ && s.T.Ymax > s.T.Ymin) {
                    s.krok = 2;
                    s.Praca /= 2;
                    TSkan drugi = s;
                    drugi.yOd = s.yOd + 1;
                    drugi.Strona = 1;
                    skany_.push_back(drugi);
                    praca[0] += s.Praca;
                    praca[1] += s.Praca;
                } else {
                    s.Strona = praca[1] < praca[0] ? 1 : 0;
                    praca[s.Strona] += s.Praca;
                }
            }
            watki_->Zlec();
            SkanujStrone(0);
            // When the other cores are busy the second thread comes late, and
            // every batch waits for it: then this thread scans alone for a while.
            spoznione_ += !watki_->Czekaj();
            if (++oddane_ == 32) {
                if (spoznione_ > 8) przerwa_ = 2048;
                oddane_ = spoznione_ = 0;
            }
            for (std::size_t n = ile; n < skany_.size(); ++n) {
                const TSkan& d = skany_[n];
                for (std::size_t m = 0; m < ile; ++m) {
                    TSkan& s = skany_[m];
                    if (s.t != d.t || s.krok != 2) continue;
                    if (d.Blad > s.Blad || (d.Blad == s.Blad && d.Wezel >= 0 && d.Wezel < s.Wezel)) {
                        s.Blad = d.Blad;
                        s.Wezel = d.Wezel;
                    }
                    break;
                }
            }
            skany_.resize(ile);
        } else {
            for (TSkan& s : skany_) SkanujWiersze(s);
        }
        for (const TSkan& s : skany_) Zglos(s.t, s.Wezel, s.Blad);
        skany_.clear();
    }

    // Of the columns a..b of row y, the node farthest from the triangle's
    // nearest vertex, when farther than `odl` (of equals the first). That
    // distance is the lower envelope of three parabolas in x: between two
    // crossings of the parabolas it is one of them, so on the integers there
    // it is highest only at an end; the ends and the integers around the
    // crossings are all that need measuring.
    void NajdalszyWBiegu(const TTrojkatSiatki& T, int64_t y, int64_t a, int64_t b, int64_t& wezel, int64_t& odl) const {
        int64_t kand[8];
        int n = 0;
        kand[n++] = a;
        kand[n++] = b;
        for (int p = 0; p < 3; ++p)
            for (int q = p + 1; q < 3; ++q) {
                if (T.X[p] == T.X[q]) continue;
                // (x-Xp)^2 + (y-Yp)^2 = (x-Xq)^2 + (y-Yq)^2 is linear in x.
                int64_t licznik = T.X[q] * T.X[q] + (y - T.Y[q]) * (y - T.Y[q]) - T.X[p] * T.X[p] -
                                  (y - T.Y[p]) * (y - T.Y[p]);
                int64_t mianownik = 2 * (T.X[q] - T.X[p]);
                if (mianownik < 0) licznik = -licznik, mianownik = -mianownik;
                const int64_t c = PodlogaDziel(licznik, mianownik);
                for (int64_t x : {c, c + 1})
                    if (x > a && x < b) kand[n++] = x;
            }
        UporzadkujKilka(kand, n);
        for (int m = 0; m < n; ++m) {
            const int64_t d = T.OdlegloscDoWierzcholka(kand[m], y, false);
            if (d > odl) {
                odl = d;
                wezel = y * W_ + kand[m];
            }
        }
    }

    // A vertex without data: the node with data nearest to such a vertex
    // splits the triangle, so the data's edge is traced; nodes on an edge
    // covered from the other side count only by their error from that edge.
    // An edge between two vertices with data that nothing covers (on the
    // grid's edge, or with a vertex without data across it) is no exception.
    void SkanujBrzeg(int32_t t, const TTrojkatSiatki& T) {
        auto bladNaKrawedzi = [&](int64_t x, int64_t y, int krawedz) {
            const int P = (krawedz + 1) % 3, Q = (krawedz + 2) % 3;
            const double ux = static_cast<double>(T.X[Q] - T.X[P]), uy = static_cast<double>(T.Y[Q] - T.Y[P]);
            const double u = (static_cast<double>(x - T.X[P]) * ux + static_cast<double>(y - T.Y[P]) * uy) /
                             (ux * ux + uy * uy);
            return std::fabs(Z_[y * W_ + x] - (T.Zw[P] + u * (T.Zw[Q] - T.Zw[P])));
        };
        const bool kryta[3] = {KrytaKrawedz(t, 0), KrytaKrawedz(t, 1), KrytaKrawedz(t, 2)};
        double blad = tol_;
        int64_t najlepszy = -1, wymuszony = -1, wymOdl = std::numeric_limits<int64_t>::max();
        for (int64_t y = T.Ymin; y <= T.Ymax; ++y) {
            int64_t lo, hi;
            T.Zakres(y, W_, lo, hi);
            if (lo > hi) continue;
            // The row's nodes that never split by distance: the vertices and the nodes on an edge covered from
            // the other side (at most one such node per edge, or the whole row along a level edge).
            int64_t pominiete[6];
            int ilePominietych = 0;
            std::pair<int64_t, int> naKrawedzi[3];
            int ileNaKrawedzi = 0, poziomaKrawedz = -1;
            for (int k = 0; k < 3; ++k)
                if (T.Y[k] == y) pominiete[ilePominietych++] = T.X[k];
            for (int k = 0; k < 3; ++k) {
                if (!kryta[k]) continue;
                const int64_t B = T.By[k] * y + T.Bc[k];
                if (T.A[k] == 0) {
                    if (B == 0) poziomaKrawedz = k;
                    continue;
                }
                if (B % T.A[k] != 0) continue;
                const int64_t x = -B / T.A[k];
                if (x < lo || x > hi) continue;
                pominiete[ilePominietych++] = x;
                if (!T.Wierzcholek(x, y) && !std::isnan(Z_[y * W_ + x])) naKrawedzi[ileNaKrawedzi++] = {x, k};
            }
            if (poziomaKrawedz >= 0) {
                // The row is that edge: every node of it with data counts by its error.
                for (const TBieg *b = dane_.Od(y, lo), *k = dane_.Koniec(y); b != k && b->Od <= hi; ++b)
                    for (int64_t x = std::max<int64_t>(b->Od, lo), e = std::min<int64_t>(b->Do, hi); x <= e; ++x) {
                        if (T.Wierzcholek(x, y)) continue;
                        const double d = bladNaKrawedzi(x, y, poziomaKrawedz);
                        if (d > blad) {
                            blad = d;
                            najlepszy = y * W_ + x;
                        }
                    }
                continue;
            }
            UporzadkujKilka(naKrawedzi, ileNaKrawedzi);
            for (int m = 0; m < ileNaKrawedzi; ++m) {
                const auto [x, k] = naKrawedzi[m];
                const double d = bladNaKrawedzi(x, y, k);
                if (d > blad) {
                    blad = d;
                    najlepszy = y * W_ + x;
                }
            }
            // The nearest nodes with data on either side of each vertex without data.
            auto pominiety = [&](int64_t x) {
                return std::find(pominiete, pominiete + ilePominietych, x) != pominiete + ilePominietych;
            };
            int64_t najblizszy = -1, odlWiersza = std::numeric_limits<int64_t>::max();
            auto rozwaz = [&](int64_t x) {
                const int64_t d = T.OdlegloscDoWierzcholka(x, y, true);
                if (d < odlWiersza || (d == odlWiersza && x < najblizszy)) {
                    odlWiersza = d;
                    najblizszy = x;
                }
            };
            for (int k = 0; k < 3; ++k) {
                if (T.Dane[k]) continue;
                int64_t x = dane_.Poprzedni(y, std::min(T.X[k], hi));
                while (x >= lo && pominiety(x)) x = dane_.Poprzedni(y, x - 1);
                if (x >= lo) rozwaz(x);
                x = dane_.Nastepny(y, std::max(T.X[k], lo));
                while (x <= hi && pominiety(x)) x = dane_.Nastepny(y, x + 1);
                if (x <= hi) rozwaz(x);
            }
            if (najblizszy >= 0 && odlWiersza < wymOdl) {
                wymOdl = odlWiersza;
                wymuszony = y * W_ + najblizszy;
            }
        }
        if (wymuszony >= 0) return Zglos(t, wymuszony, kWymuszony);
        Zglos(t, najlepszy, blad);
    }

    std::vector<TSkan> skany_;
    int oddane_ = 0, spoznione_ = 0, przerwa_ = 0;
    // Last: the second thread stops before the arrays it reads go.
    std::unique_ptr<TDrugiWatek> watki_;
};

}  // namespace

std::optional<TTinNMT> PrzerzedzSiatke(const TSiatkaNMT& siatka, double tolerancja, const TPostep& postep,
                                       const std::atomic<bool>* przerwij, const TWatkiPrzerzedzania& watki) {
    if (siatka.Kolumny < 2 || siatka.Wiersze < 2) return TTinNMT{};
    if (!(tolerancja >= 0.0) || !std::isfinite(tolerancja))
        throw BladKonwersji("Tolerancja wysokości musi być liczbą nieujemną (podano " + G2(tolerancja) + ").");
    TPrzerzedzanie p(siatka, tolerancja, watki);
    if (!p.Licz(postep, przerwij)) return std::nullopt;
    return p.Wynik();
}
