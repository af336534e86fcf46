#include "model/PlikWPamieci.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
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
    dane_.reset(new char[pojemnosc]);
    if (S_ISREG(st.st_mode) && pojemnosc > kDuzyPlik) CzytajPolowami(fd, nazwa, pojemnosc - 1);
    for (;;) {
        if (rozmiar_ == pojemnosc) {
            std::unique_ptr<char[]> wieksze(new char[pojemnosc * 2]);
            std::memcpy(wieksze.get(), dane_.get(), rozmiar_);
            dane_ = std::move(wieksze);
            pojemnosc *= 2;
        }
        const ssize_t r = ::read(fd, dane_.get() + rozmiar_, pojemnosc - rozmiar_);
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
void TPlikWPamieci::CzytajPolowami(int fd, const std::string& nazwa, std::size_t rozmiar) {
    char* dane = dane_.get();
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
