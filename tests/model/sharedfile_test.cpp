// One portfolio file written by several documents (programs): the lock, the merge of
// new quotations into a file that changed, the reload that keeps item handles, and
// saves that keep what the file is (link, hard links, mode, owner).
#include "model/archive.h"
#include "model/portfoliodocument.h"
#include "platform/filelock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

namespace fs = std::filesystem;

namespace tarvelo {
namespace {

class SharedFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / ("shared-file-test-" + std::to_string(::getpid()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        m_path = (m_folder / "Depot.qvx").string();
        PortfolioDocument doc;
        for (const char* name : {"Alpha", "Beta", "Gamma"}) {
            ItemSettings settings;
            settings.name = name;
            settings.server.url = std::string("http://example.invalid/") + name;
            doc.addItem(settings);
        }
        ASSERT_TRUE(doc.saveFile(m_path).ok());
    }
    void TearDown() override
    {
        ::unsetenv("TARVELO_LOCK_WAIT");
        fs::remove_all(m_folder);
    }

    static ItemKey named(const PortfolioDocument& doc, const std::string& name)
    {
        const auto found = doc.findItemsByName(name);
        return found.size() == 1 ? found.front() : ItemKey{};
    }
    // The values of an item's history as the file holds it now.
    std::vector<double> valuesOnDisk(const std::string& name) const
    {
        std::vector<double> values;
        const LoadResult loaded = loadPortfolioFile(m_path);
        EXPECT_TRUE(loaded.ok()) << loaded.message();
        for (const auto& item : loaded->items) {
            if (item->settings().name == name) {
                for (const Quotation& record : item->history())
                    values.push_back(record.value);
            }
        }
        return values;
    }

    fs::path m_folder;
    std::string m_path;
};

TEST_F(SharedFileTest, ALongUpdateMergesIntoWhatAnotherProgramSavedMeanwhile)
{
    // The update reads the file and downloads without the lock ...
    PortfolioDocument update;
    ASSERT_TRUE(update.openFile(m_path).ok());
    const ItemKey alpha = named(update, "Alpha");
    const ItemKey gamma = named(update, "Gamma");
    update.markBeingUpdated(alpha);
    update.markBeingUpdated(gamma);

    // ... while a script adds a quotation and a new item, and deletes Gamma.
    {
        PortfolioDocument script;
        ASSERT_TRUE(script.lockFile(m_path).ok());
        ASSERT_TRUE(script.openFile(m_path).ok());
        script.insertQuotation(named(script, "Beta"), 7.0, 1000);
        ItemSettings added;
        added.name = "Delta";
        script.addItem(added);
        script.deleteItems({named(script, "Gamma")});
        ASSERT_TRUE(script.saveFile(m_path).ok());
    }
    EXPECT_EQ(update.diskState(), PortfolioDocument::DiskState::Changed);

    update.applyDownloadedQuotation(alpha, Quotation{2000, 31.5});
    update.applyDownloadedQuotation(gamma, Quotation{2000, 12.0});
    ASSERT_TRUE(update.hasNewQuotations());
    const DocumentResult saved = update.saveMerged();
    ASSERT_TRUE(saved.ok()) << saved.message();
    // Gamma has gone from the file: its quotation is reported, not resurrected.
    EXPECT_NE(saved->warning.find("\"Gamma\""), std::string::npos) << saved->warning;

    EXPECT_EQ(valuesOnDisk("Alpha"), std::vector<double>{31.5});
    EXPECT_EQ(valuesOnDisk("Beta"), std::vector<double>{7.0});
    EXPECT_TRUE(valuesOnDisk("Gamma").empty());
    // The document is now the merged file; Alpha kept its handle.
    EXPECT_EQ(update.itemCount(), 3u);
    EXPECT_EQ(update.itemName(alpha), "Alpha");
    EXPECT_TRUE(named(update, "Delta"));
    EXPECT_FALSE(update.isModified());
    EXPECT_EQ(update.diskState(), PortfolioDocument::DiskState::Unchanged);
}

// The same quotation downloaded twice, by one program within a minute or by two
// programs on one file, and the same batch imported by both, is stored once; a
// quotation of the same time with another value, and one typed by the user, are kept.
TEST_F(SharedFileTest, EqualQuotationsAreStoredOnce)
{
    PortfolioDocument window, script;
    ASSERT_TRUE(window.openFile(m_path).ok());
    ASSERT_TRUE(script.openFile(m_path).ok());
    const std::vector<Quotation> batch = {{3000, 4.0}, {3000, 4.0}, {4000, 5.0}};
    for (PortfolioDocument* doc : {&window, &script}) {
        const ItemKey alpha = named(*doc, "Alpha");
        doc->markBeingUpdated(alpha);
        // The same page, unchanged, read by both programs and again within its minute.
        doc->applyDownloadedQuotation(alpha, Quotation{doc == &window ? 2000 : 2030, 31.5});
        EXPECT_FALSE(doc->isBeingUpdated(alpha));
        doc->applyDownloadedQuotation(alpha, Quotation{2015, 31.5});
        doc->applyDownloadedQuotation(alpha, Quotation{2000, 31.25});
        EXPECT_EQ(doc->insertQuotations(named(*doc, "Beta"), batch), 2u);
        doc->insertQuotation(named(*doc, "Gamma"), 1.0, 1000);
        ASSERT_TRUE(doc->saveMerged().ok());
    }
    EXPECT_EQ(valuesOnDisk("Alpha"), (std::vector<double>{31.25, 31.5}));
    EXPECT_EQ(valuesOnDisk("Beta"), (std::vector<double>{4.0, 5.0}));
    EXPECT_EQ(valuesOnDisk("Gamma"), (std::vector<double>{1.0, 1.0}));
}

TEST_F(SharedFileTest, AnUnchangedDocumentReloadsKeepingHandlesAndUpdates)
{
    PortfolioDocument window;
    ASSERT_TRUE(window.openFile(m_path).ok());
    const ItemKey beta = named(window, "Beta");
    window.markBeingUpdated(beta);
    {
        PortfolioDocument script;
        ASSERT_TRUE(script.openFile(m_path).ok());
        script.insertQuotation(named(script, "Beta"), 3.0, 500);
        ASSERT_TRUE(script.saveFile(m_path).ok());
    }
    ASSERT_EQ(window.diskState(), PortfolioDocument::DiskState::Changed);
    ASSERT_TRUE(window.reloadFromDisk().ok());
    ASSERT_NE(window.quotations(beta), nullptr);
    EXPECT_EQ(window.quotations(beta)->size(), 1u);
    // The download that was running for Beta still lands on it.
    EXPECT_TRUE(window.isBeingUpdated(beta));
    window.applyDownloadedQuotation(beta, Quotation{900, 4.0});
    EXPECT_EQ(window.quotations(beta)->size(), 2u);
    EXPECT_FALSE(window.anyBeingUpdated());
}

TEST_F(SharedFileTest, AWriterWaitsABoundedTimeAndNamesTheHolder)
{
    FileLock other;
    ASSERT_EQ(other.acquire(m_path, std::chrono::milliseconds(0)), FileLock::Result::Locked);
    ::setenv("TARVELO_LOCK_WAIT", "0.2", 1);
    PortfolioDocument doc;
    ASSERT_TRUE(doc.openFile(m_path).ok());
    doc.insertQuotation(named(doc, "Alpha"), 1.0, 100);
    const Result<void> saved = doc.saveFile(m_path);
    EXPECT_FALSE(saved.ok());
    EXPECT_NE(saved.message().find("(process " + std::to_string(::getpid()) + ")"), std::string::npos) << saved.message();
    EXPECT_TRUE(valuesOnDisk("Alpha").empty());
    other.release();
    EXPECT_TRUE(doc.saveFile(m_path).ok());
    EXPECT_EQ(valuesOnDisk("Alpha"), std::vector<double>{1.0});
}

TEST_F(SharedFileTest, ASaveKeepsLinksModeAndOwner)
{
    PortfolioDocument doc;
    ASSERT_TRUE(doc.openFile(m_path).ok());

    // Through a symbolic link the target gets the quotation; the link stays a link.
    const fs::path link = m_folder / "link.qvx";
    fs::create_symlink("Depot.qvx", link);
    ::chmod(m_path.c_str(), 0640);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(m_path.c_str(), 12345, 23456), 0);
    }
    doc.insertQuotation(named(doc, "Alpha"), 1.0, 100);
    ASSERT_TRUE(doc.saveFile(link.string()).ok());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(valuesOnDisk("Alpha"), std::vector<double>{1.0});
    struct stat info {};
    ASSERT_EQ(::stat(m_path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(info.st_uid, 12345u);
        EXPECT_EQ(info.st_gid, 23456u);
    }

    // A second hard link sees the new contents, and no copy of the old is left.
    const fs::path hard = m_folder / "hard.qvx";
    fs::create_hard_link(m_path, hard);
    doc.insertQuotation(named(doc, "Alpha"), 2.0, 200);
    ASSERT_TRUE(doc.saveFile(m_path).ok());
    EXPECT_EQ(fs::hard_link_count(m_path), 2u);
    const LoadResult viaHard = loadPortfolioFile(hard.string());
    ASSERT_TRUE(viaHard.ok());
    EXPECT_EQ(viaHard->items[0]->history().size(), 2u);
    for (const auto& entry : fs::directory_iterator(m_folder))
        EXPECT_EQ(entry.path().filename().string().find(".tarvelo-"), std::string::npos) << entry.path();
}

// A save of a file with two hard links writes in place; a child process that saves is
// stopped in the middle of writing (the file shorter than before), killed, and the file
// opened under its other name: the backup is found and the whole file comes back.
TEST_F(SharedFileTest, AHardLinkedFileKilledInTheMiddleOfASaveIsRestored)
{
    {
        PortfolioDocument doc;
        ASSERT_TRUE(doc.openFile(m_path).ok());
        std::vector<Quotation> history;
        for (int i = 0; i < 300000; ++i)
            history.push_back({1000 + i, 1.0 + i});
        for (const ItemKey pos : doc.itemPositions())
            doc.insertQuotations(pos, history);
        ASSERT_TRUE(doc.saveFile(m_path).ok());
    }
    const fs::path hard = m_folder / "hard.qvx";
    fs::create_hard_link(m_path, hard);
    for (const int signal : {SIGKILL, SIGTERM}) {
        SCOPED_TRACE(signal);
        const std::uintmax_t whole = fs::file_size(m_path);
        bool damaged = false;
        // Until one kill lands while the file is half written (a save may finish between
        // the look at its size and the stop).
        for (int round = 0; round < 20 && !damaged; ++round) {
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                PortfolioDocument doc;
                if (!doc.openFile(m_path).ok())
                    ::_exit(3);
                const ItemKey alpha = doc.itemPositions().front();
                for (int i = 0;; ++i) {
                    doc.insertQuotation(alpha, 5.0, 2000000 + i);
                    (void)doc.saveFile(m_path); // until the parent kills this child mid-save
                }
            }
            struct stat info {};
            for (;;) {
                if (::stat(hard.c_str(), &info) == 0 && static_cast<std::uintmax_t>(info.st_size) < whole)
                    break;
                int status = 0;
                ASSERT_EQ(::waitpid(child, &status, WNOHANG), 0) << "the saving process ended by itself";
            }
            ::kill(child, SIGSTOP);
            damaged = !loadPortfolioFile(hard.string()).ok();
            ::kill(child, signal);
            ::kill(child, SIGCONT);
            ASSERT_EQ(::waitpid(child, nullptr, 0), child);

            PortfolioDocument doc;
            const DocumentResult opened = doc.openFile(hard.string());
            ASSERT_TRUE(opened.ok()) << opened.message();
            EXPECT_EQ(doc.itemCount(), 3u);
            EXPECT_GE(doc.quotations(doc.itemPositions().back())->size(), 300000u);
            if (damaged) {
                EXPECT_NE(opened->warning.find("has been restored from"), std::string::npos) << opened->warning;
                EXPECT_TRUE(opened->leftBackups.empty());
            }
            // Both names still hold one file, and no backup is left behind unnamed.
            EXPECT_EQ(fs::hard_link_count(m_path), 2u);
            EXPECT_TRUE(fs::equivalent(m_path, hard));
            for (const auto& entry : fs::directory_iterator(m_folder)) {
                const std::string name = entry.path().filename().string();
                if (name.find(".tarvelo-backup-") == std::string::npos)
                    continue;
                EXPECT_NE(std::find(opened->leftBackups.begin(), opened->leftBackups.end(), entry.path().string()),
                          opened->leftBackups.end())
                    << name;
                fs::remove(entry.path());
            }
        }
        EXPECT_TRUE(damaged) << "no kill landed while the file was written";
    }
}

TEST_F(SharedFileTest, TemporaryFilesOfKilledSavesGoAfterAnHour)
{
    const auto make = [&](const char* name, std::time_t age) {
        const fs::path path = m_folder / name;
        std::ofstream(path) << "partial";
        const utimbuf times{std::time(nullptr) - age, std::time(nullptr) - age};
        ::utime(path.c_str(), &times);
        return path;
    };
    const fs::path old = make(".Other.qvx.tarvelo-save-AbC123", 7200);
    const fs::path fresh = make(".Other.qvx.tarvelo-save-XyZ789", 60);
    const fs::path foreign = make(".Other.qvx.keep", 7200);
    PortfolioDocument doc;
    ASSERT_TRUE(doc.openFile(m_path).ok());
    ASSERT_TRUE(doc.saveFile(m_path).ok());
    EXPECT_FALSE(fs::exists(old));
    EXPECT_TRUE(fs::exists(fresh)); // perhaps a save in progress
    EXPECT_TRUE(fs::exists(foreign));
}

} // namespace
} // namespace tarvelo
