// dulvane-workstation: one workstation using the shared data file (or the office's database
// server) in a loop, through the program's own store operations, for the reliability tests and
// the load benchmark.
#include <fcntl.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <thread>
#include <tuple>
#include <vector>

#include "store/database.h"
#include "store/date_time_text.h"
#include "store/error.h"
#include "store/memo_table.h"
#include "store/workspace.h"

namespace {

const char* const kHelp =
    "Usage: dulvane-workstation --file LOCATION --name NAME [OPTIONS]\n"
    "\n"
    "Acts as one workstation of the telephone-message book: opens the data file (or the\n"
    "database server's data) as the program does and runs the main window's operations on it in a "
    "loop, then reports what\n"
    "it did and every failure it met. Start several at once for several workstations.\n"
    "\n"
    "Operations (each exactly as the window's handler calls the store):\n"
    "  send      store a message taken by NAME (date-time of now), then re-read the three\n"
    "            name lists as the window's reset does\n"
    "  received  list the messages for NAME; when there are any, mark the listed ones read\n"
    "  sent      list the messages taken by NAME\n"
    "  delete    delete one message, picked at random from the last received or sent listing\n"
    "            (skipped while no listing has shown a message)\n"
    "  poll      ask whether an unread message waits for NAME (the watch timer's check)\n"
    "\n"
    "Options:\n"
    "  --file LOCATION    the data file (it is never created), or a database server's\n"
    "                     postgresql:// or postgres:// URI, as the settings' folder holds it\n"
    "  --name NAME        the user's name (the settings' name): taker of every message sent,\n"
    "                     and the name the lists and the poll ask for\n"
    "  --to A,B,...       addressees to send to, picked at random (default: NAME)\n"
    "  --mix K=W,...      how often each operation is picked, as weights\n"
    "                     (default send=5,received=2,sent=1,delete=1,poll=3)\n"
    "  --count N          run N operations (default 100)\n"
    "  --seconds S        run for S seconds from the open instead (fractions allowed)\n"
    "  --seed N           seed of the operation picks (default: random, printed at the end)\n"
    "  --think-ms N       pause between operations, at random between 0 and 2N ms (default 0)\n"
    "  --busy-ms N        how long to wait for another workstation's lock\n"
    "                     (default: the program's own, 10000); 0 does not wait at all on a\n"
    "                     data file, and is refused for a server, where it would turn the\n"
    "                     server's limits off\n"
    "  --acked FILE       append one line per acknowledged send: the send's token, which is\n"
    "                     also the start of the message's メモ; written right after the store\n"
    "                     reported success, before anything else\n"
    "  --deleted FILE     append one line per message deleted: its ＮＯ, a tab, its メモ\n"
    "  --times FILE       write at the end one line per operation run: its kind and its time\n"
    "                     in ms (so that many workstations' times can be put together)\n"
    "  --help             this text\n"
    "\n"
    "Output: a line \"ready pid=P run=R\" once the data is open, then at the end one line per\n"
    "operation kind of the mix:\n"
    "  op=send count=N failures=F p50_ms=.. p99_ms=.. max_ms=.. mean_ms=.. [more fields]\n"
    "(times from a steady clock around each whole operation, failed ones included), a line\n"
    "  total ops=N failures=F seconds=S ops_per_s=R busy_ms=B seed=N run=R\n"
    "and for each kind of failure met\n"
    "  failure: op=OP stage=STAGE kind=KIND code=ENGINE_CODE count=N text=TEXT\n"
    "(KIND: missing, no-permission, read-only, locked, not-a-data-file, connection-lost,\n"
    "timed-out, text-refused, other; ENGINE_CODE: the file engine's result code or the\n"
    "server's SQLSTATE, - for none).\n"
    "Stages: open, insert, refresh (send stored, name lists not re-read), list, mark, remove,\n"
    "poll, ack (the --acked line could not be written), statements (a statement was left\n"
    "open on the connection after an operation).\n"
    "\n"
    "Exit status: 0 every operation succeeded, 1 some failed (or the data did not open),\n"
    "2 wrong usage. SIGINT or SIGTERM end the loop early; the report is still printed.\n";

enum class Op { Send, Received, Sent, Delete, Poll };
constexpr Op kOps[] = {Op::Send, Op::Received, Op::Sent, Op::Delete, Op::Poll};

const char* opName(Op op) {
    switch (op) {
        case Op::Send:
            return "send";
        case Op::Received:
            return "received";
        case Op::Sent:
            return "sent";
        case Op::Delete:
            return "delete";
        case Op::Poll:
            return "poll";
    }
    return "?";
}

std::optional<Op> opNamed(const QString& name) {
    for (Op op : kOps) {
        if (name == QLatin1String(opName(op))) {
            return op;
        }
    }
    return std::nullopt;
}

struct Options {
    QString file;
    QString name;
    QStringList to;
    std::map<Op, int> mix{
        {Op::Send, 5}, {Op::Received, 2}, {Op::Sent, 1}, {Op::Delete, 1}, {Op::Poll, 3}};
    std::int64_t count = 100;
    std::optional<double> seconds;
    std::optional<std::uint64_t> seed;
    int thinkMs = 0;
    std::chrono::milliseconds busy = store::Workspace::kDefaultBusyTimeout;
    QString acked;
    QString deleted;
    QString times;
};

struct UsageError {
    QString why;
};

std::int64_t number(const QString& flag, const QString& text, std::int64_t min) {
    bool ok = false;
    const std::int64_t n = text.toLongLong(&ok);
    if (!ok || n < min) {
        throw UsageError{QStringLiteral("%1 needs a whole number of at least %2, not '%3'")
                             .arg(flag)
                             .arg(min)
                             .arg(text)};
    }
    return n;
}

std::optional<Options> parse(const QStringList& args) {
    Options o;
    bool countGiven = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& flag = args[i];
        if (flag == QLatin1String("--help") || flag == QLatin1String("-h")) {
            return std::nullopt;
        }
        if (i + 1 >= args.size()) {
            throw UsageError{QStringLiteral("%1 needs a value").arg(flag)};
        }
        const QString value = args[++i];
        if (flag == QLatin1String("--file")) {
            o.file = value;
        } else if (flag == QLatin1String("--name")) {
            o.name = value;
        } else if (flag == QLatin1String("--to")) {
            o.to = value.split(u',', Qt::SkipEmptyParts);
        } else if (flag == QLatin1String("--mix")) {
            o.mix.clear();
            for (const QString& part : value.split(u',', Qt::SkipEmptyParts)) {
                const QStringList kv = part.split(u'=');
                const std::optional<Op> op = kv.size() == 2 ? opNamed(kv[0]) : std::nullopt;
                if (!op) {
                    throw UsageError{
                        QStringLiteral("--mix: '%1' is not OPERATION=WEIGHT").arg(part)};
                }
                o.mix[*op] = int(number(QStringLiteral("--mix ") + kv[0], kv[1], 0));
            }
        } else if (flag == QLatin1String("--count")) {
            o.count = number(flag, value, 0);
            countGiven = true;
        } else if (flag == QLatin1String("--seconds")) {
            bool ok = false;
            o.seconds = value.toDouble(&ok);
            if (!ok || *o.seconds < 0) {
                throw UsageError{QStringLiteral("--seconds needs a number of seconds")};
            }
        } else if (flag == QLatin1String("--seed")) {
            o.seed = std::uint64_t(number(flag, value, 0));
        } else if (flag == QLatin1String("--think-ms")) {
            o.thinkMs = int(number(flag, value, 0));
        } else if (flag == QLatin1String("--busy-ms")) {
            o.busy = std::chrono::milliseconds(number(flag, value, 0));
        } else if (flag == QLatin1String("--acked")) {
            o.acked = value;
        } else if (flag == QLatin1String("--deleted")) {
            o.deleted = value;
        } else if (flag == QLatin1String("--times")) {
            o.times = value;
        } else {
            throw UsageError{QStringLiteral("unknown option %1").arg(flag)};
        }
    }
    if (o.file.isEmpty() || o.name.isEmpty()) {
        throw UsageError{QStringLiteral("--file and --name are required")};
    }
    if (countGiven && o.seconds) {
        throw UsageError{QStringLiteral("give --count or --seconds, not both")};
    }
    int total = 0;
    for (const auto& [op, weight] : o.mix) {
        total += weight;
    }
    if (total <= 0) {
        throw UsageError{QStringLiteral("--mix picks no operation")};
    }
    if (o.to.isEmpty()) {
        o.to << o.name;
    }
    return o;
}

// A file that gets one line per event, each handed to the system at once (it survives the
// driver being killed right afterwards).
class LineLog {
public:
    explicit LineLog(const QString& path) {
        if (!path.isEmpty()) {
            fd_ = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_APPEND, 0644);
            if (fd_ < 0) {
                throw UsageError{QStringLiteral("cannot open %1 for appending").arg(path)};
            }
        }
    }
    ~LineLog() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    LineLog(const LineLog&) = delete;
    LineLog& operator=(const LineLog&) = delete;

    bool enabled() const { return fd_ >= 0; }
    // One write of the whole line, so lines of processes sharing a file never interleave.
    bool append(const QString& line) {
        const QByteArray bytes = (line + u'\n').toUtf8();
        return ::write(fd_, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }

private:
    int fd_ = -1;
};

std::atomic<bool> stopRequested{false};
extern "C" void requestStop(int) {
    stopRequested = true;
}

struct FailureKey {
    QString op, stage, kind, code, text;
    bool operator<(const FailureKey& o) const {
        return std::tie(op, stage, kind, code, text) <
               std::tie(o.op, o.stage, o.kind, o.code, o.text);
    }
};

struct OpStats {
    std::vector<double> ms;  // every attempt, failed ones included
    std::int64_t failures = 0;
    std::int64_t skipped = 0;          // delete: nothing listed to delete
    std::int64_t refreshFailures = 0;  // send: stored, but the name lists not re-read
    std::int64_t markedRead = 0;       // received: rows marked read
    std::int64_t listedRows = 0;       // received/sent: rows listed
};

QString millis(double ms) {
    return QString::number(ms, 'f', 3);
}

// Nearest-rank percentile of sorted values.
double percentile(const std::vector<double>& sorted, double p) {
    if (sorted.empty()) {
        return 0;
    }
    const size_t rank = size_t(std::max(1.0, std::ceil(p * double(sorted.size()))));
    return sorted[std::min(rank, sorted.size()) - 1];
}

class Workstation {
public:
    Workstation(const Options& o, std::uint64_t seed, QString run)
        : o_(o),
          to_(o.to.begin(), o.to.end()),
          random_(seed),
          run_(std::move(run)),
          acked_(o.acked),
          deleted_(o.deleted) {}

    bool open() {
        try {
            store::Workspace workspace{o_.busy};
            db_ = workspace.openDatabase(o_.file, store::memo::tableName(),
                                         store::memo::requiredColumns());
            return true;
        } catch (const store::Error& e) {
            fail("open", "open", e);
        } catch (const std::exception& e) {
            fail("open", "open", e);
        }
        return false;
    }

    Op pick() {
        int total = 0;
        for (const auto& [op, weight] : o_.mix) {
            total += weight;
        }
        int r = std::uniform_int_distribution<int>(0, total - 1)(random_);
        for (const auto& [op, weight] : o_.mix) {
            if (r < weight) {
                return op;
            }
            r -= weight;
        }
        return Op::Poll;
    }

    void think() {
        if (o_.thinkMs > 0) {
            const int ms = std::uniform_int_distribution<int>(0, 2 * o_.thinkMs)(random_);
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        }
    }

    void run(Op op) {
        OpStats& s = stats_[op];
        if (op == Op::Delete && lastListing_.empty()) {
            ++s.skipped;
            return;
        }
        const auto start = std::chrono::steady_clock::now();
        bool ok = false;
        switch (op) {
            case Op::Send:
                ok = send(s);
                break;
            case Op::Received:
                ok = received(s);
                break;
            case Op::Sent:
                ok = sent(s);
                break;
            case Op::Delete:
                ok = remove();
                break;
            case Op::Poll:
                ok = poll();
                break;
        }
        const auto end = std::chrono::steady_clock::now();
        s.ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        if (const int left = db_->openStatementCount(); left != 0) {
            fail(opName(op), "statements", QStringLiteral("%1 statement(s) left open").arg(left));
            ok = false;
        }
        if (!ok) {
            ++s.failures;
        }
    }

    bool anyFailure() const { return failureCount_ > 0; }

    void report(double seconds, std::uint64_t seed) const {
        std::int64_t ops = 0, failures = 0;
        for (Op op : kOps) {
            if (o_.mix.count(op) == 0 || o_.mix.at(op) == 0) {
                continue;
            }
            const auto it = stats_.find(op);
            const OpStats empty;
            const OpStats& s = it == stats_.end() ? empty : it->second;
            std::vector<double> sorted = s.ms;
            std::sort(sorted.begin(), sorted.end());
            double sum = 0;
            for (double v : sorted) {
                sum += v;
            }
            QString line =
                QStringLiteral(
                    "op=%1 count=%2 failures=%3 p50_ms=%4 p99_ms=%5 max_ms=%6 "
                    "mean_ms=%7")
                    .arg(QLatin1String(opName(op)))
                    .arg(sorted.size())
                    .arg(s.failures)
                    .arg(millis(percentile(sorted, 0.50)), millis(percentile(sorted, 0.99)),
                         millis(sorted.empty() ? 0 : sorted.back()),
                         millis(sorted.empty() ? 0 : sum / double(sorted.size())));
            if (op == Op::Send) {
                line += QStringLiteral(" refresh_failures=%1").arg(s.refreshFailures);
            }
            if (op == Op::Received || op == Op::Sent) {
                line += QStringLiteral(" rows=%1").arg(s.listedRows);
            }
            if (op == Op::Received) {
                line += QStringLiteral(" marked=%1").arg(s.markedRead);
            }
            if (op == Op::Delete) {
                line += QStringLiteral(" skipped=%1").arg(s.skipped);
            }
            std::printf("%s\n", line.toUtf8().constData());
            ops += std::int64_t(sorted.size());
            failures += s.failures;
        }
        std::printf(
            "total ops=%lld failures=%lld seconds=%.3f ops_per_s=%.1f busy_ms=%lld "
            "seed=%llu run=%s\n",
            static_cast<long long>(ops), static_cast<long long>(failures), seconds,
            seconds > 0 ? double(ops) / seconds : 0.0, static_cast<long long>(o_.busy.count()),
            static_cast<unsigned long long>(seed), run_.toUtf8().constData());
        for (const auto& [key, count] : failureKinds_) {
            std::printf("failure: op=%s stage=%s kind=%s code=%s count=%lld text=%s\n",
                        key.op.toUtf8().constData(), key.stage.toUtf8().constData(),
                        key.kind.toUtf8().constData(), key.code.toUtf8().constData(),
                        static_cast<long long>(count),
                        QString(key.text).replace(u'\n', u' ').toUtf8().constData());
        }
        std::fflush(stdout);
    }

    // One line per operation run, "op ms", in the order run within each kind.
    bool writeTimes(const QString& path) const {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
            return false;
        }
        QByteArray text;
        for (const auto& [op, s] : stats_) {
            for (double ms : s.ms) {
                text += QByteArray(opName(op)) + ' ' + millis(ms).toLatin1() + '\n';
            }
        }
        return file.write(text) == text.size() && file.flush();
    }

private:
    template <typename F>
    bool attempt(const char* op, const char* stage, F&& f) {
        try {
            f();
            return true;
        } catch (const store::Error& e) {
            fail(op, stage, e);
        } catch (const std::exception& e) {
            fail(op, stage, e);
        }
        return false;
    }

    void fail(const QString& op, const QString& stage, const store::Error& e) {
        const QString code = e.engineCode().isEmpty() ? QStringLiteral("-") : e.engineCode();
        ++failureKinds_[FailureKey{op, stage, store::kindName(e.kind()), code, e.message()}];
        ++failureCount_;
    }
    void fail(const QString& op, const QString& stage, const std::exception& e) {
        fail(op, stage, QString::fromLocal8Bit(e.what()));
    }
    // A failure of the driver's own, not of the store.
    void fail(const QString& op, const QString& stage, const QString& text) {
        ++failureKinds_[FailureKey{op, stage, QStringLiteral("other"), QStringLiteral("-"), text}];
        ++failureCount_;
    }

    template <typename T>
    const T& any(const std::vector<T>& v) {
        return v[std::uniform_int_distribution<size_t>(0, v.size() - 1)(random_)];
    }

    // Command2: the message as the entry fields hold it, stored with the moment of sending;
    // then the reset re-reads the three name lists.
    bool send(OpStats& s) {
        static const std::vector<QString> callers = {
            QStringLiteral("佐藤"), QStringLiteral("高橋商事 高橋"), QStringLiteral("田中"),
            QStringLiteral("Smith & Co. / Mr Smith")};
        static const std::vector<QString> phones = {QString(), QStringLiteral("03-1234-5678"),
                                                    QStringLiteral("内線 204")};
        const QString token = QStringLiteral("%1-%2").arg(run_).arg(++sequence_);
        store::memo::NewMessage m;
        m.addressee = any(to_);
        m.caller = any(callers);
        m.taker = o_.name;
        m.memo = token + QStringLiteral(" お電話をさしあげてください。");
        m.outsideLine = std::uniform_int_distribution<int>(0, 1)(random_) == 1;
        m.phone = any(phones);
        m.receivedAt = store::dateTimeText(store::localNow());
        if (!attempt("send", "insert", [&] { store::memo::insert(*db_, m); })) {
            return false;
        }
        if (acked_.enabled() && !acked_.append(token)) {
            fail("send", "ack", QStringLiteral("could not append to the acknowledgement file"));
            return false;
        }
        const bool refreshed = attempt("send", "refresh", [&] { store::memo::pickLists(*db_); });
        // The message is stored: the window says so, and only adds that the lists are stale.
        if (!refreshed) {
            ++s.refreshFailures;
        }
        return true;
    }

    void keepListing(const store::Listing& listed) {
        lastListing_.clear();
        for (const store::ListedRow& row : listed) {
            lastListing_.push_back({row.no.value_or(0), row.memo});
        }
    }

    // Command1: the received list; when it shows rows, the rows it showed are marked read.
    bool received(OpStats& s) {
        store::Listing rs;
        if (!attempt("received", "list", [&] { rs = store::memo::receivedList(*db_, o_.name); })) {
            return false;
        }
        if (rs.empty()) {
            return true;
        }
        s.listedRows += std::int64_t(rs.size());
        // As the window does: the highest number first, then the rows are shown, then the
        // listed messages are marked read.
        const std::int64_t highestListed = store::memo::highestNumber(rs);
        keepListing(rs);
        return attempt("received", "mark", [&] {
            s.markedRead += store::memo::markRead(
                *db_, o_.name, store::dateText(store::localNow().date()), highestListed);
        });
    }

    // Command3: the sent list.
    bool sent(OpStats& s) {
        store::Listing rs;
        if (!attempt("sent", "list", [&] { rs = store::memo::sentList(*db_, o_.name); })) {
            return false;
        }
        s.listedRows += std::int64_t(rs.size());
        if (!rs.empty()) {
            keepListing(rs);
        }
        return true;
    }

    // SS1_Click on a row's delete button: the row's number, then the row leaves the grid.
    bool remove() {
        const size_t i = std::uniform_int_distribution<size_t>(0, lastListing_.size() - 1)(random_);
        const auto [no, memo] = lastListing_[i];
        if (!attempt("delete", "remove", [&] { store::memo::remove(*db_, no); })) {
            return false;
        }
        lastListing_.erase(lastListing_.begin() + std::ptrdiff_t(i));
        if (deleted_.enabled() && !deleted_.append(QStringLiteral("%1\t%2").arg(no).arg(memo))) {
            fail("delete", "ack", QStringLiteral("could not append to the deletion file"));
            return false;
        }
        return true;
    }

    // Timer1: is anything unread waiting for the user.
    bool poll() {
        return attempt("poll", "poll", [&] { store::memo::hasUnread(*db_, o_.name); });
    }

    const Options& o_;
    const std::vector<QString> to_;
    std::mt19937_64 random_;
    QString run_;
    LineLog acked_;
    LineLog deleted_;
    std::unique_ptr<store::Database> db_;
    std::int64_t sequence_ = 0;
    std::vector<std::pair<std::int64_t, QString>> lastListing_;
    std::map<Op, OpStats> stats_;
    std::map<FailureKey, std::int64_t> failureKinds_;
    std::int64_t failureCount_ = 0;
};

int usage(const QString& why) {
    std::fprintf(stderr, "dulvane-workstation: %s\n\n%s", why.toUtf8().constData(), kHelp);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i) {
        args << QString::fromLocal8Bit(argv[i]);
    }
    std::optional<Options> options;
    try {
        options = parse(args);
    } catch (const UsageError& e) {
        return usage(e.why);
    }
    if (!options) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    const Options& o = *options;

    std::random_device device;
    const std::uint64_t seed =
        o.seed ? *o.seed : (std::uint64_t(device()) << 32 | std::uint64_t(device()));
    // The run's tag makes every send's token unique across processes and restarts.
    const QString run = QStringLiteral("%1%2")
                            .arg(std::uint32_t(device()), 8, 16, QLatin1Char('0'))
                            .arg(std::uint32_t(::getpid()) & 0xffff, 4, 16, QLatin1Char('0'));

    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);

    std::optional<Workstation> w;
    try {
        w.emplace(o, seed, run);
    } catch (const UsageError& e) {
        return usage(e.why);
    }
    // The run's time counts from the moment the file is open.
    auto start = std::chrono::steady_clock::now();
    const auto elapsed = [&start] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    if (w->open()) {
        start = std::chrono::steady_clock::now();
        std::printf("ready pid=%d run=%s\n", int(::getpid()), run.toUtf8().constData());
        std::fflush(stdout);
        for (std::int64_t done = 0; !stopRequested; ++done) {
            if (o.seconds ? elapsed() >= *o.seconds : done >= o.count) {
                break;
            }
            if (done > 0) {
                w->think();
            }
            w->run(w->pick());
        }
    }
    w->report(elapsed(), seed);
    if (!o.times.isEmpty() && !w->writeTimes(o.times)) {
        std::fprintf(stderr, "dulvane-workstation: cannot write %s\n",
                     o.times.toUtf8().constData());
        return 1;
    }
    return w->anyFailure() ? 1 : 0;
}
