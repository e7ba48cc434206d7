#include "ui/qt/EditInputValidator.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QStyle>

#include <algorithm>

namespace {

constexpr int kInnerMargin = 2;  // the line edit's own margin on each side

}  // namespace

EditInputValidator::EditInputValidator(QLineEdit& edit, bool upperCase, bool noHScroll)
    : QValidator(&edit), edit_(edit), upperCase_(upperCase), noHScroll_(noHScroll), accepted_(edit.text())
{
    connect(&edit, &QLineEdit::textChanged, this, [this](const QString& t) { accepted_ = t; });
}

void EditInputValidator::SetLimit(int limit) { limit_ = std::max(limit, 0); }

void EditInputValidator::WriteText(const QString& text)
{
    programWrite_ = true;
    edit_.setText(text);
    programWrite_ = false;
}

bool EditInputValidator::FitsTheBox(const QString& text) const
{
    const int frame = edit_.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &edit_);
    const QMargins m = edit_.textMargins();
    const int room = edit_.width() - 2 * frame - 2 * kInnerMargin - m.left() - m.right();
    return QFontMetrics(edit_.font()).horizontalAdvance(text) <= room;
}

QValidator::State EditInputValidator::validate(QString& input, int& pos) const
{
    if (programWrite_)
        return Acceptable;
    if (upperCase_)
        for (QChar& c : input)
            c = c.toUpper();  // one for one: the cursor stays put
    if (input.size() <= accepted_.size())
        return Acceptable;  // deleting is always allowed

    if (limit_ > 0 && input.size() > limit_) {
        // Keep what still fits of the inserted text, which ends at the cursor;
        // an insertion of which nothing fits is refused outright.
        const qsizetype excess = input.size() - std::max<qsizetype>(limit_, accepted_.size());
        if (excess > pos)
            return Invalid;
        input.remove(pos - excess, excess);
        pos -= int(excess);
        if (input == accepted_)
            return Invalid;
    }
    if (noHScroll_ && !FitsTheBox(input))
        return Invalid;
    return Acceptable;
}
