#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>

enum class DeliveryResult { Ok, Failed, Cancelled };

// What one send of a screen did.
struct DeliveryReceipt
{
    qint64 id = 0;
    QDateTime time;      // UTC
    QString projectFile; // absolute path of the project file
    QString screenName;
    int screenNumber = 0; // from 1
    QString link;         // as the person knows it, e.g. "UDP 127.0.0.1:5959", "/dev/ttyUSB0 57600"
    QString cardModel;    // the card's identity (model name) and
    QString cardVersion;  // its version "%d.%d.%d"; empty when never identified
    qint64 bytes = 0;
    QByteArray sha256; // hex digest of the screen data sent
    DeliveryResult result = DeliveryResult::Failed;
    QString error; // the system's text of a failure
};

// The user's record of deliveries, one receipt per send of a screen, in an SQLite database
// that several processes append to at once. An object belongs to the thread that made it
// (each one has a database connection of its own).
class CDeliveryStore
{
public:
    explicit CDeliveryStore(const QString& databasePath = DefaultPath());
    ~CDeliveryStore();
    CDeliveryStore(const CDeliveryStore&) = delete;
    CDeliveryStore& operator=(const CDeliveryStore&) = delete;

    // The state folder's "deliveries.sqlite".
    static QString DefaultPath();

    [[nodiscard]] bool Append(const DeliveryReceipt& receipt);
    // Oldest first; an empty projectFile / screenNumber 0 means all. Empty, with the
    // reason in LastError(), when the store cannot be read.
    QList<DeliveryReceipt> List(const QString& projectFile = {}, int screenNumber = 0) const;
    std::optional<DeliveryReceipt> Last(const QString& projectFile, int screenNumber) const;
    // Empty after a success.
    const QString& LastError() const { return m_lastError; }

private:
    bool Ready() const;
    QList<DeliveryReceipt> Select(const QString& projectFile, int screenNumber,
                                  bool lastOnly) const;
    bool Fail(int messageId, const QString& reason) const;

    QString m_path;
    QString m_connection;
    mutable bool m_ready = false;
    mutable bool m_triedOpen = false;
    mutable QString m_openFailure;
    mutable QString m_lastError;
};

// "ok", "failed", "cancelled": the words of the JSON form and of the command-line list.
QString DeliveryResultName(DeliveryResult result);
// `deliveries --json` and the server use it.
QJsonObject ReceiptToJson(const DeliveryReceipt& receipt);
// The absolute, cleaned path a project file is recorded under.
QString DeliveryProjectPath(const QString& path);
