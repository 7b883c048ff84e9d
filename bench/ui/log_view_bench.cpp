// Opening the log viewer over large logs: building the dialog (which
// measures the widest line), showing it and painting the first screen.

#include "report/OperationLog.h"
#include "ui/LogDialog.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <string>

namespace {

quarvel::OperationLog makeLog(int lines)
{
    quarvel::OperationLog log;
    for (int i = 0; i < lines; ++i) {
        log.append("Updated file /home/ann/projects/quarvel/tree/folder" + std::to_string(i % 200) +
                   "/document-" + std::to_string(i) + ".txt (" + std::to_string(i % 7 + 1) +
                   " changes)");
    }
    log.append("Processed " + std::to_string(lines) + " files (*.*).");
    log.append("Morphed " + std::to_string(lines) + " unique files.");
    return log;
}

void BM_OpenLogViewer(benchmark::State& state)
{
    const quarvel::OperationLog log = makeLog(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        quarvel::LogDialog dialog(log, nullptr);
        dialog.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(dialog.list());
    }
    state.SetLabel(std::to_string(log.size()) + " lines");
}
BENCHMARK(BM_OpenLogViewer)->Arg(1000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
