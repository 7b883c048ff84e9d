#pragma once

#include "engine/Confirmation.h"
#include "engine/Operation.h"

#include <optional>

namespace quarvel {

// The run's rule for asking: not interactive, every operation goes ahead at
// once; interactive, each is asked about. "Yes All" ends the questions and
// lets the rest of the run go ahead, "Cancel All" refuses the rest without
// asking. Both last until the end of the run.
class ConfirmationGate
{
public:
    struct Decision
    {
        bool goAhead = false;
        // ConfirmAll or CancelAll when this answer changed the rule: the run
        // records it as an operation of its own.
        std::optional<OperationKind> ruleChange;
    };

    ConfirmationGate(bool interactive, Confirmer& confirmer)
        : m_interactive(interactive), m_confirmer(confirmer)
    {
    }

    Decision decide(const ConfirmationQuestion& question);
    bool cancelledAll() const { return m_cancelledAll; }

private:
    bool m_interactive;
    bool m_cancelledAll = false;
    Confirmer& m_confirmer;
};

} // namespace quarvel
