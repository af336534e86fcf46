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
class TPlikWPamieci {
public:
    explicit TPlikWPamieci(const std::string& nazwa);

    std::string_view Dane() const { return {dane_.get(), rozmiar_}; }

private:
    static constexpr std::size_t kDuzyPlik = 32u << 20;

    void CzytajPolowami(int fd, const std::string& nazwa, std::size_t rozmiar);

    std::unique_ptr<char[]> dane_;
    std::size_t rozmiar_ = 0;
};
