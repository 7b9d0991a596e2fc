#include "SlaveSet.h"

#include <algorithm>

bool AddSlaveAddress(SlaveAddressTable& table, int address)
{
    for (int& entry : table) {
        if (entry == address) {
            return true;
        }
        if (entry == -1) {
            entry = address;
            return true;
        }
    }
    return false;
}

SlaveAddressTable CollectSlaveAddresses(const ConfigTemplate& config)
{
    SlaveAddressTable table = kNoSlaves;
    auto collect = [&table](const auto& list) {
        for (const auto& record : list) {
            AddSlaveAddress(table, record.SlaveAddress);
        }
    };
    collect(config.AnalogInputs);
    collect(config.DigitalInputs);
    collect(config.AnalogOutputs);
    collect(config.DigitalOutputs);
    collect(config.IndirectMessages);
    return table;
}

int SlaveCount(const SlaveAddressTable& table)
{
    return static_cast<int>(std::count_if(table.begin(), table.end(), [](int entry) { return entry != -1; }));
}
