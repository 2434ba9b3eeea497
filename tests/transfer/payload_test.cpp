#include "transfer/payload.h"

#include <gtest/gtest.h>

namespace tarvelo {
namespace {

TEST(PastedNames, CopyOfAndNumbers)
{
    const struct {
        std::vector<std::string> shown;
        const char* name;
        const char* pasted;
    } cases[] = {
        {{}, "ACME", "ACME"},
        {{"ACME"}, "ACME", "Copy of ACME"},
        {{"ACME", "Copy of ACME"}, "ACME", "Copy of ACME (1)"},
        {{"ACME", "Copy of ACME", "Copy of ACME (1)"}, "ACME", "Copy of ACME (2)"},
        {{"ACME"}, "acme", "Copy of acme"},
        {{"acme", "COPY OF ACME"}, "Acme", "Copy of Acme (1)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(pastedItemName(c.name, c.shown), c.pasted);
}

TEST(Payload, CopyAndPasteWithinAndBetweenPortfolios)
{
    PortfolioDocument source;
    std::vector<ItemKey> positions;
    for (const char* name : {"ACME", "Beta", "Gamma"}) {
        ItemSettings settings;
        settings.name = name;
        const ItemKey pos = source.addItem(settings);
        source.insertQuotation(pos, 1.5, 100);
        source.insertQuotation(pos, 2.5, 200);
        source.markBeingUpdated(pos);
        positions.push_back(pos);
    }
    const std::string payload = writeItemsPayload(source.items());

    PortfolioDocument target;
    ASSERT_TRUE(pasteItems(target, payload).ok());
    ASSERT_EQ(target.itemCount(), 3u);
    for (const ItemKey pos : target.itemPositions()) {
        EXPECT_EQ(target.quotations(pos)->size(), 2u);
        EXPECT_FALSE(target.isBeingUpdated(pos));
    }
    EXPECT_EQ(target.itemName(target.itemPositions()[0]), "ACME");
    EXPECT_TRUE(target.isModified());

    // Pasting into the same portfolio twice.
    ASSERT_TRUE(pasteItems(source, payload).ok());
    ASSERT_TRUE(pasteItems(source, payload).ok());
    std::vector<std::string> names;
    for (const ItemKey pos : source.itemPositions())
        names.push_back(source.itemName(pos));
    EXPECT_EQ(names, (std::vector<std::string>{"ACME", "Beta", "Gamma", "Copy of ACME", "Copy of Beta", "Copy of Gamma",
                                               "Copy of ACME (1)", "Copy of Beta (1)", "Copy of Gamma (1)"}));
}

TEST(Payload, UnreadablePayloadAddsNothing)
{
    PortfolioDocument doc;
    ItemSettings kept;
    kept.name = "ACME";
    doc.addItem(kept);
    doc.setModified(false);

    // Three whole items, then the same bytes damaged in ways that leave some items
    // readable: none of them may be pasted.
    PortfolioDocument source;
    for (const char* name : {"ACME", "Beta", "Gamma"}) {
        ItemSettings settings;
        settings.name = name;
        source.insertQuotation(source.addItem(settings), 1.5, 100);
    }
    const std::string whole = writeItemsPayload(source.items());
    std::string undercounted = whole; // the count says two, three follow
    undercounted[0] = '\x02';
    std::string overcounted = whole; // the count says four, three follow
    overcounted[0] = '\x04';
    const std::string cut = whole.substr(0, whole.size() - 5);

    EXPECT_EQ(pasteItems(doc, std::string()).message(), "Clipboard data could not be read!");
    for (const std::string& bytes : {std::string("\x01\x00\xFF\xFF", 4), std::string("garbage"), undercounted,
                                     overcounted, cut}) {
        const Result<std::size_t> r = pasteItems(doc, bytes);
        EXPECT_FALSE(r.ok());
        EXPECT_EQ(r.message(), "Clipboard data could not be read!\nThe items on the clipboard are damaged or come "
                             "from a newer version of the program. Nothing was pasted.");
    }
    EXPECT_EQ(doc.itemCount(), 1u);
    EXPECT_FALSE(doc.isModified());
    EXPECT_TRUE(pasteItems(doc, whole).ok());
    EXPECT_EQ(doc.itemCount(), 4u);
}

} // namespace
} // namespace tarvelo
