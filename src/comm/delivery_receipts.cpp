#include "comm/delivery_receipts.h"

#include "base/app_paths.h"
#include "base/string_table.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <atomic>

namespace {

constexpr int kTextCannotKeep = 61400;
constexpr int kTextCannotRead = 61404;
constexpr int kTextNoDriver = 61405;

// How long a writer waits for another process's write to end.
constexpr int kBusyTimeoutMs = 10000;

std::atomic<int> g_connectionNumber{0};

const char* const kSchema[] = {
    // Several processes append at once: the write-ahead log lets them, and readers, go
    // on side by side.
    "PRAGMA journal_mode=WAL",
    "PRAGMA synchronous=NORMAL",
    "CREATE TABLE IF NOT EXISTS deliveries ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " time_ms INTEGER NOT NULL,"
    " project_file TEXT NOT NULL,"
    " screen_name TEXT NOT NULL,"
    " screen_number INTEGER NOT NULL,"
    " link TEXT NOT NULL,"
    " card_model TEXT NOT NULL,"
    " card_version TEXT NOT NULL,"
    " bytes INTEGER NOT NULL,"
    " sha256 TEXT NOT NULL,"
    " result TEXT NOT NULL,"
    " error TEXT NOT NULL)",
    "CREATE INDEX IF NOT EXISTS deliveries_by_screen"
    " ON deliveries (project_file, screen_number, id)",
};

const char kColumns[] = "id, time_ms, project_file, screen_name, screen_number, link, card_model,"
                        " card_version, bytes, sha256, result, error";

// A text column takes "" rather than NULL.
QVariant Text(const QString& text)
{
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

DeliveryResult ResultFromName(const QString& name)
{
    if (name == QLatin1String("ok"))
        return DeliveryResult::Ok;
    if (name == QLatin1String("cancelled"))
        return DeliveryResult::Cancelled;
    return DeliveryResult::Failed;
}

} // namespace

QString DeliveryResultName(DeliveryResult result)
{
    switch (result) {
    case DeliveryResult::Ok:
        return QStringLiteral("ok");
    case DeliveryResult::Cancelled:
        return QStringLiteral("cancelled");
    case DeliveryResult::Failed:
        break;
    }
    return QStringLiteral("failed");
}

QString DeliveryProjectPath(const QString& path)
{
    if (path.isEmpty())
        return {};
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QJsonObject ReceiptToJson(const DeliveryReceipt& receipt)
{
    QJsonObject object;
    object.insert(QStringLiteral("id"), receipt.id);
    object.insert(QStringLiteral("time"), receipt.time.toUTC().toString(Qt::ISODateWithMs));
    object.insert(QStringLiteral("projectFile"), receipt.projectFile);
    object.insert(QStringLiteral("screenName"), receipt.screenName);
    object.insert(QStringLiteral("screenNumber"), receipt.screenNumber);
    object.insert(QStringLiteral("link"), receipt.link);
    object.insert(QStringLiteral("cardModel"), receipt.cardModel);
    object.insert(QStringLiteral("cardVersion"), receipt.cardVersion);
    object.insert(QStringLiteral("bytes"), receipt.bytes);
    object.insert(QStringLiteral("sha256"), QString::fromLatin1(receipt.sha256));
    object.insert(QStringLiteral("result"), DeliveryResultName(receipt.result));
    object.insert(QStringLiteral("error"), receipt.error);
    return object;
}

CDeliveryStore::CDeliveryStore(const QString& databasePath)
    : m_path(databasePath),
      m_connection(QStringLiteral("lumivant-deliveries-%1").arg(++g_connectionNumber))
{}

CDeliveryStore::~CDeliveryStore()
{
    if (!m_triedOpen)
        return;
    {
        QSqlDatabase database = QSqlDatabase::database(m_connection, false);
        database.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

QString CDeliveryStore::DefaultPath()
{
    return StateFolder() + QStringLiteral("/deliveries.sqlite");
}

bool CDeliveryStore::Fail(int messageId, const QString& reason) const
{
    QString text = LoadString(messageId);
    for (const QString& value : {QDir::toNativeSeparators(m_path), reason.trimmed()}) {
        const qsizetype at = text.indexOf(QStringLiteral("%s"));
        if (at >= 0)
            text.replace(at, 2, value);
    }
    m_lastError = text;
    return false;
}

bool CDeliveryStore::Ready() const
{
    if (m_triedOpen)
        return m_ready;
    m_triedOpen = true;
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))) {
        m_openFailure = LoadString(kTextNoDriver);
        return false;
    }
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    if (m_path.isEmpty()) {
        m_openFailure = LoadString(43024);
        return false;
    }
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    database.setDatabaseName(m_path);
    database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    if (!database.open()) {
        m_openFailure = database.lastError().text();
        return false;
    }
    QSqlQuery query(database);
    for (const char* statement : kSchema) {
        if (!query.exec(QString::fromLatin1(statement))) {
            m_openFailure = query.lastError().text();
            return false;
        }
    }
    m_ready = true;
    return true;
}

bool CDeliveryStore::Append(const DeliveryReceipt& receipt)
{
    if (!Ready())
        return Fail(kTextCannotKeep, m_openFailure);
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(QStringLiteral(
        "INSERT INTO deliveries (time_ms, project_file, screen_name, screen_number, link,"
        " card_model, card_version, bytes, sha256, result, error)"
        " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    const QDateTime time = receipt.time.isValid() ? receipt.time : QDateTime::currentDateTimeUtc();
    query.addBindValue(time.toMSecsSinceEpoch());
    query.addBindValue(Text(receipt.projectFile));
    query.addBindValue(Text(receipt.screenName));
    query.addBindValue(receipt.screenNumber);
    query.addBindValue(Text(receipt.link));
    query.addBindValue(Text(receipt.cardModel));
    query.addBindValue(Text(receipt.cardVersion));
    query.addBindValue(receipt.bytes);
    query.addBindValue(Text(QString::fromLatin1(receipt.sha256)));
    query.addBindValue(DeliveryResultName(receipt.result));
    query.addBindValue(Text(receipt.error));
    if (!query.exec())
        return Fail(kTextCannotKeep, query.lastError().text());
    m_lastError.clear();
    return true;
}

QList<DeliveryReceipt> CDeliveryStore::Select(const QString& projectFile, int screenNumber,
                                              bool lastOnly) const
{
    QList<DeliveryReceipt> receipts;
    if (!Ready()) {
        Fail(kTextCannotRead, m_openFailure);
        return receipts;
    }
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT %1 FROM deliveries"
                       " WHERE (? = '' OR project_file = ?) AND (? = 0 OR screen_number = ?)"
                       " ORDER BY id %2")
            .arg(QLatin1String(kColumns),
                 lastOnly ? QStringLiteral("DESC LIMIT 1") : QStringLiteral("ASC")));
    query.addBindValue(Text(projectFile));
    query.addBindValue(Text(projectFile));
    query.addBindValue(screenNumber);
    query.addBindValue(screenNumber);
    if (!query.exec()) {
        Fail(kTextCannotRead, query.lastError().text());
        return receipts;
    }
    while (query.next()) {
        DeliveryReceipt receipt;
        receipt.id = query.value(0).toLongLong();
        receipt.time = QDateTime::fromMSecsSinceEpoch(query.value(1).toLongLong(), Qt::UTC);
        receipt.projectFile = query.value(2).toString();
        receipt.screenName = query.value(3).toString();
        receipt.screenNumber = query.value(4).toInt();
        receipt.link = query.value(5).toString();
        receipt.cardModel = query.value(6).toString();
        receipt.cardVersion = query.value(7).toString();
        receipt.bytes = query.value(8).toLongLong();
        receipt.sha256 = query.value(9).toString().toLatin1();
        receipt.result = ResultFromName(query.value(10).toString());
        receipt.error = query.value(11).toString();
        receipts.append(receipt);
    }
    m_lastError.clear();
    return receipts;
}

QList<DeliveryReceipt> CDeliveryStore::List(const QString& projectFile, int screenNumber) const
{
    return Select(projectFile, screenNumber, false);
}

std::optional<DeliveryReceipt> CDeliveryStore::Last(const QString& projectFile,
                                                    int screenNumber) const
{
    const QList<DeliveryReceipt> receipts = Select(projectFile, screenNumber, true);
    if (receipts.isEmpty())
        return std::nullopt;
    return receipts.first();
}
