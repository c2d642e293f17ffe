// dulvane_bench: the program's handlers and statements, timed on generated data files.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "app/platform.h"
#include "bench/server_data.h"
#include "ui/fonts.h"

int main(int argc, char** argv) {
    // The program's own heap arrangement, so that its memory figures are the program's.
    app::platform::useOneHeap();
    // Windows are real, on the offscreen platform unless a display is asked for.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ui::registerFontSubstitutes();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    if (bench::serverUri().isEmpty()) {
        qInfo("No database server given (DULVANE_BENCH_PG): the data file's benchmarks only.");
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
