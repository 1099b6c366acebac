#pragma once
// The dialog responder's side of a built box: what the box shows, and a driver that
// acts only through the box's own routines (its button, key, close and click
// handlers), so that results and copy-back come out exactly as in a real show.
#include "core/dialog_responder.h"
#include "core/table2d.h"
#include "core/typed_array.h"

class Msgbxform;
class QWidget;

namespace dlg {

core::DlgView boxView(Msgbxform* form, const std::string& message, const std::string& notice,
                      const core::StrArray& entries, const core::StrArray& values);

class BoxDriver : public core::DlgDriver {
public:
    BoxDriver(Msgbxform* form, const core::StrArray& entries) : form_(form), entries_(entries) {}

    void setText(int entry, const std::string& text) override;
    void setCheck(int entry, int value) override;
    // List rows from 0; a combo box takes the first; a grid's Row becomes the first and
    // its RowSel the last.
    void choose(int entry, const std::vector<int>& positions) override;
    void press(int button) override;
    void press(const std::string& caption) override;
    // The form's key-down, what the key does to the box (Enter the default button, Esc
    // the Cancel button), then its key-up.
    void key(int vbKeyCode, int shift) override;
    void closeBox() override;
    // A click or double-click chooses the row first; a grid's row -1 is its header.
    // Only lists take a single click.
    void click(int entry, int row) override;
    void dblClick(int entry, int row) override;

private:
    QWidget* control(int entry) const;
    [[noreturn]] void refuse(const std::string& what) const;

    Msgbxform* form_;
    const core::StrArray& entries_;
};

}  // namespace dlg
