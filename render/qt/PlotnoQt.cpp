#include "render/qt/PlotnoQt.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPalette>
#include <QPolygon>
#include <QString>
#include <algorithm>
#include <cmath>
#include <vector>

#include "model/Zmienne.h"

namespace {

// Coordinates beyond this are cut off before they reach QPainter, whose raster
// engine works in fixed point and misdraws very distant vertices. It lies far
// outside any picture, so the cut edges are never seen.
constexpr double kStraz = 32000.0;

struct PunktD {
    double x, y;
};

// One pass of polygon clipping against the half-plane of one guard edge.
template <typename Wewnatrz, typename Przeciecie>
std::vector<PunktD> Przytnij(const std::vector<PunktD>& we, Wewnatrz wewnatrz, Przeciecie przeciecie) {
    std::vector<PunktD> wy;
    if (we.empty()) return wy;
    wy.reserve(we.size() + 4);
    PunktD poprz = we.back();
    bool poprzW = wewnatrz(poprz);
    for (const PunktD& p : we) {
        const bool w = wewnatrz(p);
        if (w != poprzW) wy.push_back(przeciecie(poprz, p));
        if (w) wy.push_back(p);
        poprz = p;
        poprzW = w;
    }
    return wy;
}

std::vector<PunktD> PrzytnijDoStrazy(std::vector<PunktD> p) {
    auto naX = [](double g) {
        return [g](const PunktD& a, const PunktD& b) {
            const double t = (g - a.x) / (b.x - a.x);
            return PunktD{g, a.y + t * (b.y - a.y)};
        };
    };
    auto naY = [](double g) {
        return [g](const PunktD& a, const PunktD& b) {
            const double t = (g - a.y) / (b.y - a.y);
            return PunktD{a.x + t * (b.x - a.x), g};
        };
    };
    p = Przytnij(
        p, [](const PunktD& a) { return a.x >= -kStraz; }, naX(-kStraz));
    p = Przytnij(
        p, [](const PunktD& a) { return a.x <= kStraz; }, naX(kStraz));
    p = Przytnij(
        p, [](const PunktD& a) { return a.y >= -kStraz; }, naY(-kStraz));
    p = Przytnij(
        p, [](const PunktD& a) { return a.y <= kStraz; }, naY(kStraz));
    return p;
}

bool Daleko(int x, int y) {
    return std::abs(static_cast<double>(x)) > kStraz || std::abs(static_cast<double>(y)) > kStraz;
}

}  // namespace

QColor KolorPrzycisku() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return QGuiApplication::palette().color(QPalette::Active, QPalette::Button);
    return QColor(240, 240, 240);
}

QColor KolorQt(TKolor kolor) {
    if (kolor == clBtnFace) return KolorPrzycisku();
    return QColor(kolor & 0xFF, (kolor >> 8) & 0xFF, (kolor >> 16) & 0xFF);
}

QFont CzcionkaPlotna() {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(10);
    f.setStyleHint(QFont::SansSerif);
    f.setHintingPreference(QFont::PreferFullHinting);
    f.setStyleStrategy(QFont::NoAntialias);  // crisp one-colour text, as on a bitmap canvas
    return f;
}

QImage ObrazQt(const TObraz& obraz) {
    if (obraz.Pusty()) return {};
    return QImage(reinterpret_cast<const uchar*>(obraz.Piksele.data()), obraz.Szerokosc, obraz.Wysokosc,
                  obraz.Szerokosc * 4, QImage::Format_RGB32);
}

TObraz ObrazZQt(const QImage& obraz) {
    TObraz wynik;
    if (obraz.isNull()) return wynik;
    const QImage rgb = obraz.convertToFormat(QImage::Format_RGB32);
    wynik.Szerokosc = rgb.width();
    wynik.Wysokosc = rgb.height();
    wynik.Piksele.resize(static_cast<size_t>(rgb.width()) * rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* wiersz = reinterpret_cast<const std::uint32_t*>(rgb.constScanLine(y));
        std::copy(wiersz, wiersz + rgb.width(), wynik.Piksele.begin() + static_cast<size_t>(y) * rgb.width());
    }
    return wynik;
}

void PiszTekstQt(QPainter& malarz, int x, int y, const std::string& tekst, const QColor& tlo) {
    const QString s = QString::fromUtf8(tekst.data(), static_cast<qsizetype>(tekst.size()));
    const QFontMetrics fm(malarz.font());
    malarz.fillRect(QRect(x, y, fm.horizontalAdvance(s), fm.height()), tlo);
    malarz.setPen(Qt::black);
    malarz.drawText(x, y + fm.ascent(), s);
}

namespace {
void UstawMalarzaTekstu(QPainter& malarz) {
    malarz.setRenderHint(QPainter::Antialiasing, false);
    malarz.setRenderHint(QPainter::TextAntialiasing, false);
    malarz.setFont(CzcionkaPlotna());
}

TKolor KolorZQt(const QColor& k) { return static_cast<TKolor>(k.red() | (k.green() << 8) | (k.blue() << 16)); }
}  // namespace

// ---- The program's canvas ----

PlotnoQt::PlotnoQt(QImage& obraz) : obraz_(obraz) {
    const QImage::Format f = obraz_.format();
    if (!obraz_.isNull() && f != QImage::Format_RGB32 && f != QImage::Format_ARGB32 &&
        f != QImage::Format_ARGB32_Premultiplied)
        obraz_ = obraz_.convertToFormat(QImage::Format_RGB32);
    UstawKolorPrzycisku(KolorZQt(::KolorPrzycisku()));
    UstawPisanieTekstu(
        [this](int x, int y, const std::string& tekst, std::uint32_t tlo) { PiszTekst(x, y, tekst, tlo); });
    WezPiksele();
}

void PlotnoQt::WezPiksele() {
    if (obraz_.isNull()) {
        UstawBufor({});
        return;
    }
    // bits() of a shared image makes its own copy first, so the canvas writes
    // only into this image.
    UstawBufor({reinterpret_cast<std::uint32_t*>(obraz_.bits()), obraz_.width(), obraz_.height(),
                static_cast<int>(obraz_.bytesPerLine() / 4)});
}

void PlotnoQt::PiszTekst(int x, int y, const std::string& tekst, std::uint32_t tlo) {
    if (obraz_.isNull()) return;
    {
        QPainter malarz(&obraz_);
        UstawMalarzaTekstu(malarz);
        PiszTekstQt(malarz, x, y, tekst, QColor::fromRgb(tlo));
    }
    // The painter could have detached a shared image: draw on from where its pixels are now.
    WezPiksele();
}

// ---- The QPainter canvas ----

PlotnoQPainter::PlotnoQPainter(QImage& obraz) : obraz_(obraz), malarz_(&obraz) { UstawMalarzaTekstu(malarz_); }

PlotnoQPainter::~PlotnoQPainter() = default;

void PlotnoQPainter::UstawPioro(TKolor kolor) { pioro_ = KolorQt(kolor); }
void PlotnoQPainter::UstawPedzel(TKolor kolor) { pedzel_ = KolorQt(kolor); }

namespace {
QPen PioroKosmetyczne(const QColor& kolor) {
    QPen p(kolor);
    p.setWidth(0);               // cosmetic: one pixel whatever the transform
    p.setCapStyle(Qt::FlatCap);  // a line leaves out its last pixel
    p.setJoinStyle(Qt::MiterJoin);
    return p;
}
}  // namespace

void PlotnoQPainter::Prostokat(int x1, int y1, int x2, int y2) {
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    // Both limits kept inside the image's neighbourhood: nothing outside is visible.
    const int gx = obraz_.width() + 2, gy = obraz_.height() + 2;
    x1 = std::clamp(x1, -2, gx);
    x2 = std::clamp(x2, -2, gx);
    y1 = std::clamp(y1, -2, gy);
    y2 = std::clamp(y2, -2, gy);
    if (x2 - x1 < 1 || y2 - y1 < 1) return;
    // Fill and frame cover x1 .. x2 - 1 and y1 .. y2 - 1.
    malarz_.fillRect(QRect(x1, y1, x2 - x1, y2 - y1), pedzel_);
    malarz_.setPen(PioroKosmetyczne(pioro_));
    malarz_.setBrush(Qt::NoBrush);
    malarz_.drawRect(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
}

void PlotnoQPainter::Wielokat(const TPunktEkranu* punkty, int ile) {
    if (ile <= 0) return;
    malarz_.setPen(PioroKosmetyczne(pioro_));
    malarz_.setBrush(pedzel_);
    bool daleko = false;
    for (int i = 0; i < ile; ++i) daleko = daleko || Daleko(punkty[i].X, punkty[i].Y);
    if (!daleko) {
        QPolygon w(ile);
        for (int i = 0; i < ile; ++i) w.setPoint(i, punkty[i].X, punkty[i].Y);
        malarz_.drawPolygon(w, Qt::OddEvenFill);
        return;
    }
    std::vector<PunktD> p(ile);
    for (int i = 0; i < ile; ++i) p[i] = {static_cast<double>(punkty[i].X), static_cast<double>(punkty[i].Y)};
    p = PrzytnijDoStrazy(std::move(p));
    if (p.empty()) return;
    QPolygon w(static_cast<int>(p.size()));
    for (size_t i = 0; i < p.size(); ++i)
        w.setPoint(static_cast<int>(i), static_cast<int>(std::lround(p[i].x)), static_cast<int>(std::lround(p[i].y)));
    malarz_.drawPolygon(w, Qt::OddEvenFill);
}

void PlotnoQPainter::Linia(int x1, int y1, int x2, int y2) {
    malarz_.setPen(PioroKosmetyczne(pioro_));
    if (!Daleko(x1, y1) && !Daleko(x2, y2)) {
        malarz_.drawLine(x1, y1, x2, y2);
        return;
    }
    // Liang-Barsky against the guard square.
    double ax = x1, ay = y1, dx = static_cast<double>(x2) - x1, dy = static_cast<double>(y2) - y1;
    double t0 = 0.0, t1 = 1.0;
    auto krawedz = [&](double p, double q) {
        if (p == 0.0) return q >= 0.0;
        const double r = q / p;
        if (p < 0.0) {
            if (r > t1) return false;
            t0 = std::max(t0, r);
        } else {
            if (r < t0) return false;
            t1 = std::min(t1, r);
        }
        return true;
    };
    if (!krawedz(-dx, ax + kStraz) || !krawedz(dx, kStraz - ax) || !krawedz(-dy, ay + kStraz) ||
        !krawedz(dy, kStraz - ay))
        return;
    malarz_.drawLine(QLine(static_cast<int>(std::lround(ax + t0 * dx)), static_cast<int>(std::lround(ay + t0 * dy)),
                           static_cast<int>(std::lround(ax + t1 * dx)), static_cast<int>(std::lround(ay + t1 * dy))));
}

void PlotnoQPainter::Tekst(int x, int y, const std::string& tekst) { PiszTekstQt(malarz_, x, y, tekst, pedzel_); }

void PlotnoQPainter::RozciagnijObraz(int lewa, int gora, int prawa, int dol, const TObraz& obraz) {
    if (obraz.Pusty()) return;
    const double w = static_cast<double>(prawa) - lewa, h = static_cast<double>(dol) - gora;
    if (w <= 0.0 || h <= 0.0) return;
    // Only the part of the target that lies on the image is drawn, with the
    // matching part of the source, so huge targets cost nothing.
    const QRectF cel(lewa, gora, w, h);
    const QRectF widoczne = cel.intersected(QRectF(0, 0, obraz_.width(), obraz_.height()));
    if (widoczne.isEmpty()) return;
    const double sx = obraz.Szerokosc / w, sy = obraz.Wysokosc / h;
    const QRectF zrodlo((widoczne.left() - lewa) * sx, (widoczne.top() - gora) * sy, widoczne.width() * sx,
                        widoczne.height() * sy);
    malarz_.setRenderHint(QPainter::SmoothPixmapTransform, false);
    malarz_.drawImage(widoczne, ObrazQt(obraz), zrodlo);
}

QString KatalogProgramu() {
    QString k = QCoreApplication::applicationDirPath();
    if (!k.endsWith(QLatin1Char('/'))) k += QLatin1Char('/');
    return k;
}

QString WczytajNiebo(const QString& katalogProgramu) {
    const QString sciezka = katalogProgramu + QStringLiteral("Przyklady/Sky02.bmp");
    const QImage niebo(sciezka);
    Niebo = ObrazZQt(niebo);
    return niebo.isNull() ? QStringLiteral("Brak pliku ") + sciezka : QString();
}
