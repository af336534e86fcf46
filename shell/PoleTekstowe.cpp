#include "shell/PoleTekstowe.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QScreen>
#include <QVBoxLayout>

#include "common/KlawiszeWindows.h"
#include "model/Zmienne.h"
#include "shell/Klawisze.h"

TOpis* Opis = nullptr;

TOpis::TOpis(QWidget* rodzic) : QDialog(rodzic) {
    setWindowTitle(QStringLiteral("Opis"));
    setModal(true);

    Tekst = new QPlainTextEdit(this);
    Tekst->setObjectName(QStringLiteral("Tekst"));
    Tekst->setLineWrapMode(QPlainTextEdit::NoWrap);
    Tekst->installEventFilter(this);
    Button1 = new QPushButton(QStringLiteral("Kopiuj do schowka"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    CB_Zamknij = new QCheckBox(QStringLiteral("Zamknij po skopiowaniu"), this);
    CB_Zamknij->setObjectName(QStringLiteral("CB_Zamknij"));
    CB_Zamknij->setChecked(true);
    B_Powrot = new QPushButton(QStringLiteral("Powrót"), this);
    B_Powrot->setObjectName(QStringLiteral("B_Powrot"));
    B_Powrot->setAutoDefault(false);

    // A 32-pixel strip on top with the copy controls at the right, the text
    // below it growing with the window, the return button at the bottom right.
    auto* gora = new QHBoxLayout;
    gora->setContentsMargins(0, 0, 0, 0);
    gora->addStretch(1);
    gora->addWidget(CB_Zamknij);
    gora->addWidget(Button1);
    auto* pasek = new QWidget(this);
    pasek->setFixedHeight(32);
    pasek->setLayout(gora);
    auto* dol = new QHBoxLayout;
    dol->addStretch(1);
    dol->addWidget(B_Powrot);
    auto* uklad = new QVBoxLayout(this);
    uklad->setContentsMargins(4, 0, 4, 4);
    uklad->addWidget(pasek);
    uklad->addWidget(Tekst, 1);
    uklad->addLayout(dol);

    connect(Button1, &QPushButton::clicked, this, &TOpis::Button1Click);
    connect(B_Powrot, &QPushButton::clicked, this, &TOpis::B_PowrotClick);

    FormCreate();
}

void TOpis::FormCreate() {
    // Designed at 992 x 776; the height follows the screen, less 50 pixels.
    int wysokosc = 776;
    QRect ekran(0, 0, 992, 826);
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        ekran = s->geometry();
        wysokosc = std::max(200, ekran.height() - 50);
    }
    resize(992, wysokosc);
    move(ekran.center() - rect().center());

    // Columns of the reports line up only in a fixed-pitch font.
    QFont f(QStringLiteral("Courier New"));
    f.setStyleHint(QFont::Monospace);
    f.setFixedPitch(true);
    f.setPixelSize(10);
    auto staleSzerokosci = [](const QFont& czcionka) {
        const QFontMetrics fm(czcionka);
        return fm.horizontalAdvance(QStringLiteral("iiii")) == fm.horizontalAdvance(QStringLiteral("WWWW"));
    };
    if (!staleSzerokosci(f)) {
        f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        f.setPixelSize(10);
    }
    Tekst->setFont(f);
    Tekst->setPlainText(QString());  // one empty line
}

void TOpis::WczytajTekst() {
    QStringList linie;
    linie.reserve(static_cast<qsizetype>(OpisTekst.size()));
    for (const auto& l : OpisTekst) linie << QString::fromStdString(l);
    Tekst->setPlainText(linie.join(QLatin1Char('\n')));
}

void TOpis::showEvent(QShowEvent* e) {
    WczytajTekst();
    QDialog::showEvent(e);
}

void TOpis::Button1Click() {
    Tekst->selectAll();
    Tekst->copy();
    if (CB_Zamknij->isChecked()) close();
}

void TOpis::B_PowrotClick() { close(); }

bool TOpis::TekstKeyDown(int kod) {
    if (kod != vk::Escape) return false;
    close();
    return true;
}

bool TOpis::eventFilter(QObject* obiekt, QEvent* e) {
    if (obiekt == Tekst && e->type() == QEvent::KeyPress)
        if (TekstKeyDown(KodKlawiszaWindows(static_cast<QKeyEvent*>(e)))) return true;
    return QDialog::eventFilter(obiekt, e);
}
