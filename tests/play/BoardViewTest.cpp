// The board view in the main window, on Qt's offscreen platform: the pictures chosen in the
// menus, the options as they change the board picture, the hover marks, broken pictures, the
// hit test against what is drawn, and the picture composed at device pixels.
//
// The board is a "Traditional" deal made here; the expected pixels are worked out from the
// plain picture (a shadow takes 60 off each channel, a selected tile is 0.78 times as bright,
// a highlighted one 1.18 times, Invert turns each channel c into 255 - c).
#include "play/BoardView.h"
#include "shell/MainForm.h"

#include "core/Clock.h"
#include "core/Files.h"
#include "core/IniFile.h"
#include "core/Random.h"
#include "solitaire/Dealer.h"
#include "solitaire/FreeRules.h"
#include "solitaire/LayoutCatalog.h"

#include <QAction>
#include <QApplication>
#include <QColor>
#include <QDialog>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QProgressBar>
#include <QSet>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

namespace tovani {
namespace {

namespace fs = std::filesystem;

// A tileset of 40 x 50 faces, each a plain colour of its own and never black.
QImage MakeTileset(int hueShift) {
    QImage img(9 * 40, 5 * 50, QImage::Format_RGB32);
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 9; ++c) {
            const int n = r * 9 + c;
            QColor col(60 + (n * 4 + hueShift) % 150, 90 + (n * 7) % 120, 200 - n * 2);
            for (int y = 0; y < 50; ++y)
                for (int x = 0; x < 40; ++x)
                    img.setPixel(c * 40 + x, r * 50 + y, col.rgb());
        }
    return img;
}

int Channel(Pixel p, int i) {
    return i == 0 ? RedOf(p) : i == 1 ? GreenOf(p) : BlueOf(p);
}

class BoardViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("tovani_view_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        for (const char* d : {"Tilesets", "Backgrounds", "Small", "Musics", "Languages"})
            fs::create_directories(dir_ / d);
        MakeTileset(0).save(Path("Tilesets/Ivory.bmp"), "BMP");
        MakeTileset(70).save(Path("Tilesets/Jade.bmp"), "BMP");
        QImage(8, 4, QImage::Format_RGB32).save(Path("Tilesets/Tiny.bmp"), "BMP");
        QImage garden(64, 48, QImage::Format_RGB32);
        garden.fill(QColor(30, 90, 40));
        garden.save(Path("Backgrounds/Garden.jpg"), "JPG");
        // Two halves: a tiled picture and a stretched one put them in different places.
        QImage dusk(50, 30, QImage::Format_RGB32);
        dusk.fill(QColor(120, 40, 100));
        for (int y = 0; y < 30; ++y)
            for (int x = 25; x < 50; ++x)
                dusk.setPixel(x, y, qRgb(20, 160, 220));
        dusk.save(Path("Backgrounds/Dusk.bmp"), "BMP");
        // The first bytes of a JPEG: a truncated stream.
        auto jpeg = ReadWholeFile(Path("Backgrounds/Garden.jpg").toStdString());
        ASSERT_TRUE(jpeg.has_value());
        Write("Backgrounds/Broken.jpg", jpeg->substr(0, 200));
        QImage small(38 * 8, 38, QImage::Format_RGB32);
        small.fill(QColor(200, 180, 160));
        small.save(Path("Small/Kanji.bmp"), "BMP");
        Write("Musics/Endless.mid", "MThd");
        Write("Languages/English.txt", "[Messages]\r\n");
        Write("Tovani.ini", "[Tovani]\r\nLanguage=English\r\nMaximize=0\r\n");

        LayoutCatalog cat = LayoutCatalog::Scan(std::string(TOVANI_BIN_DIR) + "/Layouts");
        const int n = cat.NumberOf("Traditional");
        ASSERT_GT(n, 0);
        LayoutLoad load = LoadLayoutFile(cat.PathOf(n), cat);
        ASSERT_TRUE(load.ok);
        RandomGenerator rng;
        ManualClock clock;
        BeginGame(board_, load.layout, rng, clock, DealOptions{false, true, 7});
        ASSERT_EQ(board_.tilesLeft, 144);
    }
    void TearDown() override {
        view_.reset();
        form_.reset();
        fs::remove_all(dir_);
    }
    QString Path(const std::string& rel) const {
        return QString::fromStdString((dir_ / rel).string());
    }
    void Write(const std::string& rel, const std::string& bytes) {
        ASSERT_TRUE(WriteFileAtomic((dir_ / rel).string(), bytes));
    }

    // The window at the welcome screen with the view hooked in; dialogs answer from the test.
    TMainForm& Start(const std::string& ini = "") {
        if (!ini.empty())
            Write("Tovani.ini", "[Tovani]\r\nLanguage=English\r\nMaximize=0\r\n" + ini);
        MainFormOptions o;
        o.programDir = Path("") + (Path("").endsWith('/') ? "" : "/");
        o.clock = &clock_;
        o.startTimers = false;
        o.interactive = false;
        form_ = std::make_unique<TMainForm>(o);
        view_ = std::make_unique<BoardView>(*form_);
        BoardView::Dialogs d;
        d.openPicture = [this](const QString&, const QString&, const QString&) {
            ++fileDialogs_;
            return fileAnswer_;
        };
        d.chooseColour = [this](const QColor& initial, const QString&) {
            colourAsked_ = initial;
            return colourAnswer_;
        };
        d.message = [this](const QString& text) { messages_ << text; };
        view_->SetDialogs(d);
        form_->resize(900, 660);
        form_->show();
        form_->Temps();
        QApplication::processEvents();
        return *form_;
    }
    // A Solitaire game on the dealt board.
    void Play() {
        view_->Scene().board = &board_;
        form_->IM(kModeSolitaire);
        view_->FullRedraw();
    }
    const PixelBuffer& Screen() const { return view_->Area().renderer.BoardBuffer; }

    // The face centre of a tile in device pixels.
    Point FaceCentre(int tile) const {
        const Cell c = board_.Position(tile);
        const BoardRenderer& r = view_->Area().renderer;
        return {r.CoordX(c.column - 1, c.layer - 1) + view_->TileWidth() / 2,
                r.CoordY(c.row - 1, c.layer - 1) + view_->TileHeight() / 2};
    }
    Point FaceCorner(int tile) const {
        const Cell c = board_.Position(tile);
        const BoardRenderer& r = view_->Area().renderer;
        return {r.CoordX(c.column - 1, c.layer - 1), r.CoordY(c.row - 1, c.layer - 1)};
    }
    // A tile of the highest layer: nothing ever lies on it.
    int TopTile() const {
        int best = 0, layer = 0;
        for (int t = 1; t <= 144; ++t)
            if (board_.Position(t).layer > layer)
                best = t, layer = board_.Position(t).layer;
        return best;
    }
    QPoint Logical(Point device) const {
        const double dpr = view_->DevicePixelRatio();
        return QPoint(int(device.x / dpr), int(device.y / dpr));
    }
    void MoveMouse(const QPoint& p) {
        QWidget* game2 = form_->Game2();
        QMouseEvent move(QEvent::MouseMove, QPointF(p), QPointF(game2->mapToGlobal(p)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(game2, &move);
    }
    void Click(const char* item) {
        QAction* a = form_->Item(item);
        ASSERT_NE(a, nullptr) << item;
        a->trigger();
    }
    QAction* ContentItem(const char* menu, const QString& caption) {
        for (QAction* a : form_->TopMenu(menu)->actions())
            if (a->text() == caption)
                return a;
        return nullptr;
    }

    fs::path dir_;
    ManualClock clock_;
    Board board_;
    std::unique_ptr<TMainForm> form_;
    std::unique_ptr<BoardView> view_;
    QString fileAnswer_;
    int fileDialogs_ = 0;
    QColor colourAnswer_;
    QColor colourAsked_;
    QStringList messages_;
};

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
