// Turns the user's guide (Markdown) into a PDF at build time, so that the PDF
// beside the program always matches its source.
//   generuj_opis <input.md> <output.pdf>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "użycie: generuj_opis wejscie.md wyjscie.pdf\n");
        return 2;
    }
    QFile we(QString::fromLocal8Bit(argv[1]));
    if (!we.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "nie można odczytać %s\n", argv[1]);
        return 1;
    }
    const QString wyjscie = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(QFileInfo(wyjscie).absolutePath());

    QTextDocument dokument;
    QFont czcionka(QStringLiteral("DejaVu Sans"));
    czcionka.setPointSizeF(10);
    dokument.setDefaultFont(czcionka);
    dokument.setDefaultStyleSheet(QStringLiteral("table { border-collapse: collapse; } td, th { padding: 3px; }"));
    dokument.setMarkdown(QString::fromUtf8(we.readAll()));

    QPdfWriter pdf(wyjscie);
    pdf.setTitle(QStringLiteral("Orvany3D — krótki opis"));
    pdf.setCreator(QStringLiteral("Orvany3D"));
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter);
    dokument.print(&pdf);
    if (!QFileInfo(wyjscie).isFile() || QFileInfo(wyjscie).size() == 0) {
        std::fprintf(stderr, "nie powstał %s\n", argv[2]);
        return 1;
    }
    return 0;
}
