// Sorting and kind colours of the scene model, the choice of the reader by the
// file name; the load sequence as a whole is checked through the readers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <tuple>
#include <vector>

#include "model/Zmienne.h"
#include "pomocnicze/Pomocnicze.h"
#include "scena/Scena.h"

TEST(Model, SortowanieStabilneOdNajdalszych) {
    // The order of the records (numbered by Kolor) after sorting by P2.Y.
    auto kolejnosc = [](const std::vector<double>& y) {
        std::vector<TTrojkatRys> t(y.size());
        for (std::size_t i = 0; i < y.size(); ++i) t[i].P2.Y = y[i], t[i].Kolor = static_cast<TKolor>(i);
        SortujTrojkaty(t);
        std::vector<TKolor> k;
        for (const auto& r : t) k.push_back(r.Kolor);
        return k;
    };
    EXPECT_EQ(kolejnosc({1, 5, 1, 3, 5, -2}), (std::vector<TKolor>{1, 4, 3, 0, 2, 5}));
    // Many equal keys: the order of a stable sort.
    std::vector<double> y;
    for (std::uint32_t i = 0, s = 12345; i < 5000; ++i) y.push_back(((s = s * 134775813u + 1) >> 24) * 0.5);
    std::vector<TKolor> wzor(y.size());
    std::iota(wzor.begin(), wzor.end(), 0u);
    std::stable_sort(wzor.begin(), wzor.end(), [&](TKolor a, TKolor b) { return y[a] > y[b]; });
    EXPECT_EQ(kolejnosc(y), wzor);
}

TEST(Model, KoloryRodzajow) {
    // The same letter G differs between the sets; O does not; an unknown letter gets the default grey.
    EXPECT_EQ(std::tuple(KolorRodzaju(TEREN, 'G'), KolorRodzaju(PROJ, 'G'), KolorRodzaju(PROJ, 'h')),
              std::tuple(0x969696u, 0x323296u, 0x969696u));
    EXPECT_EQ(KolorRodzaju(PROJ, 'O'), KolorRodzaju(TEREN, 'O'));
}

TEST(Model, RodzajPlikuZKoncowkiNazwy) {
    using R = TRodzajPliku;
    const std::pair<const char*, R> przypadki[] = {{"a.tro", R::TRO},   {"Droga.TrO", R::TRO}, {"m.MTP", R::MTP},
                                                   {"/k.mtp/x.tro", R::TRO}, {"x.txt", R::Inny}, {"ro", R::Inny},
                                                   {"a.tro.bak", R::Inny}, {"", R::Inny}};
    for (const auto& [nazwa, rodzaj] : przypadki) EXPECT_EQ(RodzajPliku(nazwa), rodzaj) << nazwa;
    // Another kind is refused by the open flow before anything is read.
    ZerujStan();
    TEREN.Punkty.resize(2);
    try {
        WczytajPlik("/nie/ma/takiego/pliku.txt");
        ADD_FAILURE() << "no error";
    } catch (const BladKonwersji& e) {
        EXPECT_NE(std::string(e.what()).find("pliku.txt"), std::string::npos) << e.what();
    }
    EXPECT_EQ(TEREN.IlePunktow(), 2);
}
