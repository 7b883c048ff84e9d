#include "tests/ui/MorphDialogTestBase.h"

#include <QApplication>
#include <QTest>
#include <tuple>

namespace quarvel::test {
namespace {

TEST_F(MorphDialogTest, FirstStartShowsTheDefaults)
{
    open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("File Morph Utility"));
    EXPECT_EQ(c().mask->editBytes(), "*.*");
    EXPECT_EQ(items(c().mask), std::vector<std::string>{"*.*"});
    EXPECT_EQ(c().pattern->editBytes(), "");
    EXPECT_EQ(items(c().pattern), std::vector<std::string>{""});
    EXPECT_TRUE(c().fileName->isChecked());
    EXPECT_FALSE(c().progress->isVisible());
    EXPECT_TRUE(c().morphFiles->isDefault());
    // The first control of the focus chain starts with the focus.
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    EXPECT_TRUE(c().mask->isAncestorOf(QApplication::focusWidget()) ||
                QApplication::focusWidget() == c().mask);
}

TEST_F(MorphDialogTest, FileNameModeGreysTheDataOptionsWhateverTheirTicks)
{
    settings().SearchMode = 1;
    settings().IgnoreCR = settings().WholeWord = settings().CRasSpace = 1;
    settings().Prepend = settings().Append = 1;
    open();
    for (FlagCheckBox* box :
         {c().ignoreCR, c().wholeWord, c().crAsSpace, c().prepend, c().append}) {
        EXPECT_FALSE(box->isEnabled()) << box->objectName().toStdString();
        EXPECT_TRUE(box->isChecked());
    }
    dialog->readControls();
    EXPECT_EQ(settings().Prepend, 1);
    EXPECT_EQ(settings().IgnoreCR, 1);
}

// The enabling table: mode and "Replace pattern with", reached by clicks.
class EnablingTableTest : public MorphDialogTest,
                          public ::testing::WithParamInterface<std::tuple<bool, bool>>
{
};

TEST_P(EnablingTableTest, ModeAndReplaceDecideWhatIsEnabled)
{
    const auto [fileNameMode, replace] = GetParam();
    settings().SearchMode = fileNameMode ? 0 : 1; // start in the other mode
    settings().Prepend = 1;
    open();
    if (replace)
        c().replace->click();
    (fileNameMode ? c().fileName : c().fileData)->click();
    EXPECT_EQ(settings().SearchMode, fileNameMode ? 1 : 0);
    for (FlagCheckBox* box : {c().ignoreCR, c().wholeWord, c().crAsSpace})
        EXPECT_EQ(box->isEnabled(), !fileNameMode);
    for (FlagCheckBox* box : {c().prepend, c().append})
        EXPECT_EQ(box->isEnabled(), !fileNameMode && !replace);
    EXPECT_TRUE(c().prepend->isChecked());
}

INSTANTIATE_TEST_SUITE_P(Rows, EnablingTableTest,
                         ::testing::Combine(::testing::Bool(), ::testing::Bool()));

TEST_F(MorphDialogTest, ReplaceTogglesPrependAndAppendInFileDataMode)
{
    settings().SearchMode = 0;
    settings().Prepend = 1;
    open();
    ASSERT_TRUE(c().prepend->isEnabled());
    // A real click on the box's indicator.
    QTest::mouseClick(c().replace, Qt::LeftButton, {}, QPoint(6, c().replace->height() / 2));
    EXPECT_TRUE(c().replace->isChecked());
    EXPECT_FALSE(c().prepend->isEnabled());
    EXPECT_FALSE(c().append->isEnabled());
    EXPECT_TRUE(c().prepend->isChecked());
    c().replace->click();
    EXPECT_TRUE(c().prepend->isEnabled());
    EXPECT_TRUE(c().append->isEnabled());
}

TEST_F(MorphDialogTest, CopyBoxEnablesTheOutputControlsAndKeepsCopyDir)
{
    settings().Copy = 1;
    settings().CopyDir = "/srv/out/";
    open();
    EXPECT_TRUE(c().copyDir->isEnabled());
    EXPECT_TRUE(c().outputTree->isEnabled());
    c().copy->click();
    EXPECT_FALSE(c().copyDir->isEnabled());
    EXPECT_FALSE(c().outputTree->isEnabled());
    EXPECT_EQ(settings().Copy, 0);
    EXPECT_EQ(settings().CopyDir, "/srv/out/");
    // A disabled field still takes part in the exchange.
    settings().CopyDir = "/srv/other/";
    dialog->writeControls();
    dialog->readControls();
    EXPECT_EQ(settings().CopyDir, "/srv/other/");
}

TEST_F(MorphDialogTest, FlagsTheBoxesCannotShowAreShownUntickedAndSetToZero)
{
    settings().Replace = -1;
    settings().Recurse = 3;
    settings().Interactive = 2; // the "indeterminate" state
    open();
    EXPECT_FALSE(c().replace->isChecked());
    EXPECT_FALSE(c().recurse->isChecked());
    EXPECT_EQ(settings().Replace, 0);
    EXPECT_EQ(settings().Recurse, 0);
    EXPECT_EQ(c().interactive->checkState(), Qt::PartiallyChecked);
    dialog->readControls();
    EXPECT_EQ(settings().Interactive, 2);
    // A click ticks it; the next one unticks it, never back to 2.
    c().interactive->click();
    EXPECT_EQ(c().interactive->flag(), 1);
    c().interactive->click();
    EXPECT_EQ(c().interactive->flag(), 0);
}

TEST_F(MorphDialogTest, ExchangeKeepsLineBreaksAndRawBytes)
{
    const std::string multiLine = "one\r\ntwo\nthree\rfour";
    const std::string rawFolder = "/tmp/caf\xE9-\xFF/"; // not UTF-8
    settings().Pattern = "find\r\nthis";
    settings().RepPattern = multiLine;
    settings().StartDir = rawFolder;
    settings().Mask = "*.\xA0";
    open();
    // Each break shows as a symbol of its own.
    EXPECT_EQ(c().repPattern->text(), QStringLiteral("one\u21B5two\u2193three\u2190four"));
    EXPECT_EQ(c().pattern->currentText(), QStringLiteral("find\u21B5this"));
    dialog->readControls();
    EXPECT_EQ(settings().RepPattern, multiLine);
    EXPECT_EQ(settings().Pattern, "find\r\nthis");
    EXPECT_EQ(settings().StartDir, rawFolder);
    EXPECT_EQ(settings().Mask, "*.\xA0");
    dialog->writeControls();
    dialog->readControls();
    EXPECT_EQ(settings().RepPattern, multiLine);
    EXPECT_EQ(items(c().pattern), std::vector<std::string>{"find\r\nthis"});
}

TEST_F(MorphDialogTest, EditingAMultiLineTextKeepsItsBreaks)
{
    settings().RepPattern = "a\r\nb";
    open();
    c().repPattern->setFocus();
    c().repPattern->end(false);
    QTest::keyClicks(c().repPattern, "c");
    dialog->readControls();
    EXPECT_EQ(settings().RepPattern, "a\r\nbc");
    // An edited text that is not UTF-8 is read from what it shows.
    settings().StartDir = "/x\xFF";
    dialog->writeControls();
    c().startDir->end(false);
    QTest::keyClicks(c().startDir, "/");
    dialog->readControls();
    EXPECT_EQ(settings().StartDir, "/x\xEF\xBF\xBD/");
}

TEST_F(MorphDialogTest, TabVisitsTheControlsInTableOrder)
{
    settings().SearchMode = 0;
    settings().Copy = 1;
    open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    // The mode's radio buttons are one stop: Tab enters at the first, the
    // arrow keys choose.
    const std::vector<std::string> expected = {
        "mask",       "advanced",  "pattern",  "patternCase", "regex",       "replace",
        "repPattern", "prepend",   "append",   "fileName",    "rename",      "interactive",
        "lowerFile",  "wholeWord", "lowerExt", "ignoreCR",    "unicodeCase", "recurse",
        "crAsSpace",  "startTree", "startDir", "copy",        "outputTree",  "copyDir",
        "morphFiles", "viewLog",   "close"};
    std::vector<std::string> visited;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        // The combo boxes hand the focus to their edit part.
        if (qobject_cast<HistoryComboBox*>(focus->parentWidget()) != nullptr)
            focus = focus->parentWidget();
        visited.push_back(focus->objectName().toStdString());
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    EXPECT_EQ(visited, expected);
}

TEST_F(MorphDialogTest, HistoryListIsSortedIgnoringCaseAndShowsTheNewestEntry)
{
    settings().Mask = "b.txt\xC2\xA5"
                      "A.doc\xC2\xA5"
                      "c.TXT\xC2\xA5"
                      "a.doc";
    open();
    EXPECT_EQ(items(c().mask), (std::vector<std::string>{"A.doc", "a.doc", "b.txt", "c.TXT"}));
    EXPECT_EQ(c().mask->editBytes(), "a.doc");
    EXPECT_EQ(dialog->maskHistory().entries(),
              (std::vector<std::string>{"b.txt", "A.doc", "c.TXT", "a.doc"}));
}

TEST_F(MorphDialogTest, ChoosingAHistoryItemUsesItsExactBytes)
{
    settings().Pattern = "caf\xE9\xC2\xA5plain";
    open();
    const int index = c().pattern->findData(QByteArray("caf\xE9"));
    ASSERT_GE(index, 0);
    c().pattern->setCurrentIndex(index);
    dialog->readControls();
    EXPECT_EQ(settings().Pattern, "caf\xE9");
}

TEST_F(MorphDialogTest, TypedTextIsNeitherCompletedNorAddedToTheList)
{
    open();
    c().mask->setFocus();
    c().mask->lineEdit()->clear();
    QTest::keyClicks(c().mask->lineEdit(), "*");
    QTest::keyClick(c().mask->lineEdit(), Qt::Key_Tab);
    dialog->readControls();
    EXPECT_EQ(settings().Mask, "*");
    EXPECT_EQ(items(c().mask), std::vector<std::string>{"*.*"});
}

TEST_F(MorphDialogTest, TypedTextStaysWithinTheVisibleEditPart)
{
    settings().Mask = std::string(60, 'W'); // stored: wider than the box
    open();
    QLineEdit* edit = c().mask->lineEdit();
    edit->end(false);
    QTest::keyClicks(edit, "W");
    EXPECT_EQ(edit->text().size(), 60) << "a text wider than the box cannot grow";
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text().size(), 59) << "but it can shrink";
    edit->clear();
    QTest::keyClicks(edit, QString(60, u'W'));
    EXPECT_LT(edit->text().size(), 60);
    EXPECT_LE(edit->fontMetrics().horizontalAdvance(edit->text()), edit->width());
    // The text field below scrolls instead.
    QTest::keyClicks(c().repPattern, QString(200, u'W'));
    EXPECT_EQ(c().repPattern->text().size(), 200);
}

} // namespace
} // namespace quarvel::test
