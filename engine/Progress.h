#pragma once

namespace quarvel {

// The progress bar's position as the engine keeps it: range 0 to 100, steps
// of 3, starting again from 0 when a step would pass the top.
class Progress
{
public:
    static constexpr int kMaximum = 100;
    static constexpr int kStep = 3;

    void reset() { m_position = 0; }
    void setPosition(int position) { m_position = position; }
    int position() const { return m_position; }
    // One step; returns the new position. A step taken from exactly 100
    // leaves 0.
    int step()
    {
        const int previous = m_position;
        m_position += kStep;
        if (m_position > kMaximum)
            m_position = 0;
        if (previous == kMaximum)
            m_position = 0;
        return m_position;
    }

private:
    int m_position = 0;
};

} // namespace quarvel
