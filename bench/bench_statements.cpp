// The statements on MEMO_T three ways: through the program's adapter (store::memo), and on
// the engine alone (raw SQLite C API) with the program's like() installed and with SQLite's
// own GLOB. The last is the floor the program's overhead is measured against. The program's
// statements also run on a database server (NAME/server/SIZE) beside the file (NAME/file/SIZE).
#include "bench/common.h"
#include "bench/raw_engine.h"
#include "store/date_time_text.h"
#include "store/like.h"
#include "store/memo_table.h"
#include "store/staff.h"

namespace bench {
namespace {

using Like = RawDb::Like;

// ---- Pick lists (the reset's three queries) ----

void BM_Store_PickLists(benchmark::State& state, Engine engine) {
    auto db = openData(cachedData(engine, FileKind::Office, state.range(0)));
    std::int64_t rows = 0;
    for (auto _ : state) {
        const store::memo::PickLists lists = store::memo::pickLists(*db);
        rows = lists.addressees.value_or(QStringList()).size() +
               lists.callers.value_or(QStringList()).size() +
               lists.takers.value_or(QStringList()).size();
    }
    report(state, rows);
}
BENCHMARK_ENGINES(BM_Store_PickLists, allSizes);

void BM_Engine_PickLists(benchmark::State& state) {
    RawDb db(cachedDataFile(FileKind::Office, state.range(0)), Like::Builtin);
    std::int64_t rows = 0;
    for (auto _ : state) {
        rows = db.select("Select Distinct(宛名) From MEMO_T", {}) +
               db.select("Select Distinct(相手) From MEMO_T", {}) +
               db.select("Select Distinct(受人) From MEMO_T", {});
    }
    report(state, rows);
}
BENCHMARK(BM_Engine_PickLists)->Apply(allSizes);

// ---- The received and sent lists' queries ----

void storeList(benchmark::State& state, Engine engine, FileKind kind, bool sent,
               const QString& name = user()) {
    auto db = openData(cachedData(engine, kind, state.range(0)));
    // Once untimed: see warmUp in bench_window.cpp.
    store::memo::receivedList(*db, name);
    store::memo::sentList(*db, name);
    std::int64_t rows = 0;
    for (auto _ : state) {
        rows = std::int64_t(
            (sent ? store::memo::sentList(*db, name) : store::memo::receivedList(*db, name))
                .size());
    }
    report(state, rows);
}

void engineList(benchmark::State& state, FileKind kind, bool sent, Like like) {
    RawDb db(cachedDataFile(kind, state.range(0)), like);
    const std::string sql =
        "Select * From MEMO_T Where " + db.match(sent ? "受人" : "宛名") + " Order By ＮＯ Desc";
    std::int64_t rows = 0;
    for (auto _ : state) {
        rows = db.select(sql, {db.prefix(user())});
    }
    report(state, rows);
}

void BM_Store_Received_Office(benchmark::State& s, Engine e) {
    storeList(s, e, FileKind::Office, false);
}
void BM_Engine_Received_Office_Like(benchmark::State& s) {
    engineList(s, FileKind::Office, false, Like::Program);
}
void BM_Engine_Received_Office_Glob(benchmark::State& s) {
    engineList(s, FileKind::Office, false, Like::Builtin);
}
BENCHMARK_ENGINES(BM_Store_Received_Office, allSizes);

void BM_Store_Received_FewListed(benchmark::State& s, Engine e) {
    storeList(s, e, FileKind::Office, false, fewListedUser());
}
BENCHMARK_ENGINES(BM_Store_Received_FewListed, allSizes);
BENCHMARK(BM_Engine_Received_Office_Like)->Apply(allSizes);
BENCHMARK(BM_Engine_Received_Office_Glob)->Apply(allSizes);

void BM_Store_Received_EveryMessage(benchmark::State& s, Engine e) {
    storeList(s, e, FileKind::AllTo, false);
}
void BM_Engine_Received_EveryMessage_Like(benchmark::State& s) {
    engineList(s, FileKind::AllTo, false, Like::Program);
}
void BM_Engine_Received_EveryMessage_Glob(benchmark::State& s) {
    engineList(s, FileKind::AllTo, false, Like::Builtin);
}
BENCHMARK_ENGINES(BM_Store_Received_EveryMessage, upTo100k);
BENCHMARK(BM_Engine_Received_EveryMessage_Like)->Apply(upTo100k);
BENCHMARK(BM_Engine_Received_EveryMessage_Glob)->Apply(upTo100k);

void BM_Store_Sent_Office(benchmark::State& s, Engine e) {
    storeList(s, e, FileKind::Office, true);
}
void BM_Engine_Sent_Office_Like(benchmark::State& s) {
    engineList(s, FileKind::Office, true, Like::Program);
}
void BM_Engine_Sent_Office_Glob(benchmark::State& s) {
    engineList(s, FileKind::Office, true, Like::Builtin);
}
BENCHMARK_ENGINES(BM_Store_Sent_Office, allSizes);
BENCHMARK(BM_Engine_Sent_Office_Like)->Apply(allSizes);
BENCHMARK(BM_Engine_Sent_Office_Glob)->Apply(allSizes);

// ---- The lists with a staff directory of 50 names: the office's addressees (user() and the
// two colleagues whose names begin with it among them), then made-up names. Beside
// BM_Store_Received_Office and BM_Store_Sent_Office, the same lists by the prefix rule alone.

class Directory50 {
public:
    explicit Directory50(store::Database& db) : db_(db) {
        db.upgradeTable();
        QStringList names = db.distinctNames(store::NameColumn::Addressee).mid(0, 50);
        for (int i = 0; names.size() < 50; ++i) {
            names << QStringLiteral("職員%1").arg(i);
        }
        for (const QString& name : names) {
            store::staff::add(db, {name, {}, {}, {}, {}, false});
        }
        names_ = names;
    }
    ~Directory50() {
        for (const QString& name : names_) {
            store::staff::remove(db_, name);
        }
    }

private:
    store::Database& db_;
    QStringList names_;
};

void directoryList(benchmark::State& state, Engine engine, bool sent,
                   const QString& name = user()) {
    auto db = openData(cachedData(engine, FileKind::Office, state.range(0)));
    const Directory50 directory(*db);
    auto list = [&] {
        return sent ? store::memo::sentList(*db, name) : store::memo::receivedList(*db, name);
    };
    list();
    std::int64_t rows = 0;
    for (auto _ : state) {
        rows = std::int64_t(list().size());
    }
    report(state, rows);
}

void BM_Store_Received_Directory50(benchmark::State& s, Engine e) {
    directoryList(s, e, false);
}
void BM_Store_Sent_Directory50(benchmark::State& s, Engine e) {
    directoryList(s, e, true);
}
void BM_Store_Received_FewListed_Directory50(benchmark::State& s, Engine e) {
    directoryList(s, e, false, fewListedUser());
}
BENCHMARK_ENGINES(BM_Store_Received_Directory50, allSizes);
BENCHMARK_ENGINES(BM_Store_Received_FewListed_Directory50, allSizes);
BENCHMARK_ENGINES(BM_Store_Sent_Directory50, allSizes);

// ---- Mark as read: every listed message of the user unread before each iteration ----

void BM_Store_MarkRead_Office(benchmark::State& state, Engine engine) {
    WorkCopy file(FileKind::Office, state.range(0), engine);
    UnreadRestorer unread(file.path(), user());
    auto db = openData(file.path());
    store::Listing listed = store::memo::receivedList(*db, user());
    const std::int64_t highestListed = store::memo::highestNumber(listed);
    const QString today = store::dateText(store::localNow().date());
    std::int64_t marked = 0;
    for (auto _ : state) {
        marked = store::memo::markRead(*db, user(), today, highestListed);
        state.PauseTiming();
        unread.restore();
        state.ResumeTiming();
    }
    report(state, marked);
}
BENCHMARK_ENGINES(BM_Store_MarkRead_Office, allSizes);

void engineMarkRead(benchmark::State& state, Like like) {
    WorkCopy file(FileKind::Office, state.range(0));
    UnreadRestorer unread(file.path(), user());
    RawDb db(file.path(), like);
    // A generated file numbers its messages 1 to count: the listing showed them all.
    const std::int64_t highest = state.range(0);
    const std::string sql =
        "Update MEMO_T set 既読 = ? Where " + db.match("宛名") + " And 既読 is null And ＮＯ <= ?";
    const std::string today = store::dateText(store::localNow().date()).toStdString();
    std::int64_t marked = 0;
    for (auto _ : state) {
        marked = db.execute(sql, {today, db.prefix(user())}, {highest});
        state.PauseTiming();
        unread.restore();
        state.ResumeTiming();
    }
    report(state, marked);
}
void BM_Engine_MarkRead_Office_Like(benchmark::State& s) {
    engineMarkRead(s, Like::Program);
}
void BM_Engine_MarkRead_Office_Glob(benchmark::State& s) {
    engineMarkRead(s, Like::Builtin);
}
BENCHMARK(BM_Engine_MarkRead_Office_Like)->Apply(allSizes);
BENCHMARK(BM_Engine_MarkRead_Office_Glob)->Apply(allSizes);

// The worst case: every message of a file addressed to the user and unread.
void BM_Store_MarkRead_EveryMessageUnread(benchmark::State& state, Engine engine) {
    WorkCopy file(FileKind::AllTo, state.range(0), engine);
    UnreadRestorer::markAllUnread(file.path());
    auto db = openData(file.path());
    store::Listing listed = store::memo::receivedList(*db, user());
    const std::int64_t highestListed = store::memo::highestNumber(listed);
    const QString today = store::dateText(store::localNow().date());
    std::int64_t marked = 0;
    for (auto _ : state) {
        marked = store::memo::markRead(*db, user(), today, highestListed);
        state.PauseTiming();
        UnreadRestorer::markAllUnread(file.path());
        state.ResumeTiming();
    }
    report(state, marked);
}
BENCHMARK_ENGINES(BM_Store_MarkRead_EveryMessageUnread, upTo100k);

void engineMarkReadEveryMessage(benchmark::State& state, Like like) {
    WorkCopy file(FileKind::AllTo, state.range(0));
    UnreadRestorer::markAllUnread(file.path());
    RawDb db(file.path(), like);
    const std::string sql =
        "Update MEMO_T set 既読 = ? Where " + db.match("宛名") + " And 既読 is null And ＮＯ <= ?";
    const std::string today = store::dateText(store::localNow().date()).toStdString();
    std::int64_t marked = 0;
    for (auto _ : state) {
        marked = db.execute(sql, {today, db.prefix(user())}, {state.range(0)});
        state.PauseTiming();
        UnreadRestorer::markAllUnread(file.path());
        state.ResumeTiming();
    }
    report(state, marked);
}
void BM_Engine_MarkRead_EveryMessageUnread_Like(benchmark::State& s) {
    engineMarkReadEveryMessage(s, Like::Program);
}
void BM_Engine_MarkRead_EveryMessageUnread_Glob(benchmark::State& s) {
    engineMarkReadEveryMessage(s, Like::Builtin);
}
BENCHMARK(BM_Engine_MarkRead_EveryMessageUnread_Like)->Apply(upTo100k);
BENCHMARK(BM_Engine_MarkRead_EveryMessageUnread_Glob)->Apply(upTo100k);

// ---- The new-message poll ----

void storePoll(benchmark::State& state, Engine engine, const QString& name) {
    auto db = openData(cachedData(engine, FileKind::Office, state.range(0)));
    bool found = false;
    for (auto _ : state) {
        found = store::memo::hasUnread(*db, name);
    }
    state.counters["found"] = found;
    report(state);
}

void enginePoll(benchmark::State& state, const QString& name, Like like) {
    RawDb db(cachedDataFile(FileKind::Office, state.range(0)), like);
    const std::string sql = "Select * From MEMO_T Where " + db.match("宛名") + " And 既読 is Null";
    std::int64_t found = 0;
    for (auto _ : state) {
        found = db.select(sql, {db.prefix(name)}, 1);
    }
    state.counters["found"] = double(found);
    report(state);
}

void BM_Store_Poll_Waiting(benchmark::State& s, Engine e) {
    storePoll(s, e, user());
}
void BM_Engine_Poll_Waiting_Like(benchmark::State& s) {
    enginePoll(s, user(), Like::Program);
}
void BM_Engine_Poll_Waiting_Glob(benchmark::State& s) {
    enginePoll(s, user(), Like::Builtin);
}
void BM_Store_Poll_None(benchmark::State& s, Engine e) {
    storePoll(s, e, QStringLiteral("新井"));
}
void BM_Engine_Poll_None_Like(benchmark::State& s) {
    enginePoll(s, QStringLiteral("新井"), Like::Program);
}
void BM_Engine_Poll_None_Glob(benchmark::State& s) {
    enginePoll(s, QStringLiteral("新井"), Like::Builtin);
}
BENCHMARK_ENGINES(BM_Store_Poll_Waiting, allSizes);
BENCHMARK(BM_Engine_Poll_Waiting_Like)->Apply(allSizes);
BENCHMARK(BM_Engine_Poll_Waiting_Glob)->Apply(allSizes);
BENCHMARK_ENGINES(BM_Store_Poll_None, allSizes);
BENCHMARK(BM_Engine_Poll_None_Like)->Apply(allSizes);
BENCHMARK(BM_Engine_Poll_None_Glob)->Apply(allSizes);

// ---- Insert and delete (each its own transaction, synced) ----

store::memo::NewMessage sample() {
    store::memo::NewMessage m;
    m.addressee = QStringLiteral("佐藤");
    m.caller = QStringLiteral("東和物産 中島");
    m.taker = user();
    m.memo = QStringLiteral("お電話をさしあげてください。");
    m.outsideLine = true;
    m.phone = QStringLiteral("03-1234-5678");
    m.receivedAt = QStringLiteral("2026/12/01 09:30");
    return m;
}

void BM_Store_Insert(benchmark::State& state, Engine engine) {
    WorkCopy file(FileKind::Office, state.range(0), engine);
    auto db = openData(file.path());
    const store::memo::NewMessage m = sample();
    for (auto _ : state) {
        store::memo::insert(*db, m);
    }
    report(state);
}
BENCHMARK_ENGINES(BM_Store_Insert, allSizes);

void BM_Engine_Insert(benchmark::State& state) {
    WorkCopy file(FileKind::Office, state.range(0));
    RawDb db(file.path(), Like::Builtin);
    const std::string sql =
        "Insert into memo_t (宛名,相手,受人,メモ,内外線,電話,受付日時) Values (?,?,?,?,?,?,?)";
    const std::vector<std::string> values = {
        "佐藤",         "東和物産 中島",   "山田", "お電話をさしあげてください。", "外線",
        "03-1234-5678", "2026/12/01 09:30"};
    for (auto _ : state) {
        db.execute(sql, values);
    }
    report(state);
}
BENCHMARK(BM_Engine_Insert)->Apply(allSizes);

void BM_Store_Delete(benchmark::State& state, Engine engine) {
    WorkCopy file(FileKind::Office, state.range(0), engine);
    auto db = openData(file.path());
    std::int64_t no = state.range(0);
    for (auto _ : state) {
        store::memo::remove(*db, no > 1 ? no-- : no);
    }
    report(state);
}
BENCHMARK_ENGINES(BM_Store_Delete, allSizes);

void BM_Engine_Delete(benchmark::State& state) {
    WorkCopy file(FileKind::Office, state.range(0));
    RawDb db(file.path(), Like::Builtin);
    std::int64_t no = state.range(0);
    for (auto _ : state) {
        db.execute("Delete from MEMO_T Where ＮＯ = ?", {}, {no > 1 ? no-- : no});
    }
    report(state);
}
BENCHMARK(BM_Engine_Delete)->Apply(allSizes);

}  // namespace
}  // namespace bench
