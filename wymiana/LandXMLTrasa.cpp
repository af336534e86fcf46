// A LandXML alignment (CoordGeom: Line, Curve crvType="arc", Spiral
// spiType="clothoid") becomes route vertices: a vertex at every tangent
// intersection, R of the arc and A = sqrt(R*L) of its clothoids. The route is
// built on trial and every element start and end of the file must lie on it
// within 1 mm, or the load fails naming the element.
#include "wymiana/LandXMLWspolne.h"
#include "common/NazwyZPliku.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/Tekst.h"
#include "route/OblKlotka.h"
#include "route/OblTrasa.h"

namespace landxml {

namespace {

// An element start or end of the file may lie this far from the built route.
constexpr double kTolerancja = 0.001;
constexpr double kPi = 3.14159265358979323846;

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
    const TPunkt2D ab = b - a;
    const double d2 = ab.X * ab.X + ab.Y * ab.Y;
    double t = d2 > 0 ? ((q.X - a.X) * ab.X + (q.Y - a.Y) * ab.Y) / d2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return Dlugosc(q - (a + ab * t));
}

TPunkt2D PunktTrasy(const DaneUstawieniaTrasy& t, const TOdwzorowanie& o) {
    const TElementTrasy& e = t.ElementyTrasy[static_cast<std::size_t>(o.Zalom)];
    switch (o.Miejsce) {
        case TMiejsce::PKP1: return e.PunktPKP1;
        case TMiejsce::PL: return e.PunktPL;
        case TMiejsce::KL: return e.PunktKL;
        case TMiejsce::KKP2: return e.PunktKKP2;
        default: return {e.X, e.Y};
    }
}

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
        z_.Blad("Trasa " + CytatZPliku(nazwa_) + ": " + tresc, n);
    }
    [[noreturn]] void Blad(const TElementPliku& e, const std::string& tresc) const {
        z_.Blad("Trasa " + CytatZPliku(nazwa_) + ": " + e.Opis() + " " + tresc, e.Wezel);
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
            const double d = Dlugosc(el_[i].P - el_[i - 1].K);
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
            const bool popKier = pop && !(pop->Rodzaj == TRodzajElementu::Prosta && Dlugosc(pop->K - pop->P) == 0);
            switch (e.Rodzaj) {
                case TRodzajElementu::Prosta: {
                    const TPunkt2D d = e.K - e.P;
                    if (Dlugosc(d) == 0) {
                        // A straight of zero length (between two curves) takes the direction it joins.
                        e.KierP = e.KierK = popKier ? pop->KierK : TPunkt2D{1, 0};
                    } else {
                        e.KierP = e.KierK = Jednostkowy(d);
                    }
                    break;
                }
                case TRodzajElementu::Luk: {
                    const TPunkt2D rp = e.P - e.Srodek, rk = e.K - e.Srodek;
                    if (Dlugosc(rp) < kTolerancja) Blad(e, "ma środek w punkcie początkowym.");
                    if (std::fabs(Dlugosc(rp) - Dlugosc(rk)) > kTolerancja)
                        Blad(e, "ma początek i koniec w różnych odległościach od środka (" +
                                    Milimetry(Dlugosc(rp) - Dlugosc(rk)) + " mm).");
                    // The side: the centre lies on the inner side of the tangent coming in.
                    int s = 0;
                    if (popKier) s = IloczynWektorowy(pop->KierK, rp) < 0 ? 1 : -1;
                    if (s == 0) s = e.Obrot;
                    if (s == 0) s = IloczynWektorowy(rp, rk) >= 0 ? 1 : -1;
                    e.Strona = s;
                    e.KierP = Jednostkowy(Prostopadly(rp) * s);
                    e.KierK = Jednostkowy(Prostopadly(rk) * s);
                    break;
                }
                case TRodzajElementu::Klotoida: {
                    const TPunkt2D cieciwa = e.K - e.P;
                    if (Dlugosc(cieciwa) < kTolerancja) Blad(e, "ma początek i koniec w jednym punkcie.");
                    const double R = e.Wejsciowa() ? e.Rkon : e.Rpocz;
                    const double tau = e.Dlugosc / (2 * R);
                    int s = 0;
                    if (e.MaPI) {
                        const TPunkt2D t1 = e.PI - e.P, t2 = e.K - e.PI;
                        if (Dlugosc(t1) < kTolerancja || Dlugosc(t2) < kTolerancja)
                            Blad(e, "ma punkt PI w swoim końcu.");
                        s = IloczynWektorowy(t1, t2) >= 0 ? 1 : -1;
                    } else if (popKier && e.Wejsciowa()) {
                        s = IloczynWektorowy(pop->KierK, cieciwa) >= 0 ? 1 : -1;
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
        const double m = IloczynWektorowy(da, db);
        if (std::fabs(m) < 1e-9) return false;
        const double t = IloczynWektorowy(b - a, db) / m;
        const double u = IloczynWektorowy(da, b - a) / m;
        if (!(t > 0 && u > 0)) return false;  // the vertex must lie ahead of the start and behind the end
        w = a + da * t;
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
                if (i + 1 < n && E(i + 1).Rodzaj == TRodzajElementu::Prosta && Dlugosc(e.K - e.P) > 0 &&
                    Dlugosc(E(i + 1).K - E(i + 1).P) > 0 &&
                    std::fabs(IloczynWektorowy(e.KierK, E(i + 1).KierP)) > 1e-9) {
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
                R = (Dlugosc(l.P - l.Srodek) + Dlugosc(l.K - l.Srodek)) / 2;
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
        if (Dlugosc(koniec - TPunkt2D{zalomy_.back().X, zalomy_.back().Y}) == 0)
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
        // Built near the origin: the check does not depend on the size of grid coordinates.
        const TPunkt2D o{zalomy_[0].X, zalomy_[0].Y};
        DaneUstawieniaTrasy trasa;
        trasa.Zalomy = zalomy_;
        for (TZalom& z : trasa.Zalomy) {
            z.X -= o.X;
            z.Y -= o.Y;
        }
        trasa.GeometriaZPliku = true;
        const std::vector<std::string> komunikaty = ObliczTrase(trasa, {});
        if (!trasa.Obliczona)
            Blad("program nie może zbudować tej trasy: " +
                     (komunikaty.empty() ? std::string("błąd geometrii") : komunikaty[0]),
                 al_);
        for (std::size_t i = 0; i < el_.size(); ++i) {
            const TElementPliku& e = el_[i];
            const TPunkt2D p = PunktTrasy(trasa, odwz_[i].first) + o;
            const TPunkt2D k = PunktTrasy(trasa, odwz_[i].second) + o;
            // A straight may be one of several pieces of one straight of the
            // route: its ends must lie on that straight; a curve's ends must
            // meet the curve's ends.
            const bool prosta = e.Rodzaj == TRodzajElementu::Prosta;
            const double dp = prosta ? OdOdcinka(e.P, p, k) : Dlugosc(p - e.P);
            const double dk = prosta ? OdOdcinka(e.K, p, k) : Dlugosc(k - e.K);
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

}  // namespace

std::vector<TZalom> CzytajTrase(pugi::xml_node al, const std::string& nazwa, double jedn, const TZrodlo& z,
                                double& pikStart) {
    TCzytnikTrasy ct(al, nazwa, jedn, z);
    return ct.Czytaj(pikStart);
}

}  // namespace landxml
