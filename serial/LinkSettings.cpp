#include "serial/LinkSettings.h"

#include <charconv>
#include <optional>

namespace {

using Result = std::variant<LinkSettings, std::string>;

std::optional<int> Number(std::string_view text)
{
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// One "name=value" of a binary modem's options into the settings; an error text, or
// empty.
std::string TakeOption(std::string_view option, LinkSettings& linkSettings)
{
    const std::size_t eq = option.find('=');
    const std::string_view name = option.substr(0, eq);
    const std::string_view value = eq == option.npos ? std::string_view{} : option.substr(eq + 1);
    if (name == "rts") {
        if (value == "high")
            linkSettings.rts = KeyLevel::High;
        else if (value == "low")
            linkSettings.rts = KeyLevel::Low;
        else if (value == "none")
            linkSettings.rts = KeyLevel::None;
        else
            return "rts must be high, low or none, not \"" + std::string(value) + "\"";
    } else if (name == "preambles") {
        const std::optional<int> n = Number(value);
        if (!n || *n < kFewestPreambles || *n > kMostPreambles)
            return "preambles must be 2 to 20, not \"" + std::string(value) + "\"";
        linkSettings.preambles = *n;
    } else if (name == "echo") {
        if (value != "0" && value != "1")
            return "echo must be 0 or 1, not \"" + std::string(value) + "\"";
        linkSettings.echo = value == "1";
    } else {
        return "unknown option \"" + std::string(name) + "\"";
    }
    return {};
}

Result BinaryModem(std::string_view rest)
{
    LinkSettings linkSettings;
    linkSettings.kind = LinkKind::BinaryModem;
    const std::size_t query = rest.find('?');
    linkSettings.device = std::string(rest.substr(0, query));
    if (linkSettings.device.empty())
        return std::string("no device after fsk:");
    std::string_view options = query == rest.npos ? std::string_view{} : rest.substr(query + 1);
    while (!options.empty()) {
        const std::size_t amp = options.find('&');
        if (std::string error = TakeOption(options.substr(0, amp), linkSettings); !error.empty())
            return error;
        options = amp == options.npos ? std::string_view{} : options.substr(amp + 1);
    }
    return linkSettings;
}

Result HartIp(std::string_view rest, LinkKind kind)
{
    LinkSettings linkSettings;
    linkSettings.kind = kind;
    const std::size_t colon = rest.rfind(':');
    linkSettings.host = std::string(rest.substr(0, colon));
    if (colon != rest.npos) {
        const std::optional<int> port = Number(rest.substr(colon + 1));
        if (!port || *port < 1 || *port > 65535)
            return "port must be 1 to 65535, not \"" + std::string(rest.substr(colon + 1)) + "\"";
        linkSettings.port = static_cast<std::uint16_t>(*port);
    }
    if (linkSettings.host.empty() || linkSettings.host.find_first_of("/?@ ") != std::string::npos)
        return "no host name in \"" + std::string(rest) + "\"";
    return linkSettings;
}

}  // namespace

std::variant<LinkSettings, std::string> ParsePortValue(std::string_view value)
{
    if (value.starts_with("fsk:"))
        return BinaryModem(value.substr(4));
    if (value.starts_with("hartip://"))
        return HartIp(value.substr(9), LinkKind::HartIpUdp);
    if (value.starts_with("hartip+tcp://"))
        return HartIp(value.substr(13), LinkKind::HartIpTcp);
    if (value.find("://") != value.npos)
        return "unknown kind of port \"" + std::string(value.substr(0, value.find("://"))) + "\"";
    LinkSettings linkSettings;
    linkSettings.device = std::string(value);
    return linkSettings;
}
