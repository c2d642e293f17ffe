#include "store/server/server_database.h"

#include "store/location.h"
#include "store/tables.h"

namespace store::server {
namespace {

// What a server can do, and how its data is saved and put back instead of by the program.
Capabilities serverCapabilities(const QString& uri) {
    const QString where = maskedLocation(uri);
    Capabilities can;
    can.onlineBackup = false;
    can.backupAdvice = QStringLiteral(
                           "サーバー上のデータはページ単位では写せません。サーバーのデータは"
                           "サーバー自身の pg_dump で保存し、pg_restore で戻してください"
                           "（その時点のデータファイルが要るときは copy で新しいデータファイルへ"
                           "写せます）: %1")
                           .arg(where);
    can.restoreAdvice =
        QStringLiteral(
            "サーバー上のデータは restore では戻せません。pg_dump で保存したデータは "
            "pg_restore で戻してください。データファイルのバックアップをサーバーへ戻す"
            "ときは、create-data で新しく作った表へ copy で写してください（写す元が"
            "振った最大の番号の次から番号が続きます）: %1")
            .arg(where);
    // Texts travel as C strings: one holding a NUL would arrive cut short.
    can.textsWithNul = false;
    return can;
}

QString quotedName(const QString& name) {
    return u'"' + QString(name).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

}  // namespace

ServerDatabase::ServerDatabase(QString uri, QString requiredTable, QStringList requiredColumns,
                               std::chrono::milliseconds busyTimeout)
    : Database(uri, busyTimeout),
      conn_(uri, busyTimeout),
      capabilities_(serverCapabilities(uri)),
      requiredTable_(std::move(requiredTable)),
      requiredColumns_(std::move(requiredColumns)) {}

ServerDatabase::~ServerDatabase() {
    rollback();
}

void ServerDatabase::open() {
    // Reachable, and holding the expected table with every column the program reads.
    conn_.connect();
    QStringList quoted;
    for (const QString& column : requiredColumns_) {
        quoted << quotedName(column);
    }
    conn_.exec(QStringLiteral("SELECT %1 FROM %2 LIMIT 0")
                   .arg(quoted.join(u','), quotedName(requiredTable_)));
}

Connection& ServerDatabase::connection() {
    if (!kind_) {
        conn_.ensureConnected();
    }
    return conn_;
}

// ---- Transactions

void ServerDatabase::begin(Transaction::Kind kind) {
    if (kind_) {
        throw Error::misuse(
            QStringLiteral("トランザクションが既に開いています: %1").arg(maskedLocation(path())));
    }
    Connection& c = connection();
    switch (kind) {
        case Transaction::Kind::Read:
            // One picture of the table from the first statement to the last, while
            // workstations go on writing.
            c.exec(QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"));
            break;
        case Transaction::Kind::Write:
            c.exec(QStringLiteral("BEGIN"));
            break;
        case Transaction::Kind::Exclusive:
            c.exec(QStringLiteral("BEGIN"));
            kind_ = kind;
            try {
                // Workstations may read meanwhile; none adds, changes or removes a message
                // until the transaction ends.
                c.exec(QStringLiteral("LOCK TABLE %1 IN SHARE ROW EXCLUSIVE MODE")
                           .arg(quotedName(memo::tableName())));
            } catch (...) {
                rollback();
                throw;
            }
            break;
    }
    kind_ = kind;
}

void ServerDatabase::commit() {
    conn_.exec(QStringLiteral("COMMIT"));
    kind_.reset();
}

void ServerDatabase::rollback() noexcept {
    if (!kind_) {
        return;
    }
    kind_.reset();
    try {
        conn_.exec(QStringLiteral("ROLLBACK"));
    } catch (...) {
        // A connection that was lost ended its transaction with it.
    }
}

bool ServerDatabase::reopenAfterLostRead() {
    // A server that did not answer is not asked again at once: the wait would only double.
    if (kind_ || !conn_.isLost() || conn_.wentUnanswered()) {
        return false;
    }
    conn_.connect();
    return true;
}

// ---- Copies of the whole: the server's own tools

void ServerDatabase::backUp(const QString&, const ProgressOf&) {
    throw Error::misuse(capabilities().backupAdvice);
}

RestoreOutcome ServerDatabase::restoreFrom(const QString&, bool, const ProgressOf&) {
    throw Error::misuse(capabilities().restoreAdvice);
}

}  // namespace store::server
