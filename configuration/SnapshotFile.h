// A configuration as a file: JSON with its format and version, each setting's
// value and code, and whatever a newer version wrote kept. Apart from the
// snapshot itself, so that only the hosts that save files build the JSON
// library.
#pragma once

#include "configuration/Snapshot.h"

#include <string>
#include <variant>

std::string ToJson(const Snapshot& snapshot);
// A file of a newer format version is refused, with a message saying so.
std::variant<Snapshot, std::string> SnapshotFromJson(const std::string& text);
