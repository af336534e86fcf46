#include "dialogs/Kontrole.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>
#include <atomic>
#include <optional>

#include "analiza/Profil.h"
#include "route/Lancuch.h"
#include "analiza/RaportyKontroli.h"
#include "analiza/Wysokosci.h"
#include "dialogs/PracaWTle.h"
#include "model/Zmienne.h"

namespace {

QDoubleSpinBox* Pole(QWidget* rodzic, const char* nazwa, double od, double do_, int miejsca, double wartosc,
                     const QString& jednostka) {
    auto* p = new QDoubleSpinBox(rodzic);
    p->setObjectName(QString::fromLatin1(nazwa));
    p->setRange(od, do_);
    p->setDecimals(miejsca);
    p->setValue(wartosc);
    p->setSuffix(QStringLiteral(" ") + jednostka);
    return p;
}

}  // namespace

TDialogKontroli::TDialogKontroli(TRodzajKontroli rodzaj, const TUstawieniaKontroli& u, QWidget* rodzic)
    : QDialog(rodzic), rodzaj_(rodzaj), u_(u) {
    setObjectName(QStringLiteral("DialogKontroli"));
    const bool spadki = rodzaj == TRodzajKontroli::Spadki, objetosci = rodzaj == TRodzajKontroli::Objetosci;
    setWindowTitle(spadki      ? QStringLiteral("Spadki i strefy płaskie")
                   : objetosci ? QStringLiteral("Objętości robót ziemnych")
                               : QStringLiteral("Pochylenie poprzeczne"));
    auto* uklad = new QVBoxLayout(this);
    auto* f = new QFormLayout;
    E_Krok = Pole(this, "E_Krok", 0.1, 10000, 2, u.Krok, QStringLiteral("m"));
    f->addRow(rodzaj == TRodzajKontroli::Pochylenia ? QStringLiteral("Odstęp pikiet:")
                                                    : QStringLiteral("Długość przedziału:"),
              E_Krok);
    const double w = spadki ? u.SzerokoscSpadkow : objetosci ? u.SzerokoscObjetosci : u.SzerokoscPochylen;
    E_Szerokosc = Pole(this, "E_Szerokosc", 0.1, 10000, 2, w, QStringLiteral("m"));
    f->addRow(rodzaj == TRodzajKontroli::Pochylenia ? QStringLiteral("Odległość krawędzi od osi:")
                                                    : QStringLiteral("Szerokość pasa od osi (na stronę):"),
              E_Szerokosc);
    if (spadki) {
        E_Prog = Pole(this, "E_Prog", 0.0, 100, 2, u.Prog, QStringLiteral("%"));
        f->addRow(QStringLiteral("Najmniejszy spadek (próg):"), E_Prog);
    }
    if (objetosci) {
        E_Wspolczynnik = Pole(this, "E_Wspolczynnik", 0.01, 10, 3, u.Wspolczynnik, QString());
        f->addRow(QStringLiteral("Współczynnik spulchnienia k:"), E_Wspolczynnik);
    }
    uklad->addLayout(f);
    auto* przyciski = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    przyciski->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Sprawdź"));
    przyciski->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Anuluj"));
    connect(przyciski, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(przyciski, &QDialogButtonBox::rejected, this, &QDialog::reject);
    uklad->addWidget(przyciski);
}

TUstawieniaKontroli TDialogKontroli::Ustawienia() const {
    TUstawieniaKontroli u = u_;
    u.Krok = E_Krok->value();
    if (rodzaj_ == TRodzajKontroli::Spadki) {
        u.SzerokoscSpadkow = E_Szerokosc->value();
        u.Prog = E_Prog->value();
    } else if (rodzaj_ == TRodzajKontroli::Objetosci) {
        u.SzerokoscObjetosci = E_Szerokosc->value();
        u.Wspolczynnik = E_Wspolczynnik->value();
    } else {
        u.SzerokoscPochylen = E_Szerokosc->value();
    }
    return u;
}

// ---------------------------------------------------------------------------

TKontroleOkna::TKontroleOkna(QWidget* okno) : QObject(okno), okno_(okno) {}

bool TKontroleOkna::Przygotuj(TRodzajKontroli rodzaj, TUstawieniaKontroli& u) {
    u = Ustawienia;
    if (PytajOUstawienia) {
        if (!PytajOUstawienia(rodzaj, u)) return false;
    } else {
        TDialogKontroli d(rodzaj, u, okno_);
        if (d.exec() != QDialog::Accepted) return false;
        u = d.Ustawienia();
    }
    Ustawienia = u;
    if (PROJ.Trojkaty.empty()) {
        if (PokazBlad) PokazBlad(QStringLiteral("Brak powierzchni projektowanej (PROJ): nie ma czego sprawdzać."));
        return false;
    }
    if (!Trasa.Obliczona) {
        if (PokazBlad) PokazBlad(QStringLiteral("Trasa nie jest obliczona: sprawdzenie idzie wzdłuż trasy."));
        return false;
    }
    if (rodzaj == TRodzajKontroli::Objetosci && TEREN.Trojkaty.empty()) {
        if (PokazBlad)
            PokazBlad(QStringLiteral("Brak terenu (TEREN): nie ma czego porównać z powierzchnią projektowaną."));
        return false;
    }
    return true;
}

void TKontroleOkna::SprawdzSpadki() {
    TUstawieniaKontroli u;
    if (!Przygotuj(TRodzajKontroli::Spadki, u)) return;
    const TSiatka& proj = PROJ;
    const DaneUstawieniaTrasy& trasa = Trasa;
    std::optional<TWynikSpadkow> w = WTle<TWynikSpadkow>(
        okno_,
        {QStringLiteral("PostepKontroli"), QStringLiteral("WatekKontroli"),
         QStringLiteral("Spadki powierzchni projektowanej…")},
        [&proj, &trasa, u](const TPostepAnalizy& postep, const std::atomic<bool>* przerwij) {
            return ObliczSpadki(proj, PodzielTrase(trasa, u.Krok, u.SzerokoscSpadkow), u.Prog, postep, przerwij);
        },
        PokazBlad);
    if (!w) return;
    Spadki = std::make_shared<const TWynikSpadkow>(std::move(*w));
    if (PokazRaport) PokazRaport(RaportSpadkow(*Spadki, Trasa.PikStart, u.Prog, u.SzerokoscSpadkow));
    if (kolorowanie_) Koloruj();
}

void TKontroleOkna::UstawKolorowanie(bool wlaczone) {
    kolorowanie_ = wlaczone;
    Koloruj();
}

void TKontroleOkna::Koloruj() {
    std::vector<TKolor> kolory;
    if (kolorowanie_) {
        const std::vector<std::uint8_t> klasy = KlasySpadku(PROJ, Ustawienia.Prog);
        kolory.resize(klasy.size());
        for (std::size_t i = 0; i < klasy.size(); ++i)
            kolory[i] = klasy[i] == 0 ? KolorPlaskiego : klasy[i] == 1 ? KolorMalegoSpadku : KolorWlasny;
    }
    if (PokazLegende) PokazLegende(kolorowanie_, Ustawienia.Prog);
    if (kolory == KoloryPROJ) return;
    KoloryPROJ = std::move(kolory);
    if (OdswiezWidok) OdswiezWidok();
}

void TKontroleOkna::SprawdzPochylenia() {
    TUstawieniaKontroli u;
    if (!Przygotuj(TRodzajKontroli::Pochylenia, u)) return;
    const DaneUstawieniaTrasy& trasa = Trasa;
    const TIndeksyWysokosci ix = IndeksyWysokosci(ProjektOkna);
    const TIndeksWysokosci& proj = *ix.PROJ;
    std::optional<std::vector<TWierszPochylen>> w = WTle<std::vector<TWierszPochylen>>(
        okno_,
        {QStringLiteral("PostepKontroli"), QStringLiteral("WatekKontroli"), QStringLiteral("Pochylenie poprzeczne…")},
        [&proj, &trasa, u](const TPostepAnalizy& postep, const std::atomic<bool>* przerwij) {
            if (trasa.PikMax / u.Krok > 1e7) throw BladKonwersji("odstęp pikiet jest za mały dla tej trasy");
            return ObliczPochylenia(trasa, PikietyZaokraglone(trasa.PikStart, trasa.PikMax, u.Krok),
                                    u.SzerokoscPochylen, proj, postep, przerwij);
        },
        PokazBlad);
    if (!w) return;
    Wykresy.PikStart = Trasa.PikStart, Wykresy.PikMin = Trasa.PikMin, Wykresy.PikMax = Trasa.PikMax;
    Wykresy.Pochylenia = std::move(*w);
    if (PokazWykresy) PokazWykresy(Wykresy);
}

void TKontroleOkna::SprawdzObjetosci() {
    TUstawieniaKontroli u;
    if (!Przygotuj(TRodzajKontroli::Objetosci, u)) return;
    const TSiatka& proj = PROJ;
    const DaneUstawieniaTrasy& trasa = Trasa;
    const TIndeksyWysokosci ix = IndeksyWysokosci(ProjektOkna);
    const TIndeksWysokosci& teren = *ix.TEREN;
    std::optional<TWynikObjetosci> w = WTle<TWynikObjetosci>(
        okno_,
        {QStringLiteral("PostepKontroli"), QStringLiteral("WatekKontroli"),
         QStringLiteral("Objętości robót ziemnych…")},
        [&proj, &trasa, &teren, u](const TPostepAnalizy& postep, const std::atomic<bool>* przerwij) {
            return ObliczObjetosci(proj, teren, PodzielTrase(trasa, u.Krok, u.SzerokoscObjetosci), u.Wspolczynnik,
                                   postep, przerwij);
        },
        PokazBlad);
    if (!w) return;
    Objetosci = std::make_shared<const TWynikObjetosci>(std::move(*w));
    Wykresy.PikStart = Trasa.PikStart, Wykresy.PikMin = Trasa.PikMin, Wykresy.PikMax = Trasa.PikMax;
    UstawMasy(Wykresy, *Objetosci);
    if (PokazWykresy) PokazWykresy(Wykresy);
    if (PokazRaport) PokazRaport(RaportObjetosci(*Objetosci, Trasa.PikStart, u.SzerokoscObjetosci));
}

void TKontroleOkna::Porzuc() {
    Spadki.reset();
    Objetosci.reset();
    Wykresy = TDaneWykresowKontroli{};
    if (PokazWykresy) PokazWykresy(Wykresy);
    // The load emptied the colours; on, they are made for the new surface.
    if (kolorowanie_) Koloruj();
}

// ---------------------------------------------------------------------------

namespace {
QString TekstProgu(double v) { return QLocale(QLocale::Polish).toString(v, 'g', 4); }
}  // namespace

void RysujLegendeSpadkow(QPainter& m, QPointF naroznik, double prog) {
    m.save();
    const QFontMetricsF fm(m.font());
    const QString teksty[2] = {QStringLiteral("spadek < %1 %").arg(TekstProgu(prog)),
                               QStringLiteral("%1 % – %2 %").arg(TekstProgu(prog), TekstProgu(2 * prog))};
    const TKolor kolory[2] = {KolorPlaskiego, KolorMalegoSpadku};
    const double szer = std::max(fm.horizontalAdvance(teksty[0]), fm.horizontalAdvance(teksty[1])) + 40;
    const double wys = 2 * fm.height() + 14 + fm.height();
    const QRectF r(naroznik.x() - szer, naroznik.y(), szer, wys);
    m.fillRect(r, QColor(255, 255, 255, 225));
    m.setPen(QColor(90, 90, 90));
    m.drawRect(r);
    m.setPen(Qt::black);
    m.drawText(QPointF(r.left() + 6, r.top() + 4 + fm.ascent()), QStringLiteral("Spadek PROJ"));
    for (int i = 0; i < 2; ++i) {
        const double y = r.top() + 8 + fm.height() * (i + 1) + 2 * i;
        const TKolor k = kolory[i];
        m.fillRect(QRectF(r.left() + 6, y + 2, 20, fm.height() - 4),
                   QColor(k & 0xFF, (k >> 8) & 0xFF, (k >> 16) & 0xFF));
        m.drawText(QPointF(r.left() + 32, y + fm.ascent()), teksty[i]);
    }
    m.restore();
}

TLegendaSpadkow::TLegendaSpadkow(QWidget* rodzic) : QWidget(rodzic) {
    setObjectName(QStringLiteral("LegendaSpadkow"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    if (rodzic) rodzic->installEventFilter(this);
    Umiesc();
}

void TLegendaSpadkow::Umiesc() {
    resize(sizeHint());
    if (parentWidget()) move(parentWidget()->width() - width() - 8, 8);
}

bool TLegendaSpadkow::eventFilter(QObject* o, QEvent* e) {
    if (o == parentWidget() && e->type() == QEvent::Resize) Umiesc();
    return QWidget::eventFilter(o, e);
}

void TLegendaSpadkow::UstawProg(double prog) {
    prog_ = prog;
    Umiesc();
    update();
}

QSize TLegendaSpadkow::sizeHint() const {
    const QFontMetrics fm(font());
    const int szer = fm.horizontalAdvance(QStringLiteral("%1 % – %2 %").arg(TekstProgu(prog_), TekstProgu(2 * prog_)));
    return {std::max(szer, fm.horizontalAdvance(QStringLiteral("spadek < 00 %"))) + 42, 3 * fm.height() + 16};
}

void TLegendaSpadkow::paintEvent(QPaintEvent*) {
    QPainter m(this);
    RysujLegendeSpadkow(m, QPointF(width() - 1, 0), prog_);
}
