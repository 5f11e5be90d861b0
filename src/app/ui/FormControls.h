#pragma once

// Building a page from its form: every control is a child of the page, named
// after the form (the settings file keys on the objectName) and laid at the
// form's place and size, since the pages keep the original fixed layout.

#include <QString>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QProgressBar;

namespace tuji {

// A caption or initial text of the form, from a UTF-8 source literal.
QString FormText(const char* utf8);

template <typename Control>
Control* PlaceControl(QWidget* page, const char* name, int left, int top, int width, int height) {
    auto* control = new Control(page);
    control->setObjectName(FormText(name));
    control->setGeometry(left, top, width, height);
    return control;
}

// The same with its caption (labels, buttons, check boxes) or initial text
// (edit boxes).
template <typename Control>
Control* PlaceControl(QWidget* page, const char* name, const char* caption, int left, int top,
                      int width, int height) {
    Control* control = PlaceControl<Control>(page, name, left, top, width, height);
    control->setText(FormText(caption));
    return control;
}

// Fills a choice box with program-text items and selects `chosen`.
void FillChoices(QComboBox* box, const std::vector<std::string>& items, int chosen);

// 进度条 with 透明标签 laid over it (LayLabelOverBar), both hidden until a
// job runs and shows them.
struct ProgressLine {
    QProgressBar* bar = nullptr;
    QLabel* label = nullptr;
};
ProgressLine PlaceProgressLine(QWidget* page, int left, int top, int width, int height);

// A right click on `control` (the folder buttons' "open it", the re-hosting
// start button's other listing) calls `onRightClick`, bound to `context`.
void OnRightClick(QWidget* control, QObject* context, std::function<void()> onRightClick);

} // namespace tuji
