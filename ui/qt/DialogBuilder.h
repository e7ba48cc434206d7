// Builds a dialog window and its controls from a layout table; both the main
// window and the About box come from here.
#pragma once

#include "dialog/Layout.h"
#include "ui/qt/DialogUnits.h"

#include <map>

class QDialog;
class QLabel;
class QWidget;
class EditInputValidator;

struct BuiltControls {
    std::map<int, QWidget*> byId;               // every control with an id
    std::map<int, QLabel*> labels;              // a field's label, by field id
    std::map<int, QLabel*> unitLabels;          // a field's unit text, by field id
    std::map<int, EditInputValidator*> inputs;  // every edit's input rules
};

// Title, font, icon, fixed client size and the frame: minimise and close
// buttons, no maximise. Returns the dialog units of the window's font.
DialogUnits SetUpDialogFrame(QDialog& dialog, const DialogSpec& layout);

// Creates every control of the table as a child of the dialog. Controls sharing
// IDC_STATIC are created but not listed.
BuiltControls BuildControls(QDialog& dialog, const DialogSpec& layout, const DialogUnits& units);
