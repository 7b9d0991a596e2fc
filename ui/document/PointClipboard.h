#pragma once

#include "ConfigTemplate.h"
#include "PointList.h"
#include "WindowSystem.h"

#include <memory>
#include <optional>
#include <string>

// Points go to the clipboard as the configuration file writes them: each
// point section's name, its comment line and its point lines, with CR LF
// line ends; sections without points are left out. So the text pastes into
// another configuration, another running program, or a configuration file
// in a text editor, and point lines copied from a file paste here.

// One point: its list and its index there.
struct PointPosition {
    LineKind Kind = LineKind::AnalogInput;
    int Index = 0;
};

// The clipboard text of the points held in the configuration's five lists.
std::string PointClipboardText(const ConfigTemplate& points);

// The points of a clipboard text, read as the configuration file's point
// sections; none when the text holds no point. The reader's own notices go
// to ui.
std::unique_ptr<ConfigTemplate> ReadPointClipboardText(const std::string& text, WindowSystem& ui);

// Whether the text names a point section, so that a paste may find points in it.
bool HoldsPointSection(const std::string& text);

// The points a copy takes: the one at the position, or with none every point
// of the slave.
std::unique_ptr<ConfigTemplate> PointsToCopy(const ConfigTemplate& config, int slave,
                                             const std::optional<PointPosition>& point);

// Removes what PointsToCopy took.
void RemoveCopiedPoints(ConfigTemplate& config, int slave, const std::optional<PointPosition>& point);

// What a paste did: the first pasted point, or the capacity notice of the
// first list that cannot take its points (nothing is pasted then).
struct PasteResult {
    std::optional<PointPosition> First;
    std::string Refusal;
};

// Appends the points to the ends of the configuration's lists, every one
// with the slave's address; all of them or none.
PasteResult PastePoints(ConfigTemplate& config, const ConfigTemplate& points, int slave);
