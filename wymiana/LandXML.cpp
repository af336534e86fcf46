#include "wymiana/LandXML.h"

#include <pugixml.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <ctime>
#include <limits>
#include <array>
#include <functional>
#include <unordered_map>

#include "route/OblKlotka.h"
#include "route/OblTrasa.h"

namespace {

// The same bound as the other readers: shifts and the renderer's scaling stay finite.
constexpr double kNajwiekszaWspolrzedna = 1e12;
// An element start or end of the file may lie this far from the built route.
constexpr double kTolerancja = 0.001;
constexpr double kPi = 3.14159265358979323846;

// ---------------------------------------------------------------------------
// Plane vectors.

TPunkt2D Dodaj(TPunkt2D a, TPunkt2D b) { return {a.X + b.X, a.Y + b.Y}; }
TPunkt2D Odejmij(TPunkt2D a, TPunkt2D b) { return {a.X - b.X, a.Y - b.Y}; }
TPunkt2D Razy(TPunkt2D a, double k) { return {a.X * k, a.Y * k}; }
double Wektorowy(TPunkt2D a, TPunkt2D b) { return a.X * b.Y - a.Y * b.X; }
double Dl(TPunkt2D a) { return std::hypot(a.X, a.Y); }
TPunkt2D Jednostkowy(TPunkt2D a) { return Razy(a, 1.0 / Dl(a)); }
// Turned by +90 degrees (to the left).
TPunkt2D Prostopadly(TPunkt2D a) { return {-a.Y, a.X}; }
TPunkt2D Obroc(TPunkt2D a, double kat) {
    const double c = std::cos(kat), s = std::sin(kat);
    return {a.X * c - a.Y * s, a.X * s + a.Y * c};
}

// ---------------------------------------------------------------------------
// Names, numbers and the messages with the file and the line.

// An element's name without its namespace prefix.
std::string_view Lokalna(const char* nazwa) {
    const std::string_view s(nazwa);
    const std::size_t p = s.rfind(':');
    return p == std::string_view::npos ? s : s.substr(p + 1);
}

pugi::xml_node Dziecko(pugi::xml_node n, std::string_view nazwa) {
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && Lokalna(c.name()) == nazwa) return c;
    return {};
}

template <typename F>
void Dzieci(pugi::xml_node n, std::string_view nazwa, F f) {
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && Lokalna(c.name()) == nazwa) f(c);
}

bool Odstep(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The next whitespace-separated word of s (empty at the end); s moves past it.
std::string_view Slowo(std::string_view& s) {
    std::size_t i = 0;
    while (i < s.size() && Odstep(s[i])) ++i;
    std::size_t j = i;
    while (j < s.size() && !Odstep(s[j])) ++j;
    const std::string_view w = s.substr(i, j - i);
    s.remove_prefix(j);
    return w;
}

// A finite decimal number as XML writes it ('.' whatever the locale).
bool Liczba(std::string_view s, double& v) {
    if (!s.empty() && s[0] == '+') s.remove_prefix(1);
    if (s.empty()) return false;
    const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
    return ec == std::errc() && p == s.data() + s.size() && std::isfinite(v);
}

bool RowneBezWielkosci(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

std::string Krotki(std::string_view s) {
    std::string w(s.substr(0, 60));
    for (char& c : w)
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    if (s.size() > 60) w += "...";
    return w;
}

std::string Milimetry(double m) {
    char b[32];
    std::snprintf(b, sizeof b, "%.1f", m * 1000.0);
    std::string s(b);
    for (char& c : s)
        if (c == '.') c = ',';
    return s;
}

// Where messages point: the file's name and its original text (for line numbers).
struct TZrodlo {
    std::string_view nazwa;
    std::function<std::string_view()> tekst;

    [[noreturn]] void Blad(const std::string& komunikat, std::ptrdiff_t przesuniecie) const {
        std::int64_t wiersz = 1;
        if (przesuniecie > 0) {
            const std::string_view t = tekst();
            const std::size_t k = std::min<std::size_t>(static_cast<std::size_t>(przesuniecie), t.size());
            wiersz += std::count(t.data(), t.data() + k, '\n');
        }
        throw BladKonwersji(komunikat + "\nPlik: " + std::string(nazwa) + ", wiersz: " + std::to_string(wiersz));
    }
    [[noreturn]] void Blad(const std::string& komunikat, pugi::xml_node n) const {
        Blad(komunikat, n ? n.offset_debug() : 0);
    }
};

std::string OpisBleduXML(pugi::xml_parse_status s) {
    switch (s) {
        case pugi::status_out_of_memory: return "za mało pamięci";
        case pugi::status_unrecognized_tag: return "nierozpoznany znacznik";
        case pugi::status_bad_pi: return "błędna instrukcja przetwarzania (<?...?>)";
        case pugi::status_bad_comment: return "błędny komentarz";
        case pugi::status_bad_cdata: return "błędna sekcja CDATA";
        case pugi::status_bad_doctype: return "błędna deklaracja DOCTYPE";
        case pugi::status_bad_pcdata: return "błędny tekst elementu";
        case pugi::status_bad_start_element: return "błędny znacznik otwierający";
        case pugi::status_bad_attribute: return "błędny atrybut";
        case pugi::status_bad_end_element: return "błędny znacznik zamykający";
        case pugi::status_end_element_mismatch: return "znacznik zamykający nie pasuje do otwierającego";
        case pugi::status_no_document_element: return "brak elementu głównego";
        default: return "błąd składni";
    }
}

// The parsed document over a buffer that the parser changes in place.
struct TDokument {
    std::string bufor;
    pugi::xml_document dok;
    pugi::xml_node korzen;
    double jednostka = 1.0;  // metres per unit of the file
};

// Metres per linear unit of the file's Units (metres when it names none).
double Jednostka(pugi::xml_node korzen, const TZrodlo& z) {
    const pugi::xml_node units = Dziecko(korzen, "Units");
    if (!units) return 1.0;
    for (pugi::xml_node u = units.first_child(); u; u = u.next_sibling()) {
        if (u.type() != pugi::node_element) continue;
        const std::string_view rodzaj = Lokalna(u.name());
        if (rodzaj != "Metric" && rodzaj != "Imperial") continue;
        const std::string_view j = u.attribute("linearUnit").value();
        if (j.empty()) return rodzaj == "Metric" ? 1.0 : 0.3048;
        if (RowneBezWielkosci(j, "meter") || RowneBezWielkosci(j, "metre")) return 1.0;
        if (RowneBezWielkosci(j, "kilometer")) return 1000.0;
        if (RowneBezWielkosci(j, "centimeter")) return 0.01;
        if (RowneBezWielkosci(j, "millimeter")) return 0.001;
        if (RowneBezWielkosci(j, "foot") || RowneBezWielkosci(j, "internationalFoot")) return 0.3048;
        if (RowneBezWielkosci(j, "USSurveyFoot") || RowneBezWielkosci(j, "surveyFoot")) return 1200.0 / 3937.0;
        z.Blad("Nieobsługiwana jednostka długości „" + Krotki(j) +
                   "” (obsługiwane: meter, kilometer, centimeter, millimeter, foot, USSurveyFoot).",
               u);
    }
    return 1.0;
}

void Parsuj(TDokument& d, const TZrodlo& z) {
    // Minimal parsing: element text kept inside its element (one node per
    // element), escapes expanded, the DOCTYPE kept to be looked at. Entities
    // declared in a DOCTYPE are never expanded by the parser; a file that
    // declares them is refused outright.
    const unsigned opcje = pugi::parse_minimal | pugi::parse_escapes | pugi::parse_embed_pcdata | pugi::parse_doctype;
    const pugi::xml_parse_result r = d.dok.load_buffer_inplace(d.bufor.data(), d.bufor.size(), opcje);
    if (!r) {
        // An element left open at the very end: the file was cut short.
        const bool uciety = r.offset >= static_cast<std::ptrdiff_t>(d.bufor.size()) &&
                            (r.status == pugi::status_end_element_mismatch ||
                             r.status == pugi::status_bad_end_element || r.status == pugi::status_bad_start_element ||
                             r.status == pugi::status_bad_pcdata);
        z.Blad("Plik nie jest poprawnym plikiem XML: " +
                   (uciety ? std::string("plik jest niepełny (ucięty)") : OpisBleduXML(r.status)) + ".",
               r.offset);
    }
    for (pugi::xml_node n = d.dok.first_child(); n; n = n.next_sibling()) {
        if (n.type() == pugi::node_doctype && std::strstr(n.value(), "ENTITY"))
            z.Blad("Plik deklaruje encje w DOCTYPE; program nie rozwija encji i nie wczytuje takich plików.", n);
    }
    d.korzen = d.dok.document_element();
    if (Lokalna(d.korzen.name()) != "LandXML")
        z.Blad("To nie jest plik LandXML: elementem głównym jest „" + Krotki(Lokalna(d.korzen.name())) + "”.",
               d.korzen);
    d.jednostka = Jednostka(d.korzen, z);
}

std::string NazwaPowierzchni(pugi::xml_node s, int nr) {
    const std::string_view n = s.attribute("name").value();
    return n.empty() ? "Powierzchnia " + std::to_string(nr) : std::string(n);
}

std::string NazwaTrasy(pugi::xml_node a, int nr) {
    const std::string_view n = a.attribute("name").value();
    return n.empty() ? "Trasa " + std::to_string(nr) : std::string(n);
}

std::vector<pugi::xml_node> Powierzchnie(pugi::xml_node korzen) {
    std::vector<pugi::xml_node> w;
    Dzieci(korzen, "Surfaces",
           [&](pugi::xml_node s) { Dzieci(s, "Surface", [&](pugi::xml_node p) { w.push_back(p); }); });
    return w;
}

std::vector<pugi::xml_node> Trasy(pugi::xml_node korzen) {
    std::vector<pugi::xml_node> w;
    Dzieci(korzen, "Alignments",
           [&](pugi::xml_node s) { Dzieci(s, "Alignment", [&](pugi::xml_node a) { w.push_back(a); }); });
    return w;
}

std::string Lista(const std::vector<std::string>& nazwy) {
    std::string w;
    for (const std::string& n : nazwy) w += (w.empty() ? "„" : ", „") + n + "”";
    return w.empty() ? "brak" : w;
}

// ---------------------------------------------------------------------------
// Surfaces.

// Point ids: whole numbers in a dense table when they fit, texts in a hash map otherwise.
class TIndeksPunktow {
public:
    // Raises BladKonwersji naming the point when an id is used twice.
    void Buduj(const std::vector<std::string_view>& ids, const std::vector<pugi::xml_node>& wezly, const TZrodlo& z,
               const std::string& powierzchnia) {
        const std::size_t n = ids.size();
        std::vector<std::int64_t> liczby;
        liczby.reserve(n);
        gesty_ = true;
        for (std::string_view id : ids) {
            std::int64_t v = 0;
            const auto [p, ec] = std::from_chars(id.data(), id.data() + id.size(), v);
            if (ec != std::errc() || p != id.data() + id.size()) {
                gesty_ = false;
                break;
            }
            liczby.push_back(v);
        }
        if (gesty_ && n > 0) {
            const auto [mn, mx] = std::minmax_element(liczby.begin(), liczby.end());
            min_ = *mn;
            const std::uint64_t zakres = static_cast<std::uint64_t>(*mx) - static_cast<std::uint64_t>(*mn);
            gesty_ = zakres <= 4 * static_cast<std::uint64_t>(n) + 1024;
        }
        auto powtorzony = [&](std::size_t i) {
            z.Blad("Punkt o id „" + Krotki(ids[i]) + "” występuje w powierzchni „" + powierzchnia + "” dwukrotnie.",
                   wezly[i]);
        };
        if (gesty_) {
            std::int64_t mx = min_;
            for (std::int64_t v : liczby) mx = std::max(mx, v);
            tablica_.assign(static_cast<std::size_t>(mx - min_ + 1), -1);
            for (std::size_t i = 0; i < n; ++i) {
                std::int32_t& m = tablica_[static_cast<std::size_t>(liczby[i] - min_)];
                if (m >= 0) powtorzony(i);
                m = static_cast<std::int32_t>(i);
            }
        } else {
            mapa_.reserve(n);
            for (std::size_t i = 0; i < n; ++i)
                if (!mapa_.emplace(ids[i], static_cast<std::int32_t>(i)).second) powtorzony(i);
        }
    }

    // Index of the point with this id; -1 when there is none.
    std::int32_t Znajdz(std::string_view id) const {
        if (gesty_) {
            std::int64_t v = 0;
            const auto [p, ec] = std::from_chars(id.data(), id.data() + id.size(), v);
            if (ec != std::errc() || p != id.data() + id.size()) return -1;
            if (v < min_ || v - min_ >= static_cast<std::int64_t>(tablica_.size())) return -1;
            return tablica_[static_cast<std::size_t>(v - min_)];
        }
        const auto it = mapa_.find(id);
        return it == mapa_.end() ? -1 : it->second;
    }

private:
    bool gesty_ = true;
    std::int64_t min_ = 0;
    std::vector<std::int32_t> tablica_;
    std::unordered_map<std::string_view, std::int32_t> mapa_;
};

struct TPowierzchnia {
    std::vector<TPunktSiatki> Punkty;
    std::vector<TTrojkat> Trojkaty;
};

std::size_t Policz(pugi::xml_node n, std::string_view nazwa) {
    std::size_t k = 0;
    Dzieci(n, nazwa, [&](pugi::xml_node) { ++k; });
    return k;
}

TPowierzchnia CzytajPowierzchnie(pugi::xml_node s, const std::string& nazwa, double jedn, const TZrodlo& z,
                                 const std::function<void(double)>& postep, double od, double doUlamka) {
    TPowierzchnia w;
    const pugi::xml_node def = Dziecko(s, "Definition");
    const pugi::xml_node pnts = Dziecko(def, "Pnts");
    const pugi::xml_node faces = Dziecko(def, "Faces");
    if (!def || !pnts || !faces)
        z.Blad("Powierzchnia „" + nazwa + "” nie ma definicji trójkątów (Definition z Pnts i Faces).", s);

    const std::size_t ileP = Policz(pnts, "P");
    const std::size_t ileF = Policz(faces, "F");
    const double krok = (doUlamka - od) / static_cast<double>(ileP + ileF + 1);
    std::size_t zrobione = 0;
    auto zglos = [&] {
        if (postep && (++zrobione & 0xFFFF) == 0) postep(od + krok * static_cast<double>(zrobione));
    };

    std::vector<std::string_view> ids;
    std::vector<pugi::xml_node> wezly;
    ids.reserve(ileP);
    wezly.reserve(ileP);
    w.Punkty.reserve(ileP);
    Dzieci(pnts, "P", [&](pugi::xml_node p) {
        const pugi::xml_attribute a = p.attribute("id");
        if (!a || !*a.value()) z.Blad("Punkt powierzchni „" + nazwa + "” nie ma atrybutu id.", p);
        std::string_view t = p.child_value();
        double v[3];
        for (double& x : v) {
            const std::string_view s1 = Slowo(t);
            if (!Liczba(s1, x))
                z.Blad("Punkt „" + Krotki(a.value()) + "”: „" + Krotki(p.child_value()) +
                           "” to nie są trzy liczby (północ, wschód, wysokość).",
                       p);
            x *= jedn;
            if (!(std::fabs(x) <= kNajwiekszaWspolrzedna))
                z.Blad("Punkt „" + Krotki(a.value()) +
                           "”: współrzędna jest poza dopuszczalnym zakresem (od -1e12 do 1e12).",
                       p);
        }
        if (!Slowo(t).empty())
            z.Blad("Punkt „" + Krotki(a.value()) + "”: więcej niż trzy liczby („" + Krotki(p.child_value()) + "”).", p);
        TPunktSiatki q;
        q.X = v[1];
        q.Y = v[0];
        q.Z = v[2];
        const std::string_view id = a.value();
        std::int32_t nr = 0;
        const auto [e, ec] = std::from_chars(id.data(), id.data() + id.size(), nr);
        q.Numer = (ec == std::errc() && e == id.data() + id.size()) ? nr
                                                                    : static_cast<std::int32_t>(w.Punkty.size() + 1);
        q.Nazwa.Ustaw(Utf8NaCp1250(id.substr(0, 20)));
        w.Punkty.push_back(q);
        ids.push_back(id);
        wezly.push_back(p);
        zglos();
    });
    TIndeksPunktow indeks;
    indeks.Buduj(ids, wezly, z, nazwa);
    wezly = {};

    w.Trojkaty.reserve(ileF);
    const TKolor kolor = KolorRodzaju(TEREN, ' ');
    Dzieci(faces, "F", [&](pugi::xml_node f) {
        zglos();
        const std::string_view niewid = f.attribute("i").value();
        if (niewid == "1" || RowneBezWielkosci(niewid, "true")) return;
        std::string_view t = f.child_value();
        std::int32_t nr[3];
        for (std::int32_t& k : nr) {
            const std::string_view id = Slowo(t);
            if (id.empty())
                z.Blad("Ściana powierzchni „" + nazwa + "” nie ma trzech punktów („" + Krotki(f.child_value()) + "”).",
                       f);
            k = indeks.Znajdz(id);
            if (k < 0)
                z.Blad("Ściana powierzchni „" + nazwa + "” wskazuje punkt o id „" + Krotki(id) +
                           "”, którego powierzchnia nie ma.",
                       f);
        }
        if (!Slowo(t).empty())
            z.Blad("Ściana powierzchni „" + nazwa + "” ma więcej niż trzy punkty („" + Krotki(f.child_value()) + "”).",
                   f);
        TTrojkat tr;
        tr.Nr1 = nr[0];
        tr.Nr2 = nr[1];
        tr.Nr3 = nr[2];
        const TPunktSiatki& a = w.Punkty[static_cast<std::size_t>(nr[0])];
        const TPunktSiatki& b = w.Punkty[static_cast<std::size_t>(nr[1])];
        const TPunktSiatki& c = w.Punkty[static_cast<std::size_t>(nr[2])];
        tr.X1 = a.X;
        tr.Y1 = a.Y;
        tr.Z1 = a.Z;
        tr.X2 = b.X;
        tr.Y2 = b.Y;
        tr.Z2 = b.Z;
        tr.X3 = c.X;
        tr.Y3 = c.Y;
        tr.Z3 = c.Z;
        tr.Xs = (a.X + b.X + c.X) / 3.0;
        tr.Ys = (a.Y + b.Y + c.Y) / 3.0;
        tr.Kolor = static_cast<std::int32_t>(kolor);
        w.Trojkaty.push_back(tr);
    });
    return w;
}

// ---------------------------------------------------------------------------
// The alignment.

enum class TRodzajElementu { Prosta, Luk, Klotoida };

struct TElementPliku {
    TRodzajElementu Rodzaj = TRodzajElementu::Prosta;
    pugi::xml_node Wezel;
    int Nr = 0;     // position in CoordGeom, from 1
    TPunkt2D P, K;  // start, end
    TPunkt2D Srodek, PI;
    bool MaPI = false;
    double Dlugosc = 0.0;            // a clothoid's length
    double Rpocz = 0.0, Rkon = 0.0;  // a clothoid's radii; infinity for a straight end
    int Obrot = 0;                   // +1 counter-clockwise (left), -1 clockwise, 0 not given
    TPunkt2D KierP, KierK;           // unit tangents at the start and the end (set later)
    int Strona = 0;                  // turn side found: +1 left, -1 right

    std::string Opis() const {
        const char* n = Rodzaj == TRodzajElementu::Prosta ? "Line"
                        : Rodzaj == TRodzajElementu::Luk  ? "Curve"
                                                          : "Spiral";
        return "Element nr " + std::to_string(Nr) + " (" + n + ")";
    }
    bool Wejsciowa() const { return Rodzaj == TRodzajElementu::Klotoida && std::isinf(Rpocz) && !std::isinf(Rkon); }
    bool Wyjsciowa() const { return Rodzaj == TRodzajElementu::Klotoida && !std::isinf(Rpocz) && std::isinf(Rkon); }
};

// One curve of the route: an arc with or without its two clothoids, or two clothoids alone.
struct TGrupa {
    int Wej = -1, Luk = -1, Wyj = -1;  // element indices
    int Pierwszy() const { return Wej >= 0 ? Wej : Luk; }
    int Ostatni() const { return Wyj >= 0 ? Wyj : Luk; }
};

// Which point of a built route element an element end of the file must meet.
enum class TMiejsce { Wierzcholek, PKP1, PL, KL, KKP2 };
struct TOdwzorowanie {
    int Zalom = 0;
    TMiejsce Miejsce = TMiejsce::Wierzcholek;
};

// Distance of q from the segment ab.
double OdOdcinka(TPunkt2D q, TPunkt2D a, TPunkt2D b) {
    const TPunkt2D ab = Odejmij(b, a);
    const double d2 = ab.X * ab.X + ab.Y * ab.Y;
    double t = d2 > 0 ? ((q.X - a.X) * ab.X + (q.Y - a.Y) * ab.Y) / d2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return Dl(Odejmij(q, Dodaj(a, Razy(ab, t))));
}

TPunkt2D PunktTrasy(const TOdwzorowanie& o) {
    const TElementTrasy& e = Trasa.ElementyTrasy[static_cast<std::size_t>(o.Zalom)];
    switch (o.Miejsce) {
        case TMiejsce::PKP1: return e.PunktPKP1;
        case TMiejsce::PL: return e.PunktPL;
        case TMiejsce::KL: return e.PunktKL;
        case TMiejsce::KKP2: return e.PunktKKP2;
        default: return {e.X, e.Y};
    }
}

// Keeps the route, the viewer lines and the current design parameters of
// before and puts them back: the trial build of an alignment changes nothing.
class TZachowanaTrasa {
public:
    TZachowanaTrasa()
        : trasa_(std::move(Trasa)), opis_(std::move(OpisTekst)), komunikaty_(std::move(KomunikatyTrasy)),
          parametry_(ParametryBiezace) {
        Trasa = DaneUstawieniaTrasy{};
        OpisTekst.clear();
        KomunikatyTrasy.clear();
    }
    ~TZachowanaTrasa() {
        Trasa = std::move(trasa_);
        OpisTekst = std::move(opis_);
        KomunikatyTrasy = std::move(komunikaty_);
        ParametryBiezace = parametry_;
    }
    TZachowanaTrasa(const TZachowanaTrasa&) = delete;
    TZachowanaTrasa& operator=(const TZachowanaTrasa&) = delete;

private:
    DaneUstawieniaTrasy trasa_;
    std::vector<std::string> opis_;
    std::vector<std::string> komunikaty_;
    TParametryProjektowe parametry_;
};

class TCzytnikTrasy {
public:
    TCzytnikTrasy(pugi::xml_node al, std::string nazwa, double jedn, const TZrodlo& z)
        : al_(al), nazwa_(std::move(nazwa)), jedn_(jedn), z_(z) {}

    std::vector<TZalom> Czytaj(double& pikStart) {
        pikStart = 0.0;
        if (const pugi::xml_attribute s = al_.attribute("staStart")) {
            if (!Liczba(s.value(), pikStart) || !(std::fabs(pikStart * jedn_) <= kNajwiekszaWspolrzedna))
                Blad("atrybut staStart „" + Krotki(s.value()) + "” nie jest liczbą od -1e12 do 1e12.", al_);
            pikStart *= jedn_;
        }
        CzytajElementy();
        Sprawdzciaglosc();
        Kierunki();
        Grupuj();
        Wierzcholki();
        Sprawdz();
        return zalomy_;
    }

private:
    [[noreturn]] void Blad(const std::string& tresc, pugi::xml_node n) const {
        z_.Blad("Trasa „" + nazwa_ + "”: " + tresc, n);
    }
    [[noreturn]] void Blad(const TElementPliku& e, const std::string& tresc) const {
        z_.Blad("Trasa „" + nazwa_ + "”: " + e.Opis() + " " + tresc, e.Wezel);
    }

    TPunkt2D Punkt(pugi::xml_node el, std::string_view nazwa, bool wymagany, bool* jest = nullptr) const {
        const pugi::xml_node n = Dziecko(el, nazwa);
        if (jest) *jest = static_cast<bool>(n);
        if (!n) {
            if (wymagany)
                Blad("element " + std::string(Lokalna(el.name())) + " nie ma punktu " + std::string(nazwa) + ".", el);
            return {};
        }
        std::string_view t = n.child_value();
        double pn = 0, pe = 0;
        if (!Liczba(Slowo(t), pn) || !Liczba(Slowo(t), pe))
            Blad("punkt " + std::string(nazwa) + " „" + Krotki(n.child_value()) +
                     "” nie zawiera współrzędnych (północ, wschód); odwołania do punktów (pntRef) nie są obsługiwane.",
                 n);
        const TPunkt2D p{pe * jedn_, pn * jedn_};
        if (!(std::fabs(p.X) <= kNajwiekszaWspolrzedna && std::fabs(p.Y) <= kNajwiekszaWspolrzedna))
            Blad("punkt " + std::string(nazwa) + " leży poza dopuszczalnym zakresem (od -1e12 do 1e12).", n);
        return p;
    }

    double Promien(pugi::xml_node el, const char* atrybut) const {
        const std::string_view t = el.attribute(atrybut).value();
        if (t.empty()) Blad("element Spiral nie ma atrybutu " + std::string(atrybut) + ".", el);
        if (RowneBezWielkosci(t, "INF") || RowneBezWielkosci(t, "infinity")) return INFINITY;
        double r = 0;
        if (!Liczba(t, r) || r < 0)
            Blad("atrybut " + std::string(atrybut) + " „" + Krotki(t) + "” nie jest promieniem.", el);
        if (r * jedn_ > kNajwiekszaWspolrzedna)
            Blad("atrybut " + std::string(atrybut) + " „" + Krotki(t) + "” jest poza dopuszczalnym zakresem (do 1e12).",
                 el);
        return r == 0 ? INFINITY : r * jedn_;  // a radius of 0 marks a straight end too
    }

    void CzytajElementy() {
        const pugi::xml_node cg = Dziecko(al_, "CoordGeom");
        if (!cg) Blad("brak geometrii (CoordGeom).", al_);
        int nr = 0;
        for (pugi::xml_node n = cg.first_child(); n; n = n.next_sibling()) {
            if (n.type() != pugi::node_element) continue;
            ++nr;
            const std::string_view rodzaj = Lokalna(n.name());
            TElementPliku e;
            e.Wezel = n;
            e.Nr = nr;
            const std::string_view rot = n.attribute("rot").value();
            e.Obrot = rot == "ccw" ? 1 : rot == "cw" ? -1 : 0;
            if (rodzaj == "Line") {
                e.Rodzaj = TRodzajElementu::Prosta;
            } else if (rodzaj == "Curve") {
                e.Rodzaj = TRodzajElementu::Luk;
                const std::string_view typ = n.attribute("crvType").value();
                if (!typ.empty() && typ != "arc")
                    Blad(e, "jest łukiem rodzaju „" + Krotki(typ) + "”; obsługiwane są tylko łuki kołowe (arc).");
                e.Srodek = Punkt(n, "Center", true);
            } else if (rodzaj == "Spiral") {
                e.Rodzaj = TRodzajElementu::Klotoida;
                const std::string_view typ = n.attribute("spiType").value();
                if (!typ.empty() && typ != "clothoid")
                    Blad(e, "jest krzywą przejściową rodzaju „" + Krotki(typ) +
                                "”; program buduje tylko klotoidy (clothoid) i nie przybliża innych krzywych.");
                e.Rpocz = Promien(n, "radiusStart");
                e.Rkon = Promien(n, "radiusEnd");
                if (!Liczba(n.attribute("length").value(), e.Dlugosc) || !(e.Dlugosc > 0) ||
                    !(e.Dlugosc * jedn_ <= kNajwiekszaWspolrzedna))
                    Blad(e, "nie ma dodatniej długości do 1e12 (atrybut length).");
                e.Dlugosc *= jedn_;
                e.PI = Punkt(n, "PI", false, &e.MaPI);
                if (std::isinf(e.Rpocz) == std::isinf(e.Rkon))
                    Blad(e, "łączy dwa łuki albo dwie proste; program buduje tylko klotoidę między prostą a łukiem.");
            } else if (rodzaj == "IrregularLine" || rodzaj == "Chain") {
                Blad("element CoordGeom nr " + std::to_string(nr) + " (" + std::string(rodzaj) +
                         ") nie jest obsługiwany (tylko Line, Curve, Spiral).",
                     n);
            } else {
                continue;  // feature data and the like
            }
            e.P = Punkt(n, "Start", true);
            e.K = Punkt(n, "End", true);
            el_.push_back(e);
        }
        if (el_.empty()) Blad("geometria (CoordGeom) nie ma elementów.", cg);
    }

    void Sprawdzciaglosc() const {
        for (std::size_t i = 1; i < el_.size(); ++i) {
            const double d = Dl(Odejmij(el_[i].P, el_[i - 1].K));
            if (d > kTolerancja)
                Blad(el_[i], "nie zaczyna się w końcu poprzedniego elementu (odstęp " + Milimetry(d) + " mm).");
        }
    }

    // The point at arc length L of a clothoid A^2 = R*L from the origin along +X, turning left.
    static TPunkt2D KoniecKlotoidy(double R, double L) {
        return PunktKlotoidy(TPunkt2D{0, 0}, 0.0, std::sqrt(R * L), L, false);
    }

    // Tangents at both ends of every element, from the coordinates only.
    void Kierunki() {
        const std::size_t n = el_.size();
        for (std::size_t i = 0; i < n; ++i) {
            TElementPliku& e = el_[i];
            const TElementPliku* pop = i > 0 ? &el_[i - 1] : nullptr;
            const bool popKier = pop && !(pop->Rodzaj == TRodzajElementu::Prosta && Dl(Odejmij(pop->K, pop->P)) == 0);
            switch (e.Rodzaj) {
                case TRodzajElementu::Prosta: {
                    const TPunkt2D d = Odejmij(e.K, e.P);
                    if (Dl(d) == 0) {
                        // A straight of zero length (between two curves) takes the direction it joins.
                        e.KierP = e.KierK = popKier ? pop->KierK : TPunkt2D{1, 0};
                    } else {
                        e.KierP = e.KierK = Jednostkowy(d);
                    }
                    break;
                }
                case TRodzajElementu::Luk: {
                    const TPunkt2D rp = Odejmij(e.P, e.Srodek), rk = Odejmij(e.K, e.Srodek);
                    if (Dl(rp) < kTolerancja) Blad(e, "ma środek w punkcie początkowym.");
                    if (std::fabs(Dl(rp) - Dl(rk)) > kTolerancja)
                        Blad(e, "ma początek i koniec w różnych odległościach od środka (" +
                                    Milimetry(Dl(rp) - Dl(rk)) + " mm).");
                    // The side: the centre lies on the inner side of the tangent coming in.
                    int s = 0;
                    if (popKier) s = Wektorowy(pop->KierK, rp) < 0 ? 1 : -1;
                    if (s == 0) s = e.Obrot;
                    if (s == 0) s = Wektorowy(rp, rk) >= 0 ? 1 : -1;
                    e.Strona = s;
                    e.KierP = Jednostkowy(Razy(Prostopadly(rp), s));
                    e.KierK = Jednostkowy(Razy(Prostopadly(rk), s));
                    break;
                }
                case TRodzajElementu::Klotoida: {
                    const TPunkt2D cieciwa = Odejmij(e.K, e.P);
                    if (Dl(cieciwa) < kTolerancja) Blad(e, "ma początek i koniec w jednym punkcie.");
                    const double R = e.Wejsciowa() ? e.Rkon : e.Rpocz;
                    const double tau = e.Dlugosc / (2 * R);
                    int s = 0;
                    if (e.MaPI) {
                        const TPunkt2D t1 = Odejmij(e.PI, e.P), t2 = Odejmij(e.K, e.PI);
                        if (Dl(t1) < kTolerancja || Dl(t2) < kTolerancja) Blad(e, "ma punkt PI w swoim końcu.");
                        s = Wektorowy(t1, t2) >= 0 ? 1 : -1;
                    } else if (popKier && e.Wejsciowa()) {
                        s = Wektorowy(pop->KierK, cieciwa) >= 0 ? 1 : -1;
                    } else if (pop && !e.Wejsciowa() && pop->Strona != 0) {
                        s = pop->Strona;  // a leaving clothoid turns as the curve before it
                    } else {
                        s = e.Obrot;
                    }
                    if (s == 0)
                        Blad(e, "nie ma punktu PI ani kierunku obrotu (rot): nie wiadomo, w którą stronę skręca.");
                    e.Strona = s;
                    // The chord's angle to the straight end's tangent.
                    const TPunkt2D q = KoniecKlotoidy(R, e.Dlugosc);
                    const double fi = std::atan2(q.Y, q.X);
                    const TPunkt2D c = Jednostkowy(cieciwa);
                    if (e.Wejsciowa()) {
                        e.KierP = Obroc(c, -s * fi);
                        e.KierK = Obroc(e.KierP, s * tau);
                    } else {
                        e.KierK = Obroc(c, s * fi);
                        e.KierP = Obroc(e.KierK, -s * tau);
                    }
                    break;
                }
            }
        }
    }

    // Curves out of the elements between the straights.
    void Grupuj() {
        TGrupa g;
        bool otwarta = false;
        auto zamknij = [&](int i) {
            if (!otwarta) return;
            if (g.Wej >= 0 && g.Wyj < 0) {
                const TElementPliku& e = el_[static_cast<std::size_t>(g.Wej)];
                Blad(e, i < 0 ? "kończy trasę bez klotoidy wyjściowej; program buduje łuk z klotoidami po obu stronach."
                              : "nie ma po łuku klotoidy wyjściowej; program buduje łuk z klotoidami po obu stronach.");
            }
            grupy_.push_back(g);
            g = TGrupa{};
            otwarta = false;
        };
        for (int i = 0; i < static_cast<int>(el_.size()); ++i) {
            const TElementPliku& e = el_[static_cast<std::size_t>(i)];
            if (e.Rodzaj == TRodzajElementu::Prosta) {
                zamknij(i);
            } else if (e.Rodzaj == TRodzajElementu::Luk) {
                if (otwarta && g.Wej >= 0 && g.Luk < 0) {
                    g.Luk = i;
                } else {
                    if (otwarta && g.Wej >= 0)
                        Blad(e, "następuje po łuku z klotoidą bez klotoidy wyjściowej między nimi.");
                    zamknij(i);
                    g.Luk = i;
                    otwarta = true;
                }
            } else if (e.Wejsciowa()) {
                if (otwarta && g.Wej >= 0)
                    Blad(e,
                         "jest klotoidą wejściową w miejscu klotoidy wyjściowej (klotoida między dwoma łukami "
                         "bez prostej nie jest obsługiwana).");
                zamknij(i);
                g.Wej = i;
                otwarta = true;
            } else {  // a leaving clothoid
                if (!otwarta || g.Wej < 0)
                    Blad(e, g.Luk >= 0 ? "kończy łuk, który nie zaczyna się klotoidą; program buduje łuk z klotoidami "
                                         "po obu stronach albo bez klotoid."
                                       : "jest klotoidą wyjściową, przed którą nie ma łuku ani klotoidy wejściowej.");
                g.Wyj = i;
                zamknij(i);
            }
        }
        zamknij(-1);
    }

    // The intersection of the tangent line through a with direction da and the one through b with direction db.
    bool Przeciecie(TPunkt2D a, TPunkt2D da, TPunkt2D b, TPunkt2D db, TPunkt2D& w) const {
        const double m = Wektorowy(da, db);
        if (std::fabs(m) < 1e-9) return false;
        const double t = Wektorowy(Odejmij(b, a), db) / m;
        const double u = Wektorowy(da, Odejmij(b, a)) / m;
        if (!(t > 0 && u > 0)) return false;  // the vertex must lie ahead of the start and behind the end
        w = Dodaj(a, Razy(da, t));
        return true;
    }

    void DodajZalom(TPunkt2D p, double R, double A1, double A2) {
        TZalom z;
        const int k = static_cast<int>(zalomy_.size());
        z.Nazwa.Ustaw(Utf8NaCp1250(k == 0 ? "Początek trasy" : "Załom " + std::to_string(k)));
        z.X = p.X;
        z.Y = p.Y;
        z.R = static_cast<float>(R);
        z.A1 = static_cast<float>(A1);
        z.A2 = static_cast<float>(A2);
        zalomy_.push_back(z);
    }

    void Wierzcholki() {
        const int n = static_cast<int>(el_.size());
        auto E = [&](int i) -> const TElementPliku& { return el_[static_cast<std::size_t>(i)]; };
        auto O = [&](int i) -> std::pair<TOdwzorowanie, TOdwzorowanie>& { return odwz_[static_cast<std::size_t>(i)]; };
        odwz_.assign(static_cast<std::size_t>(n), {});
        std::vector<bool> koniecZnany(static_cast<std::size_t>(n), false);
        DodajZalom(el_[0].P, 0, 0, 0);
        TOdwzorowanie ostatni{0, TMiejsce::Wierzcholek};  // where the straight being walked starts
        std::size_t g = 0;
        for (int i = 0; i < n; ++i) {
            const TElementPliku& e = E(i);
            if (e.Rodzaj == TRodzajElementu::Prosta) {
                O(i).first = ostatni;
                // A bend between two straights without a curve: a vertex without an arc.
                if (i + 1 < n && E(i + 1).Rodzaj == TRodzajElementu::Prosta && Dl(Odejmij(e.K, e.P)) > 0 &&
                    Dl(Odejmij(E(i + 1).K, E(i + 1).P)) > 0 && std::fabs(Wektorowy(e.KierK, E(i + 1).KierP)) > 1e-9) {
                    DodajZalom(e.K, 0, 0, 0);
                    ostatni = {static_cast<int>(zalomy_.size()) - 1, TMiejsce::Wierzcholek};
                    O(i).second = ostatni;
                    koniecZnany[static_cast<std::size_t>(i)] = true;
                }
                continue;
            }
            // The first element of a curve: the whole curve becomes one vertex.
            const TGrupa& gr = grupy_[g++];
            const TElementPliku& p = E(gr.Pierwszy());
            const TElementPliku& k = E(gr.Ostatni());
            TPunkt2D v;
            if (!Przeciecie(p.P, p.KierP, k.K, k.KierK, v))
                Blad(p, "zaczyna łuk o kącie zwrotu 0 albo co najmniej 180°, którego trasa programu nie wyrazi.");
            double R = 0, A1 = 0, A2 = 0;
            if (gr.Luk >= 0) {
                const TElementPliku& l = E(gr.Luk);
                R = (Dl(Odejmij(l.P, l.Srodek)) + Dl(Odejmij(l.K, l.Srodek))) / 2;
            } else {
                R = p.Rkon;
            }
            if (gr.Wej >= 0) {
                A1 = std::sqrt(R * E(gr.Wej).Dlugosc);
                A2 = std::sqrt(R * E(gr.Wyj).Dlugosc);
            }
            DodajZalom(v, R, A1, A2);
            const int z = static_cast<int>(zalomy_.size()) - 1;
            if (gr.Wej >= 0) O(gr.Wej) = {{z, TMiejsce::PKP1}, {z, TMiejsce::PL}};
            if (gr.Luk >= 0) O(gr.Luk) = {{z, TMiejsce::PL}, {z, TMiejsce::KL}};
            if (gr.Wyj >= 0) O(gr.Wyj) = {{z, TMiejsce::KL}, {z, TMiejsce::KKP2}};
            ostatni = O(gr.Ostatni()).second;
            i = gr.Ostatni();
        }
        // The end of the route: the end of the last element.
        const TPunkt2D koniec = el_.back().K;
        if (Dl(Odejmij(koniec, TPunkt2D{zalomy_.back().X, zalomy_.back().Y})) == 0)
            Blad(el_.back(), "kończy się w wierzchołku trasy (krzywa na samym końcu trasy bez kierunku wyjścia).");
        DodajZalom(koniec, 0, 0, 0);
        const TOdwzorowanie kon{static_cast<int>(zalomy_.size()) - 1, TMiejsce::Wierzcholek};
        // A straight ends where the straight run it belongs to ends: at the
        // next curve's start, at the next bend or at the route's end.
        for (int i = n - 1; i >= 0; --i) {
            if (E(i).Rodzaj != TRodzajElementu::Prosta || koniecZnany[static_cast<std::size_t>(i)]) continue;
            if (i == n - 1)
                O(i).second = kon;
            else if (E(i + 1).Rodzaj == TRodzajElementu::Prosta)
                O(i).second = O(i + 1).second;
            else
                O(i).second = O(i + 1).first;
        }
    }

    // A trial build on the vertices; every element's start and end must meet the built route.
    void Sprawdz() const {
        TZachowanaTrasa zachowana;
        // Built near the origin: the check does not depend on the size of grid coordinates.
        const TPunkt2D o{zalomy_[0].X, zalomy_[0].Y};
        Trasa.Zalomy = zalomy_;
        for (TZalom& z : Trasa.Zalomy) {
            z.X -= o.X;
            z.Y -= o.Y;
        }
        Trasa.GeometriaZPliku = true;
        ObliczTrase();
        if (!Trasa.Obliczona)
            Blad("program nie może zbudować tej trasy: " +
                     (KomunikatyTrasy.empty() ? std::string("błąd geometrii") : KomunikatyTrasy[0]),
                 al_);
        for (std::size_t i = 0; i < el_.size(); ++i) {
            const TElementPliku& e = el_[i];
            const TPunkt2D p = Dodaj(PunktTrasy(odwz_[i].first), o);
            const TPunkt2D k = Dodaj(PunktTrasy(odwz_[i].second), o);
            // A straight may be one of several pieces of one straight of the
            // route: its ends must lie on that straight; a curve's ends must
            // meet the curve's ends.
            const bool prosta = e.Rodzaj == TRodzajElementu::Prosta;
            const double dp = prosta ? OdOdcinka(e.P, p, k) : Dl(Odejmij(p, e.P));
            const double dk = prosta ? OdOdcinka(e.K, p, k) : Dl(Odejmij(k, e.K));
            if (!(dp <= kTolerancja))
                Blad(e, "nie leży na trasie zbudowanej przez program: jego początek jest " + Milimetry(dp) +
                            " mm od niej (dopuszczalny 1 mm).");
            if (!(dk <= kTolerancja))
                Blad(e, "nie leży na trasie zbudowanej przez program: jego koniec jest " + Milimetry(dk) +
                            " mm od niej (dopuszczalny 1 mm).");
        }
    }

    pugi::xml_node al_;
    std::string nazwa_;
    double jedn_;
    const TZrodlo& z_;
    std::vector<TElementPliku> el_;
    std::vector<TGrupa> grupy_;
    std::vector<std::pair<TOdwzorowanie, TOdwzorowanie>> odwz_;
    std::vector<TZalom> zalomy_;
};

TDaneWczytane CzytajDokument(TDokument& d, const TZrodlo& z, const TWyborLandXML& wybor, const TPostep& postep) {
    if (postep) postep(0.0);
    Parsuj(d, z);
    if (postep) postep(0.3);
    TDaneWczytane w;

    const std::vector<pugi::xml_node> pow = Powierzchnie(d.korzen);
    const std::vector<pugi::xml_node> tr = Trasy(d.korzen);
    std::vector<std::string> nazwyPow, nazwyTras;
    for (std::size_t i = 0; i < pow.size(); ++i) nazwyPow.push_back(NazwaPowierzchni(pow[i], static_cast<int>(i + 1)));
    for (std::size_t i = 0; i < tr.size(); ++i) nazwyTras.push_back(NazwaTrasy(tr[i], static_cast<int>(i + 1)));
    if (pow.empty() && tr.empty())
        z.Blad("Plik LandXML nie zawiera powierzchni (Surfaces) ani tras (Alignments).", d.korzen);
    if ((wybor.BezTerenu || pow.empty()) && wybor.Proj.empty() && (wybor.BezTrasy || tr.empty()))
        z.Blad("Z pliku LandXML nie wybrano niczego do wczytania (ani terenu, ani projektu, ani trasy).", d.korzen);

    auto znajdz = [&](const std::string& nazwa, const char* co) -> int {
        for (std::size_t i = 0; i < nazwyPow.size(); ++i)
            if (nazwyPow[i] == nazwa) return static_cast<int>(i);
        z.Blad(
            "Plik nie zawiera powierzchni „" + nazwa + "” (" + co + "). Powierzchnie w pliku: " + Lista(nazwyPow) + ".",
            d.korzen);
    };
    int teren = -1, proj = -1;
    if (wybor.BezTerenu)
        teren = -1;
    else if (!wybor.Teren.empty())
        teren = znajdz(wybor.Teren, "--teren");
    else if (!pow.empty())
        teren = 0;
    if (!wybor.Proj.empty()) proj = znajdz(wybor.Proj, "--proj");

    const double od = 0.3, doUlamka = 0.9;
    const double polowa = proj >= 0 && teren >= 0 ? (od + doUlamka) / 2 : doUlamka;
    if (teren >= 0) {
        TPowierzchnia p = CzytajPowierzchnie(pow[static_cast<std::size_t>(teren)],
                                             nazwyPow[static_cast<std::size_t>(teren)], d.jednostka, z, postep, od,
                                             polowa);
        w.PunktyTEREN = std::move(p.Punkty);
        w.TrojkatyTEREN = std::move(p.Trojkaty);
        w.LinieTEREN = std::vector<TLinia>{};
    }
    if (proj >= 0) {
        TPowierzchnia p = CzytajPowierzchnie(pow[static_cast<std::size_t>(proj)],
                                             nazwyPow[static_cast<std::size_t>(proj)], d.jednostka, z, postep, polowa,
                                             doUlamka);
        w.PunktyPROJ = std::move(p.Punkty);
        w.TrojkatyPROJ = std::move(p.Trojkaty);
        w.LiniePROJ = std::vector<TLinia>{};
    }

    int trasa = -1;
    if (wybor.BezTrasy) {
        trasa = -1;
    } else if (!wybor.Trasa.empty()) {
        for (std::size_t i = 0; i < nazwyTras.size(); ++i)
            if (nazwyTras[i] == wybor.Trasa) trasa = static_cast<int>(i);
        if (trasa < 0)
            z.Blad("Plik nie zawiera trasy „" + wybor.Trasa + "” (--trasa). Trasy w pliku: " + Lista(nazwyTras) + ".",
                   d.korzen);
    } else if (!tr.empty()) {
        trasa = 0;
    }
    if (trasa >= 0) {
        const std::string& nazwa = nazwyTras[static_cast<std::size_t>(trasa)];
        TCzytnikTrasy ct(tr[static_cast<std::size_t>(trasa)], nazwa, d.jednostka, z);
        w.Zalomy = ct.Czytaj(w.PikStart);
        w.GeometriaZPliku = true;
        w.Pochodzenie = "LandXML " + std::string(z.nazwa) + ", trasa „" + nazwa + "”";
    }
    if (postep) postep(1.0);
    return w;
}

// ---------------------------------------------------------------------------
// Writing.

std::string L(double v, int miejsca) {
    char b[64];
    const auto [k, ec] = std::to_chars(b, b + sizeof b, v, std::chars_format::fixed, miejsca);
    if (ec != std::errc()) return "0";
    std::string s(b, k);
    if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
    return s;
}

// A plan point "northing easting" in file coordinates.
std::string NE(TPunkt2D p, TPunkt2D o) { return L(p.Y + o.Y, 6) + " " + L(p.X + o.X, 6); }

struct TKluczPunktu {
    double X, Y, Z;
    bool operator==(const TKluczPunktu& o) const { return X == o.X && Y == o.Y && Z == o.Z; }
};
struct THashPunktu {
    std::size_t operator()(const TKluczPunktu& k) const {
        std::uint64_t a, b, c;
        std::memcpy(&a, &k.X, 8);
        std::memcpy(&b, &k.Y, 8);
        std::memcpy(&c, &k.Z, 8);
        return static_cast<std::size_t>((a * 0x9E3779B97F4A7C15ull) ^ (b * 0xC2B2AE3D27D4EB4Full) ^ (c + (a >> 17)));
    }
};

void PiszPowierzchnie(std::ostream& o, const TSiatka& s, const char* nazwa, const TPunkt3D& poczatek) {
    std::unordered_map<TKluczPunktu, std::int32_t, THashPunktu> numery;
    numery.reserve(s.Trojkaty.size());
    std::vector<TKluczPunktu> punkty;
    std::vector<std::array<std::int32_t, 3>> sciany;
    sciany.reserve(s.Trojkaty.size());
    auto numer = [&](double x, double y, double z) {
        const TKluczPunktu k{x, y, z};
        auto [it, nowy] = numery.emplace(k, static_cast<std::int32_t>(punkty.size() + 1));
        if (nowy) punkty.push_back(k);
        return it->second;
    };
    for (const TTrojkat& t : s.Trojkaty)
        sciany.push_back({numer(t.X1, t.Y1, t.Z1), numer(t.X2, t.Y2, t.Z2), numer(t.X3, t.Y3, t.Z3)});
    o << "    <Surface name=\"" << nazwa << "\">\n      <Definition surfType=\"TIN\">\n        <Pnts>\n";
    std::string bufor;
    for (std::size_t i = 0; i < punkty.size(); ++i) {
        const TKluczPunktu& p = punkty[i];
        bufor.clear();
        bufor += "          <P id=\"" + std::to_string(i + 1) + "\">" + L(p.Y + poczatek.Y, 6) + " " +
                 L(p.X + poczatek.X, 6) + " " + L(p.Z + poczatek.Z, 6) + "</P>\n";
        o << bufor;
    }
    o << "        </Pnts>\n        <Faces>\n";
    for (const auto& f : sciany) o << "          <F>" << f[0] << ' ' << f[1] << ' ' << f[2] << "</F>\n";
    o << "        </Faces>\n      </Definition>\n    </Surface>\n";
}

void PiszTrase(std::ostream& o) {
    const auto& el = Trasa.ElementyTrasy;
    const int n = std::min(Trasa.IleZalomow(), static_cast<int>(el.size()));
    const TPunkt2D poczatek{Trasa.Dx, Trasa.Dy};
    const double staStart = Trasa.PikStart + Trasa.PikMin;
    o << "  <Alignments name=\"TRASA\">\n";
    o << "    <Alignment name=\"TRASA\" length=\"" << L(static_cast<double>(Trasa.PikMax) - Trasa.PikMin, 6)
      << "\" staStart=\"" << L(staStart, 6) << "\">\n      <CoordGeom>\n";
    auto linia = [&](TPunkt2D a, TPunkt2D b) {
        const double d = Odleglosc2D(a.X, a.Y, b.X, b.Y);
        if (d < 1e-9) return;
        o << "        <Line length=\"" << L(d, 6) << "\"><Start>" << NE(a, poczatek) << "</Start><End>"
          << NE(b, poczatek) << "</End></Line>\n";
    };
    auto klotoida = [&](TPunkt2D s, TPunkt2D k, TPunkt2D kierunek, const TKlotoida& kl, bool prawo, bool wejsciowa) {
        // PI: where the straight end's tangent meets the tangent at the circle end.
        const double dlugaStyczna = kl.Xk - kl.Yk / std::tan(kl.Tau);
        const TPunkt2D pi = wejsciowa ? Dodaj(s, Razy(kierunek, dlugaStyczna))
                                      : Odejmij(k, Razy(kierunek, dlugaStyczna));
        o << "        <Spiral length=\"" << L(kl.L, 6) << "\" radiusStart=\""
          << (wejsciowa ? std::string("INF") : L(kl.R, 6)) << "\" radiusEnd=\""
          << (wejsciowa ? L(kl.R, 6) : std::string("INF")) << "\" rot=\"" << (prawo ? "cw" : "ccw")
          << "\" spiType=\"clothoid\"><Start>" << NE(s, poczatek) << "</Start><PI>" << NE(pi, poczatek) << "</PI><End>"
          << NE(k, poczatek) << "</End></Spiral>\n";
    };
    TPunkt2D biezacy{el[0].X, el[0].Y};
    for (int i = 1; i < n; ++i) {
        const TElementTrasy& e = el[static_cast<std::size_t>(i)];
        linia(biezacy, e.PunktPKP1);
        if (!e.JestLuk) {
            biezacy = {e.X, e.Y};
            continue;
        }
        const TPunkt2D v{e.X, e.Y};
        const TPunkt2D d1 = Jednostkowy(
            Odejmij(v, TPunkt2D{el[static_cast<std::size_t>(i - 1)].X, el[static_cast<std::size_t>(i - 1)].Y}));
        const TPunkt2D d2 = Jednostkowy(
            Odejmij(TPunkt2D{el[static_cast<std::size_t>(i + 1)].X, el[static_cast<std::size_t>(i + 1)].Y}, v));
        if (e.JestKlotoida) klotoida(e.PunktPKP1, e.PunktPL, d1, e.Klotoida1, e.LukWPrawo, true);
        // The arc's PI: where its end tangents meet.
        const double kat = e.KatKL - e.KatPL;
        const TPunkt2D sPL = Jednostkowy(Razy(Prostopadly(Odejmij(e.PunktPL, e.Srodek)), e.LukWPrawo ? -1.0 : 1.0));
        const TPunkt2D pi = Dodaj(e.PunktPL, Razy(sPL, e.R * std::tan(kat / 2)));
        o << "        <Curve rot=\"" << (e.LukWPrawo ? "cw" : "ccw") << "\" crvType=\"arc\" length=\""
          << L(e.DlugoscLuku, 6) << "\" radius=\"" << L(e.R, 6) << "\"><Start>" << NE(e.PunktPL, poczatek)
          << "</Start><Center>" << NE(e.Srodek, poczatek) << "</Center><End>" << NE(e.PunktKL, poczatek) << "</End><PI>"
          << NE(pi, poczatek) << "</PI></Curve>\n";
        if (e.JestKlotoida) klotoida(e.PunktKL, e.PunktKKP2, d2, e.Klotoida2, e.LukWPrawo, false);
        biezacy = e.PunktKKP2;
    }
    linia(biezacy, TPunkt2D{el[static_cast<std::size_t>(n - 1)].X, el[static_cast<std::size_t>(n - 1)].Y});
    o << "      </CoordGeom>\n    </Alignment>\n  </Alignments>\n";
}

}  // namespace

// ---------------------------------------------------------------------------

TSpisLandXML SpisLandXML(std::string_view dane, std::string_view nazwa) {
    TDokument d;
    d.bufor.assign(dane);
    const TZrodlo z{nazwa, [dane] { return dane; }};
    Parsuj(d, z);
    TSpisLandXML w;
    const std::vector<pugi::xml_node> pow = Powierzchnie(d.korzen);
    const std::vector<pugi::xml_node> tr = Trasy(d.korzen);
    for (std::size_t i = 0; i < pow.size(); ++i)
        w.Powierzchnie.push_back(NazwaPowierzchni(pow[i], static_cast<int>(i + 1)));
    for (std::size_t i = 0; i < tr.size(); ++i) w.Trasy.push_back(NazwaTrasy(tr[i], static_cast<int>(i + 1)));
    return w;
}

TSpisLandXML SpisPlikuLandXML(const std::string& nazwaPliku) {
    const std::string tresc = CzytajCalyPlik(nazwaPliku);
    return SpisLandXML(tresc, nazwaPliku);
}

TDaneWczytane CzytajLandXML(std::string_view dane, std::string_view nazwa, const TWyborLandXML& wybor,
                            const TPostep& postep) {
    TDokument d;
    d.bufor.assign(dane);
    const TZrodlo z{nazwa, [dane] { return dane; }};
    return CzytajDokument(d, z, wybor, postep);
}

TDaneWczytane CzytajPlikLandXML(const std::string& nazwaPliku, const TWyborLandXML& wybor, const TPostep& postep) {
    // The file's own buffer is parsed in place (no second copy of a large
    // file); a message's line number is counted in the file read again.
    TDokument d;
    d.bufor = CzytajCalyPlik(nazwaPliku);
    std::string oryginal;
    const TZrodlo z{nazwaPliku, [&]() -> std::string_view {
                        try {
                            oryginal = CzytajCalyPlik(nazwaPliku);
                        } catch (const BladKonwersji&) {
                            oryginal.clear();
                        }
                        return oryginal;
                    }};
    return CzytajDokument(d, z, wybor, postep);
}

void ZapiszLandXML(std::ostream& o) {
    const bool teren = !TEREN.Trojkaty.empty(), proj = !PROJ.Trojkaty.empty();
    const bool trasa = Trasa.Obliczona && Trasa.IleZalomow() >= 2;
    if (!teren && !proj && !trasa)
        throw BladKonwersji("Nie ma czego zapisać: brak trójkątów TEREN i PROJ oraz obliczonej trasy.");
    const std::time_t t = std::time(nullptr);
    std::tm czas{};
    gmtime_r(&t, &czas);
    char data[16], godzina[16];
    std::strftime(data, sizeof data, "%Y-%m-%d", &czas);
    std::strftime(godzina, sizeof godzina, "%H:%M:%S", &czas);
    o << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.2\" version=\"1.2\" date=\"" << data << "\" time=\""
      << godzina << "\">\n"
      << "  <Units>\n    <Metric areaUnit=\"squareMeter\" linearUnit=\"meter\" volumeUnit=\"cubicMeter\" "
         "temperatureUnit=\"celsius\" pressureUnit=\"milliBars\" angularUnit=\"radians\" "
         "directionUnit=\"radians\"/>\n  </Units>\n"
      << "  <Application name=\"Orvany3D\" manufacturer=\"Orvany3D\"/>\n";
    // The meshes hold coordinates shifted by the load; the shift is the TEREN range's lowest corner.
    const TPunkt3D poczatek{Trasa.Dx, Trasa.Dy, TEREN.Zakres.Zmin};
    if (teren || proj) {
        o << "  <Surfaces>\n";
        if (teren) PiszPowierzchnie(o, TEREN, "TEREN", poczatek);
        if (proj) PiszPowierzchnie(o, PROJ, "PROJ", poczatek);
        o << "  </Surfaces>\n";
    }
    if (trasa) PiszTrase(o);
    o << "</LandXML>\n";
    if (!o) throw BladKonwersji("Błąd zapisu pliku LandXML.");
}
