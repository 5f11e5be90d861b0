#pragma once

#include <QImage>
#include <string>

namespace tuji {

// A single-frame GIF of the picture with a palette of up to 256 colours fitted
// to it (and a transparent entry when the picture has see-through pixels).
// Empty bytes when the picture is null or encoding fails.
std::string EncodeGif(const QImage& image);

} // namespace tuji
