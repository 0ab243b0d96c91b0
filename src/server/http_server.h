#pragma once

#include <httplib.h>

#include <atomic>
#include <string>

// The distribution's HTTP server with its connections in our hands: a handler can have the
// connection closed after its answer (a body refused before it was read must not be taken
// for the next request), and such a connection lingers briefly, draining a bounded amount,
// so that the client reads the answer instead of a reset.
class CHttpServer : public httplib::Server
{
public:
    static constexpr int kWorkerThreads = 12;
    static constexpr int kKeepAliveRequests = 100;
    static constexpr int kReadTimeoutSeconds = 10;

    CHttpServer();

    // From a handler: close this connection once the answer is written.
    static void CloseAfterResponse();
    // The number of connections being served now.
    int OpenConnections() const { return m_open; }

protected:
    bool process_and_close_socket(socket_t sock) override;

private:
    std::atomic<int> m_open{0};
};

// An answer with a body of the type; HTTP status as given.
void SetBody(httplib::Response& response, int status, std::string body, const char* type);
