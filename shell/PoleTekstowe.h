// The text viewer: reports and route messages, shown modally, copied to the clipboard.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>

class TOpis : public QDialog {
    Q_OBJECT
public:
    explicit TOpis(QWidget* rodzic = nullptr);

    // Puts the lines of OpisTekst into Tekst (done on every show).
    void WczytajTekst();

    QPlainTextEdit* Tekst = nullptr;
    QPushButton* Button1 = nullptr;
    QCheckBox* CB_Zamknij = nullptr;
    QPushButton* B_Powrot = nullptr;

public slots:
    void Button1Click();
    void B_PowrotClick();

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* obiekt, QEvent* e) override;

private:
    void FormCreate();
    // Escape in the text area closes the viewer; other keys edit as usual.
    bool TekstKeyDown(int kod);
};

extern TOpis* Opis;
