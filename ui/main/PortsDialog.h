// "Ports...": what stands behind each port number, COM1 to COM16, saved for
// the next starts (QSettings). The TAMSEL_COM<n> variables win when any is
// set; the dialog then says so.
#pragma once

#include <QDialog>

#include <array>
#include <map>
#include <string>

class QLineEdit;

class PortsDialog : public QDialog {
public:
    PortsDialog(std::map<int, std::string> values, bool environmentWins, QWidget* parent = nullptr);

    std::map<int, std::string> Values() const;
    QLineEdit* Field(int port) const { return m_Fields.at(static_cast<std::size_t>(port - 1)); }
    void accept() override;

private:
    std::array<QLineEdit*, 16> m_Fields{};
};
