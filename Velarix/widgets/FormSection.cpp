#include "Velarix/widgets/FormSection.h"

#include "Velarix/widgets/Icons.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>
#include <QVBoxLayout>

namespace velarix {

namespace {

// The rounded panel behind a section's rows.
class SectionPanel : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
        painter.fillPath(path, palette().color(QPalette::Base));
        QColor line = palette().color(QPalette::Text);
        line.setAlphaF(0.12f);
        painter.setPen(QPen(line, 1));
        painter.drawPath(path);
    }
};

class Hairline : public QWidget {
public:
    explicit Hairline(QWidget* parent)
        : QWidget(parent) {
        setFixedHeight(1);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        QColor line = palette().color(QPalette::Text);
        line.setAlphaF(0.1f);
        painter.fillRect(rect(), line);
    }
};

constexpr int kLabelWidth = 118;

} // namespace

FormSection::FormSection(const QString& title, QWidget* parent)
    : QWidget(parent) {
    m_title = new QLabel(title, this);
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    m_header = new QHBoxLayout;
    m_header->setContentsMargins(4, 0, 0, 0);
    m_header->addWidget(m_title);
    m_header->addStretch();

    m_panel = new SectionPanel(this);
    m_rows = new QVBoxLayout(m_panel);
    m_rows->setContentsMargins(12, 4, 12, 4);
    m_rows->setSpacing(0);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addLayout(m_header);
    layout->addWidget(m_panel);
}

QMenu* FormSection::addHeaderMenu(const QString& toolTip, const QString& objectName) {
    m_menuButton = new QToolButton(this);
    m_menuButton->setObjectName(objectName);
    m_menuButton->setIcon(themedIcon("view-more-horizontal", "ellipsis.svg"));
    m_menuButton->setToolTip(toolTip);
    m_menuButton->setAccessibleName(toolTip);
    m_menuButton->setAutoRaise(true);
    m_menuButton->setPopupMode(QToolButton::InstantPopup);
    m_menuButton->setFixedSize(24, 20);
    m_menuButton->setIconSize(QSize(16, 16));
    // The drop-down arrow would crowd the small button: the dots say "menu" already.
    m_menuButton->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; width: 0; }"));
    auto* menu = new QMenu(m_menuButton);
    m_menuButton->setMenu(menu);
    m_header->addWidget(m_menuButton);
    return menu;
}

void FormSection::addRow(QWidget* row) {
    if (m_rows->count() > 0)
        m_rows->addWidget(new Hairline(m_panel));
    row->setParent(m_panel);
    m_rows->addWidget(row);
}

QWidget* FormSection::addLabeledRow(const QString& label, QWidget* content, const QString& objectName) {
    auto* row = new QWidget(m_panel);
    row->setObjectName(objectName);
    auto* text = new QLabel(label, row);
    text->setFixedWidth(kLabelWidth);
    text->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    text->setBuddy(content);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 8, 0, 8);
    layout->setSpacing(8);
    layout->addWidget(text, 0, Qt::AlignTop);
    layout->addWidget(content, 1);
    text->setMinimumHeight(content->sizeHint().height());
    addRow(row);
    return row;
}

} // namespace velarix
