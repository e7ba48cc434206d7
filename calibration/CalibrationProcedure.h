// An as-found or as-left run on the step machine. Start reads who the
// transmitter is and its setting (commands 0, 13 and 15, as the window reads
// them); each point then reads PV and loop current (commands 1 and 2) as often
// as the run says and judges their averages against the reference the
// engineer typed. Every change reaches the host, which files the calibration.
#pragma once

#include "calibration/Calibration.h"
#include "modules/Module.h"
#include "modules/Online.h"

#include <functional>
#include <string>

struct RunOptions {
    std::vector<double> points = {0, 25, 50, 75, 100};
    bool updown = false;
    double tolerancePct = 0.25;
    int reads = 3;
};

class CalibrationProcedure : public Module {
public:
    enum State : std::int16_t {
        kIdentityPrepare = 301,  // command 0 at the connected polling address
        kTagPrepare = 304,       // command 13: tag and descriptor
        kSettingPrepare = 307,   // command 15: range, unit, damping, transfer function
        kPvPrepare = 310,        // command 1: the PV, in its unit
        kCurrentPrepare = 313,   // command 2: the loop current
    };

    CalibrationProcedure(Shell& shell, StepMachine& machine, const Online& online)
        : Module(shell, machine), m_Online(online)
    {
    }
    std::vector<StepEntry> Steps() override;

    // Each returns "" when it went ahead, else why not.
    std::string Start(const std::string& kind, const RunOptions& options, const std::string& today,
                      const std::string& now);
    std::string RecordPoint(double reference);
    std::string SkipPoint();
    std::string EndRun();

    // The run under way (or last ended) and its next point, if any.
    CalRun* CurrentRun() { return m_Kind.empty() ? nullptr : m_Record.Run(m_Kind); }
    std::optional<std::size_t> NextPoint();
    Calibration& Record() { return m_Record; }
    // Why the last start or point did not go through; "" when it did.
    const std::string& LastFailure() const { return m_LastFailure; }
    // For the record: a certificate was written there.
    void NoteCertificate(const std::string& path) { ReportNote("calibration: certificate " + path); }
    // Called after every change: "device", "point", "skip", "end", "failure".
    std::function<void(const std::string& event)> onChange;

private:
    void ShowIdentity();
    void TakeTag();
    void TakeSetting();
    void TakePv();
    void TakeCurrent();
    // No answer: the window says so too, and a point under way failed.
    void Fail(const std::string& why);
    // The transmitter's setting does not allow a run.
    void Refuse(const std::string& why);
    void Changed(const std::string& event);

    const Online& m_Online;
    Calibration m_Record;
    std::string m_Kind, m_Today, m_Now;
    RunOptions m_Options;
    DeviceSetting m_Reading;  // the device as the start reads it
    std::size_t m_Point = 0;
    int m_Reads = 0;
    double m_PvSum = 0, m_MaSum = 0;
    bool m_InPoint = false;
    std::string m_LastFailure;
};
