#include "play/HallKeeper.h"

#include "core/TextKey.h"
#include "dialogs/GameOverForm.h"
#include "dialogs/HallWindow.h"
#include "play/Game.h"
#include "play/GameServices.h"
#include "resources/Resources.h"
#include "shell/FileProblems.h"
#include "shell/MainForm.h"

#include <QAction>
#include <QDate>
#include <QLabel>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cstdio>

namespace tovani {

namespace {

QString MinutesSeconds(int64_t seconds) {
    return QString::fromStdString(HallOfFame::FormatTime(seconds));
}

// The current player's name. The name every player starts with is said in the player's
// language until the player gives another.
std::string CurrentPlayer(GameServices& services) {
    const std::string name = services.Form().Prefs().GetString("CurrentPlayer1");
    return name == "Player1" ? services.Tr(TrKey("Player1")).toStdString() : name;
}

bool IsSlider(int board) {
    return board == 1030 || board == 1031;
}
bool IsHashira(int board) {
    return board == 1040;
}
bool IsClicks(int board) {
    return board >= 1020 && board <= 1022;
}

} // namespace

GameResult TimedResult(const GameSession& s, int tilesRemoved) {
    GameResult r;
    r.kind = GameResult::Kind::Time;
    r.board = s.boardNumber;
    r.result = s.elapsedSeconds;
    r.penalty = s.penaltySeconds;
    r.tilesRemoved = tilesRemoved;
    return r;
}

namespace {

// The result of a game whose mode has no game of its own: read from the session by board.
GameResult SessionResult(const GameSession& s) {
    GameResult r = TimedResult(s, s.matchCounter);
    if (IsSlider(r.board) || IsHashira(r.board) || (IsClicks(r.board) && s.elapsedSeconds > 0))
        r.kind = GameResult::Kind::Score;
    else if (IsClicks(r.board))
        r.kind = GameResult::Kind::ReachedTop;
    return r;
}

} // namespace

HallKeeper::HallKeeper(GameServices& services) : services_(services) {
    setObjectName("HallKeeper");
    hofPicture_ = ProgramPicture("HofPic");
    TMainForm& form = services_.Form();
    auto hook = [&form](const char* name, std::function<void(QObject*)> fn) {
        form.SetHandler(name, std::move(fn));
    };
    hook("GameOver", [this](QObject*) { GameOver(); });
    hook("ShowScores", [this](QObject*) { ShowScores(); });
    hook("ShowHallPanel", [this](QObject*) { ShowPanelHOF(); });
    hook("EnableHallClick", [](QObject*) {}); // the option is read at the end of a game
    hook("ReadHallOfFame", [this](QObject*) { ReadHallOfFame(); });
    hook("WriteHallOfFame", [this](QObject*) { WriteHallOfFame(); });
    hook("ClearHallOfFameHighlight", [this](QObject*) { ClearHallHighlight(); });
    form.SetHallOfFamePainter([this](QPainter& p, const QRect& r) { PaintHallOfFame(p, r); });
}

HallKeeper::~HallKeeper() {
    TMainForm& form = services_.Form();
    for (const char* h : {"GameOver", "ShowScores", "ShowHallPanel", "EnableHallClick",
                          "ReadHallOfFame", "WriteHallOfFame", "ClearHallOfFameHighlight"})
        form.SetHandler(h, nullptr);
    form.SetHallOfFamePainter({});
}

void HallKeeper::ClearHallHighlight() {
    if (lastHallRank_ != 0) {
        lastHallRank_ = 0;
        services_.Form().RedrawHallOfFame();
    }
}

// ---- The end of a game ------------------------------------------------------------------------

void HallKeeper::ScoredGameOver(int tilesLeft, int score,
                                const std::function<void()>& showFinalField) {
    GameSession& s = services_.Form().Session();
    if (s.gameOver || inGameOver_)
        return;
    s.tilesLeft = tilesLeft;
    s.elapsedSeconds = score;
    s.gameOver = true;
    if (showFinalField)
        showFinalField();
    GameOver();
}

void HallKeeper::GameOver() {
    if (inGameOver_)
        return;
    TMainForm& form = services_.Form();
    GameSession& s = form.Session();
    const int mode = form.GameMode();
    Game* game = form.GameOf(mode);
    struct Guard {
        bool& flag;
        ~Guard() { flag = false; }
    } guard{inGameOver_};
    inGameOver_ = true;
    // 1.
    if (QWidget* game2 = form.Game2())
        game2->unsetCursor();
    if (mode != kModeClicks && mode != kModeSlider)
        form.ShowFond();
    auto toWelcome = [&] {
        form.IM(kModeWelcome);
        s.modeBeforePause = kModeWelcome;
        form.RedrawHallOfFame();
    };
    QPixmap girl = QPixmap::fromImage(GirlPicture(3 * int(services_.Rng().Random(4)) + 1));
    auto translateLabels = [this](GameOverForm& dialog) {
        for (QLabel* l : {dialog.Label1(), dialog.Label2(), dialog.EnterFame()})
            l->setText(services_.Tr(l->text()));
    };
    if (mode == kModeTwoPlayers) {
        // 2.
        s.won = true;
        if (game)
            game->Leave();
        const GameResult result = game ? game->Result() : GameResult{};
        form.WriteScore();
        form.IM(kModeGameOver);
        QString text = services_.Tr(result.winner == 2   ? "And the winner is... PLAYER 2 !"
                                    : result.winner == 0 ? "Same score for both players !"
                                                         : "And the winner is... PLAYER 1 !");
        // Both times, so the players see by how much.
        text += "\n" + services_.Tr("PLAYER 1") + "  " + MinutesSeconds(result.playerMs[0] / 1000) +
                "   " + services_.Tr("PLAYER 2") + "  " + MinutesSeconds(result.playerMs[1] / 1000);
        GameOverForm dialog(form.PlayAreaBackground(), girl, &form);
        dialog.FinalTime()->setText(text);
        lastGameOver_ = {text, false, true};
        translateLabels(dialog);
        services_.RunDialog(dialog);
        toWelcome();
        return;
    }
    // 3.
    if (!s.gameOver || s.won) {
        toWelcome();
        return;
    }
    s.won = true;
    const int board = s.boardNumber;
    if (IsClicks(board) && s.tilesLeft == 0)
        s.elapsedSeconds = 0;
    // 4. What still moves comes to its end first.
    if (game)
        game->FinishAnimations();
    // 5.
    form.WriteScore();
    form.IM(kModeGameOver);
    // 6.
    GameResult result = game ? game->Result() : SessionResult(s);
    result.board = board;
    const bool scoreGame = IsSlider(board) || IsHashira(board);
    QString text;
    switch (result.kind) {
    case GameResult::Kind::Score:
        text = services_.Tr("Your final score is %1").arg(result.result);
        break;
    case GameResult::Kind::ReachedTop:
        text = services_.Tr("You reached the top ! Great !");
        break;
    default:
        text = services_.Tr("Your final time is %1")
                   .arg(MinutesSeconds(result.result + result.penalty));
        break;
    }
    // The Demo's game is not the player's: no congratulations, no hall of fame.
    if (result.byDemo)
        text = services_.Tr("The Demo cleared the board in %1")
                   .arg(MinutesSeconds(result.result + result.penalty));
    // The Columns table keeps hundreds of points; score tables keep no penalty.
    if (IsHashira(board))
        result.result /= 100;
    if (scoreGame || result.kind == GameResult::Kind::Score)
        result.penalty = 0;
    const int64_t total = result.result + result.penalty;
    // 7.
    const bool enabled = form.Option("EnableHall") && result.entersHall;
    const bool qualifies = hall_.Qualifies(board, total, enabled);
    {
        GameOverForm dialog(form.PlayAreaBackground(), girl, &form);
        translateLabels(dialog);
        if (scoreGame) {
            dialog.Label1()->setText("   " + services_.Tr("Game Over !"));
            dialog.Label2()->setText("");
        } else if (result.byDemo) {
            dialog.Label1()->setText(services_.Tr("Demo"));
            dialog.Label2()->setText(services_.Tr("The Demo played this board to its end."));
        }
        dialog.FinalTime()->setText(text);
        dialog.EnterFame()->setVisible(qualifies && !(scoreGame && s.elapsedSeconds == 0));
        lastGameOver_ = {text, dialog.EnterFame()->isVisibleTo(&dialog), true};
        services_.RunDialog(dialog);
    }
    // 8.
    if (scoreGame && s.elapsedSeconds == 0) {
        toWelcome();
        return;
    }
    if (qualifies) {
        HallOfFame::Result r;
        r.board = board;
        r.total = total;
        r.penalty = result.penalty;
        r.tilesRemoved = result.tilesRemoved; // the games count the tiles they removed here
        r.onePlayerSolitaire = board < 1000 && mode == kModeSolitaire;
        r.player = CurrentPlayer(services_);
        const QDate today = QDate::currentDate();
        r.date = HallOfFame::FormatDate(today.day(), today.month(), today.year());
        if (IsSlider(board))
            s.penaltySeconds = static_cast<int>(s.elapsedSeconds / 10000);
        int rank = hall_.AddHall(r);
        if (rank > 0) {
            lastHallRank_ = rank;
            WriteHallOfFame(); // an entry is never lost to a crash afterwards
        }
        ShowPanelHOF();
        int launch = 0, chosen = board;
        RunHallWindow(board, true, launch, chosen);
        if (launch == HallWindow::kLaunch)
            s.boardNumber = chosen;
        // The name of the new entry may have changed in the dialog.
        WriteHallOfFame();
        hallWritePending_ = false;
        ShowPanelHOF();
        if (launch == HallWindow::kLaunch) {
            inGameOver_ = false;
            LaunchBoard(s.boardNumber);
            return;
        }
    }
    // 9.
    toWelcome();
}

void HallKeeper::RunHallWindow(int board, bool entryPending, int& launch, int& chosen) {
    TMainForm& form = services_.Form();
    HallWindow::Context ctx;
    ctx.hall = &hall_;
    ctx.boardNumber = board;
    ctx.lastHallRank = lastHallRank_;
    ctx.entryPending = entryPending;
    ctx.playerName = CurrentPlayer(services_);
    ctx.translate = [this](const QString& t) { return services_.Tr(t); };
    ctx.setVozedo = [&form](bool on) {
        form.SettingsFile().WriteBool("Tovani", "Vozedo", on);
        form.SettingsFile().UpdateFile();
    };
    ctx.redrawPanel = [this] { ShowPanelHOF(); };
    ctx.confirmReset = [this](const QString& text) {
        bool ok = services_.Ask(services_.Tr("Please confirm"), text);
        hallWritePending_ = hallWritePending_ || ok;
        return ok;
    };
    HallWindow hallWindow(ctx, form.PlayAreaBackground(), &form);
    launch = services_.RunDialog(hallWindow);
    form.Prefs().SetString("CurrentPlayer1", hallWindow.PlayerName());
    chosen = hallWindow.BoardNumber();
}

void HallKeeper::LaunchBoard(int board) {
    TMainForm& form = services_.Form();
    form.Session().boardNumber = board;
    if (board >= 1000) {
        form.NewGame(nullptr);
        return;
    }
    if (QAction* a = form.LayoutItem(board))
        a->trigger(); // reloads the layout and deals a new game on it
}

// ---- The hall of fame -------------------------------------------------------------------------

QString HallKeeper::HallFilePath() const {
    return services_.Form().UserDirectory() + "Hallfame.ini";
}

void HallKeeper::ReadHallOfFame() {
    std::vector<std::string> names;
    for (const LayoutEntry& e : services_.Form().Layouts().Entries())
        names.push_back(e.name);
    hall_.SetLayouts(std::move(names));
    hallFile_ = IniFile(HallFilePath().toStdString());
    if (hallFile_.Kept())
        services_.Form().AddStartupProblem(KeptFileMessage(services_.Form(), hallFile_));
    hall_.Read(hallFile_);
    hallRead_ = true;
}

bool HallKeeper::WriteHallOfFame() {
    if (!hallRead_)
        return true; // nothing was read: the file stays as it is
    hallFile_.SetFileName(HallFilePath().toStdString());
    hall_.Write(hallFile_);
    if (hallFile_.UpdateFile())
        return true;
    const QString why = QString::fromStdString(hallFile_.WriteError());
    std::fprintf(stderr, "tovani: %s\n", why.toUtf8().constData());
    // The player is told as for the settings file: a lost score is not a quiet matter.
    services_.Inform("Tovani", why);
    return false;
}

void HallKeeper::ShowScores() {
    TMainForm& form = services_.Form();
    GameSession& s = form.Session();
    form.CheckPause();
    int launch = 0, chosen = s.boardNumber;
    RunHallWindow(s.boardNumber, false, launch, chosen);
    if (hallWritePending_) {
        WriteHallOfFame(); // a reset is written at once
        hallWritePending_ = false;
        form.RunCommand("FullRedraw");
    }
    form.UnCheckPause();
    ShowPanelHOF();
    if (launch == HallWindow::kLaunch)
        LaunchBoard(chosen);
}

void HallKeeper::ShowPanelHOF() {
    if (hallWritePending_) {
        WriteHallOfFame();
        hallWritePending_ = false;
    }
    services_.Form().RedrawHallOfFame();
}

bool HallKeeper::Vozedo() const {
    return services_.Form().SettingsFile().ReadBool("Tovani", "Vozedo", false);
}

QImage HallKeeper::GirlPicture(int index) {
    if (girls_.empty()) {
        girls_.resize(19);
        for (int i = 1; i <= 18; ++i)
            girls_[static_cast<size_t>(i)] =
                ProgramPicture(QString("Girl%1").arg(i, 2, 10, QChar('0')));
    }
    if (index < 1 || index > 18)
        return {};
    return girls_[static_cast<size_t>(index)];
}

int HallKeeper::GirlIndex() {
    const TMainForm& form = services_.Form();
    const GameSession& s = services_.Form().Session();
    int mode = form.GameMode();
    if (mode == kModePaused)
        mode = s.modeBeforePause;
    if (Vozedo()) {
        if (mode == kModeRivers || mode == kModeMemory)
            return 15;
        if (mode == kModeSolitaire || mode == kModeSlider)
            return 14;
        if (mode == kModeClicks || mode == kModeHashira)
            return 13;
        return 12;
    }
    const int left = s.tilesLeft, total = std::max(1, s.tilesTotal);
    const int time = s.elapsedSeconds + s.penaltySeconds;
    switch (mode) {
    case kModeHashira:
        return 16 + hashiraGirl_;
    case kModeSlider:
        return left < 30 ? 10 : left <= 60 ? 9 : 11;
    case kModeClicks: {
        if (left == 0)
            return 3;
        const double ratio = double(s.movesAvailable) / left;
        return ratio < 7.0 / total ? 5 : ratio < 25.0 / total ? 3 : 4;
    }
    case kModeMemory:
        return time < 61 ? 7 : time < 121 ? 6 : 8;
    case kModeRivers:
        return time < 121 ? 7 : time < 241 ? 6 : 8;
    case kModeSolitaire: {
        if (left == 0)
            return 9;
        // The moves left as the last 50 ms count found them.
        const double ratio = double(s.movesAvailable) / left;
        return ratio < 3.0 / total ? 11 : ratio <= 7.0 / total ? 9 : 10;
    }
    default:
        return 1;
    }
}

void HallKeeper::PaintHallOfFame(QPainter& p, const QRect& r) {
    ++stripPaints_;
    const int height = r.height();
    // The strip's picture, repeated downwards up to four times.
    if (hofPicture_.isNull()) {
        p.fillRect(r, QColor(40, 24, 16));
    } else {
        for (int i = 0, y = 0; i < 4 && y < height; ++i, y += hofPicture_.height())
            p.drawImage(QPoint(0, y), hofPicture_);
        if (4 * hofPicture_.height() < height)
            p.fillRect(QRect(0, 4 * hofPicture_.height(), r.width(), height), QColor(40, 24, 16));
    }
    const GameSession& s = services_.Form().Session();
    int mode = services_.Form().GameMode();
    const bool showTile = services_.Form().Option("ShowCurrentTile");
    int t;
    if (services_.Form().Option("ShowGirls") && mode != kModeTwoPlayers &&
        !(showTile && mode == kModeSolitaire))
        t = 90;
    else if (mode == kModeTwoPlayers)
        t = 20;
    else if (showTile)
        t = 10;
    else
        t = -20;
    if (height >= 568)
        t = 30;
    else if (height < 468)
        t = 92;

    auto textAt = [&p](int x, int y, const QString& text) {
        p.drawText(x, y + p.fontMetrics().ascent(), text);
    };
    if (t < 90) {
        QFont title("Comic Sans MS");
        title.setPointSize(10);
        title.setBold(true);
        p.setFont(title);
        p.setPen(Qt::yellow);
        for (auto [text, y] :
             {std::pair{services_.Tr("HALL OF"), 50 - t}, std::pair{services_.Tr("FAME"), 70 - t}})
            textAt((r.width() - p.fontMetrics().horizontalAdvance(text)) / 2, y, text);
    }
    if ((t == 30 || t == 90) && services_.Form().Option("ShowGirls") &&
        !services_.Form().View3D()) {
        QImage girl = GirlPicture(GirlIndex());
        if (!girl.isNull())
            p.drawImage(QPoint(0, height - 166), girl);
    }
    // The ten best of the board in play.
    const int board = s.boardNumber;
    if (hall_.IsKnownBoard(board)) {
        const HallOfFame::Table& table = hall_.TableOf(board);
        QFont nameFont("Verdana");
        nameFont.setPointSize(9);
        nameFont.setBold(true);
        QFont resultFont("Verdana");
        resultFont.setPointSize(9);
        for (int rank = 1; rank <= 10; ++rank) {
            const HallEntry& e = table[static_cast<size_t>(rank - 1)];
            if (e.Empty())
                continue;
            QFont f = nameFont;
            f.setItalic(rank == lastHallRank_);
            p.setFont(f);
            p.setPen(Qt::white);
            textAt(15, 27 * rank - t + 81, QString::fromStdString(e.name));
            p.setFont(resultFont);
            p.setPen(Qt::cyan);
            QString value;
            if (HallOfFame::IsScoreTable(board) || IsClicks(board)) {
                int64_t v = HallOfFame::Comparable(board, e);
                if (IsHashira(board))
                    v *= 100;
                value = QString::number(v);
                static const int pad[] = {8, 6, 4, 2, 1}; // lengths 1..5
                if (value.size() <= 5)
                    value = QString(pad[value.size() - 1], ' ') + value;
            } else {
                value = MinutesSeconds(e.result);
            }
            textAt(32, 27 * rank - t + 94, value);
        }
    }
    // The game in play draws its own part of the strip.
    for (const StripPainter& painter : stripPainters_)
        painter(p, t);
}

void HallKeeper::ResetBoard(int board) {
    hall_.Reset(board);
    WriteHallOfFame();
}

} // namespace tovani
