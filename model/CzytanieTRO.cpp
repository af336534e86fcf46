#include "model/ZapisywanieOdczytywanie.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <exception>
#include <optional>
#include <system_error>
#include <thread>

#include "common/Rownolegle.h"
#include "model/CzytnikWierszy.h"
#include "model/FormatTRO.h"
#include "model/PlikWPamieci.h"

namespace {

// ---------------------------------------------------------------------------
// Records shared by both readers.

TPunktSiatki CzytajPunkt(TCzytnik& cz) {
    TPunktSiatki p;
    if (cz.WJednymPrzebiegu(format_tro::WierszePunktu, [&](TOdczytRekordu& r) {
            p.X = r.Wspolrzedna();
            p.Y = r.Wspolrzedna();
            p.Z = r.Wspolrzedna();
            p.Znacznik = r.Logiczna();
            p.Numer = r.Calkowita();
            if (r.Udany()) p.Nazwa.Ustaw(r.Wiersz());
        }))
        return p;
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

// Line ends in [p, e): a long stretch counted by two threads at once, since
// the second reader of a section waits for this count.
std::int64_t LiczKonceWierszy(const char* p, const char* e) {
    constexpr std::size_t kNaDwaWatki = 8u << 20;
    std::int64_t linie[2] = {0, 0};
    NaDwochWatkach(
        static_cast<std::size_t>(e - p),
        [&](std::size_t od, std::size_t do_) {
            linie[od == 0 ? 0 : 1] = static_cast<std::int64_t>(std::count(p + od, p + do_, '\n'));
        },
        kNaDwaWatki);
    return linie[0] + linie[1];
}

// The reader stands at the start of record i of n records of k lines. The
// line ends up to `cel` are counted, the next line end and those up to the
// end of the record taken; nothing when the section's records do not reach
// that far (the count or the text ends before).
std::optional<TPodzial> ZnajdzPodzial(const TCzytnik& cz, std::int32_t i, std::int32_t n, int k, const char* cel) {
    const char* p = cz.Pozycja();
    const char* koniec = cz.KoniecTekstu();
    if (cel <= p || cel >= koniec) return std::nullopt;
    std::int64_t linie = LiczKonceWierszy(p, cel);
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

// Records [od, do_) read by a second reader into an array of their own;
// `stop` asks it to give up (the first half failed). An error is kept for
// the caller, who reports it only when the first half read well. Its bytes
// are handed back only after it ends: a message of the first half counts
// the lines left up to the end of the text.
template <typename T, typename F>
void CzytajDrugaPolowe(TCzytnik& cz, std::int32_t od, std::int32_t do_, F& rekord, std::vector<T>& w,
                       std::exception_ptr& blad, const std::atomic<bool>& stop) {
    try {
        w.reserve(static_cast<std::size_t>(do_ - od));
        for (std::int32_t i = od; i < do_; ++i) {
            if ((i & 4095) == 0 && stop.load(std::memory_order_relaxed)) return;
            w.push_back(rekord(cz));
        }
    } catch (...) {
        blad = std::current_exception();
    }
}

// The records of the second half after those of the first: the room made
// present by two threads, the records copied by two.
template <typename T>
void Dolacz(std::vector<T>& w, const std::vector<T>& druga) {
    const std::size_t od = w.size();
    PowiekszNaDwochWatkach(w, od + druga.size());
    NaDwochWatkach(druga.size(), [&](std::size_t a, std::size_t b) {
        std::copy(druga.begin() + static_cast<std::ptrdiff_t>(a), druga.begin() + static_cast<std::ptrdiff_t>(b),
                  w.begin() + static_cast<std::ptrdiff_t>(od + a));
    });
}

// One section: its count line, then that many records of `wierszy` lines
// each, read by `rekord`; room is reserved only for what the file can hold.
//
// A section of many records (TOpcjeCzytania) is read by two threads: the
// first records tell the mean length of a record, the line ends up to about
// the middle of the section are counted, and from the next record boundary a
// second reader goes on in another thread, into an array of its own, while
// this one reads up to it; its records are then put after this one's. Records
// of a section are read in the same way wherever they lie, so the records,
// their order and the message of the first fault in the file (with its line)
// are those that one reader reading straight through would give.
//
// The arrays grow as their records are read (room reserved, not filled
// ahead), and the reader hands the bytes it is done with back
// (TCzytnik::OddajPrzeczytane): the text read and the records made of it
// are not both held whole at once.
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
            std::vector<T> druga;
            std::exception_ptr bladDrugiego;
            std::atomic<bool> stop{false};
            std::thread watek;
            try {
                watek = std::thread(
                    [&] { CzytajDrugaPolowe<T>(drugi, podzial->rekord, n, rekord, druga, bladDrugiego, stop); });
            } catch (const std::system_error&) {
                // No second thread: this one reads on.
            }
            if (watek.joinable()) {
                try {
                    for (; i < podzial->rekord; ++i) {
                        if ((i & 4095) == 0) cz.OddajPrzeczytane();
                        w.push_back(rekord(cz));
                    }
                } catch (...) {
                    stop = true;
                    watek.join();
                    throw;
                }
                watek.join();
                if (bladDrugiego) std::rethrow_exception(bladDrugiego);
                cz.PrzejmijPozycje(drugi);
                cz.OddajPrzeczytane();
                Dolacz(w, druga);
                i = n;
            }
        }
    }
    for (; i < n; ++i) {
        if ((i & 4095) == 0) cz.OddajPrzeczytane();
        w.push_back(rekord(cz));
    }
    cz.ZakonczSekcje();
    return w;
}

std::vector<TPunktSiatki> CzytajPunkty(TCzytnik& cz, std::string_view marker) {
    return CzytajSekcje<TPunktSiatki>(cz, marker, format_tro::WierszePunktu,
                                      [](TCzytnik& cw) { return CzytajPunkt(cw); });
}

// The fields of a TEREN triangle record of a .tro file, in the file's order.
struct TPolaTrojkataTEREN {
    std::int32_t Atr[3];
    std::int32_t Nr[3];  // vertex numbers, checked against the points
    TRodzaj Rodzaj;
    bool Znacznik;
    std::int32_t Kolor;
};

// A TEREN triangle record's fields: the plain ones in one pass over its
// lines, otherwise line by line with the messages of a field that fails.
TPolaTrojkataTEREN CzytajPolaTrojkataTEREN(TCzytnik& cz, std::int64_t ilePunktow) {
    TPolaTrojkataTEREN f;
    if (cz.WJednymPrzebiegu(format_tro::WierszeTrojkataTEREN, [&](TOdczytRekordu& r) {
            for (std::int32_t& a : f.Atr) a = r.Calkowita();
            for (std::int32_t& nr : f.Nr) {
                nr = r.Calkowita();
                if (nr < 0 || nr >= ilePunktow) r.Zawiedz();
            }
            r.Wspolrzedna();  // the plan point: checked, not kept (the corners are the points')
            r.Wspolrzedna();
            f.Rodzaj = r.Rodzaj();
            f.Znacznik = r.Logiczna();
            f.Kolor = r.Kolor();
        }))
        return f;
    for (std::int32_t& a : f.Atr) a = cz.Calkowita();
    for (std::int32_t& nr : f.Nr) {
        nr = cz.Calkowita();
        if (nr < 0 || nr >= ilePunktow)
            cz.Blad("Numer wierzchołka trójkąta TEREN " + std::to_string(nr) +
                    (ilePunktow > 0 ? " jest spoza zakresu punktów TEREN (0.." + std::to_string(ilePunktow - 1) + ")."
                                    : " wskazuje punkt TEREN, a brak punktów TEREN."));
    }
    cz.Wspolrzedna();  // the plan point: checked, not kept
    cz.Wspolrzedna();
    f.Rodzaj = cz.Rodzaj();
    f.Znacznik = cz.Logiczna();
    f.Kolor = cz.Kolor();
    return f;
}

// TEREN triangles: their vertices are the points in memory at this place of
// the file (ilePunktow of them), vertex n being point n.
std::vector<TTrojkat> CzytajTrojkatyTEREN(TCzytnik& cz, std::string_view marker, std::int64_t ilePunktow) {
    return CzytajSekcje<TTrojkat>(cz, marker, format_tro::WierszeTrojkataTEREN, [&](TCzytnik& cw) {
        const TPolaTrojkataTEREN f = CzytajPolaTrojkataTEREN(cw, ilePunktow);
        TTrojkat t;
        t.Atr1 = f.Atr[0];
        t.Atr2 = f.Atr[1];
        t.Atr3 = f.Atr[2];
        t.Nr1 = f.Nr[0];
        t.Nr2 = f.Nr[1];
        t.Nr3 = f.Nr[2];
        t.Rodzaj = f.Rodzaj;
        t.Znacznik = f.Znacznik;
        t.Kolor = f.Kolor;
        WierzcholkiZNumerow(t);
        return t;
    });
}

// A PROJ triangle record of the file: the triangle and its own three corners.
struct TTrojkatPROJZPliku {
    TTrojkat Trojkat;
    TPunkt3D Rogi[3];
};

// PROJ triangles: triangle i gets vertices 3i, 3i+1 and 3i+2.
void CzytajTrojkatyPROJ(TCzytnik& cz, std::string_view marker, std::optional<std::vector<TTrojkat>>& trojkaty,
                        std::optional<std::vector<TPunkt3D>>& wierzcholki) {
    std::vector<TTrojkatPROJZPliku> rekordy = CzytajSekcje<TTrojkatPROJZPliku>(
        cz, marker, format_tro::WierszeTrojkataPROJ, [&](TCzytnik& cw) {
            TTrojkatPROJZPliku r;
            TTrojkat& t = r.Trojkat;
            double a, b, c;
            cw.TrzyLiczby(a, b, c);
            t.Atr1 = ObetnijDoCalkowitej(a);
            t.Atr2 = ObetnijDoCalkowitej(b);
            t.Atr3 = ObetnijDoCalkowitej(c);
            cw.TrzyLiczby(a, b, c);
            t.Nr1 = ObetnijDoCalkowitej(a);
            t.Nr2 = ObetnijDoCalkowitej(b);
            t.Nr3 = ObetnijDoCalkowitej(c);
            for (TPunkt3D& p : r.Rogi) {
                cw.TrzyLiczby(p.X, p.Y, p.Z);
                cw.SprawdzWspolrzedne({p.X, p.Y, p.Z});
            }
            cw.Wiersz();  // the plan point of the file: the centre is the corners' own
            t.Rodzaj = cw.Rodzaj();
            t.Kolor = cw.Kolor();
            t.Znacznik = false;
            return r;
        });
    trojkaty.emplace(rekordy.size());
    wierzcholki.emplace(3 * rekordy.size());
    for (std::size_t i = 0; i < rekordy.size(); ++i) {
        TTrojkat& t = (*trojkaty)[i];
        t = rekordy[i].Trojkat;
        const auto w = static_cast<std::int32_t>(3 * i);
        t.W1 = w, t.W2 = w + 1, t.W3 = w + 2;
        for (int k = 0; k < 3; ++k) (*wierzcholki)[3 * i + static_cast<std::size_t>(k)] = rekordy[i].Rogi[k];
    }
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
        l.Nr1 = ObetnijDoCalkowitej(a);
        l.Nr2 = ObetnijDoCalkowitej(b);
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
    const std::vector<TPunktSiatki> bezPunktow;
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
            const std::vector<TPunktSiatki>& punkty = w.PunktyTEREN       ? *w.PunktyTEREN
                                                      : opcje.PunktyTEREN ? *opcje.PunktyTEREN
                                                                          : bezPunktow;
            w.TrojkatyTEREN = CzytajTrojkatyTEREN(cz, s, static_cast<std::int64_t>(punkty.size()));
            w.WierzcholkiTEREN = WierzcholkiZPunktow(punkty);
        } else if (s == m.WspPROJ) {
            w.PunktyPROJ = CzytajPunkty(cz, s);
        } else if (!m.LiniePROJ.empty() && s == m.LiniePROJ) {
            w.LiniePROJ = CzytajLiniePROJ(cz, s);
        } else if (s == m.TroPROJ) {
            CzytajTrojkatyPROJ(cz, s, w.TrojkatyPROJ, w.WierzcholkiPROJ);
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

}  // namespace

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

void PrzyjmijWczytane(TDaneWczytane&& d, TProjekt& p) {
    if (d.PunktyTEREN) p.TEREN.Punkty = std::move(*d.PunktyTEREN);
    if (d.LinieTEREN) p.TEREN.Linie = std::move(*d.LinieTEREN);
    if (d.TrojkatyTEREN) {
        p.TEREN.Trojkaty = std::move(*d.TrojkatyTEREN);
        p.TEREN.Wierzcholki = d.WierzcholkiTEREN ? std::move(*d.WierzcholkiTEREN) : std::vector<TPunkt3D>{};
    }
    if (d.PunktyPROJ) p.PROJ.Punkty = std::move(*d.PunktyPROJ);
    if (d.LiniePROJ) p.PROJ.Linie = std::move(*d.LiniePROJ);
    if (d.TrojkatyPROJ) {
        p.PROJ.Trojkaty = std::move(*d.TrojkatyPROJ);
        p.PROJ.Wierzcholki = d.WierzcholkiPROJ ? std::move(*d.WierzcholkiPROJ) : std::vector<TPunkt3D>{};
    }
    if (d.Zalomy) PrzyjmijTrase(std::move(d), p.Trasa);
}

void PrzyjmijTrase(TDaneWczytane&& d, DaneUstawieniaTrasy& trasa) {
    if (!d.Zalomy) return;
    trasa.Zalomy = std::move(*d.Zalomy);
    d.Zalomy.reset();
    trasa.PikStart = d.PikStart;
    trasa.GeometriaZPliku = d.GeometriaZPliku;
    trasa.Lancuch = std::move(d.Lancuch);
    trasa.Pochodzenie = std::move(d.Pochodzenie);
    trasa.Niweleta = std::move(d.Niweleta);
    trasa.OpisOsi = std::move(d.OpisOsi);
    trasa.Osie = std::move(d.Osie);
    trasa.NrOsi = d.NrOsi;
    trasa.NrNiwelety = d.NrNiwelety;
    trasa.ZrodloOsi = std::move(d.ZrodloOsi);
}

namespace {

// A whole file read: the memory of the records read is given back as the
// reading goes on, so a large file's text and what is made of it are not
// held whole at once.
TDaneWczytane CzytajPlik(const std::string& nazwaPliku, const TPostep& postep, const TOpcjeCzytania& opcje,
                         const TZnaczniki& m) {
    TPlikWPamieci plik(nazwaPliku);
    TOpcjeCzytania o = opcje;
    o.OddajPrzeczytane = [&plik](const char* od, const char* do_) { plik.Oddaj(od, do_); };
    return Czytaj(plik.Dane(), nazwaPliku, postep, m, o);
}

}  // namespace

TDaneWczytane CzytajPlikTRO(const std::string& nazwaPliku, const TPostep& postep, const TOpcjeCzytania& opcje) {
    return CzytajPlik(nazwaPliku, postep, opcje, kZnacznikiTRO);
}

TDaneWczytane CzytajPlikMTP(const std::string& nazwaPliku, const TPostep& postep, const TOpcjeCzytania& opcje) {
    return CzytajPlik(nazwaPliku, postep, opcje, kZnacznikiMTP);
}
