#pragma once

#include <functional>

// The five lists of a configuration, numbered as the point list numbers the
// kinds of its lines.
enum class PointKind {
    AnalogInput = 1,
    DigitalInput = 2,
    AnalogOutput = 3,
    DigitalOutput = 4,
    IndirectMessage = 5,
};

// Shows a new point for editing before it is added: true when the user
// confirmed it (with the point holding the entered values), false to add nothing.
template <typename Point>
using PointEditor = std::function<bool(Point&)>;
