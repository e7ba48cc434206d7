// What stands behind a port number, read from its value (the TAMSEL_COM<n>
// variable or the "Ports..." dialog):
//
//   /dev/ttyUSB0                                       the hex-line modem
//   fsk:/dev/ttyUSB0?rts=high|low|none&preambles=N&echo=0|1
//                                                      a binary HART modem
//   hartip://HOST[:PORT]  hartip+tcp://HOST[:PORT]     a HART-IP gateway
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

enum class LinkKind : std::uint8_t { HexLine, BinaryModem, HartIpUdp, HartIpTcp };

// The level of RTS that keys a binary modem's transmitter; None: the modem
// keys itself.
enum class KeyLevel : std::uint8_t { High, Low, None };

inline constexpr int kDefaultPreambles = 5;
inline constexpr int kFewestPreambles = 2;
inline constexpr int kMostPreambles = 20;
inline constexpr std::uint16_t kHartIpPort = 5094;

struct LinkSettings {
    LinkKind kind = LinkKind::HexLine;
    std::string device;  // the serial device of the modem kinds
    std::string host;    // HART-IP
    std::uint16_t port = kHartIpPort;
    KeyLevel rts = KeyLevel::High;
    int preambles = kDefaultPreambles;
    bool echo = false;

    bool IsHartIp() const { return kind == LinkKind::HartIpUdp || kind == LinkKind::HartIpTcp; }
    bool operator==(const LinkSettings&) const = default;
};

// The link and its settings, or why the value cannot be read.
std::variant<LinkSettings, std::string> ParsePortValue(std::string_view value);
