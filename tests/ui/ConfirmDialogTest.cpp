#include "ui/ConfirmDialog.h"

#include "tests/ui/UiTestSupport.h"
#include "ui/DialogUnits.h"
#include "ui/MessageText.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace quarvel::test {
namespace {

// Asks `message` and acts on the open dialog with `act`.
ConfirmResult askAnd(const std::string& message, const std::function<void(ConfirmDialog&)>& act)
{
    ConfirmDialog dialog(nullptr);
    QTimer::singleShot(0, &dialog, [&dialog, act] { act(dialog); });
    return dialog.ask(message);
}

TEST(ConfirmDialogTest, EachButtonGivesItsAnswer)
{
    const std::pair<const char*, ConfirmResult> buttons[] = {
        {"yes", ConfirmResult::Yes},
        {"yesAll", ConfirmResult::YesAll},
        {"no", ConfirmResult::No},
        {"cancelAll", ConfirmResult::CancelAll},
    };
    for (const auto& [name, answer] : buttons) {
        const char* button = name;
        EXPECT_EQ(askAnd("Create file\r\n/a",
                         [button](ConfirmDialog& d) { child<QPushButton>(&d, button)->click(); }),
                  answer)
            << name;
    }
}

TEST(ConfirmDialogTest, EnterSaysYesButEscapeAndClosingSayNo)
{
    EXPECT_EQ(askAnd("m", [](ConfirmDialog& d) { QTest::keyClick(&d, Qt::Key_Return); }),
              ConfirmResult::Yes);
    EXPECT_EQ(askAnd("m", [](ConfirmDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }),
              ConfirmResult::No);
    // Alt+F4: the window manager's close request.
    EXPECT_EQ(askAnd("m", [](ConfirmDialog& d) { d.close(); }), ConfirmResult::No);
    // Ended from outside without any answer.
    EXPECT_EQ(askAnd("m", [](ConfirmDialog& d) { d.done(QDialog::Accepted); }), ConfirmResult::No);
}

TEST(ConfirmDialogTest, LooksAsTheTableSays)
{
    askAnd("Morph file", [](ConfirmDialog& d) {
        const DialogUnits units(d.font());
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Confirm Operation"));
        EXPECT_FALSE(d.windowFlags() & Qt::WindowCloseButtonHint);
        EXPECT_FALSE(d.windowFlags() & Qt::WindowSystemMenuHint);
        EXPECT_EQ(d.size(), units.size(292, 63));
        EXPECT_EQ(child<QPushButton>(&d, "yes")->geometry(), units.rect({26, 42, 50, 14}));
        EXPECT_EQ(child<QPushButton>(&d, "cancelAll")->geometry(), units.rect({214, 42, 50, 14}));
        EXPECT_TRUE(child<QPushButton>(&d, "yes")->isDefault());
        EXPECT_EQ(child<QPushButton>(&d, "yesAll")->text(), QStringLiteral("Yes All"));
        d.reject();
    });
}

TEST(ConfirmDialogTest, MessageBreaksAtCrLfAndLongPathsWrapInFull)
{
    const std::string longPath = "/data/" + std::string(400, 'p') + "/end.txt";
    askAnd("Morph file\r\n/a/B.TXT to \r\n/a/b.txt", [](ConfirmDialog& d) {
        const auto lines = child<MessageText>(&d, "message")->shownLines();
        EXPECT_EQ(lines, (QStringList{"Morph file", "/a/B.TXT to ", "/a/b.txt"}));
        EXPECT_EQ(d.height(), DialogUnits(d.font()).y(63)) << "three lines fit";
        d.reject();
    });
    askAnd("Create file\r\n" + longPath, [&longPath](ConfirmDialog& d) {
        auto* message = child<MessageText>(&d, "message");
        const QStringList lines = message->shownLines();
        ASSERT_GT(lines.size(), 3);
        EXPECT_EQ(lines.mid(1).join(QString()).toStdString(), longPath) << "nothing is cut";
        EXPECT_GE(message->height(), message->requiredHeight(message->width()));
        // The buttons moved below the text, and the dialog grew with them.
        auto* yes = child<QPushButton>(&d, "yes");
        EXPECT_GT(yes->y(), message->geometry().bottom());
        EXPECT_LE(yes->geometry().bottom(), d.height());
        EXPECT_GT(d.height(), DialogUnits(d.font()).y(63));
        d.reject();
    });
}

TEST(ConfirmDialogTest, BytesThatAreNotUtf8ShowAsReplacementCharacters)
{
    askAnd("Morph file\r\n/a/caf\xE9.txt", [](ConfirmDialog& d) {
        EXPECT_EQ(child<MessageText>(&d, "message")->shownLines().value(1),
                  QStringLiteral("/a/caf\uFFFD.txt"));
        d.reject();
    });
}

} // namespace
} // namespace quarvel::test
