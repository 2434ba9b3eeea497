#include "download/address.h"

#include "platform/codepage.h"
#include "platform/utf8.h"

#include <curl/curl.h>

#include <algorithm>
#include <string_view>

namespace tarvelo {

namespace {

// A parsed address, released with its scope.
struct UrlHandle {
    CURLU* url = curl_url();
    UrlHandle() = default;
    UrlHandle(const UrlHandle&) = delete;
    UrlHandle& operator=(const UrlHandle&) = delete;
    ~UrlHandle() { curl_url_cleanup(url); }
};

std::string lowerCase(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return text;
}

// Whether curl reads the server part of an http address ("host", "host:port", "[v6]" or
// "[v6]:port", user name and password already taken off) as a host with a valid port.
// Only the structure is judged: what a host name contains is for the fetch to accept
// or refuse, so curl is shown a plain name of the same shape. A port is at most five
// digits, as curl reads "000080" as 80.
bool namesServer(const std::string& server)
{
    std::string shape;
    std::string port;
    if (!server.empty() && server.front() == '[') {
        const auto close = server.find(']');
        if (close == std::string::npos || close == 1)
            return false;
        shape = "[::1]";
        if (close + 1 < server.size()) {
            if (server[close + 1] != ':')
                return false;
            port = server.substr(close + 2);
        }
    } else {
        // A host without brackets ends at the last colon; curl would take the first.
        const auto colon = server.rfind(':');
        if (server.empty() || colon == 0)
            return false;
        shape = "host";
        if (colon != std::string::npos)
            port = server.substr(colon + 1);
    }
    if (port.size() > 5)
        return false;
    if (!port.empty())
        shape += ":" + port;
    const UrlHandle handle;
    return handle.url && curl_url_set(handle.url, CURLUPART_URL, ("http://" + shape + "/").c_str(), 0) == CURLUE_OK;
}

// "%xx" sequences replaced by their bytes; a "%" that starts no such sequence stays.
std::string percentDecoded(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexDigit(text[i + 1]) >= 0 && hexDigit(text[i + 2]) >= 0) {
            out.push_back(static_cast<char>(hexDigit(text[i + 1]) * 16 + hexDigit(text[i + 2])));
            i += 2;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

// The file system's spelling of a name from an address: names are UTF-8 bytes on disk,
// so bytes that are UTF-8 stay, and others are read as Windows-1252, the code page of
// the addresses a user types.
std::string fileSystemName(const std::string& bytes)
{
    return isValidUtf8(bytes) ? bytes : cp1252ToUtf8(bytes);
}

} // namespace

Scheme splitAddress(const std::string& url, bool allowHttps)
{
    // The scheme ends at "://"; curl would also read "http:/host".
    const auto colon = url.find("://");
    if (colon == std::string::npos)
        return Scheme::None;
    const std::string scheme = lowerCase(url.substr(0, colon));
    const std::string rest = url.substr(colon + 3);
    // Local files are read directly, under any name.
    if (scheme == "file")
        return rest.empty() ? Scheme::None : Scheme::File;
    if (scheme != "http" && !(scheme == "https" && allowHttps))
        return Scheme::None;
    // The server part ends at the first "/", "?" or "#" ("http:///path" has none, where
    // curl would read "path" as the host); user name and password end at its last "@".
    std::string server = rest.substr(0, rest.find_first_of("/?#"));
    if (const auto at = server.rfind('@'); at != std::string::npos)
        server.erase(0, at + 1);
    if (!namesServer(server))
        return Scheme::None;
    return scheme == "http" ? Scheme::Http : Scheme::Https;
}

std::vector<std::string> localPaths(const std::string& url)
{
    std::string path = url.substr(7);
    if (path.rfind("localhost/", 0) == 0)
        path.erase(0, 9);
    std::vector<std::string> paths;
    // "%00" would cut the name short where the system reads it; such a name is none.
    const std::string decoded = fileSystemName(percentDecoded(path));
    if (decoded.find('\0') == std::string::npos)
        paths.push_back(decoded);
    if (paths.empty() || path != decoded)
        paths.push_back(path);
    return paths;
}

std::string hostOf(const std::string& url)
{
    const auto colon = url.find("://");
    if (colon == std::string::npos)
        return {};
    const std::string scheme = lowerCase(url.substr(0, colon));
    if (scheme != "http" && scheme != "https")
        return {};
    std::string server = url.substr(colon + 3);
    server.erase(std::min(server.size(), server.find_first_of("/?#")));
    if (const auto at = server.rfind('@'); at != std::string::npos)
        server.erase(0, at + 1);
    if (!server.empty() && server.front() == '[')
        server.erase(std::min(server.size(), server.find(']') + 1));
    else if (const auto port = server.rfind(':'); port != std::string::npos)
        server.erase(port);
    return lowerCase(std::move(server));
}

std::string originOf(const std::string& url)
{
    const std::string host = hostOf(url);
    if (host.empty())
        return {};
    const auto colon = url.find("://");
    const std::string scheme = lowerCase(url.substr(0, colon));
    std::string server = url.substr(colon + 3);
    server.erase(std::min(server.size(), server.find_first_of("/?#")));
    if (const auto at = server.rfind('@'); at != std::string::npos)
        server.erase(0, at + 1);
    // The port after the host (after "]" for an IPv6 address), else the scheme's own.
    const std::size_t hostEnd = !server.empty() && server.front() == '[' ? server.find(']') : 0;
    const std::size_t portColon = server.find(':', hostEnd == std::string::npos ? server.size() : hostEnd);
    std::string port = portColon == std::string::npos ? std::string() : server.substr(portColon + 1);
    while (port.size() > 1 && port.front() == '0')
        port.erase(0, 1);
    if (port.empty())
        port = scheme == "https" ? "443" : "80";
    return scheme + "://" + host + ":" + port;
}

bool isSecure(const std::string& url)
{
    return lowerCase(url.substr(0, 8)) == "https://";
}

} // namespace tarvelo
