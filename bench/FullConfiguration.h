#pragma once

#include "ConfigTemplate.h"

#include <memory>
#include <string>

// A configuration filled to every capacity: 256 points in each of the four
// point lists and the given number of indirect messages, the points spread
// over slave addresses 1 to slaveCount.
inline std::unique_ptr<ConfigTemplate> FullConfiguration(int slaveCount, int indirectMessages)
{
    auto config = std::make_unique<ConfigTemplate>();
    for (int i = 0; i < kPointListCapacity; ++i) {
        const std::string description = "Point description number " + std::to_string(i);
        const int slave = 1 + i % slaveCount;
        AnalogInputPoint analogInput;
        analogInput.Description = description;
        analogInput.Address = "1I" + std::to_string(i);
        analogInput.SlaveAddress = slave;
        config->AnalogInputs.Append(analogInput);
        DigitalInputPoint digitalInput;
        digitalInput.Description = description;
        digitalInput.Address = "1/8E" + std::to_string(i) + "/" + std::to_string(i + 7);
        digitalInput.DataType = "P";
        digitalInput.SlaveAddress = slave;
        config->DigitalInputs.Append(digitalInput);
        AnalogOutputPoint analogOutput;
        analogOutput.Description = description;
        analogOutput.Address = "1O" + std::to_string(i);
        analogOutput.SlaveAddress = slave;
        config->AnalogOutputs.Append(analogOutput);
        DigitalOutputPoint digitalOutput;
        digitalOutput.Description = description;
        digitalOutput.Address = "0O" + std::to_string(i);
        digitalOutput.DataType = "B";
        digitalOutput.SlaveAddress = slave;
        config->DigitalOutputs.Append(digitalOutput);
        if (i < indirectMessages) {
            IndirectSpaMessage message;
            message.Description = description;
            message.SlaveAddress = slave;
            config->IndirectMessages.Append(message);
        }
    }
    return config;
}
