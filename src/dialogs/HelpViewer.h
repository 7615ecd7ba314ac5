// The help viewer: our help pages from the Help folder, with links between them, and a page
// that shows the faces of the current tileset.
#pragma once

#include <QDialog>
#include <QImage>

#include <functional>

class QTextBrowser;

namespace tovani {

class HelpViewer : public QDialog {
    Q_OBJECT
public:
    // Puts the viewer's own texts into the player's language (English when not given).
    using Translate = std::function<QString(const QString&)>;

    HelpViewer(QWidget* parent, const QString& helpDir, Translate translate = {});
    // Opens `page` (a file of the help folder); a missing page gives a page that says so.
    void Open(const QString& page);
    // The "View Tileset" page of the tileset named `caption`: its finished faces when they could
    // be made, else the tileset picture file itself; `problem` says why there is neither.
    void OpenTileset(const QString& caption, const QImage& faces, const QString& picturePath,
                     const QString& problem = QString());
    QTextBrowser* Browser() const { return browser_; }

    static void ShowPage(QWidget* parent, const QString& helpDir, const QString& page,
                         Translate translate = {});
    static void ShowTileset(QWidget* parent, const QString& helpDir, const QString& caption,
                            const QImage& faces, const QString& picturePath,
                            const QString& problem = QString(), Translate translate = {});

private:
    QString Tr(const QString& s) const { return translate_ ? translate_(s) : s; }

    QString helpDir_;
    Translate translate_;
    QTextBrowser* browser_;
};

} // namespace tovani
