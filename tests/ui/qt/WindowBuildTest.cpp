// The main window as built from the layout table: frame, size, every control
// with its kind and initial state, and labels that can be read.
#include "WindowFixture.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <cstdlib>
#include <set>

namespace {

TEST_F(WindowTest, FrameSizeAndPlacesAreTheTemplateInDialogUnits)
{
    EXPECT_EQ(window.windowTitle(), "Dravel HART Communication Tool (Ver1.0)");
    EXPECT_FALSE(window.windowIcon().isNull());
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_EQ(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Window);  // its own task bar entry
    // Base units from the window's font: its line height, its average letter width.
    const DialogUnits& u = window.Units();
    const QFontMetrics fm(window.font());
    EXPECT_EQ(u.baseY, fm.height());
    EXPECT_LE(std::abs(52 * u.baseX - fm.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")),
              52);
    // Rounded half away from zero: (dlu * base + div / 2) / div.
    EXPECT_EQ(window.size(), QSize((556 * u.baseX + 2) / 4, (351 * u.baseY + 4) / 8));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());  // fixed frame
    EXPECT_EQ(window.Widget(IDC_SEARCH_COM)->geometry(),
              QRect((70 * u.baseX + 2) / 4, (253 * u.baseY + 4) / 8, (43 * u.baseX + 2) / 4, (14 * u.baseY + 4) / 8));
    // A combo box shows one line; the rest of its rectangle is the dropped list.
    EXPECT_EQ(window.Widget(IDC_UNIT_LIST)->height(), (14 * u.baseY + 4) / 8);
}

TEST_F(WindowTest, EveryControlExistsWithItsKindAndInitialState)
{
    for (const ControlSpec& c : MainDialogLayout().controls) {
        if (c.id == IDC_STATIC)
            continue;
        SCOPED_TRACE(c.id);
        QWidget* w = window.Widget(c.id);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->isEnabled(), c.enabled);
        EXPECT_EQ(window.IsEnabled(c.id), c.enabled);
        EXPECT_EQ(w->isVisible(), c.id != IDC_COMM && c.id != IDOK);  // only those two unseen
        if (auto* b = qobject_cast<QAbstractButton*>(w)) {            // the caption fits
            EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text()), b->width());
        }
        if (c.kind == ControlKind::Button) {
            EXPECT_TRUE(qobject_cast<QPushButton*>(w));
            EXPECT_EQ(window.GetText(c.id), std::string(c.caption));
        } else if (c.kind == ControlKind::RadioButton) {
            auto* radio = qobject_cast<QRadioButton*>(w);
            ASSERT_TRUE(radio);
            EXPECT_FALSE(radio->autoExclusive());
            EXPECT_FALSE(radio->isChecked());
        } else if (c.kind == ControlKind::Edit || c.kind == ControlKind::ReadOnlyEdit) {
            auto* edit = qobject_cast<QLineEdit*>(w);
            ASSERT_TRUE(edit);
            EXPECT_EQ(edit->isReadOnly(), c.kind == ControlKind::ReadOnlyEdit);
            EXPECT_TRUE(edit->text().isEmpty());
            EXPECT_EQ(bool(edit->alignment() & Qt::AlignHCenter), bool(c.style & kStyleCentered));
        } else if (c.kind == ControlKind::ComboBox) {
            auto* combo = qobject_cast<QComboBox*>(w);
            ASSERT_TRUE(combo);
            EXPECT_FALSE(combo->isEditable());
            EXPECT_EQ(combo->currentIndex(), -1);
            ASSERT_EQ(combo->count(), int(c.entries.size()));
            for (int i = 0; i < combo->count(); ++i)
                EXPECT_EQ(window.ComboGetText(c.id, i), std::string(c.entries[size_t(i)]));
        } else if (c.kind == ControlKind::ListBox) {
            EXPECT_TRUE(qobject_cast<QListWidget*>(w));
        }
    }
}

TEST_F(WindowTest, TenGroupBoxesAndTheWarning)
{
    std::set<QString> titles;
    for (auto* g : window.findChildren<QGroupBox*>())
        titles.insert(g->title());
    EXPECT_EQ(titles.size(), 10u);
    EXPECT_TRUE(titles.count("Module 1 - Comm Setting"));
    EXPECT_TRUE(titles.count("Module 10 - Specific Settings"));
    int warnings = 0;
    for (auto* l : window.findChildren<QLabel*>())
        warnings += l->text() == "Need proper pressure!!!" && l->isVisible();
    EXPECT_EQ(warnings, 1);
}

// Every label shows its whole text, covers no control and stands inside
// exactly one group box.
TEST_F(WindowTest, LabelsAreLegible)
{
    const auto groups = window.findChildren<QGroupBox*>();
    int labels = 0;
    for (const ControlSpec& c : MainDialogLayout().controls) {
        for (QLabel* label : {window.Label(c.id), window.UnitLabel(c.id)}) {
            if (!label)
                continue;
            ++labels;
            const QRect r = label->geometry();
            EXPECT_TRUE(label->isVisible());
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), r.width()) << c.id;
            EXPECT_GE(r.height(), label->fontMetrics().height()) << c.id;
            for (const ControlSpec& other : MainDialogLayout().controls) {
                const QWidget* w = window.Widget(other.id);
                if (w && w->isVisible()) {
                    EXPECT_FALSE(r.intersects(w->geometry())) << c.id << " covers " << other.id;
                }
            }
            int around = 0;
            for (QGroupBox* g : groups)
                around += g->geometry().contains(r);
            EXPECT_EQ(around, 1) << c.id;
        }
    }
    EXPECT_EQ(window.Label(IDC_MFR)->text(), "MFR.");
    EXPECT_EQ(window.UnitLabel(IDC_DAMPING)->text(), "s");
    EXPECT_EQ(labels, 32);  // 31 field labels and the unit "s"
}

}  // namespace
