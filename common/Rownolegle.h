// Work split over the machine's two cores: a pass over an index range run in
// two halves at once. The passes that go over every record of a large scene
// (the load sequence, the view's rebuild, placing and shading) use it; each
// record's result depends on that record alone, so the result is the one a
// single pass gives.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include <sys/mman.h>

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

// Makes the memory pages of [od, od + bajtow) present (and zero) at once, in
// the kernel, instead of one fault at a time as the first writes reach them.
// Only whole pages inside the range are taken; where the system cannot do it,
// nothing happens (the pages come as they are written).
inline void ZajmijStrony(void* od, std::size_t bajtow) {
#ifdef MADV_POPULATE_WRITE
    constexpr std::uintptr_t kStrona = 4096;
    const std::uintptr_t a = (reinterpret_cast<std::uintptr_t>(od) + kStrona - 1) & ~(kStrona - 1);
    const std::uintptr_t b = (reinterpret_cast<std::uintptr_t>(od) + bajtow) & ~(kStrona - 1);
    if (b > a) (void)::madvise(reinterpret_cast<void*>(a), b - a, MADV_POPULATE_WRITE);
#else
    (void)od, (void)bajtow;
#endif
}

// v.resize(n) for an array about to be filled by NaDwochWatkach: the memory
// of the new records is reserved and its pages made present by two threads
// at once before the records are made, which on a large array costs a
// fraction of the faults that one thread writing it meets one by one.
template <typename T>
void PowiekszNaDwochWatkach(std::vector<T>& v, std::size_t n) {
    if (n > v.size() && n - v.size() >= kRekordyNaDwaWatki) {
        v.reserve(n);
        char* poczatek = reinterpret_cast<char*>(v.data() + v.size());
        const std::size_t bajtow = (n - v.size()) * sizeof(T);
        NaDwochWatkach(
            bajtow, [poczatek](std::size_t od, std::size_t do_) { ZajmijStrony(poczatek + od, do_ - od); }, 1);
    }
    v.resize(n);
}

// Runs f(k, blad) in this thread (k = 0) and in up to n - 1 more threads at
// once (k = 1, 2, ..., as many as can be started) and waits for all of them.
// The first exception of any thread (this thread's before the others') is
// raised here once every thread has ended; `blad` turns true as soon as one
// has failed, so that the others can stop early. Nothing ends in
// std::terminate: no thread is left unjoined and no exception leaves a thread.
template <typename F>
void WKilkuWatkach(int n, F&& f) {
    std::atomic<bool> blad{false};
    std::vector<std::exception_ptr> bledy(static_cast<std::size_t>(std::max(n, 1)));
    auto uruchom = [&](int k) {
        try {
            f(k, static_cast<const std::atomic<bool>&>(blad));
        } catch (...) {
            bledy[static_cast<std::size_t>(k)] = std::current_exception();
            blad.store(true);
        }
    };
    std::vector<std::thread> pomocnicy;
    for (int k = 1; k < n; ++k) {
        try {
            pomocnicy.emplace_back(uruchom, k);
        } catch (const std::system_error&) {
            break;  // no more threads: the others share the work
        }
    }
    uruchom(0);
    for (std::thread& t : pomocnicy) t.join();
    for (const std::exception_ptr& e : bledy)
        if (e) std::rethrow_exception(e);
}

// A second thread kept for work handed to it thousands of times a second, each
// piece lasting microseconds, where starting a thread for every piece (as
// NaDwochWatkach does) would cost more than the piece. Zlec() hands it the
// next run of `praca`, which it runs while the caller does its own share;
// Czekaj() returns when that run has ended and raises its exception, if any;
// it says whether the run ended while the caller was still spinning, which
// it rarely does on a machine whose cores are busy with other work: the
// caller had better do the work alone then.
// Between pieces the thread spins a few microseconds before it sleeps, so a
// piece that follows at once costs no system call. Not started (Jest() false)
// when the machine has one core or no thread can be made: the caller then does
// the work alone.
class TDrugiWatek {
public:
    template <typename F>
    explicit TDrugiWatek(F praca) : praca_(std::move(praca)) {
        if (std::thread::hardware_concurrency() < 2) return;
        try {
            watek_ = std::thread([this] { Petla(); });
        } catch (const std::system_error&) {}
    }
    ~TDrugiWatek() {
        if (!watek_.joinable()) return;
        koniec_.store(true, std::memory_order_relaxed);
        zlecenie_.fetch_add(1, std::memory_order_release);
        zlecenie_.notify_one();
        watek_.join();
    }
    TDrugiWatek(const TDrugiWatek&) = delete;
    TDrugiWatek& operator=(const TDrugiWatek&) = delete;

    bool Jest() const { return watek_.joinable(); }
    void Zlec() {
        zlecenie_.fetch_add(1, std::memory_order_release);
        zlecenie_.notify_one();
    }
    bool Czekaj() {
        const std::uint32_t z = zlecenie_.load(std::memory_order_relaxed);
        const bool naCzas = Poczekaj(gotowe_, [z](std::uint32_t g) { return g != z; });
        if (blad_) std::rethrow_exception(std::exchange(blad_, nullptr));
        return naCzas;
    }

private:
    static void Pauza() {
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();
#endif
    }
    // Until `dalej(value)` is false: spinning for some tens of microseconds,
    // then asleep on the value. True when it ended within the spin.
    template <typename P>
    static bool Poczekaj(const std::atomic<std::uint32_t>& a, P dalej) {
        constexpr int kObroty = 2000;
        std::uint32_t v = a.load(std::memory_order_acquire);
        int n = 0;
        for (; dalej(v); v = a.load(std::memory_order_acquire))
            if (++n < kObroty)
                Pauza();
            else
                a.wait(v, std::memory_order_acquire);
        return n < kObroty;
    }
    void Petla() {
        std::uint32_t widziane = 0;
        for (;;) {
            Poczekaj(zlecenie_, [&widziane](std::uint32_t z) { return z == widziane; });
            widziane = zlecenie_.load(std::memory_order_acquire);
            if (koniec_.load(std::memory_order_relaxed)) return;
            try {
                praca_();
            } catch (...) {
                blad_ = std::current_exception();
            }
            gotowe_.store(widziane, std::memory_order_release);
            gotowe_.notify_one();
        }
    }

    std::function<void()> praca_;
    std::atomic<std::uint32_t> zlecenie_{0}, gotowe_{0};
    std::atomic<bool> koniec_{false};
    std::exception_ptr blad_;
    std::thread watek_;
};
