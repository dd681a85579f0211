#pragma once

#include "history/ImportState.h"

#include <QWidget>

class QAction;
class QTableView;
class QTimer;

namespace velarix {

class HistoryStore;
class LoadingCard;
class ThumbnailLoader;
class VelarixModel;
class VideoTableDelegate;
class VideoTableModel;
class VideoTableSort;

// The card's videos: a sortable, multi-selection table bound to the model's rows and selection,
// with import marks read from the history, thumbnails made in the background, the user's column
// layout kept under "tableCustomization", and a progress card while durations load.
class JumpTableView : public QWidget {
    Q_OBJECT
public:
    static inline const QString kCustomizationKey = QStringLiteral("tableCustomization");
    // Room for the thumbnail, a short name, the state, the size and the date.
    static constexpr int kMinimumWidth = 440;

    JumpTableView(VelarixModel& model, HistoryStore& store, QWidget* parent = nullptr);
    ~JumpTableView() override;

    QTableView* tableView() const { return m_table; }
    // The rows as shown: sorted over the card's rows (tableRows()).
    VideoTableSort* tableModel() const { return m_sort; }
    VideoTableModel* tableRows() const { return m_tableModel; }
    LoadingCard* loadingCard() const { return m_loadingCard; }
    // Everything not imported yet (Ctrl+Shift+A); the window puts it in its toolbar too.
    QAction* selectAllNewAction() const { return m_selectAllNew; }
    ThumbnailLoader* thumbnails() const { return m_thumbnails; }

    // Marks the rows by the import state the model holds (the model reads the history, off the GUI
    // thread, when a card loads and after an import).
    void refreshImportState();
    const ImportState& importState() const;

Q_SIGNALS:
    // Space on a selected row, or a click on a thumbnail.
    void previewRequested(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void rowsChanged();
    void pushSelectionToModel();
    void pullSelectionFromModel();
    void updateLoadingCard();
    void placeLoadingCard();
    void saveCustomization();
    void restoreCustomization();
    void fitThumbnailColumn();
    void showHeaderMenu(const QPoint& at);
    void updateSpinner();

    VelarixModel& m_model;
    HistoryStore& m_store;
    ThumbnailLoader* m_thumbnails;
    VideoTableModel* m_tableModel;
    VideoTableSort* m_sort;
    VideoTableDelegate* m_delegate;
    QTableView* m_table;
    QAction* m_selectAllNew;
    LoadingCard* m_loadingCard;
    QTimer* m_spinnerTimer;
    bool m_syncingSelection = false;
    bool m_restoring = false;
    int m_spinnerPhase = 0;
};

} // namespace velarix
