#include "download/statustext.h"

#include "download/plausibility.h"

#include <cstdio>
#include <string>

namespace tarvelo {

namespace {

std::string ownStatusText(const DownloadMessage& m)
{
    switch (m.code) {
    case DownloadCode::Initialized:
        return "Initialized";
    case DownloadCode::Connecting:
        return "Connecting...";
    case DownloadCode::Connected:
        return "Connected";
    case DownloadCode::NotFound:
        return m.extractionMessage.empty() ? "Error: Quotation not found!!"
                                           : "Error: Quotation not found!! (" + m.extractionMessage + ")";
    case DownloadCode::InvalidValue:
        return "Error: Invalid value!";
    case DownloadCode::TextNotFound:
        return "Error: Text not found!";
    case DownloadCode::Progress:
        return "Download " + std::to_string(m.kilobytes) + " KB";
    case DownloadCode::Aborted:
        return "Download aborted!";
    case DownloadCode::Implausible:
        return implausibleValueText(m.quotation ? m.quotation->value : 0.0, m.latestValue);
    case DownloadCode::Done:
        // The row of a quotation is removed, unless a fallback found it.
        return m.fallbackName.empty() ? std::string() : "Quotation found";
    case DownloadCode::Error:
        switch (m.detail) {
        case DownloadError::WrongUrl:
            return "Error: Wrong URL!";
        case DownloadError::FileNotFound: {
            std::string text = "Error: File not found: ";
            const auto slash = m.url.size() > 7 ? m.url.find('/', 7) : std::string::npos;
            if (slash != std::string::npos)
                text += m.url.substr(slash);
            return text;
        }
        case DownloadError::Timeout:
            return "Error: Timeout!";
        case DownloadError::BadUrl:
            return "Error: Bad URL!";
        case DownloadError::Server:
            return "Error: Server!";
        case DownloadError::Other: {
            if (m.errorText.empty())
                return "Error: Server!";
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

} // namespace

std::string connectionStatusText(const DownloadMessage& m)
{
    std::string text = ownStatusText(m);
    if (!m.fallbackName.empty() && !text.empty())
        text += " (from " + m.fallbackName + ")";
    return text;
}

std::string serverStatusText(long status)
{
    return "Error: Server! (HTTP status " + std::to_string(status) + ")";
}

std::string settleUnmatchedPage(const DownloadMessage& m, bool keep)
{
    if (m.convertedFile.empty() || m.code < DownloadCode::NotFound || m.code > DownloadCode::TextNotFound)
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
