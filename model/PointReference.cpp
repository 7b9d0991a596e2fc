#include "PointReference.h"

#include "NumberText.h"

namespace {

template <typename Record>
PointReference ReferenceOf(PointSection section, int index, const Record& record)
{
    return {section, index, record.Description, record.SlaveAddress, record.Address};
}

}  // namespace

PointReference ReferenceTo(const ConfigTemplate& config, PointSection section, int index)
{
    switch (section) {
    case PointSection::AnalogInput:
        return ReferenceOf(section, index, config.AnalogInputs[index]);
    case PointSection::DigitalInput:
        return ReferenceOf(section, index, config.DigitalInputs[index]);
    case PointSection::AnalogOutput:
        return ReferenceOf(section, index, config.AnalogOutputs[index]);
    case PointSection::DigitalOutput:
        return ReferenceOf(section, index, config.DigitalOutputs[index]);
    case PointSection::IndirectMessage:
        break;
    }
    return ReferenceOf(section, index, config.IndirectMessages[index]);
}

int SectionCount(const ConfigTemplate& config, PointSection section)
{
    switch (section) {
    case PointSection::AnalogInput:
        return config.AnalogInputs.Count();
    case PointSection::DigitalInput:
        return config.DigitalInputs.Count();
    case PointSection::AnalogOutput:
        return config.AnalogOutputs.Count();
    case PointSection::DigitalOutput:
        return config.DigitalOutputs.Count();
    case PointSection::IndirectMessage:
        break;
    }
    return config.IndirectMessages.Count();
}

const char* SectionName(PointSection section)
{
    switch (section) {
    case PointSection::AnalogInput:
        return "ANALOG_INPUT";
    case PointSection::DigitalInput:
        return "DIGITAL_INPUT";
    case PointSection::AnalogOutput:
        return "ANALOG_OUTPUT";
    case PointSection::DigitalOutput:
        return "DIGITAL_OUTPUT";
    case PointSection::IndirectMessage:
        break;
    }
    return "INDIRECT_SPA_COMMANDS";
}

const char* SectionKindName(PointSection section)
{
    switch (section) {
    case PointSection::AnalogInput:
        return "Analog input";
    case PointSection::DigitalInput:
        return "Digital input";
    case PointSection::AnalogOutput:
        return "Analog output";
    case PointSection::DigitalOutput:
        return "Digital output";
    case PointSection::IndirectMessage:
        break;
    }
    return "Indirect SPA message";
}

std::string DescribePoint(const PointReference& point)
{
    return std::string(SectionKindName(point.Section)) + " " + FormatInt(point.Index + 1) + " \"" + point.Description +
           "\" (slave " + FormatInt(point.SlaveAddress) + ", Ch/Cat/Dno \"" + point.Address + "\")";
}
