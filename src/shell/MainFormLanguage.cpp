// The main window's languages: the Language menu's items, the language applied at start-up,
// switching while playing, and the translation of every dialog when it is first shown.
#include "shell/MainForm.h"

#include "core/Files.h"
#include "core/TextKey.h"
#include "shell/Language.h"
#include "shell/QtTranslations.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include <memory>

namespace tovani {

namespace {

// The path a component's property has in the language files.
QString PathOf(const TLanguage& language, QObject* component, const QString& property) {
    QString form = TLanguage::PathFormName(language.Form());
    if (component == language.Form())
        return form + "." + property;
    return form + "." + component->objectName() + "." + property;
}

// A text made from a message with numbered blanks, in `previous` or in English, made again from
// the message as `now` gives it; empty when it is no such text.
QString RefilledMessage(const std::string& shown, const LanguageFile& previous,
                        const LanguageFile& english, const LanguageFile& now) {
    for (const LanguageFile* file : {&previous, &english}) {
        LanguageFile::Filled filled = file->EnglishOfFilled(shown);
        if (!filled.english.empty())
            return QString::fromStdString(FillBlanks(now.Message(filled.english), filled.blanks));
    }
    return {};
}

// Runs a translation pass on `window` that keeps what the program wrote itself: a text still as
// built (as the window was built, or as the English file gives it) or as the last language put
// it takes the new translation; a text the program wrote through the messages (a paused
// button's "Continue") takes the new language's message; any other text (a final time, a
// player's name) stays.
void TranslateKeepingWrittenTexts(TLanguage& language, const QString& file,
                                  std::shared_ptr<const LanguageFile> english,
                                  std::shared_ptr<const QHash<QString, QString>> built = {}) {
    auto previous = std::make_shared<const LanguageFile>(
        language.LanguageFile().isEmpty() ? *english : language.File());
    language.OnTranslate = [english, previous, built](TLanguage* sender, QObject* component,
                                                      QString& value, const QString& current,
                                                      const QString& property) {
        const QString qpath = PathOf(*sender, component, property);
        const std::string path = qpath.toStdString();
        const std::string now = current.toStdString();
        if (current.isEmpty() || now == english->Translation(path) ||
            now == previous->Translation(path) || (built && built->value(qpath) == current))
            return;
        std::string key = previous->EnglishOf(now);
        if (key.empty() && english->HasMessage(now))
            key = now;
        if (key.empty()) {
            const QString refilled = RefilledMessage(now, *previous, *english, sender->File());
            value = refilled.isEmpty() ? current : refilled;
            return;
        }
        value = QString::fromStdString(sender->File().Message(key));
    };
    language.SetLanguageFile(file);
    language.Translate();
}

// The standard buttons of a message box in the player's language.
void TranslateMessageBox(QMessageBox& box, const TMainForm& form) {
    static const std::pair<QMessageBox::StandardButton, const char*> kButtons[] = {
        {QMessageBox::Ok, TrKey("OK")},       {QMessageBox::Cancel, TrKey("Cancel")},
        {QMessageBox::Yes, TrKey("Yes")},     {QMessageBox::No, TrKey("No")},
        {QMessageBox::Close, TrKey("Close")}, {QMessageBox::Abort, TrKey("Abort")},
        {QMessageBox::Retry, TrKey("Retry")}, {QMessageBox::Ignore, TrKey("Ignore")}};
    for (const auto& [which, english] : kButtons)
        if (QAbstractButton* b = box.button(which))
            b->setText(form.Tr(english));
}

// Qt's own dialogs and buttons follow the language of that name (English when Qt has none).
void UseQtLanguage(TMainForm& form, const QString& name) {
    if (auto* qt = form.findChild<QtTranslations*>(QString(), Qt::FindDirectChildrenOnly))
        qt->Use(name);
}

} // namespace

// Dialogs take the main window's language when they are shown for the first time in it.
class DialogLanguageWatch : public QObject {
public:
    explicit DialogLanguageWatch(TMainForm& form) : QObject(&form), form_(form) {
        qApp->installEventFilter(this);
    }
    ~DialogLanguageWatch() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            if (auto* box = qobject_cast<QMessageBox*>(watched); box && Belongs(box))
                TranslateMessageBox(*box, form_);
            auto* dialog = qobject_cast<QDialog*>(watched);
            if (dialog && !dialog->objectName().isEmpty() && Belongs(dialog))
                form_.TranslateWindow(dialog);
        }
        return false;
    }

private:
    bool Belongs(QWidget* w) const {
        for (QWidget* p = w->parentWidget(); p; p = p->parentWidget())
            if (p == &form_)
                return true;
        return w->parentWidget() == nullptr;
    }
    TMainForm& form_;
};

void TMainForm::BuildLanguage() {
    language_ = new TLanguage(this);
    language_->SetAutoTranslate(true);
    auto built = std::make_shared<QHash<QString, QString>>();
    for (const QString& path : TLanguage::CollectProperties(this))
        built->insert(path, TLanguage::ValueAt(path, this));
    builtTexts_ = built;
    englishFile_ = std::make_shared<const LanguageFile>(
        LanguageFile::Load(LanguageFilePath("English").toStdString()));
    new DialogLanguageWatch(*this);
    new QtTranslations(this);
}

void TMainForm::UseMessageLanguage(const QString& name) {
    // Only the messages: the captions change in the translation pass, later in the start-up.
    const bool autoTranslate = language_->AutoTranslate();
    language_->SetAutoTranslate(false);
    language_->SetLanguageFile(LanguageFilePath(name.isEmpty() ? "English" : name));
    language_->SetAutoTranslate(autoTranslate);
    UseQtLanguage(*this, name);
}

QString TMainForm::LanguageFilePath(const QString& name) const {
    const std::string folder = JoinPath(programDir_.toStdString(), "Languages");
    if (auto found = FindNoCase(folder, name.toStdString() + ".txt"))
        return QString::fromStdString(*found);
    return QString::fromStdString(JoinPath(folder, name.toStdString() + ".txt"));
}

QString TMainForm::HelpFolder() const {
    const std::string help = JoinPath(programDir_.toStdString(), "Help");
    const std::string own = JoinPath(help, CheckedLanguage().toStdString());
    if (FindNoCase(own, "index.html"))
        return QString::fromStdString(own) + "/";
    return QString::fromStdString(help) + "/";
}

QString TMainForm::CheckedLanguage() const {
    auto g = contentGroups_.find(ContentKind::Language);
    if (g != contentGroups_.end())
        for (QAction* a : g->second->actions())
            if (a->isChecked())
                return a->text();
    return "English";
}

void TMainForm::TranslateWindow(QWidget* window) {
    const QString file = language_->LanguageFile();
    if (window->property("languageFile").toString() == file && !file.isEmpty())
        return;
    window->setProperty("languageFile", file);
    auto* language = window->findChild<TLanguage*>("Language", Qt::FindDirectChildrenOnly);
    if (!language)
        language = new TLanguage(window);
    TranslateKeepingWrittenTexts(*language, file, englishFile_);
}

void TMainForm::ApplyStartupLanguage() {
    // English is the program's own language: its file is not applied at start-up.
    const QString path = LanguageFilePath(CheckedLanguage());
    language_->SetAutoTranslate(false);
    language_->SetLanguageFile(path);
    language_->SetAutoTranslate(true);
    if (!path.toLower().contains("english.txt")) {
        TranslateKeepingWrittenTexts(*language_, path, englishFile_, builtTexts_);
        settings_.SetInt("FontCharset", language_->Charset());
    }
    UseQtLanguage(*this, CheckedLanguage());
    RefreshScreenTexts(*englishFile_);
}

void TMainForm::LanguageClick(QObject* sender) {
    auto* item = qobject_cast<QAction*>(sender);
    if (!item)
        return;
    item->setChecked(true);
    settings_.SetString("Language", item->text().toStdString());
    const LanguageFile previous = language_->File();
    TranslateKeepingWrittenTexts(*language_, LanguageFilePath(item->text()), englishFile_,
                                 builtTexts_);
    settings_.SetInt("FontCharset", language_->Charset());
    UseQtLanguage(*this, item->text());
    // Windows open beside the main window change with it.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible() && qobject_cast<QDialog*>(w) && !w->objectName().isEmpty())
            TranslateWindow(w);
    RefreshScreenTexts(previous.Empty() ? *englishFile_ : previous);
}

void TMainForm::RefreshScreenTexts(const LanguageFile& previous) {
    auto retranslate = [&](const QString& shown) {
        std::string english = previous.EnglishOf(shown.toStdString());
        if (english.empty() && englishFile_->HasMessage(shown.toStdString()))
            english = shown.toStdString();
        if (english.empty()) {
            const QString refilled =
                RefilledMessage(shown.toStdString(), previous, *englishFile_, language_->File());
            return refilled.isEmpty() ? shown : refilled;
        }
        return Tr(QString::fromStdString(english));
    };
    layoutName_ = retranslate(layoutName_);
    if (!session_.status.Marquee()) {
        // The message being revealed, or the one the field shows whole.
        QString status = QString::fromStdString(session_.status.Text());
        if (status.trimmed().isEmpty())
            status = statusText_->text();
        if (QString now = retranslate(status); now != status)
            ShowStatus(now);
    }
    description7_->setText(retranslate(description7_->text()));
    if (int level = startLevelButton_->property("tag").toInt(); level > 0)
        startLevelButton_->setText(Tr("Level %1").arg(level));
    UpdateCaption();
    UpdateScreenText();
    RedrawHallOfFame();
    RunCommand("FullRedraw");
}

} // namespace tovani
