#include "store/settings_table.h"

namespace store::settings {

Row read(Database& db) {
    Recordset rs = db.openRecordset(QStringLiteral("Select * From INI_T Where ＮＯ = 1"));
    Row row;
    if (rs.RecordCount() != 0) {
        rs.MoveFirst();
        const Field& name = rs.Fields(QStringLiteral("名前"));
        const Field& folder = rs.Fields(QStringLiteral("フォルダ"));
        row.name = name.isNull() ? QString() : name.value();
        row.folder = folder.isNull() ? QString() : folder.value();
    }
    return row;
}

void save(Database& db, const QString& name, const QString& folder) {
    const std::int64_t changed = db.execute(
        QStringLiteral("Update INI_T Set 名前 = ?,フォルダ = ? Where ＮＯ = 1"), {name, folder});
    if (changed == 0) {
        db.execute(QStringLiteral("Insert into INI_T (ＮＯ,名前,フォルダ) Values (1,?,?)"),
                   {name, folder});
    }
}

bool readDesktopNotices(Database& db) {
    if (db.openRecordset(QStringLiteral("Select name From sqlite_master Where type = 'table' "
                                        "And name = 'NOTICE_T'"))
            .RecordCount() == 0) {
        return false;
    }
    Recordset rs =
        db.openRecordset(QStringLiteral("Select デスクトップ通知 From NOTICE_T Where ＮＯ = 1"));
    if (rs.RecordCount() == 0) {
        return false;
    }
    rs.MoveFirst();
    return rs.field(0).value().toInt() != 0;
}

void saveDesktopNotices(Database& db, bool on) {
    db.writeTransaction([&](Database::Writer& w) {
        w.execute(
            QStringLiteral("Create Table If Not Exists NOTICE_T "
                           "(ＮＯ Integer Primary Key, デスクトップ通知 Integer)"));
        w.execute(QStringLiteral("Insert Or Replace Into NOTICE_T (ＮＯ,デスクトップ通知) "
                                 "Values (1,?)"),
                  {std::int64_t(on ? 1 : 0)});
    });
}

QStringList requiredColumns() {
    return {QStringLiteral("ＮＯ"), QStringLiteral("名前"), QStringLiteral("フォルダ")};
}

QString tableName() {
    return QStringLiteral("INI_T");
}

}  // namespace store::settings
