#include "wymiana/LandXMLZapisTrasy.h"
#include "wymiana/LandXMLWspolne.h"

#include <charconv>
#include <cmath>
#include <string>

#include "route/Lancuch.h"

namespace {

// A name in an attribute: the five characters XML reserves become references.
std::string Atrybut(const std::string& t) {
    std::string w;
    for (char c : t) {
        switch (c) {
            case '&': w += "&amp;"; break;
            case '<': w += "&lt;"; break;
            case '>': w += "&gt;"; break;
            case '"': w += "&quot;"; break;
            case '\'': w += "&apos;"; break;
            default: w += c;
        }
    }
    return w;
}

// The point where the tangents at an element's two ends meet; false when they are (nearly) parallel.
bool PunktPI(const TElementOsi& e, TPunkt2D& pi) {
    const TPunkt2D a = PunktElementu(e, 0), b = PunktElementu(e, e.Dlugosc);
    const double t0 = e.Kierunek, t1 = KierunekElementu(e, e.Dlugosc);
    const double c0 = std::cos(t0), s0 = std::sin(t0), c1 = std::cos(t1), s1 = std::sin(t1);
    const double m = c0 * s1 - s0 * c1;
    if (std::fabs(m) < 1e-9) return false;
    const double u = ((b.X - a.X) * s1 - (b.Y - a.Y) * c1) / m;
    if (!(u > 0) || !std::isfinite(u)) return false;
    pi = {a.X + u * c0, a.Y + u * s0};
    return true;
}

std::string Promien(double k) { return k == 0.0 ? std::string("INF") : landxml::Liczba(1.0 / std::fabs(k)); }

void PiszProfil(std::ostream& o, const TNiweleta& n) {
    o << "      <Profile name=\"" << Atrybut(n.Nazwa) << "\">\n        <ProfAlign name=\"" << Atrybut(n.Nazwa)
      << "\">\n";
    for (const TPVI& p : n.Punkty) {
        const std::string wartosc = landxml::Liczba(p.Pik) + " " + landxml::Liczba(p.Z);
        switch (p.Luk) {
            case TLukPionowy::Brak: o << "          <PVI>" << wartosc << "</PVI>\n"; break;
            case TLukPionowy::Parabola:
                o << "          <ParaCurve length=\"" << landxml::Liczba(p.Dlugosc) << "\">" << wartosc
                  << "</ParaCurve>\n";
                break;
            case TLukPionowy::ParabolaNiesymetryczna:
                o << "          <UnsymParaCurve lengthIn=\"" << landxml::Liczba(p.DlugoscWej) << "\" lengthOut=\""
                  << landxml::Liczba(p.DlugoscWyj) << "\">" << wartosc << "</UnsymParaCurve>\n";
                break;
            case TLukPionowy::Kolowy:
                o << "          <CircCurve radius=\"" << landxml::Liczba(p.R) << "\" length=\""
                  << landxml::Liczba(p.Kon - p.Pocz) << "\">" << wartosc << "</CircCurve>\n";
                break;
        }
    }
    o << "        </ProfAlign>\n      </Profile>\n";
}

}  // namespace

void ZapiszTraseLandXML(std::ostream& o, const DaneUstawieniaTrasy& trasa) {
    const TLancuch& l = trasa.Lancuch;
    if (!trasa.Obliczona || l.Elementy.empty()) return;
    const TPunkt2D poczatek{trasa.Dx, trasa.Dy};
    auto NE = [&](TPunkt2D p) { return landxml::Liczba(p.Y + poczatek.Y) + " " + landxml::Liczba(p.X + poczatek.X); };
    const std::string nazwa = l.Nazwa.empty() ? std::string("TRASA") : Atrybut(l.Nazwa);
    o << "  <Alignments name=\"" << nazwa << "\">\n";
    o << "    <Alignment name=\"" << nazwa << "\" length=\"" << landxml::Liczba(l.Dlugosc()) << "\" staStart=\""
      << landxml::Liczba(trasa.PikStart + trasa.PikMin) << "\">\n      <CoordGeom>\n";
    for (const TElementOsi& e : l.Elementy) {
        if (e.Dlugosc < 1e-9) continue;  // a straight of no length between two curves that touch
        const TPunkt2D a = PunktElementu(e, 0), b = PunktElementu(e, e.Dlugosc);
        TPunkt2D pi;
        const bool jestPI = e.Rodzaj != TRodzajOsi::Prosta && PunktPI(e, pi);
        const char* rot = (e.Rodzaj == TRodzajOsi::Luk ? e.K1 : (e.K1 != 0 ? e.K1 : e.K2)) < 0 ? "cw" : "ccw";
        switch (e.Rodzaj) {
            case TRodzajOsi::Prosta:
                o << "        <Line length=\"" << landxml::Liczba(e.Dlugosc) << "\"><Start>" << NE(a) << "</Start><End>"
                  << NE(b) << "</End></Line>\n";
                break;
            case TRodzajOsi::Luk:
                o << "        <Curve rot=\"" << rot << "\" crvType=\"arc\" length=\"" << landxml::Liczba(e.Dlugosc)
                  << "\" radius=\"" << landxml::Liczba(e.R) << "\"><Start>" << NE(a) << "</Start><Center>"
                  << NE(e.Srodek) << "</Center><End>" << NE(b) << "</End>";
                if (jestPI) o << "<PI>" << NE(pi) << "</PI>";
                o << "</Curve>\n";
                break;
            case TRodzajOsi::Klotoida:
                o << "        <Spiral length=\"" << landxml::Liczba(e.Dlugosc) << "\" radiusStart=\"" << Promien(e.K1)
                  << "\" radiusEnd=\"" << Promien(e.K2) << "\" rot=\"" << rot << "\" spiType=\"clothoid\"><Start>"
                  << NE(a) << "</Start>";
                if (jestPI) o << "<PI>" << NE(pi) << "</PI>";
                o << "<End>" << NE(b) << "</End></Spiral>\n";
                break;
        }
    }
    o << "      </CoordGeom>\n";
    if (!trasa.Niweleta.Pusta()) PiszProfil(o, trasa.Niweleta);
    o << "    </Alignment>\n  </Alignments>\n";
}
