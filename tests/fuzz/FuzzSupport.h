// Shared by the fuzz targets: quiet logging and the promises of an output plan.
#pragma once

#include "import/OutputPlan.h"

#include <QLoggingCategory>
#include <QSet>
#include <QStringList>

namespace velarix::fuzz {

// Logging would cost more than the code under test and hides the sanitizer's reports.
inline void silenceLogs() {
    QLoggingCategory::setFilterRules(QStringLiteral("*=false"));
}

// Stops the run with a finding.
[[noreturn]] inline void fail(const char* why) {
    fprintf(stderr, "fuzz invariant violated: %s\n", why);
    __builtin_trap();
}

// What the import relies on: each planned name stays below the destination (relative, no empty,
// "." or ".." component, no NUL that would cut the name short), is the join of its segments, and is
// planned once.
inline void checkPlan(const QList<ResolvedOutputFile>& plan) {
    QSet<QString> names;
    for (const ResolvedOutputFile& file : plan) {
        const QString& name = file.fileName;
        if (name.startsWith(u'/'))
            fail("absolute planned path");
        if (name.contains(QChar(0)))
            fail("NUL in a planned path");
        for (const QString& component : name.split(u'/')) {
            if (component.isEmpty())
                fail("empty component in a planned path");
            if (component == QStringLiteral(".") || component == QStringLiteral(".."))
                fail("dot component in a planned path");
        }
        QString joined;
        for (const auto& segment : file.segments)
            joined += segment.text;
        if (joined != name)
            fail("segments do not make up the planned name");
        if (names.contains(name))
            fail("planned name used twice");
        names.insert(name);
    }
}

} // namespace velarix::fuzz
