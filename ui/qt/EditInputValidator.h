// Limits what the operator can type into an edit, as a dialog edit control
// does: a character limit and, for some fields, upper case and no
// scrolling past the box. Program writes are never cut or changed; only
// input that makes the text grow is held to the limit, so deleting from an
// over-long text always works.
#pragma once

#include <QString>
#include <QValidator>

class QLineEdit;

class EditInputValidator : public QValidator {
    Q_OBJECT
public:
    EditInputValidator(QLineEdit& edit, bool upperCase, bool noHScroll);

    void SetLimit(int limit);  // 0 or less: no limit
    int Limit() const { return m_Limit; }

    // Sets the edit's text as the program does: bypasses every input rule.
    void WriteText(const QString& text);

    State validate(QString& input, int& pos) const override;

private:
    bool FitsTheBox(const QString& text) const;

    QLineEdit& m_Edit;
    bool m_UpperCase;
    bool m_NoHScroll;
    int m_Limit = 0;
    bool m_ProgramWrite = false;
    QString m_Accepted;  // the text before the change being validated
};
