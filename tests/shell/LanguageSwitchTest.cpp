// The language component on Qt's widgets, and the main window switching language while a game
// is in play: captions, hints, menus, the status line, open dialogs and message boxes change at
// once, and English puts back every text as built.
#include "core/Files.h"
#include "core/IniFile.h"
#include "dialogs/RandomWindow.h"
#include "shell/Language.h"
#include "shell/MainForm.h"
#include "support/TestFolder.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

namespace tovani {
namespace {

namespace fs = std::filesystem;

// A small window with one component of each kind the language files name.
struct SampleForm {
    SampleForm() {
        form.setObjectName("SampleForm");
        form.setWindowTitle("Sample");
        auto* group = new QGroupBox("Group", &form);
        group->setObjectName("GroupBox1");
        button = new QPushButton("Press", group);
        button->setObjectName("BitBtn1");
        button->setToolTip("Presses");
        label = new QLabel("Label", &form);
        label->setObjectName("Label1");
        list = new QListWidget(&form);
        list->setObjectName("ListBox1");
        list->addItems({"one", "two"});
        combo = new QComboBox(&form);
        combo->setObjectName("ComboBox1");
        spin = new QSpinBox(&form);
        spin->setObjectName("SpinEdit1");
        spin->setMaximum(10);
        tabs = new QTabWidget(&form);
        tabs->setObjectName("PageControl1");
        auto* page = new QWidget;
        page->setObjectName("TabSheet1");
        tabs->addTab(page, "Rules");
        menu = new QMenu("File", &form);
        menu->setObjectName("File1");
        action = new QAction("Exit", &form);
        action->setObjectName("Exit1");
        menu->addAction(action);
    }
    QWidget form;
    QPushButton* button;
    QLabel* label;
    QListWidget* list;
    QComboBox* combo;
    QSpinBox* spin;
    QTabWidget* tabs;
    QMenu* menu;
    QAction* action;
};

TEST(LanguagePaths, SetEachKindOfPropertyByNameInAnyCase) {
    SampleForm s;
    TLanguage lang(&s.form);
    lang.ApplyPath("SampleForm.BitBtn1.Caption", "Appuyer");
    lang.ApplyPath("sampleform.bitbtn1.hint", "Appuie");
    lang.ApplyPath("SampleForm.Label1.Caption", "Etiquette");
    lang.ApplyPath("SampleForm.GroupBox1.Caption", "Groupe");
    lang.ApplyPath("SampleForm.TabSheet1.Caption", "R\xC3\xA8gles");
    lang.ApplyPath("SampleForm.File1.Caption", "Fichier");
    lang.ApplyPath("SampleForm.Exit1.Caption", "Quitter");
    lang.ApplyPath(" SampleForm . Caption ", "Exemple");
    EXPECT_EQ(s.button->text(), "Appuyer");
    EXPECT_EQ(s.button->toolTip(), "Appuie");
    EXPECT_EQ(s.label->text(), "Etiquette");
    EXPECT_EQ(s.form.findChild<QGroupBox*>("GroupBox1")->title(), "Groupe");
    EXPECT_EQ(s.tabs->tabText(0), "R\xC3\xA8gles");
    EXPECT_EQ(s.menu->title(), "Fichier");
    EXPECT_EQ(s.action->text(), "Quitter");
    EXPECT_EQ(s.form.windowTitle(), "Exemple");
}

TEST(LanguagePaths, ListsIntegersAndWhatIsLeftAlone) {
    SampleForm s;
    TLanguage lang(&s.form);
    // Three items with blanks around them and a trailing separator give exactly three items.
    lang.ApplyPath("SampleForm.ListBox1.Items", " un , deux,trois ,");
    ASSERT_EQ(s.list->count(), 3);
    EXPECT_EQ(s.list->item(0)->text(), "un");
    EXPECT_EQ(s.list->item(2)->text(), "trois");
    lang.SetSeparator(";");
    lang.ApplyPath("SampleForm.ComboBox1.Items", "a, b; c");
    ASSERT_EQ(s.combo->count(), 2);
    EXPECT_EQ(s.combo->itemText(0), "a, b");
    lang.ApplyPath("SampleForm.SpinEdit1.Maximum", " 42 ");
    EXPECT_EQ(s.spin->maximum(), 42);
    // A value that is no number leaves an integer property as it was.
    lang.ApplyPath("SampleForm.SpinEdit1.Maximum", "many");
    EXPECT_EQ(s.spin->maximum(), 42);
    // An empty value, a missing component or property, or an empty path change nothing.
    lang.ApplyPath("SampleForm.BitBtn1.Caption", "");
    lang.ApplyPath("SampleForm.Nobody.Caption", "x");
    lang.ApplyPath("SampleForm.BitBtn1.NoSuchProperty", "x");
    lang.ApplyPath("NoForm.BitBtn1.Caption", "x");
    lang.ApplyPath("   ", "x");
    EXPECT_EQ(s.button->text(), "Press");
}

TEST(LanguagePaths, APassReadsTheFileAndLetsOnTranslateChangeValues) {
    const fs::path file = fs::temp_directory_path() / "tovani_language_pass.txt";
    ASSERT_TRUE(WriteFileAtomic(file.string(), "[Messages]\nLanguageCharset=238\nYes=Oui\n"
                                               "[Translations]\n"
                                               "SampleForm.BitBtn1.Caption=Appuyer\n"
                                               "SampleForm.Label1.Caption=\n"
                                               "SampleForm.Exit1.Caption=Quitter\n"));
    SampleForm s;
    TLanguage lang(&s.form);
    std::vector<std::string> calls;
    lang.OnBeforeTranslation = [&] { calls.push_back("before"); };
    lang.OnAfterTranslation = [&] { calls.push_back("after"); };
    lang.OnTranslate = [&](TLanguage*, QObject* component, QString& value, const QString& current,
                           const QString& property) {
        calls.push_back(component->objectName().toStdString() + "." + property.toStdString() + ":" +
                        current.toStdString());
        if (component->objectName() == "Exit1")
            value = "Sortir";
    };
    lang.SetProperties({"SampleForm.BitBtn1.Caption", "  ", "SampleForm.Label1.Caption",
                        "SampleForm.Exit1.Caption"});
    lang.SetLanguageFile(QString::fromStdString(file.string()));
    EXPECT_EQ(s.button->text(), "Press") << "no pass until asked";
    lang.Translate();
    EXPECT_EQ(s.button->text(), "Appuyer");
    EXPECT_EQ(s.label->text(), "Label") << "an empty value does not blank a caption";
    EXPECT_EQ(s.action->text(), "Sortir");
    EXPECT_EQ(calls, (std::vector<std::string>{"before", "BitBtn1.Caption:Press",
                                               "Exit1.Caption:Exit", "after"}));
    EXPECT_EQ(lang.Charset(), 238);
    EXPECT_EQ(lang.Message("Yes"), "Oui");
    EXPECT_EQ(lang.Message("No"), "No");
    fs::remove(file);
}

TEST(LanguagePaths, EveryNamedCaptionAndHintIsTranslatable) {
    SampleForm s;
    QStringList paths = TLanguage::CollectProperties(&s.form);
    for (const char* p :
         {"SampleForm.Caption", "SampleForm.BitBtn1.Caption", "SampleForm.BitBtn1.Hint",
          "SampleForm.Label1.Caption", "SampleForm.GroupBox1.Caption",
          "SampleForm.TabSheet1.Caption", "SampleForm.File1.Caption", "SampleForm.Exit1.Caption"})
        EXPECT_TRUE(paths.contains(p)) << p;
    // What the program writes itself is not a caption to translate.
    s.label->setProperty("codeText", true);
    s.button->setText("12:34");
    paths = TLanguage::CollectProperties(&s.form);
    EXPECT_FALSE(paths.contains("SampleForm.Label1.Caption"));
    EXPECT_FALSE(paths.contains("SampleForm.BitBtn1.Caption"));
    EXPECT_TRUE(paths.contains("SampleForm.BitBtn1.Hint"));
}

// ---- The main window --------------------------------------------------------------------------

class LanguageSwitch : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = test::FreshTestFolder("tovani_language_switch_");
        fs::create_directories(dir_ / "Languages");
        for (const auto& e :
             fs::directory_iterator(fs::path(TOVANI_SOURCE_DIR) / "content" / "Languages"))
            fs::copy_file(e.path(), dir_ / "Languages" / e.path().filename());
        Ini("English");
    }
    void TearDown() override {
        form_.reset();
        fs::remove_all(dir_);
    }
    void Ini(const std::string& language) {
        ASSERT_TRUE(WriteFileAtomic((dir_ / "Tovani.ini").string(),
                                    "[Tovani]\r\nLanguage=" + language + "\r\nMaximize=0\r\n"));
    }
    TMainForm& Start() {
        MainFormOptions o;
        o.programDir = QString::fromStdString(dir_.string()) + "/";
        o.clock = &clock_;
        o.startTimers = false;
        o.interactive = false;
        form_ = std::make_unique<TMainForm>(o);
        form_->show();
        form_->Temps();
        return *form_;
    }
    void Choose(const QString& language) {
        QMenu* menu = form_->TopMenu("MenuLanguage");
        for (QAction* a : menu->actions())
            if (a->text() == language) {
                a->trigger();
                return;
            }
        ADD_FAILURE() << "no language item " << language.toStdString();
    }
    QString Caption(const char* name) {
        if (QMenu* m = form_->TopMenu(name))
            return m->title();
        if (QAction* a = form_->Item(name))
            return a->text();
        if (auto* b = form_->findChild<QAbstractButton*>(name))
            return b->text();
        if (auto* l = form_->findChild<QLabel*>(name))
            return l->text();
        return "?";
    }
    // The status message, whole: while it is revealed the line holds it, then the field.
    QString StatusShown() {
        QString text = QString::fromStdString(form_->Session().status.Text());
        return text.trimmed().isEmpty() ? form_->findChild<QLabel*>("StatusText")->text() : text;
    }
    QString Hint(const char* name) { return form_->findChild<QWidget*>(name)->toolTip(); }
    // Every caption and hint of the main window, as shown now.
    std::map<QString, QString> Texts() {
        std::map<QString, QString> texts;
        for (const QString& path : TLanguage::CollectProperties(form_.get()))
            texts[path] = TLanguage::ValueAt(path, form_.get());
        return texts;
    }

    fs::path dir_;
    ManualClock clock_{100000};
    std::unique_ptr<TMainForm> form_;
};

TEST_F(LanguageSwitch, FrenchAndGermanChangeEveryTextAndEnglishPutsThemBack) {
    TMainForm& f = Start();
    f.ShowStatus(f.Tr("New game started."));
    for (int i = 0; i < 40; ++i) { // the message is revealed to its end
        clock_.Advance(50);
        f.Temps();
    }
    ASSERT_EQ(f.findChild<QLabel*>("StatusText")->text(), "New game started.");
    f.Session().boardNumber = 1000;
    f.IM(1); // a game in play, its board named in the caption
    const auto english = Texts();
    ASSERT_GT(english.size(), 250u);
    const QString englishTitle = f.windowTitle();

    Choose("French");
    EXPECT_EQ(Caption("File1"), "Nouveau");
    EXPECT_EQ(Caption("Exit1"), "&Quitter");
    EXPECT_EQ(Caption("Undo1"), "&Annuler");
    EXPECT_EQ(Caption("GiveHint"), "&Indice");
    EXPECT_EQ(Caption("ShuffleButton"), "M\xC3\xA9langer");
    EXPECT_EQ(Hint("ExplorerButton1"), "Nouvelle partie");
    EXPECT_EQ(Caption("StartLevel"), "Niveau 1") << "the start level keeps its number";
    EXPECT_EQ(f.Tr("Please confirm"), "Veuillez confirmer");
    EXPECT_EQ(StatusShown(), "Nouvelle partie lanc\xC3\xA9"
                             "e.");
    EXPECT_NE(f.windowTitle(), englishTitle);
    EXPECT_TRUE(f.windowTitle().contains("Rivi\xC3\xA8res")) << f.windowTitle().toStdString();
    // Nothing is left as it was in English, but names, numbers and words that read the same.
    int same = 0;
    for (const auto& [path, text] : Texts())
        if (text == english.at(path))
            ++same;
    EXPECT_LT(same, 25);

    Choose("German");
    EXPECT_EQ(Caption("File1"), "Neu");
    EXPECT_EQ(Caption("LastPlayedGame1"), "Neues Spiel");
    EXPECT_EQ(Caption("Undo1"), "&R\xC3\xBC"
                                "ckg\xC3\xA4ngig");
    EXPECT_EQ(Caption("GiveHint"), "&Tipp");
    EXPECT_EQ(Caption("ShuffleButton"), "Mischen");

    EXPECT_EQ(StatusShown(), "Neues Spiel gestartet.");

    Choose("English");
    EXPECT_EQ(Texts(), english);
    EXPECT_EQ(f.windowTitle(), englishTitle);
    EXPECT_EQ(StatusShown(), "New game started.");
}

TEST_F(LanguageSwitch, APausedGameKeepsItsContinueButtonInTheNewLanguage) {
    TMainForm& f = Start();
    f.IM(1);
    f.PauseClick();
    ASSERT_EQ(f.GameMode(), 10);
    ASSERT_EQ(Caption("Pause1"), "Continue");
    ASSERT_EQ(Caption("PauseButton"), "Play");
    Choose("German");
    EXPECT_EQ(Caption("Pause1"), "Weiter");
    EXPECT_EQ(Caption("PauseButton"), "Spielen");
    Choose("French");
    EXPECT_EQ(Caption("Pause1"), "Reprendre");
    EXPECT_EQ(Caption("PauseButton"), "Jouer");
    f.PauseClick();
    EXPECT_EQ(Caption("Pause1"), "&Pause");
    EXPECT_EQ(Caption("PauseButton"), "Pause");
}

TEST_F(LanguageSwitch, OpenDialogsAndMessageBoxesSpeakTheChosenLanguage) {
    TMainForm& f = Start();
    Choose("French");
    QString yes, title;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                yes = box->button(QMessageBox::Yes)->text().remove('&'); // Qt's own marks it
                box->reject();
            }
    });
    QMessageBox::question(&f, "Tovani", f.Tr("Please confirm"), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(yes, "Oui");

    TRandomWindow::Context c;
    c.draw = [](uint32_t n) { return n / 2; };
    c.translate = [&f](const QString& s) { return f.Tr(s); };
    TRandomWindow seed(c, QImage(), &f);
    seed.show();
    EXPECT_EQ(seed.findChild<QPushButton*>("BitBtn2")->text(),
              f.Language().File().Message("New random game seed").c_str());
    EXPECT_NE(seed.findChild<QPushButton*>("BitBtn2")->text(), "New random game seed");
    // A dialog open while the language changes changes with the window.
    Choose("German");
    EXPECT_EQ(
        seed.findChild<QPushButton*>("BitBtn2")->text(),
        QString::fromStdString(f.Language().File().Translation("RandomWindow.BitBtn2.Caption")));
    EXPECT_EQ(seed.windowTitle().toStdString(),
              f.Language().File().Message("New Specific (Seed) Game"));
    Choose("English");
    EXPECT_EQ(seed.findChild<QPushButton*>("BitBtn2")->text(), "New random game seed");
}

TEST_F(LanguageSwitch, TheChoiceIsSavedAndAppliedAtTheNextStart) {
    {
        TMainForm& f = Start();
        Choose("German");
        ASSERT_TRUE(f.SaveSettings());
    }
    IniFile ini((dir_ / "Tovani.ini").string());
    EXPECT_EQ(ini.ReadString("Tovani", "Language", ""), "German");
    form_.reset();
    Start();
    EXPECT_EQ(Caption("File1"), "Neu");
    QMenu* menu = form_->TopMenu("MenuLanguage");
    int checked = 0;
    for (QAction* a : menu->actions())
        if (a->isChecked()) {
            ++checked;
            EXPECT_EQ(a->text(), "German");
        }
    EXPECT_EQ(checked, 1);
}

TEST_F(LanguageSwitch, EnglishIsNotAppliedAtStartButIsWhenChosen) {
    // An English file whose caption differs from the program's own shows which one is used.
    std::string text;
    ASSERT_TRUE(ReadWholeFile((dir_ / "Languages" / "English.txt").string(), 1u << 20).has_value());
    text = *ReadWholeFile((dir_ / "Languages" / "English.txt").string(), 1u << 20);
    text.replace(text.find("Tovani.File1.Caption=New"), 24, "Tovani.File1.Caption=Begin");
    ASSERT_TRUE(WriteFileAtomic((dir_ / "Languages" / "English.txt").string(), text));
    Start();
    EXPECT_EQ(Caption("File1"), "New");
    Choose("English");
    EXPECT_EQ(Caption("File1"), "Begin");
}

TEST_F(LanguageSwitch, AMissingLanguageFileLeavesEverythingEnglish) {
    TMainForm& f = Start();
    const auto english = Texts();
    fs::remove(dir_ / "Languages" / "French.txt");
    Choose("French");
    EXPECT_EQ(Texts(), english);
    EXPECT_EQ(f.Tr("Please confirm"), "Please confirm");
}

TEST_F(LanguageSwitch, StartUpSaysWhatItFoundWrongInThePlayersLanguage) {
    // The folder has no music: start-up finds it before the captions are translated, and still
    // says it in the chosen language.
    Ini("French");
    Start();
    const QString shown = StatusShown();
    EXPECT_TRUE(shown.contains("Aucune musique dans Musics/")) << shown.toStdString();
    EXPECT_FALSE(shown.contains("No music found")) << shown.toStdString();
}

// The accelerator letters that two items of one menu share, by menu.
std::map<QString, std::set<QChar>> SharedAccelerators(const TMainForm& f) {
    std::map<QString, std::set<QChar>> shared;
    for (const QMenu* menu : f.findChildren<QMenu*>()) {
        std::map<QChar, int> count;
        for (const QAction* a : menu->actions()) {
            const QString text = a->text();
            for (qsizetype i = 0; i + 1 < text.size(); ++i) {
                if (text[i] != '&')
                    continue;
                if (text[i + 1] == '&') { // "&&" is an ampersand
                    ++i;
                    continue;
                }
                ++count[text[i + 1].toLower()];
                break;
            }
        }
        for (const auto& [letter, n] : count)
            if (n > 1)
                shared[menu->objectName()].insert(letter);
    }
    return shared;
}

TEST_F(LanguageSwitch, NoTwoItemsOfAMenuShareAnAcceleratorTheEnglishOnesDoNotShare) {
    TMainForm& f = Start();
    const auto english = SharedAccelerators(f);
    for (const char* language : {"French", "German"}) {
        Choose(language);
        for (const auto& [menu, letters] : SharedAccelerators(f)) {
            const auto own = english.find(menu);
            for (QChar letter : letters)
                EXPECT_TRUE(own != english.end() && own->second.count(letter))
                    << language << ": two items of menu " << menu.toStdString()
                    << " share the accelerator " << QString(letter).toStdString();
        }
    }
}

TEST_F(LanguageSwitch, TheHelpPagesFollowTheLanguage) {
    fs::copy(fs::path(TOVANI_SOURCE_DIR) / "content" / "Help", dir_ / "Help",
             fs::copy_options::recursive);
    // A language whose folder has no contents page keeps the English help.
    fs::remove(dir_ / "Help" / "German" / "index.html");
    const QString help = QString::fromStdString((dir_ / "Help").string());
    TMainForm& f = Start();
    EXPECT_EQ(f.HelpFolder(), help + "/");
    Choose("French");
    EXPECT_EQ(f.HelpFolder(), help + "/French/");
    Choose("German");
    EXPECT_EQ(f.HelpFolder(), help + "/");
    Choose("English");
    EXPECT_EQ(f.HelpFolder(), help + "/");
}

TEST_F(LanguageSwitch, AMessageWithBlanksIsSaidAgainInTheNewLanguage) {
    TMainForm& f = Start();
    f.ShowStatus(f.Tr("Tiles shuffled. %1 new moves found.").arg(5));
    Choose("German");
    EXPECT_EQ(StatusShown(), "Steine gemischt. 5 neue Züge gefunden.");
    Choose("French");
    EXPECT_EQ(StatusShown(), "Tuiles mélangées. 5 nouveaux coups possibles.");
    Choose("English");
    EXPECT_EQ(StatusShown(), "Tiles shuffled. 5 new moves found.");
    f.ShowStatus(f.Tr("Layout \"%1\" selected.").arg("Pyramid"));
    Choose("German");
    EXPECT_EQ(StatusShown(), "Layout „Pyramid“ ausgewählt.");
    Choose("French");
    EXPECT_EQ(StatusShown(), "Disposition « Pyramid » sélectionnée.");
}

} // namespace
} // namespace tovani

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
