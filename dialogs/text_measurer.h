#pragma once
// Caption widths in a Qt font, for the button-row arithmetic.
#include <QFont>

#include "dialogs/button_rows.h"

namespace dlg {

class QtTextMeasurer : public TextMeasurer {
public:
    explicit QtTextMeasurer(QFont font) : font_(std::move(font)) {}
    // The caption as shown (access-key marks resolved), in twips.
    double textWidth(std::string_view text, const TextStyle& style) const override;

private:
    QFont font_;
};

}  // namespace dlg
