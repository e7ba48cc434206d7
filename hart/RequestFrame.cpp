#include "hart/RequestFrame.h"

#include "hart/FrameLayout.h"
#include "modem/Hex.h"

namespace {

constexpr std::uint8_t kShortDelimiter = hartframe::kShortRequest;
constexpr std::uint8_t kLongDelimiter = hartframe::kShortRequest | hartframe::kLongAddressBit;
constexpr std::uint8_t kPrimaryMaster = hartframe::kPrimaryMasterBit;
constexpr int kLongDataStart = hartframe::HeaderLength(true);

std::uint8_t LowByte(std::int16_t code) { return static_cast<std::uint8_t>(code & 0xFF); }

int CopyTemplate(const CommandInfo& cmd, std::uint8_t* frame)
{
    if (cmd.form == FrameForm::Short) {
        const std::uint8_t head[] = {kShortDelimiter, kPrimaryMaster, cmd.command, 0x00, 0xFF};
        CopyBytes(frame, head, sizeof head);
        return sizeof head;
    }
    const std::uint8_t head[] = {kLongDelimiter, kPrimaryMaster, 0, 0, 0, 0, cmd.command, cmd.dataLen};
    CopyBytes(frame, head, sizeof head);
    CopyBytes(frame + kLongDataStart, cmd.templateData, cmd.dataLen);
    frame[kLongDataStart + cmd.dataLen] = 0xFF;
    return kLongDataStart + cmd.dataLen + 1;
}

void FillAddress(const CommandInfo& cmd, const RequestParams& params, const std::uint8_t uniqueId[5],
                 std::uint8_t* frame)
{
    if (cmd.form == FrameForm::Short) {
        if (cmd.fill == DataFill::PollingAddress)
            frame[1] = static_cast<std::uint8_t>(kPrimaryMaster | LowByte(params.reqCode[0]));
        return;
    }
    // The manufacturer code is not masked: its own upper bits pass through.
    frame[1] = static_cast<std::uint8_t>(kPrimaryMaster | uniqueId[0]);
    CopyBytes(frame + 2, uniqueId + 1, 4);
}

void FillData(const CommandInfo& cmd, const RequestParams& params, std::uint8_t* data)
{
    switch (cmd.fill) {
    case DataFill::None:
    case DataFill::PollingAddress:
    case DataFill::Template:
        break;
    case DataFill::Code0:
        data[0] = LowByte(params.reqCode[0]);
        break;
    case DataFill::Codes012:
        for (int i = 0; i < 3; ++i)
            data[i] = LowByte(params.reqCode[i]);
        break;
    case DataFill::Float0:
        FloatToWire(params.reqValue[0], data);
        break;
    case DataFill::Code0Float0:
        data[0] = LowByte(params.reqCode[0]);
        FloatToWire(params.reqValue[0], data + 1);
        break;
    case DataFill::Code0Float0Float1:
        data[0] = LowByte(params.reqCode[0]);
        FloatToWire(params.reqValue[0], data + 1);
        FloatToWire(params.reqValue[1], data + 5);
        break;
    case DataFill::Block:
        if (params.reqBlock != nullptr)
            CopyBytes(data, params.reqBlock, cmd.dataLen);
        break;
    case DataFill::Code0FixedByte1:
        data[0] = LowByte(params.reqCode[0]);
        data[1] = cmd.fixedByte1;
        break;
    }
}

}  // namespace

int BuildRequestFrame(const CommandInfo& cmd, const RequestParams& params, const std::uint8_t uniqueId[5],
                      std::uint8_t* frame)
{
    const int length = CopyTemplate(cmd, frame);
    FillAddress(cmd, params, uniqueId, frame);
    if (cmd.form == FrameForm::Long)
        FillData(cmd, params, frame + kLongDataStart);
    frame[length - 1] = XorChecksum(frame, static_cast<std::uint8_t>(length - 1));
    return length;
}
