#include "ConfigurationCheck.h"
#include "ConfigFile.h"
#include "DeviceTestSupport.h"
#include "ScriptedWindowSystem.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Texts(const std::vector<CheckFinding>& findings)
{
    std::vector<std::string> texts;
    for (const CheckFinding& finding : findings) {
        texts.push_back(finding.Text);
    }
    return texts;
}

PointReference Point(PointSection section, int index, const std::string& description, int slave,
                     const std::string& address)
{
    return {section, index, description, slave, address};
}

}  // namespace

TEST(ConfigurationCheck, ListsEveryRefusalOfTheDownloadAtOnceEachNamingItsPoint)
{
    ConfigTemplate config = TwoSlaveConfiguration();  // 11 input bytes
    config.DigitalInputs[0].Address = "12";
    config.DigitalInputs[0].Description = "Breaker";
    for (int i = 0; i < 116; ++i) {
        AnalogInputPoint point;
        point.Address = "1I" + std::to_string(i);
        point.SlaveAddress = 5;
        config.AnalogInputs.Append(point);
    }
    while (config.IndirectMessages.Count() < 128) {
        IndirectSpaMessage message;
        message.Address = "2V" + std::to_string(config.IndirectMessages.Count());
        message.SlaveAddress = 9;
        config.IndirectMessages.Append(message);
    }

    const ConfigurationCheck check = CheckConfiguration(config);
    ASSERT_EQ(Texts(check.Errors), (std::vector<std::string>{
                                       "Unable to download - configuration uses more than 242 bytes for input",
                                       "Unable to download - more than 127 indirect SPA messages",
                                       "Unable to download - incorrect configuration",
                                   }));
    EXPECT_EQ(check.Errors[0].Detail.rfind("243 input bytes; the first point beyond 242: Digital input 1", 0), 0u);
    EXPECT_EQ(check.Errors[0].Point, Point(PointSection::DigitalInput, 0, "Breaker", 9, "12"));
    EXPECT_EQ(check.Errors[1].Point, Point(PointSection::IndirectMessage, 127, "", 9, "2V127"));
    EXPECT_EQ(check.Errors[2].Point, Point(PointSection::DigitalInput, 0, "Breaker", 9, "12"));
    EXPECT_EQ(check.Errors[2].Detail, "Digital input 1 \"Breaker\" (slave 9, Ch/Cat/Dno \"12\"): the address is not "
                                      "of the form FCh/LCh/Cat/FDno/LDno");
    EXPECT_EQ(Texts(check.Warnings),
              (std::vector<std::string>{"Warning : Total template size (input) exceeds 240 bytes"}));
    EXPECT_EQ(check.Warnings[0].Detail, "247 bytes laid out; the first point beyond 240: Analog input 118 \"\" (slave "
                                        "5, Ch/Cat/Dno \"1I113\")");
}

TEST(ConfigurationCheck, CleanConfigurationAndTheRefusalsWithoutAPoint)
{
    const ConfigurationCheck clean = CheckConfiguration(TwoSlaveConfiguration());
    EXPECT_TRUE(clean.Errors.empty());
    EXPECT_TRUE(clean.Warnings.empty());

    ConfigTemplate empty;
    empty.OnlinePollCommand = std::string(18, 'R');
    const ConfigurationCheck check = CheckConfiguration(empty);
    EXPECT_EQ(Texts(check.Errors),
              (std::vector<std::string>{"There are no slaves in the project. Add slaves or open a configuration",
                                        "Unable to download - Online Poll Command is more than 17 characters"}));
    EXPECT_FALSE(check.Errors[1].Point);
    SlaveAddressTable added = kNoSlaves;
    added[0] = 7;
    EXPECT_EQ(CheckConfiguration(empty, added).Errors.size(), 1u) << "an added slave counts as a slave";

    // A text that does not fit behind the image: what the download would find after opening the port.
    ConfigTemplate large = TwoSlaveConfiguration();
    large.AnalogInputs[0].Description = std::string(65000, 'd');
    EXPECT_EQ(Texts(CheckConfiguration(large).Errors),
              (std::vector<std::string>{"Unable to download - configuration too large"}));
}

TEST(ConfigurationCheck, SettingsOutsideTheFormsRangesAreErrorsNamingTheSetting)
{
    ConfigTemplate config = TwoSlaveConfiguration();
    config.SpaReplyTimeout = 500;
    config.ProfibusDecimalPlace = 0;
    config.ProfibusDefaultAddress = 126;
    config.SpaIdleTime = 5;
    config.SpaRetryCount = 32;
    config.GlobalEventPollPeriod = 100;
    config.SpaBaudRate = 38400;
    EXPECT_TRUE(CheckConfiguration(config).Errors.empty());

    config.SpaReplyTimeout = 4;
    config.ProfibusDefaultAddress = 127;
    config.SpaIdleTime = 33;
    config.GlobalEventPollPeriod = 10001;
    config.SpaBaudRate = 9601;
    const ConfigurationCheck check = CheckConfiguration(config);
    EXPECT_EQ(Texts(check.Errors), (std::vector<std::string>{
                                       "Please enter an integer between 5 and 500.",
                                       "Please enter an integer between 1 and 126.",
                                       "Please enter an integer between 5 and 10.",
                                       "Please enter an integer between 100 and 10000.",
                                       "Please select one of the SPA baud rates 300, 1200, 2400, 4800, 9600, 19200 "
                                       "and 38400.",
                                   }));
    EXPECT_EQ(check.Errors[2].Detail, "SPA Idle Time (SPA_IDLETIME) is 33");
    EXPECT_EQ(check.Errors[4].Detail, "SPA Baudrate (SPA_BAUDRATE) is 9601");
}

TEST(ConfigurationCheck, WhatTheFileCannotCarryIsAnErrorNamingThePoint)
{
    // A point whose line the reader could not take as written, from a file made elsewhere.
    ConfigTemplate config = TwoSlaveConfiguration();
    std::string text = ConfigFileText(config, false);
    text.insert(text.find("\"Current 1\"") + 8, ", \"Io\"");
    ScriptedWindowSystem ui;
    ASSERT_TRUE(ReadConfigText(config, text, ui));
    // Texts a save would cut: a comma in a description or poll command, a
    // lone blank where the reader drops the point.
    config.DigitalOutputs[0].Description = "Open, close";
    config.IndirectMessages[0].Description = " ";
    config.OnlinePollCommand = "RF,X";
    const ConfigurationCheck check = CheckConfiguration(config);
    ASSERT_EQ(Texts(check.Errors), (std::vector<std::string>{
                                       "A point was not read as its file wrote it",
                                       "The character \",\" cannot be stored in a description.",
                                       "A description of a single blank cannot be stored.",
                                       "The character \",\" cannot be stored in the online poll command.",
                                   }));
    EXPECT_EQ(check.Errors[0].Detail.rfind("Analog input 2 \"Curren\" (slave 0, Ch/Cat/Dno \"5\"): its line", 0), 0u)
        << check.Errors[0].Detail;
    EXPECT_EQ(check.Errors[0].Point->Index, 1);
    EXPECT_EQ(check.Errors[1].Point->Section, PointSection::DigitalOutput);
    EXPECT_EQ(check.Errors[2].Point->Section, PointSection::IndirectMessage);
}

TEST(ConfigurationCheck, WarnsAboutSameAddressesAndSlavesWithoutPoints)
{
    ConfigTemplate config = TwoSlaveConfiguration();
    AnalogOutputPoint same;
    same.Address = "00I2";  // the gateway reads 0I2, the address of the second analog input of slave 5
    same.SlaveAddress = 5;
    config.AnalogOutputs.Append(same);
    DigitalInputPoint range = config.DigitalInputs[0];
    range.Address = "1/08E10/17";
    config.DigitalInputs.Append(range);
    AnalogOutputPoint otherSlave = same;
    otherSlave.SlaveAddress = 6;
    config.AnalogOutputs.Append(otherSlave);
    otherSlave.Address = "4I2";
    config.AnalogOutputs.Append(otherSlave);
    IndirectSpaMessage lonely;
    lonely.SlaveAddress = 12;
    config.IndirectMessages.Append(lonely);
    SlaveAddressTable added = kNoSlaves;
    added[0] = 12;  // has a message
    added[1] = 14;

    const ConfigurationCheck check = CheckConfiguration(config, added);
    EXPECT_TRUE(check.Errors.empty());
    ASSERT_EQ(Texts(check.Warnings), (std::vector<std::string>{
                                         "Two points of slave 9 have the same address 1/8E10/17",
                                         "Two points of slave 5 have the same address 0I2",
                                         "Indirect SPA message for slave 12, which has no points",
                                         "Slave 14 has no points",
                                     }));
    EXPECT_EQ(check.Warnings[1].Detail, "Analog output 2 \"\" (slave 5, Ch/Cat/Dno \"00I2\") and Analog input 2 "
                                        "\"Current 1\" (slave 5, Ch/Cat/Dno \"0I2\")");
    EXPECT_EQ(check.Warnings[1].Point, Point(PointSection::AnalogOutput, 1, "", 5, "00I2"));
    EXPECT_EQ(check.Warnings[2].Point, Point(PointSection::IndirectMessage, 1, "", 12, "0I0"));
    EXPECT_EQ(check.Warnings[3].Slave, 14);
}
