#include "web/PageText.h"

#include "app/Paths.h"
#include "app/TextHelpers.h"
#include "text/Encoding.h"
#include "text/Iconv.h"
#include "text/TextOps.h"

#include <QFile>
#include <string_view>

namespace tuji {

namespace {

// Charset declarations; two apostrophes stand for one double quote.
// Big5-HKSCS comes before Big5, which it contains.
struct MetaList {
    int metaCode;
    const char* alternatives;
    int encoding;
};
const MetaList kMetaLists[] = {
    {1, "charset=UTF-8[fg]charset=''UTF-8''[fg]charset='UTF-8'", kEncodingUtf8},
    {3, "charset=Big5-HKSCS[fg]charset=''Big5-HKSCS''[fg]charset='Big5-HKSCS'", kEncodingBig5Hkscs},
    {2, "charset=Big5[fg]charset=''Big5''[fg]charset='Big5'", kEncodingBig5},
};

const char* ConversionName(int code) {
    switch (code) {
    case kEncodingUtf8:
        return "UTF-8";
    case kEncodingUtf16Le:
        return "UTF-16LE";
    case kEncodingUtf16Be:
        return "UTF-16BE";
    case kEncodingBig5:
        return "BIG5";
    case kEncodingBig5Hkscs:
        return "BIG5-HKSCS";
    default:
        return nullptr;
    }
}

bool StartsWithBytes(std::string_view data, size_t pos, std::string_view mark) {
    return data.size() >= pos + mark.size() && data.substr(pos, mark.size()) == mark;
}

const std::string_view kUtf8Bom("\xEF\xBB\xBF", 3);
const std::string_view kUtf16LeBom("\xFF\xFE", 2);
const std::string_view kUtf16BeBom("\xFE\xFF", 2);

std::string Strict(std::string_view bytes, const char* from) {
    auto converted = ConvertEncoding(bytes, from, "GB18030");
    return converted ? std::string(TextBeforeZero(*converted)) : std::string();
}

} // namespace

bool MatchesAnyAlternative(const std::string& text, const std::string& alternatives, bool any) {
    const auto pieces = SplitText(alternatives, "[fg]");
    if (pieces.empty()) return !any;
    for (const auto& piece : pieces) {
        bool found = ContainsText(text, piece, Case::Ignore);
        if (any && found) return true;
        if (!any && !found) return false;
    }
    return !any;
}

bool DetectMetaCharset(const std::string& pageText, int* metaCode) {
    if (metaCode) *metaCode = 0;
    std::string head = TextBetween(pageText, "<head>", "</head>");
    if (head.empty()) head = pageText;
    int cursor = 1;
    for (;;) {
        std::string tag = TextBetween(head, "<meta", ">", &cursor);
        if (tag.empty()) return false;
        for (const auto& list : kMetaLists) {
            if (MatchesAnyAlternative(tag, ApostrophesToQuotes(list.alternatives), true)) {
                if (metaCode) *metaCode = list.metaCode;
                return true;
            }
        }
    }
}

std::string Utf8ToAnsi(const std::string& bytes) {
    return std::string(TextBeforeZero(Utf8ToTextLenient(bytes)));
}

std::string WideToAnsi(const std::string& bytes, bool bigEndian) {
    std::u16string wide;
    wide.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        auto b0 = static_cast<unsigned char>(bytes[i]);
        auto b1 = static_cast<unsigned char>(bytes[i + 1]);
        char16_t unit = bigEndian ? char16_t(b0 << 8 | b1) : char16_t(b1 << 8 | b0);
        if (unit == 0) break;
        wide += unit;
    }
    // Unpaired surrogates become "?" on the way through QString.
    return FromQString(QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size())));
}

std::string Big5ToGbk(const std::string& text) {
    // Code page 950 is Big5 with the vendor additions the strict "BIG5"
    // table lacks; GB18030 holds every character it yields, so nothing is
    // cut. A pair it does not know becomes "?".
    Iconv cp950("GB18030", "CP950");
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        auto lead = static_cast<unsigned char>(text[i]);
        if (lead == 0) break;
        if (lead < 0x80) {
            out += text[i++];
            continue;
        }
        if (i + 1 < text.size() && lead >= 0x81 && lead <= 0xFE) {
            std::optional<std::string> one;
            if (cp950.valid()) one = cp950.convert(std::string_view(text).substr(i, 2));
            if (one && !one->empty()) {
                out += *one;
                i += 2;
                continue;
            }
        }
        out += '?';
        i += (i + 1 < text.size() && lead >= 0x81 && lead <= 0xFE) ? 2 : 1;
    }
    return out;
}

std::string DecodePageText(const std::string& fileName, int requested, int* detected,
                           std::string* decoded, const std::string& inputBytes,
                           const std::string& inputText) {
    std::string fileBytes;
    if (!fileName.empty()) {
        QFile file(FsPath(fileName));
        if (!file.open(QIODevice::ReadOnly)) {
            if (decoded) decoded->clear();
            return {};
        }
        QByteArray all = file.readAll();
        fileBytes.assign(all.constData(), static_cast<size_t>(all.size()));
    }
    const std::string_view data = !fileName.empty()     ? std::string_view(fileBytes)
                                  : !inputBytes.empty() ? std::string_view(inputBytes)
                                                        : std::string_view(inputText);

    int code = requested;
    size_t pos = 0;
    switch (requested) {
    case kEncodingDetect: {
        int meta = 0;
        if (StartsWithBytes(data, 0, kUtf8Bom)) {
            code = kEncodingUtf8;
            pos = 3;
        } else if (StartsWithBytes(data, 0, kUtf16LeBom)) {
            code = kEncodingUtf16Le;
            pos = 2;
        } else if (StartsWithBytes(data, 0, kUtf16BeBom)) {
            code = kEncodingUtf16Be;
            pos = 2;
        } else if (DetectMetaCharset(std::string(TextBeforeZero(data)), &meta)) {
            code = meta == 1 ? kEncodingUtf8 : meta == 2 ? kEncodingBig5 : kEncodingBig5Hkscs;
            if (code == kEncodingUtf8 && StartsWithBytes(data, 0, kUtf8Bom)) pos = 3;
        } else {
            code = kEncodingProgram;
        }
        break;
    }
    case kEncodingUtf16Le:
    case kEncodingUtf16Be:
        pos = std::min<size_t>(2, data.size());
        break;
    case kEncodingUtf8:
        pos = StartsWithBytes(data, 0, kUtf8Bom) ? 3 : 0;
        break;
    default:
        break;
    }

    const std::string rest(data.substr(pos));
    std::string text;
    if (const char* name = ConversionName(code)) {
        text = Strict(rest, name);
        if (text.empty()) {
            switch (code) {
            case kEncodingUtf8:
                text = Utf8ToAnsi(rest);
                break;
            case kEncodingUtf16Le:
                text = WideToAnsi(rest, false);
                break;
            // Read in its own byte order: as little-endian it would be noise.
            case kEncodingUtf16Be:
                text = WideToAnsi(rest, true);
                break;
            default:
                text = Big5ToGbk(rest);
                break;
            }
        }
    } else {
        text = Strict(rest, "UTF-8");
        if (!text.empty() && text.size() < rest.size()) code = kEncodingUtf8;
    }
    if (text.empty()) {
        text = std::string(TextBeforeZero(data));
        code = kEncodingProgram;
    }
    if (detected) *detected = code;
    if (decoded) *decoded = text;
    return text;
}

} // namespace tuji
