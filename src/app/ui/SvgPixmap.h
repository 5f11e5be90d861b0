#pragma once

#include <QPixmap>

namespace tuji {

// One of the program's own pictures (images/NAME in the resources) drawn at
// `size` for a screen of the given pixel ratio.
QPixmap SvgPixmap(const char* name, QSize size, qreal pixelRatio);

} // namespace tuji
