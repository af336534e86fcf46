#include "dialogs/OpcjeWyswietlania.h"

TOpcje* Opcje = nullptr;

TOpcje::TOpcje(QWidget* rodzic) : QDialog(rodzic) {
    setWindowTitle(QStringLiteral("Opcje"));
    setModal(true);
}
