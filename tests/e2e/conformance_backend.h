// The control-level conformance suite runs once per backend: each test binary instantiates it
// with the backends it can reach (the headless one everywhere, the wxWidgets one on a display).
#pragma once

#include "platform/ui_driver.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

struct ConformanceBackend {
    std::string name;
    // A driver on the backend, installed for its lifetime; null when the backend is not there.
    std::function<std::unique_ptr<UiDriver>()> makeDriver;
    // Assertion failures the toolkit reported so far, for backends that have a toolkit.
    std::function<int()> toolkitAssertions;
};

inline void PrintTo(const ConformanceBackend& backend, std::ostream* out) {
    *out << backend.name;
}

inline std::string
ConformanceBackendName(const ::testing::TestParamInfo<ConformanceBackend>& info) {
    return info.param.name;
}

class ConformanceTest : public ::testing::TestWithParam<ConformanceBackend> {
protected:
    void SetUp() override {
        m_driver = GetParam().makeDriver();
        if (!m_driver)
            GTEST_SKIP() << GetParam().name << " backend not available";
        if (GetParam().toolkitAssertions)
            m_assertionsBefore = GetParam().toolkitAssertions();
    }
    void TearDown() override {
        if (m_driver) {
            EXPECT_EQ(m_driver->PendingSteps(), 0u);
            for (const std::string& failure : m_driver->Failures())
                ADD_FAILURE() << failure;
            if (GetParam().toolkitAssertions) {
                EXPECT_EQ(GetParam().toolkitAssertions(), m_assertionsBefore)
                    << "the toolkit reported misuse (see its assertions above)";
            }
        }
        m_driver.reset();
    }

    UiDriver& driver() { return *m_driver; }

private:
    std::unique_ptr<UiDriver> m_driver;
    int m_assertionsBefore = 0;
};
