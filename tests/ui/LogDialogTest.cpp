#include "ui/LogDialog.h"

#include "report/OperationLog.h"
#include "tests/support/TempDir.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/DialogUnits.h"
#include "ui/LogExtent.h"
#include "ui/LogListView.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace quarvel::test {
namespace {

QStringList shownLines(const LogDialog& dialog)
{
    QStringList lines;
    const QAbstractItemModel* model = dialog.list()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        lines.append(model->index(row, 0).data().toString());
    return lines;
}

TEST(LogDialogTest, EmptyLogShowsThePlaceholder)
{
    OperationLog log;
    LogDialog dialog(log, nullptr);
    EXPECT_EQ(shownLines(dialog), QStringList{QStringLiteral("No log information available")});
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("File Morph Log"));
    const DialogUnits units(dialog.font());
    EXPECT_EQ(dialog.size(), units.size(320, 194));
    EXPECT_EQ(dialog.list()->geometry(), units.rect({7, 7, 306, 161}));
    EXPECT_TRUE(child<QPushButton>(&dialog, "ok")->isDefault());
}

TEST(LogDialogTest, LinesShowInOrderWithTabsExpandedAndBadBytesReplaced)
{
    OperationLog log;
    log.append("first");
    log.append("a\tb\tc");
    log.append("Renamed /x/caf\xE9 --> /x/cafe");
    LogDialog dialog(log, nullptr);
    EXPECT_EQ(shownLines(dialog),
              (QStringList{"first", "a       b       c", "Renamed /x/caf\uFFFD --> /x/cafe"}));
}

TEST(LogDialogTest, ScrollsSidewaysOverTheWidestLineAndAtLeast1000Pixels)
{
    OperationLog shortLog;
    shortLog.append("short");
    LogDialog narrow(shortLog, nullptr);
    narrow.show();
    QScrollBar* bar = narrow.list()->horizontalScrollBar();
    EXPECT_GE(bar->maximum() + narrow.list()->viewport()->width(), LogDialog::kMinimumExtent);

    OperationLog longLog;
    longLog.append("short");
    const std::string path = "Copied /" + std::string(300, 'w') + "\t/end";
    longLog.append(path);
    longLog.append("\xC3\xA9" + std::string(100, 'm')); // not ASCII: laid out
    LogDialog wide(longLog, nullptr);
    wide.show();
    const int widest = QFontMetrics(wide.list()->font())
                           .horizontalAdvance(wide.list()->model()->index(1, 0).data().toString());
    ASSERT_GT(widest, LogDialog::kMinimumExtent);
    bar = wide.list()->horizontalScrollBar();
    EXPECT_GE(bar->maximum() + wide.list()->viewport()->width(), widest);
    EXPECT_GE(widestLogLine(longLog, wide.font()), widest);
}

TEST(LogDialogTest, CtrlCCopiesTheSelectedLinesInOrder)
{
    OperationLog log;
    for (const char* line : {"one", "two\tTAB", "three", "four"})
        log.append(line);
    LogDialog dialog(log, nullptr);
    dialog.show();
    LogListView* list = dialog.list();
    QItemSelectionModel* selection = list->selectionModel();
    selection->select(list->model()->index(2, 0), QItemSelectionModel::Select);
    selection->select(list->model()->index(1, 0), QItemSelectionModel::Select);
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("two\tTAB\nthree"));
    EXPECT_EQ(log.size(), 4u);
}

TEST(LogDialogTest, KeyboardSelectsFromTheFirstLine)
{
    OperationLog log;
    for (const char* line : {"one", "two", "three"})
        log.append(line);
    LogDialog dialog(log, nullptr);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClick(dialog.list(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(dialog.list(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("one\ntwo"));
}

// The context menu's items, chosen the way a user would: the menu opened
// on the list, then the item's accelerator key.
void chooseFromContextMenu(LogListView* list, Qt::Key key)
{
    QTimer::singleShot(0, list, [key] {
        QWidget* menu = QApplication::activePopupWidget();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->objectName(), QStringLiteral("logMenu"));
        QTest::keyClick(menu, key);
    });
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5),
                            list->viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(list->viewport(), &event);
}

TEST(LogDialogTest, ContextMenuCopiesAndSavesTheLogByteForByte)
{
    OperationLog log;
    log.append("Renamed /x/caf\xE9\t--> /x/cafe");
    log.appendFailure("Failed to copy /a --> /b: File exists");
    LogDialog dialog(log, nullptr);
    dialog.show();
    dialog.list()->selectionModel()->select(dialog.list()->model()->index(1, 0),
                                            QItemSelectionModel::Select);
    chooseFromContextMenu(dialog.list(), Qt::Key_C);
    EXPECT_EQ(QApplication::clipboard()->text(),
              QStringLiteral("Failed to copy /a --> /b: File exists"));

    TempDir dir;
    const QString path = QString::fromStdString(dir / "run.log");
    // The file chooser opens once the menu has closed: answered when it is up.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&answer, path] {
        auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (chooser == nullptr || !chooser->isVisible())
            return;
        answer.stop();
        // Typed in at once: key by key the name completer's list may open
        // and take the Return.
        child<QLineEdit>(chooser, "fileNameEdit")->setText(path);
        QMetaObject::invokeMethod(chooser, "accept");
    });
    answer.start(20);
    chooseFromContextMenu(dialog.list(), Qt::Key_S);
    EXPECT_EQ(dir.read("run.log"), "Renamed /x/caf\xE9\t--> /x/cafe\n"
                                   "Failed to copy /a --> /b: File exists\n");
}

TEST(LogDialogTest, OkEnterAndEscapeClose)
{
    OperationLog log;
    log.append("line");
    for (int way = 0; way < 3; ++way) {
        LogDialog dialog(log, nullptr);
        QTimer::singleShot(0, &dialog, [&dialog, way] {
            if (way == 0)
                child<QPushButton>(&dialog, "ok")->click();
            else
                QTest::keyClick(dialog.list(), way == 1 ? Qt::Key_Return : Qt::Key_Escape);
        });
        dialog.exec();
        EXPECT_FALSE(dialog.isVisible()) << way;
    }
}

TEST(LogDialogTest, AMillionLinesOpenQuickly)
{
    OperationLog log;
    for (int i = 0; i < 1'000'000; ++i)
        log.append("Renamed /data/tree/folder/File" + std::to_string(i) +
                   ".TXT --> /data/tree/folder/file.txt");
    QElapsedTimer timer;
    timer.start();
    LogDialog dialog(log, nullptr);
    dialog.show();
    QApplication::processEvents();
    EXPECT_LT(timer.elapsed(), 3000) << "(the benchmark holds the 1 s figure)";
    EXPECT_EQ(dialog.list()->model()->rowCount(), 1'000'000);
}

} // namespace
} // namespace quarvel::test
