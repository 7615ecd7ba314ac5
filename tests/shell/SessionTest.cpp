// The status line's animation, the game clocks with their pauses, and the score fields.
#include "shell/GameSession.h"

#include <gtest/gtest.h>

#include <vector>

namespace tovani {
namespace {

std::vector<std::string> Ticks(StatusLine& s, int n, int mode, bool cool) {
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i) {
        auto shown = s.Tick(mode, cool);
        out.push_back(shown ? *shown : "<kept>");
    }
    return out;
}

TEST(StatusLine, CoolStatusGrowsInFromTheEnd) {
    StatusLine s;
    s.ShowStatus("Hello");
    EXPECT_EQ(Ticks(s, 6, kModeWelcome, true),
              (std::vector<std::string>{"lo", "llo", "ello", "Hello", "<kept>", "<kept>"}));
    // The message is spent: the stored text is a blank, the field keeps the message.
    EXPECT_EQ(s.Text(), " ");
}

TEST(StatusLine, PlainStatusShowsAtOnce) {
    StatusLine s;
    s.ShowStatus("Hello");
    EXPECT_EQ(Ticks(s, 2, kModeSolitaire, false), (std::vector<std::string>{"Hello", "<kept>"}));
}

TEST(StatusLine, CountsCharactersNotBytes) {
    StatusLine s;
    s.ShowStatus("Déjà");
    EXPECT_EQ(s.Length(), 4);
    EXPECT_EQ(Ticks(s, 3, kModeWelcome, true), (std::vector<std::string>{"jà", "éjà", "Déjà"}));
}

TEST(StatusLine, MarqueeBouncesBetweenTheEnds) {
    StatusLine s;
    s.StartMarquee("AB"); // "      AB": 8 characters
    EXPECT_TRUE(s.Marquee());
    EXPECT_EQ(s.Length(), 8);
    std::vector<int> positions;
    for (int i = 0; i < 18; ++i) {
        s.Tick(kModeSolitaire, true);
        positions.push_back(s.RevealPosition());
    }
    // Starts at 8, turns at once (9 is past the end), walks to 1, turns, walks back to 7.
    EXPECT_EQ(positions, (std::vector<int>{8, 7, 6, 5, 4, 3, 2, 1, 1, 2, 3, 4, 5, 6, 7, 7, 6, 5}));
    auto shown = s.Tick(kModeRivers, true);
    ASSERT_TRUE(shown);
    EXPECT_EQ(*shown, "   AB"); // from position 4 to the end
}

TEST(StatusLine, MarqueeOutsideSolitaireEmptiesTheField) {
    StatusLine s;
    s.StartMarquee("AB");
    auto shown = s.Tick(kModeMemory, true);
    ASSERT_TRUE(shown);
    EXPECT_EQ(*shown, "");
    s.StopMarquee();
    s.ShowStatus("x y");
    EXPECT_EQ(*s.Tick(kModeMemory, false), "x y");
}

TEST(StatusLine, AMessageDuringTheMarqueeStandsStillAndStoppingLeavesNothingBehind) {
    StatusLine s;
    s.StartMarquee("AB");
    s.Tick(kModeSolitaire, true);
    s.ShowStatus("Game restarted."); // said while no move is left: it is not bounced
    EXPECT_TRUE(s.Marquee());
    EXPECT_FALSE(s.Bouncing());
    for (int i = 0; i < 20; ++i)
        s.Tick(kModeSolitaire, true);
    EXPECT_EQ(s.RevealPosition(), 1);
    EXPECT_EQ(s.Tick(kModeSolitaire, true), std::nullopt); // the field keeps the whole message
    s.StopMarquee();                                       // a move came back: the message stays
    EXPECT_EQ(s.Tick(kModeSolitaire, true), std::nullopt);

    // Stopped while it bounces: the line is blanked, not left with a piece of it.
    s.StartMarquee("SORRY");
    for (int i = 0; i < 5; ++i)
        s.Tick(kModeSolitaire, true);
    s.StopMarquee();
    std::string last;
    for (int i = 0; i < 5; ++i)
        if (auto shown = s.Tick(kModeSolitaire, false))
            last = *shown;
    EXPECT_EQ(last, "   ");
    EXPECT_FALSE(s.Marquee());
}

TEST(Time, Formatting) {
    EXPECT_EQ(FormatTime(0), "00:00");
    EXPECT_EQ(FormatTime(425), "07:05");
    EXPECT_EQ(FormatTime(5999), "99:59");
    EXPECT_EQ(FormatTime(60), "01:00");
}

TEST(Clock, TimedGameStopsPastNinetyNineMinutes) {
    ManualClock clock(1000);
    GameSession g(clock);
    g.mode = kModeSolitaire;
    g.StartClock();
    clock.Advance(5999 * 1000);
    EXPECT_FALSE(g.ClockTick());
    EXPECT_EQ(g.elapsedSeconds, 5999);
    EXPECT_EQ(g.WriteScore(true, true).time, "99:59");
    clock.Advance(999);
    EXPECT_FALSE(g.ClockTick()); // still 5999 whole seconds
    clock.Advance(1);
    EXPECT_TRUE(g.ClockTick()); // 6000 seconds: stopped
    // Penalties count too.
    GameSession p(clock);
    p.mode = kModeRivers;
    p.StartClock();
    p.penaltySeconds = 5990;
    clock.Advance(9000);
    EXPECT_FALSE(p.ClockTick());
    clock.Advance(1000);
    EXPECT_TRUE(p.ClockTick());
}

TEST(Clock, OnlyTheTimedGamesRunTheClock) {
    ManualClock clock(0);
    GameSession g(clock);
    g.StartClock();
    clock.Advance(7000000);
    for (int m : {kModeSlider, kModeHashira, kModeWelcome, kModePaused}) {
        g.mode = m;
        g.elapsedSeconds = 3;
        EXPECT_FALSE(g.ClockTick());
        EXPECT_EQ(g.elapsedSeconds, 3) << m;
    }
    // Clicks shows the tiles left as its score.
    g.mode = kModeClicks;
    g.tilesLeft = 77;
    g.ClockTick();
    EXPECT_EQ(g.elapsedSeconds, 77);
}

TEST(Clock, PauseAndResumeKeepTheClock) {
    ManualClock clock(50000);
    GameSession g(clock);
    g.mode = kModeRivers;
    g.StartClock();
    clock.Advance(12000);
    EXPECT_EQ(g.TogglePause(), kModePaused);
    g.mode = kModePaused;
    clock.Advance(600000); // ten minutes of pause
    EXPECT_EQ(g.TogglePause(), kModeRivers);
    g.mode = kModeRivers;
    clock.Advance(3000);
    g.ClockTick();
    EXPECT_EQ(g.elapsedSeconds, 15);
}

TEST(Clock, PauseKeepsBothPlayersClocks) {
    ManualClock clock(0);
    GameSession g(clock);
    g.mode = kModeTwoPlayers;
    g.StartClock();
    g.StartPlayerClock(0);
    clock.Advance(4000);
    g.StartPlayerClock(1); // player 2 started 4 s later
    clock.Advance(6000);
    EXPECT_EQ(g.PlayerSeconds(0), 10);
    EXPECT_EQ(g.PlayerSeconds(1), 6);
    g.TogglePause();
    g.mode = kModePaused;
    clock.Advance(100000);
    g.TogglePause();
    g.mode = kModeTwoPlayers;
    EXPECT_EQ(g.PlayerSeconds(0), 10);
    EXPECT_EQ(g.PlayerSeconds(1), 6);
    clock.Advance(2000);
    EXPECT_EQ(g.PlayerSeconds(0), 12);
    EXPECT_EQ(g.PlayerSeconds(1), 8);
}

TEST(Clock, LosingTheFocusDoesNotNestWithItself) {
    ManualClock clock(0);
    GameSession g(clock);
    g.mode = kModeMemory;
    g.StartClock();
    clock.Advance(5000);
    EXPECT_EQ(g.Deactivate(), kModeInactive);
    g.mode = kModeInactive;
    EXPECT_EQ(g.Deactivate(), -1);
    clock.Advance(60000);
    EXPECT_EQ(g.Activate(), kModeMemory);
    g.mode = kModeMemory;
    EXPECT_EQ(g.Activate(), -1);
    g.ClockTick();
    EXPECT_EQ(g.elapsedSeconds, 5);
}

TEST(Clock, LosingTheFocusDuringAPauseKeepsThePausedTime) {
    ManualClock clock(0);
    GameSession g(clock);
    g.mode = kModeSolitaire;
    g.StartClock();
    clock.Advance(12000);
    g.mode = g.TogglePause(); // paused at 12 s
    clock.Advance(30000);
    g.mode = g.Deactivate();
    clock.Advance(30000);
    g.mode = g.Activate();
    EXPECT_EQ(g.mode, kModePaused);
    clock.Advance(30000);
    g.mode = g.TogglePause();
    EXPECT_EQ(g.mode, kModeSolitaire);
    g.ClockTick();
    EXPECT_EQ(g.elapsedSeconds, 12);
}

TEST(Score, FieldsPerMode) {
    ManualClock clock(0);
    GameSession g(clock);
    g.tilesLeft = 88;
    g.movesAvailable = 4;
    g.elapsedSeconds = 65;
    g.penaltySeconds = 10;
    struct Row {
        int mode;
        const char* tiles;
        const char* moves;
        const char* time;
    };
    const Row rows[] = {
        {0, "", "", ""},         {1, "88", "4", "01:15"}, {2, "88", "4", ""},
        {3, "88", "4", "01:15"}, {4, "88", "", "01:15"},  {5, "88", "4", ""},
        {6, "88", "", ""},       {7, "", "", ""},         {9, "", "", ""},
    };
    for (const Row& r : rows) {
        g.mode = r.mode;
        ScoreFields f = g.WriteScore(true, true);
        EXPECT_EQ(f.tiles, r.tiles) << r.mode;
        EXPECT_EQ(f.movesLeft, r.moves) << r.mode;
        EXPECT_EQ(f.time, r.time) << r.mode;
    }
    g.mode = kModeSolitaire;
    ScoreFields off = g.WriteScore(false, false);
    EXPECT_EQ(off.movesLeft, "");
    EXPECT_EQ(off.time, "");
    g.gameOver = true;
    EXPECT_EQ(g.WriteScore(true, true).tiles, "");
}

TEST(Score, NoMoreMoves) {
    ManualClock clock(0);
    GameSession g(clock);
    g.mode = kModeSolitaire;
    g.tilesLeft = 10;
    g.movesAvailable = 0;
    EXPECT_TRUE(g.WriteScore(true, true).startMarquee);
    g.status.StartMarquee("SORRY");
    EXPECT_FALSE(g.WriteScore(true, true).startMarquee); // already bouncing
    g.movesAvailable = 2;                                // a shuffle found moves
    EXPECT_TRUE(g.WriteScore(true, true).stopMarquee);
    EXPECT_FALSE(g.status.Marquee());
    // Memory and an empty board never bounce.
    g.movesAvailable = 0;
    g.mode = kModeMemory;
    EXPECT_FALSE(g.WriteScore(true, true).startMarquee);
    g.mode = kModeSolitaire;
    g.tilesLeft = 0;
    ScoreFields done = g.WriteScore(true, true);
    EXPECT_FALSE(done.startMarquee);
    EXPECT_TRUE(done.redrawBoard);
    g.won = true;
    EXPECT_FALSE(g.WriteScore(true, true).redrawBoard);
    // A stuck Clicks field does not bounce the message: the Clicks game asks its own question.
    g.mode = kModeClicks;
    g.won = false;
    g.tilesLeft = 30;
    ScoreFields stuck = g.WriteScore(true, true);
    EXPECT_FALSE(stuck.startMarquee);
    EXPECT_EQ(stuck.movesLeft, "0");
}

TEST(Session, InitVarResetsTheGame) {
    ManualClock clock(0);
    GameSession g(clock);
    g.elapsedSeconds = 9;
    g.penaltySeconds = 30;
    g.gameOver = g.won = g.twoPlayerTurn = true;
    g.hintCounters[1] = 4;
    g.pairCheckCountdown = 3;
    g.status.StartMarquee("x");
    g.InitVar();
    EXPECT_EQ(g.elapsedSeconds, 0);
    EXPECT_EQ(g.penaltySeconds, 0);
    EXPECT_FALSE(g.gameOver || g.won || g.twoPlayerTurn);
    EXPECT_EQ(g.hintCounters[1], 0);
    EXPECT_EQ(g.pairCheckCountdown, 0);
    EXPECT_FALSE(g.status.Marquee());
}

} // namespace
} // namespace tovani
