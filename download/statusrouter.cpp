#include "download/statusrouter.h"

#include <cstdio>

namespace tarvelo {

void DownloadStatusRouter::route(DownloadMessage& m)
{
    if (m.test)
        return;
    if (m.code == DL_INITIALIZED)
        ++m_running;
    if (!IsFinalCode(m.code))
        return;
    --m_running;
    if (m.code == DL_DONE && m.quotation) {
        const Quotation quotation = *m.quotation;
        m.quotation.reset();
        m_doc.ApplyDownloadedQuotation(m.itemKey, quotation);
    } else {
        m_doc.ClearBeingUpdated(m.itemKey);
    }
}

std::string ConnectionStatusText(const DownloadMessage& m)
{
    switch (m.code) {
    case DL_INITIALIZED:
        return "Initialized";
    case DL_CONNECTING:
        return "Connecting...";
    case DL_CONNECTED:
        return "Connected";
    case DL_NOT_FOUND:
        return m.extractionMessage.empty() ? "Error: Quotation not found!!"
                                           : "Error: Quotation not found!! (" + m.extractionMessage + ")";
    case DL_INVALID_VALUE:
        return "Error: Invalid value!";
    case DL_TEXT_NOT_FOUND:
        return "Error: Text not found!";
    case DL_PROGRESS:
        return "Download " + std::to_string(m.kilobytes) + " KB";
    case DL_ABORTED:
        return "Download aborted!";
    case DL_ERROR:
        switch (m.detail) {
        case DLERR_WRONG_URL:
            return "Error: Wrong URL!";
        case DLERR_FILE_NOT_FOUND: {
            std::string text = "Error: File not found: ";
            const auto slash = m.url.size() > 7 ? m.url.find('/', 7) : std::string::npos;
            if (slash != std::string::npos)
                text += m.url.substr(slash);
            return text;
        }
        case DLERR_TIMEOUT:
            return "Error: Timeout!";
        case DLERR_BAD_URL:
            return "Error: Bad URL!";
        case DLERR_SERVER:
            return "Error: Server!";
        case DLERR_OTHER: {
            std::string text;
            for (char c : m.errorText) {
                if (c == '\r')
                    continue;
                if (c == '\n')
                    text += ". ";
                else
                    text.push_back(c);
            }
            return text;
        }
        default:
            return {};
        }
    default:
        return {};
    }
}

std::string SettleUnmatchedPage(const DownloadMessage& m, bool keep)
{
    if (m.convertedFile.empty() || m.code < DL_NOT_FOUND || m.code > DL_TEXT_NOT_FOUND)
        return {};
    if (keep) {
        const std::string shown = m.convertedFile + ".TXT";
        if (std::rename(m.convertedFile.c_str(), shown.c_str()) == 0)
            return shown;
    }
    std::remove(m.convertedFile.c_str());
    return {};
}

} // namespace tarvelo
