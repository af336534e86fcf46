// Elevation grids opened in the window: the small dialog of the thinning
// (tolerance, the corridor around the loaded route, the XYZ column order and
// the coordinate systems), and the reading and thinning in a worker thread
// under a progress window with "Przerwij". The picture changes only when the
// TIN is ready (PrzyjmijNMT on the window's thread).
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QSpinBox>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "scena/Scena.h"

class TDialogNMT : public QDialog {
    Q_OBJECT
public:
    // `jestTrasa`: a route is loaded (the corridor can be asked for).
    TDialogNMT(const TOpcjeNMT& o, bool jestTrasa, QWidget* rodzic = nullptr);
    // The options as set (Pas 0 when the corridor is off; Os left empty).
    TOpcjeNMT Opcje() const;

    QDoubleSpinBox *E_Tolerancja = nullptr, *E_Pas = nullptr;
    QCheckBox *CB_Pas = nullptr, *CB_ZamienXY = nullptr;
    QSpinBox *E_UkladPliku = nullptr, *E_Uklad = nullptr;
};

// Reads and thins the grids in a worker thread under a progress window; the
// terrain, or none when stopped or failed (the error given to `pokazBlad`).
// `opcje` already carries the scene's part (OpcjeNMTSceny).
std::optional<TTerenNMT> WczytajNMTWTle(QWidget* okno, const std::vector<std::string>& pliki, const TOpcjeNMT& opcje,
                                        const std::function<void(const QString&)>& pokazBlad);
