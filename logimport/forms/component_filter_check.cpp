#include "logimport/forms/component_filter_check.h"

#include <algorithm>

#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/numbers.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "core/vb_format.h"
#include "dialogs/msgbox.h"
#include "dialogs/option_strings.h"
#include "logimport/filter_store.h"
#include "logimport/log_format.h"
#include "logimport/page_table.h"
#include "logimport/forms/test_read_lists.h"
#include "logimport/forms/test_reads.h"

namespace {

std::string countOrNone(double n) { return n == 0 ? std::string("none") : TXT_FormatDbl(n, "#,###,##0"); }

}  // namespace

namespace logimport {

std::string fileFltrCheckMessage(const std::string& logFileSpec, bool changed, long fileNames, double lines) {
    std::string m = "Last read: " + gCR + logFileSpec;
    if (changed) m += gCR + " [** SELECTED FILE CHANGED. Press New Read to read new file. **]";
    m += gCRCR + "Found: " + gCR + countOrNone(double(fileNames)) + " pages and component filenames in " + gCR +
         countOrNone(lines) + " log lines.";
    m += gCRCR + "Press \"List ...\" to display FileNames [from the raw log file] and PageNames [as displayed in " +
         gProductName + " reports]." + gCR + "Press \"New Read\" to read a different raw log file.";
    m += gCRCR + "\"FileName\" and \"PageName-URL\" are used interchangeably as descriptions here.";
    m += gCR + "When any file is requested from a web site server, a log line including the FileName is added to the "
               "raw log file.";
    m += gCR + "The file could be either a page or a component of a page [jpg, css etc].";
    m += gCRCR + gProductName + " is usually used to present reports on pages.";
    m += gCR + "This filter will usually be used so that all page components (images, stylesheets etc) are skipped.";
    return m;
}

}  // namespace logimport

namespace {

// A file-name test read with the component filter off, so that every file name is
// tallied; the user's choice of that filter comes back afterwards.
bool fileNameRead(bool startAtOnce) {
    logimport::RememberedOptionOverride components("nocomp", false);
    return STTA_TestReadRun(kFldFileName, false, startAtOnce);
}

// SKIPPED, ACCEPTED and NEW as the component filter would make them now.
struct ClassifiedNames {
    logimport::NamedCounts skipped, accepted, fresh;
};

ClassifiedNames classify(const TestReadRec& test, bool dropQuery, bool dropFragment, bool withNew) {
    FltrRules rules;
    std::vector<std::string> colTypes;
    bool any = false;
    FLTR_LoadFilterRules("Filters", "Fltr Sel", gIniFltrFiles, rules, colTypes, any);
    logimport::ComponentSplit split =
        logimport::componentSplit(test.FieldValues, test.FieldValueCounts, rules, colTypes);
    if (split.otherData)
        MB_Info(std::string("NB You have defined criteria usingdata other than Filename.") +
                " This function will only apply filename filters." +
                " When you add data to the database, all filters will be used.");
    ClassifiedNames c{std::move(split.skipped), std::move(split.accepted), {}};
    if (withNew) c.fresh = logimport::newPageFileNames(c.accepted, dropQuery, dropFragment, logimport::siteDatabase());
    return c;
}

}  // namespace

void STTA_FileFltrCheck(bool newRead) {
    const bool dropQuery = INI_GetFlag("Main", "RemQuery", gIniDbDef, kIniMissingEmpty);
    const bool dropFragment = INI_GetFlag("Main", "RemFrag", gIniDbDef, kIniMissingEmpty);
    const bool skipErrors = INI_GetFlag("Main", "Skip404", gIniDbDef, kIniMissingEmpty);
    const TestReadRec& test = gReadRec.Test;
    auto changed = [&] { return logimport::testReadLogEntry() != test.LogFileSpec; };
    if (test.FieldNo != kFldFileName || test.FieldValues.ubound() < 1 || (newRead && changed())) {
        if (!fileNameRead(newRead)) return;
    }
    const std::string buttons =
        CHUNKS_ListOf("&Back to Definitions", "Ne&w Read", "Lis&t All PageNames",
                      "List PageNames S&KIPPED using selected filter", "List PageNames &ACCEPTED using selected filter",
                      "List PageNames that do not already e&xist");
    const std::string options = MB_OptEsc(1) + MB_OptDfltButton(1) + MB_OptMaxButtonsPerLine(2);
    for (;;) {
        const std::string message = logimport::fileFltrCheckMessage(
            test.LogFileSpec, changed(), test.FieldValues.ubound(), logimport::testReadLines(gReadRec));
        const int pressed = MB_MsgBox(message, buttons, options, "Check Page Component File Filters VS log file");
        bool again = true;
        if (pressed == 2) {
            fileNameRead(false);
        } else if (pressed == 3) {
            again = STTA_PageNamesList("All PageName-URLs found on log file.", test.FieldValues, test.FieldValueCounts,
                                       dropQuery, dropFragment, skipErrors);
        } else if (pressed >= 4 && pressed <= 6) {
            const ClassifiedNames c = classify(test, dropQuery, dropFragment, pressed == 6);
            if (pressed == 4)
                again = STTA_PageNamesList("PageName-URLs that will be **SKIPPED** due to selected file filter.",
                                           c.skipped.names, c.skipped.counts, dropQuery, dropFragment, skipErrors);
            else if (pressed == 5)
                again = STTA_PageNamesList("PageName-URLs that will be **ADDED** due to selected file filter.",
                                           c.accepted.names, c.accepted.counts, dropQuery, dropFragment, skipErrors);
            else
                again = STTA_PageNamesList(
                    "**NEW** [not yet added to site DB] PageName-URLs that will be **ADDED** after apply selected "
                    "file filter.",
                    c.fresh.names, c.fresh.counts, dropQuery, dropFragment, skipErrors);
        } else {
            again = false;
        }
        if (!again) return;
    }
}

bool STTA_PageNamesList(const std::string& caption, const core::StrArray& fileNames, const core::LngArray& counts,
                        bool dropQuery, bool dropFragment, bool skipErrors) {
    const logimport::PageNameTable table = logimport::pageNameTable(fileNames, counts, dropQuery, dropFragment);
    if (table.names.count() == 0) {
        MB_Info("No FileNames found" + gCRCR + gCR + "List requested was:" + gCRCR + caption + gCR);
        return true;
    }
    const std::string notes = logimport::pageNamesNotes(dropQuery, dropFragment, skipErrors);
    core::StrArray rows = logimport::pageNameRows(table);
    logimport::ResultList list{
        .header = "PageName [as used on reports]\tFull FileName from log file\tLogLines\tFileNames\tFileType",
        .layout = "14500|||||||||1||{6500|5000|750|750|900}||||True|True|1",
        .buttons = "Lis&t FileNames from raw Log [for selected PageName]|List &All FileNames|Other O&ptions",
        .back = "&Back to definitions",
        .message = caption + gCRCR + notes + "Total No. of Raw Log FileNames: " +
                   countOrNone(double(std::max(0L, fileNames.ubound()))) + gCR +
                   "No. of Standardised PageNames: " + countOrNone(double(table.names.count())) + gCR,
        .hint = "url-pagename and use Ctrl + Double-Click to view in full"};
    for (;;) {
        long chosen = 0;
        const int pressed = logimport::showResultList(rows, list, chosen);
        if (pressed == 1)
            STTA_TestLinesView(chosen - 1, rows, "PageName [as used on reports]", "FileNames from raw log file");
        else if (pressed == 2)
            STTA_FileNamesList(notes, fileNames, counts, dropQuery, dropFragment);
        else
            return pressed == 3;
    }
}

void STTA_FileNamesList(const std::string& notes, const core::StrArray& fileNames, const core::LngArray& counts,
                        bool dropQuery, bool dropFragment) {
    core::StrArray rows = logimport::fileNameRows(fileNames, counts, dropQuery, dropFragment);
    logimport::ResultList list{.header = "Full FileName from raw log\t# lines\tPageName shown by " + gProductName,
                               .layout = "14500|||||||||1||{7800|900|7800}||||True|True|1",
                               .back = "&Back to List",
                               .message = notes,
                               .hint = "url-pagename and use Ctrl + Double-Click to view in full"};
    long chosen = 0;
    logimport::showResultList(rows, list, chosen);
}
