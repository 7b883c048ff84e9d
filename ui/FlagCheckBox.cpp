#include "ui/FlagCheckBox.h"

namespace quarvel {

void FlagCheckBox::setFlag(std::int32_t value)
{
    if (value == 2) {
        setCheckState(Qt::PartiallyChecked);
        return;
    }
    setTristate(false);
    setChecked(value == 1);
}

std::int32_t FlagCheckBox::flag() const
{
    switch (checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    case Qt::Unchecked:
        break;
    }
    return 0;
}

void FlagCheckBox::nextCheckState()
{
    const bool tick = checkState() != Qt::Checked;
    setTristate(false);
    setChecked(tick);
}

} // namespace quarvel
