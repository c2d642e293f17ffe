#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QHeaderView>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <memory>

#include "ui/main/delete_button_delegate.h"
#include "ui/main/spread_grid.h"
#include "ui/main/spread_model.h"

namespace {

// The message list's columns: the delete button, then the message's fields; column 8 is the
// message number.
const QStringList kHeaders = {QString(),
                              QStringLiteral("日付"),
                              QStringLiteral("時刻"),
                              QStringLiteral("相手"),
                              QStringLiteral("用件"),
                              QStringLiteral("担当"),
                              QStringLiteral("メモ"),
                              QStringLiteral("受付NO")};
constexpr int kNumberColumn = 8;

class SpreadGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        grid = std::make_unique<SpreadGrid>();
        grid->setColumnHeaders(kHeaders);
        grid->setNumericColumns({QString::number(kNumberColumn)});
    }

    // Appends one row per entry, writing its texts from column 2 on (column 1 holds the
    // button), the way the window lists messages.
    void appendRows(const QList<QStringList>& rows) {
        for (const QStringList& texts : rows) {
            grid->rowAppend();
            for (int i = 0; i < texts.size(); ++i) {
                grid->cellWrite(i + 2, texts.at(i));
            }
        }
    }

    // A row with only its message number, for ordering checks.
    void appendNumbers(const QStringList& numbers) {
        for (const QString& number : numbers) {
            grid->rowAppend();
            grid->cellWrite(kNumberColumn, number);
        }
    }

    QStringList column(int col) {
        QStringList texts;
        for (int row = 1; row <= grid->MaxRows(); ++row) {
            texts.append(grid->cellText(col, row));
        }
        return texts;
    }

    QStringList row(int r) {
        QStringList texts;
        for (int col = 2; col <= grid->MaxCols(); ++col) {
            texts.append(grid->cellText(col, r));
        }
        return texts;
    }

    void showGrid() {
        grid->resize(800, 400);
        grid->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(grid.get()));
    }

    std::unique_ptr<SpreadGrid> grid;
};

// ---- Cells, rows and the cursor ----

TEST_F(SpreadGridTest, ColumnHeadersSetTheColumnCountAndShowInTheHeader) {
    EXPECT_EQ(grid->MaxCols(), kHeaders.size());
    EXPECT_EQ(grid->MaxRows(), 0);
    EXPECT_EQ(grid->model()->headerData(7, Qt::Horizontal).toString(), QStringLiteral("受付NO"));
    EXPECT_EQ(grid->columnHeaders(), kHeaders);
}

TEST_F(SpreadGridTest, ChangingTheColumnsKeepsTheRowsAndTheirRemainingCells) {
    appendRows({{"a1", "a2", "a3"}, {"b1", "b2", "b3"}});
    grid->setColumnHeaders({QString(), "x", "y"});
    EXPECT_EQ(grid->MaxCols(), 3);
    EXPECT_EQ(grid->MaxRows(), 2);
    EXPECT_EQ(row(1), QStringList({"a1", "a2"}));
    EXPECT_EQ(row(2), QStringList({"b1", "b2"}));
    grid->setColumnHeaders(kHeaders);
    EXPECT_EQ(row(2), QStringList({"b1", "b2", "", "", "", "", ""}));
}

TEST_F(SpreadGridTest, RowAppendPutsTheCursorOnTheNewRowForCellWrite) {
    appendRows({{"2024/01/05", "10:00"}});
    grid->rowAppend();
    EXPECT_EQ(grid->MaxRows(), 2);
    EXPECT_EQ(grid->Row(), 2);
    grid->cellWrite(4, QStringLiteral("山田"));
    EXPECT_EQ(grid->Col(), 4);
    EXPECT_EQ(grid->cellText(4, 2), QStringLiteral("山田"));
    EXPECT_EQ(grid->cellText(4, 1), QString());
    EXPECT_EQ(grid->cellText(2, 1), QStringLiteral("2024/01/05"));
    // The view sees the same cells.
    EXPECT_EQ(grid->model()->rowCount(), 2);
    EXPECT_EQ(grid->model()->index(1, 3).data().toString(), QStringLiteral("山田"));
}

TEST_F(SpreadGridTest, TextIsEmptyOutsideTheGridAndWritesThereAreIgnored) {
    appendRows({{"a"}});
    EXPECT_EQ(grid->cellText(2, 2), QString());
    EXPECT_EQ(grid->cellText(kHeaders.size() + 1, 1), QString());
    EXPECT_EQ(grid->cellText(0, 1), QString());
    grid->setCol(9);
    grid->setRow(1);
    grid->setText("lost");
    grid->setCol(2);
    grid->setRow(5);
    grid->setText("lost");
    EXPECT_EQ(grid->MaxRows(), 1);
    EXPECT_EQ(grid->MaxCols(), kHeaders.size());
    EXPECT_EQ(row(1), QStringList({"a", "", "", "", "", "", ""}));
}

TEST_F(SpreadGridTest, RowZeroReadsAndWritesTheColumnHeader) {
    EXPECT_EQ(grid->cellText(4, 0), QStringLiteral("相手"));
    grid->setCol(6);
    grid->setRow(0);
    grid->setText(QStringLiteral("受信者"));
    EXPECT_EQ(grid->Text(), QStringLiteral("受信者"));
    EXPECT_EQ(grid->model()->headerData(5, Qt::Horizontal).toString(), QStringLiteral("受信者"));
    EXPECT_EQ(grid->columnHeaders().at(5), QStringLiteral("受信者"));
    EXPECT_EQ(grid->MaxRows(), 0);
}

TEST_F(SpreadGridTest, SetMaxRowsTruncatesOrPadsWithEmptyRows) {
    appendRows({{"a"}, {"b"}, {"c"}});
    grid->setMaxRows(5);
    EXPECT_EQ(column(2), QStringList({"a", "b", "c", "", ""}));
    grid->setMaxRows(2);
    EXPECT_EQ(column(2), QStringList({"a", "b"}));
    grid->setMaxRows(0);
    EXPECT_EQ(grid->MaxRows(), 0);
    EXPECT_EQ(grid->model()->rowCount(), 0);
    // Rows appended after dropping everything start empty.
    grid->rowAppend();
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(row(1), QStringList({"", "", "", "", "", "", ""}));
    grid->cellWrite(2, "new");
    EXPECT_EQ(column(2), QStringList({"new"}));
}

TEST_F(SpreadGridTest, BlockClearEmptiesEveryDataCellButKeepsHeadersAndRows) {
    appendRows({{"a", "b", "c", "d", "e", "f", "1"}, {"g", "h", "i", "j", "k", "l", "2"}});
    grid->setCol(1);
    grid->setRow(0);
    grid->setText("head");
    grid->blockClear();
    EXPECT_EQ(grid->MaxRows(), 2);
    for (int r = 1; r <= 2; ++r) {
        for (int c = 1; c <= grid->MaxCols(); ++c) {
            EXPECT_EQ(grid->cellText(c, r), QString()) << c << "," << r;
        }
    }
    EXPECT_EQ(grid->cellText(1, 0), QStringLiteral("head"));
    EXPECT_EQ(grid->cellText(8, 0), QStringLiteral("受付NO"));
}

TEST_F(SpreadGridTest, ClearActionCoversTheBlockOrJustTheCursorCell) {
    appendRows({{"a1", "a2", "a3"}, {"b1", "b2", "b3"}, {"c1", "c2", "c3"}});
    // Columns 3..4 of rows 2..3, with the corners given in reverse.
    grid->setCol(4);
    grid->setRow(3);
    grid->setCol2(3);
    grid->setRow2(2);
    grid->setBlockMode(true);
    grid->setAction(3);
    grid->setBlockMode(false);
    EXPECT_EQ(row(1).mid(0, 3), QStringList({"a1", "a2", "a3"}));
    EXPECT_EQ(row(2).mid(0, 3), QStringList({"b1", "", ""}));
    EXPECT_EQ(row(3).mid(0, 3), QStringList({"c1", "", ""}));
    // Without block mode only the cursor cell empties.
    grid->setCol(2);
    grid->setRow(1);
    grid->setAction(3);
    EXPECT_EQ(row(1).mid(0, 3), QStringList({"", "a2", "a3"}));
    EXPECT_EQ(grid->cellText(2, 2), QStringLiteral("b1"));
}

TEST_F(SpreadGridTest, RowDeleteMovesTheRowsBelowUp) {
    appendRows({{"a"}, {"b"}, {"c"}, {"d"}});
    grid->rowDelete(1);
    EXPECT_EQ(column(2), QStringList({"b", "c", "d"}));
    grid->rowDelete(2);
    EXPECT_EQ(column(2), QStringList({"b", "d"}));
    grid->rowDelete(2);
    EXPECT_EQ(column(2), QStringList({"b"}));
    EXPECT_EQ(grid->model()->rowCount(), 1);
    // The header row and rows past the end are not rows to delete.
    grid->rowDelete(0);
    grid->rowDelete(2);
    EXPECT_EQ(column(2), QStringList({"b"}));
    EXPECT_EQ(grid->cellText(2, 0), QStringLiteral("日付"));
    grid->rowDelete(1);
    EXPECT_EQ(grid->MaxRows(), 0);
}

TEST_F(SpreadGridTest, ThousandsOfRowsKeepTheirCellsThroughDeleteShrinkSortAndNewColumns) {
    // Enough rows to span several of the storage's chunks.
    const int n = 2600;
    QStringList numbers;
    for (int i = n - 1; i >= 0; --i) {
        numbers.append(QString::number(i));
    }
    appendNumbers(numbers);
    grid->columnSort(kNumberColumn);
    QStringList ascending;
    for (int i = 0; i < n; ++i) {
        ascending.append(QString::number(i));
    }
    ASSERT_EQ(column(kNumberColumn), ascending);

    // Deleting the first row moves every row below it up, across chunk boundaries.
    grid->rowDelete(1);
    ascending.removeFirst();
    ASSERT_EQ(column(kNumberColumn), ascending);

    // Shrinking inside a chunk and growing again gives empty rows, not the old cells.
    grid->setMaxRows(1100);
    grid->setMaxRows(n);
    const QStringList kept = column(kNumberColumn);
    EXPECT_EQ(kept.mid(0, 1100), ascending.mid(0, 1100));
    EXPECT_EQ(kept.mid(1100), QStringList(n - 1100, QString()));

    // Fewer columns drop the cells beyond them; the rest stay with their rows.
    QStringList fewer = kHeaders.mid(0, 3);
    grid->setColumnHeaders(fewer);
    grid->setColumnHeaders(kHeaders);
    EXPECT_EQ(column(kNumberColumn), QStringList(n, QString()));
    grid->setMaxRows(3);
    grid->setMaxRows(2100);
    grid->setRow(2048);
    grid->setCol(2);
    grid->setText("x");
    grid->setColumnHeaders(kHeaders.mid(0, 4));
    EXPECT_EQ(grid->cellText(2, 2048), QStringLiteral("x"));
    EXPECT_EQ(grid->cellText(2, 2047), QString());
}

TEST_F(SpreadGridTest, SampleRowFillsRowOneFromColumnOne) {
    SpreadGrid fresh;
    fresh.setSampleRow({"", "2024/01/01", "", "山田"});
    fresh.setColumnHeaders(kHeaders);
    EXPECT_EQ(fresh.MaxRows(), 1);
    EXPECT_EQ(fresh.cellText(2, 1), QStringLiteral("2024/01/01"));
    EXPECT_EQ(fresh.cellText(3, 1), QString());
    EXPECT_EQ(fresh.cellText(4, 1), QStringLiteral("山田"));

    grid->setMaxRows(2);
    grid->setSampleRow({"", "x"});
    EXPECT_EQ(grid->MaxRows(), 2);
    EXPECT_EQ(column(2), QStringList({"x", ""}));
}

// ---- Sorting ----

TEST_F(SpreadGridTest, SortMovesWholeRowsAndKeepsTheHeader) {
    appendRows({{"2024/01/03", "c", "p3", "u3", "n3", "m3", "3"},
                {"2024/01/01", "a", "p1", "u1", "n1", "m1", "1"},
                {"2024/01/02", "b", "p2", "u2", "n2", "m2", "2"}});
    grid->setCol(6);
    grid->setRow(0);
    grid->setText(QStringLiteral("受信者"));
    grid->columnSort(2);
    EXPECT_EQ(row(1), QStringList({"2024/01/01", "a", "p1", "u1", "n1", "m1", "1"}));
    EXPECT_EQ(row(2), QStringList({"2024/01/02", "b", "p2", "u2", "n2", "m2", "2"}));
    EXPECT_EQ(row(3), QStringList({"2024/01/03", "c", "p3", "u3", "n3", "m3", "3"}));
    EXPECT_EQ(grid->cellText(6, 0), QStringLiteral("受信者"));
    EXPECT_EQ(grid->cellText(2, 0), QStringLiteral("日付"));
    EXPECT_EQ(grid->MaxRows(), 3);
}

TEST_F(SpreadGridTest, NumberColumnSortsAsNumbers) {
    appendNumbers({"10", "9", "100", "2"});
    grid->columnSort(kNumberColumn);
    EXPECT_EQ(column(kNumberColumn), QStringList({"2", "9", "10", "100"}));
}

TEST_F(SpreadGridTest, ColumnsNotMarkedNumericSortAsText) {
    EXPECT_EQ(grid->numericColumns(), QStringList({"8"}));
    grid->setNumericColumns({});
    appendNumbers({"10", "9", "100", "2"});
    grid->columnSort(kNumberColumn);
    EXPECT_EQ(column(kNumberColumn), QStringList({"10", "100", "2", "9"}));
}

TEST_F(SpreadGridTest, EmptyRowsStayBelowListedRowsInEitherOrder) {
    appendNumbers({"", "5", "", "3", ""});
    grid->columnSort(kNumberColumn);
    EXPECT_EQ(column(kNumberColumn), QStringList({"3", "5", "", "", ""}));

    grid->setRow(1);
    grid->setRow2(grid->MaxRows());
    grid->setSortBy(0);
    grid->setSortKey(1, kNumberColumn);
    grid->setSortKeyOrder(1, 2);
    grid->setAction(25);
    EXPECT_EQ(column(kNumberColumn), QStringList({"5", "3", "", "", ""}));
}

TEST_F(SpreadGridTest, EmptyKeyOfAListedRowComesFirstAndEqualKeysKeepTheirOrder) {
    appendRows({{"b", "first b"}, {"", "no date"}, {"a", "a"}, {"b", "second b"}});
    grid->columnSort(2);
    EXPECT_EQ(column(3), QStringList({"no date", "a", "first b", "second b"}));
}

TEST_F(SpreadGridTest, EqualKeysKeepTheirOrderInALongList) {
    // Enough rows for a sort that is not stable to show it.
    QStringList expectedA, expectedB;
    for (int i = 0; i < 64; ++i) {
        const QString key = i % 3 == 0 ? "b" : "a";
        appendRows({{key, QString::number(i)}});
        (key == "a" ? expectedA : expectedB).append(QString::number(i));
    }
    grid->columnSort(2);
    EXPECT_EQ(column(3), expectedA + expectedB);
}

TEST_F(SpreadGridTest, SortByKeyColumnZeroLeavesTheRows) {
    appendNumbers({"3", "1", "2"});
    grid->columnSort(0);
    EXPECT_EQ(column(kNumberColumn), QStringList({"3", "1", "2"}));
}

TEST_F(SpreadGridTest, SortReordersOnlyTheBlockRows) {
    appendNumbers({"4", "3", "2", "1"});
    grid->setCol(1);
    grid->setRow(2);
    grid->setCol2(grid->MaxCols());
    grid->setRow2(3);
    grid->setBlockMode(true);
    grid->setSortBy(0);
    grid->setSortKey(1, kNumberColumn);
    grid->setSortKeyOrder(1, 1);
    grid->setAction(25);
    grid->setBlockMode(false);
    EXPECT_EQ(column(kNumberColumn), QStringList({"4", "2", "3", "1"}));
}

// ---- Batches ----

TEST_F(SpreadGridTest, RowsWrittenInABatchShowAfterOneRefresh) {
    QSignalSpy resets(grid->model(), &QAbstractItemModel::modelReset);
    QSignalSpy inserts(grid->model(), &QAbstractItemModel::rowsInserted);
    QSignalSpy changes(grid->model(), &QAbstractItemModel::dataChanged);
    {
        SpreadGrid::Batch outer(*grid);
        {
            SpreadGrid::Batch inner(*grid);
            for (int i = 1; i <= 500; ++i) {
                grid->rowAppend();
                grid->cellWrite(kNumberColumn, QString::number(i));
            }
        }
        EXPECT_EQ(resets.count(), 0);
        grid->rowDelete(1);
    }
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(inserts.count(), 0);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(grid->model()->rowCount(), 499);
    EXPECT_EQ(grid->model()->index(0, kNumberColumn - 1).data().toString(), QStringLiteral("2"));
    EXPECT_EQ(grid->model()->index(498, kNumberColumn - 1).data().toString(),
              QStringLiteral("500"));

    // Outside a batch each change tells the view at once.
    grid->rowAppend();
    grid->cellWrite(2, "x");
    EXPECT_EQ(inserts.count(), 1);
    EXPECT_EQ(changes.count(), 1);
}

// ---- The model ----

TEST_F(SpreadGridTest, ModelCellsAreReadOnlyAndRowHeadersNumberTheRows) {
    appendNumbers({"7", "8", "9"});
    const QAbstractItemModel* model = grid->model();
    const Qt::ItemFlags flags = model->flags(model->index(0, 1));
    EXPECT_FALSE(flags.testFlag(Qt::ItemIsEditable));
    EXPECT_TRUE(flags.testFlag(Qt::ItemIsEnabled));
    EXPECT_EQ(model->headerData(0, Qt::Vertical).toInt(), 1);
    EXPECT_EQ(model->headerData(2, Qt::Vertical).toInt(), 3);
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
}

// ---- Clicks ----

TEST_F(SpreadGridTest, ClickOnACellReportsItsColumnAndRow) {
    appendNumbers({"1", "2", "3"});
    showGrid();
    QSignalSpy clicks(grid.get(), &SpreadGrid::Click);
    const QRect cell = grid->visualRect(grid->model()->index(1, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).toInt(), 1);
    EXPECT_EQ(clicks.at(0).at(1).toInt(), 2);

    const QRect other = grid->visualRect(grid->model()->index(2, 3));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, other.center());
    ASSERT_EQ(clicks.count(), 2);
    EXPECT_EQ(clicks.at(1).at(0).toInt(), 4);
    EXPECT_EQ(clicks.at(1).at(1).toInt(), 3);
}

TEST_F(SpreadGridTest, ClickOnAColumnHeaderReportsRowZeroAndDoesNotSort) {
    appendNumbers({"3", "1", "2"});
    showGrid();
    QSignalSpy clicks(grid.get(), &SpreadGrid::Click);
    QHeaderView* header = grid->horizontalHeader();
    const int section = kNumberColumn - 1;
    const QPoint at(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).toInt(), kNumberColumn);
    EXPECT_EQ(clicks.at(0).at(1).toInt(), 0);
    EXPECT_EQ(column(kNumberColumn), QStringList({"3", "1", "2"}));
}

TEST_F(SpreadGridTest, ClickOnARowHeaderReportsColumnZero) {
    appendNumbers({"1", "2", "3"});
    showGrid();
    QSignalSpy clicks(grid.get(), &SpreadGrid::Click);
    QHeaderView* header = grid->verticalHeader();
    const QPoint at(header->width() / 2,
                    header->sectionViewportPosition(2) + header->sectionSize(2) / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).toInt(), 0);
    EXPECT_EQ(clicks.at(0).at(1).toInt(), 3);
}

TEST_F(SpreadGridTest, DoubleClicksReportCellsAndHeaders) {
    appendNumbers({"1", "2"});
    showGrid();
    QSignalSpy doubles(grid.get(), &SpreadGrid::DblClick);

    // A cell: press, release, the double click, release.
    const QPoint cell = grid->visualRect(grid->model()->index(1, 2)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, cell);
    ASSERT_EQ(doubles.count(), 1);
    EXPECT_EQ(doubles.at(0).at(0).toInt(), 3);
    EXPECT_EQ(doubles.at(0).at(1).toInt(), 2);

    QHeaderView* top = grid->horizontalHeader();
    const QPoint column4(top->sectionViewportPosition(3) + top->sectionSize(3) / 2,
                         top->height() / 2);
    QTest::mouseDClick(top->viewport(), Qt::LeftButton, {}, column4);
    ASSERT_EQ(doubles.count(), 2);
    EXPECT_EQ(doubles.at(1).at(0).toInt(), 4);
    EXPECT_EQ(doubles.at(1).at(1).toInt(), 0);

    QHeaderView* side = grid->verticalHeader();
    const QPoint row1(side->width() / 2,
                      side->sectionViewportPosition(0) + side->sectionSize(0) / 2);
    QTest::mouseDClick(side->viewport(), Qt::LeftButton, {}, row1);
    ASSERT_EQ(doubles.count(), 3);
    EXPECT_EQ(doubles.at(2).at(0).toInt(), 0);
    EXPECT_EQ(doubles.at(2).at(1).toInt(), 1);
}

// ---- Widths and drawing ----

TEST_F(SpreadGridTest, WidthsInCharactersFollowTheFont) {
    grid->setColumnWidths({"4", "10.5", "bad", "0"});
    grid->setRowHeaderWidth(5);
    const auto expected = [&](double characters) {
        const double zero = QFontMetricsF(grid->font()).horizontalAdvance(QLatin1Char('0'));
        return int(std::lround(characters * zero));
    };
    EXPECT_EQ(grid->columnWidth(0), expected(4));
    EXPECT_EQ(grid->columnWidth(1), expected(10.5));
    EXPECT_EQ(grid->columnWidth(3), 0);
    EXPECT_EQ(grid->verticalHeader()->width(), expected(5));

    const int before = grid->columnWidth(1);
    QFont larger = grid->font();
    larger.setPointSizeF(larger.pointSizeF() * 2);
    grid->setFont(larger);
    EXPECT_GT(grid->columnWidth(1), before);
    EXPECT_EQ(grid->columnWidth(1), expected(10.5));
    EXPECT_EQ(grid->verticalHeader()->width(), expected(5));
    EXPECT_EQ(grid->columnWidths(), QStringList({"4", "10.5", "bad", "0"}));

    // The window's style sheet sets the font after the widths are designed.
    const int sized = grid->columnWidth(1);
    grid->setStyleSheet("SpreadGrid { font-size: 40px; }");
    grid->ensurePolished();
    EXPECT_GT(grid->columnWidth(1), sized);
    EXPECT_EQ(grid->columnWidth(1), expected(10.5));
}

// Whether every pixel inside the rectangle has one colour.
bool uniform(const QImage& image, const QRect& rect) {
    const QRgb first = image.pixel(rect.topLeft());
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            if (image.pixel(x, y) != first) {
                return false;
            }
        }
    }
    return true;
}

TEST_F(SpreadGridTest, ColumnOneShowsAButtonInEveryRow) {
    EXPECT_EQ(DeleteButtonDelegate::label(), QStringLiteral("削除"));
    EXPECT_NE(qobject_cast<DeleteButtonDelegate*>(grid->itemDelegateForColumn(0)), nullptr);
    grid->setColumnWidths({"8", "12"});
    grid->setMaxRows(2);
    showGrid();
    const QImage image = grid->viewport()->grab().toImage();
    const qreal ratio = image.devicePixelRatio();
    const auto inside = [&](int r, int c) {
        const QRect cell = grid->visualRect(grid->model()->index(r, c)).adjusted(3, 3, -3, -3);
        return QRect(cell.topLeft() * ratio, cell.size() * ratio);
    };
    // An empty cell of another column is plain background; the button cells are not.
    EXPECT_TRUE(uniform(image, inside(0, 1)));
    EXPECT_FALSE(uniform(image, inside(0, 0)));
    EXPECT_FALSE(uniform(image, inside(1, 0)));
}

}  // namespace
