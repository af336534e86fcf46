#include "wymiana/LandXMLWspolne.h"
#include "common/NazwyZPliku.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "common/Tekst.h"

namespace landxml {

namespace {

// Whitespace between the words of an element's text.
bool OdstepXML(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

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

}  // namespace

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

std::size_t Policz(pugi::xml_node n, std::string_view nazwa) {
    std::size_t k = 0;
    Dzieci(n, nazwa, [&](pugi::xml_node) { ++k; });
    return k;
}

std::string_view Slowo(std::string_view& s) {
    std::size_t i = 0;
    while (i < s.size() && OdstepXML(s[i])) ++i;
    std::size_t j = i;
    while (j < s.size() && !OdstepXML(s[j])) ++j;
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

std::string Krotki(std::string_view s) { return NapisZPliku(s); }

std::string Milimetry(double m) {
    char b[32];
    std::snprintf(b, sizeof b, "%.1f", m * 1000.0);
    std::string s(b);
    for (char& c : s)
        if (c == '.') c = ',';
    return s;
}

void TZrodlo::Blad(const std::string& komunikat, std::ptrdiff_t przesuniecie) const {
    std::int64_t wiersz = 1;
    if (przesuniecie > 0) {
        const std::string_view t = tekst();
        const std::size_t k = std::min<std::size_t>(static_cast<std::size_t>(przesuniecie), t.size());
        wiersz += std::count(t.data(), t.data() + k, '\n');
    }
    BladWPliku(komunikat, nazwa, wiersz);
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

int KodEPSG(pugi::xml_node korzen, const TZrodlo& z) {
    const pugi::xml_node uklad = Dziecko(korzen, "CoordinateSystem");
    const pugi::xml_attribute a = uklad.attribute("epsgCode");
    std::string_view v = a.value();
    while (!v.empty() && (v.front() == ' ' || v.front() == '\t')) v.remove_prefix(1);
    while (!v.empty() && (v.back() == ' ' || v.back() == '\t')) v.remove_suffix(1);
    if (v.empty()) return 0;
    if (v.size() > 5 && RowneBezWielkosci(v.substr(0, 5), "EPSG:")) v.remove_prefix(5);
    int kod = 0;
    const auto [koniec, blad] = std::from_chars(v.data(), v.data() + v.size(), kod);
    if (blad != std::errc() || koniec != v.data() + v.size() || kod <= 0 || kod > 999999)
        z.Blad("Nieprawidłowy kod układu współrzędnych epsgCode „" + Krotki(a.value()) +
                   "” w CoordinateSystem (oczekiwano kodu EPSG, np. 2180).",
               uklad);
    return kod;
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
    for (const std::string& n : nazwy) w += (w.empty() ? "" : ", ") + CytatZPliku(n);
    return w.empty() ? "brak" : w;
}

}  // namespace landxml

std::string landxml::Liczba(double v, int miejsca) {
    char b[64];
    const auto [k, ec] = std::to_chars(b, b + sizeof b, v, std::chars_format::fixed, miejsca);
    if (ec != std::errc()) return "0";
    std::string s(b, k);
    if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
    return s;
}
