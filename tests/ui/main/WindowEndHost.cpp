// tamsel as its main() runs it, after the operator's first steps on COM1
// (TAMSEL_COM1): connected, the loop current fixed at 12 mA, auto read
// running; then nothing more ("none"), the About box open ("about"), or Exit
// pressed with its question unanswered ("exit"). It prints "ready" and the
// class of the topmost modal window then, for a test to send its signal.
//   window_end_host RECORD none|about|exit
#include "dialog/ControlIds.h"
#include "dialog/Layout.h"
#include "ui/main/CTamselApp.h"

#include <QApplication>
#include <QTimer>

#include <functional>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    QApplication qapp(argc, argv);
    if (argc != 3)
        return 2;
    const std::string box = argv[2];
    CTamselApp app(PortMap::Load(), {RecordPlace::Kind::File, QString::fromLocal8Bit(argv[1])});
    CTamselDlg& dlg = app.Dialog();
    const auto click = [&dlg](int id) { dlg.OnCommand(id, Notify::Clicked); };
    const std::vector<std::function<void()>> steps = {
        [&] {
            click(IDC_SEARCH_COM);
            click(IDC_OPEN_COM);
            click(IDC_HART_COMM);
        },
        [&] {
            app.Window().SetText(IDC_D_CURR, "12");
            click(IDC_FIXED_CURR);
        },
        [&] {
            click(IDC_AUTO_READ);
            QTimer::singleShot(0, [] {
                const QWidget* top = QApplication::activeModalWidget();
                std::cout << "ready " << (top ? top->metaObject()->className() : "-") << std::endl;
            });
            if (box == "about")
                dlg.OnSysCommand(IDM_ABOUTBOX);
            else if (box == "exit")
                dlg.OnCancel();
        },
    };
    std::size_t next = 0;
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        if (!dlg.IsOperationRunning() && next < steps.size())
            steps[next++]();
    });
    driver.start(10);
    return app.Run();
}
