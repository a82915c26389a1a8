// The end-to-end test run: the wxWidgets backend on the X server of $DISPLAY (CI runs this
// binary under xvfb-run), a screenshot for every failed assertion.
#include "platform/wx/wx_backend.h"
#include "platform/wx/wx_driver.h"
#include "tests/e2e/wx_test_environment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>

namespace {

class WxEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        const char* display = std::getenv("DISPLAY");
        if (!display) {
            std::cout << "end-to-end tests skip: DISPLAY is not set\n";
            return;
        }
        // With a display given, a backend that does not start is a failure: skipping would pass
        // the run without a single dialog shown.
        std::string error;
        m_toolkit = wxui::InstallWxBackend(&error);
        if (!m_toolkit)
            ADD_FAILURE() << "the wxWidgets backend did not start on display " << display << ": "
                          << error;
    }
    void TearDown() override { m_toolkit.reset(); }

    wxui::WxInstallation* Toolkit() const { return m_toolkit.get(); }

private:
    std::unique_ptr<wxui::WxInstallation> m_toolkit;
};

WxEnvironment* g_environment = nullptr;

// Saves what the screen shows when an assertion fails (while the dialog is up, inside a step),
// or else the window that closed last.
class ScreenshotOnFailure : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo& test) override {
        m_name = std::string(test.test_suite_name()) + "." + test.name();
        for (char& ch : m_name)
            if (ch == '/')
                ch = '_';
        m_count = 0;
    }
    void OnTestPartResult(const ::testing::TestPartResult& result) override {
        wxui::WxInstallation* toolkit = WxToolkit();
        if (!result.failed() || !toolkit)
            return;
        std::filesystem::create_directories(ArtifactDirectory());
        const std::string path =
            ArtifactDirectory() + "/" + m_name + "-" + std::to_string(++m_count) + ".png";
        const bool saved = toolkit->Backend().HasOpenWindow()
                               ? toolkit->Backend().SaveScreenImage(path)
                               : toolkit->Backend().SaveLastClosedWindowImage(path);
        if (saved)
            std::cout << "screenshot of the failure: " << path << '\n';
    }

private:
    std::string m_name = "setup";
    int m_count = 0;
};

} // namespace

wxui::WxInstallation* WxToolkit() {
    return g_environment ? g_environment->Toolkit() : nullptr;
}

std::string ArtifactDirectory() {
    const char* directory = std::getenv("EXPLORER_E2E_ARTIFACTS");
    return directory ? directory : "e2e-artifacts";
}

int main(int argc, char** argv) {
    // The suites for every backend run here on the wxWidgets backend only; their headless runs are
    // the unit suite's.
    UnregisterUiDriver("headless");
    RegisterUiDriver("wx", []() -> std::unique_ptr<UiDriver> {
        wxui::WxInstallation* toolkit = WxToolkit();
        if (!toolkit)
            return nullptr;
        return std::make_unique<wxui::WxTestDriver>(toolkit->Backend());
    });
    ::testing::InitGoogleTest(&argc, argv);
    g_environment = new WxEnvironment;
    ::testing::AddGlobalTestEnvironment(g_environment);
    ::testing::UnitTest::GetInstance()->listeners().Append(new ScreenshotOnFailure);
    return RUN_ALL_TESTS();
}
