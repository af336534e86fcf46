#include "model/Zmienne.h"

#include <algorithm>
#include <mutex>
#include <utility>

#include "common/Rownolegle.h"
#include "common/Sortowanie.h"

TProjekt ProjektOkna;
TSiatka& TEREN = ProjektOkna.TEREN;
TSiatka& PROJ = ProjektOkna.PROJ;
DaneUstawieniaTrasy& Trasa = ProjektOkna.Trasa;
std::vector<TParametryProjektowe>& ParametryProjektowe = ProjektOkna.ParametryProjektowe;
TRzut Rzut;
std::vector<TCzworokatRys> Czworokaty;
std::vector<TTrojkatRys> TrojkatyPROJ;
std::vector<TTrojkatRys> TrojkatyTEREN;
std::vector<TTrojkatRys> TrojkatySlupkow;
std::vector<TNapisRys> NapisySlupkow;
std::vector<std::int32_t> WyroznionePROJ;
std::vector<TKolor> KoloryPROJ;
TPunkt3D Swiatlo{0.707, 0.707, 0.0};
std::int32_t nat = 25;
bool RysObrys = true;
std::int32_t NatObrys = 5;
TObraz Niebo;
std::vector<std::string> OpisTekst{std::string()};
std::vector<std::string> KomunikatyTrasy;
std::uint32_t ZiarnoLosowania = 0;

void InicjujZmienne(int W, int /*H*/) {
    Rzut = TRzut{};
    Rzut.OkoX = W * 0.5;
    Rzut.OkoY = -1000.0;
    Rzut.OkoZ = 300.0;
    Swiatlo = {0.707, 0.707, 0.0};
    nat = 25;
    RysObrys = true;
    NatObrys = 5;
    Rzut.skala = 12.0f;
    Rzut.PolEkranX = static_cast<float>(W * 0.5);
    Rzut.RysujPROJ = Rzut.RysujTEREN = Rzut.RysujNiebo = Rzut.RysujLinie = true;
    Rzut.RysujParametryEkran = false;
    Rzut.alfa = 0.0;
    Rzut.OdlTnijYmin = -800.0f;
    Rzut.TnijTroj = true;
    Rzut.OdlTnijYmax = 2000.0f;
    Czworokaty.clear();
    TrojkatyPROJ.clear();
    TrojkatyTEREN.clear();
    WyczyscSlupki();
    WyroznionePROJ.clear();
    KoloryPROJ.clear();
    ParametryProjektowe = TProjekt::ParametryPoczatkowe();
}

std::vector<TParametryProjektowe> TProjekt::ParametryPoczatkowe() {
    TParametryProjektowe wiersz;
    wiersz.OdPikiety = 0.0f;
    wiersz.PredkoscV = 50.0f;
    wiersz.iMax = 0.009f;
    wiersz.kMax = 0.5f;
    wiersz.Bkr = 3.0f;
    wiersz.dI = 0.05f;
    wiersz.Rezerwa1 = 2.5f;
    wiersz.Rezerwa2 = 0.5f;
    return {wiersz};
}

void PorzucBudoweIndeksow(TPamiecIndeksow& m) noexcept {
    if (!m.Watek.joinable()) return;
    if (m.Przerwij) m.Przerwij->store(true);
    m.Watek.join();
    const std::lock_guard<std::mutex> l(m.Zamek);
    m.BladWTle = nullptr;  // a stopped build's failure concerns nobody
    m.Przerwij.reset();
}

// A moved-from or copied-to store is marked to be built, so its emptied
// pointers are never handed out (IndeksyWysokosci builds first); nothing
// here allocates. A build in a second thread of either store is stopped
// first: it reads the meshes about to be moved or replaced.
TPamiecIndeksow::TPamiecIndeksow(TPamiecIndeksow&& o) noexcept {
    PorzucBudoweIndeksow(o);
    const std::lock_guard<std::mutex> l(o.Zamek);
    Indeksy = std::move(o.Indeksy);
    DoZbudowania = std::exchange(o.DoZbudowania, true);
    Budowa = std::move(o.Budowa);
    o.Budowa = nullptr;
}

TPamiecIndeksow& TPamiecIndeksow::operator=(const TPamiecIndeksow& o) {
    if (this == &o) return *this;
    PorzucBudoweIndeksow(*this);
    const std::lock_guard<std::mutex> l(Zamek);
    Indeksy.PROJ.reset();
    Indeksy.TEREN.reset();
    DoZbudowania = true;
    Budowa = nullptr;
    return *this;
}

TPamiecIndeksow& TPamiecIndeksow::operator=(TPamiecIndeksow&& o) noexcept {
    if (this == &o) return *this;
    PorzucBudoweIndeksow(*this);
    PorzucBudoweIndeksow(o);
    const std::scoped_lock l(Zamek, o.Zamek);
    Indeksy = std::move(o.Indeksy);
    DoZbudowania = std::exchange(o.DoZbudowania, true);
    Budowa = std::move(o.Budowa);
    o.Budowa = nullptr;
    return *this;
}

TPamiecIndeksow::~TPamiecIndeksow() { PorzucBudoweIndeksow(*this); }

// ---------------------------------------------------------------------------
// Scene model operations.

namespace {

// The triangle runs counter-clockwise in plan afterwards (its first and
// last corners swapped when it ran clockwise; the vertices stay).
void OrientujJeden(TTrojkat& t, const std::vector<TPunkt3D>& w) {
    const TPunkt3D& p1 = w[static_cast<std::size_t>(t.W1)];
    const TPunkt3D& p2 = w[static_cast<std::size_t>(t.W2)];
    const TPunkt3D& p3 = w[static_cast<std::size_t>(t.W3)];
    const double ax = p1.X - p2.X, ay = p1.Y - p2.Y;
    const double bx = p3.X - p2.X, by = p3.Y - p2.Y;
    if (ax * by - ay * bx > 0.0) std::swap(t.W1, t.W3);
}

void Orientuj(TSiatka& s) {
    NaDwochWatkach(s.Trojkaty.size(), [&](std::size_t od, std::size_t do_) {
        for (std::size_t i = od; i < do_; ++i) OrientujJeden(s.Trojkaty[i], s.Wierzcholki);
    });
}

void Przesun(std::vector<TPunkt3D>& wierzcholki, double dx, double dy, double dz) {
    NaDwochWatkach(wierzcholki.size(), [&](std::size_t od, std::size_t do_) {
        for (std::size_t i = od; i < do_; ++i) {
            TPunkt3D& p = wierzcholki[i];
            p.X += dx;
            p.Y += dy;
            p.Z += dz;
        }
    });
}

}  // namespace

TKolor KolorRodzaju(char kod, bool projektowa) {
    const bool proj = projektowa;
    switch (kod) {
        case 'H': return proj ? 0x647864u : 0x96C896u;
        case 'N': return proj ? 0xC89696u : 0xC8AAAAu;
        case 'G': return proj ? 0x323296u : 0x969696u;
        case 'B': return 0xBEB4B4u;
        case 'C': return 0xC8B4B4u;
        case 'K': return 0xDCAAAAu;
        case 'O': return 0xDC96B4u;
        case 'E': return proj ? 0x829682u : 0xB4B4B4u;
        default: return 0x969696u;
    }
}

void ObliczZakres(TSiatka& siatka) { siatka.Zakres = ZakresPunktow(siatka.Punkty, siatka.Zakres); }

TZakres ZakresPunktow(const std::vector<TPunktSiatki>& punkty, const TZakres& bezPunktow) {
    if (punkty.empty()) return bezPunktow;
    TZakres z;
    const TPunktSiatki& p0 = punkty[0];
    z.Xmax = z.Xmin = p0.X;
    z.Ymax = z.Ymin = p0.Y;
    z.Zmax = z.Zmin = p0.Z;
    for (const TPunktSiatki& p : punkty) {
        if (p.X > z.Xmax) z.Xmax = p.X;
        if (p.Y > z.Ymax) z.Ymax = p.Y;
        if (p.Z > z.Zmax) z.Zmax = p.Z;
        if (p.X < z.Xmin) z.Xmin = p.X;
        if (p.Y < z.Ymin) z.Ymin = p.Y;
        if (p.Z < z.Zmin) z.Zmin = p.Z;
    }
    return z;
}

void OrientujTrojkaty(TSiatka& siatka) { Orientuj(siatka); }

void OrientujTrojkaty() {
    OrientujTrojkaty(TEREN);
    OrientujTrojkaty(PROJ);
}

void PrzesunSiatke(TSiatka& siatka, double dx, double dy, double dz) { Przesun(siatka.Wierzcholki, dx, dy, dz); }

void PrzesunSiatki(double dx, double dy, double dz) {
    PrzesunSiatke(TEREN, dx, dy, dz);
    PrzesunSiatke(PROJ, dx, dy, dz);
}

void PrzesunTrase(DaneUstawieniaTrasy& trasa, double dx, double dy) {
    for (TZalom& z : trasa.Zalomy) {
        z.X += dx;
        z.Y += dy;
    }
    // The chain's points (a chain read from a file is never rebuilt from vertices).
    for (TElementOsi& e : trasa.Lancuch.Elementy) {
        for (TPunkt2D* p : {&e.Poczatek, &e.Koniec, &e.Srodek, &e.SzeregPunkt}) {
            p->X += dx;
            p->Y += dy;
        }
    }
    trasa.Dx = -dx;
    trasa.Dy = -dy;
}

void PrzesunTrase(double dx, double dy) { PrzesunTrase(Trasa, dx, dy); }

std::vector<bool> WyroznioneTrojkaty(const TSiatka& siatka, bool projektowa) {
    std::vector<bool> w;
    if (!projektowa || WyroznionePROJ.empty()) return w;
    w.resize(siatka.Trojkaty.size());
    for (std::int32_t i : WyroznionePROJ)
        if (i >= 0 && static_cast<std::size_t>(i) < w.size()) w[static_cast<std::size_t>(i)] = true;
    return w;
}

TKolor KolorTrojkata(const TSiatka& siatka, bool projektowa, std::size_t i, const std::vector<bool>& wyroznione) {
    if (i < wyroznione.size() && wyroznione[i]) return KolorWyroznienia;
    if (projektowa && i < KoloryPROJ.size() && KoloryPROJ[i] != KolorWlasny) return KoloryPROJ[i];
    return KolorRodzaju(siatka.Trojkaty[i].Rodzaj.Kod, projektowa);
}

TTrojkatRys TrojkatDoRysowania(const TSiatka& siatka, std::size_t i, TKolor kolor) {
    const TTrojkat& t = siatka.Trojkaty[i];
    TTrojkatRys r;
    r.P1 = Rog(siatka, t, 0);
    r.P2 = Rog(siatka, t, 1);
    r.P3 = Rog(siatka, t, 2);
    r.Kolor = kolor;
    r.KolorObrysu = 0x808080u;
    r.KolorCieniowany = 0x808080u;
    return r;
}

void PrzygotujTrojkaty(const TSiatka& siatka, bool projektowa) {
    std::vector<TTrojkatRys>& cel = projektowa ? TrojkatyPROJ : TrojkatyTEREN;
    // Every record is written below: the array is only sized (the records
    // it already holds are not set to defaults first).
    PowiekszNaDwochWatkach(cel, siatka.Trojkaty.size());
    NaDwochWatkach(cel.size(), [&](std::size_t od, std::size_t do_) {
        for (std::size_t i = od; i < do_; ++i) {
            cel[i] = TrojkatDoRysowania(siatka, i, KolorRodzaju(siatka.Trojkaty[i].Rodzaj.Kod, projektowa));
        }
    });
    if (projektowa)
        for (std::size_t i = 0; i < KoloryPROJ.size() && i < cel.size(); ++i)
            if (KoloryPROJ[i] != KolorWlasny) cel[i].Kolor = KoloryPROJ[i];
    if (projektowa)
        for (std::int32_t i : WyroznionePROJ)
            if (i >= 0 && static_cast<std::size_t>(i) < cel.size())
                cel[static_cast<std::size_t>(i)].Kolor = KolorWyroznienia;
}

void SkalujTrojkaty(std::vector<TTrojkatRys>& trojkaty, double k) {
    for (TTrojkatRys& r : trojkaty) {
        r.P1 = r.P1 * k;
        r.P2 = r.P2 * k;
        r.P3 = r.P3 * k;
    }
}

void SortujTrojkaty(std::vector<TTrojkatRys>& trojkaty) {
    SortujMalejaco(trojkaty, [](const TTrojkatRys& r) { return r.P2.Y; });
}

void WyczyscSlupki() {
    TrojkatySlupkow.clear();
    NapisySlupkow.clear();
    Rzut.WidokKierowcy = false;
    Rzut.PochylenieOka = 0.0;
    Rzut.PrzechylenieOka = 0.0;
}

void PrzygotujPosortowane(const TSiatka& siatka, bool projektowa, double k) {
    std::vector<TTrojkatRys>& cel = projektowa ? TrojkatyPROJ : TrojkatyTEREN;
    const std::vector<TTrojkat>& mesh = siatka.Trojkaty;
    const std::size_t n = mesh.size();
    // The keys are those SortujTrojkaty takes from the zoomed records (the
    // second vertex's depth, Y2 * k), each with its record's position, and
    // sorted as SortujTrojkaty sorts them (a stable radix sort of the same
    // codes): the order is the one it gives.
    TBuforKluczy bufor;
    std::vector<sortowanie::TPara<std::uint64_t>>& klucze = bufor.A8;
    PowiekszNaDwochWatkach(klucze, n);
    PowiekszNaDwochWatkach(bufor.B8, n);
    NaDwochWatkach(n, [&](std::size_t od, std::size_t do_) {
        for (std::size_t i = od; i < do_; ++i)
            klucze[i] = {sortowanie::KodMalejaco(Rog(siatka, mesh[i], 1).Y * k), static_cast<std::uint32_t>(i)};
    });
    if (n >= 2) SortujPary(klucze, bufor.B8, n, bufor.Liczniki);
    // The scratch's memory given back before the records take theirs (`= {}` would keep it).
    std::vector<sortowanie::TPara<std::uint64_t>>().swap(bufor.B8);
    // Each record is made in its sorted place from its mesh triangle.
    const std::vector<bool> wyroznione = WyroznioneTrojkaty(siatka, projektowa);
    PowiekszNaDwochWatkach(cel, n);
    NaDwochWatkach(n, [&](std::size_t od, std::size_t do_) {
        constexpr std::size_t kNaprzod = 16;  // the reads jump about the mesh
        for (std::size_t j = od; j < do_; ++j) {
#if defined(__GNUC__)
            if (j + kNaprzod < do_) __builtin_prefetch(&mesh[klucze[j + kNaprzod].Indeks]);
#endif
            TTrojkatRys r = TrojkatDoRysowania(siatka, klucze[j].Indeks,
                                               KolorTrojkata(siatka, projektowa, klucze[j].Indeks, wyroznione));
            r.P1 = r.P1 * k;
            r.P2 = r.P2 * k;
            r.P3 = r.P3 * k;
            cel[j] = r;
        }
    });
}
