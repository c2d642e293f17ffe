// Peak memory of the program with a large listing shown. The operating system's high-water
// mark covers the whole process, so run this benchmark alone:
//   dulvane_bench --benchmark_filter=BM_PeakMemory
#include <malloc.h>
#include <sys/resource.h>

#include "bench/common.h"
#include "store/memo_table.h"
#include "ui/main/message_list.h"
#include "ui/main/spread_grid.h"

namespace bench {
namespace {

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

// The window started, shown, and the received list of every message of the file shown.
void BM_PeakMemory_EveryMessageListed(benchmark::State& state) {
    // Make the data file first in another run: generating it here would raise the peak.
    WorkCopy file(FileKind::AllTo, state.range(0));
    const double before = peakMegabytes();
    double started = 0;
    std::int64_t rows = 0;
    for (auto _ : state) {
        Window w(file.path());
        w.showAndSettle();
        started = peakMegabytes();
        w.form->Command1_Click();
        settle();
        rows = w.form->SS1->rowCount();
    }
    state.counters["peak_before_MB"] = before;
    state.counters["peak_started_MB"] = started;
    state.counters["peak_listed_MB"] = peakMegabytes();
    report(state, rows);
}
BENCHMARK(BM_PeakMemory_EveryMessageListed)
    ->Arg(100000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Heap in use: small blocks and the large ones the allocator maps on their own.
double heapMegabytes() {
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
}

// Where a listing's memory goes: the heap in use after the query (the listing held in
// memory, as Rs_Main holds it) and after the grid fill, which takes the listing's rows.
void BM_Memory_ListingBreakdown(benchmark::State& state) {
    Window w(cachedDataFile(FileKind::AllTo, state.range(0)));
    w.showAndSettle();
    double listing = 0, grid = 0;
    std::int64_t rows = 0;
    for (auto _ : state) {
        const double start = heapMegabytes();
        store::Listing rs = store::memo::receivedList(*w.state.Db_Data, user());
        const double afterQuery = heapMegabytes();
        rows = std::int64_t(rs.size());
        fillMessageList(*w.form->SS1, rs, store::NameColumn::Taker);
        settle();
        const double afterFill = heapMegabytes();
        listing = afterQuery - start;
        grid = afterFill - start;
        w.form->SS1->setRowCount(0);
    }
    state.counters["listing_MB"] = listing;
    state.counters["grid_MB"] = grid;
    state.counters["listing_B_per_row"] = listing * 1024 * 1024 / double(rows);
    state.counters["grid_B_per_row"] = grid * 1024 * 1024 / double(rows);
    report(state, rows);
}
BENCHMARK(BM_Memory_ListingBreakdown)
    ->Arg(100000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace bench
