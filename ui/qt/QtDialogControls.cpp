// The window's controls reached by id: texts, states, lists. Unknown ids and
// out-of-range indexes do nothing and read as empty, 0 or -1, like the
// platform's error returns.
#include "ui/qt/QtDialogWindow.h"

#include "ui/qt/EditInputValidator.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

namespace {

QString ToQt(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

std::string ToStd(const QString& s) { return s.toUtf8().toStdString(); }

bool InRange(int index, int count) { return index >= 0 && index < count; }

}  // namespace

QWidget* QtDialogWindow::Widget(int id) const
{
    const auto it = m_Controls.byId.find(id);
    return it == m_Controls.byId.end() ? nullptr : it->second;
}

QLabel* QtDialogWindow::Label(int id) const
{
    const auto it = m_Controls.labels.find(id);
    return it == m_Controls.labels.end() ? nullptr : it->second;
}

QLabel* QtDialogWindow::UnitLabel(int id) const
{
    const auto it = m_Controls.unitLabels.find(id);
    return it == m_Controls.unitLabels.end() ? nullptr : it->second;
}

QLineEdit* QtDialogWindow::Edit(int id) const { return qobject_cast<QLineEdit*>(Widget(id)); }

QAbstractButton* QtDialogWindow::Button(int id) const { return qobject_cast<QAbstractButton*>(Widget(id)); }

QComboBox* QtDialogWindow::Combo(int id) const { return qobject_cast<QComboBox*>(Widget(id)); }

QListWidget* QtDialogWindow::List(int id) const { return qobject_cast<QListWidget*>(Widget(id)); }

std::string QtDialogWindow::GetText(int id) const
{
    if (const QLineEdit* edit = Edit(id))
        return ToStd(edit->text());
    if (const QAbstractButton* button = Button(id))
        return ToStd(button->text());
    if (const QComboBox* combo = Combo(id))
        return ToStd(combo->currentText());
    return {};
}

void QtDialogWindow::SetText(int id, std::string_view text)
{
    if (QLineEdit* edit = Edit(id)) {
        const QString value = ToQt(text);
        if (edit->text() == value) {
            // The edit control reports every write, even of the same text;
            // QLineEdit stays silent then.
            m_Events.OnCommand(id, Notify::EditChange);
            return;
        }
        const auto it = m_Controls.inputs.find(id);
        if (it != m_Controls.inputs.end())
            it->second->WriteText(value);
        return;
    }
    if (QAbstractButton* button = Button(id))
        button->setText(ToQt(text));
}

void QtDialogWindow::Enable(int id, bool enable)
{
    if (QWidget* w = Widget(id))
        w->setEnabled(enable);
}

bool QtDialogWindow::IsEnabled(int id) const
{
    const QWidget* w = Widget(id);
    return w && w->isEnabled();
}

void QtDialogWindow::SetLimitText(int id, int limit)
{
    if (const auto it = m_Controls.inputs.find(id); it != m_Controls.inputs.end())
        it->second->SetLimit(limit);
}

int QtDialogWindow::GetCheck(int id) const
{
    const QAbstractButton* button = Button(id);
    return button && button->isCheckable() && button->isChecked() ? 1 : 0;
}

void QtDialogWindow::SetCheck(int id, int check)
{
    QAbstractButton* button = Button(id);
    if (button && button->isCheckable())
        button->setChecked(check != 0);
}

void QtDialogWindow::ComboResetContent(int id)
{
    if (QComboBox* combo = Combo(id))
        combo->clear();
}

int QtDialogWindow::ComboAddString(int id, std::string_view text)
{
    QComboBox* combo = Combo(id);
    if (!combo)
        return -1;
    // QComboBox selects the first entry put into an empty list; a drop-down
    // list keeps whatever selection it had.
    const int selected = combo->currentIndex();
    combo->addItem(ToQt(text));
    combo->setCurrentIndex(selected);
    return combo->count() - 1;
}

void QtDialogWindow::ComboSetItemData(int id, int index, int data)
{
    QComboBox* combo = Combo(id);
    if (combo && InRange(index, combo->count()))
        combo->setItemData(index, data);
}

int QtDialogWindow::ComboGetItemData(int id, int index) const
{
    const QComboBox* combo = Combo(id);
    if (!combo || !InRange(index, combo->count()))
        return -1;
    return combo->itemData(index).toInt();  // 0 until set, as on the platform
}

int QtDialogWindow::ComboGetCount(int id) const
{
    const QComboBox* combo = Combo(id);
    return combo ? combo->count() : 0;
}

int QtDialogWindow::ComboGetCurSel(int id) const
{
    const QComboBox* combo = Combo(id);
    return combo ? combo->currentIndex() : -1;
}

void QtDialogWindow::ComboSetCurSel(int id, int index)
{
    QComboBox* combo = Combo(id);
    if (combo)
        combo->setCurrentIndex(InRange(index, combo->count()) ? index : -1);
}

std::string QtDialogWindow::ComboGetText(int id, int index) const
{
    const QComboBox* combo = Combo(id);
    if (!combo || !InRange(index, combo->count()))
        return {};
    return ToStd(combo->itemText(index));
}

int QtDialogWindow::ListAddString(int id, std::string_view text)
{
    QListWidget* list = List(id);
    if (!list)
        return -1;
    list->addItem(ToQt(text));
    return list->count() - 1;
}

void QtDialogWindow::ListDeleteString(int id, int index)
{
    QListWidget* list = List(id);
    if (list && InRange(index, list->count()))
        delete list->takeItem(index);
}

int QtDialogWindow::ListGetCount(int id) const
{
    const QListWidget* list = List(id);
    return list ? list->count() : 0;
}

void QtDialogWindow::ListSetCurSel(int id, int index)
{
    QListWidget* list = List(id);
    if (!list)
        return;
    if (InRange(index, list->count())) {
        list->setCurrentRow(index);
        list->scrollToItem(list->item(index));  // selecting shows the entry
    } else {
        list->clearSelection();  // no selection; the view stays where it is
    }
}

int QtDialogWindow::ListGetCurSel(int id) const
{
    const QListWidget* list = List(id);
    if (!list)
        return -1;
    const auto selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.first());
}

std::string QtDialogWindow::ListGetText(int id, int index) const
{
    const QListWidget* list = List(id);
    if (!list || !InRange(index, list->count()))
        return {};
    return ToStd(list->item(index)->text());
}
