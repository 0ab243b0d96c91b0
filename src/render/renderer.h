#pragma once

#include <QDateTime>

// Installs the zone and border renderer into the model (and the font mapping it needs).
// Programs call it once at start, after the QGuiApplication exists.
void InstallRenderer();

// The moment the live zones show; an invalid value (the default) means the current time.
void SetRenderTime(const QDateTime& localTime);
QDateTime RenderTime();
