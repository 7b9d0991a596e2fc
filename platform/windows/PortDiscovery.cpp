#include "PortDiscovery.h"

#include "WideText.h"

#include <setupapi.h>

namespace {

// GUID_DEVINTERFACE_COMPORT, the interface of every COM port (ntddser.h,
// a driver kit header).
constexpr GUID kComPortInterface = {0x86E0D1E0, 0x8089, 0x11D0, {0x9C, 0xE4, 0x08, 0x00, 0x3E, 0x30, 0x1F, 0x73}};

std::string RegistryProperty(HDEVINFO devices, SP_DEVINFO_DATA& device, DWORD property)
{
    wchar_t buffer[512]{};
    DWORD type = 0;
    if (!::SetupDiGetDeviceRegistryPropertyW(devices, &device, property, &type, reinterpret_cast<BYTE*>(buffer),
                                             sizeof buffer - sizeof(wchar_t), nullptr)) {
        return {};
    }
    // A multi-string (the hardware ids) gives its first string.
    return Utf8FromWide(buffer);
}

std::string PortNameOf(HDEVINFO devices, SP_DEVINFO_DATA& device)
{
    const HKEY key = ::SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (key == INVALID_HANDLE_VALUE) {
        return {};
    }
    wchar_t name[64]{};
    DWORD size = sizeof name - sizeof(wchar_t);
    DWORD type = 0;
    const LSTATUS status = ::RegQueryValueExW(key, L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(name), &size);
    ::RegCloseKey(key);
    return status == ERROR_SUCCESS && type == REG_SZ ? Utf8FromWide(name) : std::string();
}

std::string InstanceIdOf(HDEVINFO devices, SP_DEVINFO_DATA& device)
{
    wchar_t id[512]{};
    if (!::SetupDiGetDeviceInstanceIdW(devices, &device, id, static_cast<DWORD>(std::size(id) - 1), nullptr)) {
        return {};
    }
    return Utf8FromWide(id);
}

}  // namespace

std::vector<ComPortEntry> ListComPorts()
{
    std::vector<ComPortEntry> entries;
    const HDEVINFO devices =
        ::SetupDiGetClassDevsW(&kComPortInterface, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (devices == INVALID_HANDLE_VALUE) {
        return entries;
    }
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD index = 0; ::SetupDiEnumDeviceInfo(devices, index, &device); ++index) {
        ComPortEntry entry;
        entry.PortName = PortNameOf(devices, device);
        entry.FriendlyName = RegistryProperty(devices, device, SPDRP_FRIENDLYNAME);
        entry.Manufacturer = RegistryProperty(devices, device, SPDRP_MFG);
        entry.Driver = RegistryProperty(devices, device, SPDRP_SERVICE);
        entry.HardwareId = RegistryProperty(devices, device, SPDRP_HARDWAREID);
        entry.InstanceId = InstanceIdOf(devices, device);
        entries.push_back(std::move(entry));
    }
    ::SetupDiDestroyDeviceInfoList(devices);
    return entries;
}

std::vector<SerialDeviceInfo> DiscoverSerialDevices(const std::string&) { return DescribeComPorts(ListComPorts()); }

// Windows tells no more before the open; the open's own message says why.
std::string InaccessibleDeviceHint(const std::vector<SerialDeviceInfo>&) { return {}; }
