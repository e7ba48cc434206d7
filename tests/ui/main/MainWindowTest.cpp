// The real window, offscreen, against the built-in simulated transmitter on a
// pseudo-terminal: the connect path and a damping write typed into the field;
// "Trend..." in its context menu opens the trend, which plots a PV read on an
// axis of round ticks and keeps its samples across closing; the record goes to
// the file the About box names; Exit with the loop current fixed asks first.
#include "dialog/ControlIds.h"
#include "ui/demo/DemoTransmitter.h"
#include "ui/main/CTamselApp.h"
#include "ui/main/PortsDialog.h"
#include "ui/qt/AboutBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QChart>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QValueAxis>

#include <cmath>

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    static void Run(CTamselApp& app, int id)
    {
        QWidget* w = app.Window().Widget(id);
        QVERIFY2(w && w->isEnabled(), qPrintable(QString("control %1 is not clickable").arg(id)));
        QTest::mouseClick(w, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!app.Dialog().IsOperationRunning(), 10000);
    }
    static std::string Text(CTamselApp& app, int id) { return app.Window().GetText(id); }
    static void Choose(CTamselApp& app, const QString& text)
    {
        const auto menu = app.Window().CreateWindowMenu();
        for (QAction* action : menu->actions())
            if (action->text() == text)
                return action->trigger();
        QFAIL(qPrintable("no menu item " + text));
    }
    static qsizetype PvPoints(CTamselApp& app)
    {
        const auto series = app.TrendView()->Chart(0)->series();
        return series.isEmpty() ? 0 : qobject_cast<QLineSeries*>(series[0])->count();
    }

private slots:
    void connectWriteDampingTrendAndRecord()
    {
        DemoTransmitter transmitter;
        QTemporaryDir dir;
        const QString record = dir.filePath("record.log");
        CTamselApp app(transmitter.Ports(), {RecordPlace::Kind::File, record});
        app.Window().show();
        for (int id : {IDC_SEARCH_COM, IDC_OPEN_COM, IDC_HART_COMM})
            Run(app, id);
        QCOMPARE(Text(app, IDC_OPEN_COM), "Close Com");
        QCOMPARE(Text(app, IDC_MFR) + " " + Text(app, IDC_DEV_TYPE) + " " + Text(app, IDC_DEV_ID) + " " +
                     Text(app, IDC_SENSOR_UPPER) + " " + Text(app, IDC_DAMPING),
                 "Fenmarks Harrow 66051 200.000 kPa 0.500");

        auto* damping = qobject_cast<QLineEdit*>(app.Window().Widget(IDC_DAMPING));
        QVERIFY(damping && !app.Window().IsEnabled(IDC_SET_DAMPING));
        damping->selectAll();
        QTest::keyClicks(damping, "1.25");
        Run(app, IDC_SET_DAMPING);
        QCOMPARE(Text(app, IDC_DAMPING), "1.250");
        const int entries = app.Window().ListGetCount(IDC_LOG);
        QCOMPARE(app.Window().ListGetText(IDC_LOG, entries - 3), "82B57C01020322043FA00000F2");
        QCOMPARE(app.Window().ListGetText(IDC_LOG, entries - 1), "Setting succeed!");
        QVERIFY(!app.Window().IsEnabled(IDC_SET_DAMPING));

        Run(app, IDC_READ_UNIT);
        Choose(app, "Trend...");
        QVERIFY(app.TrendView() && app.TrendView()->isVisible());
        QCOMPARE(PvPoints(app), 1);
        app.TrendView()->close();
        Run(app, IDC_READ_UNIT);
        Choose(app, "Trend...");
        QVERIFY(app.TrendView()->isVisible());
        QCOMPARE(PvPoints(app), 2);
        const auto* axis = qobject_cast<QValueAxis*>(app.TrendView()->Chart(0)->axes(Qt::Vertical).first());
        const double step = (axis->max() - axis->min()) / (axis->tickCount() - 1);
        const double mantissa = step / std::pow(10.0, std::floor(std::log10(step)));
        QVERIFY2(std::abs(mantissa - 1) < 1e-9 || std::abs(mantissa - 2) < 1e-9 || std::abs(mantissa - 5) < 1e-9,
                 qPrintable(QString("tick step %1").arg(step)));
        QVERIFY(std::abs(std::remainder(axis->min(), step)) < step * 1e-6);

        QString note;
        QTimer::singleShot(0, [&note] {
            auto* box = qobject_cast<AboutBox*>(QApplication::activeModalWidget());
            note = box && box->Note() ? box->Note()->text() : "no note";
            if (box)
                box->accept();
        });
        Choose(app, QString::fromUtf8(LoadResourceString(IDS_ABOUTBOX).data()));
        QCOMPARE(note, "Record: " + record);
        QVERIFY(app.Record().Flush(std::chrono::seconds(5)));
        QFile file(record);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("\tFenmarks/Harrow/66051\tstart\t1135 \"Read\"\n"));

        app.Window().SetText(IDC_D_CURR, "12");
        Run(app, IDC_FIXED_CURR);
        QString question;
        QTimer::singleShot(0, [&question] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            question = box ? box->text() : "no question";
            if (box)
                box->button(QMessageBox::Cancel)->click();
        });
        QTest::keyClick(&app.Window(), Qt::Key_Escape);
        QCOMPARE(question, "The loop current is fixed at 12.000 mA. Return it to the measured value before closing?");
        QVERIFY(app.Window().isVisible());
    }

    // "Ports..." keeps nothing while a value cannot be read.
    void portsDialogRefusesAnUnreadableValue()
    {
        PortsDialog dialog({{2, "/dev/ttyUSB0"}}, false);
        dialog.Field(3)->setText(" fsk:/dev/ttyUSB1?rts=up ");
        QString warned;
        QTimer::singleShot(0, [&warned] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            warned = box ? box->text() : "no warning";
            if (box)
                box->accept();
        });
        dialog.accept();
        QCOMPARE(warned, "COM3: rts must be high, low or none, not \"up\"");
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        dialog.Field(3)->setText(" fsk:/dev/ttyUSB1?rts=none ");
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY((dialog.Values() == std::map<int, std::string>{{2, "/dev/ttyUSB0"}, {3, "fsk:/dev/ttyUSB1?rts=none"}}));
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
