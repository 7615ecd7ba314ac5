// The board view in the main window on Qt's offscreen platform, in a program folder of its own
// for each test: two tilesets and a too small one, backgrounds (one broken), a small tileset, and
// a "Traditional" deal made here; the window's dialogs are answered by the test.
#pragma once

#include "play/BoardView.h"
#include "shell/MainForm.h"
#include "support/TestFolder.h"

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

#include <unistd.h>

namespace tovani {

namespace fs = std::filesystem;

// A tileset of 40 x 50 faces, each a plain colour of its own and never black.
inline QImage MakeTileset(int hueShift) {
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

inline int Channel(Pixel p, int i) {
    return i == 0 ? RedOf(p) : i == 1 ? GreenOf(p) : BlueOf(p);
}

class BoardViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = test::FreshTestFolder("tovani_view_");
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

} // namespace tovani
