#include "settings/SettingsLayout.h"

#include "text/Chars.h"
#include "text/TextOps.h"

namespace tuji {

namespace {

bool CrLfAt(std::string_view file, size_t i) {
    return i + 1 < file.size() && file[i] == '\r' && file[i + 1] == '\n';
}

// Walks the line that starts at the boundary `start` to its CR LF (or the end
// of the file), whose 0-based offset goes to `end`. True when the line is
// "[", anything, "]" with the "]" a character of its own, not a trail byte.
bool LineIsHeader(std::string_view file, size_t start, size_t& end) {
    size_t i = start;
    size_t last = start;
    while (i < file.size() && !CrLfAt(file, i)) {
        last = i;
        i += CharLength(file, i);
    }
    end = i;
    return i > start + 1 && file[start] == '[' && last > start && file[last] == ']';
}

// Calls visit(lineStart, lineEnd, isHeader) for each line, 0-based offsets.
// visit returns false to stop.
template <class Visit> void ForEachLine(std::string_view file, Visit&& visit) {
    size_t start = 0;
    while (start <= file.size()) {
        size_t end = 0;
        bool header = LineIsHeader(file, start, end);
        if (!visit(start, end, header)) return;
        if (end >= file.size()) return;
        start = end + 2;
    }
}

} // namespace

bool HeaderLineBetween(std::string_view file, int from, int keyLine) {
    bool found = false;
    ForEachLine(file, [&](size_t start, size_t end, bool header) {
        if (start < 2) return true;   // a header line opens with a CR LF
        int opening = int(start) - 1; // 1-based position of its CR LF
        if (opening >= keyLine) return false;
        if (header && opening >= from && end < file.size() && int(end) + 1 <= keyLine) {
            found = true;
            return false;
        }
        return true;
    });
    return found;
}

int NextHeaderLine(std::string_view file, int from) {
    int next = -1;
    ForEachLine(file, [&](size_t start, size_t, bool header) {
        int opening = int(start) - 1;
        if (start >= 2 && header && opening >= from) {
            next = opening;
            return false;
        }
        return true;
    });
    return next;
}

void FindKeyInSection(std::string_view file, std::string_view section, std::string_view key,
                      SettingsPlace& place) {
    place.headerEnd = place.header + int(section.size()) + 1;
    std::string line = std::string(kCrLf) + std::string(key) + "=";
    int j = FindText(file, line, place.headerEnd);
    if (j < 0 || HeaderLineBetween(file, place.headerEnd + 1, j)) return;
    place.keyLine = j;
    place.valueStart = j + int(line.size());
    int end = FindText(file, kCrLf, place.valueStart);
    place.valueEnd = end < 0 ? int(file.size()) + 1 : end;
}

std::vector<std::string> SectionNamesIn(std::string_view file) {
    std::vector<std::string> names;
    ForEachLine(file, [&](size_t start, size_t end, bool header) {
        if (header) names.emplace_back(file.substr(start + 1, end - start - 2));
        return true;
    });
    return names;
}

std::vector<std::string> KeyNamesIn(std::string_view file, int header) {
    std::vector<std::string> keys;
    size_t headerStart = size_t(header) - 1;
    ForEachLine(file, [&](size_t start, size_t end, bool isHeader) {
        if (start < headerStart) return true;
        if (start == headerStart) return true;
        if (isHeader) return false;
        std::string_view line = file.substr(start, end - start);
        int eq = FindText(line, "=");
        if (eq > 0) keys.emplace_back(line.substr(0, size_t(eq) - 1));
        return true;
    });
    return keys;
}

} // namespace tuji
