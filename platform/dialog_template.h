// Dialog templates: a dialog's frame and its controls in dialog units, as the resource compiler
// would have laid them down.
#pragma once

#include "platform/win_types.h"

#include <span>

// Control classes a template can name.
enum class ControlClass { Button, Edit, Static, TreeView, ListView };

struct ControlTemplate {
    UINT id;
    ControlClass controlClass;
    const char* text;
    int x, y, cx, cy; // dialog units
    DWORD style;      // WS_ and class styles (WS_CHILD | WS_VISIBLE are implied)
    DWORD exStyle;
};

struct DialogTemplate {
    UINT id;
    DWORD style;
    DWORD exStyle;
    const char* title;
    const char* fontName;
    int pointSize;
    int x, y, cx, cy; // dialog units
    std::span<const ControlTemplate> controls;
};

// The library's dialog template `id`, or null.
const DialogTemplate* FindDialogTemplate(UINT id);
