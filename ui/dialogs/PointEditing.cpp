#include "PointEditing.h"

#include "AnalogPointDialog.h"
#include "DigitalInputDialog.h"
#include "DigitalOutputDialog.h"
#include "IndirectMessageDialog.h"
#include "SpaAddress.h"
#include "StoreChanged.h"

namespace {

char CategoryLetter(const std::string& category) { return category.empty() ? 'A' : category.front(); }

int SizeIndexOf(int size) { return size == 32 ? 1 : 0; }

int SizeAt(int index) { return index == 1 ? 32 : 16; }

template <typename Point>
AnalogPointFields AnalogFieldsOf(const Point& point)
{
    const SpaAddress address = ParseSingle(point.Address);
    AnalogPointFields fields;
    fields.Description = point.Description;
    fields.SlaveAddress = point.SlaveAddress;
    fields.Channel = address.Channel;
    fields.Category = std::string(1, address.Category);
    fields.DataNumber = address.DataNumber;
    fields.Scale = point.Scale;
    fields.SizeIndex = SizeIndexOf(point.Size);
    fields.InUse = point.InUse;
    fields.Priority = point.Priority;
    return fields;
}

PointEdit Outcome(bool changed) { return changed ? PointEdit::Changed : PointEdit::Unchanged; }

template <typename Point>
bool StoreAnalogFields(const AnalogPointFields& fields, Point& point)
{
    bool changed = StoreChanged(point.Description, fields.Description);
    changed |= StoreChanged(point.Address, FormatSingle(fields.Channel, CategoryLetter(fields.Category), fields.DataNumber));
    changed |= StoreChanged(point.SlaveAddress, fields.SlaveAddress);
    changed |= StoreChanged(point.Scale, fields.Scale);
    changed |= StoreChanged(point.Size, SizeAt(fields.SizeIndex));
    changed |= StoreChanged(point.Priority, fields.Priority);
    changed |= StoreChanged(point.InUse, fields.InUse);
    return changed;
}

// The analog input and output dialogs share their fields.
template <typename Dialog, typename Point>
PointEdit EditAnalogPoint(QWidget* parent, Point& point)
{
    Dialog dialog(parent);
    dialog.Fields = AnalogFieldsOf(point);
    if (!dialog.Run()) {
        return PointEdit::Cancelled;
    }
    return Outcome(StoreAnalogFields(dialog.Fields, point));
}

}  // namespace

PointEdit EditAnalogInput(QWidget* parent, AnalogInputPoint& point)
{
    return EditAnalogPoint<AnalogInputDialog>(parent, point);
}

PointEdit EditAnalogOutput(QWidget* parent, AnalogOutputPoint& point)
{
    return EditAnalogPoint<AnalogOutputDialog>(parent, point);
}

PointEdit EditDigitalOutput(QWidget* parent, DigitalOutputPoint& point)
{
    const SpaAddress address = ParseSingle(point.Address);
    DigitalOutputDialog dialog(parent);
    DigitalOutputFields& fields = dialog.Fields;
    fields.Description = point.Description;
    fields.SlaveAddress = point.SlaveAddress;
    fields.Channel = address.Channel;
    fields.Category = std::string(1, address.Category);
    fields.DataNumber = address.DataNumber;
    fields.DataType = point.DataType;
    fields.InUse = point.InUse;
    fields.Priority = point.Priority;
    if (!dialog.Run()) {
        return PointEdit::Cancelled;
    }
    bool changed = StoreChanged(point.Description, fields.Description);
    changed |= StoreChanged(point.Address, FormatSingle(fields.Channel, CategoryLetter(fields.Category), fields.DataNumber));
    changed |= StoreChanged(point.SlaveAddress, fields.SlaveAddress);
    changed |= StoreChanged(point.Priority, fields.Priority);
    changed |= StoreChanged(point.InUse, fields.InUse);
    changed |= StoreChanged(point.DataType, fields.DataType);
    return Outcome(changed);
}

PointEdit EditIndirectMessage(QWidget* parent, IndirectSpaMessage& message)
{
    const SpaAddress address = ParseSingle(message.Address);
    IndirectMessageDialog dialog(parent);
    IndirectMessageFields& fields = dialog.Fields;
    fields.Description = message.Description;
    fields.SlaveAddress = message.SlaveAddress;
    fields.Channel = address.Channel;
    fields.Category = std::string(1, address.Category);
    fields.DataNumber = address.DataNumber;
    fields.ReadWriteIndex = message.Write ? 1 : 0;
    fields.StaticData = message.StaticData;
    fields.Scale = message.Scale;
    fields.InUse = message.InUse;
    if (!dialog.Run()) {
        return PointEdit::Cancelled;
    }
    bool changed = StoreChanged(message.Description, fields.Description);
    changed |= StoreChanged(message.Address, FormatSingle(fields.Channel, CategoryLetter(fields.Category), fields.DataNumber));
    changed |= StoreChanged(message.SlaveAddress, fields.SlaveAddress);
    changed |= StoreChanged(message.Scale, fields.Scale);
    changed |= StoreChanged(message.StaticData, fields.StaticData);
    changed |= StoreChanged(message.Write, fields.ReadWriteIndex != 0);
    changed |= StoreChanged(message.InUse, fields.InUse);
    return Outcome(changed);
}

PointEdit EditDigitalInput(QWidget* parent, DigitalInputPoint& point)
{
    const std::optional<SpaAddressRange> parsed = ParseRange(point.Address);
    const SpaAddressRange range = parsed ? *parsed : SalvageRange(point.Address);
    DigitalInputDialog dialog(parent);
    DigitalInputFields& fields = dialog.Fields;
    fields.Description = point.Description;
    fields.SlaveAddress = point.SlaveAddress;
    fields.FirstChannel = range.FirstChannel;
    fields.LastChannel = range.LastChannel;
    fields.Category = range.Category == '\0' ? std::string() : std::string(1, range.Category);
    fields.FirstDataNumber = range.FirstDataNumber;
    fields.LastDataNumber = range.LastDataNumber;
    fields.DataType = point.DataType;
    fields.BitSwitchIndex = point.BitSwitch ? 1 : 0;
    fields.EventChannel = point.EventChannel;
    fields.EventStart = point.EventStart;
    fields.EventEnd = point.EventEnd;
    fields.EventValues = point.EventValues;
    fields.InUse = point.InUse;
    fields.Priority = point.Priority;
    if (!dialog.Run()) {
        return PointEdit::Cancelled;
    }
    bool changed = StoreChanged(point.Description, fields.Description);
    changed |= StoreChanged(point.Address, FormatRange(fields.FirstChannel, fields.LastChannel, CategoryLetter(fields.Category),
                                                       fields.FirstDataNumber, fields.LastDataNumber));
    changed |= StoreChanged(point.SlaveAddress, fields.SlaveAddress);
    changed |= StoreChanged(point.Priority, fields.Priority);
    changed |= StoreChanged(point.InUse, fields.InUse);
    changed |= StoreChanged(point.DataType, fields.DataType);
    changed |= StoreChanged(point.BitSwitch, fields.BitSwitchIndex != 0);
    changed |= StoreChanged(point.EventChannel, fields.EventChannel);
    changed |= StoreChanged(point.EventStart, fields.EventStart);
    changed |= StoreChanged(point.EventEnd, fields.EventEnd);
    changed |= StoreChanged(point.EventValues, fields.EventValues);
    return Outcome(changed);
}
