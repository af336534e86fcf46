// Small pieces shared by the main window's files: the busy cursor, text
// conversions and the slider's whole metres.
#pragma once

#include <QApplication>
#include <QFile>
#include <QString>

#include <algorithm>
#include <cmath>
#include <string>

namespace okno {

// A busy cursor while a handler works: loading, placing and drawing block the
// window until they end. Nested handlers stack their cursors.
class TZajety {
public:
    TZajety() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TZajety() { QApplication::restoreOverrideCursor(); }
    TZajety(const TZajety&) = delete;
    TZajety& operator=(const TZajety&) = delete;
};

inline QString Q(const std::string& s) { return QString::fromStdString(s); }

// Whole metres of a chainage for the slider (the fraction dropped towards zero),
// held inside the range a slider can take.
inline int Obetnij(double v) {
    if (!(v == v)) return 0;
    const double w = std::trunc(v);
    constexpr double granica = 1.0e9;
    return static_cast<int>(std::clamp(w, -granica, granica));
}

// A file name as the core takes it: in the local 8-bit encoding.
inline std::string Lokalna(const QString& nazwa) { return QFile::encodeName(nazwa).toStdString(); }

}  // namespace okno
