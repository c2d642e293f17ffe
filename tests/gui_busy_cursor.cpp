#include <gtest/gtest.h>

#include <sqlite3.h>
#include <QTest>

#include "store/settings_table.h"
#include "support/main_window.h"
#include "ui/settings/frm_set.h"

using testing_support::Workstation;

namespace {

// Whether each statement run on a connection started under the busy cursor.
int recordCursor(unsigned, void* cursors, void*, void*) {
    const QCursor* c = QGuiApplication::overrideCursor();
    static_cast<QList<bool>*>(cursors)->append(c != nullptr && c->shape() == Qt::WaitCursor);
    return 0;
}

struct Operation {
    const char* name;
    bool onSettingsFile;
    bool tells;  // shows a message also when it works
    std::function<void(Workstation&)> run;
};

}  // namespace

// Every store operation the user starts runs under the busy cursor, which is gone again before
// any message box opens and after the operation, also when it failed on a locked file.
TEST(BusyCursor, CoversEachOperationAndNeverOutlivesItOrAMessageBox) {
    const Operation operations[] = {
        {"send", false, true,
         [](Workstation& w) {
             w.form->Cmb_To->setEditText("a");
             w.form->Cmb_From->setEditText("b");
             w.form->Command2_Click();
         }},
        {"reset", false, false, [](Workstation& w) { w.form->Cmd_Clear_Click(); }},
        {"received", false, false, [](Workstation& w) { w.form->Command1_Click(); }},
        {"sent (empty)", false, true, [](Workstation& w) { w.form->Command3_Click(); }},
        {"delete", false, true,
         [](Workstation& w) {
             w.form->Command1_Click();
             w.prompts.answers = {true};
             w.form->SS1_Click(1, 1);
         }},
        {"settings save", true, true,
         [](Workstation& w) {
             w.prompts.settingsScripts.push_back([](Frm_set& s) { s.Command2_Click(); });
             w.form->Cmd_Set_Click();
         }},
    };
    for (const Operation& op : operations) {
        for (const bool locked : {false, true}) {
            SCOPED_TRACE(std::string(op.name) + (locked ? " on a locked file" : ""));
            Workstation w;
            w.office.makeDataFile();
            w.office.addMessage(QStringLiteral("山田"), "a", "b");
            w.startAs(QStringLiteral("山田"));
            w.prompts.shown.clear();
            QList<bool> cursors;
            for (sqlite3* db : {testing_support::asFile(*w.state.Db_Data).handle(),
                                w.state.Db_Ini->database().handle()}) {
                sqlite3_trace_v2(db, SQLITE_TRACE_STMT, recordCursor, &cursors);
            }
            store::Workspace ws{std::chrono::milliseconds(100)};
            auto other = op.onSettingsFile
                             ? ws.openFile(w.office.iniPath(), store::settings::tableName(),
                                           store::settings::requiredColumns())
                             : w.office.openFile(100);
            if (locked) {
                sqlite3_exec(other->handle(), "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
            }
            op.run(w);
            EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
            EXPECT_EQ(w.prompts.shown.isEmpty(), !locked && !op.tells);  // a failure is told
            EXPECT_EQ(w.prompts.shownWhileBusy, QStringList());
            EXPECT_FALSE(cursors.isEmpty());
            EXPECT_FALSE(cursors.contains(false));
            sqlite3_exec(other->handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        }
    }
}
