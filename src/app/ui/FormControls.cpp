#include "app/ui/FormControls.h"

#include "text/Encoding.h"

#include <QComboBox>

namespace tuji {

QString FormText(const char* utf8) {
    return QString::fromUtf8(utf8);
}

void FillChoices(QComboBox* box, const std::vector<std::string>& items, int chosen) {
    for (const std::string& item : items)
        box->addItem(ToQString(item));
    box->setCurrentIndex(chosen);
}

void OnRightClick(QWidget* control, QObject* context, std::function<void()> onRightClick) {
    // The context-menu request, not the raw button press: it also comes from
    // the menu key, and only once per click on every platform.
    control->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(control, &QWidget::customContextMenuRequested, context,
                     [onRightClick = std::move(onRightClick)] { onRightClick(); });
}

} // namespace tuji
