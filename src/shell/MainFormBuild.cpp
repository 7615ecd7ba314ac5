// Building the main window's widgets: its areas, toolbar, status line, welcome screen, splash
// panel, and every menu from the menu tables.
#include "shell/MainForm.h"
#include "shell/ThreadTimer.h"

#include "core/Files.h"
#include "dialogs/FittingButton.h"
#include "shell/MenuTable.h"
#include "shell/ShellPictures.h"
#include "shell/ShellWidgets.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <tuple>

namespace tovani {

namespace {

const QString kTitle = QStringLiteral("Tovani 10.21");

struct ToolDef {
    const char* name;
    const char* caption;
    const char* hint;
    const char* handler;
};

const ToolDef kTools[] = {
    {"ExplorerButton1", "New", "New game", "NewGame"},
    {"ExplorerButton2", "Back", "Undo move", "Back"},
    {"ExplorerButton3", "Hint", "Show possible moves", "Hint"},
    {"ShuffleButton", "Shuffle", "Shuffle tiles", "Shuffle1Click"},
    {"PauseButton", "Pause", "Pause game", "PauseClick"},
    {"SetMusic", "Music", "Pause music", "SetMusicClick"},
    {"LayoutButton", "Layout", "Choose new layout", "SelectLayout1Click"},
    {"HelpButton", "Help", "Help :)", "CallHelp"},
    {"AboutButton", "About", "Hello, and thank you for playing !", "About1Click"},
    {"HallFameButton", "Hall", "Best of the best :)", "ShowScores"},
    {"ExitButton", "Exit", "Don't leave me !! :(", "Exit1Click"},
    {"Set3D", "3D", "", "Set3DClick"},
};

struct WelcomeButton {
    const char* name;
    const char* caption;
    const char* handler;
};

struct WelcomeGame {
    const char* picture;
    const char* hint;
    const char* handler;
    std::vector<std::vector<WelcomeButton>> rows; // one or two rows of buttons
};

const std::vector<WelcomeGame>& WelcomeGames() {
    static const std::vector<WelcomeGame> games = {
        {"SpeedButton1",
         "Tile-Matching game - Match the pairs when they're free on their sides !",
         "RandomSolitaireGame1Click",
         {{{"BitBtn1", "Classic", "RandomSolitaireGame1Click"},
           {"BitBtn2", "Two Players", "TwoPlayers"}}}},
        {"SpeedButton2",
         "Rivers game - Connect the matching tiles !",
         "FourRivers",
         {{{"BitBtn3", "Easy Rivers (84 tiles)", "FourRivers"}},
          {{"BitBtn4", "Hard Rivers (144 tiles)", "FourRivers"}}}},
        {"SpeedButton3",
         "Memory game - Play a Concentration game !",
         "Memory",
         {{{"BitBtn5", "Easy Memory (32 tiles)", "Memory"}},
          {{"BitBtn6", "Hard Memory (60 tiles)", "Memory"}}}},
        {"SpeedButton4",
         "Clicks - Remove groups of tiles with a single click !",
         "MahJonggClicks",
         {{{"BitBtn7", "Easy", "MahJonggClicks"},
           {"BitBtn13", "Normal", "MahJonggClicks"},
           {"BitBtn10", "Hard", "MahJonggClicks"}}}},
        {"SpeedButton5",
         "Slider - Form lines of tiles by sliding them !",
         "Sliders",
         {{{"Slider", "Easy", "Sliders"}, {"SliderHard", "Hard", "Sliders"}}}},
        {"SpeedButton6",
         "Hashira - Remove columns of 3 or more tiles !",
         "MahJonggColumnsClick",
         {{{"Column", "Hashira", "MahJonggColumnsClick"},
           {"StartLevel", "Start Level", "StartLevelClick"}}}},
    };
    return games;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

} // namespace

// ---- Building the window's widgets ------------------------------------------------------------

void TMainForm::BuildAreas() {
    auto* client = new QWidget(this);
    client->setObjectName("ClientArea");
    client->setAutoFillBackground(true);
    QPalette black = client->palette();
    black.setColor(QPalette::Window, Qt::black);
    client->setPalette(black);
    setCentralWidget(client);

    BuildToolbar();

    editorPanel_ = new WallpaperPanel(client);
    editorPanel_->setObjectName("EditorPanel");
    editorPanel_->setFixedHeight(33);
    editorPanel_->setAutoFillBackground(true);
    {
        auto* lay = new QHBoxLayout(editorPanel_);
        lay->setContentsMargins(8, 2, 8, 2);
        for (const char* n : {"LabelLayout", "Label30", "Label3", "Label4"})
            lay->addWidget(MakeLabel(editorPanel_, n, QString()));
        lay->addStretch();
    }
    editorPanel_->hide();

    BuildStatusLine();

    hofBox_ = new PaintBox(client);
    hofBox_->setObjectName("HofBox");
    hofStrip_ = HallOfFameStrip(programDir_);
    hofBox_->SetPainter([this](QPainter& p, const QRect& r) {
        if (hofPainter_) {
            hofPainter_(p, r);
            return;
        }
        // The strip picture repeats downwards.
        for (int y = 0; y < r.height(); y += std::max(1, hofStrip_.height()))
            p.drawImage(QRect(0, y, r.width(), hofStrip_.height()), hofStrip_);
        p.setPen(QColor(255, 232, 170));
        QFont f = font();
        f.setBold(true);
        f.setPixelSize(13);
        p.setFont(f);
        p.save();
        p.translate(r.width() / 2 + 5, r.height() / 2);
        p.rotate(-90);
        p.drawText(QRect(-r.height() / 2, -12, r.height(), 24), Qt::AlignCenter,
                   Tr("Hall of Fame"));
        p.restore();
    });
    hofBox_->hide();

    // The play area: everything between the bars.
    auto* area = new PaintBox(client);
    area->setObjectName("GameArea");
    gameArea_ = area;
    area->SetPainter([this](QPainter& p, const QRect& r) {
        if (!background_.isNull()) {
            p.drawPixmap(r.topLeft(), ScaledBackground(r.size()));
            return;
        }
        uint32_t bgr = static_cast<uint32_t>(settings_.GetInt("ColorBackground"));
        QColor c(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
        if (Option("CoolBackground")) {
            QLinearGradient g(r.topLeft(), r.bottomLeft());
            g.setColorAt(0, c.lighter(125));
            g.setColorAt(1, c.darker(150));
            p.fillRect(r, g);
        } else {
            p.fillRect(r, c);
        }
    });
    area->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(area, &QWidget::customContextMenuRequested, this, [this, area](const QPoint& pt) {
        if (session_.mode != kModeEditor && popup_)
            popup_->exec(area->mapToGlobal(pt));
    });

    game2_ = new PaintBox(area);
    game2_->setObjectName("Game2");
    game2_->SetPainter([this](QPainter& p, const QRect& r) {
        if (boardPainter_)
            boardPainter_(p, r);
        else if (!background_.isNull())
            p.drawPixmap(r.topLeft(), ScaledBackground(r.size()));
    });
    game2_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(game2_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pt) {
        if (session_.mode != kModeEditor && popup_)
            popup_->exec(game2_->mapToGlobal(pt));
    });
    game2_->hide();

    glPanel_ = new QWidget(area);
    glPanel_->setObjectName("GLPanel");
    glPanel_->setAutoFillBackground(true);
    glPanel_->setPalette(black);
    glPanel_->hide();

    sliderBox_ = new PaintBox(area);
    sliderBox_->setObjectName("SliderBox");
    sliderBox_->setFixedSize(320, 320);
    sliderBox_->hide();
    sliderNext_ = new PaintBox(area);
    sliderNext_->setObjectName("SliderNext");
    sliderNext_->setFixedSize(64, 144);
    sliderNext_->hide();
    hashiraBox_ = new PaintBox(area);
    hashiraBox_->setObjectName("HashiraBox");
    // The well picture (198 x 369) and the marble floor it stands on.
    hashiraBox_->setFixedSize(198, 392);
    hashiraBox_->hide();
    columnsPanel_ = new WallpaperPanel(area);
    columnsPanel_->setObjectName("ColumnsPanel");
    columnsPanel_->setFixedSize(97, 369);
    // The counters are dark on the welcome screen's paper, as readable as there.
    static_cast<WallpaperPanel*>(columnsPanel_)->SetWallpaper(WelcomeWallpaper(programDir_));
    static_cast<WallpaperPanel*>(columnsPanel_)->SetBorder(QColor(110, 80, 50));
    {
        // The next column, then score, tiles removed and level, each under its caption.
        auto* lay = new QVBoxLayout(columnsPanel_);
        lay->setContentsMargins(4, 6, 4, 6);
        lay->setSpacing(2);
        auto* caption = MakeLabel(columnsPanel_, "Label22", "Next");
        caption->setAlignment(Qt::AlignCenter);
        lay->addWidget(caption);
        auto* next = new PaintBox(columnsPanel_);
        next->setObjectName("NextPic");
        next->setFixedSize(38, 102);
        lay->addWidget(next, 0, Qt::AlignHCenter);
        for (auto [n, t, value] : {std::tuple{"Label23", "Score", "ColumnsScore"},
                                   std::tuple{"Label24", "Tiles removed", "BlocksRemoved"},
                                   std::tuple{"Label25", "Level", "Level"}}) {
            lay->addStretch();
            auto* l = MakeLabel(columnsPanel_, n, t);
            l->setAlignment(Qt::AlignCenter);
            l->setWordWrap(true);
            lay->addWidget(l);
            auto* v = MakeLabel(columnsPanel_, value, "0");
            v->setAlignment(Qt::AlignCenter);
            lay->addWidget(v);
        }
        lay->addStretch();
    }
    columnsPanel_->hide();

    scorePanel_ = new PaintBox(area);
    scorePanel_->setObjectName("ScorePanel");
    scorePanel_->setFixedSize(105, 65);
    QImage scorePicture = ScorePanelPicture(programDir_);
    static_cast<PaintBox*>(scorePanel_)->SetPainter([scorePicture](QPainter& p, const QRect& r) {
        if (!scorePicture.isNull()) {
            p.drawImage(r, scorePicture);
            return;
        }
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, QColor(250, 240, 210));
        g.setColorAt(1, QColor(214, 190, 140));
        p.setPen(QColor(120, 80, 40));
        p.setBrush(g);
        p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    });
    {
        auto* lay = new QVBoxLayout(scorePanel_);
        lay->setContentsMargins(4, 4, 4, 4);
        auto* caption = MakeLabel(scorePanel_, "ScoreCaption", "Score");
        caption->setAlignment(Qt::AlignCenter);
        auto* value = MakeLabel(scorePanel_, "SliderScore", "0");
        value->setAlignment(Qt::AlignCenter);
        QFont vf = value->font();
        vf.setPixelSize(22);
        vf.setBold(true);
        value->setFont(vf);
        lay->addWidget(caption);
        lay->addWidget(value);
    }
    scorePanel_->hide();

    volumePanel_ = new WallpaperPanel(area);
    volumePanel_->setObjectName("VolumePanel");
    volumePanel_->setFixedSize(89, 185);
    volumePanel_->setAutoFillBackground(true);
    static_cast<WallpaperPanel*>(volumePanel_)->SetBorder(QColor(120, 100, 80));
    {
        auto* grid = new QHBoxLayout(volumePanel_);
        grid->setContentsMargins(6, 6, 6, 6);
        for (auto [label, name, value] :
             {std::tuple{"Label8", "Midi", 255}, std::tuple{"Label9", "Wave", 0}}) {
            auto* col = new QVBoxLayout;
            auto* slider = new QSlider(Qt::Vertical, volumePanel_);
            slider->setObjectName(QString(name) + "Trackbar");
            // The position counts down from the top, so that the loud end is up; the groove
            // is left unfilled, as a fill from the top would read as the quiet part.
            slider->setInvertedAppearance(true);
            QPalette plain = slider->palette();
            plain.setColor(QPalette::Highlight, plain.color(QPalette::Button));
            slider->setPalette(plain);
            slider->setRange(0, 255);
            slider->setValue(value);
            auto* l = MakeLabel(volumePanel_, label, name);
            l->setAlignment(Qt::AlignCenter);
            col->addWidget(slider, 1, Qt::AlignHCenter);
            col->addWidget(l);
            grid->addLayout(col);
        }
    }
    volumePanel_->hide();

    intro_ = new PaintBox(area);
    intro_->setObjectName("Intro");
    intro_->SetPainter([this](QPainter& p, const QRect& r) {
        if (introPicture_.isNull())
            return;
        // The part of the picture as large as the box that touches its top and right edges.
        int x = std::max(0, introPicture_.width() - r.width());
        p.drawImage(r.topLeft(), introPicture_, QRect(x, 0, r.width(), r.height()));
    });
    intro_->hide();

    BuildWelcome();
    BuildSplash();
}

void TMainForm::BuildToolbar() {
    auto* tools = new WallpaperPanel(centralWidget());
    tools->setObjectName("Tools");
    tools->setFixedHeight(33);
    toolbarWallpaper_ = ToolbarWallpaper(programDir_);
    logoWallpaper_ = WindowLogoWallpaper(programDir_);
    tools->SetStretch(false);
    tools_ = tools;
    auto* lay = new QHBoxLayout(tools);
    lay->setContentsMargins(2, 1, 2, 1);
    lay->setSpacing(1);
    for (const ToolDef& d : kTools) {
        auto* b = new QToolButton(tools);
        b->setObjectName(d.name);
        b->setText(d.caption);
        b->setToolTip(d.hint);
        b->setIcon(ToolbarIcon(programDir_, d.name));
        b->setIconSize(QSize(18, 18));
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFixedHeight(29);
        b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        QString handler = d.handler;
        connect(b, &QToolButton::clicked, this, [this, handler, b] { RunCommand(handler, b); });
        lay->addWidget(b);
        toolButtons_.append(b);
        if (QString(d.name) == "PauseButton")
            pauseButton_ = b;
        if (QString(d.name) == "Set3D")
            set3DButton_ = b;
    }
    auto* config = new QToolButton(tools);
    config->setObjectName("ConfigButton");
    config->setText("Config");
    config->hide();
    lay->addStretch();
}

void TMainForm::BuildStatusLine() {
    auto* line = new QWidget(centralWidget());
    line->setObjectName("LigneStatus");
    line->setFixedHeight(25);
    line->setAutoFillBackground(true);
    QPalette linePal = line->palette();
    linePal.setColor(QPalette::Window, QColor(236, 230, 216));
    linePal.setColor(QPalette::WindowText, Qt::black);
    line->setPalette(linePal);
    ligneStatus_ = line;
    auto* lay = new QHBoxLayout(line);
    lay->setContentsMargins(3, 2, 3, 2);
    lay->setSpacing(3);
    auto field = [line](const char* name, int width) {
        auto* l = new QLabel(line);
        l->setObjectName(name);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        l->setAlignment(Qt::AlignCenter);
        l->setAutoFillBackground(true);
        QPalette pal = l->palette();
        pal.setColor(QPalette::Window, QColor(255, 253, 246));
        l->setPalette(pal);
        if (width > 0)
            l->setFixedWidth(width);
        return l;
    };
    auto caption = [line](const char* name, const char* text) {
        auto* l = new ClickLabel(text, line);
        l->setObjectName(name);
        l->setAlignment(Qt::AlignCenter);
        l->setContentsMargins(4, 0, 2, 0);
        return l;
    };
    auto* tilesCap = caption("TilesLeftPanel", "Tiles");
    tilesLeftLine_ = field("TilesLeftLine", 44);
    auto* movesCap = caption("MovesLeftPanel", "Moves left");
    movesLeftLine_ = field("MovesLeftLine", 44);
    auto* timeCap = caption("TimePanel", "Time");
    timeLine_ = field("TimeLine", 56);
    auto* statusCap = caption("StatusPanel", "Status");
    statusText_ = field("StatusText", 0);
    statusText_->setProperty("codeText", true); // the program's messages, translated as shown
    statusText_->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    statusText_->setContentsMargins(4, 0, 4, 0);
    movesCap->setCursor(Qt::PointingHandCursor);
    timeCap->setCursor(Qt::PointingHandCursor);
    movesCap->setToolTip(Item("Moves")->text().remove('&'));
    timeCap->setToolTip(Item("ShowTime")->text().remove('&'));
    connect(movesCap, &ClickLabel::clicked, this, [this] { Item("Moves")->trigger(); });
    connect(timeCap, &ClickLabel::clicked, this, [this] { Item("ShowTime")->trigger(); });
    for (QWidget* w : std::initializer_list<QWidget*>{
             tilesCap, tilesLeftLine_, movesCap, movesLeftLine_, timeCap, timeLine_, statusCap})
        lay->addWidget(w);
    lay->addWidget(statusText_, 1);

    loadingBar_ = new QProgressBar(statusText_);
    loadingBar_->setObjectName("LoadingBar");
    loadingBar_->setRange(0, 42);
    loadingBar_->setTextVisible(false);
    auto* barLay = new QHBoxLayout(statusText_);
    barLay->setContentsMargins(2, 2, 2, 2);
    barLay->addWidget(loadingBar_);
    loadingBar_->hide();
}

void TMainForm::BuildWelcome() {
    auto* w = new WallpaperPanel(gameArea_);
    w->setObjectName("Welcome");
    w->setFixedSize(505, 401);
    w->SetWallpaper(WelcomeWallpaper(programDir_));
    w->SetBorder(QColor(110, 80, 50));
    w->setStyleSheet(
        "QPushButton { border: 1px solid #8c6a3c; border-radius: 4px; padding: 1px 2px;"
        " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fffdf6, stop:1 #eadcbc); }"
        "QPushButton:hover { border-color: #5a3a10;"
        " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #f6ead0); }"
        "QPushButton:pressed { background: #dcc8a0; }"
        "QPushButton:default { border: 2px solid #800000; }"
        "QToolButton { border: 2px solid #6e5032; border-radius: 3px; padding: 0px; }"
        "QToolButton:hover { border-color: #800000; }"
        "QToolButton:pressed { border-color: #000080; }");
    welcome_ = w;
    if (qEnvironmentVariableIsSet("TOVANI_REPORT_FIRST_PAINT")) {
        // Start-up measurement: the moment the welcome screen is first painted.
        w->SetFirstPaintCallback([] {
            timespec ts;
            clock_gettime(CLOCK_REALTIME, &ts);
            std::printf("first-paint %lld.%09ld\n", static_cast<long long>(ts.tv_sec), ts.tv_nsec);
            // The processor time spent so far, by this (the window's) thread and by all: what
            // the start costs on a quiet machine, whatever else the machine is doing now.
            timespec own, all;
            clock_gettime(CLOCK_THREAD_CPUTIME_ID, &own);
            clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &all);
            std::printf("first-paint-cpu %lld %lld\n",
                        static_cast<long long>(own.tv_sec) * 1000 + own.tv_nsec / 1000000,
                        static_cast<long long>(all.tv_sec) * 1000 + all.tv_nsec / 1000000);
            std::fflush(stdout);
        });
    }

    auto* l1 = MakeLabel(w, "Label1", "Welcome to");
    auto* l2 = MakeLabel(w, "Label2", "Tovani !");
    l1->setAttribute(Qt::WA_TransparentForMouseEvents);
    l2->setAttribute(Qt::WA_TransparentForMouseEvents);

    const int colX[3] = {13, 178, 343};
    const int rowY[2] = {46, 204};
    int index = 0;
    for (const WelcomeGame& g : WelcomeGames()) {
        int x = colX[index % 3], y = rowY[index / 3];
        auto* pic = new QToolButton(w);
        pic->setObjectName(g.picture);
        pic->setIcon(WelcomeIcon(programDir_, index + 1));
        pic->setIconSize(QSize(150, 100));
        pic->setGeometry(x - 2, y - 2, 154, 104);
        pic->setToolTip(g.hint);
        pic->setAutoRaise(true);
        pic->setFocusPolicy(Qt::NoFocus);
        pic->setCursor(hand21_);
        pic->setProperty("hint", QString(g.hint));
        pic->installEventFilter(this);
        QString handler = g.handler;
        connect(pic, &QToolButton::clicked, this,
                [this, handler, pic] { RunCommand(handler, pic); });

        int by = y + 104;
        for (const auto& row : g.rows) {
            int n = static_cast<int>(row.size());
            int bx = x;
            for (int i = 0; i < n; ++i) {
                const WelcomeButton& b = row[static_cast<size_t>(i)];
                auto* btn = new FittingButton(b.caption, w);
                btn->setObjectName(b.name);
                btn->setProperty("row", QVariant::fromValue(n));
                btn->setGeometry(bx, by, (150 - (n - 1) * 3) / n, 23);
                bx += btn->width() + 3;
                btn->setFocusPolicy(Qt::NoFocus);
                QString h = b.handler;
                connect(btn, &QPushButton::clicked, this, [this, h, btn] { RunCommand(h, btn); });
                if (QString(b.name) == "StartLevel")
                    startLevelButton_ = btn;
            }
            by += 26;
        }
        ++index;
    }

    description7_ = MakeLabel(w, "Label7", "Game Description...");
    description7_->setGeometry(8, 350, 489, 18);
    description7_->setAlignment(Qt::AlignCenter);
    sameGameButton_ = new QPushButton("Play Same Game Again", w);
    sameGameButton_->setObjectName("SameGameButton");
    sameGameButton_->setGeometry(102, 371, 300, 24);
    sameGameButton_->setFocusPolicy(Qt::NoFocus);
    connect(sameGameButton_, &QPushButton::clicked, this,
            [this] { RunCommand("NewGame", sameGameButton_); });
    sameGameButton_->hide();
    w->hide();
}

void TMainForm::BuildSplash() {
    auto* s = new QWidget(gameArea_);
    s->setObjectName("SplashPanel");
    s->setAutoFillBackground(true);
    QImage pic = SplashPicture(programDir_, kTitle.section(' ', 1));
    auto* picture = new PaintBox(s);
    picture->setObjectName("SplashPicture");
    picture->setGeometry(0, 0, pic.width(), pic.height());
    picture->SetPainter([pic](QPainter& p, const QRect&) { p.drawImage(0, 0, pic); });
    splashBar_ = new QProgressBar(s);
    splashBar_->setObjectName("SplashProgress");
    splashBar_->setRange(0, 121);
    splashBar_->setValue(0);
    splashBar_->setGeometry(0, pic.height(), pic.width(), 24);
    splashBar_->setFormat(QString());
    splashBar_->setAlignment(Qt::AlignCenter);
    s->setFixedSize(pic.width(), pic.height() + 24);
    splash_ = s;
}

// ---- Menus ------------------------------------------------------------------------------------

QMenu* TMainForm::BuildMenuFromTable(const std::vector<MenuRow>& rows, QMenu* into,
                                     QList<QAction*>* topLevel) {
    std::vector<QMenu*> stack(4, nullptr);
    QHash<int, QActionGroup*> groups;
    for (const MenuRow& row : rows) {
        QMenu* parentMenu = row.depth == 0 ? into : stack[static_cast<size_t>(row.depth - 1)];
        auto place = [&](QAction* a) {
            if (parentMenu)
                parentMenu->addAction(a);
            else if (topLevel)
                topLevel->append(a);
        };
        if (row.flags & kMenuSeparator) {
            auto* sep = new QAction(this);
            sep->setSeparator(true);
            if (*row.name) {
                sep->setObjectName(row.name);
                items_.insert(row.name, sep);
            }
            place(sep);
            continue;
        }
        if (row.flags & kMenuSubMenu) {
            auto* m = new QMenu(row.caption, this);
            m->setObjectName(row.name);
            menus_.insert(row.name, m);
            items_.insert(row.name, m->menuAction());
            stack[static_cast<size_t>(row.depth)] = m;
            place(m->menuAction());
            continue;
        }
        auto* a = new QAction(row.caption, this);
        a->setObjectName(row.name);
        if (*row.shortcut)
            a->setShortcut(QKeySequence(QString(row.shortcut), QKeySequence::PortableText));
        a->setCheckable(row.flags & (kMenuCheckable | kMenuRadio));
        if (row.flags & kMenuHidden)
            a->setVisible(false);
        if (row.flags & kMenuRadio) {
            QActionGroup*& g = groups[row.group];
            if (!g) {
                g = new QActionGroup(this);
                g->setExclusive(true);
            }
            g->addAction(a);
        }
        a->setProperty("tag", row.tag);
        QString handler = row.handler;
        a->setProperty("handler", handler);
        connect(a, &QAction::triggered, this, [this, handler, a] { RunCommand(handler, a); });
        items_.insert(row.name, a);
        place(a);
    }
    return into;
}

void TMainForm::BuildMenus() {
    menuBar()->setObjectName("VO");
    BuildMenuFromTable(MainMenuTable(), nullptr, &mainTop_);

    popup_ = new QMenu(this);
    popup_->setObjectName("Popup");
    BuildMenuFromTable(PopupMenuTable(), popup_, nullptr);
    popupSeparator_ = items_.value("PopupMenuSeparator");
    popupSeparator_->setVisible(false);

    startLevelMenu_ = new QMenu(this);
    startLevelMenu_->setObjectName("StartLevelMenu");
    BuildMenuFromTable(StartLevelMenuTable(), startLevelMenu_, nullptr);

    auto* editor = new QMenu(this);
    editor->setObjectName("EditorMenu");
    menus_.insert("EditorMenu", editor);
    BuildMenuFromTable(EditorMenuTable(), nullptr, &editorTop_);
    for (QAction* a : editorTop_)
        editor->addAction(a);
}

void TMainForm::ApplyDefaultChecks() {
    // Check marks as built: the defaults of the settings.
    Settings defaults;
    for (const SettingKey& k : Settings::Table())
        if (k.item && k.kind == SettingKind::Bool)
            if (QAction* a = Item(k.item))
                a->setChecked(defaults.Default(k) != 0);
    Item("Highlight4")->setChecked(true);
    Item("ShowFave")->setChecked(true);
    Item("NormalBack3D")->setChecked(true);
    Item("N256x256texture1")->setChecked(true);
    Item("FollowMouseSlow")->setChecked(true);
    Item("AniNormal")->setChecked(true);
    Item("AniUnion")->setChecked(true);
    Item("SlowFall")->setChecked(true);
    Item("StartatLevel11")->setChecked(true);
}

} // namespace tovani
