// Turning a mouse wheel into scrolling: whole notches from the deltas WM_MOUSEWHEEL brings, with
// the parts of a notch that fine wheels and touch pads send added up, and the lines a notch
// scrolls. Layer-internal, for the controls that scroll.
#pragma once

#include "platform/win_messages.h"

// Lines one notch scrolls: the desktop's usual setting.
constexpr int kWheelScrollLines = 3;

class WheelTurns {
public:
    // The whole notches `delta` completes (positive: turned away from the user); the rest waits
    // for the next turn in the same direction.
    int Notches(int delta) {
        if ((delta > 0 && m_rest < 0) || (delta < 0 && m_rest > 0))
            m_rest = 0; // turning back starts afresh
        m_rest += delta;
        const int notches = m_rest / WHEEL_DELTA;
        m_rest -= notches * WHEEL_DELTA;
        return notches;
    }

private:
    int m_rest = 0;
};
