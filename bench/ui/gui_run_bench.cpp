// One file-data run over START_DIR (recursive, in place, PATTERN replaced by
// REPLACEMENT), started by clicking "Morph Files" in the real main window;
// the summary box is closed as soon as it opens. Prints the seconds from
// the click to the dismissed summary, and on standard error the longest
// stall of the window's event loop during the run. With --headless the same
// run goes through the engine with no window, for comparison.
//
//   gui_run_bench [--headless] START_DIR PATTERN REPLACEMENT

#include "bench/BenchSupport.h"
#include "platform/PosixFileSystem.h"
#include "report/LogWriter.h"
#include "ui/MorphDialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

using namespace quarvel;

void setUp(MorphSettings& s, const char* start, const char* pattern, const char* replacement)
{
    s = defaultSettings();
    s.StartDir = start;
    s.Mask = "*.*";
    s.Pattern = pattern;
    s.RepPattern = replacement;
    s.SearchMode = 0;
    s.Replace = 1;
    s.Rename = 1;
    s.Recurse = 1;
    s.Copy = 0;
    s.Interactive = 0;
}

double headlessRun(const char* start, const char* pattern, const char* replacement)
{
    MorphSettings settings;
    setUp(settings, start, pattern, replacement);
    OperationLog log;
    QElapsedTimer timer;
    timer.start();
    const RunSummary summary = bench::runEngine(settings, log);
    const double seconds = timer.nsecsElapsed() / 1e9;
    std::fprintf(stderr, "%s\n", SummaryText(summary, settings.Mask).c_str());
    return seconds;
}

// The longest time the window's event loop went without turning during a
// run: a 1 ms timer that notes the largest gap between its ticks.
class StallMeter
{
public:
    StallMeter()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            m_longest = std::max(m_longest, m_sinceTick.nsecsElapsed());
            m_sinceTick.restart();
        });
    }
    void start()
    {
        m_sinceTick.start();
        m_timer.start(1);
    }
    double longestMs() const { return m_longest / 1e6; }

private:
    QTimer m_timer;
    QElapsedTimer m_sinceTick;
    qint64 m_longest = 0;
};

double windowRun(const char* start, const char* pattern, const char* replacement)
{
    PosixFileSystem fs;
    MorphDialog dialog(fs);
    setUp(dialog.settings(), start, pattern, replacement);
    dialog.show();
    QApplication::processEvents();
    QString summary;
    QTimer closer;
    QEventLoop untilDone;
    StallMeter stalls;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box != nullptr && box->isVisible()) {
            summary = box->text();
            box->button(QMessageBox::Ok)->click();
        } else if (!summary.isEmpty() && !dialog.isRunning()) {
            untilDone.quit();
        }
    });
    closer.start(1);
    QElapsedTimer timer;
    timer.start();
    stalls.start();
    dialog.controls().morphFiles->click();
    untilDone.exec();
    const double seconds = timer.nsecsElapsed() / 1e9;
    std::fprintf(stderr, "%s\nlongest event-loop stall: %.1f ms\n", qPrintable(summary),
                 stalls.longestMs());
    return seconds;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const bool headless = argc > 1 && std::strcmp(argv[1], "--headless") == 0;
    const int first = headless ? 2 : 1;
    if (argc - first != 3) {
        std::fprintf(stderr, "usage: gui_run_bench [--headless] START_DIR PATTERN REPLACEMENT\n");
        return 2;
    }
    const double seconds = headless ? headlessRun(argv[first], argv[first + 1], argv[first + 2])
                                    : windowRun(argv[first], argv[first + 1], argv[first + 2]);
    std::printf("%.3f\n", seconds);
    return 0;
}
