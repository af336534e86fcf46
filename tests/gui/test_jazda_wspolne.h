// The main window with its file dialogs and error boxes answered by the test,
// and a data file with a straight route along +X of a chosen length.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/OpcjeWyswietlania.h"
#include "model/Zmienne.h"
#include "pomocnicze/Pomocnicze.h"
#include "shell/PoleTekstowe.h"
#include "shell/linie3Dtroj.h"
#include "test_pliki_dane.h"

namespace jazda {

// A TEREN rectangle of two triangles (left out with `siatka` false) around a straight route along +X
// from (5500050, 4600050); `luk` puts an arc on its first vertex.
inline std::string PlikTrasy(double dlugosc, bool mtp = false, bool siatka = true, bool trasa = true,
                             bool luk = false) {
    using namespace pliki_testowe;
    TPlik f = Naglowek();
    const double x0 = 5500000, y0 = 4600000, r = x0 + dlugosc + 100;
    if (siatka) {
        f({"", mtp ? "#Wspolrzedne200TEREN#" : "#WspTEREN#", "4"});
        DodajPunkt(f, x0, y0, 100, "F", 0, "A");
        DodajPunkt(f, r, y0, 101, "F", 1, "B");
        DodajPunkt(f, r, y0 + 100, 102, "F", 2, "C");
        DodajPunkt(f, x0, y0 + 100, 101, "F", 3, "D");
        f({"", mtp ? "#Trojkaty200TEREN#" : "#TroTEREN#", "2"});
        DodajTrojkatTEREN(f, 0, 1, 2, "0H", "clGreen");
        DodajTrojkatTEREN(f, 0, 2, 3, "0H", "clGreen");
    }
    if (trasa) {
        f({"", "______________________________TRASA_2020", "2"});
        DodajZalom(f, "W0", L(x0 + 50) + ";" + L(y0 + 50), luk ? "0;0;50" : "0;0;0");
        DodajZalom(f, "W1", L(x0 + 50 + dlugosc) + ";" + L(y0 + 50));
    }
    return f.Tekst("\r\n");
}

class OknoJazdy : public ::testing::Test {
protected:
    UstawLocale kropka{'.'};  // the texts the window writes at start
    void SetUp() override {
        ZerujStan();
        katalog = QString::fromStdString(KatalogTymczasowy()) + "/";
        okno = std::make_unique<TfMaster>();
        fMaster = okno.get();
        Opis = new TOpis(okno.get());
        okno->WyborPliku = [this](const TDialogPliku&, bool) {
            if (wybory.empty()) return QString();
            const QString n = wybory.front();
            wybory.erase(wybory.begin());
            return n;
        };
        okno->PokazBlad = [this](const QString& t) { bledy << t; };
    }
    void TearDown() override {
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "busy cursor left behind";
        fMaster = nullptr;
        Opis = nullptr;
        Opcje = nullptr;
        okno.reset();
        ZerujStan();
    }
    void Pokaz(bool aktywne = false) {
        okno->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(okno.get()));
        if (aktywne) {
            okno->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(okno.get()));
        }
        QApplication::processEvents();
    }
    QString Plik(const QString& nazwa, const std::string& tresc) {
        ZapiszPlik((katalog + nazwa).toStdString(), tresc);
        return katalog + nazwa;
    }
    void Otworz(const QString& sciezka) {  // menu "Otwórz": the TRO flow
        wybory.push_back(sciezka);
        okno->Otwrz1->trigger();
    }
    std::string Pasek() const { return okno->StatusBar1Panele[1]->text().toStdString(); }

    std::unique_ptr<TfMaster> okno;
    QString katalog;
    std::vector<QString> wybory;
    QStringList bledy;
};

}  // namespace jazda
