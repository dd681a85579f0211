#pragma once

#include <QWidget>

class QHBoxLayout;
class QLabel;
class QMenu;
class QToolButton;
class QVBoxLayout;

namespace velarix {

// One group of the options form: a bold header with an optional "…" menu, over a rounded panel
// whose rows are divided by hairlines (the grouped-form look).
class FormSection : public QWidget {
    Q_OBJECT
public:
    FormSection(const QString& title, QWidget* parent = nullptr);

    // Adds the header's "…" menu with the given tooltip and returns it for filling.
    QMenu* addHeaderMenu(const QString& toolTip, const QString& objectName);
    // Adds a row to the panel; a hairline separates it from the one above.
    void addRow(QWidget* row);
    // A row of a label on the left (fixed column) and content on the right.
    QWidget* addLabeledRow(const QString& label, QWidget* content, const QString& objectName = {});
    QToolButton* menuButton() const { return m_menuButton; }
    QWidget* panel() const { return m_panel; }

private:
    QLabel* m_title;
    QHBoxLayout* m_header;
    QToolButton* m_menuButton = nullptr;
    QWidget* m_panel;
    QVBoxLayout* m_rows;
};

} // namespace velarix
