#include "ui/qt/AboutBox.h"

#include "dialog/ControlIds.h"
#include "dialog/Layout.h"
#include "ui/qt/DialogBuilder.h"

#include <QPushButton>

AboutBox::AboutBox(QWidget* parent) : QDialog(parent)
{
    const DialogSpec& layout = AboutDialogLayout();
    const DialogUnits units = SetUpDialogFrame(*this, layout);
    // A plain modal box over its owner: no minimise button, no task bar entry.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    const BuiltControls built = BuildControls(*this, layout, units);
    if (const auto it = built.byId.find(IDOK); it != built.byId.end()) {
        ok_ = qobject_cast<QPushButton*>(it->second);
        ok_->setDefault(true);  // Enter closes the box too
        connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    }
}
