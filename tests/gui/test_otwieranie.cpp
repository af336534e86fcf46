// The ways to open files: the command line, a drop, the recent list, and Qt's texts of the open dialog in Polish.
#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <QUrl>
#include <atomic>
#include <chrono>
#include <set>
#include <thread>

#include "shell/Uruchomienie.h"
#include "test_jazda_wspolne.h"

using namespace jazda;

namespace {

class Otwieranie : public OknoJazdy {
protected:
    void SetUp() override {
        OknoJazdy::SetUp();
        QSettings().remove(QStringLiteral("OstatnioOtwierane"));
        okno->OdswiezOstatnie();
    }
    // Texts of a dialog's buttons and labels without the mnemonic marks.
    static QStringList Napisy(QWidget* d) {
        QStringList n;
        for (auto* b : d->findChildren<QPushButton*>()) n << b->text().remove(QLatin1Char('&'));
        for (auto* l : d->findChildren<QLabel*>()) n << l->text().remove(QLatin1Char('&'));
        return n;
    }
};

TEST_F(Otwieranie, OknoOtwieraniaIKomunikatPoPolsku) {
    ASSERT_TRUE(WczytajPolskieTekstyQt(*qApp));
    // The real dialog of "Otwórz", read and cancelled from inside its loop.
    okno->WyborPliku = {};
    QStringList dialog;
    QTimer zegar;
    QObject::connect(&zegar, &QTimer::timeout, [&] {
        if (auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) dialog = Napisy(d), d->reject();
    });
    zegar.start(10);
    okno->Otwrz1->trigger();
    for (const char* n : {"Otwórz", "Anuluj", "Szukaj w:", "Nazwa pliku:", "Pliki rodzaju:"})
        EXPECT_TRUE(dialog.contains(QString::fromUtf8(n))) << n << " in " << dialog.join('|').toStdString();
    EXPECT_EQ(okno->windowTitle(), "Orvany3D");  // cancelled: nothing opened
    QMessageBox pytanie(QMessageBox::Question, "Orvany3D", "?", QMessageBox::Yes | QMessageBox::No);
    EXPECT_TRUE(Napisy(&pytanie).contains("Tak") && Napisy(&pytanie).contains("Nie"));
}

TEST_F(Otwieranie, PlikiZWierszaPolecenPoKolei) {
    const QString a = Plik("a.tro", PlikTrasy(300)), b = Plik("b.tro", PlikTrasy(500));
    const QString bylKatalog = QDir::currentPath();
    QDir::setCurrent(katalog);
    const QStringList pliki = PlikiZArgumentow(
        {"a.tro", QUrl::fromLocalFile(b).toString(), "rysunek.png", "", "./brak.tro"});
    QDir::setCurrent(bylKatalog);
    ASSERT_EQ(pliki, QStringList({a, b, katalog + "rysunek.png", katalog + "brak.tro"}));

    okno->OtworzPliki(pliki);
    // Both roads loaded in turn (the last stays); the picture and the missing file said why.
    EXPECT_TRUE(okno->windowTitle() == b && Trasa.PikMax == 500);
    EXPECT_EQ(okno->OstatniePliki(), QStringList({b, a}));
    ASSERT_EQ(bledy.size(), 2);
    EXPECT_TRUE(bledy[0].contains("rysunek.png") && bledy[1].contains("brak.tro")) << bledy.join('|').toStdString();
}

TEST_F(Otwieranie, UpuszczonePliki) {
    const QString a = Plik("a.tro", PlikTrasy(300)), b = Plik("b.tro", PlikTrasy(400));
    QMimeData obce, pliki;
    obce.setUrls({QUrl("https://example.org/droga.tro")});
    pliki.setUrls({QUrl::fromLocalFile(a), QUrl("https://example.org/x.tro"), QUrl::fromLocalFile(b)});
    for (QMimeData* dane : {&obce, &pliki}) {
        QDragEnterEvent wejscie(QPoint(400, 300), Qt::CopyAction, dane, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(okno.get(), &wejscie);
        EXPECT_EQ(wejscie.isAccepted(), dane == &pliki);
    }
    QDropEvent upuszczenie(QPointF(400, 300), Qt::CopyAction, &pliki, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(okno.get(), &upuszczenie);
    EXPECT_TRUE(upuszczenie.isAccepted());
    QTRY_COMPARE(okno->windowTitle(), b);
    EXPECT_TRUE(Trasa.PikMax == 400 && okno->OstatniePliki() == QStringList({b, a}) && bledy.isEmpty());
}

TEST_F(Otwieranie, OstatnioOtwierane) {
    EXPECT_FALSE(okno->M_Ostatnie->menuAction()->isEnabled());
    QStringList p;
    for (int i = 1; i <= 9; ++i) {
        p << Plik(QString("d%1&.tro").arg(i), PlikTrasy(100 * i));
        Otworz(p.back());
    }
    Otworz(p[4]);  // again: back to the top, not twice
    const QStringList oczekiwana = {p[4], p[8], p[7], p[6], p[5], p[3], p[2], p[1]};
    EXPECT_EQ(okno->OstatniePliki(), oczekiwana);
    EXPECT_EQ(QSettings().value("OstatnioOtwierane").toStringList(), oczekiwana);  // kept for the next run
    EXPECT_EQ(okno->Ostatnie1[0]->text(), "&1 " + QString(p[4]).replace("&", "&&"));

    okno->Ostatnie1[1]->trigger();  // d9
    EXPECT_TRUE(okno->windowTitle() == p[8] && Trasa.PikMax == 900 && okno->OstatniePliki().first() == p[8]);

    // A file that has gone: a message naming it, off the list (the error box and the picture kept: end to end).
    ASSERT_TRUE(QFile::remove(p[4]));
    okno->Ostatnie1[1]->trigger();
    ASSERT_EQ(bledy.size(), 1);
    EXPECT_TRUE(bledy[0].contains(p[4]) && bledy[0].contains("nie istnieje")) << bledy[0].toStdString();
    EXPECT_EQ(okno->OstatniePliki(), QStringList({p[8], p[7], p[6], p[5], p[3], p[2], p[1]}));

    okno->WyczyscOstatnie1->trigger();
    EXPECT_TRUE(okno->OstatniePliki().isEmpty() && !okno->M_Ostatnie->menuAction()->isEnabled());
}

TEST_F(Otwieranie, LandXMLZWierszaPolecenIZListy) {
    const QString x = Plik("os.XML", PlikLandXML());
    int pytania = 0;
    std::optional<TWyborLandXML> odpowiedz = TWyborLandXML{"A", "B", ""};
    okno->WyborLandXML = [&](const TSpisLandXML&) { return ++pytania, odpowiedz; };
    // The command line (as a drop) opens it through the same flow: the choice first, then the load.
    okno->OtworzPliki({x});
    ASSERT_TRUE(bledy.isEmpty()) << bledy.join("\n").toStdString();
    EXPECT_TRUE(pytania == 1 && okno->windowTitle() == x && okno->OstatniePliki() == QStringList({x}));
    EXPECT_EQ(std::pair(TEREN.IleTrojkatow(), PROJ.IleTrojkatow()), std::pair(2, 1));  // the choice taken
    // From the recent list the choice is asked again; cancelled, nothing is read.
    odpowiedz.reset();
    okno->Ostatnie1[0]->trigger();
    EXPECT_TRUE(pytania == 2 && TEREN.IleTrojkatow() == 2 && bledy.isEmpty());
}

// A build of the heights index that holds on until `pusc` is set or its stop is asked for.
struct TWolnaBudowaOkna {
    std::shared_ptr<std::atomic<bool>> Pusc = std::make_shared<std::atomic<bool>>(false);
    std::shared_ptr<std::atomic<int>> Przerwane = std::make_shared<std::atomic<int>>(0);
    TBudowaIndeksow Budowa() const {
        return [pusc = Pusc, przerwane = Przerwane](const TProjekt& p, const std::atomic<bool>& przerwij) {
            while (!pusc->load()) {
                if (przerwij.load()) ++*przerwane, throw TBudowaPrzerwana{};
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            return IndeksyZSiatek(p.PROJ, p.TEREN, p.Trasa.Dx, p.Trasa.Dy, p.TEREN.Zakres.Zmin, &przerwij);
        };
    }
};

TEST_F(Otwieranie, ObrazPrzedIndeksemWysokosciINaCoCzeka) {
    Pokaz();
    const QString a = Plik("a.tro", PlikTrasy(300));
    const QSize rozmiar = okno->rys->size();
    // The picture of the load as the window shows it once everything is built.
    Otworz(a);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !BudowaIndeksowTrwa(ProjektOkna); }));
    const QImage wzor = okno->Ekran.copy(QRect(QPoint(0, 0), rozmiar));
    std::set<QRgb> kolory;
    for (int y = 0; y < wzor.height(); y += 7)
        for (int x = 0; x < wzor.width(); x += 7) kolory.insert(wzor.pixel(x, y));
    ASSERT_GT(kolory.size(), 2u) << "no picture drawn";

    // The same load with a build that does not end: the same picture is there at once, the status bar says
    // what is being built, the chainage's texts go without heights.
    TWolnaBudowaOkna wolna;
    okno->BudowaIndeksow = wolna.Budowa();
    Otworz(a);
    ASSERT_TRUE(bledy.isEmpty()) << bledy.join('|').toStdString();
    EXPECT_TRUE(BudowaIndeksowTrwa(ProjektOkna));
    EXPECT_TRUE(okno->Ekran.copy(QRect(QPoint(0, 0), rozmiar)) == wzor);
    EXPECT_EQ(okno->L_Indeks->text(), QString::fromUtf8("trwa budowa indeksu wysokości"));
    EXPECT_FALSE(okno->L_Indeks->isHidden());
    okno->SB_pik->setValue(100);  // the chainage view alone waits for nothing
    EXPECT_TRUE(BudowaIndeksowTrwa(ProjektOkna));
    EXPECT_TRUE(okno->L_Kilometraz->text().startsWith("km 0+100")) << okno->L_Kilometraz->text().toStdString();

    // The driver's eye waits for the build (here let go by another thread once the busy cursor is up).
    std::thread puszczajacy([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        wolna.Pusc->store(true);
    });
    okno->BudowaIndeksow = {};
    okno->UstawWidokKierowcy(true);
    puszczajacy.join();
    EXPECT_FALSE(BudowaIndeksowTrwa(ProjektOkna));
    EXPECT_TRUE(okno->L_Indeks->isHidden());
    EXPECT_NE(Pasek().find("Oko kierowcy"), std::string::npos) << Pasek();
    EXPECT_EQ(*wolna.Przerwane, 0);
}

TEST_F(Otwieranie, WczytanieWCzasieBudowyIndeksuJaPorzuca) {
    // A second load while the first load's build runs: that build is stopped, the second one's heights are
    // those of its own meshes. TEREN is the plane z = 100 + x / (L + 100) + y / 100 over the route's
    // rectangle (x, y from its corner, L the route's length).
    TWolnaBudowaOkna wolna;
    okno->BudowaIndeksow = wolna.Budowa();
    Otworz(Plik("a.tro", PlikTrasy(300)));
    ASSERT_TRUE(BudowaIndeksowTrwa(ProjektOkna));
    okno->BudowaIndeksow = {};
    Otworz(Plik("b.tro", PlikTrasy(500)));
    ASSERT_TRUE(bledy.isEmpty()) << bledy.join('|').toStdString();
    EXPECT_EQ(*wolna.Przerwane, 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return okno->L_Indeks->isHidden(); }));
    const TIndeksyWysokosci ix = IndeksyWysokosci(ProjektOkna);
    const std::optional<double> z = WysokoscWPliku(*ix.TEREN, 5500200, 4600010);
    ASSERT_TRUE(z.has_value());
    EXPECT_NEAR(*z, 100 + 200.0 / 600 + 0.1, 1e-9);
}

// A file of several alignments: the panel lists them, choosing one makes it the route with the slider at its
// start, and an unreadable one is refused with its reason and leaves the route and the list as they were.
TEST_F(Otwieranie, WyborTrasyWPanelu) {
    const QString x = QString::fromStdString(std::string(ORVANY_ZRODLA) + "/tests/dane/osie_civil3d.xml");
    okno->WyborLandXML = [](const TSpisLandXML& s) {
        // The choice dialog's lists: the profiles of each alignment beside it.
        EXPECT_EQ(s.Niwelety.size(), s.Trasy.size());
        return std::optional<TWyborLandXML>(TWyborLandXML{});
    };
    okno->OtworzPliki({x});
    ASSERT_TRUE(bledy.isEmpty()) << bledy.join("\n").toStdString();
    ASSERT_FALSE(okno->CB_Trasa->isHidden());
    EXPECT_EQ(okno->CB_Trasa->count(), static_cast<int>(Trasa.Osie.size()));
    EXPECT_EQ(okno->CB_Trasa->currentIndex(), 0);
    emit okno->CB_Trasa->activated(1);
    ASSERT_TRUE(bledy.isEmpty()) << bledy.join("\n").toStdString();
    EXPECT_EQ(Trasa.NrOsi, 1);
    EXPECT_EQ(Trasa.Lancuch.Nazwa, "Zjazd 1");
    EXPECT_EQ(okno->SB_pik->value(), static_cast<int>(std::trunc(Trasa.PikMin)));
    const DaneUstawieniaTrasy przed = Trasa;
    okno->CB_Trasa->setCurrentIndex(2);
    emit okno->CB_Trasa->activated(2);
    ASSERT_EQ(bledy.size(), 1);
    EXPECT_TRUE(bledy[0].contains(QStringLiteral("nie można wczytać"))) << bledy[0].toStdString();
    EXPECT_TRUE(Trasa == przed && okno->CB_Trasa->currentIndex() == 1);
}

}  // namespace
