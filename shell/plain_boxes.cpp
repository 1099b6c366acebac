#include "shell/plain_boxes.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <functional>

#include "core/program_paths.h"
#include "core/user_interface.h"
#include "dialogs/msgbox.h"
#include "platform/ui/qt_text.h"

namespace shell {
namespace {

// A modal box with the message, an optional control and a row of buttons; the pressed
// button from 1, the last one when the box is closed.
int showBox(const std::string& message, const std::string& buttons, const std::string& caption,
            const std::string& notice, QWidget* control, const std::function<void()>& readBack = {}) {
    QDialog box(QApplication::activeWindow());
    box.setWindowTitle(ui::toQString(caption.empty() ? gProductName : caption));
    auto* layout = new QVBoxLayout(&box);
    layout->addWidget(new QLabel(ui::toDisplayText(message)));
    if (control) layout->addWidget(control);
    if (!notice.empty()) layout->addWidget(new QLabel(ui::toDisplayText(notice)));
    auto* row = new QDialogButtonBox;
    const std::vector<std::string> list = core::buttonCaptions(buttons);
    int pressed = int(list.size());
    for (size_t i = 0; i < list.size(); ++i) {
        QPushButton* b = row->addButton(ui::toQString(list[i]), QDialogButtonBox::ActionRole);
        if (i == 0) b->setDefault(true);
        QObject::connect(b, &QPushButton::clicked, &box, [&box, &pressed, i] {
            pressed = int(i) + 1;
            box.accept();
        });
    }
    layout->addWidget(row);
    box.exec();
    if (readBack) readBack();  // the control dies with the box
    return pressed;
}

}  // namespace

int PlainBoxes::msgBox(const std::string& message, const std::string& buttons, const std::string& options,
                       const std::string& caption) {
    return MB_MsgBox(message, buttons, options, caption);
}

void PlainBoxes::info(const std::string& message, const std::string& caption) {
    MB_Info(message, nullptr, false, {}, caption);
}

bool PlainBoxes::systemOkCancel(const std::string& message, const std::string& caption) {
    return showBox(message, "OK|Cancel", caption, "", nullptr) == 1;
}

void PlainBoxes::systemOk(const std::string& message, const std::string& caption) {
    showBox(message, "OK", caption, "", nullptr);
}

int PlainBoxes::inputBox(const std::string& message, const std::string& buttons, const std::string& caption,
                         const std::string& notice, std::string& value) {
    auto* edit = new QLineEdit(ui::toQString(value));
    return showBox(message, buttons, caption, notice, edit, [&] { value = ui::fromQString(edit->text()); });
}

int PlainBoxes::listPick(const std::vector<std::string>& items, const std::string& header, const std::string&,
                         const std::string& buttons, const std::string& message, const std::string& caption,
                         std::string& chosen) {
    auto* list = new QListWidget;
    for (const auto& item : items) {
        list->addItem(ui::toQString(item));
        if (item == chosen) list->setCurrentRow(list->count() - 1);
    }
    return showBox(message + "\r\r" + header, buttons, caption, "", list, [&] {
        chosen = list->currentItem() ? ui::fromQString(list->currentItem()->text()) : std::string();
    });
}

}  // namespace shell
