// Orvany3D: the main window, the text viewer and the options dialog, then the
// message loop; the files named on the command line open in their order.
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <exception>

#include "common/Funkcje.h"
#include "dialogs/OpcjeWyswietlania.h"
#include "shell/PoleTekstowe.h"
#include "shell/Uruchomienie.h"
#include "shell/linie3Dtroj.h"

namespace {
// An error that leaves a handler is shown in an error box and the program goes on.
class TAplikacja : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* odbiorca, QEvent* zdarzenie) override {
        try {
            return QApplication::notify(odbiorca, zdarzenie);
        } catch (const std::exception& e) {
            QMessageBox::critical(activeWindow(), QStringLiteral("Błąd"), QString::fromStdString(e.what()));
        }
        return false;
    }
};
}  // namespace

int main(int argc, char** argv) {
    TAplikacja app(argc, argv);
    // The organisation and program names place the settings (the recent files).
    QApplication::setOrganizationName(QStringLiteral("Orvany"));
    QApplication::setApplicationName(QStringLiteral("Orvany3D"));
    // The users are Polish road designers and every text of the program is
    // Polish, so Qt's own texts are Polish whatever the locale of the session.
    if (!WczytajPolskieTekstyQt(app))
        std::fputs("Brak tłumaczenia Qt qtbase_pl (pakiet qt6-translations-l10n): napisy Qt będą po angielsku.\n",
                   stderr);

    // Messages of the program go to a message box with one OK button.
    PokazKomunikat = [](const std::string& tekst) {
        QMessageBox::information(fMaster, QStringLiteral("Orvany3D"), QString::fromStdString(tekst));
    };

    fMaster = new TfMaster;
    Opis = new TOpis(fMaster);
    Opcje = new TOpcje(fMaster);
    fMaster->show();
    // Opened from the event loop, once the window is on the screen, so that the
    // progress and error windows of a load have their parent in place.
    const QStringList pliki = PlikiZArgumentow(QApplication::arguments().mid(1));
    if (!pliki.isEmpty()) QTimer::singleShot(0, fMaster, [pliki] { fMaster->OtworzPliki(pliki); });
    const int wynik = app.exec();
    delete fMaster;  // the viewer and the dialog go with it
    return wynik;
}
