#pragma once

#include <string>
#include <vector>

// How a worker reads the address of a page: its scheme, whether it names a server, the
// host that the per-host limit counts, and the local paths a "file://" address may name.
namespace tarvelo {

enum class Scheme { None, Http, Https, File };

// The scheme of an address and whether it splits into server, port and object; None
// for an address that is not fetched (https too, unless allowed).
Scheme splitAddress(const std::string& url, bool allowHttps);

// The local paths a "file://" address may name, the likeliest first: the address
// percent-decoded ("%20", UTF-8 names); then the path exactly as written, which is how
// addresses were read before they were decoded. Never empty.
std::vector<std::string> localPaths(const std::string& url);

// The host name of an http or https address in lower case, the key of the per-host
// limit; empty for any other address.
std::string hostOf(const std::string& url);
// Scheme, host and port of an http or https address ("https://bank.example:443"), the
// port the scheme's own when none is given; empty for other addresses.
std::string originOf(const std::string& url);

bool isSecure(const std::string& url);

} // namespace tarvelo
