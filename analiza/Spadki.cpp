#include "analiza/Spadki.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The least area of a strip side that counts as flat surface there, m^2 (rounding of the clips).
constexpr double NajmniejszePole = 1e-9;

// The sums of one thread: per strip and side (2 i left, 2 i + 1 right) and the least slope per strip.
struct TSumySpadkow {
    std::vector<double> Pole, Plaskie, Min;
    std::vector<std::int32_t> Paski;
    explicit TSumySpadkow(std::size_t ilePaskow)
        : Pole(2 * ilePaskow, 0.0), Plaskie(2 * ilePaskow, 0.0),
          Min(ilePaskow, std::numeric_limits<double>::infinity()) {}
};

void DodajTrojkat(const TTrojkatRogi& t, const TPodzialTrasy& podzial, double prog, TSumySpadkow& sumy) {
    const std::optional<double> spadek = SpadekTrojkata(t);
    if (!spadek) return;
    const bool plaski = *spadek < prog;
    TWielokat trojkat;
    trojkat.Ile = 3;
    trojkat.X[0] = t.X1, trojkat.Y[0] = t.Y1, trojkat.X[1] = t.X2, trojkat.Y[1] = t.Y2;
    trojkat.X[2] = t.X3, trojkat.Y[2] = t.Y3;
    PaskiWPudelku(podzial, std::min({t.X1, t.X2, t.X3}), std::min({t.Y1, t.Y2, t.Y3}), std::max({t.X1, t.X2, t.X3}),
                  std::max({t.Y1, t.Y2, t.Y3}), sumy.Paski);
    for (const std::int32_t i : sumy.Paski) {
        TWielokat w = trojkat;
        PrzytnijDoPaska(podzial, i, w);
        if (w.Ile == 0) continue;
        const TPolplaszczyzna& os = podzial.Os[static_cast<std::size_t>(i)];
        TWielokat lewa = w, prawa = w;
        Przytnij(lewa, os);
        Przytnij(prawa, TPolplaszczyzna{-os.A, -os.B, -os.C});
        const double pl = PolePowierzchni(lewa), pp = PolePowierzchni(prawa);
        const std::size_t k = 2 * static_cast<std::size_t>(i);
        sumy.Pole[k] += pl;
        sumy.Pole[k + 1] += pp;
        if (plaski) {
            sumy.Plaskie[k] += pl;
            sumy.Plaskie[k + 1] += pp;
        }
        if (pl + pp > 0.0)
            sumy.Min[static_cast<std::size_t>(i)] = std::min(sumy.Min[static_cast<std::size_t>(i)], *spadek);
    }
}

}  // namespace

std::optional<double> SpadekTrojkata(const TTrojkatRogi& t) {
    const double ux = t.X2 - t.X1, uy = t.Y2 - t.Y1, uz = t.Z2 - t.Z1;
    const double vx = t.X3 - t.X1, vy = t.Y3 - t.Y1, vz = t.Z3 - t.Z1;
    const double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
    // No plan area (against the size of the triangle's sides): a vertical triangle has no slope.
    const double skala = std::max({std::fabs(ux), std::fabs(uy), std::fabs(vx), std::fabs(vy)});
    if (!std::isfinite(nx) || !std::isfinite(ny) || !std::isfinite(nz) || !(std::fabs(nz) > 1e-12 * skala * skala))
        return std::nullopt;
    return std::hypot(nx, ny) / std::fabs(nz) * 100.0;
}

std::vector<std::uint8_t> KlasySpadku(const TSiatka& siatka, double prog) {
    std::vector<std::uint8_t> w(siatka.Trojkaty.size(), 2);
    NaDwochWatkach(w.size(), [&](std::size_t od, std::size_t do_) {
        for (std::size_t i = od; i < do_; ++i)
            if (const std::optional<double> s = SpadekTrojkata(Rogi(siatka, i)))
                w[i] = *s < prog ? 0 : *s < 2 * prog ? 1 : 2;
    });
    return w;
}

std::optional<TWynikSpadkow> ObliczSpadki(const TSiatka& proj, const TPodzialTrasy& podzial, double prog,
                                          const TPostepAnalizy& postep, const std::atomic<bool>* przerwij) {
    const std::size_t ilePaskow = static_cast<std::size_t>(podzial.IlePaskow());
    TSumySpadkow polowy[2] = {TSumySpadkow(ilePaskow), TSumySpadkow(ilePaskow)};
    const bool caly = PrzejdzNaDwochWatkach(
        proj.Trojkaty.size(),
        [&](std::size_t od, std::size_t do_, int polowa) {
            for (std::size_t i = od; i < do_; ++i) DodajTrojkat(Rogi(proj, i), podzial, prog, polowy[polowa]);
        },
        postep, przerwij);
    if (!caly) return std::nullopt;

    TWynikSpadkow w;
    w.Przedzialy.resize(static_cast<std::size_t>(podzial.IlePrzedzialow()));
    for (std::size_t j = 0; j < w.Przedzialy.size(); ++j) {
        w.Przedzialy[j].Od = podzial.Granice[j];
        w.Przedzialy[j].Do = podzial.Granice[j + 1];
    }
    // The strip's flat area per side, then the runs.
    std::vector<double> plaskie(2 * ilePaskow);
    for (std::size_t i = 0; i < ilePaskow; ++i) {
        TPrzedzialSpadkow& p = w.Przedzialy[static_cast<std::size_t>(podzial.PrzedzialPaska[i])];
        for (std::size_t k = 2 * i; k < 2 * i + 2; ++k) {
            p.Pole += polowy[0].Pole[k] + polowy[1].Pole[k];
            plaskie[k] = polowy[0].Plaskie[k] + polowy[1].Plaskie[k];
            p.PolePlaskie += plaskie[k];
        }
        const double m = std::min(polowy[0].Min[i], polowy[1].Min[i]);
        if (std::isfinite(m)) p.SpadekMin = p.SpadekMin ? std::min(*p.SpadekMin, m) : m;
    }
    for (int strona = 0; strona < 2; ++strona) {
        for (std::size_t i = 0; i < ilePaskow; ++i) {
            if (!(plaskie[2 * i + strona] > NajmniejszePole)) continue;
            TStrefaPlaska s;
            s.Strona = strona == 0 ? -1 : 1;
            s.Od = podzial.Przekroje[i].S;
            for (; i < ilePaskow && plaskie[2 * i + strona] > NajmniejszePole; ++i) s.Pole += plaskie[2 * i + strona];
            s.Do = podzial.Przekroje[i].S;
            w.Strefy.push_back(s);
        }
    }
    std::stable_sort(w.Strefy.begin(), w.Strefy.end(),
                     [](const TStrefaPlaska& a, const TStrefaPlaska& b) { return a.Od < b.Od; });
    return w;
}
