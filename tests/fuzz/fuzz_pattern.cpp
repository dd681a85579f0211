// Arbitrary text as an import pattern and the videos it names: whatever the pattern, the card name or
// the file names, every planned file stays below the destination and no two share a name.
//
// Input, line by line: the pattern; the card name; "<first jump> <grouping 0|1>"; then one video per
// line as "<path>\t<created, seconds since 1970>\t<duration in seconds>\t<size>". Missing fields
// take defaults; a creation time that is not a number stands for a file without one.
#include "FuzzSupport.h"

using namespace velarix;

namespace {

constexpr int kMaximumVideos = 64;

QDateTime createdFrom(const QString& field) {
    bool ok = false;
    const qint64 seconds = field.toLongLong(&ok);
    return ok ? QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC) : QDateTime();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::silenceLogs();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList lines = text.split(u'\n');

    OutputPlanInput input;
    input.importPattern = lines.value(0);
    input.cardName = lines.value(1);
    const QStringList settings = lines.value(2).split(u' ');
    input.jumpNumber = settings.value(0).toLongLong();
    input.autogroupVideos = settings.value(1) != QStringLiteral("0");
    input.now = QDateTime(QDate(2024, 5, 2), QTime(8, 0), Qt::UTC);
    for (qsizetype i = 3; i < lines.size() && input.videos.size() < kMaximumVideos; ++i) {
        const QStringList fields = lines[i].split(u'\t');
        auto row = VideoFileRowPtr::create(fields.value(0), createdFrom(fields.value(1)),
                                           fields.value(3).toLongLong());
        row->setDuration(fields.value(2).toDouble());
        input.videos.append(row);
    }

    // The parser alone: its segments give back the pattern exactly.
    QString joined;
    for (const auto& segment : parsePattern(input.importPattern))
        joined += segment.text;
    if (joined != input.importPattern)
        fuzz::fail("pattern segments do not make up the pattern");

    const auto plan = resolveOutputFiles(input);
    if (plan.size() != input.videos.size())
        fuzz::fail("a video without a planned name");
    fuzz::checkPlan(plan);
    return 0;
}
