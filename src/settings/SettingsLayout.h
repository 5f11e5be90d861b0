#pragma once

// How sections and keys are recognised in the bytes of a settings file.
// Positions are 1-based byte positions, -1 = not found; every search keeps to
// character boundaries of the GBK text.
//
//   [Section]<CR LF>key=value<CR LF>key=value<CR LF>[Other]...
//
// A header counts only at the start of the file or right after a CR LF; a key
// belongs to a section only when no header line stands between the two.

#include <string>
#include <string_view>
#include <vector>

namespace tuji {

inline constexpr std::string_view kCrLf = "\r\n";

// Where a value stands: `header` is the position of its section's "[", `keyLine`
// that of the CR LF opening the key line, the value runs from `valueStart` up to
// `valueEnd` (exclusive). Missing parts are -1.
struct SettingsPlace {
    int header = -1;
    int headerEnd = -1; // the "]" of the header
    int keyLine = -1;
    int valueStart = -1;
    int valueEnd = -1;
    bool hasSection() const { return header > 0; }
    bool hasKey() const { return keyLine > 0; }
};

// True when an occurrence of a header text at `p` is a header: at the start of
// the file or right after a CR LF. The engine searches with FindText and asks
// this of every occurrence, processing window events between its passes.
inline bool HeaderStartsAt(std::string_view file, int p) {
    return p == 1 || (p >= 3 && file[size_t(p) - 3] == '\r' && file[size_t(p) - 2] == '\n');
}

// Completes `place` (whose header is set) with the key line and value of `key`.
void FindKeyInSection(std::string_view file, std::string_view section, std::string_view key,
                      SettingsPlace& place);

// True when a header line (CR LF "[" ... "]" CR LF, the last CR LF possibly
// the one at `keyLine`) starts at or after `from` and ends before `keyLine`.
bool HeaderLineBetween(std::string_view file, int from, int keyLine);

// Position of the CR LF that opens the next header line after `from`, or -1.
int NextHeaderLine(std::string_view file, int from);

// The names of all header lines, in file order (repeats included).
std::vector<std::string> SectionNamesIn(std::string_view file);
// The keys of the lines after the header at `header`, up to the next header line.
std::vector<std::string> KeyNamesIn(std::string_view file, int header);

} // namespace tuji
