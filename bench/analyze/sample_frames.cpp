// Samples pictures of a video as the analysis's frame pass does: one a second over a stretch.
// Usage: sample-frames VIDEO FROM TO   (seconds); prints how many pictures it got and how long it took.
#include "media/FrameSampler.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: sample-frames VIDEO FROM TO\n");
        return 2;
    }
    std::vector<double> times;
    for (double t = std::atof(argv[2]); t <= std::atof(argv[3]); t += 1.0)
        times.push_back(t);
    QElapsedTimer timer;
    timer.start();
    const auto sampled = velarix::sampleFrames(QString::fromLocal8Bit(argv[1]), times, nullptr);
    if (!sampled) {
        std::fprintf(stderr, "%s\n", qPrintable(sampled.error().message));
        return 1;
    }
    int pictures = 0;
    for (const auto& frame : *sampled)
        pictures += frame.time ? 1 : 0;
    std::printf("%d of %zu pictures in %.2f s\n", pictures, times.size(), double(timer.elapsed()) / 1000);
    return pictures == int(times.size()) ? 0 : 1;
}
