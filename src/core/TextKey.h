// Marks an English text that is shown to the player later through the language files, where
// the text is written down in one place and translated in another (an error table of a model,
// a list of names). It does nothing at run time; the check of the language files collects the
// texts so marked, as it collects every Tr("...").
#pragma once

namespace tovani {

constexpr const char* TrKey(const char* english) {
    return english;
}

} // namespace tovani
