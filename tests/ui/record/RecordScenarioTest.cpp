// The record of a scenario on the virtual clock, line for line: a connect, a
// damping write, and the same write failing for want of replies.
#include "tests/modules/Scenario.h"
#include "ui/record/RecordWriter.h"

#include <QFile>

#include <iostream>
#include <sstream>

namespace {
QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no file)");
}
}  // namespace

TEST(Record, ScenarioGivesTheExpectedFile)
{
    const QString path = QString::fromStdString(testing::TempDir()) + "/scenario.record";
    QFile::remove(path);
    std::ostringstream warnings;
    {
        Scenario s;
        const QDateTime start(QDate(2026, 12, 6), QTime(9, 0));
        RecordFile file({RecordPlace::Kind::File, path}, warnings);
        RecordWriter writer(file, s.window, [&] { return start.addMSecs(s.clock.Now()); });
        s.dlg.AddObserver(writer);
        s.Connect();
        s.window.Type(IDC_DAMPING, "2.5");
        s.Run(IDC_SET_DAMPING);
        s.Fault(sim::FaultKind::kNoAnswer, 34);
        s.window.Type(IDC_DAMPING, "3");
        s.Run(IDC_SET_DAMPING);
    }
    EXPECT_EQ(Contents(path).toStdString(), Contents(TAMSEL_RECORD_EXPECTED).toStdString());
    EXPECT_EQ(warnings.str(), "");
}

// Stop Read acts on the running auto read: its click is no start of its own.
// A note is a line of its own.
TEST(Record, AClickWhileAnOperationRunsActsOnItANoteStandsAlone)
{
    const QString path = QString::fromStdString(testing::TempDir()) + "/click.record";
    QFile::remove(path);
    HeadlessHost host;
    RecordFile file({RecordPlace::Kind::File, path}, std::cerr);
    RecordWriter writer(file, host.window, [] { return QDateTime(QDate(2026, 12, 6), QTime(9, 0)); });
    writer.OperationStarted(IDC_AUTO_READ, "Auto Read", {});
    writer.OperationStarted(IDC_STOP_READ, "Stop Read", {});
    writer.OperationEnded();
    writer.Note("the loop current is returned");
    ASSERT_TRUE(file.Flush(std::chrono::seconds(5)));
    EXPECT_EQ(Contents(path).toStdString(), "2026-12-06 09:00:00.000\t-\tstart\t1089 \"Auto Read\"\n"
                                            "2026-12-06 09:00:00.000\t-\tclick\t1118 \"Stop Read\"\n"
                                            "2026-12-06 09:00:00.000\t-\tend\t1089 \"Auto Read\"\n"
                                            "2026-12-06 09:00:00.000\t-\tnote\tthe loop current is returned\n");
}
