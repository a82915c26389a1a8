#include "platform/double_click.h"

#include <cstdlib>

bool DoubleClickDetector::Press(int button, const void* window, CPoint point,
                                std::uint32_t timestamp) {
    if (m_first && m_first->button == button && m_first->window == window &&
        // Unsigned, so that a clock that wrapped around between the presses still counts.
        static_cast<std::uint32_t>(timestamp - m_first->timestamp) <= m_time &&
        std::labs(point.x - m_first->point.x) * 2 <= m_area.cx &&
        std::labs(point.y - m_first->point.y) * 2 <= m_area.cy) {
        m_first.reset();
        return true;
    }
    m_first = FirstPress{button, window, point, timestamp};
    return false;
}
