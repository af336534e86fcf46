#include "dialogs/PracaWTle.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <exception>
#include <string>

bool PracujWTle(QWidget* okno, const TOpisPracy& opis,
                const std::function<void(const TPostepAnalizy& postep, const std::atomic<bool>* przerwij)>& praca,
                const std::function<void(const QString& tekst)>& blad) {
    // What the worker shares with this thread: counters, the stop flag, the error.
    struct TWspolne {
        std::atomic<std::int64_t> Zrobione{0}, Wszystkie{0};
        std::atomic<bool> Przerwij{false};
        std::string Blad;
    };
    auto wspolne = std::make_shared<TWspolne>();
    QThread* watek = QThread::create([wspolne, &praca] {
        try {
            praca(
                [wspolne](std::int64_t z, std::int64_t c) {
                    wspolne->Zrobione = z;
                    wspolne->Wszystkie = c;
                },
                &wspolne->Przerwij);
        } catch (const std::exception& e) {
            wspolne->Blad = e.what();
        }
    });
    watek->setObjectName(opis.NazwaWatku);

    QProgressDialog postep(okno);
    postep.setObjectName(opis.NazwaOkna);
    postep.setWindowTitle(QStringLiteral("Orvany3D"));
    postep.setLabelText(opis.Tekst);
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
        const std::int64_t c = wspolne->Wszystkie.load();
        if (c > 0) postep.setValue(static_cast<int>(1000 * wspolne->Zrobione.load() / c));
    });
    const QMetaObject::Connection przerwanie = QObject::connect(&postep, &QProgressDialog::canceled, &postep, [&] {
        wspolne->Przerwij = true;
        postep.setLabelText(QStringLiteral("Przerywanie…"));
    });
    QObject::connect(watek, &QThread::finished, &petla, &QEventLoop::quit);
    // Showing the window already answers events, "Przerwij" among them.
    postep.setValue(0);
    if (postep.wasCanceled()) wspolne->Przerwij = true;
    zegar.start();
    watek->start();
    petla.exec();
    watek->wait();
    delete watek;
    zegar.stop();
    // Closing the progress window counts as "Przerwij" for it: no longer listened to.
    QObject::disconnect(przerwanie);
    postep.close();

    if (!wspolne->Blad.empty()) {
        if (blad) blad(QString::fromStdString(wspolne->Blad));
        return false;
    }
    return !wspolne->Przerwij.load();
}
