#pragma once
// The main window's menu bar as data: every top-level menu and item with its caption
// ("&" marks the access key, "&&" is a literal "&"), its command code and, for the
// report commands, the report they open. The window builds its menus from it.
#include <string>
#include <vector>

namespace shell {

struct MenuItemSpec {
    std::string caption;  // "-" for a separator line
    std::string code;     // "" for the Help items that set no code
    std::string control;  // the item's control name
    bool available = true;
    int reportKind = 0;   // report commands only
    int reportMode = 0;   // 1 Top, 2 All, 3 Grouped
    int listKey = 0;
};

struct MenuSpec {
    std::string caption;
    std::string code;  // set when the menu is opened; "" for Help
    std::vector<MenuItemSpec> items;
};

const std::vector<MenuSpec>& mainMenuTree();
// The item of a code, or null.
const MenuItemSpec* menuItemByCode(const std::string& code);

}  // namespace shell
