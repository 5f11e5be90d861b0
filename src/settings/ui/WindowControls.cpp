#include "settings/ui/WindowControls.h"

#include "app/ui/ColourPicker.h"
#include "settings/ControlKinds.h"
#include "text/Encoding.h"
#include "text/TextOps.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>
#include <algorithm>

namespace tuji {

namespace {

const char* const kTagProperty = "tag";

std::string TagOf(const QWidget* w) {
    return FromQString(w->property(kTagProperty).toString());
}
bool KeepsSideFile(const QWidget* w) {
    return TagOf(w) == SideFileTag();
}

std::string ProgramLines(const QString& s) {
    return ReplaceText(FromQString(s), "\n", kCrLf);
}
QString WidgetLines(std::string_view text) {
    return ToQString(ReplaceText(ReplaceText(text, kCrLf, "\n"), "\r", "\n"));
}

bool IsEditBox(const QWidget* w) {
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
           qobject_cast<const QTextEdit*>(w);
}

std::vector<std::string> ItemsOf(const QComboBox* box) {
    std::vector<std::string> items;
    for (int i = 0; i < box->count(); ++i)
        items.push_back(ProgramLines(box->itemText(i)));
    return items;
}
std::vector<std::string> ItemsOf(const QListWidget* list) {
    std::vector<std::string> items;
    for (int i = 0; i < list->count(); ++i)
        items.push_back(ProgramLines(list->item(i)->text()));
    return items;
}

void SetItems(QComboBox* box, const std::vector<std::string>& items) {
    if (ItemsOf(box) == items) return;
    box->clear();
    for (const std::string& item : items)
        box->addItem(WidgetLines(item));
}

// A new item list replaces the old one only when it differs, so the items'
// other properties (icons, data) survive a restore of the same list.
void SetItems(QListWidget* list, const std::vector<std::string>& items, bool checkable) {
    if (ItemsOf(list) == items) return;
    list->clear();
    for (const std::string& item : items) {
        auto* row = new QListWidgetItem(WidgetLines(item), list);
        if (checkable) {
            row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
            row->setCheckState(Qt::Unchecked);
        }
    }
}

std::vector<int> SelectedRows(const QListWidget* list) {
    std::vector<int> rows;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected()) rows.push_back(i);
    return rows;
}
std::vector<int> CheckedRows(const QListWidget* list) {
    std::vector<int> rows;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->checkState() == Qt::Checked) rows.push_back(i);
    return rows;
}

std::string Key(const std::string& name, const char* suffixUtf8) {
    return name + T(suffixUtf8);
}

void SetChecked(QAbstractButton* button, bool checked) {
    if (button->isChecked() == checked) return;
    // An exclusive radio button refuses to be unchecked directly.
    bool exclusive = button->autoExclusive();
    if (!checked && exclusive) button->setAutoExclusive(false);
    button->setChecked(checked);
    if (!checked && exclusive) button->setAutoExclusive(true);
}

class ControlSaver {
public:
    ControlSaver(SettingsStore& store, bool withItemLists, bool withEditTexts)
        : store_(store), withItemLists_(withItemLists), withEditTexts_(withEditTexts) {}

    void Save(QWidget* w, ControlKind kind, const std::string& name) {
        switch (kind) {
        case ControlKind::Button:
            if (auto* b = qobject_cast<QAbstractButton*>(w)) {
                std::string key = Key(name, ".标记");
                if (KeepsSideFile(b))
                    store_.WriteSideFile(key, TagOf(b));
                else
                    store_.WriteText(key, TagOf(b));
            }
            break;
        case ControlKind::EditBox:
            if (IsEditBox(w)) {
                if (KeepsSideFile(w))
                    store_.WriteSideFile(name, EditBoxText(w));
                else
                    store_.WriteText(name, EditBoxText(w));
            }
            break;
        case ControlKind::CheckBox:
        case ControlKind::RadioButton:
            if (auto* b = qobject_cast<QAbstractButton*>(w)) store_.WriteBool(name, b->isChecked());
            break;
        case ControlKind::ComboBox:
            if (auto* c = qobject_cast<QComboBox*>(w)) {
                store_.WriteNumber(name, c->currentIndex());
                if (withItemLists_)
                    store_.WriteSideFile(Key(name, ".列表"), ItemListBytes(ItemsOf(c)));
                if (withEditTexts_)
                    store_.WriteText(Key(name, ".内容"), ProgramLines(c->currentText()));
            }
            break;
        case ControlKind::ListBox:
            if (auto* l = qobject_cast<QListWidget*>(w)) {
                store_.WriteSideFile(name, ItemListBytes(ItemsOf(l)));
                store_.WriteText(Key(name, ".选中"), JoinIndices(SelectedRows(l)));
            }
            break;
        case ControlKind::CheckedListBox:
            if (auto* l = qobject_cast<QListWidget*>(w)) {
                store_.WriteSideFile(name, ItemListBytes(ItemsOf(l)));
                store_.WriteNumber(Key(name, ".选中"), l->currentRow());
                store_.WriteText(Key(name, ".打勾"), JoinIndices(CheckedRows(l)));
            }
            break;
        case ControlKind::ColourPicker:
            if (auto* p = qobject_cast<ColourPicker*>(w)) store_.WriteNumber(name, p->colour());
            break;
        case ControlKind::None:
            break;
        }
    }

    void Restore(QWidget* w, ControlKind kind, const std::string& name) {
        switch (kind) {
        case ControlKind::Button:
            if (auto* b = qobject_cast<QAbstractButton*>(w)) {
                std::string key = Key(name, ".标记");
                std::string tag = KeepsSideFile(b) ? store_.ReadSideFile(key, TagOf(b))
                                                   : store_.ReadText(key, TagOf(b));
                b->setProperty(kTagProperty, ToQString(tag));
            }
            break;
        case ControlKind::EditBox:
            if (IsEditBox(w)) {
                // A side file read as text ends at its first zero byte.
                std::string text =
                    KeepsSideFile(w)
                        ? std::string(TextBeforeZero(store_.ReadSideFile(name, EditBoxText(w))))
                        : store_.ReadText(name, EditBoxText(w));
                SetEditBoxText(w, text);
            }
            break;
        case ControlKind::CheckBox:
        case ControlKind::RadioButton:
            if (auto* b = qobject_cast<QAbstractButton*>(w))
                SetChecked(b, store_.ReadBool(name, b->isChecked()));
            break;
        case ControlKind::ComboBox:
            if (auto* c = qobject_cast<QComboBox*>(w)) {
                if (withItemLists_) {
                    std::string key = Key(name, ".列表");
                    SetItems(
                        c, ItemListFromBytes(store_.ReadSideFile(key, ItemListBytes(ItemsOf(c)))));
                }
                long long index = store_.ReadNumber(name, c->currentIndex());
                if (index >= -1 && index < c->count()) c->setCurrentIndex(int(index));
                if (withEditTexts_ && c->isEditable())
                    c->setEditText(WidgetLines(
                        store_.ReadText(Key(name, ".内容"), ProgramLines(c->currentText()))));
            }
            break;
        case ControlKind::ListBox:
            if (auto* l = qobject_cast<QListWidget*>(w)) {
                SetItems(l, ItemListFromBytes(store_.ReadSideFile(name, ItemListBytes(ItemsOf(l)))),
                         false);
                std::vector<int> rows =
                    SplitIndices(store_.ReadText(Key(name, ".选中"), JoinIndices(SelectedRows(l))));
                l->clearSelection();
                for (int row : rows)
                    if (row >= 0 && row < l->count()) l->item(row)->setSelected(true);
            }
            break;
        case ControlKind::CheckedListBox:
            if (auto* l = qobject_cast<QListWidget*>(w)) {
                SetItems(l, ItemListFromBytes(store_.ReadSideFile(name, ItemListBytes(ItemsOf(l)))),
                         true);
                long long current = store_.ReadNumber(Key(name, ".选中"), l->currentRow());
                if (current >= -1 && current < l->count()) l->setCurrentRow(int(current));
                std::vector<int> rows =
                    SplitIndices(store_.ReadText(Key(name, ".打勾"), JoinIndices(CheckedRows(l))));
                for (int i = 0; i < l->count(); ++i) {
                    bool checked = std::find(rows.begin(), rows.end(), i) != rows.end();
                    l->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
                }
            }
            break;
        case ControlKind::ColourPicker:
            if (auto* p = qobject_cast<ColourPicker*>(w))
                p->setColour(std::uint32_t(store_.ReadNumber(name, p->colour())));
            break;
        case ControlKind::None:
            break;
        }
    }

private:
    SettingsStore& store_;
    bool withItemLists_;
    bool withEditTexts_;
};

template <class Visit>
void ForEachControl(SettingsStore& store, QWidget* window, std::string_view section,
                    const std::vector<std::string>& excluded, Visit&& visit) {
    if (!window) return;
    if (!section.empty()) store.SelectSection(section);
    // Events run between controls; a control closed meanwhile is passed over.
    std::vector<QPointer<QWidget>> controls;
    for (QWidget* w : window->findChildren<QWidget*>())
        controls.emplace_back(w);
    for (const QPointer<QWidget>& w : controls) {
        QCoreApplication::processEvents();
        if (!w) continue;
        std::string name = FromQString(w->objectName());
        if (name.empty() || std::find(excluded.begin(), excluded.end(), name) != excluded.end())
            continue;
        ControlKind kind = KindOfControlName(name);
        if (kind != ControlKind::None) visit(w.data(), kind, name);
    }
}

} // namespace

std::string EditBoxText(const QWidget* editBox) {
    if (auto* e = qobject_cast<const QLineEdit*>(editBox)) return ProgramLines(e->text());
    if (auto* e = qobject_cast<const QPlainTextEdit*>(editBox))
        return ProgramLines(e->toPlainText());
    if (auto* e = qobject_cast<const QTextEdit*>(editBox)) return ProgramLines(e->toPlainText());
    return {};
}

void SetEditBoxText(QWidget* editBox, std::string_view text) {
    if (auto* e = qobject_cast<QLineEdit*>(editBox))
        e->setText(WidgetLines(text));
    else if (auto* e = qobject_cast<QPlainTextEdit*>(editBox))
        e->setPlainText(WidgetLines(text));
    else if (auto* e = qobject_cast<QTextEdit*>(editBox))
        e->setPlainText(WidgetLines(text));
}

void SaveWindowControls(SettingsStore& store, QWidget* window, std::string_view section,
                        const std::vector<std::string>& excluded, bool withItemLists,
                        bool withEditTexts) {
    ControlSaver saver(store, withItemLists, withEditTexts);
    ForEachControl(
        store, window, section, excluded,
        [&](QWidget* w, ControlKind kind, const std::string& name) { saver.Save(w, kind, name); });
}

void RestoreWindowControls(SettingsStore& store, QWidget* window, std::string_view section,
                           const std::vector<std::string>& excluded, bool withItemLists,
                           bool withEditTexts) {
    ControlSaver saver(store, withItemLists, withEditTexts);
    ForEachControl(store, window, section, excluded,
                   [&](QWidget* w, ControlKind kind, const std::string& name) {
                       saver.Restore(w, kind, name);
                   });
}

} // namespace tuji
