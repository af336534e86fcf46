// The one depth sort of the program: records ordered by a descending key (a
// float or a double), records with equal keys keeping their relative order
// (the order a two-way bubble sort that exchanges neighbours only on a
// strictly smaller left key would produce). A NaN key counts as the smallest
// of all keys, so such records go to the end, and the order stays a strict
// weak ordering whatever the values. +0 and -0 are the same key.
//
// It is an LSD radix sort of (key code, index) pairs, stable by construction,
// followed by one gather of the records in the new order into a scratch array
// that is then swapped with the array. An array already in order is left as
// it is.
#pragma once

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

namespace sortowanie {

template <typename T>
using TKod = std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>;

// Code of a key such that ascending codes give descending keys; NaN gets the largest code.
template <typename T>
TKod<T> KodMalejaco(T v) {
    using K = TKod<T>;
    if (std::isnan(v)) return ~K{0};
    if (v == T{0}) v = T{0};
    K u = std::bit_cast<K>(v);
    constexpr K znak = K{1} << (sizeof(K) * 8 - 1);
    u = (u & znak) ? ~u : (u | znak);  // ascending with the key
    return ~u;
}

// A (key code, record index) pair of the radix passes.
template <typename K>
struct TPara {
    K Kod;
    std::uint32_t Indeks;
};

}  // namespace sortowanie

// The working memory of the sort's key pairs: a caller that keeps it from
// call to call (the view's depth sorts, every frame) neither allocates nor
// clears the pairs' memory again once it has grown.
struct TBuforKluczy {
    std::vector<sortowanie::TPara<std::uint32_t>> A4, B4;
    std::vector<sortowanie::TPara<std::uint64_t>> A8, B8;
    std::vector<std::uint32_t> Liczniki;  // the counts of a radix pass
    template <typename K>
    std::vector<sortowanie::TPara<K>>& A() {
        if constexpr (sizeof(K) == 4)
            return A4;
        else
            return A8;
    }
    template <typename K>
    std::vector<sortowanie::TPara<K>>& B() {
        if constexpr (sizeof(K) == 4)
            return B4;
        else
            return B8;
    }
};

// Sorts the pairs a[0, n) by ascending code, pairs of equal codes keeping
// their order: an LSD radix sort with digits of 11 bits (three passes over a
// 32-bit code, six over a 64-bit one; the counts of one digit, 8 kB, stay in
// the first-level cache). The counts of every digit are taken in one pass
// over the pairs, and a digit whose value all pairs share is passed over.
// b is the scratch (at least n long); the result is left in a.
template <typename K>
void SortujPary(std::vector<sortowanie::TPara<K>>& a, std::vector<sortowanie::TPara<K>>& b, std::size_t n,
                std::vector<std::uint32_t>& licznik) {
    constexpr unsigned kBity = 11;
    constexpr std::size_t kCyfry = std::size_t{1} << kBity;
    constexpr unsigned kPrzebiegi = (sizeof(K) * 8 + kBity - 1) / kBity;
    licznik.assign(kPrzebiegi * kCyfry, 0u);
    for (std::size_t i = 0; i < n; ++i) {
        const K kod = a[i].Kod;
        for (unsigned c = 0; c < kPrzebiegi; ++c) ++licznik[c * kCyfry + ((kod >> (c * kBity)) & (kCyfry - 1))];
    }
    for (unsigned c = 0; c < kPrzebiegi; ++c) {
        std::uint32_t* l = licznik.data() + c * kCyfry;
        const unsigned sh = c * kBity;
        // One digit value for all pairs: this pass would change nothing.
        if (l[(a[0].Kod >> sh) & (kCyfry - 1)] == n) continue;
        std::uint32_t suma = 0;  // the counts become the first place of each digit value
        for (std::size_t d = 0; d < kCyfry; ++d) {
            const std::uint32_t ile = l[d];
            l[d] = suma;
            suma += ile;
        }
        for (std::size_t i = 0; i < n; ++i) b[l[(a[i].Kod >> sh) & (kCyfry - 1)]++] = a[i];
        a.swap(b);
    }
}

// Puts the result built in the scratch array `wynik` into `tab`: by swapping
// the two, so that the scratch keeps the array's old memory for the next
// call, unless the array is small beside the scratch and holds the result,
// when it is copied instead. A scratch shared by a large array and small
// ones (the view's sets, posts and solids) then keeps the large memory:
// swapped with a small array it would leave the large one's next sort to
// take fresh memory (hundreds of megabytes at ten million triangles), every
// frame of a drive.
template <typename R>
void OddajWynik(std::vector<R>& tab, std::vector<R>& wynik) {
    if (wynik.size() <= tab.capacity() && tab.capacity() < wynik.capacity() / 2)
        tab.assign(wynik.begin(), wynik.end());
    else
        tab.swap(wynik);
}

// Sorts `tab` by descending klucz(record). `bufor` is the scratch array of the
// gather: afterwards it holds the old array's memory (or keeps its own, see
// OddajWynik), so a caller that keeps
// it from call to call allocates no records once it has grown; `klucze` is
// the working memory of the key pairs.
template <typename R, typename KluczFn>
void SortujMalejaco(std::vector<R>& tab, KluczFn klucz, std::vector<R>& bufor, TBuforKluczy& klucze) {
    using T = std::decay_t<decltype(klucz(tab.front()))>;
    static_assert(std::is_same_v<T, float> || std::is_same_v<T, double>, "klucz: float albo double");
    using K = sortowanie::TKod<T>;
    const std::size_t n = tab.size();
    if (n < 2) return;

    // Every pair is written before it is read: resize() only grows them.
    std::vector<sortowanie::TPara<K>>& a = klucze.A<K>();
    std::vector<sortowanie::TPara<K>>& b = klucze.B<K>();
    if (a.size() < n) a.resize(n);
    if (b.size() < n) b.resize(n);
    bool uporzadkowana = true;
    K poprzedni = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const K kod = sortowanie::KodMalejaco(klucz(tab[i]));
        uporzadkowana &= kod >= poprzedni;
        poprzedni = kod;
        a[i] = {kod, static_cast<std::uint32_t>(i)};
    }
    // Already far to near (a second press, or the order left by a load): nothing to do.
    if (uporzadkowana) return;

    SortujPary(a, b, n, klucze.Liczniki);

    bufor.clear();
    // Room to spare when it grows (untouched memory costs nothing): the
    // scratch and the array take each other's memory by turns, and a drive
    // whose frames keep a few more records each time would otherwise take
    // fresh memory for the largest array again and again.
    if (bufor.capacity() < n) bufor.reserve(std::max(n + n / 2, tab.capacity()));
    // The reads jump about the array: ask for the records a few steps ahead.
    constexpr std::size_t kNaprzod = 16;
    for (std::size_t i = 0; i < n; ++i) {
#if defined(__GNUC__)
        if (i + kNaprzod < n) __builtin_prefetch(&tab[a[i + kNaprzod].Indeks]);
#endif
        bufor.push_back(tab[a[i].Indeks]);
    }
    OddajWynik(tab, bufor);
}

// The same with a scratch array of its own.
template <typename R, typename KluczFn>
void SortujMalejaco(std::vector<R>& tab, KluczFn klucz) {
    std::vector<R> bufor;
    TBuforKluczy klucze;
    SortujMalejaco(tab, klucz, bufor, klucze);
}
