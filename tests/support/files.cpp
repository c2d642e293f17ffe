#include "support/files.h"

#include <gtest/gtest.h>

#include "app/settings_store.h"
#include "store/memo_table.h"
#include "store/schema.h"

#include <QFileInfo>

namespace testing_support {

Office::Office() {
    EXPECT_TRUE(dir_.isValid());
}

void Office::makeDataFile() {
    store::schema::createDataFile(dataPath());
}

void Office::makeSettings(const std::optional<QString>& name,
                          const std::optional<QString>& folder) {
    store::schema::createSettingsFile(iniPath(), name, folder);
}

std::unique_ptr<store::Database> Office::openData(int busyMs) const {
    store::Workspace ws{std::chrono::milliseconds(busyMs)};
    return ws.openDatabase(dataPath(), store::memo::tableName(), store::memo::requiredColumns());
}

qint64 Office::addMessage(const QString& to, const QString& from, const QString& taker,
                          const QString& memo, const std::optional<QString>& readOn,
                          const QString& at) {
    auto db = openData();
    db->execute(
        QStringLiteral("INSERT INTO MEMO_T (宛名,相手,受人,メモ,内外線,電話,受付日時,既読) "
                       "VALUES (?,?,?,?,'内線','-',?,?)"),
        {to, from, taker, memo, at, readOn ? store::Param(*readOn) : store::Param(nullptr)});
    store::Recordset rs = db->openRecordset(QStringLiteral("SELECT max(ＮＯ) AS n FROM MEMO_T"));
    rs.MoveFirst();
    return rs.Fields(QStringLiteral("n")).value().toLongLong();
}

QStringList Office::rows() const {
    auto db = openData();
    store::Recordset rs = db->openRecordset(QStringLiteral("SELECT * FROM MEMO_T ORDER BY ＮＯ"));
    QStringList out;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        QStringList cells;
        for (int c = 0; c < rs.columns().size(); ++c) {
            const store::Field& f = rs.field(c);
            cells << (f.isNull() ? QStringLiteral("<null>") : f.value());
        }
        out << cells.join(u'|');
    }
    return out;
}

int Office::rowCount() const {
    return int(rows().size());
}

std::unique_ptr<Module1> Office::startedState(const QString& name) {
    if (!QFileInfo::exists(dataPath())) {
        makeDataFile();
    }
    if (!QFileInfo::exists(iniPath())) {
        makeSettings(name, dataPath());
    }
    auto state = std::make_unique<Module1>();
    state->Ws_Main = store::Workspace{std::chrono::milliseconds(2000)};
    state->iniPath = iniPath();
    app::loadSettings(*state);
    app::openDataFile(*state);
    return state;
}

}  // namespace testing_support
