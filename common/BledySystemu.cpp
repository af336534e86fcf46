#include "common/BledySystemu.h"

#include <cerrno>
#include <cstring>

std::string OpisBleduSystemu(int e) {
    switch (e) {
        case ENOENT: return "nie ma takiego pliku ani katalogu";
        case EACCES: return "brak uprawnień";
        case EPERM: return "operacja niedozwolona";
        case EISDIR: return "to jest katalog, a nie plik";
        case ENOTDIR: return "część ścieżki nie jest katalogiem";
        case ELOOP: return "zbyt wiele poziomów dowiązań symbolicznych";
        case ENAMETOOLONG: return "zbyt długa nazwa pliku";
        case ENOSPC: return "brak miejsca na dysku";
        case EDQUOT: return "przekroczony przydział miejsca na dysku";
        case EFBIG: return "plik przekracza dopuszczalny rozmiar";
        case EROFS: return "system plików jest tylko do odczytu";
        case EMFILE: return "program ma otwartych zbyt wiele plików";
        case ENFILE: return "w systemie jest otwartych zbyt wiele plików";
        case EEXIST: return "plik już istnieje";
        case ENOTEMPTY: return "katalog nie jest pusty";
        case EBUSY: return "plik jest zajęty";
        case ETXTBSY: return "plik jest używany przez uruchomiony program";
        case EIO: return "błąd wejścia-wyjścia (uszkodzony nośnik albo zerwane połączenie)";
        case EXDEV: return "plik tymczasowy i docelowy leżą na różnych systemach plików";
        case ENOMEM: return "brak pamięci";
        case ENXIO:
        case ENODEV: return "nie ma takiego urządzenia";
        case EINVAL: return "nieprawidłowy argument";
        case EOVERFLOW: return "plik jest za duży dla tej operacji";
        case ESTALE: return "nieaktualny uchwyt pliku sieciowego";
        case EAGAIN: return "zasób chwilowo niedostępny";
        case EINTR: return "operacja przerwana";
        case EPIPE: return "zerwany potok (program odbierający dane zakończył pracę)";
        default: return "błąd systemu nr " + std::to_string(e) + " (" + std::strerror(e) + ")";
    }
}
