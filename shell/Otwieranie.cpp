// Opening files: the file dialogs, the load with its progress, the LandXML
// choice, the recent files, dropped files, the .mtp conversion and the
// LandXML writer.
#include "shell/linie3Dtroj.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLayout>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QProgressDialog>
#include <QScreen>
#include <QSignalBlocker>
#include <QSettings>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <exception>
#include <memory>
#include <optional>

#include "common/KlawiszeWindows.h"
#include "common/ZapisBezpieczny.h"
#include "analiza/Profil.h"
#include "dialogs/ProfilPrzekroj.h"
#include "dialogs/WczytanieNMT.h"
#include "dialogs/OpcjeWyswietlania.h"
#include "dialogs/Kontrole.h"
#include "dialogs/Widocznosc.h"
#include "dialogs/WyborLandXML.h"
#include "generators/GenerowanieBryl.h"
#include "model/ZapisywanieOdczytywanie.h"
#include "model/Zmienne.h"
#include "render/RysujPerspektywa.h"
#include "render/qt/PlotnoQt.h"
#include "scena/InfoProjekt.h"
#include "scena/Scena.h"
#include "shell/Klawisze.h"
#include "scena/WidokKierowcy.h"
#include "shell/PoleTekstowe.h"
#include "shell/Pomocnicze.h"

using namespace okno;

namespace {

// Thrown by the progress window's callback when the user stops a load; the
// reader gives up before anything is put in place.
struct TPrzerwano {};

}  // namespace

void TfMaster::Blad(const QString& tekst) {
    if (PokazBlad)
        PokazBlad(tekst);
    else
        QMessageBox::critical(this, QStringLiteral("Błąd"), tekst);
}

QString TfMaster::WybierzPlik(TDialogPliku& dialog, bool zapis) {
    QString nazwa;
    if (WyborPliku) {
        nazwa = WyborPliku(dialog, zapis);
    } else {
        QFileDialog d(this, zapis ? QStringLiteral("Zapisz jako") : QStringLiteral("Otwórz"), dialog.KatalogPoczatkowy,
                      dialog.Filtr);
        d.setAcceptMode(zapis ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        d.setFileMode(zapis ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        d.setDefaultSuffix(dialog.DomyslneRozszerzenie);
        if (d.exec() == QDialog::Accepted && !d.selectedFiles().isEmpty()) nazwa = d.selectedFiles().constFirst();
    }
    if (!nazwa.isEmpty()) dialog.KatalogPoczatkowy = QFileInfo(nazwa).absolutePath();
    return nazwa;
}

bool TfMaster::WczytajPlik(const QString& nazwa, const TWyborLandXML& wyborLandXML) {
    std::optional<QString> blad;
    {
        TZajety zajety;
        std::unique_ptr<QProgressDialog> postep;
        const QFileInfo info(nazwa);
        if (info.isFile() && info.size() > ProgPostepu) {
            // A large file: the window says what it reads and how far it got.
            postep = std::make_unique<QProgressDialog>(this);
            postep->setObjectName(QStringLiteral("PostepWczytywania"));
            postep->setWindowTitle(QStringLiteral("Orvany3D"));
            postep->setLabelText(QStringLiteral("Wczytywanie pliku %1").arg(QDir::toNativeSeparators(nazwa)));
            postep->setCancelButtonText(QStringLiteral("Przerwij"));
            postep->setRange(0, 1000);
            postep->setAutoReset(false);
            postep->setAutoClose(false);
            postep->setMinimumDuration(0);
            postep->setWindowModality(Qt::WindowModal);
            postep->setValue(0);
            postep->show();
            QCoreApplication::processEvents();
        }
        QProgressDialog* okienko = postep.get();
        const std::function<void(double)> zglos = [okienko, &nazwa](double ulamek) {
            if (!okienko) return;
            if (okienko->wasCanceled()) throw TPrzerwano{};
            okienko->setValue(static_cast<int>(std::clamp(ulamek, 0.0, 1.0) * 1000.0));
            if (ulamek >= 1.0) {
                // The file is read; the scene is being built from it.
                okienko->setLabelText(QStringLiteral("Przygotowanie obrazu: %1").arg(QDir::toNativeSeparators(nazwa)));
                okienko->setCancelButton(nullptr);
                QCoreApplication::processEvents();
            }
            if (okienko->wasCanceled()) throw TPrzerwano{};
        };
        try {
            ::WczytajPlik(Lokalna(nazwa), zglos, wyborLandXML);
            // The heights index is built beside the picture shown next.
            ZacznijBudoweIndeksow();
        } catch (const TPrzerwano&) {
            return false;
        } catch (const std::exception& e) {
            blad = Q(e.what());
        }
    }
    // The error box comes after the busy cursor and the progress window are gone.
    if (blad) {
        Blad(*blad);
        return false;
    }
    return true;
}

void TfMaster::ZacznijBudoweIndeksow() {
    ZbudujIndeksyWTle(ProjektOkna, BudowaIndeksow);
    if (!BudowaIndeksowTrwa(ProjektOkna)) {
        PoBudowieIndeksow();
        return;
    }
    L_Indeks->setText(QStringLiteral("trwa budowa indeksu wysokości"));
    L_Indeks->show();
    ZegarIndeksow->start();
}

void TfMaster::CzekajNaIndeksy() {
    if (!ZegarIndeksow || !ZegarIndeksow->isActive()) return;
    {
        TZajety zajety;
        IndeksyWysokosci(ProjektOkna);  // waits for the build
    }
    PoBudowieIndeksow();
}

void TfMaster::PoBudowieIndeksow() {
    if (BudowaIndeksowTrwa(ProjektOkna)) return;
    const bool czekano = ZegarIndeksow->isActive();
    ZegarIndeksow->stop();
    L_Indeks->clear();
    L_Indeks->hide();
    try {
        ZakonczBudoweIndeksow(ProjektOkna);
    } catch (const std::exception& e) {
        Blad(Q(e.what()));
    }
    // The texts of a position shown get the heights they went without (the picture stays).
    if (czekano && !L_Kilometraz->text().isEmpty()) PiszKilometraz();
}

void TfMaster::PoWczytaniu(const QString& nazwa, int odPikiety, int doPikiety) {
    if (Jazda()) PrzelaczJazde();
    // The profile window and the driver's eye show the new heights at once: they wait for them.
    if (ProfilPrzekroj || Rzut.WidokKierowcy) CzekajNaIndeksy();
    // The sight check's results belong to the scene just replaced.
    if (Widocznosc) Widocznosc->Porzuc();
    if (Kontrole) Kontrole->Porzuc();
    setWindowTitle(nazwa);
    L_Pik->setText(QStringLiteral("Pik. od ") + Q(F2(Trasa.PikStart + Trasa.PikMin)) + QStringLiteral("  do ") +
                   Q(F2(Trasa.PikStart + Trasa.PikMax)));
    // The slider starts at the new route's start; the picture stays the load's whole scene until it moves, and
    // nothing of the previous route's texts stays.
    {
        const QSignalBlocker b(SB_pik);
        SB_pik->setRange(odPikiety, std::max(odPikiety, doPikiety));
        SB_pik->setValue(Obetnij(Trasa.PikMin));
    }
    PikietaBiezaca = SB_pik->value();
    L_Kilometraz->clear();
    L_Kierowca->clear();
    PiszPolozenieOka();
    OdswiezListeTras();
    if (ProfilPrzekroj) ProfilPrzekroj->PoWczytaniu(SB_pik->value());
}

void TfMaster::m_WidocznoscClick() {
    CzekajNaIndeksy();
    Widocznosc->Sprawdz();
}

void TfMaster::PokazKomunikatyTrasy() {
    if (KomunikatyTrasy.empty() || !Opis) return;
    OpisTekst = KomunikatyTrasy;
    Opis->show();
    Opis->raise();
    Opis->activateWindow();
}

void TfMaster::OtworzTRO() {
    const QString nazwa = WybierzPlik(OpenDialog1, false);
    if (nazwa.isEmpty()) return;
    OtworzPlik(nazwa);
}

std::optional<TWyborLandXML> TfMaster::WybierzZPlikuLandXML(const QString& nazwa) {
    // With more than one surface or alignment in the file the user chooses.
    try {
        TSpisLandXML spis;
        {
            TZajety zajety;
            spis = SpisPlikuLandXML(Lokalna(nazwa));
        }
        const bool wieleNiwelet = std::any_of(spis.Niwelety.begin(), spis.Niwelety.end(),
                                              [](const std::vector<std::string>& n) { return n.size() > 1; });
        if (spis.Powierzchnie.size() <= 1 && spis.Trasy.size() <= 1 && !wieleNiwelet) return TWyborLandXML{};
        return WyborLandXML ? WyborLandXML(spis) : WybierzZLandXML(this, spis);
    } catch (const std::exception& e) {
        Blad(Q(e.what()));
        return std::nullopt;
    }
}

bool TfMaster::OtworzNMT(const QStringList& nazwy) {
    TOpcjeNMT opcje = OpcjeNMT;
    opcje.Os.clear();
    if (PytajONMT) {
        if (!PytajONMT(opcje)) return false;
    } else {
        TDialogNMT d(opcje, Trasa.Obliczona, this);
        if (d.exec() != QDialog::Accepted) return false;
        opcje = d.Opcje();
    }
    OpcjeNMT = opcje;
    std::vector<std::string> pliki;
    for (const QString& n : nazwy) pliki.push_back(Lokalna(n));
    std::optional<TTerenNMT> teren = WczytajNMTWTle(this, pliki, OpcjeNMTSceny(opcje),
                                                    [this](const QString& t) { Blad(t); });
    if (!teren) return false;
    {
        TZajety zajety;
        PrzyjmijNMT(std::move(*teren));
        ZacznijBudoweIndeksow();
        PoWczytaniu(nazwy.constLast(), Obetnij(Trasa.PikMin), Obetnij(Trasa.PikMax));
        P_Pikietaz->setVisible(static_cast<double>(Trasa.PikMax) - static_cast<double>(Trasa.PikMin) > 1.0);
        Przerysuj(*this);
    }
    QStringList lista = OstatniePliki();
    for (const QString& n : nazwy) {
        lista.removeAll(n);
        lista.prepend(n);
    }
    ZapiszOstatnie(lista);
    PokazKomunikatyTrasy();
    return true;
}

bool TfMaster::OtworzPlik(const QString& nazwa) {
    const TRodzajPliku rodzaj = RodzajPliku(Lokalna(nazwa));
    if (rodzaj == TRodzajPliku::NMT) return OtworzNMT({nazwa});
    const bool tro = rodzaj == TRodzajPliku::TRO || rodzaj == TRodzajPliku::XML;
    // A LandXML file: the surfaces and the alignment are chosen before the load.
    std::optional<TWyborLandXML> wybor = TWyborLandXML{};
    if (rodzaj == TRodzajPliku::XML) wybor = WybierzZPlikuLandXML(nazwa);
    if (!wybor) return false;
    // A failed load has shown its error and changed nothing: the flow ends.
    if (tro && !WczytajPlik(nazwa, *wybor)) return false;
    {
        TZajety zajety;
        if (tro) PoWczytaniu(nazwa, Obetnij(Trasa.PikMin), Obetnij(Trasa.PikMax));
        // Another extension loads nothing; the panel follows the route in memory.
        P_Pikietaz->setVisible(static_cast<double>(Trasa.PikMax) - static_cast<double>(Trasa.PikMin) > 1.0);
        Przerysuj(*this);
    }
    if (!tro) return false;
    QStringList lista = OstatniePliki();
    lista.removeAll(nazwa);
    lista.prepend(nazwa);
    ZapiszOstatnie(lista);
    PokazKomunikatyTrasy();
    return true;
}

void TfMaster::OtworzPliki(const QStringList& nazwy) {
    for (qsizetype i = 0; i < nazwy.size(); ++i) {
        const QString& nazwa = nazwy[i];
        const TRodzajPliku rodzaj = RodzajPliku(Lokalna(nazwa));
        if (rodzaj == TRodzajPliku::NMT) {
            // Consecutive grids are the sheets of one terrain.
            QStringList arkusze{nazwa};
            while (i + 1 < nazwy.size() && RodzajPliku(Lokalna(nazwy[i + 1])) == TRodzajPliku::NMT)
                arkusze << nazwy[++i];
            OtworzNMT(arkusze);
        } else if (rodzaj == TRodzajPliku::TRO || rodzaj == TRodzajPliku::XML)
            OtworzPlik(nazwa);
        else
            Blad(QStringLiteral("Nie otwarto pliku %1: program otwiera pliki trójkątów .tro, pliki LandXML (.xml) "
                                "i siatki NMT (.asc, .xyz, .tif, .tiff).")
                     .arg(QDir::toNativeSeparators(nazwa)));
    }
}

namespace {
constexpr const char* KluczOstatnich = "OstatnioOtwierane";

// The local files among the URLs of a drag, in their order.
QStringList PlikiPrzeciagniete(const QMimeData* dane) {
    QStringList pliki;
    if (dane && dane->hasUrls())
        for (const QUrl& u : dane->urls())
            if (u.isLocalFile()) pliki << u.toLocalFile();
    return pliki;
}
}  // namespace

QStringList TfMaster::OstatniePliki() const {
    QStringList lista = QSettings().value(KluczOstatnich).toStringList();
    lista.removeAll(QString());
    return lista.mid(0, IleOstatnich);
}

void TfMaster::ZapiszOstatnie(const QStringList& lista) {
    QSettings().setValue(KluczOstatnich, lista.mid(0, IleOstatnich));
    OdswiezOstatnie();
}

void TfMaster::OdswiezOstatnie() {
    const QStringList lista = OstatniePliki();
    for (int i = 0; i < IleOstatnich; ++i) {
        QAction* a = Ostatnie1[i];
        a->setVisible(i < lista.size());
        if (i >= lista.size()) continue;
        QString napis = QDir::toNativeSeparators(lista[i]);
        napis.replace(QLatin1Char('&'), QLatin1String("&&"));
        a->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(napis));
        a->setData(lista[i]);
    }
    M_Ostatnie->menuAction()->setEnabled(!lista.isEmpty());
}

void TfMaster::OtworzOstatni(const QString& nazwa) {
    if (!QFileInfo::exists(nazwa)) {
        QStringList lista = OstatniePliki();
        lista.removeAll(nazwa);
        ZapiszOstatnie(lista);
        Blad(QStringLiteral("Plik %1 już nie istnieje (został usunięty lub przeniesiony).\n"
                            "Usunięto go z listy ostatnio otwieranych plików.")
                 .arg(QDir::toNativeSeparators(nazwa)));
        return;
    }
    OtworzPlik(nazwa);
}

void TfMaster::dragEnterEvent(QDragEnterEvent* e) {
    if (!PlikiPrzeciagniete(e->mimeData()).isEmpty()) e->acceptProposedAction();
}

void TfMaster::dropEvent(QDropEvent* e) {
    const QStringList pliki = PlikiPrzeciagniete(e->mimeData());
    if (pliki.isEmpty()) return;
    e->acceptProposedAction();
    // The program the files came from waits for the drop to end: they are
    // opened afterwards, from the event loop.
    QTimer::singleShot(0, this, [this, pliki] { OtworzPliki(pliki); });
}

void TfMaster::OtworzMTP() {
    const QString nazwa = WybierzPlik(OpenTrojkaty, false);
    if (nazwa.isEmpty()) return;
    OpenTrojkatyPlik = nazwa;
    const bool mtp = RodzajPliku(Lokalna(nazwa)) == TRodzajPliku::MTP;
    if (mtp && !WczytajPlik(nazwa)) return;
    {
        TZajety zajety;
        if (mtp) PoWczytaniu(nazwa, Obetnij(Trasa.PikMin - 1.0), Obetnij(Trasa.PikMax + 1.0));
        Przerysuj(*this);
    }
    if (mtp) PokazKomunikatyTrasy();
}

void TfMaster::Button7Click() {
    // Nothing to convert yet: say so before asking where to save.
    if (OpenTrojkatyPlik.isEmpty()) {
        Blad(QStringLiteral("Nie wybrano pliku .mtp do przepisania: najpierw otwórz plik .mtp."));
        return;
    }
    const QString cel = WybierzPlik(D_save, true);
    if (cel.isEmpty()) return;
    std::optional<QString> blad;
    try {
        TZajety zajety;
        PrzepiszPlik(Lokalna(OpenTrojkatyPlik), Lokalna(cel));
    } catch (const std::exception& e) {
        blad = Q(e.what());
    }
    if (blad) Blad(*blad);
}

void TfMaster::ZapiszLandXMLClick() {
    const QString cel = WybierzPlik(D_saveLandXML, true);
    if (cel.isEmpty()) return;
    std::optional<QString> blad;
    try {
        TZajety zajety;
        // The one safe writer: through links, never over a non-regular file,
        // the old file whole when anything fails.
        ZapiszBezpiecznie(Lokalna(cel), [](std::ostream& o) { ZapiszLandXML(o, ProjektOkna); });
    } catch (const std::exception& e) {
        blad = Q(e.what());
    }
    if (blad) Blad(*blad);
}
