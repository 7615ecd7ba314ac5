// Finding the layout a command names: a ".lay" or ".shp" file, or the name of a layout in the
// Layouts folder beside the executable.
#pragma once

#include <string>

#include "solitaire/LayoutCatalog.h"

namespace tovani::cli {

// Loads the layout; on failure `error` holds a message for the user and the load is not ok.
// A file written for another version of the program is refused (the game would play
// "Traditional" instead; a checking tool says so).
LayoutLoad LoadLayoutArgument(const std::string& argument, std::string& error);

} // namespace tovani::cli
