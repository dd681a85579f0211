#pragma once

#include "core/Result.h"

#include "Velarix/importwindow/PreviewWindow.h"

#include <QFuture>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>

#include <optional>

class QAction;
class QStackedWidget;

namespace velarix {

class CardListModel;
class CardListView;
class CardWatcher;
class ContentUnavailableView;
class HistoryStore;
class JumpTableView;
class LoadingPanel;
class VelarixFormView;
class VelarixModel;

// The main import window: the mounted cards (while there are several), the chosen card's videos
// beside the import options, a loading and an empty state, Eject and Import in the toolbar, and an
// alert for the model's errors. The cards come from the application's card watcher; without one
// the window keeps its own.
class VelarixView : public QMainWindow {
    Q_OBJECT
public:
    enum class Content { loading, empty, table };

    VelarixView(VelarixModel& model, HistoryStore& store, CardWatcher* watcher = nullptr,
                QWidget* parent = nullptr);
    ~VelarixView() override;

    Content content() const;
    QAction* ejectAction() const { return m_eject; }
    QAction* importAction() const { return m_import; }
    QAction* selectAllNewAction() const { return m_selectAllNew; }
    JumpTableView* table() const { return m_table; }
    CardListView* cardList() const { return m_cardList; }
    CardListModel* cards() const { return m_cards; }
    VelarixFormView* form() const { return m_form; }
    LoadingPanel* loadingPanel() const { return m_pages.loading; }
    ContentUnavailableView* emptyPanel() const { return m_pages.empty; }
    QMessageBox* errorAlert() const { return m_alert; }
    // Asked when Import is pressed with videos that were imported before; null otherwise.
    QMessageBox* reimportQuestion() const { return m_reimportQuestion; }
    PreviewWindow* previewWindow() const { return m_preview; }
    // The text after the title: the card's path and its free space.
    QString subtitle() const;

    // Looks for the card again (with a volume: loads that one).
    void reload(const std::optional<QString>& volume = std::nullopt);
    void showPreview(const QString& path);

Q_SIGNALS:
    // The empty page's "Trim Videos…".
    void trimVideosRequested();

private:
    void buildToolBar();
    void updateContent();
    void updateTitle();
    void updateActions();
    void showError();
    void eject();
    void startImport();
    void watch(const QFuture<Result<void>>& operation);

    VelarixModel& m_model;
    HistoryStore& m_store;
    // The window shows one page at a time (in this order): loading, nothing to import, or the card's
    // table with the import form.
    struct Pages {
        QStackedWidget* stack = nullptr;
        LoadingPanel* loading = nullptr;
        ContentUnavailableView* empty = nullptr;
    } m_pages;
    JumpTableView* m_table = nullptr;
    VelarixFormView* m_form = nullptr;
    QAction* m_eject = nullptr;
    QAction* m_import = nullptr;
    QAction* m_selectAllNew = nullptr;
    QPointer<QMessageBox> m_alert;
    QPointer<QMessageBox> m_reimportQuestion;
    QPointer<PreviewWindow> m_preview;
    CardWatcher* m_watcher = nullptr;
    CardListModel* m_cards = nullptr;
    CardListView* m_cardList = nullptr;
};

} // namespace velarix
