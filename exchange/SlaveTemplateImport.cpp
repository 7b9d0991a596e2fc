#include "SlaveTemplateImport.h"

#include "ConfigFile.h"

#include <algorithm>
#include <memory>
#include <set>

namespace {

constexpr const char* kErrorCaption = "Error";

template <typename List>
bool HasPointOf(const List& list, int slave)
{
    return std::any_of(list.begin(), list.end(), [slave](const auto& point) { return point.SlaveAddress == slave; });
}

// Indirect SPA messages do not make a slave "not empty".
bool SlaveHasPoints(const ConfigTemplate& config, int slave)
{
    return HasPointOf(config.AnalogInputs, slave) || HasPointOf(config.DigitalInputs, slave) ||
           HasPointOf(config.AnalogOutputs, slave) || HasPointOf(config.DigitalOutputs, slave);
}

bool IsInTable(const SlaveAddressTable& table, int address)
{
    return std::find(table.begin(), table.end(), address) != table.end();
}

// Any address of the source besides its main one that is a slave already.
bool HasConflict(const SlaveAddressTable& sourceAddresses, const SlaveAddressTable& usedSlaves, int selectedSlave)
{
    for (std::size_t i = 1; i < sourceAddresses.size(); ++i) {
        const int address = sourceAddresses[i];
        if (address != -1 && (address == selectedSlave || IsInTable(usedSlaves, address))) {
            return true;
        }
    }
    return false;
}

// The slaves after the import: the existing ones, the selected one and every
// further address of the source.
int SlaveCountAfterImport(const ConfigTemplate& source, int mainAddress, const SlaveAddressTable& usedSlaves,
                          int selectedSlave)
{
    std::set<int> slaves;
    for (int address : usedSlaves) {
        if (address != -1) {
            slaves.insert(address);
        }
    }
    slaves.insert(selectedSlave);
    auto collect = [&](const auto& list) {
        for (const auto& point : list) {
            if (point.SlaveAddress != mainAddress) {
                slaves.insert(point.SlaveAddress);
            }
        }
    };
    collect(source.AnalogInputs);
    collect(source.DigitalInputs);
    collect(source.AnalogOutputs);
    collect(source.DigitalOutputs);
    collect(source.IndirectMessages);
    return static_cast<int>(slaves.size());
}

template <typename List>
int CountOfOtherSlaves(const List& list, int slave)
{
    return static_cast<int>(
        std::count_if(list.begin(), list.end(), [slave](const auto& point) { return point.SlaveAddress != slave; }));
}

// The message for the first list that would hold more than 255 entries, or
// more indirect messages than a configuration can keep; none when every list
// fits.
const char* ListLimitMessage(const ConfigTemplate& config, const ConfigTemplate& source, int slave)
{
    auto exceeds = [slave](const auto& target, const auto& imported) {
        return CountOfOtherSlaves(target, slave) + imported.Count() > kMaxImportedListCount;
    };
    if (exceeds(config.AnalogInputs, source.AnalogInputs)) {
        return "Total number of analog inputs exceed 255. Import aborted.";
    }
    if (exceeds(config.DigitalInputs, source.DigitalInputs)) {
        return "Total number of digital inputs exceed 255. Import aborted.";
    }
    if (exceeds(config.AnalogOutputs, source.AnalogOutputs)) {
        return "Total number of analog outputs exceed 255. Import aborted.";
    }
    if (exceeds(config.DigitalOutputs, source.DigitalOutputs)) {
        return "Total number of digital outputs exceed 255. Import aborted.";
    }
    if (exceeds(config.IndirectMessages, source.IndirectMessages)) {
        return "Total number of indirect SPA commands exceed 255. Import aborted.";
    }
    // A configuration file keeps at most 128 indirect messages and the gateway
    // takes at most 127: more would be lost at the next save and reopen.
    if (CountOfOtherSlaves(config.IndirectMessages, slave) + source.IndirectMessages.Count() > kMaxIndirectMessages) {
        return "Total number of indirect SPA commands exceed 127. Import aborted.";
    }
    return nullptr;
}

// Replaces the slave's entries of the list by the source entries; those of the
// source's main address become the slave's.
template <typename List>
void ReplaceEntries(List& target, const List& source, int slave, int mainAddress)
{
    target.RemoveIf([slave](const auto& point) { return point.SlaveAddress == slave; });
    for (auto point : source) {
        if (point.SlaveAddress == mainAddress) {
            point.SlaveAddress = slave;
        }
        target.Append(point);
    }
}

}  // namespace

bool ImportSlaveTemplate(ConfigTemplate& config, int selectedSlave, const SlaveAddressTable& usedSlaves,
                         WindowSystem& ui)
{
    if (selectedSlave == -1) {
        ui.Notice("Please select a slave tab before importing");
        return false;
    }
    if (SlaveHasPoints(config, selectedSlave) &&
        !ui.Question("Replace?", "Selected slave is not empty. Replace existing parameters?")) {
        return false;
    }
    const auto path = ui.ChooseFileToOpen({"Halvex Configuration File (*.hxc)|*.hxc||", "HXC", "", false});
    if (!path) {
        return false;
    }
    const auto source = std::make_unique<ConfigTemplate>();
    if (!ReadConfigFile(*source, *path, ui)) {
        ui.ErrorBox(kOpenErrorCaption, "Error loading file!");
        return false;
    }
    return MergeSlaveTemplate(config, selectedSlave, usedSlaves, *source, ui);
}

bool MergeSlaveTemplate(ConfigTemplate& config, int selectedSlave, const SlaveAddressTable& usedSlaves,
                        const ConfigTemplate& source, WindowSystem& ui)
{
    const SlaveAddressTable sourceAddresses = CollectSlaveAddresses(source);
    const int mainAddress = sourceAddresses[0];
    if (SlaveCount(sourceAddresses) > 1) {
        if (!ui.Question("Create?",
                         "The template consist of several slave addresses. Should several slaves be created "
                         "automatically?")) {
            return false;
        }
        if (HasConflict(sourceAddresses, usedSlaves, selectedSlave)) {
            ui.ErrorBox(kErrorCaption, "Conflicting slave addresses found. Import aborted.");
            return false;
        }
    }
    if (SlaveCountAfterImport(source, mainAddress, usedSlaves, selectedSlave) > kMaxSlaves) {
        ui.ErrorBox(kErrorCaption, kTooManySlavesMessage);
        return false;
    }
    if (mainAddress != selectedSlave) {
        ui.Notice("Slave address in template does not match the selected slave. Address in template will be forced "
                  "to address of the selected slave.");
    }
    if (const char* message = ListLimitMessage(config, source, selectedSlave)) {
        ui.ErrorBox(kErrorCaption, message);
        return false;
    }

    ReplaceEntries(config.AnalogInputs, source.AnalogInputs, selectedSlave, mainAddress);
    ReplaceEntries(config.DigitalInputs, source.DigitalInputs, selectedSlave, mainAddress);
    ReplaceEntries(config.AnalogOutputs, source.AnalogOutputs, selectedSlave, mainAddress);
    ReplaceEntries(config.DigitalOutputs, source.DigitalOutputs, selectedSlave, mainAddress);
    ReplaceEntries(config.IndirectMessages, source.IndirectMessages, selectedSlave, mainAddress);
    return true;
}
