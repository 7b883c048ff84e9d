#include "ui/AdvancedPatternDialog.h"

#include "tests/support/TempDir.h"
#include "tests/ui/MorphDialogTestBase.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/ByteTextEdit.h"
#include "ui/DialogUnits.h"

#include <QApplication>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace quarvel::test {
namespace {

class AdvancedPatternDialogTest : public ::testing::Test
{
protected:
    void open(const AdvancedPatternFields& fields)
    {
        dialog.fields() = fields;
        dialog.show();
    }
    template <class T>
    T* get(const char* name) const
    {
        return child<T>(&dialog, name);
    }
    FlagCheckBox* box(const char* name) const { return get<FlagCheckBox>(name); }
    ByteTextEdit* text(const char* name) const { return get<ByteTextEdit>(name); }

    AdvancedPatternDialog dialog;
};

TEST_F(AdvancedPatternDialogTest, CaptionSizeAndFieldsShown)
{
    AdvancedPatternFields fields;
    fields.Pattern = "find";
    fields.RepPattern = "put";
    fields.PatternCase = 1;
    open(fields);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Advanced Pattern Match"));
    EXPECT_EQ(dialog.size(), DialogUnits(dialog.font()).size(288, 198));
    EXPECT_EQ(get<QRadioButton>("multiLine")->text(),
              QStringLiteral("Multi-line Search && Replace"));
    EXPECT_EQ(text("pattern")->toPlainText(), QStringLiteral("find"));
    EXPECT_EQ(text("repPattern")->toPlainText(), QStringLiteral("put"));
    EXPECT_EQ(box("patternCase")->flag(), 1);
}

TEST_F(AdvancedPatternDialogTest, MultiLineModeTicksReplaceAndEnablesTheSearch)
{
    open({}); // PrependAppendMode 0, Replace 0
    EXPECT_TRUE(get<QRadioButton>("multiLine")->isChecked());
    EXPECT_EQ(box("replace")->flag(), 1);
    EXPECT_TRUE(box("replace")->isEnabled());
    EXPECT_TRUE(text("pattern")->isEnabled());
    EXPECT_TRUE(box("patternCase")->isEnabled());
    EXPECT_TRUE(text("repPattern")->isEnabled());
    EXPECT_FALSE(box("prepend")->isEnabled());
    EXPECT_FALSE(box("append")->isEnabled());
    // Unticking "Replace search text with" greys the replacement out.
    box("replace")->click();
    EXPECT_FALSE(text("repPattern")->isEnabled());
    box("replace")->click();
    EXPECT_TRUE(text("repPattern")->isEnabled());
}

TEST_F(AdvancedPatternDialogTest, PrependAppendModeShowsTheStoredTicks)
{
    AdvancedPatternFields fields;
    fields.PrependAppendMode = 1;
    fields.Replace = 1;
    fields.Prepend = 1;
    open(fields);
    EXPECT_TRUE(get<QRadioButton>("prependAppend")->isChecked());
    EXPECT_FALSE(text("pattern")->isEnabled());
    EXPECT_FALSE(box("patternCase")->isEnabled());
    EXPECT_FALSE(box("replace")->isEnabled());
    EXPECT_EQ(box("replace")->flag(), 0);
    EXPECT_TRUE(text("repPattern")->isEnabled());
    EXPECT_TRUE(box("prepend")->isEnabled());
    EXPECT_TRUE(box("append")->isEnabled());
    EXPECT_EQ(box("prepend")->flag(), 1);
    EXPECT_EQ(box("append")->flag(), 0);
}

TEST_F(AdvancedPatternDialogTest, SwitchingModesKeepsTheAddTicksAndRetakesReplace)
{
    AdvancedPatternFields fields;
    fields.Prepend = 1;
    fields.Append = 1;
    open(fields);
    get<QRadioButton>("prependAppend")->click();
    EXPECT_EQ(dialog.fields().PrependAppendMode, 1);
    EXPECT_EQ(box("replace")->flag(), 0);
    box("append")->click();
    get<QRadioButton>("multiLine")->click();
    EXPECT_EQ(dialog.fields().PrependAppendMode, 0);
    EXPECT_EQ(box("replace")->flag(), 1);
    EXPECT_EQ(box("prepend")->flag(), 1);
    EXPECT_EQ(box("append")->flag(), 0);
    get<QPushButton>("ok")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.fields().Prepend, 1); // disabled, still exchanged
    EXPECT_EQ(dialog.fields().Append, 0);
    EXPECT_EQ(dialog.fields().Replace, 1);
}

TEST_F(AdvancedPatternDialogTest, TextsKeepTheirBytesUntilEditedAndEnterTypesLf)
{
    AdvancedPatternFields fields;
    fields.Pattern = "one\r\ntwo\rthree\xff";
    fields.RepPattern = "first";
    open(fields);
    ByteTextEdit* replacement = text("repPattern");
    replacement->setFocus();
    replacement->moveCursor(QTextCursor::End);
    QTest::keyClick(replacement, Qt::Key_Return);
    QTest::keyClicks(replacement, QStringLiteral("second"));
    EXPECT_TRUE(dialog.isVisible()); // Enter is a line break, not "OK"
    QTest::keyClick(replacement, Qt::Key_Tab);
    EXPECT_FALSE(replacement->hasFocus()); // Tab moves on
    get<QPushButton>("ok")->click();
    EXPECT_EQ(dialog.fields().Pattern, "one\r\ntwo\rthree\xff");
    EXPECT_EQ(dialog.fields().RepPattern, "first\nsecond");
}

TEST_F(AdvancedPatternDialogTest, CancelReadsNothing)
{
    AdvancedPatternFields fields;
    fields.Pattern = "kept";
    open(fields);
    text("pattern")->setPlainText(QStringLiteral("changed"));
    get<QRadioButton>("prependAppend")->click();
    get<QPushButton>("cancel")->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.fields().Pattern, "kept");
}

// The exchange with the main dialog through its "Advanced" button.
class AdvancedExchangeTest : public MorphDialogTest
{
protected:
    // Clicks "Advanced"; `act` works on the dialog, then it is ended by
    // clicking `button` ("ok" or "cancel") or by "esc".
    void advanced(const std::function<void(AdvancedPatternDialog&)>& act, const char* button)
    {
        int seen = 0;
        script.onOtherDialog = [&](QWidget* modal) {
            auto* advanced = qobject_cast<AdvancedPatternDialog*>(modal);
            if (advanced == nullptr)
                return;
            ++seen;
            if (act)
                act(*advanced);
            if (std::string(button) == "esc")
                QTest::keyClick(advanced, Qt::Key_Escape);
            else
                child<QPushButton>(advanced, button)->click();
        };
        c().advanced->click();
        script.onOtherDialog = nullptr;
        EXPECT_EQ(seen, 1);
    }

    ModalScript script;
};

TEST_F(AdvancedExchangeTest, OkAtOnceFromFileNameModeSetsReplaceAndFileDataMode)
{
    settings().SearchMode = 1;
    open();
    ASSERT_FALSE(c().ignoreCR->isEnabled());
    advanced(nullptr, "ok");
    EXPECT_EQ(settings().Replace, 1);
    EXPECT_EQ(settings().SearchMode, 0);
    EXPECT_TRUE(c().fileData->isChecked());
    EXPECT_FALSE(c().fileName->isChecked());
    EXPECT_EQ(c().replace->flag(), 1);
    for (QWidget* option :
         {static_cast<QWidget*>(c().ignoreCR), static_cast<QWidget*>(c().wholeWord),
          static_cast<QWidget*>(c().crAsSpace)})
        EXPECT_TRUE(option->isEnabled());
    EXPECT_FALSE(c().prepend->isEnabled()); // Replace 1
}

TEST_F(AdvancedExchangeTest, OkInPrependAppendModeClearsReplaceAndEnablesTheAddBoxes)
{
    settings().Replace = 1;
    open();
    advanced(
        [](AdvancedPatternDialog& d) {
            child<QRadioButton>(&d, "prependAppend")->click();
            child<FlagCheckBox>(&d, "append")->click();
            child<ByteTextEdit>(&d, "repPattern")->setPlainText(QStringLiteral("footer"));
        },
        "ok");
    EXPECT_EQ(settings().PrependAppendMode, 1);
    EXPECT_EQ(settings().Replace, 0);
    EXPECT_EQ(settings().Append, 1);
    EXPECT_EQ(settings().Prepend, 0);
    EXPECT_EQ(settings().RepPattern, "footer");
    EXPECT_TRUE(c().prepend->isEnabled());
    EXPECT_TRUE(c().append->isEnabled());
    EXPECT_EQ(c().append->flag(), 1);
    EXPECT_EQ(c().replace->flag(), 0);
    EXPECT_EQ(c().repPattern->bytes(), "footer");
    // The next opening starts in prepend/append mode.
    advanced(
        [](AdvancedPatternDialog& d) {
            EXPECT_TRUE(child<QRadioButton>(&d, "prependAppend")->isChecked());
        },
        "cancel");
}

TEST_F(AdvancedExchangeTest, OkInMultiLineModeHandsBackTheDisabledAddTicks)
{
    settings().Prepend = 1;
    settings().Append = 1;
    settings().SearchMode = 0;
    open();
    advanced(nullptr, "ok");
    EXPECT_EQ(settings().Prepend, 1);
    EXPECT_EQ(settings().Append, 1);
    EXPECT_EQ(c().prepend->flag(), 1);
    EXPECT_FALSE(c().prepend->isEnabled()); // Replace became 1
}

TEST_F(AdvancedExchangeTest, CancelAndEscLeaveTheMainDialogAsItWas)
{
    settings().SearchMode = 1;
    settings().Pattern = "old";
    open();
    c().repPattern->setText(QStringLiteral("typed"));
    for (const char* end : {"cancel", "esc"}) {
        advanced(
            [](AdvancedPatternDialog& d) {
                child<QRadioButton>(&d, "prependAppend")->click();
                child<ByteTextEdit>(&d, "pattern")->setPlainText(QStringLiteral("new"));
            },
            end);
        EXPECT_TRUE(c().fileName->isChecked()) << end;
        EXPECT_EQ(settings().SearchMode, 1) << end;
        EXPECT_EQ(settings().PrependAppendMode, 0) << end;
        EXPECT_EQ(c().pattern->editBytes(), "old") << end;
        EXPECT_EQ(c().repPattern->text(), QStringLiteral("typed")) << end;
        EXPECT_FALSE(c().ignoreCR->isEnabled()) << end;
    }
}

TEST_F(AdvancedExchangeTest, AMultiLineSearchReachesARunUnchanged)
{
    TempDir dir;
    dir.write("crlf.txt", "keep\r\nold line\r\nend\r\n");
    dir.write("lf.txt", "keep\nold line\nend\n");
    settings().StartDir = dir.path();
    settings().Rename = 1; // update in place
    settings().LowerFile = 0;
    settings().LowerExt = 0;
    open();
    advanced(
        [](AdvancedPatternDialog& d) {
            auto* pattern = child<ByteTextEdit>(&d, "pattern");
            pattern->setFocus();
            QTest::keyClicks(pattern, QStringLiteral("keep"));
            QTest::keyClick(pattern, Qt::Key_Return);
            QTest::keyClicks(pattern, QStringLiteral("old"));
            child<ByteTextEdit>(&d, "repPattern")->setPlainText(QStringLiteral("new"));
        },
        "ok");
    EXPECT_EQ(settings().Pattern, "keep\nold");
    EXPECT_EQ(c().pattern->editBytes(), "keep\nold"); // shown in the one-line field
    c().morphFiles->click();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !dialog->isRunning(); }, 10000));
    EXPECT_EQ(dir.read("lf.txt"), "new line\nend\n");
    EXPECT_EQ(dir.read("crlf.txt"), "keep\r\nold line\r\nend\r\n");
}

TEST_F(AdvancedExchangeTest, TextArrivingWithCrLfGoesBackUnchanged)
{
    settings().Pattern = "a\r\nb";
    settings().RepPattern = "c\r\nd";
    open();
    advanced(nullptr, "ok");
    EXPECT_EQ(settings().Pattern, "a\r\nb");
    EXPECT_EQ(settings().RepPattern, "c\r\nd");
}

} // namespace
} // namespace quarvel::test
