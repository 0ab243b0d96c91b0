#include "editors/delivery_text.h"

#include "base/string_table.h"
#include "model/project_root.h"
#include "model/screen.h"

#include <QFileInfo>

namespace {

constexpr int kTextSent = 62010;
constexpr int kTextFailed = 62011;
constexpr int kTextCancelled = 62012;
constexpr int kTextToday = 62013;

// Fills the "%s" of a numbered text in order.
QString FillIn(QString format, const QStringList& values)
{
    for (const QString& value : values) {
        const qsizetype at = format.indexOf(QStringLiteral("%s"));
        if (at < 0)
            break;
        format.replace(at, 2, value);
    }
    return format;
}

} // namespace

std::optional<DeliveryReceipt> LastDeliveryOf(const CScreen& screen, QString* error)
{
    const CProjectObject* root = screen.Parent();
    if (!root || root->GetKind() != KindRoot)
        return std::nullopt;
    // Screens are numbered from 1, as the send records them.
    int number = 0;
    for (int i = 0; i < root->GetChildCount(); ++i) {
        const CProjectObject* child = root->GetChild(i);
        number += child->GetKind() == KindScreen ? 1 : 0;
        if (child == &screen)
            break;
    }
    if (!QFileInfo::exists(CDeliveryStore::DefaultPath()))
        return std::nullopt;
    const CDeliveryStore store;
    const QString project =
        DeliveryProjectPath(static_cast<const CProjectRoot*>(root)->ProjectPath());
    std::optional<DeliveryReceipt> last;
    if (!project.isEmpty()) {
        last = store.Last(project, number);
    } else {
        // An empty file name asks for every project's: the untitled ones' are those without.
        const QList<DeliveryReceipt> all = store.List(QString(), number);
        for (auto it = all.rbegin(); it != all.rend() && !last; ++it) {
            if (it->projectFile.isEmpty())
                last = *it;
        }
    }
    if (error)
        *error = store.LastError();
    return last;
}

QString GroupedNumber(qint64 number)
{
    QString digits = QString::number(number < 0 ? -number : number);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, u' ');
    return number < 0 ? u'-' + digits : digits;
}

QString DeliveryWhen(const QDateTime& time, const QDateTime& now)
{
    const QDateTime local = time.toLocalTime();
    const QString clock = local.toString(QStringLiteral("HH:mm"));
    if (local.date() == now.toLocalTime().date())
        return FillIn(LoadString(kTextToday), {clock});
    return local.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

QString DeliverySummary(const DeliveryReceipt& receipt, const QDateTime& now)
{
    const QString when = DeliveryWhen(receipt.time, now);
    switch (receipt.result) {
    case DeliveryResult::Ok:
        return FillIn(LoadString(kTextSent), {when, GroupedNumber(receipt.bytes)});
    case DeliveryResult::Cancelled:
        return FillIn(LoadString(kTextCancelled), {when});
    case DeliveryResult::Failed:
        break;
    }
    return FillIn(LoadString(kTextFailed), {when, receipt.error});
}
