// The layout list, the start-up choice of the layout, and loading a layout for play.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestBoards.h"
#include "core/Files.h"
#include "solitaire/LayoutCatalog.h"

namespace tovani {
namespace {

namespace fs = std::filesystem;

std::string LayText(const std::string& version, const std::string& name, int places) {
    std::string p(kLayoutCells, '0');
    for (int i = 0; i < places; ++i)
        p[static_cast<size_t>(i * 2)] = '1';
    return version + "\r\n" + name + "\r\n" + p + "\r\n";
}

class LayoutFolder : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = (fs::temp_directory_path() /
                ("tovani-layouts-" +
                 std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name()))
                   .string();
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    void Write(const std::string& name, const std::string& bytes) {
        ASSERT_TRUE(WriteFileAtomic(JoinPath(dir_, name), bytes));
    }
    std::string Path(const std::string& name) const { return JoinPath(dir_, name); }
    std::string dir_;
};

TEST(LayoutCatalog, LayFilesSortedThenShpFiles) {
    LayoutCatalog cat = LayoutCatalog::FromFileNames(
        "/L", {"zeta.lay", "Spiral.shp", "Traditional.LAY", "alpha.lay", "notes.txt", "Arena.shp",
               ".lay", "Beta.lay"});
    ASSERT_EQ(cat.Count(), 6);
    EXPECT_EQ(cat.LayCount(), 4);
    std::vector<std::string> names;
    for (const auto& e : cat.Entries())
        names.push_back(e.name);
    EXPECT_EQ(names, (std::vector<std::string>{"alpha", "Beta", "Traditional", "zeta", "Arena.shp",
                                               "Spiral.shp"}));
    EXPECT_EQ(cat.PathOf(3), "/L/Traditional.LAY");
    EXPECT_EQ(cat.PathOf(6), "/L/Spiral.shp");
    EXPECT_EQ(cat.PathOf(7), "");
    EXPECT_EQ(cat.NumberOf("traditional"), 3);
    EXPECT_EQ(cat.NumberOf("nothing"), 0);
    EXPECT_EQ(cat.TraditionalNumber(), 3);
    EXPECT_EQ(LayoutCatalog::FromFileNames("/L", {"a.lay"}).TraditionalNumber(), 1);
}

// An installed program lists the player's own layouts beside the shipped ones; the player's
// copy of a shipped layout takes its place.
TEST_F(LayoutFolder, PlayerLayoutsAreListedBesideTheShippedOnes) {
    fs::create_directories(Path("shipped"));
    fs::create_directories(Path("mine"));
    Write("shipped/Traditional.lay", "x");
    Write("shipped/Pyramid.lay", "x");
    Write("shipped/Star.shp", "x");
    Write("mine/Garden.lay", "x");
    Write("mine/pyramid.LAY", "x");
    LayoutCatalog cat = LayoutCatalog::Scan(Path("shipped"), Path("mine"));
    ASSERT_EQ(cat.Count(), 4);
    EXPECT_EQ(cat.LayCount(), 3);
    EXPECT_EQ(cat.Entry(1)->name, "Garden");
    EXPECT_EQ(cat.PathOf(1), JoinPath(Path("mine"), "Garden.lay"));
    EXPECT_EQ(cat.PathOf(cat.NumberOf("Pyramid")), JoinPath(Path("mine"), "pyramid.LAY"));
    EXPECT_EQ(cat.PathOf(cat.NumberOf("Traditional")), JoinPath(Path("shipped"), "Traditional.lay"));
    EXPECT_TRUE(cat.Entry(4)->shp);
    // The same folder twice lists each layout once.
    EXPECT_EQ(LayoutCatalog::Scan(Path("shipped"), Path("shipped") + "/").Count(), 3);
}

TEST_F(LayoutFolder, MakeLayoutsFallsBackToTraditionalThenLayoutOne) {
    Write("Arena.lay", LayText("Tovani 6.0", "Arena", 4));
    Write("Traditional.lay", LayText("Tovani 3.0", "Traditional", 144));
    Write("Zoo.lay", LayText("Tovani 6.0", "Zoo", 8));
    Write("Spiral.shp", "");
    LayoutCatalog cat = LayoutCatalog::Scan(dir_);
    ASSERT_EQ(cat.Count(), 4);

    // In range: kept.
    LayoutSelection s = MakeLayouts(cat, 3, 1, "", "");
    EXPECT_EQ(s.boardNumber, 3);
    EXPECT_EQ(s.checked, 3);
    EXPECT_EQ(s.layoutPath, Path("Zoo.lay"));
    // Below 1, or past the ".lay" layouts: "Traditional".
    EXPECT_EQ(MakeLayouts(cat, 0, 1, "", "").boardNumber, 2);
    EXPECT_EQ(MakeLayouts(cat, 4, 1, "", "").boardNumber, 2);
    EXPECT_EQ(MakeLayouts(cat, 999, 1, "", "").layoutPath, Path("Traditional.lay"));
    // A ".shp" layout is found again by its path.
    LayoutSelection shp = MakeLayouts(cat, 4, 1, Path("Spiral.shp"), "");
    EXPECT_EQ(shp.boardNumber, 4);
    EXPECT_EQ(shp.layoutPath, Path("Spiral.shp"));
    // Another game's board number: the last board decides and the number stays.
    LayoutSelection other = MakeLayouts(cat, 1020, 3, "", "");
    EXPECT_EQ(other.boardNumber, 1020);
    EXPECT_EQ(other.checked, 3);
    EXPECT_EQ(MakeLayouts(cat, 1020, 0, "", "").lastBoard, 1);
    EXPECT_EQ(MakeLayouts(cat, 1020, 0, "", "").checked, 1);
    EXPECT_EQ(MakeLayouts(cat, 1020, 77, "", "").checked, 4); // at most the layout count
    // A ".lay" file named on the command line.
    EXPECT_EQ(MakeLayouts(cat, 2, 1, "", "/home/me/ZOO.LAY").boardNumber, 3);

    // No "Traditional": layout 1.
    fs::remove(Path("Traditional.lay"));
    LayoutCatalog cat2 = LayoutCatalog::Scan(dir_);
    EXPECT_EQ(MakeLayouts(cat2, 0, 1, "", "").boardNumber, 1);
    // A layout that vanished after the scan: layout 1.
    fs::remove(Path("Zoo.lay"));
    LayoutSelection gone = MakeLayouts(cat2, 2, 1, "", "");
    EXPECT_EQ(gone.boardNumber, 1);
    EXPECT_EQ(gone.layoutPath, Path("Arena.lay"));

    EXPECT_TRUE(MakeLayouts(LayoutCatalog::Scan(dir_ + "/none"), 1, 1, "", "").noLayouts);
}

TEST_F(LayoutFolder, LoadsLayFilesQuietlyOrNot) {
    Write("Small.lay", LayText("Tovani 6.0", "Small one", 8));
    LayoutCatalog cat = LayoutCatalog::Scan(dir_);
    LayoutLoad l = LoadLayLayout(Path("Small.lay"), cat);
    ASSERT_TRUE(l.ok);
    EXPECT_FALSE(l.quiet);
    EXPECT_EQ(l.layout.name, "Small one");
    EXPECT_EQ(l.layout.PlaceCount(), 8);
    EXPECT_EQ(l.boardNumber, 0);

    LayoutLoad q = LoadLayLayout(Path("Small.lay") + "*random", cat);
    ASSERT_TRUE(q.ok);
    EXPECT_TRUE(q.quiet);
    EXPECT_EQ(q.path, Path("Small.lay"));

    // Names are matched without regard to case.
    LayoutLoad c = LoadLayLayout(Path("SMALL.LAY"), cat);
    ASSERT_TRUE(c.ok);
    EXPECT_EQ(c.path, Path("Small.lay"));
}

TEST_F(LayoutFolder, AnotherVersionFallsBackToTheLastTraditional) {
    Write("Future.lay", LayText("Tovani 9.5", "Future", 8));
    Write("Traditional.lay", LayText("Tovani 3.0", "Traditional", 144));
    LayoutCatalog cat = LayoutCatalog::Scan(dir_);
    LayoutLoad l = LoadLayLayout(Path("Future.lay"), cat);
    ASSERT_TRUE(l.ok);
    ASSERT_TRUE(l.refusedVersion.has_value());
    EXPECT_EQ(*l.refusedVersion, "Tovani 9.5");
    EXPECT_EQ(l.layout.name, "Traditional");
    EXPECT_EQ(l.boardNumber, 2);
    EXPECT_EQ(l.path, Path("Traditional.lay"));

    // A quiet load stays quiet through the fallback.
    EXPECT_TRUE(LoadLayLayout(Path("Future.lay*random"), cat).quiet);

    // "Traditional" of another version too: the load fails (no endless round).
    Write("Traditional.lay", LayText("Tovani 1.0", "Traditional", 144));
    LayoutLoad f = LoadLayLayout(Path("Future.lay"), cat);
    EXPECT_FALSE(f.ok);
    EXPECT_EQ(f.error.code, LayoutErrorCode::WrongVersion);
    EXPECT_TRUE(f.refusedVersion.has_value());
}

TEST_F(LayoutFolder, FailedLoadsSayWhy) {
    Write("Odd.lay", LayText("Tovani 6.0", "Odd", 7));
    Write("Big.lay", LayText("Tovani 3.0", "Big", 150));
    Write("Empty.lay", LayText("Tovani 6.0", "Empty", 0));
    Write("Cut.lay", "Tovani 6.0\r\nCut\r\n0101");
    LayoutCatalog cat = LayoutCatalog::Scan(dir_);
    EXPECT_EQ(LoadLayLayout(Path("Odd.lay"), cat).error.code, LayoutErrorCode::OddPlaces);
    EXPECT_EQ(LoadLayLayout(Path("Big.lay"), cat).error.code, LayoutErrorCode::TooManyPlaces);
    EXPECT_EQ(LoadLayLayout(Path("Empty.lay"), cat).error.code, LayoutErrorCode::NoPlaces);
    LayoutLoad cut = LoadLayLayout(Path("Cut.lay"), cat);
    EXPECT_FALSE(cut.ok);
    EXPECT_EQ(cut.error.code, LayoutErrorCode::PlacesTooShort);
    EXPECT_EQ(cut.error.file, "Cut.lay");
    LayoutLoad missing = LoadLayLayout(Path("Missing.lay"), cat);
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.error.code, LayoutErrorCode::CannotRead);
    EXPECT_EQ(LayoutErrorMessage(missing.error),
              "The layout file \"Missing.lay\" cannot be read.");
}

TEST_F(LayoutFolder, ShpLayoutsAreNamedByTheirPath) {
    std::string text;
    for (int i = 0; i < kShpLines; ++i) {
        char line[16];
        std::snprintf(line, sizeof line, "%03d%02X%02X00\r\n", i + 1, (i % 16) * 2, (i / 16) * 2);
        text += line;
    }
    Write("Grid.shp", text);
    LayoutCatalog cat = LayoutCatalog::Scan(dir_);
    LayoutLoad l = LoadLayoutFile(Path("Grid.shp"), cat);
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.layout.name, "Grid.shp"); // named as its menu item, without the folder
    EXPECT_EQ(l.path, Path("Grid.shp"));
    EXPECT_EQ(l.layout.PlaceCount(), kTileCount);
    EXPECT_FALSE(l.quiet);
    // "Random Layouts" may draw a ".shp" layout: loaded quietly as well.
    LayoutLoad q = LoadLayoutFile(Path("Grid.shp") + "*random", cat);
    ASSERT_TRUE(q.ok);
    EXPECT_TRUE(q.quiet);
    EXPECT_EQ(q.path, Path("Grid.shp"));

    Write("Short.shp", text.substr(0, text.size() / 2));
    LayoutLoad s = LoadShpLayout(Path("Short.shp"));
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.error.code, LayoutErrorCode::ShpTooFewLines);
}

} // namespace
} // namespace tovani
