// The help viewer and the about box: the help pages and their links, the tileset page, and the
// count of launches.
#include "dialogs/AboutBox.h"
#include "dialogs/HelpViewer.h"
#include "shell/ShellPictures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QRegularExpression>
#include <QTextBrowser>

#include <gtest/gtest.h>

namespace tovani {
namespace {

TEST(HelpPages, ViewerOpensPagesAndSaysWhenOneIsMissing) {
    QString help = QString(TOVANI_SOURCE_DIR) + "/content/Help/";
    HelpViewer v(nullptr, help);
    v.Open("hashira.html");
    EXPECT_TRUE(v.Browser()->toPlainText().contains("Up cycles its three tiles"));
    v.Open("nowhere.html");
    EXPECT_TRUE(v.Browser()->toPlainText().contains("Help page not found"));
    // Every page of the folder links back to the contents, and every link leads to a page.
    for (const QString& page : QDir(help).entryList({"*.html"})) {
        v.Open(page);
        QString html = v.Browser()->toHtml();
        EXPECT_TRUE(html.contains("index.html")) << page.toStdString();
        QRegularExpression link("href=\"([^\"#]+)\"");
        for (auto it = link.globalMatch(html); it.hasNext();) {
            QString target = it.next().captured(1);
            EXPECT_TRUE(QFileInfo::exists(help + target))
                << page.toStdString() << " -> " << target.toStdString();
        }
    }
}

TEST(HelpPages, EachLanguageHasEveryPageAndItsLinksStayInTheLanguage) {
    const QString help = QString(TOVANI_SOURCE_DIR) + "/content/Help/";
    const QStringList english = QDir(help).entryList({"*.html"}, QDir::Files, QDir::Name);
    const QStringList languages = QDir(help).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_TRUE(languages.contains("French"));
    ASSERT_TRUE(languages.contains("German"));
    QRegularExpression link("href=\"([^\"#]+)\"");
    for (const QString& language : languages) {
        // A language without a language file would never be shown.
        EXPECT_TRUE(QFileInfo::exists(QString(TOVANI_SOURCE_DIR) + "/content/Languages/" +
                                      language + ".txt"))
            << language.toStdString();
        const QString folder = help + language + "/";
        EXPECT_EQ(QDir(folder).entryList({"*.html"}, QDir::Files, QDir::Name), english)
            << language.toStdString();
        HelpViewer v(nullptr, folder);
        for (const QString& page : english) {
            QFile own(folder + page), original(help + page);
            ASSERT_TRUE(own.open(QIODevice::ReadOnly)) << (folder + page).toStdString();
            ASSERT_TRUE(original.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(own.readAll());
            EXPECT_NE(text, QString::fromUtf8(original.readAll()))
                << "left in English: " << (language + "/" + page).toStdString();
            // The same links as the English page, each to a page of the same language.
            QStringList targets;
            for (auto it = link.globalMatch(text); it.hasNext();) {
                const QString target = it.next().captured(1);
                targets << target;
                EXPECT_TRUE(QFileInfo::exists(folder + target))
                    << (language + "/" + page).toStdString() << " -> " << target.toStdString();
            }
            EXPECT_TRUE(targets.contains("index.html")) << (language + "/" + page).toStdString();
            v.Open(page);
            EXPECT_FALSE(v.Browser()->toPlainText().trimmed().isEmpty());
        }
    }
}

TEST(HelpPages, TilesetPageShowsTheFaces) {
    // A plain tileset: nine by five cells of 40 x 50 in distinct colours.
    QImage set(360, 250, QImage::Format_RGB32);
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 9; ++c)
            for (int y = 0; y < 50; ++y)
                for (int x = 0; x < 40; ++x)
                    set.setPixel(c * 40 + x, r * 50 + y, qRgb(20 * c + 40, 40 * r + 30, 200));
    QString path = QDir::temp().filePath("tovani_test_tileset.bmp");
    ASSERT_TRUE(set.save(path, "BMP"));
    QString problem;
    QImage faces = TilesetFacesPicture(path, &problem);
    QFile::remove(path);
    ASSERT_FALSE(faces.isNull()) << problem.toStdString();
    EXPECT_TRUE(problem.isEmpty());
    // Nine tiles a row, five rows, at least as large as the source cells are wide.
    EXPECT_GT(faces.width(), 9 * 20);
    EXPECT_GT(faces.height(), 5 * 20);
    EXPECT_NEAR(double(faces.width()) / faces.height(), 9.0 * 40 / (5 * 50), 0.6);
    // A missing or broken file says why.
    QImage none = TilesetFacesPicture("/nonexistent/x.bmp", &problem);
    EXPECT_TRUE(none.isNull());
    EXPECT_TRUE(problem.contains("cannot be read"));
    HelpViewer v(nullptr, QDir::tempPath());
    v.OpenTileset("Test", QImage(), "", problem);
    EXPECT_TRUE(v.Browser()->toPlainText().contains("cannot be read"));
    v.OpenTileset("Test", faces, "");
    EXPECT_TRUE(v.Browser()->toPlainText().contains("43 tiles of Test"));
}

TEST(AboutBoxText, CountsLaunches) {
    EXPECT_TRUE(AboutBox::LaunchesText(1).contains("first time"));
    EXPECT_EQ(AboutBox::LaunchesText(7), "You have started Tovani 7 times.");
    AboutBox box(nullptr, "10.21", 7);
    EXPECT_EQ(box.findChild<QLabel*>("AboutVersion")->text(), "Version 10.21");
    EXPECT_EQ(box.findChild<QLabel*>("AboutLaunches")->text(), "You have started Tovani 7 times.");
}
} // namespace
} // namespace tovani
