// halvex-cli show, convert and report: the configuration file commands.
#include "AreaLayout.h"
#include "CliCommand.h"
#include "ConfigFile.h"
#include "JsonOutput.h"
#include "NumberText.h"
#include "SlaveSet.h"

#include <memory>
#include <ostream>

namespace {


const char* YesNo(bool flag) { return flag ? "YES" : "NO"; }

int RunShow(CliContext& context)
{
    const std::string& path = context.Arguments.Positional[0];
    const auto config = LoadConfigurationOrReport(context, path);
    if (!config) {
        return kExitFailure;
    }
    if (context.Arguments.Flag("json")) {
        PrintJson(context.Out, ShowJson(path, *config));
        return kExitSuccess;
    }
    const AreaLayout layout = ComputeAreaLayout(*config);
    std::ostream& out = context.Out;
    out << "File: " << path << '\n'
        << "Template: " << config->TemplateName << '\n'
        << "SPA baud rate: " << config->SpaBaudRate << '\n'
        << "SPA reply timeout: " << config->SpaReplyTimeout << " ms\n"
        << "SPA idle time: " << config->SpaIdleTime << " ms\n"
        << "SPA com retry count: " << config->SpaRetryCount << '\n'
        << "Profibus default address: " << config->ProfibusDefaultAddress << '\n'
        << "Profibus decimal place: " << config->ProfibusDecimalPlace << '\n'
        << "Time synchronization: " << YesNo(config->TimeSync) << '\n'
        << "Date synchronization: " << YesNo(config->DateSync) << '\n'
        << "Global event poll: " << (config->GlobalEventPoll ? "ENABLE" : "DISABLE") << ", period "
        << config->GlobalEventPollPeriod << " ms\n"
        << "Online poll command: \"" << config->OnlinePollDescription << "\"," << config->OnlinePollCommand << '\n'
        << "Analog inputs: " << config->AnalogInputs.Count() << '\n'
        << "Digital inputs: " << config->DigitalInputs.Count() << '\n'
        << "Analog outputs: " << config->AnalogOutputs.Count() << '\n'
        << "Digital outputs: " << config->DigitalOutputs.Count() << '\n'
        << "Indirect SPA messages: " << config->IndirectMessages.Count() << '\n';
    const SlaveAddressTable slaves = CollectSlaveAddresses(*config);
    out << "Slaves (" << SlaveCount(slaves) << "):";
    for (int address : slaves) {
        if (address != -1) {
            out << ' ' << address;
        }
    }
    out << '\n'
        << "Input area: " << layout.InputArea << " bytes\n"
        << "Output area: " << layout.OutputArea << " bytes\n";
    return kExitSuccess;
}

int WriteText(CliContext& context, bool withOffsets)
{
    const auto config = LoadConfigurationOrReport(context, context.Arguments.Positional[0]);
    if (!config) {
        return kExitFailure;
    }
    return SaveConfigFile(*config, context.Arguments.Positional[1], withOffsets, context.Ui) ? kExitSuccess
                                                                                             : kExitFailure;
}

int RunConvert(CliContext& context) { return WriteText(context, false); }

int RunReport(CliContext& context) { return WriteText(context, true); }

}  // namespace

std::vector<CliCommand> FileCommands()
{
    return {
        {"show", "FILE [--json]", 1, RunShow, "settings, counts, slaves and area sizes of a configuration", {},
         {"json"}},
        {"convert", "IN OUT", 2, RunConvert, "read a configuration (1.02 or 2.00), write it as 2.00"},
        {"report", "IN OUT", 2, RunReport, "the configuration file text with offset columns"},
    };
}
