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
        m_Ok = qobject_cast<QPushButton*>(it->second);
        m_Ok->setDefault(true);  // Enter closes the box too
        connect(m_Ok, &QPushButton::clicked, this, &QDialog::accept);
    }
    if (note.isEmpty())
        return;
    m_Note = new QLabel(note, this);
    m_Note->setTextFormat(Qt::PlainText);
    m_Note->setTextInteractionFlags(Qt::TextSelectableByMouse);  // a path to copy
    m_Note->setGeometry(units.Rect(kNoteRect));
    m_Note->adjustSize();  // a long path widens the box
    const QSize size = units.Size(layout.width, layout.height + kNoteRoomDlu);
    setFixedSize(std::max(size.width(), m_Note->geometry().right() + units.X(kNoteRect.x)), size.height());
}
