#include "dialogs/dialog_fonts.h"

#include <QAbstractButton>
#include <QFontMetricsF>
#include <QLabel>
#include <algorithm>

#include "core/delimited_lists.h"
#include "core/numbers.h"
#include "core/stored_text.h"
#include "core/text.h"
#include "dialogs/control_geometry.h"
#include "dialogs/control_spec.h"
#include "dialogs/extra_controls.h"
#include "dialogs/message_text.h"
#include "dialogs/msgbox_form.h"
#include "platform/ui/controls.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/twips.h"
#include "window/form_ops.h"

namespace {

constexpr const char* kCaption = "caption";
constexpr const char* kAutoSize = "autoSize";

std::string field(const core::StrArray& fields, int m) { return LLIST_StrArrItem(fields, m, ""); }

std::string rightTrim(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

}  // namespace

namespace dlg {

std::string captionOf(const QWidget* w) {
    const QVariant v = w->property(kCaption);
    if (v.isValid()) return v.toByteArray().toStdString();
    if (auto* b = qobject_cast<const QAbstractButton*>(w)) return ui::fromQString(b->text());
    if (auto* l = qobject_cast<const QLabel*>(w)) return ui::fromQString(l->text());
    return {};
}

void setCaption(QWidget* w, const std::string& caption) {
    w->setProperty(kCaption, QByteArray::fromStdString(caption));
    if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        b->setText(ui::toDisplayText(caption));
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
        l->setTextFormat(Qt::PlainText);
        l->setText(ui::toDisplayText(displayCaption(caption)));
        if (isAutoSize(l)) fitLabel(l);
    }
}

bool isAutoSize(const QWidget* w) { return w->property(kAutoSize).toBool(); }

void setAutoSize(QLabel* label, bool autoSize, bool wordWrap) {
    label->setProperty(kAutoSize, autoSize);
    label->setWordWrap(wordWrap);
    if (autoSize) fitLabel(label);
}

void fitLabel(QLabel* label) {
    const QFontMetricsF metrics(label->font());
    const QString text = label->text();
    QRectF r = twRect(label);
    if (label->wordWrap()) {
        const double widthPx = std::max(1.0, r.width() / ui::twipsPerPixelX());
        const QRectF box = metrics.boundingRect(QRectF(0, 0, widthPx, 1e6), Qt::TextWordWrap, text);
        r.setHeight(std::max(metrics.height(), box.height()) * ui::twipsPerPixelY());
    } else {
        double widest = 0;
        const QStringList lines = text.split(QChar('\n'));
        for (const QString& line : lines) widest = std::max(widest, metrics.horizontalAdvance(line));
        r.setWidth(std::ceil(widest + 2) * ui::twipsPerPixelX());
        r.setHeight(metrics.height() * static_cast<double>(lines.size()) * ui::twipsPerPixelY());
    }
    setTwRect(label, r);
}

void setWidthFitting(QWidget* w, double width) {
    setTwWidth(w, width);
    auto* label = qobject_cast<QLabel*>(w);
    if (label && isAutoSize(label) && label->wordWrap()) fitLabel(label);
}

}  // namespace dlg

MB_FontRec MB_FontOf(const QWidget* w) {
    const QFont f = w->font();
    return {ui::fromQString(f.family()), f.pointSizeF(), f.bold(), f.italic()};
}

void MB_CtlFontApply(QWidget* control, const core::StrArray& fields, const MB_FontRec& base) {
    QFont font = control->font();
    font.setBold(base.FontBold);
    font.setFamily(ui::toQString(base.FontName));
    if (base.FontSize > 0) font.setPointSizeF(base.FontSize);
    font.setItalic(base.FontItalic);
    if (SYS32_StrIsTrue(field(fields, dlg::kSfBold))) font.setBold(true);
    if (SYS32_StrIsTrue(field(fields, dlg::kSfItalic))) font.setItalic(true);
    if (!field(fields, dlg::kSfFontName).empty()) font.setFamily(ui::toQString(field(fields, dlg::kSfFontName)));
    const double size = TXT_Val(field(fields, dlg::kSfFontSize));
    if (size > 0) font.setPointSizeF(size);
    // Spec sizes are written for an 8-point base and grow with a larger one.
    if (font.pointSizeF() != base.FontSize && base.FontSize / 8 > 1.2)
        font.setPointSizeF(font.pointSizeF() * base.FontSize / 8);
    control->setFont(font);
}

void MB_FitWidthToText(Msgbxform* form, QWidget* control, double extra, double margin) {
    form->setFont(control->font());
    core::StrArray lines;
    CHUNKS_SplitEx(dlg::captionOf(control), "\r", kChunksNoExclusion, lines, 0);
    for (const std::string& line : lines.items()) {
        const double w = FRMS_TextWidth(form, dlg::displayCaption(rightTrim(line)));
        if (extra + w + 2 * margin > dlg::twRect(control).width()) dlg::setTwWidth(control, extra + w + 2 * margin);
    }
}

void MB_MsgTextSet(Msgbxform* form, const std::string& text, double width) {
    QLabel* label = form->fMsg;
    label->setWordWrap(true);
    dlg::setCaption(label, "");
    dlg::setTwWidth(label, width);
    dlg::setCaption(label, MB_MsgTextBreak(text));
}

void MB_RowPlaceCtl(Msgbxform* form, MBLayoutRec& layout, const std::string& typeWord, MB_RowState& row,
                    QWidget* control, long entry, const core::StrArray& entries,
                    const core::StrArray& values, double& rowWidth, const MB_FontRec& base) {
    bool sameRow = false;
    dlg::typeWordOf(typeWord, &sameRow);
    if (!sameRow || !row.prev) return;
    const double top0 = dlg::twRect(control).top();
    auto stretchLabel = [&] {
        if (row.counter == 2 && qobject_cast<QLabel*>(control))
            dlg::setWidthFitting(control, layout.FormW - dlg::twRect(control).left() - dlg::kRightRoom);
    };
    if (row.counter >= 1) {
        --row.counter;
        dlg::setTwLeft(control, row.prevRect.right() + 60);
        dlg::setWidthFitting(control, std::min(dlg::twRect(control).width(), row.widthLimit));
        stretchLabel();
        dlg::setTwTop(control, row.prevRect.top());
    } else {
        row.counter = 0;
        QLabel* sizer = form->fSzCtl;
        dlg::setTwWidth(sizer, 15);
        for (long i = entry - 1; i <= entries.ubound(); ++i) {
            bool marked = false;
            dlg::typeWordOf(CHUNKS_GetEx(1, dlg::kFieldSep, kChunksNoExclusion, entries[i], ""), &marked);
            if (i != entry - 1 && !marked) break;
            ++row.counter;
            core::StrArray fields;
            MB_EntryType(entries[i], fields);
            MB_CtlFontApply(sizer, fields, base);
            sizer->setProperty("caption", QByteArray::fromStdString(MB_EntryCaption(fields, LLIST_StrArrItem(values, i, ""))));
            MB_FitWidthToText(form, sizer, 0, layout.CtlLeft);
        }
        const double gaps = (row.counter - 1) * 60.0;
        rowWidth = row.counter * dlg::twRect(sizer).width() + gaps;
        row.widthLimit = std::max(0.0, (layout.FormW - layout.CtlLeft - dlg::kRightRoom - gaps) / row.counter);
        dlg::setWidthFitting(control, std::min(dlg::twRect(control).width(), row.widthLimit));
        const double h0 = row.prevRect.height();
        dlg::setWidthFitting(row.prev, std::min(row.prevRect.width(), row.widthLimit));
        row.prevRect = dlg::twRect(row.prev);
        if (row.prevRect.height() > h0) layout.NextTop += row.prevRect.height() - h0;
        dlg::setTwLeft(control, row.prevRect.right() + 60);
        stretchLabel();
        dlg::setTwTop(control, row.prevRect.top());
    }
    const QRectF now = dlg::twRect(control);
    layout.NextTop -= std::min(now.height() + layout.VGap, top0 - now.top());
}
