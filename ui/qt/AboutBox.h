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

    QPushButton* OkButton() const { return m_Ok; }
    QLabel* Note() const { return m_Note; }

private:
    QPushButton* m_Ok = nullptr;
    QLabel* m_Note = nullptr;
};
