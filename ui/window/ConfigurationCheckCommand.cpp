#include "ConfigurationCheckCommand.h"

#include "CQuorvinDoc.h"
#include "CQuorvinView.h"
#include "ConfigurationCheckDialog.h"

void RunConfigurationCheck(CQuorvinDoc& document, CQuorvinView& view)
{
    const auto check = document.OnCheckConfiguration();
    if (!check) {
        return;
    }
    ConfigurationCheckDialog dialog(*check, view.window());
    if (dialog.exec() != QDialog::Accepted || dialog.Chosen() == nullptr) {
        return;
    }
    const CheckFinding& chosen = *dialog.Chosen();
    if (chosen.Point) {
        view.SelectPoint(*chosen.Point);
    } else if (chosen.Slave) {
        view.ShowSlave(*chosen.Slave);
    }
}
