#include "collect/ui/ThreadCountBox.h"

#include "app/ui/FormControls.h"
#include "collect/DownloadJob.h"

#include <QComboBox>

namespace tuji {

QComboBox* PlaceThreadCountBox(QWidget* page, int left, int top, int width, int height) {
    auto* box = PlaceControl<QComboBox>(page, "组合框线程数", left, top, width, height);
    FillChoices(box, ThreadCountItems(), kDefaultThreadCountIndex);
    return box;
}

} // namespace tuji
