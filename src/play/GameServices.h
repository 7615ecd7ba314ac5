// What the games' Qt sides share: the window, the board view, the program-wide random
// generator, the sounds, the translated texts, and the way dialogs, questions and messages are
// shown (tests answer them without showing them).
#pragma once

#include "core/Random.h"
#include "core/TextKey.h"
#include "solitaire/Play.h"

#include <QString>

#include <functional>

class QDialog;

namespace tovani {

class BoardView;
class TMainForm;

class GameServices {
public:
    GameServices(TMainForm& form, BoardView& view);
    ~GameServices();
    GameServices(const GameServices&) = delete;
    GameServices& operator=(const GameServices&) = delete;

    TMainForm& Form() const { return form_; }
    BoardView& View() const { return view_; }
    // The one generator of the program: every deal and every random choice draws from it.
    RandomGenerator& Rng() { return rng_; }

    // Shows a modal dialog and answers its result. By default it runs the dialog.
    using DialogRunner = std::function<int(QDialog&)>;
    void SetDialogRunner(DialogRunner runner) { runDialog_ = std::move(runner); }
    // An OK/Cancel question; true for OK. By default a message box, or OK when the window is
    // not interactive.
    using QuestionRunner = std::function<bool(const QString& title, const QString& text)>;
    void SetQuestionRunner(QuestionRunner runner) { ask_ = std::move(runner); }
    // A message for the player. By default a message box, or the status line when the window
    // is not interactive.
    using MessageRunner = std::function<void(const QString& title, const QString& text)>;
    void SetMessageRunner(MessageRunner runner) { inform_ = std::move(runner); }

    // The name of a file to save to or to open, or empty when the player cancels. By default
    // the file dialog, or empty when the window is not interactive.
    enum class FileDialog { Save, Open };
    using FileNameRunner = std::function<QString(FileDialog kind, const QString& title,
                                                 const QString& folder, const QString& filter)>;
    void SetFileNameRunner(FileNameRunner runner) { fileName_ = std::move(runner); }
    QString AskFileName(FileDialog kind, const QString& title, const QString& folder,
                        const QString& filter);

    int RunDialog(QDialog& d);
    bool Ask(const QString& title, const QString& text);
    // A Yes/No question; true for Yes. The question runner answers it too.
    bool AskYesNo(const QString& title, const QString& text);
    void Inform(const QString& title, const QString& text);

    QString Tr(const QString& s) const;
    // The same look-up for the texts a model puts together (UTF-8 in and out).
    TextTranslator Translator() const;
    bool Interactive() const;
    void Sound(tovani::Sound s);

private:
    TMainForm& form_;
    BoardView& view_;
    RandomGenerator rng_;
    DialogRunner runDialog_;
    QuestionRunner ask_;
    MessageRunner inform_;
    FileNameRunner fileName_;
};

} // namespace tovani
