#include "dialogs/WyborLandXML.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QLabel>
#include <algorithm>

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
    // Terrain and route: the file's first by default, "(bez zmian)" keeps what is loaded.
    const QString bezZmian = QStringLiteral("(bez zmian)");
    QComboBox* teren = lista(spis.Powierzchnie, QString());
    teren->addItem(bezZmian);
    QComboBox* proj = lista(spis.Powierzchnie, QStringLiteral("(brak)"));
    QComboBox* trasa = lista(spis.Trasy, QString());
    trasa->addItem(bezZmian);
    // At first what the file would give without the dialog: the surfaces named exactly TEREN and PROJ (as this
    // program writes them), else the first surface as the terrain and no design surface.
    const TWyborLandXML domyslny = WyborDomyslny({}, spis.Powierzchnie);
    auto numer = [&](const std::string& nazwa) {
        const auto i = std::find(spis.Powierzchnie.begin(), spis.Powierzchnie.end(), nazwa);
        return i == spis.Powierzchnie.end() ? -1 : static_cast<int>(i - spis.Powierzchnie.begin());
    };
    if (numer(domyslny.Teren) >= 0) teren->setCurrentIndex(numer(domyslny.Teren));
    if (numer(domyslny.Proj) >= 0) proj->setCurrentIndex(numer(domyslny.Proj) + 1);
    teren->setObjectName(QStringLiteral("Teren"));
    proj->setObjectName(QStringLiteral("Proj"));
    trasa->setObjectName(QStringLiteral("Trasa"));
    uklad->addRow(QStringLiteral("Teren (TEREN):"), teren);
    uklad->addRow(QStringLiteral("Projekt (PROJ):"), proj);
    uklad->addRow(QStringLiteral("Trasa:"), trasa);
    // The chosen alignment's profiles (the first by default); none for "(bez zmian)" or an alignment without one.
    auto* niweleta = new QComboBox;
    niweleta->setObjectName(QStringLiteral("Niweleta"));
    const auto niwelety = [&spis, niweleta](int r) {
        niweleta->clear();
        if (r >= 0 && static_cast<std::size_t>(r) < spis.Niwelety.size())
            for (const std::string& n : spis.Niwelety[static_cast<std::size_t>(r)])
                niweleta->addItem(QString::fromStdString(n));
        if (niweleta->count() == 0) niweleta->addItem(QStringLiteral("(brak)"));
        niweleta->setEnabled(niweleta->count() > 1);
    };
    niwelety(trasa->currentIndex());
    QObject::connect(trasa, &QComboBox::currentIndexChanged, niweleta, niwelety);
    uklad->addRow(QStringLiteral("Niweleta:"), niweleta);
    auto* przyciski = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    przyciski->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Anuluj"));
    QObject::connect(przyciski, &QDialogButtonBox::accepted, &d, &QDialog::accept);
    QObject::connect(przyciski, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    uklad->addRow(przyciski);
    if (d.exec() != QDialog::Accepted) return std::nullopt;
    TWyborLandXML w;
    const int t = teren->currentIndex(), r = trasa->currentIndex();
    w.BezTerenu = t == static_cast<int>(spis.Powierzchnie.size());
    if (!w.BezTerenu) w.Teren = spis.Powierzchnie[static_cast<std::size_t>(t)];
    w.BezProj = proj->currentIndex() == 0;
    if (!w.BezProj) w.Proj = spis.Powierzchnie[static_cast<std::size_t>(proj->currentIndex() - 1)];
    w.BezTrasy = r == static_cast<int>(spis.Trasy.size());
    if (!w.BezTrasy) w.Trasa = spis.Trasy[static_cast<std::size_t>(r)];
    if (!w.BezTrasy && static_cast<std::size_t>(r) < spis.Niwelety.size() &&
        static_cast<std::size_t>(niweleta->currentIndex()) < spis.Niwelety[static_cast<std::size_t>(r)].size())
        w.Profil = spis.Niwelety[static_cast<std::size_t>(r)][static_cast<std::size_t>(niweleta->currentIndex())];
    return w;
}
