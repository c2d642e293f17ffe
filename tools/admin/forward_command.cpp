// forward --config FILE [--once] [--dry-run]
#include <QDateTime>
#include <algorithm>
#include <chrono>
#include <thread>

#include "store/memo_table.h"
#include "tools/admin/cli.h"
#include "tools/forward/relay.h"

namespace admin {
namespace {

// The longest wait between two tries while the mail server or the data is out of reach.
constexpr int kLongestWait = 300;

int forwardMessages(const QStringList& args, Io& io) {
    const Arguments a(args, {QStringLiteral("--once"), QStringLiteral("--dry-run")},
                      {QStringLiteral("--config")}, 0);
    if (!a.has(QStringLiteral("--config"))) {
        throw UsageError(Text::tr("--config FILE is required"));
    }
    forward::Config config;
    try {
        config = forward::readConfig(a.option(QStringLiteral("--config")));
    } catch (const forward::ConfigError& e) {
        throw Failure(e.why());
    }
    const bool once = a.flag(QStringLiteral("--once")) || a.flag(QStringLiteral("--dry-run"));
    auto log = [&io](const QString& line) {
        io.err << QDateTime::currentDateTime().toString(Qt::ISODate) << ' ' << line << '\n';
        io.err.flush();
    };
    forward::Relay relay(config, log, a.flag(QStringLiteral("--dry-run")));
    std::unique_ptr<store::Database> db;
    bool dataDown = false;
    int wait = config.interval;
    for (;;) {
        forward::RoundEnd end = forward::RoundEnd::Done;
        bool reached = true;
        try {
            if (!db) {
                db = store::Workspace{}.openDatabase(config.data, store::memo::tableName(),
                                                     store::memo::requiredColumns());
            }
            end = relay.round(*db);
            if (dataDown) {
                log(Text::tr("the data is reachable again"));
            }
            dataDown = false;
        } catch (const store::Error& e) {
            // Opened again at the next round, as a workstation does.
            db.reset();
            reached = false;
            if (!dataDown || once) {
                log(Text::tr("the data cannot be reached (%1); retrying").arg(e.report()));
            }
            dataDown = true;
        }
        const bool fine =
            reached && (end == forward::RoundEnd::Done || end == forward::RoundEnd::Refused);
        if (once) {
            return fine ? 0 : 1;
        }
        wait = fine ? config.interval : std::min(wait * 2, std::max(kLongestWait, config.interval));
        std::this_thread::sleep_for(std::chrono::seconds(wait));
    }
}

}  // namespace

const Command kForwardCommand{
    "forward",
    QT_TRANSLATE_NOOP(
        "admin",
        "forward --config FILE [--once] [--dry-run]\n"
        "    The mail relay: every interval seconds, mail each new message to its\n"
        "    addressee's staff member (the longest directory name the addressee\n"
        "    begins with) when the directory has 転送 on and a mail address for them.\n"
        "    The data keeps the relay's place (FORWARD_T) and each mail's acceptance\n"
        "    (MEMO_T.転送日時): the messages there at the first start are never sent,\n"
        "    each message is mailed once. A mail server out of reach is tried again\n"
        "    with growing waits; a refused recipient 3 times, then logged as FAILED and\n"
        "    skipped. The log goes to stderr. --once looks once and exits (0 done, 1\n"
        "    the data or the mail server out of reach), for cron and tests; --dry-run\n"
        "    tells what would be sent and changes nothing. See the administrator's\n"
        "    guide for the configuration file and the systemd unit.\n"),
    forwardMessages};

}  // namespace admin
