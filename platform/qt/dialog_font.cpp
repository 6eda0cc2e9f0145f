#include "platform/qt/dialog_font.h"

#include "platform/qt/dialog_units.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QScreen>

#include <cstdlib>
#include <limits>

namespace zarven::qt {
namespace {

// Sans faces tried in order of preference when the template's face is missing.
constexpr const char* kStandIns[] = {"DejaVu Sans Condensed", "Liberation Sans", "DejaVu Sans"};

bool IsInstalled(const QString& family) {
    return QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

DialogBaseUnits ClassicBaseUnits(int pointSize) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen != nullptr ? screen->logicalDotsPerInchY() : 96.0;
    const double scale = pointSize / 8.0 * dpi / 96.0;
    return {static_cast<int>(6 * scale + 0.5), static_cast<int>(13 * scale + 0.5)};
}

int Distance(const DialogBaseUnits& a, const DialogBaseUnits& b) {
    return std::abs(a.x - b.x) + std::abs(a.y - b.y);
}

}  // namespace

QFont DialogFont(const char* face, int pointSize) {
    const QString requested = QString::fromUtf8(face != nullptr ? face : "");
    if (!requested.isEmpty() && IsInstalled(requested)) {
        return QFont(requested, pointSize);
    }
    QStringList candidates;
    for (const char* standIn : kStandIns) {
        candidates << QString::fromUtf8(standIn);
    }
    candidates << QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();

    const DialogBaseUnits target = ClassicBaseUnits(pointSize);
    QFont best(candidates.back(), pointSize);
    int bestDistance = std::numeric_limits<int>::max();
    for (const QString& family : candidates) {
        if (!IsInstalled(family)) {
            continue;
        }
        const QFont candidate(family, pointSize);
        const int distance = Distance(BaseUnitsOf(candidate), target);
        if (distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best;
}

}  // namespace zarven::qt
