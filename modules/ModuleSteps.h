// The script states each module brings to the step machine.
#pragma once

#include "sequencer/StepTable.h"

std::span<const StepEntry> OnlineSteps();          // 1-3, 9-11, 134-136
std::span<const StepEntry> InstrumentInfoSteps();  // 4-6
std::span<const StepEntry> CommonSettingsSteps();  // 7-8, 113-121, 201-203
