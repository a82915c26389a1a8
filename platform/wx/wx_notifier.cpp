#include "platform/wx/wx_internal.h"

#include <wx/button.h>
#include <wx/msgdlg.h>
// After the base it derives from.
#include <wx/generic/msgdlgg.h>
#include <wx/utils.h>

#include <cctype>

namespace wxui {

namespace {

// The toolkit's buttons standing for a box's buttons, in their order.
std::vector<int> ToolkitButtons(UINT type, long& style) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
    case MB_RETRYCANCEL:
        style |= wxOK | wxCANCEL;
        return {wxID_OK, wxID_CANCEL};
    case MB_ABORTRETRYIGNORE:
    case MB_YESNOCANCEL:
        style |= wxYES_NO | wxCANCEL;
        return {wxID_YES, wxID_NO, wxID_CANCEL};
    case MB_YESNO:
        style |= wxYES_NO;
        return {wxID_YES, wxID_NO};
    default:
        style |= wxOK;
        return {wxID_OK};
    }
}

long IconStyle(UINT type) {
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
        return wxICON_ERROR;
    case MB_ICONQUESTION:
        return wxICON_QUESTION;
    case MB_ICONEXCLAMATION:
        return wxICON_EXCLAMATION;
    case MB_ICONASTERISK:
        return wxICON_INFORMATION;
    default:
        return 0;
    }
}

struct Button {
    int answer;    // IDOK, IDYES, ...
    int toolkitId; // wxID_OK, wxID_YES, ...
};

// The toolkit's generic message dialog is made of real toolkit buttons, which a person (or an
// end-to-end test) finds and presses like any other.
class WxNotifier : public UserNotifier {
public:
    explicit WxNotifier(WxBackend::Impl& backend) : m_backend(backend) {}

    int ShowMessage(const CString& text, const CString& caption, UINT type) override {
        long style = wxCENTRE | IconStyle(type);
        const std::vector<MessageBoxButton> boxButtons = MessageBoxButtons(type);
        const std::vector<int> toolkitIds = ToolkitButtons(type, style);
        std::vector<Button> buttons;
        std::vector<wxString> labels;
        for (std::size_t i = 0; i < boxButtons.size(); ++i) {
            buttons.push_back({boxButtons[i].answer, toolkitIds[i]});
            labels.push_back(ToolkitText(boxButtons[i].label));
        }
        if ((type & MB_DEFMASK) == MB_DEFBUTTON2 && (style & wxYES_NO))
            style |= wxNO_DEFAULT;

        wxGenericMessageDialog dialog(m_backend.ParentForDialogs(), ToolkitText(text.c_str()),
                                      ToolkitText(caption.c_str()), style);
        if (style & wxYES_NO) {
            if (style & wxCANCEL)
                dialog.SetYesNoCancelLabels(labels[0], labels[1], labels[2]);
            else
                dialog.SetYesNoLabels(labels[0], labels[1]);
        } else if (style & wxCANCEL) {
            dialog.SetOKCancelLabels(labels[0], labels[1]);
        } else {
            dialog.SetOKLabel(labels[0]);
        }
        // A button's underlined letter answers without Alt as well, as in Windows' boxes, and
        // Escape only where the box has a cancel button or a single one; Enter stays the
        // toolkit's: it presses the button with the focus, at first the default one.
        dialog.Bind(wxEVT_CHAR_HOOK, [&](wxKeyEvent& event) {
            if (event.GetKeyCode() == WXK_ESCAPE && MessageBoxKeyAnswer(type, VK_ESCAPE) == 0)
                return;
            const wxChar typed = event.GetUnicodeKey();
            const bool plain = !event.HasAnyModifiers() || event.GetModifiers() == wxMOD_SHIFT;
            if (plain && typed < 0x80 && std::isalpha(static_cast<int>(typed))) {
                const int answer = MessageBoxKeyAnswer(
                    type, static_cast<UINT>(std::toupper(static_cast<int>(typed))));
                for (const Button& button : buttons)
                    if (answer != 0 && button.answer == answer) {
                        dialog.EndModal(button.toolkitId);
                        return;
                    }
            }
            event.Skip();
        });

        // Without a window manager nobody hands the new box the keyboard (the window that had it
        // may be gone): the box takes it itself once it is on the screen.
        dialog.Bind(wxEVT_SHOW, [&](wxShowEvent& event) {
            if (event.IsShown())
                dialog.CallAfter([&dialog] { dialog.Raise(); });
            event.Skip();
        });

        if (m_backend.listener)
            m_backend.listener->MessageShown(MessageBoxInfo{text, caption, type, 0});
        wxDialog* outerBox = std::exchange(m_backend.openBox, &dialog);
        auto outerButtons = m_backend.openBoxButtons;
        m_backend.openBoxButtons.clear();
        for (const Button& button : buttons)
            m_backend.openBoxButtons[button.answer] = button.toolkitId;
        m_backend.BeginNativeModal();
        const int result = dialog.ShowModal();
        m_backend.EndNativeModal();
        m_backend.openBox = outerBox;
        m_backend.openBoxButtons = outerButtons;

        // Closing the box without a button counts as its cancel, or its "no" when it has none.
        int answer = buttons.size() > 1 ? buttons.back().answer : buttons.front().answer;
        for (const Button& button : buttons)
            if (button.toolkitId == result)
                answer = button.answer;
        if (m_backend.listener)
            m_backend.listener->MessageAnswered(answer);
        return answer;
    }

    void Beep(UINT type) override {
        if (m_backend.listener)
            m_backend.listener->Beeped(type);
        wxBell();
    }

private:
    WxBackend::Impl& m_backend;
};

} // namespace

std::unique_ptr<UserNotifier> MakeWxNotifier(WxBackend::Impl& backend) {
    return std::make_unique<WxNotifier>(backend);
}

} // namespace wxui
