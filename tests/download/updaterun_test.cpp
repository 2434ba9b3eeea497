#include "download/updaterun.h"

#include "download/downloadengine.h"
#include "download/plausibility.h"
#include "platform/profile.h"
#include "servers/serverstore.h"

#include "tests/download/downloadfixture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <map>
#include <optional>
#include <string>
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
    std::int64_t lastRoundStarted = 0;
    for (int round = 1; round <= 2; ++round) {
        lastRoundStarted = std::time(nullptr);
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
    // The last success is the second round's download, also when its quotation equals the
    // first one and the portfolio keeps only the first.
    EXPECT_GE(good->lastSuccess, lastRoundStarted);
    EXPECT_LE(good->lastSuccess, std::time(nullptr));
    EXPECT_GE(good->lastSuccess, m_doc.quotations(a)->back().time);
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

// Named configurations for the tests below, in the test program's private settings.
class UpdateRunChecks : public test::DownloadFixture {
protected:
    void SetUp() override
    {
        DownloadFixture::SetUp();
        Profile().deleteKey(std::string(kServerKey));
    }
    void TearDown() override
    {
        Profile().deleteKey(std::string(kServerKey));
        DownloadFixture::TearDown();
    }
    void store(const std::string& name, const std::string& path, int maxChange = 0, const std::string& fallback = {})
    {
        ServerConfig config = pageConfig(m_server.url(path));
        config.maxChange = maxChange;
        config.fallback = fallback;
        ASSERT_TRUE(writeServerConfig(name, config));
    }
    ItemKey addNamed(const std::string& symbol, const std::string& config, std::optional<double> latest = {})
    {
        ServerConfig named;
        named.name = config;
        const ItemKey key = addItem(symbol, symbol, named);
        if (latest)
            m_doc.insertQuotation(key, *latest, 1000);
        return key;
    }
};

// After the scale check, a value outside the range of a typed quotation, one about 10,
// 100 or 1000 times (or that part of) the latest value, and one beyond the
// configuration's limit are held back: reported, kept in the health, not stored. A value
// the scale check corrected is stored, and so is one that only looks like a jump.
TEST_F(UpdateRunChecks, ImplausibleValuesAreHeldBackUntilAccepted)
{
    const struct {
        const char* symbol;
        const char* shown; // on the page
        std::optional<double> latest;
        const char* config;
        double stored;      // 0: held back
        const char* status; // of the held-back value
    } cases[] = {
        {"X100", "1250,00", 12.5, "Plain", 12.5, ""}, // the scale check's ×0.01
        {"X140", "1750,00", 12.5, "Limited", 17.5, ""}, // corrected, then within the limit
        {"NEAR10", "120,00", 12.5, "Plain", 120.0, ""}, // 9.6 times: no scale jump
        {"WITHIN", "18,50", 12.5, "Limited", 18.5, ""}, // +48%
        {"FRESH", "12500,00", std::nullopt, "Limited", 12500.0, ""}, // nothing to compare with
        {"X10", "125,00", 12.5, "Plain", 0, "Error: Implausible value 125.0000 (last 12.5000)"},
        {"X1000", "12500,00", 12.5, "Plain", 0, "Error: Implausible value 12500.0000 (last 12.5000)"},
        {"C100", "0,125", 12.5, "Plain", 0, "Error: Implausible value 0.1250 (last 12.5000)"},
        {"D10", "1,26", 12.5, "Plain", 0, "Error: Implausible value 1.2600 (last 12.5000)"},
        {"LIMIT", "19,00", 12.5, "Limited", 0, "Error: Implausible value 19.0000 (last 12.5000)"},
        {"ZERO", "0,00", 12.5, "Plain", 0, "Error: Implausible value 0.0000 (last 12.5000)"},
        {"NEWZERO", "0,00", std::nullopt, "Plain", 0, "Error: Implausible value 0.0000"},
    };
    std::string page;
    for (const auto& c : cases)
        page += std::string("<p>Kurs ") + c.symbol + ": " + c.shown + " EUR</p>\n";
    m_server.page("/values.html", page);
    store("Plain", "/values.html");
    store("Limited", "/values.html", 50);
    std::map<std::string, ItemKey> keys;
    for (const auto& c : cases)
        keys[c.symbol] = addNamed(c.symbol, c.config, c.latest);
    m_doc.setFilePath(std::string(std::getenv("XDG_STATE_HOME")) + "/../Checks.qvx");

    DownloadEngine engine(2);
    UpdateRun run(m_doc, engine);
    run.keepHealth();
    EXPECT_EQ(run.start(m_doc.itemPositions()), 1);
    std::map<std::string, std::string> reported;
    run.runToEnd([&](DownloadMessage& m) { reported[m.itemName] = connectionStatusText(m); });
    ASSERT_EQ(run.healthError(), "");

    SourceHealth health(m_doc.filePath());
    ASSERT_TRUE(health.load().ok());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.symbol);
        const std::vector<Quotation>& history = *m_doc.quotations(keys[c.symbol]);
        const ItemHealth* entry = health.find(healthKeyOf(*m_doc.item(keys[c.symbol])));
        ASSERT_TRUE(entry);
        if (c.stored != 0) {
            EXPECT_DOUBLE_EQ(history.back().value, c.stored);
            EXPECT_EQ(reported[c.symbol], "");
            EXPECT_FALSE(entry->failing());
            continue;
        }
        EXPECT_EQ(history.size(), c.latest ? 1u : 0u);
        EXPECT_EQ(reported[c.symbol], c.status);
        EXPECT_EQ(entry->failures, 1);
        EXPECT_EQ(entry->lastReason, c.status);
        ASSERT_TRUE(entry->heldBack);
        EXPECT_EQ(entry->heldBack->reason, c.status);
    }

    // Accepting stores the held-back value as found (0 too), once, and the item's source
    // counts as working again.
    const ItemKey zero = keys["ZERO"];
    const Result<Quotation> accepted = acceptHeldBackValue(m_doc, run.health(), zero);
    ASSERT_TRUE(accepted.ok()) << accepted.message();
    EXPECT_EQ(m_doc.quotations(zero)->size(), 2u);
    EXPECT_EQ(m_doc.quotations(zero)->back(), *accepted);
    EXPECT_DOUBLE_EQ(accepted->value, 0.0);
    const ItemHealth* after = run.health().find(healthKeyOf(*m_doc.item(zero)));
    ASSERT_TRUE(after);
    EXPECT_FALSE(after->heldBack);
    EXPECT_EQ(after->failures, 0);
    EXPECT_EQ(after->lastSuccess, accepted->time);
    const Result<Quotation> again = acceptHeldBackValue(m_doc, run.health(), zero);
    EXPECT_FALSE(again.ok());
    EXPECT_EQ(again.message(), "'ZERO' has no value held back by an update.");
    EXPECT_FALSE(acceptHeldBackValue(m_doc, run.health(), keys["X100"]).ok()); // stored, nothing held
    m_doc.markBeingUpdated(keys["LIMIT"]);
    EXPECT_FALSE(acceptHeldBackValue(m_doc, run.health(), keys["LIMIT"]).ok()); // the next update decides
    m_doc.clearBeingUpdated(keys["LIMIT"]);
    EXPECT_EQ(m_doc.quotations(keys["LIMIT"])->size(), 1u);

    // The next update replaces what was held back.
    m_server.page("/values.html", "<p>Kurs LIMIT: 13,00 EUR</p>");
    UpdateRun next(m_doc, engine);
    next.keepHealth();
    next.start({keys["LIMIT"]});
    next.runToEnd();
    ASSERT_TRUE(health.load().ok());
    EXPECT_FALSE(health.find(healthKeyOf(*m_doc.item(keys["LIMIT"])))->heldBack);
    EXPECT_DOUBLE_EQ(m_doc.quotations(keys["LIMIT"])->back().value, 13.0);
}

// A failed download, or a held-back value, is tried again with the configuration's
// fallback in the same run, and that one's fallback, up to three and never one tried
// already; the item stays under way meanwhile, so the run finishes once, at the end.
TEST_F(UpdateRunChecks, FallbacksAreTriedWithinTheRunWithoutLoops)
{
    m_server.page("/backup.html", "<p>Kurs F: 7,25 EUR</p><p>Kurs H: 7,30 EUR</p>");
    m_server.page("/jump.html", "<p>Kurs H: 73,00 EUR</p><p>Kurs K: 73,00 EUR</p>");
    store("Primary", "/missing.html", 0, "Backup");
    store("Backup", "/backup.html", 50);
    store("Jumps", "/jump.html", 0, "Backup");
    store("LoopA", "/loop-a.html", 0, "LoopB");
    store("LoopB", "/loop-b.html", 0, "LoopA");
    for (int i = 0; i <= 4; ++i)
        store("Chain" + std::to_string(i), "/chain-" + std::to_string(i) + ".html", 0, "Chain" + std::to_string(i + 1));
    store("KeepsJump", "/jump.html", 0, "LoopA");
    const ItemKey f = addNamed("F", "Primary");
    const ItemKey h = addNamed("H", "Jumps", 7.2);
    const ItemKey l = addNamed("L", "LoopA");
    const ItemKey c = addNamed("C", "Chain0");
    const ItemKey k = addNamed("K", "KeepsJump", 7.2);

    DownloadEngine engine(3);
    std::map<std::string, std::string> outcomes;
    int finished = 0;
    UpdateRun::Callbacks callbacks;
    callbacks.applied = [&](DownloadMessage& m) {
        if (!isFinalCode(m.code))
            return;
        EXPECT_FALSE(m_doc.isBeingUpdated(m.itemKey)) << m.itemName;
        EXPECT_TRUE(outcomes.emplace(m.itemName, connectionStatusText(m)).second) << "one outcome per item";
    };
    callbacks.finished = [&] {
        ++finished;
        EXPECT_EQ(outcomes.size(), 5u);
    };
    UpdateRun run(m_doc, engine, m_queue, std::move(callbacks));
    run.start(m_doc.itemPositions());
    // F and H: own and backup; L: A and B; C: its own and three fallbacks; K: own, A, B.
    collect(2 + 2 + 2 + 4 + 3, &run);
    EXPECT_EQ(finished, 1);
    EXPECT_FALSE(run.underWay());

    EXPECT_EQ(outcomes["F"], "Quotation found (from Backup)");
    EXPECT_DOUBLE_EQ(m_doc.quotations(f)->back().value, 7.25);
    EXPECT_EQ(outcomes["H"], "Quotation found (from Backup)"); // 73 held back, 7.30 taken
    EXPECT_DOUBLE_EQ(m_doc.quotations(h)->back().value, 7.3);
    EXPECT_EQ(outcomes["L"], "Error: File not found: /loop-b.html (from LoopB)");
    EXPECT_EQ(m_server.hits("/loop-a.html"), 2); // L's own and K's fallback
    EXPECT_EQ(m_server.hits("/loop-b.html"), 2);
    EXPECT_EQ(outcomes["C"], "Error: File not found: /chain-3.html (from Chain3)");
    EXPECT_EQ(m_server.hits("/chain-3.html"), 1);
    EXPECT_EQ(m_server.hits("/chain-4.html"), 0);
    EXPECT_TRUE(m_doc.quotations(l)->empty());
    EXPECT_TRUE(m_doc.quotations(c)->empty());
    // When no fallback finds a plausible value, the value held back first stays to be
    // accepted.
    EXPECT_EQ(outcomes["K"], "Error: Implausible value 73.0000 (last 7.2000)");
    EXPECT_EQ(m_doc.quotations(k)->size(), 1u);

    // The doctor looks at each item's own configuration alone.
    UpdateRun own(m_doc, engine);
    own.setTryFallbacks(false);
    own.start({f});
    std::string ownOutcome;
    own.runToEnd([&](DownloadMessage& m) { ownOutcome = connectionStatusText(m); });
    EXPECT_EQ(ownOutcome, "Error: File not found: /missing.html");
}

} // namespace
} // namespace tarvelo
