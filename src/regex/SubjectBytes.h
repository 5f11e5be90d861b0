#pragma once

namespace tuji {

// How the bytes of a subject are read before matching. Matching always works
// on characters, and every match comes back as exactly the bytes it covered.
enum class SubjectBytes {
    // Article bytes of unknown encoding: well-formed UTF-8 (or UTF-8 with a
    // few damaged bytes) is read as UTF-8, anything else as GB18030.
    Detect,
    // Program text: always read as GB18030.
    ProgramText,
};

} // namespace tuji
