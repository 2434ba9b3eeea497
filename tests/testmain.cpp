// Test entry point: gives each test program its own settings and temporary folders,
// so tests never touch the user's files and can run in parallel.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv)
{
    std::string base = (std::filesystem::temp_directory_path() / "tarvelo-test-XXXXXX").string();
    const char* made = ::mkdtemp(base.data());
    if (made) {
        const std::filesystem::path root(made);
        std::filesystem::create_directories(root / "config");
        std::filesystem::create_directories(root / "tmp");
        ::setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
        ::setenv("TMPDIR", (root / "tmp").c_str(), 1);
    }
    ::testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    if (made) {
        std::error_code ignored;
        std::filesystem::remove_all(made, ignored);
    }
    return status;
}
