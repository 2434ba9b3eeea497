#include "tests/support/privatefolders.h"

#include <cstdlib>
#include <string>

namespace tarvelo::test {

PrivateFolders::PrivateFolders()
{
    std::string base = (std::filesystem::temp_directory_path() / "tarvelo-test-XXXXXX").string();
    if (!::mkdtemp(base.data()))
        return;
    m_root = base;
    std::filesystem::create_directories(m_root / "config");
    std::filesystem::create_directories(m_root / "tmp");
    ::setenv("XDG_CONFIG_HOME", (m_root / "config").c_str(), 1);
    ::setenv("TMPDIR", (m_root / "tmp").c_str(), 1);
}

PrivateFolders::~PrivateFolders()
{
    if (m_root.empty())
        return;
    std::error_code ignored;
    std::filesystem::remove_all(m_root, ignored);
}

} // namespace tarvelo::test
