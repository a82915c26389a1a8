#include "tests/support/temp_dir.h"

#include <cstdlib>
#include <stdexcept>
#include <system_error>

TempDir::TempDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "explorer-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary directory");
    m_path = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}
