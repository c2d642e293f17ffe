#include "store/settings_table.h"

#include "store/file/file_database.h"
#include "store/file/file_schema.h"

namespace store::settings {

File::File(const QString& path, const Workspace& workspace)
    : db_(workspace.openFile(path, tableName(), requiredColumns())) {}

File::~File() = default;

Row read(file::FileDatabase& db) {
    file::Recordset rs = db.openRecordset(QStringLiteral("Select * From INI_T Where ＮＯ = 1"));
    Row row;
    if (rs.RecordCount() != 0) {
        rs.MoveFirst();
        const file::Field& name = rs.Fields(QStringLiteral("名前"));
        const file::Field& folder = rs.Fields(QStringLiteral("フォルダ"));
        row.name = name.isNull() ? QString() : name.value();
        row.folder = folder.isNull() ? QString() : folder.value();
    }
    return row;
}

void save(file::FileDatabase& db, const QString& name, const QString& folder) {
    const std::int64_t changed = db.execute(
        QStringLiteral("Update INI_T Set 名前 = ?,フォルダ = ? Where ＮＯ = 1"), {name, folder});
    if (changed == 0) {
        db.execute(QStringLiteral("Insert into INI_T (ＮＯ,名前,フォルダ) Values (1,?,?)"),
                   {name, folder});
    }
}

bool File::readDesktopNotices() {
    if (db_->openRecordset(QStringLiteral("Select name From sqlite_master Where type = 'table' "
                                          "And name = 'NOTICE_T'"))
            .RecordCount() == 0) {
        return false;
    }
    file::Recordset rs =
        db_->openRecordset(QStringLiteral("Select デスクトップ通知 From NOTICE_T Where ＮＯ = 1"));
    if (rs.RecordCount() == 0) {
        return false;
    }
    rs.MoveFirst();
    return rs.field(0).value().toInt() != 0;
}

void File::saveDesktopNotices(bool on) {
    Transaction transaction(*db_, Transaction::Kind::Write);
    db_->execute(
        QStringLiteral("Create Table If Not Exists NOTICE_T "
                       "(ＮＯ Integer Primary Key, デスクトップ通知 Integer)"));
    db_->execute(
        QStringLiteral("Insert Or Replace Into NOTICE_T (ＮＯ,デスクトップ通知) Values (1,?)"),
        {std::int64_t(on ? 1 : 0)});
    transaction.commit();
}

void createFile(const QString& path, const std::optional<QString>& name,
                const std::optional<QString>& folder, const Workspace& workspace) {
    file::createSettingsFile(path, name, folder, workspace.busyTimeout());
}

}  // namespace store::settings
