#pragma once

// Turning the bytes of a web page (or file) into program text: the
// encoding comes from a byte-order mark, a meta charset declaration, or a
// UTF-8 trial; conversions that fail fall back to lenient ones and finally
// to the raw bytes.

#include <string>

namespace tuji {

// Encoding codes, requested and detected.
enum PageEncoding {
    kEncodingDetect = 0,   // request only
    kEncodingProgram = 1,  // the program's own text, no conversion
    kEncodingUtf8 = 2,     // BOM EF BB BF
    kEncodingUtf16Le = 3,  // BOM FF FE
    kEncodingUtf16Be = 4,  // BOM FE FF
    kEncodingBig5 = 5,     //
    kEncodingBig5Hkscs = 6 //
};

// The input is the file `fileName` when it is not empty, else `inputBytes`,
// or `inputText` when those are empty. Returns the decoded text (also put
// in *decoded); *detected receives the encoding found. A file that cannot
// be read gives "".
std::string DecodePageText(const std::string& fileName = "", int requested = kEncodingDetect,
                           int* detected = nullptr, std::string* decoded = nullptr,
                           const std::string& inputBytes = "", const std::string& inputText = "");

// Looks through the <meta> tags of the page's head for a charset of UTF-8
// (meta code 1), Big5-HKSCS (3) or Big5 (2); false and 0 when none.
bool DetectMetaCharset(const std::string& pageText, int* metaCode);

// `alternatives` separated by "[fg]": true when the text contains one of
// them (any) or all of them (!any), ignoring the case of ASCII letters.
bool MatchesAnyAlternative(const std::string& text, const std::string& alternatives,
                           bool any = true);

// Lenient conversions, used when a strict one fails: malformed sequences
// become U+FFFD (UTF-8) or "?" (UTF-16, Big5), never a cut.
std::string Utf8ToAnsi(const std::string& bytes);
// UTF-16 up to the end or the first zero character.
std::string WideToAnsi(const std::string& bytes, bool bigEndian = false);
std::string Big5ToGbk(const std::string& text);

} // namespace tuji
