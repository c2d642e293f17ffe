#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

#include "store/memo_table.h"
#include "store/settings_table.h"
#include "support/files.h"

using testing_support::Office;

namespace {

struct AdminRun {
    int code;
    QString out;
};

AdminRun admin(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(ADMIN_PATH), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError())};
}

}  // namespace

TEST(AdminCommand, MakesFilesTheProgramOpensAndNeverOverwritesOne) {
    Office office;
    EXPECT_EQ(admin({"create-data", office.dataPath()}).code, 0);
    office.addMessage("a", "b", "c");
    const AdminRun again = admin({"create-data", office.dataPath()});
    EXPECT_EQ(again.code, 1);
    EXPECT_FALSE(again.out.isEmpty());
    EXPECT_EQ(admin({"create-data", "--if-missing", office.dataPath()}).code, 0);
    EXPECT_EQ(office.rowCount(), 1);

    EXPECT_EQ(admin({"create-settings", office.iniPath(), "--name", "O'Neil 山田", "--folder",
                     office.dataPath()})
                  .code,
              0);
    auto state = office.startedState(QString());
    EXPECT_EQ(state->My_Name, QStringLiteral("O'Neil 山田"));
    EXPECT_EQ(state->My_Folder, office.dataPath());
    EXPECT_TRUE(state->Db_Data);
}

TEST(AdminCommand, SettingsWithoutValuesHoldNulls) {
    Office office;
    ASSERT_EQ(admin({"create-settings", office.iniPath()}).code, 0);
    store::Workspace ws;
    auto db = ws.openDatabase(office.iniPath(), store::settings::tableName(),
                              store::settings::requiredColumns());
    store::Recordset rs = db->openRecordset(QStringLiteral("Select * From INI_T Where ＮＯ = 1"));
    ASSERT_EQ(rs.RecordCount(), 1);
    rs.MoveFirst();
    EXPECT_TRUE(rs.Fields(QStringLiteral("名前")).isNull());
    EXPECT_TRUE(rs.Fields(QStringLiteral("フォルダ")).isNull());
}

TEST(AdminCommand, CheckTellsSoundFilesFromBrokenOnes) {
    Office office;
    office.makeDataFile();
    office.makeSettings(QStringLiteral("x"), QStringLiteral("y"));
    EXPECT_EQ(admin({"check", office.dataPath()}).code, 0);
    EXPECT_EQ(admin({"check", office.iniPath()}).code, 0);

    QFile junk(office.path("junk.mdb"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(3000, '\x7f'));
    junk.close();
    EXPECT_EQ(admin({"check", office.path("junk.mdb")}).code, 1);
    EXPECT_EQ(admin({"check", office.path("missing.mdb")}).code, 1);
    EXPECT_FALSE(QFile::exists(office.path("missing.mdb")));
    EXPECT_EQ(admin({"no-such-command"}).code, 2);
    const AdminRun help = admin({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.contains("create-data"));
}

TEST(AdminCommand, UpgradeAddsTheUnreadIndexToAnOlderFileOnce) {
    Office office;
    office.makeDataFile();
    office.addMessage("a", "b", "c");
    office.openData()->execute(QStringLiteral("DROP INDEX MEMO_T_既読"));
    EXPECT_TRUE(admin({"upgrade", office.dataPath()}).out.contains("added"));
    EXPECT_TRUE(admin({"upgrade", office.dataPath()}).out.contains("nothing"));
    EXPECT_EQ(office.rowCount(), 1);
}
