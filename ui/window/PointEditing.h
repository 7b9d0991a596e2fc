#pragma once

#include "PointRecords.h"

class QWidget;

// Each opens the point's edit dialog preset with its values and, after OK,
// stores the values that differ. True when anything was stored; false after
// Cancel or when nothing changed.
bool EditAnalogInput(QWidget* parent, AnalogInputPoint& point);
bool EditAnalogOutput(QWidget* parent, AnalogOutputPoint& point);
bool EditDigitalOutput(QWidget* parent, DigitalOutputPoint& point);
bool EditIndirectMessage(QWidget* parent, IndirectSpaMessage& message);

// A digital input's address is a range; when its text cannot be read as one
// the dialog is not opened and the result says so.
enum class DigitalInputEdit { Unchanged, Changed, UnreadableAddress };
DigitalInputEdit EditDigitalInput(QWidget* parent, DigitalInputPoint& point);
