#include "regex/RegexEngine.h"

#include "regex/EngineText.h"
#include "regex/JsDialect.h"

namespace tuji {

namespace {

// Generous for real pages (an image tag needs a few hundred steps), small
// enough that a catastrophic pattern gives up within a second or so.
constexpr uint32_t kMatchLimit = 20'000'000;
constexpr uint32_t kDepthLimit = 1'000'000;
constexpr size_t kJitStackStart = 32 * 1024;
constexpr size_t kJitStackMax = 4 * 1024 * 1024;

size_t NextCharEnd(std::string_view utf8, size_t i) {
    auto c = static_cast<unsigned char>(utf8[i]);
    size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    return i + n;
}

void AppendGroup(const MatchSet& m, size_t matchStart, int group, std::string& out) {
    size_t at = matchStart + static_cast<size_t>(group) * 2;
    if (m.spans[at] == MatchSet::kUnset) return;
    out.append(m.subject, m.spans[at], m.spans[at + 1] - m.spans[at]);
}

// The replacement with $$, $&, $`, $' and $n / $nn expanded as JavaScript
// does; anything else stays as written.
void AppendReplacement(const MatchSet& m, size_t matchStart, std::string_view r, std::string& out) {
    size_t wholeStart = m.spans[matchStart], wholeEnd = m.spans[matchStart + 1];
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    size_t k = 0;
    while (k < r.size()) {
        if (r[k] != '$' || k + 1 >= r.size()) {
            out += r[k++];
            continue;
        }
        char n = r[k + 1];
        if (n == '$') {
            out += '$';
            k += 2;
        } else if (n == '&') {
            out.append(m.subject, wholeStart, wholeEnd - wholeStart);
            k += 2;
        } else if (n == '`') {
            out.append(m.subject, 0, wholeStart);
            k += 2;
        } else if (n == '\'') {
            out.append(m.subject, wholeEnd, std::string::npos);
            k += 2;
        } else if (isDigit(n)) {
            int one = n - '0';
            int two = (k + 2 < r.size() && isDigit(r[k + 2])) ? one * 10 + (r[k + 2] - '0') : -1;
            if (two >= 1 && two <= m.groups) {
                AppendGroup(m, matchStart, two, out);
                k += 3;
            } else if (one >= 1 && one <= m.groups) {
                AppendGroup(m, matchStart, one, out);
                k += 2;
            } else {
                out += r[k++];
            }
        } else {
            out += r[k++];
        }
    }
}

} // namespace

RegexEngine::RegexEngine()
    : compileContext_(pcre2_compile_context_create(nullptr)),
      matchContext_(pcre2_match_context_create(nullptr)),
      jitStack_(pcre2_jit_stack_create(kJitStackStart, kJitStackMax, nullptr)) {
    if (compileContext_) {
        pcre2_set_newline(compileContext_.get(), PCRE2_NEWLINE_ANY);
        pcre2_set_compile_extra_options(compileContext_.get(), PCRE2_EXTRA_ALT_BSUX);
    }
    if (matchContext_) {
        pcre2_set_match_limit(matchContext_.get(), kMatchLimit);
        pcre2_set_depth_limit(matchContext_.get(), kDepthLimit);
        if (jitStack_) pcre2_jit_stack_assign(matchContext_.get(), nullptr, jitStack_.get());
    }
}

RegexEngine::~RegexEngine() = default;

void RegexEngine::SetPattern(std::string_view pattern) {
    if (compiled_ && pattern == pattern_) return;
    pattern_ = std::string(pattern);
    compiled_ = false;
}

void RegexEngine::SetOptions(bool ignoreCase, bool multiLine, bool global) {
    if (ignoreCase != ignoreCase_ || multiLine != multiLine_) compiled_ = false;
    ignoreCase_ = ignoreCase;
    multiLine_ = multiLine;
    global_ = global;
}

PcreCode RegexEngine::Compile(std::string_view utf8Pattern) const {
    if (!compileContext_) return nullptr;
    std::string translated = TranslateJsPattern(utf8Pattern);
    uint32_t options = PCRE2_UTF | PCRE2_NO_UTF_CHECK | PCRE2_DOLLAR_ENDONLY |
                       PCRE2_MATCH_UNSET_BACKREF | PCRE2_ALT_BSUX | PCRE2_ALLOW_EMPTY_CLASS |
                       PCRE2_DUPNAMES | PCRE2_NEVER_BACKSLASH_C;
    if (ignoreCase_) options |= PCRE2_CASELESS;
    if (multiLine_) options |= PCRE2_MULTILINE;
    int error = 0;
    PCRE2_SIZE errorOffset = 0;
    PcreCode code(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(translated.data()), translated.size(),
                                options, &error, &errorOffset, compileContext_.get()));
    // Without JIT (an unsupported machine) the interpreter matches alike.
    if (code) pcre2_jit_compile(code.get(), PCRE2_JIT_COMPLETE);
    return code;
}

bool RegexEngine::Accepts() {
    if (compiled_) return forGb18030_ != nullptr;
    compiled_ = true;
    forUtf8_.reset();
    if (IsUtf8OnlyPattern(pattern_)) {
        EngineText asUtf8 = EngineText::Read(pattern_, Reading::Utf8);
        forGb18030_ = Compile(asUtf8.Text());
        return forGb18030_ != nullptr;
    }
    EngineText asGb = EngineText::Read(pattern_, Reading::Gb18030);
    forGb18030_ = Compile(asGb.Text());
    if (!forGb18030_) return false;
    EngineText asUtf8 = EngineText::Read(pattern_, Reading::Utf8);
    if (!asUtf8.HasStrayBytes() && asUtf8.Text() != asGb.Text()) {
        // Both readings have the same ASCII skeleton, so the same groups;
        // a branch reset keeps their numbers.
        std::string both = "(?|(?:";
        both.append(asGb.Text());
        both += ")|(?:";
        both.append(asUtf8.Text());
        both += "))";
        forUtf8_ = Compile(both);
    }
    return true;
}

const pcre2_code* RegexEngine::CodeFor(const EngineText& subject) {
    if (!Accepts()) return nullptr;
    if (subject.GetReading() == Reading::Utf8 && forUtf8_) return forUtf8_.get();
    return forGb18030_.get();
}

bool RegexEngine::FindAll(const pcre2_code* code, const EngineText& text, MatchSet& out) {
    PcreMatchData data(pcre2_match_data_create_from_pattern(code, nullptr));
    if (!data) return false;
    uint32_t captures = 0;
    pcre2_pattern_info(code, PCRE2_INFO_CAPTURECOUNT, &captures);
    out.groups = static_cast<int>(captures);
    const std::string_view s = text.Text();
    const auto* subject = reinterpret_cast<PCRE2_SPTR>(s.data());
    size_t start = 0;
    while (start <= s.size()) {
        // The text is well-formed UTF-8 by construction; checking it again
        // on every call would make a global scan quadratic.
        int rc = pcre2_match(code, subject, s.size(), start, PCRE2_NO_UTF_CHECK, data.get(),
                             matchContext_.get());
        if (rc == PCRE2_ERROR_NOMATCH) break;
        if (rc <= 0) return false;
        const PCRE2_SIZE* ov = pcre2_get_ovector_pointer(data.get());
        for (uint32_t g = 0; g <= captures; ++g) {
            if (static_cast<int>(g) < rc && ov[2 * g] != PCRE2_UNSET) {
                out.spans.push_back(text.OriginalOffset(ov[2 * g]));
                out.spans.push_back(text.OriginalOffset(ov[2 * g + 1]));
            } else {
                out.spans.push_back(MatchSet::kUnset);
                out.spans.push_back(MatchSet::kUnset);
            }
        }
        if (!global_) break;
        size_t end = ov[1] > ov[0] ? ov[1] : ov[0];
        // After an empty match the next search starts one character on.
        if (end == ov[0]) {
            if (end >= s.size()) break;
            end = NextCharEnd(s, end);
        }
        start = end;
    }
    return true;
}

std::optional<MatchSet> RegexEngine::Execute(std::string_view subject, SubjectBytes how) {
    MatchSet m;
    m.subject = std::string(subject);
    {
        EngineText text = EngineText::ReadSubject(m.subject, how);
        const pcre2_code* code = CodeFor(text);
        if (!code || !FindAll(code, text, m)) return std::nullopt;
    }
    return m;
}

std::optional<std::string> RegexEngine::Replace(std::string_view subject,
                                                std::string_view replacement, SubjectBytes how) {
    auto m = Execute(subject, how);
    if (!m) return std::nullopt;
    std::string out;
    out.reserve(subject.size());
    size_t last = 0;
    const size_t perMatch = static_cast<size_t>(m->groups + 1) * 2;
    for (size_t at = 0; at < m->spans.size(); at += perMatch) {
        out.append(subject.substr(last, m->spans[at] - last));
        AppendReplacement(*m, at, replacement, out);
        last = m->spans[at + 1];
    }
    out.append(subject.substr(last));
    return out;
}

} // namespace tuji
