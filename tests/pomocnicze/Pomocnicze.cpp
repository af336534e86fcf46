#include "pomocnicze/Pomocnicze.h"

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

#include "scena/Scena.h"

void ZerujStan(int W, int H) { UstawStanPoczatkowy(W, H); }

UstawLocale::UstawLocale(char separator) : poprzednie_(std::setlocale(LC_NUMERIC, nullptr)) {
    if (separator == '.') {
        std::setlocale(LC_NUMERIC, "C");
        return;
    }
    for (const char* k : {"pl_PL.UTF-8", "pl_PL.utf8", "pl_PL", "de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"})
        if (std::setlocale(LC_NUMERIC, k)) return;
    throw std::runtime_error("brak locale z przecinkiem dziesiętnym (zainstaluj pakiet locales z pl_PL.UTF-8)");
}

UstawLocale::~UstawLocale() { std::setlocale(LC_NUMERIC, poprzednie_.c_str()); }

std::string KatalogTymczasowy() {
    std::string wzor = (std::filesystem::temp_directory_path() / "orvany_testXXXXXX").string();
    if (!mkdtemp(wzor.data())) throw std::runtime_error("mkdtemp");
    static std::vector<std::string> doUsuniecia;
    if (doUsuniecia.empty())
        std::atexit([] {
            std::error_code ec;
            for (auto& k : doUsuniecia) std::filesystem::remove_all(k, ec);
        });
    doUsuniecia.push_back(wzor);
    return wzor;
}

void ZapiszPlik(const std::string& sciezka, const std::string& tresc) {
    std::ofstream f(sciezka, std::ios::binary);
    f << tresc;
}

std::string CzytajPlik(const std::string& sciezka) {
    std::ifstream f(sciezka, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}
