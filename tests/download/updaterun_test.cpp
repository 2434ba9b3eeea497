#include "download/updaterun.h"

#include "download/downloadengine.h"

#include "tests/download/downloadfixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <vector>

namespace tarvelo {
namespace {

using test::message;

TEST(UpdateRunTest, CountsUpdatesAndAppliesFinalMessages)
{
    PortfolioDocument doc;
    ItemSettings settings;
    const ItemKey a = doc.addItem(settings);
    const ItemKey b = doc.addItem(settings);
    doc.insertQuotation(a, 12.5, 100);
    doc.markBeingUpdated(a);
    doc.markBeingUpdated(b);
    DownloadEngine engine;
    MessageQueue queue;
    UpdateRun run(doc, engine, queue);

    for (const ItemKey pos : {a, b}) {
        DownloadMessage init = message(DownloadCode::Initialized);
        init.itemKey = pos;
        run.deliver(init);
    }
    DownloadMessage test = message(DownloadCode::Initialized);
    test.test = true;
    run.deliver(test);
    EXPECT_EQ(run.runningUpdates(), 2);

    DownloadMessage done = message(DownloadCode::Done);
    done.itemKey = a;
    done.quotation = std::make_unique<Quotation>(Quotation{200, 1250.0});
    run.deliver(done);
    EXPECT_EQ(run.runningUpdates(), 1);
    EXPECT_DOUBLE_EQ(doc.quotations(a)->back().value, 12.5); // scaled by 0.01
    EXPECT_FALSE(doc.isBeingUpdated(a));

    DownloadMessage failed = message(DownloadCode::Error, DownloadError::Timeout);
    failed.itemKey = b;
    run.deliver(failed);
    EXPECT_EQ(run.runningUpdates(), 0);
    EXPECT_FALSE(doc.isBeingUpdated(b));
    EXPECT_TRUE(doc.quotations(b)->empty());

    // A test result changes nothing.
    DownloadMessage testDone = message(DownloadCode::Done);
    testDone.test = true;
    testDone.itemKey = b;
    testDone.quotation = std::make_unique<Quotation>(Quotation{300, 1.0});
    run.deliver(testDone);
    EXPECT_TRUE(doc.quotations(b)->empty());
    EXPECT_EQ(run.runningUpdates(), 0);
}

TEST(UpdateRunTest, AbortDropsFoundQuotationsUntilNoItemIsBeingUpdated)
{
    PortfolioDocument doc;
    ItemSettings settings;
    const ItemKey a = doc.addItem(settings), b = doc.addItem(settings), gone = doc.addItem(settings);
    doc.deleteItems({gone});
    DownloadEngine engine;
    MessageQueue queue;
    UpdateRun run(doc, engine, queue);
    const auto report = [&](ItemKey pos, bool found) {
        DownloadMessage m = message(found ? DownloadCode::Done : DownloadCode::Error, DownloadError::Timeout);
        m.itemKey = pos;
        if (found)
            m.quotation = std::make_unique<Quotation>(Quotation{200, 2.0});
        run.deliver(m);
    };
    doc.markBeingUpdated(a);
    doc.markBeingUpdated(b);
    engine.requestAbort();

    report(a, true);
    EXPECT_TRUE(doc.quotations(a)->empty());
    EXPECT_FALSE(doc.isBeingUpdated(a));
    EXPECT_TRUE(engine.abortRequested()); // b is still being updated
    report(b, true);
    EXPECT_TRUE(doc.quotations(b)->empty());
    EXPECT_FALSE(engine.abortRequested());

    doc.markBeingUpdated(a);
    report(a, true);
    EXPECT_EQ(doc.quotations(a)->size(), 1u);

    // Only the outcome of an item that is no longer being updated: the abort lasts as
    // long as another item is; a quotation for an item that has gone ends nothing.
    doc.markBeingUpdated(a);
    engine.requestAbort();
    report(b, false);
    EXPECT_TRUE(engine.abortRequested());
    report(a, false);
    EXPECT_FALSE(engine.abortRequested());
    engine.requestAbort();
    report(gone, true);
    EXPECT_TRUE(engine.abortRequested());
    report(gone, false);
    EXPECT_FALSE(engine.abortRequested());
}

using UpdateRunPages = test::DownloadFixture;

TEST_F(UpdateRunPages, TheBlockingFormTakesEveryResultUntilItsLastJobHasEnded)
{
    m_server.page("/ab.html", "Kurs A: 12,50 EUR Kurs B: 7,25 EUR");
    m_server.page("/c.html", "Kurs C: 3,00 EUR");
    const ItemKey a = addItem("A", "A", pageConfig(m_server.url("/ab.html")));
    const ItemKey b = addItem("B", "B", pageConfig(m_server.url("/ab.html")));
    const ItemKey c = addItem("C", "C", pageConfig(m_server.url("/c.html")));
    const ItemKey d = addItem("D", "D", pageConfig(m_server.url("/none.html")));
    DownloadEngine engine(1);
    UpdateRun run(m_doc, engine);
    EXPECT_EQ(run.start(m_doc.itemPositions()), 3);
    EXPECT_EQ(run.itemsStarted(), 4u);
    EXPECT_TRUE(run.underWay());

    // Each final message as the worker sent it, before the portfolio has it.
    std::map<std::string, bool> found;
    run.runToEnd([&](DownloadMessage& m) {
        EXPECT_TRUE(m_doc.isBeingUpdated(m.itemKey)) << m.itemName;
        found[m.itemName] = m.quotation != nullptr;
        settleUnmatchedPage(m, false);
    });
    EXPECT_EQ(found, (std::map<std::string, bool>{{"A", true}, {"B", true}, {"C", true}, {"D", false}}));
    EXPECT_DOUBLE_EQ(m_doc.quotations(a)->back().value, 12.5);
    EXPECT_DOUBLE_EQ(m_doc.quotations(b)->back().value, 7.25);
    EXPECT_DOUBLE_EQ(m_doc.quotations(c)->back().value, 3.0);
    EXPECT_TRUE(m_doc.quotations(d)->empty());
    EXPECT_FALSE(run.underWay());
    EXPECT_EQ(run.runningUpdates(), 0);

    // A run with nothing to update is over at once.
    UpdateRun empty(m_doc, engine);
    EXPECT_EQ(empty.start({}), 0);
    m_doc.markBeingUpdated(a);
    EXPECT_EQ(empty.start({a}), 0); // already being updated elsewhere
    m_doc.clearBeingUpdated(a);
    int finals = 0;
    empty.runToEnd([&](DownloadMessage&) { ++finals; });
    EXPECT_EQ(finals, 0);
    EXPECT_FALSE(empty.underWay());
}

TEST_F(UpdateRunPages, TheCallbackFormFinishesOnceNothingRunsOrWaits)
{
    m_server.page("/1.html", "Kurs A: 1,50 EUR");
    m_server.page("/2.html", "Kurs B: 2,50 EUR");
    const ItemKey a = addItem("A", "A", pageConfig(m_server.url("/1.html")));
    const ItemKey b = addItem("B", "B", pageConfig(m_server.url("/2.html")));
    // One slot: the second page waits while the first is read, and the count of
    // downloads under way comes back to 0 in between.
    DownloadEngine engine(1);
    std::vector<int> counts;
    int finished = 0;
    UpdateRun::Callbacks callbacks;
    callbacks.applied = [&](DownloadMessage& m) {
        if (isFinalCode(m.code)) {
            EXPECT_FALSE(m_doc.isBeingUpdated(m.itemKey)) << m.itemName;
            EXPECT_FALSE(m.quotation) << m.itemName; // the portfolio has taken it
        }
    };
    callbacks.runningChanged = [&](int running) { counts.push_back(running); };
    callbacks.finished = [&] { ++finished; };
    UpdateRun run(m_doc, engine, m_queue, std::move(callbacks));
    run.abort(); // nothing under way: no abort
    EXPECT_FALSE(engine.abortRequested());

    EXPECT_EQ(run.start(m_doc.itemPositions()), 2);
    collect(2, &run);
    EXPECT_EQ(counts, (std::vector<int>{1, 0, 1, 0}));
    EXPECT_EQ(finished, 1);
    EXPECT_DOUBLE_EQ(m_doc.quotations(a)->back().value, 1.5);
    EXPECT_DOUBLE_EQ(m_doc.quotations(b)->back().value, 2.5);
    EXPECT_FALSE(run.underWay());
}

TEST_F(UpdateRunPages, KeepsTheHealthOfEachItemsSourceInTheStateFile)
{
    m_server.page("/good.html", "Kurs A: 1,50 EUR");
    const ItemKey a = addItem("A", "A", pageConfig(m_server.url("/good.html")));
    const ItemKey b = addItem("B", "B", pageConfig(m_server.url("/missing.html")));
    m_doc.setFilePath(std::string(std::getenv("XDG_STATE_HOME")) + "/../Health.qvx");
    DownloadEngine engine(2);
    for (int round = 1; round <= 2; ++round) {
        UpdateRun run(m_doc, engine);
        run.keepHealth();
        run.start({a, b});
        run.runToEnd([](DownloadMessage& m) { settleUnmatchedPage(m, false); });
        EXPECT_EQ(run.healthError(), "");
    }
    SourceHealth stored(m_doc.filePath());
    ASSERT_TRUE(stored.load().ok());
    const ItemHealth* good = stored.find(healthKeyOf(*m_doc.item(a)));
    const ItemHealth* bad = stored.find(healthKeyOf(*m_doc.item(b)));
    ASSERT_TRUE(good && bad);
    EXPECT_EQ(good->lastSuccess, m_doc.quotations(a)->back().time);
    EXPECT_EQ(good->failures, 0);
    EXPECT_EQ(bad->lastSuccess, 0);
    EXPECT_EQ(bad->failures, 2);
    EXPECT_NE(bad->lastReason.find("Error"), std::string::npos) << bad->lastReason;

    // A run that does not keep health (the doctor's) leaves the file alone.
    m_server.page("/missing.html", "Kurs B: 2,00 EUR");
    UpdateRun quiet(m_doc, engine);
    quiet.start({b});
    quiet.runToEnd();
    ASSERT_TRUE(stored.load().ok());
    EXPECT_EQ(stored.find(healthKeyOf(*m_doc.item(b)))->failures, 2);
}

} // namespace
} // namespace tarvelo
