// The three windows as their forms build them: places, sizes, texts, fonts, limits, focus
// order and default buttons, measured on real widgets. The forms are loaded on plain widgets,
// without the windows' handlers.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QWidget>

#include <memory>
#include <vector>

#include "ui/main/delete_button_delegate.h"
#include "ui/main/spread_grid.h"
#include "ui/pictures.h"
#include "ui_Form1.h"
#include "ui_Frm_Memo2.h"
#include "ui_Frm_set.h"

namespace {

constexpr int kTwipsPerPixel = 15;

// A control's place, in twips, from the top-left corner of its container; parent is empty for
// a control placed directly on the window.
struct Place {
    const char* name;
    const char* parent;
    int left, top, width, height;
};

// A font asked for by a control, and the face that must actually draw it.
struct FontUse {
    const char* name;
    const char* family;
    const char* drawnWith;
    double points;
    bool italic;
};

const char* const kGothic = "ＭＳ ゴシック";
const char* const kPGothic = "ＭＳ Ｐゴシック";

QRect pixels(const Place& p) {
    return QRect(p.left / kTwipsPerPixel, p.top / kTwipsPerPixel, p.width / kTwipsPerPixel,
                 p.height / kTwipsPerPixel);
}

QWidget* control(QWidget& window, const char* name) {
    return window.findChild<QWidget*>(QString::fromUtf8(name));
}

// Shows a window offscreen and makes it the active one, so that focus moves as for a user.
void showActive(QWidget& window) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

void expectPlaced(QWidget& window, const std::vector<Place>& places) {
    for (const Place& p : places) {
        SCOPED_TRACE(p.name);
        // Every value in the tables is a whole number of pixels.
        EXPECT_EQ(p.left % kTwipsPerPixel, 0);
        EXPECT_EQ(p.top % kTwipsPerPixel, 0);
        EXPECT_EQ(p.width % kTwipsPerPixel, 0);
        EXPECT_EQ(p.height % kTwipsPerPixel, 0);

        QWidget* w = control(window, p.name);
        ASSERT_NE(w, nullptr);
        QWidget* container = *p.parent ? control(window, p.parent) : &window;
        ASSERT_NE(container, nullptr);
        EXPECT_EQ(w->parentWidget(), container);
        EXPECT_EQ(w->geometry(), pixels(p));
        EXPECT_TRUE(w->isVisible());
        EXPECT_TRUE(w->isEnabled());
        if (container != &window) {
            // A frame's child is placed from the frame's own corner.
            const QRect frame = container->geometry();
            EXPECT_EQ(w->mapTo(&window, QPoint(0, 0)),
                      frame.topLeft() + QPoint(p.left, p.top) / kTwipsPerPixel);
        }
    }
}

void expectFonts(QWidget& window, const std::vector<FontUse>& uses) {
    for (const FontUse& use : uses) {
        SCOPED_TRACE(use.name);
        QWidget* w = control(window, use.name);
        ASSERT_NE(w, nullptr);
        w->ensurePolished();
        const QFont font = w->font();
        EXPECT_EQ(font.family(), QString::fromUtf8(use.family));
        EXPECT_DOUBLE_EQ(font.pointSizeF(), use.points);
        EXPECT_EQ(font.italic(), use.italic);
        EXPECT_FALSE(font.bold());
        const QFontInfo drawn(font);
        EXPECT_EQ(drawn.family(), QString::fromUtf8(use.drawnWith));
        EXPECT_EQ(drawn.italic(), use.italic);
    }
}

// The control among names that holds the keyboard focus: an editable combo box counts when its
// own line edit has it.
QString focusedControl(const QStringList& names) {
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        if (names.contains(w->objectName())) {
            return w->objectName();
        }
    }
    QWidget* w = QApplication::focusWidget();
    return w ? QStringLiteral("(unnamed %1)").arg(w->metaObject()->className())
             : QStringLiteral("(none)");
}

// Presses Tab as the user does, on whatever has the focus, starting from the first of the
// stops, and records where the focus lands, once round and back to the start: "A B C A".
std::string tabRound(QWidget& window, const QStringList& stops) {
    QWidget* first = control(window, stops.first().toUtf8().constData());
    first->setFocus(Qt::TabFocusReason);
    QStringList visited{focusedControl(stops)};
    for (int i = 0; i < stops.size(); ++i) {
        QWidget* focused = QApplication::focusWidget();
        if (!focused) {
            break;
        }
        QTest::keyClick(focused, Qt::Key_Tab);
        visited.append(focusedControl(stops));
    }
    return visited.join(QLatin1Char(' ')).toStdString();
}

std::string fullRound(const QStringList& stops) {
    return (QStringList(stops) << stops.first()).join(QLatin1Char(' ')).toStdString();
}

// Types text key by key, as a keyboard or input method delivers it; QTest::keyClicks only
// knows Latin-1 characters.
void typeText(QWidget* w, const QString& text) {
    for (const QChar ch : text) {
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}

QStringList fromUtf8(std::initializer_list<const char*> texts) {
    QStringList list;
    for (const char* text : texts) {
        list.append(QString::fromUtf8(text));
    }
    return list;
}

// Every push button of a window, with a spy on its clicks.
struct ButtonSpies {
    explicit ButtonSpies(QWidget& window) {
        for (QPushButton* b : window.findChildren<QPushButton*>()) {
            spies.push_back(std::make_unique<QSignalSpy>(b, &QAbstractButton::clicked));
        }
    }
    int clicks() const {
        int n = 0;
        for (const auto& spy : spies) {
            n += spy->count();
        }
        return n;
    }
    std::vector<std::unique_ptr<QSignalSpy>> spies;
};

QRgb pixelAt(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xffffff;
}

// ---- The main window ----

class LayoutMainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ui::loadPictures();
        form.setupUi(&window);
        ASSERT_NO_FATAL_FAILURE(showActive(window));
    }

    QWidget window;
    Ui::Form1 form;
};

TEST_F(LayoutMainWindow, WindowHasFixedSizeTitleAndIcon) {
    EXPECT_EQ(window.objectName(), QStringLiteral("Form1"));
    EXPECT_EQ(window.size(), QSize(8565, 6240) / kTwipsPerPixel);
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    window.resize(800, 600);
    QApplication::processEvents();
    EXPECT_EQ(window.size(), QSize(571, 416));
    window.resize(300, 200);
    QApplication::processEvents();
    EXPECT_EQ(window.size(), QSize(571, 416));

    EXPECT_EQ(window.windowTitle(), QString::fromUtf8("ＤＵＬＶＡＮＥ (Ver.1.0a)"));
    ASSERT_FALSE(window.windowIcon().isNull());
    EXPECT_TRUE(window.windowIcon().availableSizes().contains(QSize(32, 32)));
}

TEST_F(LayoutMainWindow, ControlsSitWhereTheFormPlacesThem) {
    expectPlaced(window, {
                             {"Label7", "", 120, 120, 2295, 495},
                             {"Image2", "", 120, 120, 480, 480},
                             {"Label6", "", 480, 240, 1935, 255},
                             {"Chk1", "", 2520, 120, 1935, 495},
                             {"Command2", "", 4800, 0, 1215, 375},
                             {"Cmd_Set", "", 6000, 0, 1215, 375},
                             {"Cmd_END", "", 7200, 0, 1215, 375},
                             {"Command1", "", 4800, 360, 1215, 375},
                             {"Command3", "", 6000, 360, 1215, 375},
                             {"Cmd_Clear", "", 7200, 360, 1215, 375},
                             {"Frame1", "", 120, 720, 8295, 2535},
                             {"Frame2", "", 120, 3360, 8295, 2775},
                             {"Cmb_To", "Frame1", 120, 240, 1815, 360},
                             {"Label1", "Frame1", 2040, 360, 495, 255},
                             {"Cmb_From", "Frame1", 120, 720, 3375, 360},
                             {"Label2", "Frame1", 3720, 840, 3495, 255},
                             {"Label3", "Frame1", 120, 1200, 495, 255},
                             {"TxT_Memo", "Frame1", 120, 1440, 7335, 360},
                             {"Image1", "Frame1", 120, 1920, 480, 480},
                             {"Option1", "Frame1", 720, 1920, 1095, 180},
                             {"Option2", "Frame1", 720, 2160, 1095, 180},
                             {"Txt_Tel", "Frame1", 1560, 1920, 1815, 375},
                             {"Txt_Time", "Frame1", 3480, 1920, 2055, 375},
                             {"Cmb_My", "Frame1", 5640, 1920, 1815, 360},
                             {"SS1", "Frame2", 120, 240, 8055, 2415},
                         });
    // The timer is made by the window's code, not by the form.
    EXPECT_EQ(window.findChild<QObject*>(QStringLiteral("Timer1")), nullptr);
}

TEST_F(LayoutMainWindow, CaptionsAndInitialStates) {
    EXPECT_EQ(form.Label7->text(), QString());
    EXPECT_EQ(form.Label6->text(), QString::fromUtf8("ＤＵＬＶＡＮＥ"));
    EXPECT_EQ(form.Chk1->text(), QString::fromUtf8("新規メッセージを通知する。"));
    EXPECT_TRUE(form.Chk1->isChecked());
    EXPECT_EQ(form.Command2->text(), QString::fromUtf8("送信"));
    EXPECT_EQ(form.Cmd_Set->text(), QString::fromUtf8("設定"));
    EXPECT_EQ(form.Cmd_END->text(), QString::fromUtf8("終了"));
    EXPECT_EQ(form.Command1->text(), QString::fromUtf8("受信一覧"));
    EXPECT_EQ(form.Command3->text(), QString::fromUtf8("送信一覧"));
    EXPECT_EQ(form.Cmd_Clear->text(), QString::fromUtf8("クリア"));
    EXPECT_EQ(form.Frame1->title(), QString::fromUtf8("伝言メモ作成"));
    EXPECT_EQ(form.Frame2->title(), QString::fromUtf8("送受信一覧"));
    EXPECT_EQ(form.Label1->text(), QString::fromUtf8("様"));
    EXPECT_EQ(form.Label2->text(), QString::fromUtf8("様からお電話がありました。"));
    EXPECT_EQ(form.Label3->text(), QString::fromUtf8("メモ"));
    EXPECT_EQ(form.Option1->text(), QString::fromUtf8("内線"));
    EXPECT_EQ(form.Option2->text(), QString::fromUtf8("外線"));
    EXPECT_EQ(form.Txt_Time->text(), QStringLiteral("2002/12/25 12:25"));
    EXPECT_EQ(form.Txt_Tel->text(), QString());
    for (QComboBox* box : {form.Cmb_To, form.Cmb_From, form.Cmb_My}) {
        SCOPED_TRACE(box->objectName().toStdString());
        EXPECT_TRUE(box->isEditable());
        EXPECT_EQ(box->count(), 0);
        EXPECT_EQ(box->currentText(), QString());
    }
}

TEST_F(LayoutMainWindow, PicturesShowTheirIconsAtTheirOwnSize) {
    const QPixmap memo = form.Image2->pixmap();
    const QPixmap phone = form.Image1->pixmap();
    ASSERT_FALSE(memo.isNull());
    ASSERT_FALSE(phone.isNull());
    EXPECT_EQ(memo.size(), QSize(32, 32));
    EXPECT_EQ(phone.size(), QSize(32, 32));
    EXPECT_FALSE(form.Image1->hasScaledContents());
    // Image1 is the window's own icon; the banner's picture is a different one.
    const QImage icon = window.windowIcon().pixmap(QSize(32, 32)).toImage();
    EXPECT_EQ(phone.toImage().convertToFormat(QImage::Format_ARGB32),
              icon.convertToFormat(QImage::Format_ARGB32));
    EXPECT_NE(memo.toImage().convertToFormat(QImage::Format_ARGB32),
              phone.toImage().convertToFormat(QImage::Format_ARGB32));
}

TEST_F(LayoutMainWindow, FontsAreAskedForByNameAndDrawnWithTheSubstitutes) {
    std::vector<FontUse> uses{
        {"Label6", kPGothic, "IPAPGothic", 14.25, true},
        {"Chk1", kGothic, "IPAGothic", 9.75, false},
        {"SS1", kGothic, "IPAGothic", 9.75, false},
        {"Option1", kGothic, "IPAGothic", 9, false},
        {"Option2", kGothic, "IPAGothic", 9, false},
    };
    for (const char* name :
         {"Command2", "Cmd_Set", "Cmd_END", "Command1", "Command3", "Cmd_Clear", "Cmb_To", "Label1",
          "Cmb_From", "Label2", "Label3", "TxT_Memo", "Txt_Tel", "Txt_Time", "Cmb_My"}) {
        uses.push_back({name, kGothic, "IPAGothic", 12, false});
    }
    expectFonts(window, uses);

    // 12 points are 16 pixels at 96 dots per inch.
    EXPECT_EQ(QFontInfo(form.TxT_Memo->font()).pixelSize(), 16);
    // The frames keep the window's default font.
    for (QGroupBox* frame : {form.Frame1, form.Frame2}) {
        frame->ensurePolished();
        EXPECT_EQ(frame->font(), window.font());
        EXPECT_NE(frame->font().family(), QString::fromUtf8(kGothic));
    }
}

TEST_F(LayoutMainWindow, BannerAndBackgroundColours) {
    const QImage image = window.grab().toImage();
    const QRgb grey = qRgb(192, 192, 192) & 0xffffff;
    const QRgb blue = qRgb(0, 0, 255) & 0xffffff;
    // Bare window between the two frames, and left of the banner.
    EXPECT_EQ(pixelAt(image, 300, 220), grey);
    EXPECT_EQ(pixelAt(image, 4, 30), grey);
    // Label7 below Label6 and right of the picture.
    EXPECT_EQ(pixelAt(image, 100, 38), blue);
    EXPECT_EQ(pixelAt(image, 45, 10), blue);
    // Label6: white letters on blue.
    int white = 0, onBlue = 0;
    for (int y = 16; y < 33; ++y) {
        for (int x = 41; x < 161; ++x) {
            const QRgb c = pixelAt(image, x, y);
            white += c == 0xffffff;
            onBlue += c == blue;
        }
    }
    EXPECT_GT(white, 20);
    EXPECT_GT(onBlue, 500);
}

TEST_F(LayoutMainWindow, BannerStacksLabel7ThenLabel6ThenThePicture) {
    // Where the picture covers the left of the title, the picture is on top.
    EXPECT_EQ(window.childAt(35, 20), form.Image2);
    // Title over the blue band.
    EXPECT_EQ(window.childAt(100, 20), form.Label6);
    EXPECT_EQ(window.childAt(100, 38), form.Label7);
    // The lower row of buttons lies over the upper one where they overlap.
    EXPECT_EQ(window.childAt(330, 24), form.Command1);
}

TEST_F(LayoutMainWindow, TextBoxesRefuseCharactersBeyondTheirLimits) {
    form.TxT_Memo->clear();
    form.TxT_Memo->setFocus();
    typeText(form.TxT_Memo, QString(101, QChar(0x3042)));
    EXPECT_EQ(form.TxT_Memo->text(), QString(100, QChar(0x3042)));

    form.Txt_Tel->setFocus();
    QTest::keyClicks(form.Txt_Tel, QString(51, QLatin1Char('9')));
    EXPECT_EQ(form.Txt_Tel->text(), QString(50, QLatin1Char('9')));

    // The time takes text of any length, beyond a line edit's usual 32767 characters.
    form.Txt_Time->clear();
    form.Txt_Time->insert(QString(40000, QLatin1Char('1')));
    EXPECT_EQ(form.Txt_Time->text().size(), 40000);
}

TEST_F(LayoutMainWindow, ComboBoxesTakeLongTypedTextAndAddNothingToTheirLists) {
    const QString longName(300, QChar(0x540d));
    for (QComboBox* box : {form.Cmb_To, form.Cmb_From, form.Cmb_My}) {
        SCOPED_TRACE(box->objectName().toStdString());
        box->setFocus();
        typeText(box, longName);
        EXPECT_EQ(box->currentText(), longName);
        QTest::keyClick(box, Qt::Key_Return);
        EXPECT_EQ(box->count(), 0);
        EXPECT_EQ(box->currentText(), longName);
    }
    // Pick lists may repeat a name.
    form.Cmb_To->addItem(QStringLiteral("a"));
    form.Cmb_To->addItem(QStringLiteral("a"));
    EXPECT_EQ(form.Cmb_To->count(), 2);
    EXPECT_TRUE(form.Cmb_To->duplicatesEnabled());
}

TEST_F(LayoutMainWindow, LineOptionsFormOneGroup) {
    EXPECT_TRUE(form.Option1->isChecked());
    EXPECT_FALSE(form.Option2->isChecked());
    // Clicks on the buttons' own left part: their right ends lie under Txt_Tel.
    QTest::mouseClick(form.Option2, Qt::LeftButton, {}, QPoint(6, 6));
    EXPECT_TRUE(form.Option2->isChecked());
    EXPECT_FALSE(form.Option1->isChecked());
    QTest::mouseClick(form.Option1, Qt::LeftButton, {}, QPoint(6, 6));
    EXPECT_TRUE(form.Option1->isChecked());
    EXPECT_FALSE(form.Option2->isChecked());
    // Two option buttons on the window, no more.
    EXPECT_EQ(window.findChildren<QRadioButton*>().size(), 2);
}

TEST_F(LayoutMainWindow, FocusStartsAtTheAddresseeAndTabRunsThroughTheOrder) {
    EXPECT_EQ(focusedControl({QStringLiteral("Cmb_To")}).toStdString(), "Cmb_To");

    // The two line options are one stop, as one group; the arrow keys move within it.
    const QStringList stops{"Cmb_To",   "Cmb_From", "TxT_Memo", "Option1",   "Txt_Tel",
                            "Txt_Time", "Cmb_My",   "SS1",      "Command2",  "Command1",
                            "Cmd_Set",  "Command3", "Cmd_END",  "Cmd_Clear", "Chk1"};
    EXPECT_EQ(tabRound(window, stops), fullRound(stops));

    // With "外線" chosen the group is still one stop between the memo and the number.
    form.Option2->setChecked(true);
    form.TxT_Memo->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    const QStringList options{"Option1", "Option2"};
    EXPECT_TRUE(options.contains(focusedControl(options)));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form.Txt_Tel);
    EXPECT_TRUE(form.Option2->isChecked());

    for (QWidget* w : std::initializer_list<QWidget*>{form.Label1, form.Label2, form.Label3,
                                                      form.Label6, form.Label7, form.Image1,
                                                      form.Image2, form.Frame1, form.Frame2}) {
        EXPECT_EQ(w->focusPolicy(), Qt::NoFocus) << w->objectName().toStdString();
    }
}

TEST_F(LayoutMainWindow, ArrowKeysMoveBetweenTheLineOptions) {
    form.Option1->setFocus(Qt::TabFocusReason);
    QTest::keyClick(form.Option1, Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), form.Option2);
    EXPECT_TRUE(form.Option2->isChecked());
    EXPECT_FALSE(form.Option1->isChecked());
    QTest::keyClick(form.Option2, Qt::Key_Up);
    EXPECT_EQ(QApplication::focusWidget(), form.Option1);
    EXPECT_TRUE(form.Option1->isChecked());
    EXPECT_FALSE(form.Option2->isChecked());
}

TEST_F(LayoutMainWindow, EnterAndEscapePressNoButton) {
    for (QPushButton* b : window.findChildren<QPushButton*>()) {
        EXPECT_FALSE(b->isDefault()) << b->objectName().toStdString();
        EXPECT_FALSE(b->autoDefault()) << b->objectName().toStdString();
        EXPECT_FALSE(b->text().contains(QLatin1Char('&')));
    }
    ButtonSpies spies(window);
    ASSERT_EQ(spies.spies.size(), 6u);
    for (QWidget* w : std::initializer_list<QWidget*>{form.TxT_Memo, form.Txt_Tel, form.Cmb_To}) {
        w->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    }
    EXPECT_EQ(spies.clicks(), 0);
    EXPECT_TRUE(window.isVisible());
}

TEST_F(LayoutMainWindow, GridCarriesItsDesignData) {
    SpreadGrid* grid = form.SS1;
    EXPECT_EQ(grid->rowCount(), 500);
    EXPECT_EQ(grid->model()->columnCount(), 8);
    const QStringList headers =
        fromUtf8({"削除", "日時", "電話相手", "メモ", "電話", "受人", "既読", "受付NO"});
    for (int col = 1; col <= 8; ++col) {
        EXPECT_EQ(grid->header(GridColumn(col)), headers.at(col - 1)) << col;
    }
    EXPECT_EQ(grid->text(GridColumn::DateTime, 1), QStringLiteral("YY/MM/DD HH:MM"));
    EXPECT_EQ(grid->text(GridColumn::Caller, 1), QString::fromUtf8("ＸＸＸＸＸＸ"));
    EXPECT_EQ(grid->text(GridColumn::Read, 1), QStringLiteral("YY/MM/DD"));
    EXPECT_EQ(grid->number(1), std::nullopt);
    EXPECT_EQ(grid->text(GridColumn::DateTime, 2), QString());
    // Tab leaves the grid instead of moving between its cells.
    EXPECT_FALSE(grid->tabKeyNavigation());

    // Widths are in characters: a column designed wider is wider.
    grid->ensurePolished();
    const QStringList characters = grid->columnWidths();
    ASSERT_EQ(characters.size(), 8);
    for (int a = 0; a < 8; ++a) {
        for (int b = 0; b < 8; ++b) {
            if (characters.at(a).toDouble() > characters.at(b).toDouble()) {
                EXPECT_GT(grid->columnWidth(a), grid->columnWidth(b)) << a << " " << b;
            }
        }
    }
    EXPECT_LT(grid->verticalHeader()->width(), grid->columnWidth(0));
}

// Each column shows in full the texts it was designed for, in the grid's own font and with the
// cells' margins, its "削除" buttons included; a longer text is cut at the cell's edge, without
// an ellipsis.
TEST_F(LayoutMainWindow, GridColumnsShowTheirDesignedTextsInFull) {
    SpreadGrid* grid = form.SS1;
    QHeaderView* header = grid->horizontalHeader();
    ASSERT_EQ(QFontInfo(grid->font()).family(), QStringLiteral("IPAGothic"));
    EXPECT_EQ(grid->textElideMode(), Qt::ElideNone);
    EXPECT_EQ(header->textElideMode(), Qt::ElideNone);

    const QFontMetricsF cellFont(grid->font());
    const int cellMargin =
        grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1;
    const struct {
        GridColumn column;
        const char* text;
    } cells[] = {{GridColumn::DateTime, "YY/MM/DD HH:MM"},
                 {GridColumn::DateTime, "25/04/03 10:12"},
                 {GridColumn::Read, "YY/MM/DD"},
                 {GridColumn::Read, "25/04/03"}};
    for (const auto& cell : cells) {
        const QString text = QString::fromUtf8(cell.text);
        // The cell's own rectangle, without the grid line.
        const int shown = grid->visualRect(grid->model()->index(0, int(cell.column) - 1)).width();
        EXPECT_LE(cellFont.horizontalAdvance(text) + 2 * cellMargin, shown) << cell.text;
    }

    const QFontMetricsF headerFont(header->font());
    const int headerMargin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    const auto headerFits = [&](int section, const QString& text) {
        EXPECT_LE(headerFont.horizontalAdvance(text) + 2 * headerMargin,
                  header->sectionSize(section))
            << text.toStdString();
    };
    for (int section = 0; section < 8; ++section) {
        headerFits(section, grid->columnHeaders().at(section));
    }
    headerFits(5, QString::fromUtf8("宛名"));  // column 6's header for the sent list

    // The label inside the style's frame of the button that a "削除" cell draws.
    QStyleOptionButton button;
    button.initFrom(grid);
    button.rect = DeleteButtonDelegate::buttonRect(grid->visualRect(grid->model()->index(0, 0)));
    const QRect label = grid->style()->subElementRect(QStyle::SE_PushButtonContents, &button, grid);
    EXPECT_LE(cellFont.horizontalAdvance(DeleteButtonDelegate::label()), label.width());
}

// All eight columns, the row headers and the vertical scroll bar fit the grid's width: no
// sideways scroll, so every column's header takes a click as it stands.
TEST_F(LayoutMainWindow, GridShowsEveryColumnWithoutScrollingSideways) {
    SpreadGrid* grid = form.SS1;
    QApplication::processEvents();
    EXPECT_TRUE(grid->verticalScrollBar()->isVisible());
    EXPECT_EQ(grid->horizontalScrollBar()->maximum(), 0);
    EXPECT_FALSE(grid->horizontalScrollBar()->isVisible());
    EXPECT_LE(grid->horizontalHeader()->length(), grid->viewport()->width());
}

// ---- The settings window ----

class LayoutSettingsWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ui::loadPictures();
        form.setupUi(&dialog);
        ASSERT_NO_FATAL_FAILURE(showActive(dialog));
    }

    QDialog dialog;
    Ui::Frm_set form;
};

TEST_F(LayoutSettingsWindow, WindowHasFixedSizeTitleAndIcon) {
    EXPECT_EQ(dialog.objectName(), QStringLiteral("Frm_set"));
    EXPECT_EQ(dialog.size(), QSize(6585, 3600) / kTwipsPerPixel);
    dialog.resize(800, 600);
    QApplication::processEvents();
    EXPECT_EQ(dialog.size(), QSize(439, 240));
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("設定"));
    ASSERT_FALSE(dialog.windowIcon().isNull());
    EXPECT_TRUE(dialog.windowIcon().availableSizes().contains(QSize(32, 32)));
}

TEST_F(LayoutSettingsWindow, ControlsSitWhereTheFormPlacesThem) {
    expectPlaced(dialog, {
                             {"Command2", "", 3960, 0, 1215, 375},
                             {"Command3", "", 5160, 0, 1215, 375},
                             {"Label1", "", 240, 480, 5655, 255},
                             {"Txt_Name", "", 720, 840, 1815, 375},
                             {"Label2", "", 240, 1560, 5295, 255},
                             {"Txt_File", "", 720, 1920, 3975, 375},
                             {"Command1", "", 4800, 1920, 1215, 375},
                             {"Label3", "", 720, 2520, 5775, 255},
                             {"Label4", "", 720, 2880, 5535, 375},
                         });
    // The file-open dialog is not part of the form.
    EXPECT_EQ(dialog.findChild<QObject*>(QStringLiteral("CD")), nullptr);
}

TEST_F(LayoutSettingsWindow, CaptionsAndFonts) {
    EXPECT_EQ(form.Command2->text(), QString::fromUtf8("設定"));
    EXPECT_EQ(form.Command3->text(), QString::fromUtf8("閉じる"));
    EXPECT_EQ(form.Command1->text(), QString::fromUtf8("参照"));
    EXPECT_EQ(form.Label1->text(), QString::fromUtf8("１．あなたの名前を入力して下さい。"));
    EXPECT_EQ(form.Label2->text(),
              QString::fromUtf8("２．データファイル(dulvane.mdb)の場所を入力して下さい。"));
    EXPECT_EQ(form.Label3->text(), QString::fromUtf8("dulvane.mdbファイルはすべてのユーザが"));
    EXPECT_EQ(form.Label4->text(),
              QString::fromUtf8("アクセスできるフォルダにコピーしてください。"));

    std::vector<FontUse> uses;
    for (const char* name : {"Command2", "Command3", "Label1", "Txt_Name", "Label2", "Txt_File",
                             "Command1", "Label3", "Label4"}) {
        uses.push_back({name, kGothic, "IPAGothic", 12, false});
    }
    expectFonts(dialog, uses);
}

TEST_F(LayoutSettingsWindow, TextBoxesHaveNoPracticalLimit) {
    for (QLineEdit* box : {form.Txt_Name, form.Txt_File}) {
        SCOPED_TRACE(box->objectName().toStdString());
        box->insert(QString(40000, QLatin1Char('x')));
        EXPECT_EQ(box->text().size(), 40000);
    }
}

TEST_F(LayoutSettingsWindow, FocusStartsAtTheNameAndTabRunsThroughTheOrder) {
    EXPECT_EQ(focusedControl({QStringLiteral("Txt_Name")}).toStdString(), "Txt_Name");
    const QStringList order{"Txt_Name", "Txt_File", "Command1", "Command2", "Command3"};
    EXPECT_EQ(tabRound(dialog, order), fullRound(order));
    for (QLabel* label : {form.Label1, form.Label2, form.Label3, form.Label4}) {
        EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
    }
}

TEST_F(LayoutSettingsWindow, EnterPressesNoButton) {
    // A dialog would otherwise make its first button the default when it shows.
    for (QPushButton* b : dialog.findChildren<QPushButton*>()) {
        EXPECT_FALSE(b->isDefault()) << b->objectName().toStdString();
        EXPECT_FALSE(b->autoDefault()) << b->objectName().toStdString();
    }
    ButtonSpies spies(dialog);
    ASSERT_EQ(spies.spies.size(), 3u);
    for (QWidget* w : std::initializer_list<QWidget*>{form.Txt_Name, form.Txt_File}) {
        w->setFocus();
        QTest::keyClick(w, Qt::Key_Return);
        QTest::keyClick(w, Qt::Key_Enter);
    }
    EXPECT_EQ(spies.clicks(), 0);
    EXPECT_TRUE(dialog.isVisible());
}

// ---- The memo viewer ----

class LayoutMemoViewer : public ::testing::Test {
protected:
    void SetUp() override {
        ui::loadPictures();
        form.setupUi(&window);
        ASSERT_NO_FATAL_FAILURE(showActive(window));
    }

    QWidget window;
    Ui::Frm_Memo2 form;
};

TEST_F(LayoutMemoViewer, WindowHasFixedSizeTitleAndIcon) {
    EXPECT_EQ(window.objectName(), QStringLiteral("Frm_Memo2"));
    EXPECT_EQ(window.size(), QSize(7920, 1080) / kTwipsPerPixel);
    window.resize(800, 600);
    QApplication::processEvents();
    EXPECT_EQ(window.size(), QSize(528, 72));
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8("メモ"));
    ASSERT_FALSE(window.windowIcon().isNull());
    EXPECT_TRUE(window.windowIcon().availableSizes().contains(QSize(32, 32)));
}

TEST_F(LayoutMemoViewer, ControlsSitWhereTheFormPlacesThem) {
    expectPlaced(window, {
                             {"Txt_From", "", 120, 120, 3615, 375},
                             {"Label2", "", 3840, 240, 3495, 255},
                             {"TxT_Memo", "", 120, 600, 7695, 375},
                         });
    EXPECT_EQ(form.Label2->text(), QString::fromUtf8("様からお電話がありました。"));
}

TEST_F(LayoutMemoViewer, LabelUsesGothicAndTextBoxesTheWindowFont) {
    expectFonts(window, {{"Label2", kGothic, "IPAGothic", 12, false}});
    for (QLineEdit* box : {form.Txt_From, form.TxT_Memo}) {
        SCOPED_TRACE(box->objectName().toStdString());
        box->ensurePolished();
        EXPECT_EQ(box->font(), window.font());
        EXPECT_NE(box->font().family(), QString::fromUtf8(kGothic));
    }
}

TEST_F(LayoutMemoViewer, TextBoxesHaveNoPracticalLimit) {
    for (QLineEdit* box : {form.Txt_From, form.TxT_Memo}) {
        SCOPED_TRACE(box->objectName().toStdString());
        box->insert(QString(40000, QLatin1Char('x')));
        EXPECT_EQ(box->text().size(), 40000);
    }
}

TEST_F(LayoutMemoViewer, FocusStartsAtTheMessageAndTabGoesToTheCaller) {
    EXPECT_EQ(focusedControl({QStringLiteral("TxT_Memo")}).toStdString(), "TxT_Memo");
    const QStringList order{"TxT_Memo", "Txt_From"};
    EXPECT_EQ(tabRound(window, order), fullRound(order));
    EXPECT_EQ(form.Label2->focusPolicy(), Qt::NoFocus);
}

}  // namespace
