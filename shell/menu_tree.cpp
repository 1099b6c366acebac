#include "shell/menu_tree.h"

namespace shell {
namespace {

MenuItemSpec item(const char* caption, const char* code) {
    std::string c = code;
    return {caption, c, (c == "RW" ? "fMnU_" : "fMnu_") + c};
}

MenuItemSpec unavailable(MenuItemSpec i) {
    i.available = false;
    return i;
}

MenuItemSpec report(const char* caption, const char* code, int kind, int mode, int listKey = 0) {
    MenuItemSpec i = item(caption, code);
    i.reportKind = kind;
    i.reportMode = mode;
    i.listKey = listKey;
    return i;
}

// The Help items without a command code keep names of their own.
MenuItemSpec helpItem(const char* caption, const char* control) { return {caption, "", control}; }

const MenuItemSpec kSeparator{"-", "", ""};
constexpr int kTop = 1, kAll = 2, kGrouped = 3;

std::vector<MenuSpec> build() {
    return {
        {"&File", "F",
         {item("Add ne&w raw log data", "FW"), item("&List raw log data added", "FL"),
          unavailable(item("&Extract data based on col rule", "FE")), kSeparator,
          item("Define Log For&mats", "FM"), item("Define Search En&gine Referrer strings", "FG"), kSeparator,
          item("&Select site database", "FS"), item("Add new site &database", "FD"), kSeparator,
          item("E&xit", "FX")}},
        {"&Edit", "E",
         {item("&Report Options - Deviation Columns, Top Values.", "ER"),
          item("Report Options - Search Terms to include in each &Group [Report by Group ONLY]", "EG"), kSeparator,
          item("Program &Options", "EO")}},
        {"Analy&sis", "S",
         {item("Ne&w Analysis for Targets, Dates, Options, Groups Selected ", "SW"),
          item("Select A&nalysed data (results for targets over date range)", "SN"), kSeparator,
          item("Analysis Options - &Date range, Distribution Cols, Min Visitors", "SD"),
          item("Analysis Options - &Targets to Analyse [Optional]", "ST"),
          item("Analysis Options - Advan&ced. Page Names, Memory Use", "SC"), kSeparator,
          item("Select Site Ar&ea [Optional]", "SE")}},
        {"&View", "V",
         {item("Sort Results By Le&ft Column (data for selected report)", "VF"),
          item("Sort Results By Total &Visitors", "VV"), item("Sort Results By Count of Visitors who Sta&yed", "VY"),
          item("Sort Results by Selected column [&x]", "VX"), kSeparator,
          item("Date range to &Plot && Plot Options", "VP"), kSeparator,
          item("R&emove left column from plot", "VE"), item("Re&store All plotted columns", "VS")}},
        {"&Reports", "R",
         {report("Top Search E&ngine", "RN", 11, kTop), report("All Sear&ch Engines", "RC", 11, kAll), kSeparator,
          report("Top Search &Terms [KeyWords]", "RT", 1, kTop),
          report("&Grouped Search Terms [KeyWords]", "RG", 1, kGrouped, 1),
          report("&All Search Terms [KeyWords]", "RA", 1, kAll), kSeparator,
          report("Top P&hrases - 2 or more words - from Search Terms  [KeyWords]", "RH", 13, kTop),
          report("Top &Words n Phrases - up to 7 words - from Search Terms [KeyWords]", "RW", 12, kTop),
          report("Top Single Wor&ds contained in Search Terms [single words from all KeyWords]", "RD", 15, kTop),
          report("Top &2-word Phrases from Search Terms [KeyWords]", "R2", 16, kTop),
          report("Top &3-word Phrases from Search Terms [KeyWords]", "R3", 17, kTop),
          item("... &More Reports on Words n Phrases from Search Terms / KeyWords [Select Report]", "RM"),
          kSeparator, report("Top &Start Pages", "RS", 2, kTop), report("All Start &Pages", "RP", 2, kAll),
          report("Top &Exit Pages", "RE", 4, kTop), report("All E&xit Pages", "RX", 4, kAll), kSeparator,
          report("Top Pages &Visited", "RV", 6, kTop), report("All Pages V&isited", "RI", 6, kAll),
          report("Popular Tracks - Top Page Se&quences visited", "RQ", 5, kTop),
          report("All Tracks - All Page Seq&uences visited", "RU", 5, kAll), kSeparator,
          report("T&op Search Term + Start Page", "RO", 3, kTop), report("A&ll Search Term + Start Page", "RL", 3, kAll),
          kSeparator, item("Search Terms for G&roup of selected line", "RR")}},
        {"&Window", "W",
         {item("&Cascade", "WC"), item("Tile &Horizontal", "WH"), item("Tile &Vertical", "WV"),
          item("&Fill Screen", "WF")}},
        {"&Help", "",
         {item("&Contents", "HC"), helpItem("&Getting Started", "fMnu_HelpStart"),
          helpItem("Help for &Last function", "fMnu_HelpLast"),
          unavailable(helpItem("Show Sa&me Help again", "fMnu_HM")), item("&About", "HA")}},
    };
}

}  // namespace

const std::vector<MenuSpec>& mainMenuTree() {
    static const std::vector<MenuSpec> tree = build();
    return tree;
}

const MenuItemSpec* menuItemByCode(const std::string& code) {
    if (code.empty()) return nullptr;
    for (const auto& menu : mainMenuTree())
        for (const auto& i : menu.items)
            if (i.code == code) return &i;
    return nullptr;
}

}  // namespace shell
