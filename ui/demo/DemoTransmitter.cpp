#include "ui/demo/DemoTransmitter.h"

DemoTransmitter::DemoTransmitter() : m_device(m_server.Start()) {}
