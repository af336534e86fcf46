// Work split over the machine's two cores: a pass over an index range run in
// two halves at once. The passes that go over every record of a large scene
// (the load sequence, the view's rebuild, placing and shading) use it; each
// record's result depends on that record alone, so the result is the one a
// single pass gives.
#pragma once

#include <cstddef>
#include <exception>
#include <system_error>
#include <thread>

// Below this many records a second thread costs more than it saves.
constexpr std::size_t kRekordyNaDwaWatki = 50000;

// Runs f(od, do_) over [0, n): the upper half in a second thread and the
// lower one in this thread at once, when n reaches `prog` and the machine has
// two cores; otherwise f(0, n) here. f must be safe to run on two disjoint
// ranges at once. An exception of a half is raised when both have ended (the
// lower half's first).
template <typename F>
void NaDwochWatkach(std::size_t n, F&& f, std::size_t prog = kRekordyNaDwaWatki) {
    if (n < prog || n < 2 || std::thread::hardware_concurrency() < 2) {
        f(std::size_t{0}, n);
        return;
    }
    const std::size_t polowa = n / 2;
    std::exception_ptr bladGornej;
    std::thread watek;
    try {
        watek = std::thread([&] {
            try {
                f(polowa, n);
            } catch (...) {
                bladGornej = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        f(std::size_t{0}, n);
        return;
    }
    try {
        f(std::size_t{0}, polowa);
    } catch (...) {
        watek.join();
        throw;
    }
    watek.join();
    if (bladGornej) std::rethrow_exception(bladGornej);
}
