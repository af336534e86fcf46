// The canvas over a QImage: the window's off-screen picture and the
// command-line tool's picture are both drawn through it.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>

#include "render/Plotno.h"

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

class PlotnoQt : public TPlotno {
public:
    // Draws on the image for the lifetime of the canvas.
    explicit PlotnoQt(QImage& obraz);
    ~PlotnoQt() override;

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
