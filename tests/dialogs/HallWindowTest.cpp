#include "dialogs/GameOverForm.h"
#include "dialogs/HallWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace tovani;

namespace {

HallOfFame::Result Entry(int board, int total, int penalty, const std::string& who) {
    HallOfFame::Result r;
    r.board = board;
    r.total = total;
    r.penalty = penalty;
    r.player = who;
    r.date = "07/12/26";
    return r;
}

struct Fixture {
    HallOfFame hall;
    bool vozedo = false;
    int panelRedraws = 0;
    bool confirm = true;
    HallWindow::Context Ctx(int board, int lastRank, bool pending) {
        HallWindow::Context c;
        c.hall = &hall;
        c.boardNumber = board;
        c.lastHallRank = lastRank;
        c.entryPending = pending;
        c.playerName = "Player1";
        c.setVozedo = [this](bool v) { vozedo = v; };
        c.redrawPanel = [this] { ++panelRedraws; };
        c.confirmReset = [this](const QString&) { return confirm; };
        return c;
    }
};

} // namespace

TEST(HallWindow, BoardListOrderPutsNormalClicksBeforeHard) {
    EXPECT_EQ(HallWindow::BoardOfItem(0, 13), 1);
    EXPECT_EQ(HallWindow::BoardOfItem(12, 13), 13);
    EXPECT_EQ(HallWindow::BoardOfItem(13, 13), 1000);
    EXPECT_EQ(HallWindow::BoardOfItem(13 + 5, 13), 1022);
    EXPECT_EQ(HallWindow::BoardOfItem(13 + 6, 13), 1021);
    EXPECT_EQ(HallWindow::BoardOfItem(13 + 9, 13), 1040);
    EXPECT_EQ(HallWindow::BoardOfItem(13 + 10, 13), 0);
    for (int i = 0; i < 23; ++i)
        EXPECT_EQ(HallWindow::ItemOfBoard(HallWindow::BoardOfItem(i, 13), 13), i);
}

TEST(HallWindow, ListShowsTimesScoresAndTheNewEntry) {
    Fixture f;
    f.hall.SetLayouts({"Traditional", "Castle"});
    f.hall.AddHall(Entry(1, 754, 40, "Ann"));
    int rank = f.hall.AddHall(Entry(1, 6065, 0, "Bob"));
    HallWindow w(f.Ctx(1, rank, true), QImage());
    EXPECT_EQ(w.findChild<QComboBox*>("LayoutComboBox")->count(), 2 + 10);
    EXPECT_EQ(w.findChild<QComboBox*>("LayoutComboBox")->itemText(1), "Layout Castle");
    auto first = w.RowText(1);
    EXPECT_EQ(first.name, "Ann");
    EXPECT_EQ(first.result, "12:34");
    EXPECT_EQ(first.second, "00:40");
    EXPECT_FALSE(first.highlighted);
    auto second = w.RowText(2);
    EXPECT_EQ(second.result, "01:05"); // 101 minutes shown modulo 100
    EXPECT_TRUE(second.highlighted);
    EXPECT_EQ(w.RowText(3).name, " ");
    EXPECT_EQ(w.RowText(3).result, "   ");

    // Score tables: Slider shows its full score, Hashira its score times 100 and the level.
    f.hall.AddHall(Entry(1030, 12345, 0, "Sam"));
    HallOfFame::Result k = Entry(1040, 875, 0, "Kai");
    k.tilesRemoved = 95;
    f.hall.AddHall(k);
    w.GenerateList(1030);
    EXPECT_EQ(w.RowText(1).result, "12345");
    EXPECT_EQ(w.RowText(1).second, "");
    w.GenerateList(1040);
    EXPECT_EQ(w.RowText(1).result, "87500");
    EXPECT_EQ(w.RowText(1).second, "4");
    EXPECT_EQ(w.RowText(2).second, ""); // empty score rows show nothing there

    // The second page shows ranks 11 to 20.
    w.SwitchRankClick();
    EXPECT_TRUE(w.SecondPage());
    EXPECT_EQ(w.findChild<QPushButton*>("SwitchRank")->text(), "1-10");
    w.SwitchRankClick();
    EXPECT_EQ(w.findChild<QPushButton*>("SwitchRank")->text(), "11-20");
}

TEST(HallWindow, PlayerNameRulesAndLiveRename) {
    Fixture f;
    f.hall.SetLayouts({"Traditional"});
    int rank = f.hall.AddHall(Entry(1, 300, 0, "Player1"));
    HallWindow w(f.Ctx(1, rank, true), QImage());
    auto* edit = w.findChild<QLineEdit*>("PlayerName");
    EXPECT_EQ(edit->maxLength(), 8);
    w.PlayerNameChange("Mary Ann");
    EXPECT_EQ(w.PlayerName(), "Mary_Ann");
    EXPECT_EQ(edit->text(), "Mary_Ann");
    EXPECT_EQ(f.hall.TableOf(1)[0].name, "Mary_Ann"); // the new entry follows the name
    w.PlayerNameChange("");
    EXPECT_EQ(w.PlayerName(), "_");
    w.PlayerNameChange("Vozedo");
    EXPECT_TRUE(f.vozedo);
    w.PlayerNameChange("Didazira");
    EXPECT_FALSE(f.vozedo);
    EXPECT_GT(f.panelRedraws, 0);

    // Without a pending entry the table is left alone.
    HallWindow later(f.Ctx(1, rank, false), QImage());
    later.PlayerNameChange("Zed");
    EXPECT_EQ(f.hall.TableOf(1)[0].name, "Didazira");
}

TEST(HallWindow, ResetAsksFirstAndLaunchChoosesTheShownBoard) {
    Fixture f;
    f.hall.SetLayouts({"Traditional", "Castle"});
    f.hall.AddHall(Entry(2, 300, 0, "A"));
    HallWindow w(f.Ctx(1, 0, false), QImage());
    w.LayoutComboBoxChange(1);
    EXPECT_EQ(w.ShownBoard(), 2);
    f.confirm = false;
    w.DeleteHighscoresClick();
    EXPECT_FALSE(f.hall.TableOf(2)[0].Empty());
    f.confirm = true;
    w.DeleteHighscoresClick();
    EXPECT_TRUE(f.hall.TableOf(2)[0].Empty());
    w.findChild<QPushButton*>("BitBtn2")->click();
    EXPECT_EQ(w.result(), HallWindow::kLaunch);
    EXPECT_EQ(w.BoardNumber(), 2);
}

TEST(GameOverForm, EnterFameHiddenUntilShown) {
    GameOverForm g{QImage(), QPixmap()};
    EXPECT_TRUE(g.EnterFame()->isHidden());
    EXPECT_EQ(g.FinalTime()->text(), "Your final time is 00:00");
    EXPECT_EQ(g.windowTitle(), "Board finished !");
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
