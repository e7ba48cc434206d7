#include "ui/qt/EditInputValidator.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QStyle>

#include <algorithm>

namespace {

constexpr int kInnerMargin = 2;  // the line edit's own margin on each side

}  // namespace

EditInputValidator::EditInputValidator(QLineEdit& edit, bool upperCase, bool noHScroll)
    : QValidator(&edit), m_Edit(edit), m_UpperCase(upperCase), m_NoHScroll(noHScroll), m_Accepted(edit.text())
{
    connect(&edit, &QLineEdit::textChanged, this, [this](const QString& t) { m_Accepted = t; });
}

void EditInputValidator::SetLimit(int limit) { m_Limit = std::max(limit, 0); }

void EditInputValidator::WriteText(const QString& text)
{
    m_ProgramWrite = true;
    m_Edit.setText(text);
    m_ProgramWrite = false;
}

bool EditInputValidator::FitsTheBox(const QString& text) const
{
    const int frame = m_Edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &m_Edit);
    const QMargins m = m_Edit.textMargins();
    const int room = m_Edit.width() - 2 * frame - 2 * kInnerMargin - m.left() - m.right();
    return QFontMetrics(m_Edit.font()).horizontalAdvance(text) <= room;
}

QValidator::State EditInputValidator::validate(QString& input, int& pos) const
{
    if (m_ProgramWrite)
        return Acceptable;
    if (m_UpperCase)
        for (QChar& c : input)
            c = c.toUpper();  // one for one: the cursor stays put
    if (input.size() <= m_Accepted.size())
        return Acceptable;  // deleting is always allowed

    if (m_Limit > 0 && input.size() > m_Limit) {
        // Keep what still fits of the inserted text, which ends at the cursor;
        // an insertion of which nothing fits is refused outright.
        const qsizetype excess = input.size() - std::max<qsizetype>(m_Limit, m_Accepted.size());
        if (excess > pos)
            return Invalid;
        input.remove(pos - excess, excess);
        pos -= int(excess);
        if (input == m_Accepted)
            return Invalid;
    }
    if (m_NoHScroll && !FitsTheBox(input))
        return Invalid;
    return Acceptable;
}
