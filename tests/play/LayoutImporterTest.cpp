// "Import Layout..." in the window, on Qt's offscreen platform: a layout of another game is
// saved among the player's layouts, listed in the Layout menu and played; a file of several
// maps asks which one; a refused file says why and changes nothing.
#include "play/LayoutImporter.h"
#include "GameWindowFixture.h"

#include "core/Files.h"
#include "play/BoardView.h"
#include "play/GameServices.h"
#include "play/HallKeeper.h"
#include "play/solitaire/SolitaireGame.h"
#include "shell/MainForm.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QListWidget>
#include <QMenu>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <memory>

namespace tovani {
namespace {

namespace fs = std::filesystem;

const QString kSamples = QString(TOVANI_SOURCE_DIR) + "/tests/solitaire/import/";

class LayoutImporterTest : public test::GameWindowFixture {
protected:
    // The settings are the player's, in the data folder.
    LayoutImporterTest()
        : GameWindowFixture("tovani_import_", 3600000, {.background = false, .settings = false}) {}
    void SetUp() override {
        GameWindowFixture::SetUp();
        fs::create_directories(dir_ / "data" / "tovani");
        Write("data/tovani/Tovani.ini", "[Tovani]\r\nLanguage=English\r\nMaximize=0\r\n");

        // An installed game: the program's folder is not the player's.
        MainFormOptions o = WindowOptions();
        o.programDirWritable = false;
        o.dataHome = QString::fromStdString((dir_ / "data").string());
        OpenWindow(o);
        solitaire_ = std::make_unique<SolitaireGame>(*services_, *hall_);
        importer_ = std::make_unique<LayoutImporter>(*services_);
        services_->SetMessageRunner(
            [this](const QString&, const QString& text) { messages_ << text; });
        services_->SetFileNameRunner([this](GameServices::FileDialog kind, const QString&,
                                            const QString&, const QString& filter) {
            EXPECT_EQ(kind, GameServices::FileDialog::Open);
            EXPECT_TRUE(filter.contains("*.layout") && filter.contains("*.map"));
            return fileName_;
        });
        services_->SetDialogRunner([this](QDialog& d) {
            auto* list = d.findChild<QListWidget*>("ImportMaps");
            if (!list)
                return 0;
            for (int i = 0; i < list->count(); ++i)
                offered_ << list->item(i)->text();
            if (pick_ < 0)
                return 0; // the player cancels
            list->setCurrentRow(pick_);
            return 1;
        });
        connect_ = QObject::connect(form_.get(), &TMainForm::StatusShown,
                                    [this](const QString& t) { status_ << t; });
        ShowWindow();
    }
    void CloseGames() override {
        QObject::disconnect(connect_);
        importer_.reset();
        solitaire_.reset();
    }
    QStringList LayoutMenu() {
        QStringList items;
        for (QAction* a : form_->TopMenu("Layout1")->actions())
            if (a->property("handler").toString() == "LoadlayoutClick")
                items << a->text() + (a->isChecked() ? "*" : "");
        return items;
    }
    fs::path PlayerLayouts() { return dir_ / "data" / "tovani" / "Layouts"; }

    std::unique_ptr<SolitaireGame> solitaire_;
    std::unique_ptr<LayoutImporter> importer_;
    QMetaObject::Connection connect_;
    QString fileName_;
    int pick_ = 0;
    QStringList messages_, offered_, status_;
};

TEST_F(LayoutImporterTest, TheMenuItemImportsSavesListsAndPlaysTheLayout) {
    QAction* item = form_->Item("ImportLayout1");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), "Import Layout...");
    EXPECT_TRUE(form_->TopMenu("Layout1")->actions().contains(item));
    fileName_ = kSamples + "steps.layout";
    item->trigger();
    EXPECT_TRUE(messages_.isEmpty()) << messages_.join("\n").toStdString();
    // Saved among the player's layouts, not beside the program.
    EXPECT_TRUE(fs::exists(PlayerLayouts() / "steps.lay"));
    EXPECT_FALSE(fs::exists(dir_ / "Layouts" / "steps.lay"));
    // Listed in the Layout menu, checked, and played at once.
    EXPECT_TRUE(LayoutMenu().contains("steps*")) << LayoutMenu().join(", ").toStdString();
    EXPECT_EQ(form_->GameMode(), kModeSolitaire);
    EXPECT_EQ(solitaire_->GameBoard().tilesTotal, 20);
    Ticks(100);
    EXPECT_TRUE(status_.join("\n").contains("Layout imported: steps (20 tiles)."))
        << status_.join("\n").toStdString();

    // The same file again is kept beside the first, never over it.
    item->trigger();
    EXPECT_TRUE(fs::exists(PlayerLayouts() / "steps 2.lay"));
    EXPECT_TRUE(LayoutMenu().contains("steps 2*"));
    // Cancelling the file dialog does nothing.
    fileName_.clear();
    const QStringList before = LayoutMenu();
    item->trigger();
    EXPECT_EQ(LayoutMenu(), before);
}

TEST_F(LayoutImporterTest, AFileOfSeveralMapsAsksWhichOne) {
    fileName_ = kSamples + "gardens.map";
    pick_ = 1;
    EXPECT_EQ(importer_->ImportLayoutClick(), "Twin & Stars");
    EXPECT_EQ(offered_, QStringList({"Little Bridge (24 tiles)", "Twin & Stars (10 tiles)"}));
    EXPECT_TRUE(fs::exists(PlayerLayouts() / "Twin & Stars.lay"));
    EXPECT_FALSE(fs::exists(PlayerLayouts() / "Little Bridge.lay"));
    EXPECT_EQ(solitaire_->GameBoard().tilesTotal, 10);

    // The player cancels the choice: nothing is saved.
    pick_ = -1;
    EXPECT_TRUE(importer_->ImportLayoutClick().isEmpty());
    EXPECT_FALSE(fs::exists(PlayerLayouts() / "Little Bridge.lay"));
}

TEST_F(LayoutImporterTest, ARefusedFileSaysWhyAndChangesNothing) {
    const fs::path odd = dir_ / "odd.map";
    ASSERT_TRUE(WriteFileAtomic(odd.string(),
                                "<mahjongg><map name=\"Odd\"><layer z=\"0\">"
                                "<row left=\"0\" right=\"2\" y=\"0\"/></layer></map></mahjongg>"));
    const QStringList before = LayoutMenu();
    const int mode = form_->GameMode();
    EXPECT_TRUE(importer_->ImportFile(QString::fromStdString(odd.string())).isEmpty());
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_EQ(messages_[0].toStdString(),
              "The layout \"Odd\" has 3 tiles: an odd number cannot be removed in pairs.");
    EXPECT_EQ(LayoutMenu(), before);
    EXPECT_EQ(form_->GameMode(), mode);
    EXPECT_FALSE(fs::exists(PlayerLayouts() / "Odd.lay"));

    messages_.clear();
    EXPECT_TRUE(importer_->ImportFile(QString::fromStdString((dir_ / "missing.layout").string()))
                    .isEmpty());
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_TRUE(messages_[0].startsWith("Unable to read"));

    messages_.clear();
    EXPECT_TRUE(
        importer_
            ->ImportFile(QString::fromStdString((dir_ / "Layouts" / "Traditional.lay").string()))
            .isEmpty());
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_TRUE(messages_[0].contains("neither a KMahjongg layout nor a GNOME Mahjongg map"));
}

} // namespace
} // namespace tovani

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
