// "Preview" and "Undo Last Run" driven through their shortcuts, with the
// dialogs answered by the modal script.
#include "tests/support/TempDir.h"
#include "tests/ui/MorphDialogTestBase.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/LogDialog.h"
#include "ui/LogListView.h"

#include <QMessageBox>
#include <QTest>
#include <algorithm>

namespace quarvel::test {
namespace {

class MorphDialogUndoTest : public MorphDialogTest
{
protected:
    void SetUp() override
    {
        dir.write("src/One.TXT", "a");
        dir.write("src/Two.TXT", "b");
        settings().StartDir = dir / "src/";
        settings().SearchMode = 1;
        settings().Rename = 1;
        settings().LowerFile = 1;
        settings().LowerExt = 1;
        settings().Recurse = 0;
        open();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        c().mask->setFocus(); // a text field has the focus: the shortcuts still reach the window
        script.onOtherDialog = [this](QWidget* modal) {
            titles.push_back(modal->windowTitle().toStdString());
            if (auto* log = qobject_cast<LogDialog*>(modal)) {
                const QAbstractItemModel* model = log->list()->model();
                for (int row = 0; row < model->rowCount(); ++row)
                    shown.push_back(model->index(row, 0).data().toString().toStdString());
                child<QPushButton>(log, "ok")->click();
            } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                texts.push_back(box->text().toStdString());
                box->button(QMessageBox::Yes) != nullptr ? box->button(QMessageBox::Yes)->click()
                                                         : box->button(QMessageBox::Ok)->click();
            }
        };
    }

    void press(QKeyCombination keys)
    {
        titles.clear();
        shown.clear();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        QTest::keyClick(c().mask, keys.key(), keys.keyboardModifiers());
        ASSERT_TRUE(QTest::qWaitFor([this] { return !titles.empty(); }, 10000));
        ASSERT_TRUE(QTest::qWaitFor([this] { return !dialog->isRunning(); }, 10000));
    }

    TempDir dir;
    ModalScript script;
    std::vector<std::string> titles, texts, shown;
};

TEST_F(MorphDialogUndoTest, PreviewChangesNothingAndUndoReversesTheRunAfterOneQuestion)
{
    press(Qt::CTRL | Qt::Key_P);
    EXPECT_EQ(dir.list("src"), (std::vector<std::string>{"One.TXT", "Two.TXT"}));
    ASSERT_EQ(titles.size(), 1u);
    EXPECT_NE(titles[0].find("Preview"), std::string::npos);
    EXPECT_NE(titles[0].find("nothing was changed"), std::string::npos);
    EXPECT_EQ(shown.front(), "Preview: nothing was changed. A run would do this:");
    EXPECT_NE(std::find(shown.begin(), shown.end(),
                        "Renamed " + dir / "src/One.TXT --> " + dir / "src/one.txt"),
              shown.end());
    EXPECT_TRUE(dialog->log().empty()); // the last run's log is not the preview's

    c().morphFiles->click();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !dialog->isRunning(); }, 10000));
    ASSERT_EQ(dir.list("src"), (std::vector<std::string>{"one.txt", "two.txt"}));

    press(Qt::CTRL | Qt::ALT | Qt::Key_Z);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], "Undo the last run? 2 operations will be reversed.");
    EXPECT_EQ(dir.list("src"), (std::vector<std::string>{"One.TXT", "Two.TXT"}));
    ASSERT_EQ(titles.size(), 2u);
    EXPECT_NE(titles[1].find("Undo"), std::string::npos);
    EXPECT_EQ(shown.back(), "Undid 2 of 2 operations.");
}

} // namespace
} // namespace quarvel::test
