// The language files against the program: every message the code passes through the language
// component, and every caption and hint of every window the program can open, must be in the
// English file (as the program shows it) and translated in every other shipped language, with
// their placeholders and menu accelerators kept.
//
// A new window is checked by adding one line to WindowsToCheck(); a new text is accepted by
// adding one line to each file in content/Languages.
#include "core/Files.h"
#include "core/LanguageFile.h"
#include "dialogs/AboutBox.h"
#include "dialogs/GameOverForm.h"
#include "dialogs/HallWindow.h"
#include "dialogs/HelpViewer.h"
#include "dialogs/LanguageChooser.h"
#include "dialogs/RandomWindow.h"
#include "play/BoardView.h"
#include "play/GameServices.h"
#include "play/HallKeeper.h"
#include "play/LayoutImporter.h"
#include "play/solitaire/LayoutChoice.h"
#include "play/solitaire/LayoutChooser.h"
#include "play/solitaire/LayoutEditor.h"
#include "play/solitaire/SolitaireGame.h"
#include "shell/Language.h"
#include "shell/MainForm.h"

#include <QAction>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <sstream>

namespace tovani {
namespace {

namespace fs = std::filesystem;

const fs::path kSource = TOVANI_SOURCE_DIR;
const fs::path kLanguages = kSource / "content" / "Languages";
const char* const kTranslated[] = {"French", "German"};

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The value of a C++ string literal (without its quotes).
std::string Unescape(const std::string& body) {
    std::string out;
    for (size_t i = 0; i < body.size(); ++i) {
        if (body[i] != '\\' || i + 1 == body.size()) {
            out += body[i];
            continue;
        }
        char c = body[++i];
        if (c == 'u' && i + 4 < body.size()) { // \uXXXX, as UTF-8
            const unsigned code = std::stoul(body.substr(i + 1, 4), nullptr, 16);
            i += 4;
            if (code < 0x80) {
                out += static_cast<char>(code);
            } else if (code < 0x800) {
                out += static_cast<char>(0xC0 | (code >> 6));
                out += static_cast<char>(0x80 | (code & 0x3F));
            } else {
                out += static_cast<char>(0xE0 | (code >> 12));
                out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
                out += static_cast<char>(0x80 | (code & 0x3F));
            }
            continue;
        }
        out += c == 'n' ? '\n' : c == 't' ? '\t' : c;
    }
    return out;
}

// Every English text that the sources pass as a literal to Tr(), TrKey() or Splashing(), with
// the file where it is first found.
std::map<std::string, std::string> MessageKeysOfTheCode() {
    static const std::regex call(
        R"re(\b(?:Tr|TrKey|Splashing)\(\s*((?:"(?:[^"\\]|\\.)*"\s*)+)\))re");
    static const std::regex literal(R"re("((?:[^"\\]|\\.)*)")re");
    std::map<std::string, std::string> keys;
    for (const auto& entry : fs::recursive_directory_iterator(kSource / "src")) {
        const std::string ext = entry.path().extension().string();
        if ((ext != ".cpp" && ext != ".h") || entry.path().filename() == "TextKey.h")
            continue;
        const std::string text = ReadAll(entry.path());
        for (std::sregex_iterator m(text.begin(), text.end(), call), end; m != end; ++m) {
            std::string key;
            const std::string group = (*m)[1];
            for (std::sregex_iterator l(group.begin(), group.end(), literal); l != end; ++l)
                key += Unescape((*l)[1]);
            keys.emplace(key, fs::relative(entry.path(), kSource).string());
        }
    }
    return keys;
}

// A program folder with the shipped language files, for the windows to be built in.
class ProgramFolder {
public:
    ProgramFolder() {
        dir_ = fs::temp_directory_path() / ("tovani_language_files_" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "Languages");
        for (const auto& e : fs::directory_iterator(kLanguages))
            fs::copy_file(e.path(), dir_ / "Languages" / e.path().filename());
        WriteFileAtomic((dir_ / "Tovani.ini").string(),
                        "[Tovani]\r\nLanguage=English\r\nMaximize=0\r\n");
    }
    // Adds the layouts and one tileset, for the games to be played.
    void AddGameContent() const {
        const fs::path bin = TOVANI_BIN_DIR;
        for (const char* folder : {"Layouts", "Small"})
            fs::copy(bin / folder, dir_ / folder, fs::copy_options::recursive);
        fs::create_directories(dir_ / "Tilesets");
        fs::copy(bin / "Tilesets" / "Ivory.bmp", dir_ / "Tilesets" / "Ivory.bmp");
    }
    std::string DataHome() const { return (dir_ / "data").string(); }
    ~ProgramFolder() { fs::remove_all(dir_); }
    QString Path() const { return QString::fromStdString(dir_.string()) + "/"; }

private:
    fs::path dir_;
};

// Every window the program can open, built as the program builds it.
std::vector<std::function<std::unique_ptr<QWidget>()>> WindowsToCheck(const QString& programDir) {
    static HallOfFame hall;
    return {
        [programDir] {
            MainFormOptions o;
            o.programDir = programDir;
            o.startTimers = false;
            o.interactive = false;
            return std::make_unique<TMainForm>(o);
        },
        [] {
            HallWindow::Context c;
            c.hall = &hall;
            return std::make_unique<HallWindow>(c, QImage());
        },
        [] { return std::make_unique<GameOverForm>(QImage(), QPixmap()); },
        [] {
            TRandomWindow::Context c;
            c.draw = [](uint32_t n) { return n / 2; };
            return std::make_unique<TRandomWindow>(c, QImage());
        },
        [programDir] { return std::make_unique<HelpViewer>(nullptr, programDir + "Help"); },
        [] { return std::make_unique<AboutBox>(nullptr, "10.21", 3); },
        [] {
            return std::make_unique<LanguageChooser>(nullptr, QStringList{"English"}, "English");
        },
        [] {
            // The chooser as the Layout menu opens it, and its expanded view, on an empty list.
            static const LayoutCatalog catalog;
            TChooseLayout::Context c;
            c.catalog = &catalog;
            return std::make_unique<TChooseLayout>(c);
        },
        [] {
            static const LayoutCatalog catalog;
            return std::make_unique<TExtendedChoose>(catalog, std::vector<int>{}, QImage(), false,
                                                     nullptr);
        },
    };
}

struct LanguageFiles : ::testing::Test {
    static void SetUpTestSuite() {
        english = LanguageFile::Load((kLanguages / "English.txt").string());
        for (const char* name : kTranslated)
            others[name] = LanguageFile::Load((kLanguages / (std::string(name) + ".txt")).string());
    }
    // Checks the captions and hints of one window (of its part `within`, when given) against the
    // files; answers how many there are.
    static int CheckWindow(QWidget* window, QWidget* within = nullptr) {
        int paths = 0;
        for (const QString& path : TLanguage::CollectProperties(window)) {
            QString property;
            QObject* component = TLanguage::FindComponent(
                QString::fromStdString(LanguageFile::ResolvePath(path.toStdString())), &property,
                window);
            EXPECT_NE(component, nullptr) << path.toStdString();
            if (!component)
                continue;
            auto* widget = qobject_cast<QWidget*>(component);
            if (within && (!widget || (widget != within && !within->isAncestorOf(widget))))
                continue;
            ++paths;
            const std::string built = TLanguage::CurrentValue(component, property).toStdString();
            const std::string key = path.toStdString();
            EXPECT_EQ(english.Translation(key), built)
                << "English.txt must hold " << key << "=" << built;
            for (const auto& [name, other] : others)
                EXPECT_FALSE(other.Translation(key).empty()) << name << ".txt lacks " << key;
        }
        return paths;
    }
    static LanguageFile english;
    static std::map<std::string, LanguageFile> others;
};
LanguageFile LanguageFiles::english;
std::map<std::string, LanguageFile> LanguageFiles::others;

TEST_F(LanguageFiles, HoldEveryMessageOfTheCode) {
    const auto keys = MessageKeysOfTheCode();
    ASSERT_GT(keys.size(), 100u);
    for (const auto& [key, file] : keys) {
        EXPECT_EQ(key.find('='), std::string::npos)
            << file << ": \"" << key << "\" cannot be a key of a language file (it holds '=')";
        EXPECT_TRUE(english.HasMessage(key) && english.Message(key) == key)
            << "English.txt lacks the message \"" << key << "\" (" << file << ")";
        for (const auto& [name, other] : others)
            EXPECT_TRUE(other.HasMessage(key))
                << name << ".txt lacks the message \"" << key << "\" (" << file << ")";
    }
}

TEST_F(LanguageFiles, HoldEveryCaptionAndHintOfEveryWindow) {
    ProgramFolder folder;
    int paths = 0;
    for (const auto& make : WindowsToCheck(folder.Path())) {
        std::unique_ptr<QWidget> window = make();
        paths += CheckWindow(window.get());
    }
    EXPECT_GT(paths, 300);
}

// The windows the games open, as they open them in play: the layout chooser and its expanded
// view from the Layout menu, the chooser of a file of several layouts to import, and the main
// window while the layout editor shows its panel.
TEST_F(LanguageFiles, HoldEveryCaptionOfTheWindowsTheGamesOpen) {
    ProgramFolder folder;
    folder.AddGameContent();
    MainFormOptions o;
    o.programDir = folder.Path();
    o.startTimers = false;
    o.interactive = false;
    o.dataHome = QString::fromStdString(folder.DataHome());
    TMainForm form(o);
    BoardView view(form);
    GameServices services(form, view);
    HallKeeper hall(services);
    SolitaireGame solitaire(services, hall);
    LayoutEditor editor(services, hall, solitaire);
    LayoutChoice choice(services);
    LayoutImporter importer(services);

    std::set<std::string> opened;
    int paths = 0;
    services.SetDialogRunner([&](QDialog& d) {
        opened.insert(d.objectName().toStdString());
        paths += CheckWindow(&d);
        if (auto* chooser = qobject_cast<TChooseLayout*>(&d))
            chooser->BitBtn5Click(); // the expanded view, run through here as well
        return int(QDialog::Rejected);
    });
    services.SetMessageRunner([](const QString&, const QString&) {});
    services.SetQuestionRunner([](const QString&, const QString&) { return true; });
    form.resize(1000, 760);
    form.show();
    form.Temps();

    form.Item("SelectLayout1")->trigger();
    importer.ImportFile(QString::fromStdString(
        (kSource / "tests" / "solitaire" / "import" / "gardens.map").string()));
    EXPECT_EQ(opened, (std::set<std::string>{"ChooseLayout", "ExtendedChoose", "ImportChooser"}));
    EXPECT_GE(paths, 10);

    form.Item("CreateLayout1")->trigger();
    ASSERT_TRUE(form.Area("EditorPanel")->isVisible());
    EXPECT_GE(CheckWindow(&form, form.Area("EditorPanel")), 7); // four captions, three hints
}

// The placeholders (%1, %s) of a text, in order, and its number of accelerator marks.
std::pair<std::vector<std::string>, int> Marks(const std::string& text) {
    std::vector<std::string> placeholders;
    int accelerators = 0;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '%' && (std::isdigit(static_cast<unsigned char>(text[i + 1])) ||
                               text[i + 1] == 's' || text[i + 1] == 'd'))
            placeholders.push_back(text.substr(i, 2));
        if (text[i] == '&' && text[i + 1] == '&')
            ++i;
        else if (text[i] == '&' && text[i + 1] != ' ')
            ++accelerators;
    }
    std::sort(placeholders.begin(), placeholders.end());
    return {placeholders, accelerators};
}

TEST_F(LanguageFiles, TranslateEveryEnglishTextKeepingPlaceholdersAndAccelerators) {
    const std::string englishText = ReadAll(kLanguages / "English.txt");
    IniFile ini;
    ini.Parse(englishText);
    for (const auto& [name, other] : others) {
        EXPECT_EQ(other.Charset(), 1) << name;
        for (const std::string& key : ini.KeysOf("Messages")) {
            if (key == "LanguageCharset")
                continue;
            ASSERT_TRUE(other.HasMessage(key))
                << name << ".txt lacks the message \"" << key << "\"";
            EXPECT_EQ(Marks(other.Message(key)).first, Marks(key).first)
                << name << ": " << key << " -> " << other.Message(key);
        }
        for (const std::string& path : english.Paths()) {
            const std::string value = other.Translation(path);
            ASSERT_FALSE(value.empty()) << name << ".txt lacks " << path;
            EXPECT_EQ(Marks(value), Marks(english.Translation(path)))
                << name << ": " << path << " -> " << value;
        }
        EXPECT_EQ(other.Paths().size(), english.Paths().size())
            << name << " has paths English lacks";
    }
}

TEST_F(LanguageFiles, WriteHallOfFameDatesInTheirOwnOrder) {
    HallOfFame hall;
    hall.SetLayouts({"Traditional"});
    HallOfFame::Result r;
    r.board = 1;
    r.total = 300;
    r.player = "Ann";
    r.date = "07/12/26";
    ASSERT_EQ(hall.AddHall(r), 1);
    auto dateIn = [&](const LanguageFile& file) {
        HallWindow::Context c;
        c.hall = &hall;
        c.translate = [&file](const QString& s) {
            return QString::fromStdString(file.Message(s.toStdString()));
        };
        HallWindow window(c, QImage());
        return window.RowText(1).date.toStdString();
    };
    EXPECT_EQ(dateIn(english), "07/12/26");
    EXPECT_EQ(dateIn(others.at("French")), "07/12/26");
    EXPECT_EQ(dateIn(others.at("German")), "07.12.26");
}

} // namespace
} // namespace tovani
