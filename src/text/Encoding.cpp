#include "text/Encoding.h"

#include "text/Iconv.h"

namespace tuji {

std::optional<std::string> ConvertEncoding(std::string_view bytes, const char* from,
                                           const char* to) {
    if (bytes.empty()) return std::string();
    Iconv cd(to, from);
    return cd.convert(bytes);
}

std::optional<std::string> Utf8ToText(std::string_view utf8) {
    return ConvertEncoding(utf8, "UTF-8", "GB18030");
}

std::optional<std::string> TextToUtf8(std::string_view text) {
    return ConvertEncoding(text, "GB18030", "UTF-8");
}

namespace {

// Byte length of the GB18030 character that starts at text[i]; 0 when the
// bytes there are not a valid character.
size_t Gb18030CharLength(std::string_view text, size_t i) {
    auto b = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    unsigned char lead = b(i);
    if (lead < 0x80) return 1;
    if (lead == 0x80 || lead == 0xFF || i + 1 >= text.size()) return 0;
    unsigned char second = b(i + 1);
    if (second >= 0x30 && second <= 0x39) {
        if (i + 3 >= text.size()) return 0;
        unsigned char third = b(i + 2), fourth = b(i + 3);
        if (third < 0x81 || third > 0xFE || fourth < 0x30 || fourth > 0x39) return 0;
        return 4;
    }
    if (second < 0x40 || second == 0x7F || second == 0xFF) return 0;
    return 2;
}

} // namespace

std::string TextToUtf8Lenient(std::string_view text) {
    if (auto whole = TextToUtf8(text)) return *whole;
    // Convert character by character; what iconv refuses becomes U+FFFD.
    static constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
    std::string out;
    out.reserve(text.size() * 3 / 2);
    Iconv cd("UTF-8", "GB18030");
    size_t i = 0;
    while (i < text.size()) {
        size_t n = Gb18030CharLength(text, i);
        if (n == 1) {
            out += text[i];
        } else if (n > 1) {
            if (auto c = cd.convert(text.substr(i, n)))
                out += *c;
            else
                out += kReplacement;
        } else {
            out += kReplacement;
            n = 1;
        }
        i += n;
    }
    return out;
}

std::string Utf8ToTextLenient(std::string_view utf8) {
    if (auto whole = Utf8ToText(utf8)) return *whole;
    return FromQString(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

QString ToQString(std::string_view text) {
    std::string utf8 = TextToUtf8Lenient(text);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::optional<QString> ToQStringStrict(std::string_view text) {
    auto utf8 = TextToUtf8(text);
    if (!utf8) return std::nullopt;
    return QString::fromUtf8(utf8->data(), static_cast<qsizetype>(utf8->size()));
}

std::string FromQString(const QString& s) {
    // Unpaired surrogates cannot be encoded; QString::toUtf8 turns them into
    // U+FFFD, which GB18030 holds, so this never fails.
    QByteArray utf8 = s.toUtf8();
    auto text = Utf8ToText(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
    return text ? *text : std::string();
}

std::string T(std::string_view utf8Literal) {
    auto text = Utf8ToText(utf8Literal);
    return text ? *text : std::string(utf8Literal);
}

bool IsValidUtf8(std::string_view s) {
    size_t i = 0, n = s.size();
    auto b = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    while (i < n) {
        unsigned char c = b(i);
        if (c < 0x80) {
            ++i;
            continue;
        }
        size_t len;
        unsigned min;
        unsigned cp;
        if ((c & 0xE0) == 0xC0) {
            len = 2, min = 0x80, cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3, min = 0x800, cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            len = 4, min = 0x10000, cp = c & 0x07;
        } else {
            return false;
        }
        if (i + len > n) return false;
        for (size_t k = 1; k < len; ++k) {
            if ((b(i + k) & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (b(i + k) & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += len;
    }
    return true;
}

} // namespace tuji
