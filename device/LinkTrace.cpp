#include "LinkTrace.h"

#include <cstdio>

namespace {

constexpr struct {
    unsigned Note;
    const char* Text;
} kNoteTexts[] = {
    {kTraceCrcBad, "crc-bad"},       {kTraceInvalid, "invalid"},     {kTraceResend, "resend"},
    {kTraceContinuation, "continuation"}, {kTraceErrorBit, "error-bit"}, {kTraceRetryBit, "retry-bit"},
    {kTraceTimeout, "timeout"},      {kTraceCancelled, "cancelled"}, {kTraceConnected, "connected"},
    {kTraceDisconnected, "disconnected"},
};

const char* DirectionText(TraceDirection direction)
{
    switch (direction) {
    case TraceDirection::Sent:
        return "TX";
    case TraceDirection::Received:
        return "RX";
    case TraceDirection::Event:
        break;
    }
    return "--";
}

}  // namespace

std::string FormatTraceLine(const LinkTraceEvent& event)
{
    char time[32];
    std::snprintf(time, sizeof time, "%lld.%03lld", event.Microseconds / 1000, event.Microseconds % 1000);
    std::string line = time;
    line += '\t';
    line += DirectionText(event.Direction);
    line += '\t';
    constexpr char kHex[] = "0123456789ABCDEF";
    line.reserve(line.size() + event.Count * 3 + 16);
    for (std::size_t i = 0; i < event.Count; ++i) {
        if (i > 0) {
            line += ' ';
        }
        line += kHex[event.Bytes[i] >> 4];
        line += kHex[event.Bytes[i] & 0x0F];
    }
    const char* separator = "\t";
    for (const auto& note : kNoteTexts) {
        if ((event.Notes & note.Note) != 0) {
            line += separator;
            line += note.Text;
            separator = " ";
        }
    }
    return line;
}

void TraceWriter::OnLinkEvent(const LinkTraceEvent& event)
{
    const std::string line = FormatTraceLine(event);
    std::lock_guard guard(lock_);
    out_ << line << '\n';
    out_.flush();
}
