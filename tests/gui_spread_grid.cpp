#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>

#include <memory>
#include <optional>
#include <vector>

#include "ui/main/delete_button_delegate.h"
#include "ui/main/spread_grid.h"
#include "ui/main/spread_model.h"

namespace {

const QStringList kHeaders = {QStringLiteral("削除"),     QStringLiteral("日時"),
                              QStringLiteral("電話相手"), QStringLiteral("メモ"),
                              QStringLiteral("電話"),     QStringLiteral("受人"),
                              QStringLiteral("既読"),     QStringLiteral("受付NO")};

// A listed row: its date-time, caller and memo texts and its message number.
GridRow listed(const QString& dateTime, const QString& caller, const QString& memo,
               std::optional<std::int64_t> number) {
    GridRow row;
    row.setText(GridColumn::DateTime, dateTime);
    row.setText(GridColumn::Caller, caller);
    row.setText(GridColumn::Memo, memo);
    row.setNumber(number);
    return row;
}

class SpreadGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        grid = std::make_unique<SpreadGrid>();
        grid->setColumnHeaders(kHeaders);
    }

    // Rows with only a message number (none for an empty row), for ordering checks.
    void appendNumbers(const std::vector<std::optional<std::int64_t>>& numbers) {
        for (const auto& number : numbers) {
            grid->appendRow(listed({}, {}, {}, number));
        }
    }

    QStringList column(GridColumn col) {
        QStringList texts;
        for (int row = 1; row <= grid->rowCount(); ++row) {
            texts.append(grid->text(col, row));
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

// ---- Rows, texts and numbers ----

TEST_F(SpreadGridTest, AppendedRowsShowTheirTextsAndNumberAndKeepTheNumberAsData) {
    grid->appendRow(listed("25/04/03 10:12", "佐藤様", "見積", 12));
    grid->appendRow(listed({}, "鈴木様", {}, std::nullopt));
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->text(GridColumn::DateTime, 1), QStringLiteral("25/04/03 10:12"));
    EXPECT_EQ(grid->text(GridColumn::Caller, 2), QStringLiteral("鈴木様"));
    EXPECT_EQ(grid->text(GridColumn::Number, 1), QStringLiteral("12"));
    EXPECT_EQ(grid->number(1), 12);
    EXPECT_EQ(grid->number(2), std::nullopt);
    // The view sees the same: the number as digits in its column, as data in every column.
    const QAbstractItemModel* model = grid->model();
    EXPECT_EQ(model->index(0, 7).data().toString(), QStringLiteral("12"));
    EXPECT_EQ(model->index(0, 2).data(SpreadModel::NumberRole).toLongLong(), 12);
    EXPECT_FALSE(model->index(1, 7).data(SpreadModel::NumberRole).isValid());
    EXPECT_EQ(model->index(0, 0).data().toString(), QString());
    // No such row, or the header row: nothing.
    EXPECT_EQ(grid->text(GridColumn::Caller, 3), QString());
    EXPECT_EQ(grid->text(GridColumn::Caller, 0), QString());
    EXPECT_EQ(grid->number(0), std::nullopt);
    EXPECT_EQ(grid->number(3), std::nullopt);
}

TEST_F(SpreadGridTest, ColumnNumbersOfTheEventsNameTheColumns) {
    EXPECT_EQ(SpreadGrid::columnAt(1), GridColumn::Delete);
    EXPECT_EQ(SpreadGrid::columnAt(6), GridColumn::Name);
    EXPECT_EQ(SpreadGrid::columnAt(8), GridColumn::Number);
    EXPECT_EQ(SpreadGrid::columnAt(0), std::nullopt);
    EXPECT_EQ(SpreadGrid::columnAt(9), std::nullopt);
    EXPECT_EQ(grid->model()->columnCount(), 8);
    EXPECT_EQ(grid->model()->headerData(7, Qt::Horizontal).toString(), QStringLiteral("受付NO"));
}

TEST_F(SpreadGridTest, NameHeaderChangesOnlyColumnSix) {
    grid->setNameHeader(QStringLiteral("宛名"));
    EXPECT_EQ(grid->header(GridColumn::Name), QStringLiteral("宛名"));
    EXPECT_EQ(grid->model()->headerData(5, Qt::Horizontal).toString(), QStringLiteral("宛名"));
    QStringList expected = kHeaders;
    expected[5] = QStringLiteral("宛名");
    EXPECT_EQ(grid->columnHeaders(), expected);
    EXPECT_EQ(grid->rowCount(), 0);
}

TEST_F(SpreadGridTest, ClearEmptiesEveryRowButKeepsTheRowsAndHeaders) {
    grid->setRowCount(3);
    grid->appendRow(listed("a", "b", "c", 1));
    grid->setSampleRow({"", "x", "y", "z", "p", "n", "r", "X"});
    grid->setNameHeader(QStringLiteral("宛名"));
    grid->clear();
    EXPECT_EQ(grid->rowCount(), 4);
    for (int r = 1; r <= 4; ++r) {
        for (int c = 1; c <= 8; ++c) {
            EXPECT_EQ(grid->text(GridColumn(c), r), QString()) << c << "," << r;
        }
        EXPECT_EQ(grid->number(r), std::nullopt);
    }
    EXPECT_EQ(grid->header(GridColumn::Name), QStringLiteral("宛名"));
    EXPECT_EQ(grid->header(GridColumn::Number), QStringLiteral("受付NO"));
}

TEST_F(SpreadGridTest, RemoveRowMovesTheRowsBelowUp) {
    appendNumbers({1, 2, 3, 4});
    grid->removeRow(1);
    EXPECT_EQ(column(GridColumn::Number), QStringList({"2", "3", "4"}));
    grid->removeRow(2);
    EXPECT_EQ(column(GridColumn::Number), QStringList({"2", "4"}));
    // The header row and rows past the end are not rows to remove.
    grid->removeRow(0);
    grid->removeRow(3);
    EXPECT_EQ(column(GridColumn::Number), QStringList({"2", "4"}));
    EXPECT_EQ(grid->number(2), 4);
    EXPECT_EQ(grid->model()->rowCount(), 2);
}

TEST_F(SpreadGridTest, ThousandsOfRowsKeepTheirNumbersThroughRemoveShrinkAndSort) {
    // Enough rows to span many of the storage's chunks.
    const int n = 2600;
    for (int i = n - 1; i >= 0; --i) {
        grid->appendRow(listed(QString::number(i), {}, {}, i));
    }
    grid->sortBy(GridColumn::Number);
    grid->removeRow(1);
    for (int row = 1; row < n; ++row) {
        ASSERT_EQ(grid->number(row), row) << row;
    }
    // Shrinking inside a chunk and growing again gives empty rows, not the old ones.
    grid->setRowCount(1101);
    grid->setRowCount(n);
    EXPECT_EQ(grid->number(1100), 1100);
    EXPECT_EQ(grid->text(GridColumn::DateTime, 1101), QStringLiteral("1101"));
    EXPECT_EQ(grid->number(1102), std::nullopt);
    EXPECT_EQ(grid->text(GridColumn::DateTime, 1102), QString());
    EXPECT_EQ(grid->number(n), std::nullopt);
}

TEST_F(SpreadGridTest, SampleRowFillsRowOneFromColumnOne) {
    grid->setRowCount(2);
    grid->setSampleRow({"", "YY/MM/DD HH:MM", "", "ＸＸ", "", "", "", "ＸＸＸ"});
    EXPECT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->text(GridColumn::DateTime, 1), QStringLiteral("YY/MM/DD HH:MM"));
    EXPECT_EQ(grid->text(GridColumn::Memo, 1), QStringLiteral("ＸＸ"));
    EXPECT_EQ(grid->text(GridColumn::Number, 1), QStringLiteral("ＸＸＸ"));
    EXPECT_EQ(grid->number(1), std::nullopt);
    EXPECT_EQ(grid->text(GridColumn::DateTime, 2), QString());
    // On a grid without rows the sample row makes row 1.
    SpreadGrid fresh;
    fresh.setSampleRow({"", "x"});
    EXPECT_EQ(fresh.rowCount(), 1);
    EXPECT_EQ(fresh.text(GridColumn::DateTime, 1), QStringLiteral("x"));
}

// ---- Sorting ----

TEST_F(SpreadGridTest, SortMovesWholeRowsAndKeepsTheHeaders) {
    grid->appendRow(listed("2024/01/03", "c", "m3", 3));
    grid->appendRow(listed("2024/01/01", "a", "m1", 1));
    grid->appendRow(listed("2024/01/02", "b", "m2", 2));
    grid->setNameHeader(QStringLiteral("宛名"));
    grid->sortBy(GridColumn::Caller);
    EXPECT_EQ(column(GridColumn::DateTime),
              QStringList({"2024/01/01", "2024/01/02", "2024/01/03"}));
    EXPECT_EQ(column(GridColumn::Memo), QStringList({"m1", "m2", "m3"}));
    EXPECT_EQ(column(GridColumn::Number), QStringList({"1", "2", "3"}));
    EXPECT_EQ(grid->header(GridColumn::Name), QStringLiteral("宛名"));
    EXPECT_EQ(grid->header(GridColumn::DateTime), QStringLiteral("日時"));
}

TEST_F(SpreadGridTest, NumberColumnSortsAsNumbersAndTextColumnsAsText) {
    for (int number : {10, 9, 100, 2}) {
        grid->appendRow(listed(QString::number(number), {}, {}, number));
    }
    grid->sortBy(GridColumn::Number);
    EXPECT_EQ(column(GridColumn::Number), QStringList({"2", "9", "10", "100"}));
    grid->sortBy(GridColumn::DateTime);
    EXPECT_EQ(column(GridColumn::DateTime), QStringList({"10", "100", "2", "9"}));
}

TEST_F(SpreadGridTest, EmptyRowsStayBelowTheListedRows) {
    appendNumbers({std::nullopt, 5, std::nullopt, 3, std::nullopt});
    grid->sortBy(GridColumn::Number);
    EXPECT_EQ(column(GridColumn::Number), QStringList({"3", "5", "", "", ""}));
    // The button column holds no text: the listed rows keep their order, still above.
    grid->sortBy(GridColumn::Delete);
    EXPECT_EQ(column(GridColumn::Number), QStringList({"3", "5", "", "", ""}));
}

TEST_F(SpreadGridTest, EmptyKeyOfAListedRowComesFirstAndEqualKeysKeepTheirOrder) {
    grid->appendRow(listed("b", "first b", {}, 1));
    grid->appendRow(listed({}, "no date", {}, 2));
    grid->appendRow(listed("a", "a", {}, 3));
    grid->appendRow(listed("b", "second b", {}, 4));
    // Enough equal keys for a sort that is not stable to show it.
    QStringList expectedA, expectedB;
    for (int i = 0; i < 64; ++i) {
        const QString key = i % 3 == 0 ? "b" : "a";
        grid->appendRow(listed(key, QString::number(i), {}, 10 + i));
        (key == "a" ? expectedA : expectedB).append(QString::number(i));
    }
    grid->sortBy(GridColumn::DateTime);
    EXPECT_EQ(column(GridColumn::Caller), QStringList({"no date", "a"}) + expectedA +
                                              QStringList({"first b", "second b"}) + expectedB);
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
                grid->appendRow(listed({}, {}, {}, i));
            }
        }
        EXPECT_EQ(resets.count(), 0);
        grid->removeRow(1);
    }
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(inserts.count(), 0);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(grid->model()->rowCount(), 499);
    EXPECT_EQ(grid->model()->index(0, 7).data().toString(), QStringLiteral("2"));
    EXPECT_EQ(grid->model()->index(498, 7).data().toString(), QStringLiteral("500"));

    // Outside a batch each change tells the view at once.
    grid->appendRow(listed("x", {}, {}, 501));
    grid->clear();
    EXPECT_EQ(inserts.count(), 1);
    EXPECT_EQ(changes.count(), 1);
}

// ---- The model ----

TEST_F(SpreadGridTest, ModelCellsAreReadOnlyAndRowHeadersNumberTheRows) {
    appendNumbers({7, 8, 9});
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
    appendNumbers({1, 2, 3});
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
    appendNumbers({3, 1, 2});
    showGrid();
    QSignalSpy clicks(grid.get(), &SpreadGrid::Click);
    QHeaderView* header = grid->horizontalHeader();
    const int section = 7;
    const QPoint at(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).toInt(), 8);
    EXPECT_EQ(clicks.at(0).at(1).toInt(), 0);
    EXPECT_EQ(column(GridColumn::Number), QStringList({"3", "1", "2"}));
}

TEST_F(SpreadGridTest, ClickOnARowHeaderReportsColumnZero) {
    appendNumbers({1, 2, 3});
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
    appendNumbers({1, 2});
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

// The designed widths share the view's width, less a vertical scroll bar; a column too narrow
// for its header, or row headers too narrow for the last row's number, take what they need
// from the others.
TEST_F(SpreadGridTest, WidthsInCharactersShareTheViewsWidth) {
    grid->setColumnWidths({"4", "10.5", "bad", "0"});
    grid->setRowHeaderWidth(5);
    showGrid();
    const auto fitsWithoutSidewaysScroll = [&] {
        QApplication::processEvents();
        EXPECT_EQ(grid->horizontalScrollBar()->maximum(), 0);
        const int columns = grid->horizontalHeader()->length();
        EXPECT_EQ(grid->frameWidth() * 2 + grid->verticalHeader()->width() + columns +
                      grid->verticalScrollBar()->sizeHint().width(),
                  grid->width());
    };
    fitsWithoutSidewaysScroll();
    const int narrow = grid->columnWidth(0);
    const int wide = grid->columnWidth(1);
    EXPECT_NEAR(wide * 4.0 / 10.5, narrow, 1.0);
    EXPECT_NEAR(grid->verticalHeader()->width() * 4.0 / 5, narrow, 1.0);
    EXPECT_EQ(grid->columnWidth(3), 0);
    EXPECT_EQ(grid->columnWidths(), QStringList({"4", "10.5", "bad", "0"}));

    grid->resize(1000, 400);
    fitsWithoutSidewaysScroll();
    EXPECT_GT(grid->columnWidth(1), wide);
    EXPECT_GT(grid->columnWidth(0), narrow);

    // The window's style sheet sets the font after the widths are designed.
    grid->setStyleSheet("SpreadGrid { font-size: 60px; }");
    grid->ensurePolished();
    fitsWithoutSidewaysScroll();
    QHeaderView* header = grid->horizontalHeader();
    const int margin = grid->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    EXPECT_GE(grid->columnWidth(0),
              QFontMetricsF(header->font()).horizontalAdvance(kHeaders[0]) + 2 * margin);
    EXPECT_LT(grid->columnWidth(1) * 4.0 / 10.5, grid->columnWidth(0));

    // Narrow row headers widen for a listing's last row number.
    grid->setRowHeaderWidth(0.1);
    {
        SpreadGrid::Batch batch(*grid);
        appendNumbers(std::vector<std::optional<std::int64_t>>(100000, std::nullopt));
    }
    fitsWithoutSidewaysScroll();
    QHeaderView* rows = grid->verticalHeader();
    EXPECT_GE(rows->width(), QFontMetricsF(rows->font()).horizontalAdvance("100000") + 2 * margin);
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
    grid->setRowCount(2);
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
