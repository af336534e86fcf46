#include "scena/TerenDaleki.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "analiza/Wysokosci.h"
#include "common/Rownolegle.h"

namespace {

// Cells of the grid a tile holds: its triangles fill about one mesh block of the placing.
constexpr std::int32_t KafelX = 16, KafelY = 8;

struct TZasiegPlanu {
    double X0 = HUGE_VAL, Y0 = HUGE_VAL, X1 = -HUGE_VAL, Y1 = -HUGE_VAL;
    bool Jest() const { return X0 <= X1 && Y0 <= Y1; }
};

TZasiegPlanu ZasiegPlanu(const TSiatka& teren) {
    TZasiegPlanu z;
    for (const TPunkt3D& p : teren.Wierzcholki)
        if (std::isfinite(p.X) && std::isfinite(p.Y)) {
            z.X0 = std::min(z.X0, p.X), z.X1 = std::max(z.X1, p.X);
            z.Y0 = std::min(z.Y0, p.Y), z.Y1 = std::max(z.Y1, p.Y);
        }
    return z;
}

// The number (in the mesh) of an index triangle whose plan holds the point; -1 when none.
std::int32_t TrojkatPod(const TIndeksWysokosci& ix, double x, double y) {
    const double fi = std::floor((x - ix.Xmin) * ix.OdwrotnoscKomorki),
                 fj = std::floor((y - ix.Ymin) * ix.OdwrotnoscKomorki);
    if (!(fi >= 0 && fi < ix.IleKolumn && fj >= 0 && fj < ix.IleWierszy)) return -1;
    std::uint32_t ile = 0;
    const std::uint32_t* t = ix.TrojkatyKomorki(
        ix.NumerKomorki(static_cast<std::int32_t>(fi), static_cast<std::int32_t>(fj)), ile);
    for (std::uint32_t k = 0; k < ile; ++k) {
        const TTrojkatWysokosci& w = ix.Trojkaty[t[k]];
        const double u = x - w.X1, v = y - w.Y1;
        const double w2 = w.A2 * u + w.B2 * v, w3 = w.A3 * u + w.B3 * v;
        if (w2 >= -TolerancjaTrojkata && w3 >= -TolerancjaTrojkata && 1.0 - w2 - w3 >= -TolerancjaTrojkata)
            return ix.NumeryTrojkatow[t[k]];
    }
    return -1;
}

}  // namespace

double KrokTerenuDalekiego(const TSiatka& teren) {
    double suma = 0;
    std::size_t ile = 0;
    for (const TTrojkat& t : teren.Trojkaty) {
        const TPunkt3D &a = Rog(teren, t, 0), &b = Rog(teren, t, 1), &c = Rog(teren, t, 2);
        const double e = std::hypot(a.X - b.X, a.Y - b.Y) + std::hypot(b.X - c.X, b.Y - c.Y) +
                         std::hypot(c.X - a.X, c.Y - a.Y);
        if (std::isfinite(e)) suma += e, ile += 3;
    }
    double krok = std::max(NajmniejszyKrokTerenuDalekiego, ile ? 2.0 * suma / static_cast<double>(ile) : 0.0);
    const TZasiegPlanu z = ZasiegPlanu(teren);
    if (z.Jest()) {
        // (w/k + 1)(h/k + 1) <= N, with the sides' sum as a bound for the +1s.
        const double w = z.X1 - z.X0, h = z.Y1 - z.Y0;
        auto wezly = [&](double k) { return (w / k + 1.0) * (h / k + 1.0); };
        while (wezly(krok) > NajwiecejWezlowTerenuDalekiego) krok *= 1.25;
    }
    return krok;
}

std::shared_ptr<const TTerenDaleki> ZbudujTerenDaleki(const TSiatka& teren, const TIndeksWysokosci& ixTeren,
                                                      const TIndeksWysokosci& ixProj) {
    auto wynik = std::make_shared<TTerenDaleki>();
    const TZasiegPlanu z = ZasiegPlanu(teren);
    if (ixTeren.Pusty() || !z.Jest()) return wynik;
    const double krok = KrokTerenuDalekiego(teren);
    wynik->Krok = krok;
    const auto nx = static_cast<std::int32_t>(std::ceil((z.X1 - z.X0) / krok));
    const auto ny = static_cast<std::int32_t>(std::ceil((z.Y1 - z.Y0) / krok));
    const std::size_t kolumn = static_cast<std::size_t>(nx) + 1, wierszy = static_cast<std::size_t>(ny) + 1;

    // The nodes' heights, rows in two threads (the index answers several threads at once); NaN: no ground.
    std::vector<double> wys(kolumn * wierszy);
    NaDwochWatkach(
        wierszy,
        [&](std::size_t od, std::size_t do_) {
            for (std::size_t j = od; j < do_; ++j)
                for (std::size_t i = 0; i < kolumn; ++i) {
                    const double x = z.X0 + static_cast<double>(i) * krok, y = z.Y0 + static_cast<double>(j) * krok;
                    double h = NAN;
                    if (const std::optional<double> t = Wysokosc(ixTeren, x, y)) {
                        h = *t;
                        if (!ixProj.Pusty())
                            if (const std::optional<double> p = Wysokosc(ixProj, x, y))
                                h = std::min(h, *p - ObnizeniePodProjektem);
                    }
                    wys[j * kolumn + i] = h;
                }
        },
        64);

    TSiatka& s = wynik->Siatka;
    std::vector<std::int32_t> numer(wys.size(), -1);
    for (std::size_t k = 0; k < wys.size(); ++k)
        if (std::isfinite(wys[k])) {
            numer[k] = static_cast<std::int32_t>(s.Wierzcholki.size());
            const std::size_t i = k % kolumn, j = k / kolumn;
            s.Wierzcholki.push_back(
                {z.X0 + static_cast<double>(i) * krok, z.Y0 + static_cast<double>(j) * krok, wys[k]});
        }

    // The cells tile by tile; a cell with its four nodes gives two triangles, with three one.
    auto dodaj = [&s](std::int32_t a, std::int32_t b, std::int32_t c) {
        TTrojkat t;
        t.W1 = a, t.W2 = b, t.W3 = c;
        s.Trojkaty.push_back(t);
    };
    for (std::int32_t tj = 0; tj < ny; tj += KafelY)
        for (std::int32_t ti = 0; ti < nx; ti += KafelX)
            for (std::int32_t j = tj; j < std::min(ny, tj + KafelY); ++j)
                for (std::int32_t i = ti; i < std::min(nx, ti + KafelX); ++i) {
                    const std::size_t k = static_cast<std::size_t>(j) * kolumn + static_cast<std::size_t>(i);
                    const std::int32_t a = numer[k], b = numer[k + 1], c = numer[k + 1 + kolumn], d = numer[k + kolumn];
                    if (a >= 0 && c >= 0) {
                        if (b >= 0) dodaj(a, b, c);
                        if (d >= 0) dodaj(a, c, d);
                    } else if (b >= 0 && d >= 0) {
                        if (a >= 0) dodaj(a, b, d);
                        if (c >= 0) dodaj(b, c, d);
                    }
                }

    // Each triangle's kind: that of the ground triangle under its centre.
    NaDwochWatkach(
        s.Trojkaty.size(),
        [&](std::size_t od, std::size_t do_) {
            for (std::size_t n = od; n < do_; ++n) {
                const TTrojkatRogi r = Rogi(s, n);
                std::int32_t nr = TrojkatPod(ixTeren, (r.X1 + r.X2 + r.X3) / 3.0, (r.Y1 + r.Y2 + r.Y3) / 3.0);
                // A centre over a hole of the ground: the kind under a corner.
                if (nr < 0) nr = TrojkatPod(ixTeren, r.X1, r.Y1);
                if (nr < 0) nr = TrojkatPod(ixTeren, r.X2, r.Y2);
                if (nr < 0) nr = TrojkatPod(ixTeren, r.X3, r.Y3);
                if (nr >= 0 && static_cast<std::size_t>(nr) < teren.Trojkaty.size())
                    s.Trojkaty[n].Rodzaj = teren.Trojkaty[static_cast<std::size_t>(nr)].Rodzaj;
            }
        },
        4096);
    return wynik;
}
