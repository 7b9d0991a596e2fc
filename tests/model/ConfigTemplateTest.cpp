#include "ConfigTemplate.h"
#include "SlaveSet.h"

#include <gtest/gtest.h>

#include <memory>

TEST(ConfigTemplate, NewConfigurationHasDefaultsAndEmptyLists)
{
    const auto config = std::make_unique<ConfigTemplate>();
    EXPECT_EQ(config->AnalogInputs.Count(), 0);
    EXPECT_EQ(config->AnalogOutputs.Count(), 0);
    EXPECT_EQ(config->DigitalInputs.Count(), 0);
    EXPECT_EQ(config->DigitalOutputs.Count(), 0);
    EXPECT_EQ(config->IndirectMessages.Count(), 0);
    EXPECT_EQ(config->TemplateName, "");
    EXPECT_EQ(config->SpaBaudRate, 9600);
    EXPECT_EQ(config->SpaReplyTimeout, 50);
    EXPECT_EQ(config->SpaIdleTime, 10);
    EXPECT_EQ(config->SpaRetryCount, 2);
    EXPECT_EQ(config->ProfibusDefaultAddress, 125);
    EXPECT_EQ(config->ProfibusDecimalPlace, 1);
    EXPECT_EQ(config->GlobalEventPollPeriod, 3000);
    EXPECT_FALSE(config->GlobalEventPoll);
    EXPECT_FALSE(config->TimeSync);
    EXPECT_FALSE(config->DateSync);
    EXPECT_EQ(config->OnlinePollCommand, "RF");
    EXPECT_EQ(config->OnlinePollDescription, "Online Command");
    EXPECT_EQ(config->LoadError, 0);
}

TEST(ConfigTemplate, RecordDefaults)
{
    const AnalogInputPoint analog;
    EXPECT_EQ(analog.Size, 16);
    EXPECT_EQ(analog.Scale, 1.0f);
    EXPECT_TRUE(analog.InUse);
    EXPECT_FALSE(analog.Priority);
    const DigitalInputPoint digital;
    EXPECT_EQ(digital.EventValues, (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_TRUE(digital.InUse);
    const IndirectSpaMessage message;
    EXPECT_EQ(message.Address, "0I0");
    EXPECT_FALSE(message.Write);
    EXPECT_EQ(message.Scale, 1.0f);
}

TEST(ConfigTemplate, ResetRestoresSettingsButKeepsTemplateName)
{
    auto config = std::make_unique<ConfigTemplate>();
    config->TemplateName = "RELAY";
    config->SpaBaudRate = 19200;
    config->TimeSync = true;
    config->OnlinePollCommand = "X";
    config->UnitTable[7] = 5;
    config->FileVersion = 0;
    config->AnalogInputs.Append(AnalogInputPoint{});
    config->IndirectMessages.Append(IndirectSpaMessage{});
    config->Reset();
    EXPECT_EQ(config->TemplateName, "RELAY");
    EXPECT_EQ(config->FileVersion, 0);
    EXPECT_EQ(config->SpaBaudRate, 9600);
    EXPECT_FALSE(config->TimeSync);
    EXPECT_EQ(config->OnlinePollCommand, "RF");
    EXPECT_EQ(config->UnitTable[7], 0);
    EXPECT_EQ(config->AnalogInputs.Count(), 0);
    EXPECT_EQ(config->IndirectMessages.Count(), 0);
}

TEST(FixedList, AppendStopsAtCapacityAndRemovalKeepsOrder)
{
    FixedList<int, 4> list;
    for (int i = 1; i <= 4; ++i) {
        EXPECT_TRUE(list.Append(i));
    }
    EXPECT_FALSE(list.Append(5));
    EXPECT_EQ(list.Count(), 4);
    list.RemoveAt(1);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list[0], 1);
    EXPECT_EQ(list[1], 3);
    EXPECT_EQ(list[2], 4);
    EXPECT_EQ(list.RemoveIf([](int v) { return v != 3; }), 2);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list[0], 3);
    list.RemoveAt(5);
    EXPECT_EQ(list.Count(), 1);
}

TEST(SlaveSet, CollectsDistinctAddressesInListOrderUpToSixteen)
{
    auto config = std::make_unique<ConfigTemplate>();
    DigitalInputPoint digital;
    digital.SlaveAddress = 9;
    config->DigitalInputs.Append(digital);
    AnalogInputPoint analog;
    analog.SlaveAddress = 5;
    config->AnalogInputs.Append(analog);
    IndirectSpaMessage message;
    message.SlaveAddress = 3;
    config->IndirectMessages.Append(message);
    config->IndirectMessages.Append(message);
    SlaveAddressTable table = CollectSlaveAddresses(*config);
    EXPECT_EQ(table[0], 5);
    EXPECT_EQ(table[1], 9);
    EXPECT_EQ(table[2], 3);
    EXPECT_EQ(table[3], -1);
    EXPECT_EQ(SlaveCount(table), 3);

    for (int address = 100; address < 120; ++address) {
        AddSlaveAddress(table, address);
    }
    EXPECT_EQ(SlaveCount(table), 16);
    EXPECT_EQ(table[15], 112);
    EXPECT_FALSE(AddSlaveAddress(table, 200));
    EXPECT_TRUE(AddSlaveAddress(table, 9));
}
