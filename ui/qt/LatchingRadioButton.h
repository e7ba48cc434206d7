// A radio button that is a group of its own and that a click always checks:
// clicking a checked one leaves it checked, as the platform's automatic radio
// button does. Only the program unchecks it.
#pragma once

#include <QRadioButton>

class LatchingRadioButton : public QRadioButton {
public:
    explicit LatchingRadioButton(const QString& text, QWidget* parent = nullptr) : QRadioButton(text, parent)
    {
        setAutoExclusive(false);
    }

protected:
    void nextCheckState() override { setChecked(true); }
};
