// Looking up the program's own pictures by name.
#include "resources/Resources.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

namespace {

void EnsureApp() {
    static int argc = 1;
    static char name[] = "test_resources";
    static char* argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) {
        new QGuiApplication(argc, argv);
    }
}

void WritePicture(const QString& path, const QSize& size, const char* format) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(path, format));
}

TEST(ProgramPictures, FoundByNameWithOrWithoutExtensionIgnoringCase) {
    EnsureApp();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    WritePicture(dir.filePath("Splash.png"), {276, 186}, "png");
    WritePicture(dir.filePath("screen1.jpg"), {150, 100}, "jpg");
    EXPECT_EQ(tovani::ProgramPictureIn(dir.path(), "Splash").size(), QSize(276, 186));
    EXPECT_EQ(tovani::ProgramPictureIn(dir.path(), "splash").size(), QSize(276, 186));
    EXPECT_EQ(tovani::ProgramPictureIn(dir.path(), "SPLASH.PNG").size(), QSize(276, 186));
    EXPECT_EQ(tovani::ProgramPictureIn(dir.path(), "Screen1").size(), QSize(150, 100));
}

TEST(ProgramPictures, MissingOrBrokenGivesANullPicture) {
    EnsureApp();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_TRUE(tovani::ProgramPictureIn(dir.path(), "Nothing").isNull());
    EXPECT_TRUE(tovani::ProgramPictureIn(dir.path() + "/absent", "Splash").isNull());
    EXPECT_TRUE(tovani::ProgramPictureIn(dir.path(), "").isNull());
    QFile broken(dir.filePath("Broken.png"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a picture at all");
    broken.close();
    EXPECT_TRUE(tovani::ProgramPictureIn(dir.path(), "Broken").isNull());
}

TEST(ProgramPictures, TheBuiltFolderHoldsThePaintedPictures) {
    EnsureApp();
    const QString folder = QString(TOVANI_BIN_DIR) + "/Resources";
    EXPECT_EQ(tovani::ProgramPictureIn(folder, "HAND").size(), QSize(32, 32));
    EXPECT_EQ(tovani::ProgramPictureIn(folder, "hand2").size(), QSize(32, 32));
    const QPoint hot = tovani::CursorHotSpot("HAND");
    // The hot spot is the fingertip: an opaque pixel at the top of the picture.
    const QImage hand = tovani::ProgramPictureIn(folder, "HAND");
    EXPECT_GT(qAlpha(hand.pixel(hot.x(), hot.y() + 1)), 128);
    EXPECT_EQ(tovani::CursorHotSpot("other"), QPoint(0, 0));
}

} // namespace
