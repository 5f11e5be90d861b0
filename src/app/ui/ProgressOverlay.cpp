#include "app/ui/ProgressOverlay.h"

#include <QLabel>
#include <QProgressBar>

namespace tuji {

void LayLabelOverBar(QLabel* label, QProgressBar* bar) {
    if (!label || !bar) return;
    const bool visible = label->isVisibleTo(label->parentWidget());
    label->setParent(bar);
    label->setGeometry(10, 0, qMax(0, bar->width() - 20), bar->height());
    label->setAutoFillBackground(false);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    label->setVisible(visible);
    bar->setTextVisible(false);
}

} // namespace tuji
