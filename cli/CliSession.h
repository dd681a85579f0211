#pragma once

#include "cli/Command.h"
#include "desktop/Settings.h"
#include "history/HistoryStore.h"
#include "history/ImportState.h"
#include "import/CardIdentity.h"
#include "import/VelarixModel.h"

#include <QJsonObject>
#include <QTemporaryDir>

#include <memory>
#include <optional>

namespace velarix::cli {

// The options shared by scan, plan, import and history.
struct CardArguments {
    std::optional<QString> card;    // --card DIR
    bool onlyNew = false;           // --new
    QStringList files;              // file names given instead of --all / --new
    std::optional<QString> pattern; // --pattern
    std::optional<qint64> jump;     // --jump
    std::optional<bool> autogroup;  // --autogroup / --no-autogroup
    std::optional<bool> join;       // --join / --no-join (chapters of a recording as one file)
    std::optional<bool> sidecars;   // --sidecars / --no-sidecars
    std::optional<bool> proxies;    // --proxies / --no-proxies
    std::optional<QString> name;    // --name
    std::optional<QString> dest;    // --dest (import)
    bool noVerify = false;          // --no-verify (import)
    bool clear = false;             // --clear (history)
};

// Which flags a command accepts besides --card.
enum ArgumentSet { kSelection = 1, kOverrides = 2, kDestination = 4, kClear = 8 };

// Parses the command's arguments; a usage error says what is wrong.
Result<CardArguments> parseCardArguments(const QStringList& arguments, int accepted);

// One command's working set: the user's settings (flags change a private copy, so they are never
// saved), the history store, and a model on the card.
class CliSession {
public:
    static Result<std::unique_ptr<CliSession>> open();
    // Reads a card command's `words` (the options `accepted`, see parseCardArguments) into
    // `arguments`, opens a session and loads the card they name; on failure reports it and gives
    // null, with the exit status in `status`.
    static std::unique_ptr<CliSession> openOnCard(Invocation& invocation, const QStringList& words,
                                                  int accepted, CardArguments& arguments, int& status);

    VelarixModel& model() { return *m_model; }
    HistoryStore& store() { return *m_store; }
    Settings& userSettings() { return Settings::standard(); }

    // Loads the given card folder, or the first card; the error is a usage-level one (exit 2). Named
    // files limit the durations read to theirs.
    Result<void> loadCard(const std::optional<QString>& card, QTextStream& err,
                          const QStringList& files = {});
    void applyOverrides(const CardArguments& arguments);
    // Selects by --all / --new / file names; an unknown file name is an error. Gives how many rows
    // --new left out that were imported only without verification; --new also leaves out empty
    // files, named in skippedEmpty().
    Result<qsizetype> select(const CardArguments& arguments);
    const QStringList& skippedEmpty() const { return m_skippedEmpty; }
    // select(), then says on `err` what --new left out (unverified copies, empty files).
    Result<void> selectAndReport(const CardArguments& arguments, QTextStream& err);

    ImportState importState();
    QJsonObject cardJson();
    // The jump log's match for a row by its own time, if any (what `scan` shows; the plan also
    // follows grouping).
    std::optional<LoggedJump> loggedJump(const VideoFileRow& row) const;
    // {"jump","card"} of a number taken from the log, else null.
    static QJsonValue loggedJumpJson(const std::optional<QString>& cardName, qint64 jump);

private:
    QTemporaryDir m_settingsDir;
    std::unique_ptr<Settings> m_settings;
    std::unique_ptr<HistoryStore> m_store;
    std::unique_ptr<VelarixModel> m_model;
    QStringList m_skippedEmpty;
};

// A one-line progress bar on stderr, drawn only when stderr is a terminal.
class ProgressBar {
public:
    explicit ProgressBar(QTextStream& err);
    ~ProgressBar();
    void show(double fraction, const QString& label);

private:
    QTextStream& m_err;
    bool m_enabled;
    bool m_drawn = false;
};

// The card named by --card, or the first card, identified without scanning it: what history needs.
Result<CardIdentity> findCard(const std::optional<QString>& card, const VolumeProvider& volumes);

// For JSON: "2026-12-07T10:15:00+01:00".
QString isoDate(const QDateTime& date);
// For people, as the window's video table shows it: the locale's short date and time.
QString localDateTime(const QDateTime& moment);
// Text from a card (names, paths) as it may go to a terminal: control characters are shown escaped
// ("\n", "\x1b"), so a hostile card cannot move the cursor or rewrite the screen.
QString printable(const QString& text);
// "imported", "new", "unreadable": the JSON values.
QString statusText(ImportStatus status);
// The same in the user's language.
QString shownStatusText(ImportStatus status);

} // namespace velarix::cli
