#pragma once

#include "platform/Result.h"

#include "Velarix/PreviewWindow.h"

#include <QFuture>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>

#include <optional>

class QAction;
class QSplitter;
class QStackedWidget;

namespace velarix {

class ContentUnavailableView;
class HistoryStore;
class JumpTableView;
class LoadingPanel;
class VelarixFormView;
class VelarixModel;
class VolumeWatch;

// The main import window: the card's videos beside the import options, a loading and an empty
// state, Eject and Import in the toolbar, and an alert for the model's errors. It follows volumes
// coming and going and loads the card it finds.
class VelarixView : public QMainWindow {
    Q_OBJECT
public:
    enum class Content { loading, empty, table };

    VelarixView(VelarixModel& model, HistoryStore& store, QWidget* parent = nullptr);
    ~VelarixView() override;

    Content content() const;
    QAction* ejectAction() const { return m_eject; }
    QAction* importAction() const { return m_import; }
    JumpTableView* table() const { return m_table; }
    VelarixFormView* form() const { return m_form; }
    LoadingPanel* loadingPanel() const { return m_loading; }
    ContentUnavailableView* emptyPanel() const { return m_empty; }
    QMessageBox* errorAlert() const { return m_alert; }
    // Asked when Import is pressed with videos that were imported before; null otherwise.
    QMessageBox* reimportQuestion() const { return m_reimportQuestion; }
    PreviewWindow* previewWindow() const { return m_preview; }
    // The text after the title: the card's path and its free space.
    QString subtitle() const;

    // Looks for the card again (with a volume: loads that one).
    void reload(const std::optional<QString>& volume = std::nullopt);
    void showPreview(const QString& path);

private:
    void buildToolBar();
    void updateContent();
    void updateTitle();
    void updateActions();
    void showError();
    void volumesChanged();
    void eject();
    void startImport();
    void watch(const QFuture<Result<void>>& operation);

    VelarixModel& m_model;
    HistoryStore& m_store;
    QStackedWidget* m_stack = nullptr;
    LoadingPanel* m_loading = nullptr;
    ContentUnavailableView* m_empty = nullptr;
    QSplitter* m_split = nullptr;
    JumpTableView* m_table = nullptr;
    VelarixFormView* m_form = nullptr;
    QAction* m_eject = nullptr;
    QAction* m_import = nullptr;
    QPointer<QMessageBox> m_alert;
    QPointer<QMessageBox> m_reimportQuestion;
    QPointer<PreviewWindow> m_preview;
    VolumeWatch* m_watch = nullptr;
    QStringList m_knownVolumes;
};

} // namespace velarix
