// Opening a 4 MiB firmware package (Triple DES decryption and checks) against a budget of
// 10 MiB per second.
#include "bench/bench_registry.h"

#include "comm/firmware_package.h"
#include "comm/firmware_packer.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

namespace {

double RunFirmwareFigure()
{
    const int size = 4 << 20;
    QByteArray image(size, '\0');
    for (int i = 0; i < size; ++i)
        image[i] = char(i * 31 + (i >> 9));
    QByteArray package;
    QString error;
    if (!BuildFirmwarePackage(image, {1, 1}, QStringLiteral("bench"), package, error))
        return -1;
    double best = 1e300;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer timer;
        timer.start();
        CFirmwarePackage loaded;
        int message = 0;
        if (!CFirmwarePackage::Open(package, QStringLiteral("bench"), FirmwareTarget{1, 1}, loaded,
                                    message))
            return -1;
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    const double budgetMs = 1000.0 * size / (10 << 20);
    std::printf("open 4 MiB package: %.1f ms (budget %.1f ms)\n", best, budgetMs);
    return best / budgetMs;
}

const BenchRegistration kFirmware("firmware",
                                  "4 MiB package open time / 10 MiB-per-second budget (goal <= 1)",
                                  RunFirmwareFigure);

} // namespace
