// Every menu of the main window as data: one row per item, read by a loop that builds the
// actions. A row's depth places it: 0 is a menu of the bar (or, in a pop-up table, an item of
// the pop-up), 1 an item of the last depth-0 menu, 2 an item of the last depth-1 sub-menu.
#pragma once

#include <cstdint>
#include <vector>

namespace tovani {

enum MenuRowFlag : uint8_t {
    kMenuSubMenu = 1,   // the row opens a menu of the rows below it
    kMenuSeparator = 2, // a separator line (name and caption may be empty)
    kMenuCheckable = 4, // an option: the item carries a check mark
    kMenuHidden = 8,    // created invisible: never shown, keeps its state
    kMenuRadio = 16,    // one of a radio group (group > 0), checkable
};

struct MenuRow {
    int depth;
    const char* name;     // the action's objectName
    const char* caption;  // with '&' before the accelerator letter
    const char* shortcut; // portable key text ("Ctrl+F2", "Ins"), or ""
    const char* handler;  // the command it runs, or "" for state the program sets itself
    uint8_t flags;
    int group; // radio group, unique in the table
    int tag;
};

// The main menu bar `VO`.
const std::vector<MenuRow>& MainMenuTable();
// The board's pop-up menu `Popup`; its first eleven entries are its own.
const std::vector<MenuRow>& PopupMenuTable();
constexpr int kPopupOwnEntries = 11;
// `StartLevelMenu`, opened by the welcome screen's "Start Level" button.
const std::vector<MenuRow>& StartLevelMenuTable();
// `EditorMenu`, the menu bar of the layout editor.
const std::vector<MenuRow>& EditorMenuTable();

} // namespace tovani
