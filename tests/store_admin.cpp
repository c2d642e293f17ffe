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

// Runs the command as a process; in English unless lang names another locale.
AdminRun admin(const QStringList& args, const QString& lang = QStringLiteral("C")) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("LC_ALL"));
    env.remove(QStringLiteral("LC_MESSAGES"));
    env.insert(QStringLiteral("LANG"), lang);
    QProcess p;
    p.setProcessEnvironment(env);
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

    // The user's configuration folder may not be there yet at a first setup.
    const QString ini = office.path("new/dulvane/DULVANE.INI");
    EXPECT_EQ(
        admin({"create-settings", ini, "--name", "O'Neil 山田", "--folder", office.dataPath()})
            .code,
        0);
    ASSERT_TRUE(QFile::rename(ini, office.iniPath()));
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

TEST(AdminCommand, NamesASettingsFileAndArgumentsInTheWrongOrder) {
    Office office;
    office.makeDataFile();
    office.makeSettings(QStringLiteral("山田"), office.dataPath());
    const QString data = office.dataPath();
    const QString ini = office.iniPath();
    const QString csv = office.path("out.csv");
    ASSERT_EQ(admin({"export", data, csv}).code, 0);
    const QString folder = office.path(".");
    struct Case {
        QStringList args;
        int code;
        const char* says;
    };
    const std::vector<Case> cases = {
        {{"summary", ini}, 1, "DULVANE.INI is a settings file, not a data file"},
        {{"upgrade", ini}, 1, "DULVANE.INI is a settings file, not a data file"},
        {{"create-data", "--if-missing", ini}, 1, "DULVANE.INI is a settings file, not a data"},
        {{"create-data", "--if-missing", csv}, 1, "not a data file"},
        {{"backup", ini, office.path("copy.mdb")}, 1, "DULVANE.INI is a settings file, not a"},
        {{"check", ini}, 0, "DULVANE.INI is a sound settings file (a settings file, not a data"},
        {{"backup", data, folder}, 2, "is a folder: COPY is the new file to make, e.g. "},
        {{"import", csv, data}, 2, "out.csv stands where the data file goes"},
        {{"export", data, ini}, 2, "DULVANE.INI stands where the CSV file goes"},
        {{"export", office.path("new.csv"), data}, 2, "dulvane-admin export DATAFILE OUT.csv"},
    };
    for (const Case& c : cases) {
        const AdminRun run = admin(c.args);
        EXPECT_EQ(run.code, c.code) << c.args.join(u' ').toStdString();
        EXPECT_TRUE(run.out.contains(QString::fromUtf8(c.says))) << run.out.toStdString();
    }
    EXPECT_EQ(admin({"create-data", "--if-missing", data}).out, QString());
    EXPECT_EQ(office.startedState(QString())->My_Name, QStringLiteral("山田"));
    EXPECT_FALSE(QFile::exists(office.path("copy.mdb")));
}

TEST(AdminCommand, SpeaksJapaneseUnderAJapaneseLocaleOnly) {
    Office office;
    office.makeDataFile();
    const QString folder = office.path(".");
    const QStringList backup = {"backup", office.dataPath(), folder};
    EXPECT_TRUE(admin(backup).out.contains("is a folder"));
    for (const char* lang : {"ja_JP.UTF-8", "ja_JP"}) {
        const AdminRun run = admin(backup, lang);
        EXPECT_EQ(run.code, 2);
        EXPECT_TRUE(run.out.contains(QStringLiteral("%1 はフォルダです").arg(folder)))
            << run.out.toStdString();
        EXPECT_TRUE(run.out.contains(QStringLiteral("使用法: dulvane-admin backup")));
    }
    EXPECT_TRUE(admin({"summary", office.path("x.mdb")}, "ja_JP.UTF-8")
                    .out.startsWith(QStringLiteral("dulvane-admin summary: 見つかりません")));
    EXPECT_TRUE(admin({"--help"}, "en_US.UTF-8").out.startsWith("Usage: dulvane-admin"));
}
