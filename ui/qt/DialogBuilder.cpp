#include "ui/qt/DialogBuilder.h"

#include "dialog/ControlIds.h"
#include "ui/qt/AppIcon.h"
#include "ui/qt/EditInputValidator.h"
#include "ui/qt/LabelPlacement.h"
#include "ui/qt/LatchingRadioButton.h"

#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>

namespace {

constexpr int kIconPixels = 32;  // the platform's large icon
constexpr int kListItemDlu = 8;  // one entry of a dropped list

QString Text(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

QLabel* MakeLabel(QDialog& dialog, std::string_view text, Qt::Alignment align)
{
    auto* label = new QLabel(Text(text), &dialog);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(align);
    return label;
}

QLineEdit* MakeEdit(QDialog& dialog, const ControlSpec& c, BuiltControls& built)
{
    auto* edit = new QLineEdit(&dialog);
    if (c.kind == ControlKind::ReadOnlyEdit) {
        edit->setReadOnly(true);
        // A display field looks like one: the window's face, not an input's.
        QPalette pal = edit->palette();
        pal.setColor(QPalette::Base, pal.color(QPalette::Window));
        edit->setPalette(pal);
    }
    if (c.style & kStyleCentered)
        edit->setAlignment(Qt::AlignCenter);
    auto* input = new EditInputValidator(*edit, (c.style & kStyleUpperCase) != 0, (c.style & kStyleNoHScroll) != 0);
    edit->setValidator(input);
    built.inputs[c.id] = input;
    return edit;
}

QComboBox* MakeCombo(QDialog& dialog, const ControlSpec& c)
{
    auto* combo = new QComboBox(&dialog);
    combo->setEditable(false);
    for (std::string_view e : c.entries)
        combo->addItem(Text(e));
    combo->setCurrentIndex(-1);
    // The rest of the rectangle below the closed box is the dropped list.
    const int listDlu = c.rect.h - FieldLineHeight(c);
    combo->setMaxVisibleItems(std::max(1, listDlu / kListItemDlu));
    return combo;
}

QListWidget* MakeList(QDialog& dialog)
{
    auto* list = new QListWidget(&dialog);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);  // a vertical bar only
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list->setUniformItemSizes(true);
    return list;
}

QWidget* MakeStatic(QDialog& dialog, const ControlSpec& c)
{
    if (c.style & kStyleIcon) {
        auto* icon = new QLabel(&dialog);
        icon->setPixmap(DrawAppIcon(kIconPixels));
        icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return icon;
    }
    const Qt::Alignment h = (c.style & kStyleCentered) ? Qt::AlignHCenter : Qt::AlignLeft;
    return MakeLabel(dialog, c.caption, h | Qt::AlignTop);
}

QWidget* MakeControl(QDialog& dialog, const ControlSpec& c, BuiltControls& built)
{
    switch (c.kind) {
    case ControlKind::GroupBox:
        return new QGroupBox(Text(c.caption), &dialog);
    case ControlKind::StaticText:
        return MakeStatic(dialog, c);
    case ControlKind::Button:
        // The captions are single words, so kStyleMultiLine needs nothing more.
        return new QPushButton(Text(c.caption), &dialog);
    case ControlKind::RadioButton:
        return new LatchingRadioButton(Text(c.caption), &dialog);
    case ControlKind::Edit:
    case ControlKind::ReadOnlyEdit:
        return MakeEdit(dialog, c, built);
    case ControlKind::ComboBox:
        return MakeCombo(dialog, c);
    case ControlKind::ListBox:
        return MakeList(dialog);
    case ControlKind::SerialControl:
        return new QWidget(&dialog);  // the serial port has no face
    }
    return nullptr;
}

void AddLabels(QDialog& dialog, const DialogSpec& layout, const ControlSpec& c, const DialogUnits& units,
               BuiltControls& built)
{
    if (const auto rect = LabelRect(layout, c)) {
        Qt::Alignment align = Qt::AlignLeft | Qt::AlignBottom;  // above the field
        if (c.labelPlace == LabelPlace::Left)
            align = Qt::AlignRight | Qt::AlignVCenter;
        if (c.labelPlace == LabelPlace::LeftAligned)
            align = Qt::AlignLeft | Qt::AlignVCenter;
        QLabel* label = MakeLabel(dialog, c.label, align);
        label->setGeometry(units.Rect(*rect));
        built.labels[c.id] = label;
    }
    if (const auto rect = UnitLabelRect(c)) {
        QLabel* unit = MakeLabel(dialog, c.unitLabel, Qt::AlignLeft | Qt::AlignVCenter);
        unit->setGeometry(units.Rect(*rect));
        built.unitLabels[c.id] = unit;
    }
}

}  // namespace

DialogUnits SetUpDialogFrame(QDialog& dialog, const DialogSpec& layout)
{
    dialog.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    dialog.setWindowTitle(Text(layout.title));
    dialog.setWindowIcon(AppIcon());
    dialog.setFont(DialogFont(layout));
    const DialogUnits units = DialogUnits::FromFont(dialog.font());
    dialog.setFixedSize(units.Size(layout.width, layout.height));
    return units;
}

BuiltControls BuildControls(QDialog& dialog, const DialogSpec& layout, const DialogUnits& units)
{
    BuiltControls built;
    for (const ControlSpec& c : layout.controls) {
        QWidget* w = MakeControl(dialog, c, built);
        QRect rect = units.Rect(c.rect);
        rect.setHeight(units.Y(FieldLineHeight(c)));
        w->setGeometry(rect);
        w->setEnabled(c.enabled);
        if (c.kind == ControlKind::GroupBox)
            w->lower();  // a frame behind its controls
        if ((c.style & kStyleHidden) || c.kind == ControlKind::SerialControl)
            w->hide();
        if (c.id != IDC_STATIC)
            built.byId[c.id] = w;
        AddLabels(dialog, layout, c, units, built);
    }
    return built;
}
