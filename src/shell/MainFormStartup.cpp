// Start-up of the main window: the steps of Init (settings, pictures, the content scans, the
// layouts, the hall of fame, translation), the first resize and FinishInit, which shows the
// welcome screen and plays a command-line file, a quick save or a first game.
#include "shell/MainForm.h"

#include "core/Files.h"
#include "core/LanguageFile.h"
#include "core/TextCodec.h"
#include "core/WriteLeftovers.h"
#include "dialogs/LanguageChooser.h"
#include "scores/SavedGame.h"
#include "shell/FileProblems.h"
#include "shell/ShellWidgets.h"
#include "solitaire/LayoutAdopt.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QDateTime>
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
    // Writes that a killed program never finished left temporary files behind: clear them.
    {
        const std::string user = userDir_.toStdString();
        const int64_t now = QDateTime::currentMSecsSinceEpoch();
        for (const std::string& dir : {user, JoinPath(user, "Layouts"),
                                       JoinPath(user, std::string(kSavedGameFolder))})
            ClearWriteLeftovers(dir, now);
    }
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
    if (ini_.Kept())
        AddStartupProblem(KeptFileMessage(*this, ini_));
    ApplySettings();
    // The messages from here on (the splash, what start-up finds wrong) in the player's language.
    UseMessageLanguage(QString::fromStdString(settings_.GetString("Language")));
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
    // 10. The sound output and the MOD player first: the music listed depends on them.
    RunCommand("InitMod");
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
            QString chosen = LanguageChooser::Choose(this, names, current, background_);
            if (!chosen.isEmpty()) {
                for (QAction* a : contentGroups_[ContentKind::Language]->actions())
                    if (a->text() == chosen)
                        a->setChecked(true);
                settings_.SetString("Language", chosen.toStdString());
                UseMessageLanguage(chosen);
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

void TMainForm::AddStartupProblem(const QString& text) {
    if (!startupProblems_.contains(text))
        startupProblems_ << text;
}

void TMainForm::ReportStartupProblems() {
    if (startupProblems_.isEmpty())
        return;
    // A problem found before the player chose a language on the first run is said again in it.
    QStringList problems;
    for (const QString& p : startupProblems_)
        problems << (englishFile_ && englishFile_->HasMessage(p.toStdString()) ? Tr(p) : p);
    QString text = problems.join("  -  ");
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
    startLevelButton_->setText(Tr("Level %1").arg(level));
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
        // A window stored off the screen comes back where it can be seen, and a stored size
        // never makes it larger than the screen.
        WindowRect r = FitStoredWindow({settings_.GetInt("XPos"), settings_.GetInt("YPos"),
                                        settings_.GetInt("WPos"), settings_.GetInt("HPos")},
                                       {avail.x(), avail.y(), avail.width(), avail.height()});
        setGeometry(r.x, r.y, r.width, r.height);
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
    // A choice is kept by its name; an old numeric one is the position it meant, once.
    auto choose = [&](ContentKind kind, const char* key, const char* defaultCaption) {
        const std::vector<ContentEntry>& entries = content_[kind];
        const std::string name = settings_.GetString(key);
        const int stored =
            name.empty() ? settings_.GetInt(key) : ContentChoicePosition(kind, name, entries);
        const int position = ResolveContentIndex(kind, stored, entries, defaultCaption);
        settings_.SetInt(key, position);
        settings_.SetString(key, ContentChoiceName(kind, position, entries));
        checkPosition(kind, position);
    };
    choose(ContentKind::Background, "Background", "Garden");
    choose(ContentKind::Tileset, "Tileset", "Ivory");
    choose(ContentKind::SmallTileset, "SmallTileset", "Kanji");
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
        // Checked first, and never written over a layout already there (a shipped one above
        // all): the copy takes a free name, and what is played from now on is that copy.
        LayoutAdoption imported =
            AdoptLayoutFile(firstArg.toStdString(), JoinPath(programDir_.toStdString(), "Layouts"),
                             JoinPath(userDir_.toStdString(), "Layouts"));
        if (imported.ok) {
            options_.arguments[0] = QString::fromStdString(imported.path);
        } else {
            startupProblems_ << (imported.writeFailed
                                     ? Tr("Unable to copy the layout %1").arg(firstArg)
                                     : Tr(QString::fromStdString(
                                           LayoutErrorMessage(imported.error))));
            options_.arguments[0].clear();
        }
        firstArg = options_.arguments[0];
        layoutPath_ = firstArg;
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
    // The layouts follow the menu's own commands and their separator.
    int first = 0;
    while (first < actions.size() && !actions[first]->isSeparator())
        ++first;
    for (int i = first + 1; i < actions.size(); ++i) {
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
        a->setProperty("codeText", true); // the layout's own name
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
        layoutPath_ = firstArg; // the copy among the player's layouts
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

} // namespace tovani
