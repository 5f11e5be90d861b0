#pragma once

// How an image reference captured from an article becomes a download
// address. References are raw article bytes: UTF-8 in most articles today,
// GBK or another double-byte encoding in older ones.

#include <optional>
#include <string>
#include <string_view>

namespace tuji {

// The reference without leading and trailing blanks: the ASCII space and
// the full-width space (A1 A1 in GBK, E3 80 80 in UTF-8). Tabs and line
// breaks are not blanks.
std::string TrimBlanks(std::string_view reference);

enum class ReferenceKind {
    Absolute,         // "http://…" or "https://…", fetched as it stands
    ProtocolRelative, // "//host/…", fetched over http
    Relative,         // everything else, resolved against the old domain
};

ReferenceKind KindOfReference(std::string_view trimmed);

// The address to fetch, or nothing when the reference cannot be resolved:
// an empty reference, or a relative one without an old domain. The old
// domain is used as typed.
std::optional<std::string> DownloadAddress(std::string_view trimmed, std::string_view oldDomain);

// The address as handed to the web layer: bytes outside printable ASCII are
// percent-encoded, UTF-8 as it stands, other bytes after conversion from
// GB18030 to UTF-8, as a browser would send them.
std::string AddressForFetch(std::string_view downloadAddress);

// The address as shown in the queue.
std::string AddressForDisplay(std::string_view downloadAddress); // UTF-8

} // namespace tuji
