// Field conversions of the data files and of the edit boxes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "model/ZapisywanieOdczytywanie.h"
#include "pomocnicze/Pomocnicze.h"

namespace {

std::string KomunikatBledu(auto&& f) {
    try {
        f();
    } catch (const BladKonwersji& e) {
        return e.what();
    }
    return "(brak błędu)";
}

}  // namespace

TEST(Konwersje, LiczbyNiezaleznieOdLocale) {
    {
        UstawLocale l(',');
        EXPECT_EQ(UjednolicSeparator("1.2,3;x"), "1,2,3;x");
    }
    {
        UstawLocale l('.');
        EXPECT_EQ(UjednolicSeparator("12,5"), "12.5");
    }
    for (char sep : {'.', ','}) {
        UstawLocale l(sep);
        EXPECT_DOUBLE_EQ(NaRzeczywista("12.5"), 12.5);
        EXPECT_DOUBLE_EQ(NaRzeczywista("12,5"), 12.5);
        EXPECT_DOUBLE_EQ(NaRzeczywista("-0,25"), -0.25);
        EXPECT_DOUBLE_EQ(NaRzeczywista("+3"), 3.0);
        EXPECT_DOUBLE_EQ(NaRzeczywista("1,5E+3"), 1500.0);
        EXPECT_DOUBLE_EQ(NaRzeczywista("2e-2"), 0.02);
        EXPECT_DOUBLE_EQ(NaRzeczywista(".5"), 0.5);
        EXPECT_DOUBLE_EQ(NaRzeczywista("5."), 5.0);
        EXPECT_DOUBLE_EQ(NaRzeczywista(" 7,25\t"), 7.25);  // blanks around are tolerated
        EXPECT_DOUBLE_EQ(NaRzeczywista("5500123.456"), 5500123.456);
        EXPECT_DOUBLE_EQ(NaRzeczywista("1e-400"), 0.0);  // underflow reads as zero
        EXPECT_EQ(NaCalkowita("-17"), -17);
        EXPECT_EQ(NaCalkowita("+17"), 17);
        EXPECT_EQ(NaCalkowita(" 42 "), 42);
        EXPECT_EQ(NaCalkowita("2147483647"), 2147483647);
        EXPECT_EQ(NaCalkowita("-2147483648"), -2147483647 - 1);
    }
}

TEST(Konwersje, NieLiczbyDajaKomunikatSystemu) {
    for (const char* zle : {"", " ", "1.2.3", "1,2.3", "1 2", "abc", "1e", "e5", "-", "+-1", "--1", ".", "0x10",
                            "inf", "nan", "-INF", "NaN", "1e999", "12a", "1,5 E3"}) {
        double v = 99;
        EXPECT_FALSE(SprobujRzeczywista(zle, v)) << zle;
        EXPECT_EQ(v, 99) << zle;
    }
    for (const char* zle : {"", "1.0", "1,5", "1e3", "2147483648", "-2147483649", "$10", "0x1F", "+-3", "3-", "- 3"}) {
        std::int32_t v = 99;
        EXPECT_FALSE(SprobujCalkowita(zle, v)) << zle;
    }
    EXPECT_EQ(KomunikatBledu([] { NaCalkowita("12a"); }), "'12a' is not a valid integer value");
    EXPECT_EQ(KomunikatBledu([] { NaRzeczywista("1;2"); }), "'1;2' is not a valid floating point value");
    // The offending text is shown decoded from Windows-1250 and kept short.
    EXPECT_EQ(KomunikatBledu([] { NaCalkowita("\xb9"); }), "'ą' is not a valid integer value");
    EXPECT_LT(KomunikatBledu([] { NaCalkowita(std::string(100000, 'x')); }).size(), 200u);
}

TEST(Konwersje, WartosciLogiczne) {
    for (const char* t : {"T", "TRUE", "true", "True", "tRuE"}) EXPECT_TRUE(CzytajLogiczna(t)) << t;
    for (const char* f : {"t", "Tak", "1", "TRUE ", " T", "F", "FALSE", "", "T\r"}) EXPECT_FALSE(CzytajLogiczna(f)) << f;
}

TEST(Konwersje, RodzajePowierzchni) {
    for (char sep : {'.', ','}) {
        UstawLocale l(sep);
        auto jest = [](const char* t, float w, char k) {
            const TRodzaj r = CzytajRodzaj(t);
            EXPECT_FLOAT_EQ(r.Wartosc, w) << t;
            EXPECT_EQ(r.Kod, k) << t;
        };
        jest("0.25N", 0.25f, 'N');
        jest("0,25N", 0.25f, 'N');
        jest("3C", 3.0f, 'C');
        jest("12", 0.0f, ' ');
        jest("", 0.0f, ' ');
        jest("1.5E+3N", 1500.0f, 'N');  // N is tested before E
        jest("n", 0.0f, ' ');           // lower case never matches
        jest("-2E", -2.0f, 'E');
        jest("0,02N", 0.02f, 'N');
        jest("1e40G", 3.4028235e38f, 'G');  // held at the float range
    }
    // H is tested first: the text before it, "0.2N", is no number.
    EXPECT_EQ(KomunikatBledu([] { CzytajRodzaj("0.2NH"); }), "'0.2N' is not a valid floating point value");
    EXPECT_EQ(KomunikatBledu([] { CzytajRodzaj("N"); }), "'' is not a valid floating point value");
}

TEST(Konwersje, RekordyZeSrednikami) {
    for (char sep : {'.', ','}) {
        UstawLocale l(sep);
        PktOpisRRealSpr r = CzytajRekordSrednik("10;20");
        EXPECT_TRUE(r.Poprawny);
        EXPECT_EQ(r.X, 10);
        EXPECT_EQ(r.Y, 20);
        EXPECT_EQ(r.Z, 0);
        r = CzytajRekordSrednik("10;20;");
        EXPECT_TRUE(r.Poprawny);
        EXPECT_EQ(r.Z, 0);
        r = CzytajRekordSrednik("10,5;20.25;30;abc;def");
        EXPECT_TRUE(r.Poprawny);
        EXPECT_EQ(r.X, 10.5);
        EXPECT_EQ(r.Y, 20.25);
        EXPECT_EQ(r.Z, 30);
        EXPECT_EQ(r.Uwagi, "abc;def");
        EXPECT_EQ(r.Komunikat, "");
        r = CzytajRekordSrednik("1;2;3;" + std::string(150, 'u'));
        EXPECT_EQ(r.Uwagi.size(), 100u);
    }
    for (const char* zle : {"10", "a;2;3", "", ";", "1;x", "1;2;y", "1;2;y;z"}) {
        const PktOpisRRealSpr r = CzytajRekordSrednik(zle);
        EXPECT_FALSE(r.Poprawny) << zle;
        EXPECT_EQ(r.Komunikat, "Nieprawidłowy zapis") << zle;
    }
    // Fields before the failing one keep their values; the rest stay 0.
    const PktOpisRRealSpr r = CzytajRekordSrednik("7;x;9");
    EXPECT_EQ(r.X, 7);
    EXPECT_EQ(r.Y, 0);
    EXPECT_EQ(r.Z, 0);
    double x = 1, y = 1, z = 1;
    CzytajTrzyLiczby("5;6;7;uwagi", x, y, z);
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 6);
    EXPECT_EQ(z, 7);
    CzytajTrzyLiczby("5;b;7", x, y, z);
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(z, 0);
}

TEST(Konwersje, Kolory) {
    EXPECT_EQ(CzytajKolor("clRed"), 0x0000FF);
    EXPECT_EQ(CzytajKolor("CLRED"), 0x0000FF);
    EXPECT_EQ(CzytajKolor("clmoneygreen"), 0xC0DCC0);
    EXPECT_EQ(CzytajKolor("clDefault"), 0x20000000);
    EXPECT_EQ(CzytajKolor("clNone"), 0x1FFFFFFF);
    EXPECT_EQ(static_cast<std::uint32_t>(CzytajKolor("clScrollBar")), 0xFF000000u);
    EXPECT_EQ(static_cast<std::uint32_t>(CzytajKolor("clBtnFace")), 0xFF00000Fu);
    EXPECT_EQ(static_cast<std::uint32_t>(CzytajKolor("clHotLight")), 0xFF00001Au);  // 25 is not a name
    EXPECT_EQ(static_cast<std::uint32_t>(CzytajKolor("clMenuBar")), 0xFF00001Eu);
    EXPECT_EQ(CzytajKolor("8421504"), 0x808080);
    EXPECT_EQ(CzytajKolor("-16777201"), static_cast<std::int32_t>(0xFF00000Fu));
    // Names in any letter case.
    EXPECT_EQ(CzytajKolor("CL3DDKSHADOW"), static_cast<std::int32_t>(0xFF000015u));
    EXPECT_EQ(CzytajKolor("clgradientinactivecaption"), static_cast<std::int32_t>(0xFF00001Cu));
    EXPECT_EQ(CzytajKolor("ClSkYbLuE"), 0xF0CAA6);
    EXPECT_EQ(KomunikatBledu([] { CzytajKolor("clOrange"); }), "'clOrange' is not a valid integer value");
    EXPECT_EQ(KomunikatBledu([] { CzytajKolor(""); }), "'' is not a valid integer value");
}

TEST(Konwersje, PolaEdycyjneZWartosciaZastepcza) {
    for (char sep : {'.', ','}) {
        UstawLocale l(sep);
        EXPECT_EQ(CzytajLiczbe("2,5", 7), 2.5);
        EXPECT_EQ(CzytajLiczbe("2.5", 7), 2.5);
        EXPECT_EQ(CzytajLiczbe("abc", 7), 7);
        EXPECT_EQ(CzytajLiczbe("", -1), -1);
    }
    EXPECT_EQ(CzytajCalkowita("abc", 5, 1, 10), 5);
    EXPECT_EQ(CzytajCalkowita("0", 5, 1, 10), 1);
    EXPECT_EQ(CzytajCalkowita("12", 5, 1, 10), 10);
    EXPECT_EQ(CzytajCalkowita("7", 5, 1, 10), 7);
    EXPECT_EQ(CzytajCalkowita("7.5", 5, 1, 10), 5);
    EXPECT_EQ(CzytajCalkowita("abc", 50, 1, 10), 10);  // the fallback is clamped as well
}

TEST(Konwersje, ZgodnoscZBibliotekaC) {
    // Decimal texts of many shapes read to exactly the value of the C library
    // (the short fields take a fast path, long ones and exponents the general one).
    UstawLocale l('.');
    std::uint32_t s = 7;
    auto los = [&s](std::uint32_t k) {
        s = s * 134775813u + 1;
        return static_cast<std::uint32_t>((static_cast<std::uint64_t>(k) * s) >> 32);
    };
    for (int i = 0; i < 20000; ++i) {
        std::string t;
        if (los(4) == 0) t += '-';
        const std::uint32_t calk = los(19), ulam = los(8);
        for (std::uint32_t j = 0; j < calk; ++j) t += static_cast<char>('0' + los(10));
        if (ulam > 0 || calk == 0) {
            t += '.';
            for (std::uint32_t j = 0; j < ulam + (calk == 0); ++j) t += static_cast<char>('0' + los(10));
        }
        if (los(6) == 0) t += "e" + std::to_string(static_cast<int>(los(40)) - 20);
        const double wzor = std::strtod(t.c_str(), nullptr);
        double v = -1;
        ASSERT_TRUE(SprobujRzeczywista(t, v)) << t;
        ASSERT_EQ(v, wzor) << t;
        std::string z = t;
        for (char& c : z)
            if (c == '.') c = ',';
        ASSERT_TRUE(SprobujRzeczywista(z, v)) << z;
        ASSERT_EQ(v, wzor) << z;
    }
}

TEST(Konwersje, ZnakiSterujaceWKomunikacie) {
    EXPECT_EQ(KomunikatBledu([] { NaCalkowita(std::string("1\r2\0", 4)); }), "'1\\r2\\x00' is not a valid integer value");
}
