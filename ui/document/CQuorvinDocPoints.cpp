// The document's point commands: a new point of each kind for the selected
// slave, and the copy of a point.
#include "CQuorvinDoc.h"

namespace {

constexpr const char* kAnalogInputsFull = "There can be max 256 analog inputs";
constexpr const char* kDigitalInputsFull = "There can be max 256 digital inputs";
constexpr const char* kAnalogOutputsFull = "There can be max 256 analog outputs";
constexpr const char* kDigitalOutputsFull = "There can be max 256 digital outputs";

// What a new point shows before the user has entered anything: an unnamed
// point in use, without priority, at the first data number of the category
// that the kind usually reads or writes.
constexpr const char* kNewPointDescription = "(No Name)";

AnalogInputPoint NewAnalogInput()
{
    AnalogInputPoint point;
    point.Description = kNewPointDescription;
    point.Address = "0I1";
    return point;
}

DigitalInputPoint NewDigitalInput()
{
    DigitalInputPoint point;
    point.Description = kNewPointDescription;
    point.Address = "1/1I1/1";
    point.DataType = "S";
    return point;
}

AnalogOutputPoint NewAnalogOutput()
{
    AnalogOutputPoint point;
    point.Description = kNewPointDescription;
    point.Address = "0S1";
    return point;
}

DigitalOutputPoint NewDigitalOutput()
{
    DigitalOutputPoint point;
    point.Description = kNewPointDescription;
    point.Address = "1O1";
    point.DataType = "B";
    return point;
}

template <typename Point, int Capacity>
std::optional<int> AddPoint(CQuorvinDoc& document, FixedList<Point, Capacity>& list, Point point,
                            const char* fullNotice, const PointEditor<Point>& edit)
{
    if (document.HasNoSlaves()) {
        document.Ui().Notice(kNoSlavesNotice);
        return std::nullopt;
    }
    if (document.SelectedSlave == -1) {
        return std::nullopt;
    }
    // Refused before the dialog, so that nothing is entered in vain.
    if (list.Full()) {
        document.Ui().Notice(fullNotice);
        return std::nullopt;
    }
    point.SlaveAddress = document.SelectedSlave;
    if (!edit(point)) {
        return std::nullopt;
    }
    list.Append(point);
    document.SetModifiedFlag(true);
    return list.Count() - 1;
}

// What a list can take, and the notice when it is full.
template <typename Point>
using PointList = FixedList<Point, kPointListCapacity>;

template <typename Point>
int CapacityOf(const PointList<Point>&)
{
    return kPointListCapacity;
}
int CapacityOf(const PointList<IndirectSpaMessage>&) { return kMaxIndirectMessages; }
const char* FullNoticeOf(const PointList<AnalogInputPoint>&) { return kAnalogInputsFull; }
const char* FullNoticeOf(const PointList<DigitalInputPoint>&) { return kDigitalInputsFull; }
const char* FullNoticeOf(const PointList<AnalogOutputPoint>&) { return kAnalogOutputsFull; }
const char* FullNoticeOf(const PointList<DigitalOutputPoint>&) { return kDigitalOutputsFull; }
const char* FullNoticeOf(const PointList<IndirectSpaMessage>&) { return kIndirectMessagesFullNotice; }

template <typename Point, int Capacity>
std::optional<int> AppendCopy(CQuorvinDoc& document, FixedList<Point, Capacity>& list, int index, int limit,
                              const char* fullNotice)
{
    if (index < 0 || index >= list.Count()) {
        return std::nullopt;
    }
    if (list.Count() >= limit) {
        document.Ui().Notice(fullNotice);
        return std::nullopt;
    }
    const Point copy = list[index];
    list.Append(copy);
    document.SetModifiedFlag(true);
    return list.Count() - 1;
}

}  // namespace

std::optional<int> CQuorvinDoc::AddAnalogInput(const PointEditor<AnalogInputPoint>& edit)
{
    return AddPoint(*this, config_->AnalogInputs, NewAnalogInput(), kAnalogInputsFull, edit);
}

std::optional<int> CQuorvinDoc::AddDigitalInput(const PointEditor<DigitalInputPoint>& edit)
{
    return AddPoint(*this, config_->DigitalInputs, NewDigitalInput(), kDigitalInputsFull, edit);
}

std::optional<int> CQuorvinDoc::AddAnalogOutput(const PointEditor<AnalogOutputPoint>& edit)
{
    return AddPoint(*this, config_->AnalogOutputs, NewAnalogOutput(), kAnalogOutputsFull, edit);
}

std::optional<int> CQuorvinDoc::AddDigitalOutput(const PointEditor<DigitalOutputPoint>& edit)
{
    return AddPoint(*this, config_->DigitalOutputs, NewDigitalOutput(), kDigitalOutputsFull, edit);
}

std::optional<int> CQuorvinDoc::DuplicatePoint(LineKind kind, int index)
{
    std::optional<int> copy;
    VisitPointList(*config_, kind, [&](auto& list) {
        copy = AppendCopy(*this, list, index, CapacityOf(list), FullNoticeOf(list));
    });
    return copy;
}
