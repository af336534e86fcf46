#include "model/PlikWPamieci.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/BledySystemu.h"
#include "common/Funkcje.h"
#include "common/Rownolegle.h"
#include "model/ZapisywanieOdczytywanie.h"

TPlikWPamieci::TPlikWPamieci(const std::string& nazwa) {
    // Opened without waiting: a named pipe that nobody writes to would
    // otherwise hold the program in open() for ever.
    const int fd = ::open(nazwa.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) throw BladKonwersji("Nie można otworzyć pliku " + nazwa + ": " + OpisBleduSystemu(errno));
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        const int e = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(fd);
        throw BladKonwersji("Nie można otworzyć pliku " + nazwa + ": " + OpisBleduSystemu(e));
    }
    // A device (/dev/zero, a terminal, a disk) is no data file and may never end.
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) {
        ::close(fd);
        throw BladKonwersji("Nie można otworzyć pliku " + nazwa + ": to urządzenie, a nie plik z danymi.");
    }
    // A pipe is then read with waiting, as long as its writer writes.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    // A regular file is read into a buffer of its size (not zero-filled
    // first); anything else, or a file that grows meanwhile, in blocks.
    std::size_t pojemnosc = S_ISREG(st.st_mode) ? static_cast<std::size_t>(st.st_size) + 1 : (1u << 16);
    if (S_ISREG(st.st_mode) && pojemnosc > kDuzyPlik) {
        void* m = ::mmap(nullptr, pojemnosc, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (m != MAP_FAILED) {
            strony_ = std::unique_ptr<char, TOddajStronyPliku>(static_cast<char*>(m), TOddajStronyPliku{pojemnosc});
            dane_ = strony_.get();
        }
    }
    if (!dane_) tablica_.reset(new char[pojemnosc]), dane_ = tablica_.get();
    if (S_ISREG(st.st_mode) && pojemnosc > kDuzyPlik) CzytajPolowami(fd, nazwa, pojemnosc - 1);
    for (;;) {
        if (rozmiar_ == pojemnosc) {
            // A file that grew meanwhile: on in an array of twice the size.
            std::unique_ptr<char[]> wieksze(new char[pojemnosc * 2]);
            std::memcpy(wieksze.get(), dane_, rozmiar_);
            tablica_ = std::move(wieksze);
            dane_ = tablica_.get();
            strony_.reset();
            pojemnosc *= 2;
        }
        const ssize_t r = ::read(fd, dane_ + rozmiar_, pojemnosc - rozmiar_);
        if (r < 0) {
            if (errno == EINTR) continue;
            const int e = errno;
            ::close(fd);
            throw BladKonwersji("Błąd odczytu pliku " + nazwa + ": " + OpisBleduSystemu(e));
        }
        if (r == 0) break;
        rozmiar_ += static_cast<std::size_t>(r);
    }
    ::close(fd);
}

// A large file: its two halves read at once (their pages made present
// first), each by its own thread. When the file turns out shorter than it
// was (cut meanwhile) the reading starts again from its beginning in one
// piece; the loop after it reads whatever was added meanwhile.
void TOddajStronyPliku::operator()(char* p) const { ::munmap(p, Rozmiar); }

void TPlikWPamieci::Oddaj(const char* od, const char* do_) {
    if (!strony_ || dane_ != strony_.get()) return;
    constexpr std::uintptr_t kStrona = 4096;
    const std::uintptr_t a = (reinterpret_cast<std::uintptr_t>(od) + kStrona - 1) & ~(kStrona - 1);
    const std::uintptr_t b = reinterpret_cast<std::uintptr_t>(do_) & ~(kStrona - 1);
    const auto poczatek = reinterpret_cast<std::uintptr_t>(strony_.get());
    if (a < poczatek || b > poczatek + strony_.get_deleter().Rozmiar || b <= a) return;
    (void)::madvise(reinterpret_cast<void*>(a), b - a, MADV_DONTNEED);
}

void TPlikWPamieci::CzytajPolowami(int fd, const std::string& nazwa, std::size_t rozmiar) {
    char* dane = dane_;
    int blad[2] = {0, 0};
    bool krotki[2] = {false, false};
    NaDwochWatkach(
        rozmiar,
        [&](std::size_t od, std::size_t do_) {
            const int k = od == 0 ? 0 : 1;
            ZajmijStrony(dane + od, do_ - od);
            while (od < do_) {
                const ssize_t r = ::pread(fd, dane + od, do_ - od, static_cast<off_t>(od));
                if (r < 0 && errno == EINTR) continue;
                if (r < 0) blad[k] = errno;
                if (r <= 0) {
                    krotki[k] = r == 0;
                    return;
                }
                od += static_cast<std::size_t>(r);
            }
        },
        1);
    for (int e : blad)
        if (e != 0) {
            ::close(fd);
            throw BladKonwersji("Błąd odczytu pliku " + nazwa + ": " + OpisBleduSystemu(e));
        }
    rozmiar_ = krotki[0] || krotki[1] ? 0 : rozmiar;
    ::lseek(fd, static_cast<off_t>(rozmiar_), SEEK_SET);
}

std::string CzytajCalyPlik(const std::string& nazwaPliku) {
    TPlikWPamieci plik(nazwaPliku);
    return std::string(plik.Dane());
}
