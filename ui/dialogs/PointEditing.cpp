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

// The fields of every point with one SPA address: its description, slave,
// channel, category, data number and in-use mark.
template <typename Fields, typename Point>
void LoadSingleAddressFields(Fields& fields, const Point& point)
{
    const SpaAddress address = ParseSingle(point.Address);
    fields.Description = point.Description;
    fields.SlaveAddress = point.SlaveAddress;
    fields.Channel = address.Channel;
    fields.Category = std::string(1, address.Category);
    fields.DataNumber = address.DataNumber;
    fields.InUse = point.InUse;
}

// Stores those fields back; true when one of them changed.
template <typename Fields, typename Point>
bool StoreSingleAddressFields(const Fields& fields, Point& point)
{
    bool changed = StoreChanged(point.Description, fields.Description);
    changed |= StoreChanged(point.Address, FormatSingle(fields.Channel, CategoryLetter(fields.Category), fields.DataNumber));
    changed |= StoreChanged(point.SlaveAddress, fields.SlaveAddress);
    changed |= StoreChanged(point.InUse, fields.InUse);
    return changed;
}

template <typename Point>
AnalogPointFields AnalogFieldsOf(const Point& point)
{
    AnalogPointFields fields;
    LoadSingleAddressFields(fields, point);
    fields.Scale = point.Scale;
    fields.SizeIndex = SizeIndexOf(point.Size);
    fields.Priority = point.Priority;
    return fields;
}

PointEdit Outcome(bool changed) { return changed ? PointEdit::Changed : PointEdit::Unchanged; }

template <typename Point>
bool StoreAnalogFields(const AnalogPointFields& fields, Point& point)
{
    bool changed = StoreSingleAddressFields(fields, point);
    changed |= StoreChanged(point.Scale, fields.Scale);
    changed |= StoreChanged(point.Size, SizeAt(fields.SizeIndex));
    changed |= StoreChanged(point.Priority, fields.Priority);
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
    point.LineProblem.clear();
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
    DigitalOutputDialog dialog(parent);
    DigitalOutputFields& fields = dialog.Fields;
    LoadSingleAddressFields(fields, point);
    fields.DataType = point.DataType;
    fields.Priority = point.Priority;
    if (!dialog.Run()) {
        return PointEdit::Cancelled;
    }
    point.LineProblem.clear();
    bool changed = StoreSingleAddressFields(fields, point);
    changed |= StoreChanged(point.Priority, fields.Priority);
    changed |= StoreChanged(point.DataType, fields.DataType);
    return Outcome(changed);
}

PointEdit EditIndirectMessage(QWidget* parent, IndirectSpaMessage& message)
{
    IndirectMessageDialog dialog(parent);
    IndirectMessageFields& fields = dialog.Fields;
    LoadSingleAddressFields(fields, message);
    fields.ReadWriteIndex = message.Write ? 1 : 0;
    fields.StaticData = message.StaticData;
    fields.Scale = message.Scale;
    if (!dialog.Run()) {
        return PointEdit::Cancelled;
    }
    message.LineProblem.clear();
    bool changed = StoreSingleAddressFields(fields, message);
    changed |= StoreChanged(message.Scale, fields.Scale);
    changed |= StoreChanged(message.StaticData, fields.StaticData);
    changed |= StoreChanged(message.Write, fields.ReadWriteIndex != 0);
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
    point.LineProblem.clear();
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
