// dulvane-render: the pictures the documents show, taken from the program's own windows.
//   dulvane-render [folder]   (default: the current folder; the documents' is docs/screenshots)
// Runs the windows over a made-up office in a temporary folder, without a display, and writes
// one PNG for every step the user guide shows and one of each window for the README. Exits 1
// when a picture could not be made.
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QSet>
#include <QTextStream>

#include "app/module1.h"
#include "store/error.h"
#include "tools/render/desktop_scene.h"
#include "tools/render/picture.h"
#include "tools/render/sample_office.h"
#include "tools/render/scene_prompts.h"
#include "ui/fonts.h"
#include "ui/main/form1.h"
#include "ui/pictures.h"
#include "ui/settings/frm_set.h"
#include "ui/viewer/frm_memo2.h"

namespace {

using render::SampleOffice;

// Every picture one run makes.
const QStringList kPictures = {
    QStringLiteral("settings-first-start.png"),
    QStringLiteral("frm_set.png"),
    QStringLiteral("settings-saved.png"),
    QStringLiteral("writing.png"),
    QStringLiteral("missing-fields.png"),
    QStringLiteral("new-message.png"),
    QStringLiteral("received-list.png"),
    QStringLiteral("memo-viewer.png"),
    QStringLiteral("frm_memo2.png"),
    QStringLiteral("delete-question.png"),
    QStringLiteral("form1.png"),
    QStringLiteral("sent-list.png"),
    QStringLiteral("sent.png"),
    QStringLiteral("cannot-open.png"),
    QStringLiteral("tray-menu.png"),
    QStringLiteral("desktop-notification.png"),
    QStringLiteral("urgent.png"),
    QStringLiteral("row-menu.png"),
};

// The path the settings pictures show; the real one lies in a temporary folder.
const QString kSharePath = QStringLiteral("/mnt/office/dulvane.mdb");

class Shots {
public:
    explicit Shots(QDir folder) : folder_(std::move(folder)) {}

    void take(const QString& name, const QImage& picture) {
        if (render::save(picture, folder_, name)) {
            written_.insert(name);
        }
    }

    // The next box the program shows is taken as name, laid over behind (alone when null).
    void expectBox(const QString& name, QWidget* behind) {
        pendingBox_ = name;
        behind_ = behind;
    }
    void boxShown(const QString& text, bool question) {
        if (pendingBox_.isEmpty()) {
            return;
        }
        const QImage box = render::messageBox(text, question);
        take(pendingBox_, behind_ ? render::centredOver(render::framed(*behind_), box) : box);
        pendingBox_.clear();
    }

    bool allWritten() const {
        bool ok = true;
        for (const QString& name : kPictures) {
            if (!written_.contains(name)) {
                QTextStream(stderr) << "not made: " << name << Qt::endl;
                ok = false;
            }
        }
        return ok;
    }

private:
    QDir folder_;
    QSet<QString> written_;
    QString pendingBox_;
    QWidget* behind_ = nullptr;
};

// 山田's first start, a day of use, and a message sent.
void renderOfficeDay(const SampleOffice& office, Shots& shots) {
    Module1 state;
    state.iniPath = office.makeSettings(QStringLiteral("DULVANE.INI"), {}, {});
    render::ScenePrompts prompts;
    Form1 form(state, prompts);
    form.Timer1->stop();
    prompts.onInform = [&](const QString& text) {
        form.Txt_Time->setText(SampleOffice::now());
        shots.boxShown(text, false);
    };

    // The first start: no data file is set, so the settings window comes first.
    prompts.onSettings = [&](Frm_set& window) {
        shots.take(QStringLiteral("settings-first-start.png"), render::framed(window));
        window.Txt_Name->setText(SampleOffice::user());
        window.Txt_File->setText(kSharePath);
        shots.take(QStringLiteral("frm_set.png"), render::framed(window));
        window.Txt_File->setText(office.dataPath());
        shots.expectBox(QStringLiteral("settings-saved.png"), &window);
        window.Command2_Click();
        window.hide();
    };
    form.Form_Load();
    prompts.onSettings = nullptr;

    auto fillEntry = [&form] {
        form.Cmb_To->setEditText(SampleOffice::writtenTo());
        form.Cmb_From->setEditText(SampleOffice::writtenFrom());
        form.TxT_Memo->setText(SampleOffice::writtenMemo());
        form.Option2->setChecked(true);
        form.Txt_Tel->setText(SampleOffice::writtenPhone());
        form.Txt_Time->setText(SampleOffice::now());
    };
    auto clearEntry = [&form] {
        form.Option1->setChecked(true);
        form.Cmd_Clear_Click();
        form.Txt_Time->setText(SampleOffice::now());
    };

    fillEntry();
    shots.take(QStringLiteral("writing.png"), render::framed(form));
    form.Cmb_To->setEditText(QString());
    shots.expectBox(QStringLiteral("missing-fields.png"), &form);
    form.Command2_Click();

    clearEntry();
    shots.expectBox(QStringLiteral("new-message.png"), &form);
    form.Timer1_Timer();
    while (state.dataThread.busy()) {  // the poll answers through the event loop
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }

    form.Command1_Click();
    shots.take(QStringLiteral("received-list.png"), render::framed(form));

    // The row's menu, opened on the second row.
    form.SS1->selectRow(1);
    if (const std::unique_ptr<QMenu> menu = form.rowMenu(2)) {
        const QImage main = render::framed(form);
        const QRect cell = form.SS1->visualRect(form.SS1->model()->index(1, 3));
        const QPoint at = form.SS1->viewport()->mapTo(&form, cell.center()) +
                          QPoint(main.width() - form.width(), main.height() - form.height());
        shots.take(QStringLiteral("row-menu.png"),
                   render::laidOver(main, menu->grab().toImage(), at));
    }

    form.SS1->selectRow(1);
    form.SS1_DblClick(3, 2);
    if (Frm_Memo2* viewer = form.memoViewer()) {
        const QImage viewerPicture = render::framed(*viewer);
        shots.take(QStringLiteral("frm_memo2.png"), viewerPicture);
        const QImage main = render::framed(form);
        shots.take(QStringLiteral("memo-viewer.png"),
                   render::laidOver(main, viewerPicture, QPoint(60, main.height() - 50)));
        viewer->close();
    }

    form.SS1->selectRow(3);
    prompts.onAsk = [&](const QString& text) {
        shots.take(QStringLiteral("delete-question.png"),
                   render::centredOver(render::framed(form), render::messageBox(text, true)));
        return false;
    };
    form.SS1_Click(1, 4);
    prompts.onAsk = nullptr;

    form.SS1->clearSelection();
    fillEntry();
    shots.take(QStringLiteral("form1.png"), render::framed(form));

    // An urgent message begun from a ready phrase, the phrases' menu open below its button.
    form.Chk_Urgent->setChecked(true);
    if (QMenu* phrases = form.phraseMenu(); phrases && !phrases->actions().isEmpty()) {
        phrases->actions().constFirst()->trigger();
        const QImage main = render::framed(form);
        const QPoint at = form.Cmd_Phrase->mapTo(&form, QPoint(0, form.Cmd_Phrase->height())) +
                          QPoint(main.width() - form.width(), main.height() - form.height());
        shots.take(QStringLiteral("urgent.png"),
                   render::laidOver(main, phrases->grab().toImage(), at));
    }
    form.Chk_Urgent->setChecked(false);

    clearEntry();
    form.Command3_Click();
    shots.take(QStringLiteral("sent-list.png"), render::framed(form));

    fillEntry();
    shots.expectBox(QStringLiteral("sent.png"), &form);
    form.Command2_Click();

    shots.take(QStringLiteral("tray-menu.png"), render::trayMenu(form, state, prompts));
    store::memo::Unread waiting;
    waiting.count = 2;
    waiting.caller = QStringLiteral("株式会社みどり商事 田中");
    waiting.receivedAt = QStringLiteral("2026/12/08 10:15");
    waiting.memo = QStringLiteral("見積書の件で折り返しお願いします。\n午後は会議です。");
    shots.take(QStringLiteral("desktop-notification.png"),
               render::notification(form.windowIcon(), desktop::noticeFor(waiting)));
}

// A start whose data file cannot be opened: the box comes before the main window shows.
void renderCannotOpen(const SampleOffice& office, Shots& shots) {
    Module1 state;
    state.iniPath = office.makeSettings(QStringLiteral("DULVANE-moved.INI"), SampleOffice::user(),
                                        office.path(QStringLiteral("moved/dulvane.mdb")));
    render::ScenePrompts prompts;
    prompts.onInform = [&](const QString& text) { shots.boxShown(text, false); };
    Form1 form(state, prompts);
    form.Timer1->stop();
    shots.expectBox(QStringLiteral("cannot-open.png"), nullptr);
    form.Form_Load();
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ui::registerFontSubstitutes();
    ui::loadPictures();

    const QStringList args = QCoreApplication::arguments();
    const QDir folder(args.size() > 1 ? args.at(1) : QStringLiteral("."));
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        QTextStream(stderr) << "cannot make " << folder.path() << Qt::endl;
        return 1;
    }

    Shots shots(folder);
    try {
        SampleOffice office;
        if (!office.isValid()) {
            QTextStream(stderr) << "cannot make a temporary folder" << Qt::endl;
            return 1;
        }
        renderOfficeDay(office, shots);
        renderCannotOpen(office, shots);
    } catch (const store::Error& e) {
        QTextStream(stderr) << "the sample office failed: " << e.report() << Qt::endl;
        return 1;
    }
    return shots.allWritten() ? 0 : 1;
}
