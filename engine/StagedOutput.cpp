#include "engine/StagedOutput.h"

namespace quarvel {

Status StagedOutput::Open()
{
    if (Status staged = m_stage(m_staged); !staged)
        return staged;
    return m_staged ? Status::ok() : Status::error(kDeclined);
}

} // namespace quarvel
