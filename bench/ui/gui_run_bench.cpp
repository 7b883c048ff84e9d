// One file-data run over START_DIR (recursive, in place, PATTERN replaced by
// REPLACEMENT), started by clicking "Morph Files" in the real main window;
// the summary box is closed as soon as it opens. Prints the seconds from
// the click to the dismissed summary. With --headless the same run goes
// through MorphFiles with a window that shows nothing, for comparison.
//
//   gui_run_bench [--headless] START_DIR PATTERN REPLACEMENT

#include "bench/BenchSupport.h"
#include "engine/MorphEngine.h"
#include "platform/PosixFileSystem.h"
#include "ui/MorphDialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
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

// Everything a run needs of a window, showing nothing but keeping the summary.
class QuietWindow : public bench::SilentWindow
{
public:
    void showSummary(const std::string& text) override { summary = text; }
    std::string summary;
};

double headlessRun(const char* start, const char* pattern, const char* replacement)
{
    MorphSettings settings;
    setUp(settings, start, pattern, replacement);
    RunState state;
    OperationLog log;
    QuietWindow window;
    QElapsedTimer timer;
    timer.start();
    bench::runEngine(settings, state, log, window);
    const double seconds = timer.nsecsElapsed() / 1e9;
    std::fprintf(stderr, "%s\n", window.summary.c_str());
    return seconds;
}

double windowRun(const char* start, const char* pattern, const char* replacement)
{
    PosixFileSystem fs;
    MorphDialog dialog(fs);
    setUp(dialog.settings(), start, pattern, replacement);
    dialog.show();
    QApplication::processEvents();
    QString summary;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box != nullptr && box->isVisible()) {
            summary = box->text();
            box->button(QMessageBox::Ok)->click();
        }
    });
    closer.start(1);
    QElapsedTimer timer;
    timer.start();
    dialog.controls().morphFiles->click();
    const double seconds = timer.nsecsElapsed() / 1e9;
    std::fprintf(stderr, "%s\n", qPrintable(summary));
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
