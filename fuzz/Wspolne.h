// Shared pieces of the fuzz targets: a fixed starting scene, the checks that
// stop a run with a report, and one frame drawn the way the window draws it.
//
// Every target keeps to one rule of the program: a file either loads, or it
// fails with BladKonwersji and leaves the model, the route and the render
// arrays exactly as they were. Anything else (another exception, a crash, a
// sanitizer report, a check below) is a finding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "test_pliki_dane.h"

// Stops the run with the failed condition: libFuzzer records the input as a
// crash, the corpus runner fails its test.
#define SPRAWDZ(warunek)                                                                      \
    do {                                                                                      \
        if (!(warunek)) {                                                                     \
            std::fprintf(stderr, "%s:%d: nie spełniono: %s\n", __FILE__, __LINE__, #warunek); \
            std::abort();                                                                     \
        }                                                                                     \
    } while (0)

namespace fuzz {

inline std::string_view Bajty(const std::uint8_t* dane, std::size_t rozmiar) {
    return {reinterpret_cast<const char*>(dane), rozmiar};
}

// Puts back the starting scene: the small sample model with its route built,
// the render arrays of a load and a test quad. Cheap enough for every input.
void ScenaPoczatkowa();
// A copy of the model, the route, the render arrays, the viewer lines and the route's messages.
pliki_testowe::TStan ZrzutStanu();
// A message of a failed load: its first line is a readable sentence and the
// second names the file and the line.
void SprawdzKomunikat(const char* komunikat, std::string_view nazwaPliku);
// One frame of the main window on a small pixel buffer: the general view,
// and the view placed at a few chainages when the route is built.
void RysujKlatki();
// Chainage lookups over the built route: every point is found and finite and
// every direction lies in [0, 2*pi).
void SprawdzPikiety();

}  // namespace fuzz
