#include "dialogs/WczytanieNMT.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>
#include <atomic>
#include <memory>

#include "dialogs/PracaWTle.h"

TDialogNMT::TDialogNMT(const TOpcjeNMT& o, bool jestTrasa, QWidget* rodzic) : QDialog(rodzic) {
    setObjectName(QStringLiteral("DialogNMT"));
    setWindowTitle(QStringLiteral("Numeryczny model terenu"));
    auto* uklad = new QVBoxLayout(this);
    auto* f = new QFormLayout;
    E_Tolerancja = new QDoubleSpinBox(this);
    E_Tolerancja->setObjectName(QStringLiteral("E_Tolerancja"));
    E_Tolerancja->setRange(0.0, 100.0);
    E_Tolerancja->setDecimals(3);
    E_Tolerancja->setSingleStep(0.05);
    E_Tolerancja->setValue(o.Tolerancja);
    E_Tolerancja->setSuffix(QStringLiteral(" m"));
    CB_Pas = new QCheckBox(QStringLiteral("Tylko pas wokół trasy"), this);
    CB_Pas->setObjectName(QStringLiteral("CB_Pas"));
    E_Pas = new QDoubleSpinBox(this);
    E_Pas->setObjectName(QStringLiteral("E_Pas"));
    E_Pas->setRange(1.0, 100000.0);
    E_Pas->setDecimals(1);
    E_Pas->setValue(o.Pas > 0.0 ? o.Pas : 200.0);
    E_Pas->setSuffix(QStringLiteral(" m"));
    CB_Pas->setChecked(jestTrasa && o.Pas > 0.0);
    CB_Pas->setEnabled(jestTrasa);
    E_Pas->setEnabled(CB_Pas->isChecked());
    if (!jestTrasa) CB_Pas->setToolTip(QStringLiteral("Pas wymaga trasy: wczytaj ją najpierw."));
    connect(CB_Pas, &QCheckBox::toggled, E_Pas, &QWidget::setEnabled);
    CB_ZamienXY = new QCheckBox(QStringLiteral("Pliki XYZ w kolejności geodezyjnej (x = północ)"), this);
    CB_ZamienXY->setObjectName(QStringLiteral("CB_ZamienXY"));
    CB_ZamienXY->setChecked(o.ZamienXY);
    auto kod = [this](const char* nazwa, int wartosc, const QString& zero) {
        auto* p = new QSpinBox(this);
        p->setObjectName(QString::fromLatin1(nazwa));
        p->setRange(0, 999999);
        p->setValue(wartosc);
        p->setPrefix(QStringLiteral("EPSG:"));
        p->setSpecialValueText(zero);
        return p;
    };
    E_UkladPliku = kod("E_UkladPliku", o.UkladPliku, QStringLiteral("z pliku"));
    E_Uklad = kod("E_Uklad", o.Uklad, QStringLiteral("z wczytanych danych"));
    f->addRow(QStringLiteral("Tolerancja wysokości:"), E_Tolerancja);
    f->addRow(CB_Pas, E_Pas);
    f->addRow(CB_ZamienXY);
    f->addRow(QStringLiteral("Układ siatki:"), E_UkladPliku);
    f->addRow(QStringLiteral("Układ projektu:"), E_Uklad);
    uklad->addLayout(f);
    auto* przyciski = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(przyciski, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(przyciski, &QDialogButtonBox::rejected, this, &QDialog::reject);
    uklad->addWidget(przyciski);
}

TOpcjeNMT TDialogNMT::Opcje() const {
    TOpcjeNMT o;
    o.Tolerancja = E_Tolerancja->value();
    o.Pas = CB_Pas->isEnabled() && CB_Pas->isChecked() ? E_Pas->value() : 0.0;
    o.ZamienXY = CB_ZamienXY->isChecked();
    o.UkladPliku = E_UkladPliku->value();
    o.Uklad = E_Uklad->value();
    return o;
}

std::optional<TTerenNMT> WczytajNMTWTle(QWidget* okno, const std::vector<std::string>& pliki, const TOpcjeNMT& opcje,
                                        const std::function<void(const QString&)>& pokazBlad) {
    return WTle<TTerenNMT>(
        okno,
        {QStringLiteral("PostepNMT"), QStringLiteral("WatekNMT"),
         QStringLiteral("Wczytywanie i przerzedzanie siatki terenu…")},
        [&pliki, &opcje](const TPostepAnalizy& postep, const std::atomic<bool>* przerwij) {
            return WczytajNMT(
                pliki, opcje, [&postep](double u) { postep(static_cast<std::int64_t>(1000 * u), 1000); }, przerwij);
        },
        pokazBlad);
}
