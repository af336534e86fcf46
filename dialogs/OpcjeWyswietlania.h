// The display options dialog.
#pragma once

#include <QDialog>

class TOpcje : public QDialog {
    Q_OBJECT
public:
    explicit TOpcje(QWidget* rodzic = nullptr);
};

extern TOpcje* Opcje;
