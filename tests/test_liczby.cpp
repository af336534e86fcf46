// Number texts in the user's locale and the Windows-1250 texts.

#include "common/Funkcje.h"
#include "pomocnicze/Pomocnicze.h"

TEST(Wzorce, LiczbyWLocaleUzytkownika) {
    // Rounded half away from zero on the decimal value, no sign on a zero result, no thousands separator.
    const std::pair<double, const char*> f2[] = {{-0.125, "-0,13"}, {1.005, "1,01"},    {2.675, "2,68"},
                                                 {-0.001, "0,00"},  {9.999, "10,00"},   {5500000.4567, "5500000,46"},
                                                 {NAN, "NAN"},      {-INFINITY, "-INF"}};
    // FormatN: four significant digits, then one decimal; exponent notation past four integer digits.
    const std::pair<double, const char*> n[] = {
        {489.0, "489,0"},    {-700.0, "-700,0"}, {0.0, "0,0"},   {478.95, "479,0"},      {12.34, "12,3"},
        {1234.56, "1235,0"}, {0.06, "0,1"},      {-0.01, "0,0"}, {12345.0, "1,235E+04"}, {-99999.0, "-1,000E+05"}};
    UstawLocale l(',');
    for (auto [v, t] : f2) EXPECT_EQ(F2(v), t) << v;
    EXPECT_EQ(F2(1e20), "1" + std::string(20, '0') + ",00");
    for (auto [v, t] : n) EXPECT_EQ(FormatN(v), t) << v;
    EXPECT_EQ(FormatujLiczbe(-12.345, "##################0.00"), "-12,35");
    EXPECT_EQ(TekstPolozeniaOka(479, -1000, 300), "X = 489,0 Y = -1000,0 Z = 300,0");  // X shown plus 10
    // Optional places; the separator is read at every call.
    UstawLocale kropka('.');
    const std::pair<std::string, const char*> g[] = {
        {G2(10.5), "10.5"},     {G2(10.0), "10"},    {G2(-700), "-700"},        {G2(std::numbers::pi / 2), "1.57"},
        {G2(0.004), "0"},       {F4(12.5), "12.50"}, {F4(12.12345), "12.1235"}, {F4(5500000.123), "5500000.123"},
        {F4(-0.00004), "0.00"}, {F2(1.5), "1.50"}};
    for (auto [w, t] : g) EXPECT_EQ(w, t);
}

TEST(Napisy, Cp1250IKrotkiNapis) {
    // "Łódź" in Windows-1250.
    EXPECT_EQ(Cp1250NaUtf8("\xA3\xF3\x64\x9F"), "Łódź");
    EXPECT_EQ(Utf8NaCp1250("Łódź"), "\xA3\xF3\x64\x9F");
    TKrotkiNapis<15> n;
    n.Ustaw("abcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(n.Tekst(), "abcdefghijklmno");
}
