// Number texts in the user's locale and the vector helpers.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "common/Funkcje.h"
#include "pomocnicze/Pomocnicze.h"

TEST(Wzorce, DwaMiejscaPoPrzecinku) {
    UstawLocale l(',');
    EXPECT_EQ(F2(0), "0,00");
    EXPECT_EQ(F2(850), "850,00");
    EXPECT_EQ(F2(120.0), "120,00");
    EXPECT_EQ(F2(-3.14159), "-3,14");
    EXPECT_EQ(F2(0.125), "0,13");    // half away from zero
    EXPECT_EQ(F2(-0.125), "-0,13");
    EXPECT_EQ(F2(1.005), "1,01");    // rounded on the decimal value
    EXPECT_EQ(F2(2.675), "2,68");
    EXPECT_EQ(F2(-0.001), "0,00");   // no sign on a zero result
    EXPECT_EQ(F2(9.999), "10,00");
    EXPECT_EQ(F2(5500000.4567), "5500000,46");
    EXPECT_EQ(F2(1e20), "100000000000000000000,00");
    EXPECT_EQ(FormatujLiczbe(1000.0, "#0.00"), "1000,00");
    EXPECT_EQ(FormatujLiczbe(-12.345, "##################0.00"), "-12,35");
}

TEST(Wzorce, OpcjonalneMiejsca) {
    UstawLocale l('.');
    EXPECT_EQ(G2(10.5), "10.5");
    EXPECT_EQ(G2(10.0), "10");
    EXPECT_EQ(G2(-700), "-700");
    EXPECT_EQ(G2(std::numbers::pi / 2), "1.57");
    EXPECT_EQ(G2(0.004), "0");
    EXPECT_EQ(F4(12.5), "12.50");
    EXPECT_EQ(F4(12.12345), "12.1235");
    EXPECT_EQ(F4(5500000.123), "5500000.123");
    EXPECT_EQ(F4(-0.00004), "0.00");
}

TEST(Wzorce, SeparatorCzytanyPrzyKazdymWywolaniu) {
    {
        UstawLocale l('.');
        EXPECT_EQ(F2(1.5), "1.50");
    }
    {
        UstawLocale l(',');
        EXPECT_EQ(F2(1.5), "1,50");
    }
}

TEST(Wzorce, WartosciNieskonczone) {
    EXPECT_EQ(F2(std::nan("")), "NAN");
    EXPECT_EQ(F2(-INFINITY), "-INF");
}

TEST(FormatN, CzteryCyfryJednoMiejsce) {
    UstawLocale l(',');
    EXPECT_EQ(FormatN(489.0), "489,0");
    EXPECT_EQ(FormatN(-700.0), "-700,0");
    EXPECT_EQ(FormatN(500.0), "500,0");
    EXPECT_EQ(FormatN(0.0), "0,0");
    EXPECT_EQ(FormatN(478.95), "479,0");  // four significant digits first
    EXPECT_EQ(FormatN(12.34), "12,3");
    EXPECT_EQ(FormatN(1234.56), "1235,0");
    EXPECT_EQ(FormatN(0.06), "0,1");
    EXPECT_EQ(FormatN(-0.01), "0,0");
    EXPECT_EQ(FormatN(12345.0), "1,235E+04");
    EXPECT_EQ(FormatN(-99999.0), "-1,000E+05");
    EXPECT_EQ(TekstPolozeniaOka(479, -1000, 300), "X = 489,0 Y = -1000,0 Z = 300,0");
}

TEST(Wektory, IloczynIDlugosc) {
    TPunkt3D n = Iloczyn({0, 0, 1}, {0, 1, 0});
    EXPECT_DOUBLE_EQ(n.X, -1);
    EXPECT_DOUBLE_EQ(n.Y, 0);
    EXPECT_DOUBLE_EQ(n.Z, 0);
    EXPECT_DOUBLE_EQ(Dlugosc({3, 4, 0}), 5);
    EXPECT_EQ(Ogranicz(300, 0, 255), 255);
    EXPECT_EQ(Ogranicz(-3, 0, 255), 0);
}

TEST(Napisy, Cp1250IKrotkiNapis) {
    // "Łódź" in Windows-1250.
    EXPECT_EQ(Cp1250NaUtf8("\xA3\xF3\x64\x9F"), "Łódź");
    EXPECT_EQ(Utf8NaCp1250("Łódź"), "\xA3\xF3\x64\x9F");
    TKrotkiNapis<15> n;
    n.Ustaw("abcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(n.Tekst(), "abcdefghijklmno");
}
