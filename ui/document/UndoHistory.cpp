#include "UndoHistory.h"

#include <optional>
#include <string>
#include <vector>

namespace {

// The run of entries of one point list that a change replaced: from Start,
// Before.size() entries became After.
template <typename Record>
struct ListChange {
    int Start = 0;
    std::vector<Record> Before;
    std::vector<Record> After;

    bool Empty() const { return Before.empty() && After.empty(); }
};

// Every field of the configuration except its five lists.
struct SettingsPart {
    int FileVersion = 0;
    int GlobalEventPollPeriod = 0;
    std::string OnlinePollDescription;
    std::string OnlinePollCommand;
    int LoadError = 0;
    bool GlobalEventPoll = false;
    int SpaRetryCount = 0;
    bool DateSync = false;
    bool TimeSync = false;
    int ProfibusDecimalPlace = 0;
    int ProfibusDefaultAddress = 0;
    int SpaIdleTime = 0;
    int SpaReplyTimeout = 0;
    int SpaBaudRate = 0;
    std::string TemplateName;
    std::array<int, 256> UnitTable{};

    bool operator==(const SettingsPart&) const = default;
};

// Copies the settings between a configuration and its settings part, in
// either direction.
template <typename From, typename To>
void CopySettings(const From& from, To& to)
{
    to.FileVersion = from.FileVersion;
    to.GlobalEventPollPeriod = from.GlobalEventPollPeriod;
    to.OnlinePollDescription = from.OnlinePollDescription;
    to.OnlinePollCommand = from.OnlinePollCommand;
    to.LoadError = from.LoadError;
    to.GlobalEventPoll = from.GlobalEventPoll;
    to.SpaRetryCount = from.SpaRetryCount;
    to.DateSync = from.DateSync;
    to.TimeSync = from.TimeSync;
    to.ProfibusDecimalPlace = from.ProfibusDecimalPlace;
    to.ProfibusDefaultAddress = from.ProfibusDefaultAddress;
    to.SpaIdleTime = from.SpaIdleTime;
    to.SpaReplyTimeout = from.SpaReplyTimeout;
    to.SpaBaudRate = from.SpaBaudRate;
    to.TemplateName = from.TemplateName;
    to.UnitTable = from.UnitTable;
}

SettingsPart SettingsOf(const ConfigTemplate& config)
{
    SettingsPart part;
    CopySettings(config, part);
    return part;
}

// The changed run between two versions of a list: the entries between the
// longest equal beginning and the longest equal end.
template <typename Record, int Capacity>
ListChange<Record> Difference(const FixedList<Record, Capacity>& before, const FixedList<Record, Capacity>& after)
{
    const int beforeCount = before.Count();
    const int afterCount = after.Count();
    int start = 0;
    while (start < beforeCount && start < afterCount && before[start] == after[start]) {
        ++start;
    }
    int end = 0;
    while (end < beforeCount - start && end < afterCount - start &&
           before[beforeCount - 1 - end] == after[afterCount - 1 - end]) {
        ++end;
    }
    ListChange<Record> change;
    change.Start = start;
    change.Before.assign(before.begin() + start, before.begin() + (beforeCount - end));
    change.After.assign(after.begin() + start, after.begin() + (afterCount - end));
    return change;
}

// Replaces `removed` entries from start by the inserted ones.
template <typename Record, int Capacity>
void Splice(FixedList<Record, Capacity>& list, int start, std::size_t removed, const std::vector<Record>& inserted)
{
    const std::vector<Record> tail(list.begin() + start + static_cast<int>(removed), list.end());
    list.Truncate(start);
    for (const Record& record : inserted) {
        list.Append(record);
    }
    for (const Record& record : tail) {
        list.Append(record);
    }
}

std::size_t HeapBytes(const std::string& text) { return text.capacity() > 15 ? text.capacity() + 1 : 0; }

template <typename Record>
std::size_t RecordBytes(const Record& record)
{
    std::size_t bytes = sizeof(Record) + HeapBytes(record.Description) + HeapBytes(record.Address);
    if constexpr (requires { record.DataType; }) {
        bytes += HeapBytes(record.DataType);
    }
    return bytes;
}

template <typename Record>
std::size_t ChangeBytes(const ListChange<Record>& change)
{
    std::size_t bytes = sizeof(change);
    for (const auto* run : {&change.Before, &change.After}) {
        for (const Record& record : *run) {
            bytes += RecordBytes(record);
        }
    }
    return bytes;
}

}  // namespace

struct UndoStep {
    ListChange<AnalogInputPoint> AnalogInputs;
    ListChange<DigitalInputPoint> DigitalInputs;
    ListChange<AnalogOutputPoint> AnalogOutputs;
    ListChange<DigitalOutputPoint> DigitalOutputs;
    ListChange<IndirectSpaMessage> IndirectMessages;
    std::optional<SettingsPart> SettingsBefore;
    std::optional<SettingsPart> SettingsAfter;
    SlaveAddressTable AddedBefore = kNoSlaves;
    SlaveAddressTable AddedAfter = kNoSlaves;
    int SelectedBefore = -1;
    int SelectedAfter = -1;
    long long StateBefore = 0;
    long long StateAfter = 0;

    bool Empty() const
    {
        return AnalogInputs.Empty() && DigitalInputs.Empty() && AnalogOutputs.Empty() && DigitalOutputs.Empty() &&
               IndirectMessages.Empty() && !SettingsBefore && AddedBefore == AddedAfter;
    }

    // Calls apply(change, list) for each list's change and the matching list of the configuration.
    template <typename Apply>
    void ForEachList(ConfigTemplate& config, Apply apply) const
    {
        apply(AnalogInputs, config.AnalogInputs);
        apply(DigitalInputs, config.DigitalInputs);
        apply(AnalogOutputs, config.AnalogOutputs);
        apply(DigitalOutputs, config.DigitalOutputs);
        apply(IndirectMessages, config.IndirectMessages);
    }

    // Puts the content in the state before the step (backwards) or after it.
    void Apply(DocumentContent& content, bool backwards) const
    {
        ForEachList(content.Config, [backwards](const auto& change, auto& list) {
            if (!change.Empty()) {
                Splice(list, change.Start, (backwards ? change.After : change.Before).size(),
                       backwards ? change.Before : change.After);
            }
        });
        if (SettingsBefore) {
            CopySettings(backwards ? *SettingsBefore : *SettingsAfter, content.Config);
        }
        content.AddedSlaves = backwards ? AddedBefore : AddedAfter;
    }

    std::size_t Bytes() const
    {
        std::size_t bytes = sizeof(UndoStep);
        bytes += ChangeBytes(AnalogInputs) + ChangeBytes(DigitalInputs) + ChangeBytes(AnalogOutputs) +
                 ChangeBytes(DigitalOutputs) + ChangeBytes(IndirectMessages);
        return bytes + (SettingsBefore ? 2 * sizeof(SettingsPart) : 0);
    }
};

UndoHistory::UndoHistory() : recorded_(std::make_unique<DocumentContent>()) {}

UndoHistory::~UndoHistory() = default;

void UndoHistory::Reset(const DocumentContent& content)
{
    *recorded_ = content;
    steps_.clear();
    done_ = 0;
    state_ = nextState_++;
}

bool UndoHistory::Record(const DocumentContent& content, int selectedBefore, int selectedAfter)
{
    auto step = std::make_unique<UndoStep>();
    const ConfigTemplate& before = recorded_->Config;
    const ConfigTemplate& after = content.Config;
    step->AnalogInputs = Difference(before.AnalogInputs, after.AnalogInputs);
    step->DigitalInputs = Difference(before.DigitalInputs, after.DigitalInputs);
    step->AnalogOutputs = Difference(before.AnalogOutputs, after.AnalogOutputs);
    step->DigitalOutputs = Difference(before.DigitalOutputs, after.DigitalOutputs);
    step->IndirectMessages = Difference(before.IndirectMessages, after.IndirectMessages);
    SettingsPart settingsBefore = SettingsOf(before);
    SettingsPart settingsAfter = SettingsOf(after);
    if (!(settingsBefore == settingsAfter)) {
        step->SettingsBefore = std::move(settingsBefore);
        step->SettingsAfter = std::move(settingsAfter);
    }
    step->AddedBefore = recorded_->AddedSlaves;
    step->AddedAfter = content.AddedSlaves;
    if (step->Empty()) {
        return false;
    }
    step->SelectedBefore = selectedBefore;
    step->SelectedAfter = selectedAfter;
    step->StateBefore = state_;
    step->StateAfter = nextState_++;
    step->Apply(*recorded_, false);

    steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(done_), steps_.end());
    steps_.push_back(std::move(step));
    if (steps_.size() > kDepth) {
        steps_.pop_front();
    }
    done_ = steps_.size();
    state_ = steps_.back()->StateAfter;
    return true;
}

bool UndoHistory::Undo(DocumentContent& content, int& selectedSlave)
{
    if (!CanUndo()) {
        return false;
    }
    const UndoStep& step = *steps_[--done_];
    step.Apply(content, true);
    step.Apply(*recorded_, true);
    selectedSlave = step.SelectedBefore;
    state_ = step.StateBefore;
    return true;
}

bool UndoHistory::Redo(DocumentContent& content, int& selectedSlave)
{
    if (!CanRedo()) {
        return false;
    }
    const UndoStep& step = *steps_[done_++];
    step.Apply(content, false);
    step.Apply(*recorded_, false);
    selectedSlave = step.SelectedAfter;
    state_ = step.StateAfter;
    return true;
}

std::size_t UndoHistory::BytesKept() const
{
    std::size_t bytes = 0;
    for (const auto& step : steps_) {
        bytes += step->Bytes();
    }
    return bytes;
}
