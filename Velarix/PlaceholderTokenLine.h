#pragma once

#include "import/ImportPattern.h"

#include <QWidget>

namespace velarix {

// A resolved file name drawn as one line in which the parts made by placeholders sit on coloured
// plates. Read-only; the full name is its tooltip and can be copied from its context menu.
class PlaceholderTokenLine : public QWidget {
    Q_OBJECT
public:
    explicit PlaceholderTokenLine(QWidget* parent = nullptr);

    void setSegments(const ImportPatternSegments& segments);
    const ImportPatternSegments& segments() const { return m_segments; }
    QString text() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    ImportPatternSegments m_segments;
};

} // namespace velarix
