// Orvany3D: the main window, the text viewer and the options dialog, then the message loop.
#include <QApplication>
#include <QMessageBox>
#include <exception>

#include "common/Funkcje.h"
#include "dialogs/OpcjeWyswietlania.h"
#include "shell/PoleTekstowe.h"
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
    QApplication::setApplicationName(QStringLiteral("Orvany3D"));

    // Messages of the program go to a message box with one OK button.
    PokazKomunikat = [](const std::string& tekst) {
        QMessageBox::information(fMaster, QStringLiteral("Orvany3D"), QString::fromStdString(tekst));
    };

    fMaster = new TfMaster;
    Opis = new TOpis(fMaster);
    Opcje = new TOpcje(fMaster);
    fMaster->show();
    const int wynik = app.exec();
    delete fMaster;  // the viewer and the dialog go with it
    return wynik;
}
