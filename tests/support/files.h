#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <optional>
#include <vector>

#include "app/module1.h"
#include "store/database.h"
#include "store/file/file_database.h"
#include "store/maintenance.h"
#include "support/engines.h"
#include "support/printers.h"

namespace testing_support {

// Another workstation's lock on the office's messages, held while this lives: nobody else
// reads or writes them until it goes.
class DataLock {
public:
    virtual ~DataLock() = default;
};

// The data file behind an open database of the File engine, for tests about files.
store::file::FileDatabase& asFile(store::Database& db);

// A temporary folder with a program folder's files: settings file and data file. On the
// Server engine the messages live in a database of their own on the test server instead of
// the data file; everything else stays in the folder.
class Office {
public:
    explicit Office(Engine engine = Engine::File);

    Engine engine() const { return engine_; }
    QString path(const QString& name) const { return dir_.filePath(name); }
    // What the settings' folder holds for the messages: the data file's path, or the URI of
    // the office's database on the test server (made at the first call, without the table).
    QString dataPath() const;
    QString iniPath() const { return path(QStringLiteral("DULVANE.INI")); }
    // A location where nothing answers: a file in a folder that does not exist, or a server
    // whose socket would be in that folder (the connect fails at once).
    QString unreachablePath() const;

    // The empty message table at dataPath(): a new data file, or the table on the server.
    void makeDataFile();
    // The same as an earlier release made it: without the columns and tables added since.
    void makeOldDataFile();
    // Runs one statement of the engine's own on the data, as a tool other than the program.
    void runOnData(const QString& sql) const;
    // Whether the message table is there (made, or a file lies at the path).
    bool hasDataFile() const;
    // A settings file with row ＮＯ = 1; nullopt is stored as Null.
    void makeSettings(const std::optional<QString>& name, const std::optional<QString>& folder);

    // A second connection to the data, as another workstation has.
    std::unique_ptr<store::Database> openData(int busyMs = 2000) const;
    // The data file opened as a file, for its own statements (File only).
    std::unique_ptr<store::file::FileDatabase> openFile(int busyMs = 2000) const;

    // Inserts a message row directly; returns its ＮＯ.
    qint64 addMessage(const QString& to, const QString& from, const QString& taker,
                      const QString& memo = QStringLiteral("お電話をさしあげてください。"),
                      const std::optional<QString>& readOn = std::nullopt,
                      const QString& at = QStringLiteral("2026/12/01 09:30"));
    // Inserts a message with every text as given (nullopt: Null); returns its ＮＯ.
    qint64 addRow(const store::maintenance::MessageTexts& texts);
    // Gives message no's number to a new message with these texts (nullopt: Null), as data put
    // back from a backup whose numbering is behind does: message no goes first.
    void giveNumberToAnother(qint64 no, const store::maintenance::MessageTexts& texts);
    // Removes every message; numbering goes on where it was.
    void removeMessages();
    // Another workstation takes the lock now (see DataLock).
    std::unique_ptr<DataLock> lockData() const;
    // Ends every connection to the office's database, as a restart of the server does (Server
    // only).
    void dropServerConnections() const;

    // Every row of MEMO_T, ordered by ＮＯ, columns joined with '|' (null as "<null>"); the
    // added columns (至急, 対応日時) follow only where one of them holds a value.
    QStringList rows() const;
    int rowCount() const;

    // A state with the settings read and the data file open, like after a good start-up.
    std::unique_ptr<Module1> startedState(const QString& name);

private:
    // The connection for the office's own reads and writes: a new one each time for a file (it
    // keeps nothing open while the test works on the file), one kept for the server.
    std::shared_ptr<store::Database> data() const;

    Engine engine_;
    QTemporaryDir dir_;
    mutable std::optional<ServerDatabase> server_;
    mutable std::shared_ptr<store::Database> serverData_;
    bool made_ = false;
};

}  // namespace testing_support
