// The player's words for a file of theirs that the program leaves as it is.
#pragma once

#include "core/IniFile.h"

#include <QString>

namespace tovani {

class TMainForm;

// Why the INI file is neither read whole nor written (too large, unreadable, write-protected),
// in the player's language; empty when nothing kept it.
QString KeptFileMessage(const TMainForm& form, const IniFile& ini);

} // namespace tovani
