#pragma once

#include "server/api_error.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <semaphore>

namespace httplib {
struct Request;
struct Response;
} // namespace httplib

class CHttpServer;
class CProjectHost;
class CSendJobs;
class CServerToken;

// The server's answers: the web page at / and the JSON API under /api/v1, every API request
// with the bearer token. Requests are checked before their bodies are read: a missing token,
// an unknown address or a body too large are answered at once and the connection closed.
class CServerApi
{
public:
    static constexpr qint64 kMaxTextBody = 64 * 1024;
    static constexpr qint64 kMaxPictureBody = 32 * 1024 * 1024;
    static constexpr qint64 kMaxJsonBody = 64 * 1024;
    // How long GET /screens/N/status waits for the card before it answers with the job.
    static constexpr int kStatusWaitMs = 20000;
    // Pictures taken in at once (each up to kMaxPictureBody, and decoded to be checked), and
    // how long one waits for its turn.
    static constexpr int kPictureSlots = 2;
    static constexpr int kPictureWaitMs = 30000;

    CServerApi(CProjectHost& host, CSendJobs& jobs, const CServerToken& token);

    // Installs the routes on the server.
    void Install(CHttpServer& server);

    struct Route;

private:
    bool Check(const httplib::Request& request, httplib::Response& response, Route& route);
    void Serve(const Route& route, const httplib::Request& request, const QByteArray& body,
               httplib::Response& response);
    void ServeStatic(const Route& route, httplib::Response& response);
    void ServeApi(const Route& route, const httplib::Request& request, const QByteArray& body,
                  httplib::Response& response);

    CProjectHost& m_host;
    CSendJobs& m_jobs;
    const CServerToken& m_token;
    std::counting_semaphore<kPictureSlots> m_pictureSlots{kPictureSlots};
};

// Sends the answer as JSON.
void SetJson(httplib::Response& response, int status, const QJsonObject& json);
// {"error": TEXT} with the status.
void SetError(httplib::Response& response, const ApiError& error);
