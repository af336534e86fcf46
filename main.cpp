// Placeholder: the main window arrives with the shell.
#include <QApplication>
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return 0;
}
