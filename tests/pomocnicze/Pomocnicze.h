// Helpers shared by the tests: resetting the process-wide state, locales,
// temporary files.
#pragma once

#include <string>

// The state of a fresh program for a 958 x 637 paint area (UstawStanPoczatkowy):
// meshes, their heights indices, route, render arrays and viewer lines empty, every variable at its
// start value, the random seed at 0, the working memory of the view released.
void ZerujStan(int W = 958, int H = 637);

// Sets LC_NUMERIC for the lifetime of the object ("C" gives '.', a Polish
// locale ','; another locale with ',' when pl_PL is absent).
class UstawLocale {
public:
    explicit UstawLocale(char separator);
    ~UstawLocale();
    UstawLocale(const UstawLocale&) = delete;
    UstawLocale& operator=(const UstawLocale&) = delete;

private:
    std::string poprzednie_;
};

// A fresh temporary directory (removed at exit of the process).
std::string KatalogTymczasowy();
// Writes bytes to a file.
void ZapiszPlik(const std::string& sciezka, const std::string& tresc);
// Reads a whole file.
std::string CzytajPlik(const std::string& sciezka);
