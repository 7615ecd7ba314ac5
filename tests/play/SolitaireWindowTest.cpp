// Solitaire in the window around the game itself: layouts loaded from the menu and the command
// line, the hall-of-fame file, the board fitted to the window, the welcome lines, questions
// inside dialogs, the shared commands in the other modes, the seed dialog and the 12 ms timer.
#include "SolitaireFixture.h"

namespace tovani {
namespace {

TEST_F(SolitaireGameTest, LayoutsLoadFromTheMenuAndABrokenOneKeepsThePrevious) {
    Start();
    QAction* pyramid = nullptr;
    for (QAction* a : form_->TopMenu("Layout1")->actions())
        if (a->text() == "Pyramid")
            pyramid = a;
    ASSERT_NE(pyramid, nullptr);
    pyramid->trigger();
    EXPECT_EQ(form_->GameMode(), kModeSolitaire);
    EXPECT_EQ(solitaire_->CurrentLayout().name, "Pyramid");
    EXPECT_EQ(StatusAfterTicks(), QString("Layout \"Pyramid\" selected."));
    EXPECT_EQ(GameBoard().tilesTotal, solitaire_->CurrentLayout().PlaceCount());
    const int pyramidNumber = form_->Session().boardNumber;

    // "New Game" with "Random Layouts" draws the layout; the menu, the board number and the
    // layout in play agree.
    form_->SetOption("RandomLayouts", true);
    std::set<std::string> played;
    for (int i = 0; i < 8; ++i) {
        form_->NewGame(nullptr);
        ASSERT_EQ(form_->GameMode(), kModeSolitaire);
        const int n = form_->Session().boardNumber;
        const LayoutEntry* entry = form_->Layouts().Entry(n);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(form_->LayoutPath().toStdString(), form_->Layouts().PathOf(n));
        EXPECT_TRUE(form_->LayoutItem(n)->isChecked());
        EXPECT_EQ(GameBoard().tilesTotal, solitaire_->CurrentLayout().PlaceCount());
        played.insert(solitaire_->CurrentLayout().name);
    }
    EXPECT_GT(played.size(), 1u);
    // "Solitaire (Random)" keeps the layout.
    const std::string kept = solitaire_->CurrentLayout().name;
    form_->Item("RandomSolitaireGame1")->trigger();
    EXPECT_EQ(solitaire_->CurrentLayout().name, kept);
    form_->SetOption("RandomLayouts", false);
    pyramid->trigger();

    // A ".shp" layout: its item is captioned with the file name, which is also its name.
    QAction* spiral = nullptr;
    for (QAction* a : form_->TopMenu("Layout1")->actions())
        if (a->text() == "Spiral.shp")
            spiral = a;
    ASSERT_NE(spiral, nullptr);
    spiral->trigger();
    EXPECT_EQ(form_->GameMode(), kModeSolitaire);
    EXPECT_EQ(GameBoard().tilesTotal, 144);
    EXPECT_EQ(solitaire_->CurrentLayout().name, "Spiral.shp");
    EXPECT_TRUE(form_->windowTitle().contains("Spiral.shp")) << form_->windowTitle().toStdString();
    EXPECT_FALSE(form_->windowTitle().contains("/")) << form_->windowTitle().toStdString();
    EXPECT_EQ(form_->Session().boardNumber, form_->Layouts().Count()); // after the ".lay" items
    pyramid->trigger();

    // A layout file damaged after start-up: a message, and Pyramid stays in play.
    QAction* arena = nullptr;
    for (QAction* a : form_->TopMenu("Layout1")->actions())
        if (a->text() == "Arena")
            arena = a;
    ASSERT_NE(arena, nullptr);
    Write("Layouts/Arena.lay", "Tovani 3.0\r\nArena\r\n0101\r\n");
    const Board before = GameBoard();
    arena->trigger();
    EXPECT_EQ(solitaire_->CurrentLayout().name, "Pyramid");
    EXPECT_EQ(form_->Session().boardNumber, pyramidNumber);
    EXPECT_TRUE(pyramid->isChecked());
    EXPECT_EQ(GameBoard(), before);
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_EQ(messages_[0], QString("The layout file \"Arena.lay\" is cut short: line 3 "
                                    "holds 4 places instead of 3400."));

    // Another version's layout: the upgrade message and "Traditional" instead.
    Write("Layouts/Arena.lay", "Tovani 9.9\r\nArena\r\n" + std::string(3400, '0') + "\r\n");
    arena->trigger();
    ASSERT_EQ(messages_.size(), 2);
    EXPECT_TRUE(messages_[1].startsWith("You are trying to play a layout intended for use with "
                                        "Tovani 9.9\r\nPlease upgrade Tovani at "))
        << messages_[1].toStdString();
    EXPECT_EQ(solitaire_->CurrentLayout().name, "Traditional");
    EXPECT_EQ(GameBoard().tilesTotal, 144);
    EXPECT_EQ(form_->Session().boardNumber, form_->Layouts().TraditionalNumber());
}

TEST_F(SolitaireGameTest, VerticalVariationAsksBeforeItDealsAgain) {
    Start();
    // On the welcome screen it only changes.
    form_->Item("Vertical")->trigger();
    EXPECT_TRUE(form_->Option("Vertical"));
    form_->Item("Vertical")->trigger();
    DealSeeded(3);
    RemovePair(0);
    answerOk_ = false;
    form_->Item("Vertical")->trigger();
    EXPECT_EQ(questions_, 1);
    EXPECT_FALSE(form_->Option("Vertical"));
    EXPECT_EQ(GameBoard().tilesLeft, 142);
    answerOk_ = true;
    form_->Item("Vertical")->trigger();
    EXPECT_TRUE(form_->Option("Vertical"));
    EXPECT_EQ(GameBoard().tilesLeft, 144);
    EXPECT_EQ(solitaire_->Rule(), FreeRule::Vertical);
}

TEST_F(SolitaireGameTest, HallOfFameFileIsReadAtStartAndResetIsWrittenAtOnce) {
    Write("Hallfame.ini", "[Traditional]\r\nRank1=Zoe 300 40 01/02/03\r\nRank2=junk\r\n"
                          "Rank3=Bob 99999999999 x 05/06/07\r\n");
    Start();
    const int board = form_->Session().boardNumber;
    const auto& table = hall_->Hall().TableOf(board);
    EXPECT_EQ(table[0].name, "Zoe");
    EXPECT_EQ(table[0].result, 300);
    // The strip shows the table without trouble.
    const int paints = hall_->StripPaints();
    (void)form_->Area("HofBox")->grab();
    EXPECT_GT(hall_->StripPaints(), paints);
    // "Reset Scores" in the hall window, confirmed: the file loses the entries at once.
    services_->SetDialogRunner([this](QDialog& d) {
        if (auto* hall = qobject_cast<HallWindow*>(&d))
            hall->DeleteHighscoresClick();
        return int(QDialog::Accepted);
    });
    form_->Item("Halloffame1")->trigger();
    EXPECT_TRUE(hall_->Hall().TableOf(board)[0].Empty());
    EXPECT_EQ(Read("Hallfame.ini").find("Zoe"), std::string::npos);
}

TEST_F(SolitaireGameTest, ALayoutOnTheCommandLineIsDealtOnceAtStartUp) {
    const fs::path outside = dir_ / "Mine.lay";
    fs::copy(dir_ / "Layouts" / "Pyramid.lay", outside);
    args_ = {QString::fromStdString(outside.string())};
    Start();
    EXPECT_EQ(form_->GameMode(), kModeSolitaire);
    EXPECT_EQ(deals_, 1);
    Ticks(80);
    EXPECT_FALSE(Status().contains("selected")) << Status().toStdString();
    ASSERT_NE(form_->LayoutItem(form_->Session().boardNumber), nullptr);
    EXPECT_TRUE(form_->LayoutItem(form_->Session().boardNumber)->isChecked());
    EXPECT_EQ(form_->LayoutItem(form_->Session().boardNumber)->text(), "Mine");
}

TEST_F(SolitaireGameTest, TheBoardFitsTheWindowOrKeepsTheUsualTileSize) {
    Start();
    // The drawn box of every tile on the board, in board-picture pixels.
    auto box = [this] {
        const BoardRenderer& r = view_->Area().renderer;
        const int W = view_->TileWidth(), H = view_->TileHeight(), E = view_->EdgeSize();
        int left = 1 << 20, right = -(1 << 20), top = 1 << 20, bottom = -(1 << 20);
        for (int t = 1; t <= kTileCount; ++t) {
            const Cell c = GameBoard().Position(t);
            if (!c.OnBoard())
                continue;
            left = std::min(left, r.CoordX(c.column - 1, c.layer - 1) - E);
            right = std::max(right, r.CoordX(c.column - 1, c.layer - 1) + W);
            top = std::min(top, r.CoordY(c.row - 1, c.layer - 1));
            bottom = std::max(bottom, r.CoordY(c.row - 1, c.layer - 1) + H + E);
        }
        return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
    };
    ASSERT_TRUE(form_->Option("FitBoard")); // on by default
    DealSeeded(4);
    const int areaW = view_->Area().renderer.BoardBuffer.Width();
    const int areaH = view_->Area().renderer.BoardBuffer.Height();
    const QRect fitted = box();
    // Inside the play area, centred, and filling it one way or the other.
    EXPECT_GE(fitted.left(), 0);
    EXPECT_GE(fitted.top(), 0);
    EXPECT_LE(fitted.right(), areaW - 1);
    EXPECT_LE(fitted.bottom(), areaH - 1);
    EXPECT_LE(std::abs(fitted.left() - (areaW - 1 - fitted.right())), 2);
    EXPECT_LE(std::abs(fitted.top() - (areaH - 1 - fitted.bottom())), 2);
    EXPECT_TRUE(fitted.width() > areaW * 9 / 10 || fitted.height() > areaH * 9 / 10)
        << fitted.width() << " x " << fitted.height() << " in " << areaW << " x " << areaH;
    // The hit test follows: every tile's centre finds it.
    for (int t = 1; t <= kTileCount; ++t)
        if (GameBoard().Position(t).OnBoard() && solitaire_->TileCentre(t).x() >= 0 &&
            IsItFree(GameBoard(), FreeRule::Side).freeTiles.size() > 0 &&
            Dispo(GameBoard(), t, FreeRule::Side)) {
            EXPECT_EQ(view_->TileAt(solitaire_->TileCentre(t)), t) << t;
        }
    // Off: the usual sizes (the turtle fits at them in this window), and a smaller board.
    form_->Item("FitBoard")->trigger();
    ASSERT_FALSE(form_->Option("FitBoard"));
    const int usualW = areaW / 17;
    EXPECT_LE(view_->TileWidth(), usualW);
    EXPECT_GE(view_->TileWidth(), usualW - 1 - (usualW % 2));
    EXPECT_LT(box().width() * box().height(), fitted.width() * fitted.height());
}

TEST_F(SolitaireGameTest, TheWelcomeLinesGoWhenAGameStarts) {
    Start();
    QWidget* welcome = form_->Area("Welcome");
    ASSERT_NE(welcome, nullptr);
    auto* l1 = welcome->findChild<QLabel*>("Label1");
    auto* l2 = welcome->findChild<QLabel*>("Label2");
    ASSERT_TRUE(l1 && l2);
    EXPECT_TRUE(l1->isVisible());
    DealSeeded(3);
    EXPECT_FALSE(l1->isVisible());
    EXPECT_FALSE(l2->isVisible());
    // Nothing else of the welcome screen shows over the board either.
    for (QWidget* w : welcome->findChildren<QWidget*>())
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
}

TEST_F(SolitaireGameTest, AFailedWriteOfTheHallOfFameIsToldToThePlayer) {
    Start();
    fs::remove(dir_ / "Hallfame.ini");
    fs::create_directories(dir_ / "Hallfame.ini"); // a folder where the file should go
    messages_.clear();
    EXPECT_FALSE(hall_->WriteHallOfFame());
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_TRUE(messages_[0].startsWith("Unable to write to")) << messages_[0].toStdString();
    EXPECT_TRUE(messages_[0].contains("Hallfame.ini"));
}

TEST_F(SolitaireGameTest, AQuestionInsideADialogDoesNotResumeTheGame) {
    Start();
    form_->SetOption("GoCheckPause", true);
    DealSeeded(9);
    Ticks(40);
    // The hall of fame, and inside it "Reset Scores" answered Cancel: the game stays paused
    // until the hall window itself closes.
    int modeDuringQuestion = -1, modeAfterQuestion = -1;
    bool backEnabledAfterQuestion = true;
    answerOk_ = false;
    services_->SetDialogRunner([&](QDialog& d) {
        if (auto* hall = qobject_cast<HallWindow*>(&d)) {
            services_->SetQuestionRunner([&](const QString&, const QString&) {
                modeDuringQuestion = form_->GameMode();
                return false;
            });
            hall->DeleteHighscoresClick();
            modeAfterQuestion = form_->GameMode();
            backEnabledAfterQuestion = form_->Item("Back1")->isEnabled();
        }
        return int(QDialog::Accepted);
    });
    form_->Item("Halloffame1")->trigger();
    EXPECT_EQ(modeDuringQuestion, kModeInactive);
    EXPECT_EQ(modeAfterQuestion, kModeInactive);
    EXPECT_FALSE(backEnabledAfterQuestion);
    // Closed: the game goes on.
    EXPECT_EQ(form_->GameMode(), kModeSolitaire);
}

TEST_F(SolitaireGameTest, SharedCommandsReachTheOtherGamesInTheirModes) {
    // Another game plays Rivers beside Solitaire.
    RecordingGame rivers("Rivers");
    beforeSolitaire_ = [&](TMainForm& f) { f.RegisterGame({kModeRivers}, &rivers); };
    Start();
    DealSeeded(17);
    RemovePair(0);
    form_->RunCommand("Back");
    Ticks(2);
    EXPECT_EQ(GameBoard().tilesLeft, 144);
    EXPECT_TRUE(rivers.calls.empty());
    RemovePair(0);
    form_->IM(kModeRivers);
    form_->RunCommand("Back");
    Ticks(2);
    EXPECT_EQ(rivers.calls, (std::vector<std::string>{"Back", "CountTiles", "CountTiles"}));
    EXPECT_EQ(GameBoard().tilesLeft, 142); // Solitaire's board was not touched
    form_->RegisterGame({kModeRivers}, nullptr);
}

TEST(SeedDialogTest, NumbersAsTypedAndDrawn) {
    EXPECT_EQ(TRandomWindow::ParseSeed("777"), 777);
    EXPECT_EQ(TRandomWindow::ParseSeed(" 42 "), 42);
    EXPECT_EQ(TRandomWindow::ParseSeed(""), 0);
    EXPECT_EQ(TRandomWindow::ParseSeed("12a"), 0);
    EXPECT_EQ(TRandomWindow::ParseSeed("-5"), 0);
    EXPECT_EQ(TRandomWindow::ParseSeed("999999999"), 999999999);
    RandomGenerator rng(12345);
    TRandomWindow::Context ctx;
    ctx.seed = 31;
    ctx.draw = [&rng](uint32_t n) { return rng.Random(n); };
    TRandomWindow d(ctx, QImage());
    EXPECT_EQ(d.Seed(), 31);
    EXPECT_EQ(d.Field()->maxLength(), 9);
    for (int i = 0; i < 200; ++i) {
        d.BitBtn3Click(); // never 0
        EXPECT_GE(d.Seed(), 1);
        EXPECT_LE(d.Seed(), 9999);
        d.BitBtn2Click();
        EXPECT_GE(d.Seed(), 1);
        EXPECT_LE(d.Seed(), 999999999);
    }
    // No number kept yet (or one out of range): the entry opens on a fresh game number, never 0.
    for (int32_t kept : {0, -4, 1000000000}) {
        ctx.seed = kept;
        TRandomWindow fresh(ctx, QImage());
        EXPECT_GE(fresh.Seed(), 1) << kept;
        EXPECT_LE(fresh.Seed(), 999999999) << kept;
    }
}

TEST(ThreadTimerTest, TicksRunOnTheInterfaceThreadAndStopWhenDisabled) {
    EXPECT_EQ(TThreadTimer::SleepAfter(12, 2), 10);
    EXPECT_EQ(TThreadTimer::SleepAfter(12, 11), 3);
    EXPECT_EQ(TThreadTimer::SleepAfter(12, 40), 3);
    TThreadTimer timer;
    timer.SetInterval(5);
    int ticks = 0;
    bool elsewhere = false;
    QThread* gui = QThread::currentThread();
    timer.OnTimer = [&] {
        ++ticks;
        elsewhere = elsewhere || QThread::currentThread() != gui;
    };
    timer.SetEnabled(true);
    QElapsedTimer t;
    t.start();
    while (ticks < 5 && t.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    timer.SetEnabled(false);
    EXPECT_GE(ticks, 5);
    EXPECT_FALSE(elsewhere);
    // Stopped: a tick already asked for is dropped.
    const int stopped = ticks;
    t.restart();
    while (t.elapsed() < 60)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(ticks, stopped);
    // It starts again.
    timer.SetEnabled(true);
    t.restart();
    while (ticks == stopped && t.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_GT(ticks, stopped);
}

} // namespace
} // namespace tovani
