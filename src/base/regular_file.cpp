#include "base/regular_file.h"

#include <QFile>

#include <sys/stat.h>

bool IsRegularFile(const QString& path)
{
    if (path.isEmpty())
        return false;
    struct stat status
    {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 && S_ISREG(status.st_mode);
}
