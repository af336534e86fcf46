// The data files' line reader over a text in memory: lines, fields, the
// section counts and the errors that name the file and the line. The .tro and
// .mtp readers and the .mtp converter read through it.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <string>
#include <string_view>

#include "common/Tekst.h"
#include "model/Pola.h"
#include "model/ZapisywanieOdczytywanie.h"

// The fast path of a record's fields: read straight from the bytes, each
// field followed by its line end, in one pass over the record. It takes only
// the plain forms, for which it gives the values the line-by-line fields
// give (the same arithmetic, or the same conversion of the same line); on
// anything else it fails, and the record is read again line by line, which
// gives the messages with their lines.
class TOdczytRekordu {
public:
    TOdczytRekordu(const char* p, const char* koniec) : q_(p), e_(koniec) {}

    bool Udany() const { return ok_; }
    const char* Pozycja() const { return q_; }
    void Zawiedz() { ok_ = false; }

    // [-]digits, at most 9 of them.
    std::int32_t Calkowita() {
        const char* q = q_;
        const bool ujemna = q < e_ && *q == '-';
        if (ujemna) ++q;
        const char* a = q;
        const char* granica = e_ - q > 10 ? q + 10 : e_;  // a tenth digit fails: no overflow to look for
        std::int32_t v = 0;
        for (; q < granica && Cyfra(*q); ++q)
            if (q - a < 9) v = v * 10 + (*q - '0');
        if (q == a || q - a > 9) return Zawiedz(), 0;
        q_ = q;
        KoniecWiersza();
        return ujemna ? -v : v;
    }
    // [-]digits[sep digits] with at most 15 digits, as SprobujRzeczywista's fast path (LiczbaProsta).
    double Rzeczywista() {
        double v = Liczba();
        KoniecWiersza();
        return v;
    }
    // A mesh coordinate, inside the readers' range.
    double Wspolrzedna() {
        const double v = Rzeczywista();
        if (!(std::fabs(v) <= kNajwiekszaWspolrzedna)) Zawiedz();
        return v;
    }
    // A plain number and a surface kind's letter.
    TRodzaj Rodzaj() {
        TRodzaj r;
        const double v = Liczba();
        if (!ok_ || q_ >= e_ || !std::memchr(kLitery, *q_, sizeof kLitery)) return Zawiedz(), r;
        r.Kod = *q_++;
        r.Wartosc = NaFloat(v);
        KoniecWiersza();
        return r;
    }
    bool Logiczna() { return CzytajLogiczna(Wiersz()); }
    std::int32_t Kolor() {
        if (q_ < e_ && Cyfra(*q_)) return Calkowita();
        std::int32_t v = 0;
        if (!SprobujKolor(Wiersz(), v)) Zawiedz();
        return v;
    }
    // The line as the line reader gives it (one CR before its LF dropped).
    std::string_view Wiersz() {
        if (!ok_) return {};
        const char* lf = q_ < e_ ? static_cast<const char*>(std::memchr(q_, '\n', static_cast<std::size_t>(e_ - q_)))
                                 : nullptr;
        if (!lf) return Zawiedz(), std::string_view();
        std::string_view s(q_, static_cast<std::size_t>(lf - q_));
        if (!s.empty() && s.back() == '\r') s.remove_suffix(1);
        q_ = lf + 1;
        return s;
    }

private:
    // The letters a surface kind may end with (CzytajRodzaj's).
    static constexpr char kLitery[] = {'H', 'N', 'G', 'D', 'B', 'C', 'S', 'K', 'O', 'P', 'E'};

    static bool Cyfra(char c) { return c >= '0' && c <= '9'; }

    double Liczba() {
        double v = 0.0;
        const char* k = LiczbaProsta(q_, e_, v);
        if (!k) return Zawiedz(), 0.0;
        q_ = k;
        return v;
    }
    void KoniecWiersza() {
        if (q_ < e_ && *q_ == '\r') ++q_;
        if (q_ < e_ && *q_ == '\n')
            ++q_;
        else
            Zawiedz();
    }

    const char* q_;
    const char* e_;
    bool ok_ = true;
};

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

    // A record of k lines read in one pass by f(TOdczytRekordu&), which reads
    // its k fields; false, with the reader where it was, when the fast path
    // failed (the record is then to be read line by line).
    template <typename F>
    bool WJednymPrzebiegu(int k, F&& f) {
        if (p_ >= koniec_) return false;
        if (p_ - poczatek_ >= nastepnyPostep_) ZglosPostep();
        TOdczytRekordu r(p_, koniec_);
        f(r);
        if (!r.Udany()) return false;
        p_ = r.Pozycja();
        wiersz_ += k;
        return true;
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
        if (sekcja_.aktywna && sekcja_.potrzeba > WierszeSekcji()) BladLiczby();
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

    // Tells the text's owner (TOpcjeCzytania::OddajPrzeczytane) of the
    // section's bytes read since the last time: called between records. Only
    // bytes of this reader's own records are handed over, never the lines
    // before the section's first record.
    void OddajPrzeczytane() {
        if (!opcje_.OddajPrzeczytane || !sekcja_.aktywna) return;
        const char* od = std::max(oddaneDo_, sekcja_.poczatek);
        if (p_ <= od) return;
        opcje_.OddajPrzeczytane(od, p_);
        oddaneDo_ = p_;
    }

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
        c.oddaneDo_ = p;
        c.wiersz_ = wiersz;
        c.postep_ = nullptr;
        c.nastepnyPostep_ = std::numeric_limits<std::ptrdiff_t>::max();
        return c;
    }
    // Goes on where the reader of the second half stopped.
    void PrzejmijPozycje(const TCzytnik& c) {
        p_ = c.p_;
        oddaneDo_ = c.oddaneDo_;
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
        BladWPliku(komunikat, nazwa_, wiersz);
    }

    // The lines from the section's first record to the end of the text (as
    // WierszeOd(sekcja_.poczatek)): those read since, counted by the reader,
    // and those left. The bytes read may have been handed back meanwhile.
    std::int64_t WierszeSekcji() const { return (wiersz_ - zaKoncem_ - sekcja_.wierszLiczby) + WierszeOd(p_); }

    [[noreturn]] void BladLiczby() const {
        const std::int64_t pozostale = WierszeSekcji();
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
    const char* oddaneDo_ = poczatek_;  // the bytes before it are handed back (OddajPrzeczytane)
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
