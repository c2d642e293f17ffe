// From a send on one workstation to the notice on another's window, on a database server: the
// other workstation's send (the program's own insert, on a connection of its own) until the
// window has said "新規メッセージがあります。". The window's timer is stopped, so every notice
// comes from the server's word of the send, never from a tick. A data file tells of no send:
// there the notice comes at the next tick, up to 65.5 s later, by design (not measured).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <vector>

#include "bench/common.h"
#include "bench/server_data.h"
#include "store/date_time_text.h"
#include "store/memo_table.h"

namespace bench {
namespace {

// Runs the window's events until it has told the user something more, or ms have passed.
bool untilInformed(Window& w, long before, int ms) {
    QElapsedTimer waited;
    waited.start();
    while (w.prompts.informed == before) {
        if (waited.elapsed() > ms) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    return true;
}

void BM_ArrivalNotice(benchmark::State& state) {
    WorkCopy data(FileKind::Office, state.range(0), Engine::Server);
    Window w(data.path());
    w.showAndSettle();
    QElapsedTimer listening;
    listening.start();
    while (!w.form->arrivalWatch()->listening() && listening.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    std::unique_ptr<store::Database> other = openData(data.path());
    std::vector<double> ms;
    for (auto _ : state) {
        const long before = w.prompts.informed;
        QElapsedTimer sent;
        sent.start();
        store::memo::insert(*other, {user(),
                                     QStringLiteral("東和物産 中島"),
                                     QStringLiteral("鈴木"),
                                     QStringLiteral("お電話ください。"),
                                     false,
                                     {},
                                     store::dateTimeText(store::localNow())});
        if (!untilInformed(w, before, 10000)) {
            state.SkipWithError("no notice within 10 s");
            break;
        }
        ms.push_back(double(sent.nsecsElapsed()) / 1e6);
        state.SetIterationTime(ms.back() / 1000);
    }
    if (!ms.empty()) {
        std::sort(ms.begin(), ms.end());
        state.counters["p50_ms"] = ms[ms.size() / 2];
        state.counters["max_ms"] = ms.back();
    }
}

[[maybe_unused]] const bool registered = [] {
    if (!serverUri().isEmpty()) {
        benchmark::RegisterBenchmark("BM_ArrivalNotice/server", BM_ArrivalNotice)
            ->Arg(100000)
            ->Iterations(200)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

}  // namespace
}  // namespace bench
