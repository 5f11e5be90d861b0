#pragma once

#include <string>

namespace tuji {

// The clipboard's text as program text; empty when it holds no text.
std::string ClipboardText();
void SetClipboardText(const std::string& text);

} // namespace tuji
