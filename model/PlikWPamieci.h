// A file's bytes in memory, read in one piece (a large file in two halves at
// once). Every reader and the converter load their files through it.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

// A file's bytes, read in one piece. (Not mapped: a file cut short by another
// program during the load would then crash the program instead of failing.)
// A named pipe is read as long as its writer writes; a directory or a device
// is refused. Raises BladKonwersji naming the file.
// Gives pages taken from the system (mmap) back to it.
struct TOddajStronyPliku {
    std::size_t Rozmiar = 0;
    void operator()(char* p) const;
};

class TPlikWPamieci {
public:
    explicit TPlikWPamieci(const std::string& nazwa);

    std::string_view Dane() const { return {dane_, rozmiar_}; }

    // Gives the memory of the bytes [od, do_) back to the system: a reader
    // that is done with them calls it (a large file's text need not stay
    // whole beside what is read from it). The whole pages inside the range
    // read as zeros afterwards; a small file keeps its bytes.
    void Oddaj(const char* od, const char* do_);

private:
    static constexpr std::size_t kDuzyPlik = 32u << 20;

    void CzytajPolowami(int fd, const std::string& nazwa, std::size_t rozmiar);

    // The bytes: in an array of their own (new[]), or for a large file in
    // pages taken from the system (mmap), which Oddaj can give back.
    std::unique_ptr<char[]> tablica_;
    std::unique_ptr<char, TOddajStronyPliku> strony_;
    char* dane_ = nullptr;
    std::size_t rozmiar_ = 0;
};
