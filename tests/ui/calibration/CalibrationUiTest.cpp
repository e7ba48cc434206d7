// The certificate, read back with pdftotext, and as CSV; the calibration
// window, opened from the main window's menu, through an as-found run of two
// points against the built-in demo transmitter (50 kPa applied, 0 to 100 kPa).
#include "calibration/CalibrationFile.h"
#include "dialog/ControlIds.h"
#include "ui/calibration/Certificate.h"
#include "ui/demo/DemoTransmitter.h"
#include "ui/main/CTamselApp.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

class CalibrationUiTest : public QObject {
    Q_OBJECT

private:
    static Calibration Made()
    {
        Calibration c;
        c.date = "2024-05-06";
        c.device = {"Fenmarks", "Harrow", 37, 4,     66051, 0, "PT-4711", "Boiler feed",
                    0,          100,      12, "kPa", 0.5,   0, "linear"};
        c.technician = "A. Marsh";
        c.asFound = CalRun{"as-found", "2024-05-06 09:10:00", 0.25, 3, PlanPoints({0, 100}, false), true, ""};
        c.asLeft = CalRun{"as-left", "2024-05-06 09:40:00", 0.25, 3, PlanPoints({0, 100}, false), true, ""};
        for (CalRun* run : {&*c.asFound, &*c.asLeft})
            for (CalPoint& p : run->points) {
                p.state = CalPoint::State::Done;
                p.reference = p.targetPct;
                p.pv = p.targetPct + (run == &*c.asFound ? 0.9 : 0.012);
                p.ma = 4 + 0.16 * p.pv;
                Judge(p, c.device, run->tolerancePct);
            }
        return c;
    }
    static void Click(QWidget* button, const std::function<bool()>& busy)
    {
        QVERIFY2(button->isEnabled(), qPrintable(button->objectName() + " is not clickable"));
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!busy(), 10000);
    }

private slots:
    void pdfCertificateNamesTheDeviceVerdictsAndReadings()
    {
        QTemporaryDir dir;
        const QString pdf = dir.filePath("c.pdf");
        QString error;
        QVERIFY2(WriteCertificate(Made(), pdf, error), qPrintable(error));
        QProcess text;
        text.start("pdftotext", {"-layout", pdf, "-"});
        QVERIFY2(text.waitForFinished(), "pdftotext did not run");
        const QString out = text.readAllStandardOutput();
        for (const char* shown : {"PT-4711", "As-found: FAIL", "As-left: PASS", "Result: PASS (as-left)", "100.0120",
                                  "0.900", "Technician:", "Reviewer:"})
            QVERIFY2(out.contains(shown), shown);
        QVERIFY(out.count('\f') <= 2);
    }

    void otherExtensionsWriteTheCsvTables()
    {
        QTemporaryDir dir;
        QString error;
        QVERIFY(WriteCertificate(Made(), dir.filePath("c.csv"), error));
        QFile file(dir.filePath("c.csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().toStdString(), ToCsv(Made()));
        QVERIFY(!WriteCertificate(Made(), dir.filePath("none/c.pdf"), error) && !error.isEmpty());
    }

    void windowRunsAsFoundAndFilesEachPoint()
    {
        QTemporaryDir state;
        qputenv("XDG_STATE_HOME", state.path().toUtf8());
        DemoTransmitter transmitter;
        CTamselApp app(transmitter.Ports(), {});
        const auto busy = [&app] { return app.Dialog().IsOperationRunning(); };
        app.Window().show();
        for (int id : {IDC_SEARCH_COM, IDC_OPEN_COM, IDC_HART_COMM})
            Click(app.Window().Widget(id), busy);
        const auto menu = app.Window().CreateWindowMenu();
        for (QAction* action : menu->actions())
            if (action->text() == "Calibration...")
                action->trigger();
        CalibrationWindow* w = app.CalibrationView();
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->PointsField()->text(), "0,25,50,75,100");
        w->PointsField()->setText("50, 100");
        w->ReadsField()->setValue(1);
        QTest::mouseClick(w->StartButton(false), Qt::LeftButton);
        QVERIFY(!w->StartButton(true)->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!busy(), 10000);
        QCOMPARE(w->Table()->rowCount(), 2);
        QCOMPARE(w->Table()->item(0, 8)->text(), "next");
        for (const char* reference : {"50", "100"}) {
            w->ReferenceField()->setText(reference);
            Click(w->RecordButton(), busy);
        }
        QCOMPARE(w->Table()->item(0, 3)->text(), "50.0000");
        QCOMPARE(w->Table()->item(0, 8)->text(), "pass");
        QCOMPARE(w->Table()->item(1, 8)->text(), "FAIL");
        QVERIFY(w->Table()->item(1, 8)->background().color().red() >
                w->Table()->item(0, 8)->background().color().red());
        QVERIFY(!w->RecordButton()->isEnabled());

        const Calibration& record = app.Dialog().Calibration().Record();
        const QString path = state.filePath("tamsel/calibrations/" + QString::fromStdString(FileNameOf(record)));
        QCOMPARE(w->Status()->text(), "Saved to " + path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        auto filed = CalibrationFromJson(file.readAll().toStdString());
        QVERIFY(std::holds_alternative<Calibration>(filed));
        QCOMPARE(std::get<Calibration>(filed).asFound->DoneCount(), 2);
        QCOMPARE(w->PastList()->count(), 1);
    }
};

QTEST_MAIN(CalibrationUiTest)
#include "CalibrationUiTest.moc"
