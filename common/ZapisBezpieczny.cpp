#include "common/ZapisBezpieczny.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ios>
#include <random>
#include <streambuf>
#include <vector>

#include "common/BledySystemu.h"
#include "common/Funkcje.h"

namespace {

// The system's reason in Polish; an existing name where the file goes is the one cause worded for writing.
std::string OpisBledu(int e) {
    if (e == EEXIST || e == ENOTEMPTY) return "w miejscu pliku jest niepusty katalog";
    if (e == EISDIR) return "w miejscu pliku jest katalog";
    return OpisBleduSystemu(e);
}

[[noreturn]] void Zglos(const std::string& cel, int e) {
    throw BladKonwersji("Nie można zapisać pliku " + cel + ": " + OpisBledu(e) + ".");
}

// What a non-regular file is, for the refusal.
const char* RodzajPliku(mode_t tryb) {
    if (S_ISDIR(tryb)) return "katalog";
    if (S_ISCHR(tryb)) return "urządzenie znakowe";
    if (S_ISBLK(tryb)) return "urządzenie blokowe";
    if (S_ISFIFO(tryb)) return "potok nazwany (FIFO)";
    if (S_ISSOCK(tryb)) return "gniazdo";
    return "plik specjalny";
}

// The file that is really written: the target, or the end of its chain of links.
struct TCel {
    std::string Sciezka;
    bool Istnieje = false;
    struct stat Stan {};
};

TCel ZnajdzCel(const std::string& cel) {
    constexpr int kNajwiecejDowiazan = 40;  // as the kernel's own limit
    TCel w{cel};
    for (int krok = 0;; ++krok) {
        if (::lstat(w.Sciezka.c_str(), &w.Stan) != 0) {
            if (errno != ENOENT) Zglos(cel, errno);
            return w;  // a new file (also at the end of a dangling link)
        }
        if (S_ISREG(w.Stan.st_mode)) {
            w.Istnieje = true;
            return w;
        }
        if (!S_ISLNK(w.Stan.st_mode)) {
            const std::string gdzie = w.Sciezka == cel ? "to" : "dowiązanie prowadzi do " + w.Sciezka + ", a to";
            throw BladKonwersji("Nie można zapisać pliku " + cel + ": " + gdzie + " nie jest zwykły plik, lecz " +
                                RodzajPliku(w.Stan.st_mode) + "; pozostawiono go bez zmian.");
        }
        if (krok == kNajwiecejDowiazan) Zglos(cel, ELOOP);
        std::vector<char> bufor(static_cast<std::size_t>(w.Stan.st_size) + 2);
        const ssize_t n = ::readlink(w.Sciezka.c_str(), bufor.data(), bufor.size());
        if (n < 0) Zglos(cel, errno);
        if (static_cast<std::size_t>(n) >= bufor.size()) Zglos(cel, ENAMETOOLONG);  // changed under us
        std::string dalej(bufor.data(), static_cast<std::size_t>(n));
        // A relative link is relative to the directory the link sits in.
        const std::size_t ukosnik = w.Sciezka.find_last_of('/');
        if (!dalej.starts_with('/') && ukosnik != std::string::npos) dalej = w.Sciezka.substr(0, ukosnik + 1) + dalej;
        w.Sciezka = std::move(dalej);
    }
}

// The temporary file: closed and removed unless it was renamed over the target.
struct TTymczasowy {
    std::string Nazwa;
    int Fd = -1;
    bool Przeniesiony = false;

    ~TTymczasowy() {
        if (Fd >= 0) ::close(Fd);
        if (!Przeniesiony && !Nazwa.empty()) ::unlink(Nazwa.c_str());
    }
};

// Stream buffer writing to a descriptor; the first failed write's errno is kept
// and every later write fails, so the stream goes bad.
class TBuforDeskryptora : public std::streambuf {
public:
    explicit TBuforDeskryptora(int fd) : fd_(fd), bufor_(1 << 16) {
        setp(bufor_.data(), bufor_.data() + bufor_.size());
    }
    int Blad() const { return blad_; }

protected:
    int_type overflow(int_type c) override {
        if (!Oproznij()) return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        if (n < static_cast<std::streamsize>(bufor_.size())) return std::streambuf::xsputn(s, n);
        return Oproznij() && Pisz(s, static_cast<std::size_t>(n)) ? n : 0;
    }
    int sync() override { return Oproznij() ? 0 : -1; }

private:
    bool Oproznij() {
        const bool ok = Pisz(pbase(), static_cast<std::size_t>(pptr() - pbase()));
        setp(bufor_.data(), bufor_.data() + bufor_.size());
        return ok;
    }
    bool Pisz(const char* p, std::size_t n) {
        while (n > 0 && blad_ == 0) {
            const ssize_t r = ::write(fd_, p, n);
            if (r < 0 && errno == EINTR) continue;
            if (r <= 0) {
                blad_ = r < 0 ? errno : EIO;
                break;
            }
            p += r;
            n -= static_cast<std::size_t>(r);
        }
        return blad_ == 0;
    }

    int fd_;
    int blad_ = 0;
    std::vector<char> bufor_;
};

std::string NazwaLosowa() {
    std::random_device los;
    const unsigned long long x = (static_cast<unsigned long long>(los()) << 32) ^ los();
    static const char kZnaki[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string s;
    for (unsigned long long v = x; s.size() < 10; v /= 36) s += kZnaki[v % 36];
    return s;
}

}  // namespace

namespace {

// The one flow: the temporary file beside the real target, filled by `wypelnij` (given its descriptor and name),
// given the old file's owner and bits, synced, renamed over the target.
void Zapisz(const std::string& cel, const std::function<void(int fd, const std::string& nazwa)>& wypelnij) {
    if (cel.empty()) throw BladKonwersji("Nie podano nazwy pliku do zapisania.");
    const TCel prawdziwy = ZnajdzCel(cel);

    // The temporary file in the real target's directory, so the rename stays on one file system.
    const std::size_t ukosnik = prawdziwy.Sciezka.find_last_of('/');
    const std::string katalog = ukosnik == std::string::npos ? std::string() : prawdziwy.Sciezka.substr(0, ukosnik + 1);
    const std::string baza = prawdziwy.Sciezka.substr(katalog.size()).substr(0, 200);
    // Over an existing file only the owner may read the temporary file until it gets the old bits;
    // a new one gets the usual bits from the kernel (0666 less the umask).
    const mode_t trybOtwarcia = prawdziwy.Istnieje ? 0600 : 0666;
    TTymczasowy tymczasowy;
    for (int proba = 0; tymczasowy.Fd < 0; ++proba) {
        const std::string nazwa = katalog + "." + baza + "." + NazwaLosowa() + ".tmp";
        const int fd = ::open(nazwa.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, trybOtwarcia);
        if (fd >= 0) {
            tymczasowy.Nazwa = nazwa;
            tymczasowy.Fd = fd;
        } else if (errno != EEXIST || proba == 100)
            Zglos(cel, errno);
    }

    wypelnij(tymczasowy.Fd, tymczasowy.Nazwa);

    if (prawdziwy.Istnieje) {
        // The owner is kept where the system allows it (a file of another user replaced by root).
        const struct stat& s = prawdziwy.Stan;
        struct stat nowy {};
        if (::fstat(tymczasowy.Fd, &nowy) == 0 && (nowy.st_uid != s.st_uid || nowy.st_gid != s.st_gid) &&
            ::fchown(tymczasowy.Fd, s.st_uid, s.st_gid) != 0) {
            // Not allowed: the file becomes this user's, with the same permission bits.
        }
        if (::fchmod(tymczasowy.Fd, s.st_mode & 07777) != 0) Zglos(cel, errno);
    }
    if (::fsync(tymczasowy.Fd) != 0) Zglos(cel, errno);
    const int fd = tymczasowy.Fd;
    tymczasowy.Fd = -1;
    if (::close(fd) != 0) Zglos(cel, errno);
    if (::rename(tymczasowy.Nazwa.c_str(), prawdziwy.Sciezka.c_str()) != 0) Zglos(cel, errno);
    tymczasowy.Przeniesiony = true;

    // The new name on the disk too; some file systems cannot sync a directory, which costs nothing here.
    const int kat = ::open(katalog.empty() ? "." : katalog.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (kat >= 0) {
        ::fsync(kat);
        ::close(kat);
    }
}

}  // namespace

void ZapiszBezpiecznie(const std::string& cel, const std::function<void(std::ostream&)>& pisz) {
    Zapisz(cel, [&](int fd, const std::string&) {
        TBuforDeskryptora bufor(fd);
        try {
            std::ostream strumien(&bufor);
            strumien.exceptions(std::ios::badbit);
            pisz(strumien);
            strumien.flush();
            if (strumien.fail()) throw std::ios_base::failure("strumień");
        } catch (const std::ios_base::failure&) {
            if (bufor.Blad()) Zglos(cel, bufor.Blad());
            throw BladKonwersji("Nie można zapisać pliku " + cel + ": błąd zapisu danych.");
        }
    });
}

void ZapiszBezpiecznieNazwa(const std::string& cel, const std::function<void(const std::string& tymczasowy)>& utworz) {
    Zapisz(cel, [&](int, const std::string& nazwa) { utworz(nazwa); });
}

void ZapiszBezpiecznie(const std::string& cel, std::string_view tresc) {
    ZapiszBezpiecznie(cel,
                      [tresc](std::ostream& o) { o.write(tresc.data(), static_cast<std::streamsize>(tresc.size())); });
}
