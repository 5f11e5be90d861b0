#pragma once

// The one place where program text meets other encodings.
//
// Program text is a std::string of GB18030 bytes: GBK for every GBK
// character, the four-byte form for the rest, so nothing is lost. Widgets,
// file-system calls, URLs and the regular-expression engine want UTF-8 or
// QString; they get it from here and nowhere else.

#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace tuji {

// All-or-nothing conversion between two iconv encodings.
std::optional<std::string> ConvertEncoding(std::string_view bytes, const char* from,
                                           const char* to);

std::optional<std::string> Utf8ToText(std::string_view utf8);
std::optional<std::string> TextToUtf8(std::string_view text);

// For display and file names: bytes that are not GB18030 become U+FFFD.
std::string TextToUtf8Lenient(std::string_view text);
// For input from the user or the file system: an unpaired surrogate
// (the only thing GB18030 cannot hold) becomes "?".
std::string Utf8ToTextLenient(std::string_view utf8);

QString ToQString(std::string_view text); // lenient
std::optional<QString> ToQStringStrict(std::string_view text);
std::string FromQString(const QString& s); // lossless

// A UTF-8 source literal as program text: T("保存完毕！").
std::string T(std::string_view utf8Literal);

// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view bytes);

} // namespace tuji
