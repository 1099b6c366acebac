#pragma once
// The running program's user interface: the dialog builder's message boxes, and
// plain Qt boxes for the system box, the input box and the list pick until the
// dialog builder has its own. Tests answer boxes through their fake interface.
#include "platform/ui/qt_user_interface.h"

namespace shell {

class PlainBoxes : public ui::QtUserInterface {
public:
    int msgBox(const std::string& message, const std::string& buttons, const std::string& options,
               const std::string& caption) override;
    void info(const std::string& message, const std::string& caption) override;
    bool systemOkCancel(const std::string& message, const std::string& caption) override;
    void systemOk(const std::string& message, const std::string& caption) override;
    int inputBox(const std::string& message, const std::string& buttons, const std::string& caption,
                 const std::string& notice, std::string& value) override;
    int listPick(const std::vector<std::string>& items, const std::string& header, const std::string& gridSpec,
                 const std::string& buttons, const std::string& message, const std::string& caption,
                 std::string& chosen) override;
};

}  // namespace shell
