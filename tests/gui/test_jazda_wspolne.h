// The main window with its file dialogs and error boxes answered by the test, and data files.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/OpcjeWyswietlania.h"
#include "pomocnicze/Pomocnicze.h"
#include "shell/PoleTekstowe.h"
#include "shell/linie3Dtroj.h"
#include "test_pliki_dane.h"

namespace jazda {

// Clicks "Przerwij" of the progress window named `nazwa` as soon as the event loop runs, after `sprawdz`.
inline void PrzerwijPostep(QWidget& okno, const QString& nazwa, bool& przerwano,
                           std::function<void(QProgressDialog&)> sprawdz = {}) {
    QTimer::singleShot(0, &okno, [&okno, nazwa, &przerwano, sprawdz] {
        auto* p = okno.findChild<QProgressDialog*>(nazwa);
        ASSERT_TRUE(p) << nazwa.toStdString();
        if (sprawdz) sprawdz(*p);
        for (QPushButton* b : p->findChildren<QPushButton*>())
            if (b->text() == QStringLiteral("Przerwij")) b->click(), przerwano = true;
    });
}

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

// Two surfaces (A: 4 points, 2 faces; B: 3 points, 1 face) and the alignments given before "druga",
// 300 m from staStart 2000 along +X.
inline std::string PlikLandXML(const std::string& trasy = "") {
    return "<?xml version=\"1.0\"?>\n<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.2\">\n<Surfaces>\n"
           "<Surface name=\"A\"><Definition surfType=\"TIN\"><Pnts><P id=\"1\">0 0 1</P><P id=\"2\">0 400 1</P>"
           "<P id=\"3\">400 400 2</P><P id=\"4\">400 0 2</P></Pnts><Faces><F>1 2 3</F><F>1 3 4</F></Faces>"
           "</Definition></Surface>\n<Surface name=\"B\"><Definition surfType=\"TIN\"><Pnts><P id=\"1\">10 10 1</P>"
           "<P id=\"2\">10 20 1</P><P id=\"3\">20 10 1</P></Pnts><Faces><F>1 2 3</F></Faces></Definition></Surface>\n"
           "</Surfaces>\n<Alignments>\n" +
           trasy +
           "<Alignment name=\"druga\" staStart=\"2000\"><CoordGeom><Line><Start>50 100</Start><End>350 100</End>"
           "</Line></CoordGeom></Alignment>\n</Alignments>\n</LandXML>\n";
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
