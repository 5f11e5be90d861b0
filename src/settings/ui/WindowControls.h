#pragma once

// Saving and restoring every control of a window in one section of the
// store. A control takes part when its objectName begins with a kind word
// (settings/ControlKinds.h) and its widget is of that kind:
//
//   "按钮…"       any QAbstractButton    name + ".标记" = its dynamic property "tag"
//   "编辑框…"     QLineEdit, QPlainTextEdit, QTextEdit   name = its text
//   "选择框…"     QAbstractButton (check box)            name = checked
//   "单选框…"     QAbstractButton (radio button)         name = checked
//   "组合框…"     QComboBox       name = current index; name + ".列表" = items
//                                 (withItemLists), name + ".内容" = edit text (withEditTexts)
//   "列表框…"     QListWidget     name = items (side file), name + ".选中" = selected rows
//   "选择列表框…" QListWidget     name = items (side file), name + ".选中" = current row,
//                                 name + ".打勾" = rows with a check mark
//   "颜色选择器…" ColourPicker    name = its colour
//
// A button or edit box whose "tag" is "字节集方式" keeps its value in a side
// file instead. Restoring reads every key with the control's state as the
// default, so a missing key leaves the control as it is. Window events are
// processed for every control, so a click may arrive during a save (its
// writes are queued by the store).

#include "settings/SettingsStore.h"

#include <string>
#include <string_view>
#include <vector>

class QWidget;

namespace tuji {

// section empty = the store's current section.
void SaveWindowControls(SettingsStore& store, QWidget* window, std::string_view section = {},
                        const std::vector<std::string>& excluded = {}, bool withItemLists = false,
                        bool withEditTexts = false);
void RestoreWindowControls(SettingsStore& store, QWidget* window, std::string_view section = {},
                           const std::vector<std::string>& excluded = {},
                           bool withItemLists = false, bool withEditTexts = false);

// The text of an edit box as program text (line breaks as CR LF), and back.
std::string EditBoxText(const QWidget* editBox);
void SetEditBoxText(QWidget* editBox, std::string_view text);

} // namespace tuji
