// The window itself: building, notifications, keys, timers and the window
// menu. The per-control operations are in QtDialogControls.cpp.
#include "ui/qt/QtDialogWindow.h"

#include "dialog/ControlIds.h"
#include "ui/qt/AboutBox.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>

#include <algorithm>

namespace {

// The platform never runs a window timer faster than this.
constexpr int kMinTimerMs = 10;

}  // namespace

QtDialogWindow::QtDialogWindow(const DialogSpec& layout, DialogEvents& events, QWidget* parent)
    : QDialog(parent), m_Events(events), m_Units(SetUpDialogFrame(*this, layout)),
      m_Controls(BuildControls(*this, layout, m_Units))
{
    // Only now, so that filling the controls from the table reports nothing.
    ConnectNotifications(layout);
}

QtDialogWindow::~QtDialogWindow()
{
    // No timer may reach the sink while the window is going away.
    for (auto& [id, timer] : m_Timers)
        timer->stop();
}

void QtDialogWindow::ConnectNotifications(const DialogSpec& layout)
{
    for (const ControlSpec& c : layout.controls) {
        const int id = c.id;
        if (id == IDC_STATIC)
            continue;
        QWidget* w = Widget(id);
        switch (c.kind) {
        case ControlKind::Button:
        case ControlKind::RadioButton:
            // clicked() comes from the operator only, never from setChecked().
            connect(static_cast<QAbstractButton*>(w), &QAbstractButton::clicked, this,
                    [this, id] { m_Events.OnCommand(id, Notify::Clicked); });
            break;
        case ControlKind::Edit:
        case ControlKind::ReadOnlyEdit:
            // textChanged() also follows setText(), synchronously.
            connect(static_cast<QLineEdit*>(w), &QLineEdit::textChanged, this,
                    [this, id] { m_Events.OnCommand(id, Notify::EditChange); });
            break;
        case ControlKind::ComboBox:
            // activated() is the operator's choice; setCurrentIndex() is silent.
            connect(static_cast<QComboBox*>(w), &QComboBox::activated, this,
                    [this, id] { m_Events.OnCommand(id, Notify::SelChange); });
            break;
        default:
            break;
        }
    }
}

void QtDialogWindow::reject() { m_Events.OnCommand(IDCANCEL, Notify::Clicked); }

void QtDialogWindow::EndDialog(int result) { done(result); }

void QtDialogWindow::keyPressEvent(QKeyEvent* event)
{
    const auto mods = event->modifiers() & ~Qt::KeypadModifier;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && mods == Qt::NoModifier) {
        // The hidden default button's command; it never closes the window by
        // itself. A focused push button has taken its own Enter before this.
        m_Events.OnCommand(IDOK, Notify::Clicked);
        return;
    }
    QDialog::keyPressEvent(event);  // Esc ends in reject()
}

void QtDialogWindow::SetTimer(int timerId, int ms)
{
    QTimer*& timer = m_Timers[timerId];
    if (!timer) {
        timer = new QTimer(this);
        timer->setTimerType(Qt::PreciseTimer);
        connect(timer, &QTimer::timeout, this, [this, timerId] { m_Events.OnTimer(timerId); });
    }
    timer->start(std::max(ms, kMinTimerMs));  // restarts a running interval
}

void QtDialogWindow::KillTimer(int timerId)
{
    if (const auto it = m_Timers.find(timerId); it != m_Timers.end())
        it->second->stop();
}

bool QtDialogWindow::IsTimerActive(int timerId) const
{
    const auto it = m_Timers.find(timerId);
    return it != m_Timers.end() && it->second->isActive();
}

void QtDialogWindow::AppendSystemMenuItem(unsigned commandId, std::string_view text)
{
    m_MenuItems.emplace_back(commandId, QString::fromUtf8(text.data(), qsizetype(text.size())));
}

std::unique_ptr<QMenu> QtDialogWindow::CreateWindowMenu()
{
    // Linux offers no window system menu to extend, so the window's own
    // context menu carries the frame's commands and the appended items.
    auto menu = std::make_unique<QMenu>(this);
    menu->addAction(QStringLiteral("最小化(&N)"), this, [this] { showMinimized(); });
    menu->addAction(QStringLiteral("关闭(&C)"), this, [this] { reject(); });
    for (const auto& [id, text] : m_MenuItems) {
        menu->addSeparator();
        menu->addAction(text, this, [this, id = id] { m_Events.OnSysCommand(id); });
    }
    for (const auto& [text, action] : m_HostActions)
        menu->addAction(text, this, action);
    return menu;
}

void QtDialogWindow::AddMenuAction(const QString& text, std::function<void()> action)
{
    m_HostActions.emplace_back(text, std::move(action));
}

void QtDialogWindow::contextMenuEvent(QContextMenuEvent* event)
{
    const auto menu = CreateWindowMenu();
    menu->exec(event->globalPos());
}

Answer QtDialogWindow::AskYesNoCancel(std::string_view question)
{
    const auto button =
        QMessageBox::question(this, windowTitle(), QString::fromUtf8(question.data(), qsizetype(question.size())),
                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    return button == QMessageBox::Yes ? Answer::Yes : button == QMessageBox::No ? Answer::No : Answer::Cancel;
}

void QtDialogWindow::RunAboutBox()
{
    AboutBox about(this, m_AboutNote ? m_AboutNote() : QString());
    about.exec();
}
