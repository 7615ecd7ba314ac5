// The layout editor, the layout chooser and the favourite layouts in the window, on Qt's
// offscreen platform: the menu commands, clicks on the board, and the dialogs answered by the
// test through the services' runners.
#include "play/solitaire/LayoutEditor.h"
#include "GameWindowFixture.h"
#include "play/solitaire/LayoutChoice.h"
#include "play/solitaire/LayoutChooser.h"
#include "play/solitaire/SolitaireGame.h"

#include "core/Files.h"
#include "dialogs/RandomWindow.h"
#include "play/BoardView.h"
#include "play/GameServices.h"
#include "play/HallKeeper.h"
#include "shell/MainForm.h"
#include "solitaire/LayoutFile.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

namespace tovani {
namespace {

namespace fs = std::filesystem;

class LayoutEditorTest : public test::GameWindowFixture {
protected:
    LayoutEditorTest() : GameWindowFixture("tovani_editor_", 1000, {}) {}
    void CloseGames() override {
        choice_.reset();
        editor_.reset();
        solitaire_.reset();
    }
    std::string Read(const fs::path& p) { return ReadWholeFile(p.string()).value_or(""); }

    void Start(std::optional<bool> programDirWritable = std::nullopt) {
        MainFormOptions o = WindowOptions();
        o.programDirWritable = programDirWritable;
        o.dataHome = QString::fromStdString((dir_ / "data").string());
        OpenWindow(o);
        solitaire_ = std::make_unique<SolitaireGame>(*services_, *hall_);
        editor_ = std::make_unique<LayoutEditor>(*services_, *hall_, *solitaire_);
        choice_ = std::make_unique<LayoutChoice>(*services_);
        services_->SetDialogRunner([this](QDialog& d) {
            dialogs_ << d.objectName();
            return answer_ ? answer_(d) : int(QDialog::Rejected);
        });
        services_->SetMessageRunner(
            [this](const QString&, const QString& text) { messages_ << text; });
        services_->SetQuestionRunner([this](const QString&, const QString& text) {
            questions_ << text;
            return answerYes_;
        });
        services_->SetFileNameRunner([this](GameServices::FileDialog, const QString&,
                                            const QString& folder, const QString&) {
            askedFolder_ = folder;
            return saveAs_;
        });
        form_->SetQuitQuestion([this](const QString& text) {
            quitAsked_ << text;
            return quitYes_;
        });
        ShowWindow();
        ASSERT_EQ(form_->GameMode(), kModeWelcome);
    }

    fs::path UserDir() const { return fs::path(form_->UserDirectory().toStdString()); }

    void ClickAt(const QPoint& p, Qt::MouseButton b = Qt::LeftButton) {
        QTest::mouseMove(form_->Game2(), p);
        QTest::mouseClick(form_->Game2(), b, {}, p);
    }
    // Adds a tile at a cell with a click where its preview shows.
    void AddAt(const Cell& c) { ClickAt(editor_->CellCentre(c)); }
    QString Panel(const char* name) {
        auto* l = form_->Area("EditorPanel")->findChild<QLabel*>(name);
        return l ? l->text() : QString("?");
    }
    // Builds four tiles in a row on layer 1, the smallest layout that can be saved.
    void BuildRow(int row = 5) {
        for (int c : {5, 7, 9, 11})
            AddAt({c, row, 1});
    }
    QLineEdit* NameField() { return form_->Area("EditorPanel")->findChild<QLineEdit*>("Edit1"); }
    // Closes the window as its close button does; true when it closed.
    bool CloseWindow() {
        QCloseEvent e;
        QApplication::sendEvent(form_.get(), &e);
        return e.isAccepted();
    }
    void Run(const char* command) { form_->RunCommand(command, form_->Item(command)); }
    void Menu(const char* item) {
        QAction* a = form_->Item(item);
        ASSERT_NE(a, nullptr) << item;
        a->trigger();
    }

    std::unique_ptr<SolitaireGame> solitaire_;
    std::unique_ptr<LayoutEditor> editor_;
    std::unique_ptr<LayoutChoice> choice_;
    std::function<int(QDialog&)> answer_;
    QStringList dialogs_, messages_, questions_;
    bool answerYes_ = true;
    QStringList quitAsked_;
    bool quitYes_ = false;
    QString saveAs_;
    QString askedFolder_;
};

TEST_F(LayoutEditorTest, BuildsWithTheMouseAndCountsInThePanel) {
    Start();
    Menu("CreateLayout1");
    ASSERT_EQ(form_->GameMode(), kModeEditor);
    EXPECT_EQ(form_->CurrentMenu(), TMainForm::MenuSet::Editor);
    EXPECT_TRUE(form_->Area("EditorPanel")->isVisible());
    EXPECT_FALSE(form_->Area("Tools")->isVisible());
    EXPECT_FALSE(form_->Item("Saveandexit")->isEnabled());
    EXPECT_EQ(NameField()->text(), "New Layout");
    EXPECT_EQ(Panel("Label40"), "0");

    // The preview follows the mouse, and a click adds the tile it shows.
    QTest::mouseMove(form_->Game2(), editor_->CellCentre({9, 9, 1}));
    ASSERT_TRUE(editor_->Candidate().has_value());
    EXPECT_TRUE(*editor_->Candidate() == (Cell{9, 9, 1}));
    EXPECT_EQ(view_->Scene().ghostColumn, 8);
    BuildRow(9);
    EXPECT_EQ(editor_->Editing().Places(), 4);
    // Resting on the second and third tiles: the preview goes up a layer.
    AddAt({8, 9, 2});
    EXPECT_TRUE(editor_->Editing().GetBoard().Position(5) == (Cell{8, 9, 2}));
    EXPECT_EQ(Panel("Label40"), "5");
    EXPECT_EQ(Panel("Label6"), "3");
    EXPECT_EQ(Panel("Label5"), QString::number(editor_->Editing().FreeTiles()));
    // A right click on a covered tile (the left part of the second one shows) takes nothing;
    // on the top tile it takes it.
    const QPoint secondLeft = editor_->CellCentre({6, 9, 1}) + QPoint(3, 0);
    ASSERT_EQ(view_->TileAt(secondLeft), 2);
    ClickAt(secondLeft, Qt::RightButton);
    EXPECT_EQ(editor_->Editing().Places(), 5);
    ClickAt(editor_->CellCentre({8, 9, 2}), Qt::RightButton);
    EXPECT_EQ(editor_->Editing().Places(), 4);
    EXPECT_EQ(Panel("Label6"), "0");

    // Move Board: left once, then refused at the edge.
    const Cell before = editor_->Editing().GetBoard().Position(1);
    Menu("Movetoleft1");
    EXPECT_EQ(editor_->Editing().GetBoard().Position(1).column, before.column - 1);
    for (int i = 0; i < 40; ++i)
        Menu("Movetoleft1");
    EXPECT_EQ(editor_->Editing().GetBoard().Position(1).column, 1);
    Menu("Movetobottom1");
    EXPECT_EQ(editor_->Editing().GetBoard().Position(1).row, before.row + 1);
}

TEST_F(LayoutEditorTest, RefusedSavesSayWhyAndStay) {
    Start();
    Menu("CreateLayout1");
    Menu("Saveasandexit");
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_EQ(messages_[0], "This layout is not playable ! Please make more free moves...");
    AddAt({5, 5, 1});
    Menu("Cancel1");
    ASSERT_EQ(messages_.size(), 2);
    EXPECT_TRUE(messages_[1].startsWith("You haven't finished building the layout yet !"));
    EXPECT_EQ(form_->GameMode(), kModeEditor);
    // A cancelled file dialog, then an existing file the player will not erase.
    for (int c : {7, 9, 11})
        AddAt({c, 5, 1});
    saveAs_.clear();
    Menu("Saveasandexit");
    EXPECT_EQ(form_->GameMode(), kModeEditor);
    const fs::path arena = UserDir() / "Layouts" / "Arena.lay";
    const std::string arenaBefore = Read(arena);
    saveAs_ = QString::fromStdString(arena.string());
    answerYes_ = false;
    Menu("Saveasandexit");
    ASSERT_EQ(questions_.size(), 1);
    EXPECT_TRUE(questions_[0].startsWith("This file already exists. Do you want to erase"));
    EXPECT_EQ(Read(arena), arenaBefore);
    EXPECT_EQ(form_->GameMode(), kModeEditor);
    EXPECT_EQ(editor_->Editing().Places(), 4);
}

TEST_F(LayoutEditorTest, SavedLayoutWithBlanksIsFoundSelectedAndPlayed) {
    Start();
    Menu("CreateLayout1");
    BuildRow();
    NameField()->setText("My Little Row");
    saveAs_ = QString::fromStdString((UserDir() / "Layouts" / "My Little Row").string());
    Menu("Saveasandexit");
    const std::string text = Read(UserDir() / "Layouts" / "My Little Row.lay");
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.substr(0, 27), "Tovani 6.0\r\nMy Little Row\r\n");
    // Found in the rebuilt list, checked in the menu and played.
    const int n = form_->Layouts().NumberOf("My Little Row");
    ASSERT_GT(n, 0);
    EXPECT_EQ(form_->Session().boardNumber, n);
    EXPECT_TRUE(form_->LayoutItem(n)->isChecked());
    EXPECT_EQ(form_->GameMode(), kModeSolitaire);
    EXPECT_EQ(solitaire_->CurrentLayout().PlaceCount(), 4);
    EXPECT_EQ(form_->CurrentMenu(), TMainForm::MenuSet::Main);
    EXPECT_FALSE(form_->Area("EditorPanel")->isVisible());
    EXPECT_TRUE(view_->Scene().ghostColumn < 0);
    // The layout is measured once and its share kept in the player's folder.
    choice_->Odds().WaitIdle();
    ASSERT_TRUE(choice_->Share(n).has_value());
    EXPECT_NE(Read(UserDir() / "Winnable.ini").find("My Little Row #"), std::string::npos);

    // "Edit Layout" opens it with "Save" on, and "Save" writes the same file again.
    Menu("Editlayout1");
    ASSERT_EQ(form_->GameMode(), kModeEditor);
    EXPECT_TRUE(form_->Item("Saveandexit")->isEnabled());
    EXPECT_EQ(NameField()->text(), "My Little Row");
    AddAt({5, 7, 1});
    AddAt({7, 7, 1});
    AddAt({9, 7, 1});
    AddAt({11, 7, 1});
    Menu("Saveandexit");
    EXPECT_EQ(form_->GameMode(), kModeSolitaire);
    EXPECT_EQ(form_->Layouts().NumberOf("My Little Row"), n);
    EXPECT_EQ(solitaire_->CurrentLayout().PlaceCount(), 8);
}

TEST_F(LayoutEditorTest, TryItWritesTemporaryAndExitGoesBack) {
    Start();
    const int before = form_->Session().boardNumber;
    Menu("CreateLayout1");
    BuildRow();
    Menu("Cancel1");
    EXPECT_FALSE(Read(UserDir() / "Layouts" / "Temporary.lay").empty());
    ASSERT_FALSE(messages_.isEmpty());
    EXPECT_TRUE(messages_.back().startsWith("Layout saved as \"Temporary.lay\"."));
    EXPECT_EQ(form_->GameMode(), kModeSolitaire);
    EXPECT_EQ(form_->Session().boardNumber, form_->Layouts().NumberOf("Temporary"));
    // Exit without saving: back to the layout chosen before.
    Menu("CreateLayout1");
    AddAt({5, 5, 1});
    Menu("Cancel2");
    EXPECT_EQ(form_->GameMode(), kModeSolitaire);
    EXPECT_EQ(form_->Session().boardNumber, form_->Layouts().NumberOf("Temporary"));
    (void)before;
}

TEST_F(LayoutEditorTest, ClosingTheWindowOnAnEditedLayoutAsksFirst) {
    Start();
    Menu("CreateLayout1");
    ASSERT_EQ(form_->GameMode(), kModeEditor);
    AddAt({5, 5, 1});
    // "No" keeps the window and the tiles.
    EXPECT_FALSE(CloseWindow());
    ASSERT_EQ(quitAsked_.size(), 1);
    EXPECT_EQ(quitAsked_.back(), "Quit and lose the layout you are editing?");
    EXPECT_EQ(form_->GameMode(), kModeEditor);
    EXPECT_EQ(editor_->Editing().Places(), 1);
    // A move of the board is an edit too; "Yes" closes.
    Menu("Movetoright1");
    quitYes_ = true;
    EXPECT_TRUE(CloseWindow());
    EXPECT_EQ(quitAsked_.size(), 2);
}

TEST_F(LayoutEditorTest, ClosingTheWindowOnAnUntouchedEditorDoesNotAsk) {
    // An editor opened and left untouched loses nothing: the window closes without a question.
    Start();
    Menu("CreateLayout1");
    ASSERT_EQ(form_->GameMode(), kModeEditor);
    EXPECT_TRUE(CloseWindow());
    EXPECT_TRUE(quitAsked_.isEmpty());
}

TEST_F(LayoutEditorTest, EditedShippedLayoutIsSavedInThePlayersFolder) {
    Start(false);
    ASSERT_NE(UserDir(), dir_);
    const int traditional = form_->Layouts().NumberOf("Traditional");
    form_->LayoutItem(traditional)->trigger();
    const std::string shipped = Read(dir_ / "Layouts" / "Traditional.lay");
    Menu("Editlayout1");
    ASSERT_EQ(form_->GameMode(), kModeEditor);
    EXPECT_EQ(editor_->Editing().Places(), 144);
    // Full: nothing more can be added.
    const int places = editor_->Editing().Places();
    AddAt({1, 1, 1});
    EXPECT_EQ(editor_->Editing().Places(), places);
    Menu("Saveandexit");
    EXPECT_EQ(Read(dir_ / "Layouts" / "Traditional.lay"), shipped);
    const std::string mine = Read(UserDir() / "Layouts" / "Traditional.lay");
    EXPECT_EQ(mine.substr(0, 12), "Tovani 3.0\r\n");
    EXPECT_EQ(form_->Layouts().PathOf(form_->Layouts().NumberOf("Traditional")),
              (UserDir() / "Layouts" / "Traditional.lay").string());
}

TEST_F(LayoutEditorTest, EditorPanelSaysWhetherTheLayoutCanBeCleared) {
    Start();
    Menu("CreateLayout1");
    editor_->Odds().WaitIdle();
    EXPECT_EQ(editor_->OddsText(), "Winnable: needs an even number of tiles");
    BuildRow();
    EXPECT_EQ(editor_->OddsText(), "Winnable: checking...");
    editor_->Odds().WaitIdle();
    EXPECT_EQ(editor_->OddsText(), "Winnable: yes, 100% of 200 deals");
    // A tower of four: only its top tile is ever free, so no deal can be cleared.
    Menu("Cancel2");
    Menu("CreateLayout1");
    for (int l = 1; l <= 4; ++l)
        AddAt({9, 9, l});
    ASSERT_EQ(editor_->Editing().Places(), 4);
    editor_->Odds().WaitIdle();
    EXPECT_EQ(editor_->OddsText(), "Winnable: no deal found");
}

TEST(LayoutOddsWorkerTest, ANewerJobDropsTheOlderAndReportsGrowToTheEnd) {
    // Four tiles in a row: every deal can be cleared; five cannot be dealt at all.
    Layout row;
    for (int c : {0, 2, 4, 6})
        row.Set(1, 3, c, true);
    Layout odd = row;
    odd.Set(1, 5, 0, true);
    LayoutOddsWorker worker;
    std::vector<LayoutOddsReport> seen;
    worker.onReport = [&seen](const LayoutOddsReport& r) { seen.push_back(r); };
    worker.Measure(row, "first", 200);
    worker.Measure(row, "second", 30);
    worker.Measure(odd, "odd", 30, false); // queued behind "second"
    worker.WaitIdle();
    ASSERT_FALSE(seen.empty());
    int firstDone = 0, secondDone = 0, oddDone = 0;
    int lastDeals = -1;
    for (const LayoutOddsReport& r : seen) {
        firstDone += r.key == "first" && r.done;
        if (r.key == "second") {
            EXPECT_TRUE(r.dealable);
            EXPECT_GE(r.share.Deals(), lastDeals); // the share grows report by report
            lastDeals = r.share.Deals();
            if (r.done) {
                ++secondDone;
                EXPECT_TRUE(r.winnableDeal);
                EXPECT_EQ(r.share, (WinnableShare{30, 0, 0}));
            }
        }
        if (r.key == "odd" && r.done) {
            ++oddDone;
            EXPECT_FALSE(r.dealable);
        }
    }
    EXPECT_EQ(firstDone, 0) << "the older job was dropped";
    EXPECT_EQ(secondDone, 1);
    EXPECT_EQ(oddDone, 1);
    // Dropping everything: nothing more is reported.
    seen.clear();
    worker.Measure(row, "late", 200);
    worker.CancelAll();
    worker.WaitIdle();
    for (const LayoutOddsReport& r : seen)
        EXPECT_NE(r.key, "late");
}

// ---- The chooser ------------------------------------------------------------------------------

TEST_F(LayoutEditorTest, ChooserPlaysAndKeepsFavouritesSortedWithoutDuplicates) {
    Start();
    EXPECT_FALSE(Read(UserDir() / "Favelay.ini").empty()); // made at start-up
    const int crab = form_->Layouts().NumberOf("Crab");
    ASSERT_GT(crab, 0);
    answer_ = [&](QDialog& d) {
        auto* c = qobject_cast<TChooseLayout*>(&d);
        if (!c)
            return int(QDialog::Rejected);
        EXPECT_EQ(c->LayoutList()->count(), form_->Layouts().Count());
        // The first layout is shown with its counts.
        const std::optional<Layout> first = TChooseLayout::ReadLayout(form_->Layouts(), 1);
        EXPECT_TRUE(first.has_value());
        if (first) {
            EXPECT_EQ(c->TilesLabel()->text(), QString::number(first->PlaceCount()));
            EXPECT_EQ(c->LayoutN()->text().toStdString(), first->name);
        }
        c->FaveLayoutsDragDrop("Crab", 0);
        c->FaveLayoutsDragDrop("Crab", 3);
        c->FaveLayoutsDragDrop("Arena", 5);
        c->Select(crab - 1);
        c->BitBtn1Click();
        return c->result();
    };
    Run("SelectLayout1Click");
    EXPECT_EQ(form_->Session().boardNumber, crab);
    EXPECT_EQ(form_->GameMode(), kModeSolitaire);
    const LayoutFavourites f = LayoutFavourites::Parse(Read(UserDir() / "Favelay.ini"));
    EXPECT_EQ(f.Count(), 14);
    int crabs = 0;
    for (size_t i = 0; i < f.Names().size(); ++i) {
        crabs += f.Names()[i] == "Crab";
        if (i > 0) {
            EXPECT_LE(f.Names()[i - 1][0], f.Names()[i][0]);
        }
    }
    EXPECT_EQ(crabs, 1);

    // The menu with "View Favorites Only": favourites and the layout in play.
    Menu("ShowFave");
    const int atoll = form_->Layouts().NumberOf("Atoll");
    EXPECT_TRUE(form_->LayoutItem(crab)->isVisible());
    EXPECT_FALSE(form_->LayoutItem(atoll)->isVisible());
    // The layout in play shows even when it is not a favourite (the menu is brought up to date
    // each time it opens).
    form_->LayoutItem(atoll)->trigger();
    emit form_->TopMenu("Layout1")->aboutToShow();
    EXPECT_TRUE(form_->LayoutItem(atoll)->isVisible());
    EXPECT_TRUE(form_->LayoutItem(atoll)->isChecked());
    Menu("ViewAllLayouts");
    EXPECT_TRUE(form_->LayoutItem(atoll)->isVisible());

    // Cancel still keeps the favourites; a favourite dragged back is gone.
    answer_ = [&](QDialog& d) {
        auto* c = qobject_cast<TChooseLayout*>(&d);
        const auto row = c->FaveLayouts()->findItems("Crab", Qt::MatchExactly);
        EXPECT_EQ(row.size(), 1);
        c->LayoutListDragDrop(c->FaveLayouts()->row(row.first()));
        return int(TChooseLayout::kCancel);
    };
    Run("SelectLayout1Click");
    EXPECT_FALSE(LayoutFavourites::Parse(Read(UserDir() / "Favelay.ini")).Contains("Crab"));
    EXPECT_EQ(form_->Session().boardNumber, atoll);
}

TEST_F(LayoutEditorTest, ChooserEditNewAndExpandedView) {
    Start();
    const int arena = form_->Layouts().NumberOf("Arena");
    answer_ = [&](QDialog& d) {
        auto* c = qobject_cast<TChooseLayout*>(&d);
        c->Select(arena - 1);
        c->BitBtn3Click();
        return c->result();
    };
    Run("SelectLayout1Click");
    ASSERT_EQ(form_->GameMode(), kModeEditor);
    EXPECT_EQ(NameField()->text().toStdString(), solitaire_->CurrentLayout().name);
    EXPECT_EQ(form_->Session().boardNumber, arena);
    Menu("Cancel2");

    answer_ = [&](QDialog& d) {
        auto* c = qobject_cast<TChooseLayout*>(&d);
        c->BitBtn4Click();
        return c->result();
    };
    Run("SelectLayout1Click");
    EXPECT_EQ(form_->GameMode(), kModeEditor);
    EXPECT_EQ(editor_->Editing().Places(), 0);
    Menu("Cancel2");

    // The expanded view: every layout's miniature; a click on one plays it.
    const int last = form_->Layouts().Count();
    answer_ = [&](QDialog& d) {
        if (auto* x = qobject_cast<TExtendedChoose*>(&d)) {
            EXPECT_EQ(x->Scroll()->findChildren<QLabel*>().size(), last);
            EXPECT_EQ(x->Scroll()->height(), ((last - 1) / 3) * 138 + 138);
            x->ScrollClick(last - 1);
            return x->result();
        }
        auto* c = qobject_cast<TChooseLayout*>(&d);
        c->BitBtn5Click();
        return c->result();
    };
    Run("SelectLayout1Click");
    EXPECT_EQ(form_->Session().boardNumber, last);
    EXPECT_TRUE(dialogs_.contains("ExtendedChoose"));
}

TEST_F(LayoutEditorTest, ChooserPreviewsShpLayoutsAndDropsMissingFiles) {
    // A ".shp" layout: 144 lines, characters 4-9 the column, row and layer in hexadecimal.
    std::string shp;
    for (int i = 0; i < 144; ++i) {
        char line[16];
        std::snprintf(line, sizeof line, "000%02X%02X%02X\r\n", (i % 16) * 2, (i / 16) * 2 % 18,
                      i / 144);
        shp += line;
    }
    Write("Layouts/Squares.shp", shp);
    Write("Layouts/Gone.lay", WriteLay(Layout{}));
    Start();
    const int sq = form_->Layouts().NumberOf("Squares.shp");
    ASSERT_GT(sq, 0);
    const int gone = form_->Layouts().NumberOf("Gone");
    fs::remove(dir_ / "Layouts" / "Gone.lay");
    answer_ = [&](QDialog& d) {
        auto* c = qobject_cast<TChooseLayout*>(&d);
        const int count = c->LayoutList()->count();
        c->Select(gone - 1);
        EXPECT_EQ(c->LayoutList()->count(), count - 1);
        c->Select(c->LayoutList()->row(
            c->LayoutList()->findItems("Squares.shp", Qt::MatchExactly).first()));
        EXPECT_EQ(c->TilesLabel()->text(), "144");
        EXPECT_GT(c->MovesLabel()->text().toInt(), 0);
        // The miniature shows tiles: not all of it is the plain purple.
        const QImage m = c->MinusBuffer();
        int purple = 0;
        for (int y = 0; y < m.height(); ++y)
            for (int x = 0; x < m.width(); ++x)
                purple += QColor(m.pixel(x, y)) == QColor(0x80, 0, 0x80);
        EXPECT_LT(purple, m.width() * m.height() * 3 / 4);
        c->BitBtn1Click();
        return c->result();
    };
    Run("SelectLayout1Click");
    EXPECT_EQ(form_->Session().boardNumber, sq);
    EXPECT_EQ(solitaire_->CurrentLayout().PlaceCount(), 144);
}

TEST_F(LayoutEditorTest, SeedDialogTakesTheNumberOnOk) {
    Start();
    answer_ = [&](QDialog& d) {
        auto* r = qobject_cast<TRandomWindow*>(&d);
        if (!r)
            return int(QDialog::Rejected);
        r->Field()->setText("4711");
        r->BitBtn1Click();
        return r->result();
    };
    Menu("NewSpecificGame1");
    EXPECT_EQ(form_->Prefs().GetInt("RandomSeed"), 4711);
    EXPECT_EQ(form_->GameMode(), kModeSolitaire);
    answer_ = [&](QDialog& d) {
        auto* r = qobject_cast<TRandomWindow*>(&d);
        r->Field()->setText("abc");
        r->BitBtn1Click();
        return r->result();
    };
    Menu("NewSpecificGame1");
    EXPECT_EQ(form_->Prefs().GetInt("RandomSeed"), 0);
}

} // namespace
} // namespace tovani

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
