// The Tamsel window on Qt Widgets: every control is made from a layout table,
// and what the operator does is reported to a DialogEvents sink by control id,
// with the notification rules of DialogWindow.h.
#pragma once

#include "dialog/DialogWindow.h"
#include "dialog/Layout.h"
#include "ui/qt/DialogBuilder.h"
#include "ui/qt/DialogUnits.h"

#include <QDialog>
#include <QMenu>  // CreateWindowMenu hands one out

#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

class QAbstractButton;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QTimer;

class QtDialogWindow : public QDialog, public DialogWindow {
    Q_OBJECT
public:
    // The sink must outlive the window.
    QtDialogWindow(const DialogSpec& layout, DialogEvents& events, QWidget* parent = nullptr);
    ~QtDialogWindow() override;

    std::string GetText(int id) const override;
    void SetText(int id, std::string_view text) override;
    void Enable(int id, bool enable) override;
    bool IsEnabled(int id) const override;
    void SetLimitText(int id, int limit) override;

    int GetCheck(int id) const override;
    void SetCheck(int id, int check) override;

    void ComboResetContent(int id) override;
    int ComboAddString(int id, std::string_view text) override;
    void ComboSetItemData(int id, int index, int data) override;
    int ComboGetItemData(int id, int index) const override;
    int ComboGetCount(int id) const override;
    int ComboGetCurSel(int id) const override;
    void ComboSetCurSel(int id, int index) override;
    std::string ComboGetText(int id, int index) const override;

    int ListAddString(int id, std::string_view text) override;
    void ListDeleteString(int id, int index) override;
    int ListGetCount(int id) const override;
    void ListSetCurSel(int id, int index) override;
    int ListGetCurSel(int id) const override;
    std::string ListGetText(int id, int index) const override;

    void SetTimer(int timerId, int ms) override;
    void KillTimer(int timerId) override;

    void AppendSystemMenuItem(unsigned commandId, std::string_view text) override;
    void RunAboutBox() override;
    void EndDialog(int result) override;
    Answer AskYesNoCancel(std::string_view question) override;

    // Esc and the frame's close button: reported as the "Exit" command; the
    // dialog object decides whether the window closes.
    void reject() override;

    // For tests and previews.
    QWidget* Widget(int id) const;
    QLabel* Label(int id) const;      // a field's label
    QLabel* UnitLabel(int id) const;  // a field's unit text
    const DialogUnits& Units() const { return m_Units; }
    bool IsTimerActive(int timerId) const;
    // The window menu: the frame's own commands, then the appended items,
    // then the host's own commands.
    std::unique_ptr<QMenu> CreateWindowMenu();

    // For hosts: a command of their own in the window menu (the trend), and a
    // line the About box shows under its text (where the record goes).
    void AddMenuAction(const QString& text, std::function<void()> action);
    void SetAboutNote(std::function<QString()> note) { m_AboutNote = std::move(note); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void ConnectNotifications(const DialogSpec& layout);
    QLineEdit* Edit(int id) const;
    QAbstractButton* Button(int id) const;
    QComboBox* Combo(int id) const;
    QListWidget* List(int id) const;

    DialogEvents& m_Events;
    DialogUnits m_Units;
    BuiltControls m_Controls;
    std::map<int, QTimer*> m_Timers;
    std::vector<std::pair<unsigned, QString>> m_MenuItems;
    std::vector<std::pair<QString, std::function<void()>>> m_HostActions;
    std::function<QString()> m_AboutNote;
};
