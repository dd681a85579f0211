#pragma once

#include "core/Result.h"
#include "media/MediaOpen.h"

#include <QDate>
#include <QStringList>

#include <functional>

namespace velarix {

// A camera card to try Velarix without one: `<folder>/VELARIX DEMO/DCIM/100GOPRO` with short
// synthesised clips of two jumps (exit, freefall, opening; a canopy ride to the ground), a
// low-resolution copy and a third jump with the camera's telemetry, named and dated as an action camera does.
// Clips already there are kept, so a second run is quick.
struct DemoCard {
    static inline const QString kVolumeName = QStringLiteral("VELARIX DEMO");

    QString volumePath;
    QStringList files; // every file of the card, in recording order

    // `day` is the day of the jumps (by default yesterday); progress gets (done, total).
    static Result<DemoCard> make(const QString& folder, QDate day = {}, const CancelToken* cancel = nullptr,
                                 const std::function<void(int, int)>& progress = {});
};

} // namespace velarix
