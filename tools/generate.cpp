#include "tools/generate.h"

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <array>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "store/bulk_fill.h"
#include "store/error.h"
#include "store/schema.h"
#include "tools/sample_data.h"

namespace tools {
namespace {

// A small generator whose sequence is the same on every platform and standard library
// (splitmix64), so a seed always makes the same file.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    // 0 <= result < n, for n below 2^32.
    std::uint32_t below(std::uint32_t n) {
        return std::uint32_t(((next() >> 32) * std::uint64_t(n)) >> 32);
    }
    // 0 <= result < 1.
    double unit() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
    int between(int low, int high) { return low + int(below(std::uint32_t(high - low + 1))); }

private:
    std::uint64_t state_;
};

// Receive times fall on weekdays from the first to the last day, 08:30 to 18:29.
const QDate kFirstDay(2019, 1, 7);
const QDate kLastDay(2026, 11, 30);
constexpr int kFirstMinute = 8 * 60 + 30;
constexpr int kMinutesPerDay = 10 * 60;

using DayText = std::array<char, 10>;  // "YYYY/MM/DD"

std::vector<DayText> workingDays() {
    std::vector<DayText> days;
    for (QDate d = kFirstDay; d <= kLastDay; d = d.addDays(1)) {
        if (d.dayOfWeek() >= 6) {
            continue;
        }
        char text[16];
        std::snprintf(text, sizeof text, "%04d/%02d/%02d", d.year(), d.month(), d.day());
        DayText day{};
        std::copy_n(text, day.size(), day.begin());
        days.push_back(day);
    }
    return days;
}

// Hundreds of callers, the same for every seed: "company person" mostly, a person alone now
// and then. Earlier ones call more often.
std::vector<std::string> callerPool() {
    const auto companies = sample::companies();
    const auto names = sample::callerNames();
    Random random(0x0FF1CE);
    std::vector<std::string> pool;
    std::set<std::string> seen;
    for (int tries = 0; pool.size() < 420 && tries < 10000; ++tries) {
        std::string caller;
        if (random.below(10) != 0) {
            caller = std::string(companies[random.below(std::uint32_t(companies.size()))]) + " " +
                     std::string(names[random.below(std::uint32_t(names.size()))]);
        } else {
            caller = std::string(names[random.below(std::uint32_t(names.size()))]);
        }
        if (seen.insert(caller).second) {
            pool.push_back(std::move(caller));
        }
    }
    return pool;
}

// Picks staff by their weights.
class StaffPicker {
public:
    StaffPicker() {
        for (const sample::Staff& s : sample::staff()) {
            total_ += s.weight;
            cumulative_.push_back(total_);
        }
    }
    std::size_t pick(Random& random) const {
        const int r = int(random.below(std::uint32_t(total_)));
        return std::size_t(std::upper_bound(cumulative_.begin(), cumulative_.end(), r) -
                           cumulative_.begin());
    }

private:
    std::vector<int> cumulative_;
    int total_ = 0;
};

// Writes a memo text with its number filled in.
std::string_view memoText(const sample::Memo& memo, Random& random, std::string& buffer) {
    const std::size_t at = memo.text.find("%d");
    if (at == std::string_view::npos) {
        return memo.text;
    }
    buffer.assign(memo.text.substr(0, at));
    buffer += std::to_string(random.between(memo.low, memo.high));
    buffer += memo.text.substr(at + 2);
    return buffer;
}

// An outside number ("03-1234-5678", "045-123-4567", "0120-123-456", "090-1234-5678"), an
// extension ("215"), or "-" when none was taken.
std::string_view phoneText(bool outside, Random& random, char (&buffer)[32]) {
    if (outside) {
        if (random.below(100) < 12) {
            return "-";
        }
        const auto codes = sample::areaCodes();
        const std::string_view code = codes[random.below(std::uint32_t(codes.size()))];
        const bool mobile = code == "090" || code == "080" || code == "070";
        int n = 0;
        if (code.size() == 2 || mobile) {
            n = std::snprintf(buffer, sizeof buffer, "%.*s-%04d-%04d", int(code.size()),
                              code.data(), random.between(1000, 9999), random.between(0, 9999));
        } else if (code.size() == 4) {
            n = std::snprintf(buffer, sizeof buffer, "%.*s-%03d-%03d", int(code.size()),
                              code.data(), random.between(100, 999), random.between(0, 999));
        } else {
            n = std::snprintf(buffer, sizeof buffer, "%.*s-%03d-%04d", int(code.size()),
                              code.data(), random.between(100, 999), random.between(0, 9999));
        }
        return std::string_view(buffer, std::size_t(n));
    }
    if (random.below(2) == 0) {
        return "-";
    }
    const int n = std::snprintf(buffer, sizeof buffer, "%d", random.between(100, 899));
    return std::string_view(buffer, std::size_t(n));
}

void fill(const QString& path, const GenerateOptions& options, std::int64_t unread) {
    const std::vector<DayText> days = workingDays();
    const std::vector<std::string> callers = callerPool();
    const auto staff = sample::staff();
    const auto memos = sample::memos();
    const StaffPicker staffPicker;
    Random random(options.seed);

    // The unread messages go round the staff in an order of their own.
    std::vector<std::size_t> unreadOrder(staff.size());
    for (std::size_t i = 0; i < unreadOrder.size(); ++i) {
        unreadOrder[i] = i;
    }
    for (std::size_t i = unreadOrder.size(); i > 1; --i) {
        std::swap(unreadOrder[i - 1], unreadOrder[random.below(std::uint32_t(i))]);
    }

    const std::string allTo = options.allTo.toStdString();
    const std::int64_t count = options.count;
    const std::int64_t firstUnread = count - unread;
    const double minutes = double(days.size()) * kMinutesPerDay;
    std::string memoBuffer;
    char phoneBuffer[32];
    char receivedAt[32];

    store::BulkFill bulk(path);
    for (std::int64_t i = 0; i < count; ++i) {
        store::BulkMessage m;
        const bool isUnread = i >= firstUnread;

        std::size_t to = staffPicker.pick(random);
        if (isUnread) {
            to = unreadOrder[std::size_t(i - firstUnread) % unreadOrder.size()];
        }
        std::size_t taker = staffPicker.pick(random);
        for (int tries = 0; taker == to && tries < 4; ++tries) {
            taker = staffPicker.pick(random);
        }
        m.addressee = allTo.empty() ? staff[to].name : std::string_view(allTo);
        m.taker = staff[taker].name;
        // A few regular callers call much more often than the rest.
        const double u = random.unit();
        m.caller = callers[std::size_t(u * u * double(callers.size()))];

        m.memo = random.below(100) < 45 ? sample::defaultMemo()
                                        : memoText(memos[random.below(std::uint32_t(memos.size()))],
                                                   random, memoBuffer);

        const bool outside = random.below(100) < 72;
        m.line = outside ? "外線" : "内線";
        m.phone = phoneText(outside, random, phoneBuffer);

        // Spread evenly over the working minutes, with jitter that keeps ＮＯ order.
        const std::int64_t minute = std::min<std::int64_t>(
            std::int64_t((double(i) + random.unit()) * minutes / double(count)),
            std::int64_t(minutes) - 1);
        const std::size_t day = std::size_t(minute / kMinutesPerDay);
        const int clock = kFirstMinute + int(minute % kMinutesPerDay);
        std::copy(days[day].begin(), days[day].end(), receivedAt);
        std::snprintf(receivedAt + 10, sizeof receivedAt - 10, " %02d:%02d", clock / 60,
                      clock % 60);
        m.receivedAt = std::string_view(receivedAt, 16);

        if (!isUnread) {
            // Read the same day mostly, else a few working days later, never after the last day.
            const std::uint32_t r = random.below(100);
            const std::size_t later = r < 60 ? 0 : (r < 85 ? 1 : 2 + random.below(6));
            const std::size_t readDay = std::min(day + later, days.size() - 1);
            m.read = true;
            m.readOn = std::string_view(days[readDay].data(), days[readDay].size());
        }
        bulk.add(m);
    }
    bulk.commit();
}

}  // namespace

GenerateSummary generateDataFile(const QString& path, const GenerateOptions& options) {
    if (options.count < 0) {
        throw store::Error::misuse(QStringLiteral("件数が負です。"));
    }
    const std::int64_t unread =
        std::clamp<std::int64_t>(options.unread.value_or(kDefaultUnread), 0, options.count);
    store::schema::createDataFile(path);
    try {
        fill(path, options, unread);
    } catch (...) {
        QFile::remove(path);
        throw;
    }
    return {options.count, unread};
}

int generateCommand(QStringList args, QTextStream& out, QTextStream& err) {
    GenerateOptions options;
    auto takeNumber = [&](const QString& flag, auto& target) -> bool {
        const qsizetype i = args.indexOf(flag);
        if (i < 0) {
            return true;
        }
        bool ok = false;
        const qlonglong value = i + 1 < args.size() ? args.at(i + 1).toLongLong(&ok) : 0;
        if (!ok || value < 0) {
            err << "dulvane-admin: "
                << QCoreApplication::translate("admin", "%1 needs a number of 0 or more").arg(flag)
                << "\n";
            return false;
        }
        target = std::remove_reference_t<decltype(target)>(value);
        args.remove(i, 2);
        return true;
    };
    std::int64_t unread = -1;
    if (!takeNumber(QStringLiteral("--seed"), options.seed) ||
        !takeNumber(QStringLiteral("--unread"), unread)) {
        return 2;
    }
    if (unread >= 0) {
        options.unread = unread;
    }
    if (const qsizetype i = args.indexOf(QStringLiteral("--all-to")); i >= 0) {
        if (i + 1 >= args.size() || args.at(i + 1).isEmpty()) {
            err << "dulvane-admin: "
                << QCoreApplication::translate("admin", "--all-to needs a name") << "\n";
            return 2;
        }
        options.allTo = args.at(i + 1);
        args.remove(i, 2);
    }
    bool ok = false;
    if (args.size() != 2 || (options.count = args.at(1).toLongLong(&ok), !ok) ||
        options.count < 0) {
        err << "dulvane-admin: "
            << QCoreApplication::translate(
                   "admin", "usage: generate PATH COUNT [--seed N] [--unread N] [--all-to NAME]")
            << "\n";
        return 2;
    }
    if (options.unread && *options.unread > options.count) {
        err << "dulvane-admin: "
            << QCoreApplication::translate("admin", "--unread is more than COUNT") << "\n";
        return 2;
    }
    QElapsedTimer timer;
    timer.start();
    const GenerateSummary made = generateDataFile(args.at(0), options);
    out << QCoreApplication::translate("admin",
                                       "made the data file %1 with %2 messages, %3 unread (seed "
                                       "%4) in %5 s")
               .arg(args.at(0))
               .arg(made.messages)
               .arg(made.unread)
               .arg(options.seed)
               .arg(QString::number(double(timer.elapsed()) / 1000.0, 'f', 1))
        << "\n";
    return 0;
}

}  // namespace tools
