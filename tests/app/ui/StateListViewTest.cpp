#include "app/ui/StateListView.h"

#include "text/Encoding.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <gtest/gtest.h>
#include <thread>

using namespace tuji;

namespace {

struct KeywordList : ::testing::Test {
    StateListView list;
    KeywordList() {
        list.setColumn(0, T("存放位置"), 450);
        list.setColumn(1, T("图片地址"), 350);
        list.setColumn(2, T("图片标题"), 0);
    }
};

} // namespace

TEST_F(KeywordList, ColumnsHaveTitlesAndWidths) {
    const auto* model = list.model();
    ASSERT_EQ(model->columnCount(), 3);
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), QString::fromUtf8("存放位置"));
    EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), QString::fromUtf8("图片标题"));
    EXPECT_EQ(list.columnWidth(0), 450);
    EXPECT_EQ(list.columnWidth(2), 0);
}

TEST_F(KeywordList, RowsCellsAndIcons) {
    EXPECT_EQ(list.appendRow(RowState::Queued, {T("下载排队中.."), "http://h/a.jpg", T("标题")}),
              0);
    EXPECT_EQ(list.appendRow(RowState::Done, {T("猫.txt")}), 1);
    EXPECT_EQ(list.rowCount(), 2);
    EXPECT_EQ(list.cellText(0, 1), "http://h/a.jpg");
    EXPECT_EQ(list.cellText(1, 2), ""); // never set
    EXPECT_EQ(list.cellText(5, 0), ""); // no such row
    list.setCellText(0, 0, T("正在下载中.."));
    list.setRowIcon(0, RowState::Downloading);
    list.setCellText(9, 0, "ignored");
    EXPECT_EQ(list.cellText(0, 0), T("正在下载中.."));
    EXPECT_EQ(list.rowIcon(0), RowState::Downloading);
    EXPECT_EQ(list.rowIcon(3), -1);
    EXPECT_FALSE(list.model()->index(0, 0).data(Qt::DecorationRole).isNull());
    list.setRowData(1, "<img src=a.jpg>");
    EXPECT_EQ(list.rowData(1), "<img src=a.jpg>");

    EXPECT_EQ(list.selectedRow(), -1);
    list.setCurrentIndex(list.model()->index(1, 0));
    EXPECT_EQ(list.selectedRow(), 1);
    list.clearRows();
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(list.selectedRow(), -1);
}

TEST_F(KeywordList, ManyRowsStayAddressable) {
    list.resize(805, 336);
    list.show();
    for (int i = 0; i < 6000; ++i)
        list.appendRow(RowState::Queued, {T("下载排队中.."), "http://h/" + std::to_string(i)});
    list.scrollRowIntoView(5999);
    QCoreApplication::processEvents();
    EXPECT_EQ(list.rowCount(), 6000);
    EXPECT_EQ(list.cellText(5999, 1), "http://h/5999");
    EXPECT_TRUE(list.visualRect(list.model()->index(5999, 0)).intersects(list.viewport()->rect()));
}

TEST_F(KeywordList, WorkerUpdatesArriveInTheirOrder) {
    for (int i = 0; i < 3; ++i)
        list.appendRow(RowState::Queued, {T("下载排队中..")});
    std::thread worker([this] {
        for (int i = 0; i < 200; ++i)
            list.setCellText(1, 0, std::to_string(i));
        list.setRowIcon(1, RowState::Done);
        list.setCellText(1, 0, T("a.jpg"));
    });
    worker.join();
    EXPECT_EQ(list.rowIcon(1), RowState::Queued); // nothing touched the model off-thread
    QCoreApplication::processEvents();
    EXPECT_EQ(list.cellText(1, 0), T("a.jpg"));
    EXPECT_EQ(list.rowIcon(1), RowState::Done);
}
