#include "tests/support/TempDir.h"
#include "tests/ui/MorphDialogTestBase.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/LogDialog.h"
#include "ui/LogListView.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <algorithm>
#include <map>

namespace quarvel::test {
namespace {

class MorphDialogRunTest : public MorphDialogTest
{
protected:
    void SetUp() override
    {
        dir.makeDir("src");
        src = dir / "src/";
        // The start folder without its trailing separator: a run adds it.
        settings().StartDir = dir / "src";
        settings().CopyDir = dir / "out/";
        settings().Recurse = 1;
        settings().LowerFile = 0;
        settings().LowerExt = 0;
    }

    // Starts a run and waits for its end (the summary box dismissed).
    void morph()
    {
        c().morphFiles->click();
        waitForRun();
    }
    void waitForRun()
    {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !dialog->isRunning(); }, 10000));
    }

    std::vector<std::string> logLines() const
    {
        std::vector<std::string> lines;
        for (std::size_t i = 0; i < dialog->log().size(); ++i)
            lines.emplace_back(dialog->log().line(i));
        return lines;
    }

    int logCount(const std::string& line) const
    {
        const auto lines = logLines();
        return static_cast<int>(std::count(lines.begin(), lines.end(), line));
    }

    // Reads the log viewer's lines and closes it with OK.
    std::vector<std::string> viewLog()
    {
        std::vector<std::string> shown;
        script.onOtherDialog = [&shown](QWidget* modal) {
            auto* log = qobject_cast<LogDialog*>(modal);
            if (log == nullptr)
                return;
            const QAbstractItemModel* model = log->list()->model();
            for (int row = 0; row < model->rowCount(); ++row)
                shown.push_back(model->index(row, 0).data().toString().toStdString());
            child<QPushButton>(log, "ok")->click();
        };
        c().viewLog->click();
        script.onOtherDialog = nullptr;
        return shown;
    }

    // File-name mode lower-casing names in place: each file asks once.
    void interactiveRenames(const std::vector<std::string>& names)
    {
        for (const std::string& name : names)
            dir.write("src/" + name, "x");
        settings().SearchMode = 1;
        settings().Rename = 1;
        settings().LowerFile = 1;
        settings().Interactive = 1;
    }

    // The path a rename question is about (its second line, without " to ").
    static std::string askedPath(const QString& question)
    {
        QString subject = question.split(QChar::LineSeparator).value(1);
        subject.chop(4);
        return subject.toStdString();
    }

    TempDir dir;
    std::string src;
    ModalScript script;
};

TEST_F(MorphDialogRunTest, MorphFilesRewritesTheFilesAndShowsTheSummary)
{
    dir.write("src/a.txt", "a cat");
    dir.write("src/sub/b.txt", "cat and cat");
    dir.write("src/c.txt", "no match");
    settings().SearchMode = 0;
    settings().Rename = 1;
    settings().Pattern = "cat";
    settings().RepPattern = "dog";
    open();
    morph();
    EXPECT_EQ(dir.read("src/a.txt"), "a dog");
    EXPECT_EQ(dir.read("src/sub/b.txt"), "dog and dog");
    EXPECT_EQ(dir.read("src/c.txt"), "no match");
    ASSERT_EQ(script.summaries.size(), 1u);
    EXPECT_EQ(script.summaries[0],
              QStringLiteral("Processed 3 files (*.*).\nMorphed 2 unique files."));
    // The dialog stays open, the bar is hidden again, a known mask is not
    // noted twice.
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(c().progress->isVisible());
    EXPECT_EQ(items(c().mask), std::vector<std::string>{"*.*"});

    const std::vector<std::string> expected = {"Updated file " + src + "sub/b.txt (2 changes)",
                                               "Updated file " + src + "a.txt (1 changes)",
                                               "Processed 3 files (*.*).",
                                               "Morphed 2 unique files."};
    std::vector<std::string> lines = logLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], expected[0]) << "deeper folders first";
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(viewLog(), expected);
}

// A bad expression is shown with PCRE2's reason and starts no run; a good
// one runs with the groups filled in.
TEST_F(MorphDialogRunTest, RegularExpressionBoxBadExpressionIsShownAndNothingRuns)
{
    dir.write("src/a.txt", "2026-12-10");
    settings().SearchMode = 0;
    settings().Rename = 1;
    settings().Regex = 1;
    settings().Pattern = "(\\d+)-(\\d+";
    settings().RepPattern = "$2";
    open();
    QString shown;
    script.onOtherDialog = [&shown](QWidget* modal) {
        if (modal->objectName() != QLatin1String("expressionBox"))
            return;
        shown = qobject_cast<QMessageBox*>(modal)->text();
        qobject_cast<QMessageBox*>(modal)->accept();
    };
    c().morphFiles->click();
    EXPECT_TRUE(shown.endsWith(QStringLiteral("missing closing parenthesis at offset 10")))
        << shown.toStdString();
    EXPECT_TRUE(logLines().empty());
    EXPECT_EQ(dir.read("src/a.txt"), "2026-12-10");

    c().pattern->setEditBytes("(\\d+)-(\\d+)-(\\d+)");
    c().repPattern->setBytes("$3.$2.${1}");
    morph();
    EXPECT_EQ(dir.read("src/a.txt"), "10.12.2026");
}

// The literal rules go grey under an expression, the CR/LF ones also under
// case-blind Unicode matching; the ticks stay.
TEST_F(MorphDialogRunTest, RegexAndUnicodeCaseGreyTheLiteralRules)
{
    settings().SearchMode = 0;
    settings().WholeWord = settings().IgnoreCR = settings().CRasSpace = 1;
    open();
    const auto enabled = [this] {
        return std::vector<bool>{c().wholeWord->isEnabled(), c().ignoreCR->isEnabled(),
                                 c().crAsSpace->isEnabled()};
    };
    EXPECT_EQ(enabled(), (std::vector<bool>{true, true, true}));
    c().regex->click();
    EXPECT_EQ(enabled(), (std::vector<bool>{false, false, false}));
    c().regex->click();
    c().unicodeCase->click();
    EXPECT_EQ(enabled(), (std::vector<bool>{true, false, false}));
    c().patternCase->click();
    EXPECT_EQ(enabled(), (std::vector<bool>{true, true, true}));
    EXPECT_TRUE(c().ignoreCR->isChecked());
    dialog->readControls();
    EXPECT_EQ(settings().UnicodeCase, 1);
}

TEST_F(MorphDialogRunTest, ViewLogBeforeAnyRunShowsThePlaceholder)
{
    open();
    EXPECT_EQ(viewLog(), std::vector<std::string>{"No log information available"});
}

TEST_F(MorphDialogRunTest, EnterStartsARunFromATextField)
{
    dir.write("src/A.TXT", "x");
    settings().Rename = 1;
    settings().LowerFile = 1;
    open();
    QTest::keyClick(c().mask->lineEdit(), Qt::Key_Return);
    waitForRun();
    ASSERT_EQ(script.summaries.size(), 1u);
    EXPECT_TRUE(dir.exists("src/a.txt"));
    QTest::keyClick(c().repPattern, Qt::Key_Enter);
    waitForRun();
    EXPECT_EQ(script.summaries.size(), 2u);
}

TEST_F(MorphDialogRunTest, InteractiveRunIsAnsweredThroughTheConfirmDialog)
{
    interactiveRenames({"F1.TXT", "F2.TXT", "F3.TXT", "F4.TXT", "F5.TXT", "F6.TXT"});
    script.answers = {"yes", "no", "esc", "close", "yesAll"};
    bool barShownWhileAsking = true;
    script.onQuestion = [&](QWidget*) { barShownWhileAsking &= c().progress->isVisible(); };
    bool boxTickedAtSummary = true;
    script.onSummary = [&] { boxTickedAtSummary = c().interactive->isChecked(); };
    open();
    morph();

    // Five questions: the sixth file went ahead after "Yes All".
    ASSERT_EQ(script.questions.size(), 5u);
    EXPECT_EQ(script.unexpectedQuestions, 0);
    EXPECT_TRUE(barShownWhileAsking);
    const std::vector<bool> renamed = {true, false, false, false, true};
    for (std::size_t i = 0; i < renamed.size(); ++i) {
        const std::string path = askedPath(script.questions[i]);
        const std::string name = path.substr(src.size());
        EXPECT_EQ(dir.exists("src/" + name), !renamed[i]) << name;
        if (!renamed[i]) {
            EXPECT_EQ(logCount("User cancelled file morph --> " + path), 1);
        }
    }
    EXPECT_EQ(dir.list("src").size(), 6u);
    EXPECT_EQ(logCount("User confirmed all operations"), 1);
    // "Yes All" unticked the box at once, during the run, and the start
    // folder field shows the separator the run added.
    EXPECT_FALSE(boxTickedAtSummary);
    EXPECT_EQ(settings().Interactive, 0);
    EXPECT_EQ(c().startDir->bytes(), src);
    EXPECT_EQ(script.questions[0].split(QChar::LineSeparator).value(0),
              QStringLiteral("Morph file"));
}

TEST_F(MorphDialogRunTest, CloseRequestDuringARunStopsItAndClosesTheWindow)
{
    interactiveRenames({"S1.TXT", "S2.TXT", "S3.TXT", "S4.TXT"});
    // Asked while the first question is open, as a stop signal would be.
    script.answers = {"yes"};
    script.onQuestion = [this](QWidget*) { dialog->closeWhenIdle(); };
    open();
    morph();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !dialog->isVisible(); }, 5000));
    EXPECT_TRUE(dialog->closeRequested());
    EXPECT_FALSE(dialog->isRunning());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    // One question, and the run ended after that file: the others keep
    // their names.
    ASSERT_EQ(script.questions.size(), 1u);
    EXPECT_EQ(dialog->lastRun().filesProcessed, 1);
    const std::string asked = askedPath(script.questions[0]).substr(src.size());
    for (const std::string name : {"S1.TXT", "S2.TXT", "S3.TXT", "S4.TXT"}) {
        if (name != asked) {
            EXPECT_TRUE(dir.exists("src/" + name)) << name;
        }
    }
    EXPECT_EQ(logLines().back().rfind("Morphed ", 0), 0u);
}

TEST_F(MorphDialogRunTest, CloseRequestDismissesAnOpenDialogFirst)
{
    open();
    bool logWasOpen = false;
    script.onOtherDialog = [&](QWidget*) {
        logWasOpen = true;
        dialog->closeWhenIdle();
    };
    c().viewLog->click(); // returns once the log viewer was dismissed
    EXPECT_TRUE(logWasOpen);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !dialog->isVisible(); }, 5000));
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
}

TEST_F(MorphDialogRunTest, CancelAllEndsTheQuestionsAndTheNextRunAsksAgain)
{
    interactiveRenames({"A1.TXT", "A2.TXT", "A3.TXT"});
    script.answers = {"cancelAll"};
    open();
    morph();
    EXPECT_EQ(script.questions.size(), 1u);
    EXPECT_EQ(logCount("User cancelled all operations"), 1);
    EXPECT_EQ(dir.list("src"), (std::vector<std::string>{"A1.TXT", "A2.TXT", "A3.TXT"}));
    EXPECT_EQ(script.summaries.back(),
              QStringLiteral("Processed 3 files (*.*).\nMorphed 0 unique files."));

    // The second run starts with an empty log and asks again.
    script.answers = {"no", "no", "yes"};
    morph();
    EXPECT_EQ(script.questions.size(), 4u);
    EXPECT_EQ(logCount("User cancelled all operations"), 0);
    EXPECT_EQ(logLines().back(), "Morphed 1 unique file.");
    EXPECT_FALSE(dialog->lastRun().cancelledAll);
}

TEST_F(MorphDialogRunTest, TheWindowTakesNoInputDuringARun)
{
    interactiveRenames({"B.TXT"});
    script.answers = {"yes"};
    script.onQuestion = [this](QWidget*) {
        // Keys, a close request and a click for the main window, while the
        // confirmation is open: all of them are dropped.
        QTest::keyClicks(c().mask->lineEdit(), "zz");
        QTest::keyClick(c().recurse, Qt::Key_Space);
        QTest::keyClick(dialog.get(), Qt::Key_Escape);
        dialog->close();
        QTest::mouseClick(c().close, Qt::LeftButton);
    };
    open();
    morph();
    EXPECT_EQ(script.summaries.size(), 1u);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(c().mask->editBytes(), "*.*");
    EXPECT_TRUE(c().recurse->isChecked());
    EXPECT_TRUE(dir.exists("src/b.txt"));
    // Once the run is over, the window takes input again.
    QTest::keyClick(c().recurse, Qt::Key_Space);
    EXPECT_FALSE(c().recurse->isChecked());
}

} // namespace
} // namespace quarvel::test
