#include "ui/main/PortsDialog.h"

#include "serial/LinkSettings.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QVBoxLayout>

PortsDialog::PortsDialog(std::map<int, std::string> values, bool environmentWins, QWidget* parent) : QDialog(parent)
{
    setWindowTitle("Ports");
    auto* layout = new QVBoxLayout(this);
    auto* help = new QLabel("A serial device for the hex-line modem (/dev/ttyUSB0), a binary modem\n"
                            "(fsk:/dev/ttyUSB0?rts=high|low|none&preambles=5&echo=0) or a HART-IP\n"
                            "gateway (hartip://HOST:5094, hartip+tcp://HOST:5094). Empty: no such port.",
                            this);
    layout->addWidget(help);
    if (environmentWins)
        layout->addWidget(new QLabel("The TAMSEL_COM<n> variables are set: they define the ports, not these.", this));
    auto* form = new QFormLayout;
    for (int port = 1; port <= 16; ++port) {
        auto* field = new QLineEdit(QString::fromStdString(values[port]), this);
        m_Fields[static_cast<std::size_t>(port - 1)] = field;
        form->addRow(QString("COM%1").arg(port), field);
    }
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &PortsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PortsDialog::reject);
    layout->addWidget(buttons);
}

std::map<int, std::string> PortsDialog::Values() const
{
    std::map<int, std::string> values;
    for (int port = 1; port <= 16; ++port) {
        const std::string value = Field(port)->text().trimmed().toStdString();
        if (!value.empty())
            values[port] = value;
    }
    return values;
}

// Nothing is kept while a value cannot be read.
void PortsDialog::accept()
{
    for (const auto& [port, value] : Values()) {
        const auto linkSettings = ParsePortValue(value);
        if (const std::string* why = std::get_if<std::string>(&linkSettings)) {
            QMessageBox::warning(this, windowTitle(), QString("COM%1: %2").arg(port).arg(QString::fromStdString(*why)));
            Field(port)->setFocus();
            return;
        }
    }
    QDialog::accept();
}
