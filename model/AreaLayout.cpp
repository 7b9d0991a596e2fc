#include "AreaLayout.h"

namespace {

int AnalogDataSize(int sizeInBits)
{
    if (sizeInBits == 16) {
        return 2;
    }
    if (sizeInBits == 32) {
        return 4;
    }
    return 0;
}

char FirstLetter(const std::string& text)
{
    return text.empty() ? '\0' : text.front();
}

// Walks the points in layout order and keeps the data size of the last point
// for points outside the size table.
class LayoutPass {
public:
    template <typename List>
    int Place(const List& list, int start, std::vector<PointPlacement>& out)
    {
        int offset = start;
        out.reserve(static_cast<std::size_t>(list.Count()));
        for (const auto& point : list) {
            const int tableSize = TableDataSize(point);
            if (tableSize != 0) {
                lastDataSize_ = tableSize;
            }
            out.push_back({offset, lastDataSize_});
            offset += lastDataSize_;
        }
        return offset;
    }

private:
    int lastDataSize_ = 0;
};

}  // namespace

int TableDataSize(const AnalogInputPoint& point) { return AnalogDataSize(point.Size); }

int TableDataSize(const AnalogOutputPoint& point) { return AnalogDataSize(point.Size); }

int TableDataSize(const DigitalInputPoint& point)
{
    switch (FirstLetter(point.DataType)) {
    case 'D':
    case 'H':
    case 'S':
        return 1;
    case 'P':
        return 2;
    default:
        return 0;
    }
}

int TableDataSize(const DigitalOutputPoint& point)
{
    switch (FirstLetter(point.DataType)) {
    case 'B':
    case 'D':
    case 'H':
    case 'S':
        return 1;
    default:
        return 0;
    }
}

AreaLayout ComputeAreaLayout(const ConfigTemplate& config)
{
    AreaLayout layout;
    LayoutPass pass;
    int input = pass.Place(config.AnalogInputs, kInputAreaStart, layout.AnalogInputs);
    layout.InputArea = pass.Place(config.DigitalInputs, input, layout.DigitalInputs);
    int output = pass.Place(config.AnalogOutputs, 0, layout.AnalogOutputs);
    layout.OutputArea = pass.Place(config.DigitalOutputs, output, layout.DigitalOutputs);
    return layout;
}
