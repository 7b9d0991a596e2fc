#include "ConfigTemplate.h"

void ConfigTemplate::Reset()
{
    AnalogInputs.Clear();
    AnalogOutputs.Clear();
    DigitalInputs.Clear();
    DigitalOutputs.Clear();
    IndirectMessages.Clear();
    UnitTable.fill(0);
    SpaBaudRate = 9600;
    SpaReplyTimeout = 50;
    SpaIdleTime = 10;
    SpaRetryCount = 2;
    ProfibusDefaultAddress = 125;
    ProfibusDecimalPlace = 1;
    GlobalEventPollPeriod = 3000;
    DateSync = false;
    TimeSync = false;
    GlobalEventPoll = false;
    LoadError = kLoadErrorNone;
    OnlinePollCommand = "RF";
    OnlinePollDescription = "Online Command";
}
