#include "app/ui/FormControls.h"

#include "app/ui/ProgressOverlay.h"
#include "text/Encoding.h"

#include <QComboBox>
#include <QLabel>
#include <QProgressBar>

namespace tuji {

QString FormText(const char* utf8) {
    return QString::fromUtf8(utf8);
}

void FillChoices(QComboBox* box, const std::vector<std::string>& items, int chosen) {
    for (const std::string& item : items)
        box->addItem(ToQString(item));
    box->setCurrentIndex(chosen);
}

ProgressLine PlaceProgressLine(QWidget* page, int left, int top, int width, int height) {
    ProgressLine line;
    line.bar = PlaceControl<QProgressBar>(page, "进度条", left, top, width, height);
    line.label = new QLabel(line.bar);
    line.label->setObjectName(FormText("透明标签"));
    LayLabelOverBar(line.label, line.bar);
    line.bar->hide();
    line.label->hide();
    return line;
}

void OnRightClick(QWidget* control, QObject* context, std::function<void()> onRightClick) {
    // The context-menu request, not the raw button press: it also comes from
    // the menu key, and only once per click on every platform.
    control->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(control, &QWidget::customContextMenuRequested, context,
                     [onRightClick = std::move(onRightClick)] { onRightClick(); });
}

} // namespace tuji
