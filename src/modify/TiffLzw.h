#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tuji {

// One strip of TIFF LZW data (codes of 9 to 12 bits, most significant bit
// first, "early change" of the code width, a clear code at the start and when
// the table is full, an end code last), as every TIFF reader decodes it.
// Appends to *out.
void AppendTiffLzw(const std::uint8_t* data, std::size_t size, std::string* out);

} // namespace tuji
