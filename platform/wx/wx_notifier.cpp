#include "platform/wx/wx_internal.h"

#include <wx/button.h>
#include <wx/msgdlg.h>
// After the base it derives from.
#include <wx/generic/msgdlgg.h>
#include <wx/utils.h>

namespace wxui {

namespace {

constexpr UINT kDefaultButtonMask = 0x00000F00;
constexpr UINT kSecondButtonDefault = 0x00000100;

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
        long style = wxCENTRE;
        std::vector<Button> buttons;
        std::vector<wxString> labels;
        switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL:
            style |= wxOK | wxCANCEL;
            buttons = {{IDOK, wxID_OK}, {IDCANCEL, wxID_CANCEL}};
            labels = {"OK", "Abbrechen"};
            break;
        case MB_ABORTRETRYIGNORE:
            style |= wxYES_NO | wxCANCEL;
            buttons = {{IDABORT, wxID_YES}, {IDRETRY, wxID_NO}, {IDIGNORE, wxID_CANCEL}};
            labels = {"&Abbrechen", "&Wiederholen", "&Ignorieren"};
            break;
        case MB_YESNOCANCEL:
            style |= wxYES_NO | wxCANCEL;
            buttons = {{IDYES, wxID_YES}, {IDNO, wxID_NO}, {IDCANCEL, wxID_CANCEL}};
            labels = {"&Ja", "&Nein", "Abbrechen"};
            break;
        case MB_YESNO:
            style |= wxYES_NO;
            buttons = {{IDYES, wxID_YES}, {IDNO, wxID_NO}};
            labels = {"&Ja", "&Nein"};
            break;
        case MB_RETRYCANCEL:
            style |= wxOK | wxCANCEL;
            buttons = {{IDRETRY, wxID_OK}, {IDCANCEL, wxID_CANCEL}};
            labels = {"&Wiederholen", "Abbrechen"};
            break;
        default:
            style |= wxOK;
            buttons = {{IDOK, wxID_OK}};
            labels = {"OK"};
            break;
        }
        switch (type & MB_ICONMASK) {
        case MB_ICONHAND:
            style |= wxICON_ERROR;
            break;
        case MB_ICONQUESTION:
            style |= wxICON_QUESTION;
            break;
        case MB_ICONEXCLAMATION:
            style |= wxICON_EXCLAMATION;
            break;
        case MB_ICONASTERISK:
            style |= wxICON_INFORMATION;
            break;
        default:
            break;
        }
        if ((type & kDefaultButtonMask) == kSecondButtonDefault && (style & wxYES_NO))
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
