#include "ui/qt/AboutBox.h"

#include "dialog/ControlIds.h"
#include "dialog/Layout.h"
#include "ui/qt/DialogBuilder.h"

#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace {
constexpr DluRect kNoteRect = {11, 45, 213, 8};  // under the icon and the text
constexpr int kNoteRoomDlu = 14;                 // the box grows by this much
}  // namespace

AboutBox::AboutBox(QWidget* parent, const QString& note) : QDialog(parent)
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
    if (note.isEmpty())
        return;
    note_ = new QLabel(note, this);
    note_->setTextFormat(Qt::PlainText);
    note_->setTextInteractionFlags(Qt::TextSelectableByMouse);  // a path to copy
    note_->setGeometry(units.Rect(kNoteRect));
    note_->adjustSize();  // a long path widens the box
    const QSize size = units.Size(layout.width, layout.height + kNoteRoomDlu);
    setFixedSize(std::max(size.width(), note_->geometry().right() + units.X(kNoteRect.x)), size.height());
}
