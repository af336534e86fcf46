// The one safe writer: modes kept, links written through, non-regular targets refused, failures leave the old file.
#include <csignal>
#include <filesystem>
#include <set>
#include <stdexcept>

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include "common/Funkcje.h"
#include "common/ZapisBezpieczny.h"
#include "pomocnicze/Pomocnicze.h"

namespace fs = std::filesystem;

namespace {

mode_t Tryb(const std::string& p) {
    struct stat st {};
    return ::stat(p.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// The names in a directory tree (a temporary file left behind shows up here).
std::set<std::string> Nazwy(const std::string& k) {
    std::set<std::string> w;
    for (const auto& e : fs::recursive_directory_iterator(k)) w.insert(e.path().lexically_relative(k).string());
    return w;
}

// A umask for the lifetime of the object.
struct TUmask {
    mode_t Stara;
    explicit TUmask(mode_t m) : Stara(::umask(m)) {}
    ~TUmask() { ::umask(Stara); }
};

TEST(ZapisBezpieczny, NowyIZastapionyPlikZachowujeUprawnienia) {
    // Content past the stream's 64 KiB buffer, in small pieces and in one piece.
    std::string duzy;
    for (int i = 0; i < 30000; ++i) duzy += std::to_string(i) + ";";
    ASSERT_GT(duzy.size(), 1u << 17);
    // umask, the old file's mode (0: no file), the mode after; a new file gets 0666 less the umask.
    const std::array<mode_t, 3> przypadki[] = {
        {022, 0, 0644}, {077, 0, 0600}, {077, 0755, 0755}, {022, 04750, 04750}, {0, 0400, 0400}};
    for (auto [umask, stary, oczekiwany] : przypadki) {
        const std::string k = KatalogTymczasowy(), cel = k + "/plik.tro";
        if (stary) ZapiszPlik(cel, "stara treść, dłuższa niż nowa");
        ASSERT_TRUE(!stary || ::chmod(cel.c_str(), stary) == 0);
        TUmask u(umask);
        ZapiszBezpiecznie(cel, [&](std::ostream& o) {
            for (std::size_t i = 0; i < duzy.size(); i += 7) o << duzy.substr(i, 7);
        });
        EXPECT_EQ(CzytajPlik(cel), duzy);
        ZapiszBezpiecznie(cel, std::string_view("krótka"));
        EXPECT_EQ(CzytajPlik(cel), "krótka");
        EXPECT_EQ(Tryb(cel), oczekiwany) << std::oct << umask << " " << stary;
        EXPECT_EQ(Nazwy(k), std::set<std::string>{"plik.tro"});
    }
    // Root replacing another user's file leaves it that user's.
    const std::string cel = KatalogTymczasowy() + "/cudzy.tro";
    ZapiszPlik(cel, "cudzy");
    if (::geteuid() != 0 || ::chown(cel.c_str(), 12345, 23456) != 0) return;
    ZapiszBezpiecznie(cel, "nowy");
    struct stat st {};
    EXPECT_TRUE(::stat(cel.c_str(), &st) == 0 && st.st_uid == 12345 && st.st_gid == 23456);
}

TEST(ZapisBezpieczny, DowiazanieZapisanePrzezNie) {
    // k/d/plik (0640) reached by an absolute link, a relative one, a chain of three (the last relative to its own
    // directory d/); a dangling link creates its file.
    const std::string k = KatalogTymczasowy(), plik = k + "/d/plik";
    fs::create_directory(k + "/d");
    fs::create_symlink(k + "/d/l3", k + "/l2");
    fs::create_symlink("plik", k + "/d/l3");
    // The link, what it points to, the file written.
    const std::array<std::string, 3> przypadki[] = {
        {"abs", plik, plik}, {"wzgl", "d/plik", plik}, {"l1", "l2", plik}, {"wiszace", "d/nowy", k + "/d/nowy"}};
    for (const auto& [dowiazanie, wskazuje, cel] : przypadki) {
        ZapiszPlik(plik, "stara");
        ASSERT_EQ(::chmod(plik.c_str(), 0640), 0);
        fs::create_symlink(wskazuje, k + "/" + dowiazanie);
        const auto przed = Nazwy(k);
        ZapiszBezpiecznie(k + "/" + dowiazanie, "nowa " + dowiazanie);
        SCOPED_TRACE(dowiazanie);
        EXPECT_TRUE(fs::is_symlink(k + "/" + dowiazanie) && fs::is_regular_file(fs::symlink_status(cel)));
        EXPECT_EQ(fs::read_symlink(k + "/" + dowiazanie), wskazuje);
        EXPECT_EQ(CzytajPlik(cel), "nowa " + dowiazanie);
        EXPECT_TRUE(cel != plik || Tryb(plik) == 0640u);
        auto po = Nazwy(k);
        po.erase("d/nowy");
        EXPECT_EQ(po, przed);
    }
    EXPECT_TRUE(fs::is_symlink(k + "/l2") && fs::is_symlink(k + "/d/l3"));
    // A loop of links is refused.
    fs::create_symlink("p2", k + "/p1");
    fs::create_symlink("p1", k + "/p2");
    EXPECT_EQ(Blad([&] { ZapiszBezpiecznie(k + "/p1", "x"); }),
              "Nie można zapisać pliku " + k + "/p1: zbyt wiele poziomów dowiązań symbolicznych.");
}

TEST(ZapisBezpieczny, PlikNiezwyklyOdrzuconyIBezZmian) {
    const std::string k = KatalogTymczasowy();
    ASSERT_EQ(::mkfifo((k + "/potok").c_str(), 0620), 0);
    fs::create_directory(k + "/katalog");
    ZapiszPlik(k + "/katalog/w_srodku", "zostaje");
    fs::create_symlink("potok", k + "/do_potoku");
    const int gn = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un adres{};
    adres.sun_family = AF_UNIX;
    const std::string g = k + "/gniazdo";
    ASSERT_LT(g.size(), sizeof adres.sun_path);
    std::copy(g.begin(), g.end(), adres.sun_path);
    ASSERT_EQ(::bind(gn, reinterpret_cast<sockaddr*>(&adres), sizeof adres), 0);  // a socket
    // A device node like /dev/null: only root may make one (and a container may forbid it).
    const bool jestUrzadzenie = ::mknod((k + "/urzadzenie").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    std::vector<std::pair<std::string, std::string>> przypadki = {
        // the target, the reason refused
        {"potok", "to nie jest zwykły plik, lecz potok nazwany (FIFO)"},
        {"katalog", "to nie jest zwykły plik, lecz katalog"},
        {"katalog/", "to nie jest zwykły plik, lecz katalog"},
        {"gniazdo", "to nie jest zwykły plik, lecz gniazdo"},
        {"do_potoku", "dowiązanie prowadzi do " + k + "/potok, a to nie jest zwykły plik, lecz potok nazwany (FIFO)"},
    };
    if (jestUrzadzenie) przypadki.push_back({"urzadzenie", "to nie jest zwykły plik, lecz urządzenie znakowe"});
    const auto nazwy = Nazwy(k);
    for (const auto& [nazwa, opis] : przypadki) {
        const std::string cel = k + "/" + nazwa;
        struct stat przed {
        }, po{};
        ASSERT_EQ(::lstat(cel.c_str(), &przed), 0);
        EXPECT_EQ(Blad([&] { ZapiszBezpiecznie(cel, "x"); }),
                  "Nie można zapisać pliku " + cel + ": " + opis + "; pozostawiono go bez zmian.");
        ASSERT_EQ(::lstat(cel.c_str(), &po), 0);
        EXPECT_TRUE(po.st_ino == przed.st_ino && po.st_mode == przed.st_mode && po.st_rdev == przed.st_rdev) << cel;
        EXPECT_EQ(Nazwy(k), nazwy);
    }
    EXPECT_EQ(CzytajPlik(k + "/katalog/w_srodku"), "zostaje");
    ::close(gn);
    if (!jestUrzadzenie) GTEST_SKIP() << "bez uprawnień do mknod: urządzenie nie sprawdzone";
}

// A file size limit makes write() fail with EFBIG, as a full disk fails with ENOSPC.
struct TLimitRozmiaru {
    rlimit Stary{};
    void (*StaryOdbior)(int);
    explicit TLimitRozmiaru(rlim_t bajty) : StaryOdbior(std::signal(SIGXFSZ, SIG_IGN)) {
        ::getrlimit(RLIMIT_FSIZE, &Stary);
        const rlimit r{bajty, Stary.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &r);
    }
    ~TLimitRozmiaru() { ::setrlimit(RLIMIT_FSIZE, &Stary), std::signal(SIGXFSZ, StaryOdbior); }
};

TEST(ZapisBezpieczny, NieudanyZapisZostawiaStaryPlik) {
    struct TPrzypadek {
        std::string Cel;  // relative to the test's directory
        std::function<void(std::ostream&, const std::string& cel)> Pisz;
        std::string Komunikat;  // after "Nie można zapisać pliku <cel>: "; "" for the callback's own exception
    };
    const auto x = [](std::ostream& o, auto&) { o << "x"; };
    const auto przerwane = [](std::ostream& o, auto&) { o << "pół", throw std::runtime_error("przerwane"); };
    const auto zly = [](std::ostream& o, auto&) { o << "pół", o.setstate(std::ios::failbit); };
    const auto duzo = [](std::ostream& o, auto&) { o << std::string(400000, 'a'); };    // over 8 KiB in big pieces
    const auto naKoniec = [](std::ostream& o, auto&) { o << std::string(9000, 'c'); };  // only at the last flush
    // Between the check and the rename the target becomes a directory: rename() fails.
    const auto katalog = [](std::ostream& o, auto& cel) {
        o << "n", fs::remove(cel), fs::create_directories(cel + "/p");
    };
    const std::string rozmiar = "plik przekracza dopuszczalny rozmiar.";
    const TPrzypadek przypadki[] = {{"stary.tro", przerwane, ""},
                                    {"stary.tro", zly, "błąd zapisu danych."},
                                    {"stary.tro", duzo, rozmiar},
                                    {"stary.tro", naKoniec, rozmiar},
                                    {"stary.tro", katalog, "w miejscu pliku jest katalog."},
                                    {"brak/nowy.tro", x, "nie ma takiego pliku ani katalogu."},
                                    {"stary.tro/nowy.tro", x, "część ścieżki nie jest katalogiem."}};
    for (const auto& p : przypadki) {
        SCOPED_TRACE(&p - przypadki);
        const std::string k = KatalogTymczasowy(), cel = k + "/" + p.Cel;
        ZapiszPlik(k + "/stary.tro", "stara treść");
        bool wywolany = false;
        std::string b;
        {
            TLimitRozmiaru limit(8192);
            b = Blad([&] { ZapiszBezpiecznie(cel, [&](std::ostream& o) { wywolany = true, p.Pisz(o, cel); }); });
        }
        EXPECT_EQ(b, p.Komunikat.empty() ? "przerwane" : "Nie można zapisać pliku " + cel + ": " + p.Komunikat);
        const bool katalogiem = fs::is_directory(k + "/stary.tro");
        const std::set<std::string> zostaly = {"stary.tro", katalogiem ? "stary.tro/p" : "stary.tro"};
        EXPECT_EQ(Nazwy(k), zostaly);
        EXPECT_TRUE(katalogiem || CzytajPlik(k + "/stary.tro") == "stara treść");
        EXPECT_EQ(wywolany, p.Cel == "stary.tro");  // a missing directory fails before the callback
    }
}

TEST(ZapisBezpieczny, KatalogTylkoDoOdczytu) {
    if (::geteuid() == 0) GTEST_SKIP() << "root pisze mimo uprawnień; zob. nieudane zapisy powyżej";
    const std::string k = KatalogTymczasowy(), cel = k + "/stary.tro";
    ZapiszPlik(cel, "stara");
    ASSERT_EQ(::chmod(k.c_str(), 0555), 0);
    EXPECT_EQ(Blad([&] { ZapiszBezpiecznie(cel, "nowa"); }), "Nie można zapisać pliku " + cel + ": brak uprawnień.");
    ::chmod(k.c_str(), 0755);
    EXPECT_EQ(CzytajPlik(cel), "stara");
    EXPECT_EQ(Nazwy(k), std::set<std::string>{"stary.tro"});
}

}  // namespace
