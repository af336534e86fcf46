// Long work in the window: a worker thread under a progress window with
// "Przerwij". The window keeps drawing and answering meanwhile; the progress
// window, modal to it, keeps the scene from changing until the work ends.
// The sight check, the design checks and the elevation grids' load use it.
#pragma once

#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

#include "analiza/PodzialTrasy.h"

class QWidget;

// The object names of the progress window and of the thread (the window
// tests find them by these) and the progress window's text.
struct TOpisPracy {
    QString NazwaOkna;
    QString NazwaWatku;
    QString Tekst;
};

// Runs `praca` in a worker thread; it reports its progress as (done, of all)
// and stops soon once the flag is set ("Przerwij", or closing the progress
// window). True when it ended without being stopped and without an exception;
// an exception's message goes to `blad`.
bool PracujWTle(QWidget* okno, const TOpisPracy& opis,
                const std::function<void(const TPostepAnalizy& postep, const std::atomic<bool>* przerwij)>& praca,
                const std::function<void(const QString& tekst)>& blad);

// The same for work with a result: the result, or none when stopped or failed.
template <typename T>
std::optional<T> WTle(QWidget* okno, const TOpisPracy& opis,
                      std::function<std::optional<T>(const TPostepAnalizy&, const std::atomic<bool>*)> praca,
                      const std::function<void(const QString& tekst)>& blad) {
    std::optional<T> wynik;
    // The worker has ended when PracujWTle returns: the result is written once, before that.
    if (!PracujWTle(
            okno, opis,
            [&wynik, &praca](const TPostepAnalizy& postep, const std::atomic<bool>* przerwij) {
                wynik = praca(postep, przerwij);
            },
            blad))
        return std::nullopt;
    return wynik;
}
