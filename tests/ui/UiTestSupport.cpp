#include "tests/ui/UiTestSupport.h"

#include "ui/ConfirmDialog.h"
#include "ui/MessageText.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

namespace quarvel::test {

ModalScript::ModalScript()
{
    connect(&m_timer, &QTimer::timeout, this, &ModalScript::look);
    m_timer.start(10);
}

void ModalScript::look()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible())
        return;
    if (qobject_cast<ConfirmDialog*>(modal) != nullptr)
        answer(modal);
    else if (modal->objectName() == QLatin1String("summaryBox"))
        closeSummary(modal);
    else if (onOtherDialog && modal->objectName() != QLatin1String("morphDialog"))
        onOtherDialog(modal);
}

void ModalScript::answer(QWidget* dialog)
{
    questions.push_back(child<MessageText>(dialog, "message")->text());
    if (onQuestion)
        onQuestion(dialog);
    std::string next = "no";
    if (answers.empty())
        ++unexpectedQuestions;
    else {
        next = answers.front();
        answers.pop_front();
    }
    if (next == "esc")
        QTest::keyClick(dialog, Qt::Key_Escape);
    else if (next == "close")
        dialog->close();
    else
        child<QPushButton>(dialog, next.c_str())->click();
}

void ModalScript::closeSummary(QWidget* box)
{
    summaries.push_back(static_cast<QMessageBox*>(box)->text());
    if (onSummary)
        onSummary();
    static_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
}

} // namespace quarvel::test
