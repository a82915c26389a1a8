#include "platform/wx/wx_internal.h"

#include <wx/defs.h>

#include <iterator>

namespace wxui {

namespace {

struct KeyPair {
    int wx;
    UINT vk;
};

// Keys that steer; letters and digits share their codes (upper-case ASCII) on both sides.
constexpr KeyPair kKeys[] = {
    {WXK_BACK, VK_BACK},
    {WXK_TAB, VK_TAB},
    {WXK_RETURN, VK_RETURN},
    {WXK_NUMPAD_ENTER, VK_RETURN},
    {WXK_ESCAPE, VK_ESCAPE},
    {WXK_SPACE, VK_SPACE},
    {WXK_PAGEUP, VK_PRIOR},
    {WXK_PAGEDOWN, VK_NEXT},
    {WXK_END, VK_END},
    {WXK_HOME, VK_HOME},
    {WXK_LEFT, VK_LEFT},
    {WXK_UP, VK_UP},
    {WXK_RIGHT, VK_RIGHT},
    {WXK_DOWN, VK_DOWN},
    {WXK_INSERT, VK_INSERT},
    {WXK_DELETE, VK_DELETE},
    {WXK_NUMPAD_DELETE, VK_DELETE},
    {WXK_SHIFT, VK_SHIFT},
    {WXK_CONTROL, VK_CONTROL},
    {WXK_ALT, VK_MENU},
    {WXK_MENU, VK_APPS},
    {WXK_WINDOWS_MENU, VK_APPS},
    {WXK_NUMPAD_ADD, VK_ADD},
    {WXK_NUMPAD_SUBTRACT, VK_SUBTRACT},
    {WXK_NUMPAD_MULTIPLY, VK_MULTIPLY},
    // The keypad's steering keys with Num Lock off; after the main keys, which the way back
    // from virtual keys finds first.
    {WXK_NUMPAD_PAGEUP, VK_PRIOR},
    {WXK_NUMPAD_PAGEDOWN, VK_NEXT},
    {WXK_NUMPAD_END, VK_END},
    {WXK_NUMPAD_HOME, VK_HOME},
    {WXK_NUMPAD_LEFT, VK_LEFT},
    {WXK_NUMPAD_UP, VK_UP},
    {WXK_NUMPAD_RIGHT, VK_RIGHT},
    {WXK_NUMPAD_DOWN, VK_DOWN},
    {WXK_NUMPAD_INSERT, VK_INSERT},
};

} // namespace

UINT VirtualKeyFromWx(int keyCode) {
    if ((keyCode >= 'A' && keyCode <= 'Z') || (keyCode >= '0' && keyCode <= '9'))
        return static_cast<UINT>(keyCode);
    if (keyCode >= 'a' && keyCode <= 'z')
        return static_cast<UINT>(keyCode - 'a' + 'A');
    if (keyCode >= WXK_F1 && keyCode <= WXK_F12)
        return VK_F1 + static_cast<UINT>(keyCode - WXK_F1);
    for (const KeyPair& pair : kKeys)
        if (pair.wx == keyCode)
            return pair.vk;
    return 0;
}

int WxKeyFromVirtual(UINT virtualKey) {
    if ((virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9'))
        return static_cast<int>(virtualKey);
    if (virtualKey >= VK_F1 && virtualKey < VK_F1 + 12)
        return WXK_F1 + static_cast<int>(virtualKey - VK_F1);
    for (const KeyPair& pair : kKeys)
        if (pair.vk == virtualKey)
            return pair.wx;
    return 0;
}

} // namespace wxui
