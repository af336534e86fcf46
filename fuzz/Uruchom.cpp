// The corpus runner: the same target sources built by any compiler as a plain
// program. Every file named on the command line, and every file inside every
// directory named there, is given to the target once.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar);

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    std::vector<fs::path> pliki;
    for (int i = 1; i < argc; ++i) {
        const fs::path p(argv[i]);
        if (fs::is_directory(p)) {
            for (const auto& w : fs::recursive_directory_iterator(p))
                if (w.is_regular_file()) pliki.push_back(w.path());
        } else {
            pliki.push_back(p);
        }
    }
    std::sort(pliki.begin(), pliki.end());
    if (pliki.empty()) {
        std::fprintf(stderr, "Brak plików korpusu.\n");
        return 1;
    }
    for (const fs::path& p : pliki) {
        std::ifstream f(p, std::ios::binary);
        if (!f) {
            std::fprintf(stderr, "Nie można otworzyć %s\n", p.c_str());
            return 1;
        }
        const std::vector<char> d((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
        // A copy of its own size, so that a read past the end is caught by a sanitizer.
        std::vector<std::uint8_t> kopia(d.begin(), d.end());
        LLVMFuzzerTestOneInput(kopia.data(), kopia.size());
    }
    std::printf("%zu plików korpusu bez błędu.\n", pliki.size());
    return 0;
}
