#include "StatusCodeTable.h"

#include <utility>

namespace {

std::array<std::string, 256> MakeTable()
{
    std::array<std::string, 256> table;
    for (std::size_t code = 0; code < table.size(); ++code) {
        table[code] = "Error " + std::to_string(code);
    }
    const std::pair<int, const char*> named[] = {
        {0, "Configuration OK"},
        {16, "Configuration valid, but not initialized"},
        {128, "Configuration Empty"},
        {129, "CRC Failure"},
        {130, "Too Many Slaves In Cfg-File"},
        {131, "Slave Address Not Found"},
        {132, "Configuration I/O Area Error"},
        {133, "Online Poll Failed"},
        {134, "InUse flag cleared"},
        {135, "Too many Indirect SPA messages"},
        {145, "Unsupported Baudrate"},
        {146, "Unsupported Reply Timout"},
        {147, "Unsupported Idle Time"},
        {148, "Unsupported Retry Count"},
        {149, "Unsupported PDP Default Address"},
        {150, "Unsupported Decimal Place"},
        {161, "Analog Input Error"},
        {162, "Digital Input Error"},
        {163, "Analog Output Error"},
        {164, "Digital Output Error"},
        {165, "InDirect SPA Error"},
    };
    for (const auto& [code, text] : named) {
        table[static_cast<std::size_t>(code)] = text;
    }
    return table;
}

}  // namespace

const std::array<std::string, 256>& StatusCodeTable()
{
    static const std::array<std::string, 256> table = MakeTable();
    return table;
}
