#include "app/ui/StateListView.h"

#include "text/Encoding.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QThread>

namespace tuji {

namespace {

QIcon DrawnIcon(int state) {
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor colours[] = {QColor(0x2e, 0x9d, 0x4f), QColor(0xd0, 0x3b, 0x2f),
                              QColor(0x8a, 0x8f, 0x98), QColor(0x1f, 0x6f, 0xc5)};
    p.setPen(Qt::NoPen);
    p.setBrush(colours[state]);
    p.drawEllipse(QRectF(2, 2, 20, 20));
    p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    switch (state) {
    case RowState::Done:
        p.drawPolyline(QPolygonF({QPointF(7, 12.5), QPointF(10.5, 16), QPointF(17, 8.5)}));
        break;
    case RowState::Failed:
        p.drawLine(QPointF(8, 8), QPointF(16, 16));
        p.drawLine(QPointF(16, 8), QPointF(8, 16));
        break;
    case RowState::Queued:
        p.drawLine(QPointF(12, 12), QPointF(12, 7));
        p.drawLine(QPointF(12, 12), QPointF(15.5, 14));
        break;
    default:
        p.drawLine(QPointF(12, 6.5), QPointF(12, 16));
        p.drawPolyline(QPolygonF({QPointF(8, 12.5), QPointF(12, 16.5), QPointF(16, 12.5)}));
        break;
    }
    return QIcon(pixmap);
}

// Runs `call` on the view's thread: at once when already there, queued
// otherwise (queued calls of one thread keep their order).
template <typename F> void OnOwnThread(QObject* owner, F&& call) {
    if (QThread::currentThread() == owner->thread())
        call();
    else
        QMetaObject::invokeMethod(owner, std::forward<F>(call), Qt::QueuedConnection);
}

} // namespace

std::vector<QIcon> DefaultStateIcons() {
    return {DrawnIcon(0), DrawnIcon(1), DrawnIcon(2), DrawnIcon(3)};
}

StateListModel::StateListModel(QObject* parent) : QAbstractTableModel(parent) {}

int StateListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int StateListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(titles_.size());
}

QVariant StateListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !validRow(index.row())) return {};
    const Row& row = rows_[size_t(index.row())];
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        if (size_t(index.column()) < row.cells.size()) return row.cells[size_t(index.column())];
        return {};
    }
    if (role == Qt::DecorationRole && index.column() == 0 && row.icon >= 0 &&
        size_t(row.icon) < icons_.size())
        return icons_[size_t(row.icon)];
    return {};
}

QVariant StateListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        size_t(section) < titles_.size())
        return titles_[size_t(section)];
    return {};
}

void StateListModel::setColumnTitle(int column, const QString& title) {
    if (column < 0) return;
    if (size_t(column) >= titles_.size()) {
        beginInsertColumns({}, int(titles_.size()), column);
        titles_.resize(size_t(column) + 1);
        titles_[size_t(column)] = title;
        endInsertColumns();
        return;
    }
    titles_[size_t(column)] = title;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

int StateListModel::appendRow(int icon, std::vector<QString> cells) {
    const int row = int(rows_.size());
    beginInsertRows({}, row, row);
    rows_.push_back(Row{icon, std::move(cells), {}});
    endInsertRows();
    return row;
}

void StateListModel::setCellText(int row, int column, const QString& text) {
    if (!validRow(row) || column < 0) return;
    auto& cells = rows_[size_t(row)].cells;
    if (size_t(column) >= cells.size()) cells.resize(size_t(column) + 1);
    cells[size_t(column)] = text;
    const QModelIndex at = index(row, column);
    emit dataChanged(at, at, {Qt::DisplayRole});
}

void StateListModel::setRowIcon(int row, int icon) {
    if (!validRow(row)) return;
    rows_[size_t(row)].icon = icon;
    const QModelIndex at = index(row, 0);
    emit dataChanged(at, at, {Qt::DecorationRole});
}

void StateListModel::setRowData(int row, std::string data) {
    if (validRow(row)) rows_[size_t(row)].data = std::move(data);
}

void StateListModel::clearRows() {
    beginResetModel();
    rows_.clear();
    endResetModel();
}

QString StateListModel::cellText(int row, int column) const {
    if (!validRow(row) || column < 0) return {};
    const auto& cells = rows_[size_t(row)].cells;
    return size_t(column) < cells.size() ? cells[size_t(column)] : QString();
}

int StateListModel::rowIcon(int row) const {
    return validRow(row) ? rows_[size_t(row)].icon : -1;
}

const std::string& StateListModel::rowData(int row) const {
    static const std::string none;
    return validRow(row) ? rows_[size_t(row)].data : none;
}

void StateListModel::setIcons(std::vector<QIcon> icons) {
    icons_ = std::move(icons);
    if (!rows_.empty()) emit dataChanged(index(0, 0), index(int(rows_.size()) - 1, 0));
}

StateListView::StateListView(QWidget* parent)
    : QTreeView(parent), model_(new StateListModel(this)) {
    setModel(model_);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true); // keeps long lists quick to lay out
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setIconSize(QSize(24, 24));
    header()->setMinimumSectionSize(0);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    model_->setIcons(DefaultStateIcons());
}

void StateListView::setColumn(int column, const std::string& title, int width) {
    model_->setColumnTitle(column, ToQString(title));
    setColumnWidth(column, width);
}

int StateListView::appendRow(int icon, const std::vector<std::string>& cells) {
    std::vector<QString> texts;
    texts.reserve(cells.size());
    for (const auto& c : cells)
        texts.push_back(ToQString(c));
    if (QThread::currentThread() == thread()) return model_->appendRow(icon, std::move(texts));
    QMetaObject::invokeMethod(
        this,
        [this, icon, texts = std::move(texts)]() mutable {
            model_->appendRow(icon, std::move(texts));
        },
        Qt::QueuedConnection);
    return -1; // not known off the user-interface thread
}

void StateListView::setCellText(int row, int column, const std::string& text) {
    OnOwnThread(this,
                [this, row, column, t = ToQString(text)] { model_->setCellText(row, column, t); });
}

void StateListView::setRowIcon(int row, int icon) {
    OnOwnThread(this, [this, row, icon] { model_->setRowIcon(row, icon); });
}

void StateListView::scrollRowIntoView(int row) {
    OnOwnThread(this, [this, row] {
        if (row >= 0 && row < model_->rowCount()) scrollTo(model_->index(row, 0));
    });
}

void StateListView::clearRows() {
    OnOwnThread(this, [this] { model_->clearRows(); });
}

void StateListView::setRowData(int row, const std::string& data) {
    OnOwnThread(this, [this, row, data] { model_->setRowData(row, data); });
}

int StateListView::rowCount() const {
    return model_->rowCount();
}

std::string StateListView::cellText(int row, int column) const {
    return FromQString(model_->cellText(row, column));
}

int StateListView::rowIcon(int row) const {
    return model_->rowIcon(row);
}

std::string StateListView::rowData(int row) const {
    return model_->rowData(row);
}

int StateListView::selectedRow() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (!rows.isEmpty()) return rows.first().row();
    const QModelIndex current = currentIndex();
    return current.isValid() && selectionModel()->isSelected(current) ? current.row() : -1;
}

void StateListView::setStateIcons(std::vector<QIcon> icons) {
    model_->setIcons(std::move(icons));
}

void StateListView::mousePressEvent(QMouseEvent* event) {
    QTreeView::mousePressEvent(event);
    const QModelIndex at = indexAt(event->position().toPoint());
    if (at.isValid()) {
        // The right button selects too, so "the selected row" is the clicked one.
        if (event->button() == Qt::RightButton) setCurrentIndex(at);
        emit rowClicked(at.row(), event->button());
    }
}

} // namespace tuji
