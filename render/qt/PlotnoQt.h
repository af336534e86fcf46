// The canvases over a QImage.
//
// PlotnoQt is the program's canvas: the window's off-screen picture and the
// command-line tool's picture are both drawn through it. Polygons, lines,
// rectangles and the stretched sky go through the program's own rasterizer
// (render/Rasteryzer.h) straight into the image's pixels; only text is drawn
// with QPainter, in the canvas font.
//
// PlotnoQPainter draws everything with QPainter. It is kept to compare
// against: the drawing benchmarks measure the rasterizer against it, and a
// test checks that the two cover the same pixels within a small tolerance.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QString>

#include "render/Plotno.h"
#include "render/Rasteryzer.h"

// Qt colour of a 0x00BBGGRR value; clBtnFace gives the button-face colour.
QColor KolorQt(TKolor kolor);
// The button-face colour: the application palette's button colour when a
// GUI application exists, otherwise the usual light grey (240, 240, 240).
QColor KolorPrzycisku();
// The fixed font of the canvas texts (one line every 12 pixels).
QFont CzcionkaPlotna();
// A QImage sharing the pixels of a TObraz (valid while the TObraz lives) and back.
QImage ObrazQt(const TObraz& obraz);
TObraz ObrazZQt(const QImage& obraz);

// The program's directory with its trailing separator: the sample files and
// the sky picture lie beside the program.
QString KatalogProgramu();

// Loads Niebo from "Przyklady/Sky02.bmp" under the directory. A missing or
// unreadable file leaves Niebo empty and gives the message ("Brak pliku " and
// the path), which the window shows in its status bar and the command-line
// tool on standard error; an empty text when the picture loaded.
QString WczytajNiebo(const QString& katalogProgramu);

// Text as both canvases write it: the background of the text's advance and
// the font's height filled with the brush, the text in black, its top-left
// corner at (x, y).
void PiszTekstQt(QPainter& malarz, int x, int y, const std::string& tekst, const QColor& tlo);

class PlotnoQt : public TPlotnoRastrowe {
public:
    // Draws on the image for the lifetime of the canvas. An image that is not
    // 32 bits per pixel is converted to RGB32 first.
    explicit PlotnoQt(QImage& obraz);
    PlotnoQt(const PlotnoQt&) = delete;
    PlotnoQt& operator=(const PlotnoQt&) = delete;

private:
    void PiszTekst(int x, int y, const std::string& tekst, std::uint32_t tlo);
    void WezPiksele();

    QImage& obraz_;
};

class PlotnoQPainter : public TPlotno {
public:
    // Draws on the image for the lifetime of the canvas.
    explicit PlotnoQPainter(QImage& obraz);
    ~PlotnoQPainter() override;

    void UstawPioro(TKolor kolor) override;
    void UstawPedzel(TKolor kolor) override;
    void Prostokat(int x1, int y1, int x2, int y2) override;
    void Wielokat(const TPunktEkranu* punkty, int ile) override;
    void Linia(int x1, int y1, int x2, int y2) override;
    void Tekst(int x, int y, const std::string& tekst) override;
    void RozciagnijObraz(int lewa, int gora, int prawa, int dol, const TObraz& obraz) override;

private:
    QImage& obraz_;
    QPainter malarz_;
    QColor pioro_{Qt::black};
    QColor pedzel_{Qt::white};
};
