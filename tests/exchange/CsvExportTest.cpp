#include "CsvExport.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <vector>

namespace {

std::vector<std::string> SplitCrLf(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (auto end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    EXPECT_EQ(start, text.size()) << "text does not end in CR LF";
    return lines;
}

const std::vector<std::string> kEmptyConfigurationLines{
    "VERSION; 2.00",
    "EXPORT_TIME;09:30 Monday January 06 2025",
    "SPA_TEMPLATE;",
    "SPA_BAUDRATE;9600",
    "SPA_REPLYTIMEOUT;50",
    "SPA_IDLETIME;10",
    "SPA_COM_RETRY_COUNT;2",
    "PROFI_DFLTADDR;125",
    "PROFI_DECIMAL_PLACE;1",
    "",
    "TIME;NO",
    "DATE;NO",
    "GLOBAL_EVENT_POLL;DISABLE",
    "PERIOD;3000",
    "ONLINE_POLL_COMMAND;Online Command;RF",
    "",
    "GENERAL STATUS",
    "Offset;Descr;Datasize",
    "0;Status word;2",
    "2;Slave status;2",
    "",
    "ANALOG_INPUT",
    "Offset;InUse;Prio;Descr;SlAddr;Ch/Cat/Dno;Scale;Size;Datasize",
    "",
    "DIGITAL_INPUT",
    "Offset;InUse;Prio;Descr;SlAddr;FCh/LCh/Cat/FDno/LDno;Datatype;Bitswitch;EvnCh;EvnS;EvnEnd;EvnVal1;EvnVal2;"
    "EvnVal3;EvnVal4;Datasize",
    "",
    "ANALOG_OUTPUT",
    "Offset;InUse;Prio;Descr;SlAddr;Ch/Cat/Dno;Scale;Size;Datasize",
    "",
    "DIGITAL_OUTPUT",
    "Offset;InUse;Prio;Descr;SlAddr;Ch/Cat/Dno;Datatype;Datasize",
    "",
    "INDIRECT_SPA_COMMANDS",
    "InUse;midx;Descr;SlAddr;Ch/Cat/Dno;Read/Write;StaticData;Scale",
    "",
    "TEMPLATE_SIZE_IN;4",
    "TEMPLATE_SIZE_OUT;0",
};

constexpr const char* kTime = "09:30 Monday January 06 2025";

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

}  // namespace

TEST(CsvExport, EmptyConfigurationHasEverySectionAndTheAreaSizes)
{
    const auto config = std::make_unique<ConfigTemplate>();
    EXPECT_EQ(SplitCrLf(CsvText(*config, ";", ".", kTime)), kEmptyConfigurationLines);

    const auto withCommas = SplitCrLf(CsvText(*config, ",", ".", kTime));
    EXPECT_EQ(withCommas.front(), "VERSION, 2.00");
    EXPECT_EQ(withCommas[14], "ONLINE_POLL_COMMAND,Online Command,RF");
    EXPECT_EQ(withCommas.back(), "TEMPLATE_SIZE_OUT,0");
}

TEST(CsvExport, SeparatorsReplaceEverySemicolonAndEveryPoint)
{
    auto config = std::make_unique<ConfigTemplate>();
    config->AnalogInputs.Append(Analog("Temp", 16, 2.5f));
    config->AnalogInputs.Append(Analog("Flow;rate", 16, 0.1f));
    IndirectSpaMessage message;
    message.Description = "Set";
    message.SlaveAddress = 5;
    message.Address = "1S3";
    message.Write = true;
    message.StaticData = -7;
    message.Scale = 1.0f;
    config->IndirectMessages.Append(message);

    const auto commas = SplitCrLf(CsvText(*config, ",", ",", kTime));
    EXPECT_EQ(commas[23], "4,1,N,Temp,5,0I1,2,500000,16,2");
    EXPECT_EQ(commas[24], "6,1,N,Flow,rate,5,0I1,0,100000,16,2");
    EXPECT_EQ(commas[37], "1,1,Set,5,1S3,W,-7,1,000000");

    const auto longSeparator = SplitCrLf(CsvText(*config, "<>", "#", kTime));
    EXPECT_EQ(longSeparator[0], "VERSION<> 2.00");
    EXPECT_EQ(longSeparator[24], "6<>1<>N<>Flow<>rate<>5<>0I1<>0#100000<>16<>2");
}

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
    trip.SlaveAddress = 9;
    trip.Address = "1/1E1/1";
    trip.DataType = "P";
    trip.BitSwitch = true;
    trip.EventChannel = 1;
    trip.EventStart = 2;
    trip.EventEnd = 3;
    trip.EventValues = {4, 5, 6, 7};
    config->DigitalInputs.Append(trip);
    trip.DataType = "S";
    config->DigitalInputs.Append(trip);
    AnalogOutputPoint setpoint;
    setpoint.Description = "Setpoint";
    setpoint.Address = "0O2";
    setpoint.Size = 32;
    config->AnalogOutputs.Append(setpoint);
    DigitalOutputPoint open;
    open.Description = "Open";
    open.SlaveAddress = 3;
    open.Address = "0O1";
    open.DataType = "B";
    config->DigitalOutputs.Append(open);
    IndirectSpaMessage message;
    config->IndirectMessages.Append(message);
    config->IndirectMessages.Append(message);

    const auto lines = SplitCrLf(CsvText(*config, ";", ".", kTime));
    const std::vector<std::string> points(lines.begin() + 20, lines.end());
    const std::vector<std::string> expected{
        "",
        "ANALOG_INPUT",
        "Offset;InUse;Prio;Descr;SlAddr;Ch/Cat/Dno;Scale;Size;Datasize",
        "4;1;N;Wide;5;0I1;1.000000;32;4",
        "8;0;P;Unused;5;0I1;1.000000;16;2",
        "",
        "DIGITAL_INPUT",
        kEmptyConfigurationLines[25],
        "10;1;N;Trip;9;1/1E1/1;P;1;1;2;3;4;5;6;7;2",
        "12;1;N;Trip;9;1/1E1/1;S;1;1;2;3;4;5;6;7;1",
        "",
        "ANALOG_OUTPUT",
        "Offset;InUse;Prio;Descr;SlAddr;Ch/Cat/Dno;Scale;Size;Datasize",
        "0;1;N;Setpoint;0;0O2;1.000000;32;4",
        "",
        "DIGITAL_OUTPUT",
        "Offset;InUse;Prio;Descr;SlAddr;Ch/Cat/Dno;Datatype;Datasize",
        "4;1;N;Open;3;0O1;B;1",
        "",
        "INDIRECT_SPA_COMMANDS",
        "InUse;midx;Descr;SlAddr;Ch/Cat/Dno;Read/Write;StaticData;Scale",
        "1;1;;0;0I0;R;0;1.000000",
        "1;2;;0;0I0;R;0;1.000000",
        "",
        "TEMPLATE_SIZE_IN;13",
        "TEMPLATE_SIZE_OUT;5",
    };
    EXPECT_EQ(points, expected);
}

// The day and month names stay English and the scale keeps its "." under a
// locale whose own names and decimal point differ.
TEST(CsvExport, TimeAndNumbersIgnoreTheProcessLocale)
{
    const std::string previousLocale = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "locale de_DE.UTF-8 is not installed (scripts/setup.sh generates it)";
    }
    const char* previousTimeZone = std::getenv("TZ");
    const std::string savedTimeZone = previousTimeZone ? previousTimeZone : "";
    ::setenv("TZ", "UTC0", 1);
    ::tzset();
    std::tm time{};
    time.tm_year = 2024 - 1900;
    time.tm_mon = 2;
    time.tm_mday = 5;
    time.tm_hour = 14;
    time.tm_min = 7;
    const std::string formatted = FormatExportTime(::timegm(&time));
    auto config = std::make_unique<ConfigTemplate>();
    config->AnalogInputs.Append(Analog("Temp", 16, 2.5f));
    const std::string csv = CsvText(*config, ";", ".", formatted);

    std::setlocale(LC_ALL, previousLocale.c_str());
    if (previousTimeZone != nullptr) {
        ::setenv("TZ", savedTimeZone.c_str(), 1);
    } else {
        ::unsetenv("TZ");
    }
    ::tzset();
    EXPECT_EQ(formatted, "14:07 Tuesday March 05 2024");
    EXPECT_NE(csv.find("\r\n4;1;N;Temp;5;0I1;2.500000;16;2\r\n"), std::string::npos);
}

TEST(CsvExport, WritesTheFileAndReportsWriteFailures)
{
    TemporaryDirectory directory;
    auto config = std::make_unique<ConfigTemplate>();
    config->TemplateName = "REF";
    const std::time_t now = std::time(nullptr);
    ASSERT_TRUE(ExportCsv(*config, directory.File("out.csv"), ",", ".", now));
    EXPECT_EQ(ReadTextFile(directory.File("out.csv")), CsvText(*config, ",", ".", FormatExportTime(now)));

    EXPECT_FALSE(ExportCsv(*config, directory.File("missing/out.csv"), ",", "."));
    EXPECT_FALSE(ExportCsv(*config, directory.Path(), ",", "."));
    EXPECT_FALSE(ExportCsv(*config, "/dev/full", ",", "."));
}
