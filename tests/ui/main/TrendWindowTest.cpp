// The real window, offscreen: "Trend..." in its context menu opens the trend,
// which plots a PV read and keeps its samples across closing; the record goes
// to the file the About box names.
#include "dialog/ControlIds.h"
#include "ui/demo/DemoTransmitter.h"
#include "ui/main/CTamselApp.h"
#include "ui/qt/AboutBox.h"

#include <QApplication>
#include <QChart>
#include <QLabel>
#include <QLineSeries>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TrendWindowTest : public QObject {
    Q_OBJECT

private:
    static void Run(CTamselApp& app, int id)
    {
        QTest::mouseClick(app.Window().Widget(id), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!app.Dialog().IsOperationRunning(), 10000);
    }
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
    void openFromTheMenuAndAgain()
    {
        DemoTransmitter transmitter;
        QTemporaryDir dir;
        const QString record = dir.filePath("record.log");
        CTamselApp app(transmitter.Ports(), {RecordPlace::Kind::File, record});
        app.Window().show();
        for (int id : {IDC_SEARCH_COM, IDC_OPEN_COM, IDC_HART_COMM, IDC_READ_UNIT})
            Run(app, id);

        Choose(app, "Trend...");
        QVERIFY(app.TrendView() && app.TrendView()->isVisible());
        QCOMPARE(PvPoints(app), 1);
        app.TrendView()->close();
        Run(app, IDC_READ_UNIT);
        Choose(app, "Trend...");
        QVERIFY(app.TrendView()->isVisible());
        QCOMPARE(PvPoints(app), 2);

        QString note;
        QTimer::singleShot(0, [&note] {
            auto* box = qobject_cast<AboutBox*>(QApplication::activeModalWidget());
            note = box && box->Note() ? box->Note()->text() : "no note";
            if (box)
                box->accept();
        });
        Choose(app, QString::fromUtf8(LoadResourceString(IDS_ABOUTBOX).data()));
        QCOMPARE(note, "Record: " + record);
        QFile file(record);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("\tFenmarks/Harrow/66051\tstart\t1135 \"Read\"\n"));
    }
};

QTEST_MAIN(TrendWindowTest)
#include "TrendWindowTest.moc"
