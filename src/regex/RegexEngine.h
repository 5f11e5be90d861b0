#pragma once

// The engine behind RegexObject and RegexFilter: PCRE2 in UTF mode, set up
// to behave like the program's JavaScript-like dialect, with JIT and step
// limits so a pathological pattern or subject fails instead of hanging.
//
// A pattern is program text (GB18030). When the same bytes also read as
// UTF-8, a subject read as UTF-8 is matched against both readings, so "猫"
// typed by the user finds 猫 in a UTF-8 article, and a reference cut out of
// that article, escaped, finds itself again. Compiling waits until the first
// match after a change.

#include "regex/MatchSet.h"
#include "regex/Pcre.h"
#include "regex/SubjectBytes.h"

#include <optional>
#include <string>
#include <string_view>

namespace tuji {

class EngineText;

class RegexEngine {
public:
    RegexEngine();
    ~RegexEngine();
    RegexEngine(const RegexEngine&) = delete;
    RegexEngine& operator=(const RegexEngine&) = delete;

    void SetPattern(std::string_view pattern);
    const std::string& Pattern() const { return pattern_; }
    void SetOptions(bool ignoreCase, bool multiLine, bool global);

    // Compiles when needed; false when the pattern is rejected.
    bool Accepts();

    // Every match (or the first one without global); nothing when the
    // pattern is rejected or a match ran out of its limits.
    std::optional<MatchSet> Execute(std::string_view subject, SubjectBytes how);
    std::optional<std::string> Replace(std::string_view subject, std::string_view replacement,
                                       SubjectBytes how);

private:
    const pcre2_code* CodeFor(const EngineText& subject);
    PcreCode Compile(std::string_view utf8Pattern) const;
    bool FindAll(const pcre2_code* code, const EngineText& text, MatchSet& out);

    std::string pattern_;
    bool ignoreCase_ = true;
    bool multiLine_ = true;
    bool global_ = true;

    bool compiled_ = false;
    PcreCode forGb18030_; // the pattern's GB18030 reading (or its only reading)
    PcreCode forUtf8_;    // both readings; empty when that is the same as above
    PcreCompileContext compileContext_;
    PcreMatchContext matchContext_;
    PcreJitStack jitStack_;
};

} // namespace tuji
