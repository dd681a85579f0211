#pragma once

#include "Velarix/trimwindow/VideoTrimEditorSheet.h"
#include "trimming/VideoTrimItem.h"

#include <QFileDialog>
#include <QList>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QUrl>

class QStackedWidget;

namespace velarix {

class TrimDropZone;
class TrimHeaderBar;
class TrimProgressScreen;
class TrimSummaryScreen;
class TrimVideoList;
class VideoTrimmingModel;
class WindowCloseGuard;

// The trimming window. Each window owns a fresh trimming model; closing it discards its items.
// Videos come in by drops and by the file chooser; the screen shown follows the model: the summary
// of a finished run, the trimming progress, the drop zone of an empty list, or the list itself.
class VideoTrimmingView : public QMainWindow {
    Q_OBJECT
public:
    enum class Screen { Summary, Trimming, DropZone, List };

    explicit VideoTrimmingView(QWidget* parent = nullptr);

    // Adds files given on the command line or by "Open With".
    void addFiles(const QStringList& paths);
    ~VideoTrimmingView() override;

    VideoTrimmingModel& model() const { return *m_model; }
    Screen currentScreen() const;
    bool selectVideos() const { return m_selectVideos; }
    // The chooser while it is open, the editor sheet while it is open.
    QFileDialog* chooser() const { return m_chooser; }
    VideoTrimEditorSheet* editorSheet() const { return m_editor; }
    VideoTrimItem* editorItem() const { return m_editorItem; }
    WindowCloseGuard* closeGuard() const { return m_closeGuard; }

    // "Add Videos…", "Choose Videos…" and "Add More…".
    void openChooser();
    // The row's "Adjust…": fills in missing bounds, then opens the editor sheet.
    void openEditor(VideoTrimItem* item);

    // The chooser's outcome, in the chooser's order.
    void chooserFinished(const QList<QUrl>& urls);
    void chooserFailed(const QString& description);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void refresh();
    void presentChooser();
    void showErrorAlert();
    // "Trim All": asks first when suggestions marked "check before trimming" would be trimmed.
    void confirmTrim();
    void triggerDefaultButton();

    VideoTrimmingModel* m_model = nullptr;
    bool m_selectVideos = false;
    QPointer<VideoTrimItem> m_editorItem;
    QPointer<VideoTrimEditorSheet> m_editor;
    QPointer<QFileDialog> m_chooser;
    QPointer<QMessageBox> m_alert;
    QString m_chooserFolder;

    TrimHeaderBar* m_header = nullptr;
    QStackedWidget* m_screens = nullptr;
    TrimSummaryScreen* m_summary = nullptr;
    TrimProgressScreen* m_trimming = nullptr;
    TrimDropZone* m_dropZone = nullptr;
    TrimVideoList* m_list = nullptr;
    WindowCloseGuard* m_closeGuard = nullptr;
};

} // namespace velarix
