#include "store/maintenance.h"

#include <QSet>

#include "store/location.h"
#include "store/memo_table.h"
#include "store/restore.h"
#include "store/staff.h"
#include "store/tables.h"

namespace store::maintenance {
namespace {

// A number is taken when a message holds it now, or when the data handed it out before and
// that message was deleted since: a number is never given to a second message, so a list still
// shown on some workstation can never delete a message it never showed.
std::vector<std::size_t> takenNumbers(Database& db, const std::vector<ImportMessage>& messages) {
    const std::int64_t handedOut = db.highestEverNumbered();
    std::vector<std::int64_t> candidates;
    for (const ImportMessage& m : messages) {
        if (m.no && *m.no > handedOut) {
            candidates.push_back(*m.no);
        }
    }
    QSet<std::int64_t> held;
    for (const std::int64_t no : db.numbersHeld(candidates)) {
        held.insert(no);
    }
    std::vector<std::size_t> taken;
    for (std::size_t i = 0; i < messages.size(); ++i) {
        if (messages[i].no && (*messages[i].no <= handedOut || held.contains(*messages[i].no))) {
            taken.push_back(i);
        }
    }
    return taken;
}

// Refuses a text the engine cannot hold (a NUL character on a server), naming the message (by
// its number, or its place among the messages) and the column, before anything is sent.
void refuseUnstorable(const Database& db, const std::vector<ImportMessage>& messages) {
    if (db.capabilities().textsWithNul) {
        return;
    }
    for (std::size_t i = 0; i < messages.size(); ++i) {
        const ImportMessage& m = messages[i];
        for (int c = 0; c < kTextColumns; ++c) {
            const std::optional<QString>& text = m.texts[std::size_t(c)];
            if (text && text->contains(QChar(0))) {
                const QString which = m.no ? QStringLiteral("ＮＯ %1").arg(*m.no)
                                           : QStringLiteral("%1 件目").arg(i + 1);
                throw Error(Error::Kind::TextRefused,
                            QStringLiteral("%1 の %2 に NUL 文字（U+0000）があり、"
                                           "サーバーには入りません（何も変えていません）")
                                .arg(which, messageColumns().at(c + 1)));
            }
        }
    }
}

// Refuses values for added columns the data lacks, naming the first message that has one,
// before anything is written: a mark is never dropped on the way.
void refuseMissingColumns(Database& db, const std::vector<ImportMessage>& messages) {
    const Additions present = db.additions();
    for (std::size_t c = 0; c < memo::kAddedCount; ++c) {
        if (present.columns[c]) {
            continue;
        }
        for (std::size_t i = 0; i < messages.size(); ++i) {
            const ImportMessage& m = messages[i];
            if (m.added[c]) {
                const QString which = m.no ? QStringLiteral("ＮＯ %1").arg(*m.no)
                                           : QStringLiteral("%1 件目").arg(i + 1);
                throw Error(
                    Error::Kind::Other,
                    QStringLiteral("%1 の %2 に値がありますが、%3 にはその列がありません"
                                   "（何も変えていません）。dulvane-admin upgrade で"
                                   "列を追加してください。")
                        .arg(which, memo::kAddedColumns[c].text(), maskedLocation(db.path())));
            }
        }
    }
}

}  // namespace

QStringList messageColumns() {
    return memo::everyColumn();
}

const std::optional<QString>& valueAt(const ImportMessage& message, int c) {
    return c <= kTextColumns ? message.texts[std::size_t(c - 1)]
                             : message.added[std::size_t(c - 1 - kTextColumns)];
}

std::optional<QString>& valueAt(ImportMessage& message, int c) {
    return c <= kTextColumns ? message.texts[std::size_t(c - 1)]
                             : message.added[std::size_t(c - 1 - kTextColumns)];
}

std::vector<ImportMessage> everyMessage(Database& db) {
    return db.everyMessage();
}

QString numberedBeforeText(const QString& location) {
    return QStringLiteral(
               "コピー先にはメッセージがありませんが、以前に番号を振ったことがあります。"
               "写した番号が以前のメッセージの番号と重ならないよう、何も変えていません。"
               "create-data で新しいコピー先を作ってください: %1")
        .arg(location);
}

std::vector<std::size_t> numbersInUse(Database& db, const std::vector<ImportMessage>& messages) {
    return reading(db, [&] {
        Transaction transaction(db, Transaction::Kind::Read);
        std::vector<std::size_t> taken = takenNumbers(db, messages);
        transaction.commit();
        return taken;
    });
}

ImportOutcome addMessages(Database& db, const std::vector<ImportMessage>& messages,
                          const std::function<void(std::int64_t)>& progress) {
    // Other writers are kept out from the check of the numbers to the last insert.
    Transaction transaction(db, Transaction::Kind::Exclusive);
    ImportOutcome outcome;
    outcome.numbersTaken = takenNumbers(db, messages);
    if (outcome.numbersTaken.empty()) {
        refuseUnstorable(db, messages);
        refuseMissingColumns(db, messages);
        outcome.added = db.addMessages(messages, progress);
    }
    // With numbers taken nothing was written: the commit ends a transaction that only read.
    transaction.commit();
    return outcome;
}

std::int64_t copyMessages(Database& from, Database& to,
                          const std::function<void(std::int64_t, std::int64_t)>& progress) {
    const std::vector<ImportMessage> messages = everyMessage(from);
    const std::vector<StaffMember> directory = staff::directory(from);
    // Read after the messages, so at least the highest number copied: numbers from deleted
    // messages are not handed out again in to either.
    const std::int64_t handedOut = from.highestEverNumbered();
    const auto total = std::int64_t(messages.size());
    const std::function<void(std::int64_t)> step = [&](std::int64_t done) {
        if (progress) {
            progress(done, total);
        }
    };
    Transaction transaction(to, Transaction::Kind::Exclusive);
    if (to.anyMessage()) {
        throw Error(Error::Kind::Other,
                    QStringLiteral("コピー先に既にメッセージがあります（何も変えていません）: %1")
                        .arg(maskedLocation(to.path())));
    }
    if (to.highestEverNumbered() > 0) {
        throw Error(Error::Kind::Other, numberedBeforeText(maskedLocation(to.path())));
    }
    refuseUnstorable(to, messages);
    refuseMissingColumns(to, messages);
    const std::int64_t added = to.addMessages(messages, step);
    // The staff directory goes along (DESTINATION's must be empty: a name held twice fails).
    for (const StaffMember& member : directory) {
        to.insertStaffMember(member);
    }
    if (handedOut > 0) {
        to.numberAfter(handedOut);
    }
    transaction.commit();
    return added;
}

std::int64_t countReadBefore(Database& db, const QString& dateText) {
    return db.countReadBefore(dateText);
}

std::int64_t removeReadBefore(Database& db, const QString& dateText) {
    return db.removeReadBefore(dateText);
}

Summary summarize(Database& db) {
    return reading(db, [&] {
        Transaction transaction(db, Transaction::Kind::Read);
        Summary s = db.summary();
        transaction.commit();
        return s;
    });
}

void backupTo(Database& source, const QString& copyPath,
              const std::function<void(std::int64_t, std::int64_t)>& progress) {
    const Capabilities& can = source.capabilities();
    if (!can.onlineBackup) {
        throw Error::misuse(can.backupAdvice);
    }
    source.backUp(copyPath, progress);
}

RestoreOutcome restoreBackup(const QString& backupPath, const QString& dataPath,
                             bool replaceUnreadable, const Workspace& workspace,
                             const std::function<void(std::int64_t, std::int64_t)>& progress) {
    for (const QString& location : {backupPath, dataPath}) {
        const Capabilities can = workspace.database(location)->capabilities();
        if (!can.onlineBackup) {
            throw Error::misuse(can.restoreAdvice);
        }
    }
    return workspace.database(dataPath)->restoreFrom(backupPath, replaceUnreadable, progress);
}

}  // namespace store::maintenance
