// What a screen reader and a keyboard user get of the dialogs: a spoken name
// for every field, the confirmation's question, the enabling rules after a
// key or a toggle action, and a tab order that follows the layout.
#include "tests/ui/MorphDialogTestBase.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/AdvancedPatternDialog.h"
#include "ui/ConfirmDialog.h"
#include "ui/DirectoryTree.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

namespace quarvel::test {
namespace {

// The label a screen reader announces for `widget`: its label relation
// (how a combo box is named on Linux, where its name is its text), else its
// name.
QString spokenName(QWidget* widget)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    if (face == nullptr)
        return {};
    const auto labels = face->relations(QAccessible::Label);
    if (!labels.isEmpty())
        return labels.first().first->text(QAccessible::Name);
    return face->text(QAccessible::Name);
}

// Every text field, combo box and folder tree of `dialog` with its name.
std::vector<std::pair<std::string, QString>> fieldNames(QWidget* dialog)
{
    std::vector<std::pair<std::string, QString>> names;
    for (QWidget* widget : dialog->findChildren<QWidget*>()) {
        const bool field = qobject_cast<QComboBox*>(widget) != nullptr ||
                           (qobject_cast<QLineEdit*>(widget) != nullptr &&
                            qobject_cast<QComboBox*>(widget->parent()) == nullptr) ||
                           qobject_cast<QPlainTextEdit*>(widget) != nullptr ||
                           qobject_cast<DirectoryTree*>(widget) != nullptr;
        if (field)
            names.emplace_back(widget->objectName().toStdString(), spokenName(widget));
    }
    return names;
}

TEST_F(MorphDialogTest, EveryFieldHasASpokenName)
{
    open();
    AdvancedPatternDialog advanced;
    for (QWidget* window :
         {static_cast<QWidget*>(dialog.get()), static_cast<QWidget*>(&advanced)}) {
        const auto names = fieldNames(window);
        EXPECT_GE(names.size(), 2u);
        for (const auto& [field, name] : names)
            EXPECT_FALSE(name.isEmpty()) << field;
    }
    EXPECT_EQ(spokenName(c().mask), QStringLiteral("File mask"));
    EXPECT_EQ(spokenName(c().startTree), QStringLiteral("Start directory"));
    EXPECT_EQ(spokenName(child<QWidget>(&advanced, "pattern")), QStringLiteral("Search text"));
}

TEST(ConfirmDialogAccessibility, TheQuestionIsReadable)
{
    ConfirmDialog dialog(nullptr);
    QString name;
    QAccessible::Role role = QAccessible::NoRole;
    QTimer::singleShot(0, &dialog, [&] {
        QAccessibleInterface* face =
            QAccessible::queryAccessibleInterface(child<QWidget>(&dialog, "message"));
        name = face->text(QAccessible::Name);
        role = face->role();
        dialog.reject();
    });
    dialog.ask("Morph file\r\n/src/A.TXT\r\n/src/a.txt");
    EXPECT_EQ(name, QStringLiteral("Morph file\n/src/A.TXT\n/src/a.txt"));
    EXPECT_EQ(role, QAccessible::StaticText);
}

TEST_F(MorphDialogTest, KeysAndToggleActionsApplyTheEnablingRules)
{
    settings().SearchMode = 1; // file-name mode greys the data options
    open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    ASSERT_FALSE(c().wholeWord->isEnabled());
    c().fileName->setFocus();
    QTest::keyClick(c().fileName, Qt::Key_Right);
    EXPECT_TRUE(c().fileData->isChecked());
    EXPECT_EQ(settings().SearchMode, 0);
    EXPECT_TRUE(c().wholeWord->isEnabled());
    EXPECT_TRUE(c().prepend->isEnabled());

    // A screen reader ticks "Replace pattern with" and "Copy updated files to".
    for (FlagCheckBox* box : {c().replace, c().copy}) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(box);
        face->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        EXPECT_TRUE(box->isChecked());
    }
    EXPECT_FALSE(c().prepend->isEnabled());
    EXPECT_TRUE(c().copyDir->isEnabled());
    EXPECT_EQ(settings().Copy, 1);

    c().copy->setFocus();
    QTest::keyClick(c().copy, Qt::Key_Space);
    EXPECT_FALSE(c().copyDir->isEnabled());
}

TEST(AdvancedPatternAccessibility, KeysApplyTheModeRules)
{
    AdvancedPatternDialog advanced;
    advanced.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&advanced));
    auto* multiLine = child<QWidget>(&advanced, "multiLine");
    multiLine->setFocus();
    QTest::keyClick(multiLine, Qt::Key_Right);
    EXPECT_FALSE(child<QWidget>(&advanced, "pattern")->isEnabled());
    EXPECT_TRUE(child<QWidget>(&advanced, "prepend")->isEnabled());
}

// The controls that Tab reaches, in order, starting from the first.
std::vector<std::string> tabOrder(QWidget* window)
{
    std::vector<std::string> order;
    QWidget* first = window->nextInFocusChain();
    for (QWidget* w = first; w != window; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(window) &&
            !w->objectName().isEmpty() && !w->objectName().startsWith(u"qt_"))
            order.push_back(w->objectName().toStdString());
    }
    return order;
}

TEST(AdvancedPatternAccessibility, TabOrderFollowsTheLayout)
{
    AdvancedPatternDialog advanced;
    advanced.show();
    EXPECT_EQ(
        tabOrder(&advanced),
        (std::vector<std::string>{"multiLine", "prependAppend", "pattern", "patternCase", "replace",
                                  "repPattern", "prepend", "append", "ok", "cancel"}));
}

} // namespace
} // namespace quarvel::test
