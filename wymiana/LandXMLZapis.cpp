// Writing the scene as LandXML 1.2: TEREN and PROJ as Surfaces (each vertex
// once, faces by id), the built route as one Alignment (LandXMLZapisTrasy).
#include "wymiana/LandXML.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <ctime>
#include <unordered_map>

#include "model/Zmienne.h"
#include "wymiana/LandXMLWspolne.h"
#include "wymiana/LandXMLZapisTrasy.h"

namespace {

// A plan point "northing easting" in file coordinates.
std::string NE(TPunkt2D p, TPunkt2D o) { return landxml::Liczba(p.Y + o.Y, 6) + " " + landxml::Liczba(p.X + o.X, 6); }

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
    for (const TTrojkat& t : s.Trojkaty) {
        const TTrojkatRogi q = Rogi(s, t);
        sciany.push_back({numer(q.X1, q.Y1, q.Z1), numer(q.X2, q.Y2, q.Z2), numer(q.X3, q.Y3, q.Z3)});
    }
    o << "    <Surface name=\"" << nazwa << "\">\n      <Definition surfType=\"TIN\">\n        <Pnts>\n";
    std::string bufor;
    for (std::size_t i = 0; i < punkty.size(); ++i) {
        const TKluczPunktu& p = punkty[i];
        bufor.clear();
        bufor += "          <P id=\"" + std::to_string(i + 1) + "\">" + landxml::Liczba(p.Y + poczatek.Y, 6) + " " +
                 landxml::Liczba(p.X + poczatek.X, 6) + " " + landxml::Liczba(p.Z + poczatek.Z, 6) + "</P>\n";
        o << bufor;
    }
    o << "        </Pnts>\n        <Faces>\n";
    for (const auto& f : sciany) o << "          <F>" << f[0] << ' ' << f[1] << ' ' << f[2] << "</F>\n";
    o << "        </Faces>\n      </Definition>\n";
    // The faces' kinds (and so their colours) in a Feature other tools pass over.
    o << "      <Feature code=\"" << landxml::kCechaRodzajow << "\" source=\"Orvany3D\">\n        <Property label=\""
      << landxml::kCechaRodzajow << "\" value=\"" << landxml::NapisRodzajow(s.Trojkaty)
      << "\"/>\n      </Feature>\n    </Surface>\n";
}

}  // namespace

std::string landxml::NapisRodzajow(const std::vector<TTrojkat>& trojkaty) {
    std::string w;
    char b[64];
    for (std::size_t i = 0; i < trojkaty.size();) {
        const TRodzaj r = trojkaty[i].Rodzaj;
        std::size_t j = i + 1;
        while (j < trojkaty.size() && trojkaty[j].Rodzaj == r) ++j;
        if (!w.empty()) w += ' ';
        w += std::to_string(j - i);
        w += '*';
        // The shortest text that reads back to the same float.
        const auto [k, ec] = std::to_chars(b, b + sizeof b, r.Wartosc);
        w.append(b, ec == std::errc() ? k : b);
        w += r.Kod == ' ' ? '-' : r.Kod;
        i = j;
    }
    return w;
}

void ZapiszLandXML(std::ostream& o, const TProjekt& projekt) {
    const bool teren = !projekt.TEREN.Trojkaty.empty(), proj = !projekt.PROJ.Trojkaty.empty();
    const bool trasa = projekt.Trasa.Obliczona && !projekt.Trasa.Lancuch.Elementy.empty();
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
    // The sets' coordinate system goes back into the file when every written set that knows one says the same;
    // sets in different systems leave the file without one rather than with a wrong one.
    int epsg = 0;
    bool zgodne = true;
    for (const auto [zapisany, kod] :
         {std::pair{teren, projekt.TEREN.EPSG}, {proj, projekt.PROJ.EPSG}, {trasa, projekt.Trasa.EPSG}}) {
        if (!zapisany || kod == 0) continue;
        if (epsg != 0 && kod != epsg) zgodne = false;
        epsg = kod;
    }
    if (epsg != 0 && zgodne) o << "  <CoordinateSystem epsgCode=\"" << epsg << "\"/>\n";
    // The meshes hold coordinates shifted by the load; the shift is the TEREN range's lowest corner.
    const TPunkt3D poczatek{projekt.Trasa.Dx, projekt.Trasa.Dy, projekt.TEREN.Zakres.Zmin};
    if (teren || proj) {
        o << "  <Surfaces>\n";
        if (teren) PiszPowierzchnie(o, projekt.TEREN, "TEREN", poczatek);
        if (proj) PiszPowierzchnie(o, projekt.PROJ, "PROJ", poczatek);
        o << "  </Surfaces>\n";
    }
    if (trasa) ZapiszTraseLandXML(o, projekt.Trasa);
    o << "</LandXML>\n";
    if (!o) throw BladKonwersji("Błąd zapisu pliku LandXML.");
}
