#include "collect/ScriptUnescape.h"

#include "text/Encoding.h"
#include "text/TextOps.h"

#include <QString>

namespace tuji {

namespace {

// The placeholders keep line breaks and apostrophes out of the script
// string literal the text becomes.
const char* const kLineBreakPlaceholder = "{$}";
const QChar kApostrophePlaceholder(0x2019); // ’

int HexValue(QChar c) {
    ushort u = c.unicode();
    if (u >= '0' && u <= '9') return u - '0';
    if (u >= 'a' && u <= 'f') return u - 'a' + 10;
    if (u >= 'A' && u <= 'F') return u - 'A' + 10;
    return -1;
}

// The value of `count` hexadecimal digits at s[i], or -1.
int HexAt(const QString& s, int i, int count) {
    if (i + count > s.size()) return -1;
    int value = 0;
    for (int k = 0; k < count; ++k) {
        int d = HexValue(s[i + k]);
        if (d < 0) return -1;
        value = value * 16 + d;
    }
    return value;
}

bool IsOctal(QChar c) {
    return c >= QChar('0') && c <= QChar('7');
}

// The escapes of a script string literal.
QString DecodeStringLiteral(const QString& s) {
    QString out;
    out.reserve(s.size());
    for (int i = 0; i < s.size(); ++i) {
        QChar c = s[i];
        if (c != QChar('\\') || i + 1 >= s.size()) {
            out += c; // a lone backslash at the end stays as it is
            continue;
        }
        QChar e = s[++i];
        switch (e.unicode()) {
        case 'b':
            out += QChar(0x08);
            break;
        case 'f':
            out += QChar(0x0C);
            break;
        case 'n':
            out += QChar(0x0A);
            break;
        case 'r':
            out += QChar(0x0D);
            break;
        case 't':
            out += QChar(0x09);
            break;
        case 'v':
            out += QChar(0x0B);
            break;
        case '\n':
            break; // a line continuation
        case '\r':
            if (i + 1 < s.size() && s[i + 1] == QChar('\n')) ++i;
            break;
        case 'x': {
            int v = HexAt(s, i + 1, 2);
            if (v < 0) {
                out += e;
            } else {
                out += QChar(v);
                i += 2;
            }
            break;
        }
        case 'u': {
            int v = HexAt(s, i + 1, 4);
            if (v < 0) {
                out += e;
            } else {
                out += QChar(ushort(v));
                i += 4;
            }
            break;
        }
        default:
            if (IsOctal(e)) {
                // Up to three octal digits, at most \377.
                int v = e.unicode() - '0';
                int digits = 1, maxDigits = v <= 3 ? 3 : 2;
                while (digits < maxDigits && i + 1 < s.size() && IsOctal(s[i + 1])) {
                    v = v * 8 + (s[++i].unicode() - '0');
                    ++digits;
                }
                out += QChar(ushort(v));
            } else {
                out += e; // \' \" \\ \/ and every other character stand for themselves
            }
        }
    }
    return out;
}

// The script language's unescape: %uXXXX and %XX; any other % stays.
QString Unescape(const QString& s) {
    QString out;
    out.reserve(s.size());
    for (int i = 0; i < s.size(); ++i) {
        if (s[i] == QChar('%')) {
            if (i + 1 < s.size() && s[i + 1] == QChar('u')) {
                int v = HexAt(s, i + 2, 4);
                if (v >= 0) {
                    out += QChar(ushort(v));
                    i += 5;
                    continue;
                }
            }
            int v = HexAt(s, i + 1, 2);
            if (v >= 0) {
                out += QChar(ushort(v));
                i += 2;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

} // namespace

std::string ScriptUnescape(std::string_view text) {
    std::string s = ReplaceText(text, "\r\n", kLineBreakPlaceholder);
    if (!s.empty() && s[0] == '\r') s.erase(0, 1);
    s = ReplaceText(s, "\\u", "%u");
    QString q = ToQString(s);
    q.replace(QChar('\''), kApostrophePlaceholder);
    q = Unescape(DecodeStringLiteral(q));
    q.replace(kApostrophePlaceholder, QChar('\''));
    q.replace(QString::fromLatin1(kLineBreakPlaceholder), QStringLiteral("\r\n"));
    return FromQString(q);
}

} // namespace tuji
