// The language component every window carries: it puts the captions, hints and lists of the
// window's components into the language of a language file (a translation pass), and looks
// up the program's messages by their English text.
//
// A property path names the window, the components down to the one meant (by objectName, in
// any case), then the property: "HallWindow.ResetButton.Caption". "Tovani." is the main window.
// The property names are those of the language files: Caption (a menu's title, an action's or
// a button's or a label's text, a group box's title, a tab's text, a window's title), Hint (the
// tool tip), Items (the lines of a list or a combo box), Text and Lines (an edit field's text);
// any other name is the component's own property of that name (a string is set as it stands,
// an integer converted, a list split at the separator).
#pragma once

#include "core/LanguageFile.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace tovani {

class TLanguage : public QObject {
    Q_OBJECT

public:
    // The component of `form`, as its child.
    explicit TLanguage(QWidget* form);

    QWidget* Form() const { return form_; }

    // The language file in use (a full path). With AutoTranslate on, setting it runs a pass.
    const QString& LanguageFile() const { return languageFile_; }
    void SetLanguageFile(const QString& path);
    const tovani::LanguageFile& File() const { return file_; }
    // The character set the file's texts need (its "LanguageCharset", 1 by default).
    int Charset() const { return file_.Charset(); }

    // The translatable property paths of this window. Until set, they are every caption and
    // hint the window shows on a named component, found when the first pass runs.
    QStringList Properties() const;
    void SetProperties(const QStringList& paths) { properties_ = paths; }
    // Every caption and hint the window shows on a named component, as property paths: what
    // the language files must translate.
    static QStringList CollectProperties(QWidget* form);
    // The name that starts the window's paths: "Tovani" for the main window.
    static QString PathFormName(const QWidget* form);

    // The separator of list values; a blank or empty one is ",".
    const QString& Separator() const { return separator_; }
    void SetSeparator(const QString& s);
    bool AutoTranslate() const { return autoTranslate_; }
    void SetAutoTranslate(bool on) { autoTranslate_ = on; }

    std::function<void()> OnBeforeTranslation;
    std::function<void()> OnAfterTranslation;
    // Called for each property before it is set; may change the value.
    using TranslateEvent = std::function<void(TLanguage* sender, QObject* component, QString& value,
                                              const QString& current, const QString& property)>;
    TranslateEvent OnTranslate;

    // The translation pass: every path of Properties takes its value from the file.
    void Translate();
    // Sets the property a path names to `value`; a path that names no component or no
    // property, or an empty value, changes nothing.
    void ApplyPath(const QString& path, const QString& value);
    // A message by its English text: its translation, or the English text.
    QString Message(const QString& english) const;

    // The component a path leads to from the application's windows, and the property named
    // at its end; null when there is none.
    static QObject* FindComponent(const QString& path, QString* property, QWidget* preferred);
    // The text a property path leads to now ("Tovani." is the main window); empty when the path
    // names no component or no property.
    static QString ValueAt(const QString& path, QWidget* preferred);
    // A property's text as the language files name properties; empty when there is none.
    static QString CurrentValue(QObject* component, const QString& property);
    // Sets a property as the language files name them; false when the component has none.
    static bool SetValue(QObject* component, const QString& property, const QString& value,
                         const QString& separator);

private:
    QWidget* form_;
    QString languageFile_;
    tovani::LanguageFile file_;
    QStringList properties_;
    QString separator_ = ",";
    bool autoTranslate_ = false;
};

} // namespace tovani
