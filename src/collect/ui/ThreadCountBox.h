#pragma once

// 组合框线程数, the parallel-download choice the downloading pages share:
// ThreadCountItems() with kDefaultThreadCountIndex chosen.

class QComboBox;
class QWidget;

namespace tuji {

QComboBox* PlaceThreadCountBox(QWidget* page, int left, int top, int width, int height);

} // namespace tuji
