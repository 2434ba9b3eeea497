#include "model/cwpapierdoc.h"

#include "model/archive.h"
#include "model/options.h"

#include <algorithm>

namespace tarvelo {

std::atomic<int> g_bAbortDownloads{0};

int ReadNumberDownloads()
{
    return std::clamp(LoadOptions().numberDownloads, 1, 500);
}

CWPapierDoc::CWPapierDoc() : CWPapierDoc(ReadNumberDownloads()) {}

CWPapierDoc::CWPapierDoc(int downloadSlots)
    : m_slotCount(std::clamp(downloadSlots, 1, 500)), m_slots(std::make_unique<DownloadSlots>(m_slotCount))
{
}

CWPapierDoc::~CWPapierDoc() = default;

int CWPapierDoc::SubscribeViews(ViewUpdate callback)
{
    const int token = m_nextViewToken++;
    m_views.emplace_back(token, std::move(callback));
    return token;
}

void CWPapierDoc::UnsubscribeViews(int token)
{
    std::erase_if(m_views, [&](const auto& view) { return view.first == token; });
}

void CWPapierDoc::UpdateAllViews()
{
    // A view may unsubscribe while being told; work on a copy.
    const auto views = m_views;
    for (const auto& view : views)
        view.second();
}

void CWPapierDoc::Changed()
{
    m_modified = true;
    UpdateAllViews();
}

std::string CWPapierDoc::GetTitle() const
{
    if (m_pathName.empty())
        return "Untitled";
    const auto slash = m_pathName.find_last_of('/');
    return slash == std::string::npos ? m_pathName : m_pathName.substr(slash + 1);
}

std::vector<ItemPos> CWPapierDoc::GetItemPositions() const
{
    std::vector<ItemPos> positions;
    positions.reserve(m_items.size());
    for (const Entry& entry : m_items)
        positions.push_back(ItemPos{entry.key});
    return positions;
}

CWPapier* CWPapierDoc::Find(ItemPos pos)
{
    const auto found = m_index.find(pos.key);
    return found == m_index.end() ? nullptr : found->second;
}

const CWPapier* CWPapierDoc::Find(ItemPos pos) const
{
    const auto found = m_index.find(pos.key);
    return found == m_index.end() ? nullptr : found->second;
}

const CWPapier* CWPapierDoc::GetItem(ItemPos pos) const
{
    return Find(pos);
}

ItemPos CWPapierDoc::FindItemPos(const CWPapier* item) const
{
    for (const Entry& entry : m_items) {
        if (entry.item.get() == item)
            return ItemPos{entry.key};
    }
    return {};
}

ItemPos CWPapierDoc::Append(std::unique_ptr<CWPapier> item)
{
    item->setBeingUpdated(false);
    const std::uint64_t key = m_nextKey++;
    m_index.emplace(key, item.get());
    m_items.push_back({key, std::move(item)});
    return ItemPos{key};
}

ItemPos CWPapierDoc::AddItem(const ItemSettings& settings)
{
    const ItemPos pos = Append(std::make_unique<CWPapier>(settings));
    Changed();
    return pos;
}

ItemPos CWPapierDoc::AddItemObject(std::unique_ptr<CWPapier> item)
{
    if (!item)
        return {};
    const ItemPos pos = Append(std::move(item));
    Changed();
    return pos;
}

void CWPapierDoc::ReplaceItemSettings(ItemPos pos, const ItemSettings& settings)
{
    CWPapier* item = Find(pos);
    if (!item)
        return;
    item->settings() = settings;
    Changed();
}

void CWPapierDoc::DeleteItems(const std::vector<ItemPos>& items)
{
    for (const ItemPos pos : items) {
        const CWPapier* item = Find(pos);
        if (!item || item->isBeingUpdated())
            continue;
        m_index.erase(pos.key);
        std::erase_if(m_items, [&](const Entry& entry) { return entry.key == pos.key; });
    }
    Changed();
}

std::size_t CWPapierDoc::InsertQuotation(ItemPos pos, double value, std::int32_t time)
{
    CWPapier* item = Find(pos);
    if (!item)
        return 0;
    const std::size_t index = item->InsertQuotation(CKurs{time, value});
    Changed();
    return index;
}

void CWPapierDoc::InsertQuotations(ItemPos pos, std::span<const CKurs> batch)
{
    CWPapier* item = Find(pos);
    if (!item)
        return;
    item->InsertQuotations(batch);
    Changed();
}

int CWPapierDoc::ModifyQuotation(ItemPos pos, std::size_t index, double value, std::int32_t time)
{
    CWPapier* item = Find(pos);
    if (!item)
        return -1;
    const int result = item->ModifyQuotation(index, value, time);
    if (result >= 0)
        Changed();
    return result;
}

bool CWPapierDoc::DeleteQuotation(ItemPos pos, std::size_t index)
{
    CWPapier* item = Find(pos);
    if (!item || !item->DeleteQuotation(index))
        return false;
    Changed();
    return true;
}

bool CWPapierDoc::DeleteAllQuotations(ItemPos pos)
{
    if (CWPapier* item = Find(pos)) {
        item->DeleteAllQuotations();
        Changed();
    }
    return true;
}

bool CWPapierDoc::SplitQuotations(ItemPos pos, std::size_t index, double divisor)
{
    CWPapier* item = Find(pos);
    if (!item || !item->SplitQuotations(index, divisor))
        return false;
    Changed();
    return true;
}

void CWPapierDoc::InvertQuotations(ItemPos pos)
{
    if (CWPapier* item = Find(pos)) {
        item->InvertQuotations();
        Changed();
    }
}

bool CWPapierDoc::ApplyDownloadedQuotation(ItemPos pos, const CKurs& record)
{
    CWPapier* item = Find(pos);
    if (g_bAbortDownloads.load() != 0) {
        if (item)
            ClearBeingUpdated(pos);
        return true;
    }
    if (!item)
        return true;
    double value = record.value;
    double newest = 0.0;
    if (item->GetLastValue(newest) && newest > 0.0) {
        const double ratio = value / newest;
        if (ratio > 80.0 && ratio < 150.0)
            value *= 0.01;
    }
    item->InsertQuotation(CKurs{record.time, value});
    ClearBeingUpdated(pos);
    Changed();
    return true;
}

std::string CWPapierDoc::GetItemName(ItemPos pos) const
{
    const CWPapier* item = Find(pos);
    return item ? item->settings().name : std::string();
}

std::string CWPapierDoc::GetItemSymbol(ItemPos pos) const
{
    const CWPapier* item = Find(pos);
    return item ? item->settings().symbol : std::string();
}

ChartOptions CWPapierDoc::GetChartOptions(ItemPos pos) const
{
    const CWPapier* item = Find(pos);
    return item ? item->settings().chart : ChartOptions{};
}

const std::vector<CKurs>* CWPapierDoc::GetQuotations(ItemPos pos) const
{
    const CWPapier* item = Find(pos);
    return item ? &item->history() : nullptr;
}

bool CWPapierDoc::IsBeingUpdated(ItemPos pos) const
{
    const CWPapier* item = Find(pos);
    return item ? item->isBeingUpdated() : true;
}

void CWPapierDoc::MarkBeingUpdated(ItemPos pos)
{
    CWPapier* item = Find(pos);
    if (item && !item->isBeingUpdated()) {
        item->setBeingUpdated(true);
        ++m_beingUpdated;
    }
}

void CWPapierDoc::ClearBeingUpdated(ItemPos pos)
{
    CWPapier* item = Find(pos);
    if (item && item->isBeingUpdated()) {
        item->setBeingUpdated(false);
        --m_beingUpdated;
    }
    if (!AnyBeingUpdated())
        g_bAbortDownloads.store(0);
}

void CWPapierDoc::DeleteContents()
{
    m_index.clear();
    m_items.clear();
    m_beingUpdated = 0;
}

void CWPapierDoc::OnNewDocument()
{
    DeleteContents();
    m_pathName.clear();
    m_modified = false;
    UpdateAllViews();
}

DocumentResult CWPapierDoc::OnOpenDocument(const std::string& path)
{
    // The file is read before anything is dropped: a file that cannot be read leaves
    // the open portfolio (and the file it belongs to) as it was.
    LoadResult loaded = LoadPortfolioFile(path);
    if (!loaded.ok)
        return {false, loaded.message};
    DeleteContents();
    AdoptLoadedItems(std::move(loaded.items));
    m_pathName = path;
    m_modified = false;
    UpdateAllViews();
    return {};
}

DocumentResult CWPapierDoc::OnSaveDocument(const std::string& path)
{
    const SaveResult saved = SavePortfolioFile(path, Items());
    if (!saved.ok)
        return {false, saved.message};
    m_pathName = path;
    m_modified = false;
    return {};
}

void CWPapierDoc::OnCloseDocument()
{
    g_bAbortDownloads.store(0);
    DeleteContents();
    m_pathName.clear();
    m_modified = false;
    UpdateAllViews();
}

std::vector<const CWPapier*> CWPapierDoc::Items() const
{
    std::vector<const CWPapier*> items;
    items.reserve(m_items.size());
    for (const Entry& entry : m_items)
        items.push_back(entry.item.get());
    return items;
}

void CWPapierDoc::AdoptLoadedItems(std::vector<std::unique_ptr<CWPapier>> items)
{
    for (auto& item : items)
        Append(std::move(item));
}

} // namespace tarvelo
