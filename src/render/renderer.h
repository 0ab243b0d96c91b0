#pragma once

#include <QDateTime>

// Installs the zone and border renderer into the model (and the font mapping it needs).
// Programs call it once at start, after the QGuiApplication exists.
void InstallRenderer();

// How many threads a screen's zones may be rendered on; 0 (the default) uses every core,
// 1 renders them one after another. The pages are the same either way.
void SetZoneThreadLimit(int threads);

// The moment the live zones show; an invalid value (the default) means the current time.
void SetRenderTime(const QDateTime& localTime);
QDateTime RenderTime();
