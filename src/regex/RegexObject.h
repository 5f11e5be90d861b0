#pragma once

// A regular expression over program text, in the JavaScript-like dialect:
// lazy quantifiers, \s \S and their bracketed combinations, groups,
// alternation with empty alternatives, negated classes; "." never takes a
// line break (CR, LF, U+2028, U+2029).
//
// Subjects may be any bytes. A subject is read as characters (see
// SubjectBytes; bytes that form no character still match "any character"
// classes), and every match or group comes back as exactly the bytes it
// covered, so the caller finds it again in the original text. Indexes are
// 1-based. Nothing fails loudly: a rejected pattern, an index out of range or
// a match that runs out of its step budget gives 0 matches or empty text.
//
// One object belongs to one thread.

#include "regex/SubjectBytes.h"

#include <memory>
#include <string>
#include <string_view>

namespace tuji {

class RegexObject {
public:
    RegexObject();
    ~RegexObject();
    RegexObject(const RegexObject&) = delete;
    RegexObject& operator=(const RegexObject&) = delete;

    static std::string WildcardToPattern(std::string_view text);
    static std::string EscapePattern(std::string_view text);
    static std::string EscapePatternKeepAlternation(std::string_view text);

    // Text of match `match` of the last Execute; empty when out of range.
    std::string MatchText(int match) const;
    // Group `subMatch` of that match; 0 or less means the whole match. A
    // group that did not take part gives empty text.
    std::string SubMatchText(int match, int subMatch) const;
    // 1-based byte position in the last subject of that match or group; -1
    // when out of range or the group did not take part.
    int SubMatchPosition(int match, int subMatch) const;

    // Matches the subject (all matches with global on, at most one
    // otherwise), keeps them and returns their number.
    int Execute(std::string_view subject);
    // The subject with every match (global on) or the first one replaced.
    // In the replacement, $1..$99, $&, $`, $' and $$ work as in JavaScript.
    // Empty text when the pattern is rejected. Keeps the stored matches.
    std::string Replace(std::string_view subject, std::string_view replacement = {});

    // Always true. Same pattern and options as before: nothing happens. An
    // empty pattern keeps the stored one but applies the options.
    bool SetPattern(std::string_view pattern, bool ignoreCase = true, bool multiLine = true,
                    bool global = true);
    std::string GetPattern() const;

    int MatchCount() const;
    // Groups of the first match of the last Execute (0 without a match).
    int SubMatchCount() const;

    // Article bytes by default; callers that hold program text may say so.
    void SetSubjectBytes(SubjectBytes reading);

private:
    struct Inner;
    std::unique_ptr<Inner> inner_;
};

} // namespace tuji
