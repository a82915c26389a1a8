// How a list or tree item's label shows its state. Layer-internal.
#pragma once

#include "platform/win_messages.h"

#include <optional>

struct LabelLook {
    bool highlighted = false; // in the highlight colours (and its icon blended with them)
    std::optional<int> back;  // a system colour to fill the label with; none: the control's
    std::optional<int> text;  // a system colour for its text; none: the control's
};

// The drop target, and the selection of the control with the focus, show in the highlight
// colours; a selection kept by a control without the focus shows in the face colour, so that
// which control the keyboard works on stays plain to see. `selectionShown`: selected, and shown
// at all (the focus, or the style that shows it always).
inline LabelLook LookOfLabel(bool dropTarget, bool selectionShown, bool focused) {
    if (dropTarget || (selectionShown && focused))
        return {true, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT};
    if (selectionShown)
        return {false, COLOR_BTNFACE, COLOR_BTNTEXT};
    return {};
}
