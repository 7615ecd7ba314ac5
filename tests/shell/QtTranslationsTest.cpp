// Qt's own texts (the standard buttons of message boxes, the file, colour and font dialogs)
// follow the chosen language, and fall back to English without a word when Qt has no
// translation for it or none is installed.
#include "shell/QtTranslations.h"

#include <QAbstractButton>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>

#include <gtest/gtest.h>

namespace tovani {
namespace {

QString YesButtonText() {
    QMessageBox box(QMessageBox::Question, "Tovani", "?", QMessageBox::Yes | QMessageBox::No);
    return box.button(QMessageBox::Yes)->text().remove('&');
}

bool QtFrenchInstalled() {
    const QDir dir(QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    return dir.exists("qtbase_fr.qm") && dir.exists("qtbase_de.qm");
}

TEST(QtTranslations, NameLanguagesByTheirCode) {
    EXPECT_EQ(QtTranslations::CodeOf("French"), "fr");
    EXPECT_EQ(QtTranslations::CodeOf("german"), "de");
    EXPECT_EQ(QtTranslations::CodeOf(" Spanish "), "es");
    // English needs nothing, and a name that is no language gives nothing.
    EXPECT_EQ(QtTranslations::CodeOf("English"), "");
    EXPECT_EQ(QtTranslations::CodeOf("Klingon"), "");
    EXPECT_EQ(QtTranslations::CodeOf(""), "");
}

TEST(QtTranslations, PutQtsButtonsIntoTheChosenLanguageAndBack) {
    ASSERT_TRUE(QtFrenchInstalled())
        << "Qt's translations are missing: scripts/install-deps.sh installs them";
    const QLocale::Language systemLanguage = QLocale().language();
    const QString english = YesButtonText();
    ASSERT_EQ(english, "Yes");
    {
        QtTranslations qt;
        EXPECT_TRUE(qt.Use("French"));
        EXPECT_EQ(qt.Code(), "fr");
        EXPECT_EQ(YesButtonText(), "Oui");
        EXPECT_EQ(QLocale().language(), QLocale::French);
        // Switching replaces the last language instead of stacking on it.
        EXPECT_TRUE(qt.Use("German"));
        EXPECT_EQ(YesButtonText(), "Ja");
        EXPECT_FALSE(qt.Use("English"));
        EXPECT_EQ(qt.Code(), "");
        EXPECT_EQ(YesButtonText(), "Yes");
        EXPECT_EQ(QLocale().language(), systemLanguage);
        EXPECT_TRUE(qt.Use("French"));
    }
    // Gone with the window that held it.
    EXPECT_EQ(YesButtonText(), "Yes");
}

TEST(QtTranslations, LeaveEnglishWhenNoneIsInstalled) {
    QtTranslations qt;
    const QString nowhere = QDir::tempPath() + "/tovani_no_qt_translations";
    ASSERT_FALSE(QFileInfo::exists(nowhere + "/qtbase_fr.qm"));
    EXPECT_FALSE(qt.Use("French", nowhere));
    EXPECT_EQ(qt.Code(), "");
    EXPECT_EQ(YesButtonText(), "Yes");
    // Nor for a language Qt does not know.
    EXPECT_FALSE(qt.Use("Klingon"));
    EXPECT_EQ(YesButtonText(), "Yes");
}

} // namespace
} // namespace tovani
