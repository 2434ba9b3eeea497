#pragma once

#include <httplib.h>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <regex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace tarvelo::test {

class TestCertificates;

// A web server on 127.0.0.1 for the pages a test needs. It listens on a port of its
// own, on threads of its own, from the moment it is made until it is destroyed.
// Requests go to the first handler whose pattern matches their whole path, then to
// the fixed pages; anything else is 404.
class PageServer {
public:
    using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;

    // Listens on the given loopback address, with https when certificates are given.
    explicit PageServer(const std::string& address = "127.0.0.1", const TestCertificates* tls = nullptr);
    // Releases the requests that still wait, then stops.
    ~PageServer();
    PageServer(const PageServer&) = delete;
    PageServer& operator=(const PageServer&) = delete;

    // "http://127.0.0.1:<port><path>" (or https, and the server's address)
    std::string url(const std::string& path) const;
    // A fixed page, served as text/html; replaces one of the same path.
    void page(const std::string& path, std::string body);
    // The pattern is a regular expression for the path (without the query).
    void handle(const std::string& pattern, Handler handler);
    // Fixed pages answer 400 to requests without this header value.
    void requireHeader(std::string name, std::string value);
    // Requests seen for the path so far, however they were answered.
    int hits(const std::string& path);

    // Handlers that hold their answer back call waitForRelease(); it returns once the
    // test calls release() or the server ends.
    void release() { m_released = true; }
    bool released() const { return m_released; }
    void waitForRelease() const;

private:
    void answer(const httplib::Request& request, httplib::Response& response);

    std::unique_ptr<httplib::Server> m_server;
    std::string m_base;
    std::thread m_thread;
    int m_port = 0;
    std::atomic<bool> m_released{false};
    std::mutex m_mutex;
    std::vector<std::pair<std::regex, Handler>> m_handlers;
    std::map<std::string, std::string> m_pages;
    std::vector<std::pair<std::string, std::string>> m_requiredHeaders;
    std::map<std::string, int> m_hits;
};

} // namespace tarvelo::test
