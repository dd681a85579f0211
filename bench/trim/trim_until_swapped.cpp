// Trims FILE to START-END as the trimming window does (the original freed on the background thread)
// and prints the wall-clock time (seconds since the epoch) at which the trim returned, which is when
// the window's row says "Trimmed". Then waits for the free, untimed, so that the next run starts clean.
#include "trimming/ReplacedOriginal.h"
#include "trimming/TrimInPlace.h"

#include <QCoreApplication>
#include <QDateTime>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: trim-until-swapped FILE START END\n");
        return 2;
    }
    velarix::VideoTrimExportRequest request{QUrl::fromLocalFile(QString::fromLocal8Bit(argv[1])),
                                            std::atof(argv[2]),
                                            std::atof(argv[3]),
                                            false,
                                            {}};
    request.original.inBackground = true;
    const auto result = velarix::trimVideoInPlace(request);
    const double swappedAt = double(QDateTime::currentMSecsSinceEpoch()) / 1000.0;
    velarix::waitForPendingFrees();
    if (!result.ok()) {
        std::fprintf(stderr, "%s\n", qPrintable(result.error().message));
        return 1;
    }
    std::printf("%.3f\n", swappedAt);
    return 0;
}
