// The About box, made from its layout table: the icon, the version text and
// one button that closes it, and the host's note below when there is one. It
// has no behaviour of its own.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr, const QString& note = {});

    QPushButton* OkButton() const { return ok_; }
    QLabel* Note() const { return note_; }

private:
    QPushButton* ok_ = nullptr;
    QLabel* note_ = nullptr;
};
