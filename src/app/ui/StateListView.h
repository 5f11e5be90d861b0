#pragma once

// The pages' list with columns and a state icon per row. The rows live in a
// model of our own that appends in constant time and repaints only what
// changed, so lists of many thousand rows stay quick.
//
// Rows and columns count from 0. The mutators may be called from any thread:
// off the user-interface thread they are queued to it, and the calls of one
// thread arrive in the order that thread made them. Reads (rowCount,
// cellText, rowIcon, selectedRow, rowData) belong to the user-interface
// thread; a worker gets what it needs before it starts.

#include <QAbstractTableModel>
#include <QIcon>
#include <QTreeView>
#include <string>
#include <vector>

namespace tuji {

// The state icons the pages use.
namespace RowState {
inline constexpr int Done = 0;
inline constexpr int Failed = 1;
inline constexpr int Queued = 2;
inline constexpr int Downloading = 3;
} // namespace RowState

class StateListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit StateListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void setColumnTitle(int column, const QString& title);
    int appendRow(int icon, std::vector<QString> cells);
    void setCellText(int row, int column, const QString& text);
    void setRowIcon(int row, int icon);
    void setRowData(int row, std::string data);
    void clearRows();

    QString cellText(int row, int column) const;
    int rowIcon(int row) const;
    const std::string& rowData(int row) const;
    void setIcons(std::vector<QIcon> icons);

private:
    struct Row {
        int icon = 0;
        std::vector<QString> cells;
        std::string data;
    };
    bool validRow(int row) const { return row >= 0 && row < int(rows_.size()); }

    std::vector<QString> titles_;
    std::vector<Row> rows_;
    std::vector<QIcon> icons_;
};

class StateListView : public QTreeView {
    Q_OBJECT
public:
    explicit StateListView(QWidget* parent = nullptr);

    // Adds or replaces column `column` (columns in between get empty titles).
    // Width 0 collapses the column until the user widens it.
    void setColumn(int column, const std::string& title, int width);

    // Returns the new row's index.
    int appendRow(int icon, const std::vector<std::string>& cells);
    void setCellText(int row, int column, const std::string& text);
    void setRowIcon(int row, int icon);
    void scrollRowIntoView(int row);
    void clearRows();
    // A text kept with the row, never shown (the re-hosting page keeps the
    // reference as written there).
    void setRowData(int row, const std::string& data);

    int rowCount() const;
    std::string cellText(int row, int column) const; // empty when out of range
    int rowIcon(int row) const;                      // -1 when out of range
    std::string rowData(int row) const;
    int selectedRow() const; // -1 when none

    // The pictures behind the state numbers; four drawn ones by default.
    void setStateIcons(std::vector<QIcon> icons);

    StateListModel* listModel() const { return model_; }

signals:
    // A row was clicked: row index and the button.
    void rowClicked(int row, Qt::MouseButton button);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    StateListModel* model_;
};

// The default state pictures, 24 × 24: done, failed, queued, downloading.
std::vector<QIcon> DefaultStateIcons();

} // namespace tuji
