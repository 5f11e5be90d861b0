#pragma once

// The pattern object of the folder listings: a file-name filter made by
// Create, tested with Execute. Subjects are program text (GB18030). Same
// dialect and quiet failure as RegexObject; sub-match indexes start at 1.
// One object belongs to one thread.

#include <memory>
#include <string>
#include <string_view>

namespace tuji {

class RegexEngine;
struct MatchSet;

class RegexFilter {
public:
    RegexFilter();
    ~RegexFilter();
    RegexFilter(const RegexFilter&) = delete;
    RegexFilter& operator=(const RegexFilter&) = delete;

    static std::string WildcardToPattern(std::string_view text);
    static std::string EscapePattern(std::string_view text);
    static std::string EscapePatternKeepAlternation(std::string_view text);

    // Drops the engine, the matches and the stored subject.
    void Release();
    // A new engine with these options and pattern (also an empty one);
    // false when the pattern is rejected.
    bool Create(std::string_view pattern, bool ignoreCase = true, bool multiLine = true,
                bool global = true);
    int Execute(std::string_view subject);
    // The engine's pattern; empty when there is no engine.
    std::string GetPattern() const;
    std::string Replace(std::string_view subject, std::string_view replacement = {});
    int MatchCount() const;
    std::string MatchText(int match) const;
    // Groups from 1; 0 or less gives empty text.
    std::string SubMatchText(int match, int subMatch) const;
    int SubMatchCount() const;

private:
    std::unique_ptr<RegexEngine> engine_;
    std::unique_ptr<MatchSet> matches_;
    std::string subject_;
};

} // namespace tuji
