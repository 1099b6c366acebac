#include "help/forms/about_box.h"

#include <QCoreApplication>

#include "core/path_checks.h"
#include "dialogs/msgbox.h"
#include "help/about_text.h"
#include "platform/ui/qt_text.h"

void ABOUT_TextShow(const std::string& versionWord, const std::string& prefix, const std::string& trailing,
                    const std::string& folderNote) {
    const AboutFolders folders{.program = ui::fromQString(QCoreApplication::applicationDirPath()),
                               .data = gMainDataDir};
    MB_Err(ABOUT_Text(versionWord, prefix, trailing, folderNote, ABOUT_BuildText(), folders), "0", "", "");
}
