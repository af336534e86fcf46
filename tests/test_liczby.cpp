// Number texts in the user's locale, the Windows-1250 texts and names from files as messages show them.

#include "common/Funkcje.h"
#include "common/NazwyZPliku.h"
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

TEST(Napisy, NazwyZPlikuWJednymWierszu) {
    // Line breaks and control characters escaped, invalid UTF-8 replaced, long names cut: one safe line.
    const std::pair<std::string, std::string> przypadki[] = {
        {"Istniejący teren", "Istniejący teren"},
        {"S\n<End>4600000\r\n", "S\\n<End>4600000\\r\\n"},
        {"a\nb\rc\td", "a\\nb\\rc\\td"},
        {"\x1B[31mczerwony\x1B[0m", "\\x1B[31mczerwony\\x1B[0m"},
        {"\x07\x7F\xC2\x9B"
         "2J",
         "\\x07\\x7F\\x9B2J"},                                       // BEL, DEL and the 8-bit CSI
        {"\xE2\x80\xAEtxe\xE2\x80\xA8", "\\u{202E}txe\\u{2028}"},    // direction override, line separator
        {"M\xFFZ\xC3", "M\xEF\xBF\xBDZ\xEF\xBF\xBD"},                // a stray byte, a cut character
        {"\xC0\xAF\xED\xA0\x80", "\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},  // overlong '/', a surrogate: every byte replaced
        {"C:\\droga", "C:\\\\droga"},
    };
    for (const auto& [wejscie, wyjscie] : przypadki) EXPECT_EQ(NapisZPliku(wejscie), wyjscie);
    // Sixty characters (not bytes: a Polish letter is two) and "…"; a cut never splits a character.
    std::string polska;
    for (int i = 0; i < 100; ++i) polska += "ą";
    EXPECT_EQ(NapisZPliku(std::string(100, 'x')), std::string(60, 'x') + "…");
    EXPECT_EQ(NapisZPliku(polska).size(), 60u * 2 + 3);
    EXPECT_EQ(NapisZPliku(std::string(60, 'x')), std::string(60, 'x'));
    EXPECT_EQ(CytatZPliku("PROJ"), "„PROJ”");
    // Whatever the bytes, the result is valid UTF-8 without a byte below 0x20 or DEL.
    for (int b = 0; b < 256; ++b) {
        const std::string w = NapisZPliku(std::string(1, static_cast<char>(b)) + "z");
        for (unsigned char c : w) EXPECT_TRUE(c >= 0x20 && c != 0x7F) << b;
        // Read again, the result gains no replacement character: it is valid UTF-8.
        const std::string znowu = NapisZPliku(w, 1000);
        EXPECT_EQ(znowu.find("\xEF\xBF\xBD") == std::string::npos, w.find("\xEF\xBF\xBD") == std::string::npos) << b;
    }
}
