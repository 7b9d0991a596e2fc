// halvex-cli print in a build without Qt, which draws no pages.
#include "CliCommand.h"

int RunPrintCommand(CliContext& context)
{
    context.Err << "halvex-cli print: this halvex-cli was built without Qt, which draws the report's pages; "
                   "use the halvex-cli of the Qt build\n";
    return kExitFailure;
}
