#pragma once

// Owners of the PCRE2 objects the engine uses, one each.

#define PCRE2_CODE_UNIT_WIDTH 8
#include <memory>
#include <pcre2.h>

namespace tuji {

struct PcreCodeFree {
    void operator()(pcre2_code* p) const { pcre2_code_free(p); }
};
struct PcreCompileContextFree {
    void operator()(pcre2_compile_context* p) const { pcre2_compile_context_free(p); }
};
struct PcreMatchContextFree {
    void operator()(pcre2_match_context* p) const { pcre2_match_context_free(p); }
};
struct PcreMatchDataFree {
    void operator()(pcre2_match_data* p) const { pcre2_match_data_free(p); }
};
struct PcreJitStackFree {
    void operator()(pcre2_jit_stack* p) const { pcre2_jit_stack_free(p); }
};

using PcreCode = std::unique_ptr<pcre2_code, PcreCodeFree>;
using PcreCompileContext = std::unique_ptr<pcre2_compile_context, PcreCompileContextFree>;
using PcreMatchContext = std::unique_ptr<pcre2_match_context, PcreMatchContextFree>;
using PcreMatchData = std::unique_ptr<pcre2_match_data, PcreMatchDataFree>;
using PcreJitStack = std::unique_ptr<pcre2_jit_stack, PcreJitStackFree>;

} // namespace tuji
