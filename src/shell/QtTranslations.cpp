#include "shell/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace tovani {

namespace {

// The locale the program started with, before any language was chosen.
const QLocale& SystemLocale() {
    static const QLocale system;
    return system;
}

} // namespace

QtTranslations::QtTranslations(QObject* parent) : QObject(parent) {
    SystemLocale();
}

QtTranslations::~QtTranslations() {
    if (translator_ && QCoreApplication::instance())
        QCoreApplication::removeTranslator(translator_.get());
    QLocale::setDefault(SystemLocale());
}

QString QtTranslations::CodeOf(const QString& languageName) {
    const QString name = languageName.trimmed();
    if (name.isEmpty())
        return {};
    // Language files are named after the language in English ("German.txt"), as Qt names them.
    for (int l = QLocale::AnyLanguage + 1; l <= QLocale::LastLanguage; ++l) {
        const auto language = static_cast<QLocale::Language>(l);
        if (QLocale::languageToString(language).compare(name, Qt::CaseInsensitive) != 0)
            continue;
        if (language == QLocale::English)
            return {};
        const QString code = QLocale(language).name().section('_', 0, 0);
        return code == "C" ? QString() : code;
    }
    return {};
}

bool QtTranslations::Use(const QString& languageName, const QString& folder) {
    const QString code = CodeOf(languageName);
    // Dates and sizes in Qt's dialogs (the file dialog's columns) follow the language too.
    QLocale::setDefault(code.isEmpty() ? SystemLocale() : QLocale(code));
    if (code == code_ && (code.isEmpty() || translator_))
        return !code.isEmpty();
    if (translator_) {
        QCoreApplication::removeTranslator(translator_.get());
        translator_.reset();
    }
    code_.clear();
    if (code.isEmpty())
        return false;
    const QString where =
        folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
    auto translator = std::make_unique<QTranslator>();
    // "qt_fr" gathers Qt's modules for French; "qtbase_fr" alone holds the dialogs' texts.
    if (!translator->load("qt_" + code, where) && !translator->load("qtbase_" + code, where))
        return false;
    if (!QCoreApplication::installTranslator(translator.get()))
        return false;
    translator_ = std::move(translator);
    code_ = code;
    return true;
}

} // namespace tovani
