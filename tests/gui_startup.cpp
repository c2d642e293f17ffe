#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

#include "app/settings_store.h"
#include "store/error.h"
#include "store/schema.h"
#include "support/main_window.h"
#include "ui/settings/frm_set.h"
#include "ui/viewer/frm_memo2.h"

using testing_support::Workstation;

namespace {

const QString kCannotOpen =
    QStringLiteral("データベースをオープンできません。データベースの場所を確認して下さい。");

// The user types a name and a path and saves.
std::function<void(Frm_set&)> saves(const QString& name, const QString& path) {
    return [=](Frm_set& window) {
        window.Txt_Name->setText(name);
        window.Txt_File->setText(path);
        QTest::mouseClick(window.Command2, Qt::LeftButton);
    };
}

}  // namespace

class StartUp : public testing_support::OnEachEngine {};
DULVANE_ON_EACH_ENGINE(StartUp);
class StartUpOnAFile : public StartUp {};
DULVANE_ON_FILE_ONLY(StartUpOnAFile);
class EndOfProgram : public testing_support::OnEachEngine {};
DULVANE_ON_EACH_ENGINE(EndOfProgram);

TEST_P(StartUp, WithAPathAndANameOpensTheFileAndFillsTheLists) {
    Workstation w(GetParam());
    w.office.makeDataFile();
    w.office.addMessage("山田", "佐藤", "鈴木");
    w.startAs(QStringLiteral("鈴木"));
    EXPECT_TRUE(w.prompts.shown.isEmpty());
    ASSERT_TRUE(w.state.Db_Data);
    EXPECT_EQ(w.form->Cmb_My->currentText(), QStringLiteral("鈴木"));
    EXPECT_EQ(w.form->Cmb_To->count(), 1);
    EXPECT_EQ(w.form->TxT_Memo->text(), QStringLiteral("お電話をさしあげてください。"));
    EXPECT_NE(w.form->Txt_Time->text(), QStringLiteral("2002/12/25 12:25"));
}

TEST_P(StartUp, NullPathShowsTheSettingsFirstAndASavedPathOpensAtOnce) {
    Workstation w(GetParam());
    w.office.makeDataFile();
    w.office.addMessage("山田", "佐藤", "鈴木");
    w.prepare(std::nullopt, std::nullopt);
    w.prompts.settingsScripts.push_back(saves(QStringLiteral("鈴木"), w.office.dataPath()));
    w.start();
    EXPECT_EQ(w.prompts.shown,
              (QStringList{"settings", "変更は次回アプリケーション起動から有効になります。"}));
    ASSERT_TRUE(w.state.Db_Data);
    EXPECT_EQ(w.form->Cmb_My->currentText(), QStringLiteral("鈴木"));
    EXPECT_EQ(w.form->Cmb_To->count(), 1);
}

TEST_P(StartUpOnAFile, NullPathAndTheWindowClosedUnsavedEndsWithoutADataFile) {
    Workstation w(GetParam());
    w.prepare(std::nullopt, std::nullopt);
    w.start();
    EXPECT_EQ(w.prompts.shown, (QStringList{"settings", kCannotOpen, "settings"}));
    EXPECT_FALSE(w.state.Db_Data);
    EXPECT_EQ(w.form->Txt_Time->text(), QStringLiteral("2002/12/25 12:25"));
}

// A data file that is missing, or a server that does not answer.
TEST_P(StartUp, DataThatCannotBeReachedShowsTheMessageThenTheSettingsAndNothingIsRetried) {
    Workstation w(GetParam());
    w.prepare(QStringLiteral("鈴木"), w.office.unreachablePath(), false);
    // The user fixes the path in the window shown after the failure: it takes effect only at
    // the next start.
    w.office.makeDataFile();
    w.prompts.settingsScripts.push_back(saves(QStringLiteral("鈴木"), w.office.dataPath()));
    w.start();
    EXPECT_EQ(w.prompts.shown, (QStringList{kCannotOpen, "settings",
                                            "変更は次回アプリケーション起動から有効になります。"}));
    EXPECT_FALSE(w.state.Db_Data);
    EXPECT_EQ(w.state.My_Folder, w.office.dataPath());
    Form1& f = *w.form;
    EXPECT_EQ(f.Cmb_My->currentText(), QString());
    EXPECT_EQ(f.Cmb_To->count(), 0);
    EXPECT_EQ(f.Cmb_From->count(), 0);
    EXPECT_EQ(f.TxT_Memo->text(), QStringLiteral("お電話をさしあげてください。"));
    EXPECT_EQ(f.SS1->text(GridColumn::DateTime, 1), QString());
    EXPECT_TRUE(f.Option1->isChecked());
    EXPECT_TRUE(f.Chk1->isChecked());
    EXPECT_FALSE(QFileInfo::exists(w.office.path("nowhere")));
}

TEST_P(StartUp, NullNameWithAValidPathShowsNoWindow) {
    Workstation w(GetParam());
    w.prepare(std::nullopt, w.office.dataPath());
    w.start();
    EXPECT_TRUE(w.prompts.shown.isEmpty());
    EXPECT_TRUE(w.state.Db_Data);
    EXPECT_EQ(w.form->Cmb_My->currentText(), QString());
}

TEST_P(StartUp, NoSettingsRowCountsAsEmptySettings) {
    Workstation w(GetParam());
    w.prepare(QStringLiteral("x"), QStringLiteral("y"));
    w.office.openData();  // the data file exists
    {
        store::Workspace ws;
        auto ini = ws.openFile(w.office.iniPath(), "INI_T", {"ＮＯ"});
        ini->execute(QStringLiteral("DELETE FROM INI_T"));
    }
    w.start();
    EXPECT_EQ(w.state.My_Name, QString());
    EXPECT_EQ(w.prompts.shown.first(), QStringLiteral("settings"));
}

TEST_P(StartUpOnAFile, QuotesInTheSettingsAreReadExactly) {
    Workstation w(GetParam());
    QDir().mkpath(w.office.path("o'neil's share"));
    const QString path = w.office.path("o'neil's share/dulvane.mdb");
    store::schema::createDataFile(path);
    w.prepare(QStringLiteral("O'Neil"), path, false);
    w.start();
    EXPECT_EQ(w.state.My_Name, QStringLiteral("O'Neil"));
    EXPECT_EQ(w.state.My_Folder, path);
    EXPECT_TRUE(w.state.Db_Data);
}

TEST_P(StartUpOnAFile, AnUnusableSettingsFileStopsTheStartWithTheEngineError) {
    Workstation missing;
    EXPECT_THROW(missing.start(), store::Error);

    Workstation notADatabase;
    QFile f(notADatabase.office.iniPath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[settings]\nname=x\n");
    f.close();
    try {
        notADatabase.start();
        FAIL() << "a text file is no settings file";
    } catch (const store::Error& e) {
        EXPECT_EQ(e.kind(), store::Error::Kind::NotADataFile);
    }

    Workstation wrongTable;
    wrongTable.office.makeDataFile();
    QFile::copy(wrongTable.office.dataPath(), wrongTable.office.iniPath());
    EXPECT_THROW(wrongTable.start(), store::Error);
}

TEST_P(EndOfProgram, EndButtonAndFrameCloseEndWithTheViewer) {
    Workstation w(GetParam());
    w.office.makeDataFile();
    w.office.addMessage("鈴木", "佐藤", "山田");
    w.startAs(QStringLiteral("鈴木"));
    QTest::mouseClick(w.form->Command1, Qt::LeftButton);
    w.form->SS1_DblClick(3, 1);
    QPointer<Frm_Memo2> viewer = w.form->memoViewer();
    ASSERT_TRUE(viewer);
    QSignalSpy ended(w.form.get(), &Form1::endRequested);
    QTest::mouseClick(w.form->Cmd_END, Qt::LeftButton);
    EXPECT_EQ(ended.count(), 1);
    EXPECT_FALSE(viewer);
    EXPECT_FALSE(w.form->Timer1->isActive());

    Workstation w2(GetParam());
    w2.startAs(QStringLiteral("鈴木"));
    w2.form->show();
    QSignalSpy ended2(w2.form.get(), &Form1::endRequested);
    w2.form->close();
    EXPECT_EQ(ended2.count(), 1);
}

// A program folder and a user's configuration folder inside the office's temporary folder.
struct Installed {
    Installed() { QDir().mkpath(program); }
    Workstation w;
    QString program = w.office.path(QStringLiteral("program"));
    QString user = w.office.path(QStringLiteral("home/.config/dulvane"));
    QString usersFile = QDir(user).filePath(QStringLiteral("DULVANE.INI"));

    void start() {
        const app::SettingsLocation where = app::locateSettings(program, user);
        app::provideSettings(where);
        w.state.iniPath = where.path;
        w.start();
    }
    QStringList programFolder() const {
        return QDir(program).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
};

TEST(SettingsLocation, AFileBesideTheProgramIsUsedAndTheUsersFolderIsNotTouched) {
    Installed i;
    i.w.office.makeDataFile();
    store::schema::createSettingsFile(QDir(i.program).filePath("DULVANE.INI"), "鈴木",
                                      i.w.office.dataPath());
    i.start();
    EXPECT_TRUE(i.w.prompts.shown.isEmpty());
    EXPECT_EQ(i.w.state.My_Name, QStringLiteral("鈴木"));
    EXPECT_TRUE(i.w.state.Db_Data);
    EXPECT_FALSE(QFileInfo::exists(i.user));
}

TEST(SettingsLocation, WithoutOneTheUsersOwnIsMadeEmptyAndTheSettingsWindowAsks) {
    Installed i;
    i.w.office.makeDataFile();
    QStringList asked;
    i.w.prompts.settingsScripts.push_back([&](Frm_set& window) {
        asked << window.Txt_Name->text() << window.Txt_File->text();
        saves(QStringLiteral("鈴木"), i.w.office.dataPath())(window);
    });
    i.start();
    EXPECT_EQ(asked, (QStringList{QString(), QString()}));
    EXPECT_TRUE(i.w.state.Db_Data);
    EXPECT_TRUE(i.programFolder().isEmpty());

    // The next start reads what was saved in the user's own file and leaves the file alone.
    Installed again;
    QDir().mkpath(again.user);
    ASSERT_TRUE(QFile::copy(i.usersFile, again.usersFile));
    QFile before(again.usersFile);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray bytes = before.readAll();
    before.close();
    again.start();
    EXPECT_TRUE(again.w.prompts.shown.isEmpty());
    EXPECT_EQ(again.w.state.My_Name, QStringLiteral("鈴木"));
    EXPECT_TRUE(again.w.state.Db_Data);
    again.w.form.reset();
    again.w.state.Db_Ini.reset();
    again.w.state.Db_Data.reset();
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    EXPECT_EQ(before.readAll(), bytes);
    EXPECT_TRUE(again.programFolder().isEmpty());
}

TEST(SettingsLocation, AUsersFileThatCannotBeMadeStopsTheStartWithTheEngineReport) {
    Installed i;
    // A file stands where the user's configuration folder would be: even root cannot make it.
    QDir().mkpath(i.w.office.path(QStringLiteral("home/.config")));
    QFile blocker(i.user);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_THROW(i.start(), store::Error);
    EXPECT_FALSE(i.w.form);
    EXPECT_TRUE(i.programFolder().isEmpty());
    EXPECT_EQ(QDir(i.w.office.path(QStringLiteral("home/.config"))).entryList(QDir::Files),
              QStringList{QStringLiteral("dulvane")});
}
