#include "settings/ui/WindowPlace.h"

#include "text/Encoding.h"

#include <QWidget>

namespace tuji {

namespace {

constexpr int kNormal = 0;
constexpr int kMinimised = 2;
constexpr int kMaximised = 3;

void SelectPlaceSection(SettingsStore& store, std::string_view section) {
    std::string name = section.empty() ? T("主界面") : std::string(section);
    store.SelectSection(name + T(".尺寸"));
}

} // namespace

void SaveWindowPlace(SettingsStore& store, QWidget* window, std::string_view section) {
    if (!window) return;
    SelectPlaceSection(store, section);
    int state = kNormal;
    if (window->isMinimized())
        state = kMinimised;
    else if (window->isMaximized() || window->isFullScreen())
        state = kMaximised;
    store.WriteNumber(T("位置"), state);
    if (state > 1) return;
    store.WriteNumber(T("左边"), window->x());
    store.WriteNumber(T("顶边"), window->y());
    store.WriteNumber(T("宽度"), window->width());
    store.WriteNumber(T("高度"), window->height());
}

void RestoreWindowPlace(SettingsStore& store, QWidget* window, std::string_view section) {
    if (!window) return;
    SelectPlaceSection(store, section);
    long long state = store.ReadNumber(T("位置"), kNormal);
    if (state == kMinimised) {
        window->setWindowState(window->windowState() | Qt::WindowMinimized);
        return;
    }
    if (state > 1) {
        window->setWindowState(window->windowState() | Qt::WindowMaximized);
        return;
    }
    int left = int(store.ReadNumber(T("左边"), window->x()));
    int top = int(store.ReadNumber(T("顶边"), window->y()));
    int width = int(store.ReadNumber(T("宽度"), window->width()));
    int height = int(store.ReadNumber(T("高度"), window->height()));
    window->move(left, top);
    if (width > 0 && height > 0) window->resize(width, height);
}

} // namespace tuji
