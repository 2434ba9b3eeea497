#include "download/statustext.h"

#include "download/plausibility.h"
#include "platform/translation.h"

#include <cstdio>
#include <string>

namespace tarvelo {

namespace {

std::string ownStatusText(const DownloadMessage& m)
{
    switch (m.code) {
    case DownloadCode::Initialized:
        return translate("Download", "Initialized");
    case DownloadCode::Connecting:
        return translate("Download", "Connecting...");
    case DownloadCode::Connected:
        return translate("Download", "Connected");
    case DownloadCode::NotFound:
        return m.extractionMessage.empty()
                   ? translate("Download", "Error: Quotation not found!!")
                   : fill(translate("Download", "Error: Quotation not found!! (%1)"), {m.extractionMessage});
    case DownloadCode::InvalidValue:
        return translate("Download", "Error: Invalid value!");
    case DownloadCode::TextNotFound:
        return translate("Download", "Error: Text not found!");
    case DownloadCode::Progress:
        return fill(translate("Download", "Download %1 KB"), {std::to_string(m.kilobytes)});
    case DownloadCode::Aborted:
        return translate("Download", "Download aborted!");
    case DownloadCode::Implausible:
        return implausibleValueText(m.quotation ? m.quotation->value : 0.0, m.latestValue);
    case DownloadCode::Done:
        // The row of a quotation is removed, unless a fallback found it.
        return m.fallbackName.empty() ? std::string() : translate("Download", "Quotation found");
    case DownloadCode::Error:
        switch (m.detail) {
        case DownloadError::WrongUrl:
            return translate("Download", "Error: Wrong URL!");
        case DownloadError::FileNotFound: {
            const auto slash = m.url.size() > 7 ? m.url.find('/', 7) : std::string::npos;
            return fill(translate("Download", "Error: File not found: %1"),
                        {slash != std::string::npos ? m.url.substr(slash) : std::string()});
        }
        case DownloadError::Timeout:
            return translate("Download", "Error: Timeout!");
        case DownloadError::BadUrl:
            return translate("Download", "Error: Bad URL!");
        case DownloadError::Server:
            return translate("Download", "Error: Server!");
        case DownloadError::Other: {
            if (m.errorText.empty())
                return translate("Download", "Error: Server!");
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
        text = fill(translate("Download", "%1 (from %2)"), {text, m.fallbackName});
    return text;
}

std::string serverStatusText(long status)
{
    return fill(translate("Download", "Error: Server! (HTTP status %1)"), {std::to_string(status)});
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
