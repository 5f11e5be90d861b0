#pragma once

// Folder picking and opening things with the desktop. All texts are program
// text; none of these shows a message, and failures of the desktop are
// ignored.

#include <functional>
#include <string>

class QLineEdit;
class QWidget;

namespace tuji {

// The folder browser, with no owner window, starting at `initial`. Gives the
// chosen folder with spaces at both ends removed, or empty text on cancel.
std::string PickFolder(const std::string& initial, const std::string& title = {});

// Starts at the box's text; a chosen folder becomes the box's text, a cancel
// leaves it as it was.
void PickFolderIntoBox(QWidget* window, QLineEdit* box);

// An address opens in the default browser, a file with its program.
void OpenWithShell(const std::string& target);

// Opens a folder in the file manager (Windows: a path ending in ".exe" runs
// that program instead). A missing folder is the file manager's to report.
void OpenInExplorer(const std::string& path);

// While alive, nothing reaches the desktop: PickFolder asks `pickFolder`
// (initial, title) and the two openers report to `opened` ("shell" or
// "explorer", target). For tests.
class ScopedShellStandIn {
public:
    std::function<std::string(const std::string& initial, const std::string& title)> pickFolder;
    std::function<void(const std::string& how, const std::string& target)> opened;

    ScopedShellStandIn();
    ~ScopedShellStandIn();
    ScopedShellStandIn(const ScopedShellStandIn&) = delete;
    ScopedShellStandIn& operator=(const ScopedShellStandIn&) = delete;

private:
    ScopedShellStandIn* previous_;
};

} // namespace tuji
