#include "ui/qt/DialogUnits.h"

#include <QFontMetrics>
#include <QString>
#include <QStringList>

namespace {

// Rounds half away from zero like the platform's MulDiv.
int MulDiv(int value, int num, int den)
{
    const long long p = static_cast<long long>(value) * num;
    return static_cast<int>(p >= 0 ? (p + den / 2) / den : -((-p + den / 2) / den));
}

}  // namespace

DialogUnits DialogUnits::FromFont(const QFont& font)
{
    const QFontMetrics fm(font);
    // The framework measures the 52 letters rather than trusting the font's
    // own average, and rounds the same way.
    const int letters = fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(letters / 26 + 1) / 2, fm.height()};
}

int DialogUnits::X(int dlu) const { return MulDiv(dlu, baseX, 4); }

int DialogUnits::Y(int dlu) const { return MulDiv(dlu, baseY, 8); }

QRect DialogUnits::Rect(const DluRect& r) const
{
    // Place and extent are mapped each on its own, as the dialog manager
    // does when it creates a template's controls.
    return {X(r.x), Y(r.y), X(r.w), Y(r.h)};
}

QSize DialogUnits::Size(int w, int h) const { return {X(w), Y(h)}; }

QFont DialogFont(const DialogSpec& layout)
{
    QFont font;
    font.setFamilies(QStringList{QString::fromUtf8(layout.fontFace.data(), qsizetype(layout.fontFace.size())),
                                 QStringLiteral("WenQuanYi Micro Hei")});
    font.setPointSize(layout.fontPoints);
    return font;
}
