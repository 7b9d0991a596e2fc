// The slave template import: a document and a template file (both texts of
// the input), a selected slave and the user's answers. Invariants: a refused
// import leaves the document as it was; an accepted one leaves no list over
// its limit and no more than 16 slaves where there were at most 16.
#include "ConfigFile.h"
#include "FuzzSupport.h"
#include "SlaveSet.h"
#include "SlaveTemplateImport.h"

#include <set>

namespace {

std::size_t DistinctSlaves(const ConfigTemplate& config)
{
    std::set<int> slaves;
    auto collect = [&slaves](const auto& list) {
        for (const auto& point : list) {
            slaves.insert(point.SlaveAddress);
        }
    };
    collect(config.AnalogInputs);
    collect(config.DigitalInputs);
    collect(config.AnalogOutputs);
    collect(config.DigitalOutputs);
    collect(config.IndirectMessages);
    return slaves.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static ConfigTemplate document;
    static ConfigTemplate source;
    static FuzzWindowSystem ui;
    FuzzInput input(data, size);
    const int selectedSlave = input.Between(-1, 20);
    ui.Answers = input.Byte();
    const std::size_t documentLength = input.Word();
    document.TemplateName.clear();
    if (!ReadConfigText(document, std::string(input.Take(documentLength)), ui)) {
        document.Reset();
    }
    source.TemplateName.clear();
    if (!ReadConfigText(source, std::string(input.Rest()), ui)) {
        return 0;
    }
    const std::string before = ConfigFileText(document, false);
    const std::size_t slavesBefore = DistinctSlaves(document);
    if (!MergeSlaveTemplate(document, selectedSlave, CollectSlaveAddresses(document), source, ui)) {
        FUZZ_CHECK(ConfigFileText(document, false) == before);
        return 0;
    }
    FUZZ_CHECK(document.AnalogInputs.Count() <= kMaxImportedListCount);
    FUZZ_CHECK(document.DigitalInputs.Count() <= kMaxImportedListCount);
    FUZZ_CHECK(document.AnalogOutputs.Count() <= kMaxImportedListCount);
    FUZZ_CHECK(document.DigitalOutputs.Count() <= kMaxImportedListCount);
    FUZZ_CHECK(document.IndirectMessages.Count() <= kMaxIndirectMessages);
    FUZZ_CHECK(slavesBefore > static_cast<std::size_t>(kMaxSlaves) ||
               DistinctSlaves(document) <= static_cast<std::size_t>(kMaxSlaves));
    return 0;
}
