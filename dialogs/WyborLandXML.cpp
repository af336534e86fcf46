#include "dialogs/WyborLandXML.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QLabel>

std::optional<TWyborLandXML> WybierzZLandXML(QWidget* rodzic, const TSpisLandXML& spis) {
    QDialog d(rodzic);
    d.setObjectName(QStringLiteral("WyborLandXML"));
    d.setWindowTitle(QStringLiteral("Plik LandXML"));
    auto* uklad = new QFormLayout(&d);
    uklad->addRow(new QLabel(QStringLiteral("Wybierz, co wczytać z pliku:")));
    auto lista = [](const std::vector<std::string>& nazwy, const QString& brak) {
        auto* c = new QComboBox;
        if (!brak.isEmpty()) c->addItem(brak);
        for (const std::string& n : nazwy) c->addItem(QString::fromStdString(n));
        return c;
    };
    QComboBox* teren = lista(spis.Powierzchnie, spis.Powierzchnie.empty() ? QStringLiteral("(brak)") : QString());
    QComboBox* proj = lista(spis.Powierzchnie, QStringLiteral("(brak)"));
    QComboBox* trasa = lista(spis.Trasy, spis.Trasy.empty() ? QStringLiteral("(brak)") : QString());
    teren->setObjectName(QStringLiteral("Teren"));
    proj->setObjectName(QStringLiteral("Proj"));
    trasa->setObjectName(QStringLiteral("Trasa"));
    uklad->addRow(QStringLiteral("Teren (TEREN):"), teren);
    uklad->addRow(QStringLiteral("Projekt (PROJ):"), proj);
    uklad->addRow(QStringLiteral("Trasa:"), trasa);
    auto* przyciski = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    przyciski->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Anuluj"));
    QObject::connect(przyciski, &QDialogButtonBox::accepted, &d, &QDialog::accept);
    QObject::connect(przyciski, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    uklad->addRow(przyciski);
    if (d.exec() != QDialog::Accepted) return std::nullopt;
    TWyborLandXML w;
    if (!spis.Powierzchnie.empty()) w.Teren = teren->currentText().toStdString();
    if (proj->currentIndex() > 0) w.Proj = proj->currentText().toStdString();
    if (!spis.Trasy.empty()) w.Trasa = trasa->currentText().toStdString();
    return w;
}
