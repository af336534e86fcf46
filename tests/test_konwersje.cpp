// Field conversions of the data files and of the edit boxes.

#include <cstdlib>

#include "pomocnicze/Pomocnicze.h"

TEST(Konwersje, PolaWObuLocale) {
    // (Plain decimal texts of many shapes: against strtod below.)
    const std::pair<const char*, double> liczby[] = {
        {"12,5", 12.5}, {"+3", 3}, {"1,5E+3", 1500}, {" 7,25\t", 7.25}, {"1e-400", 0}};
    // Surface kinds: N is tested before E; lower case never matches; values are held at the float range.
    const std::tuple<const char*, float, char> rodzaje[] = {
        {"0.25N", 0.25f, 'N'}, {"0,25N", 0.25f, 'N'}, {"3C", 3, 'C'},
        {"12", 0, ' '},        {"", 0, ' '},          {"1.5E+3N", 1500, 'N'},
        {"n", 0, ' '},         {"-2E", -2, 'E'},      {"1e40G", 3.4028235e38f, 'G'}};
    // ';' records: fields before a failing one keep their values, the rest stay 0.
    using R = std::tuple<const char*, bool, double, double, double, std::string>;
    const R rekordy[] = {{"10;20;", true, 10, 20, 0, ""}, {"10,5;20.25;30;abc;def", true, 10.5, 20.25, 30, "abc;def"},
                         {"10", false, 0, 0, 0, ""},      {"a;2;3;", false, 0, 0, 0, ""},
                         {"7;x;9", false, 7, 0, 0, ""},   {"1;2;y", false, 1, 2, 0, ""}};
    for (char sep : {'.', ','}) {
        UstawLocale l(sep);
        for (auto [t, v] : liczby) EXPECT_EQ(NaRzeczywista(t), v) << t;
        EXPECT_EQ(std::pair(NaCalkowita(" -17 "), NaCalkowita("-2147483648")), std::pair(-17, INT32_MIN));
        EXPECT_EQ(UjednolicSeparator("1.2,3;x"), std::string("1") + sep + "2" + sep + "3;x");
        for (auto [t, w, kod] : rodzaje)
            EXPECT_EQ(std::pair(CzytajRodzaj(t).Wartosc, CzytajRodzaj(t).Kod), std::pair(w, kod)) << t;
        for (const R& r : rekordy) {
            const PktOpisRRealSpr w = CzytajRekordSrednik(std::get<0>(r));
            EXPECT_EQ(R(std::get<0>(r), w.Poprawny, w.X, w.Y, w.Z, w.Uwagi), r);
            EXPECT_EQ(w.Komunikat, w.Poprawny ? "" : "Nieprawidłowy zapis") << std::get<0>(r);
        }
        // Edit boxes: the fallback when the text does not convert; integers clamped, the fallback as well.
        for (auto [t, d, w] : {std::tuple{"2,5", 7.0, 2.5}, {"2.5", 7.0, 2.5}, {"abc", 7.0, 7.0}, {"", -1.0, -1.0}})
            EXPECT_EQ(CzytajLiczbe(t, d), w) << t;
        for (auto [t, d, w] : {std::tuple{"abc", 5, 5}, {"0", 5, 1}, {"12", 5, 10}, {"7.5", 5, 5}, {"x", 50, 10}})
            EXPECT_EQ(CzytajCalkowita(t, d, 1, 10), w) << t;
    }
    EXPECT_EQ(CzytajRekordSrednik("1;2;3;" + std::string(150, 'u')).Uwagi.size(), 100u);
}

TEST(Konwersje, BledyIWartosciLogiczne) {
    double v = 99;
    for (const char* t : {"", "1.2.3", "1,2.3", "1 2", "e5", "-", ".", "0x10", "inf", "nan", "-INF", "1e999", "12a"})
        EXPECT_FALSE(SprobujRzeczywista(t, v)) << t;
    std::int32_t n = 99;
    for (const char* t : {"1.0", "1e3", "2147483648", "+-3", "- 3"}) EXPECT_FALSE(SprobujCalkowita(t, n)) << t;
    EXPECT_EQ(std::pair(v, n), std::pair(99.0, 99));
    // The offending text is shown decoded from Windows-1250, escaped and kept short.
    EXPECT_EQ(Blad([] { NaCalkowita(std::string("\xb9\r\0", 3)); }), "'ą\\r\\x00' is not a valid integer value");
    EXPECT_EQ(Blad([] { NaCalkowita(std::string(100000, 'x')); }),
              "'" + std::string(80, 'x') + "...' is not a valid integer value");
    // H is tested first: the text before it, "0.2N", is no number.
    EXPECT_EQ(Blad([] { CzytajRodzaj("0.2NH"); }), "'0.2N' is not a valid floating point value");
    EXPECT_EQ(Blad([] { CzytajRodzaj("N"); }), "'' is not a valid floating point value");
    // Colour names in any letter case, system colours as 0xFF000000 + index, decimal numbers as they are.
    const std::pair<const char*, std::uint32_t> kolory[] = {{"clRed", 0x0000FF},
                                                            {"ClSkYbLuE", 0xF0CAA6},
                                                            {"clBtnFace", 0xFF00000F},
                                                            {"8421504", 0x808080},
                                                            {"-16777201", 0xFF00000F}};
    for (auto [t, k] : kolory) EXPECT_EQ(static_cast<std::uint32_t>(CzytajKolor(t)), k) << t;
    EXPECT_EQ(Blad([] { CzytajKolor("clOrange"); }), "'clOrange' is not a valid integer value");
    for (const char* t : {"T", "TRUE", "true", "tRuE"}) EXPECT_TRUE(CzytajLogiczna(t)) << t;
    for (const char* t : {"t", "Tak", "1", "TRUE ", " T", "F", ""}) EXPECT_FALSE(CzytajLogiczna(t)) << t;
}

TEST(Konwersje, ZgodnoscZBibliotekaC) {
    // Decimal texts of many shapes read to exactly strtod's value, with either separator.
    UstawLocale l('.');
    std::uint32_t s = 7;
    auto los = [&s](std::uint32_t k) { return ((s = s * 134775813u + 1) >> 16) % k; };
    for (int i = 0; i < 5000; ++i) {
        std::string t = los(4) ? "" : "-";
        const std::uint32_t n = los(19), f = los(8) + (n == 0);
        for (std::uint32_t j = 0; j < n + f; ++j) t += (j == n ? "." : "") + std::to_string(los(10));
        if (los(6) == 0) t += "e" + std::to_string(static_cast<int>(los(40)) - 20);
        std::string z = t;
        std::replace(z.begin(), z.end(), '.', ',');
        double a = -1, b = -2;
        ASSERT_TRUE(SprobujRzeczywista(t, a) && SprobujRzeczywista(z, b) && a == b) << t;
        ASSERT_EQ(a, std::strtod(t.c_str(), nullptr)) << t;
    }
}
