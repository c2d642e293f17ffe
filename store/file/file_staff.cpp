// The staff directory, the relay's table and MEMO_T's added columns on a data file.
#include <sqlite3.h>

#include "store/file/file_database.h"
#include "store/file/file_schema.h"
#include "store/file/statement.h"
#include "store/file/values.h"

namespace store::file {
namespace {

const QString kStaffColumns = QStringLiteral("名前, よみ, 内線番号, 所属, メール, 転送");

Param optional(const std::optional<QString>& text) {
    return text ? Param(*text) : Param(nullptr);
}

Params staffParams(const StaffMember& m) {
    return {m.name,
            optional(m.reading),
            optional(m.extension),
            optional(m.section),
            optional(m.mail),
            m.forward ? Param(std::int64_t(1)) : Param(nullptr)};
}

void refuseWithoutDirectory(sqlite3* db) {
    if (!hasTable(db, staff::tableName())) {
        throw Error(Error::Kind::Other,
                    QStringLiteral("データに名簿（STAFF_T）がありません。upgrade で作れます。"));
    }
}

}  // namespace

std::vector<StaffMember> FileDatabase::staffMembers() {
    std::vector<StaffMember> members;
    reading([&] {
        if (!hasTable(db_.get(), staff::tableName())) {
            return;
        }
        Statement st(db_.get(), QStringLiteral("Select %1 From STAFF_T").arg(kStaffColumns));
        while (st.step()) {
            StaffMember& m = members.emplace_back();
            m.name = columnText(st.get(), 0);
            m.reading = optionalText(st.get(), 1);
            m.extension = optionalText(st.get(), 2);
            m.section = optionalText(st.get(), 3);
            m.mail = optionalText(st.get(), 4);
            m.forward = sqlite3_column_type(st.get(), 5) != SQLITE_NULL &&
                        sqlite3_column_int64(st.get(), 5) == 1;
        }
    });
    return members;
}

void FileDatabase::insertStaffMember(const StaffMember& member) {
    writing([&] {
        refuseWithoutDirectory(db_.get());
        run(QStringLiteral("Insert into STAFF_T (%1) Values (?,?,?,?,?,?)").arg(kStaffColumns),
            staffParams(member));
    });
}

bool FileDatabase::updateStaffMember(const QString& name, const StaffMember& member) {
    std::int64_t changed = 0;
    writing([&] {
        refuseWithoutDirectory(db_.get());
        Params params = staffParams(member);
        params.push_back(name);
        changed =
            run(QStringLiteral("Update STAFF_T Set 名前 = ?, よみ = ?, 内線番号 = ?, 所属 = ?, "
                               "メール = ?, 転送 = ? Where 名前 = ?"),
                params);
    });
    return changed > 0;
}

bool FileDatabase::deleteStaffMember(const QString& name) {
    std::int64_t changed = 0;
    writing([&] {
        refuseWithoutDirectory(db_.get());
        changed = run(QStringLiteral("Delete From STAFF_T Where 名前 = ?"), {name});
    });
    return changed > 0;
}

bool FileDatabase::hasColumn(const QString& column) {
    bool has = false;
    reading([&] { has = hasMemoColumnNamed(db_.get(), column); });
    return has;
}

std::optional<ForwardMark> FileDatabase::forwardMark() {
    std::optional<ForwardMark> mark;
    reading([&] {
        if (!hasTable(db_.get(), relay::tableName())) {
            return;
        }
        Statement st(db_.get(), QStringLiteral("Select 確認済ＮＯ, 試行ＮＯ, 試行回数 From "
                                               "FORWARD_T Where ＮＯ = 1"));
        if (st.step()) {
            mark = ForwardMark{sqlite3_column_int64(st.get(), 0), sqlite3_column_int64(st.get(), 1),
                               sqlite3_column_int64(st.get(), 2)};
        }
    });
    return mark;
}

void FileDatabase::setForwardMark(const ForwardMark& mark) {
    writing([&] {
        addLaterParts(db_.get());
        run(QStringLiteral(
                "Insert or Replace into FORWARD_T (ＮＯ, 確認済ＮＯ, 試行ＮＯ, 試行回数) "
                "Values (1, ?, ?, ?)"),
            {mark.examined, mark.trying, mark.attempts});
    });
}

std::vector<ForwardCandidate> FileDatabase::messagesAbove(std::int64_t no, int limit) {
    std::vector<ForwardCandidate> found;
    reading([&] {
        const QString forwarded =
            hasMemoColumnNamed(db_.get(), QString::fromUtf16(memo::kForwardedAt))
                ? QStringLiteral("転送日時 Is Not Null")
                : QStringLiteral("0");
        const QString urgent = hasMemoColumnNamed(db_.get(), QStringLiteral("至急"))
                                   ? QStringLiteral("Coalesce(至急 = 1, 0)")
                                   : QStringLiteral("0");
        Statement st(db_.get(), QStringLiteral("Select ＮＯ, %1, %2, %3 From MEMO_T Where ＮＯ > ? "
                                               "Order By ＮＯ Limit ?")
                                    .arg(forwarded, urgent, memoColumns(1)));
        st.bind({no, std::int64_t(limit)});
        while (st.step()) {
            ForwardCandidate& c = found.emplace_back();
            c.no = sqlite3_column_int64(st.get(), 0);
            c.forwarded = sqlite3_column_int64(st.get(), 1) != 0;
            c.urgent = sqlite3_column_int64(st.get(), 2) != 0;
            for (int i = 0; i < kTextColumns; ++i) {
                c.texts[std::size_t(i)] = optionalText(st.get(), 3 + i);
            }
        }
    });
    return found;
}

void FileDatabase::setForwardedAt(std::int64_t no, const QString& when) {
    writing([&] {
        addLaterParts(db_.get());
        run(QStringLiteral("Update MEMO_T Set 転送日時 = ? Where ＮＯ = ?"), {when, no});
    });
}

}  // namespace store::file
