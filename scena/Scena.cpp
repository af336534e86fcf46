#include "scena/Scena.h"

#include <cctype>
#include <utility>

#include "analiza/Wysokosci.h"
#include "model/Zmienne.h"
#include "render/RysujPerspektywa.h"
#include "route/OblTrasa.h"

namespace {

// Which sets the file just put in place brought, in its own coordinates; the
// others stay from before, already moved to the origin of an earlier load.
struct TNoweZbiory {
    bool Teren = true, Proj = true, Trasa = true;
};

// Moves the triangles of one set only (PrzesunSiatki moves both).
void PrzesunZbior(std::vector<TTrojkat>& trojkaty, double dx, double dy, double dz) {
    std::vector<TTrojkat>& drugi = &trojkaty == &TEREN.Trojkaty ? PROJ.Trojkaty : TEREN.Trojkaty;
    std::vector<TTrojkat> odlozony;
    odlozony.swap(drugi);
    PrzesunSiatki(dx, dy, dz);
    odlozony.swap(drugi);
}

// The load sequence. Every set is kept in the local frame whose origin is the
// lowest corner of TEREN's range (its points stay in the file's coordinates):
// a set the file brought moves from the file's coordinates, a set from before
// moves from the old origin to the new one (not at all while TEREN is the
// same), so the order in which files are opened changes no set's place.
void ZakonczWczytywanieZbiorow(const TNoweZbiory& nowe) {
    const TZakres stary = TEREN.Zakres;  // the origin the sets from before were moved by
    WyczyscSlupki();
    WyroznionePROJ.clear();  // they marked the triangles of the scene before
    KoloryPROJ.clear();
    OrientujTrojkaty();
    ObliczZakres(TEREN);
    ObliczZakres(PROJ);
    if (nowe.Trasa) ObliczZakresTrasy();
    const TZakres& z = TEREN.Zakres;
    const bool innyPoczatek = stary.Xmin != z.Xmin || stary.Ymin != z.Ymin || stary.Zmin != z.Zmin;
    if (innyPoczatek) {
        if (!nowe.Teren) PrzesunZbior(TEREN.Trojkaty, stary.Xmin, stary.Ymin, stary.Zmin);
        if (!nowe.Proj) PrzesunZbior(PROJ.Trojkaty, stary.Xmin, stary.Ymin, stary.Zmin);
        if (!nowe.Trasa) PrzesunTrase(stary.Xmin, stary.Ymin);
    }
    if (innyPoczatek || nowe.Teren) PrzesunZbior(TEREN.Trojkaty, -z.Xmin, -z.Ymin, -z.Zmin);
    if (innyPoczatek || nowe.Proj) PrzesunZbior(PROJ.Trojkaty, -z.Xmin, -z.Ymin, -z.Zmin);
    PrzesunTrase(innyPoczatek || nowe.Trasa ? -z.Xmin : 0.0, innyPoczatek || nowe.Trasa ? -z.Ymin : 0.0);
    Trasa.Dx = z.Xmin;
    Trasa.Dy = z.Ymin;
    WyczyscBlokiSiatek();
    OznaczIndeksyDoZbudowania();
    PrzygotujPosortowane(TEREN, 4.0);
    PrzygotujPosortowane(PROJ, 4.0);
    PrzeliczRzut();
    ObliczTrase();
}

void Przyjmij(TDaneWczytane&& dane) {
    const TNoweZbiory nowe{dane.TrojkatyTEREN.has_value(), dane.TrojkatyPROJ.has_value(), dane.Zalomy.has_value()};
    PrzyjmijWczytane(std::move(dane));
    ZakonczWczytywanieZbiorow(nowe);
}

}  // namespace

void ZakonczWczytywanie() { ZakonczWczytywanieZbiorow({}); }

void OtworzTRO(const std::string& nazwaPliku, const TPostep& postep) { Przyjmij(CzytajPlikTRO(nazwaPliku, postep)); }

void OtworzTROZBufora(std::string_view dane, std::string_view nazwa, const TPostep& postep) {
    Przyjmij(CzytajTRO(dane, nazwa, postep));
}

void OtworzMTP(const std::string& nazwaPliku, const TPostep& postep) { Przyjmij(CzytajPlikMTP(nazwaPliku, postep)); }

void OtworzMTPZBufora(std::string_view dane, std::string_view nazwa, const TPostep& postep) {
    Przyjmij(CzytajMTP(dane, nazwa, postep));
}

void OtworzLandXML(const std::string& nazwaPliku, const TWyborLandXML& wybor, const TPostep& postep) {
    Przyjmij(CzytajPlikLandXML(nazwaPliku, wybor, postep));
}

void OtworzLandXMLZBufora(std::string_view dane, std::string_view nazwa, const TWyborLandXML& wybor,
                          const TPostep& postep) {
    Przyjmij(CzytajLandXML(dane, nazwa, wybor, postep));
}

TRodzajPliku RodzajPliku(std::string_view nazwa) {
    if (nazwa.size() < 3) return TRodzajPliku::Inny;
    std::string e(nazwa.substr(nazwa.size() - 3));
    for (char& c : e) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (e == "TRO") return TRodzajPliku::TRO;
    if (e == "MTP") return TRodzajPliku::MTP;
    if (e == "XML") return TRodzajPliku::XML;
    return TRodzajPliku::Inny;
}

void WczytajPlik(const std::string& nazwa, const TPostep& postep, const TWyborLandXML& wyborLandXML) {
    switch (RodzajPliku(nazwa)) {
        case TRodzajPliku::TRO: OtworzTRO(nazwa, postep); return;
        case TRodzajPliku::MTP: OtworzMTP(nazwa, postep); return;
        case TRodzajPliku::XML: OtworzLandXML(nazwa, wyborLandXML, postep); return;
        case TRodzajPliku::Inny: break;
    }
    throw BladKonwersji("Nieznany rodzaj pliku „" + nazwa + "”: oczekiwano pliku .tro, .mtp albo LandXML (.xml).");
}

void UstawOkoOkna(int W, int /*H*/) {
    Rzut.OkoX = W * 0.5;
    Rzut.OkoY = -700.0;
    Rzut.OkoZ = 500.0;
    Rzut.PolEkranX = static_cast<float>(W * 0.5);
}

bool UstawNaPikiecie(double s) {
    PunktNaPikiecie(s, Rzut.TrasaX, Rzut.TrasaY);
    Rzut.katT = KatNaPikiecie(s);
    Rzut.alfa = Rzut.katT;
    return UstawNaPikiecieRdzen();
}

void UstawStanPoczatkowy(int W, int H) {
    TEREN = TSiatka{};
    PROJ = TSiatka{};
    WyczyscIndeksyWysokosci();
    Trasa = DaneUstawieniaTrasy{};
    OpisTekst.clear();
    KomunikatyTrasy.clear();
    InicjujZmienne(W, H);
    ZiarnoLosowania = 0;
    ZwolnijBuforyWidoku();
}
