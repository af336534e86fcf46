// LandXML surfaces: Definition/Pnts/P ("northing easting elevation" with an
// id) and Definition/Faces/F (three point ids; i="1" is an invisible face,
// skipped) become the mesh's points and triangles.
#include "wymiana/LandXMLWspolne.h"
#include "common/NazwyZPliku.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <unordered_map>

#include "common/Tekst.h"

namespace landxml {

namespace {

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
            z.Blad("Punkt o id „" + Krotki(ids[i]) + "” występuje w powierzchni " + CytatZPliku(powierzchnia) +
                       " dwukrotnie.",
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

// The kinds this program kept in the surface's Feature, one a face in file order; empty when there is no such
// Feature or it does not fit the faces (another tool may have changed them).
std::vector<TRodzaj> RodzajeScian(pugi::xml_node s, std::size_t ileScian) {
    std::vector<TRodzaj> w;
    Dzieci(s, "Feature", [&](pugi::xml_node f) {
        if (!w.empty() || f.attribute("code").value() != kCechaRodzajow) return;
        Dzieci(f, "Property", [&](pugi::xml_node p) {
            if (w.empty() && p.attribute("label").value() == kCechaRodzajow)
                RodzajeZNapisu(p.attribute("value").value(), ileScian, w);
        });
    });
    return w;
}

}  // namespace

bool RodzajeZNapisu(std::string_view tekst, std::size_t ile, std::vector<TRodzaj>& rodzaje) {
    constexpr std::string_view kLitery = "HNGDBCSKOPE";
    std::vector<TRodzaj> w;
    w.reserve(ile);
    for (std::string_view slowo = Slowo(tekst); !slowo.empty(); slowo = Slowo(tekst)) {
        const std::size_t gw = slowo.find('*');
        std::size_t n = 0;
        TRodzaj r;
        const char kod = slowo.back();
        if (gw == std::string_view::npos || slowo.size() < gw + 3) return false;
        const auto [k1, e1] = std::from_chars(slowo.data(), slowo.data() + gw, n);
        const char* koniec = slowo.data() + slowo.size() - 1;
        const auto [k2, e2] = std::from_chars(slowo.data() + gw + 1, koniec, r.Wartosc);
        if (e1 != std::errc() || k1 != slowo.data() + gw || e2 != std::errc() || k2 != koniec || n == 0 ||
            n > ile - w.size() || !std::isfinite(r.Wartosc))
            return false;
        if (kod != '-' && kLitery.find(kod) == std::string_view::npos) return false;
        r.Kod = kod == '-' ? ' ' : kod;
        w.insert(w.end(), n, r);
    }
    if (w.size() != ile) return false;
    rodzaje = std::move(w);
    return true;
}

TPowierzchnia CzytajPowierzchnie(pugi::xml_node s, const std::string& nazwa, double jedn, const TZrodlo& z,
                                 const std::function<void(double)>& postep, double od, double doUlamka,
                                 TRodzaj rodzaj) {
    TPowierzchnia w;
    const pugi::xml_node def = Dziecko(s, "Definition");
    const pugi::xml_node pnts = Dziecko(def, "Pnts");
    const pugi::xml_node faces = Dziecko(def, "Faces");
    if (!def || !pnts || !faces)
        z.Blad("Powierzchnia " + CytatZPliku(nazwa) + " nie ma definicji trójkątów (Definition z Pnts i Faces).", s);

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
        if (!a || !*a.value()) z.Blad("Punkt powierzchni " + CytatZPliku(nazwa) + " nie ma atrybutu id.", p);
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
    const TKolor kolor = KolorRodzaju(' ', false);
    const std::vector<TRodzaj> rodzaje = RodzajeScian(s, ileF);
    std::size_t nrSciany = 0;
    Dzieci(faces, "F", [&](pugi::xml_node f) {
        zglos();
        const TRodzaj rodzajSciany = rodzaje.empty() ? rodzaj : rodzaje[nrSciany];
        ++nrSciany;
        const std::string_view niewid = f.attribute("i").value();
        if (niewid == "1" || RowneBezWielkosci(niewid, "true")) return;
        std::string_view t = f.child_value();
        std::int32_t nr[3];
        for (std::int32_t& k : nr) {
            const std::string_view id = Slowo(t);
            if (id.empty())
                z.Blad("Ściana powierzchni " + CytatZPliku(nazwa) + " nie ma trzech punktów („" +
                           Krotki(f.child_value()) + "”).",
                       f);
            k = indeks.Znajdz(id);
            if (k < 0)
                z.Blad("Ściana powierzchni " + CytatZPliku(nazwa) + " wskazuje punkt o id „" + Krotki(id) +
                           "”, którego powierzchnia nie ma.",
                       f);
        }
        if (!Slowo(t).empty())
            z.Blad("Ściana powierzchni " + CytatZPliku(nazwa) + " ma więcej niż trzy punkty („" +
                       Krotki(f.child_value()) + "”).",
                   f);
        TTrojkat tr;
        tr.Nr1 = nr[0];
        tr.Nr2 = nr[1];
        tr.Nr3 = nr[2];
        WierzcholkiZNumerow(tr);
        tr.Kolor = static_cast<std::int32_t>(kolor);
        tr.Rodzaj = rodzajSciany;
        w.Trojkaty.push_back(tr);
    });
    return w;
}

}  // namespace landxml
