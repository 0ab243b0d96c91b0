// lumivant-cli deliveries: the receipts the sends left, newest last.
#include "cli/cli_command.h"

#include "comm/delivery_receipts.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include <cstdio>

namespace {

QString ReceiptLine(const DeliveryReceipt& receipt, bool withProject)
{
    QStringList parts;
    QString head = receipt.time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) +
                   u' ' + DeliveryResultName(receipt.result);
    if (withProject)
        head += u' ' + (receipt.projectFile.isEmpty() ? QStringLiteral("(unsaved project)")
                                                      : receipt.projectFile);
    head += QStringLiteral(" #%1 %2").arg(receipt.screenNumber).arg(receipt.screenName);
    parts << head << receipt.link;
    if (!receipt.cardModel.isEmpty())
        parts << QStringLiteral("%1 %2").arg(receipt.cardModel, receipt.cardVersion).trimmed();
    parts << QStringLiteral("%1 bytes").arg(receipt.bytes);
    if (!receipt.sha256.isEmpty())
        parts << QStringLiteral("sha256 %1").arg(QString::fromLatin1(receipt.sha256));
    QString line = parts.join(QStringLiteral(", "));
    if (!receipt.error.isEmpty())
        line += QStringLiteral(": ") + receipt.error;
    return line;
}

} // namespace

int RunDeliveries(const QStringList& words)
{
    QString error;
    const auto arguments =
        CliArguments::Parse(words, {QStringLiteral("screen")}, {QStringLiteral("json")}, error);
    if (!arguments)
        return CliUsageError(error);
    if (arguments->Positional().size() > 1)
        return CliUsageError(QStringLiteral("deliveries takes at most one FILE"));
    int screen = 0;
    if (!arguments->IntValue(QStringLiteral("screen"), 1, 65535, screen, error))
        return CliUsageError(error);
    const bool json = arguments->Has(QStringLiteral("json"));
    const QString project = arguments->Positional().isEmpty()
                                ? QString()
                                : DeliveryProjectPath(arguments->Positional().first());

    QList<DeliveryReceipt> receipts;
    // Asking creates no store.
    if (QFileInfo::exists(CDeliveryStore::DefaultPath())) {
        const CDeliveryStore store;
        receipts = store.List(project, screen);
        if (!store.LastError().isEmpty())
            return CliFail(store.LastError());
    }
    if (json) {
        QJsonArray array;
        for (const DeliveryReceipt& receipt : receipts)
            array.append(ReceiptToJson(receipt));
        std::fputs(QJsonDocument(array).toJson(QJsonDocument::Indented).constData(), stdout);
        return CliOk;
    }
    if (receipts.isEmpty())
        CliPrint(QStringLiteral("No deliveries."));
    for (const DeliveryReceipt& receipt : receipts)
        CliPrint(ReceiptLine(receipt, project.isEmpty()));
    return CliOk;
}
