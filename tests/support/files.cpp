#include "support/files.h"

#include <gtest/gtest.h>

#include "app/settings_store.h"
#include "store/memo_table.h"
#include "store/schema.h"
#include "store/server/connection.h"
#include "store/tables.h"
#include "store/transaction.h"

#include <QFileInfo>
#include <QUrl>
#include <algorithm>

namespace testing_support {

namespace {

class FileLock : public DataLock {
public:
    explicit FileLock(std::unique_ptr<store::Database> db)
        : db_(std::move(db)), transaction_(*db_, store::Transaction::Kind::Exclusive) {}

private:
    std::unique_ptr<store::Database> db_;
    store::Transaction transaction_;
};

class ServerLock : public DataLock {
public:
    explicit ServerLock(const QString& uri) : lock_(uri) {}

private:
    ServerTableLock lock_;
};

}  // namespace

store::file::FileDatabase& asFile(store::Database& db) {
    return dynamic_cast<store::file::FileDatabase&>(db);
}

Office::Office(Engine engine) : engine_(engine) {
    EXPECT_TRUE(dir_.isValid());
}

QString Office::dataPath() const {
    if (engine_ == Engine::File) {
        return path(QStringLiteral("dulvane.mdb"));
    }
    if (!server_) {
        server_.emplace(testServerUri().value());
    }
    return server_->uri();
}

QString Office::unreachablePath() const {
    if (engine_ == Engine::File) {
        return path(QStringLiteral("nowhere/dulvane.mdb"));
    }
    return QStringLiteral("postgresql:///dulvane?host=%1&user=postgres")
        .arg(QString::fromUtf8(QUrl::toPercentEncoding(path(QStringLiteral("nowhere")))));
}

void Office::makeDataFile() {
    store::schema::createDataFile(dataPath());
    made_ = true;
}

void Office::makeOldDataFile() {
    makeDataFile();
    QStringList drops;
    for (const store::memo::AddedColumn& column : store::memo::kAddedColumns) {
        drops << QStringLiteral("ALTER TABLE \"MEMO_T\" DROP COLUMN \"%1\"").arg(column.text());
    }
    drops << QStringLiteral("DROP TABLE \"%1\"").arg(store::phrases::tableName());
    for (const QString& sql : drops) {
        runOnData(sql);
    }
}

void Office::runOnData(const QString& sql) const {
    if (engine_ == Engine::File) {
        openFile()->execute(sql);
        return;
    }
    store::server::Connection server(dataPath(), std::chrono::milliseconds(2000));
    server.connect();
    server.exec(sql);
}

bool Office::hasDataFile() const {
    return engine_ == Engine::File ? QFileInfo::exists(dataPath()) : made_;
}

void Office::makeSettings(const std::optional<QString>& name,
                          const std::optional<QString>& folder) {
    store::schema::createSettingsFile(iniPath(), name, folder);
}

std::unique_ptr<store::Database> Office::openData(int busyMs) const {
    store::Workspace ws{std::chrono::milliseconds(busyMs)};
    return ws.openDatabase(dataPath(), store::memo::tableName(), store::memo::requiredColumns());
}

std::unique_ptr<store::file::FileDatabase> Office::openFile(int busyMs) const {
    store::Workspace ws{std::chrono::milliseconds(busyMs)};
    return ws.openFile(dataPath(), store::memo::tableName(), store::memo::requiredColumns());
}

void Office::dropServerConnections() const {
    dataPath();
    server_->dropConnections();
}

std::shared_ptr<store::Database> Office::data() const {
    if (engine_ == Engine::File) {
        return openData();
    }
    if (!serverData_) {
        serverData_ = openData();
    }
    return serverData_;
}

qint64 Office::addMessage(const QString& to, const QString& from, const QString& taker,
                          const QString& memo, const std::optional<QString>& readOn,
                          const QString& at) {
    return addRow({to, from, taker, memo, QStringLiteral("内線"), QStringLiteral("-"), at, readOn});
}

qint64 Office::addRow(const store::maintenance::MessageTexts& texts) {
    auto db = data();
    store::maintenance::addMessages(*db, {{std::nullopt, texts}});
    return store::maintenance::everyMessage(*db).back().no.value();
}

void Office::giveNumberToAnother(qint64 no, const store::maintenance::MessageTexts& texts) {
    auto db = data();
    store::Transaction transaction(*db, store::Transaction::Kind::Write);
    db->deleteMessage(no);
    db->addMessages({{no, texts}}, {});
    transaction.commit();
}

void Office::removeMessages() {
    auto db = data();
    for (const auto& m : store::maintenance::everyMessage(*db)) {
        store::memo::remove(*db, *m.no);
    }
}

std::unique_ptr<DataLock> Office::lockData() const {
    if (engine_ == Engine::Server) {
        return std::make_unique<ServerLock>(dataPath());
    }
    return std::make_unique<FileLock>(openData());
}

QStringList Office::rows() const {
    auto db = data();
    QStringList out;
    for (const auto& m : store::maintenance::everyMessage(*db)) {
        QStringList cells{QString::number(*m.no)};
        for (const auto& text : m.texts) {
            cells << text.value_or(QStringLiteral("<null>"));
        }
        if (std::any_of(m.added.begin(), m.added.end(), [](const auto& v) { return bool(v); })) {
            for (const auto& value : m.added) {
                cells << value.value_or(QStringLiteral("<null>"));
            }
        }
        out << cells.join(u'|');
    }
    return out;
}

int Office::rowCount() const {
    return int(rows().size());
}

std::unique_ptr<Module1> Office::startedState(const QString& name) {
    if (!hasDataFile()) {
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
