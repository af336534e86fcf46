#include "dialogs/OpcjeWyswietlania.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <cmath>
#include <numbers>
#include <string>

#include "common/Funkcje.h"
#include "generators/GenerowanieBryl.h"
#include "model/ZapisywanieOdczytywanie.h"
#include "model/Zmienne.h"
#include "render/RysujPerspektywa.h"

TOpcje* Opcje = nullptr;

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }
std::string S(const QString& s) { return s.toStdString(); }

// A light component or the shading strength: at least one integer digit, two decimals.
std::string L(double v) { return FormatujLiczbe(v, "#0.00"); }

QLabel* Etykieta(QWidget* rodzic, const char* nazwa, const QString& tekst, int x, int y, int szer = 140) {
    auto* l = new QLabel(tekst, rodzic);
    l->setObjectName(QString::fromLatin1(nazwa));
    l->setGeometry(x, y, szer, 18);
    return l;
}

QPushButton* Przycisk(QWidget* rodzic, const char* nazwa, const QString& napis, int x, int y, int szer, int wys = 24) {
    auto* b = new QPushButton(napis, rodzic);
    b->setObjectName(QString::fromLatin1(nazwa));
    b->setGeometry(x, y, szer, wys);
    // No button answers Enter: a number typed in a box is not confirmed by it.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

QLineEdit* Pole(QWidget* rodzic, const char* nazwa, const QString& tekst, int x, int y, int szer) {
    auto* e = new QLineEdit(tekst, rodzic);
    e->setObjectName(QString::fromLatin1(nazwa));
    e->setGeometry(x, y, szer, 22);
    return e;
}

QScrollBar* Suwak(QWidget* rodzic, const char* nazwa, int od, int doo, int pozycja, int x, int y, int szer) {
    auto* s = new QScrollBar(Qt::Horizontal, rodzic);
    s->setObjectName(QString::fromLatin1(nazwa));
    s->setRange(od, doo);
    s->setValue(pozycja);
    s->setSingleStep(1);
    s->setPageStep(10);
    s->setGeometry(x, y, szer, 17);
    return s;
}

}  // namespace

TOpcje::TOpcje(QWidget* rodzic) : QDialog(rodzic), okno_(dynamic_cast<TOknoObrazu*>(rodzic)) {
    setObjectName(QStringLiteral("Opcje"));
    setWindowTitle(QStringLiteral("Opcje"));
    setModal(true);
    setSizeGripEnabled(false);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::CustomizeWindowHint);
    setFixedSize(448, 223);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(4, 4, 440, 184);
    TS_Rysuj = new QWidget;
    TS_Rysuj->setObjectName(QStringLiteral("TS_Rysuj"));
    TS_Przesuwanie = new QWidget;
    TS_Przesuwanie->setObjectName(QStringLiteral("TS_Przesuwanie"));
    TS_Oswietlenie = new QWidget;
    TS_Oswietlenie->setObjectName(QStringLiteral("TS_Oswietlenie"));
    PageControl1->addTab(TS_Rysuj, QStringLiteral("Rysuj"));
    PageControl1->addTab(TS_Przesuwanie, QStringLiteral("Przesuwanie"));
    PageControl1->addTab(TS_Oswietlenie, QStringLiteral("Oświetlenie + wsp. \"oko\""));
    TS_Kierowca = new TStronaKierowcy([this] {
        if (okno_) okno_->PolozWidokPonownie();
    });
    PageControl1->addTab(TS_Kierowca, QStringLiteral("Kierowca"));
    PageControl1->setCurrentWidget(TS_Przesuwanie);

    // ---- Page "Rysuj": cutting on or off, the near and far cutting depth.
    CB_TnijTroj = new QCheckBox(QStringLiteral("Tnij"), TS_Rysuj);
    CB_TnijTroj->setObjectName(QStringLiteral("CB_TnijTroj"));
    CB_TnijTroj->setGeometry(8, 6, 120, 20);
    CB_TnijTroj->setChecked(true);
    P_Oswietlenie = new QFrame(TS_Rysuj);
    P_Oswietlenie->setObjectName(QStringLiteral("P_Oswietlenie"));
    P_Oswietlenie->setFrameShape(QFrame::StyledPanel);
    P_Oswietlenie->setGeometry(8, 30, 418, 110);
    L_TnijYMin = Etykieta(P_Oswietlenie, "L_TnijYMin", QStringLiteral(".."), 8, 6, 200);
    SB_OdlTNIJ_Ymin = Suwak(P_Oswietlenie, "SB_OdlTNIJ_Ymin", -1000, 0, -800, 8, 26, 400);
    L_TnijYMax = Etykieta(P_Oswietlenie, "L_TnijYMax", QStringLiteral(".."), 8, 54, 200);
    SB_OdlTNIJ_YMax = Suwak(P_Oswietlenie, "SB_OdlTNIJ_YMax", 0, 2000, 2000, 8, 74, 400);

    // ---- Page "Przesuwanie": the columns stand under the words of the heading.
    const QString naglowek = QStringLiteral("Przesuwanie                   skala        obrót");
    StaticText1 = Etykieta(TS_Przesuwanie, "StaticText1", naglowek, 8, 4, 420);
    const QFontMetrics fm(StaticText1->font());
    const int x1 = 8;
    const int x2 = std::max(x1 + 96,
                            8 + fm.horizontalAdvance(naglowek.left(naglowek.indexOf(QStringLiteral("skala")))));
    const int x3 = std::max(x2 + 70,
                            8 + fm.horizontalAdvance(naglowek.left(naglowek.indexOf(QStringLiteral("obrót")))));
    E_krok = Pole(TS_Przesuwanie, "E_krok", QStringLiteral("10"), x1, 26, 80);
    B_dxPlus = Przycisk(TS_Przesuwanie, "B_dxPlus", QStringLiteral("dx+"), x1, 54, 39);
    B_dxMinus = Przycisk(TS_Przesuwanie, "B_dxMinus", QStringLiteral("dx-"), x1 + 41, 54, 39);
    B_dyPlus = Przycisk(TS_Przesuwanie, "B_dyPlus", QStringLiteral("dy+"), x1, 82, 39);
    B_dyMinus = Przycisk(TS_Przesuwanie, "B_dyMinus", QStringLiteral("dy-"), x1 + 41, 82, 39);
    B_dzPlus = Przycisk(TS_Przesuwanie, "B_dzPlus", QStringLiteral("dz+"), x1, 110, 39);
    B_dzMinus = Przycisk(TS_Przesuwanie, "B_dzMinus", QStringLiteral("dz-"), x1 + 41, 110, 39);
    E_wsp = Pole(TS_Przesuwanie, "E_wsp", QStringLiteral("1,1"), x2, 26, 58);
    B_Powieksz = Przycisk(TS_Przesuwanie, "B_Powieksz", QStringLiteral("+"), x2, 54, 28);
    B_Pomniejsz = Przycisk(TS_Przesuwanie, "B_Pomniejsz", QStringLiteral("-"), x2 + 30, 54, 28);
    E_alfa = Pole(TS_Przesuwanie, "E_alfa", QStringLiteral("1"), x3, 26, 80);
    B_ObrotXp = Przycisk(TS_Przesuwanie, "B_ObrotXp", QStringLiteral("Xp"), x3, 54, 39);
    B_ObrotXl = Przycisk(TS_Przesuwanie, "B_ObrotXl", QStringLiteral("Xl"), x3 + 41, 54, 39);
    B_ObrotYp = Przycisk(TS_Przesuwanie, "B_ObrotYp", QStringLiteral("Yp"), x3, 82, 39);
    B_ObrotYl = Przycisk(TS_Przesuwanie, "B_ObrotYl", QStringLiteral("Yl"), x3 + 41, 82, 39);
    B_ObrotZp = Przycisk(TS_Przesuwanie, "B_ObrotZp", QStringLiteral("Zp"), x3, 110, 39);
    B_ObrotZl = Przycisk(TS_Przesuwanie, "B_ObrotZl", QStringLiteral("Zl"), x3 + 41, 110, 39);

    // ---- Page "Oświetlenie + wsp. "oko"": light vector, shading, outlines (left), eye (right).
    StaticText5 = Etykieta(TS_Oswietlenie, "StaticText5", QStringLiteral("Wektor oświetlenia"), 8, 4, 200);
    sb_sx = Suwak(TS_Oswietlenie, "sb_sx", -100, 100, 70, 8, 26, 150);
    sb_sy = Suwak(TS_Oswietlenie, "sb_sy", -100, 100, 70, 8, 48, 150);
    sb_sz = Suwak(TS_Oswietlenie, "sb_sz", -100, 100, 0, 8, 70, 150);
    L_sx = Etykieta(TS_Oswietlenie, "L_sx", QStringLiteral(".."), 164, 25, 70);
    l_sy = Etykieta(TS_Oswietlenie, "l_sy", QStringLiteral(".."), 164, 47, 70);
    l_sz = Etykieta(TS_Oswietlenie, "l_sz", QStringLiteral(".."), 164, 69, 70);
    SB_swNat = Suwak(TS_Oswietlenie, "SB_swNat", 1, 75, 25, 8, 96, 150);
    L_snat = Etykieta(TS_Oswietlenie, "L_snat", QStringLiteral("nat= "), 164, 95, 70);
    CB_rSwObrys = new QCheckBox(QStringLiteral("Rys. obrys"), TS_Oswietlenie);
    CB_rSwObrys->setObjectName(QStringLiteral("CB_rSwObrys"));
    CB_rSwObrys->setGeometry(8, 122, 90, 22);
    CB_rSwObrys->setChecked(true);
    CB_NatObrys = new QComboBox(TS_Oswietlenie);
    CB_NatObrys->setObjectName(QStringLiteral("CB_NatObrys"));
    CB_NatObrys->setEditable(true);
    CB_NatObrys->setInsertPolicy(QComboBox::NoInsert);
    for (int i = 1; i <= 10; ++i) CB_NatObrys->addItem(QString::number(i));
    CB_NatObrys->setEditText(QStringLiteral("5"));
    CB_NatObrys->setGeometry(100, 122, 56, 22);
    B_Swiatlo = Przycisk(TS_Oswietlenie, "B_Swiatlo", QStringLiteral("Oblicz"), 162, 121, 66);

    const int xo = 250;
    StaticText4 = Etykieta(TS_Oswietlenie, "StaticText4", QStringLiteral("Wsp. obserwatora:"), xo, 4, 170);
    StaticText3 = Etykieta(TS_Oswietlenie, "StaticText3", QStringLiteral("y="), xo, 30, 20);
    B_OkoYPlus = Przycisk(TS_Oswietlenie, "B_OkoYPlus", QStringLiteral("+"), xo + 20, 26, 26);
    B_OkoYMinus = Przycisk(TS_Oswietlenie, "B_OkoYMinus", QStringLiteral("-"), xo + 48, 26, 26);
    l_yo = Etykieta(TS_Oswietlenie, "l_yo", QStringLiteral(".."), xo + 80, 30, 95);
    StaticText2 = Etykieta(TS_Oswietlenie, "StaticText2", QStringLiteral("h="), xo, 60, 20);
    B_OkoZPlus = Przycisk(TS_Oswietlenie, "B_OkoZPlus", QStringLiteral("+"), xo + 20, 56, 26);
    B_OkoZMinus = Przycisk(TS_Oswietlenie, "B_OkoZMinus", QStringLiteral("-"), xo + 48, 56, 26);
    l_zo = Etykieta(TS_Oswietlenie, "l_zo", QStringLiteral(".."), xo + 80, 60, 95);
    l_xo = Etykieta(TS_Oswietlenie, "l_xo", QStringLiteral("x="), xo, 94, 110);
    B_OkoXPlus = Przycisk(TS_Oswietlenie, "B_OkoXPlus", QStringLiteral("+"), xo + 112, 90, 26);
    B_OkoXMinus = Przycisk(TS_Oswietlenie, "B_OkoXMinus", QStringLiteral("-"), xo + 140, 90, 26);

    // ---- Below the pages: the return button and the hidden test scenes.
    B_Powrpt = Przycisk(this, "B_Powrpt", QStringLiteral("Powrót"), 364, 193, 80, 26);
    B_Walce = Przycisk(this, "B_Walce", QStringLiteral("Walce"), 4, 193, 60, 26);
    B_Kule = Przycisk(this, "B_Kule", QStringLiteral("Kule"), 66, 193, 60, 26);
    B_Droga = Przycisk(this, "B_Droga", QStringLiteral("Droga1"), 128, 193, 60, 26);
    B_Troj = Przycisk(this, "B_Troj", QStringLiteral("Troj testowy"), 190, 193, 90, 26);
    for (QPushButton* b : {B_Walce, B_Kule, B_Droga, B_Troj}) b->hide();

    // The handlers are connected after the start values are set, so that
    // setting them changes nothing in the view.
    connect(CB_TnijTroj, &QCheckBox::toggled, this, &TOpcje::CB_TnijTrojClick);
    connect(SB_OdlTNIJ_Ymin, &QScrollBar::valueChanged, this, &TOpcje::SB_OdlTNIJ_YminChange);
    connect(SB_OdlTNIJ_YMax, &QScrollBar::valueChanged, this, &TOpcje::SB_OdlTNIJ_YMaxChange);
    connect(B_dxPlus, &QPushButton::clicked, this, &TOpcje::B_dxPlusClick);
    connect(B_dxMinus, &QPushButton::clicked, this, &TOpcje::B_dxMinusClick);
    connect(B_dyPlus, &QPushButton::clicked, this, &TOpcje::B_dyPlusClick);
    connect(B_dyMinus, &QPushButton::clicked, this, &TOpcje::B_dyMinusClick);
    connect(B_dzPlus, &QPushButton::clicked, this, &TOpcje::B_dzPlusClick);
    connect(B_dzMinus, &QPushButton::clicked, this, &TOpcje::B_dzMinusClick);
    connect(B_Powieksz, &QPushButton::clicked, this, &TOpcje::B_PowiekszClick);
    connect(B_Pomniejsz, &QPushButton::clicked, this, &TOpcje::B_PomniejszClick);
    connect(B_ObrotXp, &QPushButton::clicked, this, &TOpcje::B_ObrotXpClick);
    connect(B_ObrotXl, &QPushButton::clicked, this, &TOpcje::B_ObrotXlClick);
    connect(B_ObrotYp, &QPushButton::clicked, this, &TOpcje::B_ObrotYpClick);
    connect(B_ObrotYl, &QPushButton::clicked, this, &TOpcje::B_ObrotYlClick);
    connect(B_ObrotZp, &QPushButton::clicked, this, &TOpcje::B_ObrotZpClick);
    connect(B_ObrotZl, &QPushButton::clicked, this, &TOpcje::B_ObrotZlClick);
    connect(sb_sx, &QScrollBar::valueChanged, this, &TOpcje::sb_sxChange);
    connect(sb_sy, &QScrollBar::valueChanged, this, &TOpcje::sb_syChange);
    connect(sb_sz, &QScrollBar::valueChanged, this, &TOpcje::sb_szChange);
    connect(SB_swNat, &QScrollBar::valueChanged, this, &TOpcje::SB_swNatChange);
    connect(B_Swiatlo, &QPushButton::clicked, this, &TOpcje::B_SwiatloClick);
    connect(B_OkoXPlus, &QPushButton::clicked, this, &TOpcje::B_OkoXPlusClick);
    connect(B_OkoXMinus, &QPushButton::clicked, this, &TOpcje::B_OkoXMinusClick);
    connect(B_OkoYPlus, &QPushButton::clicked, this, &TOpcje::B_OkoYPlusClick);
    connect(B_OkoYMinus, &QPushButton::clicked, this, &TOpcje::B_OkoYMinusClick);
    connect(B_OkoZPlus, &QPushButton::clicked, this, &TOpcje::B_OkoZPlusClick);
    connect(B_OkoZMinus, &QPushButton::clicked, this, &TOpcje::B_OkoZMinusClick);
    connect(B_Powrpt, &QPushButton::clicked, this, &TOpcje::B_PowrptClick);
    connect(B_Kule, &QPushButton::clicked, this, &TOpcje::B_KuleClick);
    connect(B_Walce, &QPushButton::clicked, this, &TOpcje::B_WalceClick);
    connect(B_Droga, &QPushButton::clicked, this, &TOpcje::B_DrogaClick);
    connect(B_Troj, &QPushButton::clicked, this, &TOpcje::B_TrojClick);
}

// The middle of the paint area's width: zooms and turns are made about the
// middle of its bottom edge.
double TOpcje::SrodekX() const { return (okno_ ? okno_->SzerokoscRysunku() : 0) * 0.5; }

void TOpcje::Odswiez() {
    if (okno_) okno_->PrzerysujObraz();
}

// ---------------------------------------------------------------------------
// Showing and closing

void TOpcje::showEvent(QShowEvent* e) {
    if (!wysrodkowany_) {
        // Centred on the screen the first time; afterwards where the user left it.
        if (QScreen* s = QGuiApplication::primaryScreen()) move(s->geometry().center() - rect().center());
        wysrodkowany_ = true;
    }
    FormShow();
    QDialog::showEvent(e);
}

void TOpcje::FormShow() {
    L_sx->setText(Q("x=" + L(Swiatlo.X)));
    l_sy->setText(Q("y=" + L(Swiatlo.Y)));
    l_sz->setText(Q("z=" + L(Swiatlo.Z)));
    PiszOko(false);
    L_TnijYMax->setText(Q("Y max = " + F2(std::fabs(Rzut.OdlTnijYmax))));
    L_TnijYMin->setText(Q("Y min = " + F2(std::fabs(Rzut.OdlTnijYmin))));
}

void TOpcje::keyPressEvent(QKeyEvent* e) {
    // Escape does not close the dialog; only "Powrót" and the close button do.
    if (e->key() == Qt::Key_Escape) {
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

void TOpcje::B_PowrptClick() { close(); }

// ---------------------------------------------------------------------------
// Page "Rysuj"

void TOpcje::CB_TnijTrojClick() {
    // Takes effect at the next placing of the view at a chainage.
    Rzut.TnijTroj = CB_TnijTroj->isChecked();
    P_Oswietlenie->setVisible(Rzut.TnijTroj);
    Odswiez();
}

void TOpcje::SB_OdlTNIJ_YminChange() {
    Rzut.OdlTnijYmin = static_cast<float>(SB_OdlTNIJ_Ymin->value());
    L_TnijYMin->setText(Q("Y min = " + F2(std::fabs(Rzut.OdlTnijYmin))));
    if (okno_) okno_->PolozWidokPonownie();
}

void TOpcje::SB_OdlTNIJ_YMaxChange() {
    Rzut.OdlTnijYmax = static_cast<float>(SB_OdlTNIJ_YMax->value());
    L_TnijYMax->setText(Q("Y max = " + F2(std::fabs(Rzut.OdlTnijYmax))));
    if (okno_) okno_->PolozWidokPonownie();
}

// ---------------------------------------------------------------------------
// Page "Przesuwanie". Nothing here recomputes the shading: the colours stay
// those of the last recompute.

void TOpcje::PrzesunScene(double dx, double dy, double dz) {
    const double k = CzytajLiczbe(S(E_krok->text()), 10.0);
    Przesun(dx * k, dy * k, dz * k);
    Odswiez();
}

void TOpcje::B_dxPlusClick() { PrzesunScene(1, 0, 0); }
void TOpcje::B_dxMinusClick() { PrzesunScene(-1, 0, 0); }
void TOpcje::B_dyPlusClick() { PrzesunScene(0, 1, 0); }
void TOpcje::B_dyMinusClick() { PrzesunScene(0, -1, 0); }
void TOpcje::B_dzPlusClick() { PrzesunScene(0, 0, 1); }
void TOpcje::B_dzMinusClick() { PrzesunScene(0, 0, -1); }

double TOpcje::WspolczynnikSkali() const {
    const double k = CzytajLiczbe(S(E_wsp->text()), 1.1);
    // Zero or a negative factor would collapse or mirror the scene for good.
    return std::isfinite(k) && k > 0.0 ? k : 1.1;
}

void TOpcje::B_PowiekszClick() {
    Skaluj(SrodekX(), 0.0, 0.0, WspolczynnikSkali());
    Odswiez();
}

void TOpcje::B_PomniejszClick() {
    Skaluj(SrodekX(), 0.0, 0.0, 1.0 / WspolczynnikSkali());
    Odswiez();
}

void TOpcje::ObrocScene(int os, double znak) {
    const double a = znak * CzytajLiczbe(S(E_alfa->text()), 1.0) * std::numbers::pi / 180.0;
    Obroc(SrodekX(), 0.0, 0.0, os == 0 ? a : 0.0, os == 1 ? a : 0.0, os == 2 ? a : 0.0);
    Odswiez();
}

void TOpcje::B_ObrotXpClick() { ObrocScene(0, +1); }
void TOpcje::B_ObrotXlClick() { ObrocScene(0, -1); }
void TOpcje::B_ObrotYpClick() { ObrocScene(1, +1); }
void TOpcje::B_ObrotYlClick() { ObrocScene(1, -1); }
void TOpcje::B_ObrotZpClick() { ObrocScene(2, +1); }
void TOpcje::B_ObrotZlClick() { ObrocScene(2, -1); }

// ---------------------------------------------------------------------------
// Page "Oświetlenie + wsp. "oko""

void TOpcje::PoZmianieSwiatla() {
    PrzeliczRzut();
    Odswiez();
}

void TOpcje::sb_sxChange() {
    Swiatlo.X = sb_sx->value() * 0.01;
    L_sx->setText(Q("x=" + L(Swiatlo.X)));
    PoZmianieSwiatla();
}

void TOpcje::sb_syChange() {
    Swiatlo.Y = sb_sy->value() * 0.01;
    l_sy->setText(Q("y=" + L(Swiatlo.Y)));
    PoZmianieSwiatla();
}

void TOpcje::sb_szChange() {
    Swiatlo.Z = sb_sz->value() * 0.01;
    l_sz->setText(Q("z=" + L(Swiatlo.Z)));
    PoZmianieSwiatla();
}

void TOpcje::SB_swNatChange() {
    nat = SB_swNat->value();
    L_snat->setText(Q("nat=" + L(nat)));
    PoZmianieSwiatla();
}

void TOpcje::B_SwiatloClick() {
    RysObrys = CB_rSwObrys->isChecked();
    NatObrys = CzytajCalkowita(S(CB_NatObrys->currentText()), 5, 1, 10);
    PoZmianieSwiatla();
}

void TOpcje::PiszOko(bool pasekStanu) {
    l_yo->setText(Q(F2(Rzut.OkoY)));
    l_zo->setText(Q(F2(Rzut.OkoZ)));
    l_xo->setText(Q("x=" + F2(Rzut.OkoX)));
    if (pasekStanu && okno_) okno_->PiszPolozenieOka();
}

void TOpcje::ZmienOko(double& wspolrzedna, double o) {
    wspolrzedna += o;
    PiszOko(true);
    Odswiez();
}

void TOpcje::B_OkoXPlusClick() { ZmienOko(Rzut.OkoX, 5.0); }
void TOpcje::B_OkoXMinusClick() { ZmienOko(Rzut.OkoX, -5.0); }
void TOpcje::B_OkoYPlusClick() { ZmienOko(Rzut.OkoY, 5.0); }
void TOpcje::B_OkoYMinusClick() { ZmienOko(Rzut.OkoY, -5.0); }
void TOpcje::B_OkoZPlusClick() { ZmienOko(Rzut.OkoZ, 5.0); }
void TOpcje::B_OkoZMinusClick() { ZmienOko(Rzut.OkoZ, -5.0); }

// ---------------------------------------------------------------------------
// Hidden test scenes

void TOpcje::B_KuleClick() {
    KuleTestowe(okno_ ? okno_->SzerokoscRysunku() : 0);
    PoZmianieSwiatla();
}

void TOpcje::B_WalceClick() {
    WalceTestowe();
    PoZmianieSwiatla();
}

void TOpcje::B_DrogaClick() {
    DrogaTestowa();
    PoZmianieSwiatla();
}

void TOpcje::B_TrojClick() {
    setWindowTitle(QStringLiteral("Orvan3D 2.0.0beta3"));
    TrojkatTestowy();
    PoZmianieSwiatla();
}
