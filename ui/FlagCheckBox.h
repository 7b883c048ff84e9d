#pragma once

#include <QCheckBox>
#include <cstdint>

namespace quarvel {

// A check box over a settings flag. 0 shows unticked, 1 ticked, 2 in the
// "indeterminate" state (read back as 2 until the user clicks it). A click
// toggles between ticked and unticked only.
class FlagCheckBox : public QCheckBox
{
    Q_OBJECT

public:
    using QCheckBox::QCheckBox;

    void setFlag(std::int32_t value);
    std::int32_t flag() const;

protected:
    void nextCheckState() override;
};

} // namespace quarvel
