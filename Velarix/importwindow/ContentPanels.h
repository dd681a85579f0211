#pragma once

#include <QIcon>
#include <QWidget>

#include <optional>

class QLabel;
class QProgressBar;

namespace velarix {

// A centred notice for a window with nothing to show: a large icon, a title and a description.
class ContentUnavailableView : public QWidget {
    Q_OBJECT
public:
    // `hint`, when given, is a second, smaller paragraph under the description.
    ContentUnavailableView(const QIcon& icon, const QString& title, const QString& description,
                           QWidget* parent = nullptr, const QString& hint = {});
    QString title() const;
    QString description() const;
    void setTitle(const QString& title);
    void setDescription(const QString& description);

private:
    QLabel* m_title;
    QLabel* m_description;
};

// Shown while a card is scanned and no video is listed yet: a progress block over the notice.
class LoadingPanel : public QWidget {
    Q_OBJECT
public:
    explicit LoadingPanel(QWidget* parent = nullptr);
    // `fraction` absent: the bar runs indeterminate.
    void setStatus(const std::optional<QString>& text, std::optional<double> fraction);
    QProgressBar* progressBar() const { return m_bar; }
    QString statusText() const;

private:
    QProgressBar* m_bar;
    QLabel* m_status;
};

} // namespace velarix
