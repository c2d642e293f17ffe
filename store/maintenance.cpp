#include "store/maintenance.h"
#include "store/file/engine_error.h"
#include "store/memo_table.h"

#include <sqlite3.h>

#include "store/error.h"
#include "store/file/numbering.h"
#include "store/file/page_copy.h"
#include "store/file/statement.h"
#include "store/location.h"
#include "store/server/bulk.h"
#include "store/server/maintenance.h"
#include "store/transaction.h"

namespace store::maintenance {

using namespace store::file;
namespace {

using numbering::highestEverNumbered;
using numbering::numberAfter;

// Only well-formed received times compare with a date; an empty or foreign text is never
// taken for an old one.
constexpr const char* kReadBefore =
    "From MEMO_T Where 既読 Is Not Null And 受付日時 < ? "
    "And 受付日時 Glob '[0-9][0-9][0-9][0-9]/[0-9][0-9]/[0-9][0-9]*'";

// Runs work inside a transaction of the given kind, rolling back when it throws.
template <class Work>
auto inTransaction(sqlite3* db, Transaction::Kind kind, Work work) {
    Transaction transaction(db, kind);
    auto result = work();
    transaction.commit();
    return result;
}

std::int64_t single(Database& db, const QString& sql, const Params& params = {}) {
    Recordset rs = db.openRecordset(sql, params);
    rs.MoveFirst();
    return rs.field(0).value().toLongLong();
}

std::optional<QString> optionalText(const Field& field) {
    return field.isNull() ? std::nullopt : std::optional<QString>(field.value());
}

// The connection to a data file; the administration's statements are written for the file's
// engine, so a server's data is refused with a clear message.
sqlite3* fileHandle(Database& db) {
    if (isServerLocation(db.path())) {
        throw Error::misuse(QStringLiteral("この操作はサーバー上のデータでは使えません: %1")
                                .arg(maskedLocation(db.path())));
    }
    return db.handle();
}

void refuseReadOnly(const Database& db) {
    if (db.isReadOnly()) {
        throw engineError(
            SQLITE_READONLY,
            QStringLiteral("データファイルに書き込めません（読み取り専用）: %1").arg(db.path()));
    }
}

// A number is taken when a message holds it now, or when the file handed it out before and
// that message was deleted since: a number is never given to a second message, so a list still
// shown on some workstation can never delete a message it never showed.
std::vector<std::size_t> takenNumbers(sqlite3* h, const std::vector<ImportMessage>& messages) {
    std::vector<std::size_t> taken;
    const std::int64_t handedOut = highestEverNumbered(h);
    Statement find(h, QStringLiteral("Select 1 From MEMO_T Where ＮＯ = ?"));
    for (std::size_t i = 0; i < messages.size(); ++i) {
        if (!messages[i].no) {
            continue;
        }
        if (*messages[i].no <= handedOut) {
            taken.push_back(i);
            continue;
        }
        find.bind({*messages[i].no});
        if (find.step()) {
            taken.push_back(i);
        }
        sqlite3_reset(find.get());
    }
    return taken;
}

// Inserts the messages on the open transaction. A Null ＮＯ takes the next number; a larger
// kept number moves the numbering on.
std::int64_t insertAll(sqlite3* h, const std::vector<ImportMessage>& messages,
                       const std::function<void(std::int64_t)>& progress) {
    Statement insert(h, QStringLiteral("Insert into MEMO_T "
                                       "(ＮＯ,宛名,相手,受人,メモ,内外線,電話,受付日時,既読) "
                                       "Values (?,?,?,?,?,?,?,?,?)"));
    Params params(kTextColumns + 1);
    std::int64_t added = 0;
    for (const ImportMessage& m : messages) {
        params[0] = m.no ? Param(*m.no) : Param(nullptr);
        for (int c = 0; c < kTextColumns; ++c) {
            params[std::size_t(c) + 1] =
                m.texts[std::size_t(c)] ? Param(*m.texts[std::size_t(c)]) : Param(nullptr);
        }
        insert.bind(params);
        insert.step();
        sqlite3_reset(insert.get());
        if (++added % 1000 == 0 && progress) {
            progress(added);
        }
    }
    return added;
}

// Every message of a data file, read in one statement.
std::vector<ImportMessage> fileMessages(Database& db) {
    Recordset rs = allMessages(db);
    std::vector<ImportMessage> messages;
    messages.reserve(std::size_t(rs.RecordCount()));
    rs.drain([&](const Recordset& row) {
        ImportMessage m;
        m.no = row.field(0).value().toLongLong();
        for (int c = 0; c < kTextColumns; ++c) {
            m.texts[std::size_t(c)] = optionalText(row.field(c + 1));
        }
        messages.push_back(std::move(m));
    });
    return messages;
}

}  // namespace

QStringList messageColumns() {
    return memo::requiredColumns();
}

std::vector<ImportMessage> everyMessage(Database& db) {
    if (store::server::Connection* const server = db.server()) {
        return store::server::bulk::allMessages(*server);
    }
    return fileMessages(db);
}

QString numberedBeforeText(const QString& location) {
    return QStringLiteral(
               "コピー先にはメッセージがありませんが、以前に番号を振ったことがあります。"
               "写した番号が以前のメッセージの番号と重ならないよう、何も変えていません。"
               "create-data で新しいコピー先を作ってください: %1")
        .arg(location);
}

Recordset allMessages(Database& db) {
    if (store::server::Connection* const server = db.server()) {
        return store::server::maintenance::allMessages(*server);
    }
    return db.openRecordset(
        QStringLiteral("Select ＮＯ,宛名,相手,受人,メモ,内外線,電話,受付日時,既読 "
                       "From MEMO_T Order By ＮＯ"));
}

std::vector<std::size_t> numbersInUse(Database& db, const std::vector<ImportMessage>& messages) {
    if (store::server::Connection* const server = db.server()) {
        return store::server::maintenance::numbersInUse(*server, messages);
    }
    return inTransaction(fileHandle(db), Transaction::Kind::Read,
                         [&] { return takenNumbers(fileHandle(db), messages); });
}

ImportOutcome addMessages(Database& db, const std::vector<ImportMessage>& messages,
                          const std::function<void(std::int64_t)>& progress) {
    if (store::server::Connection* const server = db.server()) {
        return store::server::maintenance::addMessages(*server, messages, progress);
    }
    refuseReadOnly(db);
    sqlite3* h = fileHandle(db);
    // IMMEDIATE: the write lock is held from the check of the numbers to the last insert.
    return inTransaction(h, Transaction::Kind::Write, [&] {
        ImportOutcome outcome;
        outcome.numbersTaken = takenNumbers(h, messages);
        if (!outcome.numbersTaken.empty()) {
            return outcome;  // nothing written: the commit ends a transaction that only read
        }
        outcome.added = insertAll(h, messages, progress);
        return outcome;
    });
}

std::int64_t copyMessages(Database& from, Database& to,
                          const std::function<void(std::int64_t, std::int64_t)>& progress) {
    const std::vector<ImportMessage> messages = everyMessage(from);
    store::server::Connection* const fromServer = from.server();
    // Read after the messages, so at least the highest number copied: numbers from deleted
    // messages are not handed out again in to either.
    const std::int64_t handedOut = fromServer
                                       ? store::server::bulk::highestEverNumbered(*fromServer)
                                       : highestEverNumbered(fileHandle(from));
    const auto total = std::int64_t(messages.size());
    const std::function<void(std::int64_t)> step = [&](std::int64_t done) {
        if (progress) {
            progress(done, total);
        }
    };
    if (store::server::Connection* const toServer = to.server()) {
        return store::server::bulk::fillEmpty(*toServer, messages, handedOut, step);
    }
    refuseReadOnly(to);
    sqlite3* h = fileHandle(to);
    return inTransaction(h, Transaction::Kind::Write, [&] {
        Statement any(h, QStringLiteral("Select 1 From MEMO_T Limit 1"));
        if (any.step()) {
            throw engineError(
                SQLITE_CONSTRAINT,
                QStringLiteral("コピー先に既にメッセージがあります（何も変えていません）: %1")
                    .arg(to.path()));
        }
        if (highestEverNumbered(h) > 0) {
            throw engineError(SQLITE_CONSTRAINT, numberedBeforeText(to.path()));
        }
        const std::int64_t added = insertAll(h, messages, step);
        numberAfter(h, handedOut);
        return added;
    });
}

std::int64_t countReadBefore(Database& db, const QString& dateText) {
    if (store::server::Connection* const server = db.server()) {
        return store::server::maintenance::countReadBefore(*server, dateText);
    }
    return single(db, QStringLiteral("Select Count(*) ") + QString::fromUtf8(kReadBefore),
                  {dateText});
}

std::int64_t removeReadBefore(Database& db, const QString& dateText) {
    if (store::server::Connection* const server = db.server()) {
        return store::server::maintenance::removeReadBefore(*server, dateText);
    }
    refuseReadOnly(db);
    return db.execute(QStringLiteral("Delete ") + QString::fromUtf8(kReadBefore), {dateText});
}

Summary summarize(Database& db) {
    if (store::server::Connection* const server = db.server()) {
        return store::server::maintenance::summarize(*server);
    }
    return inTransaction(fileHandle(db), Transaction::Kind::Read, [&] {
        Summary s;
        s.messages = single(db, QStringLiteral("Select Count(*) From MEMO_T"));
        s.unread = single(db, QStringLiteral("Select Count(*) From MEMO_T Where 既読 Is Null"));
        Recordset per = db.openRecordset(
            QStringLiteral("Select 宛名, Count(*) As n From MEMO_T Where 既読 Is Null "
                           "Group By 宛名 Order By n Desc, 宛名"));
        for (per.MoveFirst(); !per.Eof(); per.MoveNext()) {
            s.unreadByAddressee.emplace_back(optionalText(per.field(0)),
                                             per.field(1).value().toLongLong());
        }
        Recordset oldest = db.openRecordset(
            QStringLiteral("Select ＮＯ, 宛名, 受付日時 From MEMO_T Where 既読 Is Null "
                           "Order By 受付日時 Is Null, 受付日時, ＮＯ Limit 1"));
        oldest.MoveFirst();
        if (!oldest.Eof()) {
            s.oldestUnread =
                Summary::Oldest{oldest.field(0).value().toLongLong(), optionalText(oldest.field(1)),
                                optionalText(oldest.field(2))};
        }
        return s;
    });
}

void checkBackupSource(const QString& location) {
    if (isServerLocation(location)) {
        throw Error::misuse(
            QStringLiteral("サーバー上のデータはページ単位では写せません。サーバーのデータは"
                           "サーバー自身の pg_dump で保存し、pg_restore で戻してください"
                           "（その時点のデータファイルが要るときは copy で新しいデータファイルへ"
                           "写せます）: %1")
                .arg(maskedLocation(location)));
    }
}

void backupTo(Database& source, const QString& copyPath,
              const std::function<void(std::int64_t, std::int64_t)>& progress) {
    checkBackupSource(source.path());
    copyPages(fileHandle(source), source.path(), copyPath, source.busyTimeout(), progress);
}

}  // namespace store::maintenance
