// The window's own commands: view options, menus and Total Immersion, the layout of the areas,
// help and about.
#include "shell/MainForm.h"

#include "dialogs/AboutBox.h"
#include "dialogs/HelpViewer.h"
#include "shell/ShellPictures.h"
#include "shell/ShellWidgets.h"

#include <QAction>
#include <QActionGroup>
#include <QFontDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>
#include <algorithm>

namespace tovani {

namespace {

// Every action reachable from a list of menus (the leaves, whose shortcuts the window takes).
void CollectLeaves(const QList<QAction*>& actions, QList<QAction*>& out) {
    for (QAction* a : actions) {
        if (a->menu())
            CollectLeaves(a->menu()->actions(), out);
        else if (!a->isSeparator())
            out.append(a);
    }
}

} // namespace

void TMainForm::RegisterShellHandlers() {
    auto own = [this](const char* name, std::function<void()> fn) {
        builtins_.insert(name, [fn](QObject*) { fn(); });
    };
    builtins_.insert("NewGame", [this](QObject* sender) { NewGame(sender); });
    RegisterGameCommands();
    own("Exit1Click", [this] { Exit1Click(); });
    own("Translate", [this] { ApplyStartupLanguage(); });
    builtins_.insert("LanguageClick", [this](QObject* sender) { LanguageClick(sender); });
    own("PauseClick", [this] { PauseClick(); });
    own("Stop", [this] { Stop(); });
    own("ShowTimeClick", [this] { ShowTimeClick(); });
    own("NStatus", [this] { NStatus(); });
    own("TotalClick", [this] { TotalClick(); });
    own("ShowMenuClick", [this] { ShowMenuClick(); });
    own("GoCheckPauseClick", [this] { GoCheckPauseClick(); });
    own("ShowTitleClick", [this] { ShowTitleClick(); });
    own("ShowGirlsClick", [this] { ShowGirlsClick(); });
    own("Toolbar1Click", [this] { Toolbar1Click(); });
    own("SetMainFontClick", [this] { SetMainFontClick(); });
    own("FullScreenClick", [this] { FullScreenClick(); });
    own("AnimatePauseClick", [this] { AnimatePauseClick(); });
    own("FlatButtonsClick", [this] { FlatButtonsClick(); });
    own("ShowCurrentTileClick", [this] { ShowCurrentTileClick(); });
    own("AnimateCursorClick", [this] { AnimateCursorClick(); });
    own("AnimateTilesClick", [this] { AnimateTilesClick(); });
    own("CoolMouseClick", [this] { CoolMouseClick(); });
    own("CoolToolbarClick", [this] { CoolToolbarClick(); });
    own("CoolBackgrClick", [this] { CoolBackgrClick(); });
    own("ShowHallPanel", [this] { ShowHallPanel(); });
    own("ShowVolumeClick", [this] { ShowVolumeClick(); });
    own("StartLevelClick", [this] { StartLevelClick(); });
    own("About1Click", [this] { About1Click(); });
    own("Redraw1Click", [this] { ShowFond(); });
    own("FullRedraw", [this] { ShowFond(); });
    own("TexturedTilesClick", [this] { ApplyDependentEnabling(); });
    own("StretchTilesetClick", [this] { ApplyDependentEnabling(); });
    for (const char* n : {"Highlight1Click", "Highlight2Click", "Highlight3Click"})
        builtins_.insert(n, [this](QObject* s) { HighlightClick(s); });
    builtins_.insert("StartatLevel11Click", [this](QObject* s) { StartatLevel11Click(s); });
    builtins_.insert("LoadlayoutClick", [this](QObject* s) { LoadlayoutClick(s); });
    builtins_.insert("LoadShplayoutClick", [this](QObject* s) { LoadlayoutClick(s); });
    builtins_.insert("CallHelp", [this](QObject* s) { CallHelp(s); });
    builtins_.insert("FallSpeed", [this](QObject* s) {
        static const double speeds[] = {0.5, 1, 2, 3};
        if (auto* a = qobject_cast<QAction*>(s))
            speedFall_ = speeds[std::clamp(a->property("tag").toInt(), 0, 3)];
    });
    // Nothing more than the check mark: read where they matter, or at the next start.
    for (const char* n : {"Res800Click", "StartupGameClick", "CoolStatusClick", "CoolMenu1Click",
                          "InvertClick", "OnlyPossibleMovesClick"})
        own(n, [] {});
}

// ---- Layout -----------------------------------------------------------------------------------

void TMainForm::SyncAreaVisibility() {
    bool total = Option("Total");
    if (session_.mode != kModeEditor)
        tools_->setVisible(Option("Toolbar1") && !total);
    ligneStatus_->setVisible(Option("ShowTitle") && !total);
    hofBox_->setVisible(Option("ShowHallFame") && !total && initialised_);
    LayoutAreas();
}

void TMainForm::LayoutAreas() {
    QWidget* c = centralWidget();
    const int w = c->width(), h = c->height();
    laidOutSize_ = c->size();
    int top = 0;
    if (tools_->isVisibleTo(c)) {
        tools_->setGeometry(0, 0, w, 33);
        top = 33;
        // In a narrow window the buttons keep their captions and drop their pictures.
        bool compact = false;
        for (int pass = 0; pass < 2; ++pass) {
            Qt::ToolButtonStyle style =
                compact ? Qt::ToolButtonTextOnly : Qt::ToolButtonTextBesideIcon;
            for (QToolButton* b : toolButtons_)
                b->setToolButtonStyle(style);
            int need = 0;
            for (QToolButton* b : toolButtons_)
                need += b->sizeHint().width() + 1;
            if (need + 8 <= w || compact)
                break;
            compact = true;
        }
    }
    if (editorPanel_->isVisibleTo(c)) {
        editorPanel_->setGeometry(0, top, w, 33);
        top += 33;
    }
    int bottom = h;
    if (ligneStatus_->isVisibleTo(c)) {
        ligneStatus_->setGeometry(0, h - 25, w, 25);
        bottom -= 25;
    }
    int right = w;
    if (hofBox_->isVisibleTo(c)) {
        hofBox_->setGeometry(w - 92, top, 92, std::max(0, bottom - top));
        right -= 92;
    }
    gameArea_->setGeometry(0, top, std::max(0, right), std::max(0, bottom - top));
    const QRect r = gameArea_->rect();
    game2_->setGeometry(r);
    glPanel_->setGeometry(r);
    intro_->setGeometry(r);
    auto centre = [&r](QWidget* x) {
        x->move(std::max(0, (r.width() - x->width()) / 2),
                std::max(0, (r.height() - x->height()) / 2));
    };
    centre(welcome_);
    // Slider: the board and the next tiles side by side; Hashira: the well and its counters.
    int sliderWidth = sliderBox_->width() + 16 + sliderNext_->width();
    int sx = std::max(0, (r.width() - sliderWidth) / 2);
    sliderBox_->move(sx, std::max(0, (r.height() - sliderBox_->height()) / 2));
    sliderNext_->move(sx + sliderBox_->width() + 16,
                      std::max(0, (r.height() - sliderNext_->height()) / 2));
    int hashiraWidth = hashiraBox_->width() + 12 + columnsPanel_->width();
    int hx = std::max(0, (r.width() - hashiraWidth) / 2);
    hashiraBox_->move(hx, std::max(0, (r.height() - hashiraBox_->height()) / 2));
    columnsPanel_->move(hx + hashiraBox_->width() + 12,
                        std::max(0, (r.height() - columnsPanel_->height()) / 2));
    volumePanel_->move(4, 4);
    scorePanel_->move(std::max(0, r.width() - scorePanel_->width() - 8),
                      std::max(0, r.height() - scorePanel_->height() - 8));
    if (splash_->isVisible())
        PlaceSplash();
}

// ---- Menus ------------------------------------------------------------------------------------

void TMainForm::SetMenu(MenuSet set) {
    QMenuBar* bar = menuBar();
    QList<QAction*> mainLeaves, editorLeaves;
    CollectLeaves(mainTop_, mainLeaves);
    CollectLeaves(editorTop_, editorLeaves);
    for (QAction* a : bar->actions())
        bar->removeAction(a);
    currentMenu_ = set;
    if (set == MenuSet::Main) {
        for (QAction* a : editorLeaves)
            removeAction(a);
        addActions(mainLeaves); // shortcuts work with the menu bar hidden too
        if (!menusInPopup_)
            bar->addActions(mainTop_);
        bar->setVisible(Option("ShowMenu") && !Option("Total"));
    } else {
        for (QAction* a : mainLeaves)
            removeAction(a);
        addActions(editorLeaves);
        bar->addActions(editorTop_);
        bar->setVisible(true);
    }
}

void TMainForm::SwapMenus() {
    bool wantPopup = !Option("ShowMenu") || Option("Total");
    if (wantPopup && !menusInPopup_) {
        for (QAction* a : mainTop_) {
            menuBar()->removeAction(a);
            popup_->addAction(a);
        }
        menusInPopup_ = true;
    } else if (!wantPopup && menusInPopup_) {
        for (QAction* a : mainTop_)
            popup_->removeAction(a);
        menusInPopup_ = false;
    }
    popupSeparator_->setVisible(menusInPopup_);
    SetMenu(currentMenu_);
}

void TMainForm::ShowMenuClick() {
    SwapMenus();
}

void TMainForm::TotalClick() {
    bool on = Option("Total");
    SyncAreaVisibility();
    SwapMenus();
    for (const char* n : {"ShowHallFame", "ShowTitle", "ShowGirls", "Toolbar1", "ShowMenu"})
        Item(n)->setEnabled(!on);
    FormResize();
}

// ---- View options -----------------------------------------------------------------------------

void TMainForm::ShowTitleClick() {
    SyncAreaVisibility();
}

void TMainForm::ShowGirlsClick() {
    RedrawHallOfFame();
}

void TMainForm::Toolbar1Click() {
    // The editor keeps its own panel in place of the toolbar.
    if (session_.mode != kModeEditor)
        tools_->setVisible(Option("Toolbar1") && !Option("Total"));
    FormResize();
}

void TMainForm::SetMainFontClick() {
    CheckPause();
    bool ok = false;
    QFont chosen = QFontDialog::getFont(&ok, font(), this, Tr("Set Main Font"));
    UnCheckPause();
    if (!ok)
        return;
    setFont(chosen);
    SetTextStyle();
}

void TMainForm::FullScreenClick() {
    QString text = Tr("You need to restart Tovani before changes are applied.");
    if (options_.interactive) {
        CheckPause();
        QMessageBox::information(this, "Tovani", text);
        UnCheckPause();
    } else {
        ShowStatus(text);
    }
}

void TMainForm::AnimatePauseClick() {
    if (session_.mode == kModeWelcome || session_.mode == kModePaused)
        RunCommand("FullRedraw");
}

void TMainForm::FlatButtonsClick() {
    // Flat buttons show their frame only under the mouse; raised ones always have it.
    bool flat = Option("FlatButtons");
    for (QToolButton* b : toolButtons_)
        b->setAutoRaise(flat);
    QString frame = flat ? "border: 1px solid transparent; background: transparent;"
                         : "border: 1px solid #a08458; background: qlineargradient(x1:0, y1:0, "
                           "x2:0, y2:1, stop:0 #fffdf8, stop:1 #e6d7b8);";
    QString sheet = "QToolButton { border-radius: 4px; padding: 1px 3px; " + frame +
                    " }"
                    "QToolButton:hover { border: 1px solid #8a6a3a; background: rgba(255, 255, "
                    "255, 150); }"
                    "QToolButton:pressed { background: rgba(150, 110, 60, 90); }"
                    "QToolButton:disabled { color: #a09888; }";
    static const char* navy[] = {"ExplorerButton1", "ExplorerButton2", "ExplorerButton3",
                                 "ShuffleButton", "PauseButton"};
    for (QToolButton* b : toolButtons_) {
        bool isNavy = std::any_of(std::begin(navy), std::end(navy),
                                  [b](const char* n) { return b->objectName() == n; });
        b->setStyleSheet(
            sheet +
            QString("QToolButton:enabled { color: %1; }").arg(isNavy ? "#000080" : "#800000"));
    }
}

void TMainForm::ShowCurrentTileClick() {
    RedrawHallOfFame();
}

void TMainForm::AnimateCursorClick() {
    if (!Option("AnimateCursor") && game2_->cursor().shape() == hand22_.shape() &&
        game2_->cursor().pixmap().cacheKey() == hand22_.pixmap().cacheKey())
        game2_->setCursor(hand21_);
}

void TMainForm::AnimateTilesClick() {
    game2_->repaint();
}

void TMainForm::CoolMouseClick() {
    if (Option("CoolMouse"))
        setCursor(hand21_);
    else
        unsetCursor();
}

void TMainForm::CoolToolbarClick() {
    static_cast<WallpaperPanel*>(tools_)->SetWallpaper(Option("CoolToolbar") ? toolbarWallpaper_
                                                                             : QImage());
}

void TMainForm::CoolBackgrClick() {
    coolBack_ = Option("CoolBackgr") ? logoWallpaper_ : QImage();
    QWidget* client = centralWidget();
    if (!plainSaved_) {
        plainClient_ = client->palette();
        plainStatus_ = ligneStatus_->palette();
        plainSaved_ = true;
    }
    auto paper = [this](QWidget* w, const QPalette& plain) {
        QPalette pal = plain;
        if (!coolBack_.isNull())
            pal.setBrush(QPalette::Window, QBrush(QPixmap::fromImage(coolBack_)));
        w->setPalette(pal);
        w->update();
    };
    paper(client, plainClient_);
    paper(ligneStatus_, plainStatus_);
}

void TMainForm::PaperDialog(QWidget& dialog) const {
    if (coolBack_.isNull())
        return;
    QPalette pal = dialog.palette();
    pal.setBrush(QPalette::Window, QBrush(QPixmap::fromImage(coolBack_)));
    dialog.setPalette(pal);
    dialog.setAutoFillBackground(true);
}

void TMainForm::NStatus() {
    if (!Option("Moves"))
        movesLeftLine_->clear();
}

void TMainForm::ShowTimeClick() {
    if (!Option("ShowTime"))
        timeLine_->clear();
}

void TMainForm::ShowHallPanel() {
    hofBox_->setVisible(Option("ShowHallFame") && !Option("Total"));
    FormResize();
}

void TMainForm::ShowVolumeClick() {
    volumePanel_->setVisible(Option("ShowVolume"));
    volumePanel_->raise();
}

void TMainForm::HighlightClick(QObject*) {
    ApplyHighlightEnabling();
}

void TMainForm::SetView3D(bool on) {
    view3D_ = on;
    SetOption("N3D", on);
    set3DButton_->setText(on ? "2D" : "3D");
    Item("EnableGL")->setEnabled(!on);
    glPanel_->setVisible(on && ModeAllows3D(session_.mode) && !firstShowPending_);
}

// ---- Hashira's start level --------------------------------------------------------------------

void TMainForm::StartLevelClick() {
    int level = startLevelButton_->property("tag").toInt();
    SetOption(QString("StartatLevel%1").arg(level) + "1", true);
    startLevelMenu_->popup(startLevelButton_->mapToGlobal(QPoint(0, startLevelButton_->height())));
}

void TMainForm::StartatLevel11Click(QObject* sender) {
    auto* a = qobject_cast<QAction*>(sender);
    if (!a)
        return;
    int level = a->property("tag").toInt();
    startLevelButton_->setProperty("tag", level);
    startLevelButton_->setText(Tr("Level %1").arg(level));
    settings_.SetInt("StartLevel", level);
}

// ---- Help and about ---------------------------------------------------------------------------

void TMainForm::CallHelp(QObject* sender) {
    QString page = "index.html";
    QString name = sender ? sender->objectName() : QString();
    if (name == "WhatsNew1")
        page = "whatsnew.html";
    else if (name == "Problems")
        page = "problems.html";
    CheckPause();
    if (name == "ViewTiles1") {
        const ContentEntry* t = CheckedContent(ContentKind::Tileset);
        QString path =
            t ? programDir_ + "Tilesets/" + QString::fromStdString(t->fileName) : QString();
        QString caption = t ? QString::fromStdString(t->caption) : QString();
        QString problem;
        QImage faces = t ? TilesetFacesPicture(path, &problem) : QImage();
        HelpViewer::ShowTileset(this, HelpFolder(), caption, faces, path, problem,
                                [this](const QString& s) { return Tr(s); });
    } else {
        HelpViewer::ShowPage(this, HelpFolder(), page, [this](const QString& s) { return Tr(s); });
    }
    UnCheckPause();
}

void TMainForm::About1Click() {
    CheckPause();
    AboutBox::Show(this, "10.21", settings_.Launches(), [this](const QString& s) { return Tr(s); });
    UnCheckPause();
}

} // namespace tovani
