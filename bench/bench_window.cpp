// The main window's handlers as the user meets them: each from the click to the window
// painted again, on a window created offscreen over a generated data file.
#include <QComboBox>
#include <QLineEdit>

#include "bench/common.h"
#include "store/memo_table.h"
#include "ui/main/message_list.h"
#include "ui/main/spread_grid.h"

namespace bench {
namespace {

// Runs a list once before it is timed. A workstation keeps its connection to a server while
// it runs; the server process behind a new connection pays once for the first touch of every
// shared page it reads (about 20 µs a page on this machine), which the first list after
// start-up includes and the later ones do not. A data file's pages are in the system's cache
// either way.
template <class Fn>
void warmUp(Fn list) {
    list();
    settle();
}

// Start-up: from the settings file read to the main window ready (Form1 construction and its
// load handler: settings, data file open, the reset with its three pick lists).
void BM_StartUp(benchmark::State& state, Engine engine) {
    const QString path = cachedData(engine, FileKind::Office, state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto w = std::make_unique<Window>(path, false);
        state.ResumeTiming();
        w->start();
        state.PauseTiming();
        if (!w->state.Db_Data) {
            state.SkipWithError("the data file did not open");
        }
        w.reset();
        state.ResumeTiming();
    }
    report(state);
}
BENCHMARK_ENGINES(BM_StartUp, allSizes);

// The same up to the window shown and painted for the first time.
void BM_StartUpShown(benchmark::State& state, Engine engine) {
    const QString path = cachedData(engine, FileKind::Office, state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto w = std::make_unique<Window>(path, false);
        state.ResumeTiming();
        w->start();
        w->showAndSettle();
        state.PauseTiming();
        w.reset();
        settle();
        state.ResumeTiming();
    }
    report(state);
}
BENCHMARK_ENGINES(BM_StartUpShown, allSizes);

// The reset (クリア): three pick-list queries and the lists refilled.
void BM_Reset(benchmark::State& state, Engine engine) {
    Window w(cachedData(engine, FileKind::Office, state.range(0)));
    w.showAndSettle();
    for (auto _ : state) {
        w.form->Cmd_Clear_Click();
        settle();
    }
    state.counters["names"] =
        double(w.form->Cmb_To->count() + w.form->Cmb_From->count() + w.form->Cmb_My->count());
    report(state);
}
BENCHMARK_ENGINES(BM_Reset, allSizes);

// The received list (受信): query, grid filled and painted, listed messages marked read.
// Between iterations the messages it marked are made unread again, so every iteration has
// the same work.
void receivedList(benchmark::State& state, Engine engine, FileKind kind, bool allUnread,
                  const QString& name = user()) {
    WorkCopy file(kind, state.range(0), engine);
    if (allUnread) {
        UnreadRestorer::markAllUnread(file.path());
    }
    UnreadRestorer unread(file.path(), name);
    Window w(file.path());
    w.state.My_Name = name;
    w.showAndSettle();
    warmUp([&] { w.form->Command1_Click(); });
    unread.restore();
    for (auto _ : state) {
        w.form->Command1_Click();
        settle();
        state.PauseTiming();
        unread.restore();
        state.ResumeTiming();
    }
    if (w.prompts.informed != 0) {
        state.SkipWithError("the received list reported a failure");
    }
    state.counters["unread"] = double(unread.count());
    report(state, w.form->SS1->rowCount());
}

void BM_ReceivedList_Office(benchmark::State& state, Engine engine) {
    receivedList(state, engine, FileKind::Office, false);
}
BENCHMARK_ENGINES(BM_ReceivedList_Office, allSizes);

// A colleague with a small share of the office's messages (about 1.2 %): 12,411 listed at
// 1,000,000, where the file still reads every message and the server reads only the listed.
void BM_ReceivedList_FewListed(benchmark::State& state, Engine engine) {
    receivedList(state, engine, FileKind::Office, false, fewListedUser());
}
BENCHMARK_ENGINES(BM_ReceivedList_FewListed, allSizes);

void BM_ReceivedList_EveryMessage(benchmark::State& state, Engine engine) {
    receivedList(state, engine, FileKind::AllTo, false);
}
BENCHMARK_ENGINES(BM_ReceivedList_EveryMessage, upTo100k);

void BM_ReceivedList_EveryMessageUnread(benchmark::State& state, Engine engine) {
    receivedList(state, engine, FileKind::AllTo, true);
}
BENCHMARK_ENGINES(BM_ReceivedList_EveryMessageUnread, upTo100k);

// The grid fill alone: a listing already read into memory written into the grid and painted.
void gridFill(benchmark::State& state, FileKind kind) {
    Window w(cachedDataFile(kind, state.range(0)));
    w.showAndSettle();
    const store::Listing listed = store::memo::receivedList(*w.state.Db_Data, user());
    for (auto _ : state) {
        state.PauseTiming();
        store::Listing rs = listed;  // the fill takes the rows out of the listing
        state.ResumeTiming();
        fillMessageList(*w.form->SS1, rs, store::NameColumn::Taker);
        settle();
    }
    report(state, w.form->SS1->rowCount());
}

void BM_GridFill_Office(benchmark::State& state) {
    gridFill(state, FileKind::Office);
}
BENCHMARK(BM_GridFill_Office)->Apply(allSizes);

void BM_GridFill_EveryMessage(benchmark::State& state) {
    gridFill(state, FileKind::AllTo);
}
BENCHMARK(BM_GridFill_EveryMessage)->Apply(upTo100k);

// The sent list (送信): query, grid filled and painted; nothing is marked.
void BM_SentList_Office(benchmark::State& state, Engine engine) {
    Window w(cachedData(engine, FileKind::Office, state.range(0)));
    w.showAndSettle();
    warmUp([&] { w.form->Command3_Click(); });
    for (auto _ : state) {
        w.form->Command3_Click();
        settle();
    }
    report(state, w.form->SS1->rowCount());
}
BENCHMARK_ENGINES(BM_SentList_Office, allSizes);

// A click on a column header of a listed grid: the rows sorted by that column. Every
// iteration sorts the listing as it came (newest first).
void headerSort(benchmark::State& state, int column) {
    WorkCopy file(FileKind::AllTo, state.range(0));
    Window w(file.path());
    w.showAndSettle();
    w.form->Command1_Click();
    settle();
    const store::Listing listed = store::memo::receivedList(*w.state.Db_Data, user());
    for (auto _ : state) {
        state.PauseTiming();
        store::Listing rs = listed;
        fillMessageList(*w.form->SS1, rs, store::NameColumn::Taker);
        settle();
        state.ResumeTiming();
        w.form->SS1_Click(column, 0);
        settle();
    }
    report(state, w.form->SS1->rowCount());
}

void BM_HeaderSort_Time(benchmark::State& state) {
    headerSort(state, 2);
}
BENCHMARK(BM_HeaderSort_Time)->Apply(upTo100k);
void BM_HeaderSort_Caller(benchmark::State& state) {
    headerSort(state, 3);
}
BENCHMARK(BM_HeaderSort_Caller)->Apply(upTo100k);
void BM_HeaderSort_Number(benchmark::State& state) {
    headerSort(state, 8);
}
BENCHMARK(BM_HeaderSort_Number)->Apply(upTo100k);

// The new-message watch's tick: one query that reads at most one row. "Waiting": the user
// has an unread message (the notice is shown and closed at once); "None": nobody of that
// name has any.
void poll(benchmark::State& state, Engine engine, const QString& name) {
    Window w(cachedData(engine, FileKind::Office, state.range(0)));
    w.state.My_Name = name;
    for (auto _ : state) {
        w.form->Timer1_Timer();
    }
    state.counters["notices"] = double(w.prompts.informed) / double(state.iterations());
    report(state);
}

void BM_Poll_Waiting(benchmark::State& state, Engine engine) {
    poll(state, engine, user());
}
BENCHMARK_ENGINES(BM_Poll_Waiting, allSizes);
void BM_Poll_None(benchmark::State& state, Engine engine) {
    poll(state, engine, QStringLiteral("新井"));
}
BENCHMARK_ENGINES(BM_Poll_None, allSizes);

// A send (送信登録): the insert, its notice, and the reset that re-reads the pick lists.
void BM_Send(benchmark::State& state, Engine engine) {
    WorkCopy file(FileKind::Office, state.range(0), engine);
    Window w(file.path());
    w.showAndSettle();
    for (auto _ : state) {
        state.PauseTiming();
        w.form->Cmb_To->setEditText(QStringLiteral("佐藤"));
        w.form->Cmb_From->setEditText(QStringLiteral("東和物産 中島"));
        w.form->Txt_Tel->setText(QStringLiteral("03-1234-5678"));
        state.ResumeTiming();
        w.form->Command2_Click();
        settle();
    }
    if (w.prompts.informed != state.iterations()) {
        state.SkipWithError("a send did not report success alone");
    }
    report(state);
}
BENCHMARK_ENGINES(BM_Send, allSizes);

// A delete (削除 button of the top row, answered Yes): the delete statement and the row
// removed from the grid. The sent list is shown again when it runs out of rows.
void BM_Delete(benchmark::State& state, Engine engine) {
    WorkCopy file(FileKind::Office, state.range(0), engine);
    Window w(file.path());
    w.showAndSettle();
    w.form->Command3_Click();
    settle();
    const std::int64_t listed = w.form->SS1->rowCount();
    for (auto _ : state) {
        if (w.form->SS1->rowCount() == 0) {
            state.PauseTiming();
            w.form->Command3_Click();
            settle();
            state.ResumeTiming();
        }
        w.form->SS1_Click(1, 1);
        settle();
    }
    state.counters["listed"] = double(listed);
    report(state);
}
BENCHMARK_ENGINES(BM_Delete, allSizes);

}  // namespace
}  // namespace bench
