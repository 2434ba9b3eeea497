#pragma once

#include "download/downloadengine.h"
#include "download/statustext.h"
#include "download/updaterun.h"
#include "platform/files.h"

#include "tests/support/pageserver.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

// A portfolio, a page server and a download engine, and the messages of the downloads
// collected until every item has had its final one.
namespace tarvelo::test {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// A message with that code, as a worker would post it.
inline DownloadMessage message(DownloadCode code, DownloadError detail = DownloadError::None)
{
    DownloadMessage m;
    m.code = code;
    m.detail = detail;
    return m;
}

struct Received {
    MessageId id;
    std::unique_ptr<DownloadMessage> message;
};

class DownloadFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_temp = fs::path(std::getenv("TMPDIR"));
        for (const auto& entry : fs::directory_iterator(m_temp))
            fs::remove_all(entry.path());
    }
    void TearDown() override
    {
        m_engine.reset();
        // No download leaves a file behind.
        EXPECT_EQ(std::distance(fs::directory_iterator(m_temp), fs::directory_iterator()), 0);
    }

    ServerConfig pageConfig(const std::string& url, int timeout = 10)
    {
        ServerConfig config;
        config.url = url;
        config.timeout = timeout;
        config.textBeforeValue = "Kurs [&symbol]:";
        config.decimalSeparator = ",";
        return config;
    }

    ItemKey addItem(const std::string& name, const std::string& symbol, const ServerConfig& config)
    {
        ItemSettings settings;
        settings.name = name;
        settings.symbol = symbol;
        settings.server = config;
        return m_doc.addItem(settings);
    }

    // Takes messages until every entry has its final message; delivers them to the run
    // and cleans up.
    std::vector<Received> collect(std::size_t finals, UpdateRun* run = nullptr, std::chrono::seconds limit = 30s)
    {
        if (!run)
            run = &m_run;
        std::vector<Received> all;
        std::size_t seen = 0;
        const auto end = std::chrono::steady_clock::now() + limit;
        while (seen < finals && std::chrono::steady_clock::now() < end) {
            MessageQueue::Posted posted = m_queue.take(100ms);
            if (!posted.message)
                continue;
            if (isFinalCode(posted.message->code)) {
                ++seen;
                if (!m_keepPages)
                    settleUnmatchedPage(*posted.message, false);
            }
            run->deliver(*posted.message);
            all.push_back({posted.messageId, std::move(posted.message)});
        }
        EXPECT_EQ(seen, finals);
        return all;
    }

    static std::vector<DownloadCode> codesOf(const std::vector<Received>& messages, const std::string& item = "")
    {
        std::vector<DownloadCode> codes;
        for (const Received& r : messages) {
            if (item.empty() || r.message->itemName == item)
                codes.push_back(r.message->code);
        }
        return codes;
    }

    static const DownloadMessage& finalMessage(const std::vector<Received>& messages, const std::string& item = "")
    {
        for (const Received& r : messages) {
            if (isFinalCode(r.message->code) && (item.empty() || r.message->itemName == item))
                return *r.message;
        }
        static const DownloadMessage none;
        ADD_FAILURE() << "no final message";
        return none;
    }

    fs::path m_temp;
    bool m_keepPages = false; // pages without the quotation stay for the test to read
    test::PageServer m_server;
    PortfolioDocument m_doc;
    MessageQueue m_queue;
    std::unique_ptr<DownloadEngine> m_engine = std::make_unique<DownloadEngine>();
    UpdateRun m_run{m_doc, *m_engine, m_queue};
};

} // namespace tarvelo::test
