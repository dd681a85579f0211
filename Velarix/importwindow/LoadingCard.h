#pragma once

#include <QWidget>

#include <optional>

class QLabel;
class QProgressBar;

namespace velarix {

// A small rounded card with a progress bar and a status line. The table floats it over its bottom
// edge while video details load; it lets clicks through to the table.
class LoadingCard : public QWidget {
    Q_OBJECT
public:
    explicit LoadingCard(QWidget* parent = nullptr);

    // `fraction` absent: the bar runs indeterminate.
    void setStatus(const QString& text, std::optional<double> fraction);
    QString statusText() const;
    QProgressBar* progressBar() const { return m_bar; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QProgressBar* m_bar;
    QLabel* m_label;
};

} // namespace velarix
