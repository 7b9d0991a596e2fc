// The XRF unit import: whatever the file, the import ends, and what it
// imported can be written, laid out and printed.
#include "AreaLayout.h"
#include "ConfigFile.h"
#include "FuzzSupport.h"
#include "ReportText.h"
#include "XrfImport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static ConfigTemplate config;
    static FuzzWindowSystem ui;
    config.TemplateName.clear();
    if (ImportXrfText(config, TextOf(data, size), ui) != XrfImportResult::Imported) {
        return 0;
    }
    FUZZ_CHECK(config.AnalogInputs.Count() <= kPointListCapacity && config.DigitalInputs.Count() <= kPointListCapacity);
    FUZZ_CHECK(config.AnalogOutputs.Count() <= kPointListCapacity &&
               config.DigitalOutputs.Count() <= kPointListCapacity);
    const AreaLayout layout = ComputeAreaLayout(config);
    FUZZ_CHECK(layout.InputArea >= 0 && layout.OutputArea >= 0);
    FUZZ_CHECK(ReportText(config).size() <= kMaxReportBytes);
    return 0;
}
