#pragma once

#include <QString>

#include <functional>

// Forgets what the machine learned about the link-layer addresses of its neighbours, so
// that a controller that changed its network card or address is found again. Called after
// a failed network command. Loopback addresses have no neighbour entries and are skipped
// by the default action.
void FlushNeighbourCache(const QString& remoteAddress);

// Replaces the action (tests count the calls); an empty function restores the default.
void SetNeighbourCacheFlusher(std::function<void(const QString&)> flusher);
