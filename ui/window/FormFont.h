#pragma once

#include <QFont>

// The font of the main form: the system's default sans font at 8 points,
// narrowed a little. The form is designed in dialog units for a font whose
// average character is 6 by 13 pixels, which makes it 789 by 483 pixels, so
// that it fits the initial 800 by 600 window; the common sans fonts are
// wider than that at full width.
QFont FormFont();
