#include "model/ZapisywanieOdczytywanie.h"

#include "common/Rownolegle.h"

#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <cstring>
#include <limits>
#include <locale.h>
#include <atomic>
#include <exception>
#include <memory>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/ZapisBezpieczny.h"
#include "model/FormatTRO.h"

namespace {

constexpr std::string_view kNieprawidlowyZapis = "Nieprawidłowy zapis";

// Largest magnitude of a mesh coordinate: far beyond any survey, yet small
// enough that the shift of a load, the renderer's scaling and the view
// operations cannot overflow to infinity.
constexpr double kNajwiekszaWspolrzedna = 1e12;

bool Odstep(char c) { return c == ' ' || c == '\t'; }

std::string_view Przytnij(std::string_view s) {
    while (!s.empty() && Odstep(s.front())) s.remove_prefix(1);
    while (!s.empty() && Odstep(s.back())) s.remove_suffix(1);
    return s;
}

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

std::string KomunikatCalkowitej(std::string_view s) { return KomunikatKonwersji(s, "integer"); }
std::string KomunikatRzeczywistej(std::string_view s) { return KomunikatKonwersji(s, "floating point"); }

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

// A 32-bit float field: values beyond its range are held at its largest value.
float NaFloat(double v) {
    if (v > FLT_MAX) return FLT_MAX;
    if (v < -FLT_MAX) return -FLT_MAX;
    return static_cast<float>(v);
}

// A number of a ';' record stored in an integer field: truncated toward zero,
// held inside the 32-bit range.
std::int32_t Obetnij(double v) {
    if (!(v > -2147483649.0)) return std::numeric_limits<std::int32_t>::min();
    if (!(v < 2147483648.0)) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(v);
}

// Letters of surface kinds, in the order in which they are tested.
constexpr char kRodzaje[] = {'H', 'N', 'G', 'D', 'B', 'C', 'S', 'K', 'O', 'P', 'E'};

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

bool RowneBezWielkosci(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
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
// Reading a text in memory line by line.

class TCzytnik {
public:
    TCzytnik(std::string_view dane, std::string_view nazwa, const TPostep& postep, const TOpcjeCzytania& opcje = {})
        : p_(dane.data()), koniec_(dane.data() + dane.size()), poczatek_(dane.data()), nazwa_(nazwa),
          postep_(postep ? &postep : nullptr), opcje_(opcje) {
        nastepnyPostep_ = postep_ ? kKrokPostepu : std::numeric_limits<std::ptrdiff_t>::max();
        dozwoloneZaKoncem_ = (dane.empty() || dane.back() == '\n') ? 1 : 0;
        SprawdzTresc();
        SprawdzKonceWierszy();
    }

    bool Koniec() const { return p_ >= koniec_; }
    std::int64_t NumerWiersza() const { return wiersz_; }

    // The next line without its line end; an empty line beyond the end of the text.
    std::string_view Wiersz() {
        ++wiersz_;
        if (p_ >= koniec_) {
            // Past the last line: an empty line, as long as the section being
            // read does not need more lines than the file has.
            if (++zaKoncem_ > dozwoloneZaKoncem_ && sekcja_.aktywna) BladLiczby();
            return std::string_view("", 0);  // never a null pointer: copies of it stay defined
        }
        if (p_ - poczatek_ >= nastepnyPostep_) ZglosPostep();
        // Field lines are short: look at the first bytes directly, then let memchr run.
        const char* lf = nullptr;
        const char* q = p_;
        const char* granica = koniec_ - p_ > 24 ? p_ + 24 : koniec_;
        for (; q < granica; ++q)
            if (*q == '\n') {
                lf = q;
                break;
            }
        if (!lf && q < koniec_)
            lf = static_cast<const char*>(std::memchr(q, '\n', static_cast<std::size_t>(koniec_ - q)));
        const char* e = lf ? lf : koniec_;
        std::size_t dl = static_cast<std::size_t>(e - p_);
        if (dl > 0 && p_[dl - 1] == '\r') --dl;
        std::string_view s(p_, dl);
        p_ = lf ? lf + 1 : koniec_;
        return s;
    }

    void Pomin(int n) {
        for (int i = 0; i < n; ++i) Wiersz();
    }

    // Lines that can still be read from position p: every line end left, plus
    // the line after the last one (empty when the text ends with a line end).
    std::int64_t WierszeOd(const char* p) const {
        if (p >= koniec_) return dozwoloneZaKoncem_;
        return static_cast<std::int64_t>(std::count(p, koniec_, '\n')) + 1;
    }

    [[noreturn]] void Blad(const std::string& komunikat, std::int64_t wiersz) const {
        // A field that fails inside a section whose count promised more records
        // than the rest of the file can hold: the count is the fault to report.
        if (sekcja_.aktywna && sekcja_.potrzeba > WierszeOd(sekcja_.poczatek)) BladLiczby();
        Rzuc(komunikat, wiersz);
    }
    [[noreturn]] void Blad(const std::string& komunikat) const { Blad(komunikat, wiersz_); }

    std::int32_t Calkowita() {
        const std::string_view s = Wiersz();
        std::int32_t v;
        if (!SprobujCalkowita(s, v)) Blad(KomunikatCalkowitej(s));
        return v;
    }
    double Rzeczywista() {
        const std::string_view s = Wiersz();
        double v;
        if (!SprobujRzeczywista(s, v)) Blad(KomunikatRzeczywistej(s));
        return v;
    }
    float Float() { return NaFloat(Rzeczywista()); }
    // A mesh coordinate: a number, and one whose shift to local coordinates
    // and the renderer's scaling stay finite.
    double Wspolrzedna() {
        const double v = Rzeczywista();
        SprawdzWspolrzedne({v});
        return v;
    }
    // The coordinates of the line just read.
    void SprawdzWspolrzedne(std::initializer_list<double> wartosci) const {
        for (double v : wartosci) {
            if (!(std::fabs(v) <= kNajwiekszaWspolrzedna)) {
                char b[64];
                std::snprintf(b, sizeof b, "%g", v);
                Blad("Współrzędna " + std::string(b) + " jest poza dopuszczalnym zakresem (od -1e12 do 1e12).");
            }
        }
    }
    bool Logiczna() { return CzytajLogiczna(Wiersz()); }
    TRodzaj Rodzaj() {
        const std::string_view s = Wiersz();
        TRodzaj r;
        std::string_view zla;
        if (!SprobujRodzaj(s, r, zla)) Blad(KomunikatRzeczywistej(zla));
        return r;
    }
    std::int32_t Kolor() {
        const std::string_view s = Wiersz();
        std::int32_t v;
        if (!SprobujKolor(s, v)) Blad(KomunikatCalkowitej(s));
        return v;
    }
    void TrzyLiczby(double& x, double& y, double& z) { CzytajTrzyLiczby(Wiersz(), x, y, z); }

    // The count line of a section of records of k lines. A negative count fails
    // here. A count larger than the rest of the text can hold is found when a
    // record runs past the end or a field of the section fails, and is reported
    // at the count line; the lines are counted only then, so a good file is
    // read in one pass. ZakonczSekcje() ends the section.
    std::int32_t LiczbaElementow(int k, std::string_view marker, std::string_view* tekst = nullptr) {
        const std::string_view linia = Wiersz();
        if (tekst) *tekst = linia;
        std::int32_t n;
        if (!SprobujCalkowita(linia, n)) Blad(KomunikatCalkowitej(linia));
        if (n < 0) Blad("Ujemna liczba elementów (" + std::to_string(n) + ") w sekcji " + std::string(marker) + ".");
        sekcja_ = {true, n, static_cast<std::int64_t>(n) * k, wiersz_, p_, marker};
        return n;
    }
    void ZakonczSekcje() { sekcja_.aktywna = false; }

    // How many records of k lines may be reserved for: no more than the rest of
    // the text could hold even with one-byte lines.
    std::size_t Rezerwa(std::int32_t n, int k) const {
        const std::int64_t najwiecej = (koniec_ - p_) / k + 1;
        return static_cast<std::size_t>(std::min<std::int64_t>(n, najwiecej));
    }

    void PostepKoniec() const {
        if (postep_) (*postep_)(1.0);
    }

    const TOpcjeCzytania& Opcje() const { return opcje_; }
    const char* Pozycja() const { return p_; }
    const char* KoniecTekstu() const { return koniec_; }

    // A reader of the same text and section that goes on from p, the start of
    // the line after line `wiersz`, and reports no progress: the second
    // thread's half of a section.
    TCzytnik Dalej(const char* p, std::int64_t wiersz) const {
        TCzytnik c = *this;
        c.p_ = p;
        c.wiersz_ = wiersz;
        c.postep_ = nullptr;
        c.nastepnyPostep_ = std::numeric_limits<std::ptrdiff_t>::max();
        return c;
    }
    // Goes on where the reader of the second half stopped.
    void PrzejmijPozycje(const TCzytnik& c) {
        p_ = c.p_;
        wiersz_ = c.wiersz_;
        zaKoncem_ = c.zaKoncem_;
    }

private:
    static constexpr std::ptrdiff_t kKrokPostepu = 4 << 20;

    struct TSekcja {
        bool aktywna = false;
        std::int32_t n = 0;
        std::int64_t potrzeba = 0;  // lines the records need
        std::int64_t wierszLiczby = 0;
        const char* poczatek = nullptr;  // first byte after the count line
        std::string_view znacznik;
    };

    [[noreturn]] void Rzuc(const std::string& komunikat, std::int64_t wiersz) const {
        throw BladKonwersji(komunikat + "\nPlik: " + std::string(nazwa_) + ", wiersz: " + std::to_string(wiersz));
    }

    [[noreturn]] void BladLiczby() const {
        const std::int64_t pozostale = WierszeOd(sekcja_.poczatek);
        const TSekcja& s = sekcja_;
        Rzuc("Liczba elementów " + std::to_string(s.n) + " w sekcji " + std::string(s.znacznik) + " wymaga " +
                 std::to_string(s.potrzeba) + " wierszy, a do końca pliku zostało ich " + std::to_string(pozostale) +
                 " (plik jest niepełny lub uszkodzony).",
             s.wierszLiczby);
    }

    void ZglosPostep() {
        (*postep_)(static_cast<double>(p_ - poczatek_) / static_cast<double>(koniec_ - poczatek_));
        nastepnyPostep_ = (p_ - poczatek_) + kKrokPostepu;
    }

    // A file cut to nothing (a copy that failed) and a file that is no text
    // at all (a picture or an archive under the wrong name) would otherwise
    // load as a file of empty header lines that brings nothing.
    void SprawdzTresc() const {
        if (p_ == koniec_) Blad("Plik jest pusty.", 1);
        const std::size_t dl = static_cast<std::size_t>(koniec_ - p_);
        if (const char* zero = static_cast<const char*>(std::memchr(p_, '\0', dl)))
            Blad("Plik nie jest plikiem tekstowym: zawiera bajt o wartości 0.", 1 + std::count(p_, zero, '\n'));
    }

    // A CR inside the first line means CR-only line ends: the whole file would be
    // one line, read as a header, and the load would silently bring nothing.
    void SprawdzKonceWierszy() const {
        const std::size_t dl = static_cast<std::size_t>(koniec_ - p_);
        const char* lf = dl ? static_cast<const char*>(std::memchr(p_, '\n', dl)) : nullptr;
        const char* e = lf ? lf - 1 : koniec_;  // a CR right before LF is part of the line end
        if (e > p_ && std::memchr(p_, '\r', static_cast<std::size_t>(e - p_)))
            Blad("Nieobsługiwane końce wierszy: znak CR bez LF. Plik musi mieć końce wierszy CR LF lub LF.", 1);
    }

    const char* p_;
    const char* koniec_;
    const char* poczatek_;
    std::string_view nazwa_;
    const TPostep* postep_;  // null when nobody listens
    TOpcjeCzytania opcje_;
    std::ptrdiff_t nastepnyPostep_;  // offset of the next progress report
    std::int64_t wiersz_ = 0;
    std::int64_t zaKoncem_ = 0;  // lines read past the end of the text
    // One empty line may be read past the end when the text ends with a line end
    // (or is empty): the line after the last line end.
    std::int64_t dozwoloneZaKoncem_ = 1;
    TSekcja sekcja_;
};

// ---------------------------------------------------------------------------
// Records shared by both readers.

TPunktSiatki CzytajPunkt(TCzytnik& cz) {
    TPunktSiatki p;
    p.X = cz.Wspolrzedna();
    p.Y = cz.Wspolrzedna();
    p.Z = cz.Wspolrzedna();
    p.Znacznik = cz.Logiczna();
    p.Numer = cz.Calkowita();
    p.Nazwa.Ustaw(cz.Wiersz());
    return p;
}

// Where the second thread takes over a section: the first record that starts
// at or after the byte `cel`, the line before it and its position.
struct TPodzial {
    std::int32_t rekord;
    std::int64_t wiersz;
    const char* p;
};

// The reader stands at the start of record i of n records of k lines. The
// line ends up to `cel` are counted, the next line end and those up to the
// end of the record taken; nothing when the section's records do not reach
// that far (the count or the text ends before).
std::optional<TPodzial> ZnajdzPodzial(const TCzytnik& cz, std::int32_t i, std::int32_t n, int k, const char* cel) {
    const char* p = cz.Pozycja();
    const char* koniec = cz.KoniecTekstu();
    if (cel <= p || cel >= koniec) return std::nullopt;
    std::int64_t linie = std::count(p, cel, '\n');
    const char* q = cel;
    do {
        const void* lf = std::memchr(q, '\n', static_cast<std::size_t>(koniec - q));
        if (!lf) return std::nullopt;
        q = static_cast<const char*>(lf) + 1;
        ++linie;
    } while (linie % k != 0);
    const std::int64_t rekord = i + linie / k;
    if (rekord >= n || q >= koniec) return std::nullopt;
    return TPodzial{static_cast<std::int32_t>(rekord), cz.NumerWiersza() + linie, q};
}

// Records [od, do_) read by a second reader straight into their places;
// `stop` asks it to give up (the first half failed). An error is kept for
// the caller, who reports it only when the first half read well.
template <typename T, typename F>
void CzytajDrugaPolowe(TCzytnik& cz, std::int32_t od, std::int32_t do_, F& rekord, std::vector<T>& w,
                       std::exception_ptr& blad, const std::atomic<bool>& stop) {
    try {
        for (std::int32_t i = od; i < do_; ++i) {
            if ((i & 4095) == 0 && stop.load(std::memory_order_relaxed)) return;
            w[static_cast<std::size_t>(i)] = rekord(cz);
        }
    } catch (...) {
        blad = std::current_exception();
    }
}

// One section: its count line, then that many records of `wierszy` lines
// each, read by `rekord`; room is reserved only for what the file can hold.
//
// A section of many records (TOpcjeCzytania) is read by two threads: the
// first records tell the mean length of a record, the line ends up to about
// the middle of the section are counted, and from the next record boundary a
// second reader goes on in another thread while this one reads up to it;
// both write into the section's array, sized for the whole count then (no
// more than the rest of the text can hold, as the reserve). Records of a section are read in the same way wherever they lie, so the
// records, their order and the message of the first fault in the file (with
// its line) are those that one reader reading straight through would give.
template <typename T, typename F>
std::vector<T> CzytajSekcje(TCzytnik& cz, std::string_view marker, int wierszy, F rekord) {
    const std::int32_t n = cz.LiczbaElementow(wierszy, marker);
    std::vector<T> w;
    w.reserve(cz.Rezerwa(n, wierszy));
    std::int32_t i = 0;
    const TOpcjeCzytania& opcje = cz.Opcje();
    if (opcje.Watki >= 2 && n >= std::max(2, opcje.ProgDwochWatkow)) {
        const char* start = cz.Pozycja();
        const std::int32_t probka = std::clamp(n / 64, 1, 256);
        for (; i < probka; ++i) w.push_back(rekord(cz));
        const double naRekord = static_cast<double>(cz.Pozycja() - start) / probka;
        const double zostalo = static_cast<double>(cz.KoniecTekstu() - cz.Pozycja());
        const double doPolowy = std::min(zostalo, naRekord * ((n - i) / 2));
        const std::optional<TPodzial> podzial = ZnajdzPodzial(cz, i, n, wierszy,
                                                              cz.Pozycja() + static_cast<std::ptrdiff_t>(doPolowy));
        if (podzial && cz.Rezerwa(n - i, wierszy) == static_cast<std::size_t>(n - i)) {
            TCzytnik drugi = cz.Dalej(podzial->p, podzial->wiersz);
            PowiekszNaDwochWatkach(w, static_cast<std::size_t>(n));
            std::exception_ptr bladDrugiego;
            std::atomic<bool> stop{false};
            std::thread watek;
            try {
                watek = std::thread(
                    [&] { CzytajDrugaPolowe<T>(drugi, podzial->rekord, n, rekord, w, bladDrugiego, stop); });
            } catch (const std::system_error&) {
                // No second thread: this one reads on.
                w.resize(static_cast<std::size_t>(i));
            }
            if (watek.joinable()) {
                try {
                    for (; i < podzial->rekord; ++i) w[static_cast<std::size_t>(i)] = rekord(cz);
                } catch (...) {
                    stop = true;
                    watek.join();
                    throw;
                }
                watek.join();
                if (bladDrugiego) std::rethrow_exception(bladDrugiego);
                cz.PrzejmijPozycje(drugi);
                i = n;
            }
        }
    }
    for (; i < n; ++i) w.push_back(rekord(cz));
    cz.ZakonczSekcje();
    return w;
}

std::vector<TPunktSiatki> CzytajPunkty(TCzytnik& cz, std::string_view marker) {
    return CzytajSekcje<TPunktSiatki>(cz, marker, format_tro::WierszePunktu,
                                      [](TCzytnik& cw) { return CzytajPunkt(cw); });
}

// TEREN triangles: vertices from the points in memory at this place of the file.
std::vector<TTrojkat> CzytajTrojkatyTEREN(TCzytnik& cz, std::string_view marker,
                                          const std::vector<TPunktSiatki>& punkty) {
    const std::int64_t ilePunktow = static_cast<std::int64_t>(punkty.size());
    auto numer = [&](TCzytnik& cw) {
        const std::int32_t nr = cw.Calkowita();
        if (nr < 0 || nr >= ilePunktow)
            cw.Blad("Numer wierzchołka trójkąta TEREN " + std::to_string(nr) +
                    (ilePunktow > 0 ? " jest spoza zakresu punktów TEREN (0.." + std::to_string(ilePunktow - 1) + ")."
                                    : " wskazuje punkt TEREN, a brak punktów TEREN."));
        return nr;
    };
    return CzytajSekcje<TTrojkat>(cz, marker, format_tro::WierszeTrojkataTEREN, [&](TCzytnik& cw) {
        TTrojkat t;
        t.Atr1 = cw.Calkowita();
        t.Atr2 = cw.Calkowita();
        t.Atr3 = cw.Calkowita();
        t.Nr1 = numer(cw);
        t.Nr2 = numer(cw);
        t.Nr3 = numer(cw);
        t.Xs = cw.Wspolrzedna();
        t.Ys = cw.Wspolrzedna();
        t.Rodzaj = cw.Rodzaj();
        t.Znacznik = cw.Logiczna();
        t.Kolor = cw.Kolor();
        const TPunktSiatki& a = punkty[static_cast<std::size_t>(t.Nr1)];
        const TPunktSiatki& b = punkty[static_cast<std::size_t>(t.Nr2)];
        const TPunktSiatki& c = punkty[static_cast<std::size_t>(t.Nr3)];
        t.X1 = a.X;
        t.Y1 = a.Y;
        t.Z1 = a.Z;
        t.X2 = b.X;
        t.Y2 = b.Y;
        t.Z2 = b.Z;
        t.X3 = c.X;
        t.Y3 = c.Y;
        t.Z3 = c.Z;
        return t;
    });
}

std::vector<TTrojkat> CzytajTrojkatyPROJ(TCzytnik& cz, std::string_view marker) {
    return CzytajSekcje<TTrojkat>(cz, marker, format_tro::WierszeTrojkataPROJ, [&](TCzytnik& cw) {
        TTrojkat t;
        double a, b, c;
        cw.TrzyLiczby(a, b, c);
        t.Atr1 = Obetnij(a);
        t.Atr2 = Obetnij(b);
        t.Atr3 = Obetnij(c);
        cw.TrzyLiczby(a, b, c);
        t.Nr1 = Obetnij(a);
        t.Nr2 = Obetnij(b);
        t.Nr3 = Obetnij(c);
        cw.TrzyLiczby(t.X1, t.Y1, t.Z1);
        cw.SprawdzWspolrzedne({t.X1, t.Y1, t.Z1});
        cw.TrzyLiczby(t.X2, t.Y2, t.Z2);
        cw.SprawdzWspolrzedne({t.X2, t.Y2, t.Z2});
        cw.TrzyLiczby(t.X3, t.Y3, t.Z3);
        cw.SprawdzWspolrzedne({t.X3, t.Y3, t.Z3});
        cw.Wiersz();  // the plan point of the file: replaced by the centre below
        t.Rodzaj = cw.Rodzaj();
        t.Kolor = cw.Kolor();
        t.Znacznik = false;
        t.Xs = (t.X1 + t.X2 + t.X3) / 3.0;
        t.Ys = (t.Y1 + t.Y2 + t.Y3) / 3.0;
        return t;
    });
}

std::vector<TZalom> CzytajZalomy(TCzytnik& cz, std::string_view marker) {
    auto trzy = [](TCzytnik& cz, float& a, float& b, float& c) {
        const PktOpisRRealSpr r = CzytajRekordSrednik(cz.Wiersz());
        a = NaFloat(r.X);
        b = NaFloat(r.Y);
        c = NaFloat(r.Z);
    };
    return CzytajSekcje<TZalom>(cz, marker, format_tro::WierszeZalomu, [&](TCzytnik& cw) {
        TZalom z;
        z.Nazwa.Ustaw(cw.Wiersz());
        const PktOpisRRealSpr r = CzytajRekordSrednik(cw.Wiersz());
        z.X = r.X;
        z.Y = r.Y;
        trzy(cw, z.A1, z.A2, z.R);
        trzy(cw, z.Param1, z.Param2, z.Param3);
        trzy(cw, z.Pary[0].Wartosc1, z.Pary[1].Wartosc1, z.Pary[2].Wartosc1);
        trzy(cw, z.Pary[0].Wartosc2, z.Pary[1].Wartosc2, z.Pary[2].Wartosc2);
        z.Flaga1 = cw.Logiczna();
        z.Flaga2 = cw.Logiczna();
        z.Flaga3 = cw.Logiczna();
        return z;
    });
}

std::vector<TLinia> CzytajLinieTEREN(TCzytnik& cz, std::string_view marker) {
    return CzytajSekcje<TLinia>(cz, marker, format_tro::WierszeLiniiTEREN, [&](TCzytnik& cw) {
        TLinia l;
        l.X1 = cw.Rzeczywista();
        l.Y1 = cw.Rzeczywista();
        l.Z1 = cw.Rzeczywista();
        l.Nr1 = cw.Calkowita();
        l.X2 = cw.Rzeczywista();
        l.Y2 = cw.Rzeczywista();
        l.Z2 = cw.Rzeczywista();
        l.Nr2 = cw.Calkowita();
        l.Wartosc = cw.Float();
        for (bool& f : l.Znaczniki) f = cw.Logiczna();
        return l;
    });
}

std::vector<TLinia> CzytajLiniePROJ(TCzytnik& cz, std::string_view marker) {
    return CzytajSekcje<TLinia>(cz, marker, format_tro::WierszeLiniiPROJ, [&](TCzytnik& cw) {
        TLinia l;
        cw.TrzyLiczby(l.X1, l.Y1, l.Z1);
        cw.TrzyLiczby(l.X2, l.Y2, l.Z2);
        double a, b, c;
        cw.TrzyLiczby(a, b, c);
        l.Nr1 = Obetnij(a);
        l.Nr2 = Obetnij(b);
        l.Wartosc = cw.Float();
        for (int k = 0; k < 5; ++k) l.Znaczniki[k] = cw.Logiczna();
        l.Znaczniki[5] = false;
        return l;
    });
}

// ---------------------------------------------------------------------------
// The two file formats differ in their markers and in the line sections.

using format_tro::TZnaczniki;
constexpr std::string_view kZnacznikTrasy = format_tro::ZnacznikTrasy;
constexpr const TZnaczniki& kZnacznikiTRO = format_tro::ZnacznikiTRO;
constexpr const TZnaczniki& kZnacznikiMTP = format_tro::ZnacznikiMTP;

TDaneWczytane Czytaj(std::string_view dane, std::string_view nazwa, const TPostep& postep, const TZnaczniki& m,
                     const TOpcjeCzytania& opcje) {
    TCzytnik cz(dane, nazwa, postep, opcje);
    TDaneWczytane w;
    // Line of the first record of the last TEREN triangle section, to check its
    // indices once more when a later points section replaces the points.
    std::int64_t pierwszyRekordTEREN = 0;
    cz.Pomin(format_tro::BanerWierszy);
    while (!cz.Koniec()) {
        const std::string_view s = cz.Wiersz();
        if (s.empty() || (s[0] != '#' && s[0] != '_')) continue;
        if (s == m.WspTEREN) {
            w.PunktyTEREN = CzytajPunkty(cz, s);
        } else if (!m.LinieTEREN.empty() && s == m.LinieTEREN) {
            w.LinieTEREN = CzytajLinieTEREN(cz, s);
        } else if (s == m.TroTEREN) {
            pierwszyRekordTEREN = cz.NumerWiersza() + 2;
            w.TrojkatyTEREN = CzytajTrojkatyTEREN(cz, s, w.PunktyTEREN ? *w.PunktyTEREN : TEREN.Punkty);
        } else if (s == m.WspPROJ) {
            w.PunktyPROJ = CzytajPunkty(cz, s);
        } else if (!m.LiniePROJ.empty() && s == m.LiniePROJ) {
            w.LiniePROJ = CzytajLiniePROJ(cz, s);
        } else if (s == m.TroPROJ) {
            w.TrojkatyPROJ = CzytajTrojkatyPROJ(cz, s);
        } else if (s == m.Trasa) {
            w.Zalomy = CzytajZalomy(cz, s);
        }
    }
    if (w.TrojkatyTEREN && w.PunktyTEREN) {
        const std::int64_t ile = static_cast<std::int64_t>(w.PunktyTEREN->size());
        const auto& troj = *w.TrojkatyTEREN;
        for (std::size_t i = 0; i < troj.size(); ++i) {
            const std::int32_t nr[3] = {troj[i].Nr1, troj[i].Nr2, troj[i].Nr3};
            for (int k = 0; k < 3; ++k) {
                if (nr[k] >= ile)
                    cz.Blad("Numer wierzchołka trójkąta TEREN " + std::to_string(nr[k]) +
                                " jest spoza zakresu punktów TEREN wczytanych dalej w pliku (" + std::to_string(ile) +
                                " punktów).",
                            pierwszyRekordTEREN + static_cast<std::int64_t>(i) * format_tro::WierszeTrojkataTEREN +
                                format_tro::NumerWierzcholkaTEREN + k);
            }
        }
    }
    cz.PostepKoniec();
    return w;
}

// ---------------------------------------------------------------------------
// Files.

std::string OpisBleduSystemu(int e) { return std::strerror(e); }

// A file's bytes, read in one piece. (Not mapped: a file cut short by another
// program during the load would then crash the program instead of failing.)
class TPlikWPamieci {
public:
    explicit TPlikWPamieci(const std::string& nazwa) {
        // Opened without waiting: a named pipe that nobody writes to would
        // otherwise hold the program in open() for ever.
        const int fd = ::open(nazwa.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) throw BladKonwersji("Nie można otworzyć pliku " + nazwa + ": " + OpisBleduSystemu(errno));
        struct stat st {};
        if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
            const int e = S_ISDIR(st.st_mode) ? EISDIR : errno;
            ::close(fd);
            throw BladKonwersji("Nie można otworzyć pliku " + nazwa + ": " + OpisBleduSystemu(e));
        }
        // A device (/dev/zero, a terminal, a disk) is no data file and may never end.
        if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) {
            ::close(fd);
            throw BladKonwersji("Nie można otworzyć pliku " + nazwa + ": to urządzenie, a nie plik z danymi.");
        }
        // A pipe is then read with waiting, as long as its writer writes.
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        // A regular file is read into a buffer of its size (not zero-filled
        // first); anything else, or a file that grows meanwhile, in blocks.
        std::size_t pojemnosc = S_ISREG(st.st_mode) ? static_cast<std::size_t>(st.st_size) + 1 : (1u << 16);
        dane_.reset(new char[pojemnosc]);
        if (S_ISREG(st.st_mode) && pojemnosc > kDuzyPlik) CzytajPolowami(fd, nazwa, pojemnosc - 1);
        for (;;) {
            if (rozmiar_ == pojemnosc) {
                std::unique_ptr<char[]> wieksze(new char[pojemnosc * 2]);
                std::memcpy(wieksze.get(), dane_.get(), rozmiar_);
                dane_ = std::move(wieksze);
                pojemnosc *= 2;
            }
            const ssize_t r = ::read(fd, dane_.get() + rozmiar_, pojemnosc - rozmiar_);
            if (r < 0) {
                if (errno == EINTR) continue;
                const int e = errno;
                ::close(fd);
                throw BladKonwersji("Błąd odczytu pliku " + nazwa + ": " + OpisBleduSystemu(e));
            }
            if (r == 0) break;
            rozmiar_ += static_cast<std::size_t>(r);
        }
        ::close(fd);
    }

    std::string_view Dane() const { return {dane_.get(), rozmiar_}; }

private:
    static constexpr std::size_t kDuzyPlik = 32u << 20;

    // A large file: its two halves read at once (their pages made present
    // first), each by its own thread. When the file turns out shorter than it
    // was (cut meanwhile) the reading starts again from its beginning in one
    // piece; the loop after it reads whatever was added meanwhile.
    void CzytajPolowami(int fd, const std::string& nazwa, std::size_t rozmiar) {
        char* dane = dane_.get();
        int blad[2] = {0, 0};
        bool krotki[2] = {false, false};
        NaDwochWatkach(
            rozmiar,
            [&](std::size_t od, std::size_t do_) {
                const int k = od == 0 ? 0 : 1;
                ZajmijStrony(dane + od, do_ - od);
                while (od < do_) {
                    const ssize_t r = ::pread(fd, dane + od, do_ - od, static_cast<off_t>(od));
                    if (r < 0 && errno == EINTR) continue;
                    if (r < 0) blad[k] = errno;
                    if (r <= 0) {
                        krotki[k] = r == 0;
                        return;
                    }
                    od += static_cast<std::size_t>(r);
                }
            },
            1);
        for (int e : blad)
            if (e != 0) {
                ::close(fd);
                throw BladKonwersji("Błąd odczytu pliku " + nazwa + ": " + OpisBleduSystemu(e));
            }
        rozmiar_ = krotki[0] || krotki[1] ? 0 : rozmiar;
        ::lseek(fd, static_cast<off_t>(rozmiar_), SEEK_SET);
    }

    std::unique_ptr<char[]> dane_;
    std::size_t rozmiar_ = 0;
};

}  // namespace

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
    {
        // Fast path for the usual field, [-]digits[sep digits] with at most 15
        // digits: the digits as an integer are exact in a double, and so is the
        // power of ten, so one division gives the correctly rounded value.
        static constexpr double kPotegi[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
        const char* a = s.data();
        const char* e = a + s.size();
        const bool ujemna = a < e && *a == '-';
        if (ujemna) ++a;
        std::uint64_t m = 0;
        int cyfry = 0, dziesietne = 0;
        for (; a < e && Cyfra(*a); ++a, ++cyfry) m = m * 10 + static_cast<unsigned>(*a - '0');
        if (a < e && (*a == '.' || *a == ',')) {
            for (++a; a < e && Cyfra(*a); ++a, ++cyfry, ++dziesietne) m = m * 10 + static_cast<unsigned>(*a - '0');
        }
        if (a == e && cyfry > 0 && cyfry <= 15) {
            const double v = static_cast<double>(m) / kPotegi[dziesietne];
            wynik = ujemna ? -v : v;
            return true;
        }
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

// ---------------------------------------------------------------------------
// Readers.

TDaneWczytane CzytajTRO(std::string_view dane, std::string_view nazwa, const TPostep& postep,
                        const TOpcjeCzytania& opcje) {
    return Czytaj(dane, nazwa, postep, kZnacznikiTRO, opcje);
}

TDaneWczytane CzytajMTP(std::string_view dane, std::string_view nazwa, const TPostep& postep,
                        const TOpcjeCzytania& opcje) {
    return Czytaj(dane, nazwa, postep, kZnacznikiMTP, opcje);
}

void PrzyjmijWczytane(TDaneWczytane&& d) {
    if (d.PunktyTEREN) TEREN.Punkty = std::move(*d.PunktyTEREN);
    if (d.LinieTEREN) TEREN.Linie = std::move(*d.LinieTEREN);
    if (d.TrojkatyTEREN) TEREN.Trojkaty = std::move(*d.TrojkatyTEREN);
    if (d.PunktyPROJ) PROJ.Punkty = std::move(*d.PunktyPROJ);
    if (d.LiniePROJ) PROJ.Linie = std::move(*d.LiniePROJ);
    if (d.TrojkatyPROJ) PROJ.Trojkaty = std::move(*d.TrojkatyPROJ);
    if (d.Zalomy) {
        Trasa.Zalomy = std::move(*d.Zalomy);
        Trasa.PikStart = d.PikStart;
        Trasa.GeometriaZPliku = d.GeometriaZPliku;
        Trasa.Pochodzenie = std::move(d.Pochodzenie);
    }
}

TDaneWczytane CzytajPlikTRO(const std::string& nazwaPliku, const TPostep& postep) {
    TPlikWPamieci plik(nazwaPliku);
    return CzytajTRO(plik.Dane(), nazwaPliku, postep);
}

TDaneWczytane CzytajPlikMTP(const std::string& nazwaPliku, const TPostep& postep) {
    TPlikWPamieci plik(nazwaPliku);
    return CzytajMTP(plik.Dane(), nazwaPliku, postep);
}

std::string CzytajCalyPlik(const std::string& nazwaPliku) {
    TPlikWPamieci plik(nazwaPliku);
    return std::string(plik.Dane());
}

// ---------------------------------------------------------------------------
// Converter.

const std::vector<std::string>& BanerTRO() {
    static const std::vector<std::string> baner = [] {
        std::vector<std::string> w;
        for (std::string_view l : format_tro::Baner) w.push_back(Utf8NaCp1250(l));
        return w;
    }();
    return baner;
}

std::string PrzepiszPlikZBufora(std::string_view zrodlo, std::string_view nazwa) {
    TCzytnik cz(zrodlo, nazwa, TPostep{});
    std::string w;
    w.reserve(zrodlo.size() + zrodlo.size() / 16 + 1024);
    auto pisz = [&w](std::string_view s) {
        w.append(s);
        w.append("\r\n");
    };
    for (const std::string& l : BanerTRO()) pisz(l);
    pisz("");
    auto staleRekordy = [&](std::string_view nowy, std::string_view stary, int k) {
        pisz(nowy);
        std::string_view linia;
        const std::int32_t n = cz.LiczbaElementow(k, stary, &linia);
        pisz(linia);
        for (std::int64_t i = 0, ile = static_cast<std::int64_t>(n) * k; i < ile; ++i) pisz(cz.Wiersz());
        cz.ZakonczSekcje();
        pisz("");
    };
    auto trojkaty = [&](std::string_view nowy) {
        pisz(nowy);
        for (;;) {
            const std::string_view linia = cz.Wiersz();
            pisz(linia);
            if (linia.empty()) break;
        }
        pisz("");
    };
    while (!cz.Koniec()) {
        const std::string_view s = cz.Wiersz();
        if (s == kZnacznikiMTP.WspTEREN)
            staleRekordy(kZnacznikiTRO.WspTEREN, s, format_tro::WierszePunktu);
        else if (s == kZnacznikiMTP.TroTEREN)
            trojkaty(kZnacznikiTRO.TroTEREN);
        else if (s == kZnacznikiMTP.WspPROJ)
            staleRekordy(kZnacznikiTRO.WspPROJ, s, format_tro::WierszePunktu);
        else if (s == kZnacznikiMTP.TroPROJ)
            trojkaty(kZnacznikiTRO.TroPROJ);
        else if (s == kZnacznikTrasy)
            staleRekordy(kZnacznikTrasy, s, format_tro::WierszeZalomu);
    }
    return w;
}

void PrzepiszPlik(const std::string& zrodlo, const std::string& cel) {
    if (zrodlo.empty()) throw BladKonwersji("Nie wybrano pliku .mtp do przepisania (Pliki, Otwórz plik .mtp).");
    if (cel.empty()) throw BladKonwersji("Nie podano nazwy pliku docelowego.");
    std::string wynik;
    {
        TPlikWPamieci plik(zrodlo);
        wynik = PrzepiszPlikZBufora(plik.Dane(), zrodlo);
    }
    ZapiszBezpiecznie(cel, wynik);
}
