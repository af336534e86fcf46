#include "cli/Polecenia.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QImage>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QImageWriter>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <exception>
#include <functional>
#include <map>
#include <set>
#include <stdexcept>

#include "analiza/Profil.h"
#include "analiza/Widocznosc.h"
#include "common/Funkcje.h"
#include "common/ZapisBezpieczny.h"
#include "dialogs/RysunekProfilu.h"
#include "model/ZapisywanieOdczytywanie.h"
#include "model/Zmienne.h"
#include "render/RysujPerspektywa.h"
#include "render/qt/PlotnoQt.h"
#include "route/OblTrasa.h"
#include "scena/InfoProjekt.h"
#include "scena/Scena.h"
#include "scena/WidokKierowcy.h"
#include "wymiana/GLTF.h"
#include "wymiana/LandXML.h"

#include "cli/Wspolne.h"

using namespace cli;

namespace {

int Przepisz(const std::vector<std::string>& a, std::ostream&, std::ostream& bledy) {
    const TArgumenty arg = Rozbierz(a, 1, {});
    if (arg.Pozycyjne.size() != 2) throw BladUzycia("przepisz potrzebuje dokładnie dwóch plików: ZRODLO.mtp CEL.tro");
    const std::string& zrodlo = arg.Pozycyjne[0];
    const std::string& cel = arg.Pozycyjne[1];
    if (RodzajPliku(cel) == TRodzajPliku::MTP)
        throw BladUzycia("plik docelowy „" + cel + "” ma rozszerzenie .mtp; oczekiwano .tro");
    // The converter reads the .mtp format only: a LandXML file would give a .tro holding nothing but its header.
    if (RodzajPliku(zrodlo) == TRodzajPliku::XML)
        throw BladUzycia("przepisz zamienia plik .mtp na .tro, a „" + zrodlo +
                         "” to plik LandXML; programy wczytują go wprost (bez przepisywania), a polecenia landxml i "
                         "gltf zapisują to, co wczytano");
    const QFileInfo fz(QString::fromLocal8Bit(zrodlo.c_str())), fc(QString::fromLocal8Bit(cel.c_str()));
    if (fz.exists() && fc.exists() && fz.canonicalFilePath() == fc.canonicalFilePath())
        throw BladUzycia("plik źródłowy i docelowy to ten sam plik");
    try {
        PrzepiszPlik(zrodlo, cel);
    } catch (const std::exception& e) {
        bledy << e.what() << '\n';
        return KodBladPliku;
    }
    return KodSukces;
}

// landxml PLIK... WYJSCIE.xml and gltf PLIK... WYJSCIE.glb: what is loaded, written in another format.
int Eksport(const std::vector<std::string>& a, std::ostream& bledy, std::string_view koncowka,
            void (*pisz)(std::ostream&, const TProjekt&)) {
    const TArgumenty arg = Rozbierz(a, 1, kOpcjeLandXML);
    if (arg.Pozycyjne.size() < 2) throw BladUzycia("nie podano plików danych ani pliku wynikowego");
    const std::string wyjscie = arg.Pozycyjne.back();
    if (!KonczySie(wyjscie, koncowka))
        throw BladUzycia("ostatnim argumentem musi być plik wynikowy " + std::string(koncowka));
    const std::vector<std::string> pliki(arg.Pozycyjne.begin(), arg.Pozycyjne.end() - 1);
    SprawdzPliki(pliki);
    for (const std::string& p : pliki)
        if (p == wyjscie) throw BladUzycia("plik wynikowy „" + wyjscie + "” jest też plikiem danych");
    StanOkna(SzerokoscDomyslna, WysokoscDomyslna, false, bledy);
    const TWczytane w = Wczytaj(pliki, bledy, OpcjeWczytania(arg));
    const bool ok = w.Ok;
    PiszKomunikatyTrasy(w, bledy);
    if (!ZapiszPlikWyjsciowy(
            wyjscie, [&](std::ostream& o) { pisz(o, w.Projekt); }, bledy))
        return KodBladPliku;
    return KodKoncowy(ok);
}

}  // namespace

int WykonajPolecenie(const std::vector<std::string>& a, std::ostream& wyjscie, std::ostream& bledy) {
    if (std::find(a.begin(), a.end(), "--help") != a.end() || std::find(a.begin(), a.end(), "-h") != a.end()) {
        // "--help" after "--" is a file name.
        auto koniecOpcji = std::find(a.begin(), a.end(), "--");
        auto pomoc = std::find_if(a.begin(), koniecOpcji,
                                  [](const std::string& s) { return s == "--help" || s == "-h"; });
        if (pomoc != koniecOpcji) {
            wyjscie << TekstPomocy();
            return KodSukces;
        }
    }
    try {
        if (a.empty()) throw BladUzycia("nie podano polecenia");
        const std::string& p = a[0];
        if (p == "raport") return Raport(a, wyjscie, bledy);
        if (p == "pikiety") return Pikiety(a, wyjscie, bledy);
        if (p == "profil") return Profil(a, wyjscie, bledy);
        if (p == "niweleta") return Niweleta(a, wyjscie, bledy);
        if (p == "przekroj") return Przekroj(a, wyjscie, bledy);
        if (p == "widocznosc") return Widocznosc(a, wyjscie, bledy);
        if (p == "spadki") return Spadki(a, wyjscie, bledy);
        if (p == "pochylenia") return Pochylenia(a, wyjscie, bledy);
        if (p == "objetosci") return Objetosci(a, wyjscie, bledy);
        if (p == "obraz") return Obraz(a, wyjscie, bledy);
        if (p == "przejazd") return Przejazd(a, wyjscie, bledy);
        if (p == "przepisz") return Przepisz(a, wyjscie, bledy);
        if (p == "landxml") return Eksport(a, bledy, ".xml", &ZapiszLandXML);
        if (p == "gltf") return Eksport(a, bledy, ".glb", &ZapiszGLB);
        throw BladUzycia("nieznane polecenie „" + p + "”");
    } catch (const BladUzycia& e) {
        bledy << "orvany3d-cli: " << e.what() << "\nUżyj „orvany3d-cli --help”, aby zobaczyć opis poleceń.\n";
        return KodBladUzycia;
    } catch (const std::exception& e) {
        // Out of memory for a huge file or picture and the like: said, never a crash.
        bledy << "orvany3d-cli: " << e.what() << '\n';
        return KodBladPliku;
    }
}
