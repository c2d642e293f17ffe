#pragma once

#include <QString>
#include <cstdint>
#include <functional>

#include "store/database.h"
#include "tools/forward/forward_config.h"

// The relay: mails each new telephone message to its addressee's staff member when the
// directory has 転送 on and a mail address for them. It keeps its place in the data itself
// (FORWARD_T), so the office's history is never sent and a restart goes on where it stopped.
namespace forward {

// How many times a mail the mail server refused for its recipient is tried (one round each)
// before the relay logs it as failed and goes on past it.
inline constexpr int kRefusalsTried = 3;

// What one round came to.
enum class RoundEnd {
    // Every message up to the newest was examined.
    Done,
    // The mail server could not be reached (or answered 4xx): the round stopped at the message
    // whose mail failed; it is tried again in the next round.
    MailServerDown,
    // A recipient's mail was refused and will be tried again in the next round.
    Refused,
    // The mail server refused the relay itself (login, sender): nothing goes until the
    // configuration is mended.
    ConfigurationFault,
};

class Relay {
public:
    using Log = std::function<void(const QString&)>;
    // dryRun: tells what would be sent and changes nothing in the data.
    Relay(Config config, Log log, bool dryRun = false);

    // One look at the data: at the very first, only marks the newest message as examined.
    RoundEnd round(store::Database& db);
    // How many mails the mail server accepted so far.
    std::int64_t sent() const { return sent_; }

private:
    // Logs what only changes with an outage once: when it begins and when it ends.
    void outage(bool down, const QString& what);

    Config config_;
    Log log_;
    bool dryRun_;
    bool mailServerDown_ = false;
    std::int64_t sent_ = 0;
};

}  // namespace forward
