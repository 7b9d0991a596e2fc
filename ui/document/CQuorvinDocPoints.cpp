// The document's point commands: a new point of each kind for the selected
// slave, and the copy of a point.
#include "CQuorvinDoc.h"
#include "PointCapacity.h"

#include <type_traits>

namespace {

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

}  // namespace

namespace {

// The list of the configuration that holds points of the type.
template <typename Point>
ConfigPointList<Point>& ListOf(ConfigTemplate& config)
{
    if constexpr (std::is_same_v<Point, AnalogInputPoint>) {
        return config.AnalogInputs;
    } else if constexpr (std::is_same_v<Point, DigitalInputPoint>) {
        return config.DigitalInputs;
    } else if constexpr (std::is_same_v<Point, AnalogOutputPoint>) {
        return config.AnalogOutputs;
    } else if constexpr (std::is_same_v<Point, DigitalOutputPoint>) {
        return config.DigitalOutputs;
    } else {
        return config.IndirectMessages;
    }
}

}  // namespace

template <typename Point>
std::optional<int> CQuorvinDoc::AddPoint(Point point, const PointEditor<Point>& edit)
{
    if (HasNoSlaves()) {
        ui_.Notice(kNoSlavesNotice);
        return std::nullopt;
    }
    if (selectedSlave_ == -1) {
        return std::nullopt;
    }
    // Refused before the dialog, so that nothing is entered in vain.
    const auto& list = ListOf<Point>(content_->Config);
    if (list.Count() >= CapacityOf(list)) {
        ui_.Notice(FullNoticeOf(list));
        return std::nullopt;
    }
    point.SlaveAddress = selectedSlave_;
    if (!edit(point)) {
        return std::nullopt;
    }
    std::optional<int> added;
    Change(
        [&](DocumentContent& content) {
            auto& points = ListOf<Point>(content.Config);
            points.Append(point);
            added = points.Count() - 1;
            return true;
        },
        ChangeEffect::Edit);
    return added;
}

std::optional<int> CQuorvinDoc::AddAnalogInput(const PointEditor<AnalogInputPoint>& edit)
{
    return AddPoint(NewAnalogInput(), edit);
}

std::optional<int> CQuorvinDoc::AddDigitalInput(const PointEditor<DigitalInputPoint>& edit)
{
    return AddPoint(NewDigitalInput(), edit);
}

std::optional<int> CQuorvinDoc::AddAnalogOutput(const PointEditor<AnalogOutputPoint>& edit)
{
    return AddPoint(NewAnalogOutput(), edit);
}

std::optional<int> CQuorvinDoc::AddDigitalOutput(const PointEditor<DigitalOutputPoint>& edit)
{
    return AddPoint(NewDigitalOutput(), edit);
}

std::optional<int> CQuorvinDoc::AddIndirectMessage()
{
    IndirectSpaMessage message;
    message.Description = kNewPointDescription;
    message.InUse = true;
    message.Write = false;
    message.Address = "0I0";
    message.Scale = 1.0f;
    message.StaticData = 0;
    return AddPoint(message, PointEditor<IndirectSpaMessage>([](IndirectSpaMessage&) { return true; }));
}

std::optional<int> CQuorvinDoc::DuplicatePoint(LineKind kind, int index)
{
    std::optional<int> copy;
    Change(
        [&](DocumentContent& content) {
            VisitPointList(content.Config, kind, [&](auto& list) {
                if (index < 0 || index >= list.Count()) {
                    return;
                }
                if (list.Count() >= CapacityOf(list)) {
                    ui_.Notice(FullNoticeOf(list));
                    return;
                }
                const auto point = list[index];
                list.Append(point);
                copy = list.Count() - 1;
            });
            return copy.has_value();
        },
        ChangeEffect::Edit);
    return copy;
}

std::string CQuorvinDoc::CopyPoints(const std::optional<PointPosition>& point) const
{
    if (!point && selectedSlave_ == -1) {
        return {};
    }
    return PointClipboardText(*PointsToCopy(content_->Config, selectedSlave_, point));
}

std::string CQuorvinDoc::CutPoints(const std::optional<PointPosition>& point)
{
    std::string text = CopyPoints(point);
    if (!text.empty()) {
        Change(
            [this, &point](DocumentContent& content) {
                RemoveCopiedPoints(content.Config, selectedSlave_, point);
                return true;
            },
            ChangeEffect::Edit);
    }
    return text;
}

std::optional<PointPosition> CQuorvinDoc::PastePoints(const std::string& text)
{
    if (HasNoSlaves()) {
        ui_.Notice(kNoSlavesNotice);
        return std::nullopt;
    }
    if (selectedSlave_ == -1) {
        return std::nullopt;
    }
    const std::unique_ptr<ConfigTemplate> points = ReadPointClipboardText(text, ui_);
    if (!points) {
        return std::nullopt;
    }
    PasteResult result;
    Change(
        [this, &points, &result](DocumentContent& content) {
            result = ::PastePoints(content.Config, *points, selectedSlave_);
            return result.First.has_value();
        },
        ChangeEffect::Edit);
    if (!result.Refusal.empty()) {
        ui_.Notice(result.Refusal);
    }
    return result.First;
}

bool CQuorvinDoc::CanPaste(const std::string& text) const { return selectedSlave_ != -1 && HoldsPointSection(text); }
