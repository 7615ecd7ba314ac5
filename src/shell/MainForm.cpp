// The main window: construction and launch, the command dispatch, the areas' painters, and the
// window's text style.
#include "shell/MainForm.h"
#include "shell/ThreadTimer.h"

#include "core/Files.h"
#include "shell/Language.h"
#include "shell/MenuTable.h"
#include "shell/ShellPictures.h"
#include "shell/ShellWidgets.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
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

const QString kCaption = QStringLiteral("Tovani 10.21 ");

const QColor kNavy(0, 0, 128);
const QColor kMaroon(128, 0, 0);
const QColor kPurple(128, 0, 128);

void SetTextColor(QWidget* w, const QColor& c) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, c);
    pal.setColor(QPalette::ButtonText, c);
    pal.setColor(QPalette::Text, c);
    w->setPalette(pal);
}

} // namespace

// ---- Construction -----------------------------------------------------------------------------

TMainForm::TMainForm(MainFormOptions options, QWidget* parent)
    : QMainWindow(parent), options_(std::move(options)),
      clock_(options_.clock ? options_.clock : &systemClock_), session_(*clock_) {
    Launch();
}

TMainForm::~TMainForm() {
    qApp->removeEventFilter(this);
    if (timerColumns_)
        timerColumns_->SetEnabled(false);
    games_.fill(nullptr);
}

void TMainForm::Launch() {
    setObjectName("MainForm");
    initialised_ = false;
    firstShowPending_ = true;
    setWindowTitle(kCaption);
    QFont f("Arial");
    f.setPixelSize(13);
    setFont(f);
    resize(832, 630);
    move(192, 110);

    programDir_ = options_.programDir.isEmpty() ? QString::fromStdString(ContentDirectory())
                                                : options_.programDir;
    if (!programDir_.endsWith('/'))
        programDir_ += '/';
    QDir::setCurrent(programDir_);
    // An installed program reads its content from <prefix>/share/tovani and never writes there,
    // even when the player could: the player's files go to the data folder.
    if (options_.programDir.isEmpty() && !options_.programDirWritable &&
        programDir_.toStdString() != ExecutableDirectory())
        options_.programDirWritable = false;
    {
        const std::string program = programDir_.toStdString();
        if (!options_.programDirWritable && options_.dataHome.isEmpty()) {
            userDir_ = QString::fromStdString(UserFilesDirectory(program));
        } else {
            const char* home = std::getenv("HOME");
            const std::string dataHome =
                options_.dataHome.isEmpty()
                    ? std::string(std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "")
                    : options_.dataHome.toStdString();
            userDir_ = QString::fromStdString(UserFilesDirectory(
                program, options_.programDirWritable.value_or(DirectoryWritable(program)), dataHome,
                home ? home : ""));
        }
        if (userDir_ != programDir_)
            QDir().mkpath(userDir_);
    }

    hand21_ = HandCursor(programDir_, 21);
    hand22_ = HandCursor(programDir_, 22);
    BuildMenus();
    BuildAreas();
    RegisterShellHandlers();
    BuildLanguage();
    ApplyDefaultChecks();
    SetTextStyle();
    SetMenu(MenuSet::Main);
    IM(kModeNoGame); // nothing to play yet: the game commands start disabled

    // The intro picture stands in front while the program starts.
    if (auto keshiki =
            FindNoCase(JoinPath(programDir_.toStdString(), "Backgrounds"), "Keshiki.jpg")) {
        // Only the corner the box can show is decoded: the box is never wider or taller than
        // the screen, and shows the picture's top right.
        QImageReader reader(QString::fromStdString(*keshiki));
        const QSize whole = reader.size();
        const QScreen* screen = QGuiApplication::primaryScreen();
        if (screen && whole.isValid()) {
            const QSize shown = whole.boundedTo(screen->size());
            reader.setClipRect(QRect(QPoint(whole.width() - shown.width(), 0), shown));
        }
        introPicture_ = reader.read();
        if (!introPicture_.isNull()) {
            intro_->show();
            intro_->raise();
        }
    }
    PlaceSplash();
    splash_->show();
    splash_->raise();

    qApp->installEventFilter(this);
    timerClassic_ = new QTimer(this);
    timerClassic_->setObjectName("TimerClassic");
    timerClassic_->setInterval(50);
    connect(timerClassic_, &QTimer::timeout, this, &TMainForm::Temps);
    if (options_.startTimers)
        timerClassic_->start();
}


// ---- Command dispatch -------------------------------------------------------------------------

void TMainForm::SetHandler(const QString& command, Handler handler) {
    if (handler)
        handlers_.insert(command, std::move(handler));
    else
        handlers_.remove(command);
}

bool TMainForm::HasHandler(const QString& command) const {
    return handlers_.contains(command);
}

void TMainForm::RunCommand(const QString& command, QObject* sender) {
    if (auto own = builtins_.constFind(command); own != builtins_.constEnd())
        (*own)(sender);
    auto it = handlers_.constFind(command);
    if (it != handlers_.constEnd() && *it)
        (*it)(sender);
}

QAction* TMainForm::Item(const QString& name) const {
    return items_.value(name, nullptr);
}

bool TMainForm::Option(const QString& name) const {
    QAction* a = Item(name);
    return a && a->isChecked();
}

void TMainForm::SetOption(const QString& name, bool on) {
    if (QAction* a = Item(name))
        a->setChecked(on);
}

void TMainForm::SetTranslator(std::function<QString(const QString&)> translator) {
    translator_ = std::move(translator);
}

QString TMainForm::Tr(const QString& text) const {
    if (translator_)
        return translator_(text);
    return language_ ? language_->Message(text) : text;
}

QMenuBar* TMainForm::MainMenuBar() const {
    return const_cast<TMainForm*>(this)->menuBar();
}

QMenu* TMainForm::TopMenu(const QString& name) const {
    return menus_.value(name, nullptr);
}

QWidget* TMainForm::Game2() const {
    return game2_;
}
QWidget* TMainForm::HofBox() const {
    return hofBox_;
}

QWidget* TMainForm::Area(const QString& name) const {
    return findChild<QWidget*>(name);
}

void TMainForm::EnableCommand(const QString& name, bool on) {
    if (QAction* a = Item(name))
        a->setEnabled(on);
    else if (QWidget* w = Area(name))
        w->setEnabled(on);
}

QCursor TMainForm::Cursor(int number) const {
    return number == 22 ? hand22_ : hand21_;
}

void TMainForm::SetHallOfFamePainter(std::function<void(QPainter&, const QRect&)> painter) {
    hofPainter_ = std::move(painter);
    RedrawHallOfFame();
}

void TMainForm::SetBoardPainter(std::function<void(QPainter&, const QRect&)> painter) {
    boardPainter_ = std::move(painter);
    game2_->update();
}

void TMainForm::RedrawHallOfFame() {
    hofBox_->update();
}

void TMainForm::SetPlayAreaBackground(const QImage& picture) {
    background_ = picture;
    ShowFond();
}

const QPixmap& TMainForm::ScaledBackground(const QSize& size) {
    // The picture is stretched over the play area once per size, not at every paint.
    if (scaledBackground_.size() != size || scaledBackgroundKey_ != background_.cacheKey()) {
        scaledBackground_ = QPixmap::fromImage(
            background_.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        scaledBackgroundKey_ = background_.cacheKey();
    }
    return scaledBackground_;
}

void TMainForm::ShowFond() {
    gameArea_->update();
    game2_->update();
}

// ---- Text styles ------------------------------------------------------------------------------

void TMainForm::SetTextStyle() {
    QFont base = font();
    QFont bold = base;
    bold.setBold(true);
    for (QToolButton* b : toolButtons_) {
        b->setFont(bold);
        static const QStringList navy = {"ExplorerButton1", "ExplorerButton2", "ExplorerButton3",
                                         "ShuffleButton", "PauseButton"};
        SetTextColor(b, navy.contains(b->objectName()) ? kNavy : kMaroon);
    }
    for (QPushButton* b : welcome_->findChildren<QPushButton*>())
        b->setFont(base);
    QFont boldItalic = bold;
    boldItalic.setItalic(true);
    sameGameButton_->setFont(boldItalic);
    if (auto* classic = welcome_->findChild<QPushButton*>("BitBtn1"))
        classic->setFont(bold);
    for (auto [name, color] : {std::pair{"Label22", kMaroon}, std::pair{"Label25", kMaroon},
                               std::pair{"Label23", kNavy}, std::pair{"Label24", kPurple},
                               std::pair{"ColumnsScore", kNavy}, std::pair{"BlocksRemoved", kPurple},
                               std::pair{"Level", kMaroon}}) {
        auto* l = columnsPanel_->findChild<QLabel*>(name);
        l->setFont(bold);
        SetTextColor(l, color);
    }
    QFont statusFont("Arial");
    statusFont.setPointSize(10);
    statusFont.setBold(true);
    for (const char* n : {"TilesLeftPanel", "MovesLeftPanel", "TimePanel", "StatusPanel"})
        ligneStatus_->findChild<QLabel*>(n)->setFont(statusFont);
    QFont valueFont("Arial");
    valueFont.setPixelSize(base.pixelSize() > 0 ? base.pixelSize() : 13);
    for (QLabel* l : {tilesLeftLine_, movesLeftLine_, timeLine_})
        l->setFont(valueFont);
    QFont statusTextFont = valueFont;
    statusTextFont.setBold(true);
    statusText_->setFont(statusTextFont);

    QFont title = base;
    title.setPointSize(20);
    title.setBold(true);
    title.setItalic(true);
    auto* l1 = welcome_->findChild<QLabel*>("Label1");
    auto* l2 = welcome_->findChild<QLabel*>("Label2");
    l1->setFont(title);
    l2->setFont(title);
    SetTextColor(l1, kMaroon);
    SetTextColor(l2, kNavy);
    for (QLabel* l : editorPanel_->findChildren<QLabel*>()) {
        l->setFont(bold);
        SetTextColor(l, kMaroon);
    }
    UpdateScreenText();
}

void TMainForm::UpdateScreenText() {
    // "Welcome to" and "Tovani !" make one line, centred across the welcome panel.
    auto* l1 = welcome_->findChild<QLabel*>("Label1");
    auto* l2 = welcome_->findChild<QLabel*>("Label2");
    l1->adjustSize();
    l2->adjustSize();
    int gap = l1->fontMetrics().horizontalAdvance(' ');
    int total = l1->width() + gap + l2->width();
    int x = (welcome_->width() - total) / 2;
    int h = std::max(l1->height(), l2->height());
    l1->move(x, 6 + (40 - h) / 2);
    l2->move(x + l1->width() + gap, 6 + (40 - h) / 2);
    description7_->setGeometry(8, 350, welcome_->width() - 16, 18);
    description7_->setAlignment(Qt::AlignCenter);
    // The variant buttons of a row share its 150 pixels by the length of their captions.
    QMap<int, QList<QPushButton*>> rows;
    for (QPushButton* b : welcome_->findChildren<QPushButton*>())
        if (b->property("row").isValid())
            rows[b->y() * 1000 + (b->x() < 170 ? 0 : b->x() < 335 ? 1 : 2)].append(b);
    for (auto& row : rows) {
        std::sort(row.begin(), row.end(),
                  [](QPushButton* a, QPushButton* b) { return a->x() < b->x(); });
        int left = row.front()->x() < 170 ? 13 : row.front()->x() < 335 ? 178 : 343;
        int space = 150 - 3 * (static_cast<int>(row.size()) - 1), need = 0;
        for (QPushButton* b : row)
            need += b->fontMetrics().horizontalAdvance(b->text()) + 8;
        int extra = std::max(0, space - need) / static_cast<int>(row.size());
        int bx = left;
        for (int i = 0; i < row.size(); ++i) {
            QPushButton* b = row[i];
            int bw = b->fontMetrics().horizontalAdvance(b->text()) + 8 + extra;
            if (i == row.size() - 1)
                bw = left + 150 - bx;
            b->setGeometry(bx, b->y(), bw, b->height());
            bx += bw + 3;
        }
    }
    if (!closing_)
        SetMenu(currentMenu_);
    RedrawHallOfFame();
}

} // namespace tovani
