#include "ui/demo/DemoTransmitter.h"

DemoTransmitter::DemoTransmitter() : m_Device(m_Server.Start()) {}
