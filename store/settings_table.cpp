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

QStringList requiredColumns() {
    return {QStringLiteral("ＮＯ"), QStringLiteral("名前"), QStringLiteral("フォルダ")};
}

QString tableName() {
    return QStringLiteral("INI_T");
}

}  // namespace store::settings
