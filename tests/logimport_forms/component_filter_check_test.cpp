// The texts of the page-component file filter check.
#include <gtest/gtest.h>

#include "core/text.h"
#include "logimport/forms/component_filter_check.h"

TEST(FileFilterCheckTexts, CountsAndNotes) {
    TXT_CrLfInit();
    const std::string none = logimport::fileFltrCheckMessage("/logs/a.log", false, 0, 0);
    EXPECT_NE(none.find("Found: " + gCR + "none pages and component filenames in " + gCR + "none log lines."),
              std::string::npos);
    EXPECT_EQ(none.find("SELECTED FILE CHANGED"), std::string::npos);
    const std::string some = logimport::fileFltrCheckMessage("/logs/b.log", true, 1234, 56789);
    EXPECT_EQ(some.rfind("Last read: " + gCR + "/logs/b.log" + gCR +
                             " [** SELECTED FILE CHANGED. Press New Read to read new file. **]",
                         0),
              0u);
    EXPECT_NE(some.find("1,234 pages and component filenames in " + gCR + "56,789 log lines."), std::string::npos);

    EXPECT_EQ(logimport::pageNamesNotes(false, false, false), "");
    EXPECT_EQ(logimport::pageNamesNotes(true, false, true),
              "NB. Database Options:" + gCR + "Query removed. Query is part of url for page or component after ?" +
                  gCR + "All file requests that caused server or client errors are skipped [404, 403, etc.]" + gCR +
                  gCR);
}
