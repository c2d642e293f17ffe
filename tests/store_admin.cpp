#include <gtest/gtest.h>

#include <QDir>
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
    auto db = ws.openFile(office.iniPath(), store::settings::tableName(),
                          store::settings::requiredColumns());
    store::file::Recordset rs =
        db->openRecordset(QStringLiteral("Select * From INI_T Where ＮＯ = 1"));
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
    office.openFile()->execute(QStringLiteral("DROP INDEX MEMO_T_既読"));
    EXPECT_TRUE(admin({"upgrade", office.dataPath()}).out.contains("added"));
    EXPECT_TRUE(admin({"upgrade", office.dataPath()}).out.contains("nothing"));
    EXPECT_EQ(office.rowCount(), 1);
}

TEST(AdminRestore, NumbersGoOnPastBothFilesAndAnOpenWorkstationFollows) {
    Office office;
    office.makeDataFile();
    for (int i = 0; i < 3; ++i) {
        office.addMessage("山田", "b", "c");
    }
    const QString backup = office.path("backup.mdb");
    ASSERT_EQ(admin({"backup", office.dataPath(), backup}).code, 0);
    // In the backup, its last message was deleted: its highest number is in its numbering only.
    {
        Office copy;
        ASSERT_TRUE(QFile::copy(backup, copy.dataPath()));
        store::memo::remove(*copy.openData(), 3);
        ASSERT_TRUE(QFile::remove(backup) && QFile::copy(copy.dataPath(), backup));
    }
    // Since the backup, the data file handed out 4 to 7 and 7 was deleted again.
    auto workstation = office.openData();
    for (int i = 0; i < 4; ++i) {
        office.addMessage("山田", "後", "c");
    }
    store::memo::remove(*workstation, 7);
    const QFile::Permissions mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(office.dataPath(), mode));

    const AdminRun run = admin({"restore", backup, office.dataPath()});
    ASSERT_EQ(run.code, 0) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("the next message gets ＮＯ 8")) << run.out.toStdString();
    EXPECT_EQ(QFile::permissions(office.dataPath()) & 0x7077, mode);  // owner, group, others
    EXPECT_EQ(QDir(office.path(".")).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"backup.mdb", "dulvane.mdb"}));
    // The workstation that had the file open writes to the restored one.
    store::memo::insert(*workstation, {"山田", "新", "c", "m", false, {}, "2026/12/07 10:00"});
    const QStringList rows = office.rows();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_TRUE(rows[2].startsWith("8|山田|新|")) << rows.join('\n').toStdString();

    // With no data file left, the backup's own numbering still holds: 3 is not handed out again.
    ASSERT_TRUE(QFile::remove(office.dataPath()));
    EXPECT_EQ(admin({"restore", backup, office.dataPath()}).code, 0);
    EXPECT_EQ(office.addMessage("山田", "b", "c"), 4);
}

TEST(AdminRestore, RefusesWhatIsNotASoundBackupOrNotADataFileAndChangesNothing) {
    Office office;
    office.makeDataFile();
    office.addMessage("山田", "b", "c");
    office.makeSettings(QStringLiteral("山田"), office.dataPath());
    const QString backup = office.path("backup.mdb");
    ASSERT_EQ(admin({"backup", office.dataPath(), backup}).code, 0);
    QFile junk(office.path("junk.mdb"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(3000, '\x7f'));
    junk.close();
    auto bytes = [](const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QByteArray data = bytes(office.dataPath());
    const QByteArray junkBytes = bytes(junk.fileName());
    const struct {
        QStringList args;
        const char* says;
    } cases[] = {
        {{"restore", office.iniPath(), office.dataPath()}, "MEMO_T がありません"},
        {{"restore", office.path("missing.mdb"), office.dataPath()}, "見つかりません"},
        {{"restore", junk.fileName(), office.dataPath()}, "健全なデータファイルではない"},
        {{"restore", backup, junk.fileName()}, "--replace-unreadable"},
        {{"restore", backup, "postgresql:///x"}, "pg_restore"},
    };
    for (const auto& c : cases) {
        const AdminRun run = admin(c.args);
        EXPECT_EQ(run.code, 1) << c.args.join(' ').toStdString();
        EXPECT_TRUE(run.out.contains(QString::fromUtf8(c.says))) << run.out.toStdString();
    }
    EXPECT_EQ(bytes(office.dataPath()), data);
    EXPECT_EQ(bytes(junk.fileName()), junkBytes);
    EXPECT_EQ(QDir(office.path(".")).entryList(QDir::Files | QDir::Hidden).size(), 4);
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

TEST(AdminStaff, KeepsTheDirectoryRefusingBadEntriesAndOlderDataGetsItByUpgrade) {
    Office office;
    office.makeDataFile();
    office.addMessage("山田", "b", "c");
    for (const char* sql : {"DROP TABLE STAFF_T", "DROP TABLE FORWARD_T",
                            "ALTER TABLE MEMO_T DROP COLUMN 転送日時"}) {
        office.openFile()->execute(QString::fromUtf8(sql));
    }
    const QString data = office.dataPath();
    EXPECT_EQ(admin({"staff", "list", data}).out, "");
    EXPECT_EQ(admin({"staff", "add", data, "山田"}).code, 1);
    EXPECT_TRUE(admin({"upgrade", data}).out.contains("added"));
    EXPECT_EQ(admin({"check", data}).code, 0);
    EXPECT_EQ(
        admin({"staff", "add", data, "山田", "--mail", "y@example.jp", "--forward", "yes"}).code,
        0);
    for (const QStringList& bad :
         {QStringList{"山田"}, QStringList{" 山"}, QStringList{""},
          QStringList{"佐藤", "--mail", "sato@"}, QStringList{"佐藤", "--forward", "yes"}}) {
        EXPECT_EQ(admin(QStringList{"staff", "add", data} + bad).code, 1)
            << bad.join(' ').toStdString();
    }
    const QString csv = office.path("staff.csv");
    EXPECT_EQ(admin({"staff", "export", data, csv}).code, 0);
    QFile file(office.path("in.csv"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("名前,所属,メール\n鈴木,営業,suzuki@example.jp\n佐藤,,sato@\n");
    file.close();
    EXPECT_EQ(admin({"staff", "import", data, file.fileName()}).code, 1);
    EXPECT_EQ(admin({"staff", "import", data, csv}).code, 0);
    EXPECT_EQ(admin({"staff", "list", data}).out, "山田\t\t\t\ty@example.jp\t転送\n");
    EXPECT_EQ(office.rowCount(), 1);
}
