#include "tests/support/ScriptedWindow.h"

namespace quarvel::test {

ConfirmResult ScriptedWindow::askConfirmation(const std::string& message)
{
    questions.push_back(message);
    if (answers.empty())
        return ConfirmResult::Yes;
    const ConfirmResult answer = answers.front();
    answers.pop_front();
    return answer;
}

} // namespace quarvel::test
