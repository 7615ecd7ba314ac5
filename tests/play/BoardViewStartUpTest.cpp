// The board view at start-up, on Qt's offscreen platform: the remembered pictures and choices
// come back, a forgotten or broken tileset falls back, and a screen of twice the density gets
// a picture composed at device pixels.
#include "BoardViewFixture.h"

namespace tovani {
namespace {

TEST_F(BoardViewTest, RememberedPicturesComeBackAtStartUp) {
    const std::string jade = Path("Tilesets/Jade.bmp").toStdString();
    TMainForm& f = Start("Background=1\r\nTileset=0\r\nColorBackground=255\r\nGradient=0\r\n"
                         "LastLoadedTileset=" +
                         jade + "\r\n");
    EXPECT_EQ(fileDialogs_, 0);
    EXPECT_TRUE(f.Option("None1"));
    EXPECT_TRUE(f.Option("Load1"));
    EXPECT_FALSE(ContentItem("Tileset", "Ivory")->isChecked());
    EXPECT_EQ(view_->Area().BackgroundBuffer.At(3, 3), MakePixel(255, 0, 0));
    // The faces come from Jade: cut again from Ivory they differ.
    const PixelBuffer jadeFaces = view_->Area().sheets.FaceSheet;
    ContentItem("Tileset", "Ivory")->trigger();
    EXPECT_NE(view_->Area().sheets.FaceSheet, jadeFaces);
    // Stored by name at close, so that new files in the folders do not move them: the solid
    // background by its own word, a tileset by its file's name.
    ASSERT_TRUE(f.SaveSettings());
    IniFile ini(Path("Tovani.ini").toStdString());
    EXPECT_EQ(ini.ReadString("Tovani", "Background", ""), "(None)");
    EXPECT_EQ(ini.ReadString("Tovani", "Tileset", ""), "Ivory");
}

TEST_F(BoardViewTest, ChoicesKeptByNameComeBackAtStartUp) {
    TMainForm& f = Start("Background=(None)\r\nTileset=jade\r\n");
    EXPECT_TRUE(f.Option("None1"));
    EXPECT_TRUE(ContentItem("Tileset", "Jade")->isChecked());
    EXPECT_FALSE(ContentItem("Tileset", "Ivory")->isChecked());
}

TEST_F(BoardViewTest, AForgottenTilesetFileFallsBackWithoutADialog) {
    TMainForm& f =
        Start("Tileset=0\r\nLastLoadedTileset=" + Path("Tilesets/Gone.bmp").toStdString() + "\r\n");
    EXPECT_EQ(fileDialogs_, 0);
    EXPECT_TRUE(ContentItem("Tileset", "Ivory")->isChecked());
    EXPECT_FALSE(f.Option("Load1"));
    EXPECT_FALSE(view_->Area().sheets.IsEmpty());
    // Later, "Load from disk" asks for a file; the one chosen is remembered.
    fileAnswer_ = Path("Tilesets/Jade.bmp");
    Click("Load1");
    EXPECT_EQ(fileDialogs_, 1);
    EXPECT_TRUE(f.Option("Load1"));
    EXPECT_EQ(f.Prefs().GetString("LastLoadedTileset"), fileAnswer_.toStdString());
}

TEST_F(BoardViewTest, ABrokenDefaultTilesetFallsBackToTheNextGoodOne) {
    // Nothing was shown before, so there is no previous tileset to keep: the board must not be
    // invisible while the clock runs.
    Write("Tilesets/Ivory.bmp", "BM this is no picture");
    TMainForm& f = Start();
    EXPECT_TRUE(ContentItem("Tileset", "Jade")->isChecked());
    EXPECT_FALSE(ContentItem("Tileset", "Ivory")->isChecked());
    EXPECT_FALSE(view_->Area().sheets.IsEmpty());
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_TRUE(messages_[0].contains("Ivory.bmp")) << messages_[0].toStdString();
    EXPECT_TRUE(messages_[0].contains("Jade is used instead")) << messages_[0].toStdString();
    EXPECT_FALSE(messages_[0].contains("previous picture")) << messages_[0].toStdString();
    // Later the broken one keeps the good one, as any broken picture does.
    ContentItem("Tileset", "Ivory")->trigger();
    EXPECT_TRUE(ContentItem("Tileset", "Jade")->isChecked());
    EXPECT_TRUE(messages_.back().contains("previous picture"));
    (void)f;
}

TEST_F(BoardViewTest, HighDensityScreensGetABufferTwiceTheSize) {
    TMainForm& f = Start();
    if (view_->DevicePixelRatio() != 2.0)
        GTEST_SKIP() << "run with QT_SCALE_FACTOR=2";
    Play();
    QWidget* game2 = f.Game2();
    EXPECT_EQ(Screen().Width(), 2 * game2->width());
    EXPECT_EQ(Screen().Height(), 2 * game2->height());
    // Painted one to one: the grabbed picture holds the buffer's own pixels.
    QImage shown = game2->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.width(), Screen().Width());
    for (int y = 0; y < shown.height(); y += 13)
        for (int x = 0; x < shown.width(); x += 11)
            ASSERT_EQ(shown.pixel(x, y), Screen().At(x, y)) << x << "," << y;
    // A point of the widget finds the tile under the same device pixel.
    const int t = TopTile();
    EXPECT_EQ(view_->TileAt(Logical(FaceCentre(t))), t);
    // Without stretching, a 40-pixel face takes 80 device pixels, as large as on a plain screen.
    Click("StretchTileset");
    EXPECT_EQ(view_->TileWidth(), 80);
}

} // namespace
} // namespace tovani
