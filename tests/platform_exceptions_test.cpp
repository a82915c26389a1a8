#include "platform/exceptions.h"
#include "platform/user_notifier.h"

#include <cstring>
#include <gtest/gtest.h>
#include <memory>

namespace {
class Silent : public CException {
public:
    using CException::GetErrorMessage;
    CString GetErrorMessage() const override { return CString(); }
};
} // namespace

TEST(ExceptionsTest, ReportErrorShowsTheMessageUnderTheApplicationTitle) {
    RecordingNotifier notifier;
    ScopedUserNotifier scope(notifier);
    notifier.Answer(IDNO);

    const CDaoException error(3021, "Kein aktueller Datensatz.");
    EXPECT_EQ(error.ReportError(MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(error.ReportError(MB_YESNO), IDYES); // the script is used up: the first button
    EXPECT_EQ(COleException(DISP_E_OVERFLOW, "Überlauf.").ReportError(MB_OKCANCEL), IDOK);
    EXPECT_EQ(Silent().ReportError(MB_OK, 11), IDOK);
    Silent().ReportError(MB_OK, 99999);
    Silent().ReportError();
    CMemoryException().ReportError();

    ASSERT_EQ(notifier.messages.size(), 7u);
    for (const auto& message : notifier.messages)
        EXPECT_EQ(message.caption, "Tarvosil");
    EXPECT_EQ(notifier.messages[0].text, "Kein aktueller Datensatz.");
    EXPECT_EQ(notifier.messages[0].type, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(notifier.messages[2].text, "Überlauf.");
    EXPECT_EQ(notifier.messages[3].text, "Fehler beim Umbenennen.");
    EXPECT_EQ(notifier.messages[4].text, "Keine Fehlermeldung verfügbar.");
    EXPECT_EQ(notifier.messages[5].text, "Keine Fehlermeldung verfügbar.");
    EXPECT_EQ(notifier.messages[6].text, "Nicht genügend Arbeitsspeicher.");
}

TEST(ExceptionsTest, MessageIntoABufferAndWhat) {
    const COleException error(DISP_E_TYPEMISMATCH, "Typen unverträglich.");
    EXPECT_STREQ(error.what(), "Typen unverträglich.");

    char buffer[32];
    UINT help = 99;
    EXPECT_TRUE(error.GetErrorMessage(buffer, sizeof buffer, &help));
    EXPECT_STREQ(buffer, "Typen unverträglich.");
    EXPECT_EQ(help, 0u);
    EXPECT_TRUE(error.GetErrorMessage(buffer, 6));
    EXPECT_STREQ(buffer, "Typen");
    // "Typen unvertr" + the first byte of "ä" would fit 15; the character is not cut in two.
    EXPECT_TRUE(error.GetErrorMessage(buffer, 15));
    EXPECT_STREQ(buffer, "Typen unvertr");
    EXPECT_FALSE(error.GetErrorMessage(buffer, 0));
    // Bytes that are no UTF-8 are characters of their own: three euro signs another program
    // wrote are cut after the second, not before the first.
    const COleException stray(DISP_E_TYPEMISMATCH, "Preis \x80\x80\x80");
    EXPECT_TRUE(stray.GetErrorMessage(buffer, 9));
    EXPECT_STREQ(buffer, "Preis \x80\x80");

    std::memcpy(buffer, "junk", 5);
    EXPECT_FALSE(Silent().GetErrorMessage(buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "");
}

TEST(ExceptionsTest, CopiedDaoExceptionOwnsItsErrorInfo) {
    auto original = std::make_unique<CDaoException>(3265, "Element nicht gefunden.", "DAO.Fields");
    original->m_scode = E_OUTOFMEMORY;
    const CDaoException copy(*original);
    CDaoException assigned(1, "x");
    assigned = *original;
    original.reset(); // a pointer into the original would now dangle

    for (const CDaoException* error : {&copy, static_cast<const CDaoException*>(&assigned)}) {
        ASSERT_NE(error->m_pErrorInfo, nullptr);
        EXPECT_EQ(error->m_pErrorInfo->m_lErrorCode, 3265);
        EXPECT_EQ(error->m_pErrorInfo->m_strSource, "DAO.Fields");
        EXPECT_EQ(error->GetErrorMessage(), "Element nicht gefunden.");
        EXPECT_EQ(error->GetErrorCode(), 3265);
        EXPECT_EQ(error->m_scode, E_OUTOFMEMORY);
    }
    EXPECT_NE(copy.m_pErrorInfo, assigned.m_pErrorInfo);

    try {
        throw CDaoException(3020, "Update ohne AddNew oder Edit.");
    } catch (const CException& error) {
        EXPECT_STREQ(error.what(), "Update ohne AddNew oder Edit.");
    }
}

TEST(UserNotifierTest, NotifierIsReplaceableAndDefaultsToStandardError) {
    RecordingNotifier outer;
    {
        ScopedUserNotifier outerScope(outer);
        RecordingNotifier inner;
        {
            ScopedUserNotifier innerScope(inner);
            EXPECT_EQ(AfxMessageBox(10, MB_OKCANCEL), IDOK);
            EXPECT_TRUE(MessageBeep(MB_ICONEXCLAMATION));
        }
        ASSERT_EQ(inner.messages.size(), 1u);
        EXPECT_EQ(inner.messages[0].text, "Sie müssen den namen eingeben.");
        EXPECT_EQ(inner.beeps, std::vector<UINT>{MB_ICONEXCLAMATION});
        outer.Answer(IDCANCEL);
        EXPECT_EQ(AfxMessageBox("Weiter?", MB_OKCANCEL), IDCANCEL);
        EXPECT_EQ(AfxMessageBox(99999u), IDOK);
    }
    ASSERT_EQ(outer.messages.size(), 2u);
    EXPECT_EQ(outer.messages[0].text, "Weiter?");
    EXPECT_EQ(outer.messages[1].text, "");

    EXPECT_NE(&CurrentUserNotifier(), &outer);
    testing::internal::CaptureStderr();
    const int answer = AfxMessageBox("Hallo", MB_YESNO);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Tarvosil: Hallo\n");
    EXPECT_EQ(answer, IDYES);
    testing::internal::CaptureStderr();
    EXPECT_EQ(CurrentUserNotifier().ShowMessage("x", "y", MB_RETRYCANCEL), IDRETRY);
    EXPECT_EQ(CurrentUserNotifier().ShowMessage("x", "y", MB_ABORTRETRYIGNORE), IDABORT);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "y: x\ny: x\n");
    EXPECT_TRUE(MessageBeep(MB_OK));

    UserNotifier* previous = SetUserNotifier(&outer);
    EXPECT_EQ(&CurrentUserNotifier(), &outer);
    EXPECT_EQ(SetUserNotifier(nullptr), &outer); // null brings the default back
    EXPECT_EQ(&CurrentUserNotifier(), previous);
}
