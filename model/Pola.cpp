#include "model/Pola.h"

#include <cerrno>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <locale.h>

#include "common/Tekst.h"

namespace {

constexpr std::string_view kNieprawidlowyZapis = "Nieprawidłowy zapis";

bool Cyfra(char c) { return c >= '0' && c <= '9'; }

// The offending text of a message: decoded for display and kept short (a file
// with the wrong line ends would otherwise put megabytes into one message).
// Control bytes (a stray CR, a NUL) are written as escapes so that the
// message stays one readable line.
std::string TekstDoKomunikatu(std::string_view s) {
    constexpr std::size_t kMax = 80;
    const bool dlugi = s.size() > kMax;
    if (dlugi) s = s.substr(0, kMax);
    std::string czytelny;
    for (char c : s) {
        const unsigned char b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b != 0x7F) {
            czytelny += c;
        } else if (c == '\r') {
            czytelny += "\\r";
        } else {
            static const char kHex[] = "0123456789ABCDEF";
            czytelny += "\\x";
            czytelny += kHex[b >> 4];
            czytelny += kHex[b & 15];
        }
    }
    std::string w = Cp1250NaUtf8(czytelny);
    if (dlugi) w += "...";
    return w;
}

std::string KomunikatKonwersji(std::string_view s, std::string_view rodzaj) {
    std::string k(1, '\'');
    k.append(TekstDoKomunikatu(s));
    k.append("' is not a valid ");
    k.append(rodzaj);
    k.append(" value");
    return k;
}

// Rare path of a number outside the range of from_chars: an underflow reads as
// zero (as the C library reads it), an overflow is no number.
bool PozaZakresem(const char* poczatek, const char* koniec, double& wynik) {
    static locale_t c = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(0));
    std::string kopia(poczatek, koniec);
    errno = 0;
    const double v = strtod_l(kopia.c_str(), nullptr, c);
    if (!std::isfinite(v)) return false;
    wynik = v;
    return true;
}

// Letters of surface kinds, in the order in which they are tested.
constexpr char kRodzaje[] = {'H', 'N', 'G', 'D', 'B', 'C', 'S', 'K', 'O', 'P', 'E'};

struct TNazwaKoloru {
    std::string_view nazwa;
    std::uint32_t wartosc;
};

constexpr TNazwaKoloru kKolory[] = {
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clDefault", 0x20000000},
    {"clNone", 0x1FFFFFFF},
    {"clScrollBar", 0xFF000000},
    {"clBackground", 0xFF000001},
    {"clActiveCaption", 0xFF000002},
    {"clInactiveCaption", 0xFF000003},
    {"clMenu", 0xFF000004},
    {"clWindow", 0xFF000005},
    {"clWindowFrame", 0xFF000006},
    {"clMenuText", 0xFF000007},
    {"clWindowText", 0xFF000008},
    {"clCaptionText", 0xFF000009},
    {"clActiveBorder", 0xFF00000A},
    {"clInactiveBorder", 0xFF00000B},
    {"clAppWorkSpace", 0xFF00000C},
    {"clHighlight", 0xFF00000D},
    {"clHighlightText", 0xFF00000E},
    {"clBtnFace", 0xFF00000F},
    {"clBtnShadow", 0xFF000010},
    {"clGrayText", 0xFF000011},
    {"clBtnText", 0xFF000012},
    {"clInactiveCaptionText", 0xFF000013},
    {"clBtnHighlight", 0xFF000014},
    {"cl3DDkShadow", 0xFF000015},
    {"cl3DLight", 0xFF000016},
    {"clInfoText", 0xFF000017},
    {"clInfoBk", 0xFF000018},
    {"clHotLight", 0xFF00001A},
    {"clGradientActiveCaption", 0xFF00001B},
    {"clGradientInactiveCaption", 0xFF00001C},
    {"clMenuHighlight", 0xFF00001D},
    {"clMenuBar", 0xFF00001E},
};
static_assert(sizeof(kKolory) / sizeof(kKolory[0]) == 52);

}  // namespace

std::string KomunikatCalkowitej(std::string_view s) { return KomunikatKonwersji(s, "integer"); }
std::string KomunikatRzeczywistej(std::string_view s) { return KomunikatKonwersji(s, "floating point"); }

// A 32-bit float field: values beyond its range are held at its largest value.
float NaFloat(double v) {
    if (v > FLT_MAX) return FLT_MAX;
    if (v < -FLT_MAX) return -FLT_MAX;
    return static_cast<float>(v);
}

// A number of a ';' record stored in an integer field: truncated toward zero,
// held inside the 32-bit range.
std::int32_t ObetnijDoCalkowitej(double v) {
    if (!(v > -2147483649.0)) return std::numeric_limits<std::int32_t>::min();
    if (!(v < 2147483648.0)) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(v);
}

// False when the number in front of the kind letter does not convert; zla is that text.
bool SprobujRodzaj(std::string_view s, TRodzaj& r, std::string_view& zla) {
    r = TRodzaj{};
    for (char litera : kRodzaje) {
        const void* p = s.empty() ? nullptr : std::memchr(s.data(), litera, s.size());
        if (!p) continue;
        const std::string_view przed = s.substr(0, static_cast<const char*>(p) - s.data());
        double v = 0.0;
        if (!SprobujRzeczywista(przed, v)) {
            zla = przed;
            return false;
        }
        r.Wartosc = NaFloat(v);
        r.Kod = litera;
        return true;
    }
    return true;
}

bool SprobujKolor(std::string_view s, std::int32_t& wynik) {
    if (s.size() >= 2 && (s[0] == 'c' || s[0] == 'C') && (s[1] == 'l' || s[1] == 'L')) {
        for (const TNazwaKoloru& k : kKolory) {
            if (RowneBezWielkosci(s, k.nazwa)) {
                wynik = static_cast<std::int32_t>(k.wartosc);
                return true;
            }
        }
    }
    return SprobujCalkowita(s, wynik);
}

// ---------------------------------------------------------------------------
// Field conversions.

bool SprobujCalkowita(std::string_view tekst, std::int32_t& wynik) {
    const std::string_view s = Przytnij(tekst);
    const char* a = s.data();
    const char* e = a + s.size();
    bool ujemna = false;
    if (a < e && (*a == '+' || *a == '-')) ujemna = *a++ == '-';
    if (a == e) return false;
    std::int64_t v = 0;
    for (; a < e; ++a) {
        if (!Cyfra(*a)) return false;
        v = v * 10 + (*a - '0');
        if (v > 2147483648LL) return false;
    }
    if (ujemna) v = -v;
    if (v > std::numeric_limits<std::int32_t>::max()) return false;
    wynik = static_cast<std::int32_t>(v);
    return true;
}

bool SprobujRzeczywista(std::string_view tekst, double& wynik) {
    std::string_view s = Przytnij(tekst);
    // The usual field first, the whole text a plain number.
    if (double v; !s.empty() && LiczbaProsta(s.data(), s.data() + s.size(), v) == s.data() + s.size()) {
        wynik = v;
        return true;
    }
    if (!s.empty() && s[0] == '+') {
        s.remove_prefix(1);
        if (!s.empty() && s[0] == '-') return false;
    }
    // Check the form: [-] digits [sep digits] [e [sign] digits], at least one mantissa digit.
    std::size_t i = 0;
    const std::size_t n = s.size();
    if (i < n && s[i] == '-') ++i;
    std::size_t cyfry = 0;
    while (i < n && Cyfra(s[i])) ++i, ++cyfry;
    std::size_t przecinek = std::string_view::npos;
    if (i < n && (s[i] == '.' || s[i] == ',')) {
        if (s[i] == ',') przecinek = i;
        ++i;
        while (i < n && Cyfra(s[i])) ++i, ++cyfry;
    }
    if (cyfry == 0) return false;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
        std::size_t cyfryWykladnika = 0;
        while (i < n && Cyfra(s[i])) ++i, ++cyfryWykladnika;
        if (cyfryWykladnika == 0) return false;
    }
    if (i != n) return false;

    const char* a = s.data();
    const char* b = s.data() + n;
    std::string kopia;
    char bufor[64];
    if (przecinek != std::string_view::npos) {
        if (n <= sizeof bufor) {
            std::memcpy(bufor, a, n);
            bufor[przecinek] = '.';
            a = bufor;
            b = bufor + n;
        } else {
            kopia.assign(a, n);
            kopia[przecinek] = '.';
            a = kopia.data();
            b = kopia.data() + n;
        }
    }
    double v = 0.0;
    const auto [ptr, ec] = std::from_chars(a, b, v, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) return PozaZakresem(a, b, wynik);
    if (ec != std::errc() || ptr != b || !std::isfinite(v)) return false;
    wynik = v;
    return true;
}

std::int32_t NaCalkowita(std::string_view tekst) {
    std::int32_t v;
    if (!SprobujCalkowita(tekst, v)) throw BladKonwersji(KomunikatCalkowitej(tekst));
    return v;
}

double NaRzeczywista(std::string_view tekst) {
    double v;
    if (!SprobujRzeczywista(tekst, v)) throw BladKonwersji(KomunikatRzeczywistej(tekst));
    return v;
}

std::string UjednolicSeparator(std::string_view tekst) {
    const char sep = SeparatorDziesietny();
    std::string w(tekst);
    for (char& c : w)
        if (c == '.' || c == ',') c = sep;
    return w;
}

bool CzytajLogiczna(std::string_view tekst) {
    if (tekst == "T") return true;
    return RowneBezWielkosci(tekst, "TRUE");
}

TRodzaj CzytajRodzaj(std::string_view tekst) {
    TRodzaj r;
    std::string_view zla;
    if (!SprobujRodzaj(tekst, r, zla)) throw BladKonwersji(KomunikatRzeczywistej(zla));
    return r;
}

PktOpisRRealSpr CzytajRekordSrednik(std::string_view s) {
    PktOpisRRealSpr w;
    auto zle = [&w]() {
        w.Poprawny = false;
        w.Komunikat = std::string(kNieprawidlowyZapis);
        return w;
    };
    std::size_t p = s.find(';');
    if (p == std::string_view::npos) p = s.size();  // no ';': the empty text before it is no number
    if (p == s.size() || !SprobujRzeczywista(s.substr(0, p), w.X)) return zle();
    s.remove_prefix(p + 1);
    p = s.find(';');
    if (p == std::string_view::npos) {
        if (!SprobujRzeczywista(s, w.Y)) return zle();
        return w;
    }
    if (!SprobujRzeczywista(s.substr(0, p), w.Y)) return zle();
    s.remove_prefix(p + 1);
    if (s.empty()) return w;
    p = s.find(';');
    if (p == std::string_view::npos) {
        if (!SprobujRzeczywista(s, w.Z)) return zle();
        return w;
    }
    if (!SprobujRzeczywista(s.substr(0, p), w.Z)) return zle();
    s.remove_prefix(p + 1);
    w.Uwagi = std::string(s.substr(0, 100));
    return w;
}

void CzytajTrzyLiczby(std::string_view tekst, double& x, double& y, double& z) {
    // The same walk as CzytajRekordSrednik without building the remark.
    x = y = z = 0.0;
    std::string_view s = tekst;
    std::size_t p = s.find(';');
    if (p == std::string_view::npos || !SprobujRzeczywista(s.substr(0, p), x)) return;
    s.remove_prefix(p + 1);
    p = s.find(';');
    if (p == std::string_view::npos) {
        SprobujRzeczywista(s, y);
        return;
    }
    if (!SprobujRzeczywista(s.substr(0, p), y)) return;
    s.remove_prefix(p + 1);
    if (s.empty()) return;
    p = s.find(';');
    SprobujRzeczywista(p == std::string_view::npos ? s : s.substr(0, p), z);
}

std::int32_t CzytajKolor(std::string_view tekst) {
    std::int32_t v;
    if (!SprobujKolor(tekst, v)) throw BladKonwersji(KomunikatCalkowitej(tekst));
    return v;
}

double CzytajLiczbe(std::string_view tekst, double domyslna) {
    double v;
    return SprobujRzeczywista(tekst, v) ? v : domyslna;
}

std::int32_t CzytajCalkowita(std::string_view tekst, std::int32_t domyslna, std::int32_t najmniejsza,
                             std::int32_t najwieksza) {
    std::int32_t v;
    if (!SprobujCalkowita(tekst, v)) v = domyslna;
    if (v < najmniejsza) v = najmniejsza;
    if (v > najwieksza) v = najwieksza;
    return v;
}

std::vector<TPunkt3D> WierzcholkiZPunktow(const std::vector<TPunktSiatki>& punkty) {
    std::vector<TPunkt3D> w(punkty.size());
    for (std::size_t i = 0; i < punkty.size(); ++i) w[i] = {punkty[i].X, punkty[i].Y, punkty[i].Z};
    return w;
}
