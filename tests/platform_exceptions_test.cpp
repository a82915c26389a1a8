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
