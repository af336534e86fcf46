#include "cli/Wspolne.h"

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
#include <chrono>
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

namespace cli {

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

// Runs ffmpeg writing the film into `plik`: the frames through its input
// pipe. Empty when it ended well, else what went wrong (with ffmpeg's own words).
std::string FilmFfmpeg(const QString& ffmpeg, const QString& plik, int W, int H, double klS, int ileKlatek,
                       const std::function<QImage(int)>& klatka, std::ostream& bledy) {
    QProcess proces;
    proces.setProcessChannelMode(QProcess::SeparateChannels);
    proces.start(ffmpeg, {QStringLiteral("-y"),
                          QStringLiteral("-loglevel"),
                          QStringLiteral("error"),
                          QStringLiteral("-f"),
                          QStringLiteral("rawvideo"),
                          QStringLiteral("-pix_fmt"),
                          QStringLiteral("bgra"),
                          QStringLiteral("-s"),
                          QStringLiteral("%1x%2").arg(W).arg(H),
                          QStringLiteral("-r"),
                          QString::number(klS, 'g', 10),
                          QStringLiteral("-i"),
                          QStringLiteral("-"),
                          QStringLiteral("-vf"),
                          QStringLiteral("pad=ceil(iw/2)*2:ceil(ih/2)*2"),
                          QStringLiteral("-c:v"),
                          QStringLiteral("libx264"),
                          QStringLiteral("-pix_fmt"),
                          QStringLiteral("yuv420p"),
                          QStringLiteral("-f"),
                          QStringLiteral("mp4"),
                          plik});
    auto blad = [&](const std::string& co) {
        proces.kill();
        proces.waitForFinished(5000);
        const QByteArray komunikat = proces.readAllStandardError().trimmed();
        return komunikat.isEmpty() ? co : co + " (ffmpeg: " + komunikat.toStdString() + ")";
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
    return {};
}

// The film: the frames go as raw pixels through a pipe into ffmpeg, which
// writes H.264 (yuv420p, the height and width made even) into the safe
// writer's temporary file beside the target; only a complete film is renamed
// onto the target (a new film gets 0666 less the umask, a replaced one keeps
// its bits), so a failure half-way leaves the target as it was and no temporary file.
bool ZapiszFilm(const QString& ffmpeg, const std::string& cel, int W, int H, double klS, int ileKlatek,
                const std::function<QImage(int)>& klatka, std::ostream& bledy) {
    try {
        ZapiszBezpiecznieNazwa(cel, [&](const std::string& nazwa) {
            const QString plik = QFile::decodeName(nazwa.c_str());
            if (const std::string blad = FilmFfmpeg(ffmpeg, plik, W, H, klS, ileKlatek, klatka, bledy); !blad.empty())
                throw BladKonwersji("Nie można zapisać filmu " + cel + ": " + blad);
        });
    } catch (const BladKonwersji& e) {
        bledy << e.what() << '\n';
        return false;
    }
    return true;
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
    TWczytane w = Wczytaj(pliki, bledy, OpcjeWczytania(arg));
    if (arg.Wartosc("--szerokosc-drogi")) UstawSzerokoscDrogi(w.Projekt, SzerokoscDrogi(arg));
    const bool ok = w.Ok;
    PiszKomunikatyTrasy(w, bledy);
    const DaneUstawieniaTrasy& trasa = PokazWczytane(w).Trasa;
    if (naPikiecie) {
        if (!trasa.Obliczona) {
            bledy << "Trasa nie jest obliczona.\n";
            return ok ? KodBrakTrasy : KodBladPliku;
        }
        bool powiedziane = false;
        UstawNaPikiecieSuwaka(trasa, std::round(PikietaNaTrasie(trasa, pikieta, "--pikieta", bledy)), bledy,
                              powiedziane, TKadr{r.W, r.H});
    }
    TPodzialKlatki podzial;
    if (!ZapiszPng(Klatka(r.W, r.H, podzial), wyjscie, bledy)) return KodBladPliku;
    return KodKoncowy(ok);
}

namespace {

// The frames of a drive drawn as the window draws them (into one picture
// kept from frame to frame, the placing included) and written nowhere; then
// "klatek: N, klatek/s: F" on `bledy`.
void PrzejazdBezZapisu(const DaneUstawieniaTrasy& trasa, const std::vector<double>& pikiety, const TRozmiar& r,
                       std::ostream& bledy) {
    QSize rozmiar(r.W, r.H);
    if (QScreen* ekran = QGuiApplication::primaryScreen()) rozmiar = rozmiar.expandedTo(ekran->size());
    QImage obraz(rozmiar, QImage::Format_RGB32);
    obraz.fill(KolorPrzycisku());
    TPodzialKlatki podzial;
    bool powiedziane = false;
    const auto start = std::chrono::steady_clock::now();
    for (double p : pikiety) {
        UstawNaPikiecieSuwaka(trasa, p, bledy, powiedziane, TKadr{r.W, r.H});
        PlotnoQt plotno(obraz);
        Przerysuj(plotno, r.W, r.H, podzial);
    }
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double n = static_cast<double>(pikiety.size());
    bledy << "klatek: " << pikiety.size() << ", klatek/s: " << F2(s > 0.0 ? n / s : 0.0) << '\n';
}

}  // namespace

int Przejazd(const std::vector<std::string>& a, std::ostream&, std::ostream& bledy) {
    const TArgumenty arg = Rozbierz(a, 1,
                                    ZOpcjamiLandXML(ZOpcjamiKierowcy({{"--od", {true}},
                                                                      {"--do", {true}},
                                                                      {"--krok", {true}},
                                                                      {"--rozmiar", {true}},
                                                                      {"--parametry", {false}},
                                                                      {"--wideo", {true}},
                                                                      {"--kl-s", {true}},
                                                                      {"--predkosc", {true}},
                                                                      {"--bez-zapisu", {false}}})));
    const std::string* wideo = arg.Wartosc("--wideo");
    const bool bezZapisu = arg.Flagi.count("--bez-zapisu") > 0;
    if (bezZapisu && wideo) throw BladUzycia("podaj albo --wideo, albo --bez-zapisu");
    if (!wideo && (arg.Wartosc("--kl-s") || arg.Wartosc("--predkosc")))
        throw BladUzycia("opcje --kl-s i --predkosc działają tylko z --wideo");
    if (wideo && wideo->empty()) throw BladUzycia("opcja --wideo: nie podano nazwy filmu");
    // A film and a drive without writing take no frame directory.
    const bool bezKatalogu = wideo || bezZapisu;
    if (arg.Pozycyjne.empty())
        throw BladUzycia(bezKatalogu ? "nie podano plików danych" : "nie podano plików danych ani katalogu klatek");
    const std::string katalog = bezKatalogu ? std::string() : arg.Pozycyjne.back();
    if (!bezKatalogu && PlikDanych(katalog) && !QFileInfo(QString::fromLocal8Bit(katalog.c_str())).isDir())
        throw BladUzycia("ostatnim argumentem musi być katalog klatek, nie plik danych „" + katalog + "”");
    const std::vector<std::string> pliki(arg.Pozycyjne.begin(), arg.Pozycyjne.end() - (bezKatalogu ? 0 : 1));
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
    TWczytane w = Wczytaj(pliki, bledy, OpcjeWczytania(arg));
    if (arg.Wartosc("--szerokosc-drogi")) UstawSzerokoscDrogi(w.Projekt, SzerokoscDrogi(arg));
    const bool ok = w.Ok;
    if (const std::optional<int> kod = KodBezTrasy(w, bledy)) return *kod;
    const DaneUstawieniaTrasy& trasa = PokazWczytane(w).Trasa;
    // The drive runs from --od to --do: against the chainage when --od lies beyond --do, or with --wstecz (then
    // from the higher of the two by default, the route's end). The frames are numbered in the order of travel.
    const bool wstecz = arg.Flagi.count("--wstecz") > 0;
    const double pocz = trasa.PikStart + trasa.PikMin, kon = trasa.PikStart + trasa.PikMax;
    double od = PikietaNaTrasie(trasa, Liczba(arg, "--od", wstecz ? kon : pocz), "--od", bledy);
    double doPik = PikietaNaTrasie(trasa, Liczba(arg, "--do", wstecz ? pocz : kon), "--do", bledy);
    if (wstecz && od < doPik) std::swap(od, doPik);
    const double kierunek = doPik < od ? -1.0 : 1.0;
    if (kierunek < 0 && WidokKierowcy.Wlaczony) WidokKierowcy.Oko.WPrzod = false;
    // The chainages od, od ± krok, ... up to doPik, and doPik itself when the
    // steps do not land on it (a drive ends at its end).
    const double zapas = 1e-9 * std::max(1.0, std::fabs(doPik));
    const double ileKrokow = std::floor(std::fabs(doPik - od) / krok + 1e-9);
    if (ileKrokow + 2 > NajwiecejKlatek) throw BladUzycia("za dużo klatek: zwiększ krok");
    std::vector<double> pikiety;
    for (long long k = 0; k <= static_cast<long long>(ileKrokow); ++k) pikiety.push_back(od + kierunek * k * krok);
    if (std::fabs(doPik - pikiety.back()) > zapas) pikiety.push_back(doPik);

    if (bezZapisu) {
        PrzejazdBezZapisu(trasa, pikiety, r, bledy);
        return KodKoncowy(ok);
    }

    if (wideo) {
        bool powiedziane = false;
        TPodzialKlatki podzial;
        auto klatka = [&](int i) {
            UstawNaPikiecieSuwaka(trasa, pikiety[static_cast<std::size_t>(i)], bledy, powiedziane, TKadr{r.W, r.H});
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
        UstawNaPikiecieSuwaka(trasa, pikiety[i], bledy, powiedziane, TKadr{r.W, r.H});
        if (!ZapiszPng(Klatka(r.W, r.H, podzial), nazwa(i + 1), bledy)) return KodBladPliku;
        bledy << "klatka " << i + 1 << "/" << ile << ", pikieta " << F2(trasa.PikStart + pikiety[i])
              << (terminal ? "   \r" : "\n");
        bledy.flush();
    }
    if (terminal) bledy << '\n';
    // Frames of an earlier, longer drive would run on after this one in a film.
    for (int n = ile + 1; QFileInfo::exists(QString::fromStdString(nazwa(n))); ++n)
        QFile::remove(QString::fromStdString(nazwa(n)));
    return KodKoncowy(ok);
}

}  // namespace cli
