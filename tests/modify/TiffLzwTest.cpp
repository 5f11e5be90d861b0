#include "modify/TiffLzw.h"

#include "text/Encoding.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>
#include <tiffio.h>
#include <vector>

namespace tuji {
namespace {

// libtiff's own LZW strip for the bytes, written as a one-row grey TIFF and
// read back raw.
std::string LibtiffLzw(const std::vector<std::uint8_t>& bytes, const std::string& path) {
    TIFF* out = TIFFOpen(path.c_str(), "w");
    if (!out) return {};
    TIFFSetField(out, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(bytes.size()));
    TIFFSetField(out, TIFFTAG_IMAGELENGTH, 1);
    TIFFSetField(out, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(out, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(out, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    TIFFSetField(out, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    TIFFSetField(out, TIFFTAG_ROWSPERSTRIP, 1);
    TIFFWriteEncodedStrip(out, 0, const_cast<std::uint8_t*>(bytes.data()),
                          static_cast<tmsize_t>(bytes.size()));
    TIFFClose(out);
    TIFF* in = TIFFOpen(path.c_str(), "r");
    if (!in) return {};
    std::string raw(static_cast<size_t>(TIFFRawStripSize(in, 0)), '\0');
    TIFFReadRawStrip(in, 0, raw.data(), static_cast<tmsize_t>(raw.size()));
    TIFFClose(in);
    return raw;
}

// Every length of one noisy buffer, so that the last code falls on each change
// of the code width (9 to 12 bits) and on the full table, and the end code
// follows at the width a strict reader expects: the same bytes as libtiff's
// encoder writes (it clears its table early only past 10,000 input bytes).
TEST(TiffLzw, SameCodesAsLibtiffAtEveryLength) {
    QTemporaryDir dir;
    const std::string path = FromQString(dir.filePath("strip.tiff"));
    std::mt19937 random(7);
    std::vector<std::uint8_t> noise(4400);
    for (std::uint8_t& b : noise)
        b = static_cast<std::uint8_t>(random());
    int differing = 0, first = 0;
    for (size_t length = 1; length <= noise.size(); ++length) {
        const std::vector<std::uint8_t> bytes(noise.begin(), noise.begin() + length);
        std::string ours;
        AppendTiffLzw(bytes.data(), bytes.size(), &ours);
        if (ours != LibtiffLzw(bytes, path) && !differing++) first = static_cast<int>(length);
    }
    EXPECT_EQ(differing, 0) << "first at length " << first;
}

TEST(TiffLzw, LongRunsAsLibtiffWritesThem) {
    QTemporaryDir dir;
    const std::string path = FromQString(dir.filePath("strip.tiff"));
    for (size_t length : {size_t{1}, size_t{2}, size_t{3}, size_t{300}, size_t{9000}}) {
        const std::vector<std::uint8_t> bytes(length, 42);
        std::string ours;
        AppendTiffLzw(bytes.data(), bytes.size(), &ours);
        EXPECT_EQ(ours, LibtiffLzw(bytes, path)) << length;
    }
}

} // namespace
} // namespace tuji
