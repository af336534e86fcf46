#include "nmt/NMT.h"

#include <cmath>

#include "nmt/Uklady.h"

namespace {

// "1 plik", "2 pliki", "5 plików": the count with its noun in the Polish plural form.
std::string Ile(std::int64_t n, const char* jeden, const char* kilka, const char* wiele) {
    const std::int64_t d = n % 10, s = n % 100;
    return std::to_string(n) + " " + (n == 1 ? jeden : d >= 2 && d <= 4 && (s < 12 || s > 14) ? kilka : wiele);
}

}  // namespace

std::optional<TTerenNMT> WczytajNMT(const std::vector<std::string>& pliki, const TOpcjeNMT& o, const TPostep& postep,
                                    const std::atomic<bool>* przerwij) {
    if (!(o.Tolerancja >= 0.0) || !std::isfinite(o.Tolerancja))
        throw BladKonwersji("Tolerancja wysokości musi być liczbą nieujemną (podano " + G2(o.Tolerancja) + ").");
    if (!(o.Pas >= 0.0) || !std::isfinite(o.Pas))
        throw BladKonwersji("Szerokość pasa musi być liczbą nieujemną (podano " + G2(o.Pas) + ").");
    if (pliki.empty()) throw BladKonwersji("Nie podano żadnego pliku siatki.");
    if (o.Uklad != 0 && o.UkladDanych != 0 && o.Uklad != o.UkladDanych)
        throw BladKonwersji("Układ projektu " + NazwaUkladu(o.Uklad) + " różni się od układu wczytanych danych " +
                            NazwaUkladu(o.UkladDanych) +
                            ": program przelicza tylko siatki, nie trasę ani powierzchnie z plików.");
    const double nPlikow = static_cast<double>(pliki.size());
    std::vector<TSiatkaNMT> arkusze;
    for (std::size_t n = 0; n < pliki.size(); ++n) {
        TPostep p;
        if (postep) p = [&](double u) { postep(0.3 * (static_cast<double>(n) + u) / nPlikow); };
        arkusze.push_back(CzytajSiatkeNMT(pliki[n], {o.ZamienXY}, p, przerwij));
        if (arkusze.back().Kolumny == 0) return std::nullopt;
    }
    TSiatkaNMT s = PolaczArkusze(std::move(arkusze), pliki);
    TTerenNMT w;
    w.UkladSiatki = s.EPSG != 0 ? s.EPSG : o.UkladPliku;
    const bool przelicz = w.UkladSiatki != 0 && o.Uklad != 0 && w.UkladSiatki != o.Uklad;
    w.UkladWyniku = o.Uklad != 0 ? o.Uklad : w.UkladSiatki;
    if (o.Pas > 0.0) {
        if (o.Os.empty()) throw BladKonwersji("Pas wokół trasy wymaga trasy: wczytaj ją przed siatką.");
        std::vector<TPunkt2D> os = o.Os;
        if (przelicz) PrzeliczUklad(os, o.Uklad, w.UkladSiatki);
        OgraniczDoPasa(s, os, o.Pas);
        if (s.Kolumny < 2 || s.Wiersze < 2)
            throw BladKonwersji("Siatka nie ma danych w pasie " + G2(o.Pas) + " m wokół trasy." +
                                (pliki.size() == 1 ? "\nPlik: " + pliki[0] : ""));
    }
    TPostep p;
    if (postep) p = [&](double u) { postep(0.3 + 0.7 * u); };
    std::optional<TTinNMT> tin = PrzerzedzSiatke(s, o.Tolerancja, p, przerwij);
    if (!tin) return std::nullopt;
    if (tin->Trojkaty.empty())
        throw BladKonwersji(std::string(tin->WezlyZDanymi == 0
                                            ? "Siatka nie ma ani jednego węzła z wysokością."
                                            : "Węzły siatki z wysokością nie tworzą ani jednego oczka.") +
                            (pliki.size() == 1 ? "\nPlik: " + pliki[0] : ""));
    if (przelicz) PrzeliczUklad(tin->Punkty, w.UkladSiatki, o.Uklad);
    w.Tin = std::move(*tin);
    w.Opis.push_back("Teren z siatki NMT: " + Ile(static_cast<std::int64_t>(pliki.size()), "plik", "pliki", "plików") +
                     ", " + Ile(w.Tin.WezlyZDanymi, "węzeł", "węzły", "węzłów") + " z wysokością, tolerancja " +
                     F2(o.Tolerancja) + " m" + (o.Pas > 0.0 ? ", pas " + G2(o.Pas) + " m wokół trasy" : "") + ": " +
                     Ile(static_cast<std::int64_t>(w.Tin.Punkty.size()), "punkt", "punkty", "punktów") + ", " +
                     Ile(static_cast<std::int64_t>(w.Tin.Trojkaty.size()), "trójkąt", "trójkąty", "trójkątów") + ".");
    w.Opis.push_back("Układ współrzędnych siatki: " + NazwaUkladu(w.UkladSiatki) +
                     (przelicz ? "; przeliczono do " + NazwaUkladu(o.Uklad) + " (wysokości bez zmian)." : "."));
    return w;
}
