// Qt's own texts (the file, colour and font dialogs, the standard buttons of message boxes) in
// the player's language: the translations Qt ships for itself, installed on the system, are
// loaded for the language the player chose. A language Qt has no translation for, or a system
// without Qt's translations, leaves Qt's texts in English and says nothing.
#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QTranslator;

namespace tovani {

class QtTranslations : public QObject {
    Q_OBJECT

public:
    explicit QtTranslations(QObject* parent = nullptr);
    ~QtTranslations() override;

    // The short code Qt names a language by ("French" gives "fr"); empty for a name that is no
    // language Qt knows, and for English, which needs no translation.
    static QString CodeOf(const QString& languageName);

    // Puts Qt's texts into the language of that name, replacing the last one, and makes it the
    // default locale (the system's for English and unknown names); false when Qt's texts stay
    // English (English itself, or no translation found). `folder` is where Qt's
    // translations are looked for; empty means the system's.
    bool Use(const QString& languageName, const QString& folder = {});
    // The language whose translation is in use; empty while Qt's texts are English.
    const QString& Code() const { return code_; }

private:
    std::unique_ptr<QTranslator> translator_;
    QString code_;
};

} // namespace tovani
