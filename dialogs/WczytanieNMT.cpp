#include "dialogs/WczytanieNMT.h"

#include <QDialogButtonBox>
#include <QEventLoop>
#include <QFormLayout>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <atomic>
#include <memory>

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
    // What the worker shares with this thread: the fraction done, the stop flag, the outcome.
    struct TWspolne {
        std::atomic<int> Promile{0};
        std::atomic<bool> Przerwij{false};
        std::optional<TTerenNMT> Wynik;
        std::string Blad;
    };
    auto wspolne = std::make_shared<TWspolne>();
    QThread* watek = QThread::create([wspolne, pliki, opcje] {
        try {
            wspolne->Wynik = WczytajNMT(
                pliki, opcje, [wspolne](double u) { wspolne->Promile = static_cast<int>(1000 * u); },
                &wspolne->Przerwij);
        } catch (const std::exception& e) {
            wspolne->Blad = e.what();
        }
    });
    watek->setObjectName(QStringLiteral("WatekNMT"));

    QProgressDialog postep(okno);
    postep.setObjectName(QStringLiteral("PostepNMT"));
    postep.setWindowTitle(QStringLiteral("Orvany3D"));
    postep.setLabelText(QStringLiteral("Wczytywanie i przerzedzanie siatki terenu…"));
    postep.setCancelButtonText(QStringLiteral("Przerwij"));
    postep.setRange(0, 1000);
    postep.setAutoReset(false);
    postep.setAutoClose(false);
    postep.setMinimumDuration(0);
    postep.setWindowModality(Qt::WindowModal);

    QEventLoop petla;
    QTimer zegar;
    zegar.setInterval(50);
    QObject::connect(&zegar, &QTimer::timeout, &postep, [&] {
        if (postep.wasCanceled()) wspolne->Przerwij = true;
        postep.setValue(wspolne->Promile.load());
    });
    const QMetaObject::Connection przerwanie = QObject::connect(&postep, &QProgressDialog::canceled, &postep, [&] {
        wspolne->Przerwij = true;
        postep.setLabelText(QStringLiteral("Przerywanie…"));
    });
    QObject::connect(watek, &QThread::finished, &petla, &QEventLoop::quit);
    postep.setValue(0);
    if (postep.wasCanceled()) wspolne->Przerwij = true;
    zegar.start();
    watek->start();
    // The window keeps drawing and answering while the worker runs; the
    // progress window (modal to it) keeps the scene from changing meanwhile.
    petla.exec();
    watek->wait();
    delete watek;
    zegar.stop();
    QObject::disconnect(przerwanie);
    postep.close();

    if (!wspolne->Blad.empty()) {
        if (pokazBlad) pokazBlad(QString::fromStdString(wspolne->Blad));
        return std::nullopt;
    }
    if (wspolne->Przerwij.load() || !wspolne->Wynik) return std::nullopt;
    return std::move(wspolne->Wynik);
}
