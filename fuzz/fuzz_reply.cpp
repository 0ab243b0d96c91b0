// Feeds arbitrary bytes to the reply checks, as a transport hands them to the link.
#include "comm/comm_packet.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const int length = static_cast<int>(size > 70000 ? 70000 : size);
    const ReplyCheck check = CheckReply(data, length);
    (void)ReplyCheckText(check, data, length);
    if (length >= 12) {
        const CCommReply reply(data, length);
        volatile std::uint8_t sink = reply.GetTrailer()[1];
        (void)sink;
        if (reply.GetPayloadLength() > 0)
            sink = reply.GetPayload()[reply.GetPayloadLength() - 1];
    }
    ParsedRequest request;
    (void)ParseRequest(data, length, request);
    return 0;
}
