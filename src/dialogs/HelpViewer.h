// The help viewer: our help pages from the Help folder, with links between them, and a page
// that shows the faces of the current tileset.
#pragma once

#include <QDialog>
#include <QImage>

class QTextBrowser;

namespace tovani {

class HelpViewer : public QDialog {
    Q_OBJECT
public:
    HelpViewer(QWidget* parent, const QString& helpDir);
    // Opens `page` (a file of the help folder); a missing page gives a page that says so.
    void Open(const QString& page);
    // The "View Tileset" page of the tileset named `caption`: its finished faces when they could
    // be made, else the tileset picture file itself; `problem` says why there is neither.
    void OpenTileset(const QString& caption, const QImage& faces, const QString& picturePath,
                     const QString& problem = QString());
    QTextBrowser* Browser() const { return browser_; }

    static void ShowPage(QWidget* parent, const QString& helpDir, const QString& page);
    static void ShowTileset(QWidget* parent, const QString& helpDir, const QString& caption,
                            const QImage& faces, const QString& picturePath,
                            const QString& problem = QString());

private:
    QString helpDir_;
    QTextBrowser* browser_;
};

} // namespace tovani
