#include "platform/atomicfilewriter.h"
#include "platform/files.h"
#include "platform/tempfile.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace tarvelo {
namespace {

fs::path freshFolder(const char* name)
{
    const fs::path folder = fs::temp_directory_path() / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

TEST(files, TemporaryFilesAreUniqueAndCarryThePrefix)
{
    const std::string a = createTempFile("QVX");
    const std::string b = createTempFile("QVX");
    ASSERT_FALSE(a.empty());
    EXPECT_NE(a, b);
    EXPECT_EQ(fs::path(a).filename().string().rfind("QVX", 0), 0u);
    EXPECT_EQ(fs::path(a).parent_path(), fs::temp_directory_path());
    EXPECT_EQ(fs::file_size(a), 0u);
    fs::remove(a);
    fs::remove(b);
}

TEST(files, AtomicWriteReplacesWholeOrNotAtAll)
{
    const fs::path folder = freshFolder("atomic");
    const std::string path = (folder / "p.qvx").string();
    ASSERT_EQ(writeFileAtomically(path, "old contents"), FileError::None);
    {
        AtomicFileWriter writer;
        ASSERT_EQ(writer.open(path), FileError::None);
        ASSERT_EQ(writer.write("new", 3), FileError::None);
        // Not committed: the old file stays and the temporary file goes.
    }
    std::string contents;
    ASSERT_EQ(readWholeFile(path, contents), FileError::None);
    EXPECT_EQ(contents, "old contents");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);

    ASSERT_EQ(writeFileAtomically(path, "new contents"), FileError::None);
    ASSERT_EQ(readWholeFile(path, contents), FileError::None);
    EXPECT_EQ(contents, "new contents");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST(files, ErrorsAreClassified)
{
    const fs::path folder = freshFolder("errors");
    std::string contents;
    EXPECT_EQ(readWholeFile((folder / "missing").string(), contents), FileError::NotFound);
    EXPECT_EQ(readWholeFile(folder.string(), contents), FileError::NotFound);
    EXPECT_EQ(writeFileAtomically((folder / "no" / "such" / "folder.qvx").string(), "x"), FileError::NotFound);
}

} // namespace
} // namespace tarvelo
