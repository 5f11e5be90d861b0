#pragma once

#include <string>

namespace tuji {

// The program's notes, shown read-only from the header's "疑点说明":
// program text with CR LF line ends, in four sections.
std::string NotesText();

} // namespace tuji
