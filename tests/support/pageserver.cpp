#include "tests/support/pageserver.h"

#include "tests/support/testcertificates.h"

#include <chrono>

namespace tarvelo::test {

using namespace std::chrono_literals;

PageServer::PageServer(const std::string& address, const TestCertificates* tls)
{
    if (tls)
        m_server = std::make_unique<httplib::SSLServer>(tls->serverCertificate(), tls->serverKey());
    else
        m_server = std::make_unique<httplib::Server>();
    m_server->Get(R"(/.*)", [this](const httplib::Request& request, httplib::Response& response) {
        answer(request, response);
    });
    m_port = m_server->bind_to_any_port(address);
    m_base = (tls ? "https://" : "http://") + address + ":" + std::to_string(m_port);
    m_thread = std::thread([this] { m_server->listen_after_bind(); });
    while (!m_server->is_running())
        std::this_thread::sleep_for(1ms);
}

PageServer::~PageServer()
{
    release();
    m_server->stop();
    m_thread.join();
}

std::string PageServer::url(const std::string& path) const
{
    return m_base + path;
}

void PageServer::page(const std::string& path, std::string body)
{
    const std::lock_guard lock(m_mutex);
    m_pages[path] = std::move(body);
}

void PageServer::handle(const std::string& pattern, Handler handler)
{
    const std::lock_guard lock(m_mutex);
    m_handlers.emplace_back(std::regex(pattern), std::move(handler));
}

void PageServer::requireHeader(std::string name, std::string value)
{
    const std::lock_guard lock(m_mutex);
    m_requiredHeaders.emplace_back(std::move(name), std::move(value));
}

int PageServer::hits(const std::string& path)
{
    const std::lock_guard lock(m_mutex);
    return m_hits[path];
}

void PageServer::waitForRelease() const
{
    while (!m_released)
        std::this_thread::sleep_for(10ms);
}

void PageServer::answer(const httplib::Request& request, httplib::Response& response)
{
    Handler handler;
    std::string body;
    bool found = false;
    bool headersMatch = true;
    {
        const std::lock_guard lock(m_mutex);
        ++m_hits[request.path];
        for (const auto& [pattern, candidate] : m_handlers) {
            if (std::regex_match(request.path, pattern)) {
                handler = candidate;
                break;
            }
        }
        if (!handler) {
            const auto page = m_pages.find(request.path);
            found = page != m_pages.end();
            if (found)
                body = page->second;
            for (const auto& [name, value] : m_requiredHeaders)
                headersMatch = headersMatch && request.get_header_value(name) == value;
        }
    }
    // Outside the lock: a handler may wait for the test.
    if (handler) {
        handler(request, response);
    } else if (!found) {
        response.status = 404;
    } else if (!headersMatch) {
        response.status = 400;
    } else {
        response.set_content(body, "text/html");
    }
}

} // namespace tarvelo::test
