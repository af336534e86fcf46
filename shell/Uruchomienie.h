// The program's start: Qt's own texts in Polish and the files named on the command line.
#pragma once

#include <QString>
#include <QStringList>

class QCoreApplication;

// Installs Qt's Polish translation (qtbase_pl from Qt's translations folder)
// into the application, whatever the environment's locale: the program's own
// texts are all Polish, so the texts Qt supplies (file dialog, message box
// buttons, context menus of text fields) must be Polish too. False when the
// translation file is missing (the texts then stay English).
bool WczytajPolskieTekstyQt(QCoreApplication& aplikacja);

// The files to open from the program's arguments (without the program's name),
// in their order: relative names are made absolute against the current
// directory, file: URLs become local paths.
QStringList PlikiZArgumentow(const QStringList& argumenty);
