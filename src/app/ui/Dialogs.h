#pragma once

// The common dialogs the pages use: choosing a file by filter, and a font with
// its colour and attributes.

#include <QFont>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class QWidget;

namespace tuji {

// One filter entry: a name and its patterns joined by ";" ("*.bmp;*.jpg").
using FileFilter = std::pair<std::string, std::string>;

// The file-open dialog; program text in and out, empty text on cancel.
std::string PickOpenFile(QWidget* owner, const std::string& title,
                         const std::vector<FileFilter>& filters, const std::string& initial = {});

// What the font dialog edits: face, size, bold, italic, strike-out,
// underline (all in the QFont) and the text colour (0x00BBGGRR).
struct FontChoice {
    QFont font;
    std::uint32_t colour = 0;
};

// Shows the font dialog starting from `choice`; on OK writes the user's
// choice back and returns true, on cancel leaves it untouched.
bool PickFont(QWidget* owner, FontChoice& choice, const std::string& title = {});

} // namespace tuji
