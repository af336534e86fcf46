#include "analiza/Objetosci.h"

#include <algorithm>
#include <cmath>

namespace {

// The sums of one thread, per strip.
struct TSumyObjetosci {
    std::vector<double> Wykop, Nasyp, Pole, BezTerenu;
    double PozaPasami = 0;
    std::vector<std::int32_t> Paski;
    std::vector<std::uint32_t> Kandydaci;
    explicit TSumyObjetosci(std::size_t n) : Wykop(n, 0.0), Nasyp(n, 0.0), Pole(n, 0.0), BezTerenu(n, 0.0) {}
};

// The terrain triangles whose cells the box touches, each once (into `kandydaci`).
void TrojkatyTerenu(const TIndeksWysokosci& teren, double x0, double y0, double x1, double y1,
                    std::vector<std::uint32_t>& kandydaci) {
    kandydaci.clear();
    const double k = teren.OdwrotnoscKomorki;
    const double fi0 = (x0 - teren.Xmin) * k, fj0 = (y0 - teren.Ymin) * k;
    const double fi1 = (x1 - teren.Xmin) * k, fj1 = (y1 - teren.Ymin) * k;
    if (!(fi1 >= 0) || !(fj1 >= 0) || !(fi0 < teren.IleKolumn) || !(fj0 < teren.IleWierszy)) return;
    const auto i0 = static_cast<std::int32_t>(std::max(0.0, fi0)), j0 = static_cast<std::int32_t>(std::max(0.0, fj0));
    const auto i1 = std::min(teren.IleKolumn - 1, static_cast<std::int32_t>(fi1));
    const auto j1 = std::min(teren.IleWierszy - 1, static_cast<std::int32_t>(fj1));
    for (std::int32_t j = j0; j <= j1; ++j)
        for (std::int32_t i = i0; i <= i1; ++i) {
            std::uint32_t ile = 0;
            const std::uint32_t* t = teren.TrojkatyKomorki(teren.NumerKomorki(i, j), ile);
            kandydaci.insert(kandydaci.end(), t, t + ile);
        }
    if (i1 > i0 || j1 > j0) {
        std::sort(kandydaci.begin(), kandydaci.end());
        kandydaci.erase(std::unique(kandydaci.begin(), kandydaci.end()), kandydaci.end());
    }
}

void DodajTrojkat(const TTrojkatRogi& t, const TIndeksWysokosci& teren, const TPodzialTrasy& podzial,
                  TSumyObjetosci& sumy) {
    // The design plane relative to its first vertex: z = Z1 + a (x - X1) + b (y - Y1).
    const double ux = t.X2 - t.X1, uy = t.Y2 - t.Y1, uz = t.Z2 - t.Z1;
    const double vx = t.X3 - t.X1, vy = t.Y3 - t.Y1, vz = t.Z3 - t.Z1;
    const double det = ux * vy - uy * vx;
    if (!std::isfinite(det) || det == 0.0 || !std::isfinite(uz) || !std::isfinite(vz)) return;
    const double a = (uz * vy - vz * uy) / det, b = (ux * vz - vx * uz) / det;
    TWielokat trojkat;
    trojkat.Ile = 3;
    trojkat.X[0] = t.X1, trojkat.Y[0] = t.Y1, trojkat.X[1] = t.X2, trojkat.Y[1] = t.Y2;
    trojkat.X[2] = t.X3, trojkat.Y[2] = t.Y3;
    double poza = 0.5 * std::fabs(det);
    PaskiWPudelku(podzial, std::min({t.X1, t.X2, t.X3}), std::min({t.Y1, t.Y2, t.Y3}), std::max({t.X1, t.X2, t.X3}),
                  std::max({t.Y1, t.Y2, t.Y3}), sumy.Paski);
    for (const std::int32_t pasek : sumy.Paski) {
        TWielokat kawalek = trojkat;
        PrzytnijDoPaska(podzial, pasek, kawalek);
        if (kawalek.Ile == 0) continue;
        const double pole = PolePowierzchni(kawalek);
        poza -= pole;
        double x0 = kawalek.X[0], y0 = kawalek.Y[0], x1 = x0, y1 = y0;
        for (int i = 1; i < kawalek.Ile; ++i) {
            x0 = std::min(x0, kawalek.X[i]), x1 = std::max(x1, kawalek.X[i]);
            y0 = std::min(y0, kawalek.Y[i]), y1 = std::max(y1, kawalek.Y[i]);
        }
        TrojkatyTerenu(teren, x0, y0, x1, y1, sumy.Kandydaci);
        double pokryte = 0.0, wykop = 0.0, nasyp = 0.0;
        for (const std::uint32_t nr : sumy.Kandydaci) {
            const TTrojkatWysokosci& r = teren.Trojkaty[nr];
            // In the terrain triangle's own frame (u, v) = (x - X1, y - Y1) its edges are
            // w2 >= 0, w3 >= 0 and w2 + w3 <= 1.
            TWielokat w;
            w.Ile = kawalek.Ile;
            for (int i = 0; i < kawalek.Ile; ++i) w.X[i] = kawalek.X[i] - r.X1, w.Y[i] = kawalek.Y[i] - r.Y1;
            Przytnij(w, TPolplaszczyzna{r.A2, r.B2, 0.0});
            Przytnij(w, TPolplaszczyzna{r.A3, r.B3, 0.0});
            Przytnij(w, TPolplaszczyzna{-r.A2 - r.A3, -r.B2 - r.B3, 1.0});
            if (w.Ile == 0) continue;
            // d = terrain - design, linear in (u, v).
            const TPolplaszczyzna d{r.Zu - a, r.Zv - b, r.Z1 - (t.Z1 + a * (r.X1 - t.X1) + b * (r.Y1 - t.Y1))};
            pokryte += PolePowierzchni(w);
            TWielokat dodatnia = w, ujemna = w;
            Przytnij(dodatnia, d);
            Przytnij(ujemna, TPolplaszczyzna{-d.A, -d.B, -d.C});
            double xs = 0, ys = 0;
            const double pd = PolePowierzchni(dodatnia, &xs, &ys);
            if (pd > 0) wykop += pd * std::max(0.0, d.A * xs + d.B * ys + d.C);
            const double pu = PolePowierzchni(ujemna, &xs, &ys);
            if (pu > 0) nasyp += pu * std::max(0.0, -(d.A * xs + d.B * ys + d.C));
        }
        const std::size_t k = static_cast<std::size_t>(pasek);
        sumy.Wykop[k] += wykop;
        sumy.Nasyp[k] += nasyp;
        sumy.Pole[k] += pole;
        sumy.BezTerenu[k] += std::max(0.0, pole - pokryte);
    }
    sumy.PozaPasami += std::max(0.0, poza);
}

}  // namespace

std::optional<TWynikObjetosci> ObliczObjetosci(const TSiatka& proj, const TIndeksWysokosci& teren,
                                               const TPodzialTrasy& podzial, double wspolczynnik,
                                               const TPostepAnalizy& postep, const std::atomic<bool>* przerwij) {
    if (!(wspolczynnik > 0.0) || !std::isfinite(wspolczynnik))
        throw BladKonwersji("współczynnik spulchnienia musi być liczbą dodatnią");
    const std::size_t ilePaskow = static_cast<std::size_t>(podzial.IlePaskow());
    TSumyObjetosci polowy[2] = {TSumyObjetosci(ilePaskow), TSumyObjetosci(ilePaskow)};
    const bool caly = PrzejdzNaDwochWatkach(
        proj.Trojkaty.size(),
        [&](std::size_t od, std::size_t do_, int polowa) {
            for (std::size_t i = od; i < do_; ++i) DodajTrojkat(Rogi(proj, i), teren, podzial, polowy[polowa]);
        },
        postep, przerwij);
    if (!caly) return std::nullopt;

    TWynikObjetosci w;
    w.Wspolczynnik = wspolczynnik;
    w.PozaPasami = polowy[0].PozaPasami + polowy[1].PozaPasami;
    w.Przedzialy.resize(static_cast<std::size_t>(podzial.IlePrzedzialow()));
    for (std::size_t j = 0; j < w.Przedzialy.size(); ++j) {
        w.Przedzialy[j].Od = podzial.Granice[j];
        w.Przedzialy[j].Do = podzial.Granice[j + 1];
    }
    for (const TPrzekrojPodzialu& p : podzial.Przekroje) w.PikietyPaskow.push_back(p.S);
    w.WykopPaska.resize(ilePaskow);
    w.NasypPaska.resize(ilePaskow);
    double masa = 0.0;
    for (std::size_t i = 0; i < ilePaskow; ++i) {
        TPrzedzialObjetosci& p = w.Przedzialy[static_cast<std::size_t>(podzial.PrzedzialPaska[i])];
        const double wykop = polowy[0].Wykop[i] + polowy[1].Wykop[i];
        const double nasyp = polowy[0].Nasyp[i] + polowy[1].Nasyp[i];
        w.WykopPaska[i] = wykop;
        w.NasypPaska[i] = nasyp;
        p.Wykop += wykop;
        p.Nasyp += nasyp;
        p.Pole += polowy[0].Pole[i] + polowy[1].Pole[i];
        p.BezTerenu += polowy[0].BezTerenu[i] + polowy[1].BezTerenu[i];
        const double nowa = masa + wspolczynnik * wykop - nasyp;
        if ((masa < 0.0 && nowa >= 0.0) || (masa > 0.0 && nowa <= 0.0)) {
            const double s0 = podzial.Przekroje[i].S, s1 = podzial.Przekroje[i + 1].S;
            w.PunktyZrownowazenia.push_back(s0 + (s1 - s0) * masa / (masa - nowa));
        }
        masa = nowa;
    }
    double suma = 0.0;
    for (TPrzedzialObjetosci& p : w.Przedzialy) {
        suma += wspolczynnik * p.Wykop - p.Nasyp;
        p.Masa = suma;
        w.Wykop += p.Wykop;
        w.Nasyp += p.Nasyp;
        w.BezTerenu += p.BezTerenu;
    }
    return w;
}
