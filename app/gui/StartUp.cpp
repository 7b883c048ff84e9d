#include "app/gui/StartUp.h"

#include "app/SettingsPersistence.h"
#include "platform/PosixFileSystem.h"
#include "platform/StopSignal.h"
#include "platform/qt/QSettingsStore.h"
#include "ui/AppIcon.h"
#include "ui/DefaultColormapFilter.h"
#include "ui/MorphSession.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

namespace quarvel {

namespace {

bool isSet(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// Without a display and without an explicit platform plugin, Qt would abort
// while connecting to the window system.
bool displayAvailable()
{
    return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM");
}

QtMessageHandler g_defaultHandler = nullptr;

// While the application connects to the window system, a fatal failure
// (a display that cannot be reached) ends the program with a plain message
// and an exit code instead of an abort.
void reportStartFailure(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type != QtFatalMsg) {
        g_defaultHandler(type, context, text);
        return;
    }
    std::fprintf(stderr, "quarvel: cannot open the window: %s\n", qPrintable(text));
    std::fflush(stderr);
    std::_Exit(EXIT_FAILURE);
}

} // namespace

int startQuarvel(int argc, char** argv)
{
    if (!displayAvailable()) {
        std::fputs("quarvel: no display to show the window on (neither DISPLAY nor "
                   "WAYLAND_DISPLAY is set); use quarvel-cli without a display\n",
                   stderr);
        return EXIT_FAILURE;
    }
    g_defaultHandler = qInstallMessageHandler(reportStartFailure);
    QApplication application(argc, argv);
    qInstallMessageHandler(g_defaultHandler);
    QCoreApplication::setOrganizationName(QString::fromLatin1(kCompanyKey));
    QCoreApplication::setApplicationName(QString::fromLatin1(kApplicationName));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopFileName));
    QApplication::setWindowIcon(applicationIcon());
    DefaultColormapFilter::installOnApplication();

    // SIGINT and SIGTERM (a desktop session that ends, Ctrl+C in a terminal)
    // close the window the ordinary way, so the settings are saved.
    installStopSignalHandlers();
    PosixFileSystem fileSystem;
    QSettingsStore store;
    const int code = runMorphSession(store, fileSystem, stopSignalWakeFd());
    store.flush();
    return stopSignalled() ? 128 + stopSignalNumber() : code;
}

} // namespace quarvel
