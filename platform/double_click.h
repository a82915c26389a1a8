// Tells the press that completes a double click from one that starts a new click, as the desktop
// does: the second press of one button on one window within the double-click time and inside the
// double-click rectangle around the first. The press after a double click starts anew, so a third
// quick press is a plain press again and a fourth completes the next double click. Toolkits that
// count triple clicks would otherwise swallow the second of two quick double clicks on one spot.
#pragma once

#include "platform/win_geometry.h"

#include <cstdint>
#include <optional>

class DoubleClickDetector {
public:
    // `time` in milliseconds; `area` the rectangle's width and height, centred on the first press.
    DoubleClickDetector(unsigned time, CSize area) : m_time(time), m_area(area) {}

    // A press of `button` on `window` at `point` (screen) at `timestamp` (milliseconds, any
    // origin, allowed to wrap around): true when it completes a double click.
    bool Press(int button, const void* window, CPoint point, std::uint32_t timestamp);
    // Forgets the last press: the next one starts a click whatever its time and place.
    void Forget() { m_first.reset(); }
    // Forgets the last press when it was on `window`, which is going away.
    void ForgetWindow(const void* window) {
        if (m_first && m_first->window == window)
            m_first.reset();
    }

private:
    struct FirstPress {
        int button;
        const void* window;
        CPoint point;
        std::uint32_t timestamp;
    };

    unsigned m_time;
    CSize m_area;
    std::optional<FirstPress> m_first; // a press that a second one may complete
};
