// The main window's start-up scans and its settings, on Qt's offscreen platform: the content
// menus, the choices kept by name, the pictures for dense screens, the settings written at close
// and read back at the next start, layouts named on the command line, and hostile settings files.
#include "MainFormFixture.h"
#include "RecordingGame.h"
#include "shell/MainForm.h"
#include "shell/MenuTable.h"
#include "shell/ShellPictures.h"

#include "dialogs/AboutBox.h"
#include "dialogs/HelpViewer.h"

#include "core/Files.h"

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace tovani {
namespace {

TEST_F(MainFormTest, ContentMenusAndMissingFolders) {
    TMainForm& f = Start();
    QStringList bg;
    for (QAction* a : f.TopMenu("Background")->actions())
        if (!a->isSeparator())
            bg << a->text() + (a->isChecked() ? "*" : "");
    EXPECT_EQ(bg, QStringList({"Load from disk", "None (Solid)", "Autumn", "Garden*"}));
    QStringList music;
    for (QAction* a : f.TopMenu("Music")->actions())
        music << a->text() + (a->isChecked() ? "*" : "");
    EXPECT_EQ(music, QStringList({"Random Music", "Aria", "Endless*"}));
    QStringList lang;
    for (QAction* a : f.TopMenu("MenuLanguage")->actions())
        lang << a->text() + (a->isChecked() ? "*" : "");
    EXPECT_EQ(lang, QStringList({"Deutsch", "English*"}));
    EXPECT_EQ(f.CheckedContent(ContentKind::Background)->fileName, "Garden.JPG");
    // The welcome screen stands on that picture.
    EXPECT_EQ(f.PlayAreaBackground().size(), QSize(64, 48));
    Ticks(120);
    EXPECT_TRUE(StatusText().contains("Tilesets/")) << StatusText().toStdString();
    EXPECT_TRUE(StatusText().contains("Small/"));
    EXPECT_FALSE(StatusText().contains("Musics/"));
}

// A background kept by its name opens as the same picture after a new file joins the folder;
// an old numeric choice is read once as the position it meant and kept by name from then on.
TEST_F(MainFormTest, ContentChoicesAreKeptByName) {
    Write("Tovani.ini", "[Tovani]\r\nLanguage=English\r\nMaximize=0\r\nBackground=2\r\n");
    {
        TMainForm& f = Start(); // 2 is the separator: the last picture, Garden
        EXPECT_EQ(f.CheckedContent(ContentKind::Background)->caption, "Garden");
        Write("Tovani.ini", "[Tovani]\r\nLanguage=English\r\nMaximize=0\r\nBackground=3\r\n");
    }
    form_.reset();
    {
        TMainForm& f = Start(); // position 3 was Autumn
        EXPECT_EQ(f.CheckedContent(ContentKind::Background)->caption, "Autumn");
        f.close();
    }
    form_.reset();
    EXPECT_EQ(IniFile((dir_ / "Tovani.ini").string()).ReadString("Tovani", "Background", ""),
              "Autumn");
    // A new picture sorts before Autumn: the kept name still finds Autumn.
    fs::copy(dir_ / "Backgrounds" / "Autumn.bmp", dir_ / "Backgrounds" / "Abbey.bmp");
    {
        TMainForm& f = Start();
        EXPECT_EQ(f.CheckedContent(ContentKind::Background)->caption, "Autumn");
        // Another choice from the menu is kept by its name too.
        for (QAction* a : f.TopMenu("Background")->actions())
            if (a->text() == "Garden")
                a->trigger();
        f.close();
    }
    form_.reset();
    EXPECT_EQ(IniFile((dir_ / "Tovani.ini").string()).ReadString("Tovani", "Background", ""),
              "Garden");
    // A name that is gone falls back to the usual picture.
    Write("Tovani.ini", "[Tovani]\r\nLanguage=English\r\nMaximize=0\r\nBackground=Winter\r\n");
    TMainForm& f = Start();
    EXPECT_EQ(f.CheckedContent(ContentKind::Background)->caption, "Garden");
    Write("Tovani.ini", "[Tovani]\r\nLanguage=English\r\nMaximize=0\r\nBackground=Abbey\r\n");
    form_.reset();
    EXPECT_EQ(Start().CheckedContent(ContentKind::Background)->caption, "Abbey");
}

// On a screen of twice the density the welcome pictures and toolbar icons come from their
// "@2x" files, not from the normal ones blown up; without such a file the normal one serves.
TEST_F(MainFormTest, PicturesOfTwiceTheDensityServeDenseScreens) {
    const QString res = QString::fromStdString((dir_ / "Resources").string());
    QDir().mkpath(res);
    auto plain = [](int w, int h, QColor c) {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(c);
        return img;
    };
    ASSERT_TRUE(plain(150, 100, Qt::red).save(res + "/screen1.png"));
    ASSERT_TRUE(plain(300, 200, Qt::blue).save(res + "/screen1@2x.png"));
    ASSERT_TRUE(plain(150, 100, Qt::red).save(res + "/screen2.png"));
    ASSERT_TRUE(plain(24, 24, Qt::red).save(res + "/IconNew.png"));
    ASSERT_TRUE(plain(48, 48, Qt::blue).save(res + "/IconNew@2x.png"));
    const QString dir = QString::fromStdString(dir_.string()) + "/";

    const QIcon welcome = WelcomeIcon(dir, 1);
    const QPixmap dense = welcome.pixmap(QSize(150, 100), 2.0);
    EXPECT_EQ(dense.size(), QSize(300, 200));
    EXPECT_EQ(dense.toImage().pixelColor(150, 100), QColor(Qt::blue));
    const QPixmap normal = welcome.pixmap(QSize(150, 100), 1.0);
    EXPECT_EQ(normal.size(), QSize(150, 100));
    EXPECT_EQ(normal.toImage().pixelColor(75, 50), QColor(Qt::red));
    // No "@2x" file: the normal picture, scaled.
    EXPECT_EQ(WelcomeIcon(dir, 2).pixmap(QSize(150, 100), 2.0).toImage().pixelColor(10, 10),
              QColor(Qt::red));

    const QIcon icon = ToolbarIcon(dir, "ExplorerButton1");
    EXPECT_EQ(icon.pixmap(QSize(18, 18), 2.0).toImage().pixelColor(18, 18), QColor(Qt::blue));
    EXPECT_EQ(icon.pixmap(QSize(18, 18), 1.0).toImage().pixelColor(9, 9), QColor(Qt::red));
    EXPECT_DOUBLE_EQ(ShellPicture2x(dir, "screen1").devicePixelRatio(), 2.0);
    EXPECT_TRUE(ShellPicture2x(dir, "screen2").isNull());

    // The dense picture is read when it is first drawn, not before: on an ordinary screen it
    // never is. (Written after the icon was made, it is still the one that serves.)
    ASSERT_TRUE(plain(150, 100, Qt::red).save(res + "/screen3.png"));
    const QIcon later = WelcomeIcon(dir, 3);
    EXPECT_EQ(later.pixmap(QSize(150, 100), 1.0).toImage().pixelColor(75, 50), QColor(Qt::red));
    ASSERT_TRUE(plain(300, 200, Qt::green).save(res + "/screen3@2x.png"));
    const QIcon copy = later; // copies share what has been read
    EXPECT_EQ(copy.pixmap(QSize(150, 100), 2.0).toImage().pixelColor(150, 100), QColor(Qt::green));
    QFile::remove(res + "/screen3@2x.png");
    EXPECT_EQ(later.pixmap(QSize(150, 100), 2.0).toImage().pixelColor(150, 100), QColor(Qt::green));
    // A disabled button still gets its greyed picture.
    EXPECT_FALSE(later.pixmap(QSize(150, 100), 1.0, QIcon::Disabled).isNull());
}

TEST_F(MainFormTest, LayoutMenuFromTheLayoutsFolder) {
    fs::create_directories(dir_ / "Layouts");
    Write("Layouts/Traditional.lay", "x");
    Write("Layouts/pyramid.LAY", "x");
    Write("Layouts/Spiral.shp", "x");
    TMainForm& f = Start();
    QStringList items;
    for (QAction* a : f.TopMenu("Layout1")->actions().mid(5))
        items << a->text() + (a->isChecked() ? "*" : "");
    // ".lay" layouts sorted, then ".shp" ones under their full file name.
    EXPECT_EQ(items, QStringList({"pyramid", "Traditional*", "Spiral.shp"}));
    EXPECT_EQ(f.Session().boardNumber, 2); // a new player starts on "Traditional"
    EXPECT_TRUE(f.LayoutPath().endsWith("Layouts/Traditional.lay"));
    QString ran;
    f.SetHandler("RunLayout", [&ran, &f](QObject*) { ran = f.LayoutPath(); });
    f.TopMenu("Layout1")->actions().at(5)->trigger();
    EXPECT_EQ(f.Session().boardNumber, 1);
    EXPECT_TRUE(ran.endsWith("Layouts/pyramid.LAY"));
    f.IM(kModeSolitaire);
    EXPECT_EQ(f.windowTitle(), "Tovani 10.21 - Layout : pyramid");
}

TEST_F(MainFormTest, NoLayoutIsSaidAndTheOtherGamesStillPlay) {
    TMainForm& f = Start();
    EXPECT_EQ(f.GameMode(), kModeWelcome);
    Ticks(150);
    EXPECT_TRUE(StatusText().contains("No layout found")) << StatusText().toStdString();
}

TEST_F(MainFormTest, NoMusicStartsSilently) {
    fs::remove_all(dir_ / "Musics");
    TMainForm& f = Start();
    EXPECT_EQ(f.GameMode(), kModeWelcome);
    EXPECT_TRUE(f.isVisible());
    Ticks(150);
    EXPECT_TRUE(StatusText().contains("plays silently")) << StatusText().toStdString();
}

TEST_F(MainFormTest, SettingsWrittenAtClose) {
    {
        TMainForm& f = Start();
        f.Item("Winnable")->trigger();
        f.Item("CoolStatus")->trigger();
        f.Item("Highlight5")->trigger();
        f.Item("AniFast")->trigger();
        f.Item("FastFall")->trigger();
        f.Item("N512x512texture1")->trigger();
        f.Item("Static1")->trigger();
        f.Item("StartatLevel71")->trigger();
        f.TopMenu("Background")->actions().at(3)->trigger(); // Autumn
        f.close();
    }
    IniFile ini((dir_ / "Tovani.ini").string());
    EXPECT_EQ(ini.ReadInteger("Tovani", "Launches", 0), 1);
    EXPECT_TRUE(ini.ReadBool("Tovani", "Winnable", false));
    EXPECT_FALSE(ini.ReadBool("Tovani", "CoolStatus", true));
    EXPECT_EQ(ini.ReadInteger("Tovani", "Highlight", -1), 4);
    EXPECT_EQ(ini.ReadInteger("Tovani", "AnimationSpeed", -1), 2);
    EXPECT_EQ(ini.ReadInteger("Tovani", "SpeedFall", -1), 3);
    EXPECT_EQ(ini.ReadInteger("Tovani", "BackTexSize", -1), 512);
    EXPECT_EQ(ini.ReadInteger("Tovani", "Contemplation", -1), 0);
    EXPECT_EQ(ini.ReadInteger("Tovani", "StartLevel", -1), 7);
    EXPECT_EQ(ini.ReadString("Tovani", "Background", ""), "Autumn"); // by name, not position
    EXPECT_EQ(ini.ReadInteger("Tovani", "MidiNumber", -1), 2);
    EXPECT_EQ(ini.ReadString("Tovani", "Language", ""), "English");
    EXPECT_EQ(ini.ReadString("Tovani", "CustomColors", "").size(), 96u);
    EXPECT_FALSE(ini.ValueExists("Tovani", "Rotation3D")); // no 3D scene this time
    EXPECT_TRUE(ini.ValueExists("Tovani", "XPos"));
    // The next start reads them back.
    Start();
    EXPECT_TRUE(form_->Option("Winnable"));
    EXPECT_TRUE(form_->Option("Highlight5"));
    EXPECT_TRUE(form_->Option("FastFall"));
    EXPECT_EQ(form_->findChild<QPushButton*>("StartLevel")->text(), "Level 7");
    EXPECT_EQ(form_->CheckedContent(ContentKind::Background)->caption, "Autumn");
    EXPECT_EQ(form_->Prefs().Launches(), 2);
}

// Every option of the settings table changed from its default, the window closed and started
// again: each item carries the mark it was left with.
TEST_F(MainFormTest, EveryOptionSurvivesARestart) {
    std::map<std::string, bool> left;
    {
        TMainForm& f = Start();
        for (const SettingKey& k : Settings::Table()) {
            // The 3D view needs OpenGL, which this window has not.
            if (!k.item || k.kind != SettingKind::Bool || std::string_view(k.item) == "N3D")
                continue;
            QAction* a = f.Item(k.item);
            ASSERT_NE(a, nullptr) << k.item;
            if (!a->isEnabled())
                a->setEnabled(true);
            a->trigger();
        }
        // Items of a radio group (the layout view, the 3D background) uncheck each other:
        // the marks are read once every item has been clicked.
        int changed = 0;
        for (const SettingKey& k : Settings::Table()) {
            if (!k.item || k.kind != SettingKind::Bool || std::string_view(k.item) == "N3D")
                continue;
            left[k.item] = f.Option(k.item);
            changed += left[k.item] != (f.Prefs().Default(k) != 0) ? 1 : 0;
        }
        EXPECT_GE(changed, static_cast<int>(left.size()) - 4); // ShowFave and the 3D trio
        f.Item("Highlight2")->trigger();
        f.Item("AniClassic")->trigger();
        f.Item("AniUltra")->trigger();
        f.Item("FollowMouseFast")->trigger();
        f.close();
    }
    Start();
    for (const auto& [item, on] : left)
        EXPECT_EQ(form_->Option(QString::fromStdString(item)), on) << item;
    EXPECT_TRUE(form_->Option("Highlight2"));
    EXPECT_TRUE(form_->Option("AniClassic"));
    EXPECT_TRUE(form_->Option("AniUltra"));
    EXPECT_TRUE(form_->Option("FollowMouseFast"));
}

// The stored bounds are used on a screen as wide as the one they were left on; on another the
// window is centred at its own size. The font comes back with its style; a close in full
// screen leaves the stored bounds alone.
TEST_F(MainFormTest, WindowPlacementAndFontSurviveARestart) {
    const int width = QGuiApplication::primaryScreen()->geometry().width();
    const std::string bounds = "XPos=40\r\nYPos=30\r\nWPos=700\r\nHPos=500\r\nMaximize=0\r\n";
    Write("Tovani.ini", "[Tovani]\r\nLanguage=English\r\nPreviousRes=" + std::to_string(width) +
                            "\r\n" + bounds +
                            "FontName=DejaVu Serif\r\nFontSize=12\r\nFontBold=1\r\n"
                            "FontItalic=1\r\n");
    {
        TMainForm& f = Start();
        EXPECT_EQ(f.geometry().size(), QSize(700, 500));
        EXPECT_EQ(f.font().family(), "DejaVu Serif");
        EXPECT_EQ(f.font().pointSize(), 12);
        EXPECT_TRUE(f.font().bold());
        EXPECT_TRUE(f.font().italic());
        f.close();
    }
    IniFile ini((dir_ / "Tovani.ini").string());
    EXPECT_EQ(ini.ReadInteger("Tovani", "WPos", 0), 700);
    EXPECT_EQ(ini.ReadString("Tovani", "FontName", ""), "DejaVu Serif");
    EXPECT_EQ(ini.ReadInteger("Tovani", "FontSize", 0), 12);
    EXPECT_TRUE(ini.ReadBool("Tovani", "FontItalic", false));

    // Another screen width: centred at the window's own size.
    Write("Tovani.ini", "[Tovani]\r\nLanguage=English\r\nPreviousRes=" + std::to_string(width + 1) +
                            "\r\n" + bounds);
    {
        TMainForm& f = Start();
        EXPECT_NE(f.geometry().size(), QSize(700, 500));
        const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
        EXPECT_LE(std::abs(f.geometry().center().x() - avail.center().x()), 2);
        f.close();
    }

    // Closed in full screen: the stored bounds stay as they were.
    Write("Tovani.ini", "[Tovani]\r\nLanguage=English\r\nFullScreen=1\r\nPreviousRes=" +
                            std::to_string(width) + "\r\n" + bounds);
    {
        TMainForm& f = Start();
        f.resize(900, 650);
        f.close();
    }
    IniFile after((dir_ / "Tovani.ini").string());
    EXPECT_EQ(after.ReadInteger("Tovani", "WPos", 0), 700);
    EXPECT_EQ(after.ReadInteger("Tovani", "HPos", 0), 500);
}

TEST_F(MainFormTest, CustomColorsSurviveARestart) {
    std::string value;
    for (int i = 0; i < 16; ++i)
        value += i % 2 ? "0000FF" : "00FF00";
    Write("Tovani.ini", "[Tovani]\r\nLanguage=English\r\nCustomColors=" + value + "\r\n");
    {
        TMainForm& f = Start();
        EXPECT_EQ(QColorDialog::customColor(1), QColor(255, 0, 0)); // 0000FF is red
        EXPECT_EQ(QColorDialog::customColor(0), QColor(0, 255, 0));
        f.close();
    }
    IniFile ini((dir_ / "Tovani.ini").string());
    EXPECT_EQ(ini.ReadString("Tovani", "CustomColors", ""), value);
}

TEST_F(MainFormTest, FullScreenOnlyChangesTheMark) {
    TMainForm& f = Start();
    QRect before = f.geometry();
    f.Item("FullScreen")->trigger();
    EXPECT_TRUE(f.Option("FullScreen"));
    EXPECT_EQ(f.geometry(), before);
    EXPECT_FALSE(f.isFullScreen());
}

TEST_F(MainFormTest, KeyboardFlagsAndEscape) {
    TMainForm& f = Start();
    QTest::keyPress(f.PlayArea(), Qt::Key_Left);
    EXPECT_TRUE(f.Arrows().left);
    QTest::keyPress(f.PlayArea(), Qt::Key_Up);
    EXPECT_TRUE(f.Arrows().up);
    EXPECT_FALSE(f.Arrows().left);
    EXPECT_TRUE(f.Arrows().prevLeft);
    QTest::keyRelease(f.PlayArea(), Qt::Key_Up);
    EXPECT_FALSE(f.Arrows().up);
    QTest::keyPress(f.PlayArea(), Qt::Key_Escape, Qt::AltModifier);
    EXPECT_TRUE(f.isVisible());
    QTest::keyPress(f.PlayArea(), Qt::Key_Escape);
    EXPECT_FALSE(f.isVisible());
}

TEST_F(MainFormTest, LayoutFileOnTheCommandLineIsCopiedAndPlayed) {
    const std::string layout =
        ReadWholeFile(std::string(TOVANI_BIN_DIR) + "/Layouts/Traditional.lay").value_or("");
    ASSERT_FALSE(layout.empty());
    Write("outside.LAY", layout);
    fs::create_directories(dir_ / "Layouts");
    bool begun = false;
    MainFormOptions o;
    o.programDir = QString::fromStdString(dir_.string()) + "/";
    o.arguments = {QString::fromStdString((dir_ / "outside.LAY").string())};
    o.clock = &clock_;
    o.startTimers = false;
    o.interactive = false;
    form_ = std::make_unique<TMainForm>(o);
    form_->SetHandler("BeginGame", [&](QObject*) { begun = true; });
    form_->show();
    form_->Temps();
    EXPECT_TRUE(begun);
    EXPECT_EQ(*ReadWholeFile((dir_ / "Layouts" / "outside.LAY").string()), layout);
    EXPECT_EQ(form_->LayoutPath().toStdString(), (dir_ / "Layouts" / "outside.LAY").string());
}

TEST_F(MainFormTest, ABrokenLayoutOnTheCommandLineIsRefusedAndReplacesNothing) {
    // A layout cut short, named like one already in the Layouts folder.
    const std::string layout =
        ReadWholeFile(std::string(TOVANI_BIN_DIR) + "/Layouts/Traditional.lay").value_or("");
    ASSERT_FALSE(layout.empty());
    fs::create_directories(dir_ / "Layouts");
    Write("Layouts/Traditional.lay", layout);
    fs::create_directories(dir_ / "elsewhere");
    Write("elsewhere/Traditional.lay", layout.substr(0, 600));
    bool begun = false;
    MainFormOptions o;
    o.programDir = QString::fromStdString(dir_.string()) + "/";
    o.arguments = {QString::fromStdString((dir_ / "elsewhere" / "Traditional.lay").string())};
    o.clock = &clock_;
    o.startTimers = false;
    o.interactive = false;
    form_ = std::make_unique<TMainForm>(o);
    form_->SetHandler("BeginGame", [&](QObject*) { begun = true; });
    form_->show();
    form_->Temps();
    EXPECT_FALSE(begun);
    EXPECT_EQ(*ReadWholeFile((dir_ / "Layouts" / "Traditional.lay").string()), layout);
    EXPECT_EQ(ListFiles((dir_ / "Layouts").string()).size(), 1u);
    Ticks(150);
    const QString status = form_->findChild<QLabel*>("StatusText")->text();
    EXPECT_TRUE(status.contains("Traditional.lay")) << status.toStdString();
}

TEST_F(MainFormTest, HostileSettingsFilesAreSurvivedAndKept) {
    // A stored window size no screen holds and the largest launch count: the window fits the
    // screen and the count does not wrap.
    Write("Tovani.ini", "[Tovani]\r\nLanguage=English\r\nMaximize=0\r\nLaunches=2147483647\r\n"
                        "CurrentVersion=Tovani 10.21\r\nPreviousRes=" +
                            std::to_string(QGuiApplication::primaryScreen()->geometry().width()) +
                            "\r\nWPos=30000\r\nHPos=30000\r\n");
    {
        TMainForm& f = Start();
        const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
        EXPECT_LE(f.width(), avail.width());
        EXPECT_LE(f.height(), avail.height());
        EXPECT_EQ(f.Prefs().Launches(), 2147483647);
        f.close();
        EXPECT_LE(IniFile((dir_ / "Tovani.ini").string()).ReadInteger("Tovani", "WPos", 0),
                  avail.width());
    }
    // A settings file too large to read: the player is told, and it is left as it was.
    const std::string big = "[Tovani]\r\nLanguage=English\r\nFontName=Mine\r\n; " +
                            std::string(17u << 20, 'x') + "\r\n";
    Write("Tovani.ini", big);
    TMainForm& f = Start();
    Ticks(150);
    EXPECT_TRUE(StatusText().contains("Tovani.ini is too large to be read"))
        << StatusText().toStdString();
    f.close();
    EXPECT_EQ(ReadWholeFile((dir_ / "Tovani.ini").string(), 32u << 20).value_or(""), big);

    // A write-protected settings file is read, respected, and the player told.
    const std::string mine = "[Tovani]\r\nLanguage=English\r\nMaximize=0\r\nShowMoves=0\r\n";
    Write("Tovani.ini", mine);
    fs::permissions(dir_ / "Tovani.ini", fs::perms::owner_read | fs::perms::group_read);
    TMainForm& g = Start();
    Ticks(150);
    EXPECT_TRUE(StatusText().contains("Tovani.ini is write-protected"))
        << StatusText().toStdString();
    EXPECT_FALSE(g.Option("Moves"));
    g.close();
    EXPECT_EQ(ReadWholeFile((dir_ / "Tovani.ini").string()).value_or(""), mine);
    fs::permissions(dir_ / "Tovani.ini", fs::perms::owner_all);
}
} // namespace
} // namespace tovani
