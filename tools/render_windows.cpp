// Draws the three windows as their forms build them and saves each as a PNG:
//   dulvane-render [folder]   (default: the current folder)
// writes form1.png, frm_set.png and frm_memo2.png, and form1-listed.png: the running main
// window with a received list over a few sample messages. Runs without a display.
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTextStream>
#include <QWidget>

#include "app/module1.h"
#include "app/settings_store.h"
#include "store/memo_table.h"
#include "store/schema.h"
#include "ui/fonts.h"
#include "ui/main/form1.h"
#include "ui/main/spread_grid.h"
#include "ui/pictures.h"
#include "ui/prompts.h"
#include "ui_Form1.h"
#include "ui_Frm_Memo2.h"
#include "ui_Frm_set.h"

namespace {

bool save(QWidget& window, const QDir& folder, const QString& fileName) {
    window.show();
    QApplication::processEvents();
    const QString path = folder.filePath(fileName);
    const bool ok = window.grab().save(path, "PNG");
    QTextStream(ok ? stdout : stderr) << (ok ? "wrote " : "cannot write ") << path << Qt::endl;
    window.hide();
    return ok;
}

// Answers every box with OK and shows nothing.
class NoPrompts : public Prompts {
public:
    void inform(const QString&) override {}
    bool ask(const QString&) override { return false; }
    std::optional<QString> openFile(const QString&, const QString&) override {
        return std::nullopt;
    }
    void showSettings(Frm_set&) override {}
};

// The main window in use: a few messages for 山田 listed in the grid.
bool saveListed(const QDir& folder) {
    QTemporaryDir office;
    const QString data = office.filePath(QStringLiteral("dulvane.mdb"));
    Module1 state;
    state.iniPath = office.filePath(QStringLiteral("DULVANE.INI"));
    store::schema::createDataFile(data);
    store::schema::createSettingsFile(state.iniPath, QStringLiteral("山田"), data);
    {
        auto db = state.Ws_Main.openDatabase(data, store::memo::tableName(),
                                             store::memo::requiredColumns());
        const struct {
            const char16_t* caller;
            const char16_t* memo;
            bool outside;
            const char16_t* phone;
            const char16_t* at;
        } samples[] = {
            {u"佐藤商事 佐藤", u"見積の件でお電話ください。", true, u"03-1234-5678",
             u"2025/03/28 10:12"},
            {u"鈴木", u"お電話をさしあげてください。", false, u"", u"2025/03/31 15:40"},
            {u"青葉工業 高橋", u"明日の打合せは14時からに変更とのことです。", true, u"045-987-6543",
             u"2025/04/01 09:05"},
        };
        for (const auto& m : samples) {
            store::memo::insert(*db, {QStringLiteral("山田"), QString::fromUtf16(m.caller),
                                      QStringLiteral("田中"), QString::fromUtf16(m.memo), m.outside,
                                      QString::fromUtf16(m.phone), QString::fromUtf16(m.at)});
        }
    }
    NoPrompts prompts;
    Form1 form(state, prompts);
    form.Form_Load();
    form.Timer1->stop();
    form.Command1_Click();
    form.Txt_Time->setText(QStringLiteral("2025/04/01 09:30"));
    return save(form, folder, QStringLiteral("form1-listed.png"));
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

    bool ok = true;
    {
        // The main window as it opens: the grid's sample row cleared, as start-up does.
        QWidget window;
        Ui::Form1 form;
        form.setupUi(&window);
        form.SS1->clear();
        form.Txt_Time->setText(QStringLiteral("2025/04/01 09:30"));
        ok = save(window, folder, QStringLiteral("form1.png")) && ok;
    }
    {
        QDialog dialog;
        Ui::Frm_set form;
        form.setupUi(&dialog);
        ok = save(dialog, folder, QStringLiteral("frm_set.png")) && ok;
    }
    {
        QWidget window;
        Ui::Frm_Memo2 form;
        form.setupUi(&window);
        ok = save(window, folder, QStringLiteral("frm_memo2.png")) && ok;
    }
    ok = saveListed(folder) && ok;
    return ok ? 0 : 1;
}
