#pragma once

#include <QString>

// The process-wide last-error text. Operations that fail leave a text of the system here
// (or in the last-error text of their link or screen) and return 0; the caller decides
// whether to show it.
void RecordError(const QString& text);
QString LastError();
void ClearLastError();
