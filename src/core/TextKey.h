// Marks an English text that is shown to the player later through the language files, where
// the text is written down in one place and translated in another (an error table of a model,
// a list of names). It does nothing at run time; the check of the language files collects the
// texts so marked, as it collects every Tr("...").
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tovani {

// The language component's look-up of a message by its English text, for the texts a model
// puts together from several pieces.
using TextTranslator = std::function<std::string(const std::string& english)>;

// `text` with %1, %2... replaced by the arguments (a blank without an argument stays as it is).
std::string FillBlanks(const std::string& text, const std::vector<std::string>& args);

constexpr const char* TrKey(const char* english) {
    return english;
}

} // namespace tovani
