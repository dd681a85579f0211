#include "media/ChapterGroups.h"

#include "media/MediaLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace velarix {

namespace {

struct Candidate {
    QString path;
    ChapterName name;
};

void logAlone(const QString& path, const QString& reason) {
    qCInfo(lcMedia, "%s is not joined with other chapters: %s", qUtf8Printable(path), qUtf8Printable(reason));
}

QString chapterText(const ChapterName& name, int chapter) {
    return QStringLiteral("%1").arg(chapter, name.digits, 10, QLatin1Char('0'));
}

// The chapters of one recording number that can be joined: chapter 01 and those that follow it
// without a gap and with its signature. The rest is logged.
QList<QStringList> splitRecording(QList<Candidate> candidates, const StreamSignatureProbe& probe) {
    std::sort(candidates.begin(), candidates.end(),
              [](const Candidate& a, const Candidate& b) { return a.name.chapter < b.name.chapter; });
    QList<QStringList> groups;
    if (candidates.size() == 1 || candidates.first().name.chapter != 1) {
        for (const Candidate& candidate : candidates) {
            if (candidates.size() > 1)
                logAlone(candidate.path,
                         QCoreApplication::translate("Import", "chapter %1 of recording %2 is missing")
                             .arg(chapterText(candidate.name, 1), candidate.name.recordingLabel()));
            groups.append({candidate.path});
        }
        return groups;
    }
    QStringList joined{candidates.first().path};
    std::optional<QString> firstSignature;
    qsizetype next = 1;
    for (; next < candidates.size(); ++next) {
        const Candidate& candidate = candidates[next];
        const int expected = candidates[next - 1].name.chapter + 1;
        if (candidate.name.chapter != expected) {
            logAlone(candidate.path,
                     QCoreApplication::translate("Import", "chapter %1 of recording %2 is missing")
                         .arg(chapterText(candidate.name, expected), candidate.name.recordingLabel()));
            break;
        }
        if (!firstSignature) {
            auto signature = probe(candidates.first().path);
            if (!signature) {
                logAlone(candidates.first().path, signature.error().message);
                break;
            }
            firstSignature = *signature;
        }
        auto signature = probe(candidate.path);
        if (!signature) {
            logAlone(candidate.path, signature.error().message);
            break;
        }
        if (*signature != *firstSignature) {
            logAlone(candidate.path,
                     QCoreApplication::translate(
                         "Import", "its streams or codec parameters differ from those of %1 (%2 against %3)")
                         .arg(QFileInfo(candidates.first().path).fileName(), *signature, *firstSignature));
            break;
        }
        joined.append(candidate.path);
    }
    groups.append(joined);
    for (qsizetype rest = next; rest < candidates.size(); ++rest) {
        if (rest > next)
            logAlone(
                candidates[rest].path,
                QCoreApplication::translate("Import", "an earlier chapter of recording %1 cannot be joined")
                    .arg(candidates[rest].name.recordingLabel()));
        groups.append({candidates[rest].path});
    }
    return groups;
}

} // namespace

QString ChapterName::recordingLabel() const {
    if (suffix.isEmpty())
        return recording;
    return letters + u'_' + suffix;
}

std::optional<ChapterName> parseChapterName(const QString& fileName) {
    static const QRegularExpression older(QStringLiteral("^GOPR([0-9]{4})\\.([A-Za-z0-9]+)$"),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression twoLetters(
        QStringLiteral("^([A-Za-z]{2})([0-9]{2})([0-9]{4})\\.([A-Za-z0-9]+)$"));
    static const QRegularExpression numbered(
        QStringLiteral("^(.*[^_])_([0-9]{4})_([A-Za-z]+)\\.([A-Za-z0-9]+)$"));
    if (const auto match = older.match(fileName); match.hasMatch())
        return ChapterName{QStringLiteral("GP"), 1, match.captured(1), match.captured(2), {}, 2};
    if (const auto match = twoLetters.match(fileName); match.hasMatch()) {
        int chapter = match.captured(2).toInt();
        const QString letters = match.captured(1);
        // The older naming counts from the GOPR file: GP01 is its second file.
        if (letters.compare(QLatin1String("GP"), Qt::CaseInsensitive) == 0)
            return ChapterName{QStringLiteral("GP"), chapter + 1, match.captured(3),
                               match.captured(4),    {},          2};
        if (chapter < 1)
            return std::nullopt;
        return ChapterName{letters, chapter, match.captured(3), match.captured(4), {}, 2};
    }
    if (const auto match = numbered.match(fileName); match.hasMatch()) {
        const int chapter = match.captured(2).toInt();
        if (chapter < 1)
            return std::nullopt;
        return ChapterName{match.captured(1), chapter, {}, match.captured(4), match.captured(3), 4};
    }
    return std::nullopt;
}

QList<QStringList> groupRecordings(const QStringList& paths, const StreamSignatureProbe& probe) {
    QStringList all = paths;
    QSet<QString> known; // by absolute path, whatever the spelling
    for (const QString& path : paths)
        known.insert(QFileInfo(path).absoluteFilePath());
    for (const QString& path : paths) {
        const QFileInfo info(path);
        const auto name = parseChapterName(info.fileName());
        if (!name)
            continue;
        const QDir folder = info.absoluteDir();
        const QString prefix = info.absolutePath() + u'/';
        for (const QString& entry : folder.entryList({QStringLiteral("*.") + name->extension},
                                                     QDir::Files | QDir::Readable, QDir::Name)) {
            const auto sibling = parseChapterName(entry);
            if (!sibling || !sibling->sameRecording(*name))
                continue;
            // Given paths keep their spelling; a sibling is named in the given one's folder.
            if (known.contains(prefix + entry))
                continue;
            known.insert(prefix + entry);
            all.append(info.path() + u'/' + entry);
        }
    }
    QHash<QString, qsizetype> given;
    for (qsizetype i = 0; i < paths.size(); ++i)
        given.insert(paths[i], std::min(given.value(paths[i], i), i));
    QList<QPair<qsizetype, QStringList>> found;
    for (const QStringList& group : groupChapters(all, probe)) {
        qsizetype first = -1;
        for (const QString& path : group)
            if (given.contains(path) && (first < 0 || given.value(path) < first))
                first = given.value(path);
        if (first >= 0)
            found.append({first, group});
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    QList<QStringList> groups;
    for (const auto& [position, group] : std::as_const(found))
        groups.append(group);
    return groups;
}

QList<QStringList> groupChapters(const QStringList& paths, const StreamSignatureProbe& probe) {
    // Candidates by folder, letters, recording number and extension.
    QHash<QString, QList<Candidate>> recordings;
    QStringList keys;
    QList<QStringList> groups;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        const auto name = parseChapterName(info.fileName());
        if (!name) {
            groups.append({path});
            continue;
        }
        const QString key = info.absolutePath() + u'/' + name->letters + u'\n' + name->recording + u'\n' +
                            name->suffix + u'\n' + name->extension;
        if (!recordings.contains(key))
            keys.append(key);
        recordings[key].append({path, *name});
    }
    for (const QString& key : keys)
        groups.append(splitRecording(recordings.value(key), probe));

    QHash<QString, qsizetype> position;
    for (qsizetype i = 0; i < paths.size(); ++i)
        position.insert(paths[i], i);
    std::stable_sort(groups.begin(), groups.end(), [&](const QStringList& a, const QStringList& b) {
        return position.value(a.first()) < position.value(b.first());
    });
    return groups;
}

} // namespace velarix
