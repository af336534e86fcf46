#include "wymiana/LandXMLOsie.h"
#include "common/NazwyZPliku.h"
#include "wymiana/LandXMLOsieDokument.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "common/Funkcje.h"
#include "model/ZapisywanieOdczytywanie.h"
#include "wymiana/LandXMLWspolne.h"

using namespace landxml;

namespace {

constexpr double pi = std::numbers::pi;
constexpr double kNajwieksza = 1e12;
constexpr double kTolerancja = 0.001;

std::string L3(double v) {
    char b[64];
    std::snprintf(b, sizeof b, "%.3f", v);
    return b;
}

// Line numbers of the original text (the parser changes its buffer in place).
class TWiersze {
public:
    explicit TWiersze(std::string_view t) {
        for (std::size_t i = 0; i < t.size(); ++i)
            if (t[i] == '\n') konce_.push_back(i);
    }
    int Wiersz(pugi::xml_node n) const {
        if (!n) return 0;
        const auto p = static_cast<std::size_t>(std::max<std::ptrdiff_t>(n.offset_debug(), 0));
        return static_cast<int>(std::lower_bound(konce_.begin(), konce_.end(), p) - konce_.begin()) + 1;
    }

private:
    std::vector<std::size_t> konce_;
};

[[noreturn]] void Odmowa(const std::string& s) { throw BladKonwersji(s); }

struct TCzytnikOsi {
    double jedn;
    const TWiersze& wiersze;

    double Dlugosc(double v, const std::string& co, const std::string& opis) const {
        if (!std::isfinite(v) || std::fabs(v * jedn) > kNajwieksza)
            Odmowa(opis + ": " + co + " poza zakresem (do 1e12).");
        return v * jedn;
    }

    TPunkt2D Punkt(pugi::xml_node el, std::string_view nazwa, const std::string& opis, bool wymagany,
                   bool* jest = nullptr) const {
        const pugi::xml_node n = Dziecko(el, nazwa);
        if (jest) *jest = static_cast<bool>(n);
        if (!n) {
            if (wymagany) Odmowa(opis + " nie ma punktu " + std::string(nazwa) + ".");
            return {};
        }
        std::string_view t = n.child_value();
        double pn = 0, pe = 0;
        if (!Liczba(Slowo(t), pn) || !Liczba(Slowo(t), pe))
            Odmowa(opis + ": punkt " + std::string(nazwa) + " „" + Krotki(n.child_value()) +
                   "” nie zawiera współrzędnych (północ, wschód); odwołania do punktów (pntRef) nie są obsługiwane.");
        return {Dlugosc(pe, "współrzędna", opis), Dlugosc(pn, "współrzędna", opis)};
    }

    // Curvature of a clothoid end: 0 for INF, infinity or 0 (a straight end), else 1/R.
    double Krzywizna(pugi::xml_node el, const char* atrybut, const std::string& opis) const {
        const std::string_view t = el.attribute(atrybut).value();
        if (t.empty()) Odmowa(opis + " nie ma atrybutu " + atrybut + ".");
        std::string male(t);
        for (char& c : male) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (male == "inf" || male == "infinity") return 0.0;
        double r = 0;
        if (!Liczba(t, r) || r < 0) Odmowa(opis + ": atrybut " + atrybut + " „" + Krotki(t) + "” nie jest promieniem.");
        return r == 0 ? 0.0 : 1.0 / Dlugosc(r, std::string("atrybut ") + atrybut, opis);
    }

    // Start direction of a clothoid from its chord: the chord's angle less the
    // angle of the chord of the same clothoid laid from the origin along +X.
    static double KierunekZCieciwy(TElementOsi e, TPunkt2D P, TPunkt2D K) {
        e.Poczatek = {0, 0};
        e.Kierunek = 0;
        const TPunkt2D q = PunktElementu(e, e.Dlugosc);
        return std::atan2(K.Y - P.Y, K.X - P.X) - std::atan2(q.Y, q.X);
    }

    static double Roznica(double a, double b) { return std::fabs(std::remainder(a - b, 2 * pi)); }

    // `wierszBledu` follows the element being read (for a refusal's line).
    std::vector<TElementOsi> Elementy(pugi::xml_node cg, int& wierszBledu) const {
        std::vector<TElementOsi> w;
        int nr = 0;
        bool maKierunek = false;
        double kierunekKonca = 0;
        for (pugi::xml_node n = cg.first_child(); n; n = n.next_sibling()) {
            if (n.type() != pugi::node_element) continue;
            const std::string_view rodzaj = Lokalna(n.name());
            const int wiersz = wiersze.Wiersz(n);
            wierszBledu = wiersz;
            ++nr;
            TElementOsi e;
            e.Nr = nr;
            e.Wiersz = wiersz;
            if (rodzaj == "Line") {
                e.Rodzaj = TRodzajOsi::Prosta;
            } else if (rodzaj == "Curve") {
                e.Rodzaj = TRodzajOsi::Luk;
            } else if (rodzaj == "Spiral") {
                e.Rodzaj = TRodzajOsi::Klotoida;
            } else if (rodzaj == "IrregularLine" || rodzaj == "Chain" || rodzaj == "CurveSpiral") {
                Odmowa("element nr " + std::to_string(nr) + " (" + std::string(rodzaj) + ", wiersz " +
                       std::to_string(wiersz) + ") nie jest obsługiwany (tylko Line, Curve, Spiral).");
            } else {
                --nr;
                continue;  // feature data and the like
            }
            const std::string opis = OpisElementu(e);
            const TPunkt2D P = Punkt(n, "Start", opis, true);
            const TPunkt2D K = Punkt(n, "End", opis, true);
            const std::string_view rot = n.attribute("rot").value();
            int strona = rot == "ccw" ? 1 : rot == "cw" ? -1 : 0;
            e.Poczatek = P;
            if (e.Rodzaj == TRodzajOsi::Prosta) {
                e.Dlugosc = std::hypot(K.X - P.X, K.Y - P.Y);
                if (e.Dlugosc < 1e-9) continue;  // a line of no length between two curves adds nothing
                e.Kierunek = std::atan2(K.Y - P.Y, K.X - P.X);
            } else if (e.Rodzaj == TRodzajOsi::Luk) {
                const std::string_view typ = n.attribute("crvType").value();
                if (!typ.empty() && typ != "arc")
                    Odmowa(opis + " jest łukiem rodzaju „" + Krotki(typ) +
                           "”; obsługiwane są tylko łuki kołowe (arc).");
                const TPunkt2D C = Punkt(n, "Center", opis, true);
                const TPunkt2D rp{P.X - C.X, P.Y - C.Y}, rk{K.X - C.X, K.Y - C.Y};
                const double R = std::hypot(rp.X, rp.Y);
                if (R < kTolerancja) Odmowa(opis + " ma środek w punkcie początkowym.");
                if (std::fabs(R - std::hypot(rk.X, rk.Y)) > kTolerancja)
                    Odmowa(opis + " ma początek i koniec w różnych odległościach od środka (" +
                           Milimetry(R - std::hypot(rk.X, rk.Y)) + " mm).");
                // The side: rot, else the side of the centre from the direction coming in, else the PI.
                const double lewy = std::atan2(rp.Y, rp.X) + pi / 2;  // the tangent of a left turn
                if (strona == 0 && maKierunek) strona = Roznica(lewy, kierunekKonca) < pi / 2 ? 1 : -1;
                bool maPI = false;
                const TPunkt2D PI = Punkt(n, "PI", opis, false, &maPI);
                if (strona == 0 && maPI)
                    strona = (PI.X - P.X) * (K.Y - PI.Y) - (PI.Y - P.Y) * (K.X - PI.X) >= 0 ? 1 : -1;
                if (strona == 0)
                    Odmowa(opis + " nie ma kierunku obrotu (rot) ani punktu PI: nie wiadomo, w którą stronę skręca.");
                e.Kierunek = strona > 0 ? lewy : lewy - pi;
                double kat = strona * std::atan2(rp.X * rk.Y - rp.Y * rk.X, rp.X * rk.X + rp.Y * rk.Y);
                if (kat <= 0) kat += 2 * pi;
                e.Dlugosc = R * kat;
                e.K1 = e.K2 = strona / R;
            } else {
                const std::string_view typ = n.attribute("spiType").value();
                if (!typ.empty() && typ != "clothoid")
                    Odmowa(opis + " jest krzywą przejściową rodzaju „" + Krotki(typ) +
                           "”; program liczy tylko klotoidy (clothoid) i nie przybliża innych krzywych.");
                double dl = 0;
                if (!Liczba(n.attribute("length").value(), dl) || !(dl > 0))
                    Odmowa(opis + " nie ma dodatniej długości (atrybut length).");
                e.Dlugosc = Dlugosc(dl, "długość", opis);
                const double k1 = Krzywizna(n, "radiusStart", opis), k2 = Krzywizna(n, "radiusEnd", opis);
                if (k1 == 0 && k2 == 0) Odmowa(opis + " ma oba promienie nieskończone: to prosta, nie klotoida.");
                bool maPI = false;
                const TPunkt2D PI = Punkt(n, "PI", opis, false, &maPI);
                if (strona == 0 && maPI)
                    strona = (PI.X - P.X) * (K.Y - PI.Y) - (PI.Y - P.Y) * (K.X - PI.X) >= 0 ? 1 : -1;
                auto kierunek = [&](int s) {
                    TElementOsi t = e;
                    t.K1 = s * k1, t.K2 = s * k2;
                    return KierunekZCieciwy(t, P, K);
                };
                // Without rot and PI: the side whose start follows the direction coming in.
                if (strona == 0 && maKierunek)
                    strona = Roznica(kierunek(1), kierunekKonca) <= Roznica(kierunek(-1), kierunekKonca) ? 1 : -1;
                if (strona == 0)
                    Odmowa(opis + " nie ma kierunku obrotu (rot) ani punktu PI: nie wiadomo, w którą stronę skręca.");
                e.K1 = strona * k1;
                e.K2 = strona * k2;
                e.Kierunek = maPI && std::hypot(PI.X - P.X, PI.Y - P.Y) > kTolerancja
                                 ? std::atan2(PI.Y - P.Y, PI.X - P.X)
                                 : kierunek(strona);
            }
            UzupelnijElement(e);
            const TPunkt2D k = PunktElementu(e, e.Dlugosc);
            const double odch = std::hypot(k.X - K.X, k.Y - K.Y);
            if (odch > kTolerancja)
                Odmowa(opis + ": koniec obliczony z jego początku, kierunku i długości leży " + Milimetry(odch) +
                       " mm od jego punktu End.");
            maKierunek = true;
            kierunekKonca = KierunekElementu(e, e.Dlugosc);
            w.push_back(e);
        }
        return w;
    }

    TNiweleta Profil(pugi::xml_node pa, const std::string& nazwa) const {
        std::vector<TPVI> punkty;
        const std::string przed = "Niweleta " + CytatZPliku(nazwa) + ": ";
        for (pugi::xml_node n = pa.first_child(); n; n = n.next_sibling()) {
            if (n.type() != pugi::node_element) continue;
            const std::string_view rodzaj = Lokalna(n.name());
            TPVI p;
            p.Wiersz = wiersze.Wiersz(n);
            const std::string opis = przed + "element " + std::string(rodzaj) + " (wiersz " + std::to_string(p.Wiersz) +
                                     ")";
            auto atrybut = [&](const char* a) {
                double v = 0;
                if (!Liczba(n.attribute(a).value(), v) || !(v > 0))
                    Odmowa(opis + " nie ma dodatniego atrybutu " + a + ".");
                return Dlugosc(v, std::string("atrybut ") + a, opis);
            };
            if (rodzaj == "PVI") {
            } else if (rodzaj == "ParaCurve") {
                p.Luk = TLukPionowy::Parabola;
                p.Dlugosc = atrybut("length");
            } else if (rodzaj == "UnsymParaCurve") {
                p.Luk = TLukPionowy::ParabolaNiesymetryczna;
                p.DlugoscWej = atrybut("lengthIn");
                p.DlugoscWyj = atrybut("lengthOut");
            } else if (rodzaj == "CircCurve") {
                p.Luk = TLukPionowy::Kolowy;
                p.R = atrybut("radius");
            } else {
                continue;  // feature data and the like
            }
            std::string_view t = n.child_value();
            double s = 0, z = 0;
            if (!Liczba(Slowo(t), s) || !Liczba(Slowo(t), z))
                Odmowa(opis + ": „" + Krotki(n.child_value()) + "” nie jest parą „pikieta wysokość”.");
            p.Pik = Dlugosc(s, "pikieta", opis);
            p.Z = Dlugosc(z, "wysokość", opis);
            punkty.push_back(p);
        }
        return ZbudujNiwelete(nazwa, std::move(punkty));
    }
};

}  // namespace

std::vector<std::string> NazwyNiwelet(pugi::xml_node al) {
    std::vector<std::string> w;
    Dzieci(al, "Profile", [&](pugi::xml_node pr) {
        Dzieci(pr, "ProfAlign", [&](pugi::xml_node pa) {
            std::string nazwa = pa.attribute("name").value();
            if (nazwa.empty()) nazwa = pr.attribute("name").value();
            if (nazwa.empty()) nazwa = "Niweleta " + std::to_string(w.size() + 1);
            w.push_back(std::move(nazwa));
        });
    });
    return w;
}

std::vector<TOsLandXML> CzytajOsieDokumentu(pugi::xml_node korzen, double jednostka, std::string_view oryginal) {
    const TWiersze wiersze(oryginal);
    const TCzytnikOsi czytnik{jednostka, wiersze};
    std::vector<TOsLandXML> osie;
    int nr = 0;
    for (pugi::xml_node al : Trasy(korzen)) {
        TOsLandXML os;
        os.Lancuch.Nazwa = NazwaTrasy(al, ++nr);
        int wierszBledu = wiersze.Wiersz(al);
        try {
            double pikStart = 0;
            if (const pugi::xml_attribute s = al.attribute("staStart")) {
                if (!Liczba(s.value(), pikStart) || !(std::fabs(pikStart * jednostka) <= kNajwieksza))
                    Odmowa("atrybut staStart „" + Krotki(s.value()) + "” nie jest liczbą od -1e12 do 1e12.");
                pikStart *= jednostka;
            }
            const pugi::xml_node cg = Dziecko(al, "CoordGeom");
            if (!cg) Odmowa("brak geometrii (CoordGeom).");
            wierszBledu = wiersze.Wiersz(cg);
            std::vector<TElementOsi> elementy = czytnik.Elementy(cg, wierszBledu);
            wierszBledu = wiersze.Wiersz(cg);
            os.Lancuch = ZlozLancuch(os.Lancuch.Nazwa, pikStart, std::move(elementy), &wierszBledu);
        } catch (const BladKonwersji& b) {
            os.Pominieta = b.what();
            os.WierszPominiecia = wierszBledu;
            os.Lancuch.Elementy.clear();
            os.Lancuch.Zalamania.clear();
            osie.push_back(std::move(os));
            continue;
        }
        const std::vector<std::string> nazwy = NazwyNiwelet(al);
        std::size_t nrProfilu = 0;
        Dzieci(al, "Profile", [&](pugi::xml_node pr) {
            Dzieci(pr, "ProfAlign", [&](pugi::xml_node pa) {
                try {
                    os.Niwelety.push_back(czytnik.Profil(pa, nazwy[nrProfilu++]));
                } catch (const BladKonwersji& b) {
                    os.Uwagi.push_back(b.what());
                }
            });
        });
        osie.push_back(std::move(os));
    }
    return osie;
}

std::string OpisNieczytelnychTras(const std::vector<TOsLandXML>& osie) {
    constexpr std::size_t NajwiecejWierszy = 10;
    std::string s = "Żadnej trasy pliku nie można wczytać:";
    for (std::size_t i = 0; i < osie.size() && i < NajwiecejWierszy; ++i)
        s += "\nTrasa " + CytatZPliku(osie[i].Lancuch.Nazwa) + ": " + osie[i].Pominieta;
    if (osie.size() > NajwiecejWierszy)
        s += "\n… i " + std::to_string(osie.size() - NajwiecejWierszy) + " dalszych tras.";
    return s;
}

namespace {

std::vector<TOsLandXML> Czytaj(TDokument& d, std::string_view oryginal, const TZrodlo& z) {
    Parsuj(d, z);
    std::vector<TOsLandXML> osie = CzytajOsieDokumentu(d.korzen, d.jednostka, oryginal);
    if (!osie.empty() &&
        std::all_of(osie.begin(), osie.end(), [](const TOsLandXML& o) { return !o.Pominieta.empty(); })) {
        z.Blad(OpisNieczytelnychTras(osie), d.korzen);
    }
    return osie;
}

}  // namespace

std::vector<TOsLandXML> CzytajOsieLandXML(std::string_view dane, std::string_view nazwaDoKomunikatow) {
    TDokument d;
    d.bufor.assign(dane);
    const TZrodlo z{nazwaDoKomunikatow, [dane] { return dane; }};
    return Czytaj(d, dane, z);
}

std::vector<TOsLandXML> CzytajOsiePlikuLandXML(const std::string& nazwaPliku) {
    const std::string tekst = CzytajCalyPlik(nazwaPliku);
    TDokument d;
    d.bufor = tekst;
    const TZrodlo z{nazwaPliku, [&tekst]() -> std::string_view { return tekst; }};
    return Czytaj(d, tekst, z);
}

const TOsLandXML& WybierzOs(const std::vector<TOsLandXML>& osie, const std::string& trasa) {
    std::vector<std::string> nazwy;
    for (const TOsLandXML& o : osie) {
        if (trasa.empty() ? o.Pominieta.empty() : o.Lancuch.Nazwa == trasa) {
            if (!o.Pominieta.empty())
                throw BladKonwersji("Trasy " + CytatZPliku(trasa) + " nie można wczytać: " + o.Pominieta);
            return o;
        }
        nazwy.push_back(o.Lancuch.Nazwa);
    }
    if (trasa.empty()) throw BladKonwersji("Plik nie zawiera trasy (Alignments).");
    throw BladKonwersji("Plik nie zawiera trasy " + CytatZPliku(trasa) + " (--trasa). Trasy w pliku: " + Lista(nazwy) +
                        ".");
}

const TNiweleta* WybierzNiwelete(const TOsLandXML& os, const std::string& profil) {
    std::vector<std::string> nazwy;
    for (const TNiweleta& n : os.Niwelety) {
        if (profil.empty() || n.Nazwa == profil) return &n;
        nazwy.push_back(n.Nazwa);
    }
    if (profil.empty()) return nullptr;
    throw BladKonwersji("Trasa " + CytatZPliku(os.Lancuch.Nazwa) + " nie ma niwelety " + CytatZPliku(profil) +
                        " (--profil). Niwelety trasy: " + Lista(nazwy) + ".");
}

std::vector<std::string> OpisOsi(const std::vector<TOsLandXML>& osie) {
    std::vector<std::string> w;
    for (const TOsLandXML& o : osie) {
        if (!o.Pominieta.empty()) {
            w.push_back("Trasa " + CytatZPliku(o.Lancuch.Nazwa) + " pominięta: " + o.Pominieta);
            continue;
        }
        const auto l = OpisLancucha(o.Lancuch);
        w.insert(w.end(), l.begin(), l.end());
        for (const TNiweleta& n : o.Niwelety) {
            int luki = 0;
            for (const TPVI& p : n.Punkty) luki += p.Luk != TLukPionowy::Brak;
            w.push_back("  niweleta " + CytatZPliku(n.Nazwa) + ": " + std::to_string(n.Punkty.size()) +
                        " punktów załamania, łuków pionowych " + std::to_string(luki) + ", od pikiety " +
                        L3(n.Punkty.front().Pik) + " do " + L3(n.Punkty.back().Pik) + ".");
        }
        for (const std::string& u : o.Uwagi) w.push_back("  niweleta pominięta: " + u);
    }
    return w;
}

void UstawOsJakoTrase(TDaneWczytane& w, std::vector<TOsLandXML> osie, int nrOsi, int nrNiwelety, std::string zrodlo) {
    if (nrOsi < 0 || static_cast<std::size_t>(nrOsi) >= osie.size())
        throw BladKonwersji("Plik nie zawiera trasy nr " + std::to_string(nrOsi + 1) + ".");
    const TOsLandXML& os = osie[static_cast<std::size_t>(nrOsi)];
    if (!os.Pominieta.empty())
        throw BladKonwersji("Trasy " + CytatZPliku(os.Lancuch.Nazwa) + " nie można wczytać: " + os.Pominieta);
    if (nrNiwelety >= static_cast<int>(os.Niwelety.size()) || nrNiwelety < -1)
        throw BladKonwersji("Trasa " + CytatZPliku(os.Lancuch.Nazwa) + " nie ma niwelety nr " +
                            std::to_string(nrNiwelety + 1) + ".");
    w.Zalomy = std::vector<TZalom>{};
    w.Lancuch = os.Lancuch;
    w.PikStart = os.Lancuch.PikStart;
    w.GeometriaZPliku = true;
    w.Pochodzenie = zrodlo + ", trasa " + CytatZPliku(os.Lancuch.Nazwa);
    w.Niweleta = {};
    if (nrNiwelety >= 0) {
        w.Niweleta = os.Niwelety[static_cast<std::size_t>(nrNiwelety)];
        w.Pochodzenie += ", niweleta " + CytatZPliku(w.Niweleta.Nazwa);
    }
    w.OpisOsi = OpisOsi(osie);
    w.Osie = std::move(osie);
    w.NrOsi = nrOsi;
    w.NrNiwelety = nrNiwelety;
    w.ZrodloOsi = std::move(zrodlo);
}
