// The record's file on a thread of its own: a FIFO that no one reads, or
// whose reader stops, never holds up an operation; the lines that do not fit
// the queue are counted, in one warning and in the record; a file deleted or
// moved away is begun anew at its path; the end waits a bounded time.
#include "dialog/ControlIds.h"
#include "ui/headless/HeadlessHost.h"
#include "ui/record/RecordWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace std::chrono_literals;

namespace {
const QDateTime kAt(QDate(2026, 12, 6), QTime(9, 0));
const std::string kStamp = "2026-12-06 09:00:00.000\t-\t";

std::chrono::milliseconds Since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
}

std::string Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "(no file)";
}

std::string Lost(std::size_t count, std::size_t bound)
{
    return kStamp + "error\t" + std::to_string(count) +
           " lines of the record are lost here: its file took none while " + std::to_string(bound) + " waited";
}

// The read end of a FIFO, opened without waiting for its writer.
class Reader {
public:
    explicit Reader(const QString& path) : m_Fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK)) {}
    ~Reader() { Close(); }
    void Close()
    {
        if (m_Fd >= 0)
            ::close(m_Fd);
        m_Fd = -1;
    }
    int Fd() const { return m_Fd; }
    // The lines read until `last` is one of them, waiting at most 5 s.
    std::vector<std::string> ReadUntil(const std::string& last)
    {
        std::vector<std::string> lines;
        std::string part;
        const auto start = std::chrono::steady_clock::now();
        while (Since(start) < 5s && (lines.empty() || lines.back() != last)) {
            pollfd in{m_Fd, POLLIN, 0};
            if (::poll(&in, 1, 100) <= 0)
                continue;
            char buffer[4096];
            const ssize_t n = ::read(m_Fd, buffer, sizeof buffer);
            for (ssize_t i = 0; i < n; ++i) {
                if (buffer[i] != '\n')
                    part += buffer[i];
                else
                    lines.push_back(std::exchange(part, {}));
            }
        }
        return lines;
    }

private:
    int m_Fd;
};

class RecordFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_Dir.isValid());
        m_Path = m_Dir.filePath("record");
    }
    void MakeFifo() { ASSERT_EQ(::mkfifo(QFile::encodeName(m_Path).constData(), 0600), 0); }
    std::string Path() const { return m_Path.toStdString(); }

    QTemporaryDir m_Dir;
    QString m_Path;
    std::ostringstream m_Warnings;
};
}  // namespace

// Where the tool once hung in fopen, in the first operation.
TEST_F(RecordFileTest, AFifoWithoutAReaderHoldsNothingUpAndTheRecordSaysHowManyWereLost)
{
    MakeFifo();
    HeadlessHost host;
    {
        RecordFile file({RecordPlace::Kind::File, m_Path}, m_Warnings, {8, 200ms});
        RecordWriter writer(file, host.window, [] { return kAt; });
        const auto start = std::chrono::steady_clock::now();
        writer.OperationStarted(IDC_AUTO_READ, "Auto Read", {});
        for (int i = 1; i < 20; ++i)
            writer.LogLine("line " + std::to_string(i));
        EXPECT_LT(Since(start), 500ms);
        EXPECT_FALSE(file.Flush(100ms));
        EXPECT_EQ(m_Warnings.str(), "");

        Reader reader(m_Path);
        ASSERT_TRUE(file.Flush(5s));
        std::vector<std::string> expected{kStamp + "start\t1089 \"Auto Read\""};
        for (int i = 1; i < 8; ++i)
            expected.push_back(kStamp + "log\tline " + std::to_string(i));
        expected.push_back(Lost(12, 8));
        EXPECT_EQ(reader.ReadUntil(expected.back()), expected);
        EXPECT_EQ(m_Warnings.str(), "tamsel: 12 lines of the record " + Path() +
                                        " are lost: its file took none for a while; the record says so where they "
                                        "are missing\n");

        // Then the lines go on as they come.
        writer.OperationEnded();
        ASSERT_TRUE(file.Flush(5s));
        EXPECT_EQ(reader.ReadUntil(kStamp + "end\t1089 \"Auto Read\"").size(), 1u);
    }
    const std::string warnings = m_Warnings.str();
    EXPECT_EQ(std::count(warnings.begin(), warnings.end(), '\n'), 1);
}

TEST_F(RecordFileTest, AReaderThatStopsReadingHoldsNothingUp)
{
    MakeFifo();
    Reader reader(m_Path);
    ASSERT_GE(::fcntl(reader.Fd(), F_SETPIPE_SZ, 4096), 4096);
    RecordFile file({RecordPlace::Kind::File, m_Path}, m_Warnings, {16, 200ms});
    for (int i = 0; i < 5; ++i)
        file.Append(kAt, "-", "log", "before " + std::to_string(i));
    ASSERT_TRUE(file.Flush(5s));
    EXPECT_EQ(reader.ReadUntil(kStamp + "log\tbefore 4").size(), 5u);

    // The reader reads no more, and the pipe fills: with a line of the
    // test's own, so that the record's thread meets it full at once.
    {
        const int filler = ::open(QFile::encodeName(m_Path).constData(), O_WRONLY | O_NONBLOCK);
        ASSERT_GE(filler, 0);
        const std::string line(63, 'x');
        while (::write(filler, (line + '\n').data(), 64) == 64) {
        }
        ::close(filler);
    }
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 300; ++i)
        file.Append(kAt, "-", "log", "after " + std::to_string(i));
    EXPECT_LT(Since(start), 500ms);
    EXPECT_FALSE(file.Flush(100ms));
    EXPECT_EQ(m_Warnings.str(), "");

    // It reads again.
    std::vector<std::string> lines = reader.ReadUntil(Lost(284, 16));
    std::erase(lines, std::string(63, 'x'));
    std::vector<std::string> expected;
    for (int i = 0; i < 16; ++i)
        expected.push_back(kStamp + "log\tafter " + std::to_string(i));
    expected.push_back(Lost(284, 16));
    EXPECT_EQ(lines, expected);
    ASSERT_TRUE(file.Flush(5s));
    EXPECT_EQ(m_Warnings.str(), "tamsel: 284 lines of the record " + Path() +
                                    " are lost: its file took none for a while; the record says so where they are "
                                    "missing\n");
}

// A reader that goes away (EPIPE, not SIGPIPE): the line waits for the next one.
TEST_F(RecordFileTest, AReaderThatGoesAwayLeavesTheLinesForTheNext)
{
    MakeFifo();
    RecordFile file({RecordPlace::Kind::File, m_Path}, m_Warnings, {8, 200ms});
    {
        Reader first(m_Path);
        file.Append(kAt, "-", "log", "one");
        ASSERT_TRUE(file.Flush(5s));
        EXPECT_EQ(first.ReadUntil(kStamp + "log\tone").size(), 1u);
    }
    file.Append(kAt, "-", "log", "two");
    EXPECT_FALSE(file.Flush(100ms));
    Reader next(m_Path);
    ASSERT_TRUE(file.Flush(5s));
    EXPECT_EQ(next.ReadUntil(kStamp + "log\ttwo"), std::vector<std::string>{kStamp + "log\ttwo"});
    EXPECT_EQ(m_Warnings.str(), "");
}

TEST_F(RecordFileTest, ADeletedFileIsBegunAnewAtItsPath)
{
    RecordFile file({RecordPlace::Kind::File, m_Path}, m_Warnings);
    file.Append(kAt, "-", "log", "one");
    ASSERT_TRUE(file.Flush(5s));
    ASSERT_TRUE(QFile::remove(m_Path));
    file.Append(kAt, "-", "log", "two");
    file.Append(kAt, "-", "log", "three");
    ASSERT_TRUE(file.Flush(5s));
    EXPECT_EQ(Contents(m_Path), kStamp + "note\tthe record is reopened: its file was deleted\n" + kStamp +
                                    "log\ttwo\n" + kStamp + "log\tthree\n");
    EXPECT_EQ(m_Warnings.str(), "tamsel: the record " + Path() + " was deleted; it is begun anew at its path\n");
}

// As log rotation does it: renamed, and then (in its "create" mode) a new
// empty file at the path.
TEST_F(RecordFileTest, AFileMovedAwayIsBegunAnewAtItsPath)
{
    for (const bool create : {false, true}) {
        SCOPED_TRACE(create ? "with a new file at the path" : "renamed");
        QFile::remove(m_Path);
        QFile::remove(m_Path + ".1");
        std::ostringstream warnings;
        RecordFile file({RecordPlace::Kind::File, m_Path}, warnings);
        file.Append(kAt, "-", "log", "one");
        ASSERT_TRUE(file.Flush(5s));
        ASSERT_TRUE(QFile::rename(m_Path, m_Path + ".1"));
        if (create) {
            QFile made(m_Path);
            ASSERT_TRUE(made.open(QIODevice::WriteOnly));
        }
        file.Append(kAt, "-", "log", "two");
        ASSERT_TRUE(file.Flush(5s));
        EXPECT_EQ(Contents(m_Path + ".1"), kStamp + "log\tone\n");
        EXPECT_EQ(Contents(m_Path),
                  kStamp + "note\tthe record is reopened: its file was moved away\n" + kStamp + "log\ttwo\n");
        EXPECT_EQ(warnings.str(), "tamsel: the record " + Path() + " was moved away; it is begun anew at its path\n");
    }
}

// A file a day, its directory deleted under it.
TEST_F(RecordFileTest, ADailyFileWhoseDirectoryIsDeletedIsBegunAnew)
{
    const QString directory = m_Dir.filePath("records");
    RecordFile file({RecordPlace::Kind::Daily, directory}, m_Warnings);
    const QString path = directory + "/2026-12-06.log";
    EXPECT_EQ(file.PathFor(kAt.date()), path);
    file.Append(kAt, "-", "log", "one");
    ASSERT_TRUE(file.Flush(5s));
    ASSERT_TRUE(QDir(directory).removeRecursively());
    file.Append(kAt, "-", "log", "two");
    file.Append(kAt.addDays(1), "-", "log", "three");
    ASSERT_TRUE(file.Flush(5s));
    EXPECT_EQ(Contents(path), kStamp + "note\tthe record is reopened: its file was deleted\n" + kStamp + "log\ttwo\n");
    EXPECT_EQ(Contents(directory + "/2026-12-07.log"), "2026-12-07 09:00:00.000\t-\tlog\tthree\n");
    EXPECT_EQ(m_Warnings.str(),
              "tamsel: the record " + path.toStdString() + " was deleted; it is begun anew at its path\n");
}

// The end waits no longer than it is given for a file that takes nothing,
// and says how many lines it could not write.
TEST_F(RecordFileTest, TheEndWaitsABoundedTimeAndCountsTheLinesNotWritten)
{
    MakeFifo();
    const auto start = std::chrono::steady_clock::now();
    {
        RecordFile file({RecordPlace::Kind::File, m_Path}, m_Warnings, {4, 100ms});
        for (int i = 0; i < 10; ++i)
            file.Append(kAt, "-", "log", std::to_string(i));
    }
    EXPECT_LT(Since(start), 1000ms);
    EXPECT_EQ(m_Warnings.str(), "tamsel: 10 lines of the record " + Path() +
                                    " are not written: its file took none in the time given at the end\n");
}

// A file that cannot be written: one warning, and the tool goes on.
TEST_F(RecordFileTest, AnUnwritableFileWarnsOnce)
{
    ASSERT_EQ(::mkdir(QFile::encodeName(m_Path).constData(), 0700), 0);  // a directory where the file would be
    {
        RecordFile file({RecordPlace::Kind::File, m_Path}, m_Warnings);
        for (int i = 0; i < 3; ++i)
            file.Append(kAt, "-", "log", std::to_string(i));
        ASSERT_TRUE(file.Flush(5s));
    }
    EXPECT_EQ(m_Warnings.str(),
              "tamsel: cannot write the record " + Path() + ": Is a directory; going on without it\n");
}
