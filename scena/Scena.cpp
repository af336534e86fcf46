#include "scena/Scena.h"

#include <cctype>
#include <utility>

#include "analiza/Wysokosci.h"
#include "model/Zmienne.h"
#include "render/RysujPerspektywa.h"
#include "route/OblTrasa.h"

void ZakonczWczytywanie() {
    WyczyscSlupki();
    WyroznionePROJ.clear();  // they marked the triangles of the scene before
    KoloryPROJ.clear();
    OrientujTrojkaty();
    ObliczZakres(TEREN);
    ObliczZakres(PROJ);
    ObliczZakresTrasy();
    PrzesunTrase(-TEREN.Zakres.Xmin, -TEREN.Zakres.Ymin);
    PrzesunSiatki(-TEREN.Zakres.Xmin, -TEREN.Zakres.Ymin, -TEREN.Zakres.Zmin);
    WyczyscBlokiSiatek();
    OznaczIndeksyDoZbudowania();
    PrzygotujPosortowane(TEREN, 4.0);
    PrzygotujPosortowane(PROJ, 4.0);
    PrzeliczRzut();
    ObliczTrase();
}

namespace {
void Przyjmij(TDaneWczytane&& dane) {
    PrzyjmijWczytane(std::move(dane));
    ZakonczWczytywanie();
}
}  // namespace

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
