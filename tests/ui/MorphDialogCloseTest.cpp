#include "tests/ui/MorphDialogTestBase.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <functional>

namespace quarvel::test {
namespace {

// A history of X, Y, Z in the stored form.
const std::string kStoredMasks = "X\xC2\xA5Y\xC2\xA5Z";

class MorphDialogCloseTest : public MorphDialogTest
{
protected:
    void SetUp() override
    {
        settings().Mask = kStoredMasks;
        open();
        // A mask typed but never used in a run.
        c().mask->setEditBytes("typed");
    }

    void expectClosed()
    {
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
        EXPECT_EQ(settings().Mask, kStoredMasks);
        EXPECT_EQ(settings().Pattern, "");
    }
};

TEST_F(MorphDialogCloseTest, CloseButton)
{
    c().close->click();
    expectClosed();
}

TEST_F(MorphDialogCloseTest, EscapeKey)
{
    QTest::keyClick(c().recurse, Qt::Key_Escape);
    expectClosed();
}

TEST_F(MorphDialogCloseTest, CloseBox)
{
    dialog->close();
    expectClosed();
}

TEST_F(MorphDialogCloseTest, CloseReadsTheControlsFirst)
{
    c().recurse->click();
    c().repPattern->setBytes("new");
    c().close->click();
    EXPECT_EQ(settings().Recurse, 0);
    EXPECT_EQ(settings().RepPattern, "new");
}

TEST_F(MorphDialogCloseTest, AnExitWithoutCloseStillJoinsTheHistoriesOnce)
{
    dialog->finishSession();
    EXPECT_EQ(settings().Mask, kStoredMasks);
    dialog->finishSession();
    EXPECT_EQ(settings().Mask, kStoredMasks);
}

// Opens the dialog's context menu with `open` and triggers its Close item.
void closeThroughContextMenu(const std::function<void()>& open, QStringList& shownItems)
{
    QTimer::singleShot(20, [&shownItems] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr)
            return;
        for (QAction* action : menu->actions())
            shownItems.append(action->text());
        menu->findChild<QAction*>(QStringLiteral("closeAction"))->trigger();
        menu->close();
    });
    open();
}

TEST_F(MorphDialogCloseTest, ContextMenuByRightClickOnTheSurface)
{
    QStringList shown;
    closeThroughContextMenu(
        [this] {
            QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(300, 380),
                                    dialog->mapToGlobal(QPoint(300, 380)));
            QApplication::sendEvent(dialog.get(), &event);
        },
        shown);
    // The system menu's stand-in: Close, a separator, Preview, Undo Last Run
    // and the About item.
    EXPECT_EQ(shown, (QStringList{QStringLiteral("Close"), QString(), QStringLiteral("&Preview"),
                                  QStringLiteral("&Undo Last Run..."),
                                  QStringLiteral("&About Quarvel...")}));
    expectClosed();
}

TEST_F(MorphDialogCloseTest, ContextMenuByTheMenuKeyOnACheckBox)
{
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    c().recurse->setFocus();
    QStringList shown;
    closeThroughContextMenu([this] { QTest::keyClick(c().recurse, Qt::Key_Menu); }, shown);
    expectClosed();
}

TEST_F(MorphDialogCloseTest, ContextMenuByShiftF10)
{
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    c().lowerExt->setFocus();
    QStringList shown;
    closeThroughContextMenu(
        [this] { QTest::keyClick(c().lowerExt, Qt::Key_F10, Qt::ShiftModifier); }, shown);
    expectClosed();
}

} // namespace
} // namespace quarvel::test
