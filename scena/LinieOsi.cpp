#include "scena/LinieOsi.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "analiza/Wysokosci.h"
#include "model/Zmienne.h"
#include "render/RysujPerspektywa.h"
#include "route/Lancuch.h"

namespace {

constexpr double KrokLinii = 2.0;  // m between the points of a line
// At most this many stretches a line (a line over 40 km gets longer ones).
constexpr double NajwiecejOdcinkowLinii = 20'000;
constexpr double UniesienieLinii = 0.1;                                      // m over the surface
constexpr double SzerokoscLiniiNaTrasie = 0.5, SzerokoscLiniiOgolnej = 1.0;  // m

bool SaTrojkaty() { return TEREN.IleTrojkatow() >= 1 || PROJ.IleTrojkatow() >= 1; }

// The window project's lines on the surfaces, built on the first question after a load or a route choice.
const std::vector<std::vector<TPunkt3D>>& LinieProjektu() {
    if (!ProjektOkna.LinieInnychOsi)
        ProjektOkna.LinieInnychOsi = std::make_shared<const std::vector<std::vector<TPunkt3D>>>(
            LamaneInnychOsi(Trasa, IndeksyWysokosci(ProjektOkna)));
    return *ProjektOkna.LinieInnychOsi;
}

void DodajLinie(std::vector<TTrojkatRys>& cel, double szerokosc) {
    for (const auto& l : LinieProjektu()) DodajPasLinii(cel, l, szerokosc, KolorInnejOsi);
}

}  // namespace

std::vector<TPunkt2D> PunktyOsi(const TLancuch& l, double dx, double dy, double krok) {
    std::vector<TPunkt2D> w;
    for (double s : PikietyWzdluz(l, krok, NajwiecejOdcinkowLinii)) {
        const TPunkt2D p = PunktLancucha(l, s);
        if (std::isfinite(p.X) && std::isfinite(p.Y)) w.push_back({p.X - dx, p.Y - dy});
    }
    return w;
}

void DodajPasLinii(std::vector<TTrojkatRys>& cel, const std::vector<TPunkt3D>& punkty, double szerokosc, TKolor kolor) {
    for (std::size_t i = 1; i < punkty.size(); ++i) {
        const TPunkt3D &a = punkty[i - 1], &b = punkty[i];
        const double d = std::hypot(b.X - a.X, b.Y - a.Y);
        if (!(d > 0.0)) continue;
        const double nx = -(b.Y - a.Y) / d * szerokosc / 2, ny = (b.X - a.X) / d * szerokosc / 2;
        TTrojkatRys r;
        r.Kolor = r.KolorObrysu = r.KolorCieniowany = kolor;
        r.P1 = {a.X + nx, a.Y + ny, a.Z}, r.P2 = {a.X - nx, a.Y - ny, a.Z}, r.P3 = {b.X - nx, b.Y - ny, b.Z};
        cel.push_back(r);
        r.P1 = {a.X + nx, a.Y + ny, a.Z}, r.P2 = {b.X - nx, b.Y - ny, b.Z}, r.P3 = {b.X + nx, b.Y + ny, b.Z};
        cel.push_back(r);
    }
}

std::vector<std::vector<TPunkt3D>> LamaneInnychOsi(const DaneUstawieniaTrasy& trasa, const TIndeksyWysokosci& ix) {
    std::vector<std::vector<TPunkt3D>> w;
    for (std::size_t i = 0; i < trasa.Osie.size(); ++i) {
        if (static_cast<int>(i) == trasa.NrOsi) continue;
        std::vector<TPunkt3D> kawalek;
        for (const TPunkt2D& p : PunktyOsi(trasa.Osie[i].Lancuch, trasa.Dx, trasa.Dy, KrokLinii)) {
            const std::optional<double> z = WysokoscDrogi(p.X, p.Y, *ix.PROJ, *ix.TEREN);
            if (z) {
                kawalek.push_back({p.X, p.Y, *z + UniesienieLinii});
                continue;
            }
            if (kawalek.size() >= 2) w.push_back(std::move(kawalek));
            kawalek.clear();
        }
        if (kawalek.size() >= 2) w.push_back(std::move(kawalek));
    }
    return w;
}

void LinieInnychOsi(std::vector<TTrojkatRys>& cel, const DaneUstawieniaTrasy& trasa, const TIndeksyWysokosci& ix,
                    double szerokosc) {
    for (const auto& l : LamaneInnychOsi(trasa, ix)) DodajPasLinii(cel, l, szerokosc, KolorInnejOsi);
}

void LinieOsiBezSiatek(std::vector<TTrojkatRys>& cel, const DaneUstawieniaTrasy& trasa, double W) {
    // The route (in the local frame) and the others (in the file's coordinates, moved into it).
    std::vector<std::pair<std::vector<TPunkt2D>, TKolor>> linie;
    if (!trasa.Lancuch.Elementy.empty()) linie.push_back({PunktyOsi(trasa.Lancuch, 0, 0, KrokLinii), KolorOsiTrasy});
    for (std::size_t i = 0; i < trasa.Osie.size(); ++i)
        if (static_cast<int>(i) != trasa.NrOsi)
            linie.push_back({PunktyOsi(trasa.Osie[i].Lancuch, trasa.Dx, trasa.Dy, KrokLinii), KolorInnejOsi});
    double x0 = HUGE_VAL, y0 = HUGE_VAL, x1 = -HUGE_VAL, y1 = -HUGE_VAL;
    for (const auto& [punkty, kolor] : linie)
        for (const TPunkt2D& p : punkty) {
            x0 = std::min(x0, p.X), x1 = std::max(x1, p.X);
            y0 = std::min(y0, p.Y), y1 = std::max(y1, p.Y);
        }
    if (!(x1 >= x0) || !(y1 >= y0) || !(W > 0.0)) return;
    constexpr double Glebokosc = 500.0, Zapas = 0.1;
    const double k = std::min(W * (1 - 2 * Zapas) / std::max(x1 - x0, 1e-9),
                              Glebokosc * (1 - 2 * Zapas) / std::max(y1 - y0, 1e-9));
    // Centred across the box and in its depth.
    const double ox = (W - k * (x1 - x0)) / 2, oy = (Glebokosc - k * (y1 - y0)) / 2;
    for (const auto& [punkty, kolor] : linie) {
        std::vector<TPunkt3D> p3;
        p3.reserve(punkty.size());
        for (const TPunkt2D& p : punkty) p3.push_back({ox + (p.X - x0) * k, oy + (p.Y - y0) * k, 0.0});
        DodajPasLinii(cel, p3, 3.0, kolor);
    }
}

void DodajLinieOsiOgolne(double k) {
    const std::size_t od = TrojkatySlupkow.size();
    if (SaTrojkaty()) {
        if (Trasa.Osie.size() < 2) return;
        std::vector<TTrojkatRys> linie;
        DodajLinie(linie, SzerokoscLiniiOgolnej);
        SkalujTrojkaty(linie, k);
        TrojkatySlupkow.insert(TrojkatySlupkow.end(), linie.begin(), linie.end());
    } else if (Trasa.Obliczona) {
        LinieOsiBezSiatek(TrojkatySlupkow, Trasa, 2.0 * Rzut.PolEkranX);
    }
    for (std::size_t i = od; i < TrojkatySlupkow.size(); ++i) CieniujTrojkat(TrojkatySlupkow[i]);
}

void DodajLinieOsiNaTrasie() {
    if (Trasa.Osie.size() < 2 || !SaTrojkaty()) return;
    DodajLinie(TrojkatySlupkow, SzerokoscLiniiNaTrasie);
}

bool WidokOgolnyZLiniami() {
    const bool siatki = WidokOgolny();
    if (!siatki) WyczyscSlupki();
    DodajLinieOsiOgolne(4.0);
    return siatki || !TrojkatySlupkow.empty();
}
