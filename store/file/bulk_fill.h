#pragma once

#include <QString>
#include <memory>
#include <optional>
#include <string_view>

#include "store/file/connection.h"
#include "store/transaction.h"
#include "store/workspace.h"

struct sqlite3_stmt;

// Filling a new data file with many messages at once: only the generator of sample data files
// uses this. The program itself adds one message at a time (store::memo::insert).
namespace store::file {

// One message as UTF-8 texts. The views need to stay valid only during add().
struct BulkMessage {
    std::string_view addressee;   // 宛名
    std::string_view caller;      // 相手
    std::string_view taker;       // 受人
    std::string_view memo;        // メモ
    std::string_view line;        // 内外線
    std::string_view phone;       // 電話
    std::string_view receivedAt;  // 受付日時
    std::string_view readOn;      // 既読, used only when read is set
    bool read = false;            // false: 既読 is Null
};

// Adds messages to a data file made by createDataFile, in one transaction with one prepared
// statement; the database numbers them in the order they are added. Nothing is kept unless
// commit() is reached.
class BulkFill {
public:
    explicit BulkFill(const QString& path, const Workspace& workspace = Workspace{});
    ~BulkFill();
    BulkFill(const BulkFill&) = delete;
    BulkFill& operator=(const BulkFill&) = delete;

    void add(const BulkMessage& message);
    // Ends the transaction with the file synced to disk.
    void commit();

private:
    // Declared in the order they are made, so that they go in the reverse order: the statement,
    // then the transaction (rolled back unless committed), then the connection.
    Connection db_;
    std::optional<Transaction> transaction_;
    sqlite3_stmt* insert_ = nullptr;
};

}  // namespace store::file
