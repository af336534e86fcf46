#include "scena/Scena.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <utility>

#include "analiza/Wysokosci.h"
#include "model/Pola.h"
#include "model/Zmienne.h"
#include "render/RysujPerspektywa.h"
#include "route/OblTrasa.h"
#include "route/Wstega.h"
#include "scena/InfoProjekt.h"
#include "scena/LinieOsi.h"
#include "scena/WidokKierowcy.h"
#include "wymiana/LandXMLOsie.h"

namespace {

// The window's part of a load: what the view kept of the scene before is
// dropped and the render arrays are made from the new project's meshes.
void PokazWczytany() {
    WyczyscSlupki();
    WyroznionePROJ.clear();  // they marked the triangles of the scene before
    KoloryPROJ.clear();
    WyczyscBlokiSiatek();
    ZapomnijTerenWykopu();
    PrzygotujPosortowane(TEREN, false, kPowiekszenieWczytania);
    PrzygotujPosortowane(PROJ, true, kPowiekszenieWczytania);
    PrzeliczRzut();
    DodajLinieOsiOgolne(kPowiekszenieWczytania);
}

// What a load goes into: a project and the messages of its route build.
struct TCel {
    TProjekt& Projekt;
    std::vector<std::string>& Komunikaty;
};

TCel Okno() { return {ProjektOkna, KomunikatyTrasy}; }

// A load: the new project made aside and swapped in whole, the route's messages with it.
void Przyjmij(TCel cel, TDaneWczytane&& dane, const TNoweZbiory& nowe) {
    std::vector<std::string> komunikaty;
    TProjekt nowy = ProjektPoWczytaniu(cel.Projekt, std::move(dane), nowe, komunikaty);
    cel.Projekt = std::move(nowy);
    cel.Komunikaty = std::move(komunikaty);
}

void Przyjmij(TCel cel, TDaneWczytane&& dane) {
    const TNoweZbiory nowe{dane.TrojkatyTEREN.has_value(), dane.TrojkatyPROJ.has_value(), dane.Zalomy.has_value()};
    Przyjmij(cel, std::move(dane), nowe);
}

// A load of the window: the render arrays follow the new project.
void PrzyjmijWOknie(TDaneWczytane&& dane) {
    Przyjmij(Okno(), std::move(dane));
    PokazWczytany();
}

// A .tro / .mtp text is read on the project the load is built on: TEREN
// triangles in a file without TEREN points take the project's points.
TOpcjeCzytania NaProjekcie(const TProjekt& p) {
    TOpcjeCzytania o;
    o.PunktyTEREN = &p.TEREN.Punkty;
    return o;
}

bool OtworzNMTW(TCel cel, const std::vector<std::string>& pliki, const TOpcjeNMT& opcje, const TPostep& postep,
                const std::atomic<bool>* przerwij);

// One file into the project (the reader RodzajPliku chooses); false when a grid's reading was cancelled.
bool WczytajPlikW(TCel cel, const std::string& nazwa, const TPostep& postep, const TWyborLandXML& wyborLandXML,
                  const TOpcjeNMT& opcjeNMT) {
    switch (RodzajPliku(nazwa)) {
        case TRodzajPliku::TRO: Przyjmij(cel, CzytajPlikTRO(nazwa, postep, NaProjekcie(cel.Projekt))); return true;
        case TRodzajPliku::MTP: Przyjmij(cel, CzytajPlikMTP(nazwa, postep, NaProjekcie(cel.Projekt))); return true;
        case TRodzajPliku::XML: Przyjmij(cel, CzytajPlikLandXML(nazwa, wyborLandXML, postep)); return true;
        case TRodzajPliku::NMT: return OtworzNMTW(cel, {nazwa}, opcjeNMT, postep, nullptr);
        case TRodzajPliku::Inny: break;
    }
    throw BladKonwersji("Nieznany rodzaj pliku „" + nazwa +
                        "”: oczekiwano pliku .tro, .mtp, LandXML (.xml) albo siatki NMT (.asc, .xyz, .tif, .tiff).");
}

bool WczytajGrupeW(TCel cel, const std::vector<std::string>& grupa, const TPostep& postep,
                   const TWyborLandXML& wyborLandXML, const TOpcjeNMT& opcjeNMT) {
    if (grupa.size() == 1) return WczytajPlikW(cel, grupa[0], postep, wyborLandXML, opcjeNMT);
    for (const std::string& n : grupa)
        if (RodzajPliku(n) != TRodzajPliku::NMT)
            throw BladKonwersji("Razem można wczytać tylko arkusze siatki NMT, a „" + n + "” nim nie jest.");
    return OtworzNMTW(cel, grupa, opcjeNMT, postep, nullptr);
}

}  // namespace

TProjekt ProjektPoWczytaniu(TProjekt& stary, TDaneWczytane&& dane, const TNoweZbiory& nowe,
                            std::vector<std::string>& komunikaty) {
    const bool teren = dane.PunktyTEREN.has_value(), proj = dane.PunktyPROJ.has_value(),
               trasaZPliku = dane.Zalomy.has_value();
    // The new origin: the lowest corner of the range of the TEREN points the project will have.
    const TZakres stary0 = stary.TEREN.Zakres;  // the origin the sets from before were moved by
    const TZakres z = teren                        ? ZakresPunktow(*dane.PunktyTEREN, stary0)
                      : stary.TEREN.Punkty.empty() ? stary0
                                                   : ZakresPunktow(stary.TEREN.Punkty, stary0);
    const bool innyPoczatek = stary0.Xmin != z.Xmin || stary0.Ymin != z.Ymin || stary0.Zmin != z.Zmin;

    // The route first, on a copy (a route is small): what may fail fails before `stary` is touched.
    DaneUstawieniaTrasy trasa = stary.Trasa;
    if (trasaZPliku) {
        PrzyjmijTrase(std::move(dane), trasa);
        trasa.EPSG = dane.EPSG;
    }
    if (nowe.Trasa) ObliczZakresTrasy(trasa);
    if (innyPoczatek && !nowe.Trasa) PrzesunTrase(trasa, stary0.Xmin, stary0.Ymin);
    PrzesunTrase(trasa, innyPoczatek || nowe.Trasa ? -z.Xmin : 0.0, innyPoczatek || nowe.Trasa ? -z.Ymin : 0.0);
    trasa.Dx = z.Xmin;
    trasa.Dy = z.Ymin;
    komunikaty = ObliczTrase(trasa, stary.ParametryProjektowe);
    trasa.Wstega = WstegaDrogi(trasa, trasa.SzerokoscWstegi, z.Zmin);

    // Then the meshes, taken from `stary` (moved, not copied) with the file's sections in place of theirs.
    // Every set is kept in the local frame whose origin is the lowest corner of TEREN's range (its points
    // stay in the file's coordinates): a set the file brought moves from the file's coordinates, a set from
    // before moves from the old origin to the new one (not at all while TEREN is the same), so the order in
    // which files are opened changes no set's place.
    const int epsg = dane.EPSG;
    std::vector<std::string> opis = std::move(dane.OpisTEREN);
    TProjekt p = std::move(stary);
    PrzyjmijWczytane(std::move(dane), p);
    if (teren) {
        p.TEREN.EPSG = epsg;
        p.TEREN.Opis = std::move(opis);
    }
    if (proj) p.PROJ.EPSG = epsg;
    OrientujTrojkaty(p.TEREN);
    OrientujTrojkaty(p.PROJ);
    ObliczZakres(p.TEREN);
    ObliczZakres(p.PROJ);
    if (innyPoczatek) {
        if (!nowe.Teren) PrzesunSiatke(p.TEREN, stary0.Xmin, stary0.Ymin, stary0.Zmin);
        if (!nowe.Proj) PrzesunSiatke(p.PROJ, stary0.Xmin, stary0.Ymin, stary0.Zmin);
    }
    if (innyPoczatek || nowe.Teren) PrzesunSiatke(p.TEREN, -z.Xmin, -z.Ymin, -z.Zmin);
    if (innyPoczatek || nowe.Proj) PrzesunSiatke(p.PROJ, -z.Xmin, -z.Ymin, -z.Zmin);
    p.Trasa = std::move(trasa);
    p.LinieInnychOsi = nullptr;
    // Only the route changed (another alignment of a file) and the design surface is not its ribbon: the
    // indices of the meshes stay good.
    if (teren || proj || innyPoczatek || nowe.Teren || nowe.Proj || p.PROJ.Trojkaty.empty())
        OznaczIndeksyDoZbudowania(p);
    return p;
}

TProjekt ProjektZOsia(TProjekt& stary, int nrOsi, int nrNiwelety, std::vector<std::string>& komunikaty) {
    const std::vector<TOsPliku>& osie = stary.Trasa.Osie;
    if (nrNiwelety == 0 && nrOsi >= 0 && static_cast<std::size_t>(nrOsi) < osie.size() &&
        osie[static_cast<std::size_t>(nrOsi)].Niwelety.empty())
        nrNiwelety = -1;
    TDaneWczytane d;
    UstawOsJakoTrase(d, stary.Trasa.Osie, nrOsi, nrNiwelety, stary.Trasa.ZrodloOsi);
    d.EPSG = stary.Trasa.EPSG;
    return ProjektPoWczytaniu(stary, std::move(d), TNoweZbiory{false, false, true}, komunikaty);
}

void WybierzOs(int nrOsi, int nrNiwelety) {
    std::vector<std::string> komunikaty;
    TProjekt nowy = ProjektZOsia(ProjektOkna, nrOsi, nrNiwelety, komunikaty);
    ProjektOkna = std::move(nowy);
    KomunikatyTrasy = std::move(komunikaty);
    PokazWczytany();
}

void ZakonczWczytywanie() {
    Przyjmij(Okno(), TDaneWczytane{}, TNoweZbiory{});
    PokazWczytany();
}

void OtworzTRO(const std::string& nazwaPliku, const TPostep& postep) {
    PrzyjmijWOknie(CzytajPlikTRO(nazwaPliku, postep, NaProjekcie(ProjektOkna)));
}

void OtworzTROZBufora(std::string_view dane, std::string_view nazwa, const TPostep& postep) {
    PrzyjmijWOknie(CzytajTRO(dane, nazwa, postep, NaProjekcie(ProjektOkna)));
}

void OtworzMTP(const std::string& nazwaPliku, const TPostep& postep) {
    PrzyjmijWOknie(CzytajPlikMTP(nazwaPliku, postep, NaProjekcie(ProjektOkna)));
}

void OtworzMTPZBufora(std::string_view dane, std::string_view nazwa, const TPostep& postep) {
    PrzyjmijWOknie(CzytajMTP(dane, nazwa, postep, NaProjekcie(ProjektOkna)));
}

void OtworzLandXML(const std::string& nazwaPliku, const TWyborLandXML& wybor, const TPostep& postep) {
    PrzyjmijWOknie(CzytajPlikLandXML(nazwaPliku, wybor, postep));
}

void OtworzLandXMLZBufora(std::string_view dane, std::string_view nazwa, const TWyborLandXML& wybor,
                          const TPostep& postep) {
    PrzyjmijWOknie(CzytajLandXML(dane, nazwa, wybor, postep));
}

TOpcjeNMT OpcjeNMTSceny(TOpcjeNMT o) { return OpcjeNMTProjektu(ProjektOkna, std::move(o)); }

TOpcjeNMT OpcjeNMTProjektu(const TProjekt& projekt, TOpcjeNMT o) {
    o.UkladDanych = projekt.Trasa.EPSG != 0 ? projekt.Trasa.EPSG : projekt.PROJ.EPSG;
    if (o.Uklad == 0)
        o.Uklad = projekt.Trasa.EPSG != 0   ? projekt.Trasa.EPSG
                  : projekt.TEREN.EPSG != 0 ? projekt.TEREN.EPSG
                                            : projekt.PROJ.EPSG;
    if (o.Pas > 0.0 && o.Os.empty() && projekt.Trasa.Obliczona) {
        // The route's line: every 2 m and at every element's ends, in file coordinates.
        std::vector<double> s;
        for (double p = projekt.Trasa.PikMin; p < projekt.Trasa.PikMax; p += 2.0) s.push_back(p);
        for (const TElementOsi& e : projekt.Trasa.Lancuch.Elementy)
            for (double p : {e.Pik, e.PikK})
                if (p > projekt.Trasa.PikMin && p < projekt.Trasa.PikMax) s.push_back(p);
        s.push_back(projekt.Trasa.PikMax);
        std::sort(s.begin(), s.end());
        for (double p : s) {
            TPunkt2D q;
            PunktNaPikiecie(projekt.Trasa, p, q.X, q.Y);
            q.X += projekt.Trasa.Dx;
            q.Y += projekt.Trasa.Dy;
            if (std::isfinite(q.X) && std::isfinite(q.Y)) o.Os.push_back(q);
        }
    }
    return o;
}

namespace {

// The sections of a TIN made from elevation grids: TEREN's points and triangles, no lines.
TDaneWczytane DaneNMT(TTerenNMT&& t) {
    TDaneWczytane d;
    std::vector<TPunktSiatki> punkty(t.Tin.Punkty.size());
    for (std::size_t n = 0; n < punkty.size(); ++n) {
        const TPunkt3D& p = t.Tin.Punkty[n];
        punkty[n].X = p.X;
        punkty[n].Y = p.Y;
        punkty[n].Z = p.Z;
        punkty[n].Numer = static_cast<std::int32_t>(n + 1);
    }
    std::vector<TTrojkat> trojkaty(t.Tin.Trojkaty.size());
    const auto kolor = static_cast<std::int32_t>(KolorRodzaju(' ', false));
    for (std::size_t n = 0; n < trojkaty.size(); ++n) {
        const auto& v = t.Tin.Trojkaty[n];
        TTrojkat& r = trojkaty[n];
        r.Nr1 = v[0], r.Nr2 = v[1], r.Nr3 = v[2];
        WierzcholkiZNumerow(r);
        r.Kolor = kolor;
    }
    d.WierzcholkiTEREN = std::move(t.Tin.Punkty);
    t.Tin = {};
    d.PunktyTEREN = std::move(punkty);
    d.TrojkatyTEREN = std::move(trojkaty);
    d.LinieTEREN = std::vector<TLinia>{};
    d.EPSG = t.UkladWyniku;
    d.OpisTEREN = std::move(t.Opis);
    return d;
}

}  // namespace

void PrzyjmijNMT(TTerenNMT&& t) { PrzyjmijWOknie(DaneNMT(std::move(t))); }

namespace {

bool OtworzNMTW(TCel cel, const std::vector<std::string>& pliki, const TOpcjeNMT& opcje, const TPostep& postep,
                const std::atomic<bool>* przerwij) {
    std::optional<TTerenNMT> t = WczytajNMT(pliki, OpcjeNMTProjektu(cel.Projekt, opcje), postep, przerwij);
    if (!t) return false;
    Przyjmij(cel, DaneNMT(std::move(*t)));
    return true;
}

}  // namespace

bool OtworzNMT(const std::vector<std::string>& pliki, const TOpcjeNMT& opcje, const TPostep& postep,
               const std::atomic<bool>* przerwij) {
    if (!OtworzNMTW(Okno(), pliki, opcje, postep, przerwij)) return false;
    PokazWczytany();
    return true;
}

TRodzajPliku RodzajPliku(std::string_view nazwa) {
    if (FormatNMT(std::string(nazwa)) != TFormatNMT::Inny) return TRodzajPliku::NMT;
    if (nazwa.size() < 3) return TRodzajPliku::Inny;
    std::string e(nazwa.substr(nazwa.size() - 3));
    for (char& c : e) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (e == "TRO") return TRodzajPliku::TRO;
    if (e == "MTP") return TRodzajPliku::MTP;
    if (e == "XML") return TRodzajPliku::XML;
    return TRodzajPliku::Inny;
}

void WczytajPlik(const std::string& nazwa, const TPostep& postep, const TWyborLandXML& wyborLandXML,
                 const TOpcjeNMT& opcjeNMT) {
    if (WczytajPlikW(Okno(), nazwa, postep, wyborLandXML, opcjeNMT)) PokazWczytany();
}

std::vector<std::vector<std::string>> GrupyPlikow(const std::vector<std::string>& nazwy) {
    std::vector<std::vector<std::string>> g;
    bool poprzedniNMT = false;
    for (const std::string& n : nazwy) {
        const bool nmt = RodzajPliku(n) == TRodzajPliku::NMT;
        if (!(nmt && poprzedniNMT)) g.emplace_back();
        g.back().push_back(n);
        poprzedniNMT = nmt;
    }
    return g;
}

void WczytajGrupe(const std::vector<std::string>& grupa, const TPostep& postep, const TWyborLandXML& wyborLandXML,
                  const TOpcjeNMT& opcjeNMT) {
    if (WczytajGrupeW(Okno(), grupa, postep, wyborLandXML, opcjeNMT)) PokazWczytany();
}

bool WczytajGrupe(TProjekt& projekt, std::vector<std::string>& komunikaty, const std::vector<std::string>& grupa,
                  const TPostep& postep, const TWyborLandXML& wyborLandXML, const TOpcjeNMT& opcjeNMT) {
    return WczytajGrupeW({projekt, komunikaty}, grupa, postep, wyborLandXML, opcjeNMT);
}

const TProjekt& PokazProjekt(TProjekt&& projekt, std::vector<std::string> komunikaty) {
    ProjektOkna = std::move(projekt);
    KomunikatyTrasy = std::move(komunikaty);
    PokazWczytany();
    return ProjektOkna;
}

void UstawOkoOkna(int W, int /*H*/) {
    Rzut.OkoX = W * 0.5;
    Rzut.OkoY = -700.0;
    Rzut.OkoZ = 500.0;
    Rzut.PolEkranX = static_cast<float>(W * 0.5);
}

bool PrzejdzNaPikiete(double s) {
    PunktNaPikiecie(s, Rzut.TrasaX, Rzut.TrasaY);
    Rzut.katT = KatNaPikiecie(s);
    Rzut.alfa = Rzut.katT;
    return UmiescWPunkcieTrasy();
}

void UstawStanPoczatkowy(int W, int H) {
    ProjektOkna = TProjekt{};
    OpisTekst.clear();
    KomunikatyTrasy.clear();
    InicjujZmienne(W, H);
    ZiarnoLosowania = 0;
    ZwolnijBuforyWidoku();
    ZapomnijTerenWykopu();
}

void UstawStanOkna(int W, int H) {
    UstawStanPoczatkowy(W, H);
    UstawOkoOkna(W, H);
}
