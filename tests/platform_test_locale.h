// Sets the locale variables for the lifetime of a test, as a user's session would have them, and
// restores what was there before.
#pragma once

#include <array>
#include <cstdlib>
#include <optional>
#include <string>

class ScopedLocaleEnvironment {
public:
    // `lcAll` null leaves LC_ALL unset; the category variables and LANG are unset unless given.
    explicit ScopedLocaleEnvironment(const char* lcAll, const char* lcTime = nullptr,
                                     const char* lcNumeric = nullptr, const char* lang = nullptr) {
        for (std::size_t i = 0; i < kNames.size(); ++i) {
            if (const char* value = std::getenv(kNames[i]))
                m_saved[i] = value;
        }
        const std::array<const char*, 4> values{lcAll, lcTime, lcNumeric, lang};
        for (std::size_t i = 0; i < kNames.size(); ++i)
            Set(kNames[i], values[i]);
    }
    ~ScopedLocaleEnvironment() {
        for (std::size_t i = 0; i < kNames.size(); ++i)
            Set(kNames[i], m_saved[i] ? m_saved[i]->c_str() : nullptr);
    }
    ScopedLocaleEnvironment(const ScopedLocaleEnvironment&) = delete;
    ScopedLocaleEnvironment& operator=(const ScopedLocaleEnvironment&) = delete;

private:
    static void Set(const char* name, const char* value) {
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }

    static constexpr std::array<const char*, 4> kNames{"LC_ALL", "LC_TIME", "LC_NUMERIC", "LANG"};
    std::array<std::optional<std::string>, 4> m_saved;
};

constexpr const char* kGerman = "de_DE.UTF-8";
constexpr const char* kAmerican = "en_US.UTF-8";
