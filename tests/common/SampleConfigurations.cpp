#include "SampleConfigurations.h"

#include <array>
#include <string>

ConfigTemplate SampleConfiguration()
{
    ConfigTemplate config;
    auto analogInput = [&config](int slave, const char* description, const char* address, float scale, int size,
                                 bool inUse, bool priority) {
        AnalogInputPoint point;
        point.SlaveAddress = slave;
        point.Description = description;
        point.Address = address;
        point.Scale = scale;
        point.Size = size;
        point.InUse = inUse;
        point.Priority = priority;
        config.AnalogInputs.Append(point);
    };
    analogInput(1, "Slave one current", "0I1", 1.0f, 32, true, true);
    analogInput(5, "Phase current L1", "0I1", 1.0f, 16, true, false);
    analogInput(5, "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcd", "12O345", 0.5f, 32, false, true);
    analogInput(5, "Odd size", "1I2", 123.456f, 8, true, false);

    auto digitalInput = [&config](int slave, const char* description, const char* address, const char* dataType,
                                  bool bitSwitch, int channel, int start, int end, std::array<int, 4> values,
                                  bool inUse, bool priority) {
        DigitalInputPoint point;
        point.SlaveAddress = slave;
        point.Description = description;
        point.Address = address;
        point.DataType = dataType;
        point.BitSwitch = bitSwitch;
        point.EventChannel = channel;
        point.EventStart = start;
        point.EventEnd = end;
        point.EventValues = values;
        point.InUse = inUse;
        point.Priority = priority;
        config.DigitalInputs.Append(point);
    };
    digitalInput(5, "Breaker open", "1/1I10/10", "S", true, 1, 2, 3, {4, 5, 6, 7}, true, false);
    digitalInput(1, "Other", "0/0I0/0", "P", false, 0, 0, 0, {0, 0, 0, 0}, true, false);
    digitalInput(5, "Pulse", "2/3E4/5", "P", false, 0, 0, 255, {0, 0, 0, 255}, true, true);
    digitalInput(5, "Weird", "1/1I1/1", "X", false, 0, 0, 0, {0, 0, 0, 0}, false, false);

    AnalogOutputPoint setpoint;
    setpoint.SlaveAddress = 5;
    setpoint.Description = "Setpoint";
    setpoint.Address = "0S1";
    setpoint.Scale = 2.5f;
    setpoint.Priority = true;
    config.AnalogOutputs.Append(setpoint);
    AnalogOutputPoint other;
    other.SlaveAddress = 1;
    other.Description = "x";
    other.Address = "0S2";
    other.Size = 32;
    config.AnalogOutputs.Append(other);

    auto digitalOutput = [&config](const char* description, const char* address, const char* dataType) {
        DigitalOutputPoint point;
        point.SlaveAddress = 5;
        point.Description = description;
        point.Address = address;
        point.DataType = dataType;
        config.DigitalOutputs.Append(point);
    };
    digitalOutput("Trip command", "1O1", "B");
    digitalOutput("Hex", "1O2", "H");

    IndirectSpaMessage noName;
    noName.SlaveAddress = 5;
    noName.Description = "(No Name)";
    config.IndirectMessages.Append(noName);
    IndirectSpaMessage elsewhere;
    elsewhere.SlaveAddress = 1;
    elsewhere.Description = "Elsewhere";
    config.IndirectMessages.Append(elsewhere);
    IndirectSpaMessage write;
    write.SlaveAddress = 5;
    write.Description = "Write it";
    write.Address = "3V4";
    write.Write = true;
    write.StaticData = -7;
    write.Scale = 0.25f;
    write.InUse = false;
    config.IndirectMessages.Append(write);
    return config;
}

const std::vector<std::string>& SampleSlaveFiveLines()
{
    static const std::vector<std::string> lines{
        "________________________[Analog_Input]________________________________________________",
        "Ofs Description                  InUse Pr Sl ChCatDno   Scale  Size                   ",
        "008 Phase current L1                 1 N   5 0I1        1.00   16",
        "010 ABCDEFGHIJKLMNOPQRSTUVWXYZ012345 0 P   5 12O345     0.50   32",
        "014 Odd size                         1 N   5 1I2        123.4   8",
        "_______________________[Digital_Input]________________________________________________",
        "Ofs Description                  InUse Pr Sl ChCatDno      Type B Ch  St End EvnVals  ",
        "018 Breaker open                     1 N   5 1/1I10/10        S 1  1   2   3 [4,5,6,7]",
        "021 Pulse                            1 P   5 2/3E4/5          P 0  0   0 255 [0,0,0,255]",
        "023 Weird                            0 N   5 1/1I1/1          X 0  0   0   0 [0,0,0,0]",
        "_______________________[Analog_Output]________________________________________________",
        "Ofs Description                  InUse Pr Sl ChCatDno   Scale  Size                   ",
        "000 Setpoint                           P   5 0S1        2.50   16",
        "_______________________[Digital_Output]_______________________________________________",
        "Ofs Description                  InUse Pr Sl ChCatDno   Type                          ",
        "006 Trip command                       N   5 1O1        B",
        "007 Hex                                N   5 1O2        H",
        "___________________[Indirect_SPA_Messages]____________________________________________",
        "    Description                  InUse    Sl ChCatDno R/W Dat Scale                   ",
        "    (No Name)                        1     5 0I0        R   0 1.00",
        "    Write it                         0     5 3V4        W  -7 0.25",
    };
    return lines;
}

ConfigTemplate TwoSlaveConfiguration()
{
    ConfigTemplate config;
    config.TemplateName = "Feeder";
    config.SpaBaudRate = 19200;
    for (int i = 0; i < 4; ++i) {
        AnalogInputPoint point;
        point.Address = "0I" + std::to_string(i + 1);
        point.Description = "Current " + std::to_string(i);
        point.SlaveAddress = 5;
        point.Size = i == 0 ? 32 : 16;
        point.InUse = i != 2;
        config.AnalogInputs.Append(point);
    }
    DigitalInputPoint digital;
    digital.Address = "1/8E10/17";
    digital.DataType = "S";
    digital.SlaveAddress = 9;
    config.DigitalInputs.Append(digital);
    AnalogOutputPoint output;
    output.Address = "2O7";
    output.SlaveAddress = 9;
    config.AnalogOutputs.Append(output);
    DigitalOutputPoint command;
    command.Address = "1O1";
    command.DataType = "B";
    command.SlaveAddress = 5;
    command.InUse = false;
    config.DigitalOutputs.Append(command);
    IndirectSpaMessage message;
    message.Address = "1V5";
    message.SlaveAddress = 9;
    config.IndirectMessages.Append(message);
    return config;
}

std::unique_ptr<ConfigTemplate> EveryFieldConfiguration()
{
    auto config = std::make_unique<ConfigTemplate>();
    config->TemplateName = "REF615";
    config->SpaBaudRate = 19200;
    config->SpaReplyTimeout = 120;
    config->SpaIdleTime = 5;
    config->SpaRetryCount = 7;
    config->ProfibusDefaultAddress = 3;
    config->ProfibusDecimalPlace = 2;
    config->TimeSync = true;
    config->GlobalEventPoll = true;
    config->GlobalEventPollPeriod = 750;
    config->OnlinePollDescription = "Poll";
    config->OnlinePollCommand = "5RF";
    for (int i = 0; i < 3; ++i) {
        AnalogInputPoint ai;
        ai.Description = "AI " + std::to_string(i);
        ai.SlaveAddress = 5 + i;
        ai.Address = std::to_string(i) + "I" + std::to_string(10 + i);
        ai.Scale = 0.25f * static_cast<float>(i + 1);
        ai.Size = i == 1 ? 32 : 16;
        ai.Priority = i == 2;
        ai.InUse = i != 0;
        config->AnalogInputs.Append(ai);
        AnalogOutputPoint ao;
        ao.Description = "AO";
        ao.Address = "1O" + std::to_string(i);
        ao.Scale = -1.5f;
        ao.Size = 32;
        config->AnalogOutputs.Append(ao);
        DigitalInputPoint di;
        di.Description = "Trip " + std::to_string(i);
        di.SlaveAddress = 9;
        di.Address = "1/8E10/17";
        di.DataType = i == 0 ? "P" : "S";
        di.BitSwitch = i == 1;
        di.EventChannel = i;
        di.EventStart = 1;
        di.EventEnd = 2;
        di.EventValues = {i, 255, 0, 3};
        config->DigitalInputs.Append(di);
        DigitalOutputPoint dout;
        dout.Description = "";
        dout.Address = "0O" + std::to_string(i);
        dout.DataType = "H";
        dout.Priority = true;
        config->DigitalOutputs.Append(dout);
        IndirectSpaMessage message;
        message.Description = "(No Name)";
        message.SlaveAddress = 5;
        message.Address = "2V" + std::to_string(100 + i);
        message.Write = i == 1;
        message.StaticData = -i;
        message.Scale = 10.0f;
        message.InUse = i != 2;
        config->IndirectMessages.Append(message);
    }
    return config;
}

std::unique_ptr<ConfigTemplate> CapacityConfiguration(int slaveCount, int indirectMessages)
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
