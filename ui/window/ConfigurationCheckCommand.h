#pragma once

class CQuorvinDoc;
class CQuorvinView;

// Device > "Check Configuration": commits the main form, checks the
// document's configuration and lists what was found; the point (or slave)
// the user double-clicks is then shown in the main view.
void RunConfigurationCheck(CQuorvinDoc& document, CQuorvinView& view);
