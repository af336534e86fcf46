#include "nmt/Uklady.h"

#include <proj.h>

#include <cmath>
#include <memory>

namespace {

struct TKontekst {
    TKontekst(const TKontekst&) = delete;
    TKontekst& operator=(const TKontekst&) = delete;
    PJ_CONTEXT* k = proj_context_create();
    TKontekst() { proj_log_level(k, PJ_LOG_NONE); }
    ~TKontekst() { proj_context_destroy(k); }
};

struct TZwolnijPJ {
    void operator()(PJ* p) const { proj_destroy(p); }
};
using TPJ = std::unique_ptr<PJ, TZwolnijPJ>;

std::string Kod(int epsg) { return "EPSG:" + std::to_string(epsg); }

// The transformation from z to na with X the easting and Y the northing on both sides.
TPJ Przeksztalcenie(PJ_CONTEXT* k, int z, int na) {
    for (int e : {z, na}) {
        TPJ crs(proj_create(k, Kod(e).c_str()));
        if (!crs) throw BladKonwersji("Nieznany układ współrzędnych " + Kod(e) + ".");
    }
    TPJ p(proj_create_crs_to_crs(k, Kod(z).c_str(), Kod(na).c_str(), nullptr));
    if (!p) throw BladKonwersji("Brak przeliczenia z układu " + Kod(z) + " do układu " + Kod(na) + ".");
    TPJ n(proj_normalize_for_visualization(k, p.get()));
    if (!n) throw BladKonwersji("Brak przeliczenia z układu " + Kod(z) + " do układu " + Kod(na) + ".");
    return n;
}

template <class TPunkt>
void Przelicz(std::vector<TPunkt>& punkty, int z, int na) {
    if (z == na || punkty.empty()) return;
    TKontekst k;
    TPJ p = Przeksztalcenie(k.k, z, na);
    for (TPunkt& q : punkty) {
        PJ_COORD c = proj_coord(q.X, q.Y, 0, 0);
        c = proj_trans(p.get(), PJ_FWD, c);
        if (!std::isfinite(c.xy.x) || !std::isfinite(c.xy.y) || c.xy.x == HUGE_VAL)
            throw BladKonwersji("Punktu (" + G2(q.X) + "; " + G2(q.Y) + ") nie da się przeliczyć z układu " + Kod(z) +
                                " do układu " + Kod(na) + ".");
        q.X = c.xy.x;
        q.Y = c.xy.y;
    }
}

}  // namespace

void PrzeliczUklad(std::vector<TPunkt3D>& punkty, int z, int na) { Przelicz(punkty, z, na); }
void PrzeliczUklad(std::vector<TPunkt2D>& punkty, int z, int na) { Przelicz(punkty, z, na); }

std::string NazwaUkladu(int epsg) {
    if (epsg <= 0) return "nieznany";
    TKontekst k;
    TPJ crs(proj_create(k.k, Kod(epsg).c_str()));
    const char* n = crs ? proj_get_name(crs.get()) : nullptr;
    return Kod(epsg) + (n ? std::string(" (") + n + ")" : "");
}
