#pragma once

#include <QPointer>
#include <QScrollArea>

class QFileDialog;
class QLabel;
class QMenu;
class QMessageBox;
class QProgressBar;
class QToolButton;

namespace velarix {

class ElidedLabel;
class FormSection;
class HistoryStore;
class OutputFilesView;
class PatternField;
class VelarixModel;

// The import options beside the table: destination, filename pattern, jump number, card name, the
// planned names of the selected videos, and the running import's progress. Every control edits a
// model field directly; the model keeps the settings.
class VelarixFormView : public QScrollArea {
    Q_OBJECT
public:
    // The labels, "Change…" and "Insert Placeholder" side by side; notes under options wrap.
    static constexpr int kMinimumWidth = 320;

    VelarixFormView(VelarixModel& model, HistoryStore& store, QWidget* parent = nullptr);

    PatternField* patternField() const { return m_pattern; }
    QMenu* insertPlaceholderMenu() const { return m_insertMenu; }
    OutputFilesView* filesView() const { return m_files; }
    QLabel* spaceLabel() const { return m_space; }
    // The import's progress bar, status and Cancel, pinned under the options while an import runs.
    QWidget* progressRow() const { return m_progressRow; }
    // Opens the folder chooser (non-modal); the chosen folder becomes the destination.
    QFileDialog* chooseFolder();
    // Asks first (saying how many records go), then forgets the current card's imported files and
    // reloads the card. Returns the question (non-modal), or null without a card.
    QMessageBox* clearImportHistory();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeProgressRow();
    void buildImportSection(QWidget* content);
    void buildJumpSection(QWidget* content);
    void buildCardSection(QWidget* content);
    void buildFilesSection(QWidget* content);
    void updateOutputLocation();
    void updateFiles();
    void updateSpace();
    void updateProgress();

    VelarixModel& m_model;
    HistoryStore& m_store;
    ElidedLabel* m_location = nullptr;
    PatternField* m_pattern = nullptr;
    QMenu* m_insertMenu = nullptr;
    QLabel* m_space = nullptr;
    FormSection* m_filesSection = nullptr;
    OutputFilesView* m_files = nullptr;
    QWidget* m_progressRow = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_progressText = nullptr;
    QPointer<QFileDialog> m_chooser;
};

} // namespace velarix
