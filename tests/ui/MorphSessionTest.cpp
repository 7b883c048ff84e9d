#include "ui/MorphSession.h"

#include "platform/PosixFileSystem.h"
#include "platform/qt/QSettingsStore.h"
#include "tests/support/TempDir.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/HistoryComboBox.h"
#include "ui/MorphDialog.h"

#include <QApplication>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>

namespace quarvel::test {
namespace {

// Runs a whole session over a store in `file`; `act` works the main dialog
// and must close it.
void runSession(const std::string& file, const std::function<void(MorphDialog&)>& act)
{
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<MorphDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(*dialog);
    });
    QSettingsStore store(file);
    PosixFileSystem fs;
    EXPECT_EQ(runMorphSession(store, fs), 0);
}

TEST(MorphSessionTest, FirstStartStoresAllTwentyOneValues)
{
    TempDir dir;
    const std::string file = dir / "Quarvel.conf";
    runSession(file, [](MorphDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); });
    QSettings stored(QString::fromStdString(file), QSettings::IniFormat);
    stored.beginGroup(QStringLiteral("App Info"));
    EXPECT_EQ(stored.childKeys().size(), 21);
    EXPECT_EQ(stored.value(QStringLiteral("Mask")).toByteArray(), QByteArray("*.*"));
    EXPECT_EQ(stored.value(QStringLiteral("SearchMode")).toInt(), 1);
}

TEST(MorphSessionTest, StoredHistoriesAndRawTextsComeBackByteForByte)
{
    TempDir dir;
    const std::string file = dir / "Quarvel.conf";
    const std::string masks = "X\xC2\xA5Y\xC2\xA5Z";
    const std::string replacement = "line one\r\nline \xFF two";
    {
        QSettingsStore store(file);
        store.writeString("App Info", "Mask", masks);
        store.writeString("App Info", "RepPattern", replacement);
        store.writeInt("App Info", "Copy", 7); // not a value a box can show
    }
    runSession(file, [](MorphDialog& d) {
        EXPECT_EQ(d.controls().mask->editBytes(), "Z");
        // Typed but never used in a run: not remembered.
        d.controls().mask->setEditBytes("W");
        d.controls().close->click();
    });
    QSettingsStore store(file);
    EXPECT_EQ(store.readString("App Info", "Mask", ""), masks);
    EXPECT_EQ(store.readString("App Info", "RepPattern", ""), replacement);
    EXPECT_EQ(store.readInt("App Info", "Copy", -1), 0);
}

TEST(MorphSessionTest, TerminationClosesTheWindowAndSavesTheSettings)
{
    TempDir dir;
    QProcess program;
    QProcessEnvironment env;
    env.insert(QStringLiteral("HOME"), QString::fromStdString(dir.path()));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(dir / "config"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(env);
    // The program starts with SIGTERM blocked, so the signal sent at once
    // waits until the program is ready for it, however slow its start.
    program.setChildProcessModifier([] {
        sigset_t set;
        sigemptyset(&set);
        sigaddset(&set, SIGTERM);
        sigprocmask(SIG_BLOCK, &set, nullptr);
    });
    program.start(QStringLiteral(QUARVEL_GUI_PROGRAM), QStringList());
    ASSERT_TRUE(program.waitForStarted(10000));
    program.terminate();
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << "closed, not killed";
    EXPECT_EQ(program.exitCode(), 128 + SIGTERM);
    QSettings stored(QString::fromStdString(dir / "config/Brantwick Labs/Quarvel.conf"),
                     QSettings::IniFormat);
    stored.beginGroup(QStringLiteral("App Info"));
    EXPECT_EQ(stored.childKeys().size(), 21);
}

TEST(MorphSessionTest, WithoutADisplayTheProgramSaysSoAndFails)
{
    QProcess program;
    QProcessEnvironment env;
    env.insert(QStringLiteral("HOME"), QStringLiteral("/nonexistent"));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(QUARVEL_GUI_PROGRAM), QStringList());
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << "no crash";
    EXPECT_NE(program.exitCode(), 0);
    EXPECT_TRUE(program.readAllStandardError().contains("no display"));
}

TEST(MorphSessionTest, AnUnreachableDisplayEndsWithAMessageNotAnAbort)
{
    QProcess program;
    QProcessEnvironment env;
    env.insert(QStringLiteral("HOME"), QStringLiteral("/nonexistent"));
    env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":79"));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(QUARVEL_GUI_PROGRAM), QStringList());
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << "no crash";
    EXPECT_NE(program.exitCode(), 0);
    EXPECT_TRUE(program.readAllStandardError().contains("quarvel: cannot open the window"));
}

} // namespace
} // namespace quarvel::test
