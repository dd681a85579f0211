#include "cli/CliSession.h"

#include "cli/CliLog.h"
#include "core/Await.h"
#include "desktop/AppPaths.h"
#include "desktop/Volumes.h"
#include "import/CardScan.h"
#include "import/RecordingStatus.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QLoggingCategory>
#include <QTimeZone>

#include <sys/ioctl.h>
#include <unistd.h>

namespace velarix::cli {

namespace {
Error usage(const QString& message) {
    return Error::make(QStringLiteral("Usage"), 2, message);
}
} // namespace

Result<CardArguments> parseCardArguments(const QStringList& arguments, int accepted) {
    CardArguments parsed;
    bool all = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const auto value = [&]() -> std::optional<QString> {
            if (i + 1 >= arguments.size())
                return std::nullopt;
            return arguments[++i];
        };
        const auto needs = [&](int set) {
            return (accepted & set) != 0;
        };
        if (argument == QLatin1String("--card")) {
            auto v = value();
            if (!v)
                return usage(QCoreApplication::translate("velarix-cli", "--card needs a folder"));
            parsed.card = *v;
        } else if (needs(kSelection) && argument == QLatin1String("--all")) {
            all = true;
        } else if (needs(kSelection) && argument == QLatin1String("--new")) {
            parsed.onlyNew = true;
        } else if (needs(kOverrides) && argument == QLatin1String("--pattern")) {
            auto v = value();
            if (!v)
                return usage(QCoreApplication::translate("velarix-cli", "--pattern needs a pattern"));
            parsed.pattern = *v;
        } else if (needs(kOverrides) && argument == QLatin1String("--jump")) {
            auto v = value();
            bool ok = false;
            const qint64 number = v ? v->toLongLong(&ok) : 0;
            if (!ok)
                return usage(QCoreApplication::translate("velarix-cli", "--jump needs a whole number"));
            parsed.jump = number;
        } else if (needs(kOverrides) && argument == QLatin1String("--autogroup")) {
            parsed.autogroup = true;
        } else if (needs(kOverrides) && argument == QLatin1String("--no-autogroup")) {
            parsed.autogroup = false;
        } else if (needs(kOverrides) && argument == QLatin1String("--join")) {
            parsed.join = true;
        } else if (needs(kOverrides) && argument == QLatin1String("--no-join")) {
            parsed.join = false;
        } else if (needs(kOverrides) && argument == QLatin1String("--sidecars")) {
            parsed.sidecars = true;
        } else if (needs(kOverrides) && argument == QLatin1String("--no-sidecars")) {
            parsed.sidecars = false;
        } else if (needs(kOverrides) && argument == QLatin1String("--proxies")) {
            parsed.proxies = true;
        } else if (needs(kOverrides) && argument == QLatin1String("--no-proxies")) {
            parsed.proxies = false;
        } else if (needs(kOverrides) && argument == QLatin1String("--name")) {
            auto v = value();
            if (!v)
                return usage(QCoreApplication::translate("velarix-cli", "--name needs a card name"));
            parsed.name = *v;
        } else if (needs(kDestination) && argument == QLatin1String("--dest")) {
            auto v = value();
            if (!v || v->isEmpty())
                return usage(QCoreApplication::translate("velarix-cli", "--dest needs a folder"));
            parsed.dest = QFileInfo(*v).absoluteFilePath();
        } else if (needs(kDestination) && argument == QLatin1String("--no-verify")) {
            parsed.noVerify = true;
        } else if (needs(kClear) && argument == QLatin1String("--clear")) {
            parsed.clear = true;
        } else if (needs(kSelection) && !argument.startsWith(QLatin1String("--"))) {
            parsed.files.append(argument);
        } else {
            return usage(QCoreApplication::translate("velarix-cli", "unknown option '%1'").arg(argument));
        }
    }
    if (int(all) + int(parsed.onlyNew) + int(!parsed.files.isEmpty()) > 1)
        return usage(QCoreApplication::translate("velarix-cli", "choose one of --all, --new or file names"));
    return parsed;
}

std::unique_ptr<CliSession> CliSession::openOnCard(Invocation& invocation, const QStringList& words,
                                                   int accepted, CardArguments& arguments, int& status) {
    auto parsed = parseCardArguments(words, accepted);
    if (!parsed) {
        status = usageError(invocation, parsed.error().message);
        return nullptr;
    }
    arguments = std::move(*parsed);
    auto session = open();
    if (!session) {
        invocation.err << "velarix-cli: " << session.error().message << '\n';
        status = kExitUsage;
        return nullptr;
    }
    if (auto loaded = (*session)->loadCard(arguments.card, invocation.err, arguments.files); !loaded) {
        status = usageError(invocation, loaded.error().message);
        return nullptr;
    }
    return std::move(*session);
}

Result<std::unique_ptr<CliSession>> CliSession::open() {
    // The engine's debug messages are for developers; QT_LOGGING_RULES still turns them on.
    if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES"))
        QLoggingCategory::setFilterRules(QStringLiteral("app.tarnwick.Velarix.App.debug=false"));
    auto session = std::unique_ptr<CliSession>(new CliSession);
    if (!session->m_settingsDir.isValid())
        return Error::make(QStringLiteral("Settings"), 1,
                           QCoreApplication::translate("velarix-cli", "No temporary folder is available."));
    const QString copy = session->m_settingsDir.filePath(QStringLiteral("settings.json"));
    if (QFileInfo::exists(AppPaths::settingsFile()))
        QFile::copy(AppPaths::settingsFile(), copy);
    session->m_settings = std::make_unique<Settings>(copy);
    qCDebug(lcCli, "Settings from %s, history store %s", qUtf8Printable(AppPaths::settingsFile()),
            qUtf8Printable(AppPaths::storeFile()));
    auto store = HistoryStore::open(AppPaths::storeFile());
    if (!store) {
        Error error = store.error();
        // Nothing here moves a store on its own; say how, with a name that keeps it.
        if (isStoreError(error, StoreErrorCode::damaged) || isStoreError(error, StoreErrorCode::notOurs)) {
            const QString path = AppPaths::storeFile();
            error.message +=
                u' ' + QCoreApplication::translate(
                           "velarix-cli",
                           "To keep it and start a new history, move it aside: mv '%1' '%1.damaged-%2'")
                           .arg(path, QDate::currentDate().toString(Qt::ISODate));
        }
        return error;
    }
    session->m_store = std::move(*store);
    session->m_model = std::make_unique<VelarixModel>(*session->m_settings);
    // A command-line run never opens windows.
    session->m_model->setOpenFolderAferImport(false);
    return session;
}

namespace {
// A row the user named: by its file name or by its path.
struct NamedFiles {
    QSet<QString> names;
    QSet<QString> paths;
    explicit NamedFiles(const QStringList& files) {
        for (const QString& file : files) {
            names.insert(file);
            paths.insert(QFileInfo(file).absoluteFilePath());
        }
    }
    bool contains(const VideoFileRow& row) const {
        return names.contains(row.fileName()) || paths.contains(row.path());
    }
};
} // namespace

Result<void> CliSession::loadCard(const std::optional<QString>& card, QTextStream& err,
                                  const QStringList& files) {
    VelarixModel::DurationFilter durationsFor;
    if (!files.isEmpty())
        durationsFor = [named = std::make_shared<NamedFiles>(files)](const VideoFileRow& row) {
            return named->contains(row);
        };
    ProgressBar bar(err);
    QObject::connect(m_model.get(), &VelarixModel::videoLoadingChanged, m_model.get(), [&] {
        if (auto status = m_model->videoLoadingStatus())
            bar.show(m_model->videoLoadingFraction().value_or(0), *status);
    });
    Result<void> loaded;
    if (card) {
        const QFileInfo info(*card);
        if (!info.isDir())
            return usage(QCoreApplication::translate("velarix-cli", "%1 is not a folder").arg(*card));
        if (!isCameraCard(info.absoluteFilePath()))
            return usage(QCoreApplication::translate(
                             "velarix-cli",
                             "%1 is not a camera card (it has no DCIM folder and no camera video "
                             "folder such as PRIVATE/M4ROOT/CLIP)")
                             .arg(*card));
        loaded = awaitFuture(m_model->loadSDCard(info.absoluteFilePath(), *m_store, durationsFor));
    } else {
        loaded = awaitFuture(m_model->refreshSDCard(*m_store, durationsFor));
        if (loaded && !m_model->sdCardPath())
            return usage(QCoreApplication::translate(
                "velarix-cli", "no camera card found (a mounted volume with a DCIM or camera video folder)"));
    }
    QObject::disconnect(m_model.get(), &VelarixModel::videoLoadingChanged, m_model.get(), nullptr);
    if (!loaded)
        return usage(QCoreApplication::translate("velarix-cli", "the card could not be read: %1")
                         .arg(loaded.error().message));
    // What the window would show once (an unreadable identity): a warning here, not the run's outcome.
    if (!m_model->error().isEmpty()) {
        err << "velarix-cli: "
            << QCoreApplication::translate("velarix-cli", "warning: %1")
                   .arg(m_model->error().errorDescription())
            << '\n';
        m_model->setError(ApplicationError::empty());
    }
    return {};
}

void CliSession::applyOverrides(const CardArguments& arguments) {
    if (arguments.pattern)
        m_model->setImportPattern(*arguments.pattern);
    if (arguments.jump)
        m_model->setJumpNumber(*arguments.jump);
    if (arguments.autogroup)
        m_model->setAutogroupVideos(*arguments.autogroup);
    if (arguments.join)
        m_model->setJoinChapters(*arguments.join);
    if (arguments.sidecars)
        m_model->setCopySidecars(*arguments.sidecars);
    if (arguments.proxies)
        m_model->setCopyProxies(*arguments.proxies);
    if (arguments.name)
        m_model->setSdCardName(*arguments.name);
    if (arguments.dest)
        m_model->setOutputLocation(*arguments.dest);
}

Result<void> CliSession::selectAndReport(const CardArguments& arguments, QTextStream& err) {
    auto unverified = select(arguments);
    if (!unverified)
        return unverified.error();
    if (*unverified > 0)
        err << "velarix-cli: " << unverifiedNotSelectedText(*unverified) << ' '
            << QCoreApplication::translate("velarix-cli", "Name them to import them again.") << '\n';
    if (!m_skippedEmpty.isEmpty())
        err << "velarix-cli: "
            << QCoreApplication::translate(
                   "velarix-cli", "left out %n empty file(s) (nothing to copy; name them to try anyway): %1",
                   nullptr, int(m_skippedEmpty.size()))
                   .arg(m_skippedEmpty.join(QStringLiteral(", ")))
            << '\n';
    return {};
}

Result<qsizetype> CliSession::select(const CardArguments& arguments) {
    qsizetype unverified = 0;
    QSet<QString> selection;
    if (!arguments.files.isEmpty()) {
        // One look-up per name: cards hold thousands of videos, and users name thousands of files.
        QMultiHash<QString, QString> idsByName;
        QHash<QString, QString> idsByPath;
        for (const auto& row : m_model->videoFiles()) {
            idsByName.insert(row->fileName(), row->id());
            idsByPath.insert(row->path(), row->id());
        }
        for (const QString& file : arguments.files) {
            bool found = false;
            for (auto it = idsByName.constFind(file); it != idsByName.cend() && it.key() == file; ++it) {
                selection.insert(it.value());
                found = true;
            }
            if (auto it = idsByPath.constFind(QFileInfo(file).absoluteFilePath()); it != idsByPath.cend()) {
                selection.insert(it.value());
                found = true;
            }
            if (!found)
                return usage(
                    QCoreApplication::translate("velarix-cli", "there is no video named '%1' on the card")
                        .arg(file));
        }
    }
    if (arguments.files.isEmpty()) {
        // Unreadable files stay in --new: a recording cut short by a flat battery is still footage.
        // An empty file is not: it has nothing to copy, and would fail every run for ever.
        const ImportState state = arguments.onlyNew ? importState() : ImportState();
        for (const auto& row : m_model->videoFiles()) {
            if (arguments.onlyNew && row->fileSize() == 0)
                m_skippedEmpty.append(row->fileName());
            else if (!arguments.onlyNew || recordingStatus(state, *row) != ImportStatus::imported)
                selection.insert(row->id());
            else if (recordingVerified(state, *row) == false)
                ++unverified;
        }
    }
    m_model->setSelection(selection);
    return unverified;
}

std::optional<LoggedJump> CliSession::loggedJump(const VideoFileRow& row) const {
    if (row.created() == VideoFileRow::distantPast())
        return std::nullopt;
    return matchLoggedJump(m_model->jumpLog(), row.created(),
                           row.created().addMSecs(qint64(row.duration() * 1000)),
                           m_model->jumpLogTolerance() * 60);
}

QJsonValue CliSession::loggedJumpJson(const std::optional<QString>& cardName, qint64 jump) {
    if (!cardName)
        return QJsonValue();
    return QJsonObject{{QStringLiteral("jump"), double(jump)}, {QStringLiteral("card"), *cardName}};
}

Result<CardIdentity> findCard(const std::optional<QString>& card, const VolumeProvider& volumes) {
    QString volume;
    if (card) {
        const QFileInfo info(*card);
        if (!info.isDir())
            return usage(QCoreApplication::translate("velarix-cli", "%1 is not a folder").arg(*card));
        if (!hasDcimFolder(info.absoluteFilePath()))
            return usage(
                QCoreApplication::translate("velarix-cli", "%1 is not a camera card (it has no DCIM folder)")
                    .arg(*card));
        volume = info.absoluteFilePath();
    } else {
        auto found = findSDCardVolume(volumes);
        if (!found)
            return usage(QCoreApplication::translate("velarix-cli", "the card could not be read: %1")
                             .arg(found.error().message));
        if (!*found)
            return usage(QCoreApplication::translate(
                "velarix-cli", "no camera card found (a mounted volume with a DCIM folder)"));
        volume = **found;
    }
    return identifyCard(volume, volumes);
}

ImportState CliSession::importState() {
    return m_model->importState(*m_store);
}

QJsonObject CliSession::cardJson() {
    const auto uuid = m_model->sdCardVolumeUUID();
    return QJsonObject{{QStringLiteral("path"), m_model->sdCardPath().value_or(QString())},
                       {QStringLiteral("uuid"), uuid ? QJsonValue(*uuid) : QJsonValue()},
                       {QStringLiteral("name"), m_model->sdCardName()}};
}

ProgressBar::ProgressBar(QTextStream& err)
    : m_err(err)
    , m_enabled(::isatty(STDERR_FILENO) == 1) {}

ProgressBar::~ProgressBar() {
    if (m_drawn) {
        m_err << "\r\033[K";
        m_err.flush();
    }
}

void ProgressBar::show(double fraction, const QString& label) {
    if (!m_enabled)
        return;
    constexpr int kWidth = 30;
    // A line longer than the terminal would wrap, and "\r" would no longer redraw it.
    int columns = 100;
    if (winsize size{}; ::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        columns = size.ws_col;
    const int labelWidth = qMax(10, columns - kWidth - 9);
    const int filled = qBound(0, int(fraction * kWidth + 0.5), kWidth);
    m_err << "\r\033[K[" << QString(filled, u'#') << QString(kWidth - filled, u' ') << "] "
          << QString::number(int(fraction * 100)).rightJustified(3) << "% " << label.left(labelWidth);
    m_err.flush();
    m_drawn = true;
}

namespace {
// `date` at the local zone's offset of its moment.
QDateTime inLocalZone(const QDateTime& date) {
    // The zone's own table gives the offset; a conversion to local time would ask the C library,
    // which looks at the system's zone file again for every date (a history lists thousands).
    static const QTimeZone zone = QTimeZone::systemTimeZone();
    if (zone.isValid())
        return QDateTime::fromMSecsSinceEpoch(date.toMSecsSinceEpoch(), Qt::OffsetFromUTC,
                                              zone.offsetFromUtc(date));
    const QDateTime local = date.toLocalTime();
    return local.toOffsetFromUtc(local.offsetFromUtc());
}
} // namespace

QString isoDate(const QDateTime& date) {
    return inLocalZone(date).toString(Qt::ISODate);
}

QString localDateTime(const QDateTime& moment) {
    const QDateTime local = inLocalZone(moment);
    const QLocale locale;
    return locale.toString(local.date(), QLocale::ShortFormat) + u' ' +
           locale.toString(local.time(), QLocale::ShortFormat);
}

QString printable(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        if (c.category() != QChar::Other_Control)
            shown += c;
        else if (c == u'\n')
            shown += QStringLiteral("\\n");
        else if (c == u'\t')
            shown += QStringLiteral("\\t");
        else
            shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QChar(u'0'));
    }
    return shown;
}

QString shownStatusText(ImportStatus status) {
    switch (status) {
    case ImportStatus::imported:
        //: The import state of a video on the card
        return QCoreApplication::translate("velarix-cli", "imported");
    case ImportStatus::newVideo:
        //: The import state of a video on the card: not imported yet
        return QCoreApplication::translate("velarix-cli", "new");
    case ImportStatus::unreadable:
        //: The import state of a video on the card
        return QCoreApplication::translate("velarix-cli", "unreadable");
    case ImportStatus::unmarked:
        break;
    }
    return QString();
}

QString statusText(ImportStatus status) {
    switch (status) {
    case ImportStatus::imported:
        return QStringLiteral("imported");
    case ImportStatus::newVideo:
        return QStringLiteral("new");
    case ImportStatus::unreadable:
        return QStringLiteral("unreadable");
    case ImportStatus::unmarked:
        break;
    }
    return QString();
}

} // namespace velarix::cli
