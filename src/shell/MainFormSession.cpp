// The game-mode switch, the 50 ms tick, pauses and focus, the keys, and the close of the main
// window.
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
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cstdio>

namespace tovani {

namespace {
const QString kCaption = QStringLiteral("Tovani 10.21 ");
} // namespace

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

    if (s.setBoardCaption)
        boardCaption_ = true;
    else if (s.clearCaption)
        boardCaption_ = false;
    UpdateCaption();
    RunCommand("ModeChanged");
}

void TMainForm::UpdateCaption() {
    // A layout's board is named by the layout; the other games' boards by their own names.
    QString description;
    if (boardCaption_)
        description = Tr(QString::fromStdString(BoardDescription(
            session_.boardNumber, Tr("Layout").toStdString(), layoutName_.toStdString())));
    setWindowTitle(
        QString::fromStdString(WindowCaption(kCaption.toStdString(), description.toStdString())));
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

bool TMainForm::ConfirmQuit(const QString& text) {
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
        // (A size already laid out is not done twice: the window's own resize did it.)
        if (watched == centralWidget() && resizeHandlerInstalled_ &&
            centralWidget()->size() != laidOutSize_)
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
    if (event->type() == QEvent::WindowStateChange)
        WindowShownOrHidden();
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    WindowShownOrHidden();
}

void TMainForm::hideEvent(QHideEvent* event) {
    QMainWindow::hideEvent(event);
    WindowShownOrHidden();
}

void TMainForm::WindowShownOrHidden() {
    if (closing_ || session_.mode == kModeClosing || !initialised_)
        return;
    const bool hidden = !isVisible() || isMinimized();
    const int mode = session_.mode;
    if (hidden && !pausedByHiding_ &&
        ((mode >= kModeSolitaire && mode <= kModeHashira) || mode == kModePaused)) {
        pausedByHiding_ = true;
        FormDeactivate();
    } else if (!hidden && pausedByHiding_) {
        pausedByHiding_ = false;
        // Nothing to do when the window's focus already brought the game back.
        if (session_.mode == kModeInactive)
            FormActivate();
    }
}

bool TMainForm::DialogUp() const {
    QWidget* modal = QApplication::activeModalWidget();
    return (modal && modal != this) || dialogDepth_ > 0;
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
        if (kind != ContentKind::Music)
            settings_.SetString(key, ContentChoiceName(kind, index, content_[kind]));
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
    if (GameInProgress() && !(Option("AutoSave") && quickSaveable) &&
        !ConfirmQuit(Tr("Quit and lose the game in progress?"))) {
        event->ignore();
        return;
    }
    // Nor is a layout being built, which no quick save keeps.
    const Game* game = GameOf(playing);
    if (game && game->HasUnsavedWork() &&
        !ConfirmQuit(Tr("Quit and lose the layout you are editing?"))) {
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
