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

#include <set>

namespace {

// The platform's rounding: half away from zero.
int Scale(int dlu, int base, int div) { return (dlu * base + div / 2) / div; }

TEST_F(WindowTest, TitleFrameAndIcon) {
    EXPECT_EQ(window.windowTitle(), "Dravel HART Communication Tool (Ver1.0)");
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Window);  // its own task bar entry
    EXPECT_FALSE(window.windowIcon().isNull());
}

TEST_F(WindowTest, ClientSizeIsTheTemplateInDialogUnits) {
    const QFontMetrics fm(window.font());
    const int letters = fm.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int avg = (letters / 26 + 1) / 2;
    EXPECT_EQ(window.width(), Scale(556, avg, 4));
    EXPECT_EQ(window.height(), Scale(351, fm.height(), 8));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());  // fixed frame
}

TEST_F(WindowTest, ControlsStandAtTheirTemplatePlaces) {
    const DialogUnits& u = window.Units();
    const QRect want(Scale(70, u.baseX, 4), Scale(253, u.baseY, 8), Scale(43, u.baseX, 4),
                     Scale(14, u.baseY, 8));
    EXPECT_EQ(window.Widget(IDC_SEARCH_COM)->geometry(), want);
    // A combo box shows one line; the rest of its rectangle is the dropped list.
    EXPECT_EQ(window.Widget(IDC_UNIT_LIST)->height(), Scale(14, u.baseY, 8));
}

TEST_F(WindowTest, EveryControlExistsWithItsKindAndInitialState) {
    for (const ControlSpec& c : MainDialogLayout().controls) {
        if (c.id == IDC_STATIC) continue;
        QWidget* w = window.Widget(c.id);
        ASSERT_NE(w, nullptr) << c.id;
        EXPECT_EQ(w->isEnabled(), c.enabled) << c.id;
        EXPECT_EQ(window.IsEnabled(c.id), c.enabled) << c.id;
        switch (c.kind) {
        case ControlKind::Button:
            EXPECT_TRUE(qobject_cast<QPushButton*>(w)) << c.id;
            EXPECT_EQ(window.GetText(c.id), std::string(c.caption));
            break;
        case ControlKind::RadioButton: {
            auto* radio = qobject_cast<QRadioButton*>(w);
            ASSERT_TRUE(radio) << c.id;
            EXPECT_FALSE(radio->autoExclusive());
            EXPECT_FALSE(radio->isChecked());
            break;
        }
        case ControlKind::Edit:
        case ControlKind::ReadOnlyEdit: {
            auto* edit = qobject_cast<QLineEdit*>(w);
            ASSERT_TRUE(edit) << c.id;
            EXPECT_EQ(edit->isReadOnly(), c.kind == ControlKind::ReadOnlyEdit) << c.id;
            EXPECT_TRUE(edit->text().isEmpty());
            break;
        }
        case ControlKind::ComboBox: {
            auto* combo = qobject_cast<QComboBox*>(w);
            ASSERT_TRUE(combo) << c.id;
            EXPECT_FALSE(combo->isEditable());
            EXPECT_EQ(combo->currentIndex(), -1) << c.id;
            ASSERT_EQ(combo->count(), int(c.entries.size()));
            for (int i = 0; i < combo->count(); ++i)
                EXPECT_EQ(window.ComboGetText(c.id, i), std::string(c.entries[size_t(i)]));
            break;
        }
        case ControlKind::ListBox:
            EXPECT_TRUE(qobject_cast<QListWidget*>(w));
            break;
        default:
            break;
        }
    }
}

TEST_F(WindowTest, OnlyTheSerialControlAndTheDefaultButtonAreUnseen) {
    for (const ControlSpec& c : MainDialogLayout().controls) {
        if (c.id == IDC_STATIC) continue;
        const bool unseen = c.id == IDC_COMM || c.id == IDOK;
        EXPECT_EQ(window.Widget(c.id)->isVisible(), !unseen) << c.id;
    }
}

TEST_F(WindowTest, TenGroupBoxesAndTheWarning) {
    std::set<QString> titles;
    for (auto* g : window.findChildren<QGroupBox*>()) titles.insert(g->title());
    EXPECT_EQ(titles.size(), 10u);
    EXPECT_TRUE(titles.count("Module 1 - Comm Setting"));
    EXPECT_TRUE(titles.count("Module 10 - Specific Settings"));
    int warnings = 0;
    for (auto* l : window.findChildren<QLabel*>())
        warnings += l->text() == "Need proper pressure!!!" && l->isVisible();
    EXPECT_EQ(warnings, 1);
}

// Every label shows its whole text, beside (or above) its field without
// covering it, inside the field's group box.
TEST_F(WindowTest, LabelsAreLegible) {
    const auto groups = window.findChildren<QGroupBox*>();
    int labels = 0;
    for (const ControlSpec& c : MainDialogLayout().controls) {
        for (QLabel* label : {window.Label(c.id), window.UnitLabel(c.id)}) {
            if (!label) continue;
            ++labels;
            const QRect field = window.Widget(c.id)->geometry();
            const QRect r = label->geometry();
            EXPECT_TRUE(label->isVisible());
            EXPECT_FALSE(r.intersects(field)) << c.id;
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), r.width()) << c.id;
            EXPECT_GE(r.height(), label->fontMetrics().height()) << c.id;
            int around = 0;
            for (QGroupBox* g : groups) around += g->geometry().contains(r);
            EXPECT_EQ(around, 1) << c.id;
        }
    }
    EXPECT_EQ(window.Label(IDC_MFR)->text(), "MFR.");
    EXPECT_EQ(window.UnitLabel(IDC_DAMPING)->text(), "s");
    EXPECT_EQ(labels, 32);
}

TEST_F(WindowTest, ButtonCaptionsFitTheirButtons) {
    for (const ControlSpec& c : MainDialogLayout().controls) {
        if (c.kind != ControlKind::Button && c.kind != ControlKind::RadioButton) continue;
        auto* b = W<QAbstractButton>(c.id);
        EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text()), b->width()) << c.id;
    }
}

TEST_F(WindowTest, PollingAddressIsCentred) {
    EXPECT_TRUE(W<QLineEdit>(IDC_POLL_ADDR)->alignment() & Qt::AlignHCenter);
}

}  // namespace
