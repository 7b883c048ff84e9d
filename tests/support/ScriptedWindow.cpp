#include "tests/support/ScriptedWindow.h"

#include "report/ConfirmMessage.h"

namespace quarvel::test {

ConfirmResult ScriptedWindow::confirm(const ConfirmationQuestion& question)
{
    questions.push_back(ConfirmMessage(question));
    if (answers.empty())
        return ConfirmResult::Yes;
    const ConfirmResult answer = answers.front();
    answers.pop_front();
    return answer;
}

} // namespace quarvel::test
