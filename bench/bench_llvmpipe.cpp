// An outside anchor for the renderer: the same triangles drawn with OpenGL
// through Mesa's software rasterizer (llvmpipe), as an OpenGL viewer would
// draw them on a machine without a graphics card, beside the program's own
// renderer.
//
// The scene is the general view of the synthetic terrain of ScenaTerenu.h
// (ORVANY_BENCH_TROJKATY triangles, 1,000,000 when not set): the render
// arrays rebuilt from the mesh, zoomed by 4 and shaded, as WidokOgolny leaves
// them. OpenGL gets every record of TrojkatyTEREN once, in a vertex buffer
// (three vertices of single-precision view coordinates and the shaded colour
// each), and draws it into an offscreen 958 x 637 target (colour and depth
// renderbuffers) with the depth test on and a flat colour per triangle; the
// vertex shader does the program's perspective (the screen plane at depth 0,
// the window's eye). A frame is clear, draw, glFinish; sending the buffer is
// done once and reported apart ("ms_wysylania").
//
//  - BM_OpenGL_llvmpipe: the OpenGL frame. llvmpipe takes its number of
//    threads from LP_NUM_THREADS when the display is opened: run the program
//    once with LP_NUM_THREADS=1 and once with 2.
//  - BM_Program_1_watek: the program's canvas (PlotnoQt) drawing the same
//    records one by one in this thread (the frame's background, then each
//    record with RysujTrojkat).
//  - BM_Program_2_watki: the program's whole redraw, Przerysuj, which draws
//    a frame of this size in two bands at once (the split kept across frames,
//    as the window keeps it).
//
// Each reports wall milliseconds per frame (the benchmark's time), the
// processor milliseconds of the whole process ("ms_procesora") and, for the
// program, how many times faster it drew the frame than OpenGL did in the
// same run, in wall time ("x_OpenGL"; below 1: OpenGL was faster).
//
// ORVANY_BENCH_OBRAZY=DIR saves the frames (llvmpipe.png, Program_1.png,
// Program_2.png) for a look.
//
// The context is made by EGL on Mesa's surfaceless platform (no display
// server needed); LIBGL_ALWAYS_SOFTWARE=1 is set when the caller did not set
// it, so that Mesa picks llvmpipe. The label shows the renderer's name.
#include <benchmark/benchmark.h>

#define GL_GLEXT_PROTOTYPES 1
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/glcorearb.h>

#include <QImage>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "ScenaTerenu.h"
#include "render/RysujPerspektywa.h"
#include "render/qt/PlotnoQt.h"
#include "scena/Scena.h"

namespace {

constexpr int W = 958;
constexpr int H = 637;

double CzasProcesu() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) * 1e-6;
}

using Zegar = std::chrono::steady_clock;

// The general view of the terrain, made once.
void ZbudujScene() {
    static bool zbudowana = false;
    if (zbudowana) return;
    zbudowana = true;
    UstawStanOkna(W, H);
    scena_terenu::Zbuduj(scena_terenu::IleTrojkatow());
    WidokOgolny();
}

struct TWierzcholek {
    float X, Y, Z;
    std::uint32_t Kolor;  // 0x00BBGGRR: the bytes R, G, B, 0 in memory
};

const char* kShaderWierzcholkow = R"(#version 330 core
layout(location = 0) in vec3 p;
layout(location = 1) in vec4 k;
uniform vec3 oko;    // the eye: OkoX, OkoY, OkoZ
uniform vec4 ekran;  // width, height, near and far depth from the eye
flat out vec4 kolor;
void main() {
    float w = p.y - oko.y;  // depth from the eye
    float d = -oko.y;       // the screen plane lies at depth 0
    float x = 2.0 / ekran.x * (oko.x * w + d * (p.x - oko.x)) - w;
    float y = 2.0 / ekran.y * (oko.z * w + d * (p.z - oko.z)) - w;
    float n = ekran.z, f = ekran.w;
    gl_Position = vec4(x, y, (f + n) / (f - n) * w - 2.0 * f * n / (f - n), w);
    kolor = k;
}
)";

const char* kShaderFragmentow = R"(#version 330 core
flat in vec4 kolor;
out vec4 wynik;
void main() { wynik = vec4(kolor.rgb, 1.0); }
)";

// The EGL context with its target and the scene's vertex buffer.
struct TOpenGL {
    bool Gotowy = false;
    std::string Blad, Renderer;
    EGLDisplay Ekran = EGL_NO_DISPLAY;
    EGLContext Kontekst = EGL_NO_CONTEXT;
    GLuint Fbo = 0, Program = 0, Vao = 0, Vbo = 0;
    GLint ileWierzcholkow = 0;
    double MsWysylania = 0.0;
};

GLuint Shader(GLenum rodzaj, const char* zrodlo, std::string& blad) {
    const GLuint s = glCreateShader(rodzaj);
    glShaderSource(s, 1, &zrodlo, nullptr);
    glCompileShader(s);
    GLint ok = 0;
    glGetShaderiv(s, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[1024] = {};
        glGetShaderInfoLog(s, sizeof log, nullptr, log);
        blad = std::string("shader: ") + log;
    }
    return s;
}

TOpenGL& OpenGL() {
    static TOpenGL g = [] {
        TOpenGL g;
        auto pobierz = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
        if (!pobierz) {
            g.Blad = "brak eglGetPlatformDisplayEXT";
            return g;
        }
        g.Ekran = pobierz(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        EGLint duza = 0, mala = 0;
        if (g.Ekran == EGL_NO_DISPLAY || !eglInitialize(g.Ekran, &duza, &mala)) {
            g.Blad = "nie można otworzyć ekranu EGL (platforma surfaceless)";
            return g;
        }
        if (!eglBindAPI(EGL_OPENGL_API)) {
            g.Blad = "EGL bez OpenGL";
            return g;
        }
        const EGLint atrybuty[] = {
            EGL_CONTEXT_MAJOR_VERSION,           3,       EGL_CONTEXT_MINOR_VERSION, 3, EGL_CONTEXT_OPENGL_PROFILE_MASK,
            EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT, EGL_NONE};
        g.Kontekst = eglCreateContext(g.Ekran, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, atrybuty);
        if (g.Kontekst == EGL_NO_CONTEXT || !eglMakeCurrent(g.Ekran, EGL_NO_SURFACE, EGL_NO_SURFACE, g.Kontekst)) {
            g.Blad = "nie można utworzyć kontekstu OpenGL 3.3";
            return g;
        }
        g.Renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));

        GLuint rb[2];
        glGenRenderbuffers(2, rb);
        glBindRenderbuffer(GL_RENDERBUFFER, rb[0]);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, W, H);
        glBindRenderbuffer(GL_RENDERBUFFER, rb[1]);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, W, H);
        glGenFramebuffers(1, &g.Fbo);
        glBindFramebuffer(GL_FRAMEBUFFER, g.Fbo);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, rb[0]);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, rb[1]);
        if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
            g.Blad = "niepełny bufor ramki";
            return g;
        }
        glViewport(0, 0, W, H);

        const GLuint vs = Shader(GL_VERTEX_SHADER, kShaderWierzcholkow, g.Blad);
        const GLuint fs = Shader(GL_FRAGMENT_SHADER, kShaderFragmentow, g.Blad);
        if (!g.Blad.empty()) return g;
        g.Program = glCreateProgram();
        glAttachShader(g.Program, vs);
        glAttachShader(g.Program, fs);
        glLinkProgram(g.Program);
        GLint ok = 0;
        glGetProgramiv(g.Program, GL_LINK_STATUS, &ok);
        if (!ok) {
            g.Blad = "nie można połączyć shaderów";
            return g;
        }

        // The scene's records, three vertices each, and the depth range.
        ZbudujScene();
        std::vector<TWierzcholek> w;
        w.reserve(TrojkatyTEREN.size() * 3);
        double dalej = 1.0;
        for (const TTrojkatRys& r : TrojkatyTEREN)
            for (const TPunkt3D* p : {&r.P1, &r.P2, &r.P3}) {
                w.push_back(
                    {static_cast<float>(p->X), static_cast<float>(p->Y), static_cast<float>(p->Z), r.KolorCieniowany});
                dalej = std::max(dalej, p->Y - Rzut.OkoY);
            }
        const auto t0 = Zegar::now();
        glGenVertexArrays(1, &g.Vao);
        glBindVertexArray(g.Vao);
        glGenBuffers(1, &g.Vbo);
        glBindBuffer(GL_ARRAY_BUFFER, g.Vbo);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(w.size() * sizeof(TWierzcholek)), w.data(),
                     GL_STATIC_DRAW);
        glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(TWierzcholek), nullptr);
        glVertexAttribPointer(1, 4, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(TWierzcholek),
                              reinterpret_cast<void*>(3 * sizeof(float)));
        glEnableVertexAttribArray(0);
        glEnableVertexAttribArray(1);
        glFinish();
        g.MsWysylania = std::chrono::duration<double, std::milli>(Zegar::now() - t0).count();
        g.ileWierzcholkow = static_cast<GLint>(w.size());

        glUseProgram(g.Program);
        glUniform3f(glGetUniformLocation(g.Program, "oko"), static_cast<float>(Rzut.OkoX),
                    static_cast<float>(Rzut.OkoY), static_cast<float>(Rzut.OkoZ));
        glUniform4f(glGetUniformLocation(g.Program, "ekran"), W, H, 1.0f, static_cast<float>(dalej * 1.01));
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
        glClearColor(0.94f, 0.94f, 0.94f, 1.0f);
        g.Gotowy = glGetError() == GL_NO_ERROR;
        if (!g.Gotowy) g.Blad = "błąd OpenGL przy przygotowaniu";
        return g;
    }();
    return g;
}

double CzasOpenGL = 0.0;

void BM_OpenGL_llvmpipe(benchmark::State& state) {
    TOpenGL& g = OpenGL();
    if (!g.Gotowy) {
        state.SkipWithError(g.Blad.c_str());
        return;
    }
    const double p0 = CzasProcesu();
    const auto t0 = Zegar::now();
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDrawArrays(GL_TRIANGLES, 0, g.ileWierzcholkow);
        glFinish();
    }
    const double n = static_cast<double>(state.iterations());
    CzasOpenGL = std::chrono::duration<double, std::milli>(Zegar::now() - t0).count() / n;
    state.counters["ms_procesora"] = (CzasProcesu() - p0) / n;
    state.counters["ms_wysylania"] = g.MsWysylania;
    state.counters["trojkaty"] = g.ileWierzcholkow / 3;
    // Pixels the terrain covers: a check that the frame is the scene.
    std::vector<std::uint32_t> piksele(static_cast<std::size_t>(W) * H);
    glReadPixels(0, 0, W, H, GL_RGBA, GL_UNSIGNED_BYTE, piksele.data());
    const std::uint32_t tlo = piksele[0];
    if (const char* katalog = std::getenv("ORVANY_BENCH_OBRAZY"))
        QImage(reinterpret_cast<const uchar*>(piksele.data()), W, H, QImage::Format_RGBA8888)
            .mirrored()
            .save(QString::fromUtf8(katalog) + "/llvmpipe.png");
    state.counters["piksele_sceny"] = static_cast<double>(
        std::count_if(piksele.begin(), piksele.end(), [tlo](std::uint32_t p) { return p != tlo; }));
    const char* watki = std::getenv("LP_NUM_THREADS");
    state.SetLabel(g.Renderer + ", LP_NUM_THREADS=" + (watki ? watki : "(domyślnie)"));
}

template <typename Rysuj>
void Program(benchmark::State& state, const char* nazwa, Rysuj rysuj) {
    ZbudujScene();
    QImage obraz(W, H, QImage::Format_RGB32);
    const double p0 = CzasProcesu();
    const auto t0 = Zegar::now();
    for (auto _ : state) {
        PlotnoQt plotno(obraz);
        rysuj(plotno);
        benchmark::DoNotOptimize(obraz.constBits());
    }
    const double n = static_cast<double>(state.iterations());
    const double ms = std::chrono::duration<double, std::milli>(Zegar::now() - t0).count() / n;
    state.counters["ms_procesora"] = (CzasProcesu() - p0) / n;
    state.counters["trojkaty"] = static_cast<double>(TrojkatyTEREN.size());
    if (CzasOpenGL > 0.0) state.counters["x_OpenGL"] = CzasOpenGL / ms;
    if (const char* katalog = std::getenv("ORVANY_BENCH_OBRAZY"))
        obraz.save(QString::fromUtf8(katalog) + "/" + nazwa + ".png");
}

void BM_Program_1_watek(benchmark::State& state) {
    // The whole frame drawn by one thread (the band split held to one).
    Program(state, "Program_1", [](PlotnoQt& plotno) {
        TPodzialKlatki podzial;
        podzial.Watki = 1;
        Przerysuj(plotno, W, H, podzial);
    });
}

void BM_Program_2_watki(benchmark::State& state) {
    // The split kept from frame to frame, as the window keeps it (its projected records' array with it: a split
    // made anew each frame would take that memory fresh every time).
    TPodzialKlatki podzial;
    Program(state, "Program_2", [&podzial](PlotnoQt& plotno) { Przerysuj(plotno, W, H, podzial); });
}

}  // namespace

BENCHMARK(BM_OpenGL_llvmpipe)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_Program_1_watek)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_Program_2_watki)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

int main(int argc, char** argv) {
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
