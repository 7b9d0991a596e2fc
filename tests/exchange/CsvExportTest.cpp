#include "CsvExport.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <clocale>
#include <memory>

namespace {

constexpr const char* kTime = "09:30 Monday January 06 2025";

const std::string kEmptyConfiguration = CrLfLines(
    "VERSION; 2.00", "EXPORT_TIME;09:30 Monday January 06 2025", "SPA_TEMPLATE;", "SPA_BAUDRATE;9600",
    "SPA_REPLYTIMEOUT;50", "SPA_IDLETIME;10", "SPA_COM_RETRY_COUNT;2", "PROFI_DFLTADDR;125", "PROFI_DECIMAL_PLACE;1",
    "",
    "TIME;NO", "DATE;NO", "GLOBAL_EVENT_POLL;DISABLE", "PERIOD;3000", "ONLINE_POLL_COMMAND;Online Command;RF", "",
    "GENERAL STATUS", "Offset;Descr;Datasize", "0;Status word;2", "2;Slave status;2", "", "ANALOG_INPUT",
    "Offset;InUse;Prio;Descr;SlAddr;Ch/Cat/Dno;Scale;Size;Datasize", "", "DIGITAL_INPUT",
    "Offset;InUse;Prio;Descr;SlAddr;FCh/LCh/Cat/FDno/LDno;Datatype;Bitswitch;EvnCh;EvnS;EvnEnd;EvnVal1;EvnVal2;"
    "EvnVal3;EvnVal4;Datasize",
    "", "ANALOG_OUTPUT", "Offset;InUse;Prio;Descr;SlAddr;Ch/Cat/Dno;Scale;Size;Datasize", "", "DIGITAL_OUTPUT",
    "Offset;InUse;Prio;Descr;SlAddr;Ch/Cat/Dno;Datatype;Datasize", "", "INDIRECT_SPA_COMMANDS",
    "InUse;midx;Descr;SlAddr;Ch/Cat/Dno;Read/Write;StaticData;Scale", "", "TEMPLATE_SIZE_IN;4", "TEMPLATE_SIZE_OUT;0");

AnalogInputPoint Analog(const std::string& description, int size, float scale)
{
    AnalogInputPoint point;
    point.Description = description;
    point.SlaveAddress = 5;
    point.Address = "0I1";
    point.Size = size;
    point.Scale = scale;
    return point;
}

bool HasLine(const std::string& csv, const std::string& line)
{
    return csv.find("\r\n" + line + "\r\n") != std::string::npos;
}

}  // namespace

TEST(CsvExport, EmptyConfigurationHasEverySectionAndTheAreaSizes)
{
    const auto config = std::make_unique<ConfigTemplate>();
    EXPECT_EQ(CsvText(*config, ";", ".", kTime), kEmptyConfiguration);
    const std::string commas = CsvText(*config, ",", ".", kTime);
    EXPECT_EQ(commas.substr(0, 15), "VERSION, 2.00\r\n");
    EXPECT_TRUE(HasLine(commas, "ONLINE_POLL_COMMAND,Online Command,RF"));
}

TEST(CsvExport, SeparatorsReplaceEverySemicolonAndEveryPoint)
{
    auto config = std::make_unique<ConfigTemplate>();
    config->AnalogInputs.Append(Analog("Temp", 16, 2.5f));
    config->AnalogInputs.Append(Analog("Flow;rate", 16, 0.1f));
    IndirectSpaMessage message;
    message.Description = "Set";
    message.Write = true;
    message.StaticData = -7;
    config->IndirectMessages.Append(message);

    const std::string commas = CsvText(*config, ",", ",", kTime);
    EXPECT_TRUE(HasLine(commas, "4,1,N,Temp,5,0I1,2,500000,16,2"));
    EXPECT_TRUE(HasLine(commas, "6,1,N,Flow,rate,5,0I1,0,100000,16,2"));
    EXPECT_TRUE(HasLine(commas, "1,1,Set,0,0I0,W,-7,1,000000"));
    EXPECT_TRUE(HasLine(CsvText(*config, "<>", "#", kTime), "6<>1<>N<>Flow<>rate<>5<>0I1<>0#100000<>16<>2"));
}

// Offsets run through the input area from 4 and the output area from 0;
// points not in use keep their bytes; messages are numbered from 1.
TEST(CsvExport, OffsetsAndDataSizesRunThroughTheAreas)
{
    auto config = std::make_unique<ConfigTemplate>();
    config->AnalogInputs.Append(Analog("Wide", 32, 1.0f));
    AnalogInputPoint unused = Analog("Unused", 16, 1.0f);
    unused.InUse = false;
    unused.Priority = true;
    config->AnalogInputs.Append(unused);
    DigitalInputPoint trip;
    trip.Description = "Trip";
    trip.Address = "1/1E1/1";
    trip.DataType = "P";
    trip.BitSwitch = true;
    trip.EventValues = {4, 5, 6, 7};
    config->DigitalInputs.Append(trip);
    trip.DataType = "S";
    config->DigitalInputs.Append(trip);
    AnalogOutputPoint setpoint;
    setpoint.Size = 32;
    config->AnalogOutputs.Append(setpoint);
    DigitalOutputPoint open;
    open.DataType = "B";
    config->DigitalOutputs.Append(open);
    config->IndirectMessages.Append(IndirectSpaMessage{});
    config->IndirectMessages.Append(IndirectSpaMessage{});

    const std::string csv = CsvText(*config, ";", ".", kTime);
    for (const char* line : {"4;1;N;Wide;5;0I1;1.000000;32;4", "8;0;P;Unused;5;0I1;1.000000;16;2",
                             "10;1;N;Trip;0;1/1E1/1;P;1;0;0;0;4;5;6;7;2", "12;1;N;Trip;0;1/1E1/1;S;1;0;0;0;4;5;6;7;1",
                             "0;1;N;;0;;1.000000;32;4", "4;1;N;;0;;B;1", "1;1;;0;0I0;R;0;1.000000",
                             "1;2;;0;0I0;R;0;1.000000", "TEMPLATE_SIZE_IN;13"}) {
        EXPECT_TRUE(HasLine(csv, line)) << line;
    }
    EXPECT_EQ(csv.substr(csv.size() - 21), "TEMPLATE_SIZE_OUT;5\r\n");
}

// English day and month names and "." in numbers under a German locale.
TEST(CsvExport, TimeAndNumbersIgnoreTheProcessLocale)
{
    const std::string previousLocale = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, CommaLocaleName()), nullptr) << "scripts/setup.sh generates it";
    UseUtcTimeZone();
    std::tm time{};
    time.tm_year = 2024 - 1900;
    time.tm_mon = 2;
    time.tm_mday = 5;
    time.tm_hour = 14;
    time.tm_min = 7;
    const std::string formatted = FormatExportTime(UtcTime(time));
    auto config = std::make_unique<ConfigTemplate>();
    config->AnalogInputs.Append(Analog("Temp", 16, 2.5f));
    const std::string csv = CsvText(*config, ";", ".", formatted);
    std::setlocale(LC_ALL, previousLocale.c_str());
    EXPECT_EQ(formatted, "14:07 Tuesday March 05 2024");
    EXPECT_TRUE(HasLine(csv, "4;1;N;Temp;5;0I1;2.500000;16;2"));
}

TEST(CsvExport, WritesTheFileAndReportsWriteFailures)
{
    TemporaryDirectory directory;
    const auto config = std::make_unique<ConfigTemplate>();
    const std::time_t now = std::time(nullptr);
    ASSERT_TRUE(ExportCsv(*config, directory.File("out.csv"), ",", ".", now));
    EXPECT_EQ(ReadTextFile(directory.File("out.csv")), CsvText(*config, ",", ".", FormatExportTime(now)));
    EXPECT_FALSE(ExportCsv(*config, directory.File("missing/out.csv"), ",", "."));
    EXPECT_FALSE(ExportCsv(*config, "/dev/full", ",", "."));
}
