// The frame: the box, the sky and the parameters, the records in their
// drawing order (on a pixel canvas in two bands at once), the station labels.
#include "render/RysujPerspektywa.h"

#include <algorithm>
#include <barrier>
#include <chrono>
#include <cmath>
#include <system_error>
#include <thread>
#include <vector>

#include "common/Rownolegle.h"
#include "render/Rasteryzer.h"

// ---- Drawing of one record ----

namespace {
inline TPunktEkranu Rzutuj(const TPunkt3D& p, int H) { return {EkranX(p.X, p.Y), EkranY(p.Y, p.Z, H)}; }

// The same drawing on a canvas of a known type, whose calls need no lookup.
template <typename P>
inline void RysujTrojkatNa(P& plotno, const TTrojkatRys& r, int H) {
    plotno.UstawPioro(r.KolorObrysu);
    plotno.UstawPedzel(r.KolorCieniowany);
    const TPunktEkranu p[3] = {Rzutuj(r.P1, H), Rzutuj(r.P2, H), Rzutuj(r.P3, H)};
    plotno.Wielokat(p, 3);
}

template <typename P>
inline void RysujCzworokatNa(P& plotno, const TCzworokatRys& r, int H) {
    plotno.UstawPioro(r.KolorObrysu);
    plotno.UstawPedzel(r.KolorCieniowany);
    const TPunktEkranu p[4] = {Rzutuj(r.P1, H), Rzutuj(r.P2, H), Rzutuj(r.P3, H), Rzutuj(r.P4, H)};
    plotno.Wielokat(p, 4);
}
}  // namespace

// ---- Frame box, sky and parameters ----

void Linia3D(TPlotno& plotno, double xa, double ya, double za, double xb, double yb, double zb, int H) {
    plotno.Linia(EkranX(xa, ya), EkranY(ya, za, H), EkranX(xb, yb), EkranY(yb, zb, H));
}

void RysujSciane(TPlotno& plotno, const TPunkt3D& a, const TPunkt3D& b, const TPunkt3D& c, const TPunkt3D& d, int H) {
    const TPunktEkranu p[4] = {Rzutuj(a, H), Rzutuj(b, H), Rzutuj(c, H), Rzutuj(d, H)};
    plotno.Wielokat(p, 4);
}

void RysujTlo(TPlotno& plotno, double x0, double y0, double z0, double dx, double dy, double dz, int H) {
    // The far wall of the box, where the sky goes.
    const int lewa = EkranX(x0, y0 + dy) + 1;
    const int gora = EkranY(y0 + dy, z0 + dz, H);
    const int prawa = EkranX(x0 + dx, y0 + dy);
    const int dol = EkranY(y0 + dy, z0, H);

    if (Rzut.RysujLinie) {
        // Floor and side walls in the brush the redraw left (the background).
        plotno.UstawPioro(0x000000);
        RysujSciane(plotno, {x0, y0, z0}, {x0 + dx, y0, z0}, {x0 + dx, y0 + dy, z0}, {x0, y0 + dy, z0}, H);
        RysujSciane(plotno, {x0, y0, z0}, {x0, y0 + dy, z0}, {x0, y0 + dy, z0 + dz}, {x0, y0, z0 + dz}, H);
        RysujSciane(plotno, {x0 + dx, y0, z0}, {x0 + dx, y0 + dy, z0}, {x0 + dx, y0 + dy, z0 + dz},
                    {x0 + dx, y0, z0 + dz}, H);

        // Floor grid at height 0, every 50 units; no line on the far edge or the side walls.
        constexpr double krok = 50.0;
        plotno.UstawPioro(0xA0A0A0);
        for (double t = y0; t < y0 + dy; t += krok) Linia3D(plotno, x0, t, 0, x0 + dx, t, 0, H);
        for (double t = x0 + dx / 2; t < x0 + dx; t += krok) Linia3D(plotno, t, y0, 0, t, y0 + dy, 0, H);
        for (double t = x0 + dx / 2 - krok; t > x0; t -= krok) Linia3D(plotno, t, y0, 0, t, y0 + dy, 0, H);
    }
    if (Rzut.RysujNiebo && !Niebo.Pusty()) plotno.RozciagnijObraz(lewa, gora, prawa, dol, Niebo);
}

void PiszParametry(TPlotno& plotno, int x, int y) {
    constexpr double pi = 3.14159265358979323846;
    const std::string linie[7] = {
        "Wsp. trasa  X = " + F2(Rzut.TrasaX) + "  Y  = " + F2(Rzut.TrasaY) + " katT[rd]= " + F2(Rzut.katT) +
            " [st]  = " + F2(Rzut.katT * 180 / pi),
        "PolEkranX = " + F2(Rzut.PolEkranX),
        "alfa[rd]= " + F2(Rzut.alfa) + " [st]  = " + F2(Rzut.alfa * 180 / pi),
        "skala   = " + F2(Rzut.skala),
        "Oko Xo = " + G2(Rzut.OkoX) + " Y = " + G2(Rzut.OkoY) + " Z = " + G2(Rzut.OkoZ),
        "przesun   X = " + G2(Rzut.PrzesunX) + " Y = " + G2(Rzut.PrzesunY) + " Z = " + G2(Rzut.PrzesunZ),
        "obrot     oX = " + G2(Rzut.ObrotX) + " oY = " + G2(Rzut.ObrotY) + " oZ = " + G2(Rzut.ObrotZ),
    };
    plotno.UstawPedzel(0x00FFFF);
    for (int i = 0; i < 7; ++i) plotno.Tekst(x, y + 12 * i, linie[i]);
}

// ---- The whole frame ----

namespace {

// The triangles of a driver's frame in one order across TEREN, PROJ and the
// posts, farthest from the eye first: each array is already in that order
// (KluczOko descending), so they are merged.
void UlozKolejnoscKierowcy(std::vector<const TTrojkatRys*>& KolejnoscKierowcy) {
    KolejnoscKierowcy.clear();
    const std::vector<TTrojkatRys>* tablice[3] = {Rzut.RysujTEREN ? &TrojkatyTEREN : nullptr,
                                                  Rzut.RysujPROJ ? &TrojkatyPROJ : nullptr, &TrojkatySlupkow};
    std::size_t ile = 0, i[3] = {0, 0, 0};
    for (auto* t : tablice) ile += t ? t->size() : 0;
    KolejnoscKierowcy.reserve(ile);
    for (;;) {
        int najdalszy = -1;
        float klucz = 0.0f;
        for (int k = 0; k < 3; ++k) {
            if (!tablice[k] || i[k] >= tablice[k]->size()) continue;
            const float kk = (*tablice[k])[i[k]].KluczOko;
            // A NaN key sorts last within its array; it is taken at once here.
            if (najdalszy < 0 || kk > klucz || std::isnan(kk)) najdalszy = k, klucz = kk;
            if (std::isnan(kk)) break;
        }
        if (najdalszy < 0) break;
        KolejnoscKierowcy.push_back(&(*tablice[najdalszy])[i[najdalszy]++]);
        // The ground's run that the choice above would take record by record:
        // while its key is NaN or at least every other array's first key
        // (none of them NaN; a tie goes to the ground, the first array).
        if (najdalszy != 0) continue;
        float inne = -HUGE_VALF;
        bool nan = false;
        for (int k = 1; k < 3; ++k)
            if (tablice[k] && i[k] < tablice[k]->size()) {
                const float kk = (*tablice[k])[i[k]].KluczOko;
                nan = nan || std::isnan(kk);
                inne = std::max(inne, kk);
            }
        if (nan) continue;
        const std::vector<TTrojkatRys>& teren = *tablice[0];
        for (std::size_t& j = i[0]; j < teren.size(); ++j) {
            const float kk = teren[j].KluczOko;
            if (!(std::isnan(kk) || kk >= inne)) break;
            KolejnoscKierowcy.push_back(&teren[j]);
        }
    }
}

// The records of a frame, in their drawing order: the test solids, then TEREN
// and PROJ under their flags, then the station posts; in the driver's view
// the triangles in the merged order.
template <typename P>
void RysujRekordy(P& plotno, int H, const std::vector<const TTrojkatRys*>& KolejnoscKierowcy) {
    for (const auto& r : Czworokaty) RysujCzworokatNa(plotno, r, H);
    if (Rzut.WidokKierowcy) {
        for (const TTrojkatRys* r : KolejnoscKierowcy) RysujTrojkatNa(plotno, *r, H);
        return;
    }
    if (Rzut.RysujTEREN)
        for (const auto& r : TrojkatyTEREN) RysujTrojkatNa(plotno, r, H);
    if (Rzut.RysujPROJ)
        for (const auto& r : TrojkatyPROJ) RysujTrojkatNa(plotno, r, H);
    for (const auto& r : TrojkatySlupkow) RysujTrojkatNa(plotno, r, H);
}

// Below this many records a second thread costs more than it saves.
constexpr std::size_t kRekordyNaDwaPasy = 20000;

// Projects the records [od, do_) of the frame's drawing order into `wielokaty`.
void RzutujZakres(std::vector<TWielokatEkranu>& wielokaty, std::size_t od, std::size_t do_, int H,
                  const std::vector<const TTrojkatRys*>& KolejnoscKierowcy) {
    std::size_t poczatek = 0;
    auto zakres = [&](const auto& tab, auto rzutuj) {
        const std::size_t s = std::max(od, poczatek), e = std::min(do_, poczatek + tab.size());
        for (std::size_t i = s; i < e; ++i) rzutuj(tab[i - poczatek], wielokaty[i]);
        poczatek += tab.size();
    };
    zakres(Czworokaty, [H](const TCzworokatRys& r, TWielokatEkranu& w) {
        w = {{Rzutuj(r.P1, H), Rzutuj(r.P2, H), Rzutuj(r.P3, H), Rzutuj(r.P4, H)}, r.KolorObrysu, r.KolorCieniowany, 4};
    });
    auto trojkat = [H](const TTrojkatRys& r, TWielokatEkranu& w) {
        w.P[0] = Rzutuj(r.P1, H);
        w.P[1] = Rzutuj(r.P2, H);
        w.P[2] = Rzutuj(r.P3, H);
        w.Pioro = r.KolorObrysu;
        w.Pedzel = r.KolorCieniowany;
        w.Ile = 3;
    };
    if (Rzut.WidokKierowcy) {
        zakres(KolejnoscKierowcy, [&](const TTrojkatRys* r, TWielokatEkranu& w) { trojkat(*r, w); });
        return;
    }
    if (Rzut.RysujTEREN) zakres(TrojkatyTEREN, trojkat);
    if (Rzut.RysujPROJ) zakres(TrojkatyPROJ, trojkat);
    zakres(TrojkatySlupkow, trojkat);
}

// Draws every projected record that reaches the canvas's band of rows.
// The calls are named exactly, so that they need no virtual lookup.
void RysujPas(TPlotnoRastrowe& plotno, const std::vector<TWielokatEkranu>& wielokaty) {
    const int gora = plotno.BuforPikseli().Gora, dol = plotno.BuforPikseli().Wysokosc;
    for (const TWielokatEkranu& w : wielokaty) {
        int ymin = w.P[0].Y, ymax = w.P[0].Y;
        for (int i = 1; i < w.Ile; ++i) {
            ymin = std::min(ymin, w.P[i].Y);
            ymax = std::max(ymax, w.P[i].Y);
        }
        if (ymax < gora || ymin >= dol) continue;  // lights nothing in this band
        plotno.TPlotnoRastrowe::UstawPioro(w.Pioro);
        plotno.TPlotnoRastrowe::UstawPedzel(w.Pedzel);
        plotno.TPlotnoRastrowe::Wielokat(w.P, w.Ile);
    }
}

// Draws the records on a pixel canvas in two threads. First each thread
// projects half of the records; then each draws all of them on its own band
// of rows (the upper band in this thread). Each band receives every record in
// the array order, and the rasterizer lights in a band exactly the pixels it
// would light there in the whole picture, so the frame is the one a single
// thread draws. Returns false, having drawn nothing, when the frame is too
// small to be worth it (unless two threads are asked for) or no thread can be
// started.
bool RysujRekordyWDwochPasach(TPlotnoRastrowe& plotno, int H, TPodzialKlatki& podzial) {
    std::size_t ile = Czworokaty.size();
    if (Rzut.WidokKierowcy) {
        ile += podzial.KolejnoscKierowcy.size();
    } else {
        if (Rzut.RysujTEREN) ile += TrojkatyTEREN.size();
        if (Rzut.RysujPROJ) ile += TrojkatyPROJ.size();
        ile += TrojkatySlupkow.size();
    }
    const TBuforPikseli& caly = plotno.BuforPikseli();
    const int gora = caly.Gora, dol = caly.Wysokosc;
    if (podzial.Watki == 1 || ile == 0 || caly.Piksele == nullptr || caly.Szerokosc <= 0 || dol - gora < 64)
        return false;
    if (podzial.Watki != 2 && (ile < kRekordyNaDwaPasy || std::thread::hardware_concurrency() < 2)) return false;

    std::vector<TWielokatEkranu>& wielokaty = podzial.Wielokaty;
    wielokaty.resize(ile);
    // The split is taken within the paint area's rows (the picture may be
    // taller); the lower band still reaches the picture's last row.
    const int wiersze = std::clamp(H, gora + 32, dol) - gora;
    const int granica = std::clamp(gora + static_cast<int>(wiersze * podzial.UdzialGornegoPasa + 0.5), gora + 16,
                                   dol - 16);
    TPlotnoRastrowe gorny = plotno, dolny = plotno;
    TBuforPikseli b = caly;
    b.Wysokosc = granica;
    gorny.UstawBufor(b);
    b = caly;
    b.Gora = granica;
    dolny.UstawBufor(b);

    using Zegar = std::chrono::steady_clock;
    const std::size_t polowa = ile / 2;
    std::barrier rzutowanie(2);
    double czasDolnego = 0.0;
    std::thread watek;
    try {
        watek = std::thread([&, H] {
            RzutujZakres(wielokaty, polowa, ile, H, podzial.KolejnoscKierowcy);
            rzutowanie.arrive_and_wait();
            const auto t0 = Zegar::now();
            RysujPas(dolny, wielokaty);
            czasDolnego = std::chrono::duration<double>(Zegar::now() - t0).count();
        });
    } catch (const std::system_error&) {
        return false;
    }
    RzutujZakres(wielokaty, 0, polowa, H, podzial.KolejnoscKierowcy);
    rzutowanie.arrive_and_wait();
    const auto t0 = Zegar::now();
    RysujPas(gorny, wielokaty);
    const double czasGornego = std::chrono::duration<double>(Zegar::now() - t0).count();
    watek.join();

    // The pen and brush end as the last record left them.
    plotno.UstawPioro(wielokaty.back().Pioro);
    plotno.UstawPedzel(wielokaty.back().Pedzel);

    // With the work per row taken as even within each band: the split that
    // would have halved this frame's drawing, approached half-way.
    const double f = podzial.UdzialGornegoPasa, suma = czasGornego + czasDolnego;
    if (suma > 0.0) {
        double cel = f;
        if (czasGornego > czasDolnego)
            cel = f * suma / (2.0 * czasGornego);
        else if (czasDolnego > czasGornego)
            cel = 1.0 - (1.0 - f) * suma / (2.0 * czasDolnego);
        podzial.UdzialGornegoPasa = std::clamp(0.5 * (f + cel), 0.05, 0.95);
    }
    return true;
}

// The label's place: its left column and top row for an anchor at column x, row y.
struct TMiejsceNapisu {
    int Lewa, Gora, Szer;
};
TMiejsceNapisu MiejsceNapisu(int x, int y, std::size_t znaki) {
    const int szer = 7 * static_cast<int>(znaki);
    return {x - szer / 2, y - 16, szer};
}

// Does the label's anchor (placed) lie in front of the eye, near enough to be read?
bool WZasieguNapisu(const TPunkt3D& p) {
    const double gl = p.Y - Rzut.OkoY;
    return gl > 0.0 && gl < 350.0 * Rzut.skala;  // 350 m ahead at most
}

// Does a label at this place reach into the W x H picture (enlarged by `zapas` pixels on every side)?
bool NapisWObrazie(const TMiejsceNapisu& m, int W, int H, int zapas = 0) {
    return !(m.Lewa + m.Szer < -zapas || m.Lewa > W + zapas || m.Gora < -16 - zapas || m.Gora > H + zapas);
}

// The station labels: black on white, centred over their anchors; only those
// the eye sees, near enough to read and clear of a nearer label.
void PiszNapisySlupkow(TPlotno& plotno, int W, int H) {
    std::vector<std::pair<double, const TNapisRys*>> napisy;
    for (const TNapisRys& n : NapisySlupkow)
        if (n.Widoczny && WZasieguNapisu(n.P)) napisy.push_back({n.P.Y - Rzut.OkoY, &n});
    // The nearest first: a farther label that would overlap a nearer one is left out.
    std::sort(napisy.begin(), napisy.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    struct TMiejsce {
        int X, Y, Szer;
        const std::string* Tekst;
    };
    std::vector<TMiejsce> miejsca;
    for (const auto& [gl, n] : napisy) {
        const TMiejsceNapisu m = MiejsceNapisu(EkranX(n->P.X, n->P.Y), EkranY(n->P.Y, n->P.Z, H), n->Tekst.size());
        if (!NapisWObrazie(m, W, H)) continue;
        const int lewa = m.Lewa, gora = m.Gora, szer = m.Szer;
        const bool zakryty = std::any_of(miejsca.begin(), miejsca.end(), [&](const TMiejsce& m) {
            return lewa < m.X + m.Szer + 4 && m.X < lewa + szer + 4 && gora < m.Y + 16 && m.Y < gora + 16;
        });
        if (!zakryty) miejsca.push_back({lewa, gora, szer, &n->Tekst});
    }
    plotno.UstawPedzel(0xFFFFFF);
    for (auto m = miejsca.rbegin(); m != miejsca.rend(); ++m) plotno.Tekst(m->X, m->Y, *m->Tekst);
}

}  // namespace

bool NapisMozeBycPokazany(const TPunkt3D& p, std::size_t znaki, int W, int H) {
    // The anchor a little nearer and farther, and the label a few pixels larger,
    // than the drawing allows: a rounding of the placing cannot hide a label.
    constexpr double kZapasGlebokosci = 1e-6;
    constexpr int kZapasPikseli = 2;
    const double zapas = kZapasGlebokosci * (1.0 + std::fabs(Rzut.OkoY) + std::fabs(p.Y));
    if (!(WZasieguNapisu({p.X, p.Y - zapas, p.Z}) || WZasieguNapisu({p.X, p.Y + zapas, p.Z}))) return false;
    if (W <= 0 || H <= 0) return true;
    return NapisWObrazie(MiejsceNapisu(EkranX(p.X, p.Y), EkranY(p.Y, p.Z, H), znaki), W, H, kZapasPikseli);
}

namespace {

// The driver's background: the sky stretched from the top of the picture to
// the horizon, and below it a muted ground colour, which shows beyond the
// edge of the data and where the ground a cutting removes leaves a gap.
// A rolled view: the sky stretched down to the lower end of the sloping
// horizon, and the ground colour over the part of the frame's inside below
// the horizon line (the rectangle cut by the line's half-plane).
void RysujNieboPrzechylone(TPlotno& plotno, int W, int H, TKolor kolorGruntu) {
    const auto NaCalkowita = [](double v) { return static_cast<int>(std::lround(v)); };
    const auto horyzont = [H](double x) { return WierszHoryzontuWKolumnie(x, H); };
    const double dol = std::clamp(std::max(horyzont(0), horyzont(W)), -1.0, static_cast<double>(H));
    if (Rzut.RysujNiebo && !Niebo.Pusty() && dol > 0) plotno.RozciagnijObraz(0, 0, W, NaCalkowita(dol) + 1, Niebo);
    const double rogi[4][2] = {{1, 1}, {W - 1.0, 1}, {W - 1.0, H - 1.0}, {1, H - 1.0}};
    std::vector<TPunktEkranu> wielokat;
    for (int i = 0; i < 4; ++i) {
        const double* a = rogi[i];
        const double* b = rogi[(i + 1) % 4];
        const double da = a[1] - horyzont(a[0]), db = b[1] - horyzont(b[0]);  // >= 0: below the horizon
        if (da >= 0) wielokat.push_back({NaCalkowita(a[0]), NaCalkowita(a[1])});
        if ((da >= 0) != (db >= 0)) {
            const double t = da / (da - db);
            wielokat.push_back({NaCalkowita(a[0] + t * (b[0] - a[0])), NaCalkowita(a[1] + t * (b[1] - a[1]))});
        }
    }
    if (wielokat.size() < 3) return;
    plotno.UstawPedzel(kolorGruntu);
    plotno.UstawPioro(kolorGruntu);
    plotno.Wielokat(wielokat.data(), static_cast<int>(wielokat.size()));
}

void RysujNieboKierowcy(TPlotno& plotno, int W, int H) {
    constexpr TKolor KolorGruntu = 0x7CA27C;
    if (Rzut.PrzechylenieOka != 0.0) {
        RysujNieboPrzechylone(plotno, W, H, KolorGruntu);
        return;
    }
    const int horyzont = std::min(WierszHoryzontu(H), H);
    if (Rzut.RysujNiebo && !Niebo.Pusty() && horyzont > 0) plotno.RozciagnijObraz(0, 0, W, horyzont + 1, Niebo);
    if (horyzont < H - 1) {
        plotno.UstawPedzel(KolorGruntu);
        plotno.UstawPioro(KolorGruntu);
        plotno.Prostokat(1, std::max(horyzont + 1, 1), W - 1, H - 1);
    }
}

}  // namespace

void Przerysuj(TPlotno& plotno, int W, int H) {
    TPodzialKlatki podzial;
    Przerysuj(plotno, W, H, podzial);
}

void Przerysuj(TPlotno& plotno, int W, int H, TPodzialKlatki& podzial) {
    // Button-face area framed by a one-pixel black line.
    plotno.UstawPedzel(clBtnFace);
    plotno.UstawPioro(0x000000);
    plotno.Prostokat(0, 0, W, H);

    if (Rzut.WidokKierowcy) {
        RysujNieboKierowcy(plotno, W, H);
        UlozKolejnoscKierowcy(podzial.KolejnoscKierowcy);
    } else if (Rzut.RysujLinie || Rzut.RysujNiebo) {
        RysujTlo(plotno, 0, 0, 0, W - 1, 500.0, H - 1, H);
    }

    // Every report fills and shows the viewer in one step; whatever is left is stale.
    OpisTekst.clear();

    // The records, by the painter's method in array order. A canvas over
    // pixels draws a large frame in two bands at once; the picture is the same.
    auto* rastrowe = dynamic_cast<TPlotnoRastrowe*>(&plotno);
    if (!rastrowe || !RysujRekordyWDwochPasach(*rastrowe, H, podzial))
        RysujRekordy(plotno, H, podzial.KolejnoscKierowcy);
    if (!NapisySlupkow.empty()) PiszNapisySlupkow(plotno, W, H);

    if (Rzut.RysujParametryEkran) PiszParametry(plotno, 200, 300);
}
