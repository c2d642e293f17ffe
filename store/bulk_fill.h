#pragma once

#include <QString>
#include <memory>
#include <string_view>

#include "store/workspace.h"

// Filling a new data file with many messages at once: only the generator of sample data files
// uses this. The program itself adds one message at a time (store::memo::insert). A data file
// only: a server's sample data is copied from such a file (dulvane-admin copy).
namespace store {

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
    struct Engine;  // the file's connection, transaction and prepared insert (store/file)
    std::unique_ptr<Engine> engine_;
};

}  // namespace store
