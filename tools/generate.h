#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <cstdint>
#include <optional>

namespace tools {

struct GenerateOptions {
    std::int64_t count = 0;
    std::uint64_t seed = 1;
    // How many of the newest messages stay unread; default kDefaultUnread (at most count).
    std::optional<std::int64_t> unread;
    // Non-empty: every message is addressed to this name (a file where one user's received
    // list shows every message, for the worst case of the lists).
    QString allTo;
};

// Unread messages in a generated file unless told otherwise: a few dozen, spread over staff.
constexpr std::int64_t kDefaultUnread = 40;

struct GenerateSummary {
    std::int64_t messages = 0;
    std::int64_t unread = 0;
};

// Makes a new data file at path (refusing an existing one) holding options.count made-up
// messages: staff names in kanji, hundreds of callers, Japanese memo texts, both lines,
// receive times spread over years in ＮＯ order, old messages read and the newest unread.
// The same options give the same file. Throws store::Error; a partly written file is removed.
GenerateSummary generateDataFile(const QString& path, const GenerateOptions& options);

// "generate PATH COUNT [--seed N] [--unread N] [--all-to NAME]" (args without "generate").
int generateCommand(QStringList args, QTextStream& out, QTextStream& err);

}  // namespace tools
