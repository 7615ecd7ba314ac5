// The board view's pictures in the main window, on Qt's offscreen platform: the window background
// on the window and later dialogs, the progress bar while faces are cut, the hit test against
// what is drawn after resizes, tiled and stretched backgrounds, and large pictures.
#include "BoardViewFixture.h"
#include <QRgb>

namespace tovani {
namespace {

// The colours along the top row of a widget as it is drawn (the status line's children leave
// its top two rows to its own background).
QSet<QRgb> TopRowColours(QWidget* w) {
    const QImage img = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QSet<QRgb> colours;
    for (int x = 0; x < img.width(); ++x)
        colours.insert(img.pixel(x, 0) | 0xFF000000u);
    return colours;
}

TEST_F(BoardViewTest, CoolWindowBackgroundPapersTheWindowAndLaterDialogs) {
    TMainForm& f = Start();
    Play();
    QWidget* line = f.findChild<QWidget*>("LigneStatus");
    ASSERT_NE(line, nullptr);
    // On by default: the window's own background is the tiled logo, a picture of many colours.
    ASSERT_TRUE(f.Option("CoolBackgr"));
    ASSERT_FALSE(f.CoolBackPicture().isNull());
    const QSet<QRgb> papered = TopRowColours(line);
    EXPECT_GT(papered.size(), 2) << "the logo is not drawn";
    EXPECT_EQ(f.centralWidget()->palette().brush(QPalette::Window).textureImage().size(),
              f.CoolBackPicture().size());

    // Off: plain surfaces of one colour, and a dialog opened now stays plain.
    Click("CoolBackgr");
    EXPECT_FALSE(f.Option("CoolBackgr"));
    EXPECT_TRUE(f.CoolBackPicture().isNull());
    const QSet<QRgb> plain = TopRowColours(line);
    EXPECT_EQ(plain.size(), 1);
    EXPECT_FALSE(papered.contains(*plain.begin()));
    EXPECT_EQ(f.centralWidget()->palette().brush(QPalette::Window).style(), Qt::SolidPattern);
    QDialog before;
    f.PaperDialog(before);
    EXPECT_EQ(before.palette().brush(QPalette::Window).style(), Qt::SolidPattern);

    // On again: the same papered pixels come back, and a dialog opened later is papered too.
    Click("CoolBackgr");
    EXPECT_EQ(TopRowColours(line), papered);
    QDialog after;
    after.resize(200, 150);
    f.PaperDialog(after);
    EXPECT_TRUE(after.autoFillBackground());
    EXPECT_EQ(after.palette().brush(QPalette::Window).textureImage().size(),
              f.CoolBackPicture().size());
    const QImage shown = after.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QSet<QRgb> dialogColours;
    for (int x = 0; x < shown.width(); ++x)
        dialogColours.insert(shown.pixel(x, 75) | 0xFF000000u);
    EXPECT_GT(dialogColours.size(), 2);

    // A dialog of the window shown by itself (about, help) is papered as it opens.
    QDialog own(&f);
    EXPECT_EQ(own.palette().brush(QPalette::Window).style(), Qt::SolidPattern);
    own.show();
    EXPECT_EQ(own.palette().brush(QPalette::Window).textureImage().size(),
              f.CoolBackPicture().size());
    own.hide();
}

TEST_F(BoardViewTest, TheProgressBarFollowsTheFacesBeingCutAndGoes) {
    TMainForm& f = Start();
    Play();
    QProgressBar* bar = f.LoadingBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(bar->isVisible());
    // Every step the bar takes, and whether it was on screen then.
    std::vector<std::pair<int, bool>> steps;
    QObject::connect(bar, &QProgressBar::valueChanged,
                     [&](int v) { steps.emplace_back(v, bar->isVisible()); });
    // Each cut (a resize may cut twice) is on screen throughout and runs from 0 up to 42.
    auto shownFromStartToEnd = [&] {
        if (steps.size() < 42)
            return false;
        for (size_t i = 0; i < steps.size(); ++i) {
            if (!steps[i].second)
                return false;
            const bool restarts = i > 0 && steps[i].first < steps[i - 1].first;
            if (restarts && (steps[i].first != 0 || steps[i - 1].first != 42))
                return false;
        }
        return steps.front().first <= 1 && steps.back().first == 42;
    };

    // A new tileset: the bar runs from 0 to its 42 steps while the faces are cut, then goes.
    ContentItem("Tileset", "Jade")->trigger();
    ASSERT_TRUE(ContentItem("Tileset", "Jade")->isChecked());
    EXPECT_TRUE(shownFromStartToEnd()) << steps.size() << " steps";
    EXPECT_FALSE(bar->isVisible());

    // A quick cut (plain stretching) does not flash it.
    f.SetOption("StretchTileset", true);
    f.SetOption("HighQuality", false);
    bar->setValue(42);
    steps.clear();
    Click("ShowRomanized");
    EXPECT_TRUE(steps.empty());
    EXPECT_FALSE(bar->isVisible());

    // The high-quality stretch is slow: shown, and for a resize too.
    Click("HighQuality");
    ASSERT_TRUE(f.Option("HighQuality"));
    EXPECT_TRUE(shownFromStartToEnd()) << steps.size() << " steps";
    EXPECT_FALSE(bar->isVisible());
    steps.clear();
    f.resize(820, 600);
    QApplication::processEvents();
    EXPECT_TRUE(shownFromStartToEnd()) << steps.size() << " steps";
    EXPECT_FALSE(bar->isVisible());

    // A tileset that cannot be cut leaves no bar behind.
    steps.clear();
    ContentItem("Tileset", "Tiny")->trigger();
    EXPECT_TRUE(ContentItem("Tileset", "Jade")->isChecked());
    EXPECT_FALSE(bar->isVisible());
}

TEST_F(BoardViewTest, TheHitTestFindsTheTileDrawnOnTopAfterResizes) {
    TMainForm& f = Start();
    Play();
    for (QSize size : {QSize(1000, 720), QSize(700, 500)}) {
        f.resize(size);
        QApplication::processEvents();
        f.Game2()->grab();
        const double dpr = view_->DevicePixelRatio();
        ASSERT_EQ(Screen().Width(), int(std::lround(f.Game2()->width() * dpr)));
        const PixelBuffer plain = Screen();
        // At every sampled point that hits a tile, darkening that tile changes the pixel: the
        // tile found is the one drawn there, on top.
        int hits = 0;
        for (int y = 0; y < f.Game2()->height(); y += 9)
            for (int x = 0; x < f.Game2()->width(); x += 7) {
                const int t = view_->TileAt(QPoint(x, y));
                if (t == 0)
                    continue;
                const int dx = int(std::floor(x * dpr)), dy = int(std::floor(y * dpr));
                const Pixel p = plain.At(dx, dy);
                if (RedOf(p) + GreenOf(p) + BlueOf(p) < 12)
                    continue; // the labels stay black however dark
                // Only the face: the hit rectangle also takes a strip right of it.
                const Point corner = FaceCorner(t);
                if (dx < corner.x || dx >= corner.x + view_->TileWidth() || dy < corner.y ||
                    dy >= corner.y + view_->TileHeight())
                    continue;
                view_->Scene().firstPick = t;
                view_->RedrawTile(t);
                EXPECT_NE(Screen().At(dx, dy), plain.At(dx, dy)) << x << "," << y << " tile " << t;
                view_->Scene().firstPick = 0;
                view_->RedrawTile(t);
                ++hits;
            }
        EXPECT_GT(hits, 200);
        // The half-tile cell of a face centre is the tile's own cell or the one after it.
        const int t = TopTile();
        const QPoint cell = view_->HalfTileCell(Logical(FaceCentre(t)));
        const Cell at = board_.Position(t);
        EXPECT_GE(cell.x(), at.column - 1);
        EXPECT_LE(cell.x(), at.column + at.layer);
    }
}

TEST_F(BoardViewTest, BackgroundOptionsTileOrStretchThePicture) {
    TMainForm& f = Start();
    fileAnswer_ = Path("Backgrounds/Dusk.bmp");
    Click("LoadBackground");
    const Pixel left = MakePixel(120, 40, 100), right = MakePixel(20, 160, 220);
    const PixelBuffer* b = &view_->Area().BackgroundBuffer;
    const int w = b->Width();
    ASSERT_TRUE(f.Option("StretchBackground"));
    EXPECT_EQ(b->At(w / 4, 10), left);
    EXPECT_EQ(b->At(w * 3 / 4, 10), right);
    // Not stretched: the 50-pixel picture repeats across and down.
    Click("StretchBackground");
    b = &view_->Area().BackgroundBuffer;
    for (int x : {10, 60, 110})
        EXPECT_EQ(b->At(x, 40), left) << x;
    for (int x : {30, 80, 130})
        EXPECT_EQ(b->At(x, 40), right) << x;
    // High quality off and on again: the picture is stretched once more either way.
    Click("StretchBackground");
    Click("HighQuality");
    EXPECT_EQ(view_->Area().BackgroundBuffer.At(w / 4, 10), left);
    EXPECT_EQ(view_->Area().BackgroundBuffer.At(w * 3 / 4, 10), right);
}

// A picture far larger than the play area is stretched from a copy decoded only as large as
// the area needs (larger again when the window grows); whoever asks for the picture itself
// (Hashira's scrolling, the chooser's preview) gets it whole, and unstretched it shows at its
// own size.
TEST_F(BoardViewTest, ALargePictureIsStretchedFromAReducedCopyAndKeptWholeForTheRest) {
    QImage big(2400, 1600, QImage::Format_RGB32);
    big.fill(QColor(200, 60, 30));
    for (int y = 0; y < 1600; ++y)
        for (int x = 1200; x < 2400; ++x)
            big.setPixel(x, y, qRgb(30, 60, 200));
    ASSERT_TRUE(big.save(Path("Backgrounds/Garden.jpg"), "JPG", 95));
    TMainForm& f = Start();
    ASSERT_TRUE(f.Option("StretchBackground"));
    auto halvesShown = [this](const char* when) {
        const PixelBuffer& b = view_->Area().BackgroundBuffer;
        const int w = b.Width(), h = b.Height();
        ASSERT_GT(w, 100) << when;
        EXPECT_EQ(w, Screen().Width()) << when;
        EXPECT_NEAR(RedOf(b.At(w / 4, h / 2)), 200, 12) << when;
        EXPECT_NEAR(BlueOf(b.At(w / 4, h / 2)), 30, 12) << when;
        EXPECT_NEAR(BlueOf(b.At(w * 3 / 4, h / 2)), 200, 12) << when;
        EXPECT_NEAR(RedOf(b.At(w * 3 / 4, h / 2)), 30, 12) << when;
    };
    halvesShown("at start-up");
    for (QSize size : {QSize(1100, 800), QSize(640, 480)}) {
        f.resize(size);
        QApplication::processEvents();
        f.Game2()->grab();
        halvesShown("after a resize");
    }
    const PixelBuffer* whole = view_->BackgroundPicture();
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(whole->Width(), 2400);
    EXPECT_EQ(whole->Height(), 1600);
    halvesShown("once the whole picture is held");
    // Unstretched, the area (narrower than 1200 pixels) shows only the left half.
    Click("StretchBackground");
    const PixelBuffer& b = view_->Area().BackgroundBuffer;
    ASSERT_LT(b.Width(), 1200);
    EXPECT_NEAR(RedOf(b.At(b.Width() - 3, b.Height() / 2)), 200, 12);
}

} // namespace
} // namespace tovani
