// The help viewer.
#include "dialogs/HelpViewer.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

namespace tovani {

HelpViewer::HelpViewer(QWidget* parent, const QString& helpDir, Translate translate)
    : QDialog(parent), helpDir_(helpDir), translate_(std::move(translate)) {
    setObjectName("HelpForm");
    setWindowTitle("Tovani Help");
    resize(640, 560);
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(6, 6, 6, 6);
    auto* nav = new QHBoxLayout;
    auto* back = new QPushButton("< Back", this);
    back->setObjectName("BackButton");
    auto* home = new QPushButton("Contents", this);
    home->setObjectName("ContentsButton");
    nav->addWidget(back);
    nav->addWidget(home);
    nav->addStretch();
    browser_ = new QTextBrowser(this);
    browser_->setObjectName("HelpBrowser");
    browser_->setSearchPaths({helpDir_});
    browser_->setOpenExternalLinks(false);
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    back->setEnabled(false);
    connect(home, &QPushButton::clicked, this, [this] { Open("index.html"); });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setObjectName("BitBtn1");
    buttons->button(QDialogButtonBox::Close)->setText("Close");
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    lay->addLayout(nav);
    lay->addWidget(browser_, 1);
    lay->addWidget(buttons);
}

void HelpViewer::Open(const QString& page) {
    QFileInfo info(helpDir_ + "/" + page);
    if (!info.exists()) {
        browser_->setHtml(Tr("<h2>Help page not found</h2><p>The page <b>%1</b> is not in the "
                             "folder <tt>%2</tt>. Reinstalling Tovani brings it back.</p>")
                              .arg(page.toHtmlEscaped(), helpDir_.toHtmlEscaped()));
        return;
    }
    browser_->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
}

void HelpViewer::OpenTileset(const QString& caption, const QImage& faces,
                             const QString& picturePath, const QString& problem) {
    QString html = "<html><body style='font-family: Arial, sans-serif'>";
    html += "<h2 style='color:#800000'>" + Tr("View Tileset") + "</h2>";
    if (!faces.isNull()) {
        browser_->document()->addResource(QTextDocument::ImageResource, QUrl("tovani:faces"),
                                          faces);
        html +=
            "<p>" +
            Tr("The 43 tiles of <b>%1</b> as the board shows them.").arg(caption.toHtmlEscaped()) +
            "</p><p align='center'><img src='tovani:faces'></p>";
    } else if (!picturePath.isEmpty() && QFileInfo::exists(picturePath)) {
        html += "<p>" + Tr("The picture of the tileset <b>%1</b>:").arg(caption.toHtmlEscaped()) +
                "</p><p align='center'><img src='" +
                QUrl::fromLocalFile(QFileInfo(picturePath).absoluteFilePath()).toString() +
                "' width='560'></p>";
    } else {
        html += "<p>" +
                (problem.isEmpty() ? Tr("No tileset is selected. Choose one in the Tileset menu.")
                                   : problem.toHtmlEscaped()) +
                "</p>";
    }
    html += "<p><a href='index.html'>" + Tr("Back to the contents") + "</a></p></body></html>";
    browser_->setHtml(html);
}

void HelpViewer::ShowPage(QWidget* parent, const QString& helpDir, const QString& page,
                          Translate translate) {
    HelpViewer v(parent, helpDir, std::move(translate));
    v.Open(page);
    v.exec();
}

void HelpViewer::ShowTileset(QWidget* parent, const QString& helpDir, const QString& caption,
                             const QImage& faces, const QString& picturePath,
                             const QString& problem, Translate translate) {
    HelpViewer v(parent, helpDir, std::move(translate));
    v.OpenTileset(caption, faces, picturePath, problem);
    v.exec();
}

} // namespace tovani
