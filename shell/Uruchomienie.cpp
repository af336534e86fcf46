#include "shell/Uruchomienie.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>
#include <QUrl>

bool WczytajPolskieTekstyQt(QCoreApplication& aplikacja) {
    auto* tlumacz = new QTranslator(&aplikacja);
    if (!tlumacz->load(QStringLiteral("qtbase_pl"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete tlumacz;
        return false;
    }
    return QCoreApplication::installTranslator(tlumacz);
}

QStringList PlikiZArgumentow(const QStringList& argumenty) {
    QStringList pliki;
    for (const QString& a : argumenty) {
        if (a.isEmpty()) continue;
        const QUrl url(a);
        const QString sciezka = a.startsWith(QLatin1String("file:")) && url.isLocalFile() ? url.toLocalFile() : a;
        pliki << QFileInfo(sciezka).absoluteFilePath();
    }
    return pliki;
}
