// The board view in the main window, on Qt's offscreen platform: the pictures chosen in the
// menus, the options as they change the board picture, the hover marks and broken pictures.
//
// The board is a "Traditional" deal made here; the expected pixels are worked out from the
// plain picture (a shadow takes 60 off each channel, a selected tile is 0.78 times as bright,
// a highlighted one 1.18 times, Invert turns each channel c into 255 - c).
#include "BoardViewFixture.h"

namespace tovani {
namespace {

TEST_F(BoardViewTest, StartUpShowsTheCheckedPicturesAtTheSizeOfTheArea) {
    TMainForm& f = Start();
    ASSERT_EQ(f.GameMode(), kModeWelcome);
    EXPECT_TRUE(ContentItem("Tileset", "Ivory")->isChecked());
    EXPECT_TRUE(ContentItem("Background", "Garden")->isChecked());
    EXPECT_TRUE(ContentItem("SmallSet", "Kanji")->isChecked());
    EXPECT_FALSE(view_->Area().sheets.IsEmpty());
    EXPECT_EQ(view_->SmallTileset().Width(), 38 * 8);
    const double dpr = view_->DevicePixelRatio();
    QWidget* game2 = f.Game2();
    EXPECT_EQ(Screen().Width(), int(std::lround(game2->width() * dpr)));
    EXPECT_EQ(Screen().Height(), int(std::lround(game2->height() * dpr)));
    // The welcome screen shows the stretched picture (a plain colour, give or take the JPEG),
    // even when a board is in the scene.
    view_->Scene().board = &board_;
    view_->FullRedraw();
    EXPECT_EQ(Screen(), view_->Area().BackgroundBuffer);
    const Pixel mid = Screen().At(Screen().Width() / 2, Screen().Height() / 2);
    EXPECT_NEAR(RedOf(mid), 30, 6);
    EXPECT_NEAR(GreenOf(mid), 90, 6);
    EXPECT_NEAR(BlueOf(mid), 40, 6);
    // What Game2 paints is the board picture, pixel for pixel.
    Play();
    QImage shown = game2->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.width(), Screen().Width());
    const Point c = FaceCentre(TopTile());
    EXPECT_EQ(shown.pixel(c.x, c.y), Screen().At(c.x, c.y));
    EXPECT_NE(Screen(), view_->Area().BackgroundBuffer);
    // Back at the welcome screen the tiles are gone.
    f.Stop();
    QApplication::processEvents();
    game2->grab();
    EXPECT_EQ(Screen(), view_->Area().BackgroundBuffer);
}

TEST_F(BoardViewTest, ShadowsDarkenByExactlySixtyAndGoAway) {
    TMainForm& f = Start();
    Play();
    ASSERT_FALSE(f.Option("Shadows"));
    const PixelBuffer plain = Screen();
    Click("Shadows");
    const PixelBuffer shaded = Screen();
    int darkened = 0;
    for (int y = 0; y < plain.Height(); ++y)
        for (int x = 0; x < plain.Width(); ++x) {
            const Pixel a = plain.At(x, y), b = shaded.At(x, y);
            if (a == b)
                continue;
            ++darkened;
            for (int i = 0; i < 3; ++i)
                ASSERT_EQ(Channel(b, i), std::max(0, Channel(a, i) - 60)) << x << "," << y;
        }
    EXPECT_GT(darkened, 1000);
    Click("Shadows");
    EXPECT_EQ(Screen(), plain);
}

TEST_F(BoardViewTest, SelectionLooksAndInvert) {
    TMainForm& f = Start();
    Play();
    const int t = TopTile();
    const Point c = FaceCentre(t);
    const Pixel plain = Screen().At(c.x, c.y);
    view_->Scene().firstPick = t;
    view_->RedrawTile(t);
    const Pixel dark = Screen().At(c.x, c.y);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(Channel(dark, i), std::lround(Channel(plain, i) * 0.78), 1);
    ASSERT_FALSE(f.Option("Invert"));
    Click("Invert");
    // Invert waits for the next redraw.
    EXPECT_EQ(Screen().At(c.x, c.y), dark);
    view_->RedrawTile(t);
    const Pixel inverted = Screen().At(c.x, c.y);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Channel(inverted, i), 255 - Channel(plain, i));
    // "Redraw" forgets the picks.
    bool told = false;
    QObject::connect(view_.get(), &BoardView::PicksCleared, [&] { told = true; });
    Click("Redraw1");
    EXPECT_TRUE(told);
    EXPECT_EQ(view_->Scene().firstPick, 0);
    EXPECT_EQ(Screen().At(c.x, c.y), plain);
}

TEST_F(BoardViewTest, HighlightModesMarkTheTileUnderTheMouse) {
    TMainForm& f = Start();
    Play();
    const int t = TopTile();
    const Point c = FaceCentre(t), corner = FaceCorner(t);
    const PixelBuffer plain = Screen();
    const Pixel face = plain.At(c.x, c.y);
    const Point edge = {corner.x + 1, c.y}; // on the rectangle's left line

    struct Case {
        const char* item;
        Pixel edgePixel;
    } cases[] = {{"Highlight2", MakePixel(255, 0, 0)},
                 {"Highlight4", MakePixel(0, 128, 0)},
                 {"Highlight5", MakePixel(0, 0, 255)}};
    for (const Case& k : cases) {
        Click(k.item);
        MoveMouse(QPoint(0, 0));
        MoveMouse(Logical(c));
        EXPECT_EQ(view_->Area().renderer.HoveredTile, t) << k.item;
        EXPECT_EQ(Screen().At(edge.x, edge.y), k.edgePixel) << k.item;
        EXPECT_EQ(Screen().At(c.x, c.y), face) << k.item; // the face keeps its look
    }
    Click("Highlight3");
    MoveMouse(QPoint(0, 0));
    MoveMouse(Logical(c));
    const Pixel bright = Screen().At(c.x, c.y);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(Channel(bright, i), std::min(255L, std::lround(Channel(face, i) * 1.18)), 1);
    // "Show Current Tile" hands the hovered tile to the hall-of-fame strip.
    int shown = -1;
    QObject::connect(view_.get(), &BoardView::CurrentTileShown,
                     [&](int tile, bool) { shown = tile; });
    if (!f.Option("ShowCurrentTile"))
        Click("ShowCurrentTile");
    f.SetOption("ShowHallFame", true);
    MoveMouse(Logical(c));
    EXPECT_EQ(shown, t);
    // Off the board the mark goes.
    MoveMouse(QPoint(1, 1));
    EXPECT_EQ(Screen(), plain);
    // Straight off the play area (onto the toolbar or the strip) the mark goes too.
    Click("Highlight2");
    MoveMouse(Logical(c));
    ASSERT_EQ(view_->Area().renderer.HoveredTile, t);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(f.Game2(), &leave);
    EXPECT_EQ(view_->Area().renderer.HoveredTile, 0);
    EXPECT_EQ(Screen(), plain);
    // "None": no mark at all.
    Click("Highlight1");
    MoveMouse(Logical(c));
    EXPECT_EQ(Screen(), plain);
    EXPECT_FALSE(f.Item("OnlyPossibleMoves")->isEnabled());

    // "Only Possible Moves": a blocked tile is not marked, a free one is.
    Click("Highlight2");
    Click("OnlyPossibleMoves");
    ASSERT_TRUE(f.Option("OnlyPossibleMoves"));
    int blocked = 0, free = 0;
    for (int k = 1; k <= 144 && (!blocked || !free); ++k) {
        const Cell cell = board_.Position(k);
        if (board_.At(cell.column, cell.row, cell.layer + 1) != 0)
            continue; // covered: its centre belongs to another tile
        (Dispo(board_, k) ? free : blocked) = k;
    }
    ASSERT_NE(blocked, 0);
    ASSERT_NE(free, 0);
    MoveMouse(QPoint(1, 1));
    MoveMouse(Logical(FaceCentre(blocked)));
    EXPECT_EQ(view_->Area().renderer.HoveredTile, 0);
    EXPECT_EQ(Screen(), plain);
    MoveMouse(Logical(FaceCentre(free)));
    EXPECT_EQ(view_->Area().renderer.HoveredTile, free);
}

TEST_F(BoardViewTest, TotalImmersionLeavesNoBandUnderTheBoard) {
    TMainForm& f = Start();
    Play();
    auto bufferFitsTheArea = [&] {
        QApplication::processEvents(); // the menu bar goes and the window lays itself out
        const double dpr = view_->DevicePixelRatio();
        return view_->Area().renderer.BoardBuffer.Height() ==
                   int(std::lround(f.Game2()->height() * dpr)) &&
               view_->Area().renderer.BoardBuffer.Width() ==
                   int(std::lround(f.Game2()->width() * dpr));
    };
    ASSERT_TRUE(bufferFitsTheArea());
    const int before = f.Game2()->height();
    Click("Total");
    ASSERT_TRUE(f.Option("Total"));
    EXPECT_TRUE(bufferFitsTheArea());
    EXPECT_GT(f.Game2()->height(), before);
    Click("Total");
    EXPECT_TRUE(bufferFitsTheArea());
}

TEST_F(BoardViewTest, TileOptionsRebuildTheTiles) {
    TMainForm& f = Start();
    Play();
    const TileGeometry before = view_->Area().sheets.geometry;
    ASSERT_FALSE(f.Option("DeuxEtages"));
    EXPECT_EQ(before.edgeSize, int(std::lround(before.tileWidth * 2.0 / 13.0)));
    PixelBuffer shown = Screen();
    Click("DeuxEtages");
    EXPECT_EQ(view_->EdgeSize(), int(std::lround(view_->TileWidth() * 0.2)));
    EXPECT_NE(Screen(), shown);
    Click("DeuxEtages");
    EXPECT_EQ(Screen(), shown);

    // Without stretching the faces keep the tileset's size: 40 x 50.
    Click("StretchTileset");
    EXPECT_EQ(view_->TileWidth(), int(std::lround(40 * view_->DevicePixelRatio())));
    EXPECT_FALSE(f.Item("KeepRatio")->isEnabled());
    Click("StretchTileset");
    EXPECT_EQ(view_->Area().sheets.geometry, before);

    for (const char* option : {"ShowRomanized", "GradientTiles", "EnableTopEdges"}) {
        shown = Screen();
        Click(option);
        EXPECT_NE(Screen(), shown) << option;
        Click(option);
        EXPECT_EQ(Screen(), shown) << option;
    }

    // The side colour from the colour dialog, plainly filled without "Cool Tile Borders".
    if (f.Option("GradientTiles"))
        Click("GradientTiles");
    colourAnswer_ = QColor(10, 200, 30);
    Click("SetMainColor");
    EXPECT_EQ(colourAsked_, QColor(0xCE, 0x94, 0x8C)); // the default 0x8C94CE
    EXPECT_EQ(f.Prefs().GetInt("BorderColor"), 0x1EC80A);
    const FaceSheets& s = view_->Area().sheets;
    EXPECT_EQ(s.FaceSheet.At(s.EdgeSize() / 2, s.TileHeight() / 2), MakePixel(10, 200, 30));
    // A cancelled dialog changes nothing.
    colourAnswer_ = QColor();
    Click("SetEdgeColor");
    EXPECT_EQ(f.Prefs().GetInt("BorderEdge"), 0);
    EXPECT_EQ(f.Prefs().GetInt("BorderColor"), 0x1EC80A);
}

TEST_F(BoardViewTest, BrokenPicturesKeepThePreviousOneWithAMessage) {
    TMainForm& f = Start();
    Play();
    const PixelBuffer background = view_->Area().BackgroundBuffer;
    QAction* broken = ContentItem("Background", "Broken");
    ASSERT_NE(broken, nullptr);
    broken->trigger();
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_TRUE(messages_[0].contains("Broken.jpg")) << messages_[0].toStdString();
    EXPECT_EQ(view_->Area().BackgroundBuffer, background);
    EXPECT_TRUE(ContentItem("Background", "Garden")->isChecked());
    EXPECT_FALSE(broken->isChecked());

    // "Load from disk": a broken file is refused too; a good one is used and remembered.
    fileAnswer_ = Path("Backgrounds/Broken.jpg");
    Click("LoadBackground");
    EXPECT_EQ(fileDialogs_, 1);
    EXPECT_EQ(messages_.size(), 2);
    EXPECT_EQ(view_->Area().BackgroundBuffer, background);
    EXPECT_TRUE(ContentItem("Background", "Garden")->isChecked());
    fileAnswer_ = Path("Backgrounds/Dusk.bmp");
    Click("LoadBackground");
    EXPECT_TRUE(f.Option("LoadBackground"));
    EXPECT_EQ(f.Prefs().GetString("LastLoadedBackground"), fileAnswer_.toStdString());
    const Pixel corner = view_->Area().BackgroundBuffer.At(0, 0);
    EXPECT_EQ(corner, MakePixel(120, 40, 100));
    // A cancelled dialog keeps the picture and its check mark.
    fileAnswer_.clear();
    Click("LoadBackground");
    EXPECT_TRUE(f.Option("LoadBackground"));
    EXPECT_EQ(view_->Area().BackgroundBuffer.At(0, 0), corner);

    // "None (Solid)": the chosen colour at the top, fading to black at the bottom.
    colourAnswer_ = QColor(200, 100, 50);
    Click("None1");
    EXPECT_TRUE(f.Option("None1"));
    const PixelBuffer& solid = view_->Area().BackgroundBuffer;
    ASSERT_TRUE(f.Option("CoolBackground"));
    EXPECT_EQ(solid.At(5, 0), MakePixel(200, 100, 50));
    EXPECT_EQ(solid.At(5, solid.Height() - 1), MakePixel(0, 0, 0));
    Click("CoolBackground");
    EXPECT_EQ(view_->Area().BackgroundBuffer.At(5, solid.Height() - 1), MakePixel(200, 100, 50));

    // A tileset too small for 9 x 5 faces keeps the tiles; another tileset replaces them.
    const PixelBuffer faces = view_->Area().sheets.FaceSheet;
    ContentItem("Tileset", "Tiny")->trigger();
    EXPECT_EQ(messages_.size(), 3);
    EXPECT_EQ(view_->Area().sheets.FaceSheet, faces);
    EXPECT_TRUE(ContentItem("Tileset", "Ivory")->isChecked());
    ContentItem("Tileset", "Jade")->trigger();
    EXPECT_TRUE(ContentItem("Tileset", "Jade")->isChecked());
    EXPECT_NE(view_->Area().sheets.FaceSheet, faces);
}

} // namespace
} // namespace tovani

namespace tovani {
namespace {

// "--demo [ITEM | MENU:CAPTION]...": the window on the shipped content with a "Traditional"
// deal on the board, for looking at it; each argument clicks a menu item by name, or the item
// of a content menu ("Tileset:Jade", "Background:Ocean") once the window has started.
int RunDemo(const QStringList& args) {
    MainFormOptions o;
    o.programDir = QString(TOVANI_BIN_DIR) + "/";
    o.interactive = false;
    TMainForm form(o);
    BoardView view(form);
    Board board;
    LayoutCatalog cat = LayoutCatalog::Scan(std::string(TOVANI_BIN_DIR) + "/Layouts");
    LayoutLoad load = LoadLayoutFile(cat.PathOf(cat.NumberOf("Traditional")), cat);
    if (!load.ok)
        return 1;
    RandomGenerator rng;
    ManualClock clock;
    BeginGame(board, load.layout, rng, clock, DealOptions{false, true, 7});
    form.show();
    auto* timer = new QTimer(&form);
    QObject::connect(timer, &QTimer::timeout, [&] {
        if (form.GameMode() != kModeWelcome)
            return;
        timer->stop();
        for (const QString& a : args) {
            const int colon = a.indexOf(':');
            if (colon < 0) {
                if (QAction* item = form.Item(a))
                    item->trigger();
                continue;
            }
            if (QMenu* menu = form.TopMenu(a.left(colon)))
                for (QAction* item : menu->actions())
                    if (item->text() == a.mid(colon + 1))
                        item->trigger();
        }
        view.Scene().board = &board;
        form.IM(kModeSolitaire);
        view.FullRedraw();
    });
    timer->start(100);
    return QApplication::exec();
}

} // namespace
} // namespace tovani

int main(int argc, char** argv) {
    if (argc > 1 && QByteArray(argv[1]) == "--demo") {
        QApplication app(argc, argv);
        return tovani::RunDemo(QApplication::arguments().mid(2));
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
