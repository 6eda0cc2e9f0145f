#include "platform/qt/dialog_units.h"

#include <QFontMetrics>

#include <cstdint>
#include <cstdlib>
#include <limits>

namespace zarven::qt {

int MulDiv(int a, int b, int c) {
    if (c == 0) {
        return -1;
    }
    // Round the magnitude half up, then restore the sign: half away from zero. |a × b| <= 2^62.
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t divisor = c;
    const std::int64_t magnitude = (std::abs(product) + std::abs(divisor) / 2) / std::abs(divisor);
    const std::int64_t result = (product < 0) != (divisor < 0) ? -magnitude : magnitude;
    if (result > std::numeric_limits<int>::max() || result < std::numeric_limits<int>::min()) {
        return -1;
    }
    return static_cast<int>(result);
}

DialogBaseUnits BaseUnitsOf(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(letters / 26 + 1) / 2, metrics.height()};
}

QRect DialogUnitsToPixels(const DialogBaseUnits& units, int x, int y, int cx, int cy) {
    return {MulDiv(x, units.x, 4), MulDiv(y, units.y, 8), MulDiv(cx, units.x, 4),
            MulDiv(cy, units.y, 8)};
}

QRect ControlRectInPixels(const DialogBaseUnits& units, const DialogControl& control) {
    return DialogUnitsToPixels(units, control.x, control.y, control.cx, control.cy);
}

}  // namespace zarven::qt
