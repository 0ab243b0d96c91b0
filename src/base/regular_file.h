#pragma once

#include <QString>

// True for an existing regular file (or a link to one). A FIFO, a device or a socket is
// not one: opening it could wait forever for a writer, or read without end.
bool IsRegularFile(const QString& path);
