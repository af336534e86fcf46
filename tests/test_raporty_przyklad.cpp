// The route report of the sample project Przyklady/Droga.tro, whole, against
// its reference text in tests/dane/ (comma as the decimal separator). The
// reference was checked by hand: ranges and table from the file's vertices
// less the terrain's lowest corner (5500000, 4600000), the last chainage from
// an independent sum of straights, clothoids and arcs (2900.44 m).
#include <gtest/gtest.h>

#include <string>

#include "scena/InfoProjekt.h"
#include "model/ZapisywanieOdczytywanie.h"
#include "model/Zmienne.h"
#include "scena/Scena.h"
#include "pomocnicze/Pomocnicze.h"

namespace {

std::string Polacz(const std::vector<std::string>& linie) {
    std::string s;
    for (const std::string& l : linie) s += l + "\n";
    return s;
}

}  // namespace

TEST(RaportPrzyklad, RaportTrasyDrogiZgodnyZWzorcem) {
    ZerujStan();
    UstawLocale l(',');
    OtworzTRO(std::string(ORVANY_ZRODLA) + "/Przyklady/Droga.tro");
    ASSERT_TRUE(Trasa.Obliczona);
    EXPECT_TRUE(KomunikatyTrasy.empty());

    InfoTrasy();
    const std::string wynik = Polacz(OpisTekst);
    const std::string sciezkaWzorca = std::string(ORVANY_ZRODLA) + "/tests/dane/raport_trasy_droga.txt";
    EXPECT_EQ(wynik, CzytajPlik(sciezkaWzorca));

    // The viewer's text is the report only: a second run gives the same lines.
    const auto pierwszy = OpisTekst;
    InfoTrasy();
    EXPECT_EQ(OpisTekst, pierwszy);
}
