// Start-up, the game-mode switch, the 50 ms tick, pauses and the close of the main window.
#include "shell/MainForm.h"

#include "core/Files.h"
#include "core/TextCodec.h"
#include "dialogs/LanguageChooser.h"
#include "shell/ShellWidgets.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cstdio>

namespace tovani {

namespace {
const QString kTitle = QStringLiteral("Tovani 10.21");
const QString kCaption = QStringLiteral("Tovani 10.21 ");

// The splash panel's progress bar moves by these steps between the stages of start-up
// (121 in all).
enum SplashStep {
    kStepPreferences = 10,
    kStepLookOptions = 6,
    kStepGraphics = 15,
    kStepMusic = 15,
    kStepPictures = 25,
    kStepLanguages = 10,
    kStepLayouts = 15,
    kStepScores = 10,
    kStepTranslate = 10,
    kStepStart = 5,
};
} // namespace

// ---- Start-up ---------------------------------------------------------------------------------

void TMainForm::Splashing(const QString& text) {
    splashBar_->setFormat(Tr(text));
    splashBar_->setValue(std::min(splashProgress_, 121));
    if (splash_->isVisible())
        splash_->repaint();
}

void TMainForm::PlaceSplash() {
    if (intro_->isVisible())
        splash_->move(intro_->x() + 40, intro_->y() + 40);
    else
        splash_->move((gameArea_->width() - splash_->width()) / 2,
                      (gameArea_->height() - splash_->height()) / 2);
}

void TMainForm::Init() {
    if (initialised_)
        return;
    // 1.
    timerClassic_->stop();
    fastTimerActive_ = false;
    Splashing("Initializing...");
    initialised_ = true;
    // 2.
    session_.mode = kModeNoGame;
    session_.modeBeforePause = kModeWelcome;
    session_.modeBeforeDeactivation = kModeWelcome;
    ShowStatus(" ");
    // 3. Preferences.
    splashProgress_ += kStepPreferences;
    Splashing("Loading preferences...");
    ini_ = IniFile(JoinPath(userDir_.toStdString(), kSettingsFileName));
    SettingsEnvironment env;
    env.title = kTitle.toStdString();
    if (QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen()) {
        env.screenWidth = s->geometry().width();
        env.screenHeight = s->geometry().height();
    }
    settings_ = Settings(env);
    if (!settings_.Load(ini_))
        startupProblems_ << QString::fromStdString(settings_.LastError());
    ApplySettings();
    // 4. First run: the digital music question.
    if (!settings_.LanguageChosen() && options_.interactive) {
        auto answer = QMessageBox::question(
            this, "Tovani", Tr("Do you have a machine powerful enough to play digital MOD music ?"),
            QMessageBox::Yes | QMessageBox::No);
        SetOption("EnableMOD", answer == QMessageBox::Yes);
    }
    // 5. Look options and the colour dialog's custom colours.
    splashProgress_ += kStepLookOptions;
    PlaceSplash();
    auto entries = Settings::CustomColorEntries(settings_.GetString("CustomColors"));
    for (int i = 0; i < 16; ++i) {
        uint32_t bgr = Settings::EntryColor(entries[static_cast<size_t>(i)]);
        QColorDialog::setCustomColor(i, QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF));
    }
    // 6. Old tilesets of an earlier release go to a backup folder.
    {
        QDir tilesets(programDir_ + "Tilesets");
        QStringList old = {"darkpai.bmp", "bluepai.bmp", "pai.bmp", "pai256.bmp"};
        bool all = tilesets.exists();
        for (const QString& f : old)
            all = all && FindNoCase(tilesets.path().toStdString(), f.toStdString()).has_value();
        if (all && tilesets.mkpath("Backup")) {
            for (const QString& f : old) {
                auto path = FindNoCase(tilesets.path().toStdString(), f.toStdString());
                QFile::rename(QString::fromStdString(*path), tilesets.filePath("Backup/" + f));
            }
        }
    }
    // 7. The Hashira fall speed: a stored 0 means half speed.
    {
        int stored = settings_.GetInt("SpeedFall");
        speedFall_ = stored == 0 ? 0.5 : stored;
        const char* item = stored <= 0   ? "TurtleFall"
                           : stored == 1 ? "SlowFall"
                           : stored == 2 ? "NormalFall"
                                         : "FastFall";
        SetOption(item, true);
    }
    // 8. Full screen is a full-screen window; there is no display mode to change.
    // 9. Pictures.
    splashProgress_ += kStepGraphics;
    Splashing("Loading graphics...");
    RunCommand("LoadGraphics");
    // 10.
    LoadFiles();
    // 11.
    if (!Option("ShowMenu") || Option("Total"))
        SwapMenus();
    // 12. First run: the language.
    if (!settings_.LanguageChosen() && options_.interactive) {
        QStringList names;
        for (const ContentEntry& e : content_[ContentKind::Language])
            names << QString::fromStdString(e.caption);
        QString current = "English";
        if (!names.isEmpty()) {
            QString chosen = LanguageChooser::Choose(this, names, current);
            if (!chosen.isEmpty()) {
                for (QAction* a : contentGroups_[ContentKind::Language]->actions())
                    if (a->text() == chosen)
                        a->setChecked(true);
                settings_.SetString("Language", chosen.toStdString());
                ini_.WriteString(kSettingsSection, "Language", chosen.toStdString());
                if (!ini_.UpdateFile())
                    startupProblems_ << QString::fromStdString(ini_.WriteError());
            }
        }
    }
    // 13. Favourite layouts and the layout menu's view.
    Splashing("Initializing...");
    RunCommand("LoadFavorites");
    // 14. Highlight and cursors.
    ApplyHighlightEnabling();
    // 15. The game state.
    session_.tilesLeft = session_.tilesTotal = 144;
    session_.InitVar();
    // 16. OpenGL.
    if (Option("EnableGL")) {
        Splashing("Initializing OpenGL...");
        RunCommand("InitOpenGL");
    }
    // 17. Translation.
    splashProgress_ += kStepTranslate;
    Splashing("Translating...");
    RunCommand("Translate");
    // 18.
    splashProgress_ += kStepStart;
    Splashing("Starting Tovani...");
    layoutName_ = Tr("External Layout"); // the name shown until a layout is loaded
    if (Option("PlayMusic") && !content_[ContentKind::Music].empty())
        RunCommand("CallMusic");
    // 19. A display of fewer than 16 bits a pixel shows the pictures poorly.
    if (QScreen* sc = screen(); sc && sc->depth() < 16 && options_.interactive)
        QMessageBox::information(
            this, Tr("Please Note !"),
            Tr("You are running the game in 256-color mode (or even worse). It is strongly "
               "recommended to switch to 16-bit or 24-bit color depth modes. Otherwise, you "
               "should should select No Background and a tileset with few colors. Thanks for "
               "listening !"));
    // 20.
    if (Option("Total")) {
        for (const char* n : {"ShowHallFame", "ShowTitle", "ShowGirls", "Toolbar1", "ShowMenu"})
            Item(n)->setEnabled(false);
    }
    SyncAreaVisibility();
    // 21.
    splash_->hide();
    if (options_.startTimers)
        timerClassic_->start();
    fastTimerActive_ = true;
    resizeHandlerInstalled_ = true;
    RunCommand("StartFastTimer");
    FormResize();
    ReportStartupProblems();
}

void TMainForm::ReportStartupProblems() {
    if (startupProblems_.isEmpty())
        return;
    QString text = startupProblems_.join("  -  ");
    std::fprintf(stderr, "tovani: %s\n", text.toUtf8().constData());
    ShowStatus(text);
}

void TMainForm::ApplySettings() {
    // Options held by check marks.
    for (const SettingKey& k : Settings::Table()) {
        if (!k.item || k.kind != SettingKind::Bool)
            continue;
        QAction* a = Item(k.item);
        if (!a)
            continue;
        bool on = settings_.GetBool(k.key);
        if (k.flags & kSettingClick) {
            a->setChecked(!on);
            a->trigger();
        } else {
            a->setChecked(on);
        }
    }
    // The 3D view is on only when OpenGL is enabled too.
    view3D_ = settings_.GetBool("Go3D") && settings_.GetBool("EnableOpenGL");
    SetOption("N3D", view3D_);
    set3DButton_->setText(view3D_ ? "2D" : "3D");
    ApplyDependentEnabling();

    // Radio choices held by numbers.
    auto checkTag = [this](const QStringList& names, int tag) {
        for (const QString& n : names)
            if (Item(n)->property("tag").toInt() == tag) {
                Item(n)->setChecked(true);
                return Item(n);
            }
        return static_cast<QAction*>(nullptr);
    };
    int highlight = settings_.GetInt("Highlight");
    if (!checkTag({"Highlight1", "Highlight2", "Highlight3", "Highlight4", "Highlight5"},
                  highlight))
        Item("Highlight4")->setChecked(true);
    checkTag({"Static1", "Rotate1", "FollowMouseSlow", "FollowMouseNormal", "FollowMouseFast"},
             settings_.GetInt("Contemplation"));
    if (QAction* a = checkTag({"AniNucleus", "AniClassic", "AniFuzzy", "AniUnion"},
                              settings_.GetInt("AnimationType")))
        a->trigger();
    if (QAction* a = checkTag({"AniSlow", "AniNormal", "AniFast", "AniUltra", "AniLight"},
                              settings_.GetInt("AnimationSpeed")))
        a->trigger();
    if (settings_.GetBool("ShowFave"))
        SetOption("ShowFave", true);
    else
        SetOption("ViewAllLayouts", true);
    int level = std::clamp(settings_.GetInt("StartLevel"), 1, 10);
    startLevelButton_->setProperty("tag", level);
    startLevelButton_->setText(Tr("Level") + " " + QString::number(level));
    SetOption(QString("StartatLevel%1").arg(level) + "1", true);
    session_.boardNumber = settings_.GetInt("BoardNumber");
    session_.lastBoard = settings_.GetInt("LastBoard");

    // Font (step 6 and 8).
    QFont f(QString::fromStdString(settings_.GetString("FontName")));
    f.setPointSize(std::clamp(settings_.GetInt("FontSize"), 6, 48));
    f.setBold(settings_.GetBool("FontBold"));
    f.setItalic(settings_.GetBool("FontItalic"));
    setFont(f);
    SetTextStyle();
    ApplyWindowPlacement();
    // Step 9: the background texture size.
    int tex = settings_.GetInt("BackTexSize");
    checkTag({"N64x64texture1", "N128x128texture1", "N256x256texture1", "N512x512texture1"},
             tex == 64    ? 1
             : tex == 128 ? 2
             : tex == 512 ? 4
                          : 3);
    // The look options take effect now.
    FlatButtonsClick();
    CoolToolbarClick();
    CoolBackgrClick();
    CoolMouseClick();
    if (Option("GoCheckPause") != focusRouted_)
        GoCheckPauseClick();
}

void TMainForm::ApplyWindowPlacement() {
    QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    QRect avail = s ? s->availableGeometry() : QRect(0, 0, 1280, 1024);
    int screenWidth = s ? s->geometry().width() : 1280;
    if (settings_.GetInt("PreviousRes") == screenWidth) {
        QRect r(settings_.GetInt("XPos"), settings_.GetInt("YPos"),
                std::max(320, settings_.GetInt("WPos")), std::max(240, settings_.GetInt("HPos")));
        // A window stored off every screen comes back where it can be seen.
        if (!avail.intersects(r))
            r.moveTopLeft(avail.topLeft());
        setGeometry(r);
    } else {
        QSize size = QSize(832, 630).boundedTo(avail.size());
        resize(size);
        move(std::max(0, avail.x() + (avail.width() - size.width()) / 2),
             std::max(0, avail.y() + (avail.height() - size.height()) / 2));
    }
    if (Option("FullScreen"))
        setWindowState(windowState() | Qt::WindowFullScreen);
    else if (settings_.GetBool("Maximize"))
        setWindowState(windowState() | Qt::WindowMaximized);
}

void TMainForm::ApplyDependentEnabling() {
    Item("MarbleBorders")->setEnabled(Option("TexturedTiles"));
    Item("KeepRatio")->setEnabled(Option("StretchTileset"));
}

void TMainForm::ApplyHighlightEnabling() {
    bool none = Option("Highlight1");
    Item("ShowCurrentTile")->setEnabled(!none);
    Item("OnlyPossibleMoves")->setEnabled(!none);
}

void TMainForm::FillContentMenu(ContentKind kind, QMenu* menu, const QString& handler) {
    auto* group = new QActionGroup(this);
    group->setExclusive(true);
    contentGroups_[kind] = group;
    contentMenus_[kind] = menu;
    int position = FixedItemsBefore(kind);
    for (const ContentEntry& e : content_[kind]) {
        auto* a = new QAction(QString::fromStdString(e.caption), this);
        a->setCheckable(true);
        a->setProperty("tag", position++);
        a->setProperty("handler", handler);
        a->setProperty("fileName", QString::fromStdString(e.fileName));
        group->addAction(a);
        menu->addAction(a);
        connect(a, &QAction::triggered, this, [this, handler, a] { RunCommand(handler, a); });
    }
}

void TMainForm::LoadFiles() {
    const std::string dir = programDir_.toStdString();
    QStringList missing;
    auto scan = [&](ContentKind kind, bool mod) {
        bool found = false;
        content_[kind] = ScanContent(dir, kind, mod, &found);
        if (!found)
            missing << QString(ContentFolder(kind)) + "/";
    };
    // 1. Music.
    splashProgress_ += kStepMusic;
    Splashing("Checking for MIDI files...");
    bool modMusic = Option("EnableMOD");
    scan(ContentKind::Music, modMusic);
    FillContentMenu(ContentKind::Music, TopMenu("Music"), "LoadMidiClick");
    // The first piece a new player hears: "Congo Nights" with MOD music, else "Endless"
    // (also when there is no "Congo Nights" to play).
    const auto& pieces = content_[ContentKind::Music];
    bool hasCongo = std::any_of(pieces.begin(), pieces.end(), [](const ContentEntry& e) {
        return EqualsNoCase(e.caption, "Congo Nights");
    });
    int midi = ResolveContentIndex(ContentKind::Music, settings_.GetInt("MidiNumber"), pieces,
                                   modMusic && hasCongo ? "Congo Nights" : "Endless");
    if (midi > 0) {
        contentGroups_[ContentKind::Music]->actions().at(midi - 1)->setChecked(true);
        settings_.SetInt("MidiNumber", midi);
    }
    // 2-4. Pictures.
    splashProgress_ += kStepPictures;
    Splashing("Checking for graphics...");
    scan(ContentKind::Background, false);
    FillContentMenu(ContentKind::Background, TopMenu("Background"), "LoadBackgroundClick");
    scan(ContentKind::Tileset, false);
    FillContentMenu(ContentKind::Tileset, TopMenu("Tileset"), "Load1Click");
    scan(ContentKind::SmallTileset, false);
    FillContentMenu(ContentKind::SmallTileset, TopMenu("SmallSet"), "LoadsmallClick");
    auto checkPosition = [this](ContentKind kind, int position) {
        for (QAction* a : contentGroups_[kind]->actions())
            if (a->property("tag").toInt() == position)
                a->setChecked(true);
    };
    int background = ResolveContentIndex(ContentKind::Background, settings_.GetInt("Background"),
                                         content_[ContentKind::Background], "Garden");
    settings_.SetInt("Background", background);
    checkPosition(ContentKind::Background, background);
    int tileset = ResolveContentIndex(ContentKind::Tileset, settings_.GetInt("Tileset"),
                                      content_[ContentKind::Tileset], "Ivory");
    settings_.SetInt("Tileset", tileset);
    checkPosition(ContentKind::Tileset, tileset);
    int small = ResolveContentIndex(ContentKind::SmallTileset, settings_.GetInt("SmallTileset"),
                                    content_[ContentKind::SmallTileset], "Kanji");
    settings_.SetInt("SmallTileset", small);
    checkPosition(ContentKind::SmallTileset, small);
    // 5. Languages.
    splashProgress_ += kStepLanguages;
    Splashing("Checking for languages...");
    scan(ContentKind::Language, false);
    FillContentMenu(ContentKind::Language, TopMenu("MenuLanguage"), "LanguageClick");
    QString language = QString::fromStdString(settings_.GetString("Language"));
    if (language.isEmpty())
        language = "English";
    for (QAction* a : contentGroups_[ContentKind::Language]->actions())
        if (a->text().compare(language, Qt::CaseInsensitive) == 0)
            a->setChecked(true);
    // Layouts: a ".lay" file named on the command line is copied into Layouts/ first.
    splashProgress_ += kStepLayouts;
    Splashing("Checking for layouts...");
    // (the player's Layouts folder, which is the program's own unless it is installed).
    QString firstArg = options_.arguments.value(0);
    layoutPath_ =
        firstArg.isEmpty() ? QString() : userDir_ + "Layouts/" + QFileInfo(firstArg).fileName();
    if (firstArg.toLower().contains(".lay")) {
        QString target = userDir_ + "Layouts/" + QFileInfo(firstArg).fileName();
        QDir().mkpath(userDir_ + "Layouts");
        auto bytes = ReadWholeFile(firstArg.toStdString());
        if (!bytes || !WriteFileAtomic(target.toStdString(), *bytes))
            startupProblems_ << Tr("Unable to copy the layout %1").arg(firstArg);
    }
    MakeLayouts();
    // High scores.
    splashProgress_ += kStepScores;
    Splashing("Reading high scores...");
    RunCommand("ReadHallOfFame");
    // Remembered pictures loaded from disk are forgotten when their files are gone.
    for (const char* key : {"LastLoadedTileset", "LastLoadedBackground"}) {
        std::string path = settings_.GetString(key);
        if (!path.empty() && !FileExists(path))
            settings_.SetString(key, "");
    }

    if (!missing.isEmpty())
        startupProblems_.prepend(Tr("Content folder not found: %1").arg(missing.join(", ")));
    // Without music the game plays silently.
    if (content_[ContentKind::Music].empty())
        startupProblems_ << Tr("No music found in Musics/: Tovani plays silently.");
}

void TMainForm::MakeLayouts() {
    // The shipped layouts and the player's own, when they keep them apart.
    catalog_ = LayoutCatalog::Scan(JoinPath(programDir_.toStdString(), "Layouts"),
                                   JoinPath(userDir_.toStdString(), "Layouts"));
    QMenu* menu = TopMenu("Layout1");
    QList<QAction*> actions = menu->actions();
    for (int i = 4; i < actions.size(); ++i) {
        menu->removeAction(actions[i]);
        actions[i]->deleteLater();
    }
    delete layoutGroup_;
    layoutGroup_ = new QActionGroup(this);
    layoutGroup_->setExclusive(true);
    LayoutSelection sel =
        tovani::MakeLayouts(catalog_, session_.boardNumber, session_.lastBoard,
                            layoutPath_.toStdString(), options_.arguments.value(0).toStdString());
    if (sel.noLayouts) {
        // Solitaire has nothing to deal on; the other games still play.
        startupProblems_ << Tr("No layout found in Layouts/: Solitaire cannot be played.");
        RunCommand("LayoutsChanged");
        return;
    }
    int number = 1;
    for (const LayoutEntry& e : catalog_.Entries()) {
        auto* a = new QAction(QString::fromStdString(e.name), this);
        a->setObjectName(QString("Layout%1").arg(number + 100));
        a->setCheckable(true);
        a->setProperty("tag", number);
        QString handler = e.shp ? "LoadShplayoutClick" : "LoadlayoutClick";
        a->setProperty("handler", handler);
        connect(a, &QAction::triggered, this, [this, handler, a] { RunCommand(handler, a); });
        layoutGroup_->addAction(a);
        menu->addAction(a);
        ++number;
    }
    session_.boardNumber = sel.boardNumber;
    session_.lastBoard = sel.lastBoard;
    layoutPath_ = QString::fromStdString(sel.layoutPath);
    if (sel.checked >= 1 && sel.checked <= catalog_.Count()) {
        layoutGroup_->actions().at(sel.checked - 1)->setChecked(true);
        layoutName_ = QString::fromStdString(catalog_.Entry(sel.checked)->name);
    }
    RunCommand("LayoutsChanged");
}

void TMainForm::LoadlayoutClick(QObject* sender) {
    auto* a = qobject_cast<QAction*>(sender);
    if (!a)
        return;
    int number = a->property("tag").toInt();
    if (const LayoutEntry* e = catalog_.Entry(number)) {
        layoutPath_ = QString::fromStdString(catalog_.PathOf(number));
        session_.boardNumber = number;
        layoutName_ = QString::fromStdString(e->name);
        a->setChecked(true);
        RunCommand(e->shp ? "RunShpLayout" : "RunLayout", sender);
    }
}

void TMainForm::ApplyFallbackBackground() {
    // Until the picture pipeline draws it, the checked background picture is shown as it is.
    if (HasHandler("ActiveTilesetBackground")) {
        RunCommand("ActiveTilesetBackground");
        return;
    }
    const ContentEntry* e = CheckedContent(ContentKind::Background);
    if (!e) {
        background_ = QImage();
        return;
    }
    QString path = programDir_ + "Backgrounds/" + QString::fromStdString(e->fileName);
    QImage img(path);
    if (img.isNull()) {
        ShowStatus(Tr("Unable to read the picture %1").arg(QString::fromStdString(e->fileName)));
        background_ = QImage();
        return;
    }
    // Kept at most as large as the screen: the play area never needs more.
    QSize screenSize = screen() ? screen()->geometry().size() : QSize(1920, 1080);
    if (img.width() > screenSize.width() || img.height() > screenSize.height())
        img = img.scaled(screenSize, Qt::KeepAspectRatioByExpanding, Qt::FastTransformation);
    background_ = img.convertToFormat(QImage::Format_RGB32);
}

const std::vector<ContentEntry>& TMainForm::Content(ContentKind kind) const {
    static const std::vector<ContentEntry> none;
    auto it = content_.find(kind);
    return it == content_.end() ? none : it->second;
}

const ContentEntry* TMainForm::CheckedContent(ContentKind kind) const {
    auto g = contentGroups_.find(kind);
    auto c = content_.find(kind);
    if (g == contentGroups_.end() || c == content_.end())
        return nullptr;
    QList<QAction*> actions = g->second->actions();
    for (int i = 0; i < actions.size(); ++i)
        if (actions[i]->isChecked() && static_cast<size_t>(i) < c->second.size())
            return &c->second[static_cast<size_t>(i)];
    return nullptr;
}

void TMainForm::FormResize() {
    if (session_.mode == kModeClosing)
        return;
    LayoutAreas();
    if (gameArea_->width() <= 15 || gameArea_->height() <= 15)
        return;
    RunCommand("FormResize");
    if (session_.mode == kModeNoGame && initialised_ && firstShowPending_)
        FinishInit();
    if (firstShowPending_ && initialised_) {
        intro_->hide();
        introPicture_ = QImage(); // shown only while the program starts
        ShowFond();
        firstShowPending_ = false;
        if (session_.mode == kModeWelcome) {
            welcome_->show();
            welcome_->raise();
        }
        if (view3D_ && ModeAllows3D(session_.mode))
            glPanel_->show();
    }
}

void TMainForm::FinishInit() {
    game2_->hide();
    if (!introPicture_.isNull())
        intro_->show();
    ApplyFallbackBackground();
    QString firstArg = options_.arguments.value(0);
    QString lower = firstArg.toLower();
    const bool layoutArgument = lower.contains(".lay");
    // The layout named on the command line is the one loaded (once, as at any start: the deal
    // comes from BeginGame below, not from the load).
    if (layoutArgument)
        layoutPath_ = userDir_ + "Layouts/" + QFileInfo(firstArg).fileName();
    RunCommand(layoutPath_.toLower().contains(".shp") ? "RunShpLayout" : "RunLayout");
    RunCommand("ColorHighlight");
    IM(kModeWelcome);
    if (layoutArgument) {
        // The layout named on the command line is played at once.
        RunCommand("BeginGame");
        if (QAction* item = LayoutItem(session_.boardNumber))
            item->setChecked(true);
    } else if (settings_.GetBool("QuickSaved")) {
        RunCommand("LoadQuickSave");
    } else if (lower.contains(".tvg")) {
        RunCommand("LoadGameFile");
    } else if (Option("StartupGame")) {
        NewGame();
    }
    if (Option("ShowHallFame") && !Option("Total"))
        hofBox_->show();
    game2_->show();
    game2_->lower();
}

// ---- The game mode ----------------------------------------------------------------------------

void TMainForm::IM(int mode) {
    ModeSwitchInput in;
    in.oldMode = session_.mode;
    in.newMode = mode;
    in.view3D = view3D_;
    in.firstShowPending = firstShowPending_;
    in.sliderCanGoBack = sliderCanGoBack_;
    ModeSwitch s = ComputeModeSwitch(in);

    if (s.repaintBackgroundFirst)
        ShowFond();
    if (s.clearHallOfFameHighlight) {
        RunCommand("ClearHallOfFameHighlight");
        RedrawHallOfFame();
    }
    const int oldMode = session_.mode;
    session_.mode = mode;
    fastTimerActive_ = false;
    if (oldMode != mode)
        ModeLeft(oldMode, mode);

    view3D_ = s.view3D;
    glPanel_->setVisible(s.glPanelVisible);
    Item("N3D")->setEnabled(s.set3DEnabled);
    set3DButton_->setEnabled(s.set3DEnabled);
    SetOption("N3D", view3D_);
    set3DButton_->setText(view3D_ ? "2D" : "3D");
    Item("EnableGL")->setEnabled(s.enableGLEnabled);

    if (s.showSameGameButton) {
        sameGameButton_->show();
        sameGameButton_->setDefault(true);
        if (auto* classic = welcome_->findChild<QPushButton*>("BitBtn1"))
            classic->setDefault(false);
        RunCommand("SetMargeHaute");
    }
    welcome_->setVisible(s.welcomeVisible);
    if (s.welcomeVisible)
        welcome_->raise();
    if (s.repaintBackground)
        ShowFond();
    columnsPanel_->setVisible(s.hashiraVisible);
    hashiraBox_->setVisible(s.hashiraVisible);
    sliderBox_->setVisible(s.sliderVisible);
    sliderNext_->setVisible(s.sliderVisible);
    scorePanel_->setVisible(s.scorePanelVisible);
    fastTimerActive_ = s.fastTimerActive;

    static const std::pair<ModeCommand, QStringList> kFollowers[] = {
        {ModeCommand::Back, {"ExplorerButton2", "Undo1", "Back1", "Redo1", "Redo2"}},
        {ModeCommand::Hint, {"ExplorerButton3", "GiveHint", "Hint3"}},
        {ModeCommand::Pause, {"PauseButton", "Pause1", "Pause2"}},
        {ModeCommand::Shuffle, {"ShuffleButton", "Shuffle1", "Shuffle2"}},
        {ModeCommand::Restart, {"Restart1", "Restart2"}},
        {ModeCommand::Stop, {"Stoppe", "Stop1"}},
        {ModeCommand::SaveGame, {"SaveGame"}},
        {ModeCommand::Demo, {"Demo1"}},
    };
    for (const auto& [command, names] : kFollowers) {
        bool on = s.Enabled(command);
        for (const QString& n : names) {
            if (QAction* a = Item(n))
                a->setEnabled(on);
            else if (QWidget* w = tools_->findChild<QWidget*>(n))
                w->setEnabled(on);
        }
    }
    game2_->setContextMenuPolicy(s.popupMenu ? Qt::CustomContextMenu : Qt::NoContextMenu);
    gameArea_->setContextMenuPolicy(s.popupMenu ? Qt::CustomContextMenu : Qt::NoContextMenu);
    if (s.writeSliderScore)
        if (auto* l = scorePanel_->findChild<QLabel*>("SliderScore"))
            l->setText(QString::number(session_.elapsedSeconds));

    if (s.setBoardCaption) {
        description_ = QString::fromStdString(BoardDescription(
            session_.boardNumber, Tr("Layout").toStdString(), layoutName_.toStdString()));
    } else if (s.clearCaption) {
        description_.clear();
    }
    setWindowTitle(
        QString::fromStdString(WindowCaption(kCaption.toStdString(), description_.toStdString())));
    RunCommand("ModeChanged");
}

void TMainForm::NewGame(QObject* sender) {
    switch (NewGameKind(session_.mode == kModePaused ? session_.modeBeforePause : session_.mode,
                        session_.boardNumber)) {
    case GameKind::Hashira:
        RunCommand("MahJonggColumnsClick", sender);
        break;
    case GameKind::Slider:
        RunCommand("Sliders", sender);
        break;
    case GameKind::Clicks:
        RunCommand("MahJonggClicks", sender);
        break;
    case GameKind::Memory:
        RunCommand("Memory", sender);
        break;
    case GameKind::Rivers:
        RunCommand("FourRivers", sender);
        break;
    case GameKind::TwoPlayers:
        RunCommand("TwoPlayers", nullptr);
        break;
    case GameKind::Solitaire:
        RunCommand("RandomSolitaireGame1Click", nullptr);
        break;
    }
}

// ---- The 50 ms tick ---------------------------------------------------------------------------

void TMainForm::ShowStatus(const QString& text) {
    session_.status.ShowStatus(text.toStdString());
    if (session_.status.Length() <= 1)
        SetStatusField(text); // nothing to reveal
}

void TMainForm::SetStatusField(const QString& text) {
    if (statusText_->text() == text)
        return;
    statusText_->setText(text);
    emit StatusShown(text);
}

void TMainForm::Temps() {
    // 1.
    if (!initialised_) {
        Init();
        return;
    }
    // 2.
    if (session_.mode != kModeNoGame && hofBox_->isHidden() && Option("ShowHallFame") &&
        !Option("Total")) {
        hofBox_->show();
        LayoutAreas();
    }
    // 3.
    RunCommand("RandomMusicPoll");
    // 4. Memory's delayed pair check.
    if (session_.pairCheckCountdown > 0) {
        --session_.pairCheckCountdown;
        if (session_.pairCheckCountdown == 0)
            RunCommand("PairCheck");
    }
    // 5.
    if (auto shown = session_.status.Tick(session_.mode, Option("CoolStatus")))
        SetStatusField(QString::fromStdString(*shown));
    // 6.
    RunCommand("MusicEndCheck");
    // 7.
    if (session_.mode == kModeTwoPlayers && Option("ShowHallFame") && !Option("Total"))
        RedrawHallOfFame();
    // 8.
    if (session_.ClockTick()) {
        Stop();
        return;
    }
    // 9.
    WriteScore();
}

void TMainForm::WriteScore() {
    if (session_.mode != kModeNoGame && session_.mode <= kModeSlider && !session_.gameOver)
        RunCommand("CountTiles"); // the free-tile scan: tiles left and moves available
    ScoreFields f = session_.WriteScore(Option("Moves"), Option("ShowTime"));
    tilesLeftLine_->setText(QString::fromStdString(f.tiles));
    movesLeftLine_->setText(QString::fromStdString(f.movesLeft));
    timeLine_->setText(QString::fromStdString(f.time));
    if (session_.mode == kModeSlider)
        if (auto* l = scorePanel_->findChild<QLabel*>("SliderScore"))
            l->setText(QString::number(session_.elapsedSeconds));
    if (f.startMarquee) {
        session_.status.StartMarquee(Tr("SORRY, NO MORE MOVES !!").toStdString());
    }
    if (f.redrawBoard)
        RunCommand("FullRedraw");
}

// ---- Pause, stop, focus -----------------------------------------------------------------------

void TMainForm::PauseClick() {
    if (session_.mode == kModeNoGame || session_.mode > kModePaused)
        return; // nothing to pause (the window is inactive or closing)
    if (session_.mode != kModePaused) {
        int next = session_.TogglePause();
        IM(next);
        unsetCursor();
        Item("Pause1")->setText(Tr("Continue"));
        Item("Pause2")->setText(Tr("Continue"));
        pauseButton_->setText(Tr("Play"));
    } else {
        int back = session_.TogglePause();
        IM(back);
        unsetCursor();
        CoolMouseClick();
        SetPauseButtons();
        RunCommand("FullRedraw");
    }
}

void TMainForm::SetPauseButtons() {
    Item("Pause1")->setText(Tr("&Pause"));
    Item("Pause2")->setText(Tr("Pause"));
    pauseButton_->setText(Tr("Pause"));
    Item("Pause1")->setEnabled(true);
}

void TMainForm::Stop() {
    if (session_.mode == kModePaused)
        SetPauseButtons();
    IM(kModeWelcome);
    ShowFond();
    RedrawHallOfFame();
}

void TMainForm::Exit1Click() {
    close();
}

void TMainForm::FormDeactivate() {
    if (session_.mode == kModeClosing || !initialised_)
        return;
    int next = session_.Deactivate();
    if (next >= 0)
        IM(next);
}

void TMainForm::FormActivate() {
    int back = session_.Activate();
    if (back >= 0) {
        IM(back);
        RunCommand("FullRedraw");
    }
}

bool TMainForm::GameInProgress() const {
    int mode = session_.mode;
    if (mode == kModeInactive)
        mode = session_.modeBeforeDeactivation;
    if (mode == kModePaused)
        mode = session_.modeBeforePause;
    return mode >= kModeSolitaire && mode <= kModeHashira && !session_.gameOver;
}

bool TMainForm::ConfirmQuit() {
    const QString text = Tr("Quit and lose the game in progress?");
    if (quitQuestion_)
        return quitQuestion_(text);
    if (!options_.interactive)
        return true;
    CheckPause();
    QMessageBox box(QMessageBox::Question, "Tovani", text, QMessageBox::Yes | QMessageBox::No,
                    this);
    box.setDefaultButton(QMessageBox::No);
    const bool yes = box.exec() == QMessageBox::Yes;
    UnCheckPause();
    return yes;
}

void TMainForm::CheckPause() {
    // A question asked from inside a dialog is not a new pause: only the outermost dialog
    // pauses the game and resumes it.
    if (++dialogDepth_ > 1)
        return;
    if (Option("GoCheckPause") && session_.mode != kModeInactive)
        FormDeactivate();
}

void TMainForm::UnCheckPause() {
    if (dialogDepth_ > 0 && --dialogDepth_ > 0)
        return;
    if (view3D_)
        RunCommand("Resize3D");
    if (session_.mode == kModeInactive) {
        if (Option("GoCheckPause"))
            FormActivate();
        else
            game2_->update();
    }
}

void TMainForm::GoCheckPauseClick() {
    bool on = Option("GoCheckPause");
    if (on && !focusRouted_) {
        connect(qApp, &QGuiApplication::applicationStateChanged, this,
                [this](Qt::ApplicationState state) {
                    if (state == Qt::ApplicationActive)
                        FormActivate();
                    else if (state == Qt::ApplicationInactive)
                        FormDeactivate();
                });
        focusRouted_ = true;
    } else if (!on && focusRouted_) {
        disconnect(qApp, &QGuiApplication::applicationStateChanged, this, nullptr);
        focusRouted_ = false;
    }
}

// ---- Keyboard ---------------------------------------------------------------------------------

bool TMainForm::FormKeyDown(int key, Qt::KeyboardModifiers mods) {
    if (key == Qt::Key_Escape && !(mods & Qt::AltModifier)) {
        close();
        return true;
    }
    arrows_.prevRight = arrows_.right;
    arrows_.prevLeft = arrows_.left;
    arrows_.prevUp = arrows_.up;
    arrows_.right = key == Qt::Key_Right;
    arrows_.left = key == Qt::Key_Left;
    arrows_.up = key == Qt::Key_Up;
    arrows_.down = key == Qt::Key_Down;
    // The game in play may use the key (a key it takes is not passed on to the widgets).
    Game* game = CurrentGame();
    return game && game->KeyDown(key);
}

void TMainForm::FormKeyUp() {
    arrows_.right = arrows_.left = arrows_.up = arrows_.down = false;
    if (Game* game = CurrentGame())
        game->KeyUp();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        // Keys typed anywhere in this window (not in a dialog) reach the game.
        auto* w = qobject_cast<QWidget*>(watched);
        if (!w || w->window() != this || QApplication::activeModalWidget() ||
            QApplication::activePopupWidget())
            break;
        auto* ke = static_cast<QKeyEvent*>(event);
        // A key the focus widget leaves goes on to its parents: the window hears it once.
        if (ke == lastKeyEvent_ && ke->type() == lastKeyType_ && ke->timestamp() == lastKeyStamp_ &&
            lastKeyWidget_ && w != lastKeyWidget_ && w->isAncestorOf(lastKeyWidget_))
            break;
        lastKeyEvent_ = ke;
        lastKeyType_ = ke->type();
        lastKeyStamp_ = ke->timestamp();
        lastKeyWidget_ = w;
        if (event->type() == QEvent::KeyPress) {
            if (ke->isAutoRepeat() && ke->key() == Qt::Key_Escape)
                break;
            const bool used = FormKeyDown(ke->key(), ke->modifiers());
            if (view3D_)
                RunCommand("FormKeyPress");
            if (used || ke->key() == Qt::Key_Escape ||
                (ke->key() >= Qt::Key_Left && ke->key() <= Qt::Key_Down))
                return true;
        } else if (!ke->isAutoRepeat()) {
            FormKeyUp();
        }
        break;
    }
    case QEvent::Show:
        // Every dialog of the window (about, help, choosers) takes the window's papering.
        if (auto* dialog = qobject_cast<QDialog*>(watched); dialog && dialog->parent() == this)
            PaperDialog(*dialog);
        break;
    case QEvent::Resize:
        // The menu bar or the toolbar came or went without the window changing size (Total
        // Immersion, the menu swap): the play area has a new size all the same.
        if (watched == centralWidget() && resizeHandlerInstalled_)
            FormResize();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
        if (watched == game2_)
            GameMouseEvent(event);
        break;
    case QEvent::Enter:
    case QEvent::MouseMove:
        if (watched == game2_ && event->type() == QEvent::MouseMove)
            GameMouseEvent(event);
        if (watched->property("hint").isValid()) {
            // The welcome pictures describe their game in the description line.
            description7_->setText(Tr(watched->property("hint").toString()));
            description7_->setAlignment(Qt::AlignCenter);
        }
        break;
    case QEvent::Leave:
        if (watched->property("hint").isValid())
            description7_->setText(Tr("Game Description..."));
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
}

void TMainForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // Until start-up has read everything, a resize only lays the areas out.
    if (resizeHandlerInstalled_)
        FormResize();
    else {
        LayoutAreas();
        PlaceSplash();
    }
}

// ---- Close ------------------------------------------------------------------------------------

void TMainForm::CollectSettings() {
    for (const SettingKey& k : Settings::Table())
        if (k.item && k.kind == SettingKind::Bool)
            if (QAction* a = Item(k.item))
                settings_.SetBool(k.key, a->isChecked());
    settings_.SetBool("Go3D", view3D_);
    auto checkedTag = [this](const QStringList& names, int none) {
        for (const QString& n : names)
            if (Option(n))
                return Item(n)->property("tag").toInt();
        return none;
    };
    settings_.SetInt(
        "Highlight",
        checkedTag({"Highlight1", "Highlight2", "Highlight3", "Highlight4", "Highlight5"}, 3));
    settings_.SetInt("Contemplation", checkedTag({"Static1", "Rotate1", "FollowMouseSlow",
                                                  "FollowMouseNormal", "FollowMouseFast"},
                                                 0));
    settings_.SetInt("AnimationType",
                     checkedTag({"AniNucleus", "AniClassic", "AniFuzzy", "AniUnion"}, -1));
    settings_.SetInt("AnimationSpeed",
                     checkedTag({"AniSlow", "AniNormal", "AniFast", "AniUltra", "AniLight"}, -1));
    int tex = checkedTag(
        {"N64x64texture1", "N128x128texture1", "N256x256texture1", "N512x512texture1"}, 3);
    settings_.SetInt("BackTexSize", 32 << tex);
    int fall = checkedTag({"TurtleFall", "SlowFall", "NormalFall", "FastFall"}, 1);
    settings_.SetInt("SpeedFall", fall); // 0.5 is stored as 0
    settings_.SetInt("StartLevel", startLevelButton_->property("tag").toInt());
    for (ContentKind kind : {ContentKind::Background, ContentKind::Tileset,
                             ContentKind::SmallTileset, ContentKind::Music}) {
        auto g = contentGroups_.find(kind);
        if (g == contentGroups_.end())
            continue;
        int index = kind == ContentKind::Music ? settings_.GetInt("MidiNumber") : 0;
        for (QAction* a : g->second->actions())
            if (a->isChecked())
                index = a->property("tag").toInt();
        const char* key = kind == ContentKind::Background ? "Background"
                          : kind == ContentKind::Tileset  ? "Tileset"
                          : kind == ContentKind::Music    ? "MidiNumber"
                                                          : "SmallTileset";
        settings_.SetInt(key, index);
    }
    if (auto g = contentGroups_.find(ContentKind::Language); g != contentGroups_.end())
        for (QAction* a : g->second->actions())
            if (a->isChecked())
                settings_.SetString("Language", a->text().toStdString());
    std::array<std::string, 16> entries;
    for (int i = 0; i < 16; ++i) {
        QColor c = QColorDialog::customColor(i);
        uint32_t bgr = static_cast<uint32_t>(c.red()) | (static_cast<uint32_t>(c.green()) << 8) |
                       (static_cast<uint32_t>(c.blue()) << 16);
        entries[static_cast<size_t>(i)] = Settings::ColorEntry(i, bgr);
    }
    settings_.SetString("CustomColors", Settings::CustomColorsValue(entries));
    settings_.SetBool("Maximize", isMaximized());
    if (QScreen* s = screen())
        settings_.SetInt("PreviousRes", s->geometry().width());
    QFont f = font();
    settings_.SetString("FontName", f.family().toStdString());
    settings_.SetInt("FontSize", f.pointSize() > 0 ? f.pointSize() : 10);
    settings_.SetBool("FontBold", f.bold());
    settings_.SetBool("FontItalic", f.italic());
    settings_.SetInt("BoardNumber", session_.boardNumber);
    settings_.SetInt("LastBoard", session_.lastBoard);
    QRect normal = normalGeometry();
    settings_.SetInt("XPos", normal.x());
    settings_.SetInt("YPos", normal.y());
    settings_.SetInt("WPos", normal.width());
    settings_.SetInt("HPos", normal.height());
}

bool TMainForm::SaveSettings() {
    if (!initialised_)
        return true; // nothing was read: keep the file as it is
    CollectSettings();
    std::set<std::string> skip;
    if (settings_.GetInt("AnimationType") < 0)
        skip.insert("AnimationType");
    if (settings_.GetInt("AnimationSpeed") < 0)
        skip.insert("AnimationSpeed");
    if (settings_.GetString("Language").empty())
        skip.insert("Language");
    if (!scene3DCreated_)
        skip.insert({"Rotation3D", "Position3DX", "Position3DY", "Position3DZ"});
    if (Option("FullScreen"))
        skip.insert({"XPos", "YPos", "WPos", "HPos"});
    settings_.Store(ini_, skip);
    return ini_.UpdateFile();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->accept();
        return;
    }
    // A game in progress is not lost to one key press: unless the quick save keeps it (only
    // Solitaire, Rivers and Slider can be saved), ask first.
    int playing = session_.mode;
    if (playing == kModeInactive)
        playing = session_.modeBeforeDeactivation;
    if (playing == kModePaused)
        playing = session_.modeBeforePause;
    const bool quickSaveable =
        playing == kModeSolitaire || playing == kModeRivers || playing == kModeSlider;
    if (GameInProgress() && !(Option("AutoSave") && quickSaveable) && !ConfirmQuit()) {
        event->ignore();
        return;
    }
    // 1-3. A window closed while it is inactive comes back to its game first, as a paused
    // one does, so that the quick save finds it.
    settings_.SetBool("QuickSaved", false);
    if (session_.mode == kModeInactive)
        FormActivate();
    if (session_.mode == kModePaused)
        PauseClick();
    if ((session_.mode == kModeSolitaire || session_.mode == kModeRivers ||
         session_.mode == kModeSlider) &&
        Option("AutoSave"))
        RunCommand("QuickSave"); // sets "QuickSaved" when it succeeds
    // 4.
    int modeAtClose = session_.mode;
    (void)modeAtClose;
    session_.mode = kModeClosing;
    closing_ = true;
    timerClassic_->stop();
    RunCommand("StopFastTimer");
    if (focusRouted_)
        disconnect(qApp, &QGuiApplication::applicationStateChanged, this, nullptr);
    qApp->removeEventFilter(this);
    // 5-6, 9.
    bool written = SaveSettings();
    // 7-8.
    RunCommand("WriteHallOfFame");
    RunCommand("ReleaseAudio");
    if (!written && options_.interactive)
        QMessageBox::critical(this, "Tovani", QString::fromStdString(ini_.WriteError()));
    event->accept();
}

} // namespace tovani
