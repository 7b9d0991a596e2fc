#pragma once

#include "PointRecords.h"

class QWidget;

// What an edit dialog ended with: Cancel, or OK with or without a change.
enum class PointEdit { Cancelled, Unchanged, Changed };

// Each opens the point's edit dialog preset with its values and, after OK,
// stores the values that differ; the user has then seen every field, so the
// problem the file reader found with the point's line is no longer reported.
PointEdit EditAnalogInput(QWidget* parent, AnalogInputPoint& point);
PointEdit EditAnalogOutput(QWidget* parent, AnalogOutputPoint& point);
PointEdit EditDigitalOutput(QWidget* parent, DigitalOutputPoint& point);
PointEdit EditIndirectMessage(QWidget* parent, IndirectSpaMessage& message);
// A digital input whose address text is no range opens with what can be
// read of it (SalvageRange), so that the user can repair it; its category
// is left unselected when the text holds no letter.
PointEdit EditDigitalInput(QWidget* parent, DigitalInputPoint& point);

// The same by the point's type.
inline PointEdit EditPoint(QWidget* parent, AnalogInputPoint& point) { return EditAnalogInput(parent, point); }
inline PointEdit EditPoint(QWidget* parent, DigitalInputPoint& point) { return EditDigitalInput(parent, point); }
inline PointEdit EditPoint(QWidget* parent, AnalogOutputPoint& point) { return EditAnalogOutput(parent, point); }
inline PointEdit EditPoint(QWidget* parent, DigitalOutputPoint& point) { return EditDigitalOutput(parent, point); }
inline PointEdit EditPoint(QWidget* parent, IndirectSpaMessage& message) { return EditIndirectMessage(parent, message); }
