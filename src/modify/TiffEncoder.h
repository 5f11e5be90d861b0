#pragma once

#include <QImage>
#include <string>

namespace tuji {

// A single-page TIFF of the picture, compressed losslessly (LZW with the
// horizontal predictor, which every TIFF reader understands): 8-bit RGB for
// opaque pictures, RGB with unassociated alpha for see-through ones, one grey
// channel for grey pictures. Empty bytes when the picture is null or encoding
// fails.
std::string EncodeTiff(const QImage& image);

} // namespace tuji
