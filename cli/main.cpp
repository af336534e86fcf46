// orvany3d-cli: the command-line companion of Orvany3D. It draws with the
// window's own drawing into an off-screen image, so it needs no display.
#include <QByteArray>
#include <QGuiApplication>
#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "cli/Polecenia.h"

namespace {
// Qt's own notes (a missing XDG_RUNTIME_DIR and the like) are not the tool's
// output; only its critical errors are passed on.
void KomunikatQt(QtMsgType typ, const QMessageLogContext&, const QString& tekst) {
    if (typ == QtCriticalMsg || typ == QtFatalMsg) std::cerr << tekst.toStdString() << '\n';
}
}  // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(KomunikatQt);
    // Pictures are drawn off-screen whatever display there is (or is not).
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt gets only the program name: the tool's own arguments are not Qt options.
    int argcQt = 1;
    char* argvQt[] = {argv[0], nullptr};
    QGuiApplication app(argcQt, argvQt);
    // Reports use the decimal separator of the environment's locale.
    std::setlocale(LC_ALL, "");

    const std::vector<std::string> argumenty(argv + 1, argv + argc);
    const int kod = WykonajPolecenie(argumenty, std::cout, std::cerr);
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "orvany3d-cli: błąd zapisu na standardowe wyjście\n";
        return KodBladPliku;
    }
    return kod;
}
