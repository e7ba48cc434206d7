// The configuration dialogs of the real window, offscreen, against the
// built-in simulated transmitter: a file saved, the damping changed through
// the window, compared (that row alone highlighted) and restored; a clone
// asked for, and refused when another device answers; a newer file refused; the survey of addresses 0 to 1 finding the
// demo at 0.
#include "dialog/ControlIds.h"
#include "ui/demo/DemoTransmitter.h"
#include "ui/main/CTamselApp.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class ConfigurationDialogTest : public QObject {
    Q_OBJECT

    static void Run(CTamselApp& app, int id)
    {
        QTest::mouseClick(app.Window().Widget(id), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!app.Dialog().IsOperationRunning(), 10000);
    }
    static void Connect(CTamselApp& app, const QString& menuEntry)
    {
        for (int id : {IDC_SEARCH_COM, IDC_OPEN_COM, IDC_HART_COMM})
            Run(app, id);
        const auto menu = app.Window().CreateWindowMenu();
        for (QAction* action : menu->actions())
            if (action->text() == menuEntry)
                action->trigger();
    }
    // The demo connected, with its configuration saved to path; dialog is
    // null when the save did not go as it should.
    struct Saved {
        DemoTransmitter demo;
        CTamselApp app{demo.Ports()};
        QTemporaryDir dir;
        const QString path = dir.filePath("pt.json");
        ConfigurationDialog* dialog = Save(app, path);

        static ConfigurationDialog* Save(CTamselApp& app, const QString& path)
        {
            Connect(app, "Configuration...");
            ConfigurationDialog* dialog = app.ConfigurationView();
            dialog->Save(path);
            const bool disabled = !dialog->SaveButton()->isEnabled() && !dialog->RestoreButton()->isEnabled();
            const bool ended = QTest::qWaitFor([dialog] { return !dialog->Busy(); }, 20000);
            return disabled && ended && dialog->Message()->text() == "Saved " + path ? dialog : nullptr;
        }
    };
    static void Edit(const QString& path, const QString& from, const QString& to)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        const QString text = QString::fromUtf8(file.readAll());
        QVERIFY(text.contains(from));
        file.resize(0);
        file.write(QString(text).replace(from, to).toUtf8());
    }
    static QStringList Highlighted(const QTableWidget* table)
    {
        QStringList rows;
        for (int row = 0; row < table->rowCount(); ++row)
            if (table->item(row, 0)->background().style() != Qt::NoBrush)
                rows << table->item(row, 0)->text() + " " + table->item(row, 1)->text() + " " +
                            table->item(row, 2)->text();
        return rows;
    }

private slots:
    void compareAndRestoreTheDamping()
    {
        Saved saved;
        auto& [demo, app, dir, path, dialog] = saved;
        QVERIFY(dialog);
        app.Window().SetText(IDC_DAMPING, "1.25");
        Run(app, IDC_SET_DAMPING);
        // A read-only setting that differs is shown, never counted.
        Edit(path, "\"value\": \"200\"", "\"value\": \"999\"");
        Edit(path, "\"format\"", "\"site\": \"north\", \"format\"");
        dialog->CompareWith(path);
        QTRY_VERIFY_WITH_TIMEOUT(!dialog->Busy(), 20000);
        QCOMPARE(Highlighted(dialog->Table()), QStringList{"Damping (s) 1.25 0.5"});
        QCOMPARE(dialog->Summary()->text(), "1 setting differs");
        QCOMPARE(dialog->Kept()->text(), "Unknown to this version, kept in the file: site");

        dialog->Restore();
        QTRY_VERIFY_WITH_TIMEOUT(!dialog->Busy(), 20000);
        QCOMPARE(dialog->Outcome()->count(), 1);
        QCOMPARE(dialog->Outcome()->item(0)->text(), "Written: Damping (s) 1.25 -> 0.5");
        QCOMPARE(dialog->Summary()->text(), "0 settings differ");
        Run(app, IDC_READ_DAMPING);
        QCOMPARE(app.Window().GetText(IDC_DAMPING), "0.500");
    }

    void aCloneAskedForANewerFileRefused()
    {
        Saved saved;
        auto& [demo, app, dir, path, dialog] = saved;
        QVERIFY(dialog);
        QTest::mouseClick(app.Window().Widget(IDC_READ_DAMPING), Qt::LeftButton);
        dialog->Save(path);
        QVERIFY(dialog->Message()->text() == "Not started: an operation is running" && !dialog->Busy());
        QTRY_VERIFY_WITH_TIMEOUT(!app.Dialog().IsOperationRunning(), 10000);

        Edit(path, "\"device_id\": 66051", "\"device_id\": 4242");
        dialog->CompareWith(path);
        QTRY_VERIFY_WITH_TIMEOUT(!dialog->Busy(), 20000);
        QStringList asked;
        QMessageBox::StandardButton answer = QMessageBox::No;
        QTimer answering;
        connect(&answering, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                asked << box->text();
                box->button(answer)->click();
            }
        });
        answering.start(20);
        for (const char* said : {"Not restored", "Restored: 0 written"}) {
            dialog->Restore();
            QTRY_COMPARE_WITH_TIMEOUT(dialog->Message()->text(), said, 20000);
            answer = QMessageBox::Yes;
        }
        // Another transmitter of the type now behind the port: not the one compared.
        demo.Server().WithDevices([](std::vector<sim::Transmitter>& loop) {
            loop[0].State().identity.deviceId = {1, 2, 4};
        });
        Run(app, IDC_HART_COMM);
        dialog->Restore();
        QTRY_COMPARE_WITH_TIMEOUT(dialog->Message()->text(),
                                  "Not restored: device 66052 answers, not the compared 66051; compare again", 20000);
        QCOMPARE(asked, QStringList(3, "The file is of device 4242, this is device 66051 of the same type. Restore "
                                       "onto it (clone)?"));

        Edit(path, "\"format_version\": 1", "\"format_version\": 2");
        dialog->CompareWith(path);
        QCOMPARE(dialog->Message()->text(),
                 "pt.json: the file's format version 2 is newer than this tool's 1: use a newer tool");
        QVERIFY(dialog->Table()->rowCount() == 0 && !dialog->RestoreButton()->isEnabled());
    }

    void surveyFindsTheDemoAtAddressZero()
    {
        DemoTransmitter demo;
        CTamselApp app(demo.Ports());
        Connect(app, "Survey...");
        SurveyDialog* dialog = app.SurveyView();
        QVERIFY(dialog && dialog->isVisible());
        // Address 1 alone stays silent: two seconds, not thirty.
        dialog->LastAddress()->setValue(1);
        QTest::mouseClick(dialog->StartButton(), Qt::LeftButton);
        QVERIFY(!dialog->StartButton()->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!dialog->Busy(), 60000);
        const QTableWidget* found = dialog->Table();
        QCOMPARE(found->item(0, 0)->text() + " " + found->item(0, 3)->text() + " " + found->item(0, 4)->text(),
                 "0 66051 PT-101");
        const QString took = dialog->Took()->text();
        QVERIFY2(dialog->Table()->rowCount() == 1 && took.startsWith("Addresses 0 to 1 polled in ") &&
                     took.endsWith(" s: 1 device found"),
                 qPrintable(took));
    }
};

QTEST_MAIN(ConfigurationDialogTest)
#include "ConfigurationDialogTest.moc"
