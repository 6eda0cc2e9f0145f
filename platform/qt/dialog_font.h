// The font a dialog template asks for, or the closest installed stand-in.
#pragma once

#include <QFont>

namespace zarven::qt {

// The template's face when it is installed. Otherwise an installed sans font of the same point
// size whose dialog base units come closest to the classic 6 × 13 pixels of an 8-point dialog
// (scaled with the point size and the screen's logical resolution), so that layouts made for
// the classic font keep their proportions and their texts fit.
QFont DialogFont(const char* face, int pointSize);

}  // namespace zarven::qt
