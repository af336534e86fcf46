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

namespace {

// The main window's paint area at start.
constexpr int SzerokoscDomyslna = 958;
constexpr int WysokoscDomyslna = 637;
// Bounds that keep a mistyped argument from running for hours or asking for gigabytes.
constexpr int NajwiekszyBok = 8192;
constexpr double NajwiecejWierszy = 1e7;
constexpr double NajwiecejKlatek = 1e5;

// A wrong command line: the text says what is wrong.
class BladUzycia : public std::runtime_error {
public:
    explicit BladUzycia(const std::string& s) : std::runtime_error(s) {}
};

// ---------------------------------------------------------------------------
// The command line.

struct TOpcja {
    bool ZWartoscia;
};

struct TArgumenty {
    std::vector<std::string> Pozycyjne;
    std::map<std::string, std::string> Wartosci;
    std::set<std::string> Flagi;

    const std::string* Wartosc(const std::string& nazwa) const {
        auto it = Wartosci.find(nazwa);
        return it == Wartosci.end() ? nullptr : &it->second;
    }
};

// Options may stand anywhere after the command, as "--opcja wartość" or
// "--opcja=wartość"; after "--" every argument is a name.
TArgumenty Rozbierz(const std::vector<std::string>& a, std::size_t od, const std::map<std::string, TOpcja>& znane) {
    TArgumenty w;
    bool tylkoNazwy = false;
    for (std::size_t i = od; i < a.size(); ++i) {
        const std::string& s = a[i];
        if (tylkoNazwy || s.size() < 2 || s.compare(0, 2, "--") != 0) {
            w.Pozycyjne.push_back(s);
            continue;
        }
        if (s == "--") {
            tylkoNazwy = true;
            continue;
        }
        const std::size_t rowna = s.find('=');
        const std::string nazwa = s.substr(0, rowna);
        auto it = znane.find(nazwa);
        if (it == znane.end()) throw BladUzycia("nieznana opcja „" + nazwa + "”");
        if (!it->second.ZWartoscia) {
            if (rowna != std::string::npos) throw BladUzycia("opcja " + nazwa + " nie przyjmuje wartości");
            w.Flagi.insert(nazwa);
        } else if (rowna != std::string::npos) {
            w.Wartosci[nazwa] = s.substr(rowna + 1);
        } else {
            if (i + 1 >= a.size()) throw BladUzycia("brak wartości opcji " + nazwa);
            w.Wartosci[nazwa] = a[++i];
        }
    }
    return w;
}

double Liczba(const TArgumenty& a, const std::string& nazwa, double domyslna) {
    const std::string* t = a.Wartosc(nazwa);
    if (!t) return domyslna;
    double v = 0.0;
    if (!SprobujRzeczywista(*t, v)) throw BladUzycia("opcja " + nazwa + ": „" + *t + "” nie jest liczbą");
    return v;
}

struct TRozmiar {
    int W = SzerokoscDomyslna;
    int H = WysokoscDomyslna;
};

TRozmiar Rozmiar(const TArgumenty& a) {
    TRozmiar r;
    const std::string* t = a.Wartosc("--rozmiar");
    if (!t) return r;
    const std::size_t x = t->find_first_of("xX");
    std::int32_t w = 0, h = 0;
    if (x == std::string::npos || !SprobujCalkowita(std::string_view(*t).substr(0, x), w) ||
        !SprobujCalkowita(std::string_view(*t).substr(x + 1), h) || w < 1 || h < 1 || w > NajwiekszyBok ||
        h > NajwiekszyBok)
        throw BladUzycia("opcja --rozmiar: „" + *t + "” nie jest rozmiarem SZERxWYS (od 1x1 do " +
                         std::to_string(NajwiekszyBok) + "x" + std::to_string(NajwiekszyBok) + ")");
    r.W = w;
    r.H = h;
    return r;
}

bool PlikDanych(const std::string& nazwa) { return RodzajPliku(nazwa) != TRodzajPliku::Inny; }

void SprawdzPliki(const std::vector<std::string>& pliki) {
    if (pliki.empty()) throw BladUzycia("nie podano plików danych");
    for (const std::string& p : pliki)
        if (!PlikDanych(p))
            throw BladUzycia("„" + p +
                             "” nie jest plikiem .tro, .mtp, LandXML (.xml) ani siatką NMT (.asc, .xyz, .tif)");
}

// The choice of surfaces and alignment of LandXML files and how elevation grids become the terrain, taken by every
// command that loads files.
const std::map<std::string, TOpcja> kOpcjeLandXML = {
    {"--teren", {true}},       {"--proj", {true}},       {"--trasa", {true}}, {"--bez-terenu", {false}},
    {"--bez-trasy", {false}},  {"--tolerancja", {true}}, {"--pas", {true}},   {"--zamien-xy", {false}},
    {"--uklad-pliku", {true}}, {"--uklad", {true}}};

std::map<std::string, TOpcja> ZOpcjamiLandXML(std::map<std::string, TOpcja> znane) {
    znane.insert(kOpcjeLandXML.begin(), kOpcjeLandXML.end());
    return znane;
}

TWyborLandXML WyborLandXML(const TArgumenty& a) {
    TWyborLandXML w;
    if (const std::string* t = a.Wartosc("--teren")) w.Teren = *t;
    if (const std::string* t = a.Wartosc("--proj")) w.Proj = *t;
    if (const std::string* t = a.Wartosc("--trasa")) w.Trasa = *t;
    w.BezTerenu = a.Flagi.count("--bez-terenu") > 0;
    w.BezTrasy = a.Flagi.count("--bez-trasy") > 0;
    if (w.BezTerenu && !w.Teren.empty()) throw BladUzycia("opcje --teren i --bez-terenu wykluczają się");
    if (w.BezTrasy && !w.Trasa.empty()) throw BladUzycia("opcje --trasa i --bez-trasy wykluczają się");
    return w;
}

// What the files of a command are read with: the LandXML choice and the grids' options.
struct TOpcjeWczytania {
    TWyborLandXML LandXML;
    TOpcjeNMT NMT;
};

// An EPSG code of an option (a positive whole number).
int KodEPSG(const TArgumenty& a, const std::string& nazwa) {
    const std::string* t = a.Wartosc(nazwa);
    if (!t) return 0;
    std::string_view v = *t;
    if (v.size() > 5 && (v.substr(0, 5) == "EPSG:" || v.substr(0, 5) == "epsg:")) v.remove_prefix(5);
    std::int32_t k = 0;
    if (!SprobujCalkowita(v, k) || k <= 0)
        throw BladUzycia("opcja " + nazwa + ": „" + *t + "” nie jest kodem EPSG (np. 2180 albo EPSG:2180)");
    return k;
}

TOpcjeWczytania OpcjeWczytania(const TArgumenty& a) {
    TOpcjeWczytania o;
    o.NMT.Tolerancja = Liczba(a, "--tolerancja", o.NMT.Tolerancja);
    if (!(o.NMT.Tolerancja >= 0.0) || !std::isfinite(o.NMT.Tolerancja))
        throw BladUzycia("opcja --tolerancja: tolerancja musi być liczbą nieujemną");
    o.NMT.Pas = Liczba(a, "--pas", 0.0);
    if (!(o.NMT.Pas > 0.0) || !std::isfinite(o.NMT.Pas)) {
        if (a.Wartosc("--pas")) throw BladUzycia("opcja --pas: szerokość pasa musi być liczbą dodatnią");
        o.NMT.Pas = 0.0;
    }
    o.NMT.ZamienXY = a.Flagi.count("--zamien-xy") > 0;
    o.NMT.UkladPliku = KodEPSG(a, "--uklad-pliku");
    o.NMT.Uklad = KodEPSG(a, "--uklad");
    o.LandXML = WyborLandXML(a);
    return o;
}

// A chainage as the user sees it (the route's start chainage included) to one of the route.
double PikietaTrasy(double pokazana) { return pokazana - Trasa.PikStart; }

// ---------------------------------------------------------------------------
// The state of the window and the loads.

// The state of a fresh main window with a paint area of W x H after its first
// resize: start values, the sky picture, the eye at its working place.
void StanOkna(int W, int H, bool zNiebem, std::ostream& bledy) {
    InicjujZmienne(W, H);
    UstawOkoOkna(W, H);
    WidokKierowcy = TWidokKierowcy{};
    Niebo = TObraz{};
    if (!zNiebem) return;
    // The window takes the sky from beside the program; without it the far wall stays empty.
    const QString brak = WczytajNiebo(KatalogProgramu());
    if (!brak.isEmpty()) bledy << brak.toStdString() << '\n';
}

// Opens the files one after another as the window's open flows do. A file
// that fails leaves the model as it was; its message goes to `bledy`.
// Returns false when any file failed.
bool Wczytaj(const std::vector<std::string>& pliki, std::ostream& bledy, const TOpcjeWczytania& opcje = {}) {
    bool wszystkie = true;
    // Consecutive grids are one terrain (its sheets); every other file a load of its own.
    for (const std::vector<std::string>& p : GrupyPlikow(pliki)) {
        try {
            WczytajGrupe(p, {}, opcje.LandXML, opcje.NMT);
        } catch (const std::exception& e) {
            bledy << e.what() << '\n';
            wszystkie = false;
        }
    }
    return wszystkie;
}

void PiszKomunikatyTrasy(std::ostream& bledy) {
    for (const std::string& k : KomunikatyTrasy) bledy << k << '\n';
}

// After the files of a command that needs the built route: the route build's
// messages on stderr and, when the route is not built, that message and the
// exit code (nothing is written then).
std::optional<int> KodBezTrasy(bool ok, std::ostream& bledy) {
    PiszKomunikatyTrasy(bledy);
    if (Trasa.Obliczona) return std::nullopt;
    bledy << "Trasa nie jest obliczona.\n";
    return ok ? KodBrakTrasy : KodBladPliku;
}

// The view at chainage c as the window places it (nothing changes without
// mesh triangles). In the driver's view a chainage where the road has no height gets the
// chainage view instead; the tool says so once per run.
void UstawNaPikiecieSuwaka(double c, std::ostream& bledy, bool& powiedziane) {
    if (UstawWidokNaPikiecie(c) == TUstawienie::BrakWysokosci && !powiedziane) {
        bledy << "Na pikiecie " << F2(c) << " droga nie ma wysokości: zamiast widoku kierowcy widok z trasy.\n";
        powiedziane = true;
    }
}

// The driver's view options shared by obraz and przejazd.
const std::map<std::string, TOpcja> OpcjeKierowcy = {{"--kierowca", {false}},
                                                     {"--oko", {true}},
                                                     {"--przesuniecie", {true}},
                                                     {"--wstecz", {false}},
                                                     {"--slupki", {false}}};

std::map<std::string, TOpcja> ZOpcjamiKierowcy(std::map<std::string, TOpcja> opcje) {
    opcje.insert(OpcjeKierowcy.begin(), OpcjeKierowcy.end());
    return opcje;
}

// The driver's view settings from the command line (after StanOkna).
void UstawKierowce(const TArgumenty& arg) {
    TWidokKierowcy& w = WidokKierowcy;
    w.Wlaczony = arg.Flagi.count("--kierowca") > 0;
    const bool opcjeOka = arg.Wartosc("--oko") || arg.Wartosc("--przesuniecie") || arg.Flagi.count("--wstecz");
    if (opcjeOka && !w.Wlaczony) throw BladUzycia("opcje --oko, --przesuniecie i --wstecz działają tylko z --kierowca");
    w.Oko.Wysokosc = Liczba(arg, "--oko", w.Oko.Wysokosc);
    if (!(w.Oko.Wysokosc > 0.0 && w.Oko.Wysokosc <= 100.0))
        throw BladUzycia("opcja --oko: wysokość oka musi leżeć między 0 a 100 m");
    w.Oko.Przesuniecie = Liczba(arg, "--przesuniecie", w.Oko.Przesuniecie);
    if (!(std::fabs(w.Oko.Przesuniecie) <= 100.0))
        throw BladUzycia("opcja --przesuniecie: przesunięcie musi leżeć między -100 a 100 m");
    w.Oko.WPrzod = arg.Flagi.count("--wstecz") == 0;
    if (w.Wlaczony) UstawOkoKierowcy(Rozmiar(arg).H);
    if (arg.Flagi.count("--slupki")) w.SlupkiKierowcy = w.SlupkiTrasy = true;
}

// The frame as the window draws it: into an off-screen picture at least as
// large as the screen, whose top-left W x H part is the paint area. The Qt
// canvas clips lines to the whole picture, and where a clipped line starts
// can move its pixels, so the picture gets the window's size, not just W x H.
QImage Klatka(int W, int H, TPodzialKlatki& podzial) {
    QSize rozmiar(W, H);
    if (QScreen* ekran = QGuiApplication::primaryScreen()) rozmiar = rozmiar.expandedTo(ekran->size());
    QImage obraz(rozmiar, QImage::Format_RGB32);
    obraz.fill(KolorPrzycisku());
    {
        PlotnoQt plotno(obraz);
        Przerysuj(plotno, W, H, podzial);
    }
    return rozmiar == QSize(W, H) ? obraz : obraz.copy(0, 0, W, H);
}

// Encodes the picture in memory and writes it through the program's one safe writer.
bool ZapiszPng(const QImage& obraz, const std::string& sciezka, std::ostream& bledy) {
    QByteArray bajty;
    QBuffer bufor(&bajty);
    bufor.open(QIODevice::WriteOnly);
    QImageWriter koder(&bufor, "PNG");
    if (!koder.write(obraz)) {
        bledy << "Nie można zapisać pliku " << sciezka << ": nie udało się zakodować obrazu PNG.\n";
        return false;
    }
    try {
        ZapiszBezpiecznie(sciezka, std::string_view(bajty.constData(), static_cast<std::size_t>(bajty.size())));
    } catch (const BladKonwersji& e) {
        bledy << e.what() << '\n';
        return false;
    }
    return true;
}

// Fixed notation with '.' whatever the locale; no "-0.0000".
std::string Stala(double v, int miejsca) {
    char bufor[64];
    auto [koniec, ec] = std::to_chars(bufor, bufor + sizeof bufor, v, std::chars_format::fixed, miejsca);
    if (ec != std::errc()) return "nan";
    std::string s(bufor, koniec);
    if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
    return s;
}

int KodKoncowy(bool plikiWczytane) { return plikiWczytane ? KodSukces : KodBladPliku; }

// The film: the frames go as raw pixels through a pipe into ffmpeg, which
// writes H.264 (yuv420p, the height and width made even) into a temporary
// file beside the target; only a complete film is renamed onto the target,
// so a failure half-way leaves the target as it was and no temporary file.
bool ZapiszFilm(const QString& ffmpeg, const std::string& cel, int W, int H, double klS, int ileKlatek,
                const std::function<QImage(int)>& klatka, std::ostream& bledy) {
    QFileInfo info(QString::fromLocal8Bit(cel.c_str()));
    // A symbolic link is followed: the film replaces the file it names.
    if (info.isSymLink()) info = QFileInfo(info.symLinkTarget());
    if (info.exists() && !info.isFile()) {
        bledy << "Nie można zapisać filmu " << cel << ": to nie jest zwykły plik\n";
        return false;
    }
    const QString docelowy = info.absoluteFilePath();
    QTemporaryFile tymczasowy(docelowy + QStringLiteral(".XXXXXX.tmp"));
    if (!tymczasowy.open()) {
        bledy << "Nie można zapisać filmu " << cel << ": " << tymczasowy.errorString().toStdString() << '\n';
        return false;
    }
    tymczasowy.close();
    QProcess proces;
    proces.setProcessChannelMode(QProcess::SeparateChannels);
    proces.start(
        ffmpeg,
        {QStringLiteral("-y"),      QStringLiteral("-loglevel"),   QStringLiteral("error"),
         QStringLiteral("-f"),      QStringLiteral("rawvideo"),    QStringLiteral("-pix_fmt"),
         QStringLiteral("bgra"),    QStringLiteral("-s"),          QStringLiteral("%1x%2").arg(W).arg(H),
         QStringLiteral("-r"),      QString::number(klS, 'g', 10), QStringLiteral("-i"),
         QStringLiteral("-"),       QStringLiteral("-vf"),         QStringLiteral("pad=ceil(iw/2)*2:ceil(ih/2)*2"),
         QStringLiteral("-c:v"),    QStringLiteral("libx264"),     QStringLiteral("-pix_fmt"),
         QStringLiteral("yuv420p"), QStringLiteral("-f"),          QStringLiteral("mp4"),
         tymczasowy.fileName()});
    auto blad = [&](const std::string& co) {
        proces.kill();
        proces.waitForFinished(5000);
        const QByteArray komunikat = proces.readAllStandardError().trimmed();
        bledy << "Nie można zapisać filmu " << cel << ": " << co;
        if (!komunikat.isEmpty()) bledy << " (ffmpeg: " << komunikat.toStdString() << ")";
        bledy << '\n';
        return false;
    };
    if (!proces.waitForStarted(10000)) return blad("nie uruchomiono programu ffmpeg");
    const bool terminal = isatty(STDERR_FILENO);
    for (int i = 0; i < ileKlatek; ++i) {
        QImage obraz = klatka(i);
        if (obraz.format() != QImage::Format_RGB32) obraz = obraz.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < H; ++y) {
            const char* wiersz = reinterpret_cast<const char*>(obraz.constScanLine(y));
            qint64 zostalo = static_cast<qint64>(W) * 4;
            while (zostalo > 0) {
                const qint64 n = proces.write(wiersz, zostalo);
                if (n < 0) return blad("ffmpeg przestał przyjmować klatki");
                wiersz += n;
                zostalo -= n;
            }
        }
        // Keep the pipe's buffer small: wait until ffmpeg has taken the frame.
        while (proces.bytesToWrite() > 0)
            if (!proces.waitForBytesWritten(30000)) return blad("ffmpeg przestał przyjmować klatki");
        bledy << "klatka " << i + 1 << "/" << ileKlatek << (terminal ? "   \r" : "\n");
        bledy.flush();
    }
    if (terminal) bledy << '\n';
    proces.closeWriteChannel();
    if (!proces.waitForFinished(600000) || proces.exitStatus() != QProcess::NormalExit || proces.exitCode() != 0)
        return blad("ffmpeg zakończył się błędem");
    if (std::rename(QFile::encodeName(tymczasowy.fileName()).constData(), QFile::encodeName(docelowy).constData()) != 0)
        return blad(std::string("nie można nadać filmowi nazwy docelowej: ") + std::strerror(errno));
    // The renamed file is the film now; the temporary object must not remove it.
    tymczasowy.setAutoRemove(false);
    return true;
}

// ---------------------------------------------------------------------------
// Commands.

int Raport(const std::vector<std::string>& a, std::ostream& wyjscie, std::ostream& bledy) {
    const TArgumenty arg = Rozbierz(a, 1, kOpcjeLandXML);
    SprawdzPliki(arg.Pozycyjne);
    StanOkna(SzerokoscDomyslna, WysokoscDomyslna, false, bledy);
    const bool ok = Wczytaj(arg.Pozycyjne, bledy, OpcjeWczytania(arg));
    // The route report already ends with the messages of the last route build.
    InfoTerenProj();
    for (const std::string& l : OpisTekst) wyjscie << l << '\n';
    InfoTrasy();
    for (const std::string& l : OpisTekst) wyjscie << l << '\n';
    OpisTekst.clear();
    wyjscie.flush();
    return KodKoncowy(ok);
}

int Pikiety(const std::vector<std::string>& a, std::ostream& wyjscie, std::ostream& bledy) {
    const TArgumenty arg = Rozbierz(a, 1, ZOpcjamiLandXML({{"--krok", {true}}}));
    SprawdzPliki(arg.Pozycyjne);
    const double krok = Liczba(arg, "--krok", 10.0);
    if (!(krok > 0.0)) throw BladUzycia("krok musi być liczbą dodatnią");
    StanOkna(SzerokoscDomyslna, WysokoscDomyslna, false, bledy);
    const bool ok = Wczytaj(arg.Pozycyjne, bledy, OpcjeWczytania(arg));
    if (const std::optional<int> kod = KodBezTrasy(ok, bledy)) return *kod;
    const double pikMax = Trasa.PikMax;
    if (pikMax / krok > NajwiecejWierszy) throw BladUzycia("krok jest za mały dla tej trasy");

    std::string tekst = "pikieta;X;Y;kierunek\n";
    for (const double s : PikietyCoKrok(pikMax, krok)) {
        double x = 0.0, y = 0.0;
        PunktNaPikiecie(s, x, y);
        const double kat = KatNaPikiecie(s);
        tekst += Stala(Trasa.PikStart + s, 4) + ';' + Stala(x + Trasa.Dx, 4) + ';' + Stala(y + Trasa.Dy, 4) + ';' +
                 Stala(kat, 6) + '\n';
    }
    wyjscie << tekst;
    wyjscie.flush();
    return KodKoncowy(ok);
}

// A height to 3 decimals, or an empty field where the surface has none.
std::string PoleWysokosci(const std::optional<double>& z) { return z ? Stala(*z, 3) : std::string(); }

int Przekroj(const std::vector<std::string>& a, std::ostream& wyjscie, std::ostream& bledy) {
    const TArgumenty arg = Rozbierz(
        a, 1, ZOpcjamiLandXML({{"--pikieta", {true}}, {"--szerokosc", {true}}, {"--krok", {true}}}));
    SprawdzPliki(arg.Pozycyjne);
    if (!arg.Wartosc("--pikieta")) throw BladUzycia("przekroj potrzebuje opcji --pikieta S");
    const double pikieta = Liczba(arg, "--pikieta", 0.0);
    const double szerokosc = Liczba(arg, "--szerokosc", 30.0);
    const double krok = Liczba(arg, "--krok", 0.5);
    if (!std::isfinite(pikieta)) throw BladUzycia("pikieta musi być liczbą skończoną");
    if (!(krok > 0.0) || !std::isfinite(krok)) throw BladUzycia("krok musi być liczbą dodatnią");
    if (!(szerokosc > 0.0) || !std::isfinite(szerokosc)) throw BladUzycia("szerokość musi być liczbą dodatnią");
    if (2.0 * szerokosc / krok > NajwiecejWierszy) throw BladUzycia("krok jest za mały dla tej szerokości");
    StanOkna(SzerokoscDomyslna, WysokoscDomyslna, false, bledy);
    const bool ok = Wczytaj(arg.Pozycyjne, bledy, OpcjeWczytania(arg));
    if (const std::optional<int> kod = KodBezTrasy(ok, bledy)) return *kod;
    std::string tekst = "odleglosc;X;Y;Z_proj;Z_teren\n";
    for (const TPunktProfilu& p : ObliczPrzekroj(PikietaTrasy(pikieta), szerokosc, krok, IndeksPROJ(), IndeksTEREN()))
        tekst += Stala(p.Odleglosc, 4) + ';' + Stala(p.X, 4) + ';' + Stala(p.Y, 4) + ';' + PoleWysokosci(p.ZProj) +
                 ';' + PoleWysokosci(p.ZTeren) + '\n';
    wyjscie << tekst;
    wyjscie.flush();
    return KodKoncowy(ok);
}

int Widocznosc(const std::vector<std::string>& a, std::ostream& wyjscie, std::ostream& bledy) {
    const TArgumenty arg = Rozbierz(a, 1,
                                    ZOpcjamiLandXML({{"--krok", {true}},
                                                     {"--oko", {true}},
                                                     {"--cel", {true}},
                                                     {"--przesuniecie", {true}},
                                                     {"--predkosc", {true}},
                                                     {"--zasieg", {true}},
                                                     {"--czas-reakcji", {true}},
                                                     {"--opoznienie", {true}},
                                                     {"--kierunek", {true}}}));
    SprawdzPliki(arg.Pozycyjne);
    TUstawieniaWidocznosci u;
    u.Krok = Liczba(arg, "--krok", u.Krok);
    u.WysokoscOka = Liczba(arg, "--oko", u.WysokoscOka);
    u.WysokoscCelu = Liczba(arg, "--cel", u.WysokoscCelu);
    u.Przesuniecie = Liczba(arg, "--przesuniecie", u.Przesuniecie);
    u.Zasieg = Liczba(arg, "--zasieg", u.Zasieg);
    u.CzasReakcji = Liczba(arg, "--czas-reakcji", u.CzasReakcji);
    u.Opoznienie = Liczba(arg, "--opoznienie", u.Opoznienie);
    if (arg.Wartosc("--predkosc")) {
        u.Predkosc = Liczba(arg, "--predkosc", 0.0);
        if (!(u.Predkosc > 0.0)) throw BladUzycia("prędkość musi być liczbą dodatnią");
    }
    if (const std::string* k = arg.Wartosc("--kierunek")) {
        if (*k == "naprzod")
            u.Wstecz = false;
        else if (*k == "wstecz")
            u.Naprzod = false;
        else if (*k != "oba")
            throw BladUzycia("opcja --kierunek: „" + *k + "” (oczekiwano oba, naprzod albo wstecz)");
    }
    const std::string blad = BladUstawienWidocznosci(u);
    if (!blad.empty()) throw BladUzycia(blad);

    StanOkna(SzerokoscDomyslna, WysokoscDomyslna, false, bledy);
    const bool ok = Wczytaj(arg.Pozycyjne, bledy, OpcjeWczytania(arg));
    if (const std::optional<int> kod = KodBezTrasy(ok, bledy)) return *kod;
    if (Trasa.PikMax / u.Krok > NajwiecejWierszy) throw BladUzycia("krok jest za mały dla tej trasy");
    const auto wiersze = ObliczWidocznosc(u, IndeksPROJ(), IndeksTEREN());
    std::string tekst = "pikieta;kierunek;dostepna;wymagana;ocena;granica;X;Y;Z;powierzchnia\n";
    for (const TWierszWidocznosci& w : *wiersze) {
        tekst += Stala(w.Pikieta, 4) + (w.Kierunek > 0 ? ";+;" : ";-;") + Stala(w.Dostepna, 2) + ';' +
                 (std::isfinite(w.Wymagana) ? Stala(w.Wymagana, 2) : std::string("inf")) + ';' +
                 (w.Ocena ? "tak" : "nie") + ';' + TekstGranicy(w.Granica) + ';';
        if (w.Przeszkoda)
            tekst += Stala(w.Przeszkoda->X, 3) + ';' + Stala(w.Przeszkoda->Y, 3) + ';' + Stala(w.Przeszkoda->Z, 3) +
                     ';' + TekstPowierzchni(w.Powierzchnia);
        else
            tekst += ";;;";
        tekst += '\n';
    }
    wyjscie << tekst;
    wyjscie.flush();
    return KodKoncowy(ok);
}

bool KonczySiePng(const std::string& nazwa) {
    if (nazwa.size() < 4) return false;
    std::string e = nazwa.substr(nazwa.size() - 4);
    for (char& c : e) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return e == ".png";
}

int Obraz(const std::vector<std::string>& a, std::ostream&, std::ostream& bledy) {
    const TArgumenty arg = Rozbierz(
        a, 1,
        ZOpcjamiLandXML(ZOpcjamiKierowcy({{"--pikieta", {true}}, {"--rozmiar", {true}}, {"--parametry", {false}}})));
    if (arg.Pozycyjne.empty()) throw BladUzycia("nie podano plików danych ani pliku obrazu");
    const std::string wyjscie = arg.Pozycyjne.back();
    if (!KonczySiePng(wyjscie)) throw BladUzycia("ostatnim argumentem musi być plik obrazu .png");
    const std::vector<std::string> pliki(arg.Pozycyjne.begin(), arg.Pozycyjne.end() - 1);
    SprawdzPliki(pliki);
    const TRozmiar r = Rozmiar(arg);
    const bool naPikiecie = arg.Wartosc("--pikieta") != nullptr;
    // The slider moves in whole units: the chainage is rounded as its position would be.
    const double pikieta = std::round(Liczba(arg, "--pikieta", 0.0));

    StanOkna(r.W, r.H, true, bledy);
    UstawKierowce(arg);
    if (WidokKierowcy.Wlaczony && !naPikiecie)
        throw BladUzycia("widok kierowcy (--kierowca) potrzebuje pikiety (--pikieta)");
    Rzut.RysujParametryEkran = arg.Flagi.count("--parametry") > 0;
    const bool ok = Wczytaj(pliki, bledy, OpcjeWczytania(arg));
    PiszKomunikatyTrasy(bledy);
    if (naPikiecie) {
        if (!Trasa.Obliczona) {
            bledy << "Trasa nie jest obliczona.\n";
            return ok ? KodBrakTrasy : KodBladPliku;
        }
        bool powiedziane = false;
        UstawNaPikiecieSuwaka(std::round(PikietaTrasy(pikieta)), bledy, powiedziane);
    }
    TPodzialKlatki podzial;
    if (!ZapiszPng(Klatka(r.W, r.H, podzial), wyjscie, bledy)) return KodBladPliku;
    return KodKoncowy(ok);
}

int Profil(const std::vector<std::string>& a, std::ostream& wyjscie, std::ostream& bledy) {
    const TArgumenty arg = Rozbierz(a, 1,
                                    ZOpcjamiLandXML({{"--krok", {true}},
                                                     {"--obraz", {true}},
                                                     {"--pikieta", {true}},
                                                     {"--przewyzszenie", {true}},
                                                     {"--rozmiar", {true}}}));
    SprawdzPliki(arg.Pozycyjne);
    const double krok = Liczba(arg, "--krok", 10.0);
    if (!(krok > 0.0) || !std::isfinite(krok)) throw BladUzycia("krok musi być liczbą dodatnią");
    const std::string* obraz = arg.Wartosc("--obraz");
    if (obraz && !KonczySiePng(*obraz)) throw BladUzycia("opcja --obraz: plik obrazu musi mieć końcówkę .png");
    if (!obraz && (arg.Wartosc("--pikieta") || arg.Wartosc("--przewyzszenie") || arg.Wartosc("--rozmiar")))
        throw BladUzycia("opcje --pikieta, --przewyzszenie i --rozmiar działają tylko z --obraz");
    const double pikieta = Liczba(arg, "--pikieta", 0.0);
    const double przewyzszenie = Liczba(arg, "--przewyzszenie", PrzewyzszenieDomyslne);
    if (!std::isfinite(pikieta)) throw BladUzycia("pikieta musi być liczbą skończoną");
    if (!(przewyzszenie >= PrzewyzszenieNajmniejsze && przewyzszenie <= PrzewyzszenieNajwieksze))
        throw BladUzycia("przewyższenie musi leżeć między " + G2(PrzewyzszenieNajmniejsze) + " a " +
                         G2(PrzewyzszenieNajwieksze));
    TRozmiar r;
    r.W = RozmiarRysunkuProfilu.width();
    r.H = RozmiarRysunkuProfilu.height();
    if (arg.Wartosc("--rozmiar")) r = Rozmiar(arg);
    StanOkna(SzerokoscDomyslna, WysokoscDomyslna, false, bledy);
    const bool ok = Wczytaj(arg.Pozycyjne, bledy, OpcjeWczytania(arg));
    if (const std::optional<int> kod = KodBezTrasy(ok, bledy)) return *kod;
    if (obraz) {
        // The slider stands on whole metres: the chainage is rounded as its position would be.
        const TDaneRysunkuProfilu dane = ObliczDaneRysunkuProfilu(std::round(PikietaTrasy(pikieta)), przewyzszenie);
        if (!ZapiszPng(ObrazProfilu(dane, QSize(r.W, r.H)), *obraz, bledy)) return KodBladPliku;
        return KodKoncowy(ok);
    }
    if (Trasa.PikMax / krok > NajwiecejWierszy) throw BladUzycia("krok jest za mały dla tej trasy");
    std::string tekst = "pikieta;X;Y;Z_proj;Z_teren;roznica\n";
    for (const TPunktProfilu& p : ObliczProfil(PikietyCoKrok(Trasa.PikMax, krok), IndeksPROJ(), IndeksTEREN()))
        tekst += Stala(Trasa.PikStart + p.Pikieta, 4) + ';' + Stala(p.X, 4) + ';' + Stala(p.Y, 4) + ';' +
                 PoleWysokosci(p.ZProj) + ';' + PoleWysokosci(p.ZTeren) + ';' + PoleWysokosci(p.Roznica()) + '\n';
    wyjscie << tekst;
    wyjscie.flush();
    return KodKoncowy(ok);
}

int Przejazd(const std::vector<std::string>& a, std::ostream&, std::ostream& bledy) {
    const TArgumenty arg = Rozbierz(a, 1,
                                    ZOpcjamiLandXML(ZOpcjamiKierowcy({{"--od", {true}},
                                                                      {"--do", {true}},
                                                                      {"--krok", {true}},
                                                                      {"--rozmiar", {true}},
                                                                      {"--parametry", {false}},
                                                                      {"--wideo", {true}},
                                                                      {"--kl-s", {true}},
                                                                      {"--predkosc", {true}}})));
    const std::string* wideo = arg.Wartosc("--wideo");
    if (!wideo && (arg.Wartosc("--kl-s") || arg.Wartosc("--predkosc")))
        throw BladUzycia("opcje --kl-s i --predkosc działają tylko z --wideo");
    if (wideo && wideo->empty()) throw BladUzycia("opcja --wideo: nie podano nazwy filmu");
    if (arg.Pozycyjne.empty()) throw BladUzycia("nie podano plików danych ani katalogu klatek");
    const std::string katalog = wideo ? std::string() : arg.Pozycyjne.back();
    if (!wideo && PlikDanych(katalog) && !QFileInfo(QString::fromLocal8Bit(katalog.c_str())).isDir())
        throw BladUzycia("ostatnim argumentem musi być katalog klatek, nie plik danych „" + katalog + "”");
    const std::vector<std::string> pliki(arg.Pozycyjne.begin(), arg.Pozycyjne.end() - (wideo ? 0 : 1));
    SprawdzPliki(pliki);
    const TRozmiar r = Rozmiar(arg);
    const double klS = Liczba(arg, "--kl-s", 25.0);
    if (!(klS >= 1.0 && klS <= 120.0))
        throw BladUzycia("opcja --kl-s: liczba klatek na sekundę musi leżeć między 1 a 120");
    const double predkosc = Liczba(arg, "--predkosc", 0.0);
    if (arg.Wartosc("--predkosc") && !(predkosc > 0.0 && predkosc <= 1000.0))
        throw BladUzycia("opcja --predkosc: prędkość musi leżeć między 0 a 1000 km/h");
    if (arg.Wartosc("--predkosc") && arg.Wartosc("--krok"))
        throw BladUzycia("podaj albo --krok, albo --predkosc (krok = prędkość ÷ klatki na sekundę)");
    const double krok = arg.Wartosc("--predkosc") ? predkosc / 3.6 / klS : Liczba(arg, "--krok", 1.0);
    if (!(krok > 0.0)) throw BladUzycia("krok musi być liczbą dodatnią");
    Liczba(arg, "--od", 0.0);
    Liczba(arg, "--do", 0.0);
    // Without ffmpeg no film can be made: said before anything is loaded or written.
    QString ffmpeg;
    if (wideo) {
        ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
        if (ffmpeg.isEmpty()) {
            bledy << "Brak programu ffmpeg, który zapisuje filmy. Zainstaluj pakiet ffmpeg "
                     "(sudo apt-get install ffmpeg) albo zapisz klatki do katalogu (bez --wideo).\n";
            return KodBladUzycia;
        }
    }

    StanOkna(r.W, r.H, true, bledy);
    UstawKierowce(arg);
    Rzut.RysujParametryEkran = arg.Flagi.count("--parametry") > 0;
    const bool ok = Wczytaj(pliki, bledy, OpcjeWczytania(arg));
    if (const std::optional<int> kod = KodBezTrasy(ok, bledy)) return *kod;
    const double od = PikietaTrasy(Liczba(arg, "--od", Trasa.PikStart + Trasa.PikMin));
    const double doPik = PikietaTrasy(Liczba(arg, "--do", Trasa.PikStart + Trasa.PikMax));
    if (od > doPik) throw BladUzycia("początek przejazdu (--od) leży za jego końcem (--do)");
    // The chainages od, od + krok, ... up to doPik, and doPik itself when the
    // steps do not land on it (a drive ends at its end).
    const double zapas = 1e-9 * std::max(1.0, std::fabs(doPik));
    const double ileKrokow = std::floor((doPik - od) / krok + 1e-9);
    if (ileKrokow + 2 > NajwiecejKlatek) throw BladUzycia("za dużo klatek: zwiększ krok");
    std::vector<double> pikiety;
    for (long long k = 0; k <= static_cast<long long>(ileKrokow); ++k) pikiety.push_back(od + k * krok);
    if (doPik - pikiety.back() > zapas) pikiety.push_back(doPik);

    if (wideo) {
        bool powiedziane = false;
        TPodzialKlatki podzial;
        auto klatka = [&](int i) {
            UstawNaPikiecieSuwaka(pikiety[static_cast<std::size_t>(i)], bledy, powiedziane);
            return Klatka(r.W, r.H, podzial);
        };
        const bool zapisany = ZapiszFilm(ffmpeg, *wideo, r.W, r.H, klS, static_cast<int>(pikiety.size()), klatka,
                                         bledy);
        return zapisany ? KodKoncowy(ok) : KodBladPliku;
    }

    const QString kat = QString::fromLocal8Bit(katalog.c_str());
    if (!QDir().mkpath(kat)) {
        bledy << "Nie można utworzyć katalogu " << katalog << '\n';
        return KodBladPliku;
    }
    const bool terminal = isatty(STDERR_FILENO);
    const int ile = static_cast<int>(pikiety.size());
    auto nazwa = [&](int n) {
        char b[32];
        std::snprintf(b, sizeof b, "klatka_%05d.png", n);
        return QDir(kat).filePath(QString::fromLatin1(b)).toStdString();
    };
    TPodzialKlatki podzial;  // kept from frame to frame, as the window keeps it
    bool powiedziane = false;
    for (int i = 0; i < ile; ++i) {
        UstawNaPikiecieSuwaka(pikiety[i], bledy, powiedziane);
        if (!ZapiszPng(Klatka(r.W, r.H, podzial), nazwa(i + 1), bledy)) return KodBladPliku;
        bledy << "klatka " << i + 1 << "/" << ile << ", pikieta " << F2(Trasa.PikStart + pikiety[i])
              << (terminal ? "   \r" : "\n");
        bledy.flush();
    }
    if (terminal) bledy << '\n';
    // Frames of an earlier, longer drive would run on after this one in a film.
    for (int n = ile + 1; QFileInfo::exists(QString::fromStdString(nazwa(n))); ++n)
        QFile::remove(QString::fromStdString(nazwa(n)));
    return KodKoncowy(ok);
}

int Przepisz(const std::vector<std::string>& a, std::ostream&, std::ostream& bledy) {
    const TArgumenty arg = Rozbierz(a, 1, {});
    if (arg.Pozycyjne.size() != 2) throw BladUzycia("przepisz potrzebuje dokładnie dwóch plików: ZRODLO.mtp CEL.tro");
    const std::string& zrodlo = arg.Pozycyjne[0];
    const std::string& cel = arg.Pozycyjne[1];
    if (RodzajPliku(cel) == TRodzajPliku::MTP)
        throw BladUzycia("plik docelowy „" + cel + "” ma rozszerzenie .mtp; oczekiwano .tro");
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

// Writes a file through `pisz` with the program's one safe writer; a failure
// (nothing to write, a target that is not a regular file, a full disk) is said
// on `bledy` and leaves the old target as it was.
bool ZapiszPlikWyjsciowy(const std::string& sciezka, const std::function<void(std::ostream&)>& pisz,
                         std::ostream& bledy) {
    try {
        ZapiszBezpiecznie(sciezka, pisz);
    } catch (const BladKonwersji& e) {
        bledy << e.what() << '\n';
        return false;
    }
    return true;
}

bool KonczySie(const std::string& nazwa, std::string_view koncowka) {
    if (nazwa.size() < koncowka.size()) return false;
    std::string e = nazwa.substr(nazwa.size() - koncowka.size());
    for (char& c : e) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return e == koncowka;
}

// landxml PLIK... WYJSCIE.xml and gltf PLIK... WYJSCIE.glb: what is loaded, written in another format.
int Eksport(const std::vector<std::string>& a, std::ostream& bledy, std::string_view koncowka,
            void (*pisz)(std::ostream&)) {
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
    const bool ok = Wczytaj(pliki, bledy, OpcjeWczytania(arg));
    PiszKomunikatyTrasy(bledy);
    if (!ZapiszPlikWyjsciowy(wyjscie, pisz, bledy)) return KodBladPliku;
    return KodKoncowy(ok);
}

}  // namespace

std::string TekstPomocy() {
    return R"(orvany3d-cli — Orvany3D w wierszu poleceń: raporty, tabela pikiet, profil
podłużny i przekroje, obrazy, klatki przejazdu, przepisywanie plików .mtp na
.tro oraz zapis LandXML i glTF. Obrazy są rysowane tym samym rysowaniem co okno
programu Orvany3D.

Użycie:
  orvany3d-cli raport PLIK...
  orvany3d-cli pikiety PLIK... [--krok KROK]
  orvany3d-cli profil PLIK... [--krok KROK]
  orvany3d-cli profil PLIK... --obraz WYJSCIE.png [--pikieta S] [--przewyzszenie N] [--rozmiar SZERxWYS]
  orvany3d-cli przekroj PLIK... --pikieta S [--szerokosc W] [--krok K]
  orvany3d-cli widocznosc PLIK... [--krok K] [--oko H] [--cel H] [--przesuniecie O]
               [--predkosc V] [--zasieg D] [--czas-reakcji T] [--opoznienie A]
               [--kierunek oba|naprzod|wstecz]
  orvany3d-cli obraz PLIK... WYJSCIE.png [--pikieta S] [--rozmiar SZERxWYS] [--parametry]
                     [--kierowca [--oko H] [--przesuniecie O] [--wstecz]] [--slupki]
  orvany3d-cli przejazd PLIK... KATALOG [--od S] [--do S] [--krok S] [--rozmiar SZERxWYS] [--parametry]
                     [--kierowca [--oko H] [--przesuniecie O] [--wstecz]] [--slupki]
  orvany3d-cli przejazd PLIK... --wideo FILM.mp4 [--kl-s 25] [--predkosc V] [--od S] [--do S] ...
  orvany3d-cli przepisz ZRODLO.mtp CEL.tro
  orvany3d-cli landxml PLIK... WYJSCIE.xml
  orvany3d-cli gltf PLIK... WYJSCIE.glb
  orvany3d-cli --help

PLIK... to pliki .tro, .mtp, LandXML 1.2 (.xml) i siatki NMT, wczytywane po kolei jak w
oknie programu: plik późniejszy zastępuje tylko te sekcje, które sam zawiera.
Czytnik wybierają trzy ostatnie znaki nazwy (bez względu na wielkość liter):
TRO, MTP albo XML; inna nazwa to błąd użycia. Z pliku LandXML wczytywana jest
powierzchnia TEREN (domyślnie pierwsza powierzchnia pliku), powierzchnia PROJ
(domyślnie żadna) i jedna trasa (domyślnie pierwsza); każde polecenie
wczytujące pliki przyjmuje opcje wyboru:
      --teren NAZWA    powierzchnia pliku LandXML wczytywana jako TEREN
      --proj NAZWA     powierzchnia pliku LandXML wczytywana jako PROJ
      --trasa NAZWA    trasa (Alignment) pliku LandXML
      --bez-terenu     z pliku LandXML nie jest wczytywany teren (zostaje ten w pamięci)
      --bez-trasy      z pliku LandXML nie jest wczytywana trasa (zostaje ta w pamięci)
Siatki numerycznego modelu terenu (.asc, .xyz, .tif, .tiff; GDAL) stają się
terenem TEREN: siatka jest przerzedzana do sieci trójkątów, w której każdy węzeł
z wysokością leży najwyżej o tolerancję od trójkątów; kilka siatek podanych po
sobie to arkusze jednego terenu. Opcje siatek:
      --tolerancja M   tolerancja wysokości w metrach (domyślnie 0.10)
      --pas M          tylko siatka do M metrów (w planie) od trasy wczytanej
                       wcześniej (plik z trasą przed siatką)
      --zamien-xy      pliki XYZ w kolejności geodezyjnej (x = północ pierwsza);
                       domyślnie kolejność GIS (wschód, północ, wysokość)
      --uklad-pliku EPSG  układ siatki, gdy plik go nie podaje (np. 2180)
      --uklad EPSG     układ projektu (domyślnie układ wczytanej trasy lub
                       powierzchni); wierzchołki siatki są do niego przeliczane,
                       wysokości bez zmian
Pikiety trasy z pliku LandXML liczą się od jej pikiety początkowej (staStart):
tak są wypisywane i tak podaje się je w opcjach --pikieta, --od i --do. Plik, którego nie da się wczytać, nie zmienia danych:
jego komunikat (ten sam, co w oknie błędu programu) trafia na standardowe
wyjście błędów, a narzędzie wczytuje kolejne pliki i kończy się kodem 1.

Polecenia:
  raport     Raport o siatkach („Info Teren, Proj”), a po nim raport o trasie
             („Info Trasa”), wiersz po wierszu jak w oknie „Opis”, z separatorem
             dziesiętnym języka z otoczenia (LC_ALL=C: kropka, pl_PL: przecinek).
             Raport o trasie kończy się komunikatami ostatniego obliczenia trasy,
             jeśli były (nie są powtarzane osobno).

  pikiety    Tabela pikiet do tyczenia: nagłówek „pikieta;X;Y;kierunek”, potem
             pikiety 0, KROK, 2·KROK, ... mniejsze od końca trasy i sam koniec
             trasy. X, Y to punkt trasy we współrzędnych pliku, kierunek to
             azymut trasy w radianach (od osi +X przeciwnie do ruchu wskazówek
             zegara). Zawsze kropka dziesiętna; pikieta, X, Y z 4 miejscami,
             kierunek z 6. Pikieta 0 i koniec trasy dają punkty 0,001 od końców
             trasy, jak w wyszukiwaniu punktu na pikiecie. KROK (domyślnie 10)
             musi być liczbą dodatnią. Komunikaty obliczenia trasy idą na
             standardowe wyjście błędów.
      --krok KROK      odstęp pikiet w metrach (kropka albo przecinek)

  profil     Profil podłużny: nagłówek „pikieta;X;Y;Z_proj;Z_teren;roznica”,
             potem te same pikiety co w poleceniu pikiety. Z_proj i Z_teren to
             wysokości powierzchni projektowanej (PROJ) i terenu (TEREN) w punkcie
             trasy, roznica = Z_proj - Z_teren (dodatnia: nasyp, ujemna: wykop).
             Gdzie powierzchni nie ma, jej pole i pole roznica są puste. Pikieta,
             X, Y z 4 miejscami, wysokości z 3; zawsze kropka dziesiętna.
      --krok KROK      odstęp pikiet w metrach (domyślnie 10)
      --obraz WYJSCIE.png  zamiast tabeli zapisuje rysunek okna „Profil
                       i przekrój”: profil podłużny całej trasy ze znacznikiem
                       pikiety i przekrój poprzeczny na tej pikiecie
      --pikieta S      pikieta znacznika i przekroju (domyślnie 0), zaokrąglana
                       do całych metrów jak pozycja suwaka
      --przewyzszenie N  przewyższenie profilu podłużnego (domyślnie 10)
      --rozmiar SZERxWYS rozmiar rysunku (domyślnie 1000x640)

  przekroj   Przekrój poprzeczny na pikiecie S: nagłówek
             „odleglosc;X;Y;Z_proj;Z_teren”, potem punkty prostopadle do trasy
             w odległościach będących wielokrotnościami K od -W do +W (oś,
             odległość 0, zawsze wśród nich; -W i +W dopisywane, gdy kroki na
             nie nie trafiają), dodatnie odległości na prawo od kierunku jazdy.
             X, Y we współrzędnych pliku; liczby jak w poleceniu profil.
      --pikieta S      pikieta przekroju (wymagana)
      --szerokosc W    zasięg na każdą stronę osi w metrach (domyślnie 30)
      --krok K         odstęp punktów w metrach (domyślnie 0,5)

  widocznosc Widoczność na zatrzymanie na pikietach 0, K, 2·K, ... i na końcu
             trasy, w obu kierunkach jazdy (wiersz „+” przed wierszem „-”).
             Oko stoi O w prawo od kierunku jazdy, prostopadle do trasy, H nad
             nawierzchnią PROJ (gdzie jej brak: nad TEREN); cel tak samo, H
             nad nawierzchnią, d dalej wzdłuż trasy. Cel jest widoczny, gdy
             odcinek oko–cel nigdzie nie schodzi pod PROJ ani pod TEREN poza
             obrysem PROJ (dawny teren nad drogą w wykopie jest usunięty). Dostępna
             odległość to najmniejsze d, przy którym cel jest zasłonięty
             (krok 1 m, potem połowienie do 0,05 m), albo zasięg D, albo
             koniec trasy. Wymagana Lz = v·t + v²/(2·(a + g·i)), v = V/3,6,
             i = pochylenie PROJ w kierunku jazdy na długości Lz, g = 9,81.
             Wynik: „pikieta;kierunek;dostepna;wymagana;ocena;granica;X;Y;Z;
             powierzchnia”; ocena tak/nie (tak także, gdy ogranicza koniec
             trasy); granica pusta, gdy cel został zasłonięty, inaczej zasieg,
             koniec albo brak (oko lub cel poza powierzchniami); X;Y;Z to
             pierwszy punkt, w którym zasłonięty odcinek schodzi pod
             powierzchnię (współrzędne pliku), powierzchnia TEREN albo PROJ.
             Wymagana „inf”, gdy a + g·i <= 0 (spadek zbyt duży).
      --krok K           odstęp pikiet w metrach (domyślnie 10)
      --oko H            wysokość oka nad nawierzchnią (domyślnie 1,0)
      --cel H            wysokość celu nad nawierzchnią (domyślnie 0,5)
      --przesuniecie O   odsunięcie w prawo od kierunku jazdy (domyślnie 1,75)
      --predkosc V       prędkość w km/h (domyślnie PredkoscV z wiersza
                         parametrów projektowych obowiązującego na pikiecie)
      --zasieg D         największa sprawdzana odległość (domyślnie 300)
      --czas-reakcji T   czas reakcji w sekundach (domyślnie 2,5)
      --opoznienie A     opóźnienie hamowania w m/s² (domyślnie 3,4)
      --kierunek oba|naprzod|wstecz   kierunki jazdy (domyślnie oba)

  obraz      Obraz okna głównego zapisany jako PNG: widok ogólny po wczytaniu
             ostatniego pliku, z okiem ustawionym jak po pierwszym wyświetleniu
             okna i wszystkimi przełącznikami rysowania jak przy starcie.
      --pikieta S      widok z pikiety S, jak po przesunięciu suwaka na S.
                       Suwak przesuwa się o całe metry, więc S jest zaokrąglane
                       do liczby całkowitej (2,5 -> 3). Pikieta poza trasą jest
                       ograniczana do trasy jak przy wyszukiwaniu punktu.
      --rozmiar SZERxWYS  rozmiar obszaru rysunku (domyślnie 958x637)
      --parametry      rysuje na obrazie blok parametrów widoku
      --kierowca       widok kierowcy (wymaga --pikieta): oko nad jezdnią,
                       odsunięte w prawo od osi w kierunku jazdy, wzrok wzdłuż
                       drogi, słupki pikietażowe co 100 m. Gdzie droga nie ma
                       wysokości, rysowany jest widok z trasy.
      --oko H          wysokość oka nad jezdnią w metrach (domyślnie 1,0)
      --przesuniecie O odsunięcie oka od osi w metrach, dodatnie w prawo
                       w kierunku jazdy (domyślnie 1,75)
      --wstecz         jazda pod prąd pikietażu
      --slupki         słupki pikietażowe także w widoku z trasy

  przejazd   Klatki przejazdu wzdłuż trasy: klatka_00001.png, klatka_00002.png,
             ... w KATALOGU (tworzonym w razie potrzeby) dla pikiet od --od do
             --do co --krok; ostatnią klatką jest zawsze --do. Każda klatka to
             obraz, jaki pokazuje okno po ustawieniu suwaka na tej pikiecie;
             pikiety nie są zaokrąglane, więc krok może być ułamkowy. Starsze
             klatki o dalszych numerach są usuwane. Postęp na standardowym
             wyjściu błędów.
      --od S           pierwsza pikieta (domyślnie początek trasy)
      --do S           ostatnia pikieta (domyślnie koniec trasy)
      --krok S         odstęp klatek w metrach (domyślnie 1)
      --rozmiar SZERxWYS, --parametry, --kierowca, --oko, --przesuniecie,
      --wstecz, --slupki  jak w poleceniu obraz
      --wideo FILM.mp4 zamiast klatek film H.264 (yuv420p) zapisany przez
                       program ffmpeg, do którego klatki idą potokiem; bez
                       ffmpeg kod 2 i nic nie jest zapisywane. Film powstaje
                       pod nazwą tymczasową i dostaje nazwę FILM.mp4 dopiero
                       po udanym zakończeniu.
      --kl-s N         klatki na sekundę filmu (domyślnie 25)
      --predkosc V     prędkość w km/h: krok = V / 3,6 / N metrów (zamiast --krok)

  przepisz   Przepisuje plik wymiany .mtp na plik trójkątów .tro. Plik docelowy
             powstaje pod nazwą tymczasową i zastępuje stary dopiero w całości;
             przy błędzie stary plik zostaje nietknięty.

  landxml    Zapisuje wczytane dane jako LandXML 1.2 w metrach: TEREN i PROJ jako
             dwie powierzchnie (Surface „TEREN” i „PROJ”, każdy wierzchołek raz,
             ściany przez id, współrzędne pliku) i obliczoną trasę jako jedną
             oś (Alignment „TRASA”: Line, Curve, Spiral ze staStart).

  gltf       Zapisuje TEREN i PROJ jako binarny glTF 2.0 (.glb) do oglądania w
             innych programach 3D i przeglądarkach: siatka na zbiór, kolory
             rodzajów powierzchni, normalne; oś Y w górę, początek układu
             lokalnego w przesunięciu (translation) węzła.

Opcje można podawać w dowolnym miejscu po poleceniu, także jako --opcja=wartość;
po „--” każdy argument jest nazwą pliku.

Kody wyjścia:
  0  wykonano
  1  nie udało się wczytać lub zapisać pliku (ma pierwszeństwo przed kodem 3)
  2  błąd użycia (nieznane polecenie lub opcja, zła liczba, zły rozmiar,
     nazwa pliku bez końcówki TRO/MTP/XML)
  2  także: brak programu ffmpeg (przejazd --wideo)
  3  trasa nie jest obliczona (pikiety, profil, przekroj, widocznosc, obraz --pikieta,
     przejazd); nic nie jest wypisywane ani zapisywane

Przykłady:
  orvany3d-cli raport Przyklady/Droga.tro
  orvany3d-cli pikiety Przyklady/Droga.tro --krok 25 > tyczenie.csv
  orvany3d-cli profil Przyklady/Droga.tro --krok 5 > profil.csv
  orvany3d-cli profil Przyklady/Droga.tro --obraz profil.png --pikieta 120
  orvany3d-cli przekroj Przyklady/Droga.tro --pikieta 120 --szerokosc 20 > przekroj.csv
  orvany3d-cli widocznosc Przyklady/Droga.tro --predkosc 70 > widocznosc.csv
  orvany3d-cli obraz Przyklady/Droga.tro droga.png --pikieta 120
  orvany3d-cli przejazd Przyklady/Droga.tro klatki --krok 0.5
  orvany3d-cli obraz Przyklady/Droga.tro kierowca.png --pikieta 600 --kierowca --oko 1.2
  orvany3d-cli przejazd Przyklady/Droga.tro --wideo film.mp4 --kierowca --predkosc 60 --od 100 --do 600
  orvany3d-cli przepisz Model/Droga.mtp Droga.tro
  orvany3d-cli pikiety projekt.xml --teren Istniejacy --trasa "Oś 1" --krok 20
  orvany3d-cli raport trasa.xml 6.117.25.1.2.asc 6.117.25.1.3.asc --pas 200 --uklad 2178
  orvany3d-cli landxml Przyklady/Droga.tro droga.xml
  orvany3d-cli gltf Przyklady/Droga.tro droga.glb
)";
}

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
        if (p == "przekroj") return Przekroj(a, wyjscie, bledy);
        if (p == "widocznosc") return Widocznosc(a, wyjscie, bledy);
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
