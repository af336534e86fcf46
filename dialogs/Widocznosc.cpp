#include "dialogs/Widocznosc.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QFormLayout>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <atomic>
#include <memory>

#include "analiza/Wysokosci.h"

namespace {

QDoubleSpinBox* Pole(QWidget* rodzic, const char* nazwa, double od, double do_, int miejsca, double wartosc,
                     const QString& jednostka) {
    auto* p = new QDoubleSpinBox(rodzic);
    p->setObjectName(QString::fromLatin1(nazwa));
    p->setRange(od, do_);
    p->setDecimals(miejsca);
    p->setValue(wartosc);
    p->setSuffix(QStringLiteral(" ") + jednostka);
    return p;
}

}  // namespace

TDialogWidocznosci::TDialogWidocznosci(const TUstawieniaWidocznosci& u, bool pas, QWidget* rodzic) : QDialog(rodzic) {
    setObjectName(QStringLiteral("DialogWidocznosci"));
    setWindowTitle(QStringLiteral("Widoczność na zatrzymanie"));
    auto* uklad = new QVBoxLayout(this);
    auto* f = new QFormLayout;
    E_Krok = Pole(this, "E_Krok", 0.1, 1000, 2, u.Krok, QStringLiteral("m"));
    E_Oko = Pole(this, "E_Oko", 0, 100, 2, u.WysokoscOka, QStringLiteral("m"));
    E_Cel = Pole(this, "E_Cel", 0, 100, 2, u.WysokoscCelu, QStringLiteral("m"));
    E_Przesuniecie = Pole(this, "E_Przesuniecie", -100, 100, 2, u.Przesuniecie, QStringLiteral("m"));
    E_Predkosc = Pole(this, "E_Predkosc", 0, 300, 1, u.Predkosc, QStringLiteral("km/h"));
    E_Predkosc->setSpecialValueText(QStringLiteral("z parametrów projektowych"));
    E_Zasieg = Pole(this, "E_Zasieg", 1, 5000, 1, u.Zasieg, QStringLiteral("m"));
    E_CzasReakcji = Pole(this, "E_CzasReakcji", 0, 10, 2, u.CzasReakcji, QStringLiteral("s"));
    E_Opoznienie = Pole(this, "E_Opoznienie", 0.1, 20, 2, u.Opoznienie, QStringLiteral("m/s²"));
    CB_Kierunek = new QComboBox(this);
    CB_Kierunek->setObjectName(QStringLiteral("CB_Kierunek"));
    CB_Kierunek->addItems({QStringLiteral("oba"), QStringLiteral("naprzód (+)"), QStringLiteral("wstecz (−)")});
    CB_Kierunek->setCurrentIndex(u.Naprzod && u.Wstecz ? 0 : (u.Naprzod ? 1 : 2));
    f->addRow(QStringLiteral("Odstęp pikiet:"), E_Krok);
    f->addRow(QStringLiteral("Wysokość oka:"), E_Oko);
    f->addRow(QStringLiteral("Wysokość celu (przedmiotu na drodze):"), E_Cel);
    f->addRow(QStringLiteral("Odsunięcie w prawo od kierunku jazdy:"), E_Przesuniecie);
    f->addRow(QStringLiteral("Prędkość:"), E_Predkosc);
    f->addRow(QStringLiteral("Zasięg:"), E_Zasieg);
    f->addRow(QStringLiteral("Czas reakcji:"), E_CzasReakcji);
    f->addRow(QStringLiteral("Opóźnienie hamowania:"), E_Opoznienie);
    f->addRow(QStringLiteral("Kierunki jazdy:"), CB_Kierunek);
    uklad->addLayout(f);
    CB_Pas = new QCheckBox(QStringLiteral("Zaznaczaj odcinki niespełniające czerwonym pasem na drodze"), this);
    CB_Pas->setObjectName(QStringLiteral("CB_Pas"));
    CB_Pas->setChecked(pas);
    uklad->addWidget(CB_Pas);
    auto* przyciski = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    przyciski->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Sprawdź"));
    przyciski->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Anuluj"));
    connect(przyciski, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(przyciski, &QDialogButtonBox::rejected, this, &QDialog::reject);
    uklad->addWidget(przyciski);
}

TUstawieniaWidocznosci TDialogWidocznosci::Ustawienia() const {
    TUstawieniaWidocznosci u;
    u.Krok = E_Krok->value();
    u.WysokoscOka = E_Oko->value();
    u.WysokoscCelu = E_Cel->value();
    u.Przesuniecie = E_Przesuniecie->value();
    u.Predkosc = E_Predkosc->value();
    u.Zasieg = E_Zasieg->value();
    u.CzasReakcji = E_CzasReakcji->value();
    u.Opoznienie = E_Opoznienie->value();
    u.Naprzod = CB_Kierunek->currentIndex() != 2;
    u.Wstecz = CB_Kierunek->currentIndex() != 1;
    return u;
}

bool TDialogWidocznosci::Pas() const { return CB_Pas->isChecked(); }

// ---------------------------------------------------------------------------

TWidocznoscOkna::TWidocznoscOkna(QWidget* okno) : QObject(okno), okno_(okno) {}

TWidocznoscOkna::~TWidocznoscOkna() = default;

void TWidocznoscOkna::Sprawdz() {
    TUstawieniaWidocznosci u = Ustawienia;
    bool pas = ZaznaczajPas;
    if (PytajOUstawienia) {
        if (!PytajOUstawienia(u, pas)) return;
    } else {
        TDialogWidocznosci d(u, pas, okno_);
        if (d.exec() != QDialog::Accepted) return;
        u = d.Ustawienia();
        pas = d.Pas();
    }
    // The settings are kept even when the run is stopped: the next run starts from them.
    Ustawienia = u;
    ZaznaczajPas = pas;
    if (!Trasa.Obliczona) {
        if (PokazBlad) PokazBlad(QStringLiteral("Trasa nie jest obliczona: widoczność sprawdza się wzdłuż trasy."));
        return;
    }
    std::optional<std::vector<TWierszWidocznosci>> w = Uruchom(u);
    if (!w) return;
    PokazWyniki(std::move(*w));
}

std::optional<std::vector<TWierszWidocznosci>> TWidocznoscOkna::Uruchom(const TUstawieniaWidocznosci& u) {
    // What the worker shares with this thread: counters, the stop flag, the outcome.
    struct TWspolne {
        std::atomic<std::int64_t> Zrobione{0}, Wszystkie{0};
        std::atomic<bool> Przerwij{false};
        std::optional<std::vector<TWierszWidocznosci>> Wynik;
        std::string Blad;
    };
    auto wspolne = std::make_shared<TWspolne>();
    // The worker keeps the indices it starts with, whatever a load puts in
    // their place meanwhile; taking them builds them when they wait.
    TIndeksyWysokosci ix;
    try {
        ix = IndeksyWysokosci();
    } catch (const std::exception& e) {
        if (PokazBlad) PokazBlad(QString::fromUtf8(e.what()));
        return std::nullopt;
    }
    QThread* watek = QThread::create([wspolne, u, ix] {
        try {
            wspolne->Wynik = ObliczWidocznosc(
                u, *ix.PROJ, *ix.TEREN,
                [wspolne](std::int64_t z, std::int64_t c) {
                    wspolne->Zrobione = z;
                    wspolne->Wszystkie = c;
                },
                &wspolne->Przerwij);
        } catch (const std::exception& e) {
            wspolne->Blad = e.what();
        }
    });
    watek->setObjectName(QStringLiteral("WatekWidocznosci"));

    QProgressDialog postep(okno_);
    postep.setObjectName(QStringLiteral("PostepWidocznosci"));
    postep.setWindowTitle(QStringLiteral("Orvany3D"));
    postep.setLabelText(QStringLiteral("Sprawdzanie widoczności na zatrzymanie…"));
    postep.setCancelButtonText(QStringLiteral("Przerwij"));
    postep.setRange(0, 1000);
    postep.setAutoReset(false);
    postep.setAutoClose(false);
    postep.setMinimumDuration(0);
    postep.setWindowModality(Qt::WindowModal);

    QEventLoop petla;
    QTimer zegar;
    zegar.setInterval(50);
    connect(&zegar, &QTimer::timeout, &postep, [&] {
        if (postep.wasCanceled()) wspolne->Przerwij = true;
        const std::int64_t c = wspolne->Wszystkie.load();
        if (c > 0) postep.setValue(static_cast<int>(1000 * wspolne->Zrobione.load() / c));
    });
    const QMetaObject::Connection przerwanie = connect(&postep, &QProgressDialog::canceled, &postep, [&] {
        wspolne->Przerwij = true;
        postep.setLabelText(QStringLiteral("Przerywanie…"));
    });
    connect(watek, &QThread::finished, &petla, &QEventLoop::quit);
    // Showing the window already answers events, "Przerwij" among them.
    postep.setValue(0);
    if (postep.wasCanceled()) wspolne->Przerwij = true;
    zegar.start();
    watek->start();
    // The window keeps drawing and answering while the worker runs; the
    // progress window (modal to it) keeps the scene from changing meanwhile.
    petla.exec();
    watek->wait();
    delete watek;
    zegar.stop();
    // Closing the progress window counts as "Przerwij" for it: no longer listened to.
    disconnect(przerwanie);
    postep.close();

    if (!wspolne->Blad.empty()) {
        if (PokazBlad) PokazBlad(QString::fromStdString(wspolne->Blad));
        return std::nullopt;
    }
    if (wspolne->Przerwij.load() || !wspolne->Wynik) return std::nullopt;
    return std::move(wspolne->Wynik);
}

void TWidocznoscOkna::PokazWyniki(std::vector<TWierszWidocznosci> wiersze) {
    Wiersze = std::move(wiersze);
    UstawPas(ZaznaczajPas);
    if (PokazWykres) PokazWykres(Wiersze, ZaznaczajPas);
    if (PokazRaport) PokazRaport(RaportWidocznosci(Wiersze, Ustawienia, Trasa.PikStart));
}

void TWidocznoscOkna::UstawPas(bool pas) {
    ZaznaczajPas = pas;
    std::vector<std::int32_t> trojkaty;
    if (pas && !Wiersze.empty())
        trojkaty = TrojkatyOdcinkow(OdcinkiNiespelniajace(Wiersze), Ustawienia.Krok, Ustawienia.Przesuniecie,
                                    *IndeksyWysokosci().PROJ);
    if (trojkaty == WyroznionePROJ) return;
    WyroznionePROJ = std::move(trojkaty);
    if (OdswiezWidok) OdswiezWidok();
}

void TWidocznoscOkna::Porzuc() {
    Wiersze.clear();
    WyroznionePROJ.clear();
    if (PokazWykres) PokazWykres({}, ZaznaczajPas);
}
