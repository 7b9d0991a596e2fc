// The configuration reader. Invariant: a text that reads without error,
// written again (with or without offset columns) and read again, gives the
// same configuration, as its file text shows it.
#include "ConfigFile.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Kept between runs: a configuration is large, and the reader resets it.
    static ConfigTemplate first;
    static ConfigTemplate second;
    static FuzzWindowSystem ui;
    // What the reader's reset leaves alone must not carry over from the last run.
    first.TemplateName.clear();
    if (!ReadConfigText(first, TextOf(data, size), ui)) {
        return 0;
    }
    const std::string written = ConfigFileText(first, false);
    for (const bool withOffsets : {false, true}) {
        second.TemplateName = "from an earlier run";
        FUZZ_CHECK(ReadConfigText(second, withOffsets ? ConfigFileText(first, true) : written, ui));
        FUZZ_CHECK(ConfigFileText(second, false) == written);
    }
    return 0;
}
