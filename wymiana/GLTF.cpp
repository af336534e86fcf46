#include "wymiana/GLTF.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "model/Projekt.h"
#include "model/Zmienne.h"

namespace {

struct TSiatkaGLB {
    const TSiatka* siatka;
    const char* nazwa;
    bool projektowa;
    float min[3], max[3];
};

// (X, Y, Z) of the model to glTF's (x, y up, z).
void Os(double X, double Y, double Z, float* w) {
    w[0] = static_cast<float>(X);
    w[1] = static_cast<float>(Z);
    w[2] = static_cast<float>(-Y);
}

std::string Liczba(double v, int cyfry) {
    char b[40];
    std::snprintf(b, sizeof b, "%.*g", cyfry, std::isfinite(v) ? v : 0.0);
    return b;
}

void Pisz(std::ostream& o, const void* p, std::size_t n) {
    o.write(static_cast<const char*>(p), static_cast<std::streamsize>(n));
}

void Pisz32(std::ostream& o, std::uint32_t v) {
    const unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                                static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
    Pisz(o, b, 4);
}

}  // namespace

void ZapiszGLB(std::ostream& o, const TProjekt& projekt) {
    std::vector<TSiatkaGLB> siatki;
    for (auto [s, n] : {std::pair{&projekt.TEREN, "TEREN"}, std::pair{&projekt.PROJ, "PROJ"}}) {
        if (s->Trojkaty.empty()) continue;
        TSiatkaGLB m{s, n, s == &projekt.PROJ, {INFINITY, INFINITY, INFINITY}, {-INFINITY, -INFINITY, -INFINITY}};
        for (const TTrojkat& t : s->Trojkaty) {
            for (int r = 0; r < 3; ++r) {
                const TPunkt3D p = Rog(*s, t, r);
                float v[3];
                Os(p.X, p.Y, p.Z, v);
                for (int k = 0; k < 3; ++k) {
                    m.min[k] = std::fmin(m.min[k], v[k]);
                    m.max[k] = std::fmax(m.max[k], v[k]);
                }
            }
        }
        siatki.push_back(m);
    }
    if (siatki.empty()) throw BladKonwersji("Nie ma czego zapisać: brak trójkątów TEREN i PROJ.");
    // A mesh's data: positions, normals, colours, each 3 floats per vertex, 3 vertices per triangle.
    auto blok = [](const TSiatkaGLB& m) { return static_cast<std::uint64_t>(m.siatka->Trojkaty.size()) * 3 * 12; };
    std::uint64_t dlugoscBin = 0;
    for (const TSiatkaGLB& m : siatki) dlugoscBin += 3 * blok(m);
    if (dlugoscBin > 0xF0000000ull) throw BladKonwersji("Za dużo trójkątów na jeden plik glTF (limit 4 GB).");

    // The origin the meshes were shifted from at the load.
    const double ox = projekt.Trasa.Dx, oy = projekt.Trasa.Dy, oz = projekt.TEREN.Zakres.Zmin;
    std::string widoki, akcesory, meshe, wezly, sceny;
    std::uint64_t przesuniecie = 0;
    for (std::size_t i = 0; i < siatki.size(); ++i) {
        const TSiatkaGLB& m = siatki[i];
        const std::uint64_t n = m.siatka->Trojkaty.size() * 3;
        const std::string sep = i ? "," : "";
        for (int k = 0; k < 3; ++k) {
            widoki += (i || k ? "," : "") + std::string("{\"buffer\":0,\"byteOffset\":") +
                      std::to_string(przesuniecie) + ",\"byteLength\":" + std::to_string(blok(m)) +
                      ",\"target\":34962}";
            przesuniecie += blok(m);
            const std::size_t nr = i * 3 + static_cast<std::size_t>(k);
            akcesory += (nr ? "," : "") + std::string("{\"bufferView\":") + std::to_string(nr) +
                        ",\"componentType\":5126,\"count\":" + std::to_string(n) + ",\"type\":\"VEC3\"";
            if (k == 0)
                akcesory += ",\"min\":[" + Liczba(m.min[0], 9) + "," + Liczba(m.min[1], 9) + "," + Liczba(m.min[2], 9) +
                            "],\"max\":[" + Liczba(m.max[0], 9) + "," + Liczba(m.max[1], 9) + "," +
                            Liczba(m.max[2], 9) + "]";
            akcesory += "}";
        }
        meshe += sep + "{\"name\":\"" + m.nazwa +
                 "\",\"primitives\":[{\"attributes\":{\"POSITION\":" + std::to_string(i * 3) +
                 ",\"NORMAL\":" + std::to_string(i * 3 + 1) + ",\"COLOR_0\":" + std::to_string(i * 3 + 2) +
                 "},\"material\":0,\"mode\":4}]}";
        wezly += sep + "{\"name\":\"" + m.nazwa + "\",\"mesh\":" + std::to_string(i) + ",\"translation\":[" +
                 Liczba(ox, 17) + "," + Liczba(oz, 17) + "," + Liczba(-oy, 17) + "]}";
        sceny += sep + std::to_string(i);
    }
    std::string json =
        "{\"asset\":{\"version\":\"2.0\",\"generator\":\"Orvany3D\"},\"scene\":0,\"scenes\":[{\"nodes\":[" + sceny +
        "]}],\"nodes\":[" + wezly + "],\"meshes\":[" + meshe +
        "],\"materials\":[{\"name\":\"powierzchnia\",\"doubleSided\":true,\"pbrMetallicRoughness\":{"
        "\"baseColorFactor\":[1,1,1,1],\"metallicFactor\":0,\"roughnessFactor\":1}}],\"accessors\":[" +
        akcesory + "],\"bufferViews\":[" + widoki + "],\"buffers\":[{\"byteLength\":" + std::to_string(dlugoscBin) +
        "}]}";
    while (json.size() % 4) json += ' ';

    Pisz(o, "glTF", 4);
    Pisz32(o, 2);
    Pisz32(o, static_cast<std::uint32_t>(12 + 8 + json.size() + 8 + dlugoscBin));
    Pisz32(o, static_cast<std::uint32_t>(json.size()));
    Pisz(o, "JSON", 4);
    Pisz(o, json.data(), json.size());
    Pisz32(o, static_cast<std::uint32_t>(dlugoscBin));
    Pisz(o, "BIN\0", 4);

    std::vector<float> bufor;
    for (const TSiatkaGLB& m : siatki) {
        const auto& tr = m.siatka->Trojkaty;
        for (int k = 0; k < 3; ++k) {  // positions, normals, colours
            bufor.clear();
            bufor.reserve(std::min<std::size_t>(tr.size(), 1 << 16) * 9);
            auto oproznij = [&] {
                Pisz(o, bufor.data(), bufor.size() * sizeof(float));
                bufor.clear();
            };
            for (const TTrojkat& t : tr) {
                const TTrojkatRogi q = Rogi(*m.siatka, t);
                float a[3], b[3], c[3];
                Os(q.X1, q.Y1, q.Z1, a);
                Os(q.X2, q.Y2, q.Z2, b);
                Os(q.X3, q.Y3, q.Z3, c);
                if (k == 0) {
                    bufor.insert(bufor.end(), {a[0], a[1], a[2], b[0], b[1], b[2], c[0], c[1], c[2]});
                } else if (k == 1) {
                    const TPunkt3D n = Iloczyn(TPunkt3D{b[0] - a[0], b[1] - a[1], b[2] - a[2]},
                                               TPunkt3D{c[0] - a[0], c[1] - a[1], c[2] - a[2]});
                    const double d = Dlugosc(n);
                    float v[3] = {0, 1, 0};
                    if (d > 0 && std::isfinite(d)) {
                        v[0] = static_cast<float>(n.X / d);
                        v[1] = static_cast<float>(n.Y / d);
                        v[2] = static_cast<float>(n.Z / d);
                    }
                    for (int r = 0; r < 3; ++r) bufor.insert(bufor.end(), {v[0], v[1], v[2]});
                } else {
                    const TKolor kol = KolorRodzaju(t.Rodzaj.Kod, m.projektowa);
                    const float v[3] = {static_cast<float>(kol & 0xFF) / 255.0f,
                                        static_cast<float>((kol >> 8) & 0xFF) / 255.0f,
                                        static_cast<float>((kol >> 16) & 0xFF) / 255.0f};
                    for (int r = 0; r < 3; ++r) bufor.insert(bufor.end(), {v[0], v[1], v[2]});
                }
                if (bufor.size() >= (1u << 16) * 9) oproznij();
            }
            oproznij();
        }
    }
    if (!o) throw BladKonwersji("Błąd zapisu pliku glTF.");
}
