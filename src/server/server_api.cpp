#include "server/server_api.h"

#include "base/string_table.h"
#include "comm/delivery_receipts.h"
#include "render/play_schedule.h"
#include "server/http_server.h"
#include "server/project_host.h"
#include "server/send_jobs.h"
#include "server/server_token.h"
#include "server/web_texts.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStringDecoder>

#include <cctype>
#include <cstdio>
#include <optional>

namespace {

using httplib::Request;
using httplib::Response;

constexpr int kTextNoToken = 61840;
constexpr int kTextBodyTooLarge = 61841;
constexpr int kTextBadJson = 61842;
constexpr int kTextNotFound = 61843;
constexpr int kTextWrongMethod = 61844;
constexpr int kTextBadAddress = 61845;
constexpr int kTextNoBody = 61846;
constexpr int kTextTextBody = 61847;
constexpr int kTextSendBody = 61848;
constexpr int kTextBothLinks = 61849;
constexpr int kTextPreviewQuery = 61850;
constexpr int kTextBadMoment = 61851;
constexpr int kTextNoSuchJob = 61852;
constexpr int kTextLinkStrings = 61853;
constexpr int kTextBodyEnded = 61855;
constexpr int kTextBusy = 61856;

constexpr int kMaxZoom = 16;

bool HasBody(const Request& request)
{
    return request.get_header_value_count("Transfer-Encoding") > 0 ||
           request.get_header_value<uint64_t>("Content-Length") > 0;
}

// Percent-escapes decoded, as UTF-8; false for a broken escape, a NUL or bytes that are no
// UTF-8.
bool DecodeSegment(const std::string& raw, QString& decoded)
{
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(raw.size()));
    for (std::size_t i = 0; i < raw.size(); ++i) {
        char c = raw[i];
        if (c == '%') {
            if (i + 2 >= raw.size() || !std::isxdigit(static_cast<unsigned char>(raw[i + 1])) ||
                !std::isxdigit(static_cast<unsigned char>(raw[i + 2])))
                return false;
            c = static_cast<char>(QByteArray(raw.data() + i + 1, 2).toInt(nullptr, 16));
            i += 2;
        }
        if (c == '\0')
            return false;
        bytes.append(c);
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    decoded = decoder(bytes);
    return !decoder.hasError();
}

void SetText(Response& response, int status, const QByteArray& bytes, const char* type)
{
    SetBody(response, status, bytes.toStdString(), type);
}

// A refused request whose body was not read: the connection goes after the answer.
void Refuse(const Request& request, Response& response, const ApiError& error)
{
    SetError(response, error);
    if (HasBody(request)) {
        response.set_header("Connection", "close");
        CHttpServer::CloseAfterResponse();
    }
}

std::optional<QJsonObject> ParseObject(const QByteArray& body, ApiError& error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(body, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        error = {400, LoadString(kTextBadJson)
                          .arg(QStringLiteral("%1 at offset %2")
                                   .arg(parseError.errorString())
                                   .arg(parseError.offset))};
        return std::nullopt;
    }
    if (!document.isObject()) {
        error = {400, LoadString(kTextBadJson).arg(QStringLiteral("not an object"))};
        return std::nullopt;
    }
    return document.object();
}

bool LinkOf(const QJsonObject& object, LinkChoice& link, ApiError& error)
{
    const QJsonValue udp = object.value(QStringLiteral("udp"));
    const QJsonValue serial = object.value(QStringLiteral("serial"));
    if ((!udp.isUndefined() && !udp.isString()) || (!serial.isUndefined() && !serial.isString())) {
        error = {400, LoadString(kTextLinkStrings)};
        return false;
    }
    link.udp = udp.toString();
    link.serial = serial.toString();
    if (!link.udp.isEmpty() && !link.serial.isEmpty()) {
        error = {400, LoadString(kTextBothLinks)};
        return false;
    }
    return true;
}

QString Param(const Request& request, const char* name)
{
    return request.has_param(name) ? QString::fromStdString(request.get_param_value(name))
                                   : QString();
}

bool IntParam(const Request& request, const char* name, int low, int high, int& value)
{
    if (!request.has_param(name))
        return true;
    bool ok = false;
    const int number = Param(request, name).toInt(&ok);
    if (!ok || number < low || number > high)
        return false;
    value = number;
    return true;
}

} // namespace

// What a request asks for, as far as its method and address tell.
struct CServerApi::Route
{
    enum class Kind {
        NotFound,
        BadAddress,
        WrongMethod,
        Static,
        Project,
        ZonePreview,
        ZoneText,
        ZoneImage,
        ProgramPreview,
        ScreenSend,
        ScreenStatus,
        SendMany,
        Job,
        Deliveries,
        Schedule,
    };
    Kind kind = Kind::NotFound;
    bool api = false;
    const char* method = "GET";
    qint64 bodyLimit = 0;
    QString path; // a zone's or program's path
    QString name; // a static file
    qint64 number = 0;

    static Route Of(const Request& request);
};

CServerApi::Route CServerApi::Route::Of(const Request& request)
{
    Route route;
    const std::string& target = request.target;
    const std::string rawPath = target.substr(0, target.find('?'));
    QStringList segments;
    std::size_t start = 0;
    if (rawPath.empty() || rawPath[0] != '/') {
        route.kind = Kind::BadAddress;
        return route;
    }
    for (;;) {
        start += 1;
        const std::size_t end = rawPath.find('/', start);
        QString segment;
        if (!DecodeSegment(
                rawPath.substr(start, end == std::string::npos ? std::string::npos : end - start),
                segment)) {
            route.kind = Kind::BadAddress;
            return route;
        }
        segments << segment;
        if (end == std::string::npos)
            break;
        start = end;
    }

    auto expect = [&](Kind kind, const char* method, qint64 limit = 0) {
        route.kind = kind;
        route.method = method;
        route.bodyLimit = limit;
    };
    if (segments.size() == 1) {
        static const QStringList kFiles = {QString(), QStringLiteral("app.js"),
                                           QStringLiteral("style.css"), QStringLiteral("texts.js")};
        if (kFiles.contains(segments[0])) {
            expect(Kind::Static, "GET");
            route.name = segments[0].isEmpty() ? QStringLiteral("index.html") : segments[0];
        }
        return route;
    }
    if (segments.size() < 3 || segments[0] != QLatin1String("api") ||
        segments[1] != QLatin1String("v1"))
        return route;
    route.api = true;
    const QStringList rest = segments.mid(2);
    const QString& first = rest[0];
    const qsizetype count = rest.size();
    if (count == 1 && first == QLatin1String("project")) {
        expect(Kind::Project, "GET");
    } else if (count == 1 && first == QLatin1String("send")) {
        expect(Kind::SendMany, "POST", kMaxJsonBody);
    } else if (count == 1 && first == QLatin1String("deliveries")) {
        expect(Kind::Deliveries, "GET");
    } else if (count == 1 && first == QLatin1String("schedule")) {
        expect(Kind::Schedule, "GET");
    } else if (count == 2 && first == QLatin1String("jobs")) {
        bool ok = false;
        route.number = rest[1].toLongLong(&ok);
        if (ok && route.number > 0)
            expect(Kind::Job, "GET");
    } else if (count == 3 && first == QLatin1String("screens")) {
        bool ok = false;
        route.number = rest[1].toInt(&ok);
        if (ok && route.number > 0 && rest[2] == QLatin1String("send"))
            expect(Kind::ScreenSend, "POST", kMaxJsonBody);
        else if (ok && route.number > 0 && rest[2] == QLatin1String("status"))
            expect(Kind::ScreenStatus, "GET");
    } else if (count >= 3 && first == QLatin1String("zones")) {
        route.path = CProjectHost::PathOfParts(rest.mid(1, count - 2));
        if (rest.last() == QLatin1String("preview.png"))
            expect(Kind::ZonePreview, "GET");
        else if (rest.last() == QLatin1String("text"))
            expect(Kind::ZoneText, "PUT", kMaxTextBody);
        else if (rest.last() == QLatin1String("image"))
            expect(Kind::ZoneImage, "PUT", kMaxPictureBody);
    } else if (count >= 3 && first == QLatin1String("programs") &&
               rest.last() == QLatin1String("preview.gif")) {
        route.path = CProjectHost::PathOfParts(rest.mid(1, count - 2));
        expect(Kind::ProgramPreview, "GET");
    }
    if (route.kind != Kind::NotFound) {
        const std::string& method = request.method;
        const bool get = std::string(route.method) == "GET";
        if (method != route.method && !(get && method == "HEAD"))
            route.kind = Kind::WrongMethod;
    }
    return route;
}

CServerApi::CServerApi(CProjectHost& host, CSendJobs& jobs, const CServerToken& token)
    : m_host(host), m_jobs(jobs), m_token(token)
{}

bool CServerApi::Check(const Request& request, Response& response, Route& route)
{
    route = Route::Of(request);
    if (route.kind == Route::Kind::BadAddress) {
        Refuse(request, response, {400, LoadString(kTextBadAddress)});
        return false;
    }
    if (route.api &&
        !m_token.Accepts(QByteArray::fromStdString(request.get_header_value("Authorization")))) {
        response.set_header("WWW-Authenticate", "Bearer");
        Refuse(request, response, {401, LoadString(kTextNoToken)});
        return false;
    }
    const QString target = QString::fromStdString(request.path);
    if (route.kind == Route::Kind::NotFound) {
        Refuse(request, response, {404, LoadString(kTextNotFound).arg(target)});
        return false;
    }
    if (route.kind == Route::Kind::WrongMethod) {
        response.set_header("Allow", route.method);
        Refuse(request, response,
               {405,
                LoadString(kTextWrongMethod).arg(target, QString::fromStdString(request.method))});
        return false;
    }
    const bool chunked = request.get_header_value_count("Transfer-Encoding") > 0;
    const auto length = request.get_header_value<uint64_t>("Content-Length");
    if (route.bodyLimit == 0 && HasBody(request)) {
        Refuse(request, response, {413, LoadString(kTextNoBody)});
        return false;
    }
    if (!chunked && length > static_cast<uint64_t>(route.bodyLimit)) {
        Refuse(request, response, {413, LoadString(kTextBodyTooLarge).arg(route.bodyLimit)});
        return false;
    }
    return true;
}

void CServerApi::Install(CHttpServer& server)
{
    server.set_pre_routing_handler([this](const Request& request, Response& response) {
        const CThreadLanguage language(
            LanguageOfRequest(request.get_header_value("Accept-Language")));
        Route route;
        if (!Check(request, response, route))
            return httplib::Server::HandlerResponse::Handled;
        if (route.bodyLimit > 0 && HasBody(request))
            return httplib::Server::HandlerResponse::Unhandled;
        Serve(route, request, {}, response);
        return httplib::Server::HandlerResponse::Handled;
    });
    const auto withBody = [this](const Request& request, Response& response,
                                 const httplib::ContentReader& reader) {
        const CThreadLanguage language(
            LanguageOfRequest(request.get_header_value("Accept-Language")));
        Route route;
        if (!Check(request, response, route))
            return;
        // Large bodies are taken in a few at a time: the memory stays bounded however many
        // clients upload at once.
        const bool picture = route.kind == Route::Kind::ZoneImage;
        if (picture && !m_pictureSlots.try_acquire_for(std::chrono::milliseconds(kPictureWaitMs))) {
            response.set_header("Connection", "close");
            response.set_header("Retry-After", "5");
            CHttpServer::CloseAfterResponse();
            SetError(response, {503, LoadString(kTextBusy)});
            return;
        }
        struct SlotRelease
        {
            std::counting_semaphore<kPictureSlots>* held;
            ~SlotRelease()
            {
                if (held)
                    held->release();
            }
        } release{picture ? &m_pictureSlots : nullptr};
        QByteArray body;
        bool tooLarge = false;
        const bool complete = reader([&](const char* data, size_t length) {
            if (body.size() + static_cast<qint64>(length) > route.bodyLimit) {
                tooLarge = true;
                return false;
            }
            body.append(data, static_cast<qsizetype>(length));
            return true;
        });
        if (tooLarge || !complete) {
            response.set_header("Connection", "close");
            CHttpServer::CloseAfterResponse();
            SetError(response,
                     tooLarge ? ApiError{413, LoadString(kTextBodyTooLarge).arg(route.bodyLimit)}
                              : ApiError{400, LoadString(kTextBodyEnded)});
            return;
        }
        Serve(route, request, body, response);
    };
    server.Put(".*", withBody);
    server.Post(".*", withBody);
    // A client that waits before sending a large body is told at once when it is refused.
    server.set_expect_100_continue_handler([this](const Request& request, Response& response) {
        const CThreadLanguage language(
            LanguageOfRequest(request.get_header_value("Accept-Language")));
        Route route;
        if (Check(request, response, route))
            return 100;
        response.set_header("Connection", "close");
        CHttpServer::CloseAfterResponse();
        return response.status;
    });
    server.set_logger([](const Request& request, const Response& response) {
        if (request.method == "GET" && response.status < 500)
            return;
        std::printf("%s %s %d\n", request.method.c_str(), request.path.c_str(), response.status);
        std::fflush(stdout);
    });
}

void CServerApi::Serve(const Route& route, const Request& request, const QByteArray& body,
                       Response& response)
{
    if (route.kind == Route::Kind::Static)
        ServeStatic(route, response);
    else
        ServeApi(route, request, body, response);
}

void CServerApi::ServeStatic(const Route& route, Response& response)
{
    // The page runs only what it brings itself, and no other site may frame it.
    response.set_header("Content-Security-Policy",
                        "default-src 'self'; img-src 'self' blob: data:; script-src 'self'; "
                        "style-src 'self'; connect-src 'self'; frame-ancestors 'none'; "
                        "base-uri 'none'; form-action 'none'");
    response.set_header("X-Content-Type-Options", "nosniff");
    response.set_header("Referrer-Policy", "no-referrer");
    response.set_header("Cache-Control", "no-cache");
    if (route.name == QLatin1String("texts.js")) {
        SetText(response, 200, WebTextsScript(), "text/javascript; charset=utf-8");
        return;
    }
    QFile file(QStringLiteral(":/web/") + route.name);
    if (!file.open(QIODevice::ReadOnly)) {
        SetError(response, {404, LoadString(kTextNotFound).arg(route.name)});
        return;
    }
    const char* type = route.name.endsWith(QLatin1String(".js")) ? "text/javascript; charset=utf-8"
                       : route.name.endsWith(QLatin1String(".css")) ? "text/css; charset=utf-8"
                                                                    : "text/html; charset=utf-8";
    SetText(response, 200, file.readAll(), type);
}

void CServerApi::ServeApi(const Route& route, const Request& request, const QByteArray& body,
                          Response& response)
{
    using Kind = Route::Kind;
    response.set_header("Cache-Control", "no-store");
    ApiError error;
    QJsonObject json;
    switch (route.kind) {
    case Kind::Project: {
        QByteArray tree;
        if (!m_host.TreeJson(tree, error))
            break;
        SetText(response, 200, tree, "application/json");
        return;
    }
    case Kind::ZonePreview:
    case Kind::ProgramPreview: {
        const bool zone = route.kind == Kind::ZonePreview;
        int zoom = zone ? 1 : 4;
        int page = 1;
        int dots = 0;
        if (!IntParam(request, "zoom", 1, kMaxZoom, zoom) ||
            !IntParam(request, "page", 1, 0x7FFFFFFF, page) ||
            !IntParam(request, "dots", 0, 1, dots)) {
            error = {400, LoadString(kTextPreviewQuery)};
            break;
        }
        QByteArray picture;
        if (zone ? !m_host.ZonePreview(route.path, page, zoom, dots != 0, picture, error)
                 : !m_host.ProgramPreview(route.path, zoom, dots != 0, picture, error))
            break;
        SetText(response, 200, picture, zone ? "image/png" : "image/gif");
        return;
    }
    case Kind::ZoneText: {
        const std::optional<QJsonObject> object = ParseObject(body, error);
        if (!object)
            break;
        const QJsonValue text = object->value(QStringLiteral("text"));
        const QJsonValue rtf = object->value(QStringLiteral("rtf"));
        if (text.isString() == rtf.isString() || (!text.isUndefined() && !text.isString()) ||
            (!rtf.isUndefined() && !rtf.isString())) {
            error = {400, LoadString(kTextTextBody)};
            break;
        }
        if (!m_host.SetZoneText(route.path, text.isString() ? text.toString() : rtf.toString(),
                                text.isString() ? CProjectHost::TextForm::Plain
                                                : CProjectHost::TextForm::Rtf,
                                json, error))
            break;
        SetJson(response, 200, json);
        return;
    }
    case Kind::ZoneImage:
        if (!m_host.SetZoneImage(route.path, body, json, error))
            break;
        SetJson(response, 200, json);
        return;
    case Kind::ScreenSend:
    case Kind::SendMany: {
        QJsonObject object;
        if (!body.isEmpty() || route.kind == Kind::SendMany) {
            const std::optional<QJsonObject> parsed = ParseObject(body, error);
            if (!parsed)
                break;
            object = *parsed;
        }
        LinkChoice link;
        if (!LinkOf(object, link, error))
            break;
        QList<int> screens;
        if (route.kind == Kind::ScreenSend) {
            screens << static_cast<int>(route.number);
        } else {
            const QJsonValue list = object.value(QStringLiteral("screens"));
            bool valid = list.isArray() && !list.toArray().isEmpty();
            for (const QJsonValue& each : list.toArray()) {
                const double number = each.toDouble(-1);
                valid = valid && each.isDouble() && number >= 1 && number <= 0xFFFF &&
                        number == static_cast<int>(number);
                screens << static_cast<int>(number);
            }
            if (!valid) {
                error = {400, LoadString(kTextSendBody)};
                break;
            }
        }
        if (!m_jobs.StartSend(screens, link, object.value(QStringLiteral("ignoreOverlap")).toBool(),
                              json, error))
            break;
        response.set_header("Location", QStringLiteral("/api/v1/jobs/%1")
                                            .arg(json.value(QStringLiteral("id")).toInteger())
                                            .toStdString());
        SetJson(response, 202, json);
        return;
    }
    case Kind::ScreenStatus: {
        QJsonObject query;
        if (request.has_param("udp"))
            query.insert(QStringLiteral("udp"), Param(request, "udp"));
        if (request.has_param("serial"))
            query.insert(QStringLiteral("serial"), Param(request, "serial"));
        LinkChoice link;
        if (!LinkOf(query, link, error) ||
            !m_jobs.StartStatus(static_cast<int>(route.number), link, json, error))
            break;
        m_jobs.Wait(json.value(QStringLiteral("id")).toInteger(), kStatusWaitMs, json);
        const QString state = json.value(QStringLiteral("state")).toString();
        if (state == QLatin1String("done")) {
            QJsonObject result = json.value(QStringLiteral("result")).toObject();
            result.insert(QStringLiteral("job"), json.value(QStringLiteral("id")));
            SetJson(response, 200, result);
        } else if (state == QLatin1String("failed")) {
            SetJson(response, 502,
                    {{QStringLiteral("error"), json.value(QStringLiteral("message"))},
                     {QStringLiteral("job"), json.value(QStringLiteral("id"))}});
        } else {
            SetJson(response, 202, json);
        }
        return;
    }
    case Kind::Job:
        if (!m_jobs.Find(route.number, json)) {
            error = {404, LoadString(kTextNoSuchJob).arg(route.number)};
            break;
        }
        SetJson(response, 200, json);
        return;
    case Kind::Deliveries: {
        // The store belongs to the thread that opens it: one per request.
        const CDeliveryStore store;
        const QList<DeliveryReceipt> receipts = store.List(DeliveryProjectPath(m_host.Path()));
        if (!store.LastError().isEmpty()) {
            error = {500, store.LastError()};
            break;
        }
        QJsonArray list;
        for (const DeliveryReceipt& receipt : receipts)
            list.append(ReceiptToJson(receipt));
        SetJson(response, 200, {{QStringLiteral("deliveries"), list}});
        return;
    }
    case Kind::Schedule: {
        QDateTime moment;
        if (!CPlaySchedule::ParseMoment(Param(request, "at"), moment)) {
            error = {400, LoadString(kTextBadMoment)};
            break;
        }
        if (!m_host.Schedule(moment, json, error))
            break;
        SetJson(response, 200, json);
        return;
    }
    default:
        error = {404, LoadString(kTextNotFound).arg(QString::fromStdString(request.path))};
        break;
    }
    SetError(response, error);
}

void SetJson(Response& response, int status, const QJsonObject& json)
{
    SetBody(response, status, QJsonDocument(json).toJson(QJsonDocument::Compact).toStdString(),
            "application/json");
}

void SetError(Response& response, const ApiError& error)
{
    SetJson(response, error.status, {{QStringLiteral("error"), error.message}});
}
