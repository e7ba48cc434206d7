// The real window, offscreen, clicked through the connect path and a damping
// write against the built-in simulated transmitter on a pseudo-terminal.
#include "dialog/ControlIds.h"
#include "ui/demo/DemoTransmitter.h"
#include "ui/main/CTamselApp.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

class WindowConnectTest : public QObject {
    Q_OBJECT

private:
    static void Click(CTamselApp& app, int id)
    {
        QWidget* w = app.Window().Widget(id);
        QVERIFY2(w && w->isEnabled(), qPrintable(QString("control %1 is not clickable").arg(id)));
        QTest::mouseClick(w, Qt::LeftButton);
    }
    static QString Text(CTamselApp& app, int id) { return QString::fromStdString(app.Window().GetText(id)); }

private slots:
    void connectAndWriteDamping()
    {
        DemoTransmitter transmitter;
        CTamselApp app(transmitter.Ports());
        app.Window().show();

        Click(app, IDC_SEARCH_COM);
        auto* ports = qobject_cast<QComboBox*>(app.Window().Widget(IDC_PORT_LIST));
        QVERIFY(ports);
        QCOMPARE(ports->count(), 1);
        QCOMPARE(ports->currentText(), QString("COM1"));

        Click(app, IDC_OPEN_COM);
        QCOMPARE(Text(app, IDC_OPEN_COM), QString("Close Com"));

        Click(app, IDC_HART_COMM);
        QTRY_VERIFY_WITH_TIMEOUT(!app.Dialog().IsOperationRunning(), 10000);
        QCOMPARE(Text(app, IDC_MFR), QString("Fenmarks"));
        QCOMPARE(Text(app, IDC_DEV_TYPE), QString("Harrow"));
        QCOMPARE(Text(app, IDC_DEV_ID), QString("66051"));
        QCOMPARE(Text(app, IDC_SENSOR_UPPER), QString("200.000 kPa"));
        QCOMPARE(Text(app, IDC_DAMPING), QString("0.500"));
        QVERIFY(!app.Window().Widget(IDC_SET_DAMPING)->isEnabled());

        auto* damping = qobject_cast<QLineEdit*>(app.Window().Widget(IDC_DAMPING));
        QVERIFY(damping);
        damping->selectAll();
        QTest::keyClicks(damping, "1.25");
        QVERIFY(app.Window().Widget(IDC_SET_DAMPING)->isEnabled());
        Click(app, IDC_SET_DAMPING);
        QTRY_VERIFY_WITH_TIMEOUT(!app.Dialog().IsOperationRunning(), 10000);
        QCOMPARE(Text(app, IDC_DAMPING), QString("1.250"));

        auto* log = qobject_cast<QListWidget*>(app.Window().Widget(IDC_LOG));
        QVERIFY(log);
        QCOMPARE(log->item(log->count() - 1)->text(), QString("Setting succeed!"));
        QCOMPARE(log->item(log->count() - 3)->text(), QString("82B57C01020322043FA00000F2"));
        QVERIFY(!app.Window().Widget(IDC_SET_DAMPING)->isEnabled());
    }
};

QTEST_MAIN(WindowConnectTest)
#include "WindowConnectTest.moc"
