#include "scena/WidokKierowcy.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>

#include "analiza/Profil.h"
#include "analiza/Widocznosc.h"
#include "analiza/Wykop.h"
#include "analiza/Wysokosci.h"
#include "render/RysujPerspektywa.h"
#include "route/OblTrasa.h"
#include "route/Wstega.h"
#include "scena/LinieOsi.h"
#include "scena/Scena.h"

TWidokKierowcy WidokKierowcy;

namespace {

// The ground of the driver's view (TWidokKierowcy::Teren), made again when
// the mesh or the index it was made from is not the one drawn.
std::shared_ptr<const TTerenWykopu> TerenWykopuWidoku(const TIndeksWysokosci& proj) {
    TTerenWidoku& c = WidokKierowcy.Teren;
    if (!c.Wynik || c.Teren != TEREN.Trojkaty.data() || c.IleTerenu != TEREN.Trojkaty.size() ||
        c.Proj != proj.Trojkaty.data() || c.IleProj != proj.Trojkaty.size()) {
        c = {TEREN.Trojkaty.data(), TEREN.Trojkaty.size(), proj.Trojkaty.data(), proj.Trojkaty.size(),
             std::make_shared<const TTerenWykopu>(PrzytnijSiatke(TEREN, proj))};
    }
    return c.Wynik;
}

// The coarse far ground (TWidokKierowcy::Daleki), made again when the mesh
// or an index it was made from is not the one drawn.
std::shared_ptr<const TTerenDaleki> TerenDalekiWidoku(const TIndeksyWysokosci& ix) {
    TTerenDalekiWidoku& c = WidokKierowcy.Daleki;
    if (!c.Wynik || c.Teren != TEREN.Trojkaty.data() || c.IleTerenu != TEREN.Trojkaty.size() ||
        c.IndeksTerenu != ix.TEREN.get() || c.IndeksProj != ix.PROJ.get()) {
        c = {TEREN.Trojkaty.data(), TEREN.Trojkaty.size(), ix.TEREN.get(), ix.PROJ.get(),
             ZbudujTerenDaleki(TEREN, *ix.TEREN, *ix.PROJ)};
        // The boxes of its blocks are made again: a new grid may lie where a forgotten one lay.
        BuforyWidoku.BlokiDalekie = TBlokiSiatki{};
    }
    return c.Wynik;
}

// The post: a plate square to the route, white below, red at the top.
constexpr double SzerokoscSlupka = 0.3, WysokoscSlupka = 1.0, WysokoscGlowicy = 0.25;
constexpr TKolor KolorSlupka = 0xF0F0F0, KolorGlowicy = 0x2020D0;

// The rule "visible" of the sight check: the line of sight from the eye to the point nowhere passes below the
// design surface or the ground a cutting leaves.
bool Widac(const TPunkt3D& oko, const TPunkt3D& cel, const TIndeksyWysokosci& ix, const TTerenWykopu* pociete) {
    return !ZaslonietyOdcinek(oko, cel, *ix.PROJ, *ix.TEREN, pociete);
}

void Plyta(const TPunkt3D& a, const TPunkt3D& b, double z0, double z1, TKolor kolor) {
    TTrojkatRys r;
    r.Kolor = kolor;
    r.KolorObrysu = r.KolorCieniowany = kolor;
    r.P1 = {a.X, a.Y, z0}, r.P2 = {b.X, b.Y, z0}, r.P3 = {b.X, b.Y, z1};
    TrojkatySlupkow.push_back(r);
    r.P1 = {a.X, a.Y, z0}, r.P2 = {b.X, b.Y, z1}, r.P3 = {a.X, a.Y, z1};
    TrojkatySlupkow.push_back(r);
}

bool SaTrojkatySiatek() { return TEREN.IleTrojkatow() >= 1 || !ProjRysowany().Trojkaty.empty(); }

// A number with the given decimals and a decimal comma, whatever the locale.
std::string Liczba(double v, int miejsca) {
    char b[64];
    auto [k, ec] = std::to_chars(b, b + sizeof b, v, std::chars_format::fixed, miejsca);
    if (ec != std::errc()) return "?";
    std::string s(b, k);
    if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
    std::replace(s.begin(), s.end(), '.', ',');
    return s;
}

}  // namespace

void UstawSzerokoscDrogi(TProjekt& p, double szerokosc) {
    // The ribbon as the design surface: a build of the indices reading it is stopped before it changes, and the
    // other alignments' lines on it are built again.
    if (p.PROJ.Trojkaty.empty()) {
        OznaczIndeksyDoZbudowania(p);
        ZapomnijTerenWykopu();
        p.LinieInnychOsi = nullptr;
    }
    p.Trasa.SzerokoscWstegi = szerokosc;
    p.Trasa.Wstega = WstegaDrogi(p.Trasa, szerokosc, p.TEREN.Zakres.Zmin);
}

void ZapomnijTerenWykopu() {
    WidokKierowcy.Teren = TTerenWidoku{};
    WidokKierowcy.Daleki = TTerenDalekiWidoku{};
}

std::vector<double> PikietySlupkow(double pikMin, double pikMax, double odstep) {
    std::vector<double> w;
    if (!(odstep > 0.0) || !std::isfinite(pikMin) || !std::isfinite(pikMax) || !std::isfinite(odstep)) return w;
    // A post every odstep from the route's start; at most a hundred thousand.
    const double k0 = std::ceil(pikMin / odstep - 1e-9), k1 = std::floor(pikMax / odstep + 1e-9);
    if (!(k1 >= k0) || k1 - k0 > 1e5) return w;
    for (double k = k0; k <= k1; ++k) w.push_back(k * odstep);
    return w;
}

std::string TekstSlupka(double s) {
    if (!std::isfinite(s) || std::fabs(s) > 1e12) return "?";
    const long long m = std::llround(s);
    const long long a = m < 0 ? -m : m;
    char b[48];
    if (a % 1000 == 0)
        std::snprintf(b, sizeof b, "km %s%lld+000", m < 0 ? "-" : "", a / 1000);
    else
        std::snprintf(b, sizeof b, "%s%lld+%03lld", m < 0 ? "-" : "", a / 1000, a % 1000);
    return b;
}

void ZbudujSlupki(const TPunkt3D* oko, const std::function<bool(const TNapisRys&)>& mozeBycPokazany) {
    TrojkatySlupkow.clear();
    NapisySlupkow.clear();
    if (!Trasa.Obliczona) return;
    const TWidokKierowcy& u = WidokKierowcy;
    const TIndeksyWysokosci ix = IndeksyWysokosci(ProjektOkna);
    const std::shared_ptr<const TTerenWykopu> pociete = oko ? TerenWykopuWidoku(*ix.PROJ) : nullptr;
    // The posts stand at the multiples of the spacing in the chainage the user
    // reads (a LandXML route may start at PikStart); s runs from the route's start.
    const double p0 = Trasa.PikStart;
    for (double sPokazana : PikietySlupkow(p0 + Trasa.PikMin, p0 + Trasa.PikMax, u.OdstepSlupkow)) {
        const double s = sPokazana - p0;
        const TPolozenieOka p = PunktNadPowierzchnia(Trasa, s, u.OdsuniecieSlupkow, 0.0, true, ix);
        if (!p.Jest) continue;
        if (oko && std::hypot(p.Oko.X - oko->X, p.Oko.Y - oko->Y) > u.Zasieg) continue;
        const double rx = 0.5 * SzerokoscSlupka * std::sin(p.Kierunek),
                     ry = -0.5 * SzerokoscSlupka * std::cos(p.Kierunek);
        const TPunkt3D a{p.Oko.X - rx, p.Oko.Y - ry, 0}, b{p.Oko.X + rx, p.Oko.Y + ry, 0};
        const double z = p.Oko.Z;
        Plyta(a, b, z, z + WysokoscSlupka, KolorSlupka);
        Plyta(a, b, z + WysokoscSlupka, z + WysokoscSlupka + WysokoscGlowicy, KolorGlowicy);
        TNapisRys n;
        n.P = {p.Oko.X, p.Oko.Y, z + WysokoscSlupka + WysokoscGlowicy + 0.15};
        n.Tekst = TekstSlupka(sPokazana);
        // A label the frame could not write is not looked at: the sight line is the costly part of a post.
        if (oko)
            n.Widoczny = (!mozeBycPokazany || mozeBycPokazany(n)) &&
                         Widac(*oko, {p.Oko.X, p.Oko.Y, z + WysokoscSlupka + WysokoscGlowicy - 0.05}, ix,
                               pociete.get());
        NapisySlupkow.push_back(std::move(n));
    }
}

void ZbudujSlupkiKierowcy(const TPolozenieOka& p, const TKadr& kadr) {
    const TWidokKierowcy& u = WidokKierowcy;
    const double pochylenie = u.PochylenieZaDroga ? p.Pochylenie : 0.0;
    const double przechylenie = u.PrzechylenieZDroga ? p.Przechylenie : 0.0;
    ZbudujSlupki(&p.Oko, [&](const TNapisRys& n) {
        return NapisMozeBycPokazany(PunktWOku(n.P, p.Oko, p.Kierunek, pochylenie, przechylenie), n.Tekst.size(), kadr.W,
                                    kadr.H);
    });
}

void UstawOkoKierowcy(int H) { Rzut.OkoZ = H * (1.0 - UdzialHoryzontu); }

TUstawienie UstawWidokNaPikiecie(double s, bool szukajPunktu, const TKadr& kadr) {
    // Without a mesh triangle the chainage view only looks the route point up.
    if (!SaTrojkatySiatek()) {
        if (szukajPunktu) PrzejdzNaPikiete(s);
        return TUstawienie::BrakSiatek;
    }
    const TWidokKierowcy& u = WidokKierowcy;
    if (u.Wlaczony) {
        const TIndeksyWysokosci ix = IndeksyWysokosci(ProjektOkna);
        const TPolozenieOka p = PolozenieOka(Trasa, s, u.Oko, ix);
        if (p.Jest) {
            if (u.SlupkiKierowcy)
                ZbudujSlupkiKierowcy(p, kadr);
            else
                WyczyscSlupki();
            // The ground a cutting removes is not drawn: the slopes of the cutting stand open to the sky.
            const std::shared_ptr<const TTerenWykopu> teren = TerenWykopuWidoku(*ix.PROJ);
            // The coarse far ground, when asked for, from the far ground's depth less a grid step.
            const std::shared_ptr<const TTerenDaleki> daleki = u.UproszczonyTeren ? TerenDalekiWidoku(ix) : nullptr;
            const TTerenDalekiOka dalekiOka = daleki && !daleki->Siatka.Trojkaty.empty()
                                                  ? TTerenDalekiOka{&daleki->Siatka, OdlegloscTerenuDalekiego,
                                                                    daleki->Krok}
                                                  : TTerenDalekiOka{};
            UmiescWOku(
                p.Oko, p.Kierunek, u.PochylenieZaDroga ? p.Pochylenie : 0.0, u.Bliska, u.Zasieg,
                [&teren](std::size_t nr, std::vector<TTrojkatRogi>& kawalki) {
                    const TTrojkatRogi *od, *do_;
                    if (!teren->KawalkiTrojkata(nr, od, do_)) return false;
                    kawalki.assign(od, do_);
                    return true;
                },
                kadr, u.PrzechylenieZDroga ? p.Przechylenie : 0.0, dalekiOka);
            return TUstawienie::Kierowca;
        }
    }
    if (u.SlupkiTrasy)
        ZbudujSlupki();
    else
        WyczyscSlupki();
    DodajLinieOsiNaTrasie();
    // The chainage view itself: the route point and direction looked up at s
    // and the arrays placed there (PrzejdzNaPikiete), or placed again at the
    // point last looked up.
    if (szukajPunktu || u.Wlaczony)
        PrzejdzNaPikiete(s);
    else
        UmiescWPunkcieTrasy();
    return u.Wlaczony ? TUstawienie::BrakWysokosci : TUstawienie::Trasa;
}

std::string TekstOkaKierowcy(double s) {
    const TPolozenieOka p = PolozenieOka(Trasa, s, WidokKierowcy.Oko, IndeksyWysokosci(ProjektOkna));
    if (!p.Jest) return {};
    return "Oko kierowcy: X = " + F2(p.Oko.X + Trasa.Dx) + " Y = " + F2(p.Oko.Y + Trasa.Dy) +
           " Z = " + F2(p.Oko.Z + TEREN.Zakres.Zmin);
}

std::string TekstElementu(double s, bool wPrzod) {
    // The side of a turn as the driver sees it: driving back, a left turn is a right one.
    auto strona = [wPrzod](double k) { return ((k < 0) == wPrzod) ? ", w prawo" : ", w lewo"; };
    const auto& el = Trasa.Lancuch.Elementy;
    for (std::size_t i = 0; i < el.size(); ++i) {
        const TElementOsi& e = el[i];
        if (e.Rodzaj == TRodzajOsi::Klotoida) {
            // An entering clothoid holds its start, a leaving one its end.
            const bool wejsciowa = std::fabs(e.K1) < std::fabs(e.K2);
            if (wejsciowa ? (e.Pik <= s && s < e.PikK) : (e.Pik < s && s <= e.PikK)) {
                const double dk = std::fabs(e.K2 - e.K1);
                const double A = e.Szereg ? e.SzeregA : (dk > 0 ? std::sqrt(e.Dlugosc / dk) : 0.0);
                return "klotoida A = " + std::to_string(std::llround(A)) +
                       strona(std::fabs(e.K1) > std::fabs(e.K2) ? e.K1 : e.K2);
            }
        } else if (e.Rodzaj == TRodzajOsi::Luk && e.Pik <= s && s <= e.PikK) {
            // An arc that clothoids use up wholly has no length of its own and gives way to them.
            const bool miedzyKlotoidami = i > 0 && el[i - 1].Rodzaj == TRodzajOsi::Klotoida;
            if (e.PikK > e.Pik || !miedzyKlotoidami)
                return "łuk R = " + std::to_string(std::llround(e.R)) + " m" + strona(e.K1);
        }
    }
    return "prosta";
}

std::string TekstSpadkuIElementu(double s, bool wPrzod) {
    const std::optional<double> i = PochylenieProjektu(Trasa, s, *IndeksyWysokosci(ProjektOkna).PROJ);
    return "i = " + (i ? Liczba(wPrzod ? *i : -*i, 2) + " %" : std::string("–")) + "   " + TekstElementu(s, wPrzod);
}

std::string TekstPanelu(double s, bool wPrzod) {
    const TIndeksyWysokosci ix = IndeksyWysokosci(ProjektOkna);
    const TPunktProfilu p = PunktProfilu(Trasa, s, *ix.PROJ, *ix.TEREN);
    return TekstKilometrazu(Trasa.PikStart + s) +
           "   H = " + (p.ZProj ? Liczba(*p.ZProj, 2) + " m" : std::string("–")) + "   " +
           TekstSpadkuIElementu(s, wPrzod);
}

TKrokJazdy KrokJazdy(double s, double predkoscKmh, double sekundy, bool wPrzod, double pikMin, double pikMax) {
    TKrokJazdy k;
    if (!(pikMin <= pikMax)) return {s, true};
    const double droga = (std::isfinite(predkoscKmh) && std::isfinite(sekundy) && sekundy > 0)
                             ? std::max(predkoscKmh, 0.0) / 3.6 * sekundy
                             : 0.0;
    if (!std::isfinite(s)) s = wPrzod ? pikMin : pikMax;
    const double cel = wPrzod ? s + droga : s - droga;
    k.Pikieta = std::clamp(cel, pikMin, pikMax);
    k.Koniec = wPrzod ? !(k.Pikieta < pikMax) : !(k.Pikieta > pikMin);
    return k;
}
