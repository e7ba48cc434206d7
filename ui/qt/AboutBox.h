// The About box, made from its layout table: the icon, the version text and
// one button that closes it. It has no behaviour of its own.
#pragma once

#include <QDialog>

class QPushButton;

class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);

    QPushButton* OkButton() const { return ok_; }

private:
    QPushButton* ok_ = nullptr;
};
