#include "wymiana/LandXML.h"
#include "common/NazwyZPliku.h"

#include <pugixml.hpp>

#include <algorithm>

#include "common/Tekst.h"
#include "wymiana/LandXMLOsieDokument.h"
#include "wymiana/LandXMLWspolne.h"

using namespace landxml;

namespace {

TDaneWczytane CzytajDokument(TDokument& d, const TZrodlo& z, const TWyborLandXML& podany, const TPostep& postep) {
    if (postep) postep(0.0);
    Parsuj(d, z);
    if (postep) postep(0.3);
    TDaneWczytane w;
    w.EPSG = KodEPSG(d.korzen, z);

    const std::vector<pugi::xml_node> pow = Powierzchnie(d.korzen);
    const std::vector<pugi::xml_node> tr = Trasy(d.korzen);
    std::vector<std::string> nazwyPow, nazwyTras;
    for (std::size_t i = 0; i < pow.size(); ++i) nazwyPow.push_back(NazwaPowierzchni(pow[i], static_cast<int>(i + 1)));
    for (std::size_t i = 0; i < tr.size(); ++i) nazwyTras.push_back(NazwaTrasy(tr[i], static_cast<int>(i + 1)));
    if (pow.empty() && tr.empty())
        z.Blad("Plik LandXML nie zawiera powierzchni (Surfaces) ani tras (Alignments).", d.korzen);
    const TWyborLandXML wybor = WyborDomyslny(podany, nazwyPow);
    if (wybor.Teren.empty() && wybor.Proj.empty() && (wybor.BezTrasy || tr.empty()))
        z.Blad("Z pliku LandXML nie wybrano niczego do wczytania (ani terenu, ani projektu, ani trasy).", d.korzen);

    auto znajdz = [&](const std::string& nazwa, const char* co) -> int {
        for (std::size_t i = 0; i < nazwyPow.size(); ++i)
            if (nazwyPow[i] == nazwa) return static_cast<int>(i);
        z.Blad("Plik nie zawiera powierzchni " + CytatZPliku(nazwa) + " (" + co +
                   "). Powierzchnie w pliku: " + Lista(nazwyPow) + ".",
               d.korzen);
    };
    int teren = -1, proj = -1;
    if (!wybor.Teren.empty()) teren = znajdz(wybor.Teren, "--teren");
    if (!wybor.Proj.empty()) proj = znajdz(wybor.Proj, "--proj");

    const double od = 0.3, doUlamka = 0.9;
    const double polowa = proj >= 0 && teren >= 0 ? (od + doUlamka) / 2 : doUlamka;
    if (teren >= 0) {
        TPowierzchnia p = CzytajPowierzchnie(pow[static_cast<std::size_t>(teren)],
                                             nazwyPow[static_cast<std::size_t>(teren)], d.jednostka, z, postep, od,
                                             polowa);
        w.WierzcholkiTEREN = WierzcholkiZPunktow(p.Punkty);
        w.PunktyTEREN = std::move(p.Punkty);
        w.TrojkatyTEREN = std::move(p.Trojkaty);
        w.LinieTEREN = std::vector<TLinia>{};
    }
    if (proj >= 0) {
        // Faces without kinds of their own (another tool's file) take the road surface's kind, so the road
        // stands apart from the terrain.
        TPowierzchnia p = CzytajPowierzchnie(pow[static_cast<std::size_t>(proj)],
                                             nazwyPow[static_cast<std::size_t>(proj)], d.jednostka, z, postep, polowa,
                                             doUlamka, TRodzaj{0.0f, kRodzajNawierzchni});
        w.WierzcholkiPROJ = WierzcholkiZPunktow(p.Punkty);
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
            z.Blad("Plik nie zawiera trasy " + CytatZPliku(wybor.Trasa) +
                       " (--trasa). Trasy w pliku: " + Lista(nazwyTras) + ".",
                   d.korzen);
    } else if (!tr.empty()) {
        trasa = 0;
    }
    if (trasa >= 0) {
        // Every alignment as an element chain: the report lists them all (the
        // skipped ones with their reasons), the chosen one is the route and its
        // vertical profile the route's design line.
        std::vector<TOsLandXML> osie = CzytajOsieDokumentu(d.korzen, d.jednostka, z.tekst());
        if (wybor.Trasa.empty()) {
            // The first alignment that reads; a file none of whose alignments reads is refused.
            const auto it = std::find_if(osie.begin(), osie.end(),
                                         [](const TOsLandXML& o) { return o.Pominieta.empty(); });
            if (it == osie.end() && osie.size() > 1) {
                z.Blad(OpisNieczytelnychTras(osie), tr[0]);
            }
            trasa = it == osie.end() ? 0 : static_cast<int>(it - osie.begin());
        }
        const TOsLandXML& os = osie[static_cast<std::size_t>(trasa)];
        const std::string& nazwa = nazwyTras[static_cast<std::size_t>(trasa)];
        // One alignment refused (the only one, or the one asked for): the message points at its element's line.
        if (!os.Pominieta.empty())
            BladWPliku("Trasa " + CytatZPliku(nazwa) + ": " + os.Pominieta, z.nazwa, os.WierszPominiecia);
        int niweleta = -1;
        try {
            if (const TNiweleta* n = WybierzNiwelete(os, wybor.Profil))
                niweleta = static_cast<int>(n - os.Niwelety.data());
        } catch (const BladKonwersji& b) {
            z.Blad(b.what(), tr[static_cast<std::size_t>(trasa)]);
        }
        UstawOsJakoTrase(w, std::move(osie), trasa, niweleta, "LandXML " + NapisZPliku(z.nazwa, 1000));
    }
    if (postep) postep(1.0);
    return w;
}

}  // namespace

// ---------------------------------------------------------------------------

TWyborLandXML WyborDomyslny(TWyborLandXML w, const std::vector<std::string>& powierzchnie) {
    const auto jest = [&](const char* nazwa) {
        return std::find(powierzchnie.begin(), powierzchnie.end(), nazwa) != powierzchnie.end();
    };
    if (w.BezProj)
        w.Proj.clear();
    else if (w.Proj.empty() && jest("PROJ") && w.Teren != "PROJ")
        w.Proj = "PROJ";
    if (w.BezTerenu) {
        w.Teren.clear();
    } else if (w.Teren.empty()) {
        if (jest("TEREN") && w.Proj != "TEREN") {
            w.Teren = "TEREN";
        } else {
            const auto i = std::find_if(powierzchnie.begin(), powierzchnie.end(),
                                        [&](const std::string& n) { return n != w.Proj; });
            if (i != powierzchnie.end()) w.Teren = *i;
        }
    }
    return w;
}

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
    for (std::size_t i = 0; i < tr.size(); ++i) {
        w.Trasy.push_back(NazwaTrasy(tr[i], static_cast<int>(i + 1)));
        w.Niwelety.push_back(NazwyNiwelet(tr[i]));
    }
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
