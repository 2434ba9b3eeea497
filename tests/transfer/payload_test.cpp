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
        EXPECT_EQ(PastedItemName(c.name, c.shown), c.pasted);
}

TEST(Payload, CopyAndPasteWithinAndBetweenPortfolios)
{
    PortfolioDocument source(1);
    std::vector<ItemKey> positions;
    for (const char* name : {"ACME", "Beta", "Gamma"}) {
        ItemSettings settings;
        settings.name = name;
        const ItemKey pos = source.AddItem(settings);
        source.InsertQuotation(pos, 1.5, 100);
        source.InsertQuotation(pos, 2.5, 200);
        source.MarkBeingUpdated(pos);
        positions.push_back(pos);
    }
    const std::string payload = WriteItemsPayload(source.Items());

    PortfolioDocument target(1);
    ASSERT_TRUE(PasteItems(target, payload).ok);
    ASSERT_EQ(target.GetItemCount(), 3u);
    for (const ItemKey pos : target.GetItemPositions()) {
        EXPECT_EQ(target.GetQuotations(pos)->size(), 2u);
        EXPECT_FALSE(target.IsBeingUpdated(pos));
    }
    EXPECT_EQ(target.GetItemName(target.GetItemPositions()[0]), "ACME");
    EXPECT_TRUE(target.IsModified());

    // Pasting into the same portfolio twice.
    ASSERT_TRUE(PasteItems(source, payload).ok);
    ASSERT_TRUE(PasteItems(source, payload).ok);
    std::vector<std::string> names;
    for (const ItemKey pos : source.GetItemPositions())
        names.push_back(source.GetItemName(pos));
    EXPECT_EQ(names, (std::vector<std::string>{"ACME", "Beta", "Gamma", "Copy of ACME", "Copy of Beta", "Copy of Gamma",
                                               "Copy of ACME (1)", "Copy of Beta (1)", "Copy of Gamma (1)"}));
}

TEST(Payload, UnreadablePayloadAddsNothing)
{
    PortfolioDocument doc(1);
    for (const std::string& bytes : {std::string(), std::string("\x01\x00\xFF\xFF", 4), std::string("garbage")}) {
        const PayloadResult r = PasteItems(doc, bytes);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.message, "Clipboard data could not be read!");
    }
    EXPECT_EQ(doc.GetItemCount(), 0u);
    EXPECT_FALSE(doc.IsModified());
}

} // namespace
} // namespace tarvelo
