// The fault matrix: every fault switch of the simulator, on the replies to an
// operation's commands, crossed with every operation of the window, on the
// virtual clock. In each cell the operation comes to rest and stays there,
// logs only messages of its own, re-enables the window as its end says, and
// claims a write only where the transmitter now holds what the window shows.
// The cells make docs/fault-matrix.md: the test fails when the file differs,
// and TAMSEL_WRITE_FAULT_MATRIX=1 writes it anew.
#include "hart/Units.h"
#include "tests/modules/Scenario.h"
#include "text/Format.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>

using sim::FaultKind;
using State = sim::TransmitterState;

namespace {

// The messages of the window's operations, with their short forms in the table.
// clang-format off
struct Message { char key; const char* text; const char* brief; };
constexpr Message kMessages[] = {
    {'S', "Setting succeed!", "ok"}, {'C', "Current fixed!", "fixed"}, {'E', "Burst mode entered!", "entered"},
    {'X', "Burst mode exited!", "exited"}, {'F', "Communication fail!", "fail"}, {'f', "Communication Fail", "Fail"},
    {'N', "Not found!", "not found"}, {'O', "Or polling address is not 0!", ""}, {'P', "Please try <Search Addr>!", ""},
    {'I', "Command not implemented!", "not impl."}, {'c', "Current not fixed!", "not fixed"},
    {'R', "Reply not right!", "reply"}, {'D', "Data reply not right!", "data reply"},
    {'d', "Reply data not right!", "reply data"}, {'U', "Unit code not right!", "unit"},
    {'T', "Trans-Func. code not right!", "tf"}, {'W', "Write Protect code not right!", "wp"},
    {'A', "Alarm code not right!", "alarm"},
};
// clang-format on
constexpr std::string_view kClaims = "SCEX";  // the messages that say a write happened

// What the window must show when the transmitter holds d: an edit its text,
// a list its entry, a radio button its check, the log its last message.
// kFact is no control: a fact of the transmitter alone, "" when it holds.
using Shown = std::vector<std::pair<int, std::string>>;
using Holds = std::function<Shown(const State& d)>;
using Step = std::function<void(Scenario&)>;
constexpr int kFact = 0;

struct MatrixOperation {
    const char* name;
    int button;
    std::vector<int> commands;  // the fault spoils the replies to these
    std::string_view messages;  // keys of the messages it may log
    Step prepare;               // input and transmitter, on a clean line
    Holds holds;
};

std::string Showing(Scenario& s, int id)
{
    return id == kFact                                    ? ""
           : id == IDC_LOG                                ? s.MessagesFrom(0).back()
           : s.window.KindOf(id) == ControlKind::ComboBox ? std::to_string(s.window.ComboGetCurSel(id))
                                                          : s.Shown(id);
}
Step Typing(int id, const char* text, Step first = {})
{
    return [=](Scenario& s) {
        if (first)
            first(s);
        EXPECT_TRUE(s.window.Type(id, text));
    };
}
Step Choosing(int id, int entry)
{
    return [=](Scenario& s) { EXPECT_TRUE(s.window.Choose(id, entry)); };
}
Step Device(std::function<void(State&)> change)
{
    return [=](Scenario& s) { change(s.device()); };
}
const Step kNothing = [](Scenario&) {};
const Step kTrimRead = [](Scenario& s) { s.Run(IDC_READ_TRIM); };
const Step kCurrentFixedSinceShown = [](Scenario& s) {
    s.device().fixedCurrentMa = 12.0f;
    s.window.SetText(IDC_CURRENT, "4.000");
};
std::string Fixed(const char* format, float value) { return FormatText(format, double{value}); }
std::string Int(int value) { return std::to_string(value); }
int RowOf(std::uint8_t code)
{
    return static_cast<int>(std::find_if(UnitTable, UnitTable + kUnitRows, [&](auto& u) { return u.code == code; }) -
                            UnitTable);
}

// clang-format off
Shown Settings(const State& d)
{
    return {{IDC_RANGE_UPPER, Fixed("%+.4e", d.upperRange)}, {IDC_RANGE_LOWER, Fixed("%+.4e", d.lowerRange)},
            {IDC_RANGE_UNIT, UnitName(RowOf(d.rangeUnit))}, {IDC_TRANS_FUNC, Int(d.transferFunction)}, {IDC_DAMPING, Fixed("%.3f", d.damping)},
            {IDC_WRITE_PROTECT, Int(d.writeProtected)}, {IDC_ALARM, Int(d.alarmSelection == 239 ? 2 : d.alarmSelection)}};
}
Shown Trim(const State& d)
{
    return {{IDC_TRIM_UPPER, Fixed("%+.4e", static_cast<float>(d.upperTrimKpa))}, {IDC_TRIM_LOWER, Fixed("%+.4e", static_cast<float>(d.lowerTrimKpa))}, {IDC_TRIM_UNIT, "kPa"}};
}
Shown Tag(const State& d)
{
    return {{IDC_TAG, sim::UnpackText(d.tag.data(), 6)}, {IDC_DESCRIPTOR, sim::UnpackText(d.descriptor.data(), 12)},
            {IDC_DATE, FormatText("%04d-%02d-%02d", d.date[2] + 1900, d.date[1], d.date[0])}};
}
Shown Unit(const State& d) { return {{IDC_UNIT_LIST, Int(RowOf(d.pvUnit))}}; }
Shown Damping(const State& d) { return {{IDC_DAMPING, Fixed("%.3f", d.damping)}}; }
Shown LoopCurrent(const State& d) { return {{IDC_CURRENT, Fixed("%.3f", d.fixedCurrentMa)}}; }
Shown FixedCurrent(const State& d) { return {{IDC_D_CURR, Fixed("%.4f", d.fixedCurrentMa)}}; }
Shown BurstCommand(const State& d) { return {{IDC_BURST_CMD1 + d.burstCommand - 1, "1"}}; }
Shown BurstMode(const State& d) { return {{IDC_LOG, d.burstMode ? "Burst mode entered!" : "Burst mode exited!"}}; }
Shown Display(const State& d) { return {{IDC_DISPLAY, Int(d.display)}}; }
Shown MessageText(const State& d) { return {{IDC_MESSAGE, sim::UnpackText(d.message.data(), 24)}}; }
Shown Assembly(const State& d) { return {{IDC_ASSEMBLY, Int(static_cast<int>(d.finalAssembly))}}; }

// Each operation, with input that differs from what the transmitter holds.
const MatrixOperation kOperations[] = {
    {"HART Communication", IDC_HART_COMM, {0}, "NOPfFUTWA", Device([](State& d) { d.damping = 2.0f; }), Settings},
    {"HART Communication", IDC_HART_COMM, {14}, "NOPfFUTWA", Device([](State& d) { d.damping = 2.0f; }), Settings},
    {"HART Communication", IDC_HART_COMM, {15}, "NOPfFUTWA", Device([](State& d) { d.damping = 2.0f; }), Settings},
    {"Search Addr", IDC_SEARCH_ADDR, {0}, "NfFUTWA", Device([](State& d) { d.identity.pollingAddress = 1; }), Settings},
    {"Search Addr", IDC_SEARCH_ADDR, {14}, "NfFUTWA", Device([](State& d) { d.identity.pollingAddress = 1; }), Settings},
    {"Set Addr", IDC_SET_ADDR, {6}, "FIRDS", Typing(IDC_POLL_ADDR, "5"), [](const State& d) -> Shown { return {{IDC_POLL_ADDR, Int(d.identity.pollingAddress)}}; }},
    {"Read Range (shared read)", IDC_READ_RANGE, {15}, "FUTWA", Device([](State& d) { d.upperRange = 150.0f; d.alarmSelection = 239; }), Settings},
    {"Read PV Unit", IDC_READ_UNIT, {1}, "FD", Device([](State& d) { d.pvUnit = 6; }), Unit},
    {"Set Trans-Func", IDC_SET_TRANS_FUNC, {47}, "FIDS", Choosing(IDC_TRANS_FUNC, 1), [](const State& d) -> Shown { return {{IDC_TRANS_FUNC, Int(d.transferFunction)}}; }},
    {"Set PV Unit", IDC_SET_UNIT, {44}, "FIDS", Choosing(IDC_UNIT_LIST, 5), Unit},
    {"Set Damping", IDC_SET_DAMPING, {34}, "FIRS", Typing(IDC_DAMPING, "2.5"), Damping},
    {"Auto Read, Stop Read", IDC_AUTO_READ, {1}, "F", kCurrentFixedSinceShown, LoopCurrent},
    {"Auto Read, Stop Read", IDC_AUTO_READ, {2}, "F", kCurrentFixedSinceShown, LoopCurrent},
    {"Set Range", IDC_SET_RANGE, {35}, "FIRdS", Typing(IDC_RANGE_UPPER, "150", Typing(IDC_RANGE_LOWER, "-20")), Settings},
    {"Apply 0%", IDC_APPLY_0, {37}, "FISUTWA", kNothing, [](const State& d) -> Shown { return {{kFact, d.lowerRange != 0.0f ? "" : "not applied"}}; }},
    {"Apply 0%", IDC_APPLY_0, {15}, "FISUTWA", kNothing, [](const State& d) -> Shown { return {{kFact, d.lowerRange != 0.0f ? "" : "not applied"}}; }},
    {"Apply 100%", IDC_APPLY_100, {36}, "FISUTWA", kNothing, [](const State& d) -> Shown { return {{kFact, d.upperRange != 100.0f ? "" : "not applied"}}; }},
    {"Read Trim", IDC_READ_TRIM, {128}, "Fd", kNothing, Trim},
    {"Apply Lower", IDC_APPLY_LOWER, {131}, "FIRDS", Typing(IDC_TRIM_LOWER, "5", kTrimRead), Trim},
    {"Apply Upper", IDC_APPLY_UPPER, {130}, "FIRDS", Typing(IDC_TRIM_UPPER, "90", kTrimRead), Trim},
    {"Shift Zero", IDC_SHIFT_ZERO, {43}, "FIS", kNothing, [](const State& d) -> Shown { return {{kFact, d.trimOffsetKpa != 0.0 ? "" : "not zeroed"}}; }},
    {"Fixed Curr.", IDC_FIXED_CURR, {40}, "FICcR", Typing(IDC_D_CURR, "12"), FixedCurrent},
    {"Exit Fixed", IDC_EXIT_FIXED, {40}, "FICcR", Device([](State& d) { d.fixedCurrentMa = 12.0f; }), FixedCurrent},
    {"4mA Trim", IDC_TRIM_4MA, {45}, "FIRS", Typing(IDC_A_CURR, "4.1"), [](const State& d) -> Shown { return {{IDC_A_CURR, Fixed("%.4f", d.zeroTrimMa)}}; }},
    {"20mA Trim", IDC_TRIM_20MA, {46}, "FIRS", Typing(IDC_A_CURR, "19.9"), [](const State& d) -> Shown { return {{IDC_A_CURR, Fixed("%+.4f", d.gainTrimMa)}}; }},
    {"Cmd 1", IDC_BURST_CMD1, {108}, "FIDS", Device([](State& d) { d.burstCommand = 2; }), BurstCommand},
    {"Cmd 2", IDC_BURST_CMD2, {108}, "FIDS", kNothing, BurstCommand},
    {"Cmd 3", IDC_BURST_CMD3, {108}, "FIDS", kNothing, BurstCommand},
    {"Enter Burst", IDC_ENTER_BURST, {109}, "FIDEX", kNothing, BurstMode},
    {"Exit Burst", IDC_EXIT_BURST, {109}, "FIDEX", [](Scenario& s) { s.Run(IDC_ENTER_BURST); }, BurstMode},
    {"Set W-Protect", IDC_SET_WP, {192}, "FIDS", Choosing(IDC_WRITE_PROTECT, 1), [](const State& d) -> Shown { return {{IDC_WRITE_PROTECT, Int(d.writeProtected)}}; }},
    {"Set Alarm", IDC_SET_ALARM, {135}, "FIDS", Choosing(IDC_ALARM, 2), [](const State& d) -> Shown { return {{IDC_ALARM, Int(d.alarmSelection == 239 ? 2 : d.alarmSelection)}}; }},
    {"Read Display", IDC_READ_DISPLAY, {165}, "FD", Device([](State& d) { d.display = 2; }), Display},
    {"Set Display", IDC_SET_DISPLAY, {134}, "FIDS", Choosing(IDC_DISPLAY, 1), Display},
    {"Read Version", IDC_READ_VERSION, {172}, "F", Device([](State& d) { d.version = "V2.10"; }), [](const State& d) -> Shown { return {{IDC_VERSION, d.version}}; }},
    {"Read Tag, Descriptor, Date", IDC_READ_TAG, {13}, "F", Device([](State& d) { d.tag = sim::PackText("FT-7", 8); }), Tag},
    {"Set Tag, Descriptor, Date", IDC_SET_TAG, {18}, "FIRS", Typing(IDC_TAG, "ft-9", Typing(IDC_DATE, "2024-05-06")), Tag},
    {"Read Message", IDC_READ_MESSAGE, {12}, "F", Device([](State& d) { d.message = sim::PackText("CHECKED", 32); }), MessageText},
    {"Set Message", IDC_SET_MESSAGE, {17}, "FIRS", Typing(IDC_MESSAGE, "Calibrated"), MessageText},
    {"Read Assembly", IDC_READ_ASSEMBLY, {16}, "F", Device([](State& d) { d.finalAssembly = 654321; }), Assembly},
    {"Set Assembly", IDC_SET_ASSEMBLY, {19}, "FIRS", Typing(IDC_ASSEMBLY, "777"), Assembly},
};
// clang-format on

// A column: one fault switch with its value, or the transmitter bursting, or
// faults of every kind at random, or no fault over another link.
struct Column {
    std::string name;
    std::optional<FaultKind> kind;
    int value = -1, burstPeriodMs = 0;
    std::uint32_t seed = 0;
    SimLink link = SimLink::HexLine;
};
std::vector<Column> Columns()
{
    std::vector<Column> columns;
    for (FaultKind kind : sim::AllFaultKinds())
        if (kind != FaultKind::kResponseCode)
            columns.push_back({std::string(sim::FaultName(kind)), kind});
    // Where the response code would be: an error, a warning, busy, not implemented.
    const auto at = columns.begin() + static_cast<int>(FaultKind::kResponseCode);
    for (int code : {64, 32, 8, 7})
        columns.insert(at, {"rc " + Int(code), FaultKind::kResponseCode, code});
    columns.push_back({"burst 300 ms", std::nullopt, -1, 300});
    columns.push_back({"random 50%", std::nullopt, -1, 0, 1});
    columns.push_back({"binary modem", std::nullopt, -1, 0, 0, SimLink::Binary});
    columns.push_back({"HART-IP", std::nullopt, -1, 0, 0, SimLink::HartIp});
    return columns;
}

// After the failure ends of connect, search and the shared read (its last
// request command 15) only the ways to connect again are enabled; after every
// other end EnableAllControls has run. The "Set" buttons other than "Set Range"
// have rules of their own.
void ExpectEnabledAsTheEndSays(Scenario& s, const std::string& last)
{
    const auto& log = s.LogHistory();
    const auto request = std::find_if(log.rbegin(), log.rend(), [](auto& e) { return e.rfind("82", 0) == 0; });
    const bool sharedReadFailed =
        last == "Communication fail!" && request != log.rend() && request->substr(12, 2) == "0F";
    const bool connectEnd =
        last == "Please try <Search Addr>!" || last == "Not found!" || last == "Communication Fail" || sharedReadFailed;
    for (const MatrixOperation& op : kOperations) {
        if (std::string_view(op.name).starts_with("Set ") && op.button != IDC_SET_RANGE)
            continue;
        const bool trimGated = op.button == IDC_APPLY_LOWER || op.button == IDC_APPLY_UPPER;
        const bool expected = connectEnd ? op.button == IDC_HART_COMM || op.button == IDC_SEARCH_ADDR
                                         : !trimGated || !s.window.GetText(IDC_TRIM_UNIT).empty();
        EXPECT_EQ(s.window.IsEnabled(op.button), expected) << op.name << (connectEnd ? " after a connect end" : "");
    }
    EXPECT_TRUE(s.window.IsEnabled(IDC_OPEN_COM));
}

// One cell: a connected transmitter, the operation's input, the fault on the
// replies to its commands, the click; returns the messages' short forms.
std::string RunCell(const MatrixOperation& op, const Column& column)
{
    SCOPED_TRACE(std::string(op.name) + " under " + column.name);
    Scenario s(column.link);
    s.Connect();
    if (column.burstPeriodMs > 0) {
        s.line.Modem().SetBurstPeriod(column.burstPeriodMs);
        s.Run(IDC_ENTER_BURST);
    }
    op.prepare(s);
    for (int command : column.kind ? op.commands : std::vector<int>{})
        s.Fault(*column.kind, command, column.value);
    if (column.seed > 0)
        s.line.Modem().SetRandomFaults(0.5, sim::AllFaultKinds(), column.seed);
    const std::size_t mark = s.LogHistory().size();
    EXPECT_TRUE(s.window.Click(op.button));
    if (op.button == IDC_AUTO_READ) {
        s.clock.AdvanceBy(10000);
        EXPECT_TRUE(s.window.Click(IDC_STOP_READ));
    }
    EXPECT_TRUE(s.clock.AdvanceUntil([&] { return !s.dlg.IsOperationRunning(); }, s.clock.Now() + 120000));
    const std::size_t logged = s.LogHistory().size(), sent = s.port.Writes().size();
    s.clock.AdvanceBy(5000);
    EXPECT_FALSE(s.dlg.IsOperationRunning());
    EXPECT_EQ(s.LogHistory().size(), logged) << "logged at rest";
    EXPECT_EQ(s.port.Writes().size(), sent) << "sent at rest";
    EXPECT_LE(s.dlg.Receive().Buffered(), 1023);
    std::string command;  // the log holds requests and the replies to them: no burst frame, no stray reply
    for (const std::string& e : s.LogHistory()) {
        if (!Scenario::IsFrame(e))
            continue;
        const std::string number = e.substr(e[0] == '0' ? 4 : 12, 2);
        if (e.starts_with("02") || e.starts_with("82"))
            command = number;
        else
            EXPECT_TRUE((e.starts_with("06") || e.starts_with("86")) && number == command)
                << "after " << command << ": " << e;
    }

    const std::vector<std::string> messages = s.MessagesFrom(mark);
    std::string cell, keys;
    for (const std::string& text : messages) {
        const auto m =
            std::find_if(std::begin(kMessages), std::end(kMessages), [&](auto& m) { return text == m.text; });
        EXPECT_TRUE(m != std::end(kMessages) && op.messages.find(m->key) != std::string_view::npos)
            << "not a message of " << op.name << ": " << text;
        if (m == std::end(kMessages))
            continue;
        keys += m->key;
        if (*m->brief)
            cell += (cell.empty() ? "" : ", ") + std::string(m->brief);
    }
    const bool claims = messages.empty() || keys.find_first_of(kClaims) != std::string::npos;
    for (const auto& [id, text] : claims ? op.holds(s.device()) : Shown{})
        EXPECT_EQ(Showing(s, id), text) << "control " << id << " shows what the transmitter does not hold";
    ExpectEnabledAsTheEndSays(s, messages.empty() ? "" : messages.back());
    return cell.empty() ? "—" : cell;
}

std::string Document()
{
    std::ostringstream doc;
    doc << "# Fault matrix\n\n"
           "Made by the test `FaultMatrix.EveryOperationUnderEveryFault` (`tests/modules/FaultMatrixTest.cpp`), "
           "which fails when this file differs from the table it builds. To write it anew after a change:\n\n"
           "    TAMSEL_WRITE_FAULT_MATRIX=1 build/tests/modules/fault_matrix_tests\n\n"
           "Each row is an operation of the window on a connected transmitter, on the virtual clock. Each column "
           "is a fault of the simulator on every reply to the row's commands, named as `tamsel-sim --help` "
           "names them (rc N: response code N, data kept), or the transmitter in burst mode with a burst frame "
           "every 300 ms, or a random fault of any kind on half of all replies (seed 1; the test holds seeds 2 "
           "to 12 to the same rules without showing them), or no fault over a binary modem or a HART-IP gateway "
           "instead of the hex-line modem. Each cell lists the messages logged, in order. In "
           "every cell the operation came to rest and stayed there, logged only messages of its own, "
           "re-enabled the window as its end says, and claimed a write (ok, fixed, entered, exited) only where "
           "the transmitter now holds what the window shows. A reply that carries its data is judged by its data, "
           "not by its response code: the simulated transmitter acts on the request and the fault then sets the "
           "code, so rc 7 with the echo still reads ok; a transmitter that refuses sends no data (status-only).\n\n"
           "| Short | Message |\n|---|---|\n";
    for (const Message& m : kMessages)
        doc << "| " << (*m.brief ? m.brief : "(after not found)") << " | `" << m.text << "` |\n";
    doc << "| — | nothing logged |\n\n| Operation | Commands |";
    const std::vector<Column> columns = Columns();
    for (const Column& column : columns)
        doc << ' ' << column.name << " |";
    doc << "\n|---|---|";
    for (std::size_t i = 0; i < columns.size(); ++i)
        doc << "---|";
    for (const MatrixOperation& op : kOperations) {
        doc << "\n| " << op.name << " |";
        for (int command : op.commands)
            doc << ' ' << command;
        doc << " |";
        for (const Column& column : columns)
            doc << ' ' << RunCell(op, column) << " |";
    }
    return doc.str() + '\n';
}

}  // namespace

TEST(FaultMatrix, EveryOperationUnderEveryFault)
{
    const std::string path = TAMSEL_SOURCE_DIR "/docs/fault-matrix.md";
    const std::string made = Document();
    for (std::uint32_t seed = 2; seed <= 12; ++seed)
        for (const MatrixOperation& op : kOperations)
            RunCell(op, {"random 50%, seed " + Int(static_cast<int>(seed)), std::nullopt, -1, 0, seed});
    if (const char* write = std::getenv("TAMSEL_WRITE_FAULT_MATRIX"); write && std::string(write) == "1") {
        std::ofstream(path) << made;
        return;
    }
    std::ifstream file(path);
    std::stringstream kept;
    kept << file.rdbuf();
    EXPECT_EQ(kept.str(), made) << path << " is out of date; write it anew with TAMSEL_WRITE_FAULT_MATRIX=1";
}
