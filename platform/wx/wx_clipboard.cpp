// The desktop's clipboard, through the toolkit: text goes there for other programs to paste, and
// comes from whatever program put text there last.
#include "platform/wx/wx_internal.h"

#include <wx/clipbrd.h>
#include <wx/dataobj.h>

namespace wxui {

namespace {

// Open for the life of one transfer; another program holding it leaves it closed.
class OpenClipboard {
public:
    OpenClipboard() : m_open(wxTheClipboard->Open()) {}
    ~OpenClipboard() {
        if (m_open)
            wxTheClipboard->Close();
    }
    OpenClipboard(const OpenClipboard&) = delete;
    OpenClipboard& operator=(const OpenClipboard&) = delete;
    explicit operator bool() const { return m_open; }

private:
    bool m_open;
};

} // namespace

void WxBackend::SetClipboardText(const std::string& text) {
    OpenClipboard clipboard;
    if (clipboard)
        wxTheClipboard->SetData(new wxTextDataObject(ToolkitText(text)));
}

std::optional<std::string> WxBackend::ClipboardText() {
    OpenClipboard clipboard;
    if (!clipboard || !wxTheClipboard->IsSupported(wxDF_UNICODETEXT))
        return std::nullopt;
    wxTextDataObject data;
    if (!wxTheClipboard->GetData(data))
        return std::nullopt;
    return LayerText(data.GetText());
}

} // namespace wxui
