#include "dialogs/text_measurer.h"

#include <QFontMetricsF>
#include <cmath>

#include "dialogs/message_text.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/twips.h"

namespace dlg {

double QtTextMeasurer::textWidth(std::string_view text, const TextStyle& style) const {
    QFont font = font_;
    font.setBold(style.bold);
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    const QFontMetricsF metrics(font);
    return std::ceil(metrics.horizontalAdvance(ui::toQString(displayCaption(text)))) * ui::twipsPerPixelX();
}

}  // namespace dlg
