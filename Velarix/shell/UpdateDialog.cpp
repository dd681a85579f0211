#include "Velarix/shell/UpdateDialog.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QStyle>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace velarix {

UpdateDialog::UpdateDialog(const UpdateCheckResult& result, const QString& currentVersion, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("updateDialog"));
    setWindowTitle(tr("Software Update"));

    auto* icon = new QLabel(this);
    icon->setPixmap(QApplication::windowIcon().pixmap(64, 64));
    icon->setAlignment(Qt::AlignTop);
    auto* heading = new QLabel(this);
    heading->setObjectName(QStringLiteral("heading"));
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.2);
    heading->setFont(headingFont);
    auto* text = new QLabel(this);
    text->setObjectName(QStringLiteral("text"));
    text->setWordWrap(true);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* textColumn = new QVBoxLayout;
    textColumn->addWidget(heading);
    textColumn->addWidget(text);
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addLayout(textColumn, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    auto* buttons = new QDialogButtonBox(this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    switch (result.kind) {
    case UpdateCheckResult::Kind::upToDate:
        heading->setText(tr("You\u2019re up to date!"));
        text->setText(tr("Velarix %1 is currently the newest version available.").arg(currentVersion));
        buttons->addButton(QDialogButtonBox::Ok);
        break;
    case UpdateCheckResult::Kind::updateAvailable: {
        const AppcastItem& item = *result.update;
        heading->setText(tr("A new version of Velarix is available!"));
        QString line =
            tr("Velarix %1 is now available \u2014 you have %2.").arg(item.displayVersion(), currentVersion);
        if (item.length > 0)
            line += u' ' + tr("Download size: %1.").arg(QLocale().formattedDataSize(item.length));
        text->setText(line);
        auto* notes = new QTextBrowser(this);
        notes->setObjectName(QStringLiteral("releaseNotes"));
        notes->setOpenExternalLinks(true);
        if (!item.description.isEmpty())
            notes->setHtml(item.description);
        else if (item.releaseNotes.isValid())
            notes->setHtml(tr("<p><a href=\"%1\">Read the release notes</a></p>")
                               .arg(item.releaseNotes.toString().toHtmlEscaped()));
        else
            notes->setPlainText(tr("No release notes were published with this version."));
        notes->setMinimumHeight(160);
        layout->addWidget(new QLabel(tr("Release notes:"), this));
        layout->addWidget(notes, 1);
        QPushButton* download = buttons->addButton(tr("Download"), QDialogButtonBox::AcceptRole);
        download->setObjectName(QStringLiteral("download"));
        download->setDefault(true);
        download->setEnabled(item.download.isValid());
        buttons->addButton(tr("Remind Me Later"), QDialogButtonBox::RejectRole);
        connect(download, &QPushButton::clicked, this,
                [url = item.download] { QDesktopServices::openUrl(url); });
        resize(560, 420);
        break;
    }
    case UpdateCheckResult::Kind::failed:
    case UpdateCheckResult::Kind::notConfigured:
        heading->setText(tr("Update Error"));
        icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(48, 48));
        text->setText(result.message);
        buttons->addButton(QDialogButtonBox::Ok);
        break;
    }
    layout->addWidget(buttons);
    setMinimumWidth(460);
}

} // namespace velarix
