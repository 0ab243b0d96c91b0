#pragma once

#include "comm/delivery_receipts.h"

#include <QDateTime>
#include <QString>

#include <optional>

class CScreen;

// The last receipt of a screen of the open project: its project file (an untitled
// project's own receipts have none) and its number. Nothing when the screen was never
// sent; a store that cannot be read gives nothing and its reason in `error`. Looking never
// creates a store.
std::optional<DeliveryReceipt> LastDeliveryOf(const CScreen& screen, QString* error = nullptr);
// The receipt in one line, in the language in use: "Sent today 14:03, 262 912 bytes.",
// or when and why it failed, or that it was cancelled. now: for "today".
QString DeliverySummary(const DeliveryReceipt& receipt,
                        const QDateTime& now = QDateTime::currentDateTime());
// "today 14:03", else "2026-12-08 14:03" (local time).
QString DeliveryWhen(const QDateTime& time, const QDateTime& now = QDateTime::currentDateTime());
// 262912 as "262 912".
QString GroupedNumber(qint64 number);
