#include "report/ConfirmMessage.h"

namespace quarvel {

std::string ConfirmMessage(const ConfirmationQuestion& question)
{
    std::string message = question.action;
    if (question.subject)
        message.append("\r\n").append(*question.subject);
    if (question.target)
        message.append(" to \r\n").append(*question.target);
    return message;
}

} // namespace quarvel
