#include "engine/ConfirmationGate.h"

namespace quarvel {

ConfirmationGate::Decision ConfirmationGate::decide(const ConfirmationQuestion& question)
{
    if (m_cancelledAll)
        return {};
    if (!m_interactive)
        return {true, std::nullopt};
    switch (m_confirmer.confirm(question)) {
    case ConfirmResult::YesAll:
        m_interactive = false;
        return {true, OperationKind::ConfirmAll};
    case ConfirmResult::CancelAll:
        m_cancelledAll = true;
        return {false, OperationKind::CancelAll};
    case ConfirmResult::Yes:
        return {true, std::nullopt};
    case ConfirmResult::No:
    default:
        return {};
    }
}

} // namespace quarvel
